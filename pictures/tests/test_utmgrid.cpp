// The UTM grid over a picture of the map, in the real main window: lines on
// multiples of 1 km and 10 km of the centre's zone, 1 and 2 pixels wide,
// upright on the central meridian and turned by the convergence east of
// it, unbroken across a zone boundary; the keep question; stop; refused
// pictures.
#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>

#include "app/mainwindow.h"
#include "base/longop.h"
#include "base/mdi.h"
#include "map/datum.h"
#include "map/mapdata.h"
#include "map/utm.h"
#include "msgbox.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/picfiles.h"
#include "pictures/utmgrid.h"
#include "qtdc.h"

namespace {

constexpr QRgb kBlue = 0x0000FF;  // white under a blue mask pen

bool blue(const QImage &img, int x, int y) { return (img.pixel(x, y) & 0xFFFFFF) == kBlue; }

// The runs of blue pixels along a row: (first x, length).
QList<QPair<int, int>> runs(const QImage &img, int y)
{
    QList<QPair<int, int>> out;
    for (int x = 0; x < img.width();) {
        if (!blue(img, x, y)) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < img.width() && blue(img, x, y)) ++x;
        out.append({start, x - start});
    }
    return out;
}

// A row crossed by the vertical lines only (the fewest blue pixels among the
// rows around the middle).
int quietrow(const QImage &img)
{
    int best = img.height() / 2, fewest = img.width() + 1;
    for (int y = img.height() / 2 - 20; y <= img.height() / 2 + 20; ++y) {
        int n = 0;
        for (int x = 0; x < img.width(); ++x) n += blue(img, x, y);
        if (n < fewest) {
            fewest = n;
            best = y;
        }
    }
    return best;
}

// Follows a line from (x, y) to the row `to`, one row at a time, allowing
// it to move 2 pixels a row and stepping over the lines that cross it.
// Answers its x there, the side it left the picture through (-1 or the
// width), or -999 when it breaks off.
int follow(const QImage &img, int x, int y, int to)
{
    auto at = [&img](int c, int r) { return c >= 0 && c < img.width() && blue(img, c, r); };
    const int dy = to > y ? 1 : -1;
    for (int r = y + dy; r != to + dy; r += dy) {
        if (at(x - 3, r) && at(x + 3, r)) continue;  // a line across
        int best = -1;
        for (int c = x - 2; c <= x + 2; ++c)
            if (at(c, r) && (best < 0 || std::abs(c - x) < std::abs(best - x))) best = c;
        if (best < 0) {
            if (x <= 2) return -1;
            if (x >= img.width() - 3) return img.width();
            return -999;
        }
        // The left edge of its run, unless the run is a stretch of a line
        // across.
        int left = best, right = best;
        while (at(left - 1, r)) --left;
        while (at(right + 1, r)) ++right;
        x = right - left < 3 ? left : best;
    }
    return x;
}

}  // namespace

class TestUtmGrid : public QObject {
    Q_OBJECT

    std::unique_ptr<zk::frmMain> main;

    // An upright picture of the map: corners a rectangle in longitude and
    // latitude around the centre, 400 x 300 white pixels.
    zk::frmPic *picture(double lonc, double latc, double dlon = 0.5, double dlat = 0.35, int16_t kind = 1)
    {
        zk::frmPic *w = zk::openpicture(QString(), 2);
        w->Picture1->setPicture(zk::dcImage(400, 300, 0xFFFFFF));
        w->Pictype = kind;
        w->lon1 = w->lon4 = float(lonc - dlon / 2);
        w->lon2 = w->lon3 = float(lonc + dlon / 2);
        w->lat1 = w->lat2 = float(latc + dlat / 2);
        w->lat3 = w->lat4 = float(latc - dlat / 2);
        return w;
    }

