// Flights under the offscreen platform: recording through the panel (frame
// count, names and captions, the overwrite question, stops, frames that
// cannot be written), the player's states driven period by period on frames
// written by the test, the main window's and the radio-link window's
// commands, and the observation options dialog.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/mainwindow.h"
#include "base/longop.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/frmPic.h"
#include "pictures/view3d.h"
#include "radio/frmLink.h"
#include "radio/profile.h"
#include "radio/radiodata.h"
#include "testenv.h"
#include "views3d/flight.h"
#include "views3d/frmAnimate.h"
#include "views3d/frmObs.h"

using zk::frmAnimate;
using viewtest::rgbAt;

namespace {

QStringList names(const QString &folder)
{
    QStringList l = QDir(folder).entryList(QDir::Files, QDir::Name);
    return l;
}

QStringList expectedNames(int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i) l << zk::framename(i);
    return l;
}

bool red(const QLineEdit *t) { return t->palette().color(QPalette::Text) == QColor(255, 0, 0); }

}  // namespace

class TestFlights : public viewtest::MainEnv {
    Q_OBJECT

public:
    // No 3D pictures' hooks; each test makes its own user folder (init).
    TestFlights() : MainEnv(0) {}

private:
    QStringList captions;
    QPointer<frmAnimate> watched;

    QString folder() const { return zk::framesfolder(); }

    // The panel with a small picture (quick frames), its captions recorded.
    frmAnimate *panel()
    {
        frmAnimate *p = frmAnimate::open();
        p->Picture1->setBoxSize(32, 20);
        captions.clear();
        if (p != watched) {
            watched = p;
            connect(p, &QWidget::windowTitleChanged, this, [this](const QString &t) { captions << t; });
        }
        return p;
    }

    // Frames 1..n written by hand: 4 x 3 pixels of RGB(i, 0, 0).
    void writeFrames(int n)
    {
        QDir().mkpath(folder());
        for (int i = 1; i <= n; ++i) {
            QImage img(4, 3, QImage::Format_RGB32);
            img.fill(QColor(i % 256, 0, 0));
            QVERIFY(img.save(folder() + zk::framename(i), "BMP"));
        }
    }

    static uint32_t frameShown(frmAnimate *p) { return rgbAt(p->Picture1->image(), 0, 0) & 0xFF; }

private slots:
    void init()
    {
        closeAll();
        QLocale::setDefault(QLocale::c());
        tmp = std::make_unique<QTemporaryDir>();
        zk::paths::setUserFolder(tmp->filePath(QStringLiteral("user")));
        zk::newnet(false);
        viewtest::setFineMap();
        // 50 cells of 0.2 km: a 10 km link.
        viewtest::placeUnit(1, 14, 20, "Alpha");
        viewtest::placeUnit(2, 64, 20, "Bravo");
        viewtest::setLink();
        QVERIFY(viewtest::source());
    }

    // The defaults (500 m/s, 3 frames a second) on a 10 km link: 60 frames
    // named 0001 to 0060, the caption naming each as it is written. The
    // length comes from the stations, not from the profile computed last.
    void recordsTheFramesOfTheLink()
    {
        QCOMPARE(zk::flyspeed, 500.0f);
        QCOMPARE(zk::flyfps, 3.0f);
        viewtest::placeUnit(3, 0, 0, "Charlie");
        viewtest::placeUnit(4, 128, 40, "Delta");
        QVERIFY(zk::getprofile(3, 4) > 0);
        frmAnimate *p = panel();
        zk::flyview(40, 1, 2, 0, false);
        QCOMPARE(captions.value(0), QStringLiteral("flig0001.bmp (1/60)"));
        QVERIFY(captions.contains(QStringLiteral("flig0060.bmp (60/60)")));
        QCOMPARE(captions.last(), QStringLiteral("Animation"));
        QCOMPARE(p->windowTitle(), QStringLiteral("Animation"));
        QVERIFY(p->isEnabled());
        QCOMPARE(names(folder()), expectedNames(60));
        QCOMPARE(zk::profdist, 10.0);
        QCOMPARE(pane(), QStringLiteral("Complété."));
        const QImage first(folder() + zk::framename(1));
        QCOMPARE(first.size(), QSize(32, 20));
        // Sky at the top of each frame.
        QCOMPARE(rgbAt(first, 0, 0), 0xF0CAA6u);
    }

