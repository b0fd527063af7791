// Quo Vadis GIF maps merged into a picture through their calibration: a GIF
// written by GDAL with a linear calibration, copied, averaged and multiplied
// into a picture and checked against the pixels the calibration says; the
// main window's command; missing files and calibrations that cannot place
// the GIF refused before any operation starts; nothing carried over from
// an earlier calibration; a stop.
#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "app/mainwindow.h"
#include "base/dialogs.h"
#include "base/longop.h"
#include "engine.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "overlayenv.h"
#include "picenv.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "pictures/quovadis.h"

using zk::frmPic;
using zktest::rgbAt;

namespace {

// The GIF: 100 x 80 pixels in blocks of 10 x 10, block (i, j) in colour
// i + 10 j of the palette below.
constexpr int kGifW = 100, kGifH = 80;
uint32_t palette(int k) { return uint32_t((k * 37) % 256) | uint32_t((k * 91 + 17) % 256) << 8 | uint32_t((k * 53 + 101) % 256) << 16; }
uint32_t gifcolour(int gx, int gy) { return palette((gy / 10) * 10 + gx / 10); }

// The calibration: points at GIF pixels x 10, 50, 90 and y 10, 40, 70, in
// twips of 15; longitudes 6, 7, 8 and latitudes 45, 44, 43. So a position
// lies at GIF pixel x = 10 + 40 (lon - 6), y = 10 + 30 (45 - lat).
QByteArray calibration(int twips = 15)
{
    QByteArray b = "; Quo Vadis\r\n";
    if (twips) b += "  TWIPSX " + QByteArray::number(twips) + "\r\ntwipsy " + QByteArray::number(twips) + "\r\n";
    for (int n = 1; n <= 9; ++n) {
        b += "C" + QByteArray::number(n) + "_X " + QByteArray::number(15 * (10 + 40 * ((n - 1) % 3))) + "\r\n";
        b += "c" + QByteArray::number(n) + " y " + QByteArray::number(15 * (10 + 30 * ((n - 1) / 3))) + "\r\n";
    }
    for (int n = 1; n <= 3; ++n) {
        b += "c" + QByteArray::number(n) + "_lat " + QByteArray::number(46 - n) + ",0\r\n";
        b += "c" + QByteArray::number(n) + "_lon " + QByteArray::number(5 + n) + "\r\n";
    }
    return b;
}

QString g_file;
int g_asked = 0;
QString chooseFile(bool, const QString &, const QString &filter, const QString &title)
{
    ++g_asked;
    Q_UNUSED(filter);
    Q_UNUSED(title);
    return g_file;
}

}  // namespace

class TestQuoVadis : public QObject {
    Q_OBJECT

    std::unique_ptr<zk::frmMain> main;
    QTemporaryDir tmp;
    QString gif;  // the GIF written by GDAL

