#include "spanfill.h"

#include <algorithm>

namespace zk {

namespace {

// Edges are followed down the rows in 16.16 fixed point from the first pixel
// centre below their upper end, with the slope rounded towards zero to 16
// fractional bits; a row's run goes from the pixel whose centre lies right of
// the left edge up to the pixel whose centre lies on or left of the right
// edge. Rounding both the slope and the start the way the raster engine of
// QPainter does keeps the pixels identical, ties included.
struct Edge {
    int64_t x = 0;      // at row `top`, plus half a pixel
    int64_t step = 0;   // per row
    int top = 0, bottom = 0;
    int winding = 0;
};

constexpr int64_t kOne = 65536;

bool thirtytwobit(QImage::Format f)
{
    switch (f) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
        return true;
    default:
        return false;
    }
}

}  // namespace

uint32_t spanpixel(QImage::Format format, QRgb colour, bool *ok)
{
    if (ok) *ok = thirtytwobit(format);
    if (!thirtytwobit(format)) return 0;
    QImage one(1, 1, format);
    one.setPixel(0, 0, colour | 0xFF000000u);
    if (format == QImage::Format_RGBX8888 || format == QImage::Format_RGBA8888)
        one.setPixelColor(0, 0, QColor::fromRgb(colour | 0xFF000000u));
    return *reinterpret_cast<const uint32_t *>(one.constScanLine(0));
}

bool fillpolygon(QImage &image, const QPoint *p, int n, uint32_t pixel, SpanMode mode)
{
    if (n < 3) return n >= 0 && n <= 8 && thirtytwobit(image.format());
    if (n > 8 || !thirtytwobit(image.format())) return false;
    const int W = image.width(), H = image.height();
    for (int i = 0; i < n; ++i)
        if (p[i].x() < 0 || p[i].x() >= W || p[i].y() < 0 || p[i].y() >= H) return false;

    Edge edges[8];
    int ne = 0, top = H, bottom = -1;
    for (int i = 0; i < n; ++i) {
        QPoint a = p[i], b = p[(i + 1) % n];
        int winding = 1;
        if (a.y() > b.y()) {
            std::swap(a, b);
            winding = -1;
        }
        // Rows whose centre lies strictly between the two ends.
        const int t = a.y(), u = b.y() - 1;
        if (t > u) continue;
        Edge &e = edges[ne++];
        e.top = t;
        e.bottom = u;
        e.winding = winding;
        const int64_t ax = int64_t(a.x()) * kOne + kOne / 2;
        if (b.x() == a.x()) {
            e.x = ax;
        } else {
            const double slope = double(b.x() - a.x()) / double(b.y() - a.y());
            e.step = int64_t(slope * double(kOne));
            // Half a row down to the first centre, floored as an arithmetic shift.
            e.x = ax + ((e.step * (kOne / 2)) >> 16);
        }
        top = std::min(top, t);
        bottom = std::max(bottom, u);
    }
    if (ne < 2) return true;

    int64_t xs[8];
    int ws[8];
    for (int y = top; y <= bottom; ++y) {
        int na = 0;
        for (int k = 0; k < ne; ++k) {
            const Edge &e = edges[k];
            if (y < e.top || y > e.bottom) continue;
            const int64_t x = e.x + e.step * (y - e.top);
            // Insertion in x order.
            int j = na++;
            while (j > 0 && x < xs[j - 1]) {
                xs[j] = xs[j - 1];
                ws[j] = ws[j - 1];
                --j;
            }
            xs[j] = x;
            ws[j] = e.winding;
        }
        auto *row = reinterpret_cast<uint32_t *>(image.scanLine(y));
        int from = 0, winding = 0;
        for (int j = 0; j < na; ++j) {
            const int to = int(xs[j] >> 16);
            if ((winding & 1) && to > from) {
                const int a = std::max(from, 0), b = std::min(to, W);
                if (mode == SpanMode::Copy)
                    std::fill(row + a, row + b, pixel);
                else
                    for (int x = a; x < b; ++x) row[x] &= pixel;
            }
            from = to;
            winding += ws[j];
        }
    }
    return true;
}

}  // namespace zk