    // A speed below 1 m/s counts as 1 m/s.
    void slowSpeedsCountAsOne_data()
    {
        QTest::addColumn<float>("speed");
        QTest::newRow("0.5 m/s") << 0.5f;
        QTest::newRow("1 m/s") << 1.0f;
    }
    void slowSpeedsCountAsOne()
    {
        QFETCH(float, speed);
        viewtest::placeUnit(2, 15, 20, "Bravo");  // 200 m
        zk::flyspeed = speed;
        zk::flyfps = 0.1f;
        panel();
        zk::flyview(40, 1, 2, 0, false);
        QCOMPARE(names(folder()).size(), 20);
        QVERIFY(captions.contains(QStringLiteral("flig0020.bmp (20/20)")));
    }

    // Old frames: No keeps them and draws nothing; Yes deletes all of them
    // first, so a shorter flight leaves none of the old ones behind.
    void overwriteQuestion()
    {
        zk::flyspeed = 5000;  // 6 frames
        panel();
        {
            zk::MsgScript script;
            zk::flyview(40, 1, 2, 0, false);
            QVERIFY(script.shown().isEmpty());
        }
        QCOMPARE(names(folder()), expectedNames(6));
        // Frame 3 marked, to see that it stays.
        QImage mark(2, 2, QImage::Format_RGB32);
        mark.fill(Qt::green);
        QVERIFY(mark.save(folder() + zk::framename(3), "BMP"));

        {
            zk::MsgScript script;
            script.answer(zk::idNo);
            panel();
            zk::flyview(40, 1, 2, 0, false);
            QCOMPARE(script.shown().size(), 1);
            QCOMPARE(script.shown()[0].text, QStringLiteral("Écraser flig BMP files ?"));
            QCOMPARE(script.shown()[0].flags, zk::mbYesNo | zk::mbQuestion);
            QCOMPARE(script.shown()[0].caption, QStringLiteral("Kestrova pour Windows"));
        }
        QCOMPARE(names(folder()), expectedNames(6));
        QCOMPARE(QImage(folder() + zk::framename(3)).size(), QSize(2, 2));
        QVERIFY(captions.isEmpty());
        QCOMPARE(frmAnimate::instance()->windowTitle(), QStringLiteral("Animation"));
        QCOMPARE(pane(), QStringLiteral("Arrêté par l'utilisateur."));

        zk::flyspeed = 10000;  // 3 frames
        {
            zk::MsgScript script;
            script.answer(zk::idYes);
            panel();
            zk::flyview(40, 1, 2, 0, false);
            QCOMPARE(script.shown().size(), 1);
        }
        QCOMPARE(names(folder()), expectedNames(3));
        QCOMPARE(QImage(folder() + zk::framename(3)).size(), QSize(32, 20));
    }

    // Closing the panel while it records stops the flight before its next
    // frame; the frames written stay, numbered without a gap.
    void closingThePanelStopsTheRecording()
    {
        frmAnimate *p = panel();
        QPointer<frmAnimate> guard(p);
        connect(p, &QWidget::windowTitleChanged, this, [guard](const QString &t) {
            if (t.startsWith(QStringLiteral("flig0004")) && guard)
                QTimer::singleShot(0, guard.data(), [guard] {
                    if (guard) guard->close();
                });
        });
        zk::flyview(40, 1, 2, 0, false);
        const int n = int(names(folder()).size());
        QVERIFY(n >= 4);
        QVERIFY(n < 60);
        QCOMPARE(names(folder()), expectedNames(n));
        QCOMPARE(pane(), QStringLiteral("Arrêté par l'utilisateur."));
        QCOMPARE(zk::runflag, int16_t(0));
    }

    // Less than half a frame: one frame, taken at A.
    void zeroFrameFlight()
    {
        viewtest::placeUnit(2, 15, 20, "Bravo");  // 200 m
        zk::flyspeed = 100000;
        panel();
        zk::flyview(40, 1, 2, 0, false);
        QCOMPARE(names(folder()), expectedNames(1));
        QCOMPARE(captions.value(0), QStringLiteral("flig0001.bmp (1/0)"));
    }

    void stereoFrames()
    {
        zk::flyspeed = 10000;
        panel();
        zk::flyview(40, 1, 2, 0, true);
        QCOMPARE(names(folder()), expectedNames(3));
        // Both skies merged: (200, 0, 0) | (0, 200, 200).
        QCOMPARE(rgbAt(QImage(folder() + zk::framename(2)), 0, 0), 0xC8C8C8u);
    }

