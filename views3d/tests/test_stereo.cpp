// Stereo pictures and the stereo cursor under the offscreen platform: the
// marks' shapes and drawing modes (probed on grabbed pixels), their places
// for a table of parallaxes, the keypad's parallax limits, clicks on stereo
// and other pictures, the stereo test on the source text, the cursor shared
// by all stereo pictures; the stereo drawing against one direct top3d, its
// scale, a stop during the drawing, a declined 2D picture, and the stereo
// picture among the other picture users (2D source search, units, cursor).
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>

#include "app/mainwindow.h"
#include "base/controls.h"
#include "base/longop.h"
#include "base/settings.h"
#include "engine.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "pictures/colorscale.h"
#include "pictures/cursor.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/frmPicPro.h"
#include "pictures/picfiles.h"
#include "pictures/pichooks.h"
#include "qtdc.h"
#include "radio/unitdraw.h"
#include "testenv.h"
#include "views3d/stereo.h"

using zk::frmPic;
using zk::Shape;

namespace {

using viewtest::kGrey;
using viewtest::rgb;
using viewtest::rgbAt;

const QString kSource = QStringLiteral("Vue stéréoscopique (Rouge et bleu)");

// The test map: the half-degree map of 41 x 31 cells from 10 W to 10 E and
// 40 N to 55 N; the ground rises 20 m a column eastwards and 5 m a row
// northwards (0 .. 950 m), so that every column shifts differently.
void setMap()
{
    viewtest::setHalfDegreeMap([](int x, int y) { return int16_t(20 * x + 5 * y); });
    zk::mapcorners.city = 0;
    viewtest::setShading(5, 1600, 1000, 950);
    zk::mapset.hmin = 0;
    zk::mapset.hmoy = 475;
}

// One top3d straight into a fresh picture of the grid's size, outside any
// operation: what the stereo drawing must show.
QImage directstereo(const QImage &source, float scale, float base)
{
    QImage src = source.copy();
    QImage dst = zk::dcImage(zk::elevgrid.nx(), zk::elevgrid.ny(), 0);
    ZkDC s = zk::dcOf(src), d = zk::dcOf(dst);
    zk::engine::callback(nullptr);
    zk::engine::top3d(zk::elevgrid.engineArray(), &s, &d, scale, base);
    return dst;
}

int differences(const QImage &a, const QImage &b)
{
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += rgbAt(a, x, y) != rgbAt(b, x, y);
    return n;
}

QPoint topLeft(const Shape *s) { return s->geometry().topLeft(); }

}  // namespace

class TestStereo : public viewtest::MainEnv {
    Q_OBJECT

    // The map's 2D picture: one pixel per grid cell, pixel (x, y) =
    // RGB(6x, 8y, 7), with the map's corners; the current picture.
    static frmPic *source2d() { return viewtest::source(QSize(), 6, 8); }

    // A picture window with the given source text and a plain grey picture.
    frmPic *picture(const QString &source)
    {
        frmPic *w = zk::openpicture(QString(), -1);
        if (!w) return nullptr;
        w->source = source;
        return w;
    }

    // The stereo picture drawstereo makes, or null when it made none.
    frmPic *drawnew()
    {
        const int before = int(zk::picwindows().size());
        zk::drawstereo();
        if (int(zk::picwindows().size()) != before + 1) return nullptr;
        return zk::picwindows().last();
    }

    void expectMarks(const frmPic *w, int cx, int cy, int p)
    {
        const int red = cx + int(std::floor((p + 1) / 2.0)) - 4;
        const int cyan = cx - int(std::floor(p / 2.0)) - 4;
        QCOMPARE(topLeft(w->Shape1[0]), QPoint(red, cy - 4));
        QCOMPARE(topLeft(w->Shape1[1]), QPoint(cyan, cy - 4));
        QCOMPARE(topLeft(w->Shape1[2]), QPoint(red - 1, cy - 5));
        QCOMPARE(topLeft(w->Shape1[3]), QPoint(cyan - 1, cy - 5));
        for (const Shape *s : w->Shape1) QVERIFY(s->isVisible());
    }

private slots:
    void init()
    {
        closeAll();
        setMap();
        zk::colors = zk::defaultcolors();
        zk::alt = {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000};
        zk::stratcolors = 0;
        zk::showlegend = 0;
        zk::settings.showobjects = false;
        zk::newpic = false;
        zk::curpic = nullptr;
        zk::stereocur = {};
    }

