// The grey shaded relief of the demo landscape (2000 x 2000 cells, 200 km
// high, square cells at 45 N 73 W, as the map benchmarks lay it out) against
// GDAL's hillshade kernel on the same grid, both in this process on one
// thread, timed side by side in each iteration: GDALDEMProcessing from one
// MEM dataset to another, against fastdraw in the grey relief onto a bitmap.
// The measure is the time per cell, ours over GDAL's (goal: at most 1).
#include <benchmark/benchmark.h>

#include <gdal.h>
#include <gdal_utils.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "demogrid.h"
#include "zelkor32.h"

namespace {

using Clock = std::chrono::steady_clock;
double seconds(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// The demo landscape on the program's own grid: south row first.
zk::ElevGrid &landscape()
{
    static bool made = false;
    if (!made) {
        made = true;
        zk::mapset = demomap();
        zk::elevgrid.redim(kSide - 1, kSide - 1);
        zk::setcorners(zk::mapset);
        laylandscape();
    }
    return zk::elevgrid;
}

void BM_FastdrawGrey_vs_GdalHillshade(benchmark::State &state)
{
    zk::ElevGrid &g = landscape();
    if (!ondemogrid(state)) return;
    // GDAL's source: the same cells, north row first, in metres on a square
    // grid of the map's cell size.
    GDALAllRegister();
    GDALDriverH mem = GDALGetDriverByName("MEM");
    GDALDatasetH src = GDALCreate(mem, "", kSide, kSide, 1, GDT_Int16, nullptr);
    std::vector<int16_t> north(size_t(kSide) * kSide);
    for (int r = 0; r < kSide; ++r)
        std::copy_n(g.data() + size_t(kSide - 1 - r) * kSide, kSide, north.begin() + ptrdiff_t(r) * kSide);
    if (GDALRasterIO(GDALGetRasterBand(src, 1), GF_Write, 0, 0, kSide, kSide, north.data(), kSide, kSide, GDT_Int16, 0,
                     0) != CE_None) {
        state.SkipWithError("GDAL could not fill its MEM dataset");
        return;
    }
    const double cell = kHeightKm * 1000.0 / (kSide - 1);
    double gt[6] = {0, cell, 0, kHeightKm * 1000.0, 0, -cell};
    GDALSetGeoTransform(src, gt);
    // The sun from the same azimuth as ours.
    std::string azimuth = std::to_string(int(std::lround(demomap().light)));
    char *argv[] = {const_cast<char *>("-of"), const_cast<char *>("MEM"), const_cast<char *>("-az"), azimuth.data(),
                    nullptr};
    GDALDEMProcessingOptions *options = GDALDEMProcessingOptionsNew(argv, nullptr);

    // Ours: the grey relief with the demo map's light, contrast and brightness.
    MapSettings m = demomap();
    m.Mapmode = 0;
    m.minx = kLowest;
    m.maxx = kHighest;
    std::vector<uint32_t> bits(size_t(kSide) * kSide);
    ZkDC dc{bits.data(), kSide, kSide, kSide, nullptr};
    translate(nullptr);
    callback(nullptr);
    int16_t none[12] = {};

    double ours = 0, peer = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        int usage = 0;
        GDALDatasetH shade = GDALDEMProcessing("", src, "hillshade", nullptr, options, &usage);
        const double p = seconds(t0);
        if (!shade) {
            state.SkipWithError("GDALDEMProcessing failed");
            break;
        }
        GDALClose(shade);
        t0 = Clock::now();
        fastdraw(&m, g.engineArray(), &dc, 0, 0, kSide - 1, kSide - 1, none, none, none, none, 0);
        benchmark::DoNotOptimize(bits.data());
        const double o = seconds(t0);
        ours += o;
        peer += p;
        state.SetIterationTime(o);
    }
    GDALDEMProcessingOptionsFree(options);
    GDALClose(src);
    const double n = double(state.iterations()) * kSide * kSide;
    state.counters["ours_ns_per_cell"] = 1e9 * ours / n;
    state.counters["gdal_ns_per_cell"] = 1e9 * peer / n;
    state.counters["ours_over_gdal"] = ours / peer;
}
BENCHMARK(BM_FastdrawGrey_vs_GdalHillshade)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20)->Repetitions(3);

}  // namespace

int main(int argc, char **argv) { return runbenchmarks(argc, argv); }
