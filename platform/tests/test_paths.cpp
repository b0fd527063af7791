#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "paths.h"

namespace {
void touch(const QString &p, const QByteArray &content = "x")
{
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}
}  // namespace

TEST(Paths, NormalizeSeparatorsQuotesBlanks)
{
    EXPECT_EQ(zk::paths::normalize(QStringLiteral("  \"C:\\maps\\alps.map\" ")), QStringLiteral("C:/maps/alps.map"));
    EXPECT_EQ(zk::paths::normalize(QStringLiteral("a/b\\c")), QStringLiteral("a/b/c"));
    EXPECT_EQ(zk::paths::normalize(QString()), QString());
}

TEST(Paths, CaseInsensitiveLookupPerComponent)
{
    QTemporaryDir tmp;
    touch(tmp.path() + QStringLiteral("/Tiles/N45/W073.DT1"));
    const QString asked = tmp.path() + QStringLiteral("\\tiles\\n45\\w073.dt1");
    EXPECT_EQ(zk::paths::resolve(asked), tmp.path() + QStringLiteral("/Tiles/N45/W073.DT1"));
    EXPECT_TRUE(zk::paths::exists(asked));
    EXPECT_FALSE(zk::paths::exists(tmp.path() + QStringLiteral("/tiles/n46/w073.dt1")));
    // The exact name wins when it exists.
    touch(tmp.path() + QStringLiteral("/Tiles/N45/w073.dt1"), "y");
    EXPECT_EQ(zk::paths::resolve(tmp.path() + QStringLiteral("/Tiles/N45/w073.dt1")),
              tmp.path() + QStringLiteral("/Tiles/N45/w073.dt1"));
}

TEST(Paths, UserFolderSeededAndDataLookupOrder)
{
    QTemporaryDir prog, user;
    touch(prog.path() + QStringLiteral("/cities.dat"), "shipped");
    touch(prog.path() + QStringLiteral("/geosys.dat"), "datum");
    zk::paths::setProgramFolder(prog.path());
    zk::paths::setUserFolder(user.path() + QStringLiteral("/u"));
    EXPECT_EQ(zk::paths::dataFile(QStringLiteral("cities.dat")), user.path() + QStringLiteral("/u/cities.dat"));
    EXPECT_EQ(zk::paths::dataFile(QStringLiteral("GEOSYS.DAT")), prog.path() + QStringLiteral("/geosys.dat"));
    // A user's copy is never overwritten by a later seeding.
    touch(user.path() + QStringLiteral("/u/cities.dat"), "mine");
    zk::paths::setUserFolder(user.path() + QStringLiteral("/u"));
    QFile f(zk::paths::dataFile(QStringLiteral("cities.dat")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("mine"));
    zk::paths::setProgramFolder(QString());
    zk::paths::setUserFolder(QString());
}

TEST(Paths, DriveLetterRoots)
{
    QTemporaryDir user;
    zk::paths::setUserFolder(user.path());
    for (const char *r : {"c", "C", "C:", "C:\\", "c:/"})
        EXPECT_EQ(zk::paths::dataRoot(QString::fromLatin1(r)), user.path() + QStringLiteral("/drives/C/")) << r;
    EXPECT_EQ(zk::paths::dataRoot(QStringLiteral("/mnt/dted")), QStringLiteral("/mnt/dted/"));
    EXPECT_EQ(zk::paths::dataRoot(QStringLiteral("D:\\data\\")), QStringLiteral("D:/data/"));
    zk::paths::setUserFolder(QString());
}

TEST(Paths, PrivateTempFolder)
{
    const QString t = zk::paths::tempFolder();
    ASSERT_FALSE(t.isEmpty());
    EXPECT_TRUE(t.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(t).isDir());
    EXPECT_EQ(zk::paths::tempFolder(), t);
    EXPECT_NE(QDir(t).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
}
