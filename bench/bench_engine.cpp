// The engine's heavy operations at the sizes the program meets: the shaded
// relief of a 4000 x 4000 grid (with gdaldem hillshade on the same grid as
// the yardstick), a DTED level-1 cell read onto a 2000 x 2000 grid and a
// 1024 x 768 perspective view.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "zelkor32.h"

namespace {

struct Grid {
    std::vector<int16_t> cells;
    ZkArray a{};
    ZkArray *p = &a;
    Grid(int nx, int ny) : cells(size_t(nx) * size_t(ny))
    {
        a = ZkArray{2, {0, 0}, {nx - 1, ny - 1}, cells.data()};
    }
    // The descriptor pointed at this copy's own cells.
    ZkArray **ref()
    {
        a.data = cells.data();
        p = &a;
        return &p;
    }
};

struct Surface {
    std::vector<uint32_t> bits;
    ZkDC dc{};
    Surface(int w, int h) : bits(size_t(w) * size_t(h))
    {
        dc = ZkDC{bits.data(), w, h, w, nullptr};
    }
};

// Rolling synthetic terrain from -200 m (sea) to about 3000 m, rising to
// 5311 m towards the far corner of a 4000 x 4000 grid.
int16_t terrain(int x, int y)
{
    const double v = 900 + 700 * std::sin(x * 0.011) * std::cos(y * 0.007) + 500 * std::sin((x + 2 * y) * 0.023) +
                     200 * std::cos(x * 0.091 - y * 0.053) + 0.0002 * double(x) * double(y);
    return int16_t(v < 0 ? std::max(-200.0, v) : v);
}

// The grid a benchmark names, checked before it is timed: a benchmark run on
// another grid than the one it reports would measure something else, so the
// run stops with the reason.
void requireGrid(const char *name, const Grid &g, int nx, int ny, int16_t lo, int16_t hi)
{
    const int gx = g.a.ubound[0] - g.a.lbound[0] + 1, gy = g.a.ubound[1] - g.a.lbound[1] + 1;
    const auto [mn, mx] = std::minmax_element(g.cells.begin(), g.cells.end());
    if (gx == nx && gy == ny && !g.cells.empty() && *mn == lo && *mx == hi) return;
    std::fprintf(stderr, "%s: the grid is %d x %d from %d to %d m, not %d x %d from %d to %d m\n", name, gx, gy,
                 g.cells.empty() ? 0 : int(*mn), g.cells.empty() ? 0 : int(*mx), nx, ny, int(lo), int(hi));
    std::exit(1);
}

// The rolling terrain on 4000 x 4000 cells, checked on every use.
Grid &bigGrid()
{
    static Grid g = [] {
        Grid g(4000, 4000);
        for (int y = 0; y < 4000; ++y)
            for (int x = 0; x < 4000; ++x) g.cells[size_t(y) * 4000 + size_t(x)] = terrain(x, y);
        return g;
    }();
    requireGrid("the 4000 x 4000 terrain", g, 4000, 4000, -200, 5311);
    return g;
}

std::string tempDir()
{
    static std::string dir = [] {
        static char tmpl[] = "/tmp/zkbench.XXXXXX";
        const std::string made = mkdtemp(tmpl) ? tmpl : "/tmp";
        if (made != "/tmp") std::atexit([] { std::system((std::string("rm -rf '") + tmpl + "'").c_str()); });
        return made;
    }();
    return dir;
}

MapSettings mapSettings(int16_t mode)
{
    MapSettings m{};
    m.size = 400;
    m.Mapmode = mode;
    m.con = 30;
    m.bri = 70;
    m.minx = -200;
    m.maxx = 3000;
    m.light = 335;
    return m;
}

// The painter's 11 level boundaries, 320 m apart from -200 m, and the 12
// colours between them.
struct Levels {
    int16_t levels[11], red[12], green[12], blue[12];
    Levels()
    {
        for (int i = 0; i < 11; ++i) levels[i] = int16_t(-200 + 320 * i);
        for (int i = 0; i < 12; ++i) {
            red[i] = int16_t(20 * i);
            green[i] = int16_t(255 - 20 * i);
            blue[i] = int16_t(i * 37 % 256);
        }
    }
};

void fastdrawBench(benchmark::State &state, int16_t mode, uint8_t c1)
{
    Grid &g = bigGrid();
    Surface s(4000, 4000);
    MapSettings m = mapSettings(mode);
    m.c1 = c1;
    const Levels ramp;
    translate(nullptr);
    callback(nullptr);
    for (auto _ : state) {
        fastdraw(&m, &g.p, &s.dc, 0, 0, 3999, 3999, ramp.levels, ramp.red, ramp.green, ramp.blue, 1);
        benchmark::DoNotOptimize(s.bits.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 4000 * 4000);
}

void BM_FastdrawRainbow4000(benchmark::State &state) { fastdrawBench(state, 5, 0); }
void BM_FastdrawGrey4000(benchmark::State &state) { fastdrawBench(state, 0, 0); }
void BM_FastdrawStratifiedContours4000(benchmark::State &state) { fastdrawBench(state, 1, 1); }

// One 256 x 256 block of a map whose every row widens the range of
// elevations (output row r from -256 r to 256 r, held to the 16-bit range)
// against a block of the rolling terrain, same settings, timed side by side
// in each iteration; the ratio widening / ordinary is the measure (goal
// under 2). The argument is the map mode (5: rainbow colour stops, with the
// 100 m contours).
void BM_FastdrawWideningVsOrdinary256(benchmark::State &state)
{
    constexpr int kSide = 256;
    static Grid widening = [] {
        Grid g(kSide, kSide);
        for (int y = 0; y < kSide; ++y) {
            const int64_t r = kSide - 1 - y;
            for (int x = 0; x < kSide; ++x) {
                const int64_t e = -256 * r + 512 * r * x / 255;
                g.cells[size_t(y) * kSide + size_t(x)] = int16_t(std::clamp<int64_t>(e, INT16_MIN, INT16_MAX));
            }
        }
        return g;
    }();
    static Grid ordinary = [] {
        Grid g(kSide, kSide);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) g.cells[size_t(y) * kSide + size_t(x)] = terrain(x + 1000, y + 1000);
        return g;
    }();
    requireGrid("widening map", widening, kSide, kSide, INT16_MIN, INT16_MAX);
    requireGrid("ordinary map", ordinary, kSide, kSide, -3, 2135);
    ZkArray **wide = widening.ref(), **plain = ordinary.ref();
    Surface s(kSide, kSide);
    MapSettings m = mapSettings(int16_t(state.range(0)));
    if (m.Mapmode == 5) m.c2 = 1;
    const Levels ramp;
    translate(nullptr);
    callback(nullptr);
    using Clock = std::chrono::steady_clock;
    double tw = 0, to = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        fastdraw(&m, plain, &s.dc, 0, 0, kSide - 1, kSide - 1, ramp.levels, ramp.red, ramp.green, ramp.blue, 1);
        benchmark::DoNotOptimize(s.bits.data());
        to += std::chrono::duration<double>(Clock::now() - t0).count();
        t0 = Clock::now();
        fastdraw(&m, wide, &s.dc, 0, 0, kSide - 1, kSide - 1, ramp.levels, ramp.red, ramp.green, ramp.blue, 1);
        benchmark::DoNotOptimize(s.bits.data());
        const double w = std::chrono::duration<double>(Clock::now() - t0).count();
        tw += w;
        state.SetIterationTime(w);
    }
    const double n = double(state.iterations());
    state.counters["widening_ms"] = 1000 * tw / n;
    state.counters["ordinary_ms"] = 1000 * to / n;
    state.counters["ratio"] = tw / to;
}

