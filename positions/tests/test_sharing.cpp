// Sharing positions over UDP with real sockets on the loopback interface of
// a network namespace of the test's own (tests/netns/in-netns.sh):
// the module against a plain socket of the test, and against the module in
// a second process; malformed datagrams, our own echo, the monitor, the
// lights and the status texts of each kind of destination.
#include <QElapsedTimer>
#include <QLabel>
#include <QNetworkDatagram>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <cmath>
#include <cstring>
#include <memory>

#include "app/mainwindow.h"
#include "base/controls.h"
#include "base/settings.h"
#include "posenv.h"
#include "positions/frmDebug.h"
#include "positions/livestate.h"
#include "positions/schedule.h"
#include "positions/sharing.h"
#include "radio/radiodata.h"
#include "radio/radiohooks.h"

using namespace zk;
using namespace zk::positions;

namespace {

// A datagram from its text, "~" standing for the degree sign; the name
// field is blank-padded to the full 46 bytes.
QByteArray dg(const char *text)
{
    QByteArray b(text);
    b.replace("~", "\xB0");
    if (b.size() < 46) b.append(QByteArray(46 - b.size(), ' '));
    return b;
}

const QByteArray kUnit5 = dg("05 002~20'30\"E 46~10'05\"N Mobile cinq        ");

}  // namespace

class TestSharing : public QObject {
    Q_OBJECT

    std::unique_ptr<frmMain> main_;
    QString group_;
    quint16 port_ = 0;
    std::unique_ptr<QUdpSocket> peer_;
    int drawn_ = 0;

    // Sends from the test's own socket to the group on the loopback.
    void peersend(const QByteArray &b, const QHostAddress &to = QHostAddress())
    {
        peer_->writeDatagram(b, to.isNull() ? QHostAddress(group_) : to, port_);
    }
    // Waits for the next datagram and applies it.
    bool receive()
    {
        bool r = false;
        postest::waitfor([&] { return (r = receiveposition()); }, 3000);
        return r;
    }
    void share(int32_t flags, const QString &addr)
    {
        settings.gpsflags = flags;
        settings.gpsaddr = addr;
        settings.gpsport = port_;
        settings.gpsttl = 1;
        openudp(main_->label2());
    }

private slots:
    void initTestCase()
    {
        group_ = postest::testgroup();
        port_ = postest::testport();
        const QString where = postest::ownnetnamespace();
        if (!where.isEmpty()) QFAIL(qPrintable(QStringLiteral("sharing is tested only inside a network namespace: ") + where));
        const QString why = postest::loopbackmulticast(group_, port_);
        if (!why.isEmpty()) QFAIL(qPrintable(QStringLiteral("multicast on the loopback is not available: ") + why));
        writesetting(QStringLiteral("GPSinterface"), QStringLiteral("lo"));
        main_ = std::make_unique<frmMain>();
        livehooks.drawunit = [this](int) { ++drawn_; };
        livehooks.clock = [] { return 1000.0; };
        startwinsock();
        peer_ = std::make_unique<QUdpSocket>();
        peer_->bind(QHostAddress(QHostAddress::AnyIPv4), 0);
        peer_->setMulticastInterface(QNetworkInterface::interfaceFromName(QStringLiteral("lo")));
    }

    void init()
    {
        for (int i = 1; i <= kUnits; ++i) units[i] = defaultunit(i);
        settings.gpsunit = 1;
        redrawneeded = false;
        drawn_ = 0;
        share(kFlagShare | kFlagSend, group_);
        QVERIFY(udpopen());
    }

    void cleanup()
    {
        if (frmDebug *m = monitorwindow()) delete m;
        monitoron = false;
        closeudp();
    }

    void cleanupTestCase()
    {
        stopwinsock();
        resetlivehooks();
        main_.reset();
    }