    // A frames folder that cannot be made: the flight is drawn to its end
    // and the loss is said, not passed over.
    void framesFolderCannotBeMade()
    {
        QDir().mkpath(zk::paths::userFolder());
        QFile blocker(zk::paths::userFolder() + QStringLiteral("/frames"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        zk::flyspeed = 5000;
        zk::MsgScript script;
        panel();
        zk::flyview(40, 1, 2, 0, false);
        QCOMPARE(script.shown().size(), 1);
        QVERIFY(script.shown()[0].text.contains(QStringLiteral("Impossible de créer le dossier")));
        QVERIFY(script.shown()[0].text.contains(QStringLiteral("6 image(s) du vol sur 6")));
        QCOMPARE(script.shown()[0].flags, zk::mbOK | zk::mbExclamation);
        QVERIFY(captions.contains(QStringLiteral("flig0001.bmp (6/6)")));
    }

    // A frame name taken by a folder: nothing can be written there, and
    // the message says how many frames were lost.
    void framesThatCannotBeWritten()
    {
        QVERIFY(QDir().mkpath(folder() + zk::framename(1)));
        zk::flyspeed = 5000;
        zk::MsgScript script;
        panel();
        zk::flyview(40, 1, 2, 0, false);
        QCOMPARE(script.shown().size(), 1);
        QVERIFY(script.shown()[0].text.startsWith(QStringLiteral("6 image(s) du vol sur 6 n'ont pas pu être enregistrées")));
    }

    // The radio-link window's flight items record with its field of view
    // and close the panel afterwards.
    void linkWindowRecords()
    {
        zk::flyspeed = 5000;
        QPointer<zk::frmLink> l = zk::frmLink::open();
        panel();
        l->menu21_Click(9);
        QCOMPARE(names(folder()), expectedNames(6));
        QCOMPARE(zk::lastangle, int16_t(40));
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!frmAnimate::instance());
        zk::MsgScript script;
        script.answer(zk::idYes);
        l->menu21_Click(10);
        QCOMPARE(rgbAt(QImage(folder() + zk::framename(1)), 0, 0), 0xC8C8C8u);
    }

    // ---- the player -----------------------------------------------------

    void periodFromRate_data()
    {
        QTest::addColumn<double>("fps");
        QTest::addColumn<int>("ms");
        QTest::newRow("3") << 3.0 << 333;
        QTest::newRow("above 10") << 50.0 << 100;
        QTest::newRow("below 0.1") << 0.0 << 10000;
        QTest::newRow("not a number") << std::nan("") << 10000;
    }
    void periodFromRate()
    {
        QFETCH(double, fps);
        QFETCH(int, ms);
        writeFrames(2);
        frmAnimate *p = zk::playflight(fps);
        QVERIFY(p);
        QCOMPARE(p->periodMs(), ms);
        QCOMPARE(zk::runflag, int16_t(1));
        p->close();
    }

    // 60 frames: the player stops on frame 60 with the scroll maximum at 61
    // and "Exécute"; the button plays again from frame 1.
    void playsToTheEnd()
    {
        writeFrames(60);
        frmAnimate *p = zk::playflight(0.1);  // periods of 10 s: the test drives them
        QVERIFY(p);
        QCOMPARE(p->HScroll1->minimum(), 1);
        QCOMPARE(p->HScroll1->maximum(), 100);
        QCOMPARE(p->HScroll1->singleStep(), 1);
        QCOMPARE(p->HScroll1->pageStep(), 10);
        QCOMPARE(p->Command1->text(), QStringLiteral("Pause"));
        QCOMPARE(p->shownFrame(), 1);
        QCOMPARE(frameShown(p), 1u);
        QCOMPARE(p->HScroll1->value(), 2);
        for (int k = 0; k < 100 && zk::runflag == 1; ++k) p->tick();
        QCOMPARE(zk::runflag, int16_t(2));
        QCOMPARE(p->shownFrame(), 60);
        QCOMPARE(frameShown(p), 60u);
        QCOMPARE(p->HScroll1->maximum(), 61);
        QCOMPARE(p->HScroll1->value(), 61);
        QCOMPARE(p->Command1->text(), QStringLiteral("Exécute"));
        QVERIFY(p->playerRunning());

        p->Command1_Click();
        QCOMPARE(p->Command1->text(), QStringLiteral("Pause"));
        QCOMPARE(zk::runflag, int16_t(1));
        QCOMPARE(p->HScroll1->value(), 1);
        p->tick();
        QCOMPARE(p->shownFrame(), 1);
        QCOMPARE(frameShown(p), 1u);
        p->close();
        QCOMPARE(zk::runflag, int16_t(0));
    }

    // Beyond frame 100 the maximum grows one frame at a time.
    void longFlightsGrowTheScrollRange()
    {
        writeFrames(120);
        frmAnimate *p = zk::playflight(0.1);
        for (int k = 0; k < 200 && zk::runflag == 1; ++k) p->tick();
        QCOMPARE(p->shownFrame(), 120);
        QCOMPARE(p->HScroll1->maximum(), 121);
        p->close();
    }

    // Paused, the scroll bar shows the chosen frame at once and the player
    // stays paused; playing, the flight goes on from the chosen frame.
    void scrollBar()
    {
        writeFrames(60);
        frmAnimate *p = zk::playflight(0.1);
        p->tick();
        p->Command1_Click();
        QCOMPARE(zk::runflag, int16_t(2));
        QCOMPARE(p->Command1->text(), QStringLiteral("Exécute"));
        const int shown = p->shownFrame();
        p->tick();
        QCOMPARE(p->shownFrame(), shown);
        p->HScroll1->setValue(30);
        QCOMPARE(p->shownFrame(), 30);
        QCOMPARE(frameShown(p), 30u);
        p->tick();
        QCOMPARE(p->shownFrame(), 30);
        QCOMPARE(zk::runflag, int16_t(2));

        p->Command1_Click();
        QCOMPARE(zk::runflag, int16_t(1));
        p->tick();
        QCOMPARE(p->shownFrame(), 30);
        p->HScroll1->setValue(45);
        p->tick();
        QCOMPARE(p->shownFrame(), 45);
        QCOMPARE(p->HScroll1->value(), 46);
        p->close();
    }

    // No frame at all: paused at frame 1 on an unchanged picture.
    void noFrames()
    {
        frmAnimate *p = frmAnimate::open();
        const QImage before = p->Picture1->image();
        QVERIFY(zk::playflight(3.0) == p);
        QCOMPARE(zk::runflag, int16_t(2));
        QCOMPARE(p->HScroll1->value(), 1);
        QCOMPARE(p->HScroll1->maximum(), 1);
        QCOMPARE(p->Command1->text(), QStringLiteral("Exécute"));
        QCOMPARE(p->Picture1->image(), before);
        QCOMPARE(p->shownFrame(), 0);
        p->close();
    }

    // Any stop of the run flag ends the player at its next period; closing
    // the panel (or Esc in it) stops it at once.
    void stops()
    {
        writeFrames(10);
        frmAnimate *p = zk::playflight(0.1);
        zk::runflag = 0;  // as Esc in a picture window does
        p->tick();
        QVERIFY(!p->playerRunning());
        QCOMPARE(p->Command1->text(), QStringLiteral("Pause"));
        const int shown = p->shownFrame();
        p->tick();
        QCOMPARE(p->shownFrame(), shown);

        p = zk::playflight(0.1);
        QVERIFY(p->playerRunning());
        QPointer<frmAnimate> guard(p);
        QTest::keyClick(p, Qt::Key_Escape);
        QCOMPARE(zk::runflag, int16_t(0));
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!guard);
    }

