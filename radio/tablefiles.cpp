#include "radio/tablefiles.h"

#include <QDir>

#include <algorithm>

#include "cp1252.h"
#include "paths.h"
#include "pictures/covset.h"

namespace zk {

QStringList tablefiles(const QString &pattern)
{
    QStringList out;
    for (const QString &dir : {paths::userFolder(), paths::programFolder()}) {
        if (dir.isEmpty()) continue;
        const QStringList names = QDir(dir).entryList({pattern}, QDir::Files, QDir::NoSort);
        QStringList here;
        for (const QString &n : names)
            if (!out.contains(n, Qt::CaseInsensitive)) here << n;
        out += here;
    }
    return out;
}

bool tablenamefits(const QString &name) { return toCp1252(name).size() <= kTableNameChars; }

QString tablenametoolong(const QString &name)
{
    return QStringLiteral("Nom trop long (%1 caractères au plus): ").arg(kTableNameChars) + name;
}

bool storetablename(const QString &name)
{
    const QByteArray bytes = toCp1252(name);
    if (bytes.size() > kTableNameChars) return false;
    static_assert(sizeof covset.antfile == kTableNameChars);
    std::fill(std::begin(covset.antfile), std::end(covset.antfile), ' ');
    std::copy(bytes.begin(), bytes.end(), covset.antfile);
    return true;
}

QString storedtablename() { return fromCp1252(covset.antfile, sizeof covset.antfile).trimmed(); }

}  // namespace zk