    // ---- The marks ---------------------------------------------------

    // Square outlines, transparent inside, hidden at start: the 9-pixel
    // ones merged into the picture, the 11-pixel ones masked into it.
    void marksOfANewWindow()
    {
        frmPic *w = picture(QStringLiteral("stereo"));
        QVERIFY(w);
        struct Mark { QColor border; int size; Shape::DrawMode mode; };
        const Mark want[4] = {{QColor(255, 0, 0), 9, Shape::MergePen},
                              {QColor(0, 255, 255), 9, Shape::MergePen},
                              {QColor(0, 255, 255), 11, Shape::MaskPen},
                              {QColor(255, 0, 0), 11, Shape::MaskPen}};
        for (int i = 0; i < 4; ++i) {
            const Shape *s = w->Shape1[size_t(i)];
            QCOMPARE(s->objectName(), QStringLiteral("Shape1(%1)").arg(i));
            QCOMPARE(s->parentWidget(), static_cast<QWidget *>(w->Picture1));
            QCOMPARE(s->borderColor(), want[i].border);
            QCOMPARE(s->fillColor().alpha(), 0);
            QCOMPARE(s->size(), QSize(want[i].size, want[i].size));
            QCOMPARE(s->drawMode(), want[i].mode);
            QVERIFY(s->isHidden());
        }
    }

