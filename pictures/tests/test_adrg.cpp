// ADRG charts made into pictures of the map: a chart written by GDAL
// (gdal_translate -of ADRG) against GDAL's own reading of it (gdalwarp onto
// the picture's grid), maps reaching past the chart and the other-disc
// question, no disc, discs that are refused (a marker, the general
// information file, the scale, a tile beyond the image file), black chart
// pixels, empty tile positions, naming, and a stop.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <functional>
#include <memory>

#include "base/longop.h"
#include "base/settings.h"
#include "engine.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "overlayenv.h"
#include "paths.h"
#include "picenv.h"
#include "pictures/adrg.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"

using zk::frmPic;
using zktest::rgbAt;

namespace {

constexpr uint32_t kGrey = 0x808080;  // the picture box's background

// The map: W x H cells between the corners (pixel centres).
void setMap(int W, int H, double west, double north, double east, double south)
{
    zk::elevgrid.redim(W - 1, H - 1);
    zk::mapcorners.lon[0] = zk::mapcorners.lon[3] = float(west);
    zk::mapcorners.lon[1] = zk::mapcorners.lon[2] = float(east);
    zk::mapcorners.lat[0] = zk::mapcorners.lat[1] = float(north);
    zk::mapcorners.lat[2] = zk::mapcorners.lat[3] = float(south);
}

// A chart disc of our own making: transmittal header at the root, the
// general information and image files in the chart's folder.
struct Disc {
    QString root;
    QByteArray scaleA = "00046080", scaleB = "00046080";  // 128 pixels a degree
    QByteArray lon = "+0000000.00", lat = "+010000.00";   // origin (0, 1)
    QByteArray rows = "001", cols = "002";
    char flag = 'N';
    QByteArray table;
    QByteArray marker = "GIN01";
    std::vector<std::function<void(int x, int y, uint8_t rgb[3])>> tiles;

    void write() const
    {
        QByteArray thf(300, ' ');
        thf[0] = 30;
        thf.replace(1, 5, "VTH01");
        thf.replace(1 + 213, 16, "CARTE DE TEST   ");
        thf.replace(1 + 245, 8, "TESTCH01");
        QVERIFY(zktest::writeFile(root + "/TRANSH01.THF", thf));

        QByteArray g(299, ' ');
        g[0] = 30;
        g.replace(1, 5, marker);
        const int G = 1;
        g.replace(G + 136, 8, scaleA);
        g.replace(G + 144, 8, scaleB);
        g.replace(G + 152, 11, lon);
        g.replace(G + 163, 10, lat);
        g.replace(G + 262, 3, rows);
        g.replace(G + 265, 3, cols);
        g.replace(G + 285, 12, "TESTCH01.IMG");
        g[G + 297] = flag;
        g += "\x1e" "Red  0000000000\x1e";
        g += table;
        g += "\x1e";
        QVERIFY(zktest::writeFile(root + "/TESTCH01/TESTCH01.GEN", g));

        QByteArray img(2048, ' ');
        for (const auto &fill : tiles) {
            QByteArray t(3 * 128 * 128, '\0');
            for (int y = 0; y < 128; ++y)
                for (int x = 0; x < 128; ++x) {
                    uint8_t c[3];
                    fill(x, y, c);
                    for (int p = 0; p < 3; ++p) t[p * 128 * 128 + y * 128 + x] = char(c[p]);
                }
            img += t;
        }
        QVERIFY(zktest::writeFile(root + "/TESTCH01/TESTCH01.IMG", img));
    }
};

auto plain(uint8_t r, uint8_t g, uint8_t b)
{
    return [r, g, b](int, int, uint8_t c[3]) {
        c[0] = r;
        c[1] = g;
        c[2] = b;
    };
}

// One picture pixel a chart pixel over the chart's first tile row.
void mapOnTheChart(int W = 256, int H = 128)
{
    const double half = 0.5 / 128;
    setMap(W, H, half, 1 - half, half + (W - 1) / 128.0, 1 - half - (H - 1) / 128.0);
}

}  // namespace

