// The main window: toolbar layout and wrapping, the highlight frame and the
// hit cells, the status-bar layout, the size grip, the tool-window closing
// rule, the station icons and the placement read at load.
#include <QAction>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

#include <memory>

#include "app/mainwindow.h"
#include "base/controls.h"
#include "base/dialogs.h"
#include "base/screen.h"
#include "base/settings.h"
#include "msgbox.h"
#include "paths.h"

using zk::frmMain;

namespace {

void clearStore()
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
    s.clear();
    s.sync();
}

// A tool window that records the order in which windows close.
QStringList g_closed;
class ToolWindow : public QWidget {
public:
    explicit ToolWindow(const QString &name, bool refuse = false) : refuse_(refuse)
    {
        setObjectName(name);
        setAttribute(Qt::WA_DeleteOnClose, false);
    }

protected:
    void closeEvent(QCloseEvent *e) override
    {
        g_closed << objectName();
        if (refuse_) e->ignore();
    }

private:
    bool refuse_;
};

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<frmMain> w;
    // The commands that buttons run may ask questions or show file dialogs:
    // scripted, nothing waits for a user.
    std::unique_ptr<zk::MsgScript> script;

    void showAt(int width, int height = 400)
    {
        w->setWindowState(Qt::WindowNoState);
        w->show();
        w->resize(width, height);
        QCoreApplication::processEvents();
    }

    // Click on the strip at (x, y) of the strip.
    void stripClick(int x, int y)
    {
        QTest::mouseClick(w->picture1(), Qt::LeftButton, {}, QPoint(x, y));
    }