    // A picture of kind 2 over lon 6.2 .. 7.8 and lat 43.2 .. 44.8.
    frmPic *picture(uint32_t colour = 0x808080, int W = 81, int H = 49)
    {
        frmPic *w = zk::openpicture(QString(), -1);
        w->Pictype = 2;
        w->lon1 = w->lon4 = 6.2f;
        w->lon2 = w->lon3 = 7.8f;
        w->lat1 = w->lat2 = 44.8f;
        w->lat3 = w->lat4 = 43.2f;
        w->Picture1->setPicture(zktest::solid(W, H, colour));
        main->mdiArea()->setActiveSubWindow(w);
        return w;
    }
    // Where pixel (x, y) of such a picture lies on the GIF.
    static QPointF onGif(const frmPic *w, int x, int y)
    {
        const int W = w->Picture1->scaleWidth(), H = w->Picture1->scaleHeight();
        const double lon = 6.2 + 1.6 * x / (W - 1), lat = 44.8 - 1.6 * y / (H - 1);
        return {10 + 40 * (lon - 6), 10 + 30 * (45 - lat)};
    }
    QString copyGif(const QString &name, const QByteArray &cal)
    {
        const QString path = tmp.path() + "/" + name;
        QFile::remove(path);
        QFile::copy(gif, path);
        if (!cal.isNull()) zktest::writeFile(zk::gifcalname(path), cal);
        return path;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QVERIFY2(zktest::haveTool("gdal_translate"), "gdal_translate is missing: install the Debian package gdal-bin (scripts/install-deps.sh)");
        bool ok = false;
        zk::engine::callback(nullptr, &ok);
        QVERIFY2(ok, "the engine library is needed");
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova")).clear();
        zktest::setTestMap();

        // GDAL writes the GIF from a one-band raster and its colour file.
        QByteArray raw;
        for (int y = 0; y < kGifH; ++y)
            for (int x = 0; x < kGifW; ++x) raw += char((y / 10) * 10 + x / 10);
        QByteArray clr;
        for (int k = 0; k < 256; ++k) {
            const uint32_t c = palette(k);
            clr += QByteArray::number(k) + " " + QByteArray::number(c & 0xFF) + " " + QByteArray::number(c >> 8 & 0xFF) + " " +
                   QByteArray::number(c >> 16 & 0xFF) + "\n";
        }
        const QString src = tmp.path() + "/src";
        QVERIFY(zktest::writeFile(src + "/map.bil", raw));
        QVERIFY(zktest::writeFile(src + "/map.hdr", QStringLiteral("NROWS %1\nNCOLS %2\nNBANDS 1\nNBITS 8\nBYTEORDER I\nLAYOUT BIL\n")
                                                        .arg(kGifH)
                                                        .arg(kGifW)
                                                        .toLatin1()));
        QVERIFY(zktest::writeFile(src + "/map.clr", clr));
        gif = src + "/map.gif";
        QVERIFY(zktest::run("gdal_translate", {"-q", "-of", "GIF", src + "/map.bil", gif}));
        const QImage check = zk::loadimage(gif);
        QCOMPARE(check.size(), QSize(kGifW, kGifH));
        QCOMPARE(rgbAt(check, 55, 35), gifcolour(55, 35));
        zk::dialogHooks.file = &chooseFile;
    }
    void cleanupTestCase() { zk::dialogHooks = zk::DialogHooks{}; }
    void init()
    {
        zk::runflag = 0;
        main = std::make_unique<zk::frmMain>();
        main->show();
        main->resize(900, 700);
        QCoreApplication::processEvents();
        g_asked = 0;
    }
    void cleanup()
    {
        zk::runflag = 0;
        for (QMdiSubWindow *s : main->mdiArea()->subWindowList()) delete s;
        main.reset();
        QCoreApplication::processEvents();
    }

