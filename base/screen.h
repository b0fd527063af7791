// The screen as the program measures it: the primary screen's size in
// pixels and the twips per pixel at the logical resolution (15 at 96 dpi).
// The document reset sizes the elevation grid from it and the 3D view
// centres its picture on it.
#pragma once

#include <QSize>

namespace zk {

// The primary screen's width and height in pixels (1024 x 768 when there is
// no screen at all).
QSize screenPixels();
// Twips per pixel along each axis: 1440 / the logical dots per inch.
double twipsPerPixelX();
double twipsPerPixelY();
// The screen in twips (pixels x twips per pixel).
double screenWidthTwips();
double screenHeightTwips();

// Test seam: pretend the screen has this size; an invalid size restores the
// real one.
void setScreenPixels(const QSize &size);

}  // namespace zk