    // A shape's border meets the picture beneath it as its drawing mode
    // says; inside and around it the picture is untouched. Probed on the
    // grabbed widget and on the window's own pixels.
    void drawModesCombineWithThePicture_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QColor>("border");
        QTest::addColumn<uint32_t>("expected");  // on RGB(100, 50, 200)
        QTest::newRow("copy red") << int(Shape::CopyPen) << QColor(255, 0, 0) << rgb(255, 0, 0);
        QTest::newRow("merge red") << int(Shape::MergePen) << QColor(255, 0, 0) << rgb(255, 50, 200);
        QTest::newRow("merge cyan") << int(Shape::MergePen) << QColor(0, 255, 255) << rgb(100, 255, 255);
        QTest::newRow("mask cyan") << int(Shape::MaskPen) << QColor(0, 255, 255) << rgb(0, 50, 200);
        QTest::newRow("mask red") << int(Shape::MaskPen) << QColor(255, 0, 0) << rgb(100, 0, 0);
        QTest::newRow("merge grey") << int(Shape::MergePen) << QColor(0x0F, 0x0F, 0x0F) << rgb(0x6F, 0x3F, 0xCF);
        QTest::newRow("mask grey") << int(Shape::MaskPen) << QColor(0x0F, 0x0F, 0x0F) << rgb(0x04, 0x02, 0x08);
    }
    void drawModesCombineWithThePicture()
    {
        QFETCH(int, mode);
        QFETCH(QColor, border);
        QFETCH(uint32_t, expected);
        frmPic *w = picture(QStringLiteral("plain"));
        QVERIFY(w);
        QImage img(60, 40, QImage::Format_RGBX8888);
        img.fill(QColor(100, 50, 200));
        w->Picture1->setPicture(img);
        zk::arrangepic(w);
        Shape *s = w->Shape1[0];
        s->setBorderColor(border);
        s->setDrawMode(Shape::DrawMode(mode));
        s->move(20, 10);
        s->show();
        QApplication::processEvents();

        const QImage grabbed = w->Picture1->grab().toImage();
        QCOMPARE(rgbAt(grabbed, 20, 10), expected);       // corner
        QCOMPARE(rgbAt(grabbed, 28, 14), expected);       // right side
        QCOMPARE(rgbAt(grabbed, 24, 18), expected);       // bottom side
        QCOMPARE(rgbAt(grabbed, 24, 14), rgb(100, 50, 200));  // inside
        QCOMPARE(rgbAt(grabbed, 19, 10), rgb(100, 50, 200));  // outside
        QCOMPARE(rgbAt(grabbed, 29, 14), rgb(100, 50, 200));

        // The same on the screen: the window's backing store.
        QWindow *win = main->windowHandle();
        QVERIFY(win);
        main->repaint();
        const QPoint o = w->Picture1->mapTo(main.get(), QPoint(0, 0));
        const QImage screen = win->screen()->grabWindow(win->winId()).toImage();
        if (screen.isNull()) QSKIP("no window grab on this platform");
        QCOMPARE(rgbAt(screen, o.x() + 20, o.y() + 10), expected);
        QCOMPARE(rgbAt(screen, o.x() + 24, o.y() + 14), rgb(100, 50, 200));
    }

    // ---- The cursor --------------------------------------------------

    void marksForAParallax_data()
    {
        QTest::addColumn<int>("p");
        QTest::addColumn<int>("red");    // left of the red 9-pixel mark, from the centre
        QTest::addColumn<int>("cyan");   // left of the cyan 9-pixel mark
        QTest::newRow("0") << 0 << -4 << -4;
        QTest::newRow("1") << 1 << -3 << -4;
        QTest::newRow("3") << 3 << 2 - 4 << -1 - 4;
        QTest::newRow("-1") << -1 << -4 << -3;
        QTest::newRow("-3") << -3 << -5 << -2;
        QTest::newRow("30") << 30 << 11 << -19;
        QTest::newRow("-10") << -10 << -9 << 1;
    }
    void marksForAParallax()
    {
        QFETCH(int, p);
        QFETCH(int, red);
        QFETCH(int, cyan);
        frmPic *w = picture(QStringLiteral("stereo"));
        QVERIFY(w);
        zk::stereocur.p = float(p);
        zk::stereocursor(w, 20, 15, 0, false);
        QCOMPARE(topLeft(w->Shape1[0]), QPoint(20 + red, 11));
        QCOMPARE(topLeft(w->Shape1[1]), QPoint(20 + cyan, 11));
        QCOMPARE(topLeft(w->Shape1[2]), QPoint(20 + red - 1, 10));
        QCOMPARE(topLeft(w->Shape1[3]), QPoint(20 + cyan - 1, 10));
        for (const Shape *s : w->Shape1) QVERIFY(s->isVisible());
        // The two marks' centres lie p apart, the red one right for p > 0.
        QCOMPARE(w->Shape1[0]->x() - w->Shape1[1]->x(), p);
        QCOMPARE(zk::stereocur.p, float(p));
        QCOMPARE(zk::stereocur.x, 20.0f);
        QCOMPARE(zk::stereocur.y, 15.0f);
    }

    // The keypad's + and - change the parallax one pixel a press, within
    // -10 .. 30, and move the marks with it.
    void parallaxLimits_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("presses");
        QTest::addColumn<float>("parallax");
        QTest::newRow("+ 40 times") << int(Qt::Key_Plus) << 40 << 30.0f;
        QTest::newRow("+ 30 times") << int(Qt::Key_Plus) << 30 << 30.0f;
        QTest::newRow("+ 7 times") << int(Qt::Key_Plus) << 7 << 7.0f;
        QTest::newRow("- 15 times") << int(Qt::Key_Minus) << 15 << -10.0f;
        QTest::newRow("- 10 times") << int(Qt::Key_Minus) << 10 << -10.0f;
        QTest::newRow("- 4 times") << int(Qt::Key_Minus) << 4 << -4.0f;
    }
    void parallaxLimits()
    {
        QFETCH(int, key);
        QFETCH(int, presses);
        QFETCH(float, parallax);
        frmPic *w = picture(QStringLiteral("Stereo"));
        QVERIFY(w);
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(30, 20));
        for (int k = 0; k < presses; ++k) QTest::keyClick(w->Picture1, Qt::Key(key), Qt::KeypadModifier);
        QCOMPARE(zk::stereocur.p, parallax);
        expectMarks(w, 30, 20, int(parallax));
        // The other way again, past the other limit.
        const Qt::Key back = key == Qt::Key_Plus ? Qt::Key_Minus : Qt::Key_Plus;
        for (int k = 0; k < 60; ++k) QTest::keyClick(w->Picture1, back, Qt::KeypadModifier);
        QCOMPARE(zk::stereocur.p, key == Qt::Key_Plus ? -10.0f : 30.0f);
    }

    // A click on a stereo picture moves the marks there and keeps the
    // parallax; a click or a keypad press on another picture hides its
    // marks and changes nothing.
    void clicksOnStereoAndOtherPictures()
    {
        frmPic *other = picture(QStringLiteral("Image utilisateur"));
        frmPic *w = picture(QStringLiteral("stereo gauche"));
        QVERIFY(other && w);
        zk::stereocur.p = 6;
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(25, 12));
        expectMarks(w, 25, 12, 6);
        QTest::mouseClick(w->Picture1, Qt::RightButton, {}, QPoint(31, 17));
        expectMarks(w, 31, 17, 6);
        QCOMPARE(zk::stereocur.p, 6.0f);

        for (Shape *s : other->Shape1) s->show();
        QTest::mouseClick(other->Picture1, Qt::LeftButton, {}, QPoint(5, 5));
        for (const Shape *s : other->Shape1) QVERIFY(s->isHidden());
        QTest::keyClick(other->Picture1, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(zk::stereocur.p, 6.0f);
        QCOMPARE(zk::stereocur.x, 31.0f);
        QCOMPARE(zk::stereocur.y, 17.0f);
        // The stereo picture's marks stay where they were.
        expectMarks(w, 31, 17, 6);

        // While an operation runs a click does not move them; the keypad
        // still changes the parallax.
        zk::runflag = zk::opdraw2d;
        zk::stereocursor(w, 0, 0, 1, true);
        zk::runflag = 0;
        expectMarks(w, 31, 17, 7);
    }

    // The stereo test reads the first six characters of the source without
    // regard to case; the stereo drawing's own pictures count too.
    void stereoSourceTexts_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("stereo");
        QTest::newRow("stereo") << "stereo" << true;
        QTest::newRow("capitals") << "STEREO DROITE" << true;
        QTest::newRow("capital first letter") << "Stereogramme" << true;
        QTest::newRow("mixed") << "sTeReO" << true;
        QTest::newRow("drawn by the stereo drawing") << kSource << true;
        QTest::newRow("its capitals") << "VUE STÉRÉOSCOPIQUE" << true;
        QTest::newRow("five characters") << "stere" << false;
        QTest::newRow("four characters") << "ster" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("leading blank") << " stereo" << false;
        QTest::newRow("accented") << "stéréo" << false;
        QTest::newRow("user picture") << "Image utilisateur" << false;
        QTest::newRow("world map") << "Mappemonde" << false;
    }
    void stereoSourceTexts()
    {
        QFETCH(QString, source);
        QFETCH(bool, stereo);
        QCOMPARE(zk::isstereo(source), stereo);
        frmPic *w = picture(source);
        QVERIFY(w);
        zk::stereocur.p = 2;
        for (Shape *s : w->Shape1) s->show();
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(14, 9));
        if (stereo) {
            expectMarks(w, 14, 9, 2);
        } else {
            for (const Shape *s : w->Shape1) QVERIFY(s->isHidden());
            QCOMPARE(zk::stereocur.x, 0.0f);
        }
    }

    // One cursor for the whole program: a parallax set on one stereo
    // picture is used on the next one clicked.
    void cursorIsShared()
    {
        frmPic *a = picture(QStringLiteral("stereo A"));
        frmPic *b = picture(QStringLiteral("STEREO B"));
        QVERIFY(a && b);
        QTest::mouseClick(a->Picture1, Qt::LeftButton, {}, QPoint(10, 10));
        for (int k = 0; k < 5; ++k) QTest::keyClick(a->Picture1, Qt::Key_Plus, Qt::KeypadModifier);
        expectMarks(a, 10, 10, 5);
        QTest::mouseClick(b->Picture1, Qt::LeftButton, {}, QPoint(40, 22));
        expectMarks(b, 40, 22, 5);
        // The keypad on b goes on from 5, and a keeps its marks.
        QTest::keyClick(b->Picture1, Qt::Key_Minus, Qt::KeypadModifier);
        expectMarks(b, 40, 22, 4);
        expectMarks(a, 10, 10, 5);
    }

    // A window without its marks ends the placing quietly.
    void windowWithoutMarks()
    {
        frmPic *w = picture(QStringLiteral("stereo"));
        QVERIFY(w);
        Shape *third = w->Shape1[2];
        w->Shape1[2] = nullptr;
        zk::stereocursor(w, 20, 20, 0, false);
        QCOMPARE(topLeft(w->Shape1[0]), QPoint(16, 16));
        QCOMPARE(topLeft(w->Shape1[1]), QPoint(16, 16));
        QVERIFY(w->Shape1[0]->isHidden());
        w->Shape1[2] = third;
        zk::stereocursor(nullptr, 1, 1, 0, false);
    }

    // ---- The stereo drawing ------------------------------------------

    void installedHooks()
    {
        QVERIFY(bool(zk::pichooks.stereocursor));
        QVERIFY(bool(zk::picprohooks.drawstereo));
        QVERIFY(source2d());
        const int before = int(zk::picwindows().size());
        zk::picprohooks.drawstereo();
        QCOMPARE(int(zk::picwindows().size()), before + 1);
        QCOMPARE(zk::picwindows().last()->source, kSource);
    }

    // A new window of kind 1 and one pixel per cell, with the source
    // picture's corners, whose kept picture is one top3d of the source with
    // the scale 10 / max(1, |ceiling - floor|) and the floor as base.
    void drawingMatchesOneTop3d_data()
    {
        QTest::addColumn<float>("floor");
        QTest::addColumn<float>("ceiling");
        QTest::addColumn<float>("scale");
        QTest::newRow("0 .. 1000") << 0.0f << 1000.0f << 0.01f;
        QTest::newRow("200 .. 600") << 200.0f << 600.0f << 0.025f;
        QTest::newRow("ceiling below floor") << 700.0f << 300.0f << 0.025f;
        QTest::newRow("floor = ceiling") << 400.0f << 400.0f << 10.0f;
        QTest::newRow("half a metre apart") << 400.0f << 400.5f << 10.0f;
        QTest::newRow("1 m apart") << 400.0f << 401.0f << 10.0f;
        QTest::newRow("2 m apart") << 400.0f << 402.0f << 5.0f;
        QTest::newRow("ceiling not a number") << 400.0f << std::nanf("") << 10.0f;
    }
    void drawingMatchesOneTop3d()
    {
        QFETCH(float, floor);
        QFETCH(float, ceiling);
        QFETCH(float, scale);
        zk::mapset.minx = floor;
        zk::mapset.maxx = ceiling;
        frmPic *src = source2d();
        QVERIFY(src);
        const QImage before = src->Picture1->picture();
        const QString untitled = QStringLiteral("Image%1.bmp").arg(zk::untitledcount() + 1);

        frmPic *w = drawnew();
        QVERIFY(w);
        QVERIFY(w != src);
        QCOMPARE(w->source, kSource);
        QCOMPARE(w->Filename, untitled);
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(w->lon1, src->lon1); QCOMPARE(w->lat1, src->lat1);
        QCOMPARE(w->lon2, src->lon2); QCOMPARE(w->lat2, src->lat2);
        QCOMPARE(w->lon3, src->lon3); QCOMPARE(w->lat3, src->lat3);
        QCOMPARE(w->lon4, src->lon4); QCOMPARE(w->lat4, src->lat4);
        QCOMPARE(w->Picture1->image().size(), QSize(41, 31));
        QCOMPARE(zk::curpic.data(), w);
        QCOMPARE(zk::activepic(), w);
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(main->label2()->text(), QStringLiteral("Complété."));
        QVERIFY(main->menu(1)->menuAction()->isEnabled());

        const QImage expected = directstereo(before, scale, floor);
        QCOMPARE(differences(w->Picture1->image(), expected), 0);
        // Kept: a clearing brings the drawing back.
        QCOMPARE(differences(w->Picture1->picture(), expected), 0);
        w->Picture1->cls();
        QCOMPARE(differences(w->Picture1->image(), expected), 0);
        // The scale matters: another one gives another picture.
        QVERIFY(differences(expected, directstereo(before, scale * 0.5f, floor)) > 0);
        // The source picture is untouched.
        QCOMPARE(differences(src->Picture1->picture(), before), 0);
        QCOMPARE(src->source, QStringLiteral("test.map"));
    }

    // The drawing goes into the window it opened, also when another picture
    // came to the front while the new one was being shown: never over the
    // source picture.
    void drawsIntoItsOwnWindow()
    {
        frmPic *src = source2d();
        QVERIFY(src);
        const QImage before = src->Picture1->picture();
        QTimer::singleShot(0, [this, src] { main->mdiArea()->setActiveSubWindow(src); });
        frmPic *w = drawnew();
        QVERIFY(w);
        QCOMPARE(zk::activepic(), src);
        QCOMPARE(src->source, QStringLiteral("test.map"));
        QCOMPARE(differences(src->Picture1->picture(), before), 0);
        QCOMPARE(differences(src->Picture1->image(), before), 0);
        QCOMPARE(w->source, kSource);
        QCOMPARE(differences(w->Picture1->picture(), directstereo(before, 0.01f, 0)), 0);
    }

    // The new picture's layer replaced while the engine draws: the engine
    // goes on writing into pixels that still exist (checked by the address
    // sanitizer), and the drawing ends normally.
    void layerReplacedDuringTheDrawing()
    {
        QVERIFY(source2d());
        int rows = 0;
        QTimer resizer;
        resizer.setInterval(0);
        connect(&resizer, &QTimer::timeout, [&] {
            if (zk::runflag == zk::opstereo && ++rows == 2 && zk::curpic) zk::curpic->Picture1->setBoxSize(5, 4);
        });
        resizer.start();
        frmPic *w = drawnew();
        resizer.stop();
        QVERIFY(w);
        QVERIFY(rows >= 2);
        QCOMPARE(main->label2()->text(), QStringLiteral("Complété."));
        QCOMPARE(w->Picture1->image().size(), QSize(5, 4));
    }

    // Without the engine library nothing can be drawn: the picture is not
    // kept and the drawing is not reported complete.
    void withoutTheEngine()
    {
        QVERIFY(source2d());
        zk::engine::unload();
        zk::engine::setLibraryName("libzelkor32-missing.so");
        frmPic *w = drawnew();
        zk::engine::setLibraryName("libzelkor32.so");
        zk::engine::unload();
        QVERIFY(w);
        QVERIFY(w->Picture1->picture().isNull());
        QCOMPARE(main->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
        QCOMPARE(zk::runflag, int16_t(0));
    }

    // Without a 2D picture the drawing offers to draw one: on Yes the real
    // 2D drawing runs first and the stereo picture is made from it.
    void drawsTheTwoDPictureFirst()
    {
        zk::MsgScript script;
        script.answer(zk::idYes);
        const int before = int(zk::picwindows().size());
        zk::drawstereo();
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Pas d'image source 2D picture adéquate\r\nEn dessiner une?")});
        QCOMPARE(int(zk::picwindows().size()), before + 2);
        frmPic *src = zk::picwindows()[before];
        frmPic *w = zk::picwindows()[before + 1];
        QVERIFY(zk::issource2d(src));
        QCOMPARE(w->source, kSource);
        QCOMPARE(main->label2()->text(), QStringLiteral("Complété."));
        const QImage expected = directstereo(src->Picture1->picture(), 0.01f, 0);
        QCOMPARE(differences(w->Picture1->picture(), expected), 0);
        // A real picture of the relief: the red and cyan channels differ somewhere.
        int split = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x) {
                const uint32_t c = rgbAt(expected, x, y);
                split += (c & 0xFF) != ((c >> 8) & 0xFF);
            }
        QVERIFY(split > 0);
    }

    // The user declines to draw a 2D picture: no window, and the message
    // pane says the drawing was stopped.
    void declinedTwoDPicture()
    {
        frmPic *plain = picture(QStringLiteral("Image utilisateur"));
        QVERIFY(plain);
        plain->Pictype = 2;
        main->label2()->setText(QStringLiteral("avant"));
        zk::MsgScript script;
        script.answer(zk::idNo);
        const int before = int(zk::picwindows().size());
        zk::drawstereo();
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Pas d'image source 2D picture adéquate\r\nEn dessiner une?")});
        QCOMPARE(int(zk::picwindows().size()), before);
        QCOMPARE(main->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
        QCOMPARE(zk::runflag, int16_t(0));
        QVERIFY(main->menu(1)->menuAction()->isEnabled());
    }

    // Stopped during top3d: the rows drawn stay on the screen, the rest is
    // the empty background, nothing is kept, and the message pane says so.
    void stoppedDrawingIsNotKept()
    {
        frmPic *src = source2d();
        QVERIFY(src);
        const QImage expected = directstereo(src->Picture1->picture(), 0.01f, 0);
        viewtest::StopDuring stopper(*main, zk::opstereo, 3);
        frmPic *w = drawnew();
        stopper.stop();
        QVERIFY(w);
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(main->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
        QCOMPARE(w->source, kSource);
        QCOMPARE(zk::curpic.data(), w);
        const QImage shown = w->Picture1->image();
        for (int x = 0; x < shown.width(); ++x) QCOMPARE(rgbAt(shown, x, 0), rgbAt(expected, x, 0));
        const int last = shown.height() - 1;
        for (int x = 0; x < shown.width(); ++x) QCOMPARE(rgbAt(shown, x, last), kGrey);
        QVERIFY(w->Picture1->picture().isNull());
        w->Picture1->cls();
        QCOMPARE(rgbAt(w->Picture1->image(), 0, 0), kGrey);
    }

    // The stereo picture is never taken for the map's 2D picture, gets no
    // units and no crosshair, and shows the stereo marks.
    void stereoPictureAmongTheOthers()
    {
        frmPic *src = source2d();
        QVERIFY(src);
        frmPic *w = drawnew();
        QVERIFY(w);
        QCOMPARE(w->Pictype, int16_t(1));
        QVERIFY(!zk::issource2d(w));
        QVERIFY(!zk::drawsunits(w));
        delete src;
        QApplication::processEvents();
        main->mdiArea()->setActiveSubWindow(w);
        {
            zk::MsgScript script;
            script.answer(zk::idNo);
            QVERIFY(!zk::findsource2d());
            QCOMPARE(script.shown().size(), 1);
        }
        zk::showcursor(0, 47);
        QVERIFY(w->Line1->isHidden() && w->Line2->isHidden());

        // The marks, merged and masked into the anaglyph beneath them.
        zk::stereocur.p = 4;
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(20, 15));
        expectMarks(w, 20, 15, 4);
        QApplication::processEvents();
        const QImage grabbed = w->Picture1->grab().toImage();
        const QImage &pic = w->Picture1->picture();
        const QPoint red = topLeft(w->Shape1[0]), cyanFrame = topLeft(w->Shape1[2]);
        QCOMPARE(rgbAt(grabbed, red.x(), red.y() + 4), rgbAt(pic, red.x(), red.y() + 4) | 0x0000FF);
        QCOMPARE(rgbAt(grabbed, cyanFrame.x(), cyanFrame.y() + 5), rgbAt(pic, cyanFrame.x(), cyanFrame.y() + 5) & 0xFFFF00);
        // The centre lies inside all four outlines.
        QCOMPARE(rgbAt(grabbed, 20, 15), rgbAt(pic, 20, 15));
    }
};

QTEST_MAIN(TestStereo)
#include "test_stereo.moc"
