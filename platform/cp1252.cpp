#include "cp1252.h"

namespace {

// 0x80..0x9F; the holes (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

namespace zk {

QString fromCp1252(const char *bytes, qsizetype len)
{
    QString s;
    s.reserve(len);
    for (qsizetype i = 0; i < len; ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        s.append(b >= 0x80 && b < 0xA0 ? QChar(kHigh[b - 0x80]) : QChar(char16_t(b)));
    }
    return s;
}

QString fromCp1252(const QByteArray &bytes) { return fromCp1252(bytes.constData(), bytes.size()); }

QByteArray toCp1252(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        char c = '?';
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] == u) {
                c = char(0x80 + i);
                break;
            }
        out.append(c);
    }
    return out;
}

}  // namespace zk
