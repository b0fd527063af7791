// The main window's commands that open the network and station dialogs
// (menu items, toolbar buttons, a double click on a unit's label) and what
// they do to the network drawings afterwards.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/mainwindow.h"
#include "base/longop.h"
#include "base/screen.h"
#include "paths.h"
#include "pictures/pichooks.h"
#include "pictures/view3d.h"
#include "radio/netmenus.h"
#include "radio/radiodata.h"

namespace {

// Presses `button` of the next modal dialog, which must carry that name; a
// dialog left open is closed so that the test goes on.
QString g_seen;
void whenmodal(const char *name, const char *button)
{
    g_seen.clear();
    QTimer::singleShot(0, [name, button] {
        QWidget *m = QApplication::activeModalWidget();
        if (!m) QFAIL("no modal dialog");
        g_seen = m->objectName();
        if (m->objectName() == QLatin1String(name)) {
            if (auto *b = m->findChild<QPushButton *>(QLatin1String(button))) b->click();
        }
        if (QApplication::activeModalWidget() == m) {
            if (auto *d = qobject_cast<QDialog *>(m)) d->reject();
        }
    });
}

}  // namespace

class TestNetMenus : public QObject {
    Q_OBJECT

    std::unique_ptr<zk::frmMain> w;
    QTemporaryDir tmp;

    QAction *item(const char *name) { return w->action(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
        s.clear();
        zk::setScreenPixels(QSize(1024, 768));
        zk::paths::setProgramFolder(tmp.filePath(QStringLiteral("prog")));
        zk::paths::setUserFolder(tmp.filePath(QStringLiteral("user")));
        w = std::make_unique<zk::frmMain>();
        w->show();
    }
    void cleanupTestCase()
    {
        zk::setnetredrawclock(nullptr);
        w.reset();
        zk::setScreenPixels(QSize());
    }
    void init()
    {
        zk::newnet(false);
        zk::runflag = 0;
        zk::setnetredrawclock(nullptr);
        item("mnuViewAutoRedraw")->setChecked(true);
    }

    void commandsAreAvailable()
    {
        QVERIFY(item("mnuFileNet")->isEnabled());
        QVERIFY(item("mnuEditUnit")->isEnabled());
        QCOMPARE(item("mnuEditUnit")->shortcut(), QKeySequence(QStringLiteral("Ctrl+U")));
        QVERIFY(bool(zk::pichooks.showunit));
    }

    void networkDialogThenRedraw()
    {
        zk::netalt = 0;  // drawnets raises it to 2000
        zk::netmodified = false;
        whenmodal("frmNet", "Command1");
        item("mnuFileNet")->trigger();
        QCOMPARE(g_seen, QStringLiteral("frmNet"));
        QVERIFY(zk::netmodified);
        QCOMPARE(zk::netalt, 2000.0f);
        QVERIFY(item("mnuViewAutoRedraw")->isChecked());
    }

    void slowRedrawSwitchesAutomaticRedrawOff()
    {
        static double now = 0;
        now = 100;
        // Each reading of the clock is 6 s later than the one before.
        zk::setnetredrawclock([] { return now += 6; });
        whenmodal("frmNet", "Command3");
        item("mnuFileNet")->trigger();
        QVERIFY(!item("mnuViewAutoRedraw")->isChecked());

        // Now the networks are only cleared, not redrawn.
        zk::netalt = 0;
        whenmodal("frmNet", "Command1");
        item("mnuFileNet")->trigger();
        QCOMPARE(g_seen, QStringLiteral("frmNet"));
        QCOMPARE(zk::netalt, 0.0f);
    }

    void fastRedrawKeepsIt()
    {
        static double now = 0;
        now = 100;
        zk::setnetredrawclock([] { return now += 5; });  // exactly 5 s: not more
        whenmodal("frmNet", "Command1");
        item("mnuFileNet")->trigger();
        QVERIFY(item("mnuViewAutoRedraw")->isChecked());
    }

    void toolbarButtons()
    {
        QCOMPARE(QString::fromLatin1(zk::frmMain::buttonCommand(3)), QStringLiteral("mnuFileNet"));
        QCOMPARE(QString::fromLatin1(zk::frmMain::buttonCommand(15)), QStringLiteral("mnuEditUnit"));
        whenmodal("frmNet", "Command1");
        w->Image1_MouseUp(3, 0, 8, 8);
        QCOMPARE(g_seen, QStringLiteral("frmNet"));
        whenmodal("frmUnit", "Command2");
        w->Image1_MouseUp(15, 0, 8, 8);
        QCOMPARE(g_seen, QStringLiteral("frmUnit"));
    }

    void stationDialogForCurunit()
    {
        zk::curunit = 12;
        static int shown = 0;
        shown = 0;
        QTimer::singleShot(0, [] {
            QWidget *m = QApplication::activeModalWidget();
            if (!m) QFAIL("no modal dialog");
            shown = zk::curunit;
            if (auto *d = qobject_cast<QDialog *>(m)) d->accept();
        });
        item("mnuEditUnit")->trigger();
        QCOMPARE(shown, 12);
        QVERIFY(w->isVisible());
    }

    void doubleClickOnAUnitLabel()
    {
        zk::curunit = 1;
        whenmodal("frmUnit", "Command2");
        zk::pichooks.showunit(7);
        QCOMPARE(g_seen, QStringLiteral("frmUnit"));
        QCOMPARE(zk::curunit, int16_t(7));
    }
};

QTEST_MAIN(TestNetMenus)
#include "test_netmenus.moc"
