// The 2D picture of the map: the block loop against one direct fastdraw,
// the picture's variables, new windows, a stop in the first block, the
// overlays in their order, the legend, findsource2d and keepinpic.
#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QPaintEvent>
#include <QScrollBar>

#include <memory>

#include "base/longop.h"
#include "base/settings.h"
#include "engine.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "picenv.h"
#include "pictures/colorscale.h"
#include "pictures/covset.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/legend.h"
#include "pictures/picfiles.h"
#include "qtdc.h"

namespace {

QImage directdraw()
{
    QImage img = zk::dcImage(zk::elevgrid.nx(), zk::elevgrid.ny(), 0x808080);
    ZkDC dc = zk::dcOf(img);
    zk::engine::callback(nullptr);
    const zk::ColorChannels ch = zk::colorchannels();
    zk::engine::fastdraw(&zk::mapset, zk::elevgrid.engineArray(), &dc, 0, 0, int16_t(zk::elevgrid.ubound1()),
                         int16_t(zk::elevgrid.ubound2()), zk::alt.data(), ch.red.data(), ch.green.data(),
                         ch.blue.data(), zk::stratcolors <= 0 ? -1 : 0);
    return img;
}

int differences(const QImage &a, const QImage &b)
{
    if (a.size() != b.size()) return -1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c)
            if ((x.pixel(c, r) & 0xFFFFFF) != (y.pixel(c, r) & 0xFFFFFF)) ++n;
    return n;
}

// A grid of hills whose every cell differs from its neighbours.
void hills(int nx, int ny)
{
    zk::elevgrid.redim(nx - 1, ny - 1);
    for (int y = 0; y < ny; ++y)
        for (int x = 0; x < nx; ++x)
            zk::elevgrid.at(x, y) = int16_t(400 + 300 * std::sin(x / 23.0) * std::cos(y / 31.0) + (x * 7 + y * 13) % 17);
    zk::mapcorners.lon[0] = -74; zk::mapcorners.lat[0] = 46;
    zk::mapcorners.lon[1] = -72; zk::mapcorners.lat[1] = 46;
    zk::mapcorners.lon[2] = -72; zk::mapcorners.lat[2] = 45;
    zk::mapcorners.lon[3] = -74; zk::mapcorners.lat[3] = 45;
}

QStringList g_calls;

// A picture window of one flat colour at a size, shown, with the paints of
// its box counted (pixels) and those of the other widgets it is given.
struct ShownPicture : QObject {
    zk::frmPic *w = nullptr;
    zk::PicBox *box = nullptr;
    qint64 area = 0;  // pixels of the box repainted
    int others = 0;   // paints of the other widgets watched
    ShownPicture(QSize picture, QSize window)
    {
        w = zk::openpicture(QString(), -1);
        box = w->Picture1;
        QImage pattern(picture, zk::kDcFormat);
        pattern.fill(QColor(30, 60, 90));
        box->setPicture(pattern);
        w->resize(window);
        w->show();
        box->installEventFilter(this);
    }
    ~ShownPicture() override { delete w; }
    void watch(QWidget *other) { other->installEventFilter(this); }
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) {
            const QRect r = static_cast<QPaintEvent *>(e)->rect();
            if (o == box) area += qint64(r.width()) * r.height();
            else ++others;
        }
        return false;
    }
    // Lets every repaint asked for happen, and starts counting anew.
    void settle()
    {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        area = others = 0;
    }
    void letrepaint()
    {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
};

}  // namespace

