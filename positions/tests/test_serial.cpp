// The serial GPS on a real pseudo-terminal pair made by socat: $GPRMC in,
// the simulated GPS's sentences out (decoded by gpsbabel), the log written
// and replayed fix by fix, and the channels that applying the settings
// opens, driven by the timer under a fake clock.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>

#include "app/mainwindow.h"
#include "base/controls.h"
#include "base/settings.h"
#include "msgbox.h"
#include "paths.h"
#include "posenv.h"
#include "positions/livepos.h"
#include "positions/livestate.h"
#include "positions/schedule.h"
#include "positions/serialgps.h"
#include "positions/sharing.h"
#include "radio/radiodata.h"
#include "radio/radiohooks.h"

using namespace zk;
using namespace zk::positions;

namespace {

const QByteArray kFix = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n";

QByteArray sentence(const QByteArray &body)
{
    unsigned x = 0;
    for (char c : body) x ^= uint8_t(c);
    return "$" + body + "*" + QByteArray::number(x, 16).rightJustified(2, '0').toUpper() + "\r\n";
}

}  // namespace

class TestSerial : public QObject {
    Q_OBJECT

    std::unique_ptr<frmMain> main_;
    QTemporaryDir dir_;
    QProcess socat_;
    std::unique_ptr<QSerialPort> far_;  // the GPS's end of the pair
    QList<int> drawn_;
    double clock_ = 100.0;

    QString gpsPath() const { return dir_.filePath(QStringLiteral("gps")); }

    // Bytes the program wrote to the port, up to the given count of lines.
    QByteArray readFar(int lines, int ms = 3000)
    {
        QByteArray got;
        postest::waitfor(
            [&] {
                far_->waitForReadyRead(20);
                got += far_->readAll();
                return got.count('\n') >= lines;
            },
            ms);
        return got;
    }

    void writeFar(const QByteArray &b)
    {
        far_->write(b);
        QVERIFY(far_->waitForBytesWritten(2000));
    }