    // The lean of the line nearest the middle: its x 20 rows from the top
    // minus its x 20 rows from the bottom.
    static int lean(const QImage &img)
    {
        int x = -1;
        for (const auto &r : runs(img, 20))
            if (r.second <= 3 && (x < 0 || std::abs(r.first - img.width() / 2) < std::abs(x - img.width() / 2))) x = r.first;
        return x - follow(img, x, 20, img.height() - 21);
    }

private slots:
    void initTestCase()
    {
        zk::loadellipsoid(QString());
        zk::elevgrid.redim(399, 299);
        main = std::make_unique<zk::frmMain>();
        main->resize(900, 700);
        main->show();
    }
    void cleanupTestCase()
    {
        zk::runflag = 0;
        main.reset();
        zk::setMdiArea(nullptr);
        zk::setMainWindow(nullptr);
    }
    void init()
    {
        zk::runflag = 0;
        for (zk::frmPic *w : zk::picwindows()) delete w;
    }

    void tenKilometresOnTheCentralMeridian()
    {
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::frmPic *w = picture(-75, 45);
        zk::drawutmgrid(w, 1);
        QCOMPARE(script.texts(), QStringList({QStringLiteral("Garder la grille dans l'image?")}));
        QCOMPARE(script.shown().at(0).flags, zk::mbYesNo | zk::mbQuestion);
        QCOMPARE(zk::runflag, int16_t(0));
        const QImage img = w->Picture1->image();
        const int y = quietrow(img);
        const auto r = runs(img, y);
        // About 39 km across: four or five lines, 2 pixels wide.
        QVERIFY2(r.size() >= 3 && r.size() <= 5, qPrintable(QString::number(r.size())));
        for (const auto &run : r) {
            QCOMPARE(run.second, 2);
            float lon = 0, lat = 0;
            zk::pixtogeo(w, float(run.first) + 0.5f, float(y), lon, lat);
            zk::latlontoutm(lon, lat);
            const int off = ((zk::utmeast % 10000) + 10000) % 10000;
            QVERIFY2(off < 150 || off > 10000 - 150, qPrintable(QString::number(zk::utmeast)));
        }
        QVERIFY(std::abs(lean(img)) <= 1);  // upright
        QVERIFY(zk::utmgridreport().startsWith(QStringLiteral("Azimut nord de la grille UTM = ")));
        QVERIFY(zk::utmgridreport().endsWith(QStringLiteral("\r\n") + zk::ellname));
        QVERIFY(main->label2()->text().startsWith(QStringLiteral("Complété. Azimut nord de la grille UTM = ")));
    }

    void oneKilometreEastOfTheCentralMeridianLeansRight()
    {
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::frmPic *w = picture(-73, 45);
        zk::drawutmgrid(w, 0);
        const QImage img = w->Picture1->image();
        const int y = quietrow(img);
        // The turned lines across cross every row in stretches of some 40
        // pixels: the lines up are the short runs.
        QList<QPair<int, int>> r;
        for (const auto &run : runs(img, y))
            if (run.second <= 3) r.append(run);
        QVERIFY2(r.size() >= 25, qPrintable(QString::number(r.size())));
        for (const auto &run : r) {
            QCOMPARE(run.second, 1);
            float lon = 0, lat = 0;
            zk::pixtogeo(w, float(run.first), float(y), lon, lat);
            zk::latlontoutm(lon, lat);
            const int off = ((zk::utmeast % 1000) + 1000) % 1000;
            QVERIFY2(off < 150 || off > 1000 - 150, qPrintable(QString::number(zk::utmeast)));
        }
        // Turned clockwise by the convergence, about 1.4 degrees: some 6
        // pixels over 260 rows.
        const int l = lean(img);
        QVERIFY2(l >= 4 && l <= 9, qPrintable(QString::number(l)));
    }

    void westOfTheCentralMeridianLeansLeft()
    {
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::frmPic *w = picture(-77, 45);
        zk::drawutmgrid(w, 1);
        QVERIFY(lean(w->Picture1->image()) <= -4);
    }

    void aZoneBoundaryBreaksNoLine()
    {
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::frmPic *w = picture(-72.05, 45, 1.0, 0.5);  // -72 is the edge of zones 18 and 19
        zk::drawutmgrid(w, 1);
        const QImage img = w->Picture1->image();
        const int y = quietrow(img);
        const auto r = runs(img, y);
        QVERIFY(r.size() >= 6);
        for (const auto &run : r) {
            if (run.second > 3) continue;  // a stretch of a line across
            QVERIFY2(follow(img, run.first, y, 0) != -999, qPrintable(QString::number(run.first)));
            QVERIFY2(follow(img, run.first, y, img.height() - 1) != -999, qPrintable(QString::number(run.first)));
        }
    }

