// Station-to-station views under the offscreen platform, drawn by the real
// engine: the target marker against a line-of-sight computation on the same
// grid, the view windows and their variables, views that cannot be drawn,
// stereo pairs (merged, and stopped during the left eye), targets that go
// away or have no size, and the radio-link window's Observation items.
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <functional>
#include <memory>

#include "app/mainwindow.h"
#include "base/longop.h"
#include "base/screen.h"
#include "msgbox.h"
#include "pictures/frmPic.h"
#include "pictures/view3d.h"
#include "radio/frmLink.h"
#include "radio/linkreport.h"
#include "radio/radiodata.h"
#include "testenv.h"
#include "views3d/drawview.h"
#include "views3d/frmAnimate.h"
#include "views3d/frmObs.h"

using zk::frmPic;
using viewtest::kGrey;
using viewtest::rgbAt;

namespace {

// Ridge across the path: columns rx0..rx1 at height rh, flat 0 elsewhere.
int g_rx0 = 0, g_rx1 = -1, g_rh = 0;
int16_t ridge(int x, int) { return x >= g_rx0 && x <= g_rx1 ? int16_t(g_rh) : 0; }

// Bilinear elevation of the grid at a fractional cell (as the engine samples).
double elevation(double x, double y)
{
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    const double fx = x - ix, fy = y - iy;
    auto e = [](int i, int j) { return double(zk::elevgrid.get(i, j)); };
    return (e(ix, iy) * (1 - fx) + e(ix + 1, iy) * fx) * (1 - fy) + (e(ix, iy + 1) * (1 - fx) + e(ix + 1, iy + 1) * fx) * fy;
}

// Line of sight from A's antenna (grid cell xa, ya at altitude ha) to B's,
// over the grid, cells of cell_m metres, the Earth's curvature as a drop of
// d^2 / 12.75 m at d km: no ground point between them rises above the
// straight line to B's antenna.
bool lineofsight(double xa, double ya, double ha, double xb, double yb, double hb, double cell_m)
{
    const double dist = std::hypot(xb - xa, yb - ya), dist_m = dist * cell_m;
    const double drop_m = (dist_m / 1000) * (dist_m / 1000) / 12.75;
    const double toB = (hb - ha - drop_m) / dist_m;
    for (double r = 0.5; r < dist - 0.5; r += 0.05) {
        const double x = xa + (xb - xa) * r / dist, y = ya + (yb - ya) * r / dist;
        const double r_m = r * cell_m;
        const double fall = (r_m / 1000) * (r_m / 1000) / 12.75;
        if ((elevation(x, y) - ha - fall) / r_m > toB) return false;
    }
    return true;
}

// Runs `act` once the event loop has been pumped `after` times (the engine
// pumps it after every column it paints).
void afterpumps(int after, std::function<void()> act)
{
    auto *t = new QTimer;
    auto count = std::make_shared<int>(0);
    t->setInterval(0);
    QObject::connect(t, &QTimer::timeout, [t, count, after, act] {
        if (++*count < after) return;
        t->stop();
        t->deleteLater();
        act();
    });
    t->start();
}

bool redOnly(uint32_t c) { return (c & 0xFFFF00) == 0 && (c & 0xFF) != 0; }

}  // namespace

class TestDrawView : public viewtest::MainEnv {
    Q_OBJECT

public:
    // Station views need no 3D pictures' hooks.
    TestDrawView() : MainEnv(UserFolder) {}

private:
    // A view of unit 2 from unit 1 into a new window (the screen's size).
    frmPic *newview(float fov = 40, bool stereo = false, int net = 0)
    {
        zk::newpic = true;
        QWidget *pic = nullptr;
        const int before = zk::viewcount();
        zk::drawview(pic, net, 1, 2, fov, stereo, 0);
        if (zk::viewcount() != before + 1 || !pic) return nullptr;
        for (frmPic *w : zk::picwindows())
            if (w->Picture1 == pic) return w;
        return nullptr;
    }

    // The ridge and station layout of the line-of-sight cases: A at cell
    // (20, 20), B at (80, 20), 12 km apart.
    void stations()
    {
        viewtest::placeUnit(1, 20, 20, "Alpha ");
        viewtest::placeUnit(2, 80, 20, " Bravo");
    }

private slots:
    void init()
    {
        closeAll();
        zk::newnet(false);
        g_rx1 = -1;
        viewtest::setFineMap();
        stations();
        viewtest::setLink();
        // Small views keep the engine quick.
        zk::setScreenPixels(QSize(160, 120));
    }
    void cleanup() { zk::setScreenPixels(QSize(1024, 768)); }

