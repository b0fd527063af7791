// The GPS settings window: its controls filled from the variables, read
// back with their ranges, the three buttons, and the menu commands that
// open it and the monitor.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/mainwindow.h"
#include "base/settings.h"
#include "msgbox.h"
#include "posenv.h"
#include "positions/frmDebug.h"
#include "positions/frmGPS.h"
#include "positions/livepos.h"
#include "positions/livestate.h"
#include "positions/schedule.h"
#include "positions/serialgps.h"
#include "positions/sharing.h"
#include "radio/radiodata.h"
#include "radio/radiohooks.h"

using namespace zk;
using namespace zk::positions;

class TestFrmGps : public QObject {
    Q_OBJECT

    std::unique_ptr<frmMain> main_;
    QTemporaryDir dir_;

    void defaults()
    {
        settings.gpsflags = kFlagLog | kFlagSend | kFlagSimulate;
        settings.gpscom = 9;  // no such port: nothing opens
        settings.gpsbaud = 9600;
        settings.gpsunit = 3;
        settings.gpslog = dir_.filePath(QStringLiteral("log.txt"));
        settings.gpsaddr = QStringLiteral("231.31.31.31");
        settings.gpsport = 3500;
        settings.gpsttl = 2;
        settings.gpstx = 10;
        settings.gpsdraw = 2.5f;
        settings.gpsplay = 0.5f;
    }

private slots:
    void initTestCase()
    {
        // Its OK button opens the sharing socket on a multicast group.
        const QString where = postest::ownnetnamespace();
        if (!where.isEmpty()) QFAIL(qPrintable(QStringLiteral("sharing is tested only inside a network namespace: ") + where));
        main_ = std::make_unique<frmMain>();
        for (int i = 1; i <= kUnits; ++i) units[i] = defaultunit(i);
        setFixedText(units[3].name, QStringLiteral("  Base trois"));
        writesetting(QStringLiteral("GPSinterface"), QStringLiteral("lo"));
        startwinsock();
        main_->timer1()->stop();
    }

    void init() { defaults(); }

    void cleanup()
    {
        closecomport();
        closeudp();
        closelog();
    }

    void cleanupTestCase()
    {
        stopwinsock();
        main_.reset();
    }