    // A panel just closed is not played in: the player gets a new one,
    // which outlives the deletion of the old.
    void playAfterTheRecorderClosedThePanel()
    {
        writeFrames(3);
        QPointer<frmAnimate> old = frmAnimate::open();
        old->close();
        QVERIFY(!frmAnimate::instance());
        QPointer<frmAnimate> p = zk::playflight(0.1);
        QVERIFY(p);
        QVERIFY(p != old);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!old);
        QVERIFY(p);
        QCOMPARE(frmAnimate::instance(), p.data());
        QCOMPARE(p->shownFrame(), 1);
        p->close();
    }

    // Another operation owns the run flag: nothing starts, the button does
    // not touch it.
    void otherOperationRunning()
    {
        writeFrames(3);
        frmAnimate *p = frmAnimate::open();
        zk::runflag = zk::oppanorama;
        QVERIFY(!zk::playflight(3.0));
        p->Command1_Click();
        QCOMPARE(zk::runflag, int16_t(zk::oppanorama));
        QVERIFY(!p->playerRunning());
        zk::runflag = 0;
    }

    // The player on its own timer, at 10 frames a second.
    void playsOnItsTimer()
    {
        writeFrames(5);
        frmAnimate *p = zk::playflight(10);
        QTRY_COMPARE_WITH_TIMEOUT(zk::runflag, int16_t(2), 20000);
        QCOMPARE(p->shownFrame(), 5);
        QCOMPARE(p->HScroll1->maximum(), 6);
        p->close();
    }

    // "Visionner un vol" of the main window plays.
    void mainWindowCommand()
    {
        writeFrames(3);
        QAction *a = main->action(QStringLiteral("mnuViewFlight"));
        QVERIFY(a);
        QVERIFY(a->isEnabled());
        a->trigger();
        frmAnimate *p = frmAnimate::instance();
        QVERIFY(p);
        QVERIFY(p->isVisible());
        QCOMPARE(p->periodMs(), 333);
        QCOMPARE(p->shownFrame(), 1);
        QCOMPARE(zk::runflag, int16_t(1));
        p->close();
    }

    // ---- the options ----------------------------------------------------

    void optionsCancelRestores()
    {
        zk::frmObs dlg;
        QCOMPARE(dlg.Text1->text(), QStringLiteral("20"));
        QCOMPARE(dlg.Text2->text(), QStringLiteral("3"));
        QCOMPARE(dlg.Text3->text(), QStringLiteral("500"));
        QCOMPARE(dlg.Text3->selectedText(), QStringLiteral("500"));
        dlg.Text1->setText(QStringLiteral("5"));
        dlg.Text2->setText(QStringLiteral("2"));
        dlg.Text3->setText(QStringLiteral("100"));
        // Stored as typed.
        QCOMPARE(zk::eyedist, 5.0f);
        QCOMPARE(zk::flyfps, 2.0f);
        QCOMPARE(zk::flyspeed, 100.0f);
        dlg.Command2->click();
        QCOMPARE(zk::eyedist, 20.0f);
        QCOMPARE(zk::flyfps, 3.0f);
        QCOMPARE(zk::flyspeed, 500.0f);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }

    void optionsEscAndApplyKeep_data()
    {
        QTest::addColumn<bool>("esc");
        QTest::newRow("Esc") << true;
        QTest::newRow("Appliquer") << false;
    }
    void optionsEscAndApplyKeep()
    {
        QFETCH(bool, esc);
        zk::frmObs dlg;
        dlg.show();
        dlg.Text1->setText(QStringLiteral("7"));
        dlg.Text2->setText(QStringLiteral("0.5"));
        dlg.Text3->setText(QStringLiteral("250"));
        if (esc) QTest::keyClick(dlg.Text2, Qt::Key_Escape);
        else dlg.Command1->click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(zk::eyedist, 7.0f);
        QCOMPARE(zk::flyfps, 0.5f);
        QCOMPARE(zk::flyspeed, 250.0f);
    }

    void optionsOutOfRange_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("stored");
        QTest::addColumn<bool>("isred");
        QTest::newRow("eye 0") << 1 << "0" << 0.01f << true;
        QTest::newRow("eye 10001") << 1 << "10001" << 10000.0f << true;
        QTest::newRow("eye 0.01") << 1 << "0.01" << 0.01f << false;
        QTest::newRow("rate 20") << 2 << "20" << 10.0f << true;
        QTest::newRow("rate 0.05") << 2 << "0.05" << 0.1f << true;
        QTest::newRow("rate 10") << 2 << "10" << 10.0f << false;
        QTest::newRow("rate empty") << 2 << "" << 0.1f << true;
        QTest::newRow("speed 200000") << 3 << "200000" << 100000.0f << true;
        QTest::newRow("speed abc") << 3 << "abc" << 0.1f << true;
        QTest::newRow("speed 0.1") << 3 << "0.1" << 0.1f << false;
    }
    void optionsOutOfRange()
    {
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(float, stored);
        QFETCH(bool, isred);
        zk::frmObs dlg;
        QLineEdit *t = box == 1 ? dlg.Text1 : box == 2 ? dlg.Text2 : dlg.Text3;
        float &v = box == 1 ? zk::eyedist : box == 2 ? zk::flyfps : zk::flyspeed;
        t->setText(text);
        QCOMPARE(v, stored);
        QCOMPARE(red(t), isred);
        QCOMPARE(t->text(), text);
    }

    // With a decimal comma the boxes show the values the way they are read
    // back: a fractional value is not lost by opening the dialog.
    void optionsDecimalComma()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        zk::flyfps = 0.5f;
        zk::eyedist = 0.25f;
        zk::flyspeed = 100000;
        zk::frmObs dlg;
        QCOMPARE(dlg.Text2->text(), QStringLiteral("0,5"));
        QCOMPARE(dlg.Text1->text(), QStringLiteral("0,25"));
        QCOMPARE(dlg.Text3->text(), QStringLiteral("100000"));
        QCOMPARE(zk::flyfps, 0.5f);
        QCOMPARE(zk::eyedist, 0.25f);
        QCOMPARE(zk::flyspeed, 100000.0f);
        QVERIFY(!red(dlg.Text2));
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_MAIN(TestFlights)
#include "test_flights.moc"
