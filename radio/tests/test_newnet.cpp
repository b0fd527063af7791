// The document reset: default units, systems and networks, the parts of the
// document that other subsystems own, the kept values, and new names.
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

#include "base/screen.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "pictures/covset.h"
#include "pictures/view3d.h"
#include "radio/radiodata.h"

class TestNewnet : public QObject {
    Q_OBJECT

    QString startDir;

private slots:
    void initTestCase()
    {
        startDir = QDir::currentPath();
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
        s.clear();
    }
    void init()
    {
        zk::setScreenPixels(QSize(1024, 768));
        zk::resetNewnetStateForTest();
        QDir::setCurrent(startDir);
    }
    void cleanup()
    {
        zk::setScreenPixels(QSize());
        QDir::setCurrent(startDir);
    }

    void defaultTables()
    {
        zk::units[7].lon = 3;
        zk::uniticon[4] = 9;
        zk::netheight(3, 10) = 25;
        zk::netmodified = true;
        zk::newnet(false);
        for (int i = 1; i <= 50; ++i) {
            const zk::UnitRecord &u = zk::units[i];
            QCOMPARE(zk::fixedText(u.name), QStringLiteral("Station %1").arg(i, 2, 10, QLatin1Char('0')));
            QCOMPARE(u.enabled, int16_t(-1));
            QCOMPARE(u.transparent, int16_t(0));
            QCOMPARE(u.color, 0xFFFFFFu);
            QCOMPARE(u.backcolor, 0u);
            QCOMPARE(u.lon, 0.0f);
            QCOMPARE(u.lat, 0.0f);
            QCOMPARE(u.elev, 0.0f);
            QCOMPARE(zk::uniticon[i], uint8_t(0));
        }
        for (int i = 1; i <= 25; ++i) {
            const zk::SystemRecord &s = zk::systems[i];
            QCOMPARE(zk::fixedText(s.name), QStringLiteral("Système %1").arg(i, 2, 10, QLatin1Char('0')));
            QCOMPARE(s.power, 10.0f);
            QCOMPARE(s.threshold, -107.0f);
            QCOMPARE(s.loss, 0.5f);
            QCOMPARE(s.gain, 2.0f);
            QCOMPARE(s.height, 2.0f);
        }
        for (int i = 1; i <= 25; ++i) {
            const zk::NetRecord &n = zk::nets[i];
            QCOMPARE(zk::fixedText(n.name), QStringLiteral("Réseau %1").arg(i, 2, 10, QLatin1Char('0')));
            QCOMPARE(n.topology, int16_t(256));
            QVERIFY(zk::netactive(n));
            QCOMPARE(zk::netkind(n), 0);
            QCOMPARE(n.fmin, 144.0f);
            QCOMPARE(n.fmax, 148.0f);
            QCOMPARE(n.polar, int16_t(1));
            QCOMPARE(n.eps, 15.0f);
            QCOMPARE(n.sigma, 0.005f);
            QCOMPARE(n.ns, 301.0f);
            QCOMPARE(n.climate, int16_t(5));
            QCOMPARE(n.statmode, int16_t(3));
            QCOMPARE(n.ptime, 50.0f);
            QCOMPARE(n.ploc, 50.0f);
            QCOMPARE(n.psit, 50.0f);
            QCOMPARE(n.maxretrans, int16_t(0));
            for (int j = 0; j < 50; ++j) {
                QCOMPARE(n.member[j], uint8_t(0));
                QCOMPARE(n.system[j], uint8_t(1));
            }
        }
        QCOMPARE(zk::netheight(3, 10), 0.0f);
        QCOMPARE(zk::linkstyle[0], uint8_t(175));
        QCOMPARE(zk::linkstyle[1], uint8_t(181));
        QCOMPARE(zk::linkstyle[2], uint8_t(129));
        QCOMPARE(zk::curunit, int16_t(1));
        QCOMPARE(zk::curnet, int16_t(1));
        QCOMPARE(zk::linka, int16_t(1));
        QCOMPARE(zk::linkb, int16_t(2));
        QCOMPARE(zk::linknet, int16_t(1));
        QVERIFY(!zk::netmodified);
    }

    void fixedNamesAreBlankPadded8BitText()
    {
        zk::newnet(false);
        const char *n = zk::systems[3].name;
        QCOMPARE(QByteArray(n, 30), QByteArray("Syst\xE8me 03") + QByteArray(20, ' '));
        QCOMPARE(QByteArray(zk::units[12].name, 20), QByteArray("Station 12") + QByteArray(10, ' '));
        // Too long a name is cut to the field; a NUL ends it.
        zk::setFixedText(zk::units[1].name, QStringLiteral("A name longer than twenty"));
        QCOMPARE(QByteArray(zk::units[1].name, 20), QByteArray("A name longer than t"));
        zk::units[1].name[3] = '\0';
        QCOMPARE(zk::fixedText(zk::units[1].name), QStringLiteral("A n"));
    }

