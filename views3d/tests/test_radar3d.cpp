// The radar coverage on a 3D picture inside the main window (offscreen):
// the cloud painted where the sweep finds its targets, the keep question,
// the windows and units it refuses, unsound tables and settings refused
// with a reason before anything is cleared, a 3D picture of another map,
// Stop during the sweep, and the visual dialog's "Radar 3D" button.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <cmath>
#include <limits>

#include "app/mainwindow.h"
#include "base/longop.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "pictures/covset.h"
#include "pictures/frmPic.h"
#include "pictures/geo3d.h"
#include "pictures/picbox.h"
#include "pictures/picfiles.h"
#include "pictures/view3d.h"
#include "radio/coverage.h"
#include "radio/frmVisual.h"
#include "radio/radiodata.h"
#include "testenv.h"
#include "views3d/draw3d.h"
#include "views3d/radar3d.h"

using zk::frmPic;

namespace {

const QString kKeep = QStringLiteral("Garder la couverture dans l'image?");
const QString kStopped = QStringLiteral("Arrêté par l'utilisateur.");
const QString kDone = QStringLiteral("Complété.");
const QString kOtherMap = QStringLiteral("L'image 3D n'a pas été dessinée avec la carte en mémoire.");

// The test map is the half-degree map: 41 x 31 cells on corners from 10 W
// to 10 E and 40 N to 55 N, half a degree a cell, 10 km from south to north
// (3 cells a km), flat at 0 m. The unit stands in the middle cell (20, 15),
// at 0 E 47.5 N.
using viewtest::setHalfDegreeMap;

// Pixels that differ between two images of one size.
int changed(const QImage &a, const QImage &b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// The table of the tests: 12 entries every 0.5 km, the target 100 m above
// the sensor.
QByteArray goodTable()
{
    QByteArray t = "12, 0.5\r\n";
    for (int i = 1; i <= 12; ++i) t += "0, 100\r\n";
    return t;
}

}  // namespace

class TestRadar3d : public viewtest::MainEnv {
    Q_OBJECT

    frmPic *pic = nullptr;  // the 3D picture of the test map

