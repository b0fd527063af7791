// libFuzzer target: any bytes as the cities file "cities.dat" of the data
// folder, read by its two readers: the city list ("Villes"), whose every
// row (44 characters) must give back a position, and the drawing of the cities over a
// picture of the map (longitudes west positive), which keeps the picture's
// size.
#include <QBuffer>

#include <cmath>
#include <cstdint>

#include "fuzzenv.h"
#include "map/frmCity.h"
#include "pictures/overlays.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString dir = fuzzenv::folder();
    fuzzenv::writefile(dir + QStringLiteral("/cities.dat"), reinterpret_cast<const char *>(data), size);

    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    for (const QString &row : zk::cityrows(buf)) {
        // The name in 22 characters, the longitude text, a blank and the
        // latitude text: 44 characters, from which the position comes back.
        if (row.size() != 44) __builtin_trap();
        const zk::CityChoice c = zk::cityfromrow(row);
        if (c.name.size() != 20 || !std::isfinite(c.lon) || !std::isfinite(c.lat)) __builtin_trap();
    }

    zk::frmPic *w = fuzzenv::picture();
    zk::drawcities(w, false, QStringLiteral("cities.dat"));
    if (w->Picture1->image().size() != QSize(fuzzenv::kCols, fuzzenv::kRows)) __builtin_trap();
    return 0;
}
