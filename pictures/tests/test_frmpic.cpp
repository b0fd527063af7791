// The picture window on a real window: controls by name, layout and
// scrolling, selection, zoom into a new window, crosshair, keys, unit labels,
// object points, the grip.
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <memory>

#include "base/screen.h"
#include "map/geotext.h"
#include "msgbox.h"
#include "picenv.h"
#include "pictures/cursor.h"
#include "pictures/frmGrid.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/picfiles.h"
#include "pictures/pichooks.h"

using zk::frmPic;

class TestFrmPic : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;

    // A picture of the test map: 201 x 101 pixels, kind 1, the map's corners.
    frmPic *mapPicture()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        zktest::mapCorners(w);
        w->Picture1->setPicture(zktest::pattern(201, 101));
        w->resize(400, 300);
        zk::arrangepic(w);
        return w;
    }

    // Sets the window's inner size.
    static void setInner(frmPic *w, int cw, int ch)
    {
        const QSize frame = w->QWidget::size() - w->client()->size();
        w->resize(QSize(cw, ch) + frame);
        QCoreApplication::processEvents();
        zk::arrangepic(w);
    }

    static void drag(frmPic *w, QPoint from, QPoint to, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(w->Picture1, b, {}, from);
        QTest::mouseMove(w->Picture1, to);
        QTest::mouseRelease(w->Picture1, b, {}, to);
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        zk::setScreenPixels(QSize(800, 600));
        env = std::make_unique<zktest::TestMain>();
    }
    void cleanupTestCase() { env.reset(); }

    void init()
    {
        zktest::setTestMap();
        zk::runflag = 0;
        zk::pichooks = zk::PicHooks{};
        env->mnuMouseCoor->setChecked(false);
        env->mnuViewGrid->setChecked(false);
        env->Label2->clear();
    }
    void cleanup()
    {
        env->closeAll();
        zk::pichooks = zk::PicHooks{};
        if (zk::frmGrid::loaded()) delete zk::frmGrid::loaded();
    }

    void controlsByName()
    {
        const int before = zk::untitledcount();
        frmPic *w = zk::openpicture(QString(), -1);
        QVERIFY(w);
        QCOMPARE(w->objectName(), QStringLiteral("frmPic"));
        const QStringList names = {"Picture1", "Picture3", "Line1", "Line2", "Shape2", "Shape1(0)", "Shape1(3)",
                                   "Label4(1)", "Label4(50)", "Image1(1)", "Image1(50)", "HScroll1", "VScroll1",
                                   "Picture2"};
        for (const QString &n : names) QVERIFY2(w->findChild<QWidget *>(n), qPrintable(n));
        QCOMPARE(w->findChild<QWidget *>("Label4(7)"), static_cast<QWidget *>(w->Label4[7]));
        QVERIFY(w->Label4[7]->isHidden());
        QVERIFY(w->Image1[7]->isHidden());
        QVERIFY(w->Line1->isHidden() && w->Line2->isHidden() && w->Shape2->isHidden());
        QVERIFY(w->Picture3->isHidden());
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(w->Picture1->scaleWidth(), 201);
        QCOMPARE(w->Picture1->scaleHeight(), 101);
        QCOMPARE(w->Filename, QStringLiteral("Image%1.bmp").arg(before + 1));
        QCOMPARE(w->windowTitle(), QStringLiteral("..\\Image%1.bmp").arg(before + 1));
        QCOMPARE(w->source, QStringLiteral("Image utilisateur"));
        QCOMPARE(zk::curpic.data(), w);
        QCOMPARE(zk::activepic(), w);
        // The engine can draw on the layer in place.
        ZkDC dc = w->Picture1->hdc();
        QCOMPARE(dc.width, 201);
        QCOMPARE(dc.height, 101);
        dc.bits[5 * dc.stride + 3] = 0xFF0000FF;  // red
        QCOMPARE(w->Picture1->image().pixelColor(3, 5), QColor(255, 0, 0));
    }

    void layout_data()
    {
        QTest::addColumn<QSize>("pic");
        QTest::addColumn<QSize>("inner");
        QTest::addColumn<bool>("hbar");
        QTest::addColumn<bool>("vbar");
        QTest::newRow("fits: centred") << QSize(100, 80) << QSize(300, 200) << false << false;
        QTest::newRow("taller only") << QSize(100, 400) << QSize(300, 200) << false << true;
        QTest::newRow("taller, bar takes the width") << QSize(295, 400) << QSize(300, 200) << true << true;
        QTest::newRow("wider only") << QSize(500, 100) << QSize(300, 200) << true << false;
        QTest::newRow("both") << QSize(500, 400) << QSize(300, 200) << true << true;
    }
    void layout()
    {
        QFETCH(QSize, pic);
        QFETCH(QSize, inner);
        QFETCH(bool, hbar);
        QFETCH(bool, vbar);
        frmPic *w = zk::openpicture(QString(), -1);
        w->Picture1->setPicture(zktest::pattern(pic.width(), pic.height()));
        setInner(w, inner.width(), inner.height());
        QCOMPARE(w->client()->size(), inner);
        const int sbw = w->VScroll1->sizeHint().width(), sbh = w->HScroll1->sizeHint().height();
        QCOMPARE(!w->HScroll1->isHidden(), hbar);
        QCOMPARE(!w->VScroll1->isHidden(), vbar);
        QCOMPARE(!w->Picture2->isHidden(), hbar && vbar);
        const int cw = inner.width() - (vbar ? sbw : 0), ch = inner.height() - (hbar ? sbh : 0);
        if (!hbar) QCOMPARE(w->Picture1->x(), (cw - pic.width()) / 2);
        if (!vbar) QCOMPARE(w->Picture1->y(), (ch - pic.height()) / 2);
        if (vbar) {
            QCOMPARE(w->VScroll1->geometry(), QRect(inner.width() - sbw, 0, sbw, ch));
            QCOMPARE(w->VScroll1->maximum(), pic.height() - ch);
            QCOMPARE(w->VScroll1->pageStep(), 10);
        }
        if (hbar) {
            QCOMPARE(w->HScroll1->geometry(), QRect(0, inner.height() - sbh, cw, sbh));
            QCOMPARE(w->HScroll1->maximum(), pic.width() - cw);
        }
        if (hbar && vbar) {
            QCOMPARE(w->Picture2->geometry(), QRect(cw, ch, sbw, sbh));
            QVERIFY(!w->Picture2->pixmap().isNull());
        }
    }

    void scrollingAndResize()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        w->Picture1->setPicture(zktest::pattern(500, 400));
        setInner(w, 300, 200);
        w->HScroll1->setValue(50);
        w->VScroll1->setValue(30);
        QCOMPARE(w->Picture1->pos(), QPoint(-50, -30));
        // Larger, still scrolling: the picture keeps an edge at most 0, in
        // step with its bars.
        setInner(w, 450, 350);
        QVERIFY(w->Picture1->x() <= 0 && w->Picture1->y() <= 0);
        QCOMPARE(w->Picture1->x(), -w->HScroll1->value());
        QCOMPARE(w->Picture1->y(), -w->VScroll1->value());
        // Large enough: centred, no bars.
        setInner(w, 600, 500);
        QVERIFY(w->HScroll1->isHidden() && w->VScroll1->isHidden() && w->Picture2->isHidden());
        QCOMPARE(w->Picture1->pos(), QPoint(50, 50));
    }

    void selection_data()
    {
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("4 x 6 shows") << QPoint(54, 46) << true << QRect(50, 40, 4, 6);
        QTest::newRow("3 x 100 none") << QPoint(53, 140) << false << QRect();
        QTest::newRow("100 x 5 none") << QPoint(150, 45) << false << QRect();
        QTest::newRow("up and left") << QPoint(20, 10) << true << QRect(20, 10, 30, 30);
        QTest::newRow("beyond the edge clamps") << QPoint(400, 300) << true << QRect(50, 40, 151, 61);
    }
    void selection()
    {
        QFETCH(QPoint, to);
        QFETCH(bool, shown);
        QFETCH(QRect, rect);
        frmPic *w = mapPicture();
        env->Label2->setText(QStringLiteral("old"));
        QTest::mousePress(w->Picture1, Qt::LeftButton, {}, QPoint(50, 40));
        QCOMPARE(w->inFocus, int16_t(-1));
        QCOMPARE(env->Label2->text(), QString());  // a press clears the message pane
        QCOMPARE(w->anchorX(), 50);
        QCOMPARE(w->anchorY(), 40);
        QTest::mouseMove(w->Picture1, to);
        QCOMPARE(!w->Shape2->isHidden(), shown);
        if (shown) {
            QCOMPARE(w->Shape2->geometry(), rect);
            QCOMPARE(env->Label2->text(),
                     QStringLiteral(" Sélection L=%1 H=%2").arg(rect.width()).arg(rect.height()));
        }
        QTest::mouseRelease(w->Picture1, Qt::LeftButton, {}, to);
    }

    void selectionNeedsFocusAndIdle()
    {
        frmPic *w = mapPicture();
        QTest::mousePress(w->Picture1, Qt::LeftButton, {}, QPoint(50, 40));
        w->Form_LostFocus();
        QTest::mouseMove(w->Picture1, QPoint(90, 90));
        QVERIFY(w->Shape2->isHidden());
        QTest::mouseRelease(w->Picture1, Qt::LeftButton, {}, QPoint(90, 90));
        QTest::mousePress(w->Picture1, Qt::LeftButton, {}, QPoint(50, 40));
        zk::runflag = 1;
        QTest::mouseMove(w->Picture1, QPoint(90, 90));
        QVERIFY(w->Shape2->isHidden());
        zk::runflag = 0;
        QTest::mouseRelease(w->Picture1, Qt::LeftButton, {}, QPoint(90, 90));
    }

    void zoom_data()
    {
        QTest::addColumn<QRect>("sel");
        QTest::addColumn<QSize>("size");
        // 800 x 600 screen: wide selections take 0.95 screen widths, tall
        // ones 0.95 screen heights.
        QTest::newRow("wide") << QRect(20, 30, 100, 20) << QSize(760, 152);
        QTest::newRow("tall") << QRect(20, 0, 20, 100) << QSize(114, 570);
    }
    void zoom()
    {
        QFETCH(QRect, sel);
        QFETCH(QSize, size);
        frmPic *w = mapPicture();
        w->source = QStringLiteral("alps.map");
        drag(w, sel.topLeft(), sel.topLeft() + QPoint(sel.width(), sel.height()));
        QCOMPARE(w->Shape2->geometry(), sel);
        zk::MsgScript script;
        script.answer(zk::idYes);
        QTest::mousePress(w->Picture1, Qt::RightButton, {}, sel.center());
        QTest::mouseRelease(w->Picture1, Qt::RightButton, {}, sel.center());
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Créer une image \"zoom\" à partir de la sélection?")});
        QCOMPARE(script.shown().first().flags, int(zk::mbYesNo));
        QCOMPARE(zk::picwindows().size(), 2);
        frmPic *t = zk::picwindows().last();
        QVERIFY(t != w);
        QCOMPARE(zk::curpic.data(), t);
        QCOMPARE(t->Pictype, int16_t(2));
        QCOMPARE(t->source, QStringLiteral("Zoom de alps.map"));
        QCOMPARE(QSize(t->Picture1->scaleWidth(), t->Picture1->scaleHeight()), size);
        // The corners are those of the selection's corner pixels.
        float lon, lat;
        zk::pixtogeo(w, sel.left(), sel.top(), lon, lat);
        QCOMPARE(t->lon1, lon);
        QCOMPARE(t->lat1, lat);
        zk::pixtogeo(w, sel.right(), sel.bottom(), lon, lat);
        QCOMPARE(t->lon3, lon);
        QCOMPARE(t->lat3, lat);
        zk::pixtogeo(w, sel.right(), sel.top(), lon, lat);
        QCOMPARE(t->lon2, lon);
        zk::pixtogeo(w, sel.left(), sel.bottom(), lon, lat);
        QCOMPARE(t->lat4, lat);
        // The stretched picture: corner pixels of the selection at the corners.
        const QImage &z = t->Picture1->picture();
        QCOMPARE(z.pixelColor(0, 0), QColor(sel.left(), sel.top(), 7));
        QCOMPARE(z.pixelColor(size.width() - 1, size.height() - 1), QColor(sel.right(), sel.bottom(), 7));
        // The press goes on as a click on the original picture.
        QVERIFY(w->Shape2->isHidden());
        float clon, clat;
        zk::pixtogeo(w, sel.center().x(), sel.center().y(), clon, clat);
        QCOMPARE(zk::curlon, clon);
    }

    void zoomRefused()
    {
        frmPic *w = mapPicture();
        drag(w, QPoint(20, 20), QPoint(80, 60));
        zk::MsgScript script;
        script.answer(zk::idNo);
        // Outside the selection: no question, the selection stays.
        QTest::mouseClick(w->Picture1, Qt::RightButton, {}, QPoint(150, 80));
        QVERIFY(script.shown().isEmpty());
        QVERIFY(!w->Shape2->isHidden());
        // Inside, No: nothing happens at all.
        QTest::mouseClick(w->Picture1, Qt::RightButton, {}, QPoint(80, 60));
        QCOMPARE(script.shown().size(), 1);
        QCOMPARE(zk::picwindows().size(), 1);
        QVERIFY(!w->Shape2->isHidden());
        // A plain image maps no pixel: no zoom, no question.
        w->Pictype = 0;
        QTest::mouseClick(w->Picture1, Qt::RightButton, {}, QPoint(50, 40));
        QCOMPARE(script.shown().size(), 1);
    }

    void shiftRightClickMovesFreeCorner()
    {
        frmPic *w = mapPicture();
        drag(w, QPoint(50, 40), QPoint(60, 60));
        QTest::mouseClick(w->Picture1, Qt::RightButton, Qt::ShiftModifier, QPoint(100, 90));
        QCOMPARE(w->Shape2->geometry(), QRect(50, 40, 50, 50));
        QTest::mouseClick(w->Picture1, Qt::RightButton, Qt::ShiftModifier, QPoint(70, 60));
        QCOMPARE(w->Shape2->geometry(), QRect(50, 40, 20, 20));
    }

    void crosshairAndEsc()
    {
        frmPic *w = mapPicture();
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(100, 50));
        QCOMPARE(zk::curlon, 0.0f);
        QCOMPARE(zk::curlat, 45.0f);
        QCOMPARE(zk::curx, 100);
        QCOMPARE(zk::cury, 50);
        QVERIFY(!w->Line1->isHidden() && !w->Line2->isHidden());
        QCOMPARE(w->Line1->x1(), 100);
        QCOMPARE(w->Line1->y2(), 101);
        QCOMPARE(w->Line2->y1(), 50);
        QCOMPARE(w->Line2->x2(), 201);
        drag(w, QPoint(10, 10), QPoint(40, 40));
        QVERIFY(!w->Shape2->isHidden());
        QTest::keyClick(w->Picture1, Qt::Key_Escape);
        QVERIFY(w->Line1->isHidden() && w->Line2->isHidden() && w->Shape2->isHidden());
        // Esc while drawing stops the drawing.
        zk::runflag = zk::opdraw2d;
        QTest::keyClick(w->Picture1, Qt::Key_Escape);
        QCOMPARE(zk::runflag, int16_t(0));
    }

    void arrowKeys()
    {
        frmPic *w = mapPicture();
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(100, 50));
        QTest::keyClick(w->Picture1, Qt::Key_Right);
        QCOMPARE(w->Line1->x1(), 101);
        QCOMPARE(zk::curlon, 0.1f);
        QTest::keyClick(w->Picture1, Qt::Key_Up);
        QCOMPARE(w->Line2->y1(), 49);
        QCOMPARE(zk::cury, 51);
        // At the edge a step off the picture is refused.
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(200, 0));
        QTest::keyClick(w->Picture1, Qt::Key_Right);
        QTest::keyClick(w->Picture1, Qt::Key_Up);
        QCOMPARE(w->Line1->x1(), 200);
        QCOMPARE(w->Line2->y1(), 0);
        QCOMPARE(zk::curlon, 10.0f);
        // A plain image: nothing.
        w->Pictype = 0;
        QTest::keyClick(w->Picture1, Qt::Key_Left);
        QCOMPARE(zk::curlon, 10.0f);
    }

    void arrowKeysOn3DPicture()
    {
        frmPic *w = mapPicture();
        w->Pictype = 3;
        zk::showcursor(0.25f, 45);
        QCOMPARE(zk::curx, 102);  // 0.25 degree east: 102.5 rounds to even
        QTest::keyClick(w->Picture1, Qt::Key_Right);
        QCOMPARE(zk::curx, 103);
        QCOMPARE(zk::curlat, 45.0f);
        QTest::keyClick(w->Picture1, Qt::Key_Down);
        QCOMPARE(zk::cury, 49);
        QCOMPARE(zk::curlat, 44.9f);
        QCOMPARE(zk::curlon, 0.3f);
    }

    void stereoCursorCalls()
    {
        struct Call { float x, y, step; bool adjust; };
        QList<Call> calls;
        zk::pichooks.stereocursor = [&](frmPic *, float x, float y, float step, bool adjust) {
            calls.append({x, y, step, adjust});
        };
        frmPic *w = mapPicture();
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(30, 20));
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].x, 30.0f);
        QVERIFY(!calls[0].adjust);
        QTest::keyClick(w->Picture1, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls[1].step, 1.0f);
        QVERIFY(calls[1].adjust);
        QTest::keyClick(w->Picture1, Qt::Key_A);
        QCOMPARE(calls.size(), 3);
        QCOMPARE(calls[2].x, 30.0f);
        QCOMPARE(calls[2].y, 20.0f);
        // While an operation runs only the parallax keys reach it.
        zk::runflag = zk::opstereo;
        QTest::keyClick(w->Picture1, Qt::Key_A);
        QCOMPARE(calls.size(), 3);
        QTest::keyClick(w->Picture1, Qt::Key_Minus, Qt::KeypadModifier);
        QCOMPARE(calls.size(), 4);
        QCOMPARE(calls[3].step, -1.0f);
        zk::runflag = 0;
        // Without the hook the marks of a picture that is not stereo go.
        zk::pichooks.stereocursor = nullptr;
        w->Shape1[0]->show();
        QTest::keyClick(w->Picture1, Qt::Key_A);
        QVERIFY(w->Shape1[0]->isHidden());
    }

    void closeWhileRunningStops()
    {
        frmPic *w = mapPicture();
        QPointer<frmPic> guard(w);
        zk::runflag = zk::opdraw2d;
        QVERIFY(!w->close());
        QCOMPARE(zk::runflag, int16_t(0));
        QVERIFY(guard);
        QCOMPARE(zk::curpic.data(), w);
        QVERIFY(w->close());
        QApplication::processEvents();
        QVERIFY(zk::curpic.isNull());
    }

    void activateShowsSource()
    {
        frmPic *a = mapPicture();
        a->source = QStringLiteral("source A");
        frmPic *b = mapPicture();
        b->source = QStringLiteral("source B");
        env->area->setActiveSubWindow(a);
        QCOMPARE(env->Label2->text(), QStringLiteral("source A"));
        zk::runflag = 1;
        env->area->setActiveSubWindow(b);
        QCOMPARE(env->Label2->text(), QStringLiteral("source A"));
        zk::runflag = 0;
    }

    void unitLabels()
    {
        QList<int> shown, cur;
        QList<QPair<int, int>> ends;
        QList<QPointF> moves;
        zk::pichooks.showunit = [&](int u) { shown << u; };
        zk::pichooks.linkend = [&](int u, int b) { ends << qMakePair(u, b); };
        zk::pichooks.setcurunit = [&](int u) { cur << u; };
        zk::pichooks.moveunit = [&](float lon, float lat) { moves << QPointF(lon, lat); };
        frmPic *w = mapPicture();
        frmPic *other = mapPicture();
        QLabel *l = w->Label4[3];
        l->setText(QStringLiteral("Relais"));
        l->setGeometry(10, 10, 40, 12);
        l->show();
        w->Image1[5]->setGeometry(60, 10, 16, 16);
        w->Image1[5]->show();

        env->mnuViewGrid->setChecked(true);
        zk::frmGrid::instance()->show();
        QTest::mouseDClick(l, Qt::LeftButton);
        QCOMPARE(shown, QList<int>{3});
        QVERIFY(!zk::frmGrid::loaded() || !zk::frmGrid::loaded()->isVisible());
        QTest::mouseDClick(w->Image1[5], Qt::LeftButton);
        QCOMPARE(shown, (QList<int>{3, 5}));

        QTest::mouseClick(l, Qt::LeftButton, Qt::ShiftModifier);
        QTest::mouseClick(l, Qt::RightButton, Qt::ControlModifier);
        QCOMPARE(ends, (QList<QPair<int, int>>{{3, 1}, {3, 2}}));

        // Right press: the question, then the unit goes to the cursor and the
        // network drawing is cleared from every picture.
        zk::showcursor(1.5f, 44.5f);
        QPainter(&other->Picture1->image()).fillRect(0, 0, 10, 10, Qt::red);
        zk::MsgScript script;
        script.answer(zk::idNo);
        script.answer(zk::idYes);
        QTest::mouseClick(l, Qt::RightButton);
        QVERIFY(cur.isEmpty() && moves.isEmpty());
        QTest::mouseClick(l, Qt::RightButton);
        QCOMPARE(script.texts(), (QStringList{QStringLiteral("Déplacer la station à la position du curseur?"),
                                              QStringLiteral("Déplacer la station à la position du curseur?")}));
        QCOMPARE(script.shown().first().flags, int(zk::mbYesNo | zk::mbQuestion));
        QCOMPARE(cur, QList<int>{3});
        QCOMPARE(moves, QList<QPointF>{QPointF(1.5, 44.5)});
        QCOMPARE(other->Picture1->image().pixelColor(5, 5), QColor(5, 5, 7));
    }

    void objectEditorPoints()
    {
        QStringList lines;
        int mode = 0;
        zk::pichooks.objectaddmode = [&] { return mode; };
        zk::pichooks.objectaddline = [&](const QString &s) { lines << s; };
        frmPic *w = mapPicture();
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(100, 50));
        // Elevation of cell (100, 50): 1050 m = 3444.9 ft.
        QCOMPARE(lines, QStringList{QStringLiteral("45.00000,0.00000,0,3445")});
        const QImage &img = w->Picture1->image();
        QCOMPARE(img.pixelColor(102, 50), QColor(Qt::black));
        QCOMPARE(img.pixelColor(101, 50), QColor(Qt::white));
        mode = 1;
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(200, 100));
        QCOMPARE(lines.last(), QStringLiteral("0,40.00000,10.00000,L,4,FFFFFF"));
        mode = -1;  // not adding, or two lines selected
        QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(lines.size(), 2);
    }

    void mouseCoordinates()
    {
        frmPic *w = mapPicture();
        env->Label2->setText(QStringLiteral("kept"));
        QTest::mouseMove(w->Picture1, QPoint(100, 50));
        QCOMPARE(env->Label2->text(), QStringLiteral("kept"));
        env->mnuMouseCoor->setChecked(true);
        QTest::mouseMove(w->Picture1, QPoint(100, 51));
        float lon = 0, lat = 0;
        zk::pixtogeo(w, 100, 51, lon, lat);
        QCOMPARE(env->Label2->text(), zk::londms(lon) + QLatin1Char(' ') + zk::latdms(lat));
        QVERIFY(env->Label2->text().startsWith(QStringLiteral("000°00'00\"E 44°54'")));
    }

    void gripResizes()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        w->Picture1->setPicture(zktest::pattern(600, 500));
        setInner(w, 300, 200);
        QVERIFY(!w->Picture2->isHidden());
        const QSize before = w->QWidget::size();
        QTest::mousePress(w->Picture2, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(w->Picture2, Qt::LeftButton, {}, QPoint(22, 12));
        QCOMPARE(w->QWidget::size(), before + QSize(20, 10));
    }

    void stereoPictures()
    {
        QVERIFY(zk::isstereo(QStringLiteral("Stereo pair")));
        QVERIFY(zk::isstereo(QStringLiteral("STEREOSCOPE")));
        QVERIFY(zk::isstereo(QStringLiteral("Vue stéréoscopique (Rouge et bleu)")));
        QVERIFY(!zk::isstereo(QStringLiteral("Image utilisateur")));
        QVERIFY(!zk::isstereo(QStringLiteral("Mappemonde")));
        QVERIFY(!zk::isstereo(static_cast<const frmPic *>(nullptr)));
    }
};

QTEST_MAIN(TestFrmPic)
#include "test_frmpic.moc"
