// The start-up opens the network file of its command line, or else the
// last network file of the settings, with its map and pictures, and wires
// the picture windows' unit commands to the radio side.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/mainwindow.h"
#include "app/startup.h"
#include "base/settings.h"
#include "engine.h"
#include "map/mapdata.h"
#include "map/mapfile.h"
#include "msgbox.h"
#include "pictures/frmPic.h"
#include "pictures/pichooks.h"
#include "qtenv.h"
#include "radio/netfile.h"
#include "radio/radiodata.h"

namespace {

void clearStore()
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
    s.clear();
    s.sync();
}

// A map, its picture and a network file naming both, in the folder.
void writeDocument(const QString &dir)
{
    zk::elevgrid.redim(119, 89);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) zk::elevgrid.at(x, y) = int16_t(100 + x);
    zk::mapset = MapSettings{};
    zk::mapset.lon = -73;
    zk::mapset.lat = 45;
    zk::mapset.size = 20;
    zk::setcorners(zk::mapset);
    QFile m(dir + "/site.map");
    QVERIFY(m.open(QIODevice::WriteOnly));
    m.write(zk::mapfilebytes(zk::elevgrid, zk::mapset, zk::mapcorners));
    m.close();
    QVERIFY(radiotest::writeMapPicture(dir + "/site.bmp"));

    zk::NetDocument d;
    for (int i = 1; i <= zk::kUnits; ++i) d.units[size_t(i - 1)] = zk::defaultunit(i);
    for (int i = 1; i <= zk::kSystems; ++i) d.systems[size_t(i - 1)] = zk::defaultsystem(i);
    for (int i = 1; i <= zk::kNets; ++i) d.nets[size_t(i - 1)] = zk::defaultnet(i);
    d.units[0].lon = -73;
    d.units[0].lat = 45;
    d.units[0].elev = 160;
    zk::setFixedText(d.units[0].name, QStringLiteral("Centre"));
    d.mapfile = "site.map";
    d.pictures = {QByteArray("site.bmp")};
    QFile n(dir + "/Site.net");
    QVERIFY(n.open(QIODevice::WriteOnly));
    n.write(zk::netfilebytes(d));
}

}  // namespace

class TestStartupNet : public QObject {
    Q_OBJECT

    QString startDir;

    static zk::frmMain *start(const QString &tail)
    {
        zk::StartupOptions o;
        o.tail = tail;
        o.bannerSeconds = 0;
        return zk::Main(o);
    }

    void checkOpened(const QString &dir)
    {
        QCOMPARE(zk::fixedText(zk::units[1].name), QStringLiteral("Centre"));
        QCOMPARE(zk::elevgrid.nx(), 120);
        QCOMPARE(zk::elevgrid.get(5, 5), int16_t(105));
        const QList<zk::frmPic *> wins = zk::picwindows();
        QCOMPARE(wins.size(), 1);
        QVERIFY(wins[0]->Label4[1]->isVisible());
        QCOMPARE(zk::settings.lastproject.right(8), QStringLiteral("Site.net"));
        QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(dir).canonicalFilePath());
        QVERIFY(!zk::netmodified);
        QVERIFY(zk::pichooks.moveunit);
        QVERIFY(zk::pichooks.setcurunit);
    }

private slots:
    void initTestCase() { startDir = QDir::currentPath(); }
    void init()
    {
        QDir::setCurrent(startDir);
        clearStore();
        zk::settings = zk::AppSettings{};
        zk::engine::setLibraryName("libzelkor32.so");
    }
    void cleanup()
    {
        delete zk::mainform;
        QCoreApplication::processEvents();
        QDir::setCurrent(startDir);
    }

    void commandLineNetworkFile()
    {
        QTemporaryDir tmp;
        writeDocument(tmp.path());
        zk::MsgScript script;
        QVERIFY(start(QStringLiteral("\"") + tmp.path() + QStringLiteral("/Site.net\"")));
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join('|')));
        checkOpened(tmp.path());
        QCOMPARE(zk::readsetting(QStringLiteral("LastProject"), QString()), tmp.path() + QStringLiteral("/Site.net"));
    }

    void lastNetworkFileOfTheSettings()
    {
        QTemporaryDir tmp;
        writeDocument(tmp.path());
        zk::writesetting(QStringLiteral("LastProject"), tmp.path() + QStringLiteral("/Site.net"));
        zk::MsgScript script;
        QVERIFY(start(QString()));
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join('|')));
        checkOpened(tmp.path());
    }

    void pictureMoveOfAUnitGoesToTheRadioSide()
    {
        QTemporaryDir tmp;
        writeDocument(tmp.path());
        QVERIFY(start(tmp.path() + QStringLiteral("/Site.net")));
        zk::pichooks.setcurunit(1);
        QCOMPARE(zk::curunit, int16_t(1));
        zk::pichooks.moveunit(zk::mapcorners.lon[0], zk::mapcorners.lat[2]);  // the SW cell
        QCOMPARE(zk::units[1].elev, 100.0f);
        QVERIFY(zk::netmodified);
    }
};

QTEST_MAIN(TestStartupNet)
#include "test_startup_net.moc"
