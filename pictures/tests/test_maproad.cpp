// The main road's first mile, end to end under the offscreen platform: the
// demo terrain data extracted through the map-properties window, drawn as
// a 2D picture, saved as a map and as a BMP with its calibration file,
// reopened; the picture's pixels against a direct fastdraw of the same grid,
// in every draw mode and contour switch set through the picture-properties
// dialog.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "base/settings.h"
#include "engine.h"
#include "map/demo/demodata.h"
#include "map/mapdata.h"
#include "map/mapfile.h"
#include "msgbox.h"
#include "paths.h"
#include "picenv.h"
#include "pictures/colorscale.h"
#include "pictures/draw2d.h"
#include "pictures/frmMapPro.h"
#include "pictures/frmPic.h"
#include "pictures/frmPicPro.h"
#include "pictures/picfiles.h"
#include "pictures/picturemenus.h"
#include "qtdc.h"

namespace {

// The map painted in one piece by the engine, as the picture must show it.
QImage directdraw()
{
    QImage img = zk::dcImage(zk::elevgrid.nx(), zk::elevgrid.ny(), 0x808080);
    ZkDC dc = zk::dcOf(img);
    // No operation runs: no progress hook, or the engine would stop after
    // its first row.
    zk::engine::callback(nullptr);
    const zk::ColorChannels ch = zk::colorchannels();
    zk::engine::fastdraw(&zk::mapset, zk::elevgrid.engineArray(), &dc, 0, 0, int16_t(zk::elevgrid.ubound1()),
                         int16_t(zk::elevgrid.ubound2()), zk::alt.data(), ch.red.data(), ch.green.data(),
                         ch.blue.data(), zk::stratcolors <= 0 ? -1 : 0);
    return img;
}

// Pixels that differ (colour only), outside an optional rectangle.
int differences(const QImage &a, const QImage &b, const QRect &skip = {})
{
    if (a.size() != b.size()) return -1;
    QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c)
            if (!skip.contains(c, r) && (x.pixel(c, r) & 0xFFFFFF) != (y.pixel(c, r) & 0xFFFFFF)) ++n;
    return n;
}

// Runs `act` once the next modal dialog of that name is up.
void whenmodal(const char *name, std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [name, act] {
        QWidget *m = QApplication::activeModalWidget();
        QVERIFY2(m && m->objectName() == QLatin1String(name), name);
        act(m);
    });
}

}  // namespace

