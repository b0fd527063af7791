// The demo landscape as the benchmarks lay it out (2000 x 2000 cells, 200 km
// high, square cells at 45 N 73 W, with the demo map's shading), the check
// that a benchmark runs on it, and the failures that make a run exit
// non-zero. Without Qt, for the engine's benchmarks too.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "map/demo/demoterrain.h"
#include "map/mapdata.h"

namespace {

constexpr int kSide = 2000;
constexpr double kHeightKm = 200;
// The demo landscape's lowest and highest cells on that grid, m.
constexpr int16_t kLowest = 27, kHighest = 1386;

// Failures of the run: a benchmark that cannot time what it names records
// one, and main then exits non-zero, so that a run on the wrong grid or
// without its peer cannot pass for a measurement.
inline int &benchfailures()
{
    static int n = 0;
    return n;
}

inline void benchfail(benchmark::State &state, const std::string &why)
{
    ++benchfailures();
    std::fprintf(stderr, "BENCHMARK FAILED: %s\n", why.c_str());
    state.SkipWithError(why.c_str());
}

// The lowest and highest cell of the elevation grid.
inline std::pair<int16_t, int16_t> gridrange()
{
    const int16_t *c = zk::elevgrid.data();
    const size_t n = zk::elevgrid.cellCount();
    if (n == 0) return {0, 0};
    const auto [lo, hi] = std::minmax_element(c, c + n);
    return {*lo, *hi};
}

// Whether the elevation grid is the demo landscape the benchmarks name (its
// size, lowest and highest cell); a failure of the run otherwise. Called
// before the timing starts.
inline bool isdemogrid()
{
    const auto [lo, hi] = gridrange();
    return zk::elevgrid.nx() == kSide && zk::elevgrid.ny() == kSide && lo == kLowest && hi == kHighest;
}

inline bool ondemogrid(benchmark::State &state)
{
    if (isdemogrid()) return true;
    const auto [lo, hi] = gridrange();
    char why[200];
    std::snprintf(why, sizeof why, "the grid is %d x %d cells, %d..%d m, not the demo landscape (%d x %d, %d..%d m)",
                  zk::elevgrid.nx(), zk::elevgrid.ny(), int(lo), int(hi), kSide, kSide, int(kLowest),
                  int(kHighest));
    benchfail(state, why);
    return false;
}

// Lays the demo landscape on a grid of kSide x kSide cells between the
// corners of mapcorners, which setcorners made for that grid (computed
// once; later calls copy it back).
inline void laylandscape()
{
    static std::vector<int16_t> cells;
    zk::elevgrid.redim(kSide - 1, kSide - 1);
    if (cells.empty()) {
        const double n = zk::mapcorners.lat[0], s = zk::mapcorners.lat[2];
        const double w = zk::mapcorners.lon[0], e = zk::mapcorners.lon[2];
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                zk::elevgrid.at(x, y) =
                    int16_t(std::lround(zk::demo::elevation(w + (e - w) * x / (kSide - 1), s + (n - s) * y / (kSide - 1))));
        cells.assign(zk::elevgrid.data(), zk::elevgrid.data() + zk::elevgrid.cellCount());
    } else {
        std::copy(cells.begin(), cells.end(), zk::elevgrid.data());
    }
}

// The demo map's place, height and shading (grey relief), on the cells of
// the grid above.
inline MapSettings demomap()
{
    MapSettings m{};
    m.lon = -73;
    m.lat = 45;
    m.size = float(kHeightKm);
    m.con = 30;
    m.bri = 70;
    m.light = 335;
    return m;
}

// Runs the benchmarks the command line names; non-zero when the command line
// is wrong or a benchmark could not time what it names.
inline int runbenchmarks(int &argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (benchfailures() > 0) {
        std::fprintf(stderr, "%d benchmark(s) FAILED: their figures are not measurements\n", benchfailures());
        return 1;
    }
    return 0;
}

}  // namespace
