// Units and networks on picture windows (offscreen): a network file opened
// with its map and its picture shows its units at their pixels (labels,
// icons and the printed marks) and its links in their colours; drawunit,
// clearoverlay and moveunit on their own.
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "base/screen.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "map/mapfile.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/cursor.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/picfiles.h"
#include "pictures/pichooks.h"
#include "pictures/view3d.h"
#include "qtenv.h"
#include "radio/linkbudget.h"
#include "radio/netdoc.h"
#include "radio/netdraw.h"
#include "radio/radiodata.h"
#include "radio/radiohooks.h"
#include "radio/unitdraw.h"

using zk::frmPic;

namespace {

constexpr uint32_t kRedIcon = 0x0000FF, kBlueIcon = 0xFF0000;
constexpr uint32_t kGrey = 0x5A5A5A;  // the test picture

QPixmap solid(uint32_t rgb)
{
    QPixmap p(32, 32);
    p.fill(zk::qcolor(rgb));
    return p;
}

uint32_t layerAt(const frmPic *w, int x, int y) { return zk::rgbof(QColor(w->Picture1->image().pixel(x, y))); }

// A unit at a pixel of the map's picture.
void placeAt(int unit, float x, float y)
{
    zk::PicFrame f;
    f.Pictype = 1;
    f.lon1 = zk::mapcorners.lon[0]; f.lat1 = zk::mapcorners.lat[0];
    f.lon2 = zk::mapcorners.lon[1]; f.lat2 = zk::mapcorners.lat[1];
    f.lon3 = zk::mapcorners.lon[2]; f.lat3 = zk::mapcorners.lat[2];
    f.lon4 = zk::mapcorners.lon[3]; f.lat4 = zk::mapcorners.lat[3];
    f.width = zk::elevgrid.nx();
    f.height = zk::elevgrid.ny();
    float lon = 0, lat = 0;
    QVERIFY(zk::pixtogeo(f, x, y, lon, lat));
    zk::units[unit].lon = lon;
    zk::units[unit].lat = lat;
    zk::units[unit].elev = 50;
}

QPoint pixelOf(const frmPic *w, int unit)
{
    float x = 0, y = 0;
    if (!zk::geotopix(w, zk::units[unit].lon, zk::units[unit].lat, x, y)) return {-1, -1};
    return {int(x), int(y)};
}

}  // namespace

class TestNetPictures : public QObject {
    Q_OBJECT

    std::unique_ptr<radiotest::TestMain> env;
    std::unique_ptr<QTemporaryDir> tmp;
    QString dir, startDir;

    QString path(const QString &name) const { return dir + QLatin1Char('/') + name; }

    // The map (200 x 150 cells, 10 km from south to north, flat at 50 m),
    // its picture, and a document: units 1 and 2 linked in network 1, unit 3
    // without icon and transparent, unit 4 disabled, unit 5 not placed.
    void makeDocument()
    {
        zk::elevgrid.redim(199, 149);
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x) zk::elevgrid.at(x, y) = 50;
        zk::mapset.lon = -73;
        zk::mapset.lat = 45;
        zk::mapset.size = 10;
        zk::setcorners(zk::mapset);
        QVERIFY(zk::savemap(path("terrain.map")));
        QVERIFY(radiotest::writeMapPicture(path("terrain.bmp")));
        placeAt(1, 20, 120);
        placeAt(2, 180, 40);
        placeAt(3, 100, 20);
        placeAt(4, 60, 60);
        zk::units[3].transparent = -1;
        zk::units[3].color = 0x00FFFF;
        zk::units[4].enabled = 0;
        zk::uniticon[1] = 0;
        zk::uniticon[2] = 200;  // beyond the last icon: the last one
        zk::uniticon[3] = 255;
        zk::nets[1].member[0] = 128;
        zk::nets[1].member[1] = 128;
        zk::systems[1].gain = 10;
    }

