// Shaded-relief painter: one pixel per grid cell, coloured by elevation from
// the colour ramps (or from colour stops in rainbow mode without a palette),
// darkened or lightened by the slope towards the light, with contour lines.
//
// Everything that depends on a cell's own elevation alone (ramp, sea offset,
// X-ray value, colour stop) is worked out once per elevation from the lowest
// to the highest of the painted cells, in a table made once per call (the
// grey relief needs none: its sea offset is worked out per cell); the
// per-cell kernel then adds the slope shading and the contours.
#include <algorithm>
#include <cmath>
#include <vector>

#include "frame.h"
#include "gdi.h"
#include "ramps.h"
#include "safearray.h"
#include "zelkor32.h"

namespace {

enum Ramp : uint8_t { kBlue = 0, kGreen, kCyan, kRed, kBrown, kYellow, kGrey, kMagenta };

// Floor division for the contour bands: floor(e x 0.1), floor(e x 0.01) and
// floor(e x 0.002) of a 16-bit elevation equal floor(e / 10), floor(e / 100)
// and floor(e / 500) exactly (the binary factors err by under half an ulp at
// every multiple), so the bands are computed in integers.
inline int32_t band(int32_t e, int32_t d)
{
    const int32_t q = e / d;
    return (e % d != 0 && e < 0) ? q - 1 : q;
}

// What a cell's own elevation decides.
struct Level {
    int32_t n0 = 0;    // modes 3 and 4: the value; shading modes: the sea offset (0 or -32)
    uint8_t ramp = kGrey;
    int32_t r = 0, g = 0, b = 0;  // colour stop (rainbow without a palette)
};

// The table's entries, kept small: a map whose elevations span the whole
// 16-bit range has 65,536 of them. Without colour stops, the ramp and the
// value added to the shading; with them, the stop's colour (between two
// 16-bit stop colours, so within 16 bits).
struct Ramped {
    int16_t n0;
    uint8_t ramp;
};
struct Stop {
    int16_t r, g, b;
};

// How a cell's colour is found: grey relief (no table), a ramp by the
// table, or colour stops by the table.
enum class Kind { Grey, Ramped, Stops };

struct Painter {
    int mode = 1;        // 0..5
    bool stops = false;  // rainbow without a palette
    float B = 0, S = 0, Kc = 0, Ks = 0, minx = 0, maxx = 0;
    bool exactInt = false;  // the shading sum always fits a 32-bit integer
    int32_t contour[3] = {};
    int contours = 0;
    const int16_t *levels = nullptr, *red = nullptr, *green = nullptr, *blue = nullptr;
    bool interp = false;
    uint32_t pixel[zk::engine::kRamps][zk::engine::kRampLen] = {};  // ramp entries as written to the bitmap
    double bright[256] = {};  // rainbow brightness factor f by the value n clamped to 0..255
    bool ascending = false;  // the colour stops' levels never decrease
    std::vector<Ramped> ramped;  // by elevation from emin, without colour stops
    std::vector<Stop> stopped;   // by elevation from emin, with colour stops
    int32_t emin = 0;

    // The level of elevation e; with colour stops, i is where the search for
    // the first level above e starts (0, or the index found for a lower
    // elevation when the levels never decrease), and is left at the index found.
    template <int Mode>
    Level levelOf(int32_t e, int &i) const
    {
        using zk::engine::trunc32;
        Level L;
        switch (Mode) {
        case 0:
            L.n0 = e == 0 ? -32 : 0;  // sea
            break;
        case 2: {
            const int32_t D = trunc32((double(e) - minx) * S);
            L.ramp = D < 0 ? kMagenta : D <= 16 ? kCyan : D <= 50 ? kGreen : D <= 118 ? kYellow : D <= 255 ? kBrown : kGrey;
            break;
        }
        case 3:
            L.n0 = trunc32((double(maxx) - e) * S);
            break;
        case 4:
            L.n0 = trunc32((double(e) - minx) * S);
            break;
        case 5:
            if (stops) {
                while (i < 11 && e >= levels[i]) ++i;
                if (interp && i >= 1 && i <= 10) {
                    double t = double(e - levels[i - 1]) / std::max(1, levels[i] - levels[i - 1]);
                    t = std::clamp(t, 0.0, 1.0);
                    L.r = trunc32(red[i + 1] * t + red[i] * (1.0 - t));
                    L.g = trunc32(green[i + 1] * t + green[i] * (1.0 - t));
                    L.b = trunc32(blue[i + 1] * t + blue[i] * (1.0 - t));
                } else {
                    L.r = red[i];
                    L.g = green[i];
                    L.b = blue[i];
                }
            } else {
                const int32_t D = trunc32((double(e) - minx) * S);
                L.ramp = D < 0      ? kMagenta
                         : D <= 42  ? kBlue
                         : D <= 85  ? kCyan
                         : D <= 127 ? kGreen
                         : D <= 170 ? kYellow
                         : D <= 212 ? kBrown
                         : D <= 255 ? kRed
                                    : kGrey;
            }
            break;
        default:  // 1, and every mode outside 0..5
            L.ramp = e < 0 ? kMagenta : e < 100 ? kCyan : e < 300 ? kGreen : e < 700 ? kYellow : e < 1500 ? kBrown : kGrey;
            L.n0 = e == 0 ? -32 : 0;
            break;
        }
        return L;
    }

