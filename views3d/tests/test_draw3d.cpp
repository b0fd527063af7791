// 3D pictures under the offscreen platform: the drawing (names, stored
// view, colours and painting order, stop, failures, the window it goes
// into), points placed on stored 3D pictures, a saved 3D picture reopened
// with its view, and links drawn in the air.
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <cstring>

#include "app/mainwindow.h"
#include "base/longop.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "pictures/frmPic.h"
#include "pictures/geo3d.h"
#include "pictures/picfiles.h"
#include "pictures/pichooks.h"
#include "pictures/view3d.h"
#include "radio/link3d.h"
#include "radio/radiodata.h"
#include "testenv.h"
#include "views3d/draw3d.h"

using zk::frmPic;

namespace {

// The test map is the half-degree map: 41 x 31 cells from 10 W to 10 E and
// 40 N to 55 N, 10 km from south to north.
using viewtest::halfLat;
using viewtest::halfLon;
using viewtest::kGrey;
using viewtest::rgb;
using viewtest::rgbAt;
using viewtest::setHalfDegreeMap;
using viewtest::source;
using viewtest::whenmodal;

// The view of a camera placed by hand.
void setView(float theta, float phi, float disto, float aper = 1, float amplx = 1)
{
    zk::set3dparams(0);
    zk::view3d.theta = theta;
    zk::view3d.phi = phi;
    zk::view3d.disto = disto;
    zk::view3d.aper = aper;
    zk::view3d.amplx = amplx;
}

}  // namespace

class TestDraw3d : public viewtest::MainEnv {
    Q_OBJECT

    // A new 3D picture drawn with the current view.
    frmPic *drawnew()
    {
        zk::new3d = -1;
        const int before = zk::draw3dcount();
        zk::draw3d();
        if (zk::draw3dcount() != before + 1) return nullptr;
        return zk::activepic();
    }

    // A 3D picture as stored on a 1024 x 768 grid, for the projection cases:
    // its corners make grid column x the longitude x and grid row y the
    // latitude y.
    static void storedPicture(frmPic &w, float theta, float phi, float disto)
    {
        w.Pictype = 3;
        w.lon1 = 0; w.lat1 = 767;
        w.lon2 = 1023; w.lat2 = 767;
        w.lon3 = 1023; w.lat3 = 0;
        w.lon4 = 0; w.lat4 = 0;
        w.amplx = 1; w.phi = phi; w.theta = theta; w.disto = disto; w.aper = 1; w.size = 10;
        w.ofx = 512; w.ofy = 384;
        w.w3 = 1023; w.h3 = 767;
        w.q3 = float(1.0 / 10 * 767 / 1000);
    }

private slots:
    void init()
    {
        closeAll();
        setHalfDegreeMap();
        zk::set3dparams(0);
        zk::new3d = -1;
        zk::curpic = nullptr;
    }

    // Kept first: the numbers count the 3D windows of the whole run.
    void namesNumberTheWindows()
    {
        QVERIFY(source());
        frmPic *first = drawnew();
        QVERIFY(first);
        QCOMPARE(first->Filename, QStringLiteral("Img3D1.bmp"));
        QCOMPARE(first->windowTitle(), QStringLiteral("Img3D1.bmp"));
        QCOMPARE(first->source, QStringLiteral("Image 3D"));
        QCOMPARE(first->Pictype, int16_t(3));
        QCOMPARE(main->label2()->text(), QStringLiteral("Complété."));
        QCOMPARE(zk::runflag, int16_t(0));
        delete first;
        QApplication::processEvents();
        frmPic *second = drawnew();
        QVERIFY(second);
        QCOMPARE(second->Filename, QStringLiteral("Img3D2.bmp"));
        QCOMPARE(second->windowTitle(), QStringLiteral("Img3D2.bmp"));
        QCOMPARE(zk::draw3dcount(), 2);
    }

