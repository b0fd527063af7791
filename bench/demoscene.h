// The scene both map benchmarks draw on: a main window with its MDI area and
// one picture window, over the demo landscape (2000 x 2000 cells, 200 km
// high, square cells at 45 N 73 W) in the rainbow mode with contours,
// overlays and the legend switched on.
#pragma once

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

#include <algorithm>
#include <cmath>

#include "base/mdi.h"
#include "base/settings.h"
#include "map/demo/demoterrain.h"
#include "map/mapdata.h"
#include "pictures/colorscale.h"
#include "pictures/frmPic.h"
#include "pictures/legend.h"
#include "pictures/overlaymenus.h"
#include "pictures/picfiles.h"

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

Scene &scene()
{
    static Scene s;
    return s;
}

}  // namespace
