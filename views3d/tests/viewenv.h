// Shared set-up of the station-view and flight tests: a small map whose
// cells are exactly 1/64 degree both ways and 200 m each for the drawing
// and the profile (the scale they take from the map's extent), its 2D
// picture in a picture window, and two stations on it.
#pragma once

#include <QColor>
#include <QImage>

#include <cmath>
#include <cstdint>

#include "map/mapdata.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "radio/radiodata.h"
#include "shell/settings.h"

namespace viewtest {

// The map: (ux + 1) x (uy + 1) cells on corners from 8 E and 40 N, 64 cells
// a degree both ways, uy x 0.2 km from south to north; elevation of cell
// (x, y) from `elev` (flat 0 by default).
inline void setMap(int16_t (*elev)(int x, int y) = nullptr, int ux = 128, int uy = 40)
{
    zk::elevgrid.redim(ux, uy);
    for (int y = 0; y <= uy; ++y)
        for (int x = 0; x <= ux; ++x) zk::elevgrid.at(x, y) = elev ? elev(x, y) : 0;
    const float east = float(8 + ux / 64.0), north = float(40 + uy / 64.0);
    zk::mapcorners.lon[0] = 8;    zk::mapcorners.lat[0] = north;
    zk::mapcorners.lon[1] = east; zk::mapcorners.lat[1] = north;
    zk::mapcorners.lon[2] = east; zk::mapcorners.lat[2] = 40;
    zk::mapcorners.lon[3] = 8;    zk::mapcorners.lat[3] = 40;
    zk::mapset.size = float(uy * 0.2);
}

inline float cellLon(double x) { return float(8 + x / 64.0); }
inline float cellLat(double y) { return float(40 + y / 64.0); }

// Unit u at cell (x, y) with a name, enabled, its ground elevation given.
inline void placeUnit(int u, double x, double y, const char *name, float elev = 0)
{
    zk::units[u].lon = cellLon(x);
    zk::units[u].lat = cellLat(y);
    zk::units[u].elev = elev;
    zk::units[u].enabled = -1;
    zk::setFixedText(zk::units[u].name, QString::fromLatin1(name));
}

// The map's 2D picture: a window with one pixel per grid cell whose pixel
// (x, y) is RGB(x, y, 7) (never white), made the current picture.
inline zk::frmPic *source()
{
    zk::frmPic *w = zk::openpicture(QString(), -1);
    if (!w) return nullptr;
    const QSize size(zk::elevgrid.nx(), zk::elevgrid.ny());
    QImage img(size, QImage::Format_RGBX8888);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) img.setPixelColor(x, y, QColor(x & 255, y & 255, 7));
    w->Picture1->setPicture(img);
    w->Pictype = 1;
    w->lon1 = zk::mapcorners.lon[0]; w->lat1 = zk::mapcorners.lat[0];
    w->lon2 = zk::mapcorners.lon[1]; w->lat2 = zk::mapcorners.lat[1];
    w->lon3 = zk::mapcorners.lon[2]; w->lat3 = zk::mapcorners.lat[2];
    w->lon4 = zk::mapcorners.lon[3]; w->lat4 = zk::mapcorners.lat[3];
    w->source = QStringLiteral("test.map");
    zk::curpic = w;
    return w;
}

inline uint32_t rgbAt(const QImage &img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return uint32_t(qRed(p)) | uint32_t(qGreen(p)) << 8 | uint32_t(qBlue(p)) << 16;
}

// White pixels (the target marker's outer ring) within 6 pixels of the
// picture's centre.
inline int whiteNearCentre(const QImage &img)
{
    const int cx = int(std::nearbyint(img.width() / 2.0)), cy = int(std::nearbyint(img.height() / 2.0));
    int n = 0;
    for (int y = cy - 6; y <= cy + 6; ++y)
        for (int x = cx - 6; x <= cx + 6; ++x)
            if (x >= 0 && y >= 0 && x < img.width() && y < img.height() && rgbAt(img, x, y) == 0xFFFFFF) ++n;
    return n;
}

}  // namespace viewtest
