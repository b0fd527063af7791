#include "calibration.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/settings.h"
#include "cp1252.h"

namespace zk {

namespace {

// A reader of the file as the original read it: whole lines, and fields
// separated by commas or line ends.
class CalReader {
public:
    explicit CalReader(const QByteArray &b) : b_(b) {}

    bool atEnd() const { return pos_ >= b_.size(); }

    // The next whole line (without its CR LF, LF or CR), or nothing at the end.
    std::optional<QByteArray> line()
    {
        if (atEnd()) return std::nullopt;
        const qsizetype start = pos_;
        while (pos_ < b_.size() && b_[pos_] != '\r' && b_[pos_] != '\n') ++pos_;
        QByteArray out = b_.mid(start, pos_ - start);
        skipLineEnd();
        ++lineNo_;
        return out;
    }

    // The next field: blanks and empty lines before it skipped, up to a comma
    // or a line end (both consumed). Nothing at the end of the file.
    std::optional<QByteArray> field()
    {
        while (pos_ < b_.size()) {
            const char c = b_[pos_];
            if (c == ' ' || c == '\t') {
                ++pos_;
            } else if (c == '\r' || c == '\n') {
                skipLineEnd();
                ++lineNo_;
            } else {
                break;
            }
        }
        if (atEnd()) return std::nullopt;
        fieldLine_ = lineNo_;
        const qsizetype start = pos_;
        bool quoted = b_[pos_] == '"';
        if (quoted) ++pos_;
        while (pos_ < b_.size()) {
            const char c = b_[pos_];
            if (quoted) {
                if (c == '"') quoted = false;
                if (c == '\r' || c == '\n') break;
            } else if (c == ',' || c == '\r' || c == '\n') {
                break;
            }
            ++pos_;
        }
        QByteArray out = b_.mid(start, pos_ - start).trimmed();
        if (pos_ < b_.size()) {
            if (b_[pos_] == ',') {
                ++pos_;
            } else {
                skipLineEnd();
                ++lineNo_;
            }
        }
        return out;
    }

    int line_number() const { return lineNo_; }      // lines consumed so far
    int field_line() const { return fieldLine_ + 1; } // 1-based line of the last field

private:
    void skipLineEnd()
    {
        if (pos_ < b_.size() && b_[pos_] == '\r') ++pos_;
        if (pos_ < b_.size() && b_[pos_] == '\n') ++pos_;
    }

    const QByteArray &b_;
    qsizetype pos_ = 0;
    int lineNo_ = 0;
    int fieldLine_ = 0;
};

// A whole field as a number: sign, digits with one point, optional exponent
// (E, e, or the D of double-precision texts); nothing else, and finite in
// single precision.
std::optional<float> number(const QByteArray &f)
{
    const qsizetype n = f.size();
    qsizetype i = 0;
    if (i < n && (f[i] == '+' || f[i] == '-')) ++i;
    bool digits = false, dot = false;
    while (i < n && ((f[i] >= '0' && f[i] <= '9') || (f[i] == '.' && !dot))) {
        if (f[i] == '.') dot = true;
        else digits = true;
        ++i;
    }
    if (!digits) return std::nullopt;
    QByteArray text = f.left(i);
    if (i < n && (f[i] == 'e' || f[i] == 'E' || f[i] == 'd' || f[i] == 'D')) {
        qsizetype j = i + 1;
        if (j < n && (f[j] == '+' || f[j] == '-')) ++j;
        const qsizetype expStart = j;
        while (j < n && f[j] >= '0' && f[j] <= '9') ++j;
        if (j == expStart) return std::nullopt;
        text += 'e';
        text += f.mid(i + 1, j - i - 1);
        i = j;
    }
    if (i != n) return std::nullopt;
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > double(std::numeric_limits<float>::max())) return std::nullopt;
    return float(v);
}

bool isLongitude(float v) { return std::fabs(v) <= 540.0f; }
bool isLatitude(float v) { return std::fabs(v) <= 90.0f; }

bool plausible(const QByteArray &bytes, QString *error)
{
    if (bytes.size() > kMaxCalibrationBytes) {
        if (error) *error = QStringLiteral("fichier trop grand");
        return false;
    }
    if (bytes.contains('\0')) {
        if (error) *error = QStringLiteral("fichier binaire");
        return false;
    }
    return true;
}

QString lineText(int line) { return QStringLiteral("ligne %1").arg(line); }

// Reads the next corner value into out; false (with the line in error) when
// it is missing, not a number or out of range.
bool corner(CalReader &r, bool longitude, float &out, QString *error)
{
    const std::optional<QByteArray> f = r.field();
    if (!f) {
        if (error) *error = QStringLiteral("fichier incomplet");
        return false;
    }
    const std::optional<float> v = number(*f);
    if (!v || !(longitude ? isLongitude(*v) : isLatitude(*v))) {
        if (error) *error = lineText(r.field_line());
        return false;
    }
    out = *v;
    return true;
}

}  // namespace