    void storesTheView()
    {
        zk::mapset.size = 25;
        setView(30, 50, 600, 2, 3);
        zk::view3d.ofx = 400.5f;
        QVERIFY(source());
        frmPic *w = drawnew();
        QVERIFY(w);
        QCOMPARE(w->lon1, zk::mapcorners.lon[0]);
        QCOMPARE(w->lat1, zk::mapcorners.lat[0]);
        QCOMPARE(w->lon3, zk::mapcorners.lon[2]);
        QCOMPARE(w->lat4, zk::mapcorners.lat[3]);
        QCOMPARE(w->theta, 30.0f);
        QCOMPARE(w->phi, 50.0f);
        QCOMPARE(w->disto, 600.0f);
        QCOMPARE(w->aper, 2.0f);
        QCOMPARE(w->amplx, 3.0f);
        QCOMPARE(w->size, 25.0f);
        QCOMPARE(zk::view3d.size, 25.0f);
        QCOMPARE(w->ofx, 400.5f);
        QCOMPARE(w->ofy, 384.0f);
        QCOMPARE(w->w3, 40.0f);
        QCOMPARE(w->h3, 30.0f);
        QCOMPARE(w->q3, float(3.0 / 25 * 30 / 1000));
        QCOMPARE(w->Picture1->picture().size(), QSize(1024, 768));
        // The drawing is kept in the picture.
        QCOMPARE(w->Picture1->picture().pixel(512, 384), w->Picture1->image().pixel(512, 384));
    }

    // Straight down from above, north up, five pixels a cell: each cell is a
    // square in its source pixel's colour; a cell whose pixel lies outside
    // the source picture stays grey.
    void cellsTakeTheirColours()
    {
        setView(0, 0, 200);
        QVERIFY(source(QSize(40, 30)));  // one pixel short of the grid each way
        frmPic *w = drawnew();
        QVERIFY(w);
        const QImage &img = w->Picture1->picture();
        // Grid centre (20, 15) at the view centre (512, 384).
        auto centre = [](int i, int j) { return QPoint(512 + 5 * (i - 20) + 2, 384 - 5 * (j - 15) - 3); };
        for (int j = 1; j < 30; j += 7)
            for (int i = 0; i < 40; i += 9) QCOMPARE(rgbAt(img, centre(i, j).x(), centre(i, j).y()), rgb(i, 30 - j, 7));
        // Row 0 reads source row 30, outside the 30-row source.
        QCOMPARE(rgbAt(img, centre(10, 0).x(), centre(10, 0).y()), kGrey);
        // Outside the map.
        QCOMPARE(rgbAt(img, 5, 5), kGrey);
        QCOMPARE(rgbAt(img, 1000, 700), kGrey);
    }

    void sectors_data()
    {
        QTest::addColumn<float>("theta");
        QTest::addColumn<int>("sector");
        const float starts[] = {0, 45, 90, 135, 180, 225, 270, 315};
        for (int k = 0; k < 8; ++k) {
            QTest::addRow("%g", double(starts[k])) << starts[k] << k;
            if (k > 0) QTest::addRow("just under %g", double(starts[k])) << std::nextafter(starts[k], 0.f) << k - 1;
        }
        QTest::newRow("359") << 359.f << 7;
        QTest::newRow("360") << 360.f << 7;
    }
    void sectors()
    {
        QFETCH(float, theta);
        QFETCH(int, sector);
        QCOMPARE(zk::draw3dsector(theta), sector);
    }

