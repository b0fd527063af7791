// Geographic points on 3D pictures: the projection that drew a 3D picture,
// rebuilt from the values the picture keeps, places a position at an
// altitude on that picture. The cursor, the networks and the current link
// are drawn on 3D pictures through it.
#pragma once

namespace zk {

class frmPic;

// The pixel at which the 3D picture `w` shows the position (lon, lat in
// degrees, east and north positive) at `alt` metres above sea level. True
// with x, y set (whole pixels of the picture box) when the position lies
// within the picture's corner rectangle (edges included) and in front of the
// camera; false with x, y untouched otherwise, also for a window that is not
// a 3D picture and for a picture whose corners span no longitude or no
// latitude.
//
// Once the position is known to lie within the rectangle, `view3d` and the
// projection coefficients are those of the picture, and stay so.
bool geo3d(frmPic *w, float lon, float lat, float alt, float &x, float &y);

}  // namespace zk