    void receivedPositionMovesTheUnit()
    {
        peersend(kUnit5);
        QVERIFY(receive());
        const UnitRecord &u = units[5];
        QCOMPARE(u.lon, float(2 + 20 / 60.0 + 30 / 3600.0));
        QCOMPARE(u.lat, float(46 + 10 / 60.0 + 5 / 3600.0));
        QCOMPARE(QByteArray(u.name, 20), QByteArray("Mobile cinq         "));
        QCOMPARE(u.enabled, int16_t(-1));
        QVERIFY(redrawneeded);
        QCOMPARE(drawn_, 1);
        QVERIFY(main_->label2()->text().startsWith(QStringLiteral("Rx [127.0.0.1] ")));
        QVERIFY(main_->label2()->text().endsWith(QStringLiteral(" Mobile cinq")));
        QCOMPARE(main_->shape2(kLightRx)->fillColor(), kLightFlash);

        // The same position again: name and enabled mark applied, no redraw.
        redrawneeded = false;
        units[5].enabled = 0;
        std::memcpy(units[5].name, "Autre nom           ", 20);
        peersend(kUnit5);
        QVERIFY(receive());
        QVERIFY(!redrawneeded);
        QCOMPARE(drawn_, 1);
        QCOMPARE(units[5].enabled, int16_t(-1));
        QCOMPARE(QByteArray(units[5].name, 20), QByteArray("Mobile cinq         "));
    }

    void deferredRedrawDrawsNothingNow()
    {
        settings.gpsflags |= kFlagDeferred;
        peersend(kUnit5);
        QVERIFY(receive());
        QVERIFY(redrawneeded);
        QCOMPARE(drawn_, 0);
    }