// The same grid through gdaldem hillshade (one process per run, output to a
// GeoTIFF in the temporary folder); the second case measures the process
// start on a 2 x 2 grid, to be subtracted when comparing the kernels alone.
std::string writeEhdr(const std::string &name, int nx, int ny, const int16_t *cells)
{
    const std::string base = tempDir() + "/" + name;
    std::ofstream(base + ".bil", std::ios::binary)
        .write(reinterpret_cast<const char *>(cells), std::streamsize(size_t(nx) * ny * 2));
    std::ofstream(base + ".hdr") << "BYTEORDER I\nLAYOUT BIL\nNROWS " << ny << "\nNCOLS " << nx
                                 << "\nNBANDS 1\nNBITS 16\nPIXELTYPE SIGNEDINT\nULXMAP -75\nULYMAP 47\n"
                                    "XDIM 0.0005\nYDIM 0.0005\n";
    return base + ".bil";
}

void gdaldemBench(benchmark::State &state, const std::string &in)
{
    const std::string cmd = "gdaldem hillshade -q -s 111120 '" + in + "' '" + tempDir() + "/shade.tif'";
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("gdaldem failed (gdal-bin installed?)");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
}

void BM_GdaldemHillshade4000(benchmark::State &state)
{
    static const std::string in = writeEhdr("grid4000", 4000, 4000, bigGrid().cells.data());
    gdaldemBench(state, in);
    state.SetItemsProcessed(int64_t(state.iterations()) * 4000 * 4000);
}

