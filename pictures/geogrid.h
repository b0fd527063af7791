// The latitude and longitude grid over a picture with geographic corners, at
// 10 degrees, 1 degree, 15 minutes or 1 minute; drawn as a long operation
// and kept in the picture if the user says so.
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

#include "pictures/geomap.h"

class QWidget;

namespace zk {

// code 1: 10 degrees, 2: 1 degree, 3: 15 minutes, anything else 1 minute.
// Nothing but the end of the operation on a window that is not a picture of
// kind 1 or 2.
void drawgrid(QWidget *pic, float code);

// The grid lines of a picture: the spacing, the western and southern edges
// rounded down to a multiple of it, the eastern and northern edges as they
// are, and the latitudes of the parallels and longitudes of the meridians
// from those rounded edges up to the far ones. Each line is start + i x step
// in double precision, so that fine grids do not drift.
struct GridLines {
    double step = 0;
    double lonW = 0, lonE = 0, latS = 0, latN = 0;
    std::vector<double> lats, lons;
};
GridLines gridlines(const PicFrame &f, float code);

// A straight line between two pixel positions in the colour (red in the low
// byte), one pixel wide, copied over the image; the part off the image is
// cut away.
void copyline(QImage &img, double x1, double y1, double x2, double y2, uint32_t colour);

}  // namespace zk
