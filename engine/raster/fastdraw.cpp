// Shaded-relief painter: one pixel per grid cell, coloured by elevation from
// the colour ramps (or from colour stops in rainbow mode without a palette),
// darkened or lightened by the slope towards the light, with contour lines.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "frame.h"
#include "gdi.h"
#include "ramps.h"
#include "safearray.h"
#include "zelkor32.h"

namespace {

enum Ramp { kBlue = 0, kGreen, kCyan, kRed, kBrown, kYellow, kGrey, kMagenta };

// Floor division for the contour bands: floor(e x 0.1), floor(e x 0.01) and
// floor(e x 0.002) of a 16-bit elevation equal floor(e / 10), floor(e / 100)
// and floor(e / 500) exactly (the binary factors err by under half an ulp at
// every multiple), so the bands are computed in integers.
inline int32_t band(int32_t e, int32_t d)
{
    const int32_t q = e / d;
    return (e % d != 0 && e < 0) ? q - 1 : q;
}

struct Params {
    int mode = 1;          // 0..5
    bool stops = false;    // rainbow without a palette: colour stops
    float B = 0, S = 0, Kc = 0, Ks = 0;
    float minx = 0, maxx = 0;
    int32_t contour[3] = {};  // band widths switched on, 0 = off
    int contours = 0;
    const int16_t *levels = nullptr, *red = nullptr, *green = nullptr, *blue = nullptr;
    bool interp = false;
    uint32_t ramp[zk::engine::kRamps][zk::engine::kRampLen] = {};
};

inline int32_t shading(const Params &p, int32_t e, int32_t w, int32_t s)
{
    return zk::engine::trunc32(double(s - e) * p.Kc + double(w - e) * p.Ks + p.B);
}

// Colour-stop colour of elevation e (mode 5 without a palette), before shading.
inline void stopColour(const Params &p, int32_t e, int32_t &r, int32_t &g, int32_t &b)
{
    int i = 0;
    while (i < 11 && e >= p.levels[i]) ++i;
    if (p.interp && i >= 1 && i <= 10) {
        double t = double(e - p.levels[i - 1]) / std::max(1, p.levels[i] - p.levels[i - 1]);
        t = std::clamp(t, 0.0, 1.0);
        r = zk::engine::trunc32(p.red[i + 1] * t + p.red[i] * (1.0 - t));
        g = zk::engine::trunc32(p.green[i + 1] * t + p.green[i] * (1.0 - t));
        b = zk::engine::trunc32(p.blue[i + 1] * t + p.blue[i] * (1.0 - t));
    } else {
        r = p.red[i];
        g = p.green[i];
        b = p.blue[i];
    }
}

// The colour of one cell from its elevation e and its western and southern
// neighbours w and s.
inline uint32_t cellColour(const Params &p, int32_t e, int32_t w, int32_t s)
{
    int ramp = kGrey;
    int32_t n = 0;
    switch (p.mode) {
    case 0:
        n = shading(p, e, w, s);
        if (e == 0) n -= 32;  // sea
        break;
    case 2: {
        const int32_t D = zk::engine::trunc32((double(e) - p.minx) * p.S);
        ramp = D < 0 ? kMagenta : D <= 16 ? kCyan : D <= 50 ? kGreen : D <= 118 ? kYellow : D <= 255 ? kBrown : kGrey;
        n = shading(p, e, w, s);
        break;
    }
    case 3:
        n = zk::engine::trunc32((double(p.maxx) - e) * p.S);
        break;
    case 4:
        n = zk::engine::trunc32((double(e) - p.minx) * p.S);
        break;
    case 5:
        if (!p.stops) {
            const int32_t D = zk::engine::trunc32((double(e) - p.minx) * p.S);
            ramp = D < 0      ? kMagenta
                   : D <= 42  ? kBlue
                   : D <= 85  ? kCyan
                   : D <= 127 ? kGreen
                   : D <= 170 ? kYellow
                   : D <= 212 ? kBrown
                   : D <= 255 ? kRed
                              : kGrey;
        }
        n = shading(p, e, w, s);
        break;
    default:  // 1, and every mode outside 0..5
        ramp = e < 0 ? kMagenta : e < 100 ? kCyan : e < 300 ? kGreen : e < 700 ? kYellow : e < 1500 ? kBrown : kGrey;
        n = shading(p, e, w, s);
        if (e == 0) n -= 32;
        break;
    }

    for (int c = 0; c < p.contours; ++c) {
        const int32_t d = p.contour[c];
        const int32_t q = band(e, d);
        if (band(w, d) != q || band(s, d) != q)
            n -= 48;  // on a line
        else if (n < 48)
            n = 48;
    }

    if (p.stops) {
        int32_t r, g, b;
        stopColour(p, e, r, g, b);
        const double f = std::clamp(n * 0.003921569, 0.0, 1.0);
        return zk::gdi::rgb(uint32_t(zk::engine::trunc32(r * f)), uint32_t(zk::engine::trunc32(g * f)),
                            uint32_t(zk::engine::trunc32(b * f)));
    }
    return p.ramp[ramp][std::clamp(n, 0, 255)];
}

// Two grid rows (with the western neighbour of the window's first column in
// front) kept so that each row is read once for the cell and once as the
// southern neighbour of the row above it.
class RowCache {
public:
    RowCache(const ZkArray *g, int32_t x1, int32_t lx, int32_t count) : g_(g), x1_(x1), lx_(lx)
    {
        for (auto &b : buf_) b.assign(size_t(count) + 1, 0);
    }

