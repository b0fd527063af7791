// The world map: the whole Earth as the picture window "Mappemonde", made
// from a world picture built into the program (720 x 360 pixels, longitudes
// -180 to 180 left to right, latitudes 90 to -90 top to bottom). The rest of
// the program knows that window by its caption and never saves it.
#pragma once

#include <QImage>

namespace zk {

// Brings back the "Mappemonde" window (from minimised) when it is open, else
// opens it and shows the cursor on it.
void worldmap();

// The built-in world picture.
QImage worldpicture();

}  // namespace zk
