#include "objectfiles.h"

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cmath>

#include "base/routines.h"
#include "base/settings.h"
#include "cp1252.h"
#include "paths.h"

namespace zk {

namespace {

bool isblank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

int hexdigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

// A whole number in decimal digits, with an optional sign.
bool iswhole(const QString &text)
{
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) ++i;
    if (i >= t.size()) return false;
    for (; i < t.size(); ++i)
        if (!(t[i].unicode() >= '0' && t[i].unicode() <= '9')) return false;
    return true;
}

double number(const QString &field)
{
    const double v = leadingNumber(unquoted(field));
    return std::isfinite(v) ? v : 0.0;
}

// A colour stored as a decimal number: its low three bytes.
uint32_t decimalcolour(double v)
{
    if (!std::isfinite(v)) return 0;
    v = std::clamp(v, -2147483648.0, 4294967295.0);
    return uint32_t(int64_t(v)) & 0xFFFFFFu;
}

}  // namespace

QStringList objectlines(const QByteArray &bytes)
{
    QStringList out;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? n : end + 1;
        if (end < 0) end = n;
        qsizetype len = end - start;
        if (len > 0 && bytes[start + len - 1] == '\r') --len;
        out.append(fromCp1252(bytes.constData() + start, len));
        start = next;
    }
    return out;
}

std::optional<QStringList> readobjectlines(const QString &path, QString *error)
{
    QFile f(paths::resolve(path));
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return std::nullopt;
    }
    if (f.size() > kMaxObjectFileBytes) {
        if (error) *error = QStringLiteral("fichier trop grand");
        return std::nullopt;
    }
    const QByteArray bytes = f.read(kMaxObjectFileBytes + 1);
    if (bytes.size() > kMaxObjectFileBytes) {
        if (error) *error = QStringLiteral("fichier trop grand");
        return std::nullopt;
    }
    return objectlines(bytes);
}

QStringList splitfields(const QString &line)
{
    QStringList out;
    const qsizetype n = line.size();
    qsizetype i = 0;
    for (;;) {
        const qsizetype start = i;
        qsizetype j = i;
        while (j < n && isblank(line[j])) ++j;
        qsizetype from = i;
        if (j < n && line[j] == QLatin1Char('"')) {
            // A quoted field keeps its commas up to the closing quote; an
            // unclosed quote is an ordinary character.
            const qsizetype close = line.indexOf(QLatin1Char('"'), j + 1);
            if (close >= 0) from = close + 1;
        }
        const qsizetype comma = line.indexOf(QLatin1Char(','), from);
        if (comma < 0) {
            out.append(line.mid(start));
            break;
        }
        out.append(line.mid(start, comma - start));
        i = comma + 1;
    }
    return out;
}

int readfields(const QString &line, std::array<QString, 11> &fields)
{
    for (QString &f : fields) f.clear();
    const QStringList parts = splitfields(line);
    for (qsizetype k = 0; k < parts.size() && k < 10; ++k) fields[size_t(k + 1)] = parts[k];
    return int(std::min<qsizetype>(parts.size(), INT32_MAX));
}

QString unquoted(const QString &field)
{
    QString s = field;
    s.remove(QLatin1Char('"'));
    return s;
}

uint32_t leadhex(const QString &text)
{
    uint32_t v = 0;
    int digits = 0;
    for (QChar c : text) {
        if (isblank(c)) continue;
        const int d = hexdigit(c);
        if (d < 0 || digits == 8) break;
        v = (v << 4) | uint32_t(d);
        ++digits;
    }
    return v;
}

std::optional<uint32_t> wholehex(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 8) return std::nullopt;
    uint32_t v = 0;
    for (QChar c : t) {
        const int d = hexdigit(c);
        if (d < 0) return std::nullopt;
        v = (v << 4) | uint32_t(d);
    }
    return v;
}

std::optional<std::array<QString, 6>> labelfields(const QString &line)
{
    QStringList f = splitfields(line);
    const qsizetype n = f.size();
    if (n < 4) return std::nullopt;
    for (QString &s : f) s = unquoted(s);
    std::array<QString, 6> out;
    const auto background = [](const QString &s) { return s.trimmed() == QLatin1String("-1") || wholehex(s); };
    if (n > 6 && iswhole(f[n - 2]) && background(f[n - 1])) {
        out[0] = f[0];
        out[1] = f[1];
        out[2] = f[2];
        out[3] = f.mid(3, n - 5).join(QLatin1Char(','));
        out[4] = f[n - 2];
        out[5] = f[n - 1];
        return out;
    }
    for (qsizetype k = 0; k < 6 && k < n; ++k) out[size_t(k)] = f[k];
    return out;
}