    // Kept first: the numbers count the view windows of the whole run.
    void windowsAreNumberedForTheRun()
    {
        QVERIFY(viewtest::source());
        frmPic *first = newview();
        QVERIFY(first);
        QCOMPARE(first->Filename, QStringLiteral("Vue1.bmp"));
        QCOMPARE(first->windowTitle(), QStringLiteral("Vue1.bmp"));
        QCOMPARE(first->Pictype, int16_t(4));
        QCOMPARE(first->source, QStringLiteral("Observation depuis Alpha vers Bravo"));
        QCOMPARE(first->lon1, zk::units[1].lon);
        QCOMPARE(first->lat1, zk::units[1].lat);
        QCOMPARE(first->lon2, zk::units[2].lon);
        QCOMPARE(first->lat2, zk::units[2].lat);
        QCOMPARE(first->Picture1->image().size(), QSize(160, 120));
        // Drawn to its end: the view is the window's picture.
        QCOMPARE(first->Picture1->picture().size(), QSize(160, 120));
        QCOMPARE(pane(), QStringLiteral("Complété."));
        QCOMPARE(zk::runflag, int16_t(0));
        // The second is number 2 while the first is open, the third is 3
        // after the others closed.
        frmPic *second = newview();
        QVERIFY(second);
        QCOMPARE(second->Filename, QStringLiteral("Vue2.bmp"));
        QVERIFY(zk::picwindows().contains(first));
        delete first;
        delete second;
        QApplication::processEvents();
        frmPic *third = newview();
        QVERIFY(third);
        QCOMPARE(third->Filename, QStringLiteral("Vue3.bmp"));
        QCOMPARE(third->windowTitle(), QStringLiteral("Vue3.bmp"));
        QCOMPARE(zk::viewcount(), 3);
    }

    void markerFollowsLineOfSight_data()
    {
        QTest::addColumn<int>("rx0");
        QTest::addColumn<int>("rx1");
        QTest::addColumn<int>("rh");
        QTest::addColumn<float>("ha");
        QTest::addColumn<float>("hb");
        QTest::addColumn<bool>("visible");
        QTest::newRow("flat ground") << 0 << -1 << 0 << 10.0f << 30.0f << true;
        QTest::newRow("low ridge half way") << 48 << 52 << 2 << 10.0f << 30.0f << true;
        QTest::newRow("ridge half way") << 48 << 52 << 60 << 10.0f << 10.0f << false;
        QTest::newRow("same ridge, high antennas") << 48 << 52 << 60 << 400.0f << 60.0f << true;
        QTest::newRow("ridge before B") << 72 << 76 << 60 << 100.0f << 10.0f << false;
        QTest::newRow("same ridge, higher mast at B") << 72 << 76 << 60 << 100.0f << 150.0f << true;
    }
    // A ridge between the stations hides B's marker, a clear path shows
    // it, as a direct line-of-sight computation on the same grid says. (The
    // cases keep B's antenna well above the ground just behind it: the
    // engine measures the terrain at B's distance over the whole grid cell
    // that holds B, so from high above, ground a few metres behind a short
    // mast counts as rising over it.)
    void markerFollowsLineOfSight()
    {
        QFETCH(int, rx0);
        QFETCH(int, rx1);
        QFETCH(int, rh);
        QFETCH(float, ha);
        QFETCH(float, hb);
        QFETCH(bool, visible);
        g_rx0 = rx0;
        g_rx1 = rx1;
        g_rh = rh;
        viewtest::setFineMap(ridge);
        zk::settings.defh1 = ha;
        zk::settings.defh2 = hb;
        QCOMPARE(lineofsight(20, 20, ha, 80, 20, hb, 200), visible);
        QVERIFY(viewtest::source());
        frmPic *w = newview(10);
        QVERIFY(w);
        const QImage img = w->Picture1->image();
        QCOMPARE(viewtest::whiteNearCentre(img) > 0, visible);
        if (visible) {
            // The mast line below the rings is black, centre column.
            QCOMPARE(rgbAt(img, 80, 59), 0u);
        }
    }