    void otherPartsOfTheDocument()
    {
        zk::mapset.hmin = 123;
        zk::mapset.c1 = 1;
        zk::mapcorners.lon[0] = 7;
        zk::mapmodified = true;
        zk::covset.thrunit = 2;
        zk::covset.curvecolor = 0x123456;
        zk::covset.rangemin = 3.5f;
        zk::covset.viscolor = 0xFF00FF;
        zk::covset.rangemax = 500;
        zk::covset.surface = 0;
        zk::covset.curve = -1;
        zk::targetmode = 0;
        zk::netalt = 4500;
        zk::settings.lastproject = QStringLiteral("/x/keep.net");
        zk::newnet(false);
        // Map settings: only these fields.
        QCOMPARE(zk::mapset.lon, -73.0f);
        QCOMPARE(zk::mapset.lat, 45.0f);
        QCOMPARE(zk::mapset.size, 200.0f);
        QCOMPARE(zk::mapset.Mapmode, int16_t(5));
        QCOMPARE(zk::mapset.con, 30.0f);
        QCOMPARE(zk::mapset.bri, 70.0f);
        QCOMPARE(zk::mapset.light, 335.0f);
        QCOMPARE(zk::mapset.hmin, 123.0f);
        QCOMPARE(zk::mapset.c1, uint8_t(1));
        QCOMPARE(zk::mapcorners.lon[0], 7.0f);
        QVERIFY(zk::mapmodified);
        QCOMPARE(zk::mapfile, QStringLiteral("default.map"));
        // One grid cell per screen pixel, all zero.
        QCOMPARE(zk::elevgrid.ubound1(), 1023);
        QCOMPARE(zk::elevgrid.ubound2(), 767);
        QCOMPARE(zk::elevgrid.get(500, 300), int16_t(0));
        // Coverage: reset fields, kept fields.
        QCOMPARE(zk::covset.rangemax, 100.0f);
        QCOMPARE(zk::covset.azmin, 0.0f);
        QCOMPARE(zk::covset.azmax, 360.0f);
        QCOMPARE(zk::covset.azstep, 1.0f);
        QCOMPARE(zk::covset.antaz, 0.0f);
        QCOMPARE(QByteArray(zk::covset.antfile, 20), QByteArray(20, ' '));
        QCOMPARE(zk::covset.thrdbm, -107.0f);
        QCOMPARE(zk::covset.surface, int16_t(-1));
        QCOMPARE(zk::covset.surfcolor, 0x00FFFFu);
        QCOMPARE(zk::covset.curve, int16_t(0));
        QCOMPARE(zk::covset.sensorh, 2.0f);
        QCOMPARE(zk::covset.targeth, 2.0f);
        QCOMPARE(zk::covset.thrunit, int16_t(2));
        QCOMPARE(zk::covset.curvecolor, 0x123456u);
        QCOMPARE(zk::covset.rangemin, 3.5f);
        QCOMPARE(zk::covset.viscolor, 0xFF00FFu);
        QCOMPARE(zk::targetmode, int16_t(-1));
        // 3D view and flight values.
        QCOMPARE(zk::view3d.phi, 40.0f);
        QCOMPARE(zk::view3d.ofx, 512.0f);
        QCOMPARE(zk::netalt, 2000.0f);
        QCOMPARE(zk::flyfps, 3.0f);
        QCOMPARE(zk::flyspeed, 500.0f);
        QCOMPARE(zk::eyedist, 20.0f);
        // The start-up reset leaves the document's name alone.
        QCOMPARE(zk::settings.lastproject, QStringLiteral("/x/keep.net"));
    }

    void newNamesInTheStartupFolder()
    {
        QTemporaryDir first, elsewhere;
        QDir::setCurrent(first.path());
        zk::newnet(false);  // start-up: remembers the folder
        const QString folder = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        zk::newnet(true);
        QCOMPARE(zk::settings.lastproject, folder + QStringLiteral("/net1.net"));
        QCOMPARE(QDir::currentPath(), folder);
        QDir::setCurrent(elsewhere.path());
        zk::newnet(true);
        QCOMPARE(zk::settings.lastproject, folder + QStringLiteral("/net2.net"));
        QCOMPARE(QDir::currentPath(), folder);
    }

    void netdefaultsKeepsMembers()
    {
        zk::newnet(false);
        zk::NetRecord &n = zk::nets[4];
        n.topology = 2;  // mesh, not visible
        QVERIFY(!zk::netactive(n));
        n.member[0] = 128 | 1;
        n.system[0] = 7;
        n.maxretrans = 3;
        n.fmin = 400;
        n.climate = 2;
        zk::netdefaults(4);
        QCOMPARE(n.topology, int16_t(256));
        QCOMPARE(n.member[0], uint8_t(129));
        QCOMPARE(n.system[0], uint8_t(7));
        QCOMPARE(n.maxretrans, int16_t(3));
        QCOMPARE(n.fmin, 144.0f);
        QCOMPARE(n.climate, int16_t(5));
        QCOMPARE(zk::fixedText(n.name), QStringLiteral("Réseau 04"));
        n.topology = 258;
        QVERIFY(zk::netactive(n));
        QCOMPARE(zk::netkind(n), 2);
    }

    void tableIndicesAreChecked()
    {
        bool threw = false;
        try {
            (void)zk::units[51];
        } catch (const std::out_of_range &) {
            threw = true;
        }
        QVERIFY(threw);
        threw = false;
        try {
            (void)zk::netheight(26, 1);
        } catch (const std::out_of_range &) {
            threw = true;
        }
        QVERIFY(threw);
        // netheight: the network index varies fastest.
        zk::netheight.clear();
        zk::netheight(2, 3) = 11;
        QCOMPARE(zk::netheight.data()[(2 - 1) + 25 * (3 - 1)], 11.0f);
        zk::quality(25, 50, 50) = 99;
        QCOMPARE(zk::quality(25, 50, 50), uint8_t(99));
    }
};

QTEST_MAIN(TestNewnet)
#include "test_newnet.moc"
