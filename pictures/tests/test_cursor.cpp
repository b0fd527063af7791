// The cursor read-out: the main window's pane, the cursor values, the
// crosshair on every picture, and the elevation-grid window's 25 cells and
// zoom pane.
#include <QLabel>
#include <QPainter>
#include <QTest>

#include <memory>

#include "map/geotext.h"
#include "picenv.h"
#include "pictures/cursor.h"
#include "pictures/frmGrid.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "pictures/pichooks.h"

using zk::frmPic;

class TestCursor : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;
    double clock = 1000;

    frmPic *mapPicture()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        zktest::mapCorners(w);
        w->Picture1->setPicture(zktest::pattern(201, 101));
        return w;
    }

    static QString cell(int i) { return zk::frmGrid::loaded()->Label1[i]->text(); }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        env = std::make_unique<zktest::TestMain>();
        zk::setCursorClock([this] { return clock; });
    }
    void cleanupTestCase()
    {
        zk::setCursorClock(nullptr);
        env.reset();
    }
    void init()
    {
        zktest::setTestMap();
        zk::runflag = 0;
        zk::curx = zk::cury = 0;
        zk::curelev = 0;
        zk::gridtime = 0;
        zk::gridexpanded = false;
        env->mnuViewGrid->setChecked(false);
    }
    void cleanup()
    {
        env->closeAll();
        zk::pichooks = zk::PicHooks{};
        if (zk::frmGrid::loaded()) delete zk::frmGrid::loaded();
    }

    void paneOnTheMap()
    {
        zk::showcursor(0, 45);
        QCOMPARE(env->Label1->text(), QStringLiteral("000°00'00\"E  45°00'00\"N  1050m  x=100 y=50"));
        QCOMPARE(zk::curlon, 0.0f);
        QCOMPARE(zk::curlat, 45.0f);
        QCOMPARE(zk::curx, 100);
        QCOMPARE(zk::cury, 50);
        QCOMPARE(zk::curelev, 1050.0f);
    }

    void paneOffTheMap()
    {
        zk::showcursor(0, 45);
        // Just west of the map: one cell beyond column 0.
        zk::showcursor(-10.1f, 45.5f);
        float lon = -10.1f, lat = 45.5f;
        QCOMPARE(env->Label1->text(), zk::londms(lon) + "  " + zk::latdms(lat) + "  <Hors des limites de la carte>");
        QCOMPARE(zk::curlon, -10.1f);
        QCOMPARE(zk::curlat, 45.5f);
        QCOMPARE(zk::curx, 100);
        QCOMPARE(zk::cury, 50);
        QCOMPARE(zk::curelev, 1050.0f);
    }

    void positionTextsNormalise()
    {
        // The texts bring the longitude into [-180, 180) and the latitude
        // within -89..89; the cursor keeps those values.
        zk::showcursor(190, 89.5f);
        QCOMPARE(zk::curlon, -170.0f);
        QCOMPARE(zk::curlat, 89.0f);
    }

    void nothingWhileAnOperationRuns()
    {
        frmPic *w = mapPicture();
        zk::showcursor(0, 45);
        env->Label1->setText(QStringLiteral("busy"));
        zk::runflag = zk::opdraw2d;
        zk::showcursor(5, 42);
        QCOMPARE(env->Label1->text(), QStringLiteral("busy"));
        QCOMPARE(zk::curlon, 0.0f);
        QCOMPARE(w->Line1->x1(), 100);
        // -1 (a 3D picture window being made) does not block it.
        zk::runflag = -1;
        zk::showcursor(5, 42);
        QCOMPARE(zk::curlon, 5.0f);
        zk::runflag = 0;
    }

    void crosshairOnEveryPicture()
    {
        frmPic *map = mapPicture();
        frmPic *east = mapPicture();
        east->lon1 = east->lon4 = 0;
        frmPic *stereo = mapPicture();
        stereo->source = QStringLiteral("Vue stéréoscopique (Rouge et bleu)");
        frmPic *plain = mapPicture();
        plain->Pictype = 0;
        for (frmPic *w : {map, east, stereo, plain}) {
            w->Line1->show();
            w->Line2->show();
            w->Shape2->show();
        }
        zk::showcursor(-5, 42);
        QVERIFY(!map->Line1->isHidden() && !map->Line2->isHidden());
        QCOMPARE(map->Line1->x1(), 50);
        QCOMPARE(map->Line1->y1(), 0);
        QCOMPARE(map->Line1->y2(), 101);
        QCOMPARE(map->Line2->y1(), 80);
        QCOMPARE(map->Line2->x1(), 0);
        QCOMPARE(map->Line2->x2(), 201);
        QVERIFY(!map->Shape2->isHidden());
        for (frmPic *w : {east, plain}) QVERIFY(w->Line1->isHidden() && w->Line2->isHidden() && w->Shape2->isHidden());
        // The stereo picture gets its lines at the right place, hidden.
        QCOMPARE(stereo->Line1->x1(), 50);
        QCOMPARE(stereo->Line2->y1(), 80);
        QVERIFY(stereo->Line1->isHidden() && stereo->Line2->isHidden());
    }

    void crosshairOn3DPicture()
    {
        frmPic *w = mapPicture();
        w->Pictype = 3;
        w->Line2->show();
        zk::pichooks.geo3d = [](frmPic *, float, float, float elev, float &x, float &y) {
            x = 30;
            y = elev / 105;
            return true;
        };
        zk::showcursor(0, 45);
        QVERIFY(!w->Line1->isHidden());
        QVERIFY(w->Line2->isHidden());
        QCOMPARE(w->Line1->x1(), 30);
        QCOMPARE(w->Line1->y1(), 0);
        QCOMPARE(w->Line1->y2(), 10);
        zk::pichooks.geo3d = nullptr;
        zk::showcursor(0, 45);
        QVERIFY(w->Line1->isHidden());
    }

    void gridCells()
    {
        env->mnuViewGrid->setChecked(true);
        zk::showcursor(0, 45);
        zk::frmGrid *g = zk::frmGrid::loaded();
        QVERIFY(g);
        QVERIFY(g->isVisible());
        QCOMPARE(g->parentWidget(), &env->main);
        QCOMPARE(g->windowTitle(), QStringLiteral("Grille d'altitude (m)"));
        QCOMPARE(cell(12), QStringLiteral("1050"));
        QCOMPARE(cell(0), QStringLiteral("1032"));   // (98, 52): north-west
        QCOMPARE(cell(4), QStringLiteral("1072"));   // (102, 52)
        QCOMPARE(cell(20), QStringLiteral("1028"));  // (98, 48)
        QCOMPARE(cell(24), QStringLiteral("1068"));  // (102, 48)
        QCOMPARE(g->Label2->text(), QStringLiteral("000°00'00\"E  45°00'00\"N"));
        QCOMPARE(g->Label4->text(), zk::gridlocator(0, 45));
    }

    void gridCellsAtTheEdges_data()
    {
        QTest::addColumn<float>("lon");
        QTest::addColumn<QList<int>>("numbered");  // columns that show elevations
        QTest::newRow("just west of the map") << -10.1f << QList<int>{3, 4};
        QTest::newRow("first column") << -10.0f << QList<int>{2, 3, 4};
        QTest::newRow("last column") << 10.0f << QList<int>{0, 1, 2};
    }
    void gridCellsAtTheEdges()
    {
        QFETCH(float, lon);
        QFETCH(QList<int>, numbered);
        env->mnuViewGrid->setChecked(true);
        zk::showcursor(lon, 45);
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 5; ++col) {
                const QString t = cell(5 * row + col);
                if (numbered.contains(col)) QVERIFY2(t != QLatin1String("-"), qPrintable(t));
                else QCOMPARE(t, QStringLiteral("-"));
            }
    }

    void gridViewOff()
    {
        zk::showcursor(0, 45);
        QVERIFY(!zk::frmGrid::loaded());
    }

    void zoomPane()
    {
        frmPic *w = mapPicture();
        env->area->setActiveSubWindow(w);
        // Drawn over the picture, not kept: the pane does not show it.
        QPainter(&w->Picture1->image()).fillRect(95, 45, 10, 10, Qt::red);
        env->mnuViewGrid->setChecked(true);
        zk::gridexpanded = true;
        clock = 1000;
        zk::showcursor(0, 45);  // pixel (100, 50)
        QCOMPARE(zk::gridtime, 1000.25);
        const QImage pane = zk::frmGrid::loaded()->Picture1->picture();
        QCOMPARE(pane.size(), QSize(150, 150));
        QCOMPARE(pane.pixelColor(75, 75), QColor(100, 50, 7));
        QCOMPARE(pane.pixelColor(77, 77), QColor(100, 50, 7));
        QCOMPARE(pane.pixelColor(78, 75), QColor(101, 50, 7));
        QCOMPARE(pane.pixelColor(0, 0), QColor(75, 25, 7));
        QCOMPARE(pane.pixelColor(149, 149), QColor(124, 74, 7));

        // 0.1 s later: cells and marks, not the pane.
        clock = 1000.1;
        zk::showcursor(1, 45);
        QCOMPARE(cell(12), QStringLiteral("1150"));
        QCOMPARE(zk::frmGrid::loaded()->Picture1->picture().pixelColor(75, 75), QColor(100, 50, 7));
        clock = 1000.3;
        zk::showcursor(1, 45);
        QCOMPARE(zk::frmGrid::loaded()->Picture1->picture().pixelColor(75, 75), QColor(110, 50, 7));
        // Past midnight the clock starts again from 0: the pane follows.
        zk::gridtime = 86399.9 + 0.25;
        clock = 3;
        zk::showcursor(0, 45);
        QCOMPARE(zk::frmGrid::loaded()->Picture1->picture().pixelColor(75, 75), QColor(100, 50, 7));
    }

    void zoomPaneOffThePicture()
    {
        frmPic *w = mapPicture();
        env->area->setActiveSubWindow(w);
        env->mnuViewGrid->setChecked(true);
        zk::gridexpanded = true;
        clock = 5000;
        zk::showcursor(30, 45);
        QCOMPARE(zk::frmGrid::loaded()->Picture1->picture().pixelColor(75, 75), QColor(128, 128, 128));
    }
};

QTEST_MAIN(TestCursor)
#include "test_cursor.moc"
