// Internal entry points of the raster operations that tests feed directly.
#pragma once

#include <cstdint>

#include "terrain/tilefile.h"
#include "zelkor32.h"

namespace zk::engine {

// ADRG image tiles: 128 x 128 pixels as three planes (red, green, blue) of
// 16384 bytes, tile t at byte 2048 + t x 49152.
constexpr int64_t kAdrgFirstTile = 2048;
constexpr int64_t kAdrgTileBytes = 49152;
constexpr int32_t kAdrgSide = 128;

// Paints tile `tile` of the image held by src; answers the tile's byte
// offset, or 0 when nothing was painted (tile not wholly in the file, or a
// step that is not positive).
int32_t paintAdrgTile(ByteSource &src, ZkDC *hdc, int16_t tile, int16_t x, int16_t y, float stepY, float stepX);

}  // namespace zk::engine