    void writeTable(const QString &name, const QByteArray &content)
    {
        QFile f(QDir(userFolder()).filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    void closeAll() override
    {
        MainEnv::closeAll();
        pic = nullptr;
    }

    // The map's 2D picture (the colour source) and a 3D picture drawn from
    // it, seen from the south at 40 degrees, 5 pixels a cell at the centre.
    frmPic *draw()
    {
        QImage img(zk::elevgrid.nx(), zk::elevgrid.ny(), QImage::Format_RGBX8888);
        img.fill(QColor(40, 90, 30));
        if (!viewtest::mapPicture(img)) return nullptr;
        zk::set3dparams(0);
        zk::view3d.theta = 0;
        zk::view3d.phi = 40;
        zk::view3d.disto = 200;
        zk::new3d = -1;
        zk::MsgScript quiet;
        zk::draw3d();
        frmPic *w = zk::activepic();
        return w && w->Pictype == 3 ? w : nullptr;
    }

    // What the picture should show after a coverage with the test table
    // from the generator's first number: the sweep replayed on a recorder
    // with the values the picture and the map give (sensor in cell 20, 15
    // of both, 3 cells a km), each target lightening its pixel halfway to
    // white.
    QImage expected(frmPic *w, const QImage &before, float h0)
    {
        zk::RadarTable t;
        if (!zk::readradar(QStringLiteral("good.rad"), t).isEmpty()) return QImage();
        zk::Radar3DSweep p = viewtest::radarSweep(t, h0, 20, 15, 3);
        p.azmin = zk::covset.azmin;
        p.azmax = zk::covset.azmax;
        p.azstep = zk::covset.azstep;
        viewtest::SweepRecorder rec;
        zk::resetradarrandom();
        zk::radar3dsweep(p, rec);
        zk::setpic3dview(w);
        QImage img = before;
        for (const zk::RadarTarget &tg : rec.targets) {
            zk::ProjPoint pt;
            if (!zk::project3d(tg.x, tg.y, tg.z, pt)) continue;
            if (pt.x < 0 || pt.y < 0 || pt.x >= img.width() || pt.y >= img.height()) continue;
            const QColor c = img.pixelColor(pt.x, pt.y);
            img.setPixelColor(pt.x, pt.y, QColor(c.red() / 2 + 128, c.green() / 2 + 128, c.blue() / 2 + 128));
        }
        return img;
    }

    // Runs the coverage with the scripted answer; returns what was asked.
    QStringList run(frmPic *w, const QString &table, int answer = zk::idNo)
    {
        zk::MsgScript script;
        script.answer(answer);
        zk::resetradarrandom();
        zk::radar3d(w, table);
        return script.texts();
    }

    // A mark in the drawing layer, to see whether the layer was cleared.
    static void mark(frmPic *w)
    {
        w->Picture1->image().setPixelColor(3, 3, QColor(1, 2, 3));
    }
    static bool marked(frmPic *w) { return w->Picture1->image().pixelColor(3, 3) == QColor(1, 2, 3); }

private slots:
    void initTestCase()
    {
        QDir().mkpath(userFolder());
        startMain();
        writeTable(QStringLiteral("good.rad"), goodTable());
    }
    void init()
    {
        closeAll();
        setHalfDegreeMap();
        zk::covset.azmin = 0;
        zk::covset.azmax = 360;
        zk::covset.azstep = 1;
        zk::covset.sensorh = 2;
        zk::curunit = 1;
        viewtest::setUnit(1, 0, 47.5f);
        pic = draw();
        QVERIFY(pic);
        main->label2()->setText(QString());
    }

    // A fine azimuth step gives batches of targets large enough to be
    // painted on several threads; the picture must not tell.
    void drawsTheCloud_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<float>("azstep");
        QTest::addColumn<int>("threads");
        QTest::newRow("kept") << int(zk::idYes) << 1.0f << 1;
        QTest::newRow("not kept") << int(zk::idNo) << 1.0f << 1;
        QTest::newRow("fine step, 4 threads") << int(zk::idNo) << 0.02f << 4;
        QTest::newRow("fine step, 1 thread") << int(zk::idNo) << 0.02f << 1;
    }
    void drawsTheCloud()
    {
        QFETCH(int, answer);
        QFETCH(float, azstep);
        QFETCH(int, threads);
        zk::covset.azstep = azstep;
        qputenv("ZK_THREADS", QByteArray::number(threads));
        const auto unset = qScopeGuard([] { qunsetenv("ZK_THREADS"); });
        const QImage drawn = pic->Picture1->picture();
        mark(pic);
        const QImage before = pic->Picture1->clearedImage();
        const QStringList asked = run(pic, QStringLiteral("good.rad"), answer);
        QCOMPARE(asked, QStringList{kKeep});
        QCOMPARE(main->label2()->text(), kDone);
        QCOMPARE(zk::runflag, int16_t(0));
        const QImage after = pic->Picture1->image();
        // The earlier drawing layer was cleared, the cloud painted over the
        // picture exactly where the sweep put its targets.
        QVERIFY(!marked(pic));
        QVERIFY(changed(before, after) > 100);
        QCOMPARE(after, expected(pic, before, 2));
        // Lightened halfway to white: every changed channel is at least 128.
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                if (after.pixel(x, y) != before.pixel(x, y)) {
                    const QColor c = after.pixelColor(x, y);
                    QVERIFY(c.red() >= 128 && c.green() >= 128 && c.blue() >= 128);
                }
        // Kept: the cloud now belongs to the picture; otherwise the picture is
        // still the 3D drawing.
        if (answer == zk::idYes) QCOMPARE(pic->Picture1->picture(), after);
        else QCOMPARE(pic->Picture1->picture(), drawn);
        // The global view is left set to the picture's.
        QCOMPARE(zk::view3d.theta, pic->theta);
        QCOMPARE(zk::view3d.disto, pic->disto);
        QCOMPARE(zk::progtotal, 12.0f);
    }

    // A table of one entry: no ring, nothing drawn; the table is sound, so
    // the question is asked. The layer is cleared all the same, so an
    // earlier cloud that was not kept disappears.
    void oneEntryClearsAndDrawsNothing()
    {
        writeTable(QStringLiteral("one.rad"), "1, 5, -100, 100");
        QCOMPARE(run(pic, QStringLiteral("good.rad")), QStringList{kKeep});
        QVERIFY(changed(pic->Picture1->image(), pic->Picture1->clearedImage()) > 0);
        QCOMPARE(run(pic, QStringLiteral("one.rad")), QStringList{kKeep});
        QCOMPARE(main->label2()->text(), kDone);
        QCOMPARE(pic->Picture1->image(), pic->Picture1->clearedImage());
    }

    // The text's cases in which nothing starts: no question, the layer as
    // it was, and the message pane says "Arrêté par l'utilisateur.".
    void notStarted_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("2D picture") << "2d";
        QTest::newRow("no window") << "none";
        QTest::newRow("unit east of the picture") << "east";
        QTest::newRow("unit north of the picture") << "north";
        QTest::newRow("unit not a number") << "nan";
        QTest::newRow("sensor above the camera") << "high";
        QTest::newRow("no current unit") << "nounit";
    }
    void notStarted()
    {
        QFETCH(QString, what);
        frmPic *w = pic;
        if (what == "2d") {
            w = zk::curpic.data();
            QVERIFY(w && w->Pictype == 1);
        } else if (what == "none") {
            w = nullptr;
        } else if (what == "east") {
            zk::units[1].lon = 10.01f;
        } else if (what == "north") {
            zk::units[1].lat = 55.01f;
        } else if (what == "nan") {
            zk::units[1].lon = std::numeric_limits<float>::quiet_NaN();
        } else if (what == "high") {
            zk::covset.sensorh = 1e6f;
        } else if (what == "nounit") {
            zk::curunit = 0;
        }
        mark(pic);
        if (w && w != pic) mark(w);
        const QImage before = pic->Picture1->image();
        QVERIFY(run(w, QStringLiteral("good.rad")).isEmpty());
        QCOMPARE(main->label2()->text(), kStopped);
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(pic->Picture1->image(), before);
        if (w && w != pic) QVERIFY(marked(w));
        QVERIFY(main->menu(1)->menuAction()->isEnabled());
    }

