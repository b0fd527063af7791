#include "geotext.h"

#include <QByteArray>

#include <cmath>

#include "base/routines.h"
#include "cp1252.h"
#include "map/datum.h"
#include "map/utm.h"

namespace zk {

namespace {

constexpr QChar kDegree(0x00B0);  // 0xB0 in Windows-1252

// Into [-180, 180): add 360 while below -180, take 360 away while at or
// above 180. A value far out is first brought near with the remainder,
// which gives the same result without thousands of steps; infinities and
// NaN are left alone (no step would ever end for them).
void wrapLongitude(double &v)
{
    if (!std::isfinite(v)) return;
    if (v < -540.0 || v >= 540.0) v = std::fmod(v, 360.0);
    while (v < -180.0) v += 360.0;
    while (v >= 180.0) v -= 360.0;
}

QString twoDigits(long long v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

// Seconds, then minutes and degrees in front: DD°MM'SS"H or DDD°MM'SS"H.
QString dmsText(double value, int degreeDigits, QChar positive, QChar negative)
{
    long long s = roundEven(value * 3600.0);  // halves to the even second
    const QChar hemisphere = s >= 0 ? positive : negative;
    s = s < 0 ? -s : s;
    const long long m = s / 60;
    const long long d = m / 60;
    QString text = QStringLiteral("%1").arg(d, degreeDigits, 10, QLatin1Char('0'));
    text += kDegree;
    text += twoDigits(m % 60);
    text += QLatin1Char('\'');
    text += twoDigits(s % 60);
    text += QLatin1Char('"');
    text += hemisphere;
    return text;
}

int clampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// floor() of a float into a small integer; NaN counts 0.
int floorInt(double v)
{
    if (!(v >= -1e6 && v <= 1e6)) return 0;
    return int(std::floor(v));
}

}  // namespace

QString latdmsText(double &lat)
{
    lat = max(-89.0, min(89.0, lat));
    return dmsText(lat, 2, QLatin1Char('N'), QLatin1Char('S'));
}

QString londmsText(double &lon)
{
    wrapLongitude(lon);
    return dmsText(lon, 3, QLatin1Char('E'), QLatin1Char('O'));
}

QString qralocator(float lonIn, float latIn)
{
    double w = lonIn;
    wrapLongitude(w);
    const float lon = float(w);
    const float lat = float(max(-89.0, min(89.0, double(latIn))));

    // Each intermediate is kept as a 32-bit float, so a position on a
    // boundary may fall to the lower square or letter. A longitude a hair
    // below 180 rounds up to 18 fields in 32 bits; the clamps keep it in the
    // last field, square and subsquare instead of giving field letter S.
    float x = float((double(lon) + 180.0) / 20.0);
    float y = float((double(lat) + 90.0) / 10.0);
    const int F = clampInt(floorInt(x), 0, 17);
    const int G = clampInt(floorInt(y), 0, 17);
    x = float((double(x) - F) * 10.0);
    y = float((double(y) - G) * 10.0);
    const int S = clampInt(floorInt(x), 0, 9);
    const int T = clampInt(floorInt(y), 0, 9);
    const int u = clampInt(floorInt((double(x) - S) * 24.0), 0, 23);
    const int v = clampInt(floorInt((double(y) - T) * 24.0), 0, 23);

    QString text;
    text += QChar(65 + F);
    text += QChar(65 + G);
    text += QChar(48 + S);
    text += QChar(48 + T);
    text += QChar(65 + u);
    text += QChar(65 + v);
    return text;
}

void qratolatlon(const QString &text, double &lon, double &lat)
{
    const QByteArray b = toCp1252(text.trimmed().toUpper());
    // The value of character position i (0-based): its code less the base,
    // clamped; a position beyond the end of the text counts 0.
    auto value = [&](int i, int base, int hi) {
        if (i >= b.size()) return 0;
        return clampInt(int(uint8_t(b[i])) - base, 0, hi);
    };
    const int c1 = value(0, 65, 17), c2 = value(1, 65, 17);
    const int d1 = value(2, 48, 9), d2 = value(3, 48, 9);
    const int s1 = value(4, 65, 23), s2 = value(5, 65, 23);
    lon = 2.0 * (10.0 * c1 + d1 + s1 / 24.0) - 180.0;
    lat = 10.0 * c2 - 90.0 + d2 + s2 / 24.0;
}

QString gridlocator(float lon, float lat)
{
    if (ellname.isEmpty()) return qralocator(lon, lat);
    return latlontoutm(lon, lat);
}

}  // namespace zk