void BM_GdaldemStartup2x2(benchmark::State &state)
{
    static const int16_t tiny[4] = {1, 2, 3, 4};
    static const std::string in = writeEhdr("grid2", 2, 2, tiny);
    gdaldemBench(state, in);
}

// A DTED level-1 cell written by gdal_translate, read onto a 2000 x 2000 grid
// (0.6 samples per grid cell).
void BM_GetdtedLevel1To2000(benchmark::State &state)
{
    static const std::string cell = [] {
        std::vector<int16_t> src(size_t(1201) * 1201);
        for (int r = 0; r < 1201; ++r)
            for (int c = 0; c < 1201; ++c) src[size_t(r) * 1201 + size_t(c)] = terrain(c * 3, r * 3);
        const std::string base = tempDir() + "/cell";
        std::ofstream(base + ".bil", std::ios::binary)
            .write(reinterpret_cast<const char *>(src.data()), std::streamsize(src.size() * 2));
        std::ofstream(base + ".hdr") << "BYTEORDER I\nLAYOUT BIL\nNROWS 1201\nNCOLS 1201\nNBANDS 1\nNBITS 16\n"
                                        "PIXELTYPE SIGNEDINT\nULXMAP -74\nULYMAP 46\nXDIM 0.000833333333333333\n"
                                        "YDIM 0.000833333333333333\n";
        const std::string out = tempDir() + "/N45.DT1";
        std::system(("gdal_translate -q -of DTED '" + base + ".bil' '" + out + "' >/dev/null 2>&1").c_str());
        return out;
    }();
    if (access(cell.c_str(), R_OK) != 0) {
        state.SkipWithError("gdal_translate could not write the DTED cell");
        return;
    }
    Grid g(2000, 2000);
    callback(nullptr);
    for (auto _ : state) {
        benchmark::DoNotOptimize(getdted(&g.p, cell.c_str(), 0, 0, 0, 0.6f, 0.6f));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 2000 * 2000);
}

// A 1024 x 768 view over a 2000 x 2000 grid draped with a 2D picture.
void BM_Drawpic3D1024x768(benchmark::State &state)
{
    static Grid g = [] {
        Grid g(2000, 2000);
        for (int y = 0; y < 2000; ++y)
            for (int x = 0; x < 2000; ++x) g.cells[size_t(y) * 2000 + size_t(x)] = terrain(x * 2, y * 2);
        return g;
    }();
    requireGrid("the perspective's 2000 x 2000 terrain", g, 2000, 2000, -200, 5311);
    static Surface map = [] {
        Surface s(2000, 2000);
        for (size_t k = 0; k < s.bits.size(); ++k) s.bits[k] = 0xFF000000u | uint32_t(k * 2654435761u >> 8);
        return s;
    }();
    Surface dst(1024, 768);
    callback(nullptr);
    for (auto _ : state) {
        benchmark::DoNotOptimize(drawpic3D(&g.p, &map.dc, &dst.dc, 1024, 768, 200.0f, 1.0f, 0.5f, 1000.0f,
                                           1900.0f, 2500.0f, 1000.0f, 200.0f, 500.0f, 0x00FFCC99, 0x00808080, 0));
    }
}

}  // namespace

BENCHMARK(BM_FastdrawRainbow4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastdrawGrey4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastdrawStratifiedContours4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastdrawWideningVsOrdinary256)->Arg(0)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_GdaldemHillshade4000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_GdaldemStartup2x2)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_GetdtedLevel1To2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Drawpic3D1024x768)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
