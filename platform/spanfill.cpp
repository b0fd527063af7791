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
// (Left uninitialised where declared: a cell of a coverage plot has a few
// rows, and clearing the array would cost as much as filling them.)
struct Edge {
    int64_t x;      // at row `top`, plus half a pixel
    int64_t step;   // per row
    int top, bottom;
    int winding;
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

SpanTarget spantarget(QImage &image)
{
    SpanTarget t;
    if (!thirtytwobit(image.format()) || image.isNull()) return t;
    t.bits = image.bits();
    t.stride = image.bytesPerLine();
    t.width = image.width();
    t.height = image.height();
    return t;
}

bool fillable(const SpanTarget &t, const QPoint *p, int n)
{
    if (!t.bits || n < 0 || n > 8) return false;
    for (int i = 0; i < n; ++i)
        if (p[i].x() < 0 || p[i].x() >= t.width || p[i].y() < 0 || p[i].y() >= t.height) return false;
    return true;
}

bool fillpolygon(QImage &image, const QPoint *p, int n, uint32_t pixel, SpanMode mode)
{
    if (!thirtytwobit(image.format()) || n < 0 || n > 8) return false;
    // Checked before the image's memory is taken, so that nothing is
    // detached or written for a polygon left to QPainter.
    const SpanTarget bounds{reinterpret_cast<uchar *>(1), 0, image.width(), image.height()};
    if (!fillable(bounds, p, n)) return false;
    return fillpolygon(spantarget(image), p, n, pixel, mode, 0, image.height());
}

bool fillpolygon(const SpanTarget &t, const QPoint *p, int n, uint32_t pixel, SpanMode mode, int rowfrom,
                 int rowto)
{
    if (!fillable(t, p, n)) return false;
    if (n < 3) return true;
    const int W = t.width;

    Edge edges[8];
    int ne = 0, top = t.height, bottom = -1;
    for (int i = 0; i < n; ++i) {
        QPoint a = p[i], b = p[i + 1 == n ? 0 : i + 1];
        int winding = 1;
        if (a.y() > b.y()) {
            std::swap(a, b);
            winding = -1;
        }
        // Rows whose centre lies strictly between the two ends.
        const int u = b.y() - 1;
        if (a.y() > u) continue;
        Edge &e = edges[ne++];
        e.top = a.y();
        e.bottom = u;
        e.winding = winding;
        const int64_t ax = int64_t(a.x()) * kOne + kOne / 2;
        if (b.x() == a.x()) {
            e.x = ax;
            e.step = 0;
        } else {
            const double slope = double(b.x() - a.x()) / double(b.y() - a.y());
            e.step = int64_t(slope * double(kOne));
            // Half a row down to the first centre, floored as an arithmetic shift.
            e.x = ax + ((e.step * (kOne / 2)) >> 16);
        }
        top = std::min(top, e.top);
        bottom = std::max(bottom, u);
    }
    if (ne < 2) return true;
    top = std::max(top, rowfrom);
    bottom = std::min(bottom, rowto - 1);

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
        auto *row = reinterpret_cast<uint32_t *>(t.bits + qsizetype(y) * t.stride);
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
