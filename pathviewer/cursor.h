// Where the profile cursor goes and what its read-out says.
#pragma once

#include <QString>

#include <cstdint>

#include "pathstate.h"

namespace zk::pathviewer {

// How movecursor reads its x.
enum CursorMode : int {
    cursorStep = 0,      // x is a step in samples (-1 or +1)
    cursorPixel = 1,     // x is a horizontal position in picture pixels
    cursorDistance = 2,  // x is a distance from the left site, km
};

// The sample the cursor stands on after a move, from s.cursorpos; W is the
// picture's width in pixels. Any other mode keeps the cursor where it is.
int16_t cursorTarget(const PathState &s, float x, int mode, int W);

// The read-out of sample c: distance, altitude of the top of the cover,
// clearance in multiples of the first Fresnel radius.
QString readoutCaption(const PathState &s, int c);

// The altitude the read-out hangs from: the drawn terrain point.
float readoutAltitude(const PathState &s, int c);

}  // namespace zk::pathviewer
