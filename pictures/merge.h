// Picture merging, rotation and projection: one picture window resampled
// into another through the geographic corners of both. The sampling itself
// is the engine's mergemultiply; rotation and projection work out the new
// window's corners and size, then copy the old picture into it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "pictures/geomap.h"

namespace zk {

class frmPic;

// Every pixel of the destination takes, averages with or multiplies by the
// source pixel at the same geographic place (mode 0 copy, 1 average, 2
// multiply; the engine averages for every mode but 0 and 2). A long
// operation (opmerge): a stopped merge leaves the destination's picture as
// it was. A missing window makes the steps that need it skip.
void mergepics(frmPic *source, frmPic *destination, int mode);

// Copies the main window's active picture (kind 1 or 2), turned clockwise by
// the angle (degrees) and enlarged by the factor, into a new picture window
// of kind 2. A picture without corners (all four longitudes 0) first gets
// the unit corners.
void rotatepic(float angle_deg, float stretch);

// Copies the main window's active picture (kind 1 or 2, with corners) into a
// new picture window of kind 2 whose outline is a trapezoid: the edge nearer
// the pole widened so that the meridians converge towards it.
void projectpic();

// The new window's size in pixels and corners (index 0..3: corners 1..4,
// NW, NE, SE, SW).
struct NewFrame {
    int32_t width = 0, height = 0;
    std::array<float, 4> lon{}, lat{};
};

// The frame of a rotated copy of the picture `old` (its kind, corners and
// picture size): the bounding box of the turned picture, times the factor,
// and the places of its corner pixels on the old picture.
NewFrame rotateframe(const PicFrame &old, double angle_deg, double stretch);

// The frame of a projected copy of `old`; nothing when the picture has no
// extent in longitude (its western and eastern edges coincide) or its
// corners are not numbers.
std::optional<NewFrame> projectframe(const PicFrame &old);

// New pictures are kept within this many pixels, and this many a side: a
// larger stretch is reduced until the picture fits.
constexpr int64_t kMaxNewPixels = 64LL * 1024 * 1024;
constexpr int32_t kMaxNewSide = 32767;

}  // namespace zk
