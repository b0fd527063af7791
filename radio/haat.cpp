#include "radio/haat.h"

#include <QDate>
#include <QDesktopServices>
#include <QFile>
#include <QLocale>
#include <QTime>
#include <QUrl>

#include <cmath>

#include "cp1252.h"
#include "map/geotext.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "radio/radiodata.h"
#include "radio/roles.h"

namespace zk {

namespace {

std::function<void(const QString &)> &viewer()
{
    static std::function<void(const QString &)> v;
    return v;
}

// The general text of a single: up to 7 significant digits, the locale's
// decimal separator.
QString general(float v)
{
    QString t = QLocale().toString(double(v), 'g', 7);
    t.remove(QLocale().groupSeparator());
    return t;
}

// A number with a mask of the form "0000.0", "00.00" or "000": at least
// `whole` digits before the separator, `decimals` after, halves away from
// zero.
QString masked(double v, int whole, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double r = std::round(std::abs(v) * scale) / scale;
    QString t = QString::number(r, 'f', decimals);
    int dot = decimals > 0 ? int(t.indexOf(QLatin1Char('.'))) : int(t.size());
    while (dot < whole) {
        t.prepend(QLatin1Char('0'));
        ++dot;
    }
    if (decimals > 0) t.replace(QLatin1Char('.'), QLocale().decimalPoint());
    if (v < 0 && r != 0) t.prepend(QLatin1Char('-'));
    return t;
}

}  // namespace

void sethaatviewer(std::function<void(const QString &)> v) { viewer() = std::move(v); }

QStringList haatlines(int unit, int net)
{
    QStringList out;
    if (unit < 1 || unit > kUnits || net < 1 || net > kNets) return out;
    const UnitRecord &u = units[unit];
    const QString rule(60, QLatin1Char('-'));
    out << QStringLiteral("HAAT, hauteur au dessus du sol moyen");
    out << QStringLiteral("Rapport généré à ") + QLocale().toString(QTime::currentTime(), QLocale::ShortFormat) +
               QStringLiteral(", le ") + QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    out << rule;
    out << QStringLiteral("Pour ") + fixedText(u.name).trimmed();
    float lat = u.lat, lon = u.lon;
    out << latdms(lat) + QStringLiteral(",") + londms(lon);
    out << gridlocator(u.lon, u.lat);
    out << QStringLiteral("Altitude du sol: ") + general(u.elev) + QStringLiteral("m");
    out << rule;
    out << fixedText(nets[net].name).leftJustified(int(sizeof nets[net].name), QLatin1Char(' '));
    const float h = antheight(net, unit);
    out << QStringLiteral("Hauteur de l'antenne au desssus du sol: ") + general(h) + QStringLiteral("m");
    out << rule;
    const float a = h + u.elev;
    out << QStringLiteral("Azt(°)\tD(km)\tAltitude du sol(m)");
    double s = 0;
    int n = 0;
    constexpr double rad = 0.017453292519943278;
    for (float az = 0; az <= 335; az += 45) {
        for (float d = 2; d <= 10; d += 2) {
            const float k = float(d * 1.609344);
            const float slat = float(u.lat + (k / 111.0) * std::cos(az * rad));
            const float slon = float(u.lon + (k / 111.0) / std::cos(u.lat * rad) * std::sin(az * rad));
            float x = 0, y = 0, e = 0;
            QString et = QStringLiteral("?");
            if (gridpoint(slon, slat, x, y, e)) {
                s += e;
                ++n;
                et = masked(e, 4, 1);
            }
            out << masked(az, 3, 0) + QLatin1Char('\t') + masked(k, 2, 2) + QLatin1Char('\t') + et;
        }
    }
    out << rule;
    out << QStringLiteral("Altitude de l'antenne  : ") + general(a) + QStringLiteral("m");
    QString gt = QStringLiteral("?"), ht = QStringLiteral("?");
    if (n > 5) {
        const float g = float(s / n);
        gt = general(g) + QStringLiteral("m");
        ht = general(a - g) + QStringLiteral("m");
    }
    out << QStringLiteral("Altitude moyenne du sol: ") + gt;
    out << rule;
    out << QStringLiteral("HAAT: ") + ht;
    return out;
}

bool haatreport(int unit, int net)
{
    auto fail = [] {
        msgbox(QStringLiteral("Unable to create Haat report"), mbOK | mbExclamation);
        return false;
    };
    const QStringList lines = haatlines(unit, net);
    if (lines.isEmpty()) return fail();
    const QString path = paths::writableDataFile(QStringLiteral("Haat.txt"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return fail();
    QByteArray bytes;
    for (const QString &l : lines) bytes += toCp1252(l) + "\r\n";
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        f.close();
        return fail();
    }
    f.close();
    if (viewer())
        viewer()(path);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    return true;
}

}  // namespace zk
