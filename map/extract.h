// Extraction of the elevation map from terrain data sets: the compressed
// 1-degree Terrain tiles, the GTOPO30 tiles and the DTED cells. Each run works
// out the tiles that the map's rectangle touches, hands each one to the
// engine's reader with its placement in the grid, reports a missing tile, and
// ends with the map statistics. The map-properties dialog shapes the grid and
// runs the selected sources in the order Terrain, GTOPO30, DTED.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace zk {

// Each run answers true when it was not stopped (Stop, Esc or Abort).
bool extractterrain();
bool extractgtopo30();
bool extractdted();

// The statistics step that ends a complete run: lowest, highest and mean
// elevation of the grid into mapset, the colour range from them.
void mapstatistics();

// Size of an expanded Terrain tile: 121 x 121 16-bit elevations.
constexpr int32_t kTerrainSide = 121;
constexpr qint64 kTerrainBytes = 2 * kTerrainSide * kTerrainSide;  // 29,282

// Reads an expanded Terrain tile (121 profiles west to east, each of 121
// samples south to north, little-endian) into `cells`, laid out as the
// engine's getterrain takes it: first index the sample, second the profile.
// False when the file is not exactly 29,282 bytes.
bool readterraintile(const QString &path, std::vector<int16_t> &cells);

}  // namespace zk
