// Latitude and longitude grids and the world map: the lines of each spacing
// (no drift on fine grids), the grid drawn on a picture and kept or not, and
// the "Mappemonde" window with its built-in picture.
#include <QMdiArea>
#include <QTest>

#include <cmath>
#include <memory>

#include "base/longop.h"
#include "base/screen.h"
#include "msgbox.h"
#include "picenv.h"
#include "pictures/frmMapPro.h"
#include "pictures/frmPic.h"
#include "pictures/geogrid.h"
#include "pictures/geomap.h"
#include "pictures/picfiles.h"
#include "pictures/pictureops.h"
#include "pictures/worldmap.h"

using zk::frmPic;

namespace {

const QColor kGreen(0, 128, 0);

zk::PicFrame frame(int16_t k, float w, float n, float e, float s)
{
    zk::PicFrame f;
    f.Pictype = k;
    f.lon1 = w, f.lat1 = n;
    f.lon2 = e, f.lat2 = n;
    f.lon3 = e, f.lat3 = s;
    f.lon4 = w, f.lat4 = s;
    f.width = 100;
    f.height = 100;
    return f;
}

frmPic *mappemonde()
{
    QMdiArea *area = zk::mdiArea();
    for (QMdiSubWindow *s : area->subWindowList())
        if (s->windowTitle() == QLatin1String("Mappemonde")) return qobject_cast<frmPic *>(s);
    return nullptr;
}

int countWindows(const QString &title)
{
    int n = 0;
    for (QMdiSubWindow *s : zk::mdiArea()->subWindowList()) n += s->windowTitle() == title;
    return n;
}

// The world picture's pixel at a position (corners at the corner pixels'
// centres).
QColor worldAt(const QImage &img, double lon, double lat)
{
    const int x = int(std::lround((lon + 180) / 360 * 719));
    const int y = int(std::lround((90 - lat) / 180 * 359));
    return img.pixelColor(x, y);
}

}  // namespace

