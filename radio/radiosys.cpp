#include "radio/radiosys.h"

#include <QIODevice>
#include <QLocale>

#include <cmath>

#include "cp1252.h"
#include "paths.h"

namespace zk {

namespace {
constexpr qint64 kMaxRadiosysBytes = 1024 * 1024;
constexpr int kGroupLines = 6;
}  // namespace

double thresholduv(double dbm) { return std::pow(10.0, (dbm + 107.0) / 20.0); }

float thresholddbm(double uv) { return float(20.0 * std::log10(uv) - 107.0); }

QString radiosysfile() { return paths::dataFile(QStringLiteral("radiosys.dat")); }

QStringList radiosyslines(QIODevice &file)
{
    QStringList lines;
    const QByteArray bytes = file.read(kMaxRadiosysBytes);
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        lines.append(fromCp1252(bytes.constData() + start, end - start));
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

QStringList predefinednames(const QStringList &lines)
{
    QStringList names;
    for (qsizetype i = 0; i < lines.size(); i += kGroupLines) names.append(lines[i].trimmed());
    return names;
}

QList<QStringList> predefinedmatches(const QStringList &lines, const QString &name)
{
    QList<QStringList> groups;
    const QString wanted = name.trimmed();
    qsizetype i = 0;
    while (i < lines.size()) {
        const QString line = lines[i++].trimmed();
        if (line != wanted) continue;
        QStringList g{line};
        for (int k = 1; k < kGroupLines && i < lines.size(); ++k) g.append(lines[i++]);
        groups.append(g);
    }
    return groups;
}

QString predefinedvalue(const QString &line)
{
    const QLocale user;
    if (user.decimalPoint() == QLatin1String(".")) return line;
    const QString t = line.trimmed();
    bool ok = false;
    if (!t.contains(QLatin1Char('.'))) return line;
    QLocale neutral = QLocale::c();
    neutral.setNumberOptions(QLocale::RejectGroupSeparator);
    const double v = neutral.toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return line;
    QString text = QString::number(v, 'g', 15);
    text.replace(QLatin1Char('.'), user.decimalPoint());
    return text;
}

}  // namespace zk