    // The antenna heights come from the network when one is given.
    void heightsOfTheNetwork()
    {
        g_rx0 = 48;
        g_rx1 = 52;
        g_rh = 60;
        viewtest::setFineMap(ridge);
        zk::nets[3].member[0] = 128;
        zk::nets[3].member[1] = 128;
        zk::nets[3].system[0] = 1;
        zk::nets[3].system[1] = 1;
        zk::systems[1].height = 60;
        zk::netheight(3, 1) = 400;
        // The default heights would hide B.
        zk::settings.defh1 = 10;
        zk::settings.defh2 = 10;
        QVERIFY(viewtest::source());
        frmPic *w = newview(10, false, 3);
        QVERIFY(w);
        QVERIFY(viewtest::whiteNearCentre(w->Picture1->image()) > 0);
        frmPic *v = newview(10, false, 0);
        QVERIFY(v);
        QCOMPARE(viewtest::whiteNearCentre(v->Picture1->image()), 0);
    }

    void plainViewColours()
    {
        QVERIFY(viewtest::source());
        frmPic *w = newview();
        QVERIFY(w);
        const QImage img = w->Picture1->image();
        // Sky at the top, the map's colours (blue 7) on the ground below.
        QCOMPARE(rgbAt(img, 0, 0), 0xF0CAA6u);
        QCOMPARE(rgbAt(img, 159, 0), 0xF0CAA6u);
        QCOMPARE((rgbAt(img, 40, 119) >> 16) & 0xFF, 7u);
    }