    // Far cells first: a tall block with its ring in red on blue ground
    // hides the ground just behind it, from every side.
    void nearTerrainCoversFar_data()
    {
        QTest::addColumn<float>("theta");
        for (float t : {10.f, 60.f, 100.f, 150.f, 200.f, 250.f, 300.f, 340.f}) QTest::addRow("%g", double(t)) << t;
    }
    void nearTerrainCoversFar()
    {
        QFETCH(float, theta);
        setHalfDegreeMap([](int x, int y) { return int16_t(x >= 15 && x <= 25 && y >= 15 && y <= 25 ? 50 : 0); }, 40, 40);
        zk::mapset.size = 0.1f;  // 0.4 cells a metre: the block stands 20 cells high
        setView(theta, 60, 400);
        frmPic *src = source();
        QVERIFY(src);
        QImage img(41, 41, QImage::Format_RGBX8888);
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 41; ++x) {
                const int j = 40 - y;  // pixel row y shows grid row 40 - y
                const bool block = x >= 14 && x <= 25 && j >= 14 && j <= 25;
                img.setPixelColor(x, y, block ? QColor(255, 0, 0) : QColor(0, 0, 255));
            }
        src->Picture1->setPicture(img);
        frmPic *w = drawnew();
        QVERIFY(w);
        // A ground point just beyond the block, seen from the camera.
        const double t = theta * M_PI / 180, d = 5 * std::sqrt(2.0) + 2.1;
        zk::ProjPoint behind;
        QVERIFY(zk::project3d(float(20 + d * std::sin(t)), float(20 + d * std::cos(t)), 0, behind));
        QCOMPARE(rgbAt(w->Picture1->picture(), behind.x, behind.y), rgb(255, 0, 0));
        // And one just before it, in front of the block, is ground.
        zk::ProjPoint before;
        QVERIFY(zk::project3d(float(20 - d * std::sin(t)), float(20 - d * std::cos(t)), 0, before));
        QCOMPARE(rgbAt(w->Picture1->picture(), before.x, before.y), rgb(0, 0, 255));
    }

    // Cells near the camera whose corners lie behind it are not drawn: with
    // the southern rows in red, no red shows anywhere.
    void cellsBehindTheCameraAreLeftOut()
    {
        setHalfDegreeMap(nullptr, 1023, 767);
        setView(0, 89, 200);
        frmPic *src = source();
        QVERIFY(src);
        // The camera plane (depth 1) lies between rows 184 and 185 here.
        zk::set3dparams(1);
        zk::ProjPoint pt;
        QVERIFY(!zk::project3d(512, 184, 0, pt));
        QVERIFY(zk::project3d(512, 185, 0, pt));
        QImage img(1024, 768, QImage::Format_RGBX8888);
        img.fill(QColor(0, 0, 255));
        {
            QPainter p(&img);
            p.fillRect(QRect(0, 767 - 184, 1024, 185), QColor(255, 0, 0));  // grid rows 0..184
        }
        src->Picture1->setPicture(img);
        frmPic *w = drawnew();
        QVERIFY(w);
        QCOMPARE(main->label2()->text(), QStringLiteral("Complété."));
        const QImage &drawn = w->Picture1->picture();
        int red = 0, blue = 0;
        for (int y = 0; y < drawn.height(); y += 3)
            for (int x = 0; x < drawn.width(); x += 3) {
                red += rgbAt(drawn, x, y) == rgb(255, 0, 0);
                blue += rgbAt(drawn, x, y) == rgb(0, 0, 255);
            }
        QCOMPARE(red, 0);
        QVERIFY(blue > 1000);
    }

    // Stopped after a few steps: the partial drawing is on the screen, the
    // window keeps the view, but the picture is not kept.
    void stoppedDrawingIsNotKept()
    {
        QVERIFY(source());
        frmPic *old = drawnew();
        QVERIFY(old);
        QVERIFY(!old->Picture1->picture().isNull());
        viewtest::StopDuring stopper(*main, zk::opdraw3d, 4);
        zk::new3d = 0;
        zk::view3d.theta = 123;
        zk::draw3d(old);
        stopper.stop();
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(main->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
        QCOMPARE(old->theta, 123.0f);
        QCOMPARE(old->w3, 40.0f);
        // Something was painted before the stop, but nothing was kept: the
        // next clearing brings back the empty background.
        const QImage shown = old->Picture1->image();
        int painted = 0;
        for (int y = 0; y < shown.height(); y += 4)
            for (int x = 0; x < shown.width(); x += 4) painted += rgbAt(shown, x, y) != kGrey;
        QVERIFY(painted > 0);
        QVERIFY(old->Picture1->picture().isNull());
        old->Picture1->cls();
        QCOMPARE(rgbAt(old->Picture1->image(), 512, 384), kGrey);
        QVERIFY(zk::picwindows().contains(old));
    }

    // Without a colour source the drawing does not start, says so, and
    // leaves the program idle (not busy with run flag -1).
    void failureLeavesTheProgramIdle()
    {
        const int before = zk::draw3dcount();
        const int windows = int(zk::picwindows().size());
        zk::curpic = nullptr;
        zk::draw3d();
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(main->label2()->text(), QStringLiteral("Pas d'image source 2D valable"));
        QCOMPARE(zk::draw3dcount(), before);
        QCOMPARE(int(zk::picwindows().size()), windows);
        QVERIFY(main->menu(1)->menuAction()->isEnabled());
    }

    // Redrawing (new3d 0) goes into the given 3D picture, keeping its name,
    // also when another picture is active; with none given, into the active
    // 3D picture; never over a picture of another kind.
    void redrawGoesIntoTheThreeDPicture()
    {
        frmPic *src = source();
        QVERIFY(src);
        frmPic *w = drawnew();
        QVERIFY(w);
        const QString name = w->Filename;
        const int count = zk::draw3dcount();

        main->mdiArea()->setActiveSubWindow(src);
        zk::curpic = src;
        zk::new3d = 0;
        zk::view3d.theta = 200;
        zk::draw3d(w);
        QCOMPARE(zk::draw3dcount(), count);
        QCOMPARE(w->theta, 200.0f);
        QCOMPARE(w->Filename, name);
        QCOMPARE(w->windowTitle(), name);
        QCOMPARE(src->Pictype, int16_t(1));
        QCOMPARE(src->Picture1->picture().size(), QSize(41, 31));

        main->mdiArea()->setActiveSubWindow(w);
        zk::view3d.theta = 250;
        zk::draw3d();
        QCOMPARE(zk::draw3dcount(), count);
        QCOMPARE(w->theta, 250.0f);

        // The active picture is a 2D one: a new window is made instead.
        main->mdiArea()->setActiveSubWindow(src);
        zk::draw3d();
        QCOMPARE(zk::draw3dcount(), count + 1);
        QCOMPARE(src->Pictype, int16_t(1));
    }

    // The projection cases of the 3D view, through a stored 3D picture.
    void geo3dProjections_data()
    {
        QTest::addColumn<float>("theta");
        QTest::addColumn<float>("phi");
        QTest::addColumn<float>("disto");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<float>("alt");
        QTest::addColumn<bool>("placed");
        QTest::addColumn<QPoint>("pixel");
        QTest::newRow("centre") << 10.f << 40.f << 850.f << 512.f << 384.f << 0.f << true << QPoint(512, 384);
        QTest::newRow("centre at 1000 m") << 10.f << 40.f << 850.f << 512.f << 384.f << 1000.f << true << QPoint(512, 322);
        QTest::newRow("map view, 100 east") << 0.f << 0.f << 850.f << 612.f << 384.f << 0.f << true << QPoint(630, 384);
        QTest::newRow("map view, 100 north") << 0.f << 0.f << 850.f << 512.f << 484.f << 0.f << true << QPoint(512, 266);
        QTest::newRow("southern edge behind the camera") << 0.f << 89.f << 200.f << 512.f << 0.f << 0.f << false << QPoint(-7, -7);
        QTest::newRow("north-west corner") << 0.f << 0.f << 850.f << 0.f << 767.f << 0.f << true << QPoint(-90, -67);
        QTest::newRow("south-east corner") << 0.f << 0.f << 850.f << 1023.f << 0.f << 0.f << true << QPoint(1113, 836);
    }
    void geo3dProjections()
    {
        QFETCH(float, theta);
        QFETCH(float, phi);
        QFETCH(float, disto);
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(float, alt);
        QFETCH(bool, placed);
        QFETCH(QPoint, pixel);
        frmPic w;
        storedPicture(w, theta, phi, disto);
        // The grid in memory has nothing to do with it.
        zk::elevgrid.redim(9, 9);
        zk::set3dparams(0);
        float px = -7, py = -7;
        QCOMPARE(zk::geo3d(&w, x, y, alt, px, py), placed);
        QCOMPARE(QPoint(int(px), int(py)), pixel);
        // The view is now the picture's.
        QCOMPARE(zk::view3d.theta, theta);
        QCOMPARE(zk::view3d.phi, phi);
        QCOMPARE(zk::view3d.disto, disto);
        QCOMPARE(zk::proj3d.gridcx, 512.0f);
        QCOMPARE(zk::proj3d.gridcy, 384.0f);
        QCOMPARE(zk::proj3d.zscale, w.q3);
        // Through the picture windows' hook too.
        float hx = -7, hy = -7;
        QVERIFY(zk::pichooks.geo3d);
        QCOMPARE(zk::pichooks.geo3d(&w, x, y, alt, hx, hy), placed);
        QCOMPARE(QPoint(int(hx), int(hy)), pixel);
    }

    void geo3dOffThePicture_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<float>("lon");
        QTest::addColumn<float>("lat");
        QTest::newRow("west of the edge") << 3 << -0.001f << 100.f;
        QTest::newRow("east of the edge") << 3 << std::nextafter(1023.f, 2000.f) << 100.f;
        QTest::newRow("north of the edge") << 3 << 100.f << std::nextafter(767.f, 2000.f);
        QTest::newRow("south of the edge") << 3 << 100.f << -0.01f;
        QTest::newRow("not a number") << 3 << std::nanf("") << 100.f;
        QTest::newRow("plain picture") << 0 << 512.f << 384.f;
        QTest::newRow("2D picture") << 1 << 512.f << 384.f;
        QTest::newRow("own corners") << 2 << 512.f << 384.f;
        QTest::newRow("station view") << 4 << 512.f << 384.f;
    }
    void geo3dOffThePicture()
    {
        QFETCH(int, kind);
        QFETCH(float, lon);
        QFETCH(float, lat);
        frmPic w;
        storedPicture(w, 0, 0, 850);
        w.Pictype = int16_t(kind);
        setView(77, 33, 999);
        zk::set3dparams(1);
        float x = -5, y = -6;
        QVERIFY(!zk::geo3d(&w, lon, lat, 0, x, y));
        QCOMPARE(x, -5.0f);
        QCOMPARE(y, -6.0f);
        // The global view was not touched.
        QCOMPARE(zk::view3d.theta, 77.0f);
        QCOMPARE(zk::view3d.disto, 999.0f);
    }

    void geo3dOnTheEdges_data()
    {
        QTest::addColumn<float>("lon");
        QTest::addColumn<float>("lat");
        QTest::newRow("west") << 0.f << 300.f;
        QTest::newRow("east") << 1023.f << 300.f;
        QTest::newRow("north") << 300.f << 767.f;
        QTest::newRow("south") << 300.f << 0.f;
        QTest::newRow("corner") << 1023.f << 0.f;
    }
    void geo3dOnTheEdges()
    {
        QFETCH(float, lon);
        QFETCH(float, lat);
        frmPic w;
        storedPicture(w, 0, 0, 850);
        float x = -5, y = -6;
        QVERIFY(zk::geo3d(&w, lon, lat, 0, x, y));
    }

    // Corners that span no longitude or no latitude (a hand-edited
    // calibration file) place nothing, instead of everything on one edge.
    void geo3dWithoutExtent_data()
    {
        QTest::addColumn<bool>("flatLongitude");
        QTest::newRow("one longitude") << true;
        QTest::newRow("one latitude") << false;
    }
    void geo3dWithoutExtent()
    {
        QFETCH(bool, flatLongitude);
        frmPic w;
        storedPicture(w, 0, 0, 850);
        if (flatLongitude) w.lon2 = w.lon1;
        else w.lat4 = w.lat1;
        setView(77, 33, 999);
        float x = -5, y = -6;
        QVERIFY(!zk::geo3d(&w, w.lon1, w.lat1, 0, x, y));
        QVERIFY(!zk::geo3d(&w, 0, 0, 0, x, y));
        QCOMPARE(x, -5.0f);
        QCOMPARE(y, -6.0f);
        QCOMPARE(zk::view3d.theta, 77.0f);
    }

    // Two pictures drawn from different angles place one point at two
    // pixels; the last one asked leaves its view behind.
    void geo3dOnTwoPictures()
    {
        frmPic a, b;
        storedPicture(a, 10, 40, 850);
        storedPicture(b, 200, 60, 500);
        float ax = 0, ay = 0, bx = 0, by = 0;
        QVERIFY(zk::geo3d(&a, 700, 500, 300, ax, ay));
        QVERIFY(zk::geo3d(&b, 700, 500, 300, bx, by));
        QVERIFY(QPoint(int(ax), int(ay)) != QPoint(int(bx), int(by)));
        QCOMPARE(zk::view3d.theta, 200.0f);
        QCOMPARE(zk::view3d.disto, 500.0f);
        // A point high enough comes to the camera and is not shown, although
        // it lies within the picture; the view is the picture's already.
        QVERIFY(zk::geo3d(&a, 512, 384, 0, ax, ay));
        QVERIFY(!zk::geo3d(&b, 512, 384, 1.0e7f, bx, by));
        QCOMPARE(zk::view3d.theta, 200.0f);
    }

    // A drawn picture places its map's points where it shows them: a unit's
    // ground lands on the drawn terrain.
    void geo3dMatchesTheDrawing()
    {
        setHalfDegreeMap([](int x, int y) { return int16_t(20 * x + 10 * y); });
        setView(35, 55, 300);
        QVERIFY(source());
        frmPic *w = drawnew();
        QVERIFY(w);
        zk::set3dparams(0);  // the global view goes elsewhere
        zk::elevgrid.redim(3, 3);
        float x = 0, y = 0;
        QVERIFY(zk::geo3d(w, halfLon(12), halfLat(7), float(20 * 12 + 10 * 7), x, y));
        // Cell (12, 7) starts there: its colour is RGB(12, 30 - 7, 7) nearby.
        bool found = false;
        for (int dy = -2; dy <= 2 && !found; ++dy)
            for (int dx = -2; dx <= 2 && !found; ++dx)
                found = rgbAt(w->Picture1->picture(), int(x) + dx, int(y) + dy) == rgb(12, 23, 7);
        QVERIFY(found);
    }

    // Saved as BMP with its calibration file and opened again: the same
    // picture with the same view, placing points where the original did.
    void savedPictureReopensWithItsView()
    {
        setHalfDegreeMap([](int x, int y) { return int16_t(5 * x + y); });
        setView(222, 33, 444, 1.5f, 2);
        zk::view3d.ofx = 300.25f;
        QVERIFY(source());
        frmPic *w = drawnew();
        QVERIFY(w);
        float x0 = 0, y0 = 0;
        QVERIFY(zk::geo3d(w, halfLon(30), halfLat(10), 500, x0, y0));
        const QString name = tmp->filePath(QStringLiteral("vue3d.bmp"));
        zk::MsgScript script;
        QVERIFY(zk::savepicture(w, name));
        const QImage drawn = w->Picture1->picture();
        const float vals[] = {w->amplx, w->phi, w->theta, w->disto, w->aper, w->size, w->ofx, w->ofy, w->w3, w->h3, w->q3};
        const float corners[] = {w->lon1, w->lat1, w->lon2, w->lat2, w->lon3, w->lat3, w->lon4, w->lat4};
        closeAll();
        zk::set3dparams(0);

        frmPic *again = zk::openpicture(name, 0);
        QVERIFY(again);
        QCOMPARE(again->Pictype, int16_t(3));
        const float back[] = {again->amplx, again->phi, again->theta, again->disto, again->aper, again->size,
                              again->ofx, again->ofy, again->w3, again->h3, again->q3};
        for (size_t k = 0; k < std::size(vals); ++k) QCOMPARE(back[k], vals[k]);
        const float backCorners[] = {again->lon1, again->lat1, again->lon2, again->lat2,
                                     again->lon3, again->lat3, again->lon4, again->lat4};
        for (size_t k = 0; k < std::size(corners); ++k) QCOMPARE(backCorners[k], corners[k]);
        QCOMPARE(again->Picture1->picture().convertToFormat(QImage::Format_RGB32),
                 drawn.convertToFormat(QImage::Format_RGB32));
        float x1 = 0, y1 = 0;
        QVERIFY(zk::geo3d(again, halfLon(30), halfLat(10), 500, x1, y1));
        QCOMPARE(x1, x0);
        QCOMPARE(y1, y0);
        QCOMPARE(zk::view3d.theta, 222.0f);
        QCOMPARE(zk::view3d.ofx, 300.25f);
    }

    // A link in the air: the line at the network altitude with its arrow,
    // masts to one and a half times it, the names on plates.
    void linkInTheAir()
    {
        setHalfDegreeMap(nullptr, 40, 40);
        setView(0, 45, 300);
        QVERIFY(source());
        frmPic *w = drawnew();
        QVERIFY(w);
        zk::UnitRecord &a = zk::units[1];
        zk::UnitRecord &b = zk::units[2];
        a = zk::UnitRecord{};
        b = zk::UnitRecord{};
        viewtest::setUnit(1, halfLon(10), halfLat(20));
        viewtest::setUnit(2, halfLon(30), halfLat(20));
        a.enabled = b.enabled = -1;
        a.backcolor = rgb(0, 0, 200); a.color = rgb(255, 255, 255);
        b.backcolor = rgb(200, 0, 200); b.color = rgb(255, 255, 255);
        std::memcpy(a.name, "ALPHA               ", 20);
        std::memcpy(b.name, "BRAVO               ", 20);
        zk::netalt = 2000;
        // Something drawn before: cleared by the link.
        w->Picture1->image().setPixelColor(3, 3, QColor(1, 2, 3));

        const uint32_t colour = rgb(0, 255, 0);
        QVERIFY(zk::drawlink3d(w, 1, 2, colour));
        const QImage &img = w->Picture1->image();
        QCOMPARE(rgbAt(img, 3, 3), kGrey);
        float xa = 0, ya = 0, xb = 0, yb = 0;
        QVERIFY(zk::geo3d(w, a.lon, a.lat, 2000, xa, ya));
        QVERIFY(zk::geo3d(w, b.lon, b.lat, 2000, xb, yb));
        // West to east at one height: a level line, the barbs to the left of
        // the middle (30 cos 2.7 = -27) and 13 pixels above and below.
        QCOMPARE(ya, yb);
        const int xm = int((xa + xb) / 2), ym = int(ya);
        QCOMPARE(rgbAt(img, xm - 10, ym), colour);
        QCOMPARE(rgbAt(img, xm - 20, ym - 2), rgb(0, 0, 0));  // black edge of the 4-pixel line
        auto barb = [&](int from, int to) {
            int n = 0;
            for (int y = ym + from; y <= ym + to; ++y) n += rgbAt(img, xm - 20, y) == colour;
            return n;
        };
        QVERIFY(barb(-14, -5) > 0);  // upper barb
        QVERIFY(barb(5, 14) > 0);    // lower barb
        QCOMPARE(barb(-30, -16) + barb(16, 30), 0);
        // Masts: from the ground to 3000 m, in the unit's background colour,
        // the name plate sitting on the top.
        float gx = 0, gy = 0, tx = 0, ty = 0;
        QVERIFY(zk::geo3d(w, a.lon, a.lat, 0, gx, gy));
        QVERIFY(zk::geo3d(w, a.lon, a.lat, 3000, tx, ty));
        QVERIFY(ty < ya && ya < gy);
        QCOMPARE(rgbAt(img, int(gx), int((gy + ya) / 2)), a.backcolor);
        int plateA = 0, textA = 0;
        for (int y = int(ty) - 20; y < int(ty); ++y)
            for (int x = int(tx) - 40; x <= int(tx) + 40; ++x) {
                plateA += rgbAt(img, x, y) == a.backcolor;
                textA += rgbAt(img, x, y) == a.color;
            }
        QVERIFY(plateA > 50);
        QVERIFY(textA > 5);
        QVERIFY(zk::geo3d(w, b.lon, b.lat, 3000, tx, ty));
        int plateB = 0;
        for (int y = int(ty) - 20; y < int(ty); ++y)
            for (int x = int(tx) - 40; x <= int(tx) + 40; ++x) plateB += rgbAt(img, x, y) == b.backcolor;
        QVERIFY(plateB > 50);
    }

    // A picture that shows only one end takes no part and keeps its drawings.
    void linkWithOneEndOffThePicture()
    {
        QVERIFY(source());
        frmPic *w = drawnew();
        QVERIFY(w);
        zk::units[1].lon = halfLon(10); zk::units[1].lat = halfLat(10);
        zk::units[2].lon = 50; zk::units[2].lat = halfLat(10);
        zk::netalt = 1000;
        w->Picture1->image().setPixelColor(3, 3, QColor(1, 2, 3));
        QVERIFY(!zk::drawlink3d(w, 1, 2, rgb(255, 0, 0)));
        QCOMPARE(rgbAt(w->Picture1->image(), 3, 3), rgb(1, 2, 3));
        // Not a 3D picture, not a unit.
        QVERIFY(!zk::drawlink3d(zk::curpic, 1, 2, rgb(255, 0, 0)));
        QVERIFY(!zk::drawlink3d(w, 0, 2, rgb(255, 0, 0)));
        QVERIFY(!zk::drawlink3d(w, 1, 51, rgb(255, 0, 0)));
    }
};

QTEST_MAIN(TestDraw3d)
#include "test_draw3d.moc"
