// libFuzzer target: any bytes as the calibration file of a Quo Vadis GIF
// map ("<name>_gif.cal"), merged into a picture of the map with the mode of
// the first byte (copy, average, multiply). The GIF is fixed: 100 x 80
// pixels in blocks of colour. A calibration that cannot place the GIF is
// refused before anything starts; one that can is merged; either way the
// picture keeps its size and nothing misbehaves.
#include <QImage>

#include <cstdint>

#include "fuzzenv.h"
#include "pictures/quovadis.h"

namespace {

QString gif()
{
    static const QString path = [] {
        // A PNG under a GIF's name: pictures are read by their content.
        const QString p = fuzzenv::folder() + QStringLiteral("/quovadis.gif");
        QImage img(100, 80, QImage::Format_RGB32);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 100; ++x) {
                const int k = (y / 10) * 10 + x / 10;
                img.setPixel(x, y, qRgb((k * 37) % 256, (k * 91 + 17) % 256, (k * 53 + 101) % 256));
            }
        if (!img.save(p, "PNG")) std::abort();
        return p;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString dir = fuzzenv::folder();
    const QString g = gif();
    fuzzenv::writefile(zk::gifcalname(g), reinterpret_cast<const char *>(data), size);

    // A picture of kind 2 over lon 6.2 .. 7.8 and lat 43.2 .. 44.8.
    zk::frmPic *w = fuzzenv::picture(2);
    w->lon1 = w->lon4 = 6.2f;
    w->lon2 = w->lon3 = 7.8f;
    w->lat1 = w->lat2 = 44.8f;
    w->lat3 = w->lat4 = 43.2f;
    const int16_t mode = size ? int16_t(data[0] % 3) : 0;
    zk::mergegifmap(g, w, mode);
    zk::runflag = 0;
    if (w->Picture1->image().size() != QSize(fuzzenv::kCols, fuzzenv::kRows)) __builtin_trap();
    QCoreApplication::processEvents();
    return 0;
}