    void viewsThatCannotBeDrawn_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<double>("offx");
        QTest::newRow("A = B") << 1 << 1 << 0.0;
        QTest::newRow("A off the picture") << 1 << 2 << -30.0;
        QTest::newRow("unit 0") << 0 << 2 << 0.0;
        QTest::newRow("unit 51") << 1 << 51 << 0.0;
    }
    // Nothing is drawn, the target stays as it was, and the operation is
    // reported as stopped.
    void viewsThatCannotBeDrawn()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(double, offx);
        viewtest::placeUnit(1, 20 + offx, 20, "Alpha");
        QVERIFY(viewtest::source());
        // Into a picture of its own, and into a new window.
        frmPic *target = zk::openpicture(QString(), -1);
        QVERIFY(target);
        // A view window: the units are not drawn on it.
        target->Pictype = 4;
        target->Picture1->image().fill(QColor(1, 2, 3));
        const QImage before = target->Picture1->image().copy();
        zk::newpic = false;
        QWidget *pic = target->Picture1;
        main->label2()->clear();
        zk::drawview(pic, 0, a, b, 40, false, 0);
        QCOMPARE(target->Picture1->image(), before);
        QCOMPARE(pane(), QStringLiteral("Arrêté par l'utilisateur."));
        QCOMPARE(zk::runflag, int16_t(0));
        const int windows = zk::picwindows().size();
        const int count = zk::viewcount();
        zk::newpic = true;
        pic = nullptr;
        zk::drawview(pic, 0, a, b, 40, false, 0);
        QCOMPARE(zk::picwindows().size(), windows);
        QCOMPARE(zk::viewcount(), count);
        QVERIFY(!pic);
        QCOMPARE(pane(), QStringLiteral("Arrêté par l'utilisateur."));
    }

    // Declining to draw a 2D picture of the map ends the view too.
    void noSourcePicture()
    {
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::newpic = true;
        QWidget *pic = nullptr;
        const int count = zk::viewcount();
        zk::drawview(pic, 0, 1, 2, 40, false, 0);
        QCOMPARE(script.texts().size(), 1);
        QVERIFY(script.texts().first().startsWith(QStringLiteral("Pas d'image source 2D picture adéquate")));
        QCOMPARE(zk::viewcount(), count);
        QCOMPARE(pane(), QStringLiteral("Arrêté par l'utilisateur."));
    }

    // Left eye red, right eye green and blue, merged by OR.
    void stereoPairIsMerged()
    {
        QVERIFY(viewtest::source());
        frmPic *w = newview(40, true);
        QVERIFY(w);
        const QImage img = w->Picture1->image();
        // Both skies: (200, 0, 0) | (0, 200, 200).
        QCOMPARE(rgbAt(img, 0, 0), 0xC8C8C8u);
        QCOMPARE(rgbAt(img, 159, 0), 0xC8C8C8u);
        // Ground seen by both eyes: a grey level in red, another in green
        // and blue (equal there), nothing left of the map's own colours.
        const uint32_t g = rgbAt(img, 80, 118);
        QCOMPARE((g >> 8) & 0xFF, (g >> 16) & 0xFF);
        QCOMPARE(w->Picture1->picture().size(), QSize(160, 120));
        QCOMPARE(pane(), QStringLiteral("Complété."));
    }

    // While the right eye is painted the box shows it merged over the left
    // one: its columns already painted carry both skies, the others the
    // left eye's alone.
    void stereoBuildsUpWhileDrawn()
    {
        QVERIFY(viewtest::source());
        QImage seen;
        int right = 0;
        QTimer watch;
        watch.setInterval(0);
        connect(&watch, &QTimer::timeout, [&] {
            if (zk::runflag != zk::oppanorama || zk::progcount != 1 || !zk::viewpic || !seen.isNull()) return;
            if (++right == 60) seen = zk::viewpic->grab().toImage();
        });
        watch.start();
        frmPic *w = newview(40, true);
        watch.stop();
        QVERIFY(w);
        QVERIFY(!seen.isNull());
        QCOMPARE(rgbAt(seen, 0, 0), 0xC8C8C8u);
        QCOMPARE(rgbAt(seen, 159, 0), 0x0000C8u);
        // At the end both eyes everywhere.
        QCOMPARE(rgbAt(w->Picture1->image(), 159, 0), 0xC8C8C8u);
    }

    // Stopped during the left eye: a red-only picture, not kept.
    void stereoStoppedDuringLeftEye()
    {
        QVERIFY(viewtest::source());
        afterpumps(40, [] { zk::runflag = 0; });
        frmPic *w = newview(40, true);
        QVERIFY(w);
        const QImage img = w->Picture1->image();
        int red = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const uint32_t c = rgbAt(img, x, y);
                QVERIFY2(redOnly(c) || c == kGrey, qPrintable(QString::number(c, 16)));
                if (redOnly(c)) ++red;
            }
        QVERIFY(red > 0);
        QVERIFY(w->Picture1->picture().isNull());
        QCOMPARE(pane(), QStringLiteral("Arrêté par l'utilisateur."));
    }

    // A close request of the view window stops the drawing and keeps the
    // window; the window deleted outright ends the view as stopped.
    void windowClosedWhileDrawing()
    {
        QVERIFY(viewtest::source());
        QPointer<frmPic> w;
        afterpumps(30, [&w] {
            w = zk::activepic();
            if (w) w->close();
        });
        frmPic *v = newview();
        QVERIFY(v);
        QVERIFY(w == v);
        QVERIFY(v->Picture1->picture().isNull());
        QCOMPARE(pane(), QStringLiteral("Arrêté par l'utilisateur."));

        afterpumps(30, [] {
            if (frmPic *a = zk::activepic(); a && a->Pictype == 4) delete a;
        });
        zk::newpic = true;
        QWidget *pic = nullptr;
        zk::drawview(pic, 0, 1, 2, 40, true, 0);
        QCOMPARE(pane(), QStringLiteral("Arrêté par l'utilisateur."));
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(zk::viewpic, nullptr);
    }

    // No target, or one without pixels: nothing to draw, no harm.
    void targetsWithoutPixels()
    {
        QVERIFY(viewtest::source());
        zk::newpic = false;
        QWidget *pic = nullptr;
        zk::drawview(pic, 0, 1, 2, 40, false, 0);
        QCOMPARE(pane(), QStringLiteral("Arrêté par l'utilisateur."));
        QWidget holder;
        auto *box = new zk::ScaleBox(&holder);
        box->resize(0, 0);
        box->image() = QImage();
        pic = box;
        zk::drawview(pic, 0, 1, 2, 40, true, 0);
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(zk::viewpic, nullptr);
    }

    // A field of view of 180 degrees or more: the engine draws nothing and
    // no marker is drawn.
    void fieldOfViewTooWide()
    {
        QVERIFY(viewtest::source());
        frmPic *w = newview(180);
        QVERIFY(w);
        const QImage img = w->Picture1->image();
        QCOMPARE(rgbAt(img, 80, 60), kGrey);
        QCOMPARE(viewtest::whiteNearCentre(img), 0);
    }

    // The Observation items of the radio-link window.
    void linkWindowFieldOfView()
    {
        QVERIFY(viewtest::source());
        zk::frmLink *l = zk::frmLink::open();
        QVERIFY(l);
        QVERIFY(l->menu21[3]->isEnabled());
        const QSize size = l->Picture1->image().size();
        l->menu21_Click(3);
        QCOMPARE(zk::lastangle, int16_t(20));
        QVERIFY(l->menu21[3]->isChecked());
        QVERIFY(!l->menu21[4]->isChecked());
        QVERIFY(!l->menu2[1]->isChecked());
        // The view in the window's own box, at the box's size.
        QCOMPARE(l->Picture1->image().size(), size);
        QCOMPARE(rgbAt(l->Picture1->image(), 0, 0), 0xF0CAA6u);
        QVERIFY(l->Label4->isVisible());
        QCOMPARE(l->Label4->text(), QStringLiteral(" Bravo tel que vue depuis Alpha "));
        QCOMPARE(l->Label4->x(), int(std::lround((l->Picture1->width() - l->Label4->width()) * 0.5)));
        QVERIFY(l->Line1->isHidden());
        // Both S-meters dark: the first segment dark green.
        QCOMPARE(rgbAt(l->Picture2[0]->image(), 5, 3), 0x008000u);
        QCOMPARE(rgbAt(l->Picture2[1]->image(), 5, 3), 0x008000u);
        QVERIFY(l->Combo1[0]->isEnabled());
        QVERIFY(l->Combo2->isEnabled());
        QCOMPARE(pane(), QStringLiteral("Complété."));
        // The link in light grey on the map's picture.
        frmPic *src = zk::picwindows().first();
        bool grey = false;
        const QImage map = src->Picture1->image();
        for (int x = 21; x < 80 && !grey; ++x)
            for (int y = 18; y <= 22; ++y)
                if (rgbAt(map, x, y) == 0xC8C8C8u) grey = true;
        QVERIFY(grey);
    }

    // "&Large fenêtre" closes the window and draws with the field of view
    // chosen last (40 when none was), into a new screen-sized window.
    void linkWindowLargeWindow_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("angle");
        QTest::newRow("none chosen") << 0 << 40;
        QTest::newRow("20 degrees") << 3 << 20;
        QTest::newRow("80 degrees") << 5 << 80;
    }
    void linkWindowLargeWindow()
    {
        QFETCH(int, item);
        QFETCH(int, angle);
        QVERIFY(viewtest::source());
        QPointer<zk::frmLink> l = zk::frmLink::open();
        if (item) l->menu21_Click(item);
        const int count = zk::viewcount();
        l->menu21_Click(6);
        QCOMPARE(zk::lastangle, int16_t(angle));
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!l);
        QCOMPARE(zk::viewcount(), count + 1);
        frmPic *w = zk::activepic();
        QVERIFY(w);
        QCOMPARE(w->Filename, QStringLiteral("Vue%1.bmp").arg(count + 1));
        // The same as a view drawn directly at that angle.
        frmPic *direct = newview(float(angle));
        QVERIFY(direct);
        QCOMPARE(w->Picture1->image(), direct->Picture1->image());
    }

    void linkWindowStereo()
    {
        QVERIFY(viewtest::source());
        QPointer<zk::frmLink> l = zk::frmLink::open();
        l->menu21_Click(7);
        QCOMPARE(zk::lastangle, int16_t(40));
        frmPic *w = zk::activepic();
        QVERIFY(w);
        QCOMPARE(w->Pictype, int16_t(4));
        QCOMPARE(rgbAt(w->Picture1->image(), 0, 0), 0xC8C8C8u);
    }

    // Esc in the window during its view stops the drawing; the window stays.
    void linkWindowEscStops()
    {
        QVERIFY(viewtest::source());
        QPointer<zk::frmLink> l = zk::frmLink::open();
        afterpumps(30, [l] {
            if (l) l->Form_KeyDown(Qt::Key_Escape);
        });
        l->menu21_Click(4);
        QVERIFY(l);
        QCOMPARE(pane(), QStringLiteral("Arrêté par l'utilisateur."));
        QVERIFY(l->Combo1[0]->isEnabled());
    }

    void linkWindowOptionsAndPlayer()
    {
        QPointer<zk::frmLink> l = zk::frmLink::open();
        QString seen;
        bool owned = false;
        QTimer::singleShot(0, [&seen, &owned, l] {
            zk::frmObs *m = l ? l->findChild<zk::frmObs *>() : nullptr;
            if (!m) return;
            seen = m->windowTitle();
            owned = m->parentWidget() == l.data() && m->isModal();
            m->close();
        });
        l->menu21_Click(13);
        QCOMPARE(seen, QStringLiteral("Options pour l'observation"));
        QVERIFY(owned);

        l->menu21_Click(11);
        zk::frmAnimate *p = zk::frmAnimate::instance();
        QVERIFY(p);
        QVERIFY(p->isVisible());
        QCOMPARE(zk::runflag, int16_t(2));  // no frames: paused at frame 1
        QCOMPARE(p->Command1->text(), QStringLiteral("Exécute"));
        p->close();
        QCOMPARE(zk::runflag, int16_t(0));
    }
};

QTEST_MAIN(TestDrawView)
#include "test_drawview.moc"