private slots:
    void init()
    {
        script = std::make_unique<zk::MsgScript>();
        zk::dialogHooks.file = [](bool, const QString &, const QString &, const QString &) { return QString(); };
        clearStore();
        g_closed.clear();
        w = std::make_unique<frmMain>();
        // These tests are about the frame's controls: the commands behind the
        // toolbar buttons (dialogs, questions) are taken off.
        for (int i = 0; i < frmMain::kButtons; ++i)
            if (QAction *a = w->action(QLatin1String(frmMain::buttonCommand(i))))
                QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
    }
    void cleanup()
    {
        w.reset();
        script.reset();
        zk::dialogHooks.file = nullptr;
    }

    void layoutTable_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("xs");
        QTest::addColumn<QList<int>>("ys");
        QTest::addColumn<int>("height");
        const QList<int> wideX = {3, 26, 49, 72, 102, 125, 148, 178, 201, 224, 247, 277, 307, 330, 360, 383, 406, 429, 459};
        QTest::newRow("wide") << 800 << wideX << QList<int>(19, 4) << 26;
        // Button 18 needs x + 14 = 473 within the width.
        QTest::newRow("just wide enough") << 473 << wideX << QList<int>(19, 4) << 26;
        QList<int> ys(19, 4);
        ys[18] = 25;
        QList<int> xs = wideX;
        xs[18] = 0;
        QTest::newRow("stop wraps") << 472 << xs << ys << 47;
    }
    void layoutTable()
    {
        QFETCH(int, width);
        QFETCH(QList<int>, xs);
        QFETCH(QList<int>, ys);
        QFETCH(int, height);
        const zk::ToolbarLayout l = zk::toolbarLayout(width);
        for (int i = 0; i < 19; ++i) {
            QCOMPARE(l.x[size_t(i)], xs[i]);
            QCOMPARE(l.y[size_t(i)], ys[i]);
        }
        QCOMPARE(l.height, height);
    }

    void narrowSecondRow()
    {
        // Button 5 does not fit (125 + 14 > 138): a second row from x = 0, y = 25.
        const zk::ToolbarLayout l = zk::toolbarLayout(138);
        QCOMPARE(l.x[4], 102);
        QCOMPARE(l.y[4], 4);
        QCOMPARE(l.x[5], 0);
        QCOMPARE(l.y[5], 25);
        QCOMPARE(l.sepx[4], 97);
        // 6 at 23; 7 after its separator at 53; 8, 9, 10 at 76, 99, 122 (122 + 14 <= 138).
        QCOMPARE(l.x[10], 122);
        QCOMPARE(l.y[10], 25);
        // With only buttons 0..10 on two rows the strip would be 47 high; here more rows follow.
        QVERIFY(l.height > 47);
        const zk::ToolbarLayout two = zk::toolbarLayout(139);
        QCOMPARE(two.x[5], 125);
        QCOMPARE(two.y[5], 4);
    }

    void separatorsOnWideWindow()
    {
        const zk::ToolbarLayout l = zk::toolbarLayout(1000);
        const QList<int> idx = {4, 7, 11, 12, 14, 18};
        const QList<int> sx = {97, 173, 272, 302, 355, 454};
        for (int k = 0; k < idx.size(); ++k) {
            QVERIFY(zk::isSeparatorIndex(idx[k]));
            QCOMPARE(l.sepx[size_t(idx[k])], sx[k]);
            QCOMPARE(l.sepy[size_t(idx[k])], 4);
        }
    }

    void wrappingSeparatorStaysOnPreviousRow()
    {
        // Width where button 7 wraps: its separator is placed before the wrap.
        const zk::ToolbarLayout l = zk::toolbarLayout(180);
        QCOMPARE(l.sepx[7], 173);
        QCOMPARE(l.sepy[7], 4);
        QCOMPARE(l.x[7], 0);
        QCOMPARE(l.y[7], 25);
    }

    void windowLayoutWide()
    {
        showAt(800);
        QCOMPARE(w->picture1()->height(), 26);
        QCOMPARE(w->image1(0)->pos(), QPoint(3, 4));
        QCOMPARE(w->image1(17)->pos(), QPoint(429, 4));
        QCOMPARE(w->image1(18)->pos(), QPoint(459, 4));
        QCOMPARE(w->buttonx(4), 103);
        QCOMPARE(w->buttony(4), 5);
        QCOMPARE(w->line2(4)->x1(), 97);
        QCOMPARE(w->line2(4)->y1(), 2);
        QCOMPARE(w->line2(4)->y2(), 22);
        QVERIFY(w->line2(4)->isVisible());
        QCOMPARE(w->line1()->y1(), 0);
        QCOMPARE(w->line1()->x2(), w->frameGeometry().width());
        // Idle: buttons 0..17 shown, Stop hidden, no frame.
        for (int i = 0; i < 18; ++i) QVERIFY(w->image1(i)->isVisible());
        QVERIFY(!w->image1(18)->isVisible());
        for (int k = 0; k < 4; ++k) QVERIFY(!w->line2(k)->isVisible());
    }

    void windowLayoutNarrowWraps()
    {
        showAt(130);
        QCOMPARE(w->width(), 130);
        QCOMPARE(w->image1(5)->pos(), QPoint(0, 25));
        QVERIFY(w->picture1()->height() > 47);  // more rows follow at this width
        showAt(138);
        QCOMPARE(w->image1(4)->pos(), QPoint(102, 4));
        QCOMPARE(w->image1(5)->pos(), QPoint(0, 25));
        // The hidden Stop button is laid out too: at 470 it wraps (459 + 14 > 470).
        showAt(470);
        QCOMPARE(w->picture1()->height(), 47);
        showAt(473);
        QCOMPARE(w->picture1()->height(), 26);
    }

    void toolTips()
    {
        const QStringList tips = {"Nouveaux réseaux", "Ouvrir des réseaux", "Enregistrer les réseaux sous",
                                  "Propriétés des réseaux", "Ouvrir une carte", "Enregistrer la carte sous",
                                  "Propriétés de la carte", "Nouvelle image", "Ouvrir une image",
                                  "Enregistrer l'image sous", "Propriétés de l'image", "Imprimer", "Copier", "Coller",
                                  "Localisation GPS", "Propriétés des stations", "Lien radio", "Montrer les réseaux",
                                  "Stop"};
        for (int i = 0; i < 19; ++i) {
            QCOMPARE(w->image1(i)->toolTip(), tips[i]);
            QCOMPARE(w->image1(i)->objectName(), QStringLiteral("Image1(%1)").arg(i));
            QVERIFY(w->action(QLatin1String(frmMain::buttonCommand(i))));
        }
    }

    void highlightRaisedAndSunken()
    {
        showAt(800);
        w->load();
        QCOMPARE(w->hotstate(), -1);
        const int bx = w->buttonx(2), by = w->buttony(2);
        QTest::mouseMove(w->image1(2), QPoint(8, 8));
        QCOMPARE(w->hotbutton(), 2);
        for (int k = 0; k < 4; ++k) QVERIFY(w->line2(k)->isVisible());
        // Raised: light lines left and top, dark lines right and bottom.
        QCOMPARE(w->image1(2)->pos(), QPoint(bx, by));
        QCOMPARE(w->line2(0)->x1(), bx - 3);
        QCOMPARE(w->line2(0)->y1(), by - 3);
        QCOMPARE(w->line2(0)->y2(), by + 16 + 3);
        QCOMPARE(w->line2(2)->x1(), bx + 16 + 3);
        QCOMPARE(w->line2(1)->y1(), by - 3);
        QCOMPARE(w->line2(3)->y1(), by + 19);
        // Sunken while pressed: the image moves one pixel and the lines trade places.
        w->Image1_MouseMove(2, 1, 8, 8);
        QCOMPARE(w->image1(2)->pos(), QPoint(bx + 1, by + 1));
        QCOMPARE(w->line2(0)->x1(), bx + 16 + 3);
        QCOMPARE(w->line2(2)->x1(), bx - 3);
        QCOMPARE(w->line2(0)->y1(), by + 19);
        QCOMPARE(w->line2(0)->y2(), by - 3);
        // Clearing puts the image back and hides the frame.
        w->Image1_MouseMove(-1, 0, 0, 0);
        QCOMPARE(w->image1(2)->pos(), QPoint(bx, by));
        for (int k = 0; k < 4; ++k) QVERIFY(!w->line2(k)->isVisible());
        QCOMPARE(w->hotbutton(), -1);
    }

    void clickRunsButton()
    {
        showAt(800);
        QSignalSpy spy(w.get(), &frmMain::buttonRun);
        QTest::mouseClick(w->image1(3), Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 3);
        QCOMPARE(w->hotbutton(), -1);
        for (int k = 0; k < 4; ++k) QVERIFY(!w->line2(k)->isVisible());
        // Any mouse button runs it.
        QTest::mouseClick(w->image1(5), Qt::RightButton, {}, QPoint(8, 8));
        QCOMPARE(spy.count(), 2);
    }

    void clickMovedOffRunsNothing_data()
    {
        QTest::addColumn<QPoint>("release");
        QTest::newRow("3 px left") << QPoint(-3, 8);
        QTest::newRow("3 px above") << QPoint(8, -3);
        QTest::newRow("3 px right") << QPoint(16 + 2, 8);
        QTest::newRow("3 px below") << QPoint(8, 16 + 2);
    }
    void clickMovedOffRunsNothing()
    {
        QFETCH(QPoint, release);
        showAt(800);
        QSignalSpy spy(w.get(), &frmMain::buttonRun);
        zk::Image *img = w->image1(6);
        QTest::mousePress(img, Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(w->hotbutton(), 6);
        // The sunken image sits one pixel further: measure from where it is now.
        QTest::mouseMove(img, release);
        QTest::mouseRelease(img, Qt::LeftButton, {}, release);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(w->hotbutton(), -1);
        for (int k = 0; k < 4; ++k) QVERIFY(!w->line2(k)->isVisible());
    }

    void stripCells_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("runs");
        // A cell reaches from 2 px left to 5 px right of its image and from
        // 1 px above to 4 px below it. Button 3 (image x 72) has a separator
        // on its right, button 4 (image x 102) on its left, so no neighbour's
        // cell touches the edges tested.
        QTest::newRow("2 left") << 4 << -2 << 8 << 4;
        QTest::newRow("3 left") << 4 << -3 << 8 << -1;
        QTest::newRow("5 right") << 3 << 16 + 4 << 8 << 3;
        QTest::newRow("6 right") << 3 << 16 + 5 << 8 << -1;
        QTest::newRow("1 above") << 3 << 8 << -1 << 3;
        QTest::newRow("4 below") << 3 << 8 << 16 + 3 << 3;
        QTest::newRow("5 below") << 3 << 8 << 16 + 4 << -1;
        // Between two buttons without a separator the cells adjoin.
        QTest::newRow("3 left of 3 is 2") << 3 << -3 << 8 << 2;
    }
    void stripCells()
    {
        QFETCH(int, button);
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(int, runs);
        showAt(800);
        QSignalSpy spy(w.get(), &frmMain::buttonRun);
        const QPoint img = w->image1(button)->pos();
        stripClick(img.x() + dx, img.y() + dy);
        if (runs < 0) {
            QCOMPARE(spy.count(), 0);
        } else {
            QCOMPARE(spy.count(), 1);
            QCOMPARE(spy.at(0).at(0).toInt(), runs);
        }
    }

    void hiddenStopNeverRuns()
    {
        showAt(800);
        QSignalSpy spy(w.get(), &frmMain::buttonRun);
        stripClick(459 + 8, 4 + 8);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(w->hotbutton(), -1);
    }

    void buttonRunsItsMenuItem()
    {
        showAt(800);
        QAction *a = w->action(QStringLiteral("mnuFileNet"));
        QVERIFY(a);
        a->setEnabled(false);  // a command not available
        QVERIFY(w->image1(3)->greyed());
        QSignalSpy triggered(a, &QAction::triggered);
        QTest::mouseClick(w->image1(3), Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(triggered.count(), 0);  // not available: nothing runs
        a->setEnabled(true);
        QVERIFY(!w->image1(3)->greyed());
        QTest::mouseClick(w->image1(3), Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(triggered.count(), 1);
    }

    void statusLayoutTable_data()
    {
        QTest::addColumn<double>("outer");
        QTest::addColumn<double>("paneWidth");
        QTest::newRow("wide") << 12000.0 << 5035.0;  // (12000 - 140 - 1550 - 240) / 2
        QTest::newRow("odd") << 12001.0 << 5036.0;   // 5035.5 to the even neighbour
        QTest::newRow("narrow keeps 1000") << 3000.0 << 1000.0;
    }
    void statusLayoutTable()
    {
        QFETCH(double, outer);
        QFETCH(double, paneWidth);
        const zk::StatusLayout l = zk::statusLayout(outer);
        QCOMPARE(l.width[1], paneWidth);
        QCOMPARE(l.width[2], paneWidth);
        QCOMPARE(l.left[1], 1550.0);
        QCOMPARE(l.left[2], 1550.0 + paneWidth);
        QCOMPARE(l.left[3], outer - 240 - 140);
        QCOMPARE(l.progressWidth, paneWidth - 2 * zk::twipsPerPixelX() - 480 - 80);
    }

    void statusBarControls()
    {
        showAt(800);
        QCOMPARE(w->label1()->text(), QStringLiteral("Prêt"));
        QCOMPARE(w->label2()->text(), QStringLiteral("-"));
        QCOMPARE(w->picture2()->height(), 20);
        QCOMPARE(w->picture3(0)->width(), 103);  // 1550 twips
        const zk::StatusLayout l = zk::statusLayout(w->frameGeometry().width() * 15.0);
        QCOMPARE(w->picture3(1)->x(), 103);
        QCOMPARE(w->picture3(1)->width(), qRound(l.width[1] / 15));
        QCOMPARE(w->picture3(3)->width(), 16);
        QVERIFY(w->picture3(3)->isVisible());
        QVERIFY(!w->shape1(0)->isVisible());
        QVERIFY(!w->shape1(1)->isVisible());
        QCOMPARE(w->shape1(1)->x(), 32);
        QCOMPARE(w->shape2(0)->fillColor(), QColor(160, 0, 0));
        const QStringList lights = {"GPS", "Tx", "Rx"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(w->label3(i)->text(), lights[i]);
            QVERIFY(!w->label3(i)->isVisible());
            QVERIFY(!w->shape2(i)->isVisible());
        }
        QCOMPARE(w->timer1()->objectName(), QStringLiteral("Timer1"));
        QVERIFY(!w->timer1()->isActive());
    }

    void gripHiddenWhenMaximised()
    {
        showAt(600);
        QVERIFY(w->picture3(3)->isVisible());
        w->showMaximized();
        QCoreApplication::processEvents();
        QVERIFY(w->isMaximized());
        QVERIFY(!w->picture3(3)->isVisible());
        const QSize before = w->size();
        w->Picture3_MouseUp(3, 20, 10);  // no effect when not normal
        QCOMPARE(w->size(), before);
        w->showNormal();
        QCoreApplication::processEvents();
        QVERIFY(w->picture3(3)->isVisible());
    }

    void gripGrowsWindow()
    {
        showAt(600, 400);
        const QSize before = w->size();
        QTest::mouseClick(w->picture3(3), Qt::LeftButton, {}, QPoint(7, 3));
        QCOMPARE(w->size(), before + QSize(7, 3));
        w->Picture3_MouseUp(3, -20, 0);
        QCOMPARE(w->size(), before + QSize(-13, 3));
        w->Picture3_MouseUp(2, 50, 50);  // other panes do nothing
        QCOMPARE(w->size(), before + QSize(-13, 3));
    }

    void toolWindowsCloseInOrder_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("menu opened") << "menu";
        QTest::newRow("toolbar button") << "button";
        QTest::newRow("minimised") << "minimise";
    }
    void toolWindowsCloseInOrder()
    {
        QFETCH(QString, trigger);
        showAt(800);
        std::vector<std::unique_ptr<ToolWindow>> tools;
        for (const char *n : {"frmDebug", "frmObject", "frmCustom", "frmMapPro", "frmLink", "frmGrid", "frmOther"}) {
            tools.push_back(std::make_unique<ToolWindow>(QLatin1String(n)));
            tools.back()->show();
        }
        // The object editor is not adding points: it stays.
        tools[1]->setProperty("objedit", false);
        if (trigger == QLatin1String("menu")) {
            w->menu(3)->popup(QPoint(0, 0));
            w->menu(3)->close();
        } else if (trigger == QLatin1String("button")) {
            QTest::mouseClick(w->image1(0), Qt::LeftButton, {}, QPoint(8, 8));
        } else {
            w->showMinimized();
            QCoreApplication::processEvents();
        }
        QCOMPARE(g_closed, QStringList({"frmGrid", "frmLink", "frmMapPro", "frmCustom", "frmDebug"}));
        QVERIFY(tools[1]->isVisible());
        QVERIFY(tools[6]->isVisible());
    }

    void objectEditorClosesWhileAddingPoints()
    {
        showAt(800);
        ToolWindow editor(QStringLiteral("frmObject"), true);
        editor.setProperty("objedit", true);
        editor.show();
        ToolWindow monitor(QStringLiteral("frmDebug"));
        monitor.show();
        w->closetoolwindows();
        // The editor refuses (its question answered No); the rule goes on.
        QCOMPARE(g_closed, QStringList({"frmObject", "frmDebug"}));
        QVERIFY(editor.isVisible());
        QVERIFY(!monitor.isVisible());
    }

    void lightLabelsRunTheirCommands()
    {
        showAt(800);
        QAction *gps = w->action(QStringLiteral("mnuViewGPS"));
        QAction *mon = w->action(QStringLiteral("mnuMonitor"));
        gps->setEnabled(true);
        mon->setEnabled(true);
        QSignalSpy sg(gps, &QAction::triggered), sm(mon, &QAction::triggered);
        w->label3(0)->show();
        w->label3(1)->show();
        QTest::mouseDClick(w->label3(1), Qt::LeftButton);
        QCOMPARE(sm.count(), 1);
        QCOMPARE(sg.count(), 0);
        QTest::mouseDClick(w->label3(0), Qt::LeftButton);
        QCOMPARE(sg.count(), 1);
        w->Label3_DblClick(2);
        QCOMPARE(sm.count(), 2);
    }

    void menuTree()
    {
        const QStringList titles = {"&Fichier", "&Edition", "&Affichage", "Fenê&tres", "&?"};
        for (int i = 1; i <= 5; ++i) {
            QCOMPARE(w->menu(i)->title(), titles[i - 1]);
            QCOMPARE(w->menu(i)->objectName(), QStringLiteral("menu(%1)").arg(i));
        }
        QCOMPARE(w->mnuStop()->text(), QStringLiteral("&Stop"));
        QVERIFY(!w->mnuStop()->isVisible());
        QVERIFY(w->menuBar()->actions().contains(w->mnuStop()));
        QCOMPARE(w->mnuViewGrid()->text(), QStringLiteral("Grille d'&altitude "));
        QVERIFY(w->mnuViewGrid()->isChecked());
        QVERIFY(w->mnuMouseCoor()->isChecked());
        QVERIFY(w->action(QStringLiteral("mnuViewAutoRedraw"))->isChecked());
        QVERIFY(w->action(QStringLiteral("mnuModel(1)"))->isChecked());
        QVERIFY(!w->action(QStringLiteral("mnuModel(2)"))->isChecked());
        for (int i = 0; i < 4; ++i) QVERIFY(!w->mnuFileMRU(i)->isVisible());
        QCOMPARE(w->action(QStringLiteral("mnuFileNewNet"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(w->action(QStringLiteral("mnuEditPasteNew"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
        QVERIFY(w->action(QStringLiteral("mnuFileNewNet"))->isEnabled());
        QVERIFY(w->action(QStringLiteral("mnuHelpAbout"))->isEnabled());
        QVERIFY(w->action(QStringLiteral("mnuFileExit"))->isEnabled());
    }

    void toolbarAndStatusBarSwitches()
    {
        showAt(800);
        QAction *tb = w->action(QStringLiteral("mnuViewToolbar"));
        QAction *sb = w->action(QStringLiteral("mnuViewStatusBar"));
        tb->trigger();
        QVERIFY(!tb->isChecked());
        QVERIFY(!w->picture1()->isVisible());
        tb->trigger();
        QVERIFY(w->picture1()->isVisible());
        sb->trigger();
        QVERIFY(!w->picture2()->isVisible());
    }

    void stationIcons()
    {
        QTemporaryDir prog, user;
        QVERIFY(prog.isValid() && user.isValid());
        QImage red(32, 32, QImage::Format_ARGB32), blue(16, 16, QImage::Format_ARGB32);
        red.fill(Qt::red);
        blue.fill(Qt::blue);
        QVERIFY(red.save(prog.filePath(QStringLiteral("a.ico")), "ICO"));
        QVERIFY(red.save(prog.filePath(QStringLiteral("B.ICO")), "ICO"));
        QVERIFY(QDir(prog.path()).mkdir(QStringLiteral("icon")));
        QVERIFY(blue.save(prog.filePath(QStringLiteral("icon/c.ico")), "ICO"));
        QFile bad(prog.filePath(QStringLiteral("icon/bad.ico")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not an icon");
        bad.close();
        zk::paths::setProgramFolder(prog.path());
        zk::paths::setUserFolder(user.path());
        QCOMPARE(w->imgIcons().size(), 22);
        w->load();
        zk::paths::setProgramFolder(QString());
        zk::paths::setUserFolder(QString());
        const QList<QPixmap> &icons = w->imgIcons();
        QCOMPARE(icons.size(), 26);
        for (int i = 0; i < 7; ++i) QCOMPARE(icons[i].size(), QSize(16, 16));
        for (int i = 7; i < 22; ++i) QCOMPARE(icons[i].size(), QSize(32, 32));
        QCOMPARE(icons[22].size(), QSize(32, 32));
        QCOMPARE(icons[23].size(), QSize(32, 32));
        // The "icon" folder follows the program folder; an unreadable file
        // keeps its index without a picture.
        int blueAt = -1, nullAt = -1;
        for (int i = 24; i < 26; ++i) {
            if (icons[i].isNull()) nullAt = i;
            else if (icons[i].toImage().pixelColor(4, 4) == QColor(Qt::blue)) blueAt = i;
        }
        QVERIFY(blueAt >= 24);
        QVERIFY(nullAt >= 24);
    }

    void stereoPaletteImage()
    {
        const QImage &img = w->imgStereo();
        QCOMPARE(img.size(), QSize(1, 1));
        QCOMPARE(img.format(), QImage::Format_Indexed8);
        const QList<QRgb> t = img.colorTable();
        QCOMPARE(t.size(), 256);
        QCOMPARE(t[10], qRgb(255, 255, 255));
        QCOMPARE(t[10 + 16 * 3 + 5], qRgb(255 - 48, 255 - 80, 255 - 80));
        QCOMPARE(t[245], qRgb(255 - 224, 255 - 176, 255 - 176));
        QCOMPARE(t[0], qRgb(0, 0, 0));
        QCOMPARE(t[255], qRgb(255, 255, 255));
    }

    void placement_data()
    {
        QTest::addColumn<QStringList>("stored");  // left, top, width, height ("" = absent)
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QRect>("geometry");      // pixels, when normal
        QTest::newRow("first start") << QStringList{"", "", "", ""} << false << QRect(67, 67, 433, 433);
        QTest::newRow("closed maximised") << QStringList{"0", "0", "0", "0"} << true << QRect();
        QTest::newRow("top below the screen") << QStringList{"1500", "99999", "3000", "1500"} << false
                                              << QRect(100, 6667, 200, 100);
        QTest::newRow("height of the screen") << QStringList{"0", "0", "3000", "9000"} << true << QRect();
        QTest::newRow("left off the screen") << QStringList{"12000", "0", "3000", "3000"} << true << QRect();
        // A value that is not a number is not applied; the window opens normal.
        QTest::newRow("not a number") << QStringList{"abc", "1500", "3000", "1500"} << false
                                      << QRect(40, 100, 200, 100);
    }
    void placement()
    {
        QFETCH(QStringList, stored);
        QFETCH(bool, maximised);
        QFETCH(QRect, geometry);
        zk::setScreenPixels(QSize(800, 600));
        const char *keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
        for (int i = 0; i < 4; ++i)
            if (!stored[i].isEmpty()) zk::writesetting(QLatin1String(keys[i]), stored[i]);
        w->load();
        zk::setScreenPixels(QSize());
        QCOMPARE(w->isMaximized() || (w->windowState() & Qt::WindowMaximized), maximised);
        if (!maximised) {
            QCOMPARE(w->pos(), geometry.topLeft());
            QCOMPARE(w->size(), geometry.size());
        }
        QCOMPARE(w->windowTitle(), QStringLiteral("Kestrova"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