class TestDraw2d : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;
    QTemporaryDir user;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        zk::paths::setUserFolder(user.path());
        env = std::make_unique<zktest::TestMain>();
    }
    void cleanupTestCase()
    {
        env.reset();
        zk::paths::setUserFolder(QString());
    }

    void init()
    {
        env->closeAll();
        zk::newpic = false;
        zk::curpic = nullptr;
        zk::runflag = 0;
        zk::settings.showobjects = false;
        zk::draw2dhooks = {};
        zk::mapset = MapSettings{};
        zk::mapset.Mapmode = 5;
        zk::mapset.con = 30;
        zk::mapset.bri = 70;
        zk::mapset.light = 335;
        zk::mapset.size = 100;
        zk::mapset.minx = 100;
        zk::mapset.maxx = 700;
        zk::mapset.hmin = 100;
        zk::mapset.hmax = 700;
        zk::mapset.hmoy = 400;
        zk::mapcorners.city = 0;
        zk::mapfile = QStringLiteral("collines.map");
        zk::colors = zk::defaultcolors();
        zk::alt = {100, 160, 220, 280, 340, 400, 460, 520, 580, 640, 700};
        zk::stratcolors = 0;
        zk::showlegend = 0;
        g_calls.clear();
    }

    // 512 cells: four blocks; 513: a third block column and row one cell
    // wide, so that the last column and row are painted too.
    void blocksMatchOneDirectDrawing_data()
    {
        QTest::addColumn<int>("nx");
        QTest::addColumn<int>("ny");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("strat");
        QTest::newRow("512 x 512 arc-en-ciel") << 512 << 512 << 5 << 0;
        QTest::newRow("513 x 513 arc-en-ciel stratifié") << 513 << 513 << 5 << 1;
        QTest::newRow("300 x 257 lunaire") << 300 << 257 << 0 << 0;
        QTest::newRow("10 x 10 relatif") << 10 << 10 << 2 << 0;
    }
    void blocksMatchOneDirectDrawing()
    {
        QFETCH(int, nx);
        QFETCH(int, ny);
        QFETCH(int, mode);
        QFETCH(int, strat);
        hills(nx, ny);
        zk::mapset.Mapmode = int16_t(mode);
        zk::stratcolors = int16_t(strat);
        QVERIFY(zk::draw2d(nullptr, true));
        zk::frmPic *w = zk::activepic();
        QVERIFY(w);
        QVERIFY(zk::curpic == w);
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(zk::progcount, int32_t(((nx - 1) / 256 + 1) * ((ny - 1) / 256 + 1)));
        QCOMPARE(w->Picture1->picture().size(), QSize(nx, ny));
        QCOMPARE(differences(w->Picture1->picture(), directdraw()), 0);
        QCOMPARE(w->Picture3->scaleWidth(), 10);  // the work surface shrank
        QVERIFY(w->Picture1->isEnabled());
    }

    void pictureTakesTheMapsValues()
    {
        hills(40, 30);
        zk::mapcorners.city = -1;
        zk::mapset.c1 = 1;
        zk::mapset.c2 = 3;
        zk::frmPic *w = zk::openpicture(QString(), 2);
        w->Pictype = 2;
        w->source = QStringLiteral("ailleurs");
        QVERIFY(zk::draw2d(w, true));
        QCOMPARE(zk::activepic(), w);  // drawn in place
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(w->source, QStringLiteral("collines.map"));
        QCOMPARE(w->lon1, -74.0f);
        QCOMPARE(w->lat1, 46.0f);
        QCOMPARE(w->lon3, -72.0f);
        QCOMPARE(w->lat4, 45.0f);
        QCOMPARE(w->Mapmode, int16_t(5));
        QCOMPARE(w->minx, 100.0f);
        QCOMPARE(w->maxx, 700.0f);
        QCOMPARE(w->light, 335.0f);
        QCOMPARE(w->con, 30.0f);
        QCOMPARE(w->bri, 70.0f);
        QCOMPARE(w->c1, uint8_t(1));
        QCOMPARE(w->c2, uint8_t(3));
        QCOMPARE(w->city, uint8_t(1));
        QCOMPARE(w->hmoy, 400.0f);
        QVERIFY(zk::issource2d(w));
    }

    void newPictureWhenAskedOrNotAPictureWindow()
    {
        hills(30, 20);
        zk::frmPic *first = zk::openpicture(QString(), -1);
        zk::newpic = true;
        QVERIFY(zk::draw2d(first, true));
        QCOMPARE(zk::picwindows().size(), 2);
        QVERIFY(zk::activepic() != first);
        QCOMPARE(first->Pictype, int16_t(1));
        QCOMPARE(first->source, QStringLiteral("Image utilisateur"));  // not drawn
        zk::newpic = false;
        QVERIFY(zk::draw2d(&env->main, true));
        QCOMPARE(zk::picwindows().size(), 3);
    }

    void stopInTheFirstBlock()
    {
        hills(600, 300);
        zk::frmPic *w = zk::openpicture(QString(), 2);
        w->source = QStringLiteral("avant");
        w->Pictype = 2;
        w->lon1 = 5;
        zk::showlegend = 1;
        zk::settings.showobjects = true;
        zk::draw2dhooks.drawobjects = [](zk::frmPic *, const QString &p, bool) { g_calls << p; };
        // The first moment events are let in during the drawing, after the
        // first row of blocks (painted together), finds the stop request (the
        // timer waits until the operation has begun).
        std::function<void()> stopper = [&stopper] {
            if (zk::runflag == zk::opdraw2d) zk::runflag = 0;
            else QTimer::singleShot(0, stopper);
        };
        QTimer::singleShot(0, stopper);
        QVERIFY(!zk::draw2d(w, true));
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(zk::progcount, 3);  // the first row's three blocks, then both loops ended
        QCOMPARE(w->source, QStringLiteral("avant"));
        QCOMPARE(w->Pictype, int16_t(2));
        QCOMPARE(w->lon1, 5.0f);
        QVERIFY(g_calls.isEmpty());
        QVERIFY(zk::curpic == w);
        QVERIFY(w->Picture1->isEnabled());  // the end of the operation enables it
    }

    void overlaysInTheirOrder()
    {
        hills(50, 40);
        zk::settings.showobjects = true;
        zk::mapcorners.city = -1;
        zk::draw2dhooks.drawobjects = [](zk::frmPic *, const QString &p, bool fill) {
            g_calls << p + (fill ? QStringLiteral(" rempli") : QString());
        };
        zk::draw2dhooks.drawcities = [](zk::frmPic *, bool keep, const QString &f) {
            g_calls << f + (keep ? QStringLiteral(" gardé") : QString());
        };
        QVERIFY(zk::draw2d(nullptr, true));
        QStringList want;
        for (int d = 0; d <= 9; ++d) want << QStringLiteral("F%1*.plt rempli").arg(d) << QStringLiteral("L%1*.plt").arg(d);
        want << QStringLiteral("*.dat") << QStringLiteral("cities.dat gardé");
        QCOMPARE(g_calls, want);
        QCOMPARE(zk::progtotal, 100.0f);
        // One step of another operation: the cities are not committed, and the
        // operation stays open for the caller.
        g_calls.clear();
        zk::settings.showobjects = false;
        QVERIFY(zk::draw2d(zk::activepic(), false));
        QCOMPARE(g_calls, QStringList({QStringLiteral("cities.dat")}));
        QCOMPARE(zk::runflag, int16_t(zk::opdraw2d));
        zk::endop();
    }

    void legendOnlyOnRainbowPicturesWhenAsked_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("legend");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("arc-en-ciel avec légende") << 5 << 1 << true;
        QTest::newRow("arc-en-ciel sans légende") << 5 << 0 << false;
        QTest::newRow("lunaire") << 0 << 1 << false;
    }
    void legendOnlyOnRainbowPicturesWhenAsked()
    {
        QFETCH(int, mode);
        QFETCH(int, legend);
        QFETCH(bool, drawn);
        hills(400, 200);
        zk::mapset.Mapmode = int16_t(mode);
        zk::showlegend = int16_t(legend);
        QVERIFY(zk::draw2d(nullptr, true));
        const QImage p = zk::activepic()->Picture1->picture();
        const bool grey = QColor(p.pixel(p.width() - 5, p.height() - 4)) == QColor(200, 200, 200);
        QCOMPARE(grey, drawn);
        QCOMPARE(differences(p, directdraw()) == 0, !drawn);
    }

    void findsource2dRules()
    {
        zk::MsgScript script;
        hills(100, 80);
        // A picture of the map of kind 2, the world map, a stereo picture, one
        // 2 pixels too wide: none qualifies, and the question comes.
        auto make = [](int16_t kind, const QString &source, int width) {
            zk::frmPic *w = zk::openpicture(QString(), -1);
            w->Pictype = kind;
            w->source = source;
            w->lon1 = zk::mapcorners.lon[0];
            w->lat1 = zk::mapcorners.lat[0];
            w->lon3 = zk::mapcorners.lon[2] + 0.00005f;
            w->lat3 = zk::mapcorners.lat[2];
            w->Picture1->setBoxSize(width, 80);
            return w;
        };
        make(2, QStringLiteral("collines.map"), 100);
        make(1, QStringLiteral("Mappemonde"), 100);
        make(1, QStringLiteral("STEREO collines"), 100);
        make(1, QStringLiteral("collines.map"), 101);
        script.answer(zk::idNo);
        QVERIFY(!zk::findsource2d());
        QVERIFY(!zk::curpic);
        QCOMPARE(script.texts(), QStringList({QStringLiteral("Pas d'image source 2D picture adéquate\r\nEn dessiner une?")}));
        QCOMPARE(script.shown().at(0).flags, zk::mbYesNo | zk::mbQuestion);

        // A qualifying picture that is not the active one: taken, no question.
        zk::frmPic *good = make(1, QStringLiteral("collines.map"), 99);
        zk::frmPic *other = make(0, QStringLiteral("photo"), 30);
        QCOMPARE(zk::activepic(), other);
        script.clear();
        QVERIFY(zk::findsource2d());
        QVERIFY(zk::curpic == good);
        QVERIFY(script.shown().isEmpty());

        // None, and Yes: one is drawn into a new window.
        env->closeAll();
        script.answer(zk::idYes);
        QVERIFY(zk::findsource2d());
        QVERIFY(zk::curpic);
        QVERIFY(zk::issource2d(zk::curpic));
        QCOMPARE(zk::picwindows().size(), 1);
    }

    void keepinpicCommitsOnYes()
    {
        zk::MsgScript script;
        hills(40, 40);
        QVERIFY(zk::draw2d(nullptr, true));
        zk::PicBox *box = zk::activepic()->Picture1;
        const QImage before = box->picture();
        auto scribble = [box] {
            QPainter p(&box->image());
            p.fillRect(0, 0, 5, 5, Qt::red);
        };
        scribble();
        script.answer(zk::idNo);
        QVERIFY(!zk::keepinpic(box, QStringLiteral("la grille ")));
        QCOMPARE(script.texts().last(), QStringLiteral("Garder la grille dans l'image?"));
        QCOMPARE(QColor(box->image().pixel(1, 1)), QColor(Qt::red));  // still shown
        box->cls();
        QCOMPARE(box->image().pixel(1, 1), before.pixel(1, 1));      // gone with the clearing
        scribble();
        script.answer(zk::idYes);
        QVERIFY(zk::keepinpic(box, QStringLiteral("les couleurs ")));
        box->cls();
        QCOMPARE(QColor(box->image().pixel(1, 1)), QColor(Qt::red));
    }

    // The layer and the stored picture each keep memory of their own through
    // commits and clearings: a copy of the picture someone holds stays as it
    // was, drawing on the layer after a commit leaves the picture alone, and
    // a clearing shows the background where a smaller picture ends.
    void commitAndClearKeepTheirOwnPixels()
    {
        zk::frmPic *w = zk::openpicture(QString(), -1);
        QVERIFY(w);
        zk::PicBox *box = w->Picture1;
        box->setBackColor(0x808080);
        box->setBoxSize(6, 4);
        auto paint = [box](QColor c, int x) {
            QPainter p(&box->image());
            p.fillRect(x, 0, 1, 4, c);
        };
        paint(Qt::red, 0);
        box->commit();
        const QImage held = box->picture();  // shares the stored picture
        paint(Qt::blue, 1);
        box->commit();
        QCOMPARE(QColor(held.pixel(1, 2)), QColor(128, 128, 128));
        QCOMPARE(QColor(held.pixel(0, 2)), QColor(Qt::red));
        QCOMPARE(QColor(box->picture().pixel(1, 2)), QColor(Qt::blue));
        paint(Qt::green, 2);  // after the commit: the layer only
        QCOMPARE(QColor(box->picture().pixel(2, 2)), QColor(128, 128, 128));
        box->cls();
        QCOMPARE(QColor(box->image().pixel(2, 2)), QColor(128, 128, 128));
        QCOMPARE(QColor(box->image().pixel(1, 2)), QColor(Qt::blue));
        QCOMPARE(QColor(held.pixel(1, 2)), QColor(128, 128, 128));
        // A stored picture of 2 x 2 on a box of 6 x 4.
        QImage small(2, 2, QImage::Format_RGBX8888);
        small.fill(QColor(Qt::yellow));
        box->setPicture(small, false);
        paint(Qt::red, 4);
        box->cls();
        QCOMPARE(QColor(box->image().pixel(1, 1)), QColor(Qt::yellow));
        QCOMPARE(QColor(box->image().pixel(1, 3)), QColor(128, 128, 128));
        QCOMPARE(QColor(box->image().pixel(4, 0)), QColor(128, 128, 128));
        delete w;
    }

    // A clearing or a keep after writes that said where they went copies only
    // there; every other way of writing counts as the whole layer. Whatever
    // the writers, a keep leaves the stored picture equal to the layer and a
    // clearing leaves the layer equal to the stored picture, on every pixel
    // (compared with the same writes done on plain copies).
    void clearAndKeepAfterEveryKindOfWrite_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("writes that say where") << 0;
        QTest::newRow("a painter on the layer") << 1;
        QTest::newRow("the layer's bits") << 2;
        QTest::newRow("the engine's device context") << 3;
        QTest::newRow("writes that say where, then a painter elsewhere") << 4;
        QTest::newRow("two writers that say where, one after the other") << 5;
        QTest::newRow("writes that say where, then a painter on a copy of the layer") << 6;
    }
    void clearAndKeepAfterEveryKindOfWrite()
    {
        QFETCH(int, kind);
        QImage pattern(300, 200, zk::kDcFormat);
        for (int y = 0; y < pattern.height(); ++y)
            for (int x = 0; x < pattern.width(); ++x) pattern.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x * y) & 0xFF));
        const QRect inside(40, 30, 50, 40), elsewhere(200, 120, 30, 30);
        // The writes on a plain image, and on the box's layer; a second round
        // writes other colours.
        auto write = [&](QImage &plain, zk::PicBox *box, int round) {
            auto hue = [round](QColor c) { return round == 0 ? c : QColor(c.blue(), c.red() / 2, 255 - c.green()); };
            auto told = [&](const QRect &r, QColor c) {
                c = hue(c);
                QPainter p;
                const zk::SpanTarget t = box->beginwrites(p);
                p.fillRect(r.adjusted(0, 0, 0, -r.height() / 2), c);  // half with the painter,
                for (int y = r.top() + r.height() / 2; y <= r.bottom(); ++y)  // half straight into memory
                    for (int x = r.left(); x <= r.right(); ++x)
                        reinterpret_cast<uint32_t *>(t.bits + y * t.stride)[x] = 0xFF000000u | uint32_t(c.blue()) << 16 |
                                                                               uint32_t(c.green()) << 8 | uint32_t(c.red());
                box->wrote(r);
                p.end();
                QPainter(&plain).fillRect(r, c);
            };
            auto painted = [&](const QRect &r, QColor c) {
                c = hue(c);
                QPainter(&box->image()).fillRect(r, c);
                QPainter(&plain).fillRect(r, c);
            };
            switch (kind) {
            case 0: told(inside, Qt::red); break;
            case 1: painted(elsewhere, Qt::blue); break;
            case 2: {
                uchar *bits = box->image().bits();
                const QColor c = hue(QColor(0, 255, 0));
                for (int x = 0; x < 300; ++x)
                    reinterpret_cast<uint32_t *>(bits + 150 * box->image().bytesPerLine())[x] =
                        0xFF000000u | uint32_t(c.blue()) << 16 | uint32_t(c.green()) << 8 | uint32_t(c.red());
                QPainter(&plain).fillRect(0, 150, 300, 1, c);
                break;
            }
            case 3: {
                ZkDC dc = zk::dcOf(box->image());
                const QColor c = hue(QColor(255, 0, 0));
                for (int y = 5; y < 25; ++y)
                    dc.bits[y * dc.stride + 250] = 0xFF000000u | uint32_t(c.blue()) << 16 | uint32_t(c.green()) << 8 | uint32_t(c.red());
                QPainter(&plain).fillRect(250, 5, 1, 20, c);
                break;
            }
            case 4:
                told(inside, Qt::red);
                painted(elsewhere, Qt::blue);
                break;
            case 5:
                told(inside, Qt::red);
                told(elsewhere, Qt::yellow);
                break;
            case 6: {
                told(inside, Qt::red);
                // A copy of the layer someone holds: drawing on it leaves
                // the layer alone, and the layer's writes are still known.
                QImage held = box->image();
                QPainter(&held).fillRect(elsewhere, Qt::black);
                break;
            }
            }
        };
        auto equal = [](const QImage &a, const QImage &b) {
            return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
        };

        zk::frmPic *w = zk::openpicture(QString(), -1);
        QVERIFY(w);
        zk::PicBox *box = w->Picture1;
        box->setPicture(pattern.copy());  // the box's own, as one read from a file
        box->cls();  // as every operation starts
        QImage plain = pattern.copy();
        write(plain, box, 0);
        QVERIFY(equal(box->image(), plain));
        box->commit();
        QVERIFY2(equal(box->picture(), plain), "kept");
        box->cls();
        QVERIFY(equal(box->image(), plain));

        // The same writes again, not kept: the clearing takes them all away.
        QImage again = plain.copy();
        write(again, box, 1);
        QVERIFY(!equal(again, plain));
        QVERIFY(equal(box->image(), again));
        box->cls();
        QVERIFY2(equal(box->image(), plain), "cleared");
        QVERIFY(equal(box->picture(), plain));
        delete w;
    }

    // The box is shown again only when its pixels changed: neither a
    // clearing of a layer nobody wrote since the last clearing or keep, nor
    // the disabling and enabling every long operation does, repaints a
    // picture of millions of pixels; a clearing after a write does.
    void repaintedOnlyWhenItsPixelsChange()
    {
        ShownPicture shown(QSize(600, 400), QSize(800, 600));
        zk::PicBox *box = shown.box;
        QVERIFY(QTest::qWaitForWindowExposed(shown.w));
        // As after a click on the picture: the box has the focus, which a
        // disabled box gives up and the operation's end gives back.
        shown.w->activateWindow();
        box->setFocus();
        box->cls();
        shown.settle();
        const QRect seen = box->visibleRegion().boundingRect();
        const qint64 whole = qint64(seen.width()) * seen.height();
        QVERIFY2(whole >= 100 * 100, qPrintable(QStringLiteral("%1 x %2").arg(seen.width()).arg(seen.height())));
        box->cls();
        shown.letrepaint();
        QCOMPARE(shown.area, qint64(0));
        box->setEnabled(false);
        shown.letrepaint();
        box->setEnabled(true);
        box->setFocus();
        shown.letrepaint();
        QVERIFY(box->hasFocus());
        // (What the box's own children repaint of it is theirs, and small.)
        QVERIFY2(shown.area < whole / 10, qPrintable(QString::number(shown.area)));
        QVERIFY(box->isEnabled());
        QPainter(&box->image()).fillRect(10, 10, 5, 5, Qt::red);
        shown.settle();
        box->cls();
        shown.letrepaint();
        QVERIFY(shown.area >= whole / 2);
        QCOMPARE(QColor(box->image().pixel(12, 12)), QColor(30, 60, 90));
    }

    // A picture larger than its window lies under the window's scroll bars:
    // showing it again repaints what can be seen of it and leaves the bars
    // alone, and after writes that said where they went, only there.
    void refreshRepaintsWhatChangedAndLeavesTheScrollBars()
    {
        ShownPicture shown(QSize(1200, 900), QSize(420, 320));
        zk::PicBox *box = shown.box;
        zk::frmPic *w = shown.w;
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(w->HScroll1->isVisible() && w->VScroll1->isVisible());
        shown.watch(w->HScroll1);
        shown.watch(w->VScroll1);
        box->cls();
        shown.settle();
        const QRect seen = box->visibleRegion().boundingRect();

        // Writes that said where they went: that square alone.
        const QRect square(seen.left() + 10, seen.top() + 10, 20, 20);
        {
            QPainter p;
            box->beginwrites(p);
            p.fillRect(square, Qt::red);
            box->wrote(square);
        }
        box->refresh();
        shown.letrepaint();
        QVERIFY2(shown.area > 0 && shown.area <= 20 * 20, qPrintable(QString::number(shown.area)));
        QCOMPARE(shown.others, 0);
        // Any other write: all that can be seen, still not the bars.
        shown.settle();
        QPainter(&box->image()).fillRect(square, Qt::blue);
        box->refresh();
        shown.letrepaint();
        QVERIFY(shown.area >= qint64(seen.width() - w->VScroll1->width()) * (seen.height() - w->HScroll1->height()));
        shown.settle();
        box->cls();
        shown.letrepaint();
        QVERIFY(shown.area > 0);
        QCOMPARE(shown.others, 0);
        QCOMPARE(QColor(box->image().pixel(square.center())), QColor(30, 60, 90));
    }

    // The legend's swatches: brightness scales the blended altitude colours
    // (at least 40 %, at most 100 %); swatches 0 and 11 are flat.
    void legendSwatches()
    {
        zk::colors = zk::defaultcolors();
        const uint32_t c5 = zk::colors[5];
        auto red = [](uint32_t c) { return int(c & 255); };
        QCOMPARE(red(zk::swatchcolor(5, 3, 23, true, 50)), int(std::nearbyint(0.6 * red(c5))));
        QCOMPARE(zk::swatchcolor(5, 3, 23, true, 90), c5);
        QCOMPARE(red(zk::swatchcolor(5, 3, 23, true, 10)), int(std::nearbyint(0.4 * red(c5))));
        // Swatch 5 runs to colour 6 at its right end; 0 and 11 stay flat.
        QCOMPARE(zk::swatchcolor(5, 23, 23, true, 100), zk::colors[6]);
        QCOMPARE(zk::swatchcolor(0, 23, 23, true, 100), zk::colors[0]);
        QCOMPARE(zk::swatchcolor(11, 23, 23, true, 100), zk::colors[11]);
        // Stratified and signal swatches: one colour, dark to full.
        QCOMPARE(zk::swatchcolor(3, 23, 23, false, 10), zk::colors[3]);
        QCOMPARE(red(zk::swatchcolor(11, 3, 23, false, 100)), int(std::nearbyint(std::sqrt(0.1) * 255)));
    }

    void legendTitlesAndKind()
    {
        QCOMPARE(zk::legendtitle(0, 1), QStringLiteral("Altitude (m)"));
        QCOMPARE(zk::legendtitle(1, 0), QStringLiteral("Signal (S-Unit)"));
        QCOMPARE(zk::legendtitle(1, 1), QStringLiteral("Signal (dBm)"));
        QCOMPARE(zk::legendtitle(1, 2), QStringLiteral("Signal (µV)"));
        // A signal legend leaves the kind at altitude; a picture smaller than
        // the legend is simply cut.
        zk::frmPic *w = zk::openpicture(QString(), -1);
        w->Picture1->setBoxSize(20, 10);
        zk::scalekind = 1;
        zk::covset.thrunit = 1;
        zk::drawlegend(w);
        QCOMPARE(zk::scalekind, int16_t(0));
        zk::drawlegend(nullptr);
    }

    // Long threshold texts widen all twelve columns alike.
    void legendColumnsFollowTheWidestLabel()
    {
        zk::frmPic *w = zk::openpicture(QString(), -1);
        w->Picture1->setBoxSize(800, 100);
        auto greyLeft = [w] {
            const QImage img = w->Picture1->image();
            const int y = img.height() - 4;
            int x = img.width() - 5;
            while (x > 0 && QColor(img.pixel(x - 1, y)) == QColor(200, 200, 200)) --x;
            return x;
        };
        zk::alt = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
        zk::drawlegend(w);
        const int narrow = greyLeft();
        w->Picture1->cls();
        zk::alt[4] = -12345;
        zk::drawlegend(w);
        const int wide = greyLeft();
        QVERIFY2(wide < narrow - 12 * 10, qPrintable(QStringLiteral("%1 %2").arg(wide).arg(narrow)));
    }
};

QTEST_MAIN(TestDraw2d)
#include "test_draw2d.moc"
