// The colour legend: the colour scale drawn as a small grey box in the
// bottom-right corner of a picture, with a title, twelve threshold labels
// and twelve colour swatches, for altitudes (scalekind 0) or signal levels
// (scalekind 1).
#pragma once

#include <QString>

#include <cstdint>

namespace zk {

class frmPic;

// Draws the legend into the picture's drawing layer (the caller commits it
// if it wants to keep it). Leaves scalekind at 0.
void drawlegend(frmPic *pic);

// The legend's title: "Altitude (m)", or "Signal " with the coverage
// threshold unit.
QString legendtitle(int16_t kind, int16_t thrunit);

// Swatch line j (3 .. cw) of colour k in a legend whose columns are cw
// pixels wide: blended altitude swatches (f = the picture's brightness
// factor) run towards the next colour; the others shade one colour from
// dark to full.
uint32_t swatchcolor(int k, int j, int cw, bool blended, float bri);

}  // namespace zk
