// Pixel access on a ZkDC and nearest-colour lookup on a ZkPalette: the small
// part of GDI that the engine and the main program need. Plain C++, no Qt.
#pragma once

#include <cstdint>

#include "zelkor32.h"

namespace zk::gdi {

constexpr uint32_t kInvalid = ZK_CLR_INVALID;

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
constexpr uint32_t red(uint32_t c) { return c & 0xFF; }
constexpr uint32_t green(uint32_t c) { return (c >> 8) & 0xFF; }
constexpr uint32_t blue(uint32_t c) { return (c >> 16) & 0xFF; }

// Index of the palette entry nearest to the colour (squared RGB distance,
// first one on ties), as GetNearestPaletteIndex. A null or empty palette gives 0.
uint32_t nearestIndex(const ZkPalette *pal, uint32_t colour);

// The plain colour a flagged colour stands for on this device context:
// palette flags are resolved against the selected palette, or stripped.
uint32_t resolve(const ZkDC *dc, uint32_t colour);

// SetPixelV: writes the resolved colour with the top byte 0xFF; outside the
// bitmap (or on a null context) nothing happens. Returns true when written.
bool setPixelV(ZkDC *dc, int32_t x, int32_t y, uint32_t colour);

// SetPixel: as setPixelV, but answers the colour actually set, or kInvalid
// when the pixel lies outside the bitmap.
uint32_t setPixel(ZkDC *dc, int32_t x, int32_t y, uint32_t colour);

// GetPixel: the colour at (x, y) without its top byte, or kInvalid outside.
uint32_t getPixel(const ZkDC *dc, int32_t x, int32_t y);

}  // namespace zk::gdi
