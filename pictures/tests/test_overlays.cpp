// Cities, labels and tracks drawn on a picture of the map: crosses, texts
// and boxes by position code and background, the object folders searched
// for a picture (tile folders in any case), lines and filled surfaces with
// copy and mask pens, the stop request, the main window's object command,
// and track files written by gpsbabel read as gpsbabel reads them.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "base/longop.h"
#include "base/settings.h"
#include "engine.h"
#include "msgbox.h"
#include "overlayenv.h"
#include "paths.h"
#include "picenv.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/objectfiles.h"
#include "pictures/overlaymenus.h"
#include "pictures/overlays.h"
#include "pictures/picfiles.h"

using zk::frmPic;
using zktest::rgbAt;

namespace {

constexpr uint32_t kGrey = 0x808080;

QByteArray crlf(const QStringList &lines)
{
    QByteArray b;
    for (const QString &l : lines) b += l.toLatin1() + "\r\n";
    return b;
}

QByteArray trackFile(const QString &attr, const QStringList &points, const QString &count = QString())
{
    QStringList l{QStringLiteral("OziExplorer Track Point File Version 2.1"), QStringLiteral("WGS 84"),
                  QStringLiteral("Altitude is in Feet"), QStringLiteral("Reserved 3"), attr,
                  count.isNull() ? QString::number(points.size()) : count};
    l += points;
    return crlf(l);
}

}  // namespace

