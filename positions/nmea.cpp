#include "positions/nmea.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace zk::positions {

namespace {

int hexval(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool isdigit8(char c) { return c >= '0' && c <= '9'; }

// A number as the old decimal reader took it: blanks skipped, a sign,
// digits with one point; 0 when no digit comes first.
double leading(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    double v = 0, scale = 0;
    bool any = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (isdigit8(c)) {
            any = true;
            if (scale == 0) v = v * 10 + (c - '0');
            else {
                v += (c - '0') * scale;
                scale /= 10;
            }
        } else if (c == '.' && scale == 0) {
            scale = 0.1;
        } else {
            break;
        }
    }
    if (!any) return 0;
    return neg ? -v : v;
}

// Field text of a coordinate: only digits and at most one point, none of
// them in the degree columns.
bool coordinate(std::string_view f, size_t degDigits, int maxDeg, double &value)
{
    if (f.size() < degDigits + 1) return false;
    int points = 0;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '.') {
            if (i < degDigits + 1 || ++points > 1) return false;
        } else if (!isdigit8(f[i])) {
            return false;
        }
    }
    int deg = 0;
    for (size_t i = 0; i < degDigits; ++i) deg = deg * 10 + (f[i] - '0');
    // Minutes: the five characters after the degrees (mm.mm).
    const double min = leading(f.substr(degDigits, 5));
    if (deg > maxDeg || !(min < 60.0)) return false;
    value = double(deg) + min / 60.0;
    return value <= double(maxDeg);
}

// Field 1 read as a number and shown with the mask 00:00:00; a fraction of
// a second is left out.
std::string timetext(std::string_view f)
{
    double v = leading(f);
    if (!(std::fabs(v) < 1e12)) v = 0;
    const long long n = std::llabs(static_cast<long long>(std::trunc(v)));
    std::string d = std::to_string(n);
    if (d.size() < 6) d.insert(0, 6 - d.size(), '0');
    d.insert(d.size() - 2, 1, ':');
    d.insert(d.size() - 5, 1, ':');
    if (v < 0 && n != 0) d.insert(0, 1, '-');
    return d;
}

}  // namespace

bool NmeaAssembler::feed(uint8_t b)
{
    if (b == '$') {
        text_ = "$";
        xor_ = 0;
        star_ = 0;
        open_ = true;
        return false;
    }
    // Bytes outside a sentence (before the first "$", or after the CR that
    // ended one) belong to nothing.
    if (!open_) return false;
    if (b == '*') {
        star_ = text_.size();
        return false;
    }
    if (b == 13) {
        // A sentence is handled once: a second CR before the next "$" finds
        // it closed.
        open_ = false;
        if (star_ < 1 || text_.size() < star_ + 2) return false;
        const int hi = hexval(text_[star_]), lo = hexval(text_[star_ + 1]);
        return hi >= 0 && lo >= 0 && unsigned(hi * 16 + lo) == xor_;
    }
    if (text_.size() < kMaxText && b >= 32 && b <= 127) text_.push_back(char(b));
    if (star_ == 0) xor_ ^= b;
    return false;
}

std::optional<RmcFix> readgprmc(std::string_view s)
{
    if (s.size() < 6 || s.substr(1, 5) != "GPRMC") return std::nullopt;
    // Fields 1..20: the text after each comma up to the next one.
    std::vector<std::string_view> field(21);
    size_t k = 0, start = std::string_view::npos;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == ',') {
            if (start != std::string_view::npos && k >= 1 && k <= 20) field[k] = s.substr(start, i - start);
            if (i == s.size()) break;
            ++k;
            start = i + 1;
        }
    }
    RmcFix fix;
    if (!coordinate(field[3], 2, 90, fix.lat) || !coordinate(field[5], 3, 180, fix.lon)) return std::nullopt;
    if (field[4] == "S") fix.lat = -fix.lat;
    if (field[6] != "E") fix.lon = -fix.lon;
    fix.time = timetext(field[1]);
    const double speed = leading(field[7]) * 1.852;
    fix.speed_kmh = speed < 999.0 ? speed : 999.0;
    const double course = leading(field[8]);
    fix.course_deg = course < 0 ? 0 : (course > 360 ? 360 : course);
    return fix;
}

unsigned nmeachecksum(std::string_view body)
{
    unsigned x = 0;
    size_t i = (!body.empty() && body[0] == '$') ? 1 : 0;
    for (; i < body.size() && body[i] != '*'; ++i) x ^= uint8_t(body[i]);
    return x;
}

std::string formatgprmc(double lon, double lat, const UtcStamp &utc)
{
    if (!std::isfinite(lon)) lon = 0;
    if (!std::isfinite(lat)) lat = 0;
    lon = std::fmod(lon, 360.0);
    if (lon < -180.0) lon += 360.0;
    if (lon >= 180.0) lon -= 360.0;
    lat = lat < -90.0 ? -90.0 : (lat > 90.0 ? 90.0 : lat);

    // Whole hundredths of a minute, so that 59.996 minutes become the next
    // degree rather than "60.00".
    auto dm = [](double v, int degDigits) {
        const long long h = std::llround(std::fabs(v) * 6000.0);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%0*lld%02lld.%02lld", degDigits, h / 6000, (h % 6000) / 100, h % 100);
        return std::string(buf);
    };
    auto two = [](int v) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02d", ((v % 100) + 100) % 100);
        return std::string(buf);
    };

    std::string s = "$GPRMC,";
    s += two(utc.hour) + two(utc.minute) + two(utc.second);
    s += ",A,";
    s += dm(lat, 2);
    s += lat >= 0 ? ",N," : ",S,";
    s += dm(lon, 3);
    s += lon >= 0 ? ",E" : ",W";
    s += ",,,";
    s += two(utc.day) + two(utc.month) + two(utc.year);
    s += ",016.2,W*";
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X", nmeachecksum(s));
    s += hex;
    s += "\r\n";
    return s;
}

}  // namespace zk::positions