    bool readUntilSentence()
    {
        bool r = false;
        postest::waitfor([&] { return (r = readnmea()); }, 3000);
        return r;
    }

private slots:
    void initTestCase()
    {
        // Sharing flags open the socket on a multicast group and send to it.
        const QString where = postest::ownnetnamespace();
        if (!where.isEmpty()) QFAIL(qPrintable(QStringLiteral("sharing is tested only inside a network namespace: ") + where));
        QVERIFY(dir_.isValid());
        const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));
        QVERIFY2(!socat.isEmpty(), "socat is missing: install the Debian package socat (scripts/install-deps.sh)");
        socat_.start(socat, {QStringLiteral("-d"), QStringLiteral("-d"),
                             QStringLiteral("pty,raw,echo=0,link=%1").arg(gpsPath()),
                             QStringLiteral("pty,raw,echo=0,link=%1").arg(dir_.filePath(QStringLiteral("far")))});
        QVERIFY(socat_.waitForStarted(5000));
        QVERIFY(postest::waitfor([&] { return QFile::exists(gpsPath()) && QFile::exists(dir_.filePath("far")); }, 5000));
        far_ = std::make_unique<QSerialPort>(dir_.filePath(QStringLiteral("far")));
        QVERIFY2(far_->open(QIODevice::ReadWrite), qPrintable(far_->errorString()));

        writesetting(QStringLiteral("GPSdevice3"), gpsPath());
        main_ = std::make_unique<frmMain>();
        livehooks.drawunit = [this](int u) { drawn_ << u; };
        livehooks.drawnets = [] {};
        livehooks.clock = [this] { return clock_; };
        livehooks.utcclock = [] { return QDateTime(QDate(2024, 11, 3), QTime(7, 5, 9), Qt::UTC); };
        startwinsock();
        main_->timer1()->stop();
    }

    void init()
    {
        for (int i = 1; i <= kUnits; ++i) units[i] = defaultunit(i);
        settings.gpsunit = 2;
        settings.gpscom = 3;
        settings.gpsbaud = 4800;
        settings.gpsflags = kFlagGps;
        settings.gpslog = dir_.filePath(QStringLiteral("GPS.TXT"));
        settings.gpsplay = 2;
        settings.gpstx = 10;
        settings.gpsdraw = 10;
        redrawneeded = false;
        drawn_.clear();
        resetassembler();
        far_->readAll();
    }

    void cleanup()
    {
        closecomport();
        closeudp();
        closelog();
    }

    void cleanupTestCase()
    {
        if (socat_.state() != QProcess::NotRunning) {
            socat_.terminate();
            socat_.waitForFinished(3000);
        }
        stopwinsock();
        resetlivehooks();
        main_.reset();
    }

    void devicePathOfEachPort()
    {
        QCOMPARE(comdevice(3), gpsPath());
        QCOMPARE(comdevice(5), QStringLiteral("/dev/ttyS4"));
    }

    void refusedPortsStayClosed_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("baud");
        QTest::newRow("port 0") << 0 << 4800;
        QTest::newRow("port 9") << 9 << 4800;
        QTest::newRow("4799 bps") << 3 << 4799;
        QTest::newRow("19200 bps") << 3 << 19200;
        QTest::newRow("missing device") << 8 << 4800;
    }
    void refusedPortsStayClosed()
    {
        QFETCH(int, port);
        QFETCH(int, baud);
        writesetting(QStringLiteral("GPSdevice8"), dir_.filePath(QStringLiteral("nothing")));
        opencomport(port, baud);
        QVERIFY(!comopen());
        QVERIFY(main_->label3(kLightGps)->isVisibleTo(main_.get()));
        QCOMPARE(main_->shape2(kLightGps)->fillColor(), kLightClosed);
        QCOMPARE(sched.ledtime[kLightGps], 0.0);
        QVERIFY(!readnmea());
    }

    void fixMovesMyUnit()
    {
        opencomport(3, 4800);
        QVERIFY(comopen());
        QCOMPARE(comport()->baudRate(), 4800);
        QCOMPARE(sched.ledtime[kLightGps], clock_ + 1.0);
        writeFar(kFix);
        QVERIFY(readUntilSentence());
        QCOMPARE(units[2].lat, float(48 + 7.03 / 60));
        QCOMPARE(units[2].lon, float(11 + 31.0 / 60));
        QCOMPARE(units[2].enabled, int16_t(-1));
        QVERIFY(redrawneeded);
        QCOMPARE(main_->label2()->text(), QString::fromUtf8("12:35:19UTC 041.5km/hr 084.4°"));
        QCOMPARE(main_->shape2(kLightGps)->fillColor(), kLightFlash);

        // The same fix again: the pane is written, the unit left alone.
        redrawneeded = false;
        main_->label2()->clear();
        writeFar(kFix);
        QVERIFY(readUntilSentence());
        QVERIFY(!redrawneeded);
        QVERIFY(!main_->label2()->text().isEmpty());
    }

    void brokenSentencesMoveNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("wrong checksum") << QByteArray("$GPRMC,1,A,4807.038,N,01131.000,E,,,*00\r\n");
        QTest::newRow("empty latitude") << sentence("GPRMC,1,A,,N,01131.000,E,,,");
        QTest::newRow("letters in longitude") << sentence("GPRMC,1,A,4807.038,N,0113l.000,E,,,");
        QTest::newRow("minutes 61") << sentence("GPRMC,1,A,4861.000,N,01131.000,E,,,");
        QTest::newRow("a stray CR after a sentence of another kind") << (sentence("GPGGA,1,2") + "\r\r");
    }
    void brokenSentencesMoveNothing()
    {
        QFETCH(QByteArray, bytes);
        opencomport(3, 4800);
        main_->label2()->setText(QStringLiteral("avant"));
        writeFar(bytes);
        postest::waitfor([] { return readnmea(); }, 300);
        QCOMPARE(units[2].lon, 0.0f);
        QCOMPARE(units[2].lat, 0.0f);
        QVERIFY(!redrawneeded);
        QCOMPARE(main_->label2()->text(), QStringLiteral("avant"));
    }

    void validSentencesAreLogged()
    {
        QFile::remove(settings.gpslog);
        settings.gpsflags = kFlagGps | kFlagLog;
        applygps();
        QVERIFY(comopen());
        QVERIFY(logopen());
        writeFar(sentence("GPGGA,1,2,3") + "$GPRMC,bad*FF\r\n" + kFix);
        QVERIFY(postest::waitfor([] { return readnmea() && units[2].lat != 0; }));
        closelog();
        QFile f(settings.gpslog);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray all = f.readAll();
        // Each valid sentence as assembled: without its "*", ended by CR LF.
        QByteArray gga = sentence("GPGGA,1,2,3");
        gga.remove(gga.indexOf('*'), 1);
        QCOMPARE(all, gga + "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W6A\r\n");
    }

    void simulatedGpsWritesGprmc()
    {
        settings.gpsflags = kFlagSimulate;
        applygps();
        QVERIFY(comopen());
        units[2].lon = -73.25f;
        units[2].lat = -0.5f;
        // Ticks under the fake clock: one sentence every 2 s.
        for (int i = 0; i < 21; ++i) {
            clock_ = 200.0 + 0.25 * i;
            Timer1_Timer();
        }
        const QByteArray out = readFar(3);
        QCOMPARE(out.count("$GPRMC"), 3);  // at 200.0, 202.25, 204.5
        QVERIFY(out.startsWith("$GPRMC,070509,A,0030.00,S,07315.00,W,,,031124,016.2,W*"));

        // With bit 64 alone the port still reads the GPS's sentences.
        writeFar(kFix);
        QVERIFY(postest::waitfor([] { return readnmea(); }));
        QCOMPARE(units[2].lon, float(11 + 31.0 / 60));
    }

    void gpsbabelDecodesWhatIsWritten()
    {
        const QString babel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
        QVERIFY2(!babel.isEmpty(), "gpsbabel is missing: install the Debian package gpsbabel (scripts/install-deps.sh)");
        opencomport(3, 9600);
        QCOMPARE(comport()->baudRate(), 9600);
        const QList<QPair<float, float>> pos = {{-73.25f, -0.5f}, {11.516667f, 48.117f}, {-0.0001f, 45.99999f},
                                                 {179.99f, -33.5f}};
        // One second apart, as a receiver would write them.
        int second = 0;
        livehooks.utcclock = [&second] { return QDateTime(QDate(2024, 11, 3), QTime(7, 5, second++), Qt::UTC); };
        for (const auto &p : pos) {
            units[2].lon = p.first;
            units[2].lat = p.second;
            sendgprmc();
        }
        const QByteArray out = readFar(int(pos.size()));
        const QString file = dir_.filePath(QStringLiteral("sim.nmea"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(out);
        f.close();
        QProcess b;
        livehooks.utcclock = [] { return QDateTime(QDate(2024, 11, 3), QTime(7, 5, 9), Qt::UTC); };
        // -t: NMEA gives a track, which unicsv writes only when asked.
        b.start(babel, {QStringLiteral("-t"), QStringLiteral("-i"), QStringLiteral("nmea"), QStringLiteral("-f"), file, QStringLiteral("-o"),
                        QStringLiteral("unicsv"), QStringLiteral("-F"), QStringLiteral("-")});
        QVERIFY(b.waitForFinished(20000));
        QCOMPARE(b.exitCode(), 0);
        const QStringList lines = QString::fromLatin1(b.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(lines.size() == pos.size() + 1, qPrintable(lines.join(QLatin1Char('\n'))));
        const QStringList head = lines[0].trimmed().split(QLatin1Char(','));
        const qsizetype la = head.indexOf(QStringLiteral("Latitude")), lo = head.indexOf(QStringLiteral("Longitude"));
        const qsizetype da = head.indexOf(QStringLiteral("Date"));
        QVERIFY2(la >= 0 && lo >= 0, qPrintable(lines[0]));
        for (int i = 0; i < pos.size(); ++i) {
            const QStringList c = lines[i + 1].trimmed().split(QLatin1Char(','));
            QVERIFY(c.size() == head.size());
            QVERIFY2(std::fabs(c[la].toDouble() - pos[i].second) < 0.006 / 60, qPrintable(lines[i + 1]));
            QVERIFY2(std::fabs(c[lo].toDouble() - pos[i].first) < 0.006 / 60, qPrintable(lines[i + 1]));
            if (da >= 0) QCOMPARE(c[da], QStringLiteral("2024/11/03"));
            const qsizetype ti = head.indexOf(QStringLiteral("Time"));
            if (ti >= 0) QCOMPARE(c[ti], QStringLiteral("07:05:%1").arg(i, 2, 10, QLatin1Char('0')));
        }
    }

    void replayMovesTheUnitFixByFix()
    {
        // A log as the program writes it, with other sentences between fixes.
        QFile f(settings.gpslog);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        auto logged = [](const QByteArray &body) {
            QByteArray s = sentence(body);
            s.remove(s.indexOf('*'), 1);
            return s;
        };
        f.write(logged("GPRMC,100000,A,4500.00,N,07300.00,W,,,010124,016.2,W"));
        f.write(logged("GPGSA,A,3,,,"));
        f.write(logged("GPRMC,100002,A,4501.00,N,07301.00,W,,,010124,016.2,W"));
        f.write(logged("GPRMC,100004,A,4502.00,N,07302.00,W,,,010124,016.2,W"));
        f.write("\r\n");
        f.close();

        settings.gpsflags = kFlagReplay | kFlagGps | kFlagShare;
        applygps();
        QVERIFY(logopen());
        QVERIFY(!comopen());
        QVERIFY(!udpopen());

        struct Step {
            double t;
            float lat;
            int draws;
        };
        // gpsplay = 2 s: a fix at the first tick, then every 2 s.
        const Step steps[] = {{300.0, 45.0f, 1}, {301.0, 45.0f, 1}, {302.25, 45 + 1 / 60.0f, 3},
                              {304.0, 45 + 1 / 60.0f, 3}, {304.5, 45 + 2 / 60.0f, 4}};
        for (const Step &s : steps) {
            clock_ = s.t;
            Timer1_Timer();
            QCOMPARE(units[2].lat, s.lat);
            QCOMPARE(drawn_.size(), s.draws);
        }
        QCOMPARE(units[2].lon, -(73 + 2 / 60.0f));
        QVERIFY(settings.gpsflags & kFlagReplay);
        // The empty last line ends the next step at once; the one after it
        // finds the end of the log.
        clock_ = 306.5;
        Timer1_Timer();
        QVERIFY(settings.gpsflags & kFlagReplay);
        clock_ = 308.75;
        Timer1_Timer();
        QVERIFY(!(settings.gpsflags & kFlagReplay));
        QVERIFY(!logopen());
        QVERIFY(!comopen());
        QVERIFY(!udpopen());
    }

    void replayWithoutLogSaysSoAndGoesLive()
    {
        MsgScript script;
        settings.gpslog = dir_.filePath(QStringLiteral("absent.txt"));
        settings.gpsflags = kFlagReplay | kFlagGps;
        applygps();
        QCOMPARE(script.shown().size(), 1);
        QVERIFY(script.shown()[0].text.contains(QStringLiteral("absent.txt")));
        QCOMPARE(script.shown()[0].flags, int(mbExclamation | mbOK));
        QVERIFY(!(settings.gpsflags & kFlagReplay));
        QVERIFY(comopen());
        writeFar(kFix);
        QVERIFY(readUntilSentence());
        QCOMPARE(units[2].lat, float(48 + 7.03 / 60));
    }

    void logWithoutFolderGoesToTheUserFolder()
    {
        settings.gpslog = QStringLiteral("GPS.TXT");
        QCOMPARE(QFileInfo(logpath(false)).dir().absolutePath(), QDir(paths::userFolder()).absolutePath());
    }

    void myUnitOutsideTheTable()
    {
        settings.gpsunit = 77;
        opencomport(3, 4800);
        writeFar(kFix);
        QVERIFY(readUntilSentence());  // read and shown, no unit to move
        QCOMPARE(main_->label2()->text(), QString::fromUtf8("12:35:19UTC 041.5km/hr 084.4°"));
        sendgprmc();
        sendposition(settings.gpsunit);
        QVERIFY(readFar(1, 300).isEmpty());
    }
};

QTEST_MAIN(TestSerial)
#include "test_serial.moc"
