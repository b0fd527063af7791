// Perspective view of the terrain from an observer towards a target: one ray
// per screen column marched over the grid, the visible terrain painted from
// the bottom of the column upwards with the colours of a 2D picture of the
// map, then the background (far colour down to the horizon row, sky above).
#include <algorithm>
#include <cmath>
#include <vector>

#include "frame.h"
#include "gdi.h"
#include "parallel.h"
#include "safearray.h"
#include "zelkor32.h"

namespace {

// The colour of map pixel (x, y), in full colour (mask 0) or as its grey
// level kept only in the channels of the mask; the last pixel read is
// remembered for the whole call.
class MapColours {
public:
    MapColours(const ZkDC *map, int32_t mask) : map_(map), mask_(uint32_t(mask)) {}

    uint32_t at(int32_t x, int32_t y)
    {
        if (valid_ && x == lastX_ && y == lastY_) return last_;
        const uint32_t p = zk::gdi::getPixel(map_, x, y);
        if (mask_ == 0) {
            last_ = p | ZK_PALETTERGB;
        } else {
            const uint32_t G = uint32_t(zk::engine::trunc32(
                                   (zk::gdi::red(p) + zk::gdi::green(p) + zk::gdi::blue(p)) * 0.333333)) & 0xFF;
            last_ = (G * 0x010101u & mask_ & 0xFFFFFFu) | ZK_PALETTERGB;
        }
        lastX_ = x;
        lastY_ = y;
        valid_ = true;
        return last_;
    }

private:
    const ZkDC *map_;
    uint32_t mask_;
    bool valid_ = false;  // no pixel read yet (pixel (0, 0) is not assumed black)
    int32_t lastX_ = 0, lastY_ = 0;
    uint32_t last_ = 0;
};

// Columns painted at once, on every core, before they are shown one by one.
constexpr int32_t kColumnBlock = 32;

}  // namespace

