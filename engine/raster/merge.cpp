// Picture merging: a quadrilateral of the source picture is resampled into
// the destination rectangle, copied, multiplied or averaged channel by channel.
#include <algorithm>

#include "frame.h"
#include "gdi.h"
#include "zelkor32.h"

namespace {

uint32_t combine(uint32_t s, uint32_t d, int16_t mode)
{
    using namespace zk::gdi;
    if (mode == 0) return s;
    if (mode == 2) return rgb(red(s) * red(d) / 255, green(s) * green(d) / 255, blue(s) * blue(d) / 255);
    return rgb((red(s) + red(d)) / 2, (green(s) + green(d)) / 2, (blue(s) + blue(d)) / 2);
}

}  // namespace

extern "C" int32_t mergemultiply(ZkDC *hdcDst, int32_t cols, int32_t rows, ZkDC *hdcSrc, float x0, float y0,
                                 float x1, float y1, float x2, float y2, float x3, float y3, int16_t mode)
{
    using namespace zk;
    if (cols < 2 || rows < 2) return 0;
    bool found = false;  // some row has met the quadrilateral inside the source
    int64_t i = 0;
    while (i < rows) {
        const float t = float(double(i) / (rows - 1));
        const float lx = float((1.0 - t) * x0 + double(t) * x3), ly = float((1.0 - t) * y0 + double(t) * y3);
        const float rx = float((1.0 - t) * x1 + double(t) * x2), ry = float((1.0 - t) * y1 + double(t) * y2);
        const float dx = float((double(rx) - lx) / (cols - 1)), dy = float((double(ry) - ly) / (cols - 1));
        float sx = lx, sy = ly;
        bool rowFound = false;
        for (int64_t j = 0; j < cols; ++j, sx += dx, sy += dy) {
            if (!(sx >= 0.0f && sy >= 0.0f)) continue;
            const uint32_t s = gdi::getPixel(hdcSrc, engine::trunc32(sx), engine::trunc32(sy));
            if (s == gdi::kInvalid) continue;
            rowFound = true;
            const uint32_t d = mode == 0 ? 0 : gdi::getPixel(hdcDst, int32_t(j), int32_t(i));
            gdi::setPixelV(hdcDst, int32_t(j), int32_t(i), combine(s, d, mode) | ZK_PALETTERGB);
        }
        // Once the quadrilateral has been met, the first row that misses it
        // has left it: that row is the last one done.
        const bool leaving = found && !rowFound;
        found = found || rowFound;
        if (!engine::progress(int32_t(i))) {
            i = int64_t(rows) + 1;
            break;
        }
        ++i;
        if (leaving) break;
    }
    return int32_t(std::min<int64_t>(i, INT32_MAX));
}