class TestGeoGrid : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        zk::setScreenPixels(QSize(1280, 1024));
        env = std::make_unique<zktest::TestMain>();
    }
    void cleanupTestCase() { env.reset(); }
    void init()
    {
        zktest::setTestMap();
        zk::runflag = 0;
    }
    void cleanup() { env->closeAll(); }

    void lines_data()
    {
        QTest::addColumn<float>("code");
        QTest::addColumn<QList<float>>("corners");  // west, north, east, south
        QTest::addColumn<double>("step");
        QTest::addColumn<QList<double>>("lons");    // first, last, count
        QTest::addColumn<QList<double>>("lats");
        QTest::newRow("1 degree, west of the picture first, none at -71")
            << 2.0f << QList<float>{-73.4f, 46.5f, -71.2f, 45.2f} << 1.0 << QList<double>{-74, -72, 3}
            << QList<double>{45, 46, 2};
        QTest::newRow("10 degrees on the world map") << 1.0f << QList<float>{-180, 90, 180, -90} << 10.0
                                                     << QList<double>{-180, 180, 37} << QList<double>{-90, 90, 19};
        QTest::newRow("15 minutes") << 3.0f << QList<float>{7.1f, 45.9f, 7.6f, 45.1f} << 0.25
                                    << QList<double>{7.0, 7.5, 3} << QList<double>{45.0, 45.75, 4};
        // Sixty steps of a minute land exactly on the next degree.
        QTest::newRow("1 minute, no drift") << 4.0f << QList<float>{7.0f, 46.0f, 7.5f, 45.0f} << 1.0 / 60
                                            << QList<double>{7.0, 7.5, 31} << QList<double>{45.0, 46.0, 61};
        QTest::newRow("any other code: 1 minute") << 0.0f << QList<float>{-0.5f, 0.5f, 0.5f, -0.5f} << 1.0 / 60
                                                  << QList<double>{-0.5, 0.5, 61} << QList<double>{-0.5, 0.5, 61};
        QTest::newRow("edge on a line below 0") << 2.0f << QList<float>{-3.0f, -1.0f, -1.0f, -2.0f} << 1.0
                                                << QList<double>{-3, -1, 3} << QList<double>{-2, -1, 2};
    }
    void lines()
    {
        QFETCH(float, code);
        QFETCH(QList<float>, corners);
        QFETCH(double, step);
        QFETCH(QList<double>, lons);
        QFETCH(QList<double>, lats);
        const zk::GridLines g = zk::gridlines(frame(1, corners[0], corners[1], corners[2], corners[3]), code);
        QCOMPARE(g.step, step);
        QCOMPARE(int(g.lons.size()), int(lons[2]));
        QCOMPARE(int(g.lats.size()), int(lats[2]));
        QVERIFY(std::fabs(g.lons.front() - lons[0]) < 1e-9);
        QVERIFY(std::fabs(g.lons.back() - lons[1]) < 1e-9);
        QVERIFY(std::fabs(g.lats.front() - lats[0]) < 1e-9);
        QVERIFY(std::fabs(g.lats.back() - lats[1]) < 1e-9);
        // Every line is start + i x step.
        for (size_t i = 0; i < g.lats.size(); ++i) QCOMPARE(g.lats[i], g.latS + double(i) * g.step);
    }

    // Corners that are no real picture's draw no lines.
    void linesDegenerate()
    {
        zk::PicFrame f = frame(1, -10, 50, 10, 40);
        f.lon2 = std::numeric_limits<float>::infinity();
        QVERIFY(zk::gridlines(f, 2).lons.empty());
        f.lon2 = std::nanf("");
        QVERIFY(zk::gridlines(f, 2).lons.empty() || zk::gridlines(f, 2).lons.size() == 21);
        const zk::GridLines g = zk::gridlines(frame(1, -3.0e38f, 50, 3.0e38f, 40), 4);
        QVERIFY(g.lons.empty());
    }

    // The grid on a 201 x 101 picture of -10..10 E, 40..50 N.
    void drawOnPicture()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        zktest::mapCorners(w);
        w->Picture1->setPicture(zktest::pattern(201, 101));
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::drawgrid(w, 2);
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Garder la grille dans l'image?")});
        QCOMPARE(zk::runflag, int16_t(0));
        const QImage img = w->Picture1->image();
        // Parallels every 10 pixel rows, meridians every 10 columns.
        QCOMPARE(img.pixelColor(3, 50), kGreen);   // 45 N
        QCOMPARE(img.pixelColor(3, 0), kGreen);    // 50 N, the edge
        QCOMPARE(img.pixelColor(3, 100), kGreen);  // 40 N
        QCOMPARE(img.pixelColor(100, 33), kGreen); // 0 E
        QCOMPARE(img.pixelColor(200, 33), kGreen); // 10 E
        QVERIFY(img.pixelColor(5, 5) != kGreen);
        // Not kept.
        QVERIFY(w->Picture1->picture().pixelColor(3, 50) != kGreen);

        script.answer(zk::idYes);
        zk::drawgrid(w, 1);
        QCOMPARE(w->Picture1->picture().pixelColor(100, 33), kGreen);  // 0 E
        QVERIFY(w->Picture1->picture().pixelColor(3, 50) != kGreen);   // no 45 N at 10 degrees
    }

    // Pictures without corners, and windows that are not pictures.
    void drawNothing()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        w->Pictype = 0;
        zk::MsgScript script;
        zk::drawgrid(w, 2);
        zk::drawgrid(nullptr, 2);
        QVERIFY(script.texts().isEmpty());
        QCOMPARE(zk::runflag, int16_t(0));
    }

    // A stopped grid asks nothing.
    void drawStopped()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        zktest::mapCorners(w);
        zk::MsgScript script;
        // Stop from the first repaint of the picture during the drawing.
        class Stop : public QObject {
        public:
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::Paint && zk::runflag == zk::opdraw2d) zk::runflag = 0;
                return false;
            }
        } stop;
        w->Picture1->installEventFilter(&stop);
        zk::drawgrid(w, 4);
        w->Picture1->removeEventFilter(&stop);
        QVERIFY(script.texts().isEmpty());
        QCOMPARE(zk::runflag, int16_t(0));
    }

    void copyLine()
    {
        QImage img(10, 5, QImage::Format_RGBX8888);
        img.fill(Qt::white);
        zk::copyline(img, -100, 2, 100, 2, 0x0000FF);
        for (int x = 0; x < 10; ++x) QCOMPARE(img.pixelColor(x, 2), QColor(255, 0, 0));
        QCOMPARE(img.pixelColor(4, 1), QColor(Qt::white));
        zk::copyline(img, 0, 0, 9, 4, 0xFF0000);
        QCOMPARE(img.pixelColor(0, 0), QColor(0, 0, 255));
        QCOMPARE(img.pixelColor(9, 4), QColor(0, 0, 255));
        zk::copyline(img, std::nan(""), 0, 3, 3, 0);  // nothing
        zk::copyline(img, 50, 50, 60, 60, 0);          // off the image
        QCOMPARE(img.pixelColor(5, 0), QColor(Qt::white));
    }

    void worldPicture()
    {
        const QImage img = zk::worldpicture();
        QCOMPARE(img.size(), QSize(720, 360));
        // Sea in the Gulf of Guinea and mid-Pacific, land in the Sahara,
        // Siberia, Brazil and Antarctica.
        const QColor sea = worldAt(img, 0, 0);
        QCOMPARE(worldAt(img, -150, 0), sea);
        QCOMPARE(worldAt(img, -30, 40), sea);
        for (const auto &[lon, lat] : {std::pair{10.0, 25.0}, {100.0, 62.0}, {-55.0, -10.0}, {0.0, -85.0}})
            QVERIFY2(worldAt(img, lon, lat) != sea, qPrintable(QStringLiteral("%1 %2").arg(lon).arg(lat)));
    }

    // The window: its variables, one only, back from minimised.
    void worldWindow()
    {
        zk::worldmap();
        frmPic *w = mappemonde();
        QVERIFY(w);
        QCOMPARE(w->Filename, QStringLiteral("Mappemonde"));
        QCOMPARE(w->source, QStringLiteral("Mappemonde"));
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(w->lon1, -180.0f);
        QCOMPARE(w->lat1, 90.0f);
        QCOMPARE(w->lon2, 180.0f);
        QCOMPARE(w->lat2, 90.0f);
        QCOMPARE(w->lon3, 180.0f);
        QCOMPARE(w->lat3, -90.0f);
        QCOMPARE(w->lon4, -180.0f);
        QCOMPARE(w->lat4, -90.0f);
        QCOMPARE(w->Picture1->scaleWidth(), 720);
        QCOMPARE(w->Picture1->scaleHeight(), 360);
        QCOMPARE(zk::activepic(), w);
        QCOMPARE(zk::curpic.data(), w);

        // Corners at the corner pixels: the mapping puts 0 E, 0 N in the
        // middle.
        float x = 0, y = 0;
        QVERIFY(zk::geotopix(w, 0, 0, x, y));
        QCOMPARE(x, 360.0f);  // 719 / 2 rounded half to even
        QCOMPARE(y, 180.0f);

        // A second call makes no second window and does not activate it.
        frmPic *other = zk::openpicture(QString(), -1);
        zk::worldmap();
        QCOMPARE(countWindows(QStringLiteral("Mappemonde")), 1);
        QCOMPARE(zk::activepic(), other);

        w->showMinimized();
        QVERIFY(w->isMinimized());
        zk::worldmap();
        QVERIFY(!w->isMinimized());
        QCOMPARE(countWindows(QStringLiteral("Mappemonde")), 1);
    }

    // The map dialog's "Mappemonde" button reaches it.
    void fromMapDialog()
    {
        zk::installpictureops(nullptr);
        QVERIFY(zk::mapproworldmap);
        zk::mapproworldmap();
        QVERIFY(mappemonde());
    }

    // 10 degrees on the world map: 19 parallels and 37 meridians, the last
    // ones on its edges.
    void worldGrid()
    {
        zk::worldmap();
        frmPic *w = mappemonde();
        zk::MsgScript script;
        script.answer(zk::idYes);
        zk::drawgrid(w, 1);
        const QImage img = w->Picture1->picture();
        int rows = 0, cols = 0;
        for (int y = 0; y < 360; ++y) {
            bool all = true;
            for (int x = 0; x < 720 && all; ++x) all = img.pixelColor(x, y) == kGreen;
            rows += all;
        }
        for (int x = 0; x < 720; ++x) {
            bool all = true;
            for (int y = 0; y < 360 && all; ++y) all = img.pixelColor(x, y) == kGreen;
            cols += all;
        }
        QCOMPARE(rows, 19);
        QCOMPARE(cols, 37);
        QCOMPARE(img.pixelColor(719, 100), kGreen);
        QCOMPARE(img.pixelColor(100, 359), kGreen);
    }
};

QTEST_MAIN(TestGeoGrid)
#include "test_geogrid.moc"