    // Makes the table cover elevations lo to hi, once for the whole
    // picture: a table grown as rows reach further would be rebuilt by every
    // row of a map whose rows widen the range.
    void cover(int32_t lo, int32_t hi)
    {
        switch (mode) {
        case 0: break;  // grey relief: the sea offset alone, worked out per cell
        case 2: coverAs<2>(lo, hi); break;
        case 3: coverAs<3>(lo, hi); break;
        case 4: coverAs<4>(lo, hi); break;
        case 5: coverAs<5>(lo, hi); break;
        default: coverAs<1>(lo, hi); break;
        }
    }

    template <int Mode>
    void coverAs(int32_t lo, int32_t hi)
    {
        emin = lo;
        const size_t n = size_t(std::max(0, hi - lo + 1));
        int i = 0;
        if (stops) {
            stopped.resize(n);
            for (int32_t e = lo; e <= hi; ++e) {
                if (!ascending) i = 0;
                const Level L = levelOf<Mode>(e, i);
                stopped[size_t(e - lo)] = Stop{int16_t(L.r), int16_t(L.g), int16_t(L.b)};
            }
        } else {
            ramped.resize(n);
            for (int32_t e = lo; e <= hi; ++e) {
                const Level L = levelOf<Mode>(e, i);
                // Only modes 3 and 4 (no shading) have values beyond +-32:
                // there at most three contour steps of 48 follow before the
                // value is clamped to 0..255, so beyond +-1000 it paints the same.
                ramped[size_t(e - lo)] = Ramped{int16_t(std::clamp(L.n0, -1000, 1000)), L.ramp};
            }
        }
    }

    int32_t shade(int32_t e, int32_t w, int32_t s) const
    {
        const double v = double(s - e) * Kc + double(w - e) * Ks + B;
        return exactInt ? int32_t(v) : zk::engine::trunc32(v);
    }

    // One output row: cur and south are the grid rows of the cells and of
    // their southern neighbours from the window's first column, west the
    // western neighbour of that first column; shade is scratch of cols values.
    template <Kind K, bool Shade, bool Contours>
    void row(const int16_t *cur, int32_t west, const int16_t *south, uint32_t *out, int32_t cols,
             int32_t *shadeBuf) const
    {
        if (Shade) {
            // The slope shading first, in one straight pass over the row.
            shadeBuf[0] = shade(cur[0], west, south[0]);
            if (exactInt) {
                const double kc = Kc, ks = Ks, b = B;
                for (int32_t k = 1; k < cols; ++k)
                    shadeBuf[k] = int32_t(double(south[k] - cur[k]) * kc + double(cur[k - 1] - cur[k]) * ks + b);
            } else {
                for (int32_t k = 1; k < cols; ++k) shadeBuf[k] = shade(cur[k], cur[k - 1], south[k]);
            }
        }
        const uint32_t *greyPixel = pixel[kGrey];
        for (int32_t k = 0; k < cols; ++k) {
            const int32_t e = cur[k];
            // The shading saturates at the 32-bit ends for extreme settings;
            // the sea offset and the contour darkening are added in 64 bits,
            // where they cannot overflow, before the value is clamped.
            int64_t n = Shade ? int64_t(shadeBuf[k]) : 0;
            if (K == Kind::Grey) n += e == 0 ? -32 : 0;
            const Ramped *R = K == Kind::Ramped ? &ramped[size_t(e - emin)] : nullptr;
            if (K == Kind::Ramped) n += R->n0;
            if (Contours) {
                const int32_t w = k > 0 ? cur[k - 1] : west, s = south[k];
                for (int c = 0; c < contours; ++c) {
                    const int32_t d = contour[c];
                    const int32_t q = band(e, d);
                    if (band(w, d) != q || band(s, d) != q)
                        n -= 48;  // on a line
                    else if (n < 48)
                        n = 48;
                }
            }
            const int32_t v = int32_t(std::clamp<int64_t>(n, 0, 255));
            uint32_t colour;
            if (K == Kind::Stops) {
                const Stop &L = stopped[size_t(e - emin)];
                const double f = bright[v];
                colour = zk::gdi::rgb(uint32_t(zk::engine::trunc32(L.r * f)), uint32_t(zk::engine::trunc32(L.g * f)),
                                      uint32_t(zk::engine::trunc32(L.b * f))) |
                         0xFF000000u;
            } else if (K == Kind::Grey) {
                colour = greyPixel[v];
            } else {
                colour = pixel[R->ramp][v];
            }
            out[k] = colour;
        }
    }

