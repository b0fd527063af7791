// Geographic mapping of pictures: a position to a pixel of a picture window's
// picture box (geotopix) and a pixel back to a position (pixtogeo), through
// the four corners of the window. The corners are the centres of the corner
// pixels: column 0 the west edge, column width - 1 the east edge, row 0 the
// north edge, row height - 1 the south edge.
#pragma once

#include <cstdint>

namespace zk {

class frmPic;

// What the mapping reads of a window.
struct PicFrame {
    int16_t Pictype = 0;
    float lon1 = 0, lat1 = 0;  // north-west
    float lon2 = 0, lat2 = 0;  // north-east
    float lon3 = 0, lat3 = 0;  // south-east
    float lon4 = 0, lat4 = 0;  // south-west
    int32_t width = 0, height = 0;  // picture box, pixels
};

// The frame of a window (its current variables and picture box size).
PicFrame picframe(const frmPic *w);

// Position to pixel. x and y are written in every case (-1 first, then the
// pixel, rounded half to even, also off the picture); true when the position
// lies on the picture within a tolerance of 0.0001 of its extent. Only
// picture kinds 1 and 2 have a frame. A frame whose corners give a zero
// divisor counts as "not on the picture": the result is never NaN.
bool geotopix(const PicFrame &f, float lon, float lat, float &x, float &y);
bool geotopix(const frmPic *w, float lon, float lat, float &x, float &y);

// Pixel to position by a bilinear blend of the corners. For kinds 1 and 2
// lon and lat are written (also off the picture, extrapolated) and the answer
// is true when the pixel lies on the picture, edges included; for other kinds
// (or no window) the answer is false and nothing is written.
bool pixtogeo(const PicFrame &f, float x, float y, float &lon, float &lat);
bool pixtogeo(const frmPic *w, float x, float y, float &lon, float &lat);

}  // namespace zk
