// libFuzzer target: any bytes as the datum file "geosys.dat". Whatever the
// loader keeps, positions across the globe must convert to MGRS text and
// that text back to a position on the globe (the sanitizers stop on a
// number too large for its integer).
#include <QBuffer>

#include <cmath>
#include <cstdint>

#include "map/datum.h"
#include "map/utm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    zk::loadellipsoidFrom(&buf);
    for (double lat = -79.5; lat <= 83.5; lat += 20.5)
        for (double lon = -177.0; lon <= 177.0; lon += 59.0) {
            const QString text = zk::latlontoutm(lon, lat);
            float lo = 0, la = 0;
            if (zk::utmtolatlon(text, lo, la) && (!std::isfinite(lo) || !std::isfinite(la))) __builtin_trap();
        }
    return 0;
}
