// The elevation-grid window: expanding and collapsing, arrow keys and cell
// clicks moving the cursor cell by cell, and the two ways of closing it.
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>

#include <memory>

#include "base/screen.h"
#include "pictures/cursor.h"
#include "pictures/frmGrid.h"
#include "pictures/tests/picenv.h"

using zk::frmGrid;

class TestFrmGrid : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        zk::setScreenPixels(QSize(1024, 768));
        env = std::make_unique<zktest::TestMain>();
    }
    void cleanupTestCase() { env.reset(); }
    void init()
    {
        zktest::setTestMap();
        zk::runflag = 0;
        zk::gridexpanded = false;
        zk::gridright = zk::gridbottom = 0;
        env->mnuViewGrid->setChecked(true);
    }
    void cleanup()
    {
        if (frmGrid::loaded()) delete frmGrid::loaded();
        env->closeAll();
    }

    void touchingDoesNotShow()
    {
        frmGrid *g = frmGrid::instance();
        QCOMPARE(g->objectName(), QStringLiteral("frmGrid"));
        QVERIFY(!g->isVisible());  // touching it does not show it
        QCOMPARE(g->Command1->text(), QStringLiteral(">"));
        QCOMPARE(g->width(), g->Frame1->geometry().right() + 1);
    }

    // Where it opens and how it remembers its place is measured on the
    // window manager's frame: tests/desktop/test_desktop_placement.cpp.

    void closedByCodeKeepsTheView()
    {
        zk::showcursor(0, 45);
        frmGrid *g = frmGrid::loaded();
        QVERIFY(g && g->isVisible());
        QTest::keyClick(g, Qt::Key_Escape);
        QVERIFY(!frmGrid::loaded());
        QVERIFY(env->mnuViewGrid->isChecked());
        // The next cursor move brings it back.
        zk::showcursor(0, 45);
        QVERIFY(frmGrid::loaded() && frmGrid::loaded()->isVisible());
        frmGrid::unloadGrid();
        QVERIFY(env->mnuViewGrid->isChecked());
    }

    void closedByTheUserEndsTheView()
    {
        zk::showcursor(0, 45);
        frmGrid *g = frmGrid::loaded();
        // The window system's close request, as from the close box.
        QCloseEvent e;
        QSpontaneKeyEvent::setSpontaneous(&e);
        qApp->notify(g, &e);  // as QTest delivers its spontaneous events
        QVERIFY(e.isAccepted());
        g->hide();
        QVERIFY(!env->mnuViewGrid->isChecked());
        QVERIFY(!frmGrid::loaded());
        // With the view off the cursor no longer opens it.
        zk::showcursor(1, 45);
        QVERIFY(!frmGrid::loaded());
        delete g;
    }

    void expandAndCollapse()
    {
        zk::showcursor(0, 45);
        frmGrid *g = frmGrid::loaded();
        const int collapsed = g->width();
        QTest::mouseClick(g->Command1, Qt::LeftButton);
        QVERIFY(zk::gridexpanded);
        QCOMPARE(g->Command1->text(), QStringLiteral("<"));
        QCOMPARE(g->width(), g->Picture1->geometry().right() + 1 + 2);
        QVERIFY(g->width() > collapsed);
        QTest::mouseClick(g->Command1, Qt::LeftButton);
        QVERIFY(!zk::gridexpanded);
        QCOMPARE(g->Command1->text(), QStringLiteral(">"));
        QCOMPARE(g->width(), collapsed);
        // Opened again while expanded: expanded at once.
        zk::gridexpanded = true;
        frmGrid::unloadGrid();
        g = frmGrid::instance();
        QCOMPARE(g->Command1->text(), QStringLiteral("<"));
        QCOMPARE(g->width(), g->Picture1->geometry().right() + 1 + 2);
    }

    void arrowKeysStepOneCoordinate()
    {
        // Cell (100, 50), off the cell centre in both directions.
        zk::showcursor(0.04f, 45.03f);
        QCOMPARE(zk::curx, 100);
        QCOMPARE(zk::cury, 50);
        frmGrid *g = frmGrid::loaded();
        QTest::keyClick(g, Qt::Key_Right);
        QCOMPARE(zk::curx, 101);
        QCOMPARE(zk::curlon, 0.1f);
        QCOMPARE(zk::curlat, 45.03f);
        QTest::keyClick(g, Qt::Key_Up);
        QCOMPARE(zk::cury, 51);
        QCOMPARE(zk::curlat, 45.1f);
        QCOMPARE(zk::curlon, 0.1f);
        QTest::keyClick(g, Qt::Key_Left);
        QTest::keyClick(g, Qt::Key_Left);
        QCOMPARE(zk::curx, 99);
        QTest::keyClick(g, Qt::Key_Down);
        QCOMPARE(zk::cury, 50);
        QCOMPARE(g->Label1[12]->text(), QStringLiteral("1040"));
        // Other keys do nothing.
        QTest::keyClick(g, Qt::Key_A);
        QCOMPARE(zk::curx, 99);
    }

    void cellClicks()
    {
        zk::showcursor(0, 45);
        frmGrid *g = frmGrid::loaded();
        QTest::mouseClick(g->Label1[0], Qt::LeftButton);
        QCOMPARE(zk::curx, 98);
        QCOMPARE(zk::cury, 52);
        QCOMPARE(g->Label1[12]->text(), QStringLiteral("1032"));
        QTest::mouseClick(g->Label1[24], Qt::LeftButton);
        QCOMPARE(zk::curx, 100);
        QCOMPARE(zk::cury, 50);
        // A cell outside the map: the cursor leaves the map.
        zk::showcursor(-10, 45);
        QCOMPARE(g->Label1[10]->text(), QStringLiteral("-"));
        QTest::mouseClick(g->Label1[10], Qt::LeftButton);
        QCOMPARE(zk::curlon, -10.2f);
        QVERIFY(env->Label1->text().endsWith(QStringLiteral("<Hors des limites de la carte>")));
        QCOMPARE(zk::curx, 0);
    }

    void tinyGrid()
    {
        zk::elevgrid.redim(0, 0);
        float lon = 7, lat = 8;
        QVERIFY(!frmGrid::cellLon(1, lon));
        QVERIFY(!frmGrid::cellLat(1, lat));
        QCOMPARE(lon, 7.0f);
        zk::showcursor(0, 45);
        QTest::keyClick(frmGrid::loaded(), Qt::Key_Right);
        QTest::mouseClick(frmGrid::loaded()->Label1[0], Qt::LeftButton);
    }
};

QTEST_MAIN(TestFrmGrid)
#include "test_frmgrid.moc"