    // The edges belong to the picture: a unit on the western or southern
    // edge (fraction 0), or on the south-west corner, is covered.
    void unitOnTheEdges_data()
    {
        QTest::addColumn<float>("lon");
        QTest::addColumn<float>("lat");
        QTest::newRow("western edge") << -10.0f << 47.5f;
        QTest::newRow("southern edge") << 0.0f << 40.0f;
        QTest::newRow("south-west corner") << -10.0f << 40.0f;
        QTest::newRow("north-east corner") << 10.0f << 55.0f;
    }
    void unitOnTheEdges()
    {
        QFETCH(float, lon);
        QFETCH(float, lat);
        zk::units[1].lon = lon;
        zk::units[1].lat = lat;
        const QImage before = pic->Picture1->clearedImage();
        QCOMPARE(run(pic, QStringLiteral("good.rad")), QStringList{kKeep});
        QCOMPARE(main->label2()->text(), kDone);
        QVERIFY(changed(before, pic->Picture1->image()) > 20);
    }

    // Tables that cannot be used are refused with the reason, before the
    // operation begins: nothing cleared or drawn, no question, no
    // "Complété.", the program idle.
    void badTables_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");  // null: no file
        QTest::addColumn<QString>("reason");
        QTest::newRow("no table chosen") << "" << QByteArray() << "Pas de fichier radar";
        QTest::newRow("blank name") << "   " << QByteArray() << "Pas de fichier radar";
        QTest::newRow("missing file") << "absent.rad" << QByteArray() << "Fichier introuvable: absent.rad";
        QTest::newRow("count 0") << "zero.rad" << QByteArray("0, 5\r\n") << "Nombre de tranches invalide dans zero.rad";
        QTest::newRow("count -3") << "neg.rad" << QByteArray("-3, 5, 0, 1, 0, 2, 0, 3")
                                  << "Nombre de tranches invalide dans neg.rad";
        QTest::newRow("count 1e9") << "big.rad" << QByteArray("1000000000, 5, 0, 1")
                                   << "Nombre de tranches invalide dans big.rad";
        QTest::newRow("step 0") << "flat.rad" << QByteArray("3, 0, 0, 1, 0, 2, 0, 3")
                                << "Longueur de tranche nulle dans flat.rad";
        QTest::newRow("step -2") << "back.rad" << QByteArray("3, -2, 0, 1, 0, 2, 0, 3")
                                 << "Longueur de tranche nulle dans back.rad";
        QTest::newRow("step not a number") << "nan.rad" << QByteArray("3, nan, 0, 1, 0, 2, 0, 3")
                                           << "Valeur invalide \"nan\" dans nan.rad";
        QTest::newRow("text") << "text.rad" << QByteArray("Radar de veille\r\nportée 40 km\r\n")
                              << "Valeur invalide \"Radar\" dans text.rad";
        QTest::newRow("too few pairs") << "short.rad" << QByteArray("5, 1, 0, 10, 0, 20")
                                       << "Fichier radar incomplet: short.rad";
        QTest::newRow("empty file") << "empty.rad" << QByteArray("") << "Fichier radar incomplet: empty.rad";
    }
    void badTables()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        if (!content.isNull()) writeTable(name, content);
        mark(pic);
        const QImage before = pic->Picture1->image();
        QVERIFY(run(pic, name).isEmpty());
        QVERIFY2(main->label2()->text().startsWith(reason), qPrintable(main->label2()->text()));
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(pic->Picture1->image(), before);
        QVERIFY(marked(pic));
        QVERIFY(main->menu(1)->menuAction()->isEnabled());
        QVERIFY(!main->mnuStop()->isVisible());
    }

    // Azimuth settings from a network file that cannot be swept.
    void badAzimuths_data()
    {
        QTest::addColumn<float>("azmin");
        QTest::addColumn<float>("azmax");
        QTest::addColumn<float>("azstep");
        QTest::addColumn<QString>("reason");
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        const QString step = QStringLiteral("Le pas d'azimut doit être positif.");
        const QString sweep = QStringLiteral("Le balayage d'azimut est invalide.");
        QTest::newRow("step 0") << 0.0f << 360.0f << 0.0f << step;
        QTest::newRow("step -1") << 0.0f << 360.0f << -1.0f << step;
        QTest::newRow("step not a number") << 0.0f << 360.0f << nan << step;
        QTest::newRow("end before start") << 200.0f << 100.0f << 1.0f << sweep;
        QTest::newRow("endless end") << 0.0f << inf << 1.0f << sweep;
        QTest::newRow("start not a number") << nan << 360.0f << 1.0f << sweep;
        QTest::newRow("step too fine") << 0.0f << 360.0f << 1e-5f << sweep;
    }
    void badAzimuths()
    {
        QFETCH(float, azmin);
        QFETCH(float, azmax);
        QFETCH(float, azstep);
        QFETCH(QString, reason);
        zk::covset.azmin = azmin;
        zk::covset.azmax = azmax;
        zk::covset.azstep = azstep;
        mark(pic);
        QVERIFY(run(pic, QStringLiteral("good.rad")).isEmpty());
        QCOMPARE(main->label2()->text(), reason);
        QVERIFY(marked(pic));
        QCOMPARE(zk::runflag, int16_t(0));
    }

    // The sweep tests the map in memory and the drawing uses the picture's
    // own projection: a 3D picture that was not drawn from the map now in
    // memory is refused rather than clouded over the wrong terrain.
    void otherMapRefused_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("map moved west") << "moved";
        QTest::newRow("finer grid on the same corners") << "grid";
        QTest::newRow("picture without rows") << "h3";
        QTest::newRow("picture without extent in km") << "size";
    }
    void otherMapRefused()
    {
        QFETCH(QString, what);
        if (what == "moved") setHalfDegreeMap(nullptr, 40, 30, -10.5f);
        else if (what == "grid") zk::elevgrid.redim(80, 60);
        else if (what == "h3") pic->h3 = 0;
        else if (what == "size") pic->size = 0;
        mark(pic);
        QVERIFY(run(pic, QStringLiteral("good.rad")).isEmpty());
        QCOMPARE(main->label2()->text(), kOtherMap);
        QVERIFY(marked(pic));
        QCOMPARE(zk::runflag, int16_t(0));
        // The same map back in memory: the picture is accepted again.
        if (what == "moved" || what == "grid") {
            setHalfDegreeMap();
            QCOMPARE(run(pic, QStringLiteral("good.rad")), QStringList{kKeep});
            QCOMPARE(main->label2()->text(), kDone);
        }
    }

    // A 3D picture of the map read back from its file: the calibration
    // file keeps seven digits, so its corners differ from the map's by a
    // little; that is still the map in memory.
    void cornersRoundedByTheFileAccepted()
    {
        pic->lon1 += 0.00004f;
        pic->lat1 -= 0.00004f;
        pic->lon2 -= 0.00004f;
        pic->lat4 += 0.00004f;
        QVERIFY(zk::radar3dsamemap(pic));
        QCOMPARE(run(pic, QStringLiteral("good.rad")), QStringList{kKeep});
        QCOMPARE(main->label2()->text(), kDone);
        pic->lon2 += 0.0002f;
        QVERIFY(!zk::radar3dsamemap(pic));
    }

    // Stop during the sweep: the rings drawn so far stay on the screen, no
    // question, nothing kept.
    void stopDuringTheSweep()
    {
        const QImage drawn = pic->Picture1->picture();
        const QImage before = pic->Picture1->clearedImage();
        viewtest::StopDuring stopper(*main, zk::opcoverage, 3);
        const QStringList asked = run(pic, QStringLiteral("good.rad"));
        stopper.stop();
        QVERIFY(asked.isEmpty());
        QCOMPARE(main->label2()->text(), kStopped);
        QCOMPARE(zk::runflag, int16_t(0));
        const int some = changed(before, pic->Picture1->image());
        QVERIFY(some > 0);
        QCOMPARE(pic->Picture1->picture(), drawn);
        // Fewer points than the whole cloud.
        const int all = changed(before, expected(pic, before, 2));
        QVERIFY2(some < all, qPrintable(QStringLiteral("%1 of %2").arg(some).arg(all)));
    }

    // "Radar 3D" in the visual coverage dialog draws on the active 3D
    // picture with the table chosen there.
    void dialogButton()
    {
        QVERIFY(zk::activepic() == pic);
        const QImage before = pic->Picture1->clearedImage();
        QString table;
        int button = -1;
        {
            zk::frmVisual dlg;
            QVERIFY(!dlg.Command1[3]->isHidden());
            dlg.Check1->setChecked(true);
            dlg.Combo2->setCurrentIndex(dlg.Combo2->findText(QStringLiteral("good.rad")));
            dlg.Command1[3]->click();
            button = dlg.applied();
            table = dlg.table();
        }
        QCOMPARE(button, 3);
        QCOMPARE(table, QStringLiteral("good.rad"));
        zk::MsgScript script;
        script.answer(zk::idNo);
        zk::resetradarrandom();
        zk::visualapplied(button, table);
        QCOMPARE(script.texts(), QStringList{kKeep});
        QCOMPARE(pic->Picture1->image(), expected(pic, before, 2));
    }
};

QTEST_MAIN(TestRadar3d)
#include "test_radar3d.moc"