class TestOverlays : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;
    std::unique_ptr<QTemporaryDir> tmp;
    QString user, prog, root;

    // A picture of the test map (NW -10, 50; SE 10, 40; 0.1 degree a pixel):
    // lon gives x = (lon + 10) * 10, lat gives y = (50 - lat) * 10.
    frmPic *mapPic(uint32_t colour = kGrey)
    {
        frmPic *w = zk::openpicture(QString(), -1);
        zktest::mapCorners(w);
        w->Picture1->setPicture(zktest::solid(201, 101, colour));
        return w;
    }
    QString objectFolder() const { return user + QStringLiteral("/object/"); }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        env = std::make_unique<zktest::TestMain>();
    }
    void cleanupTestCase()
    {
        env.reset();
        zk::paths::setProgramFolder(QString());
        zk::paths::setUserFolder(QString());
    }
    void init()
    {
        zktest::setTestMap();
        tmp = std::make_unique<QTemporaryDir>();
        user = tmp->path() + QStringLiteral("/user");
        prog = tmp->path() + QStringLiteral("/prog");
        root = tmp->path() + QStringLiteral("/disc");
        QDir().mkpath(user);
        QDir().mkpath(prog);
        zk::paths::setUserFolder(user);
        zk::paths::setProgramFolder(prog);
        zk::settings.objectdrive = root;
        zk::settings.drawfontname = QStringLiteral("MS Sans Serif");
        zk::settings.drawfontsize = 8;
        zk::settings.drawfontbold = true;
        zk::settings.drawfontitalic = false;
        zk::settings.drawtransparent = false;
        zk::runflag = 1;
    }
    void cleanup()
    {
        env->closeAll();
        zk::runflag = 0;
    }

    // ---- labels -------------------------------------------------------------

    void cityWithBoxInTheInverseColour()
    {
        QVERIFY(zktest::writeFile(user + "/cities.dat", QByteArray("\"Code\",\"Lat\",\"Lon\",\"Nom\"\r\n"
                                                                  "\"FF\",45,0,\"Ville\"\r\n")));
        frmPic *w = mapPic();
        const QImage before = w->Picture1->image().copy();
        zk::drawcities(w, false, QStringLiteral("cities.dat"));
        const QImage &after = w->Picture1->image();
        // The cross, where the box drawn after it does not cover it.
        QCOMPARE(rgbAt(after, 98, 50), 0x0000FFu);
        QCOMPARE(rgbAt(after, 99, 50), 0x0000FFu);
        QCOMPARE(rgbAt(after, 100, 48), 0x0000FFu);
        QCOMPARE(rgbAt(after, 97, 50), kGrey);
        QCOMPARE(rgbAt(after, 100, 47), kGrey);
        // The box below and right of the point, with red text on it.
        const QRect r = zktest::changed(before, after);
        QCOMPARE(r.topLeft(), QPoint(98, 48));
        QVERIFY(r.width() > 15 && r.height() > 8);
        const QRect box(100, 50, r.right() - 99, r.bottom() - 49);
        QVERIFY(zktest::count(after, box, 0xFFFF00) > box.width() * box.height() / 2);
        QVERIFY(zktest::count(after, box, 0x0000FF) > 5);
        // Not kept: clearing the layer removes it.
        w->Picture1->cls();
        QCOMPARE(rgbAt(w->Picture1->image(), 98, 50), kGrey);
    }

    void cityTransparentAndKept()
    {
        zk::settings.drawtransparent = true;
        QVERIFY(zktest::writeFile(user + "/cities.dat", QByteArray("h\r\n\"FF\",45,0,\"Ville\"\r\n")));
        frmPic *w = mapPic();
        zk::drawcities(w, true, QStringLiteral("Cities.dat"));
        const QImage &after = w->Picture1->image();
        QCOMPARE(zktest::count(after, after.rect(), 0xFFFF00), 0);
        QCOMPARE(rgbAt(after, 102, 50), 0x0000FFu);  // the whole cross
        QCOMPARE(rgbAt(after, 100, 52), 0x0000FFu);
        QCOMPARE(rgbAt(w->Picture1->picture(), 102, 50), 0x0000FFu);
    }

    void labelPlacements_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("side");   // -1: the text left of the point, 0: centred on it, 1: right
        QTest::addColumn<int>("level");  // -1: above the point, 0: centred, 1: below
        QTest::addColumn<uint>("boxcolour");
        QTest::newRow("0 below right, white box") << "FF,45,0,Texte,0,FFFFFF" << 1 << 1 << 0xFFFFFFu;
        QTest::newRow("1 above right") << "FF,45,0,Texte,1,FFFFFF" << 1 << -1 << 0xFFFFFFu;
        QTest::newRow("2 above left") << "FF,45,0,Texte,2,FFFFFF" << -1 << -1 << 0xFFFFFFu;
        QTest::newRow("3 left") << "FF,45,0,Texte,3,FFFFFF" << -1 << 1 << 0xFFFFFFu;
        QTest::newRow("4 centred") << "FF,45,0,Texte,4,FFFFFF" << 0 << 0 << 0xFFFFFFu;
        QTest::newRow("2.5 counts as 0, no box") << "FF,45,0,Texte,2.5,-1" << 1 << 1 << 0u;
    }
    void labelPlacements()
    {
        QFETCH(QString, line);
        QFETCH(int, side);
        QFETCH(int, level);
        QFETCH(uint, boxcolour);
        const QString file = root + "/labels.dat";
        QVERIFY(zktest::writeFile(file, crlf({QStringLiteral("Kestrova Labels"), line})));
        frmPic *w = mapPic();
        const QImage before = w->Picture1->image().copy();
        zk::drawcities(w, false, file);
        const QImage &after = w->Picture1->image();
        const QRect r = zktest::changed(before, after);
        QVERIFY(r.isValid());
        const int x = 100, y = 50;  // lon 0, lat 45
        const auto where = [](int lo, int hi, int at) { return hi < at ? -1 : lo > at ? 1 : 0; };
        if (side != 0) QCOMPARE(where(r.left() + 3, r.right() - 3, x), side);
        else QVERIFY(std::abs(r.left() + r.right() - 2 * x) <= 2);
        if (level != 0) QCOMPARE(where(r.top() + 3, r.bottom() - 3, y), level);
        else QVERIFY(std::abs(r.top() + r.bottom() - 2 * y) <= 2);
        if (boxcolour) QVERIFY(zktest::count(after, r, boxcolour) > 20);
        else QCOMPARE(zktest::count(after, after.rect(), 0xFFFFFF), 0);
    }

    void crossOnlyWhenNotCentred()
    {
        const QString file = root + "/labels.dat";
        frmPic *w = mapPic();
        const QImage before = w->Picture1->image().copy();
        QVERIFY(zktest::writeFile(file, crlf({"Kestrova Labels", "FF,45,0,,4,-1"})));
        zk::drawcities(w, false, file);
        QVERIFY(!zktest::changed(before, w->Picture1->image()).isValid());
        QVERIFY(zktest::writeFile(file, crlf({"Kestrova Labels", "FF,45,0,  ,0,-1"})));
        zk::drawcities(w, false, file);
        QCOMPARE(zktest::changed(before, w->Picture1->image()), QRect(98, 48, 5, 5));
        QCOMPARE(zktest::count(w->Picture1->image(), QRect(98, 48, 5, 5), 0x0000FF), 9);
    }

    void labelsThatDrawNothing_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("three fields") << "FF,45,0";
        QTest::newRow("off the picture") << "FF,30,0,Loin,0,-1";
        QTest::newRow("west of it") << "FF,45,-11,Loin,0,-1";
    }
    void labelsThatDrawNothing()
    {
        QFETCH(QString, line);
        const QString file = root + "/l.dat";
        QVERIFY(zktest::writeFile(file, crlf({QStringLiteral("Kestrova Labels"), line})));
        frmPic *w = mapPic();
        const QImage before = w->Picture1->image().copy();
        zk::drawcities(w, false, file);
        QVERIFY(!zktest::changed(before, w->Picture1->image()).isValid());
        zk::drawcities(w, false, root + "/missing.dat");
        QVERIFY(!zktest::changed(before, w->Picture1->image()).isValid());
    }

    void longitudeSignsOfLabelsAndCities()
    {
        QVERIFY(zktest::writeFile(root + "/labels.dat", crlf({"Kestrova Labels", "FF,45,5,,0,-1"})));
        QVERIFY(zktest::writeFile(user + "/cities.dat", crlf({"h", "FF00,45,5,"})));
        frmPic *w = mapPic();
        zk::drawcities(w, false, root + "/labels.dat");
        zk::drawcities(w, false, QStringLiteral("cities.dat"));
        QCOMPARE(rgbAt(w->Picture1->image(), 148, 50), 0x0000FFu);  // labels: east 5 -> x 150
        QCOMPARE(rgbAt(w->Picture1->image(), 48, 50), 0x00FF00u);   // cities: west 5 -> x 50
    }

    void labelTextWithACommaIsOneText()
    {
        // The same text written with its comma quoted, or cut at the comma
        // as the original reader did: the whole text is wider.
        const QString a = root + "/a.dat", b = root + "/b.dat";
        QVERIFY(zktest::writeFile(a, crlf({"Kestrova Labels", "FF,45,0,\"Saint-Jean, Québec\",0,-1"})));
        QVERIFY(zktest::writeFile(b, crlf({"Kestrova Labels", "FF,45,0,Saint-Jean,0,-1"})));
        frmPic *w = mapPic();
        QImage before = w->Picture1->image().copy();
        zk::drawcities(w, false, a);
        const QRect whole = zktest::changed(before, w->Picture1->image());
        w->Picture1->cls();
        zk::drawcities(w, false, b);
        const QRect cut = zktest::changed(before, w->Picture1->image());
        QVERIFY2(whole.width() > cut.width() + 20, qPrintable(QStringLiteral("%1 %2").arg(whole.width()).arg(cut.width())));
    }

    // ---- the object folders ---------------------------------------------------

    void foldersSearchedInOrder()
    {
        // Tiles in any case (two folders whose names differ only by case are
        // both taken); a tile that is not covered and a file of another
        // pattern are left out.
        for (const char *p : {"/object/w075/n45/L1a.plt", "/object/w075/N46/l1b.PLT", "/object/W074/n45/L1c.plt",
                              "/object/W073/N46/L1d.plt", "/object/w073/n46/L1g.plt", "/object/W076/N45/L1e.plt", "/object/w075/n45/F1f.plt"})
            QVERIFY(zktest::writeFile(root + QLatin1String(p), "x"));
        QDir(root).rename(QStringLiteral("object"), QStringLiteral("Object"));
        QVERIFY(zktest::writeFile(objectFolder() + "L1prog.plt", "x"));
        QVERIFY(zktest::writeFile(prog + "/object/L1prog.plt", "x"));  // hidden by the per-user copy
        QVERIFY(zktest::writeFile(prog + "/object/L1ship.plt", "x"));
        frmPic *w = mapPic();
        w->lon1 = w->lon4 = -74.3f;
        w->lon2 = w->lon3 = -72.8f;
        w->lat1 = w->lat2 = 46.1f;
        w->lat3 = w->lat4 = 45.2f;
        QStringList names;
        for (const QString &f : zk::objectfiles(w, QStringLiteral("L1*.plt")))
            names.append(QDir(tmp->path()).relativeFilePath(f));
        QCOMPARE(names, (QStringList{"user/object/L1prog.plt", "prog/object/L1ship.plt", "disc/Object/w075/n45/L1a.plt",
                                     "disc/Object/w075/N46/l1b.PLT", "disc/Object/W074/n45/L1c.plt",
                                     "disc/Object/W073/N46/L1d.plt", "disc/Object/w073/n46/L1g.plt"}));
    }

    void driveLetterRoot()
    {
        zk::settings.objectdrive = QStringLiteral("d");
        QVERIFY(zktest::writeFile(user + "/drives/D/object/E000/N45/x.dat", "x"));
        frmPic *w = mapPic();
        const QStringList f = zk::objectfiles(w, QStringLiteral("*.dat"));
        QCOMPARE(f.size(), 1);
        QVERIFY(f[0].endsWith(QLatin1String("/drives/D/object/E000/N45/x.dat")));
    }

    // ---- tracks -------------------------------------------------------------

    void lineDrawnWhereAnEndIsOnThePicture()
    {
        // (-5, 45) .. (5, 45) on, then far off and back, then a jump with
        // code 1, then both ends off the picture across it.
        QVERIFY(zktest::writeFile(objectFolder() + "L1X-line.plt",
                                  trackFile("0,1,255,Rouge", {"45,-5,1,0", "45,5,0,0", "45,30,0,0", "47,0,0,0",
                                                              "42,-5,1,0", "44,-20,1,0", "44,20,0,0"})));
        frmPic *w = mapPic();
        zk::drawobjects(w, QStringLiteral("L1*.plt"), false);
        const QImage &img = w->Picture1->image();
        QCOMPARE(rgbAt(img, 100, 50), 0x0000FFu);
        QCOMPARE(rgbAt(img, 50, 50), 0x0000FFu);
        QCOMPARE(rgbAt(img, 170, 50), 0x0000FFu);  // towards (30, 45), clamped 100 pixels out
        QCOMPARE(rgbAt(img, 100, 30), 0x0000FFu);  // back from (30, 45) to (0, 47)
        // No segment from (0, 47) to (-5, 42): code 1.
        QCOMPARE(rgbAt(img, 75, 55), kGrey);
        // Both ends off the picture: nothing across it.
        QCOMPARE(rgbAt(img, 100, 60), kGrey);
    }

    void widerLines()
    {
        QVERIFY(zktest::writeFile(objectFolder() + "L2-thick.plt", trackFile("0,5,16711680,Bleu", {"45,-5,1,0", "45,5,0,0"})));
        frmPic *w = mapPic();
        zk::drawobjects(w, QStringLiteral("L2*.plt"), false);
        const QImage &img = w->Picture1->image();
        QCOMPARE(rgbAt(img, 100, 48), 0xFF0000u);
        QCOMPARE(rgbAt(img, 100, 52), 0xFF0000u);
        QCOMPARE(rgbAt(img, 100, 55), kGrey);
    }

    void surfaces()
    {
        QVERIFY(zktest::writeFile(objectFolder() + "F1-surf.plt",
                                  trackFile("0,1,65280,Vert", {
                                                                  "48,-5,1,0", "48,5,0,0", "42,5,0,0", "42,-5,0,0",
                                                                  // A second surface by code 1, of two points only.
                                                                  "49,-9,1,0", "41,-9,0,0",
                                                                  // A third wholly off the picture.
                                                                  "30,-5,1,0", "30,5,0,0", "20,5,0,0",
                                                                  // The last one is filled at the end.
                                                                  "49,6,1,0", "49,8,0,0", "47,8,0,0",
                                                              })));
        frmPic *w = mapPic();
        zk::drawobjects(w, QStringLiteral("f1*.PLT"), true);
        const QImage &img = w->Picture1->image();
        QCOMPARE(rgbAt(img, 100, 50), 0x00FF00u);
        QCOMPARE(rgbAt(img, 60, 40), 0x00FF00u);
        QCOMPARE(rgbAt(img, 40, 50), kGrey);   // outside the square
        QCOMPARE(rgbAt(img, 10, 50), kGrey);   // the two-point surface
        QCOMPARE(rgbAt(img, 170, 12), 0x00FF00u);  // the last triangle
        QCOMPARE(zktest::count(img, QRect(0, 90, 201, 11), 0x00FF00), 0);
    }

    void maskPen_data()
    {
        QTest::addColumn<uint>("picture");
        QTest::addColumn<uint>("colour");
        QTest::addColumn<uint>("result");
        QTest::newRow("white leaves the picture") << 0x32C880u << 0xFFFFFFu << 0x32C880u;
        QTest::newRow("red keeps the red") << 0x32C880u << 0x0000FFu << 0x000080u;
    }
    void maskPen()
    {
        QFETCH(uint, picture);
        QFETCH(uint, colour);
        QFETCH(uint, result);
        QVERIFY(zktest::writeFile(objectFolder() + "F3m-mask.plt",
                                  trackFile(QStringLiteral("0,1,%1,Masque").arg(colour),
                                            {"48,-5,1,0", "48,5,0,0", "42,5,0,0", "42,-5,0,0"})));
        frmPic *w = mapPic(picture);
        zk::drawobjects(w, QStringLiteral("F3*.plt"), true);
        QCOMPARE(rgbAt(w->Picture1->image(), 100, 50), result);
        QCOMPARE(rgbAt(w->Picture1->image(), 10, 10), picture);
    }

    void labelsFileInATileFolder()
    {
        QVERIFY(zktest::writeFile(root + "/object/E000/N45/villes.DAT", crlf({"Kestrova Labels", "FF,45.5,0.5,,0,-1"})));
        frmPic *w = mapPic();
        zk::drawobjects(w, QStringLiteral("*.dat"), false);
        QCOMPARE(rgbAt(w->Picture1->image(), 103, 45), 0x0000FFu);
    }

    void stoppedDrawsNothing()
    {
        QVERIFY(zktest::writeFile(objectFolder() + "L1X-line.plt", trackFile("0,1,255,R", {"45,-5,1,0", "45,5,0,0"})));
        frmPic *w = mapPic();
        zk::runflag = 0;
        zk::drawobjects(w, QStringLiteral("L1*.plt"), false);
        QCOMPARE(rgbAt(w->Picture1->image(), 100, 50), kGrey);
    }

    void headerFieldCountsSkipFiles()
    {
        QVERIFY(zktest::writeFile(objectFolder() + "L1a.plt", trackFile("0,2", {"45,-5,1,0", "45,5,0,0"})));
        QVERIFY(zktest::writeFile(objectFolder() + "L1b.plt", trackFile("0,2,255,x", {"45,-5,1,0", "45,5,0,0"}, "12,3")));
        QVERIFY(zktest::writeFile(objectFolder() + "L1c.plt", QByteArray("\x00\x01\x02", 3)));
        frmPic *w = mapPic();
        zk::drawobjects(w, QStringLiteral("L1*.plt"), false);
        QCOMPARE(rgbAt(w->Picture1->image(), 100, 50), kGrey);
    }

    // ---- the main window's command ----------------------------------------------

    void objectCommand()
    {
        QVERIFY(zktest::writeFile(objectFolder() + "F0-s.plt",
                                  trackFile("0,1,65280,V", {"48,-5,1,0", "48,5,0,0", "42,5,0,0", "42,-5,0,0"})));
        QVERIFY(zktest::writeFile(objectFolder() + "L0-l.plt", trackFile("0,1,255,R", {"45,-8,1,0", "45,8,0,0"})));
        QVERIFY(zktest::writeFile(user + "/cities.dat", crlf({"h", "FF0000,41,-5,"})));
        zk::runflag = 0;
        frmPic *w = mapPic();
        env->area->setActiveSubWindow(w);
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::mnuObjects_Click(5);
        QCOMPARE(script.texts(), QStringList{"Garder objects dans l'image?"});
        QCOMPARE(zk::runflag, int16_t(0));
        const QImage &img = w->Picture1->image();
        QCOMPARE(rgbAt(img, 100, 48), 0x00FF00u);  // surface
        QCOMPARE(rgbAt(img, 100, 50), 0x0000FFu);  // the line over it (layer 0: surfaces first)
        QCOMPARE(rgbAt(img, 150, 88), 0xFF0000u);  // the city (-5 west positive: 5 east), its cross
        QCOMPARE(rgbAt(w->Picture1->picture(), 100, 50), kGrey);  // not kept

        // The world map and pictures without corners are left alone.
        w->Picture1->cls();
        w->Pictype = 0;
        zk::mnuObjects_Click(5);
        QCOMPARE(script.texts().size(), 1);
        QCOMPARE(rgbAt(w->Picture1->image(), 100, 50), kGrey);
    }

    void twoDDrawingAddsObjectsAndCities()
    {
        bool ok = false;
        zk::engine::callback(nullptr, &ok);
        QVERIFY2(ok, "the engine library is needed");
        zk::installoverlayservices();
        zk::settings.showobjects = true;
        zk::mapcorners.city = 1;
        QVERIFY(zktest::writeFile(objectFolder() + "L4-l.plt", trackFile("0,1,255,R", {"45,-8,1,0", "45,8,0,0"})));
        QVERIFY(zktest::writeFile(user + "/cities.dat", crlf({"h", "FF0000,41,-5,"})));
        zk::runflag = 0;
        frmPic *w = zk::openpicture(QString(), -1);
        zk::MsgScript script;
        QVERIFY(zk::draw2d(w, true));
        // Both are part of the picture: a drawing of its own keeps them.
        const QImage &img = w->Picture1->picture();
        QCOMPARE(rgbAt(img, 100, 50), 0x0000FFu);
        QCOMPARE(rgbAt(img, 150, 88), 0xFF0000u);
        zk::mapcorners.city = 0;
        zk::settings.showobjects = false;
    }

    // ---- gpsbabel ------------------------------------------------------------

    void gpsbabelTracksReadAlike()
    {
        QVERIFY2(zktest::haveTool("gpsbabel"), "gpsbabel is missing: install the Debian package gpsbabel (scripts/install-deps.sh)");
        const QString gpx = tmp->path() + "/in.gpx";
        QVERIFY(zktest::writeFile(gpx, QByteArray(
            "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"t\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
            "<trk><name>Route</name><trkseg>\n"
            "<trkpt lat=\"45.5\" lon=\"-5.25\"><ele>30.48</ele></trkpt>\n"
            "<trkpt lat=\"44.123456\" lon=\"0.000001\"><ele>-12.5</ele></trkpt>\n"
            "<trkpt lat=\"-0.5\" lon=\"9.9\"/>\n"
            "</trkseg><trkseg>\n"
            "<trkpt lat=\"41\" lon=\"-9.5\"><ele>1000</ele></trkpt>\n"
            "</trkseg></trk></gpx>\n")));
        const QString plt = objectFolder() + "L5-babel.plt";
        QDir().mkpath(objectFolder());
        QVERIFY(zktest::run("gpsbabel", {"-t", "-i", "gpx", "-f", gpx, "-o", "ozi", "-F", plt}));

        std::vector<zktest::GpsTrack> theirs;
        QVERIFY(zktest::gpsbabelTracks(plt, theirs));
        const auto lines = zk::readobjectlines(plt);
        QVERIFY(lines);
        const auto ours = zk::readtrack(*lines);
        QVERIFY(ours);
        // Sequences as ours starts them (code 1), against gpsbabel's tracks.
        std::vector<std::vector<zk::TrackPoint>> seqs;
        for (const zk::TrackPoint &p : ours->points) {
            if (p.start || seqs.empty()) seqs.emplace_back();
            seqs.back().push_back(p);
        }
        QCOMPARE(seqs.size(), theirs.size());
        size_t total = 0;
        for (size_t t = 0; t < seqs.size(); ++t) {
            QCOMPARE(seqs[t].size(), theirs[t].size());
            for (size_t k = 0; k < seqs[t].size(); ++k, ++total) {
                QVERIFY(std::fabs(seqs[t][k].lat - theirs[t][k].lat) < 1e-5);
                QVERIFY(std::fabs(seqs[t][k].lon - theirs[t][k].lon) < 1e-5);
                if (theirs[t][k].hasEle)
                    QVERIFY(std::fabs(seqs[t][k].alt_ft * 0.3048 - theirs[t][k].ele_m) < 0.01);
                else
                    QCOMPARE(seqs[t][k].alt_ft, -777.0);
            }
        }
        QCOMPARE(total, size_t(4));

        // gpsbabel writes 0 as the point count; the track is drawn all the same.
        frmPic *w = mapPic();
        zk::drawobjects(w, QStringLiteral("L5*.plt"), false);
        // Its colour is 255 (red): the segment from (-5.25, 45.5) to (0, 44.12).
        QCOMPARE(rgbAt(w->Picture1->image(), 48, 45), 0x0000FFu);
    }
};

QTEST_MAIN(TestOverlays)
#include "test_overlays.moc"
