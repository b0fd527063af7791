#include "gdi.h"

namespace zk::gdi {

uint32_t nearestIndex(const ZkPalette *pal, uint32_t colour)
{
    if (!pal || pal->count <= 0) return 0;
    const int n = pal->count > 256 ? 256 : pal->count;
    uint32_t best = 0;
    int64_t bestDist = INT64_MAX;
    for (int i = 0; i < n; ++i) {
        const uint32_t e = pal->entries[i];
        const int64_t dr = int64_t(red(e)) - red(colour);
        const int64_t dg = int64_t(green(e)) - green(colour);
        const int64_t db = int64_t(blue(e)) - blue(colour);
        const int64_t d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = uint32_t(i);
        }
    }
    return best;
}

uint32_t resolve(const ZkDC *dc, uint32_t colour)
{
    const ZkPalette *pal = dc ? dc->palette : nullptr;
    const bool hasPal = pal && pal->count > 0;
    if (colour & ZK_PALETTEINDEX) {
        if (hasPal) {
            uint32_t idx = colour & 0xFF;
            if (int32_t(idx) >= pal->count) idx = 0;
            return pal->entries[idx] & 0xFFFFFF;
        }
        return colour & 0xFFFFFF;
    }
    if (colour & ZK_PALETTERGB) {
        if (hasPal) return pal->entries[nearestIndex(pal, colour & 0xFFFFFF)] & 0xFFFFFF;
        return colour & 0xFFFFFF;
    }
    return colour & 0xFFFFFF;
}

static inline bool inside(const ZkDC *dc, int32_t x, int32_t y)
{
    return dc && dc->bits && x >= 0 && y >= 0 && x < dc->width && y < dc->height;
}

bool setPixelV(ZkDC *dc, int32_t x, int32_t y, uint32_t colour)
{
    if (!inside(dc, x, y)) return false;
    dc->bits[int64_t(y) * dc->stride + x] = resolve(dc, colour) | 0xFF000000u;
    return true;
}

uint32_t setPixel(ZkDC *dc, int32_t x, int32_t y, uint32_t colour)
{
    if (!inside(dc, x, y)) return kInvalid;
    const uint32_t c = resolve(dc, colour);
    dc->bits[int64_t(y) * dc->stride + x] = c | 0xFF000000u;
    return c;
}

uint32_t getPixel(const ZkDC *dc, int32_t x, int32_t y)
{
    if (!inside(dc, x, y)) return kInvalid;
    return dc->bits[int64_t(y) * dc->stride + x] & 0xFFFFFFu;
}

}  // namespace zk::gdi