extern "C" int32_t drawpic3D(ZkArray **grid, ZkDC *hdcMap, ZkDC *hdcDst, int32_t width, int32_t height, float b,
                             float fov, float stp, float ox, float oy, float oz, float tx, float ty, float tz,
                             int32_t sky, int32_t far_, int32_t mask)
{
    using namespace zk;
    const ZkArray *g = sa::deref(grid);
    if ((ox == tx && oy == ty) || !sa::is2d(g) || !(fov > 0.0f) || !(fov < 3.1415f) || width <= 0) return 0;
    int32_t l1, u1, l2, u;
    sa::lbound(g, 1, l1);
    sa::ubound(g, 1, u1);
    sa::lbound(g, 2, l2);
    sa::ubound(g, 2, u);
    // The map's size b and its row count give the scale: without a positive
    // size or with a single row there is none.
    if (!(b > 0.0f) || u <= l2) return 0;

    // Rows counted from the north become grid rows from the south.
    oy = float(double(u) - oy);
    ty = float(double(u) - ty);
    const int32_t hw = width / 2, hh = height / 2;
    const float dx = tx - ox, dy = ty - oy;
    const float dist = float(std::sqrt(double(dx) * dx + double(dy) * dy));
    if (!(dist > 0.0f)) return 0;  // observer and target closer than the float resolution

    const float m = float((double(u) - l2) / b * 0.001);   // grid cells per metre
    const float lk = float(dist / double(m) * 0.001);      // target distance, km
    const float c = float(double(lk) * lk * 0.0784313725490196);  // earth curvature drop at the target, m (Lk^2 / 12.75)
    const float q = float((double(tz) - oz - c) * m / dist);      // slope of the view axis
    const float h = float(std::atan2(double(dy), double(dx)));    // heading
    const float P = float(width / double(fov));                  // pixels per radian
    const float R = float(double(dist) + 1000.0);                // march limit, cells
    const float k = float(c / (double(dist) * dist));            // curvature, m per squared cell
    if (!(stp >= 0.001f)) stp = 0.001f;
    if (stp > 1.0f) stp = 1.0f;
    int32_t Z = 0;  // horizon row: the dip of the horizon seen from height oz
    if (oz > 0.0f) {
        Z = engine::trunc32(hh - ((-0.002 * oz) / std::sqrt(12.75 * oz) - q) * P);
        if (Z < 0) Z = 0;
    }

    const int64_t rows = hdcDst && hdcDst->bits ? hdcDst->height : 0;  // rows at or below this are clipped
    // Every column paints its rows from min(height, rows - 1) up to 0 (the
    // first terrain row is row height, one below the view, when the bitmap
    // has it), each exactly once; columns outside the bitmap paint nothing.
    const int64_t colRows = (rows > 0 && height >= 0) ? std::min<int64_t>(height, rows - 1) + 1 : 0;
    const int32_t cols = colRows > 0 ? std::min(width, hdcDst->width) : 0;
    // Pixels as setPixelV stores them on this device context.
    auto stored = [&](uint32_t colour) { return gdi::resolve(hdcDst, colour) | 0xFF000000u; };
    const uint32_t farPixel = stored(uint32_t(far_) | ZK_PALETTERGB);
    const uint32_t skyPixel = stored(uint32_t(sky) | ZK_PALETTERGB);
    int32_t result = 0;
    int32_t centreResult = 0;  // written by the centre column only

    // Every column is a ray of its own: a block of columns is painted at once
    // on every core, each into its own column of a scratch area. Then, from
    // the calling thread, each column in turn is copied onto the picture and
    // the progress hook hears of it, so that the hook sees the picture up to
    // that column and a stop leaves nothing painted after it.
    auto column = [&](int32_t i, uint32_t *out) {
        MapColours colours(hdcMap, mask);
        const float a = float(h - (double(i) - hw) / P);
        const double ca = std::cos(double(a)), sn = std::sin(double(a));
        float r = stp;
        int64_t j = height;  // lowest row not yet painted
        bool active = true, entered = false;
        while (r < R && active) {
            const float px = float(ox + double(r) * ca);
            const float py = float(oy + double(r) * sn);
            float next;
            if (px >= float(l1) && px < float(u1) && py >= float(l2) && py < float(u)) {
                entered = true;
                const int32_t ix = int32_t(std::floor(px)), iy = int32_t(std::floor(py));
                const float fx = px - float(ix), fy = py - float(iy);
                int16_t e00 = 0, e10 = 0, e01 = 0, e11 = 0;
                sa::get(g, ix, iy, e00);
                sa::get(g, ix + 1, iy, e10);
                sa::get(g, ix, iy + 1, e01);
                sa::get(g, ix + 1, iy + 1, e11);
                const float e = float((e00 * (1.0 - fx) + e10 * double(fx)) * (1.0 - fy) +
                                      (e01 * (1.0 - fx) + e11 * double(fx)) * double(fy));
                const float z = float(double(e) - oz - double(k) * r * r);
                const int32_t s = engine::trunc32(hh - (double(z) * m / r - q) * P);
                if (s < j) {
                    const uint32_t pixel = stored(colours.at(engine::trunc32(std::floor(double(px) + 0.5)),
                                                             engine::trunc32(std::floor(u + 0.5 - py))));
                    // Rows j down to s + 1; reaching below row 0 ends the column.
                    const int64_t low = int64_t(s) + 1;
                    if (out)
                        for (int64_t row = std::min(j, colRows - 1); row >= std::max<int64_t>(low, 0); --row)
                            out[row] = pixel;
                    if (low < 0) {
                        j = -1;
                        active = false;
                    } else {
                        j = s;
                    }
                }
                if (std::floor(r) == std::floor(dist) && i == hw) centreResult = int32_t(j);
                next = r + stp;
            } else {
                if (entered) active = false;  // the ray has left the map
                next = r + 1.0f;
                // A ray outside the map whose coordinates only move away
                // from it can never enter: nothing more to draw.
                if ((px < float(l1) && ca <= 0.0) || (px >= float(u1) && ca >= 0.0) ||
                    (py < float(l2) && sn <= 0.0) || (py >= float(u) && sn >= 0.0))
                    break;
            }
            if (!(next > r)) break;  // so far out that a step no longer moves the ray
            r = next;
        }
        if (!out) return;
        int64_t row = std::min(j, colRows - 1);
        for (; row >= Z && row >= 0; --row) out[row] = farPixel;
        for (; row >= 0; --row) out[row] = skyPixel;
    };
    const int threads = workercount();
    std::vector<uint32_t> scratch(size_t(kColumnBlock) * size_t(colRows));
    for (int32_t i0 = 0; i0 < width; i0 += kColumnBlock) {
        const int32_t n = std::min(kColumnBlock, width - i0);
        auto scratchOf = [&](int32_t i) { return i < cols ? scratch.data() + size_t(i - i0) * size_t(colRows) : nullptr; };
        parallelfor(
            n,
            [&](int c) {
                // A column outside the bitmap only matters for the result.
                uint32_t *out = scratchOf(i0 + c);
                if (out || i0 + c == hw) column(i0 + c, out);
            },
            threads);
        bool goon = true;
        for (int32_t i = i0; i < i0 + n && goon; ++i) {
            if (const uint32_t *from = scratchOf(i)) {
                uint32_t *to = hdcDst->bits + i;
                for (int64_t row = 0; row < colRows; ++row) to[row * hdcDst->stride] = from[row];
            }
            if (i == hw) result = centreResult;
            goon = engine::progress(i);
        }
        if (!goon) break;
    }
    return result;
}
