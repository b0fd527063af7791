// Eight colour ramps of 256 entries: entry j of a ramp has each channel equal
// to trunc(j / 2) times that channel's step (0, 1 or 2), so a 2-step channel
// peaks at 254 and the brown ramp's green at 127.
#include "ramps.h"

#include "frame.h"
#include "gdi.h"
#include "zelkor32.h"

namespace {

struct Step { int r, g, b; };
constexpr Step kBase[zk::engine::kRamps] = {
    {0, 0, 2},  // blue
    {0, 2, 0},  // green
    {0, 2, 2},  // cyan
    {2, 0, 0},  // red
    {2, 1, 0},  // brown
    {2, 2, 0},  // yellow
    {2, 2, 2},  // grey
    {2, 0, 2},  // magenta
};

uint32_t g_table[zk::engine::kRamps][zk::engine::kRampLen] = {};
int32_t g_palcount = 0;

}  // namespace

namespace zk::engine {

uint32_t rampColour(int k, int j)
{
    if (k < 0) k = 0;
    if (k >= kRamps) k = kRamps - 1;
    if (j < 0) j = 0;
    if (j >= kRampLen) j = kRampLen - 1;
    return g_table[k][j];
}

int32_t paletteCount() { return g_palcount; }

}  // namespace zk::engine

extern "C" int32_t translate(const ZkPalette *hpal)
{
    using namespace zk;
    g_palcount = hpal ? 256 : 0;
    for (int k = 0; k < engine::kRamps; ++k) {
        for (int j = 0; j < engine::kRampLen; ++j) {
            const uint32_t m = uint32_t(engine::trunc32(j * 0.5));
            const uint32_t c = gdi::rgb(m * kBase[k].r, m * kBase[k].g, m * kBase[k].b);
            g_table[k][j] = hpal ? (gdi::nearestIndex(hpal, c) | ZK_PALETTEINDEX) : c;
        }
    }
    return g_palcount;
}

extern "C" int32_t colortest(ZkDC *hdc)
{
    using namespace zk;
    for (int k = 0; k < engine::kRamps; ++k)
        for (int row = 4 * k; row < 4 * k + 4; ++row)
            for (int j = 0; j < engine::kRampLen; ++j) gdi::setPixel(hdc, j, row, g_table[k][j]);
    return 256;
}
