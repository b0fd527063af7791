// The scene both map benchmarks draw on: a main window with its MDI area and
// one picture window, over the demo landscape (2000 x 2000 cells, 200 km
// high, square cells at 45 N 73 W) in the rainbow mode with contours,
// overlays and the legend switched on.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

#include <algorithm>
#include <cmath>
#include <memory>

#include "base/mdi.h"
#include "base/screen.h"
#include "base/settings.h"
#include "map/demo/demoterrain.h"
#include "map/mapdata.h"
#include "pictures/colorscale.h"
#include "pictures/covset.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/legend.h"
#include "pictures/overlaymenus.h"
#include "pictures/picfiles.h"
#include "radio/radiodata.h"

namespace {

constexpr int kSide = 2000;

struct Scene {
    QMainWindow main;
    QMdiArea *area = nullptr;
    zk::frmPic *pic = nullptr;

    Scene()
    {
        area = new QMdiArea(&main);
        main.setCentralWidget(area);
        main.resize(1200, 900);
        zk::setMdiArea(area);
        zk::setMainWindow(&main);
        main.show();

        // The demo landscape, 200 km high, square cells at 45 N.
        zk::mapset = MapSettings{};
        zk::mapset.lon = -73;
        zk::mapset.lat = 45;
        zk::mapset.size = 200;
        zk::mapset.Mapmode = 5;
        zk::mapset.con = 30;
        zk::mapset.bri = 70;
        zk::mapset.light = 335;
        zk::mapset.c2 = 1;
        zk::elevgrid.redim(kSide - 1, kSide - 1);
        zk::setcorners(zk::mapset);
        const double n = zk::mapcorners.lat[0], s = zk::mapcorners.lat[2];
        const double w = zk::mapcorners.lon[0], e = zk::mapcorners.lon[2];
        int16_t lo = 32767, hi = -32768;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const double h = zk::demo::elevation(w + (e - w) * x / (kSide - 1), s + (n - s) * y / (kSide - 1));
                const auto v = int16_t(std::lround(h));
                zk::elevgrid.at(x, y) = v;
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        zk::mapset.hmin = zk::mapset.minx = lo;
        zk::mapset.hmax = zk::mapset.maxx = hi;
        zk::mapcorners.city = -1;
        zk::mapfile = QStringLiteral("bench.map");
        zk::initcolors();
        zk::showlegend = 1;
        zk::settings.showobjects = true;
        zk::settings.objectdrive = QStringLiteral("C");
        zk::installoverlayservices();
        pic = zk::openpicture(QString(), -1);
    }
    ~Scene()
    {
        delete pic;
        zk::setMdiArea(nullptr);
        zk::setMainWindow(nullptr);
    }
};

// Made on first use and destroyed by main while the application lives:
// widgets must not outlive it.
std::unique_ptr<Scene> &heldscene()
{
    static std::unique_ptr<Scene> s;
    return s;
}

Scene &scene()
{
    if (!heldscene()) heldscene() = std::make_unique<Scene>();
    return *heldscene();
}

// The coverage scene: two units at the centre of the map and 10 km east, in network 1; the
// picture drawn once and marked as a lunar landscape so that no redraw is
// offered; a sweep of 360 radials out to 50 km.
inline void coveragesetup()
{
    Scene &s = scene();
    static bool done = false;
    if (done) return;
    done = true;
    zk::setScreenPixels(QSize(1024, 768));
    zk::newnet(false);
    zk::setScreenPixels(QSize());
    zk::settings.showobjects = false;
    zk::mapcorners.city = 0;
    zk::showlegend = 0;
    zk::draw2d(s.pic, true);
    s.pic->Mapmode = 0;
    zk::curpic = s.pic;
    zk::units[1].lon = -73; zk::units[1].lat = 45; zk::units[1].elev = 200;
    zk::units[2].lon = -72.87f; zk::units[2].lat = 45;
    zk::units[1].enabled = zk::units[2].enabled = -1;
    zk::nets[1].member[0] = zk::nets[1].member[1] = 0x80;
    zk::linka = 1; zk::linkb = 2; zk::linknet = 1; zk::curunit = 1;
    zk::covset.rangemax = 50; zk::covset.rangemin = 0.1f;
    zk::covset.azmin = 0; zk::covset.azmax = 359; zk::covset.azstep = 1;
    zk::covset.surface = -1; zk::covset.surfcolor = 0; zk::covset.curve = -1; zk::covset.curvecolor = 0xFF;
    zk::covset.thrunit = 1;
    zk::covlow = -107; zk::covhigh = -67;
    std::fill(std::begin(zk::covset.antfile), std::end(zk::covset.antfile), ' ');
    zk::covset.sensorh = 10; zk::covset.targeth = 2; zk::targetmode = -1; zk::covset.viscolor = 0x00FFFF;
}

}  // namespace

// The main of the benchmarks that need a QApplication (offscreen unless a
// platform is set): defined once, in the file that defines ZK_BENCH_MAIN.
#ifdef ZK_BENCH_MAIN
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    heldscene().reset();
    return 0;
}
#endif
