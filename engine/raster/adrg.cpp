// ADRG chart tiles: one 128 x 128 tile painted at fractional steps; black
// source pixels are transparent.
#include <algorithm>
#include <vector>

#include "frame.h"
#include "gdi.h"
#include "raster/raster.h"

namespace zk::engine {

int32_t paintAdrgTile(ByteSource &src, ZkDC *hdc, int16_t tile, int16_t x, int16_t y, float stepY, float stepX)
{
    const int64_t offset = kAdrgFirstTile + int64_t(tile) * kAdrgTileBytes;
    // A step of 0 or less would never leave the tile.
    if (!(stepX > 0.0f) || !(stepY > 0.0f)) return 0;
    constexpr size_t plane = size_t(kAdrgSide) * kAdrgSide;
    std::vector<uint8_t> rgb(3 * plane);
    // A tile that is not wholly in the file (a short or corrupt image) is
    // not painted: half-filled planes would show false colours.
    for (int p = 0; p < 3; ++p)
        if (src.readAt(offset + int64_t(p * plane), rgb.data() + p * plane, plane) != plane) return 0;

    // Rows and columns that fall beyond the bitmap's right or bottom edge
    // paint nothing, so the walk ends there; that also bounds the work for
    // very small steps.
    const int64_t width = hdc && hdc->bits ? hdc->width : 0;
    const int64_t height = hdc && hdc->bits ? hdc->height : 0;
    float v = 0.0f;
    for (int64_t Y = y; v < float(kAdrgSide) && Y < height; ++Y, v += stepY) {
        if (Y < 0) continue;
        const size_t row = size_t(trunc32(v)) * kAdrgSide;
        float u = 0.0f;
        for (int64_t X = x; u < float(kAdrgSide) && X < width; ++X, u += stepX) {
            const size_t k = row + size_t(trunc32(u));
            const uint32_t c = gdi::rgb(rgb[k], rgb[plane + k], rgb[2 * plane + k]);
            if (c != 0) gdi::setPixelV(hdc, int32_t(X), int32_t(Y), c | ZK_PALETTERGB);
        }
    }
    return int32_t(offset);
}

}  // namespace zk::engine

extern "C" int32_t getadrg(const char *path, ZkDC *hdc, int16_t tile, int16_t x, int16_t y, float stepY, float stepX)
{
    zk::engine::TileFile file(path);
    if (!file.isOpen()) return 0;  // nothing painted
    return zk::engine::paintAdrgTile(file, hdc, tile, x, y, stepY, stepX);
}
