#include "utm.h"

#include <cmath>
#include <cstdlib>

#include "base/routines.h"
#include "map/datum.h"

namespace zk {

int32_t utmzone = 0;
int32_t utmeast = 0;
int32_t utmnorth = 0;

namespace {

// MGRS letters: no I and no O. A letter's index is its 1-based place here.
constexpr char kAlphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr int kLetters = 24;

constexpr double kDegToRad = 0.017453292519943278;

// How far beyond its zone's edges, in degrees of longitude, a reference may
// read (about 111 m at the equator, 19 m at 80 degrees).
constexpr double kEdgeMargin = 0.001;

// Meridian arc from the equator to a latitude in degrees, m.
double meridianArc(double latDeg)
{
    const double phi = latDeg * kDegToRad;
    return arc0 * phi - arc1 * std::sin(2.0 * phi) + arc2 * std::sin(4.0 * phi) - arc3 * std::sin(6.0 * phi)
           + arc4 * std::sin(8.0 * phi);
}

QChar letter(long long index)
{
    // Every index the conversion makes for a position on the Earth lies in
    // 1..24; a nonsensical input must still give a letter, not a fault.
    if (index < 1) index = 1;
    if (index > kLetters) index = kLetters;
    return QLatin1Char(kAlphabet[index - 1]);
}

int indexOf(QChar c)
{
    for (int i = 0; i < kLetters; ++i)
        if (c == QLatin1Char(kAlphabet[i])) return i + 1;
    return 0;
}

// The last five digits of a number written with at least minDigits digits.
QString lastFive(long long v, int minDigits)
{
    return QString::number(v < 0 ? -v : v).rightJustified(minDigits, QLatin1Char('0')).right(5);
}

QString zoneText(long long zone)
{
    const QString digits = QString::number(zone < 0 ? -zone : zone).rightJustified(2, QLatin1Char('0'));
    return zone < 0 ? QLatin1Char('-') + digits : digits;
}

// The remainder of a whole-number division with the sign of the dividend,
// as the original arithmetic had it.
long long truncMod(long long a, long long b) { return a % b; }

// The zone's column-letter set 0, 1 or 2 (zones 1, 4, 7 ... use set 0).
long long columnSet(long long zone) { return ((zone - 1) % 3 + 3) % 3; }

}  // namespace

QString latlontoutm(double lon, double lat)
{
    // Numbers that no position can have would overflow the whole-number
    // steps below; the text is then empty and the globals keep their values.
    if (!(std::fabs(lon) <= 1.0e6) || !(std::fabs(lat) <= 1.0e4)) return QString();

    const long long zone = (long long)std::floor((lon + 186.0) / 6.0);
    const double lambda0 = 6.0 * double(zone) - 183.0;
    // Longitude difference in units of 10000 arc-seconds, positive west.
    const double p = (lambda0 - lon) * 0.36;

    const double phi = lat * kDegToRad;
    const double s = std::sin(phi), c = std::cos(phi), t = std::tan(phi);
    const double eta = elep2 * c * c;
    const double nu = ella / std::sqrt(1.0 - ele2 * s * s);

    // Meridian arc; its first term takes the latitude in radians through
    // the arc-minute constant of the original formulas.
    const double S = arc0 * (lat * 0.000290888208666 * 60.0) - arc1 * std::sin(2.0 * phi) + arc2 * std::sin(4.0 * phi)
                     - arc3 * std::sin(6.0 * phi) + arc4 * std::sin(8.0 * phi);

    const double c3 = c * c * c;
    const double K1 = 0.9996 * S;
    const double K2 = 0.00117475143827 * nu * s * c;
    const double K3 = 2.30098863164e-07 * nu * s * c3 * (5.0 - t * t + 9.0 * eta + 4.0 * eta * eta);
    const double K4 = 0.048461975 * nu * c;
    const double K5 = 1.898451897e-05 * nu * c3 * (1.0 - t * t + eta);

    const double p2 = p * p;
    const double N = K1 + K2 * p2 + K3 * p2 * p2;
    const double E = 500000.0 - K4 * p - K5 * p2 * p;

    // To 10 m, halves to the even ten.
    if (!(std::fabs(E) < 2.0e9) || !(std::fabs(N) < 2.0e9)) return QString();
    const long long e = roundEven(E / 10.0) * 10;
    const long long n = roundEven(N / 10.0) * 10;

    utmzone = int32_t(zone);
    utmeast = int32_t(e);
    utmnorth = int32_t(n);

    const QString eastText = lastFive(e, 6);
    const QString northText = n < 0 ? lastFive(n + 10000000, 7) : lastFive(n, 7);

    long long band = (long long)std::floor(lat / 8.0) + 13;
    if (band > 22) band = 22;

    const long long column = 8 * columnSet(zone) + (long long)std::floor(double(e) / 100000.0);
    const long long rowCount = (long long)std::floor(double(n) / 100000.0) + 200 + (zone % 2 == 0 ? 5 : 0) + rowoffset;
    const long long row = std::llabs(truncMod(rowCount, 20)) + 1;

    QString text = zoneText(zone);
    text += letter(band);
    text += QLatin1Char(' ');
    text += letter(column);
    text += letter(row);
    text += QLatin1Char(' ');
    text += eastText;
    text += QLatin1Char(' ');
    text += northText;
    return text;
}

bool utmtolatlon(const QString &text, float &lonOut, float &latOut)
{
    // Upper case, letters and digits only.
    QString t;
    for (QChar ch : text.toUpper()) {
        const char16_t u = ch.unicode();
        if ((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')) t += ch;
    }
    const int len = int(t.size());
    int nd = 0;
    while (nd < len && t[nd].isDigit()) ++nd;

    // Zone digits and band, two square letters, then the digits, which must
    // split into an easting and a northing of the same length: an odd count
    // would lose a digit, so it is refused.
    const int rest = len - nd - 3;
    if (rest < 2 || rest % 2 != 0) return false;
    const int k = rest / 2;
    if (k < 1 || k > 5) return false;
    const QString eastDigits = t.mid(len - 2 * k, k);
    const QString northDigits = t.right(k);
    for (QChar ch : eastDigits + northDigits)
        if (!ch.isDigit()) return false;

    if (ella == 0 || ellb == 0) loadellipsoid(QString());

    // Zone: its digits with leading zeros allowed; more than two others
    // cannot be a zone.
    QString zoneDigits = t.left(nd);
    while (zoneDigits.size() > 1 && zoneDigits[0] == QLatin1Char('0')) zoneDigits.remove(0, 1);
    if (zoneDigits.isEmpty() || zoneDigits.size() > 2) return false;
    const int zone = zoneDigits.toInt();
    const int band = indexOf(t[nd]);
    const int column = indexOf(t[nd + 1]);
    const int row = indexOf(t[nd + 2]);

    // Zone error: zone outside 1..60, band letter outside C..X.
    if (band > 22 || band < 3 || zone < 1 || zone > 60) return false;
    // A square letter that is no MGRS letter, a column letter of another
    // zone's set, or a row letter past V names no square.
    const int columnInSet = column - 8 * int(columnSet(zone));
    if (column == 0 || columnInSet < 1 || columnInSet > 8 || row == 0 || row > 20) return false;

    auto padded = [](const QString &digits) { return digits.leftJustified(5, QLatin1Char('0')).toDouble(); };
    const double E = padded(eastDigits) + columnInSet * 100000.0;
    const double northInSquare = padded(northDigits);

    // Row count at the band's southern edge, estimated with b as radius, and
    // the letter index of that row; the square's row lies 0..9 rows above.
    // The estimate must not lie above the band's lowest row: at 64 N it does
    // by one row (7.10e6 against 7.097e6 m on WGS 84), which would refuse the
    // squares just north of that band edge. The edge's own northing on the
    // central meridian (the band's lowest north of the equator) caps it.
    long long g0 = (long long)std::floor((band - 13) * 8 * kDegToRad * ellb / 100000.0);
    const long long edgeRow = (long long)std::floor(0.9996 * meridianArc((band - 13) * 8.0) / 100000.0);
    if (edgeRow < g0) g0 = edgeRow;
    const long long r0 = std::llabs(truncMod(g0 + 200 + (zone % 2 == 0 ? 5 : 0) + rowoffset, 20)) + 1;
    const long long d = (row - r0 + 20) % 20;
    if (d > 9) return false;  // illegal square
    const double N = double(g0 + d) * 100000.0 + northInSquare;

    // Footpoint latitude.
    double phi = 0;
    for (int i = 0; i < 8; ++i)
        phi = (N / 0.9996 + arc1 * std::sin(2.0 * phi) - arc2 * std::sin(4.0 * phi) + arc3 * std::sin(6.0 * phi)
               - arc4 * std::sin(8.0 * phi))
              / arc0;

    const double s = std::sin(phi), c = std::cos(phi), tn = std::tan(phi);
    const double etac = elep2 * c * c, etas = elep2 * s * s;
    const double nu = ella / std::sqrt(1.0 - ele2 * s * s);
    const double q = (E - 500000.0) * 0.000001;
    const double t2 = tn * tn, nu2 = nu * nu;
    const double VII = 1.0321495857937e17 * (1.0 + etac) * tn / nu2;
    const double VIII = 8.60813167632e27 * (5.0 + 3.0 * t2 + 6.0 * etac - 6.0 * etas - 3.0 * etac * etac - 9.0 * etac * etas) * tn
                        / (nu2 * nu2);
    const double IX = 206347345200.0 / (c * nu);
    const double X = 3.441875369e22 * (1.0 + 2.0 * t2 + etac) / (c * nu2 * nu);
    const double q2 = q * q;

    // The small offsets put the result a hair north-west of the grid point.
    const double lat = phi / kDegToRad - (VII * q2 - VIII * q2 * q2) / 3600.0 + 0.00001;
    // D: degrees west of the zone's eastern edge. A reference on or within
    // metres of a zone edge (any position at 0 degrees, for one) gives a D a
    // hair outside 0..6 through the 10 m rounding and the offset above; the
    // margin of 0.001 degree keeps those readable and still refuses squares
    // that lie outside the zone. The longitude is then brought back into
    // [-180, 180) across the 180th meridian.
    const double D = 3.00001 - (IX * q - X * q2 * q) / 3600.0;
    if (!(D <= 6.0 + kEdgeMargin && D >= -kEdgeMargin)) return false;
    double lon = 6.0 * zone - 180.0 - D;
    if (lon >= 180.0) lon -= 360.0;
    if (lon < -180.0) lon += 360.0;

    if (!(lat > -90.0 && lat < 90.0 && lon >= -180.0 && lon < 180.0)) return false;
    lonOut = float(lon);
    latOut = float(lat);
    return true;
}

}  // namespace zk