    void keepQuestionDecidesWhatTheNextGridLeaves()
    {
        zk::MsgScript script;
        zk::frmPic *w = picture(-75, 45);
        // No: the next grid clears the first away.
        script.answer(zk::idNo);
        zk::drawutmgrid(w, 1);
        script.answer(zk::idNo);
        zk::drawutmgrid(w, 0);
        QImage img = w->Picture1->image();
        for (const auto &run : runs(img, quietrow(img))) QCOMPARE(run.second, 1);
        // Yes: the 10 km grid is part of the picture and stays under the next.
        script.answer(zk::idYes);
        zk::drawutmgrid(w, 1);
        script.answer(zk::idNo);
        zk::drawutmgrid(w, 0);
        img = w->Picture1->image();
        int wide = 0;
        for (const auto &run : runs(img, quietrow(img))) wide += run.second == 2;
        QVERIFY(wide >= 3);
    }

    void refusedWindows_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("3D picture") << 3;
        QTest::newRow("station view") << 4;
        QTest::newRow("plain image") << 0;
        QTest::newRow("no window") << -1;
    }
    void refusedWindows()
    {
        QFETCH(int, kind);
        zk::MsgScript script;
        main->label2()->clear();
        if (kind < 0) {
            zk::drawutmgrid(nullptr, 1);
        } else {
            zk::frmPic *w = picture(-75, 45, 0.5, 0.35, int16_t(kind));
            zk::drawutmgrid(w, 1);
            QVERIFY(runs(w->Picture1->image(), 150).isEmpty());
        }
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(main->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
        QCOMPARE(zk::runflag, int16_t(0));
    }

    void stopLeavesTheLinesDrawnSoFar()
    {
        zk::MsgScript script;
        zk::frmPic *w = picture(-75, 45);
        std::function<void()> stopper = [&stopper] {
            if (zk::runflag == zk::opdraw2d) zk::runflag = 0;
            else QTimer::singleShot(0, stopper);
        };
        QTimer::singleShot(0, stopper);
        zk::drawutmgrid(w, 0);
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(main->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
        // One line at most: the first, before the stop was seen.
        const QImage img = w->Picture1->image();
        QVERIFY(runs(img, quietrow(img)).size() <= 1);
    }

    void menuItemsDrawOnTheActivePicture()
    {
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::frmPic *w = picture(-75, 45);
        QAction *a = main->action(QStringLiteral("mnuGR(6)"));
        QVERIFY(a && a->isEnabled());
        a->trigger();
        QCOMPARE(script.shown().size(), 1);
        const QImage img = w->Picture1->image();
        for (const auto &run : runs(img, quietrow(img))) QCOMPARE(run.second, 2);
        QVERIFY(main->action(QStringLiteral("mnuGR(5)"))->isEnabled());
    }

    // The mask pen: AND with the line's colour, cut at the picture's edges,
    // 2 pixels wide on the side away from the line's run.
    void masklineAndsAndClips()
    {
        QImage img = zk::dcImage(10, 8, 0x336699);
        zk::maskline(img, -50, 3, 60, 3, 0x0000FF, 1);  // red mask, far outside both ends
        for (int x = 0; x < 10; ++x) QCOMPARE(img.pixel(x, 3) & 0xFFFFFF, QRgb(0x990000));
        QCOMPARE(img.pixel(0, 2) & 0xFFFFFF, QRgb(0x996633));
        zk::maskline(img, 4, -10, 4, 100, 0x00FF00, 2);
        QCOMPARE(img.pixel(4, 0) & 0xFFFFFF, QRgb(0x006600));
        QCOMPARE(img.pixel(5, 7) & 0xFFFFFF, QRgb(0x006600));
        QCOMPARE(img.pixel(6, 7) & 0xFFFFFF, QRgb(0x996633));
        zk::maskline(img, NAN, 0, 5, 5, 0, 1);  // nothing
        zk::maskline(img, 20, 20, 30, 30, 0, 1);  // wholly outside
        QCOMPARE(img.pixel(9, 7) & 0xFFFFFF, QRgb(0x996633));
    }
};

QTEST_MAIN(TestUtmGrid)
#include "test_utmgrid.moc"