class TestMapRoad : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;
    QTemporaryDir tmp;
    QString root;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        zk::paths::setUserFolder(tmp.filePath(QStringLiteral("user")));
        zk::paths::setProgramFolder(tmp.filePath(QStringLiteral("prog")));
        QDir().mkpath(tmp.filePath(QStringLiteral("prog")));
        root = tmp.filePath(QStringLiteral("terrain")) + QLatin1Char('/');
        zk::demo::DemoRegion region;
        region.west = -75;
        region.east = -72;
        region.south = 45;
        region.north = 46;
        QVERIFY(zk::demo::writedemodata(root, {}, region));
        env = std::make_unique<zktest::TestMain>();
        zk::installpicturemenus(nullptr);
        // The drawing values a new document starts with.
        zk::mapset = MapSettings{};
        zk::mapset.con = 30;
        zk::mapset.bri = 70;
        zk::mapset.light = 335;
        zk::mapset.Mapmode = 5;
        zk::mapset.size = 200;
        zk::mapset.lon = -73;
        zk::mapset.lat = 45;
        zk::settings.drv = {QStringLiteral("C"), QStringLiteral("C"), QStringLiteral("C")};
        zk::settings.showobjects = false;
        zk::elevgrid.redim(639, 479);
    }

    void cleanupTestCase()
    {
        env.reset();
        zk::paths::setUserFolder(QString());
        zk::paths::setProgramFolder(QString());
    }

    void extractDrawSaveReopen()
    {
        zk::MsgScript script;
        zk::mapfile.clear();

        // The map-properties window, filled as a user would.
        zk::frmMapPro *w = zk::showmappro();
        QVERIFY(w);
        QCOMPARE(zk::mapfile, QStringLiteral("Nouveau.map"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Propriétés de ..\\Nouveau.map"));
        auto type = [](QLineEdit *t, const QString &text) {
            t->selectAll();
            QTest::keyClicks(t, text);
        };
        type(w->Text1, QStringLiteral("-73.5"));
        type(w->Text2, QStringLiteral("45.5"));
        type(w->Text3, QStringLiteral("300"));
        type(w->Text4, QStringLiteral("200"));
        type(w->Text6, QStringLiteral("60"));
        for (int i = 0; i < 3; ++i) {
            type(w->Text7[size_t(i)], root);
            QTest::mouseClick(w->Check1[size_t(i)], Qt::LeftButton);
        }
        QCOMPARE(w->Text5->text(), QStringLiteral("90.00"));
        QTest::mouseClick(w->Command5, Qt::LeftButton);

        // Nothing was missing, the map is built and its picture drawn.
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(QLatin1Char('|'))));
        QCOMPARE(zk::runflag, int16_t(0));
        QVERIFY(!w->isVisible());
        QCOMPARE(zk::elevgrid.nx(), 300);
        QCOMPARE(zk::elevgrid.ny(), 200);
        QCOMPARE(zk::mapset.sources, uint8_t(7));
        QVERIFY(zk::mapset.hmax - zk::mapset.hmin > 100);
        QCOMPARE(zk::readsetting(QStringLiteral("DRV2"), "C"), root);

        zk::frmPic *pic = zk::activepic();
        QVERIFY(pic);
        QCOMPARE(pic->windowTitle(), QStringLiteral("..\\Nouveau.bmp"));
        QCOMPARE(pic->Pictype, int16_t(1));
        QCOMPARE(pic->source, QStringLiteral("Nouveau.map"));
        QCOMPARE(pic->lon1, zk::mapcorners.lon[0]);
        QCOMPARE(pic->lat3, zk::mapcorners.lat[2]);
        QCOMPARE(pic->hmax, zk::mapset.hmax);
        QCOMPARE(pic->Mapmode, int16_t(5));
        QCOMPARE(pic->Picture1->picture().size(), QSize(300, 200));
        QCOMPARE(differences(pic->Picture1->picture(), directdraw()), 0);
        QVERIFY(zk::curpic == pic);

        // Saved as a map and as a BMP with its calibration file.
        const QString map = tmp.filePath(QStringLiteral("road.map"));
        const QString bmp = tmp.filePath(QStringLiteral("road.bmp"));
        QVERIFY(zk::savemap(map));
        QVERIFY(zk::savepicture(pic, bmp));
        QVERIFY(QFile::exists(tmp.filePath(QStringLiteral("road.dat"))));
        const QImage drawn = pic->Picture1->picture();
        const MapSettings drawnWith = zk::mapset;

        // Everything gone, then reopened.
        env->closeAll();
        zk::elevgrid.redim(9, 9);
        zk::mapset = MapSettings{};
        QVERIFY(zk::openmap(map));
        QCOMPARE(zk::elevgrid.nx(), 300);
        QCOMPARE(zk::mapset.hmax, drawnWith.hmax);
        zk::frmPic *again = zk::openpicture(bmp, 0);
        QVERIFY(again);
        QCOMPARE(again->Pictype, int16_t(1));
        QCOMPARE(again->Mapmode, int16_t(5));
        QCOMPARE(again->lon1, zk::mapcorners.lon[0]);
        QCOMPARE(differences(again->Picture1->picture(), drawn), 0);
        QCOMPARE(differences(again->Picture1->picture(), directdraw()), 0);
        // It is the map's 2D picture: found without a question.
        QVERIFY(zk::findsource2d());
        QVERIFY(zk::curpic == again);
        QVERIFY(script.shown().isEmpty());
    }

    // Every draw mode and contour switch through the picture-properties
    // dialog: the redrawn picture is the engine's picture of the grid.
    void redrawEachMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("c10");
        QTest::addColumn<bool>("c100");
        QTest::addColumn<bool>("c500");
        QTest::addColumn<bool>("legend");
        QTest::newRow("lunaire") << 0 << false << false << false << false;
        QTest::newRow("absolu, 100 m") << 1 << false << true << false << false;
        QTest::newRow("relatif, 10 m") << 2 << true << false << false << false;
        QTest::newRow("rayon X") << 3 << false << false << true << false;
        QTest::newRow("rayon X inversé, 100 et 500 m") << 4 << false << true << true << false;
        QTest::newRow("arc-en-ciel") << 5 << false << false << false << false;
        QTest::newRow("arc-en-ciel, légende, toutes courbes") << 5 << true << true << true << true;
    }
    void redrawEachMode()
    {
        QFETCH(int, mode);
        QFETCH(bool, c10);
        QFETCH(bool, c100);
        QFETCH(bool, c500);
        QFETCH(bool, legend);
        zk::MsgScript script;
        zk::frmPic *pic = zk::activepic();
        QVERIFY(pic && zk::issource2d(pic));
        zk::showlegend = legend ? 1 : 0;

        whenmodal("frmPicPro", [&](QWidget *m) {
            auto *d = static_cast<zk::frmPicPro *>(m);
            // On the option's mark: a short caption leaves its middle empty.
            QRadioButton *o = d->Option1[size_t(mode)];
            QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(8, o->height() / 2));
            if (d->Check1->isChecked() != c10) QTest::mouseClick(d->Check1, Qt::LeftButton);
            if (d->Check2->isChecked() != c100) QTest::mouseClick(d->Check2, Qt::LeftButton);
            if (d->Check4->isChecked() != c500) QTest::mouseClick(d->Check4, Qt::LeftButton);
            QTest::mouseClick(d->Command2, Qt::LeftButton);
        });
        zk::mnuFilePic_Click();

        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(zk::activepic(), pic);  // redrawn in place
        QCOMPARE(pic->Mapmode, int16_t(mode));
        QCOMPARE(pic->c1, uint8_t(c10 ? 1 : 0));
        QCOMPARE(pic->c2, uint8_t((c100 ? 1 : 0) + (c500 ? 2 : 0)));
        const QImage shown = pic->Picture1->picture();
        if (legend) {
            // The legend sits in the bottom-right corner, on light grey.
            QVERIFY(differences(shown, directdraw()) > 0);
            QCOMPARE(QColor(shown.pixel(shown.width() - 5, shown.height() - 4)).red(), 200);
            QCOMPARE(differences(shown, directdraw(), QRect(0, shown.height() - 60, shown.width(), 60)), 0);
        } else {
            QCOMPARE(differences(shown, directdraw()), 0);
        }
        QVERIFY(script.shown().isEmpty());
    }
};

QTEST_MAIN(TestMapRoad)
#include "test_maproad.moc"