    const int16_t *row(int32_t y)
    {
        for (int k = 0; k < 2; ++k)
            if (valid_[k] && tag_[k] == y) {
                last_ = k;
                return buf_[k].data();
            }
        const int k = 1 - last_;
        std::vector<int16_t> &b = buf_[k];
        zk::sa::get(g_, x1_ > lx_ ? x1_ - 1 : x1_, y, b[0]);
        for (size_t i = 1; i < b.size(); ++i) zk::sa::get(g_, x1_ + int32_t(i) - 1, y, b[i]);
        tag_[k] = y;
        valid_[k] = true;
        last_ = k;
        return b.data();
    }

private:
    const ZkArray *g_;
    int32_t x1_, lx_;
    std::vector<int16_t> buf_[2];
    int32_t tag_[2] = {};
    bool valid_[2] = {};
    int last_ = 1;
};

}  // namespace

extern "C" int32_t fastdraw(MapSettings *map, ZkArray **grid, ZkDC *hdc, int16_t x1, int16_t y1, int16_t x2,
                            int16_t y2, const int16_t *levels, const int16_t *red, const int16_t *green,
                            const int16_t *blue, int16_t interp)
{
    using namespace zk;
    const int32_t palette = engine::paletteCount();
    const ZkArray *g = sa::deref(grid);
    if (!map || !sa::is2d(g)) return palette;

    Params p;
    p.mode = (map->Mapmode >= 0 && map->Mapmode <= 5) ? map->Mapmode : 1;
    p.stops = p.mode == 5 && palette <= 0;
    if (p.stops && !(levels && red && green && blue)) return palette;  // no colour stops to paint with
    p.levels = levels;
    p.red = red;
    p.green = green;
    p.blue = blue;
    p.interp = interp != 0;
    p.minx = map->minx;
    p.maxx = map->maxx;
    p.B = float(map->bri * 2.55);
    const float D = map->maxx - map->minx;
    p.S = D > 1.0f ? float(255.0 / D) : D;
    // Without a positive map size there is no slope scale: no hill shading.
    const float M = float(map->size * 0.009);
    if (M > 0.0f) {
        const float A = float(map->light * 0.017453292);
        p.Ks = float(std::sin(double(A)) * map->con * 0.05 / M);
        p.Kc = float(std::cos(double(A)) * map->con * 0.05 / M);
    }
    if (map->c1 != 0) p.contour[p.contours++] = 10;
    if (map->c2 & 1) p.contour[p.contours++] = 100;
    if (map->c2 & 2) p.contour[p.contours++] = 500;
    for (int k = 0; k < engine::kRamps; ++k)
        for (int j = 0; j < engine::kRampLen; ++j) p.ramp[k][j] = engine::rampColour(k, j);

    int32_t lx, ux, ly, uy;
    sa::lbound(g, 1, lx);
    sa::ubound(g, 1, ux);
    sa::lbound(g, 2, ly);
    sa::ubound(g, 2, uy);
    const int32_t X1 = std::min(std::max(int32_t(x1), lx), ux);
    const int32_t X2 = std::min(std::max(int32_t(x2), lx), ux);
    const int32_t Y1 = std::min(std::max(int32_t(y1), ly), uy);
    const int32_t Y2 = std::min(std::max(int32_t(y2), ly), uy);
    const int64_t W = int64_t(X2) - X1 + 1, H = int64_t(Y2) - Y1 + 1;
    if (H <= 0) return palette;
    const int64_t N = int64_t(uy) - Y1;  // grid row of the first output row

    // Pixels outside the bitmap are clipped, so only the visible part is computed.
    const bool surface = hdc && hdc->bits;
    const int32_t cols = int32_t(std::max<int64_t>(0, std::min<int64_t>(W, surface ? hdc->width : 0)));
    const int64_t visibleRows = surface ? hdc->height : 0;
    RowCache cache(g, X1, lx, cols);

    for (int64_t r = 0; r < H; ++r) {
        const int64_t y = N - r;
        // Rows below the lower bound (only for a grid whose y bounds do not
        // start at 0) lie outside the grid and are not painted.
        if (r < visibleRows && cols > 0 && y >= ly) {
            const int16_t *row = cache.row(int32_t(y));
            const int16_t *south = y > ly ? cache.row(int32_t(y - 1)) : row;
            for (int32_t k = 0; k < cols; ++k)
                gdi::setPixelV(hdc, k, int32_t(r), cellColour(p, row[k + 1], row[k], south[k + 1]));
        }
        if (!engine::progress(int32_t(r))) break;
    }
    return palette;
}