std::optional<PicCalibration> readPicCalibration(const QByteArray &bytes, QString *error)
{
    if (!plausible(bytes, error)) return std::nullopt;
    CalReader r(bytes);
    PicCalibration cal;

    // Line 1: the leading number of the line; text gives a plain image.
    const std::optional<QByteArray> first = r.line();
    if (!first) {
        if (error) *error = QStringLiteral("fichier vide");
        return std::nullopt;
    }
    const double kind = leadingNumber(QString::fromLatin1(*first));
    if (std::isfinite(kind) && std::fabs(kind) <= 32767.0) cal.Pictype = int16_t(std::nearbyint(kind));

    for (int k = 0; k < 4; ++k) {
        if (!corner(r, true, cal.lon[k], error)) return std::nullopt;
        if (!corner(r, false, cal.lat[k], error)) return std::nullopt;
    }

    // The source: the whole next line, commas and quotes included.
    if (const std::optional<QByteArray> src = r.line()) cal.source = fromCp1252(*src).left(kMaxCalibrationSource);

    if (cal.Pictype == 1 || cal.Pictype == 3) {
        for (float &v : cal.values) {
            const std::optional<QByteArray> f = r.field();
            if (!f) break;  // a 3D picture's file ends after eleven values
            v = number(*f).value_or(0.0f);
        }
        if (cal.Pictype == 3) cal.values[11] = 0;
    }
    return cal;
}

std::optional<PicCalibration> readAdrCalibration(const QByteArray &bytes, QString *error)
{
    if (!plausible(bytes, error)) return std::nullopt;
    CalReader r(bytes);
    PicCalibration cal;
    cal.Pictype = 2;
    const std::optional<QByteArray> src = r.line();
    if (!src) {
        if (error) *error = QStringLiteral("fichier vide");
        return std::nullopt;
    }
    cal.source = fromCp1252(*src).left(kMaxCalibrationSource);
    float west = 0, north = 0, east = 0, south = 0;
    if (!corner(r, true, west, error) || !corner(r, false, north, error) || !corner(r, true, east, error) ||
        !corner(r, false, south, error))
        return std::nullopt;
    // Longitudes in this file are positive to the west.
    west = -west;
    east = -east;
    cal.lon = {west, east, east, west};
    cal.lat = {north, north, south, south};
    return cal;
}

QByteArray calNumber(float v)
{
    if (v == 0.0f || !std::isfinite(v)) return QByteArrayLiteral("0");
    return QByteArray::number(double(v), 'g', 7);
}

QByteArray writePicCalibration(const PicCalibration &cal)
{
    static const QByteArray crlf = QByteArrayLiteral("\r\n");
    QByteArray out;
    out += QByteArray::number(cal.Pictype) + crlf;
    for (int k = 0; k < 4; ++k) out += calNumber(cal.lon[k]) + ',' + calNumber(cal.lat[k]) + crlf;
    // One line: a source with line breaks in it would cut the file apart.
    QString src = cal.source.left(kMaxCalibrationSource);
    src.replace(QLatin1String("\r\n"), QLatin1String(" "));
    src.replace(QLatin1Char('\r'), QLatin1Char(' '));
    src.replace(QLatin1Char('\n'), QLatin1Char(' '));
    out += toCp1252(src) + crlf;
    // Whole values (mode, switches, city flag) are 8- and 16-bit fields: a
    // value read from a damaged file beyond 32 bits is written as the end of
    // that range rather than converted out of range.
    auto whole = [](float v) {
        const double d = std::isfinite(v) ? std::clamp(double(v), -2147483648.0, 2147483647.0) : 0.0;
        return QByteArray::number(qint64(d));
    };
    if (cal.Pictype == 1) {
        const auto &v = cal.values;
        out += whole(v[0]) + crlf;                                   // Mapmode
        for (int i = 1; i <= 5; ++i) out += calNumber(v[i]) + crlf;  // maxx minx light con bri
        for (int i = 6; i <= 8; ++i) out += whole(v[i]) + crlf;      // c1 c2 city
        for (int i = 9; i <= 11; ++i) out += calNumber(v[i]) + crlf; // hmin hmax hmoy
    } else if (cal.Pictype == 3) {
        for (int i = 0; i < 11; ++i) out += calNumber(cal.values[i]) + crlf;
    }
    return out;
}

QString companionName(const QString &picture, const QString &ext3)
{
    return picture.left(std::max<qsizetype>(0, picture.size() - 3)) + ext3;
}

}  // namespace zk
