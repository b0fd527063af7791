// The radio window tests' environment: the picture tests' stand-in main
// window, plus a picture of the map on disk (BMP with its calibration file).
#pragma once

#include <QFile>
#include <QImage>

#include "map/mapdata.h"
#include "pictures/calibration.h"
#include "pictures/tests/picenv.h"

namespace radiotest {

// The same stand-in main window as the picture tests use.
using TestMain = zktest::TestMain;

// Writes a plain grey picture of the map's grid size as a BMP with a
// calibration file that gives it the map's corners as a picture of kind 1.
inline bool writeMapPicture(const QString &bmp)
{
    QImage img(zk::elevgrid.nx(), zk::elevgrid.ny(), QImage::Format_RGB32);
    img.fill(QColor(90, 90, 90));
    if (!img.save(bmp, "BMP")) return false;
    zk::PicCalibration cal;
    cal.Pictype = 1;
    for (int i = 0; i < 4; ++i) {
        cal.lon[size_t(i)] = zk::mapcorners.lon[i];
        cal.lat[size_t(i)] = zk::mapcorners.lat[i];
    }
    cal.source = QStringLiteral("Carte de test");
    QFile f(zk::companionName(bmp, QStringLiteral("dat")));
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(zk::writePicCalibration(cal)) > 0;
}

}  // namespace radiotest
