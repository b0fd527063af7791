// The long-operation protocol on the real main window: the running state,
// the progress reports and their rate, the two end texts, the stop requests
// (Stop button and menu, close request) and a loop in the engine library
// stopped through the progress hook.
#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/mainwindow.h"
#include "base/controls.h"
#include "base/longop.h"
#include "engine.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/picbox.h"
#include "pictures/picfiles.h"

using zk::frmMain;

namespace {
double g_now = 10.0;
double fakeClock() { return g_now; }
}  // namespace

class TestLongOp : public QObject {
    Q_OBJECT

    std::unique_ptr<frmMain> w;

    bool idleInterface() const
    {
        for (int i = 1; i <= 5; ++i)
            if (!w->menu(i)->menuAction()->isEnabled()) return false;
        for (int i = 0; i < 18; ++i)
            if (!w->image1(i)->isVisible()) return false;
        return !w->image1(18)->isVisible() && !w->mnuStop()->isVisible() && !w->shape1(0)->isVisible() &&
               !w->shape1(1)->isVisible();
    }
    bool runningInterface() const
    {
        for (int i = 1; i <= 5; ++i)
            if (w->menu(i)->menuAction()->isEnabled()) return false;
        for (int i = 0; i < 18; ++i)
            if (w->image1(i)->isVisible()) return false;
        for (int k = 0; k < 4; ++k)
            if (w->line2(k)->isVisible()) return false;
        return w->image1(18)->isVisible() && w->mnuStop()->isVisible();
    }

private slots:
    void initTestCase()
    {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
        s.clear();
    }

    void init()
    {
        zk::setProgressClock(&fakeClock);
        zk::resetProgressState();
        g_now = 10.0;
        zk::runflag = 0;
        zk::progtotal = 0;
        zk::progcount = 0;
        zk::tilecount = 0;
        zk::mergepic = nullptr;
        zk::elevgrid.redim(1023, 767);
        w = std::make_unique<frmMain>();
        w->show();
        w->resize(800, 500);
        QCoreApplication::processEvents();
    }
    void cleanup()
    {
        zk::runflag = 0;
        w.reset();
        zk::setProgressClock(nullptr);
    }