    void controlsFromTheVariables()
    {
        frmGPS w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Localisation GPS"));
        const bool want[7] = {false, false, true, false, false, true, true};
        for (int i = 1; i <= 6; ++i) QCOMPARE(w.Check[size_t(i)]->isChecked(), want[i]);
        QCOMPARE(w.Check[1]->text(), QStringLiteral("Utiliser le GPS attaché pour localiser ma station"));
        QCOMPARE(w.Text1->text(), QStringLiteral("9"));
        QVERIFY(w.Option1[1]->isChecked());
        QCOMPARE(w.Text3->text(), QStringLiteral("231.31.31.31"));
        QCOMPARE(w.Text4->text(), QStringLiteral("3500"));
        QCOMPARE(w.Text5->text(), QStringLiteral("2"));
        QCOMPARE(w.Text6->text(), QStringLiteral("10"));
        QCOMPARE(w.Text7->text(), QStringLiteral("2.5"));
        QCOMPARE(w.Text9->text(), QStringLiteral("0.5"));
        QCOMPARE(w.Text8->selectedText(), w.Text8->text());
        QCOMPARE(w.Combo1->count(), kUnits);
        QCOMPARE(w.Combo1->currentIndex(), 2);
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("Base trois"));
        for (const char *name : {"Text1", "Text3", "Text9", "Check6", "Option1(0)", "Combo1", "Command2"})
            QVERIFY2(w.findChild<QWidget *>(QLatin1String(name)), name);
    }

    void cancelStillClampsMyUnit_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("clamped");
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("-4") << -4 << 1;
        QTest::newRow("51") << 51 << 50;
        QTest::newRow("50") << 50 << 50;
    }
    void cancelStillClampsMyUnit()
    {
        QFETCH(int, stored);
        QFETCH(int, clamped);
        settings.gpsunit = int16_t(stored);
        frmGPS w;
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QCOMPARE(int(settings.gpsunit), clamped);
        QCOMPARE(settings.gpsflags, kFlagLog | kFlagSend | kFlagSimulate);
    }

    void readingClampsAndRounds_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("ttl");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<QString>("play");
        QTest::addColumn<QString>("com");
        QTest::addColumn<int>("wantPort");
        QTest::addColumn<int>("wantTtl");
        QTest::addColumn<float>("wantTx");
        QTest::addColumn<float>("wantPlay");
        QTest::addColumn<int>("wantCom");
        QTest::newRow("in range") << "4000" << "5" << "30" << "1.5" << "2" << 4000 << 5 << 30.0f << 1.5f << 2;
        QTest::newRow("below") << "0" << "-1" << "1" << "0.1" << "-3" << 1 << 0 << 2.0f << 0.2f << -3;
        QTest::newRow("above") << "70000" << "32" << "3601" << "11" << "12" << 65535 << 31 << 3600.0f << 10.0f << 12;
        QTest::newRow("not numbers") << "abc" << "" << "x" << "?" << "COM1" << 1 << 0 << 2.0f << 0.2f << 0;
        QTest::newRow("halves to even") << "2500.5" << "2.5" << "2.5" << "0.25" << "4.5" << 2500 << 2 << 2.5f << 0.25f << 4;
        QTest::newRow("decimal comma") << "3600" << "3" << "12,5" << "0,5" << "1" << 3600 << 3 << 12.5f << 0.5f << 1;
        QTest::newRow("leading number") << "3501port" << "4 hops" << "15s" << "2 s" << "3x" << 3501 << 4 << 15.0f << 2.0f << 3;
        QTest::newRow("huge numbers") << "1e9" << "1" << "2" << "1" << "99999999" << 65535 << 1 << 2.0f << 1.0f << 32767;
    }
    void readingClampsAndRounds()
    {
        QFETCH(QString, port);
        QFETCH(QString, ttl);
        QFETCH(QString, tx);
        QFETCH(QString, play);
        QFETCH(QString, com);
        GpsFormValues v;
        v.text1 = com;
        v.text3 = QStringLiteral("  239.1.2.3 ");
        v.text4 = port;
        v.text5 = ttl;
        v.text6 = tx;
        v.text7 = tx;
        v.text8 = QStringLiteral("journal.txt");
        v.text9 = play;
        v.unitindex = 49;
        AppSettings s;
        gpsupdate(v, s);
        QTEST(int(s.gpsport), "wantPort");
        QTEST(int(s.gpsttl), "wantTtl");
        QTEST(s.gpstx, "wantTx");
        QTEST(s.gpsdraw, "wantTx");
        QTEST(s.gpsplay, "wantPlay");
        QTEST(int(s.gpscom), "wantCom");
        QCOMPARE(s.gpsaddr, QStringLiteral("239.1.2.3"));
        QCOMPARE(s.gpslog, QStringLiteral("journal.txt"));
        QCOMPARE(int(s.gpsunit), 50);
        QCOMPARE(int(s.gpsbaud), 4800);
    }

    void applyReadsOpensAndCloses()
    {
        settings.gpsflags = kFlagReplay;
        frmGPS w;
        w.Check[3]->setChecked(true);
        w.Check[2]->setChecked(false);
        w.Check[5]->setChecked(false);
        w.Check[6]->setChecked(false);
        w.Check[4]->setChecked(true);
        w.Option1[0]->setChecked(true);
        w.Combo1->setCurrentIndex(6);
        w.Text3->setText(QStringLiteral("239.9.9.9"));
        w.show();
        sched.nexttx = 55;
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(settings.gpsflags, kFlagShare | kFlagDeferred);
        QCOMPARE(int(settings.gpsunit), 7);
        QCOMPARE(int(settings.gpsbaud), 4800);
        QCOMPARE(settings.gpsaddr, QStringLiteral("239.9.9.9"));
        QVERIFY(udpopen());
        QVERIFY(!comopen());
        QVERIFY(!logopen());
        QCOMPARE(sched.nexttx, 0.0);
        QVERIFY(main_->label3(kLightRx)->isVisibleTo(main_.get()));
    }

    void replayButtonStartsTheReplay()
    {
        QFile f(settings.gpslog);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("$GPRMC,1,A,4500.00,N,07300.00,W,,,,,W12\r\n");
        f.close();
        settings.gpsflags = kFlagShare | kFlagGps;
        frmGPS w;
        w.show();
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        QCOMPARE(settings.gpsflags, kFlagShare | kFlagGps | kFlagReplay);
        QVERIFY(logopen());
        QVERIFY(!udpopen());
        QVERIFY(!comopen());
    }

    void replayButtonWithoutLog()
    {
        MsgScript script;
        settings.gpslog = dir_.filePath(QStringLiteral("absent.txt"));
        settings.gpsflags = kFlagShare;
        frmGPS w;
        w.show();
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        QCOMPARE(script.shown().size(), 1);
        QCOMPARE(settings.gpsflags, kFlagShare);
        QVERIFY(udpopen());
        QVERIFY(!w.isVisible());
    }

    void menuCommands()
    {
        installpositions();
        installpositions();
        QAction *gps = main_->action(QStringLiteral("mnuViewGPS"));
        QAction *mon = main_->action(QStringLiteral("mnuMonitor"));
        QVERIFY(gps->isEnabled());
        QVERIFY(mon->isEnabled());
        // The GPS window opens modal; Annuler closes it.
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto *w = qobject_cast<frmGPS *>(QApplication::activeModalWidget());
            seen = w != nullptr;
            if (w) w->Command3->click();
        });
        main_->Label3_DblClick(0);
        QVERIFY(seen);
        // The monitor: once, by the menu or a double-click on Tx or Rx.
        main_->Label3_DblClick(2);
        QVERIFY(monitoron);
        frmDebug *m = monitorwindow();
        QVERIFY(m);
        main_->Label3_DblClick(1);
        mon->trigger();
        QCOMPARE(monitorwindow(), m);
        QCOMPARE(main_->findChildren<frmDebug *>().size(), 1);
        // Opening a menu closes the tool windows, the monitor among them.
        main_->closetoolwindows();
        QVERIFY(!monitoron);
        QTRY_VERIFY(main_->findChildren<frmDebug *>().isEmpty());
        // The radio side's immediate sending is wired to this module.
        QVERIFY(bool(radiohooks.sendposition));
    }
};

QTEST_MAIN(TestFrmGps)
#include "test_frmgps.moc"
