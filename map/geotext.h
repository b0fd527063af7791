// Position texts: degrees-minutes-seconds of a latitude or a longitude, and
// the grid reference of a position (Maidenhead locator without a datum name,
// UTM/MGRS with one), with the reading of a Maidenhead locator back into a
// position.
//
// The degrees-minutes-seconds texts have fixed widths that other code cuts
// apart by character position and that travel in position datagrams:
//   latitude  DD°MM'SS"H   10 characters, H = N or S
//   longitude DDD°MM'SS"H  11 characters, H = E or O (ouest)
// "°" is one character here and the one byte 0xB0 once written as
// Windows-1252.
#pragma once

#include <QString>

#include <type_traits>

namespace zk {

// The text of a latitude; clamps lat in place to -89..89 first.
QString latdmsText(double &lat);
// The text of a longitude; wraps lon in place into [-180, 180) first.
QString londmsText(double &lon);

// latdms/londms take the caller's variable of any numeric type and leave
// the clamped or wrapped value in it, as every caller relies on.
template <typename T>
QString latdms(T &lat)
{
    static_assert(std::is_arithmetic_v<T>, "latdms takes a number");
    double v = double(lat);
    const QString text = latdmsText(v);
    lat = T(v);
    return text;
}
template <typename T>
QString londms(T &lon)
{
    static_assert(std::is_arithmetic_v<T>, "londms takes a number");
    double v = double(lon);
    const QString text = londmsText(v);
    lon = T(v);
    return text;
}

// The six-character Maidenhead locator of a position (works on copies:
// longitude wrapped, latitude clamped to -89..89).
QString qralocator(float lon, float lat);

// Reads a Maidenhead locator (2, 4 or 6 characters, any case, blanks around
// it ignored) into the south-west corner of its field, square or subsquare.
// Never fails: characters out of range are clamped, missing ones count 0.
void qratolatlon(const QString &text, double &lon, double &lat);

// The grid reference of a position: the Maidenhead locator when the datum
// name is empty, else the MGRS text of latlontoutm() for the position as
// given. Never changes its arguments.
QString gridlocator(float lon, float lat);

}  // namespace zk