    void codes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("total");
        // Grid bounds X = 1023, Y = 767; tilecount 7; a total of 42 stands before.
        QTest::newRow("1 draw2d") << 1 << "Dessin de l'image 2D..." << 12.0;
        QTest::newRow("2 gtopo30") << 2 << "Extraction des données GTOPO30..." << 767.0;
        QTest::newRow("3 readmap") << 3 << "Ouverture du fichier carte..." << 512.0;
        QTest::newRow("4 mapstats") << 4 << "Compilation des statistiques de la carte..." << 1023.0;
        QTest::newRow("5 terrain") << 5 << "Extraction des données Terrain..." << 7.0;
        QTest::newRow("6 dted") << 6 << "Extraction des données DTED..." << 7.0;
        QTest::newRow("7 draw3d") << 7 << "Dessin de l'image 3D..." << 1023.0 * 767;
        QTest::newRow("8 adrg") << 8 << "Dessin de l'image ADRG..." << 1023.0 * 767;
        QTest::newRow("9 panorama") << 9 << "Dessin du panorama..." << 42.0;
        QTest::newRow("10 merge") << 10 << "Mélange des images..." << 33.0;
        QTest::newRow("11 coverage") << 11 << "Calcul de la couverture ..." << 42.0;
        QTest::newRow("12 stereo") << 12 << "Dessin d'une image stereo 2D..." << 767.0;
        QTest::newRow("13 gifmerge") << 13 << "Mélange avec une carte Quo Vadis..." << 7.0;
        QTest::newRow("outside") << 14 << "-" << 42.0;
    }
    void codes()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(double, total);
        QWidget merge;
        merge.resize(10, 33);
        zk::mergepic = &merge;
        zk::tilecount = 7;
        zk::progtotal = 42;
        zk::beginop(int16_t(code));
        QCOMPARE(zk::runflag, int16_t(code));
        QCOMPARE(w->label2()->text(), text);
        QCOMPARE(double(zk::progtotal), double(float(total)));
        QCOMPARE(zk::progcount, 0);
        QVERIFY(runningInterface());
        zk::endop();
        zk::mergepic = nullptr;
    }

    void beginShowsOnePercent()
    {
        zk::tilecount = 200;
        zk::beginop(zk::opterrain);
        QCOMPARE(w->label1()->text(), QStringLiteral("1%"));
        QVERIFY(w->shape1(0)->isVisible());
        QVERIFY(w->shape1(1)->isVisible());
        QCOMPARE(w->shape1(0)->width(), qRound(w->shape1(1)->width() / 100.0));
        // A second operation within 0.25 s: the bar is not drawn again at once.
        zk::endop();
        g_now += 0.1;
        zk::beginop(zk::opterrain);
        zk::progcount = 100;
        w->label1()->setText(QStringLiteral("x"));
        zk::opcallback(0);
        QCOMPARE(w->label1()->text(), QStringLiteral("x"));
        g_now += 0.3;
        zk::opcallback(20);
        QCOMPARE(w->label1()->text(), QStringLiteral("50%"));
        zk::endop();
    }

    void callbackReportsOnMultiplesOf20_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("label");
        QTest::newRow("0") << 0 << "10%";
        QTest::newRow("-20") << -20 << "10%";
        QTest::newRow("40") << 40 << "10%";
        QTest::newRow("7") << 7 << "x";
        QTest::newRow("-3") << -3 << "x";
    }
    void callbackReportsOnMultiplesOf20()
    {
        QFETCH(int, n);
        QFETCH(QString, label);
        zk::tilecount = 10;
        zk::beginop(zk::opterrain);  // reports progcount: 1 of 10 tiles
        zk::progcount = 1;
        g_now += 1;
        w->label1()->setText(QStringLiteral("x"));
        QCOMPARE(zk::opcallback(n), 1);
        QCOMPARE(w->label1()->text(), label);
        zk::endop();
    }

    void callbackValues_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("progcount");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("label");
        // X = 1023, Y = 767.
        QTest::newRow("draw2d") << 1 << 5 << 640 << "62%";     // (5 + 2.5) / 12 = 62.5, halves to even
        QTest::newRow("gtopo30") << 2 << 0 << 380 << "50%";    // 380 / 767 = 49.5
        QTest::newRow("dted") << 6 << 3 << 1020 << "40%";      // (3 + 0.997) / 10 tiles
        QTest::newRow("gifmerge") << 13 << 1 << 760 << "20%";  // (1 + 0.991) / 10
        QTest::newRow("terrain") << 5 << 4 << 9980 << "40%";   // whole tiles only
    }
    void callbackValues()
    {
        QFETCH(int, code);
        QFETCH(int, progcount);
        QFETCH(int, n);
        QFETCH(QString, label);
        zk::tilecount = 10;
        zk::beginop(int16_t(code));
        zk::progcount = progcount;
        g_now += 1;
        zk::opcallback(n);
        QCOMPARE(w->label1()->text(), label);
        zk::endop();
    }

    void panoramaSecondPass()
    {
        // Two passes over 300 columns: the second continues from 50%.
        zk::beginop(zk::oppanorama);
        zk::progtotal = 600;
        zk::progcount = 1;
        g_now += 1;
        zk::opcallback(60);  // 600 * 1 * 0.5 + 60 = 360 of 600
        QCOMPARE(w->label1()->text(), QStringLiteral("60%"));
        zk::endop();
    }

    void callbackResult()
    {
        zk::tilecount = 1;
        zk::beginop(zk::opterrain);
        QCOMPARE(zk::opcallback(5), 1);
        w->mnuStop()->trigger();
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(zk::opcallback(5), 0);
        zk::runflag = -1;  // a 3D window being created: the library goes on
        QCOMPARE(zk::opcallback(5), -1);
        zk::runflag = 2;
        QCOMPARE(zk::opcallback(5), 1);
        zk::runflag = 0;
        zk::endop();
    }

    void endTexts()
    {
        zk::beginop(zk::opmapstats);
        zk::endop();
        QCOMPARE(w->label2()->text(), QStringLiteral("Complété."));
        QCOMPARE(w->label1()->text(), QStringLiteral("Prêt"));
        QCOMPARE(zk::runflag, int16_t(0));
        QVERIFY(idleInterface());

        zk::beginop(zk::opmapstats);
        w->mnuStop()->trigger();
        zk::endop();
        QCOMPARE(w->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
        QCOMPARE(w->label1()->text(), QStringLiteral("Prêt"));
        QVERIFY(idleInterface());
    }

    // A quick operation whose reports all fall within the quarter second
    // after its first drawing, then asks whether to keep its drawing: while
    // the question waits the bar is full, not at the 1% drawn first; the
    // end hides it. A stopped operation asks nothing and ends empty.
    void finishedWorkShowsTheBarFull()
    {
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::beginop(zk::opcoverage);
        zk::progtotal = 360;
        for (int n = 0; n < 360; n += 20) QCOMPARE(zk::opcallback(n), 1);
        QCOMPARE(w->label1()->text(), QStringLiteral("1%"));
        zk::PicBox box;
        QVERIFY(!zk::keepinpic(&box, QStringLiteral("la couverture ")));
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Garder la couverture dans l'image?")});
        QVERIFY(w->shape1(0)->isVisible());
        QVERIFY(w->shape1(1)->width() > 0);
        QCOMPARE(w->shape1(0)->width(), w->shape1(1)->width());
        QCOMPARE(w->label1()->text(), QStringLiteral("100%"));
        zk::endop();
        QCOMPARE(w->label1()->text(), QStringLiteral("Prêt"));
        QVERIFY(idleInterface());

        g_now += 1;
        zk::beginop(zk::opcoverage);
        zk::progtotal = 360;
        w->mnuStop()->trigger();
        zk::showprogressdone();  // nothing: the work was not done
        QCOMPARE(w->shape1(0)->width(), qRound(w->shape1(1)->width() / 100.0));
        zk::endop();
        QVERIFY(idleInterface());
    }

    void endWithoutBegin()
    {
        zk::endop();
        QCOMPARE(w->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
        QCOMPARE(w->label1()->text(), QStringLiteral("Prêt"));
        QVERIFY(idleInterface());
    }

    void showprogressCases_data()
    {
        QTest::addColumn<double>("total");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("label");
        QTest::newRow("no total: the value is the fraction") << 0.0 << 0.5 << "50%";
        QTest::newRow("past the total") << 100.0 << 250.0 << "100%";
        QTest::newRow("tiny shows 1%") << 100.0 << 0.0001 << "1%";
        QTest::newRow("half to even 2.5") << 200.0 << 5.0 << "2%";
        QTest::newRow("half to even 3.5") << 200.0 << 7.0 << "4%";
        QTest::newRow("zero hides") << 100.0 << 0.0 << "x";
        QTest::newRow("negative hides") << 100.0 << -5.0 << "x";
    }
    void showprogressCases()
    {
        QFETCH(double, total);
        QFETCH(double, value);
        QFETCH(QString, label);
        w->shape1(0)->show();
        w->shape1(1)->show();
        w->label1()->setText(QStringLiteral("x"));
        zk::progtotal = float(total);
        zk::showprogress(value);
        QCOMPARE(w->label1()->text(), label);
        if (value <= 0) {
            QVERIFY(!w->shape1(0)->isVisible());
            QVERIFY(!w->shape1(1)->isVisible());
        }
    }

    void showprogressRate()
    {
        zk::progtotal = 100;
        zk::showprogress(10);
        QCOMPARE(w->label1()->text(), QStringLiteral("10%"));
        // Within 0.25 s: not drawn.
        g_now += 0.2;
        zk::showprogress(20);
        QCOMPARE(w->label1()->text(), QStringLiteral("10%"));
        // Exactly 0.25 s after the drawing is not yet later.
        g_now = 10.25;
        zk::showprogress(20);
        QCOMPARE(w->label1()->text(), QStringLiteral("10%"));
        g_now = 10.26;
        zk::showprogress(20);
        QCOMPARE(w->label1()->text(), QStringLiteral("20%"));
        // The same percentage again is not drawn, and does not restart the interval.
        g_now += 1;
        w->label1()->setText(QStringLiteral("x"));
        zk::showprogress(20);
        QCOMPARE(w->label1()->text(), QStringLiteral("x"));
        zk::showprogress(30);
        QCOMPARE(w->label1()->text(), QStringLiteral("30%"));
    }

    void hiddenStatusBarStillRestartsInterval()
    {
        zk::progtotal = 100;
        w->picture2()->hide();
        w->label1()->setText(QStringLiteral("x"));
        zk::showprogress(40);
        QCOMPARE(w->label1()->text(), QStringLiteral("x"));
        QVERIFY(!w->shape1(1)->isVisible());
        w->picture2()->show();
        g_now += 0.1;
        zk::showprogress(50);  // within 0.25 s of the qualifying call above
        QCOMPARE(w->label1()->text(), QStringLiteral("x"));
        g_now += 0.2;
        zk::showprogress(50);
        QCOMPARE(w->label1()->text(), QStringLiteral("50%"));
        QCOMPARE(w->shape1(0)->width(), qRound(w->shape1(1)->width() * 0.5));
    }

    void picturesAndLinkWindow()
    {
        // A picture window with a unit label shown, and a radio-link window.
        zk::frmPic *pic = zk::openpicture(QString(), -1);
        QVERIFY(pic);
        QMdiSubWindow *sub = pic;
        QWidget *box = pic->findChild<QWidget *>(QStringLiteral("Picture1"));
        QWidget *label = pic->findChild<QWidget *>(QStringLiteral("Label4(3)"));
        QVERIFY(box && label);
        label->show();
        QVERIFY(label->isVisible());
        QMainWindow link;
        link.setObjectName(QStringLiteral("frmLink"));
        QMenu *m1 = link.menuBar()->addMenu(QStringLiteral("&Edition"));
        m1->setObjectName(QStringLiteral("menu(1)"));
        QMenu *m2 = link.menuBar()->addMenu(QStringLiteral("&Affichage"));
        m2->setObjectName(QStringLiteral("menu(2)"));
        auto *stop = new QAction(QStringLiteral("&Stop"), &link);
        stop->setObjectName(QStringLiteral("menu(3)"));
        stop->setVisible(false);
        link.menuBar()->addAction(stop);
        link.show();

        // The coverage is drawn over the networks: they stay.
        zk::beginop(zk::opcoverage);
        QVERIFY(label->isVisible());
        QVERIFY(!box->isEnabled());
        QVERIFY(!m1->menuAction()->isEnabled());
        QVERIFY(!m2->menuAction()->isEnabled());
        QVERIFY(stop->isVisible());
        zk::endop();
        QVERIFY(box->isEnabled());
        QVERIFY(m1->menuAction()->isEnabled());
        QVERIFY(!stop->isVisible());
        QVERIFY(box->hasFocus() || !QApplication::focusWidget() || w->mdiArea()->activeSubWindow() != sub);

        // Every other operation clears them first.
        zk::beginop(zk::opdraw2d);
        QVERIFY(!label->isVisible());
        zk::endop();
    }

    void closeRequestStops()
    {
        zk::beginop(zk::opdted);
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(zk::runflag, int16_t(0));
        zk::endop();
        QCOMPARE(w->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
    }

    void hiddenButtonsRunNothingDuringOperation()
    {
        QSignalSpy spy(w.get(), &frmMain::buttonRun);
        zk::beginop(zk::opgtopo30);
        QTest::mouseClick(w->picture1(), Qt::LeftButton, {}, QPoint(3 + 8, 4 + 8));  // button 0's place
        QCOMPARE(spy.count(), 0);
        QCOMPARE(zk::runflag, int16_t(zk::opgtopo30));
        zk::endop();
    }

    void stopButtonEndsLoop()
    {
        QSignalSpy spy(w.get(), &frmMain::buttonRun);
        zk::beginop(zk::opgtopo30);
        QTimer::singleShot(0, this, [this] { QTest::mouseClick(w->image1(18), Qt::LeftButton, {}, QPoint(8, 8)); });
        int n = 0;
        for (; n < 1000000; ++n)
            if (zk::opcallback(n) == 0) break;
        QVERIFY(n < 1000000);
        zk::endop();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 18);
        QCOMPARE(w->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
        QCOMPARE(w->label1()->text(), QStringLiteral("Prêt"));
        QVERIFY(idleInterface());
    }

    void engineLoopStoppedByStopButton()
    {
        // Map statistics over a large grid, in the engine library, reporting
        // every column through the hook. The highest cell lies in the last
        // column: a loop stopped early never sees it.
        zk::setProgressClock(nullptr);
        zk::elevgrid.redim(3999, 1999);
        zk::elevgrid.at(3999, 0) = 9000;
        MapSettings map{};
        zk::beginop(zk::opmapstats);
        QTimer::singleShot(0, this, [this] { QTest::mouseClick(w->image1(18), Qt::LeftButton, {}, QPoint(8, 8)); });
        bool ok = false;
        zk::engine::getmapstat(&map, zk::elevgrid.engineArray(), &ok);
        QVERIFY2(ok, "the engine library answers getmapstat");
        QCOMPARE(zk::runflag, int16_t(0));
        zk::endop();
        QVERIFY(map.hmax < 9000);
        QCOMPARE(w->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));

        // Run to its end, it sees the whole grid and completes.
        map = MapSettings{};
        zk::beginop(zk::opmapstats);
        zk::engine::getmapstat(&map, zk::elevgrid.engineArray(), &ok);
        zk::endop();
        QCOMPARE(map.hmax, 9000.0f);
        QCOMPARE(w->label2()->text(), QStringLiteral("Complété."));
    }
};

QTEST_MAIN(TestLongOp)
#include "test_longop.moc"
