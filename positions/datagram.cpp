#include "positions/datagram.h"

#include <cstring>

namespace zk::positions {

namespace {

// The decimal number in columns [at, at + n), or -1 unless every byte is a digit.
int digits(const uint8_t *d, size_t at, size_t n)
{
    int v = 0;
    for (size_t i = at; i < at + n; ++i) {
        if (d[i] < '0' || d[i] > '9') return -1;
        v = v * 10 + (d[i] - '0');
    }
    return v;
}

// Degrees, minutes and seconds at the given columns; false when a column is
// not a number or minutes or seconds reach 60.
bool dms(const uint8_t *d, size_t degAt, size_t degLen, int maxDeg, double &value)
{
    const int deg = digits(d, degAt, degLen);
    const int min = digits(d, degAt + degLen + 1, 2);
    const int sec = digits(d, degAt + degLen + 4, 2);
    if (deg < 0 || min < 0 || sec < 0 || min > 59 || sec > 59) return false;
    // The whole position must stay within the limit: 180°00'01" is refused.
    const int total = (deg * 60 + min) * 60 + sec;
    if (total > maxDeg * 3600) return false;
    value = double(deg) + double(min) / 60.0 + double(sec) / 3600.0;
    return true;
}

}  // namespace

std::optional<PositionDatagram> parsedatagram(const uint8_t *data, size_t size)
{
    if (!data || size < kDatagramSize) return std::nullopt;
    PositionDatagram p;
    p.unit = digits(data, 0, 2);
    if (p.unit < 1 || p.unit > 50) return std::nullopt;
    if (!dms(data, 3, 3, 180, p.lon)) return std::nullopt;
    if (data[13] != 'E') p.lon = -p.lon;
    if (!dms(data, 15, 2, 90, p.lat)) return std::nullopt;
    if (data[24] != 'N') p.lat = -p.lat;
    for (size_t i = 0; i < kNameSize; ++i) {
        const uint8_t c = data[26 + i];
        if (c < 32 || c == 127) return std::nullopt;
    }
    std::memcpy(p.name, data + 26, kNameSize);
    return p;
}

}  // namespace zk::positions
