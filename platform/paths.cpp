#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

namespace zk::paths {

namespace {
QString g_programFolder;
QString g_userFolder;
bool g_seeded = false;
}  // namespace

QString normalize(const QString &path)
{
    QString p = path.trimmed();
    if (p.size() >= 2 && p.startsWith(QLatin1Char('"')) && p.endsWith(QLatin1Char('"'))) p = p.mid(1, p.size() - 2).trimmed();
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QString resolve(const QString &path)
{
    const QString p = normalize(path);
    if (p.isEmpty() || QFileInfo::exists(p)) return p;
    const bool absolute = p.startsWith(QLatin1Char('/'));
    const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString cur = absolute ? QStringLiteral("/") : QString();
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        const QString base = cur.isEmpty() ? QStringLiteral(".") : cur;
        QString exact = cur.isEmpty() ? part : (cur.endsWith(QLatin1Char('/')) ? cur + part : cur + QLatin1Char('/') + part);
        if (part == QLatin1String(".") || part == QLatin1String("..") || QFileInfo::exists(exact)) {
            cur = exact;
            continue;
        }
        QDir dir(base);
        const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        QString found;
        for (const QString &e : entries)
            if (e.compare(part, Qt::CaseInsensitive) == 0) {
                found = e;
                break;
            }
        if (found.isEmpty()) return p;
        cur = cur.isEmpty() ? found : (cur.endsWith(QLatin1Char('/')) ? cur + found : cur + QLatin1Char('/') + found);
    }
    return cur;
}

bool exists(const QString &path)
{
    const QString r = resolve(path);
    return !r.isEmpty() && QFileInfo(r).isFile();
}

QString programFolder()
{
    if (!g_programFolder.isNull()) return g_programFolder;
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void setProgramFolder(const QString &folder) { g_programFolder = folder; }

void setUserFolder(const QString &folder)
{
    g_userFolder = folder;
    g_seeded = false;
}

static void seed(const QString &user)
{
    // The files the program writes or appends start as copies of the shipped ones.
    static const char *const kSeeded[] = {"cities.dat", "colors.dat", "labels.dat"};
    QDir().mkpath(user);
    for (const char *name : kSeeded) {
        const QString dst = user + QLatin1Char('/') + QLatin1String(name);
        if (QFileInfo::exists(dst)) continue;
        const QString src = resolve(programFolder() + QLatin1Char('/') + QLatin1String(name));
        if (QFileInfo(src).isFile()) QFile::copy(src, dst);
        QFile::setPermissions(dst, QFile::permissions(dst) | QFileDevice::WriteOwner);
    }
}

QString userFolder()
{
    QString user = g_userFolder;
    if (user.isNull()) {
        user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (user.isEmpty()) user = QDir::homePath() + QStringLiteral("/.local/share/Kestrova");
    }
    if (!g_seeded) {
        g_seeded = true;
        seed(user);
    }
    return user;
}

QString dataFile(const QString &name)
{
    const QString n = normalize(name);
    const QString user = resolve(userFolder() + QLatin1Char('/') + n);
    if (QFileInfo(user).isFile()) return user;
    const QString prog = resolve(programFolder() + QLatin1Char('/') + n);
    if (QFileInfo(prog).isFile()) return prog;
    return userFolder() + QLatin1Char('/') + n;
}

QString writableDataFile(const QString &name)
{
    return resolve(userFolder() + QLatin1Char('/') + normalize(name));
}

QString dataRoot(const QString &root)
{
    QString r = normalize(root);
    if (r.size() == 1 || (r.size() <= 3 && r.size() >= 2 && r[1] == QLatin1Char(':') && (r.size() == 2 || r[2] == QLatin1Char('/')))) {
        if (r[0].isLetter()) return userFolder() + QStringLiteral("/drives/") + r[0].toUpper() + QLatin1Char('/');
    }
    if (r.isEmpty()) return QString();
    if (!r.endsWith(QLatin1Char('/'))) r += QLatin1Char('/');
    return r;
}

QString tempFolder()
{
    static std::unique_ptr<QTemporaryDir> dir;
    if (!dir) dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/kestrova-XXXXXX"));
    if (!dir->isValid()) return QString();
    return dir->path() + QLatin1Char('/');
}

}  // namespace zk::paths