std::optional<LabelLine> parselabel(const QString &line, bool westpositive, bool transparent)
{
    const auto f = labelfields(line);
    if (!f) return std::nullopt;
    LabelLine l;
    const double lat = leadingNumber((*f)[1]);
    const double lon = leadingNumber((*f)[2]);
    if (!std::isfinite(lat) || !std::isfinite(lon)) return std::nullopt;
    l.lat = float(lat);
    l.lon = float(westpositive ? -lon : lon);
    if (!std::isfinite(l.lat) || !std::isfinite(l.lon)) return std::nullopt;
    l.colour = leadhex((*f)[0]) & 0xFFFFFF;
    l.text = (*f)[3].trimmed();
    const double code = leadingNumber((*f)[4]);
    l.code = (code == 1 || code == 2 || code == 3 || code == 4) ? int(code) : 0;
    const QString bg = (*f)[5].trimmed();
    if (!bg.isEmpty()) {
        if (bg != QLatin1String("-1")) {
            if (const auto c = wholehex(bg)) {
                l.box = true;
                l.boxcolour = *c & 0xFFFFFF;
            }
        }
    } else if (!transparent) {
        l.box = true;
        l.boxcolour = ~l.colour & 0xFFFFFF;
    }
    return l;
}

std::optional<TrackFile> readtrack(const QStringList &lines)
{
    // A line past the end reads as one empty field.
    const auto fields = [&lines](qsizetype k) {
        return k < lines.size() ? splitfields(lines[k]) : QStringList{QString()};
    };
    if (fields(0).size() != 1) return std::nullopt;
    const QStringList attr = fields(4);
    if (attr.size() <= 2) return std::nullopt;
    const QStringList count = fields(5);
    if (count.size() != 1) return std::nullopt;
    TrackFile t;
    t.width = number(attr[1]);
    t.colour = decimalcolour(leadingNumber(unquoted(attr[2])));
    const double declared = number(count[0]);
    t.declared = int64_t(std::clamp(declared, -1e15, 1e15));
    for (qsizetype k = 6; k < lines.size(); ++k) {
        const QStringList p = splitfields(lines[k]);
        if (p.size() < 3) break;
        TrackPoint pt;
        pt.lat = float(number(p[0]));
        pt.lon = float(number(p[1]));
        pt.start = number(p[2]) == 1.0;
        if (p.size() > 3) pt.alt_ft = number(p[3]);
        t.points.push_back(pt);
    }
    return t;
}

QString FixNbr(float x)
{
    double d = double(x) * 100000.0;
    if (!std::isfinite(d)) d = 0;
    const long long n = roundEven(d);
    QString digits = QString::number(n < 0 ? -n : n);
    if (digits.size() < 5) digits.prepend(QString(5 - digits.size(), QLatin1Char('0')));
    const QString whole = digits.left(digits.size() - 5);
    return (n < 0 ? QStringLiteral("-") : QString()) + whole + QLatin1Char('.') + digits.right(5);
}

QString plainnumber(double v)
{
    if (!std::isfinite(v) || v == 0) return QStringLiteral("0");
    QString s = QString::number(v, 'g', QLocale::FloatingPointShortest);
    if (s.startsWith(QLatin1String("0."))) s.remove(0, 1);
    else if (s.startsWith(QLatin1String("-0."))) s.remove(1, 1);
    return s;
}

QString tilename(int lon, int lat)
{
    if (lon > 179) lon -= 360;
    if (lon < -180) lon += 360;
    const QChar ew = lon < 0 ? QLatin1Char('W') : QLatin1Char('E');
    const QChar ns = lat < 0 ? QLatin1Char('S') : QLatin1Char('N');
    return ew + QStringLiteral("%1").arg(std::abs(lon), 3, 10, QLatin1Char('0')) + QLatin1Char('/') + ns +
           QStringLiteral("%1").arg(std::abs(lat), 2, 10, QLatin1Char('0'));
}

TileRanges coveredranges(const std::array<float, 4> &lon, const std::array<float, 4> &lat)
{
    TileRanges r;
    for (int k = 0; k < 4; ++k)
        if (!std::isfinite(lon[size_t(k)]) || !std::isfinite(lat[size_t(k)])) return r;
    const auto [lo0, lo1] = std::minmax_element(lon.begin(), lon.end());
    const auto [la0, la1] = std::minmax_element(lat.begin(), lat.end());
    // Corners far beyond the Earth still cover each tile at most once.
    const double west = std::floor(double(*lo0));
    const double east = std::min(std::floor(double(*lo1)), west + 359);
    const double south = std::max(std::floor(double(*la0)), -90.0);
    const double north = std::min(std::floor(double(*la1)), 90.0);
    if (!(west >= -1e6 && east <= 1e6)) return r;
    // Far longitudes come within one turn first; the name takes the last one.
    for (double x = west; x <= east; ++x) r.lons.push_back(int(std::fmod(x, 360.0)));
    for (double y = south; y <= north; ++y) r.lats.push_back(int(y));
    return r;
}

QString lonname(int lon) { return tilename(lon, 0).section(QLatin1Char('/'), 0, 0); }
QString latname(int lat) { return tilename(0, lat).section(QLatin1Char('/'), 1, 1); }

QStringList coveredtiles(const std::array<float, 4> &lon, const std::array<float, 4> &lat)
{
    QStringList out;
    const TileRanges r = coveredranges(lon, lat);
    for (int x : r.lons)
        for (int y : r.lats) out.append(tilename(x, y));
    return out;
}

QString objectroot()
{
    return paths::dataRoot(settings.objectdrive.trimmed()) + QStringLiteral("object/");
}

}  // namespace zk
