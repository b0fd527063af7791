// Red/cyan stereo pair from a 2D picture of the map: each pixel moves half
// its elevation shift to the right in the red channel and half (rounded up)
// to the left in the green and blue channels; gaps take the neighbour placed
// last.
#include <algorithm>
#include <new>
#include <vector>

#include "frame.h"
#include "gdi.h"
#include "safearray.h"
#include "zelkor32.h"

extern "C" int32_t top3d(ZkArray **grid, ZkDC *hdcSrc, ZkDC *hdcDst, float scale, float base)
{
    using namespace zk;
    const ZkArray *g = sa::deref(grid);
    if (!sa::is2d(g)) return 0;
    int32_t ux, uy;
    sa::ubound(g, 1, ux);
    sa::ubound(g, 2, uy);
    const int64_t width = int64_t(ux) + 1;   // the picture has one pixel per grid column,
    const int64_t height = int64_t(uy) + 1;  // its top row at the grid's northern edge
    if (width <= 0 || height <= 0) return 0;

    std::vector<int16_t> shift;
    std::vector<uint32_t> grey, cyan;
    try {
        shift.resize(size_t(width));
        grey.resize(size_t(width));
        cyan.resize(size_t(width));
    } catch (const std::bad_alloc &) {
        return 0;
    }

    const float k = float(2.0 * scale);
    // The colours last placed fill the gaps at the row ends; they carry over
    // from row to row and start black.
    uint32_t c = 0;
    uint32_t r = ZK_PALETTERGB;
    int64_t y = 0;
    for (; y < height; ++y) {
        const int32_t gy = int32_t(uy - y);
        // Right to left: the green and blue channels, each pixel moved left.
        int64_t p = width - 1;
        for (int64_t x = width - 1; x >= 0; --x) {
            const uint32_t s = gdi::getPixel(hdcSrc, int32_t(x), int32_t(y));
            const uint32_t G = uint32_t(engine::trunc32((gdi::red(s) + gdi::green(s) + gdi::blue(s)) * 0.333333)) & 0xFF;
            grey[size_t(x)] = G * 0x010101u;
            int16_t e = 0;  // a cell outside the grid's bounds reads as 0
            sa::get(g, int32_t(x), gy, e);
            shift[size_t(x)] = int16_t(engine::trunc32((double(e) - base) * k));
            int64_t lx = x - ((shift[size_t(x)] + 1) >> 1);
            if (lx < 0) lx = 0;
            if (lx < p) {
                c = grey[size_t(x)] & 0xFFFF00u;
                for (; p > lx; --p) cyan[size_t(p)] = c;
            }
        }
        for (; p >= 0; --p) cyan[size_t(p)] = c;

        // Left to right: the red channel, each pixel moved right.
        int64_t q = 0;
        for (int64_t x = 0; x < width; ++x) {
            int64_t rx = x + (shift[size_t(x)] >> 1);
            if (rx > width - 1) rx = width - 1;
            if (rx > q) {
                r = (grey[size_t(x)] & 0xFFu) | ZK_PALETTERGB;
                for (; q < rx; ++q) gdi::setPixelV(hdcDst, int32_t(q), int32_t(y), r | cyan[size_t(q)]);
            }
        }
        for (; q < width; ++q) gdi::setPixelV(hdcDst, int32_t(q), int32_t(y), r | cyan[size_t(q)]);

        if (!engine::progress(int32_t(y))) {
            y = height + 1;
            break;
        }
    }
    return int32_t(std::min<int64_t>(y, INT32_MAX));
}
