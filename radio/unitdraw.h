// Units on pictures: every 2D picture window shows each active, placed unit
// twice over: printed into its drawing layer (a cross, the name on its box,
// the icon), which is what a saved or copied picture shows, and as the
// window's clickable controls Label4(k) and Image1(k) laid exactly over it.
#pragma once

#include <cstdint>

namespace zk {

class frmPic;

// Draws unit `unit` (1..50), or all 50 for any other value, on every picture
// window of kind 1 or 2 that is not a stereo picture; with `clear` each such
// picture's drawing layer is cleared first.
void drawunit(int unit, bool clear);

// On every picture window: hides the cursor lines, the selection, the marks,
// the unit labels and icons, and clears the drawing layer back to the
// stored picture.
void clearoverlay();

// Moves unit curunit to the position (degrees), with its ground elevation
// from the map (0 off the map), redraws it, asks for a network redraw,
// marks the document modified and, when positions are shared, sends it.
void moveunit(float lon, float lat);

// Whether drawunit draws on this window (kinds 1 and 2, not stereo).
bool drawsunits(const frmPic *w);

}  // namespace zk
