#include "qtdc.h"

namespace zk {

void toDcFormat(QImage &img)
{
    if (!img.isNull() && img.format() != kDcFormat) img.convertTo(kDcFormat);
}

ZkDC dcOf(QImage &img, const ZkPalette *palette)
{
    ZkDC dc{nullptr, 0, 0, 0, palette};
    toDcFormat(img);
    if (img.isNull()) return dc;
    // bits() detaches the image from any shared copy, so the engine's writes
    // land in this image only.
    dc.bits = reinterpret_cast<uint32_t *>(img.bits());
    dc.width = img.width();
    dc.height = img.height();
    dc.stride = int32_t(img.bytesPerLine() / 4);
    return dc;
}

QImage dcImage(int width, int height, uint32_t colour)
{
    if (width <= 0 || height <= 0) return QImage();
    QImage img(width, height, kDcFormat);
    if (img.isNull()) return img;
    img.fill(QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)));
    return img;
}

}  // namespace zk
