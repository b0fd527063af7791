#include "qtdc.h"

#include <algorithm>

#include "parallel.h"
#include "workpool.h"

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
    const QColor c(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    if (img.sizeInBytes() < (qsizetype(1) << 20) || img.bytesPerLine() != qsizetype(width) * 4) {
        img.fill(c);
        return img;
    }
    // A large image is filled by bands of rows on every core: its memory is
    // new, and each of its pages is faulted in by the first write, which the
    // cores share out. The value written is the one fill writes.
    QImage one(1, 1, kDcFormat);
    one.fill(c);
    const uint32_t pixel = *reinterpret_cast<const uint32_t *>(one.constBits());
    uchar *bits = img.bits();
    const qsizetype line = img.bytesPerLine();
    poolbands(height, [&](int a, int b) {
        for (int y = a; y < b; ++y) {
            auto *row = reinterpret_cast<uint32_t *>(bits + y * line);
            std::fill(row, row + width, pixel);
        }
    }, workercount());
    return img;
}

}  // namespace zk