class TestAdrg : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;
    std::unique_ptr<QTemporaryDir> tmp;
    QString disc;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        bool ok = false;
        zk::engine::callback(nullptr, &ok);
        QVERIFY2(ok, "the engine library is needed");
        env = std::make_unique<zktest::TestMain>();
    }
    void cleanupTestCase() { env.reset(); }
    void init()
    {
        tmp = std::make_unique<QTemporaryDir>();
        disc = tmp->path() + "/disc";
        QDir().mkpath(disc);
        zk::settings.adrgdrive = disc;
        zk::newpic = false;
        zk::runflag = 0;
    }
    void cleanup()
    {
        env->closeAll();
        zk::runflag = 0;
    }

    void gdalChartAsGdalReadsIt()
    {
        for (const char *t : {"gdal_translate", "gdalwarp"})
            QVERIFY2(zktest::haveTool(t),
                     qPrintable(QStringLiteral("%1 is missing: install the Debian package gdal-bin (scripts/install-deps.sh)").arg(t)));
        // A 300 x 200 GeoTIFF of 0.001 degree pixels from (6.0, 46.0), three
        // bands without pure black that say which chart pixel they are, made
        // into an ADRG chart by GDAL.
        const int cw = 300, ch = 200;
        QByteArray raw;
        for (int b = 0; b < 3; ++b)
            for (int y = 0; y < ch; ++y)
                for (int x = 0; x < cw; ++x)
                    raw += char(1 + (b == 0 ? (x & 0xFF) : b == 1 ? y : (x >> 8)));
        const QString src = tmp->path() + "/src";
        QVERIFY(zktest::writeFile(src + "/chart.bsq", raw));
        QVERIFY(zktest::writeFile(src + "/chart.hdr",
                                  QStringLiteral("BYTEORDER I\nLAYOUT BSQ\nNROWS %1\nNCOLS %2\nNBANDS 3\nNBITS 8\n"
                                                 "ULXMAP 6.0005\nULYMAP 45.9995\nXDIM 0.001\nYDIM 0.001\n")
                                      .arg(ch)
                                      .arg(cw)
                                      .toLatin1()));
        QVERIFY(zktest::run("gdal_translate", {"-q", "-of", "GTiff", "-a_srs", "EPSG:4326", src + "/chart.bsq", src + "/chart.tif"}));
        QDir().mkpath(disc + "/ABCDEF01");
        QVERIFY(zktest::run("gdal_translate", {"-q", "-of", "ADRG", src + "/chart.tif", disc + "/ABCDEF01/ABCDEF01.GEN"}));
        // On a disc the transmittal header lies at the root.
        QVERIFY(QFile::rename(disc + "/ABCDEF01/TRANSH01.THF", disc + "/TRANSH01.THF"));

        // The map: 134 x 81 cells, 0.2 x 0.12 degree inside the chart, at
        // about 1.5 chart pixels a cell.
        const int W = 134, H = 81;
        const double west = 6.05, east = 6.25, north = 45.97, south = 45.85;
        setMap(W, H, west, north, east, south);
        zk::MsgScript script;
        frmPic *w = zk::openadrg(nullptr);
        QVERIFY(w);
        QCOMPARE(script.texts(), QStringList());
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(w->source, QStringLiteral("Image ADRG  "));  // GDAL writes a blank chart name
        QCOMPARE(w->lon1, float(west));
        QCOMPARE(w->lat3, float(south));
        QVERIFY(w->Picture1->isEnabled());
        QCOMPARE(w->Picture1->scaleWidth(), W);
        QCOMPARE(w->Picture1->scaleHeight(), H);
        const QImage ours = w->Picture1->picture();
        QVERIFY(!ours.isNull());

        // GDAL onto the same grid, one cell wider on every side so that the
        // edge pixels have neighbours too: the cells' centres are the map's
        // pixels, pixel (x, y) of ours is (x + 1, y + 1) of GDAL's.
        const double dx = (east - west) / (W - 1), dy = (north - south) / (H - 1);
        const int GW = W + 2, GH = H + 2;
        QVERIFY(zktest::run("gdalwarp", {"-q", "-r", "near", "-of", "ENVI", "-te", QString::number(west - 1.5 * dx, 'g', 17),
                                          QString::number(south - 1.5 * dy, 'g', 17), QString::number(east + 1.5 * dx, 'g', 17),
                                          QString::number(north + 1.5 * dy, 'g', 17), "-ts", QString::number(GW),
                                          QString::number(GH), disc + "/ABCDEF01/ABCDEF01.GEN", src + "/warp.raw"}));
        const QByteArray warp = zktest::readFile(src + "/warp.raw");
        QCOMPARE(warp.size(), qsizetype(3 * GW * GH));
        const auto gdal = [&](int x, int y) {
            const auto at = [&](int b) { return uint32_t(uint8_t(warp[b * GW * GH + (y + 1) * GW + x + 1])); };
            return at(0) | (at(1) << 8) | (at(2) << 16);
        };
        // Both pictures sample the chart; the chart pixel each shows lies
        // within one picture pixel (1.5 chart pixels) of the other's.
        const auto column = [](uint32_t c) { return int((c >> 16 & 0xFF) - 1) * 256 + int((c & 0xFF) - 1); };
        const auto row = [](uint32_t c) { return int((c >> 8 & 0xFF) - 1); };
        const double sx = (east - west) / (W - 1) * 1000, sy = (north - south) / (H - 1) * 1000;
        int exact = 0;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                const uint32_t c = rgbAt(ours, x, y), g = gdal(x, y);
                if (!(std::abs(column(c) - column(g)) <= sx && std::abs(row(c) - row(g)) <= sy))
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) shows chart pixel (%3, %4), GDAL (%5, %6)")
                                         .arg(x)
                                         .arg(y)
                                         .arg(column(c))
                                         .arg(row(c))
                                         .arg(column(g))
                                         .arg(row(g))));
                if (c == g) ++exact;
            }
        }
        QVERIFY2(exact > W * H / 2, qPrintable(QString::number(exact)));
    }

    void blackChartPixelsKeepThePicture()
    {
        Disc d{disc};
        d.tiles = {plain(255, 0, 0), [](int x, int y, uint8_t c[3]) {
                       // Black but for one green pixel.
                       c[0] = c[2] = 0;
                       c[1] = (x == 0 && y == 0) ? 255 : 0;
                   }};
        d.write();
        mapOnTheChart();
        zk::MsgScript script;
        frmPic *w = zk::openadrg(nullptr);
        QCOMPARE(script.texts(), QStringList());
        const QImage &img = w->Picture1->picture();
        QCOMPARE(rgbAt(img, 0, 0), 0x0000FFu);
        QCOMPARE(rgbAt(img, 127, 127), 0x0000FFu);
        QCOMPARE(rgbAt(img, 128, 0), 0x00FF00u);
        // Not the red of the tile before: the background.
        QCOMPARE(rgbAt(img, 129, 0), kGrey);
        QCOMPARE(rgbAt(img, 200, 100), kGrey);
        QCOMPARE(w->source, QStringLiteral("Image ADRG CARTE DE TEST "));
    }

    void emptyTilePositionAsksNothing()
    {
        Disc d{disc};
        d.flag = 'Y';
        d.table = "0000000001";  // no tile at the first position; tile 1 at the second
        d.tiles = {plain(0, 0, 255)};
        d.write();
        mapOnTheChart();
        zk::MsgScript script;
        frmPic *w = zk::openadrg(nullptr);
        QCOMPARE(script.texts(), QStringList());
        QCOMPARE(rgbAt(w->Picture1->picture(), 10, 10), kGrey);
        QCOMPARE(rgbAt(w->Picture1->picture(), 200, 10), 0xFF0000u);
    }

    void mapPastTheChartAsksForAnotherDisc()
    {
        Disc d{disc};
        d.tiles = {plain(255, 0, 0), plain(0, 255, 0)};
        d.write();
        mapOnTheChart(300, 128);  // 44 pixels east of the chart's last column
        zk::MsgScript script;
        script.answer(zk::idYes);  // the same disc again
        script.answer(zk::idNo);
        frmPic *w = zk::openadrg(nullptr);
        QCOMPARE(script.texts(), (QStringList{"Image incomplète, essayer avec un autre disque?",
                                              "Image incomplète, essayer avec un autre disque?"}));
        QCOMPARE(script.shown().at(0).flags, int(zk::mbYesNo | zk::mbExclamation));
        QCOMPARE(w->source, QStringLiteral("Image ADRG CARTE DE TEST "));
        QCOMPARE(rgbAt(w->Picture1->picture(), 255, 0), 0x00FF00u);
        QCOMPARE(rgbAt(w->Picture1->picture(), 299, 0), kGrey);
    }

    void noDisc()
    {
        mapOnTheChart();
        zk::MsgScript script;
        script.answer(zk::idNo);
        frmPic *w = zk::openadrg(nullptr);
        QCOMPARE(script.texts(), QStringList{"Image incomplète, essayer avec un autre disque?"});
        QCOMPARE(zk::adrgname, QStringLiteral("ADRG non detecté"));
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(w->source, QStringLiteral("Image ADRG "));
        QVERIFY(w->Picture1->isEnabled());
        QCOMPARE(rgbAt(w->Picture1->image(), 5, 5), kGrey);
        QCOMPARE(zk::runflag, int16_t(0));
    }

    void refusedDiscs_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no VTH01 marker") << "thf" << "VTH01";
        QTest::newRow("no GIN01 marker") << "gin" << "GIN01";
        QTest::newRow("no general information file") << "gen" << "fichier d'information générale introuvable";
        QTest::newRow("zero scale") << "zero" << "échelle nulle";
        QTest::newRow("scale not a number") << "nan" << "échelle nulle";
        QTest::newRow("a tile beyond the image file") << "short" << "dépasse la fin du fichier image";
        QTest::newRow("no image file") << "img" << "fichier image introuvable";
        QTest::newRow("absurd scale") << "absurd" << "échelle aberrante";
        QTest::newRow("tile number above 32767") << "tile40000" << "numéro de tuile 40000 hors limites";
        // Far beyond any integer: refused the same way, never taken as "no tile".
        QTest::newRow("tile number 9e300") << "tile9e300" << "numéro de tuile 9e300 hors limites";
    }
    void refusedDiscs()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        Disc d{disc};
        d.tiles = {plain(255, 0, 0), plain(0, 255, 0)};
        if (fault == "gin") d.marker = "GIN02";
        if (fault == "zero") d.scaleB = "00000000";
        if (fault == "nan") d.scaleA = " 12x4   ";
        if (fault == "short") d.tiles.pop_back();
        if (fault == "absurd") d.scaleA = d.scaleB = "00000001";  // one chart pixel in 360 degrees
        if (fault.startsWith("tile")) {
            d.flag = 'Y';
            d.table = "00001" + fault.mid(4).toLatin1();
        }
        d.write();
        if (fault == "thf") QVERIFY(zktest::writeFile(disc + "/TRANSH01.THF", QByteArray(400, 'x')));
        if (fault == "gen") QVERIFY(QFile::remove(disc + "/TESTCH01/TESTCH01.GEN"));
        if (fault == "img") QVERIFY(QFile::remove(disc + "/TESTCH01/TESTCH01.IMG"));
        mapOnTheChart();
        zk::MsgScript script;
        script.answer(zk::idOK);
        script.answer(zk::idYes);  // try again: refused again
        script.answer(zk::idOK);
        script.answer(zk::idNo);
        frmPic *w = zk::openadrg(nullptr);
        const QStringList t = script.texts();
        QCOMPARE(t.size(), 4);
        QVERIFY2(t[0].startsWith(QStringLiteral("Carte ADRG refusée :\r\n")) && t[0].contains(reason), qPrintable(t[0]));
        QCOMPARE(script.shown().at(0).flags, int(zk::mbOK | zk::mbExclamation));
        QCOMPARE(t[1], QStringLiteral("Image incomplète, essayer avec un autre disque?"));
        QCOMPARE(t[2], t[0]);
        QCOMPARE(rgbAt(w->Picture1->image(), 5, 5), kGrey);
        QCOMPARE(zk::runflag, int16_t(0));
    }

    void windowsWithoutANameAreNamed()
    {
        Disc d{disc};
        d.tiles = {plain(255, 0, 0), plain(0, 255, 0)};
        d.write();
        mapOnTheChart();
        frmPic *w = zk::openpicture(QString(), -1);
        w->Filename.clear();
        const int before = zk::adrgvar;
        zk::MsgScript script;
        QCOMPARE(zk::openadrg(w), w);
        QCOMPARE(w->Filename, QStringLiteral("ADRG%1.bmp").arg(before + 1));
        QCOMPARE(w->windowTitle(), w->Filename);
        w->Filename.clear();
        zk::openadrg(w);
        QCOMPARE(w->Filename, QStringLiteral("ADRG%1.bmp").arg(before + 2));
        // A window with a name keeps it.
        frmPic *named = zk::openpicture(QString(), -1);
        const QString name = named->Filename;
        zk::openadrg(named);
        QCOMPARE(named->Filename, name);
        QCOMPARE(zk::adrgvar, before + 2);
        QVERIFY(zk::curpic == named);
    }

    void stopKeepsTheTilesOnScreenOnly()
    {
        Disc d{disc};
        d.tiles = {plain(255, 0, 0), plain(0, 255, 0)};
        d.write();
        mapOnTheChart();
        zk::MsgScript script;
        // Stop once the operation runs (its first pass of events).
        std::function<void()> stop = [&stop] {
            if (zk::runflag == zk::opadrg) zk::runflag = 0;
            else QTimer::singleShot(0, stop);
        };
        QTimer::singleShot(0, stop);
        frmPic *w = zk::openadrg(nullptr);
        QCOMPARE(script.texts(), QStringList());
        QVERIFY(w->Picture1->picture().isNull());
        QCOMPARE(rgbAt(w->Picture1->image(), 10, 10), 0x0000FFu);  // the first tile on screen
        QCOMPARE(rgbAt(w->Picture1->image(), 200, 10), kGrey);   // the second one never came
    }
};

QTEST_MAIN(TestAdrg)
#include "test_adrg.moc"
