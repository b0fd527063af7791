// A QImage as the engine's device context: the engine writes 0x00BBGGRR
// pixels with the top byte 0xFF, which is exactly the memory layout of
// QImage::Format_RGBX8888, so a picture's image is handed over in place.
#pragma once

#include <QImage>

#include "zelkor32.h"

namespace zk {

// The pixel format of every image the engine draws into.
constexpr QImage::Format kDcFormat = QImage::Format_RGBX8888;

// Makes sure the image is in kDcFormat (converting it in place when not).
void toDcFormat(QImage &img);

// A device context on the image's pixels (converted to kDcFormat first, and
// detached, so the engine writes into this image alone). A null image gives
// a context with no bits and zero size, on which every write does nothing.
// The context stays valid until the image is resized, reassigned or copied
// into and written.
ZkDC dcOf(QImage &img, const ZkPalette *palette = nullptr);

// A new image of the given size in kDcFormat, filled with the colour
// (red in the low byte).
QImage dcImage(int width, int height, uint32_t colour);

}  // namespace zk
