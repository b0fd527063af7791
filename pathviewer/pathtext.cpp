#include "pathtext.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace zk::pathviewer {

bool parseNumber(QStringView text, double &out)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == QLatin1Char(' ')) ++b;
    while (e > b && text[e - 1] == QLatin1Char(' ')) --e;

    std::string ascii;
    ascii.reserve(size_t(e - b));
    qsizetype i = b;
    if (i < e && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-')) ascii += '-';
        ++i;
    }
    int mantissaDigits = 0;
    bool point = false;
    for (; i < e; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            ascii += char(c);
            ++mantissaDigits;
        } else if ((c == u'.' || c == u',') && !point) {
            ascii += '.';
            point = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return false;
    if (i < e && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ascii += 'e';
        ++i;
        if (i < e && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) ascii += char(text[i++].unicode());
        int expDigits = 0;
        for (; i < e && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
            ascii += char(text[i].unicode());
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (i != e) return false;

    double v = 0;
    const char *first = ascii.data();
    const char *last = first + ascii.size();
    const auto r = std::from_chars(first, last, v);
    // A value beyond the range of a double (either way) is not a number the
    // main program could have written.
    if (r.ec != std::errc() || r.ptr != last) return false;
    if (!std::isfinite(v)) return false;
    out = v;
    return true;
}

bool parseSingle(QStringView text, float &out)
{
    double v = 0;
    if (!parseNumber(text, v)) return false;
    if (!(std::fabs(v) <= double(std::numeric_limits<float>::max()))) return false;
    out = float(v);
    return true;
}

QString formatMask(double value, int intDigits, int decimals, int significant)
{
    if (!std::isfinite(value)) value = 0;
    significant = std::max(1, std::min(17, significant));

    // The value at the chosen precision as decimal digits D and a power of
    // ten: |value| = D x 10^(exp - significant + 1).
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, std::fabs(value));
    std::string digits;
    const char *p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += *p;
    const int exp = *p == 'e' ? std::atoi(p + 1) : 0;

    // Scale by 10^decimals and round half away from zero on the digit string.
    const int shift = exp - (significant - 1) + decimals;
    std::string r;
    if (shift >= 0) {
        r = digits + std::string(size_t(shift), '0');
    } else if (-shift > int(digits.size())) {
        r = "0";
    } else {
        const size_t keep = digits.size() - size_t(-shift);
        r = digits.substr(0, keep);
        if (r.empty()) r = "0";
        if (digits[keep] >= '5') {
            int k = int(r.size()) - 1;
            while (k >= 0 && r[size_t(k)] == '9') r[size_t(k--)] = '0';
            if (k < 0) r.insert(r.begin(), '1');
            else ++r[size_t(k)];
        }
    }
    while (r.size() > 1 && r[0] == '0') r.erase(r.begin());
    const bool zero = r == "0";
    const size_t width = size_t(std::max(intDigits, 1) + decimals);
    if (r.size() < width) r.insert(r.begin(), width - r.size(), '0');

    QString s;
    if (value < 0 && !zero) s += QLatin1Char('-');
    s += QString::fromLatin1(r.data(), qsizetype(r.size() - size_t(decimals)));
    if (decimals > 0) {
        s += QLocale().decimalPoint();
        s += QString::fromLatin1(r.data() + r.size() - size_t(decimals), decimals);
    }
    return s;
}

}  // namespace zk::pathviewer