    void badDatagramsChangeNothingButAreListed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("short") << kUnit5.left(45);
        QTest::newRow("my own unit") << dg("01 002~20'30\"E 46~10'05\"N Moi                 ");
        QTest::newRow("unit 51") << dg("51 002~20'30\"E 46~10'05\"N Mobile              ");
        QTest::newRow("unit 00") << dg("00 002~20'30\"E 46~10'05\"N Mobile              ");
        QTest::newRow("letters for digits") << dg("05 0x2~20'30\"E 46~10'05\"N Mobile              ");
        QTest::newRow("minutes 75") << dg("05 002~75'30\"E 46~10'05\"N Mobile              ");
        QTest::newRow("latitude 95") << dg("05 002~20'30\"E 95~10'05\"N Mobile              ");
        QTest::newRow("control byte in name") << dg("05 002~20'30\"E 46~10'05\"N Mob\nle             ");
        QTest::newRow("garbage") << QByteArray(300, '\xff');
    }

    void badDatagramsChangeNothingButAreListed()
    {
        QFETCH(QByteArray, bytes);
        showmonitor();
        const UnitRecord before = units[5];
        const UnitRecord mine = units[1];
        peersend(bytes);
        QVERIFY(receive());
        QVERIFY(std::memcmp(&units[5], &before, sizeof before) == 0);
        QVERIFY(std::memcmp(&units[1], &mine, sizeof mine) == 0);
        QVERIFY(!redrawneeded);
        QCOMPARE(main_->shape2(kLightRx)->fillColor(), kLightFlash);
        QListWidget *list = monitorwindow()->List1;
        QCOMPARE(list->count(), 1);
        QVERIFY(list->item(0)->text().contains(QStringLiteral("[127.0.0.1] ")));
        QVERIFY(!list->item(0)->text().contains(QLatin1Char('\n')));
    }

    void ownEchoKeepsTheExactPosition()
    {
        // Unit 3, moved here to a position finer than whole seconds, is sent
        // to the group; the group sends it back to us rounded.
        units[3].lon = 7.123456f;
        units[3].lat = -12.654321f;
        sendposition(3);
        QCOMPARE(main_->shape2(kLightTx)->fillColor(), kLightFlash);
        QVERIFY(receive());
        QCOMPARE(units[3].lon, 7.123456f);
        QCOMPARE(units[3].lat, -12.654321f);
        QVERIFY(!redrawneeded);

        // Another station with the same rounded position changes nothing
        // either; one with another position moves the unit.
        QByteArray same = positiondatagram(3, units[3]);
        peersend(same);
        QVERIFY(receive());
        QCOMPARE(units[3].lon, 7.123456f);
        units[9].lon = 7.2f;
        units[9].lat = -12.6f;
        QByteArray other = positiondatagram(3, units[9]);
        peersend(other);
        QVERIFY(receive());
        QCOMPARE(units[3].lon, float(7 + 12 / 60.0));
        QVERIFY(redrawneeded);
    }

    void monitorKeepsThe13Latest()
    {
        showmonitor();
        frmDebug *m = monitorwindow();
        QVERIFY(m);
        QCOMPARE(m->windowTitle(), QStringLiteral("Moniteur du canal Multicast"));
        showmonitor();
        QCOMPARE(monitorwindow(), m);
        main_->label2()->setText(QStringLiteral("avant"));
        for (int i = 1; i <= 14; ++i) {
            QByteArray b = kUnit5;
            b.replace(26, 2, QByteArray::number(10 + i));
            peersend(b);
            QVERIFY(receive());
        }
        QCOMPARE(m->List1->count(), kMonitorLines);
        QVERIFY(m->List1->item(0)->text().mid(26, 2) == QStringLiteral("12"));
        QVERIFY(m->List1->item(12)->text().mid(26, 2) == QStringLiteral("24"));
        QCOMPARE(m->List1->currentRow(), 12);
        QCOMPARE(main_->label2()->text(), QStringLiteral("avant"));
        m->close();
        QVERIFY(!monitoron);
    }

    void notSharingDropsEverything()
    {
        share(kFlagSend, group_);
        QVERIFY(udpopen());
        QVERIFY(main_->label3(kLightTx)->isVisibleTo(main_.get()));
        QVERIFY(!main_->label3(kLightRx)->isVisibleTo(main_.get()));
        for (int i = 0; i < 3; ++i) peersend(kUnit5);
        QVERIFY(postest::waitfor([&] { return udpsocket()->hasPendingDatagrams(); }));
        QTest::qWait(50);
        QVERIFY(!receiveposition());
        QVERIFY(!udpsocket()->hasPendingDatagrams());
        QCOMPARE(units[5].lon, 0.0f);
    }

    void lightsFollowTheSocket()
    {
        QVERIFY(main_->label3(kLightTx)->isVisibleTo(main_.get()));
        QVERIFY(main_->shape2(kLightRx)->isVisibleTo(main_.get()));
        QCOMPARE(sched.ledtime[kLightTx], 1001.0);
        closeudp();
        QVERIFY(!udpopen());
        for (int i : {kLightTx, kLightRx}) {
            QVERIFY(!main_->label3(i)->isVisibleTo(main_.get()));
            QVERIFY(!main_->shape2(i)->isVisibleTo(main_.get()));
            QCOMPARE(main_->shape2(i)->fillColor(), kLightClosed);
            QCOMPARE(sched.ledtime[size_t(i)], 0.0);
        }
        sendposition(1);  // no socket: nothing happens
        QVERIFY(!receiveposition());
    }

    void broadcastShowsNoLights()
    {
        share(kFlagShare | kFlagSend, QStringLiteral("255.255.255.255"));
        QVERIFY(udpopen());
        QCOMPARE(main_->label2()->text(), QStringLiteral("Prêt à recevoir ..."));
        QVERIFY(!main_->label3(kLightTx)->isVisibleTo(main_.get()));
        QVERIFY(!main_->label3(kLightRx)->isVisibleTo(main_.get()));
    }

    void unicastRefusesTheGroupButWorks()
    {
        share(kFlagShare, QStringLiteral("127.0.0.1"));
        QVERIFY(udpopen());
        QCOMPARE(main_->label2()->text(), QStringLiteral("Groupe inaccessible, essayer le mode unicast."));
        peersend(kUnit5, QHostAddress(QStringLiteral("127.0.0.1")));
        QVERIFY(receive());
        QCOMPARE(units[5].lat, float(46 + 10 / 60.0 + 5 / 3600.0));
    }

    // A port outside 1..65535 is the key's default 3500, never the number
    // wrapped to 16 bits (70000 would be 4464, 0 a random port).
    void portOutsideItsRange_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<int>("bound");
        QTest::newRow("70000") << 70000 << 3500;
        QTest::newRow("65536") << 65536 << 3500;
        QTest::newRow("0") << 0 << 3500;
        QTest::newRow("-1") << -1 << 3500;
        QTest::newRow("-65535") << -65535 << 3500;
        QTest::newRow("65535") << 65535 << 65535;
        QTest::newRow("1") << 1 << 1;
    }
    void portOutsideItsRange()
    {
        QFETCH(int, setting);
        QFETCH(int, bound);
        settings.gpsport = setting;
        openudp(main_->label2());
        QVERIFY(udpopen());
        QCOMPARE(int(udpsocket()->localPort()), bound);
        // Received on that port, and sent to it.
        peer_->writeDatagram(kUnit5, QHostAddress(group_), quint16(bound));
        QVERIFY(receive());
        QCOMPARE(units[5].lat, float(46 + 10 / 60.0 + 5 / 3600.0));
        QUdpSocket listener;
        QVERIFY(listener.bind(QHostAddress(QHostAddress::AnyIPv4), quint16(bound),
                              QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint));
        QVERIFY(listener.joinMulticastGroup(QHostAddress(group_), QNetworkInterface::interfaceFromName(QStringLiteral("lo"))));
        units[4].lon = 1.5f;
        units[4].lat = 2.5f;
        sendposition(4);
        QVERIFY(postest::waitfor([&] { return listener.hasPendingDatagrams(); }));
        QCOMPARE(listener.receiveDatagram(1536).data(), positiondatagram(4, units[4]));
    }

    void hostNames()
    {
        QStringList asked;
        livehooks.resolve = [&](const QString &n) {
            asked << n;
            return n == QLatin1String("groupe.local") ? group_ : QString();
        };
        share(kFlagShare, QStringLiteral("nulle.part"));
        QVERIFY(!udpopen());
        QCOMPARE(main_->label2()->text(), QStringLiteral("Recherche de nulle.part...Erreur!"));
        share(kFlagShare, QStringLiteral("groupe.local"));
        QVERIFY(udpopen());
        QCOMPARE(main_->label2()->text(), QStringLiteral("Prêt à recevoir ..."));
        QCOMPARE(asked, (QStringList{QStringLiteral("nulle.part"), QStringLiteral("groupe.local")}));
        peersend(kUnit5);
        QVERIFY(receive());
        QCOMPARE(units[5].lon, float(2 + 20 / 60.0 + 30 / 3600.0));
        livehooks.resolve = [](const QString &) { return QString(); };
        resetlivehooks();
        livehooks.drawunit = [this](int) { ++drawn_; };
        livehooks.clock = [] { return 1000.0; };
        // The real look-up of a name from the hosts file.
        QCOMPARE(resolvehost(QStringLiteral(" localhost ")), QStringLiteral("127.0.0.1"));
    }

    // "localhost" names the loopback whatever the resolver says (RFC 6761):
    // with a resolver that knows no name at all, as on a system without a
    // hosts file, the loopback names are still 127.0.0.1 and the resolver is
    // never asked for them; other names still go to the resolver.
    void localhostWithoutResolver_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("asked");
        const QString lo = QStringLiteral("127.0.0.1");
        QTest::newRow("plain") << QStringLiteral("localhost") << lo << QStringList();
        QTest::newRow("spaces") << QStringLiteral(" localhost ") << lo << QStringList();
        QTest::newRow("capitals") << QStringLiteral("LocalHost") << lo << QStringList();
        QTest::newRow("root dot") << QStringLiteral("LOCALHOST.") << lo << QStringList();
        QTest::newRow("under it") << QStringLiteral("poste.localhost") << lo << QStringList();
        QTest::newRow("under it, root dot") << QStringLiteral("a.b.Localhost.") << lo << QStringList();
        QTest::newRow("longer name") << QStringLiteral("localhost2") << QString() << QStringList{QStringLiteral("localhost2")};
        QTest::newRow("above it") << QStringLiteral("localhost.example") << QString()
                                  << QStringList{QStringLiteral("localhost.example")};
        QTest::newRow("ends alike") << QStringLiteral("mylocalhost") << QString() << QStringList{QStringLiteral("mylocalhost")};
        QTest::newRow("empty label") << QStringLiteral(".localhost") << QString() << QStringList{QStringLiteral(".localhost")};
    }

    void localhostWithoutResolver()
    {
        QFETCH(QString, name);
        QFETCH(QString, address);
        QFETCH(QStringList, asked);
        QStringList got;
        livehooks.resolve = [&](const QString &n) {
            got << n;
            return QString();
        };
        QCOMPARE(resolvehost(name), address);
        QCOMPARE(got, asked);
        // The sharing socket opens on the name as the user typed it.
        got.clear();
        share(kFlagShare, name);
        QCOMPARE(udpopen(), !address.isEmpty());
        QCOMPARE(got, asked);
        resetlivehooks();
        livehooks.drawunit = [this](int) { ++drawn_; };
        livehooks.clock = [] { return 1000.0; };
    }

    void withoutSocketLayer()
    {
        stopwinsock();
        share(kFlagShare, group_);
        QVERIFY(!udpopen());
        QCOMPARE(main_->label2()->text(), QStringLiteral("Echec d'initialisation de WinSock 2!"));
        startwinsock();
        QCOMPARE(main_->timer1()->interval(), 200);
        QVERIFY(main_->timer1()->isActive());
        main_->timer1()->stop();
    }

    void twoProcessesExchangePositions()
    {
        const QString peer = QCoreApplication::applicationDirPath() + QStringLiteral("/sharepeer");
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Me: unit 1 at 45.5 N 73.25 W; the peer: unit 2 at 48.1 N 11.5 E.
        settings.gpsunit = 1;
        units[1].lon = -73.25f;
        units[1].lat = 45.5f;
        p.start(peer, {group_, QString::number(port_), QStringLiteral("2"), QStringLiteral("11.5"),
                       QStringLiteral("48.1"), QStringLiteral("1"), QStringLiteral("-73.25"), QStringLiteral("45.5")});
        QVERIFY2(p.waitForStarted(5000), qPrintable(p.errorString()));
        QElapsedTimer t;
        t.start();
        bool got = false;
        while (t.elapsed() < 15000 && p.state() != QProcess::NotRunning) {
            sendposition(1);
            while (receiveposition()) {
            }
            got = got || (std::fabs(units[2].lon - 11.5) < 1 / 3600.0 && std::fabs(units[2].lat - 48.1) < 1 / 3600.0);
            QTest::qWait(100);
        }
        if (p.state() != QProcess::NotRunning) QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(got);
        QCOMPARE(fixedText(units[2].name), QStringLiteral("Pair 2"));
        QVERIFY(QString::fromLatin1(p.readAllStandardOutput()).startsWith(QStringLiteral("GOT -73.25")));
        // My own unit is never moved by datagrams.
        QCOMPARE(units[1].lon, -73.25f);
    }

    void radioSideSendsAtOnce()
    {
        // The radio side's immediate send goes through the installed hook.
        radiohooks.sendposition = [](int u) { sendposition(u); };
        units[4].lon = 1.5f;
        units[4].lat = 2.5f;
        radiohooks.sendposition(4);
        QVERIFY(postest::waitfor([] { return udpsocket()->hasPendingDatagrams(); }));
        const QNetworkDatagram d = udpsocket()->receiveDatagram(1536);
        QCOMPARE(d.data(), positiondatagram(4, units[4]));
    }
};

QTEST_MAIN(TestSharing)
#include "test_sharing.moc"
