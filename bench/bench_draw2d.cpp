// The 2D picture of a 2000 x 2000 map, end to end as the map-properties
// window draws it: draw2d's 64 blocks of 256 x 256 cells through translate
// and fastdraw, the commit into the picture, the object and city overlays
// and the colour legend, inside its long operation. The map is the demo
// landscape around 45 N 73 W, 200 km high, in the rainbow mode with
// contours. For comparison: the blocks alone (no overlays, no legend), and
// the legend alone.
#include <benchmark/benchmark.h>

#define ZK_BENCH_MAIN
#include "demoscene.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

#include <cmath>
#include <cstdio>
#include <string>

#include "base/longop.h"
#include "base/mdi.h"
#include "base/settings.h"
#include "map/demo/demoterrain.h"
#include "map/mapdata.h"
#include "paths.h"
#include "pictures/colorscale.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/legend.h"
#include "pictures/overlaymenus.h"
#include "pictures/picfiles.h"

namespace {

void BM_Draw2dEndToEnd(benchmark::State &state)
{
    Scene &s = scene();
    if (!ondemogrid(state)) return;
    zk::settings.showobjects = true;
    zk::mapcorners.city = -1;
    zk::showlegend = 1;
    for (auto _ : state) {
        const bool done = zk::draw2d(s.pic, true);
        benchmark::DoNotOptimize(done);
    }
    state.counters["Mcells/s"] =
        benchmark::Counter(double(kSide) * kSide * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Draw2dEndToEnd)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_Draw2dBlocksOnly(benchmark::State &state)
{
    Scene &s = scene();
    if (!ondemogrid(state)) return;
    zk::settings.showobjects = false;
    zk::mapcorners.city = 0;
    zk::showlegend = 0;
    for (auto _ : state) {
        const bool done = zk::draw2d(s.pic, true);
        benchmark::DoNotOptimize(done);
    }
    zk::settings.showobjects = true;
    zk::mapcorners.city = -1;
    zk::showlegend = 1;
}
BENCHMARK(BM_Draw2dBlocksOnly)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_Legend(benchmark::State &state)
{
    Scene &s = scene();
    if (!ondemogrid(state)) return;
    for (auto _ : state) zk::drawlegend(s.pic);
}
BENCHMARK(BM_Legend)->Unit(benchmark::kMicrosecond);

// The first end-to-end draw in a process against a warm one (the median of
// the draws after it), in a new process of this program each iteration, so
// that nothing the benchmarks before drew is still warm. Goal: the first
// draw within 2x a warm one (counter first_over_warm under 2).
void BM_Draw2dFirstInProcess(benchmark::State &state)
{
    Scene &s = scene();
    (void)s;
    if (!ondemogrid(state)) return;
    double first = 0, warm = 0;
    for (auto _ : state) {
        const std::string cmd = "'" + QCoreApplication::applicationFilePath().toStdString() + "' " + kFirstDrawFlag + " 2>/dev/null";
        FILE *child = popen(cmd.c_str(), "r");
        char line[256] = {};
        const bool read = child && std::fgets(line, sizeof line, child);
        const int rc = child ? pclose(child) : -1;
        double f = 0, w = 0;
        if (!read || rc != 0 || std::sscanf(line, "%lf %lf", &f, &w) != 2 || !(f > 0) || !(w > 0)) {
            benchfail(state, std::string("the first-draw process failed: ") + line);
            return;
        }
        first += f;
        warm += w;
        state.SetIterationTime(f / 1000);
    }
    const double n = double(state.iterations());
    state.counters["first_ms"] = first / n;
    state.counters["warm_ms"] = warm / n;
    state.counters["first_over_warm"] = first / warm;
}
BENCHMARK(BM_Draw2dFirstInProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace
