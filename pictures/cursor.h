// The cursor: one geographic position shared by the whole program, with the
// grid cell and ground elevation of the last position that lay on the map.
// showcursor() is its only writer.
#pragma once

#include <cstdint>
#include <functional>

namespace zk {

extern float curlon;     // longitude of the last position shown, degrees east
extern float curlat;     // latitude of the last position shown, degrees north
extern int32_t curx;     // grid column of the last position on the map
extern int32_t cury;     // grid row (0 = southern row) of that position
extern float curelev;    // ground elevation of that cell, m
extern double gridtime;  // clock (s since midnight) before which the grid window's zoom pane is not repainted

// Makes the position the cursor: the read-out in the main window's cursor
// pane, the elevation-grid window when its view is on, and the crosshair on
// every picture window. Does nothing while a long operation runs.
void showcursor(float lon, float lat);

// Test seam: the clock of the zoom-pane gate, seconds since midnight.
// Null restores the wall clock.
void setCursorClock(std::function<double()> clock);

}  // namespace zk
