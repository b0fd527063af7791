// Opening and saving documents: lengths and byte-for-byte round trips, the
// name and its bookkeeping, the old layout, map files, damaged, cut and
// unreadable files, write failures, and the map fitted to the units.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>
#include <unistd.h>

#include "base/screen.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "map/mapfile.h"
#include "msgbox.h"
#include "pictures/covset.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "qtenv.h"
#include "radio/coverage.h"
#include "radio/netdoc.h"
#include "radio/netfile.h"
#include "radio/profile.h"
#include "radio/radiodata.h"

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return f.readAll();
}

bool writeAll(const QString &path, const QByteArray &b)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

// A document unlike the defaults in every table.
zk::NetDocument sample(const QByteArray &mapname)
{
    zk::NetDocument d;
    for (int i = 1; i <= zk::kUnits; ++i) d.units[size_t(i - 1)] = zk::defaultunit(i);
    for (int i = 1; i <= zk::kSystems; ++i) d.systems[size_t(i - 1)] = zk::defaultsystem(i);
    for (int i = 1; i <= zk::kNets; ++i) d.nets[size_t(i - 1)] = zk::defaultnet(i);
    d.units[0].lon = 2;
    d.units[0].lat = 48;
    d.units[1].lon = 4;
    d.units[1].lat = 50;
    zk::setFixedText(d.units[1].name, QStringLiteral("Deuxième"));
    d.systems[4].power = 50;
    d.nets[2].member[0] = 130;
    d.nets[2].topology = 2;  // hidden mesh
    d.covset.rangemax = 42;
    d.covset.thrunit = 2;
    zk::setFixedText(d.covset.antfile, sizeof d.covset.antfile, QStringLiteral("dipole.ant"));
    d.mapfile = mapname;
    d.heights[77] = 6.5f;
    d.icons[9] = 3;
    d.icons[10] = 255;
    return d;
}

// A map around the sample's units (2 E 48 N and 4 E 50 N): 100 x 80 cells,
// cell (x, y) at 100 + x metres.
QByteArray reliefMap()
{
    zk::elevgrid.redim(99, 79);
    for (int y = 0; y <= 79; ++y)
        for (int x = 0; x <= 99; ++x) zk::elevgrid.at(x, y) = int16_t(100 + x);
    zk::mapset.lon = 3;
    zk::mapset.lat = 49;
    zk::mapset.size = 300;
    zk::setcorners(zk::mapset);
    return zk::mapfilebytes(zk::elevgrid, zk::mapset, zk::mapcorners);
}

QString lastProjectSetting() { return zk::readsetting(QStringLiteral("LastProject"), QString()); }

}  // namespace

class TestNetDoc : public QObject {
    Q_OBJECT

    std::unique_ptr<radiotest::TestMain> env;
    std::unique_ptr<QTemporaryDir> tmp;
    QString dir, startDir;
    std::unique_ptr<zk::MsgScript> messages;

    QString path(const QString &name) const { return dir + QLatin1Char('/') + name; }

private slots:
    void initTestCase()
    {
        startDir = QDir::currentPath();
        zk::setScreenPixels(QSize(1024, 768));
        env = std::make_unique<radiotest::TestMain>();
    }
    void cleanupTestCase()
    {
        env.reset();
        zk::setScreenPixels(QSize());
        QDir::setCurrent(startDir);
    }
    void init()
    {
        QDir::setCurrent(startDir);
        tmp = std::make_unique<QTemporaryDir>();
        dir = tmp->path();
        zk::newnet(false);
        zk::settings.lastproject = QStringLiteral("before.net");
        env->closeAll();
        env->Label2->clear();
        // Most documents here name a map that does not exist: its report is
        // answered here unless a case checks its messages itself.
        messages = std::make_unique<zk::MsgScript>();
    }
    void cleanup()
    {
        env->closeAll();
        messages.reset();
    }

    void defaultDocumentSavesToItsLength()
    {
        zk::netmodified = true;
        zk::MsgScript script;
        QVERIFY(zk::savenet(path("Doc.net")));
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(QFileInfo(path("Doc.net")).size(), 12893);
        QCOMPARE(readAll(path("Doc.net")), zk::netfilebytes(zk::currentdocument()));
        QCOMPARE(zk::settings.lastproject, path("Doc.net"));
        QCOMPARE(lastProjectSetting(), path("Doc.net"));
        QVERIFY(!zk::netmodified);
        QCOMPARE(env->Label2->text(), QStringLiteral("Doc.net a été enregistré"));
    }

