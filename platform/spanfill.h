// Polygons filled straight into an image's memory, one write per run of
// pixels, for pictures that fill tens of thousands of small cells (the
// coverage plots). The pixels set are exactly those QPainter sets for the
// same polygon without antialiasing and odd-even filling, so a picture looks
// the same whichever way it was painted.
#pragma once

#include <QImage>
#include <QPoint>

#include <cstdint>

namespace zk {

enum class SpanMode {
    Copy,  // the colour replaces the pixel (QPainter's Source)
    And,   // the colour is combined with the pixel by a bitwise AND
};

// The 32-bit value of a colour as stored in an image of this format, or 0
// with ok false when the format is not one fillpolygon writes.
uint32_t spanpixel(QImage::Format format, QRgb colour, bool *ok = nullptr);

// Fills the polygon of n (at most 8) points with the pixel value (see
// spanpixel). Answers false, having written nothing, when it cannot be sure
// to set the same pixels as QPainter: a point outside the image, more than 8
// points, or an image format of other than 32 bits a pixel. The caller then
// paints it with QPainter.
bool fillpolygon(QImage &image, const QPoint *points, int n, uint32_t pixel, SpanMode mode);

// The memory of a 32-bit image, taken once on the thread that owns it, for
// fills from several threads at once (each on rows of its own).
struct SpanTarget {
    uchar *bits = nullptr;
    qsizetype stride = 0;  // bytes from one row to the next
    int width = 0, height = 0;
};
// The target of an image of a format fillpolygon writes (bits null otherwise).
SpanTarget spantarget(QImage &image);
// Whether fillpolygon can take the polygon on that target.
bool fillable(const SpanTarget &target, const QPoint *points, int n);
// Fills the rows from `rowfrom` up to, not including, `rowto` of the
// polygon: what a fill of the whole polygon sets on those rows. Answers
// false, having written nothing, when the polygon is not fillable.
bool fillpolygon(const SpanTarget &target, const QPoint *points, int n, uint32_t pixel, SpanMode mode,
                 int rowfrom, int rowto);

}  // namespace zk
