// The coverage plots on the demo landscape (2000 x 2000 cells, 200 km high,
// 100 m cells around 45 N 73 W), end to end on its 2D picture as the dialogs
// start them: a radio coverage of 50 km radius at 360 radials (160 points a
// radial, one LR call each) and a visual coverage of 50 km (500 steps a
// radial). Goals on one core: radio under 0.5 s, visual under 0.3 s. The
// sweeps alone, without the picture, for comparison.
#include <benchmark/benchmark.h>

#define ZK_BENCH_MAIN
#include "demoscene.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

#include <cmath>

#include "base/longop.h"
#include "base/mdi.h"
#include "base/screen.h"
#include "base/settings.h"
#include "map/demo/demoterrain.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/colorscale.h"
#include "pictures/covset.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/legend.h"
#include "pictures/overlaymenus.h"
#include "pictures/picfiles.h"
#include "radio/coverage.h"
#include "radio/linkbudget.h"
#include "radio/radiodata.h"
#include "views3d/radar3d.h"

namespace {


struct NullCanvas : zk::CoverageCanvas {
    long n = 0;
    void fill(const QPoint *, uint32_t) override { ++n; }
    void line(QPoint, QPoint, uint32_t) override { ++n; }
};

void BM_RadioCoverage50km(benchmark::State &state)
{
    coveragesetup();
    if (!ondemogrid(state)) return;
    // "Garder coverage dans l'image?" gets the default answer, Yes: the plot is
    // kept, as the user who keeps it sees the whole operation.
    zk::MsgScript script;
    for (auto _ : state) {
        scene().pic->Picture1->cls();
        zk::polarcoverage();
    }
}
BENCHMARK(BM_RadioCoverage50km)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_VisualCoverage50km(benchmark::State &state)
{
    coveragesetup();
    if (!ondemogrid(state)) return;
    zk::MsgScript script;  // "Garder la couverture dans l'image?": Yes, the default
    for (auto _ : state) {
        scene().pic->Picture1->cls();
        zk::visualcoverage(QString());
    }
}
BENCHMARK(BM_VisualCoverage50km)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void sweepinputs(int &x0, int &y0)
{
    float fx = 0, fy = 0;
    zk::geotopix(scene().pic, zk::units[1].lon, zk::units[1].lat, fx, fy);
    x0 = int(std::lrint(fx));
    y0 = int(std::lrint(fy));
}

void BM_RadioSweepOnly(benchmark::State &state)
{
    coveragesetup();
    if (!ondemogrid(state)) return;
    zk::RadioSweep p;
    sweepinputs(p.x0, p.y0);
    p.a = 1; p.b = 2; p.net = 1; p.L = 0; p.U = 40; p.curve = true;
    p.rangemax = 50; p.rangemin = 0.1f; p.azmin = 0; p.azmax = 359; p.azstep = 1;
    zk::linkparams(1, 2, 1);
    for (auto _ : state) {
        NullCanvas c;
        double spacing = 0;
        benchmark::DoNotOptimize(zk::radiosweep(p, c, spacing));
    }
}
BENCHMARK(BM_RadioSweepOnly)->Unit(benchmark::kMillisecond);

void BM_VisualSweepOnly(benchmark::State &state)
{
    coveragesetup();
    if (!ondemogrid(state)) return;
    zk::VisualSweep p;
    sweepinputs(p.x0, p.y0);
    p.hs = 210; p.targeth = 2; p.rangemax = 50; p.rangemin = 0.1f; p.azmin = 0; p.azmax = 359; p.azstep = 1;
    for (auto _ : state) {
        NullCanvas c;
        zk::visualsweep(p, c);
        benchmark::DoNotOptimize(c.n);
    }
}
BENCHMARK(BM_VisualSweepOnly)->Unit(benchmark::kMillisecond);

// The radar cloud's sweep over the demo landscape: a table of 200 rings of
// 250 m (50 km) for a target 300 m above the sensor, the sensor on a
// 2000 x 2000 picture grid; a canvas that counts the targets. The cloud is
// drawn from one random sequence in ring and azimuth order, and each ring's
// horizons are those the rings before it left: the sweep runs on one thread.
void BM_Radar3DSweepOnly(benchmark::State &state)
{
    coveragesetup();
    if (!ondemogrid(state)) return;
    zk::RadarTable t;
    t.n = 200;
    t.b = 0.25;
    t.lo.assign(size_t(t.n) + 2, 0.0f);
    t.hi.assign(size_t(t.n) + 2, 300.0f);
    t.hi.front() = t.hi.back() = 0;
    zk::Radar3DSweep p;
    p.table = &t;
    p.azmin = 0; p.azmax = 360; p.azstep = float(state.range(0)) / 10;
    int x0 = 0, y0 = 0;
    sweepinputs(x0, y0);
    p.cx = x0; p.cy = zk::elevgrid.ubound2() - y0;
    p.h0 = float(zk::elevgrid.at(p.cx, p.cy)) + 10;
    p.gx = float(p.cx); p.gy = float(p.cy);
    p.piccells_per_km = p.mapcells_per_km = float(zk::elevgrid.ubound2()) / zk::mapset.size;
    struct Count : zk::Radar3DCanvas {
        long n = 0;
        void target(const zk::RadarTarget &) override { ++n; }
    };
    long targets = 0;
    for (auto _ : state) {
        zk::resetradarrandom();
        Count c;
        zk::radar3dsweep(p, c);
        targets = c.n;
    }
    state.counters["targets"] = double(targets);
}
// Azimuth steps of 1 and 0.2 degrees (the argument in tenths).
BENCHMARK(BM_Radar3DSweepOnly)->Unit(benchmark::kMillisecond)->Arg(10)->Arg(2);

}  // namespace
