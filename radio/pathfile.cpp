#include "radio/pathfile.h"

#include <QLocale>
#include <QSaveFile>

#include <cmath>

#include "base/version.h"
#include "cp1252.h"
#include "radio/linkbudget.h"
#include "radio/linkreport.h"
#include "radio/profile.h"
#include "radio/radiodata.h"

namespace zk {

QString generalitem(double v)
{
    if (!std::isfinite(v)) v = 0;
    QString t = QString::number(v, 'g', 15);
    if (t.startsWith(QLatin1String("0."))) t.remove(0, 1);
    else if (t.startsWith(QLatin1String("-0."))) t.remove(1, 1);
    t.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return (v < 0 ? QString() : QStringLiteral(" ")) + t + QLatin1Char(' ');
}

QByteArray pathfiletext(int a, int b, int net)
{
    if (a < 1 || a > kUnits || b < 1 || b > kUnits) return {};
    const int n = getprofile(int16_t(a), int16_t(b));
    if (n <= 2) return {};
    applyendsamples(a, b);

    QStringList lines = {
        version::productName(),
        QStringLiteral("Version %1.%2").arg(version::major).arg(version::minor),
        QStringLiteral("** Données du site de gauche **"),
        QStringLiteral(" Nom"),
        QStringLiteral(" Hauteur d'antenne (m)"),
        QStringLiteral("** Données du site de droite **"),
        QStringLiteral(" Nom"),
        QStringLiteral(" Hauteur d'antenne (m)"),
        QStringLiteral("** Données du lien radio **"),
        QStringLiteral(" Fréquence (GHz)"),
        QStringLiteral(" Facteur de courbure terrestre"),
        QStringLiteral("** Profil de parcours **"),
        QStringLiteral(" Échantillons: Distance(km) Altitude(m)"),
        QStringLiteral("Start"),
        fixedText(units[a].name).trimmed(),
        generalitem(lrprm.h1),
        fixedText(units[b].name).trimmed(),
        generalitem(lrprm.h2),
        generalitem(net > 0 ? lrprm.freq / 1000 : 0.0),
        generalitem(1 / (1 - 0.04665 * std::exp(lrprm.ns / 179.3))),
    };
    const QString tab = QStringLiteral("\t");
    for (int i = 0; i <= n; ++i)
        lines << masktext(i * pfl[2] / 1000, 3, 4) + tab + masktext(pfl[size_t(i + 3)], 1, 4) + tab +
                     QStringLiteral("0") + tab + QStringLiteral("0");
    QByteArray out;
    for (const QString &l : lines) out += toCp1252(l) + "\r\n";
    return out;
}

bool writepath(const QString &file, int a, int b, int net)
{
    const QByteArray text = pathfiletext(a, b, net);
    if (text.isEmpty()) return false;
    bool ok = false;
    if (!file.trimmed().isEmpty()) {
        QSaveFile f(file);
        ok = f.open(QIODevice::WriteOnly) && f.write(text) == text.size() && f.commit();
    }
    linkreport(a, b, net);
    return ok;
}

}  // namespace zk