private slots:
    void initTestCase()
    {
        startDir = QDir::currentPath();
        zk::setScreenPixels(QSize(1024, 768));
        env = std::make_unique<radiotest::TestMain>();
        zk::installradiohooks();
        zk::radiohooks.icons = [] { return QList<QPixmap>{solid(kRedIcon), solid(kBlueIcon)}; };
    }
    void cleanupTestCase()
    {
        zk::radiohooks = {};
        env.reset();
        zk::setScreenPixels(QSize());
        QDir::setCurrent(startDir);
    }
    void init()
    {
        QDir::setCurrent(startDir);
        tmp = std::make_unique<QTemporaryDir>();
        dir = tmp->path();
        zk::newnet(false);
        zk::lrprm.interf = 0;
        zk::settings.gpsflags = 0;
        zk::redrawneeded = false;
        env->closeAll();
        env->Label2->clear();
        makeDocument();
    }
    void cleanup() { env->closeAll(); }

    void networkFileOpensWithItsMapAndPictureAndShowsTheUnits()
    {
        QVERIFY(zk::openpicture(path("terrain.bmp"), 2));
        QVERIFY(zk::savenet(path("demo.net")));
        env->closeAll();
        zk::newnet(false);
        QCOMPARE(zk::elevgrid.get(10, 10), int16_t(0));

        zk::MsgScript script;
        zk::opennet(path("demo.net"));
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join('|')));
        QCOMPARE(zk::elevgrid.nx(), 200);
        QCOMPARE(zk::elevgrid.get(10, 10), int16_t(50));
        const QList<frmPic *> wins = zk::picwindows();
        QCOMPARE(wins.size(), 1);
        frmPic *w = wins[0];
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(w->Picture1->scaleWidth(), 200);

        // Unit 1: label at its pixel, red icon standing on it, the cross and
        // the icon printed into the picture.
        const QPoint p1 = pixelOf(w, 1);
        QCOMPARE(p1, QPoint(20, 120));
        QLabel *l1 = w->Label4[1];
        QVERIFY(l1->isVisible());
        QVERIFY(l1->isEnabled());
        QCOMPARE(l1->pos(), p1);
        QCOMPARE(l1->text(), QStringLiteral("Station 01"));
        QVERIFY(l1->autoFillBackground());
        QLabel *i1 = w->Image1[1];
        QVERIFY(i1->isVisible());
        QCOMPARE(i1->geometry(), QRect(20 - 16, 120 - 32, 32, 32));
        QCOMPARE(zk::rgbof(QColor(i1->pixmap().toImage().pixel(5, 5))), kRedIcon);
        QCOMPARE(layerAt(w, p1.x() - 2, p1.y()), 0xFFFFFFu);  // cross in the unit's colour
        QCOMPARE(layerAt(w, p1.x() - 1, p1.y()), 0xFFFFFFu);  // (the rest lies under the box and the icon)
        QCOMPARE(layerAt(w, p1.x(), p1.y() - 10), kRedIcon);
        // The name's black box under the label, with the name printed in it.
        int black = 0, white = 0;
        const QRect box(p1, l1->size());
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x < box.right(); ++x) {
                const uint32_t c = layerAt(w, x, y);
                QVERIFY2(c != kGrey, qPrintable(QStringLiteral("%1,%2 in %3x%4").arg(x).arg(y).arg(box.width()).arg(box.height())));
                black += c == 0;
                white += (c & 0xFF) > 128;  // the name's (smoothed) white strokes
            }
        QVERIFY(black > box.width() * box.height() / 3);
        QVERIFY(white > 5);

        // Unit 2: the last icon.
        const QPoint p2 = pixelOf(w, 2);
        QCOMPARE(p2, QPoint(180, 40));
        QVERIFY(w->Label4[2]->isVisible());
        QCOMPARE(w->Label4[2]->pos(), p2);
        QVERIFY(w->Image1[2]->isVisible());
        QCOMPARE(layerAt(w, p2.x(), p2.y() - 10), kBlueIcon);

        // Unit 3: no icon, transparent name.
        QVERIFY(w->Label4[3]->isVisible());
        QVERIFY(!w->Label4[3]->autoFillBackground());
        QVERIFY(!w->Image1[3]->isVisible());
        QCOMPARE(layerAt(w, 100 - 2, 20), 0x00FFFFu);

        // Units 4 (disabled) and 5 (not placed) are not shown.
        QVERIFY(!w->Label4[4]->isVisible());
        QVERIFY(!w->Label4[4]->isEnabled());
        QVERIFY(!w->Image1[4]->isVisible());
        QVERIFY(!w->Label4[5]->isVisible());

        // The link 1 - 2: a thick bright green line over a dark one.
        QCOMPARE(zk::pairstyle(1, 2), 6);
        QCOMPARE(layerAt(w, 100, 80), 0x00FF00u);
        bool dark = false;
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx) dark = dark || layerAt(w, 100 + dx, 80 + dy) == 0x003C00u;
        QVERIFY(dark);
        QCOMPARE(layerAt(w, 100, 140), kGrey);  // away from everything
        QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(dir).canonicalFilePath());
    }

    void demoDocumentShowsItsNetworks()
    {
        const QString demo = zk::paths::programFolder() + QStringLiteral("/demo/demo.net");
        QVERIFY2(QFileInfo::exists(demo), qPrintable(demo + QStringLiteral(" is missing: the build copies it beside the programs")));
        zk::newnet(false);
        zk::MsgScript script;
        zk::opennet(demo);
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join('|')));
        const QList<frmPic *> wins = zk::picwindows();
        QCOMPARE(wins.size(), 1);
        frmPic *w = wins[0];
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(zk::elevgrid.nx(), 480);
        int shown = 0;
        for (int k = 1; k <= 16; ++k) {
            QVERIFY(w->Label4[k]->isVisible());
            QCOMPARE(w->Label4[k]->pos(), pixelOf(w, k));
            shown += w->Image1[k]->isVisible();
        }
        QVERIFY(!w->Label4[17]->isVisible());
        QCOMPARE(shown, 16);
        // The voice network's relay links its command post directly.
        QVERIFY(zk::quality(1, 2, 1) >= 50);
        const QString snapshot = qEnvironmentVariable("ZK_DEMO_SNAPSHOT");
        if (!snapshot.isEmpty()) w->Picture1->image().save(snapshot);
    }

    void linkColoursFollowTheRules()
    {
        frmPic *w = zk::openpicture(path("terrain.bmp"), 2);
        QVERIFY(w);
        // Quality 50 in network 1: yellow, dotted, over a dark line.
        zk::systems[1].gain = 2;
        zk::drawnets();
        const int q = zk::quality(1, 2, 1);
        QVERIFY(q > 0);
        const int style = zk::pairstyle(1, 2);
        const zk::LinkLook look = zk::linklook(style);
        bool bright = false;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) bright = bright || layerAt(w, 100 + dx, 80 + dy) == look.bright;
        QVERIFY2(bright, qPrintable(QStringLiteral("q %1 style %2").arg(q).arg(style)));
        // Without background lines no dark colour; with the class off no line.
        zk::linkstyle[2] &= uint8_t(~1);
        zk::drawnets();
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx) QVERIFY(layerAt(w, 100 + dx, 80 + dy) != look.dark);
        zk::linkstyle = {47, 53, 1};
        zk::drawnets();
        QCOMPARE(zk::pairstyle(1, 2), 0);
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx) QCOMPARE(layerAt(w, 100 + dx, 80 + dy), kGrey);
        QVERIFY(w->Label4[1]->isVisible());  // the units are drawn all the same
    }

    void interferenceModeIsAnnounced()
    {
        zk::openpicture(path("terrain.bmp"), 2);
        zk::lrprm.interf = 1;
        zk::drawnets();
        QCOMPARE(env->Label2->text(), QStringLiteral("Mode de propagation interférence"));
        zk::lrprm.interf = 0;
        env->Label2->setText(QStringLiteral("autre"));
        zk::drawnets();
        QCOMPARE(env->Label2->text(), QStringLiteral("autre"));
    }

    void networkAltitudeOnlyGrows()
    {
        zk::netalt = 0;
        zk::units[7].elev = 3500;
        zk::drawnets();
        QCOMPARE(zk::netalt, 3500.0f);
        zk::units[7].elev = 10;
        zk::drawnets();
        QCOMPARE(zk::netalt, 3500.0f);
    }

    void whichPicturesGetUnits_data()
    {
        QTest::addColumn<int>("pictype");
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("map picture") << 1 << "Carte" << true;
        QTest::newRow("own corners") << 2 << "Image" << true;
        QTest::newRow("plain image") << 0 << "Image" << false;
        QTest::newRow("3D") << 3 << "3D" << false;
        QTest::newRow("station view") << 4 << "Vue" << false;
        QTest::newRow("stereo") << 1 << "STEREO gauche" << false;
    }
    void whichPicturesGetUnits()
    {
        QFETCH(int, pictype);
        QFETCH(QString, source);
        QFETCH(bool, drawn);
        frmPic *w = zk::openpicture(path("terrain.bmp"), 2);
        QVERIFY(w);
        w->Pictype = int16_t(pictype);
        w->source = source;
        zk::drawunit(0, true);
        QCOMPARE(w->Label4[1]->isVisible(), drawn);
        QCOMPARE(layerAt(w, 18, 120) == 0xFFFFFFu, drawn);
        if (!drawn) QCOMPARE(layerAt(w, 18, 120), kGrey);
    }

    void oneUnitOrAll()
    {
        frmPic *w = zk::openpicture(path("terrain.bmp"), 2);
        zk::drawunit(2, false);
        QVERIFY(w->Label4[2]->isVisible());
        QVERIFY(!w->Label4[1]->isVisible());
        QVERIFY(!w->Label4[3]->isVisible());
        for (int all : {0, 51, -3}) {
            zk::clearoverlay();
            zk::drawunit(all, false);
            QVERIFY(w->Label4[1]->isVisible());
            QVERIFY(w->Label4[2]->isVisible());
            QVERIFY(w->Label4[3]->isVisible());
        }
        // Clearing with one unit leaves the other labels but not their marks.
        zk::drawunit(2, true);
        QVERIFY(w->Label4[1]->isVisible());
        QCOMPARE(layerAt(w, 18, 120), kGrey);
        QCOMPARE(layerAt(w, 178, 40), 0xFFFFFFu);
    }

    void unitsPlacedAtZeroOrOffThePicture()
    {
        frmPic *w = zk::openpicture(path("terrain.bmp"), 2);
        frmPic *far = zk::openpicture(QString(), 2);
        far->Picture1->setPicture(QImage(50, 50, QImage::Format_RGBX8888));
        far->Pictype = 2;
        far->lon1 = far->lon4 = -11; far->lon2 = far->lon3 = 13;
        far->lat1 = far->lat2 = 13; far->lat3 = far->lat4 = -11;
        zk::units[6].lon = 0;
        zk::units[6].lat = 12;  // placed: only both at 0 mean not placed
        zk::units[8].lon = 0;
        zk::units[8].lat = 0;
        zk::drawunit(0, true);
        QVERIFY(far->Label4[6]->isVisible());
        QVERIFY(!far->Label4[8]->isVisible());
        QVERIFY(!w->Label4[6]->isVisible());  // off the map picture
        QVERIFY(w->Label4[1]->isVisible());
        QVERIFY(!far->Label4[1]->isVisible());
    }

    void clearoverlayHidesEverythingAndClearsTheLayer()
    {
        frmPic *w = zk::openpicture(path("terrain.bmp"), 2);
        zk::drawnets();
        w->Line1->show();
        w->Shape2->show();
        w->Shape1[2]->show();
        QVERIFY(w->Label4[1]->isVisible());
        zk::clearoverlay();
        QVERIFY(!w->Line1->isVisible());
        QVERIFY(!w->Line2->isVisible());
        QVERIFY(!w->Shape2->isVisible());
        QVERIFY(!w->Shape1[2]->isVisible());
        for (int k = 1; k <= 50; ++k) {
            QVERIFY(!w->Label4[k]->isVisible());
            QVERIFY(!w->Image1[k]->isVisible());
        }
        QCOMPARE(w->Picture1->image(), w->Picture1->clearedImage());
    }

    void moveunitMarksTheDocumentAndSharesThePosition()
    {
        frmPic *w = zk::openpicture(path("terrain.bmp"), 2);
        QList<int> sent;
        zk::radiohooks.sendposition = [&](int u) { sent << u; };
        zk::curunit = 3;
        zk::netmodified = false;
        zk::MsgScript script;
        const float lon = zk::units[1].lon, lat = zk::units[2].lat;  // pixel (20, 40)
        zk::moveunit(lon, lat);
        QCOMPARE(zk::units[3].lon, lon);
        QCOMPARE(zk::units[3].lat, lat);
        QCOMPARE(zk::units[3].elev, 50.0f);
        QVERIFY(zk::netmodified);
        QVERIFY(zk::redrawneeded);
        QVERIFY(sent.isEmpty());  // sharing off
        QCOMPARE(w->Label4[3]->pos(), QPoint(20, 40));

        zk::settings.gpsflags = 16;
        zk::moveunit(-20, 30);  // off the map: elevation 0, still stored
        QCOMPARE(zk::units[3].lon, -20.0f);
        QCOMPARE(zk::units[3].elev, 0.0f);
        QVERIFY(!w->Label4[3]->isVisible());
        QCOMPARE(sent, QList<int>{3});
        zk::radiohooks.sendposition = {};
        QVERIFY(script.shown().isEmpty());
    }

    void pictureWindowMovesAUnitToTheCursor()
    {
        frmPic *w = zk::openpicture(path("terrain.bmp"), 2);
        zk::drawnets();
        zk::curlon = zk::units[2].lon;
        zk::curlat = zk::units[1].lat;  // pixel (180, 120)
        zk::netmodified = false;
        zk::MsgScript script;
        script.answer(zk::idYes);
        w->Label4_MouseDown(1, 2, 0);  // right press on unit 1, answered yes
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Déplacer la station à la position du curseur?")});
        QCOMPARE(zk::curunit, int16_t(1));
        QCOMPARE(zk::units[1].lon, zk::units[2].lon);
        QCOMPARE(w->Label4[1]->pos(), QPoint(180, 120));
        QVERIFY(zk::netmodified);
        QVERIFY(zk::redrawneeded);
    }
};

QTEST_MAIN(TestNetPictures)
#include "test_netpictures.moc"