    void copiedWhereTheCalibrationSays()
    {
        g_file = copyGif("Alpes.GIF", calibration());
        frmPic *w = picture();
        zk::MsgScript script;
        script.answer(zk::idYes);
        main->action(QStringLiteral("mnuQuo(0)"))->trigger();
        QCOMPARE(g_asked, 1);
        QCOMPARE(script.texts(), QStringList{"Garder carte Quo Vadis dans l'image?"});
        QCOMPARE(main->label2()->text(), QStringLiteral("Complété."));
        QCOMPARE(zk::twipsx, 15);
        QCOMPARE(zk::callat[3], 43.0f);

        const QImage &img = w->Picture1->picture();
        QVERIFY(!img.isNull());
        int exact = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QPointF g = onGif(w, x, y);
                const uint32_t c = rgbAt(img, x, y);
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx) {
                        const int gx = std::clamp(int(std::floor(g.x())) + dx, 0, kGifW - 1);
                        const int gy = std::clamp(int(std::floor(g.y())) + dy, 0, kGifH - 1);
                        near = gifcolour(gx, gy) == c;
                    }
                if (!near)
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) = %3, GIF (%4, %5)").arg(x).arg(y).arg(c, 6, 16).arg(g.x()).arg(g.y())));
                if (gifcolour(int(g.x()), int(g.y())) == c) ++exact;
            }
        }
        QVERIFY2(exact > img.width() * img.height() * 9 / 10, qPrintable(QString::number(exact)));
        // The window keeps its own frame and name.
        QCOMPARE(w->Pictype, int16_t(2));
        QCOMPARE(w->lon1, 6.2f);
    }

    void averageAndMultiply_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("keep");
        QTest::newRow("add: the average") << 1 << false;
        QTest::newRow("multiply") << 2 << true;
    }
    void averageAndMultiply()
    {
        QFETCH(int, mode);
        QFETCH(bool, keep);
        g_file = copyGif("alpes.gif", calibration());
        const uint32_t own = 0x3264C8;  // (200, 100, 50)
        frmPic *w = picture(own);
        zk::MsgScript script;
        script.answer(keep ? zk::idYes : zk::idNo);
        main->action(QStringLiteral("mnuQuo(%1)").arg(mode))->trigger();
        QCOMPARE(script.texts().size(), 1);
        // Pixel (45, 27) lies at GIF pixel (54, 43), inside block (5, 4).
        const QImage &img = w->Picture1->image();
        QCOMPARE(onGif(w, 45, 27), QPointF(54, 43));
        const uint32_t g = gifcolour(54, 43);
        const auto ch = [](uint32_t c, int s) { return int(c >> s & 0xFF); };
        uint32_t expect = 0;
        for (int s : {0, 8, 16})
            expect |= uint32_t(mode == 1 ? (ch(own, s) + ch(g, s)) / 2 : ch(own, s) * ch(g, s) / 255) << s;
        QCOMPARE(rgbAt(img, 45, 27), expect);
        QCOMPARE(w->Picture1->picture().isNull() ? own : rgbAt(w->Picture1->picture(), 45, 27), keep ? expect : own);
    }

    // The four cells meet along GIF column 50 (lon 7, picture column 40) and
    // row 40 (lat 44, picture row 24); the cells on both sides of an edge
    // hold it. Every pixel of the picture, those edges included, is the
    // picture's own colour mixed once with the GIF colour at its place (one
    // GIF pixel either way for the sampling): the average or the product / 255
    // per channel. Mixed twice, a pixel on an edge would read (o + 3c) / 4
    // (average) or o c c / 255² (product).
    void sharedEdgesMergedOnce_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("add: the average") << 1;
        QTest::newRow("multiply") << 2;
    }
    void sharedEdgesMergedOnce()
    {
        QFETCH(int, mode);
        g_file = copyGif("edges.gif", calibration());
        const uint32_t own = 0x3264C8;  // (200, 100, 50)
        frmPic *w = picture(own);
        zk::MsgScript script;
        script.answer(zk::idNo);
        main->action(QStringLiteral("mnuQuo(%1)").arg(mode))->trigger();
        QCOMPARE(script.texts().size(), 1);
        const auto ch = [](uint32_t c, int s) { return int(c >> s & 0xFF); };
        const auto once = [&](uint32_t g) {
            uint32_t m = 0;
            for (int s : {0, 8, 16})
                m |= uint32_t(mode == 1 ? (ch(own, s) + ch(g, s)) / 2 : ch(own, s) * ch(g, s) / 255) << s;
            return m;
        };
        // By hand, at the middle point's GIF pixel (50, 40), block (5, 4),
        // palette 45 = (129, 16, 182): average (164, 58, 116), product (101, 6, 35).
        QCOMPARE(gifcolour(50, 40), 0xB61081u);
        QCOMPARE(once(gifcolour(50, 40)), mode == 1 ? 0x743AA4u : 0x230665u);
        const QImage &img = w->Picture1->image();
        QCOMPARE(onGif(w, 40, 24), QPointF(50, 40));
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QPointF g = onGif(w, x, y);
                const uint32_t c = rgbAt(img, x, y);
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy)
                    for (int dx = -1; dx <= 1 && !found; ++dx) {
                        const int gx = std::clamp(int(std::floor(g.x() + 1e-9)) + dx, 0, kGifW - 1);
                        const int gy = std::clamp(int(std::floor(g.y() + 1e-9)) + dy, 0, kGifH - 1);
                        found = once(gifcolour(gx, gy)) == c;
                    }
                if (!found)
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) = %3 at GIF (%4, %5)").arg(x).arg(y).arg(c, 6, 16, QChar('0')).arg(g.x()).arg(g.y())));
            }
    }

    void refused_data()
    {
        QTest::addColumn<QString>("gifname");
        QTest::addColumn<QByteArray>("cal");
        QTest::addColumn<QString>("message");
        QByteArray degenerate = calibration();
        degenerate.replace("C2_X 750", "C2_X 150");  // point 2 on point 1's column
        QByteArray outside = calibration();
        outside.replace("C3_X 1350", "C3_X 3000").replace("C6_X 1350", "C6_X 3000").replace("C9_X 1350", "C9_X 3000");
        QByteArray flat = calibration();
        flat.replace("c3_lon 8", "c3_lon 7");
        QByteArray missing = calibration();
        missing.replace("c7 y 1050\r\n", "");
        QTest::newRow("no GIF") << "" << QByteArray() << "Carte Quo Vadis introuvable :\r\n";
        QTest::newRow("no calibration file") << "a.gif" << QByteArray() << "Calibration de la carte Quo Vadis impossible :\r\nfichier de calibration introuvable";
        QTest::newRow("twipsx=15 reads as 0") << "b.gif" << calibration(0).append("twipsx=15\r\ntwipsy=15\r\n")
                                              << "Calibration de la carte Quo Vadis inutilisable :\r\n";
        QTest::newRow("a point missing") << "c.gif" << missing << "c7_y";
        QTest::newRow("two points of an edge at one x") << "d.gif" << degenerate << "alignés";
        QTest::newRow("two columns at one longitude") << "e.gif" << flat << "même longitude";
        QTest::newRow("a cell past the GIF") << "f.gif" << outside << "sort de l'image";
        QTest::newRow("a value too large") << "g.gif" << calibration().append("c1_x 99999999999\r\n") << "hors limites";
    }
    void refused()
    {
        QFETCH(QString, gifname);
        QFETCH(QByteArray, cal);
        QFETCH(QString, message);
        g_file = gifname.isEmpty() ? tmp.path() + "/absent.gif" : copyGif(gifname, cal);
        frmPic *w = picture();
        main->label2()->setText(QStringLiteral("avant"));
        zk::MsgScript script;
        main->action(QStringLiteral("mnuQuo(0)"))->trigger();
        QCOMPARE(script.texts().size(), 1);
        QVERIFY2(script.texts()[0].contains(message), qPrintable(script.texts()[0]));
        QCOMPARE(script.shown()[0].flags, int(zk::mbOK | zk::mbExclamation));
        // No operation ran: no "Complété.", the picture as it was.
        QCOMPARE(main->label2()->text(), QStringLiteral("avant"));
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(rgbAt(w->Picture1->image(), 40, 24), 0x808080u);
    }

    void nothingCarriesOver()
    {
        // A good calibration first, then one without its twips lines.
        zk::MsgScript script;
        zk::mergegifmap(copyGif("first.gif", calibration()), picture(), 0);
        QCOMPARE(zk::twipsx, 15);
        script.clear();
        QByteArray cal = calibration(0);
        frmPic *w = picture();
        zk::mergegifmap(copyGif("second.gif", cal), w, 0);
        QCOMPARE(script.texts().size(), 1);
        QVERIFY(script.texts()[0].contains(QStringLiteral("twipsx")));
        QCOMPARE(zk::twipsx, 0);
        QCOMPARE(rgbAt(w->Picture1->image(), 40, 24), 0x808080u);
    }

    void menuNeedsAPictureWithCorners()
    {
        g_file = copyGif("alpes.gif", calibration());
        frmPic *w = picture();
        w->Pictype = 0;
        main->action(QStringLiteral("mnuQuo(0)"))->trigger();
        QCOMPARE(g_asked, 0);
        w->Pictype = 1;
        zk::MsgScript script;
        main->action(QStringLiteral("mnuQuo(0)"))->trigger();
        QCOMPARE(g_asked, 1);
    }

    void stopped()
    {
        frmPic *w = picture();
        zk::MsgScript script;
        std::function<void()> stop = [&stop] {
            if (zk::runflag == zk::opgifmerge) zk::runflag = 0;
            else QTimer::singleShot(0, stop);
        };
        QTimer::singleShot(0, stop);
        zk::mergegifmap(copyGif("alpes.gif", calibration()), w, 0);
        QCOMPARE(script.texts(), QStringList());
        QCOMPARE(main->label2()->text(), QStringLiteral("Arrêté par l'utilisateur."));
        QVERIFY(w->Picture1->picture().isNull() || rgbAt(w->Picture1->picture(), 40, 24) == 0x808080u);
    }

    void gifPixelOfACell()
    {
        // The cell between points 1, 2, 4, 5 of the linear calibration.
        zk::gifcellw = 41;
        zk::gifcellh = 31;
        zk::giflon = {6, 7, 7, 6};
        zk::giflat = {45, 45, 44, 44};
        float x = -1, y = -1;
        QVERIFY(zk::gifpixel(6.5f, 44.5f, x, y));
        QCOMPARE(x, 20.0f);
        QCOMPARE(y, 15.0f);
        QVERIFY(zk::gifpixel(7.5f, 43.0f, x, y));  // off the cell: not clamped
        QCOMPARE(x, 60.0f);
        QCOMPARE(y, 60.0f);
        zk::giflon = {6, 6, 6, 6};  // a zero-length edge
        x = y = -7;
        QVERIFY(!zk::gifpixel(6.5f, 44.5f, x, y));
        QCOMPARE(x, -7.0f);
    }
};

QTEST_MAIN(TestQuoVadis)
#include "test_quovadis.moc"