    template <Kind K, bool Shade>
    void rowTo(const int16_t *cur, int32_t west, const int16_t *south, uint32_t *out, int32_t cols,
               int32_t *shadeBuf) const
    {
        if (contours > 0)
            row<K, Shade, true>(cur, west, south, out, cols, shadeBuf);
        else
            row<K, Shade, false>(cur, west, south, out, cols, shadeBuf);
    }
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

    Painter p;
    p.mode = (map->Mapmode >= 0 && map->Mapmode <= 5) ? map->Mapmode : 1;
    p.stops = p.mode == 5 && palette <= 0;
    if (p.stops && !(levels && red && green && blue)) return palette;  // no colour stops to paint with
    p.levels = levels;
    p.red = red;
    p.green = green;
    p.blue = blue;
    p.interp = interp != 0;
    if (p.stops) p.ascending = std::is_sorted(levels, levels + 11);
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
    // Elevation differences stay within +-65535: with these factors the
    // shading sum cannot leave the 32-bit range and truncates directly.
    const double bound = 65535.0 * (std::fabs(p.Kc) + std::fabs(p.Ks)) + std::fabs(p.B);
    p.exactInt = bound < 2.0e9;
    if (map->c1 != 0) p.contour[p.contours++] = 10;
    if (map->c2 & 1) p.contour[p.contours++] = 100;
    if (map->c2 & 2) p.contour[p.contours++] = 500;
    // Each ramp entry as setPixelV would store it on this device context.
    for (int k = 0; k < engine::kRamps; ++k)
        for (int j = 0; j < engine::kRampLen; ++j)
            p.pixel[k][j] = gdi::resolve(hdc, engine::rampColour(k, j)) | 0xFF000000u;
    for (int n = 0; n < 256; ++n) p.bright[n] = std::clamp(n * 0.003921569, 0.0, 1.0);

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

    // Pixels outside the bitmap are clipped, so only the visible part is
    // computed and written (straight into the bitmap's rows, as setPixelV
    // would write them). Rows below the grid's lower y bound (only for a grid
    // whose bounds do not start at 0) lie outside the grid: not painted.
    const bool surface = hdc && hdc->bits;
    const int32_t cols = surface ? int32_t(std::max<int64_t>(0, std::min<int64_t>({W, hdc->width, hdc->stride}))) : 0;
    const int64_t rows = cols > 0 ? std::min<int64_t>({H, hdc->height, N - ly + 1}) : 0;

    // Row y of the grid from the window's first column. The grid is read
    // only inside the bounds the array declares: x from X1 (X1 - 1 for the
    // western neighbour when X1 is above the lower bound) to X1 + cols - 1 <= X2,
    // y between the bounds.
    const int64_t nx = int64_t(ux) - lx + 1;
    auto gridRow = [&](int64_t y) { return g->data + (y - ly) * nx + (X1 - lx); };


    // The elevations the painted rows hold, for the table.
    int32_t lo = INT16_MAX, hi = INT16_MIN;
    for (int64_t r = 0; r < rows; ++r) {
        const int16_t *cur = gridRow(N - r);
        int16_t rlo = INT16_MAX, rhi = INT16_MIN;
        for (int32_t k = 0; k < cols; ++k) {
            rlo = std::min(rlo, cur[k]);
            rhi = std::max(rhi, cur[k]);
        }
        lo = std::min<int32_t>(lo, rlo);
        hi = std::max<int32_t>(hi, rhi);
    }
    if (rows > 0) p.cover(lo, hi);

    const bool shade = p.mode != 3 && p.mode != 4;
    std::vector<int32_t> shadeBuf(size_t(std::max(cols, 1)));
    for (int64_t r = 0; r < H; ++r) {
        if (r < rows) {
            const int64_t y = N - r;
            const int16_t *cur = gridRow(y);
            const int16_t *south = y > ly ? gridRow(y - 1) : cur;
            const int32_t west = X1 > lx ? cur[-1] : cur[0];
            uint32_t *out = hdc->bits + r * hdc->stride;
            if (p.stops)
                p.rowTo<Kind::Stops, true>(cur, west, south, out, cols, shadeBuf.data());
            else if (p.mode == 0)
                p.rowTo<Kind::Grey, true>(cur, west, south, out, cols, shadeBuf.data());
            else if (shade)
                p.rowTo<Kind::Ramped, true>(cur, west, south, out, cols, shadeBuf.data());
            else
                p.rowTo<Kind::Ramped, false>(cur, west, south, out, cols, shadeBuf.data());
        }
        if (!engine::progress(int32_t(r))) break;
    }
    return palette;
}
