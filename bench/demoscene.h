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
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

#include "demogrid.h"

namespace {

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

        // The demo landscape, in the rainbow mode with contours.
        zk::mapset = demomap();
        zk::mapset.Mapmode = 5;
        zk::mapset.c2 = 1;
        zk::elevgrid.redim(kSide - 1, kSide - 1);
        zk::setcorners(zk::mapset);
        laylandscape();
        const auto [lo, hi] = gridrange();
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

// The coverage scene: two units on the ground at the centre of the map and
// 10 km east, in network 1; the picture drawn once and marked as a lunar
// landscape so that no redraw is offered; a sweep of 360 radials out to
// 50 km.
inline void coveragesetup()
{
    Scene &s = scene();
    static bool done = false;
    if (done) return;
    done = true;
    // A new network (the units, systems and links at their defaults); its
    // reset lays a flat grid of one cell per screen pixel, so the landscape
    // is laid again.
    zk::setScreenPixels(QSize(1024, 768));
    zk::newnet(false);
    zk::setScreenPixels(QSize());
    laylandscape();
    zk::settings.showobjects = false;
    zk::mapcorners.city = 0;
    zk::showlegend = 0;
    zk::draw2d(s.pic, true);
    s.pic->Mapmode = 0;
    zk::curpic = s.pic;
    // Each unit stands on the ground of its site, as one placed on the map.
    zk::units[1].lon = -73; zk::units[1].lat = 45;
    zk::units[2].lon = -72.87f; zk::units[2].lat = 45;
    for (int u : {1, 2}) {
        float x = 0, y = 0, elev = 0;
        zk::units[u].elev = zk::gridpoint(zk::units[u].lon, zk::units[u].lat, x, y, elev) ? elev : 0;
    }
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

// The first draw2d of a process against the warm ones: the scene is made
// (the map as a map file would leave it, the picture window open), then the
// map is drawn end to end (blocks, objects, cities, legend) once and then
// kWarmDraws times. Prints "first_ms warm_ms" (warm: the median) and
// answers 0, or prints why not and answers 2.
constexpr const char *kFirstDrawFlag = "--first-draw";
constexpr int kWarmDraws = 7;

inline int firstdraw()
{
    Scene &s = scene();
    if (!isdemogrid()) {
        std::printf("not the demo landscape\n");
        return 2;
    }
    zk::settings.showobjects = true;
    zk::mapcorners.city = -1;
    zk::showlegend = 1;
    auto timed = [&] {
        const auto t0 = std::chrono::steady_clock::now();
        const bool done = zk::draw2d(s.pic, true);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        return done ? ms : -1.0;
    };
    const double first = timed();
    std::vector<double> warm;
    for (int i = 0; i < kWarmDraws; ++i) warm.push_back(timed());
    std::sort(warm.begin(), warm.end());
    if (first < 0 || warm.front() < 0) {
        std::printf("draw2d did not complete\n");
        return 2;
    }
    std::printf("%.3f %.3f\n", first, warm[warm.size() / 2]);
    return 0;
}

}  // namespace

// The main of the benchmarks that need a QApplication (offscreen unless a
// platform is set): defined once, in the file that defines ZK_BENCH_MAIN.
// Run with --first-draw alone, it is the process whose first draw a
// benchmark times (see firstdraw).
#ifdef ZK_BENCH_MAIN
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 2 && std::string(argv[1]) == kFirstDrawFlag) {
        const int rc = firstdraw();
        heldscene().reset();
        return rc;
    }
    const int rc = runbenchmarks(argc, argv);
    heldscene().reset();
    return rc;
}
#endif
