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

}  // namespace zk
