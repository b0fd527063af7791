// Geographic points on 3D pictures: the projection that drew a 3D picture,
// rebuilt from the values the picture keeps, places a position at an
// altitude on that picture. The cursor, the networks, the current link and
// the radar coverage are drawn on 3D pictures through it.
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

// Where the position lies across the 3D picture's north-up corner rectangle
// (lon1 .. lon2, lat4 .. lat1): fx 0 at the western edge and 1 at the
// eastern one, fy 0 at the southern edge and 1 at the northern one. True
// when both lie within 0 .. 1 (edges included); false for a window that is
// not a 3D picture, a picture whose corners give no extent, or a position
// off the rectangle or not a number.
bool pic3dfractions(const frmPic *w, float lon, float lat, float &fx, float &fy);

// Makes `view3d` and the projection coefficients those with which the 3D
// picture `w` was drawn: its eight view parameters, and the grid centre and
// height scale of the grid it was drawn from (w3, h3, q3), not of the grid
// in memory now. project3d(w3 * fx, h3 * fy, alt) then gives its pixels.
void setpic3dview(const frmPic *w);

}  // namespace zk