    void openThenSaveIsByteIdentical()
    {
        // A map name that is not found stays as it is (and is reported), and
        // a picture listed by its full name comes back under that name.
        zk::NetDocument d = sample("absent.map");
        zk::elevgrid.redim(99, 79);
        zk::mapcorners = {{-74, -72, -72, -74}, {46, 46, 44, 44}, 0};
        QVERIFY(radiotest::writeMapPicture(path("relief.bmp")));
        d.pictures = {path("relief.bmp").toUtf8()};
        const QByteArray bytes = zk::netfilebytes(d);
        QVERIFY(writeAll(path("orig.net"), bytes));
        zk::MsgScript script;
        zk::opennet(path("orig.net"));
        QCOMPARE(script.texts().size(), 1);
        QVERIFY(script.texts()[0].startsWith(QStringLiteral("Carte introuvable : absent.map\r\n")));
        QCOMPARE(zk::picwindows().size(), 1);
        QVERIFY(zk::savenet(path("copy.net")));
        QCOMPARE(readAll(path("copy.net")), bytes);
    }

    void openReplacesTheTables()
    {
        zk::covset.rangemin = 9;
        QVERIFY(writeAll(path("s.net"), zk::netfilebytes(sample("absent.map"))));
        zk::netmodified = true;
        zk::opennet(path("s.net"));
        QCOMPARE(zk::fixedText(zk::units[2].name), QStringLiteral("Deuxième"));
        QCOMPARE(zk::systems[5].power, 50.0f);
        QCOMPARE(zk::nets[3].member[0], uint8_t(130));
        QCOMPARE(zk::covset.rangemax, 42.0f);
        QCOMPARE(zk::covset.rangemin, 0.0f);  // the whole record is replaced
        QCOMPARE(zk::fixedText(zk::covset.antfile), QStringLiteral("dipole.ant"));
        QCOMPARE(zk::netheight(3, 4), 6.5f);  // element 77 = (3 - 1) + 25 (4 - 1)
        QCOMPARE(zk::uniticon[10], uint8_t(3));
        QCOMPARE(zk::uniticon[11], uint8_t(255));
        QCOMPARE(zk::mapfile, QStringLiteral("absent.map"));
        QVERIFY(!zk::netmodified);
        // The file's folder is the current one.
        QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(dir).canonicalFilePath());
    }

    void nameWithQuotesKeepsItsCase()
    {
        QVERIFY(writeAll(path("Test.NET"), zk::netfilebytes(sample("absent.map"))));
        const QString quoted = QStringLiteral("  \"") + path("Test.NET") + QStringLiteral("\"  ");
        zk::opennet(quoted);
        QCOMPARE(zk::settings.lastproject, path("Test.NET"));
        QCOMPARE(lastProjectSetting(), path("Test.NET"));
        QCOMPARE(zk::units[2].lon, 4.0f);
        // A name given in another case finds the file all the same.
        zk::newnet(false);
        zk::opennet(path("test.net"));
        QCOMPARE(zk::units[2].lon, 4.0f);
        QCOMPARE(zk::settings.lastproject, path("test.net"));
    }

    void relativeNameStillNamesTheFileAfterwards()
    {
        QVERIFY(QDir(dir).mkdir(QStringLiteral("Sub")));
        QVERIFY(writeAll(path("Sub/rel.net"), zk::netfilebytes(sample("absent.map"))));
        QDir::setCurrent(dir);
        zk::opennet(QStringLiteral("Sub/rel.net"));
        QCOMPARE(zk::units[2].lon, 4.0f);
        QCOMPARE(zk::settings.lastproject, path("Sub/rel.net"));
        QVERIFY(QFileInfo::exists(zk::settings.lastproject));
        QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(path("Sub")).canonicalFilePath());
        // A name that is not read stays as given.
        zk::opennet(QStringLiteral("other/none.net"));
        QCOMPARE(zk::settings.lastproject, QStringLiteral("other/none.net"));
    }

    void missingFileOrOtherNameIsNotRead_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << QStringLiteral("nothere.net");
        QTest::newRow("not net") << QStringLiteral("s.txt");
        QTest::newRow("first start") << QStringLiteral("Default.net");
    }
    void missingFileOrOtherNameIsNotRead()
    {
        QFETCH(QString, name);
        QVERIFY(writeAll(path("s.txt"), zk::netfilebytes(sample("absent.map"))));
        zk::units[5].lon = 7;
        zk::netmodified = true;
        zk::MsgScript script;
        zk::opennet(path(name));
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(zk::units[5].lon, 7.0f);
        QCOMPARE(zk::settings.lastproject, path(name));
        QCOMPARE(lastProjectSetting(), path(name));
        QVERIFY(!zk::netmodified);
    }

    void unreadableFileLeavesTheDocument()
    {
        QVERIFY(QDir(dir).mkdir(QStringLiteral("folder.net")));
        zk::units[5].lon = 7;
        zk::netmodified = true;
        zk::MsgScript script;
        zk::opennet(path("folder.net"));
        QCOMPARE(script.texts(), QStringList{path("folder.net") + QStringLiteral(" impossible à ouvrir")});
        QCOMPARE(zk::units[5].lon, 7.0f);
        QCOMPARE(zk::settings.lastproject, QStringLiteral("before.net"));
        QVERIFY(zk::netmodified);

        if (::geteuid() != 0) {
            QVERIFY(writeAll(path("locked.net"), zk::netfilebytes(sample("absent.map"))));
            QFile::setPermissions(path("locked.net"), QFileDevice::Permissions());
            script.clear();
            zk::opennet(path("locked.net"));
            QCOMPARE(script.texts(), QStringList{path("locked.net") + QStringLiteral(" impossible à ouvrir")});
            QCOMPARE(zk::units[5].lon, 7.0f);
            QFile::setPermissions(path("locked.net"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }

        // A file of which nothing can be read: an empty one.
        QVERIFY(writeAll(path("empty.net"), QByteArray()));
        script.clear();
        zk::opennet(path("empty.net"));
        QCOMPARE(script.shown().size(), 1);
        QVERIFY(script.texts()[0].startsWith(path("empty.net") + QStringLiteral(" est endommagé")));
        QCOMPARE(zk::units[5].lon, 7.0f);
        QCOMPARE(zk::settings.lastproject, QStringLiteral("before.net"));
    }

    void cutFileOpensWhatCouldBeRead()
    {
        const QByteArray bytes = zk::netfilebytes(sample("absent.map"));
        // Cut in the middle of network 11.
        const int cut = zk::kNetsAt + 10 * zk::kNetRecordBytes + 60;
        QVERIFY(writeAll(path("cut.net"), bytes.left(cut)));
        zk::nets[20].fmin = 999;
        zk::mapfile = QStringLiteral("kept.map");
        zk::covset.rangemax = 77;
        zk::uniticon[10] = 9;
        zk::MsgScript script;
        zk::opennet(path("cut.net"));
        QCOMPARE(script.shown().size(), 1);
        QCOMPARE(script.shown()[0].flags, zk::mbExclamation);
        QCOMPARE(script.texts()[0], path("cut.net") + QStringLiteral(" est endommagé : fin de fichier inattendue à l'octet %1.\r\n"
                                                                     "Ce qui a pu être lu a été ouvert.")
                                                          .arg(zk::kNetsAt + 10 * zk::kNetRecordBytes));
        QCOMPARE(zk::fixedText(zk::units[2].name), QStringLiteral("Deuxième"));
        QCOMPARE(zk::systems[5].power, 50.0f);
        QCOMPARE(zk::nets[3].member[0], uint8_t(130));
        // What lies beyond the cut: a new document's records, the coverage
        // settings and the map name as they were, no heights, icon 0.
        QCOMPARE(zk::fixedText(zk::nets[11].name), QStringLiteral("Réseau 11"));
        QCOMPARE(zk::nets[20].fmin, 144.0f);
        QCOMPARE(zk::mapfile, QStringLiteral("kept.map"));
        QCOMPARE(zk::covset.rangemax, 77.0f);
        QCOMPARE(zk::uniticon[10], uint8_t(0));
        QCOMPARE(zk::settings.lastproject, path("cut.net"));
        QVERIFY(!zk::netmodified);
    }

    void badLengthOpensWhatCameBefore()
    {
        QByteArray bytes = zk::netfilebytes(sample("absent.map"));
        bytes[zk::kMapNameAt] = char(0xFF);
        bytes[zk::kMapNameAt + 1] = char(0x7F);
        QVERIFY(writeAll(path("bad.net"), bytes));
        zk::mapfile = QStringLiteral("kept.map");
        zk::MsgScript script;
        zk::opennet(path("bad.net"));
        QCOMPARE(script.texts(), QStringList{path("bad.net") + QStringLiteral(" est endommagé : longueur incorrecte à l'octet 7828.\r\n"
                                                                               "Ce qui a pu être lu a été ouvert.")});
        QCOMPARE(zk::covset.rangemax, 42.0f);
        QCOMPARE(zk::mapfile, QStringLiteral("kept.map"));
        QCOMPARE(zk::units[2].lon, 4.0f);
    }

    void oldLayoutConverts()
    {
        zk::NetDocument d = sample("vieux.map");
        d.units[0].lon = 73.5f;  // west-positive in the old layout
        d.units[0].lat = 45;
        QByteArray bytes;
        bytes += char(d.mapfile.size());
        bytes += char(0);
        bytes += d.mapfile;
        for (const zk::UnitRecord &u : d.units) bytes += zk::packunit(u);
        for (const zk::SystemRecord &s : d.systems) bytes += zk::packsystem(s);
        for (const zk::NetRecord &n : d.nets) bytes += zk::packnet(n);
        QVERIFY(writeAll(path("old.net"), bytes));
        zk::covset.rangemax = 33;
        zk::uniticon[10] = 4;
        zk::netheight(3, 4) = 9;
        zk::MsgScript script;
        zk::opennet(path("old.net"));
        // The only message: the map it names is not there.
        QCOMPARE(script.texts().size(), 1);
        QVERIFY(script.texts()[0].startsWith(QStringLiteral("Carte introuvable : vieux.map\r\n")));
        QCOMPARE(zk::units[1].lon, -73.5f);
        QCOMPARE(zk::units[2].lon, -4.0f);
        QCOMPARE(zk::units[3].lon, 0.0f);
        QVERIFY(!std::signbit(zk::units[3].lon));
        QCOMPARE(zk::uniticon[10], uint8_t(0));
        QCOMPARE(zk::netheight(3, 4), 0.0f);
        QCOMPARE(zk::covset.rangemax, 33.0f);
        QCOMPARE(zk::mapfile, QStringLiteral("vieux.map"));
        QCOMPARE(zk::nets[3].member[0], uint8_t(130));
        // The next save writes the current layout.
        QVERIFY(zk::savenet(path("new.net")));
        QCOMPARE(readAll(path("new.net")).left(4), QByteArray("\x00\x00\xFA\x44", 4));
    }

    // The map of a network file saved in another folder, the program then
    // started on it from a third folder: found where it was, or beside the
    // network file; found nowhere, it is reported by name and no link is
    // computed over the flat grid that stands in for it.
    void mapOfANetworkSavedElsewhere_data()
    {
        QTest::addColumn<QString>("where");  // where the map lies when the network is opened again
        QTest::newRow("where it was") << "A";
        QTest::newRow("beside the network file") << "B";
        QTest::newRow("nowhere") << "";
    }
    void mapOfANetworkSavedElsewhere()
    {
        QFETCH(QString, where);
        for (const char *d : {"A", "B", "C"}) QVERIFY(QDir(dir).mkdir(QLatin1String(d)));
        const QByteArray map = reliefMap();
        QVERIFY(writeAll(path("A/relief.map"), map));
        QVERIFY(writeAll(path("A/first.net"), zk::netfilebytes(sample("relief.map"))));
        zk::newnet(false);
        // Opened from its own folder (as a program started there does), then
        // saved in another one.
        QDir::setCurrent(path("A"));
        zk::MsgScript quiet;
        zk::opennet(QStringLiteral("first.net"));
        QVERIFY(quiet.shown().isEmpty());
        QCOMPARE(zk::elevgrid.get(10, 10), int16_t(110));
        QVERIFY(zk::savenet(path("B/mynet.net")));
        if (where == QLatin1String("B")) QVERIFY(QFile::rename(path("A/relief.map"), path("B/relief.map")));
        else if (where.isEmpty()) QVERIFY(QFile::remove(path("A/relief.map")));

        zk::newnet(false);
        QDir::setCurrent(path("C"));
        zk::MsgScript script;
        zk::opennet(path("B/mynet.net"));
        if (!where.isEmpty()) {
            QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(" | ")));
            QCOMPARE(QFileInfo(zk::mapfile).canonicalFilePath(), QFileInfo(path(where + "/relief.map")).canonicalFilePath());
            QCOMPARE(zk::elevgrid.nx(), 100);
            QCOMPARE(zk::elevgrid.get(10, 10), int16_t(110));
            QVERIFY(zk::getprofile(1, 2) > 2);
            QVERIFY(zk::profmin >= 100);  // terrain, not the flat 0 m grid
            QVERIFY(zk::checksweep(10, 0, 360, 1).isEmpty());
            return;
        }
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Carte introuvable : ") + path("A/relief.map") +
                                             QStringLiteral("\r\nCherchée aussi à côté de ") + path("B/mynet.net") +
                                             QStringLiteral(" et dans le dossier du programme.\r\n"
                                                            "Les liaisons ne sont pas calculées sans carte.")});
        QCOMPARE(script.shown()[0].flags, int(zk::mbExclamation | zk::mbOK));
        // The name is kept for the next save; the flat grid gives no link.
        QCOMPARE(zk::mapfile, path("A/relief.map"));
        QCOMPARE(zk::elevgrid.nx(), 1024);
        QCOMPARE(zk::getprofile(1, 2), int16_t(0));
        QCOMPARE(zk::linkdistance(1, 2), -1.0);
        QCOMPARE(zk::checksweep(10, 0, 360, 1), QStringLiteral("Pas de carte en mémoire."));
        // A map opened afterwards is terrain again.
        QVERIFY(writeAll(path("C/other.map"), map));
        QVERIFY(zk::openmap(path("C/other.map")));
        QVERIFY(zk::getprofile(1, 2) > 2);
    }

    void mapFileIsNotRead()
    {
        QByteArray bytes("\x00\x40\x9C\x45", 4);
        bytes += QByteArray(100, '\x07');
        QVERIFY(writeAll(path("map.net"), bytes));
        zk::units[1].lon = 2;
        zk::units[1].lat = 48;
        zk::units[2].lon = 4;
        zk::units[2].lat = 50;
        zk::elevgrid.redim(10, 10);
        zk::elevgrid.at(3, 3) = 100;
        zk::MsgScript script;
        zk::opennet(path("map.net"));
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(zk::units[1].lon, 2.0f);
        QCOMPARE(zk::fixedText(zk::units[1].name), QStringLiteral("Station 01"));
        QCOMPARE(zk::settings.lastproject, path("map.net"));
        QCOMPARE(zk::mapset.lon, 3.0f);
        QCOMPARE(zk::mapset.lat, 49.0f);
        QCOMPARE(zk::elevgrid.nx(), 1024);
        QCOMPARE(zk::elevgrid.get(3, 3), int16_t(0));
    }

    void mapIsFittedToThePlacedUnits_data()
    {
        QTest::addColumn<QList<QPointF>>("placed");
        QTest::addColumn<float>("lon");
        QTest::addColumn<float>("lat");
        QTest::addColumn<double>("size");
        const double twoPlaced = 120 * std::max(2.0, 2 * std::cos(49 * 3.14159265358979 / 180) * 768 / 1024);
        QTest::newRow("two") << QList<QPointF>{{2, 48}, {4, 50}} << 3.0f << 49.0f << twoPlaced;
        QTest::newRow("zeros ignored") << QList<QPointF>{{2, 48}, {4, 50}, {0, 12}, {12, 0}} << 3.0f << 49.0f << twoPlaced;
        QTest::newRow("wide") << QList<QPointF>{{-80, 45}, {-70, 46}} << -75.0f << 45.5f
                              << 120 * 10 * std::cos(45.5 * 3.14159265358979 / 180) * 0.75;
        QTest::newRow("no positions") << QList<QPointF>{{2, 48}, {4, 50}, {qQNaN(), 45}, {1e30, 45}, {5, -91}} << 3.0f << 49.0f
                                      << twoPlaced;
        QTest::newRow("one: size kept") << QList<QPointF>{{5, 45}} << 5.0f << 45.0f << 200.0;
        QTest::newRow("none: all kept") << QList<QPointF>{} << -73.0f << 45.0f << 200.0;
    }
    void mapIsFittedToThePlacedUnits()
    {
        QFETCH(QList<QPointF>, placed);
        QFETCH(float, lon);
        QFETCH(float, lat);
        QFETCH(double, size);
        for (int i = 0; i < placed.size(); ++i) {
            zk::units[i + 3].lon = float(placed[i].x());
            zk::units[i + 3].lat = float(placed[i].y());
        }
        zk::units[20].enabled = 0;  // disabled units count too
        zk::units[20].lon = float(placed.isEmpty() ? 0 : placed[0].x());
        zk::units[20].lat = float(placed.isEmpty() ? 0 : placed[0].y());
        zk::mapset.lon = -73;
        zk::mapset.lat = 45;
        zk::mapset.size = 200;
        zk::fitmaptounits(zk::screenWidthTwips(), zk::screenHeightTwips());
        QCOMPARE(zk::mapset.lon, lon);
        QCOMPARE(zk::mapset.lat, lat);
        QVERIFY2(std::fabs(zk::mapset.size - size) < 1e-3, qPrintable(QString::number(zk::mapset.size)));
    }

    void picturesListedButNotTheWorldMap()
    {
        zk::elevgrid.redim(49, 39);
        zk::mapcorners = {{-74, -72, -72, -74}, {46, 46, 44, 44}, 0};
        QVERIFY(radiotest::writeMapPicture(path("Relief.bmp")));
        zk::frmPic *a = zk::openpicture(path("Relief.bmp"), 2);
        QVERIFY(a);
        a->Filename = QStringLiteral("  ") + path("Relief.bmp") + QStringLiteral(" ");
        zk::frmPic *world = zk::openpicture(QString(), 2);
        QVERIFY(world);
        world->setWindowTitle(QStringLiteral("Mappemonde"));
        QVERIFY(zk::savenet(path("pics.net")));
        zk::NetDocument back;
        zk::readnetfile(readAll(path("pics.net")), back);
        QCOMPARE(back.pictures, QList<QByteArray>{path("Relief.bmp").toUtf8()});
    }

    void nameNotEndingInNetIsNotSaved()
    {
        zk::netmodified = true;
        zk::MsgScript script;
        QVERIFY(!zk::savenet(path("doc.txt")));
        QCOMPARE(script.texts(), QStringList{path("doc.txt") + QStringLiteral(" impossible à enregistrer")});
        QCOMPARE(script.shown()[0].flags, zk::mbExclamation);
        QVERIFY(!QFile::exists(path("doc.txt")));
        QVERIFY(zk::netmodified);
        QCOMPARE(zk::settings.lastproject, QStringLiteral("before.net"));
        QVERIFY(env->Label2->text().isEmpty());
    }

    void failedSaveChangesNothing()
    {
        zk::netmodified = true;
        zk::MsgScript script;
        QVERIFY(!zk::savenet(path("missing/folder/doc.net")));
        QCOMPARE(script.texts(), QStringList{path("missing/folder/doc.net") + QStringLiteral(" impossible à enregistrer")});
        QVERIFY(zk::netmodified);
        QCOMPARE(zk::settings.lastproject, QStringLiteral("before.net"));

        if (::geteuid() != 0) {
            QVERIFY(writeAll(path("ro.net"), QByteArray("old content")));
            QFile::setPermissions(path("ro.net"), QFileDevice::ReadOwner);
            script.clear();
            QVERIFY(!zk::savenet(path("ro.net")));
            QCOMPARE(script.shown().size(), 1);
            QCOMPARE(readAll(path("ro.net")), QByteArray("old content"));
            QFile::setPermissions(path("ro.net"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
    }

    void savingOverALongerFileShortensIt()
    {
        QVERIFY(writeAll(path("long.net"), QByteArray(50000, 'x')));
        QVERIFY(zk::savenet(path("long.net")));
        QCOMPARE(QFileInfo(path("long.net")).size(), 12893);
    }
};

QTEST_MAIN(TestNetDoc)
#include "test_netdoc.moc"
