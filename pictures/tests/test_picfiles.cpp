// Picture files and their calibration: open and save round trips byte for
// byte, the lookup of a picture, reuse of a window, untitled windows, the
// ADRG calibration file, damaged images and calibration files, write
// failures.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "base/settings.h"
#include "msgbox.h"
#include "paths.h"
#include "picenv.h"
#include "pictures/calibration.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"

using zk::frmPic;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &b)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(b);
}

void writeImage(const QString &path, const QImage &img, const char *format)
{
    QImageWriter w(path, format);
    QVERIFY2(w.write(img), qPrintable(w.errorString()));
}

// A 3 x 2 GIF: red with one blue pixel at (1, 0).
const unsigned char kGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x03, 0x00, 0x02, 0x00, 0xf0, 0x00, 0x00, 0xff, 0x00,
                              0x00, 0x00, 0x00, 0xff, 0x21, 0xf9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00,
                              0x00, 0x00, 0x03, 0x00, 0x02, 0x00, 0x00, 0x02, 0x03, 0x44, 0x80, 0x50, 0x00, 0x3b};

}  // namespace

class TestPicFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;
    std::unique_ptr<QTemporaryDir> tmp;
    QString dir, prog, net;

    static int windows() { return int(zk::picwindows().size()); }

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
    }

    void init()
    {
        zktest::setTestMap(21, 11);
        tmp = std::make_unique<QTemporaryDir>();
        dir = tmp->path() + "/pics";
        prog = tmp->path() + "/prog";
        net = tmp->path() + "/net";
        QDir().mkpath(dir);
        QDir().mkpath(prog);
        QDir().mkpath(net);
        zk::paths::setProgramFolder(prog);
        zk::settings.lastproject = net + "/Projet.net";
        zk::curpic = nullptr;
    }
    void cleanup()
    {
        env->closeAll();
        tmp.reset();
    }

    void roundTripByteForByte_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("plain") << 0;
        QTest::newRow("map") << 1;
        QTest::newRow("own corners") << 2;
        QTest::newRow("3D") << 3;
        QTest::newRow("station view") << 4;
    }
    void roundTripByteForByte()
    {
        QFETCH(int, kind);
        frmPic *w = zk::openpicture(QString(), -1);
        w->Picture1->setPicture(zktest::pattern(37, 23));
        w->Pictype = int16_t(kind);
        w->lon1 = -1.25f; w->lat1 = 47.125f;
        w->lon2 = 2.5f;   w->lat2 = 47.2f;
        w->lon3 = 2.4f;   w->lat3 = 46;
        w->lon4 = -1.3f;  w->lat4 = 45.9f;
        w->source = QStringLiteral("Carte \"Alpes\", 1:250 000 é");
        w->Mapmode = 5; w->maxx = 3000; w->minx = -12.5f; w->light = 335; w->con = 30; w->bri = 70;
        w->c1 = 1; w->c2 = 3; w->city = 255; w->hmin = 12; w->hmax = 2987; w->hmoy = 1043.25f;
        w->amplx = 1.5f; w->phi = 30; w->theta = 45; w->disto = 2; w->aper = 0.5f; w->size = 1;
        w->ofx = 10; w->ofy = -20; w->w3 = 640; w->h3 = 480; w->q3 = 0.25f;

        const QString name = dir + "/Alps.BMP";
        QVERIFY(zk::savepicture(w, name));
        QCOMPARE(w->Filename, name);
        QCOMPARE(w->windowTitle(), QStringLiteral("..\\Alps.BMP"));
        QCOMPARE(env->Label2->text(), QStringLiteral("Alps.dat a été enregistrée"));
        const QByteArray bmp = readAll(name), dat = readAll(dir + "/Alps.dat");
        QVERIFY(bmp.startsWith("BM"));
        QByteArray expect = QByteArray::number(kind) +
                            "\r\n-1.25,47.125\r\n2.5,47.2\r\n2.4,46\r\n-1.3,45.9\r\nCarte \"Alpes\", 1:250 000 \xE9\r\n";
        if (kind == 1) expect += "5\r\n3000\r\n-12.5\r\n335\r\n30\r\n70\r\n1\r\n3\r\n255\r\n12\r\n2987\r\n1043.25\r\n";
        if (kind == 3) expect += "1.5\r\n30\r\n45\r\n2\r\n0.5\r\n1\r\n10\r\n-20\r\n640\r\n480\r\n0.25\r\n";
        QCOMPARE(dat, expect);
        w->close();
        QApplication::processEvents();

        // Reopened by a name in other letters, as a network file lists it.
        frmPic *r = zk::openpicture(dir + "/alps.bmp", 2);
        QVERIFY(r);
        QCOMPARE(r->Filename, name);
        QCOMPARE(r->Pictype, int16_t(kind));
        QCOMPARE(r->source, QStringLiteral("Carte \"Alpes\", 1:250 000 é"));
        QCOMPARE(r->lat2, 47.2f);
        QCOMPARE(r->lon4, -1.3f);
        QCOMPARE(r->Picture1->picture().size(), QSize(37, 23));
        QCOMPARE(r->Picture1->picture().pixelColor(36, 22), QColor(36, 22, 7));
        if (kind == 1) {
            QCOMPARE(r->Mapmode, int16_t(5));
            QCOMPARE(r->c2, uint8_t(3));
            QCOMPARE(r->city, uint8_t(255));
            QCOMPARE(r->hmoy, 1043.25f);
        }
        if (kind == 3) {
            QCOMPARE(r->ofy, -20.0f);
            QCOMPARE(r->q3, 0.25f);
        }
        QVERIFY(zk::savepicture(r, dir + "/copy.bmp"));
        QCOMPARE(readAll(dir + "/copy.bmp"), bmp);
        QCOMPARE(readAll(dir + "/copy.dat"), dat);
    }

    void lookupOrder()
    {
        writeImage(net + "/a.bmp", zktest::pattern(5, 4), "bmp");
        writeImage(prog + "/B.bmp", zktest::pattern(6, 4), "bmp");
        zk::MsgScript script;
        frmPic *a = zk::openpicture(QStringLiteral("C:\\maps\\a.bmp"), 2);
        QVERIFY(a);
        QCOMPARE(a->Filename, net + "/a.bmp");
        QCOMPARE(a->windowTitle(), QStringLiteral("..\\a.bmp"));
        QCOMPARE(a->source, QStringLiteral("Image utilisateur"));
        frmPic *b = zk::openpicture(QStringLiteral("\"D:\\elsewhere\\b.BMP\""), 2);
        QVERIFY(b);
        QCOMPARE(b->Filename, prog + "/B.bmp");
        QCOMPARE(b->Picture1->scaleWidth(), 6);
        QCOMPARE(zk::curpic.data(), b);
        QCOMPARE(zk::activepic(), b);
        QVERIFY(script.shown().isEmpty());
    }

    void gifWithQuotes()
    {
        writeAll(dir + "/Pic.GIF", QByteArray(reinterpret_cast<const char *>(kGif), sizeof kGif));
        frmPic *w = zk::openpicture("\"" + dir + "/Pic.GIF\"", 0);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("..\\Pic.GIF"));
        const QImage &img = w->Picture1->picture();
        QCOMPARE(img.size(), QSize(3, 2));
        QCOMPARE(img.pixelColor(0, 0), QColor(255, 0, 0));
        QCOMPARE(img.pixelColor(1, 0), QColor(0, 0, 255));
    }

    void jpegOpens()
    {
        QImage img(64, 32, QImage::Format_RGB32);
        img.fill(QColor(0, 200, 0));
        writeImage(dir + "/photo.jpg", img, "jpg");
        frmPic *w = zk::openpicture(dir + "/photo.jpg", 2);
        QVERIFY(w);
        QCOMPARE(w->Pictype, int16_t(0));
        QCOMPARE(w->Picture1->scaleWidth(), 64);
        QVERIFY(qAbs(w->Picture1->picture().pixelColor(10, 10).green() - 200) < 8);
    }

    void missingFileDoesNothing()
    {
        frmPic *before = zk::openpicture(QString(), -1);
        zk::MsgScript script;
        QVERIFY(!zk::openpicture(dir + "/absent.bmp", 2));
        QVERIFY(!zk::openpicture(QStringLiteral("absent.gif"), 0));
        QCOMPARE(windows(), 1);
        QCOMPARE(zk::curpic.data(), before);
        QVERIFY(script.shown().isEmpty());
    }

    void windowWithoutFile()
    {
        // A map name with "bmp": the window to draw the map into; the name ends
        // in the program folder when no such file exists yet.
        frmPic *w = zk::openpicture(QStringLiteral("C:\\maps\\newmap.bmp"), -1);
        QVERIFY(w);
        QCOMPARE(w->Filename, prog + "/newmap.bmp");
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(w->Picture1->scaleWidth(), 21);
        QCOMPARE(w->Picture1->scaleHeight(), 11);
        QCOMPARE(w->lon1, 0.0f);
        QCOMPARE(w->lat3, 0.0f);
        // The same name again reuses that window.
        QCOMPARE(zk::openpicture(QStringLiteral("newmap.bmp"), -1), w);
        QCOMPARE(windows(), 1);
    }

    void untitledNamesNeverReused()
    {
        frmPic *a = zk::openpicture(QString(), 2);
        const int n = zk::untitledcount();
        QCOMPARE(a->Filename, QStringLiteral("Image%1.bmp").arg(n));
        QCOMPARE(a->Pictype, int16_t(2));
        a->close();
        QApplication::processEvents();
        frmPic *b = zk::openpicture(QString(), -1);
        QCOMPARE(b->Filename, QStringLiteral("Image%1.bmp").arg(n + 1));
        QCOMPARE(b->windowTitle(), QStringLiteral("..\\Image%1.bmp").arg(n + 1));
    }

    void kindWithoutCalibration_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("type");
        QTest::newRow("kind 2 opens plain") << 2 << 0;
        QTest::newRow("kind 1 stays 1") << 1 << 1;
        QTest::newRow("kind 0") << 0 << 0;
        QTest::newRow("kind 3 stays 3") << 3 << 3;
    }
    void kindWithoutCalibration()
    {
        QFETCH(int, kind);
        QFETCH(int, type);
        writeImage(dir + "/p.bmp", zktest::pattern(8, 8), "bmp");
        frmPic *w = zk::openpicture(dir + "/p.bmp", kind);
        QCOMPARE(w->Pictype, int16_t(type));
        QCOMPARE(w->lon2, 0.0f);
    }

    void adrCalibration()
    {
        writeImage(dir + "/chart.bmp", zktest::pattern(8, 8), "bmp");
        writeAll(dir + "/CHART.ADR", "ADRG 1:250 000\r\n5.5,46.2\r\n4.1,45.3\r\n");
        frmPic *w = zk::openpicture(dir + "/chart.bmp", 2);
        QCOMPARE(w->Pictype, int16_t(2));
        QCOMPARE(w->source, QStringLiteral("ADRG 1:250 000"));
        QCOMPARE(w->lon1, -5.5f);
        QCOMPARE(w->lat1, 46.2f);
        QCOMPARE(w->lon2, -4.1f);
        QCOMPARE(w->lat2, 46.2f);
        QCOMPARE(w->lon3, -4.1f);
        QCOMPARE(w->lat3, 45.3f);
        QCOMPARE(w->lon4, -5.5f);
        QCOMPARE(w->lat4, 45.3f);
        // With a picture calibration file beside it, that one counts.
        writeAll(dir + "/chart.dat", "1\r\n1,2\r\n3,2\r\n3,1\r\n1,1\r\nCarte\r\n");
        frmPic *again = zk::openpicture(dir + "/chart.bmp", 2);
        QCOMPARE(again, w);
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(w->lon1, 1.0f);
        QCOMPARE(w->source, QStringLiteral("Carte"));
    }

    void reuseReloads()
    {
        writeImage(dir + "/r.bmp", zktest::pattern(8, 8), "bmp");
        frmPic *w = zk::openpicture(dir + "/r.bmp", 2);
        w->source = QStringLiteral("kept");
        frmPic *world = zk::openpicture(QString(), -1);
        world->setWindowTitle(QStringLiteral("Mappemonde"));
        world->Filename = dir + "/R.BMP";
        writeImage(dir + "/r.bmp", zktest::pattern(12, 9), "bmp");
        frmPic *again = zk::openpicture("\"" + dir + "/R.bmp\"", 2);
        QCOMPARE(again, w);
        QCOMPARE(windows(), 2);
        QCOMPARE(w->Picture1->scaleWidth(), 12);
        QCOMPARE(w->source, QStringLiteral("kept"));
        QCOMPARE(zk::curpic.data(), w);
    }

    void damagedImages_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QByteArray bmp;
        {
            QBuffer b(&bmp);
            b.open(QIODevice::WriteOnly);
            zktest::pattern(40, 30).save(&b, "bmp");
        }
        QByteArray jpg;
        {
            QBuffer b(&jpg);
            b.open(QIODevice::WriteOnly);
            zktest::pattern(40, 30).save(&b, "jpg");
        }
        QTest::newRow("bmp header only") << "a.bmp" << bmp.left(40);
        QTest::newRow("bmp cut in the pixels") << "a.bmp" << bmp.left(bmp.size() / 2);
        QTest::newRow("bmp lying about its size") << "a.bmp" << [&] {
            QByteArray b = bmp;
            b[18] = char(0xFF); b[19] = char(0xFF); b[20] = char(0xFF); b[21] = char(0x7F);  // width
            return b;
        }();
        QTest::newRow("jpeg cut short") << "a.jpg" << jpg.left(jpg.size() / 2);
        QTest::newRow("gif cut short") << "a.gif" << QByteArray(reinterpret_cast<const char *>(kGif), 20);
        QTest::newRow("empty") << "a.jpg" << QByteArray();
        QTest::newRow("text") << "a.bmp" << QByteArray("not a picture at all\r\n");
    }
    void damagedImages()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        writeAll(dir + "/" + file, bytes);
        writeAll(dir + "/a.dat", "2\r\n1,2\r\n3,2\r\n3,1\r\n1,1\r\nCalibrée\r\n");
        zk::MsgScript script;
        frmPic *w = zk::openpicture(dir + "/" + file, 2);
        // The window is made, named and calibrated all the same.
        QVERIFY(w);
        QCOMPARE(w->Pictype, int16_t(2));
        QCOMPARE(w->lon2, 3.0f);
        if (w->Picture1->picture().isNull()) {
            QCOMPARE(script.shown().size(), 1);
            QVERIFY(script.texts().first().startsWith(QStringLiteral("Image illisible: ")));
            QCOMPARE(script.shown().first().flags, int(zk::mbExclamation));
        } else {
            QVERIFY(script.shown().isEmpty());
        }
    }

    void damagedCalibration_data()
    {
        QTest::addColumn<QByteArray>("dat");
        QTest::newRow("latitude 500") << QByteArray("1\r\n-10,500\r\n10,50\r\n10,40\r\n-10,40\r\nsrc\r\n");
        QTest::newRow("cut in the corners") << QByteArray("1\r\n-10,50\r\n10,5");
        QTest::newRow("text in a corner") << QByteArray("2\r\n-10,50\r\nest,50\r\n10,40\r\n-10,40\r\nsrc\r\n");
        QTest::newRow("binary") << QByteArray("\x00\x01\x02\x03garbage", 11);
    }
    void damagedCalibration()
    {
        QFETCH(QByteArray, dat);
        writeImage(dir + "/d.bmp", zktest::pattern(8, 8), "bmp");
        writeAll(dir + "/good.dat", "2\r\n1,2\r\n3,2\r\n3,1\r\n1,1\r\nbonne\r\n");
        writeAll(dir + "/d.dat", dat);
        zk::MsgScript script;
        frmPic *w = zk::openpicture(dir + "/d.bmp", 2);
        QVERIFY(w);
        QCOMPARE(script.shown().size(), 1);
        QVERIFY(script.texts().first().startsWith(QStringLiteral("Fichier de calibration endommagé (")));
        QVERIFY(script.texts().first().endsWith(dir + "/d.dat"));
        // No garbage corners: the picture opens as a plain image.
        QCOMPARE(w->Pictype, int16_t(0));
        for (float v : {w->lon1, w->lat1, w->lon2, w->lat2, w->lon3, w->lat3, w->lon4, w->lat4}) QCOMPARE(v, 0.0f);
        QCOMPARE(w->source, QStringLiteral("Image utilisateur"));
        QCOMPARE(w->Picture1->scaleWidth(), 8);
    }

    void saveFailureKeepsWindow()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        w->Picture1->setPicture(zktest::pattern(9, 9));
        QVERIFY(zk::savepicture(w, dir + "/first.bmp"));
        const QByteArray dat = readAll(dir + "/first.dat");
        w->lon1 = 44;
        env->Label2->clear();
        zk::MsgScript script;
        const QString bad = tmp->path() + "/no/such/folder/second.bmp";
        QVERIFY(!zk::savepicture(w, bad));
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Impossible d'enregistrer l'image ") + bad});
        QCOMPARE(script.shown().first().flags, int(zk::mbExclamation));
        QCOMPARE(w->Filename, dir + "/first.bmp");
        QCOMPARE(w->windowTitle(), QStringLiteral("..\\first.bmp"));
        QCOMPARE(readAll(dir + "/first.dat"), dat);
        QVERIFY(!QFile::exists(tmp->path() + "/no/such/folder/second.dat"));
        QCOMPARE(env->Label2->text(), QString());
    }

    void calibrationWriteFailure()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        w->Picture1->setPicture(zktest::pattern(9, 9));
        QDir().mkpath(dir + "/third.dat");  // a folder where the file should go
        zk::MsgScript script;
        script.answer(zk::idYes);  // overwrite?
        QVERIFY(!zk::savepicture(w, dir + "/third.bmp"));
        QCOMPARE(script.texts().last(), QStringLiteral("Impossible d'enregistrer le fichier ") + dir + "/third.dat");
        QVERIFY(readAll(dir + "/third.bmp").startsWith("BM"));
        QCOMPARE(w->Filename, dir + "/third.bmp");
        QCOMPARE(env->Label2->text(), QStringLiteral("third.bmp a été enregistrée"));
    }

    void saveNotBmp()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        const QString old = w->Filename;
        zk::MsgScript script;
        script.answer(zk::idNo);
        script.answer(zk::idYes);
        QVERIFY(!zk::savepicture(w, dir + "/photo.gif"));
        QCOMPARE(script.texts().first(), dir + "/photo.gif n'est pas en format BMP\r\nSauvegarder quand même le fichier .DAT?");
        QCOMPARE(script.shown().first().flags, int(zk::mbYesNo | zk::mbQuestion));
        QCOMPARE(w->Filename, old);
        QVERIFY(!QFile::exists(dir + "/photo.dat"));
        QVERIFY(zk::savepicture(w, dir + "/photo.gif"));
        QVERIFY(QFile::exists(dir + "/photo.dat"));
        QVERIFY(!QFile::exists(dir + "/photo.gif"));
        QCOMPARE(w->Filename, dir + "/photo.gif");
        QCOMPARE(w->windowTitle(), QStringLiteral("..\\photo.gif"));
    }

    void overwriteRefused()
    {
        frmPic *w = zk::openpicture(QString(), -1);
        w->Picture1->setPicture(zktest::pattern(9, 9));
        writeAll(dir + "/over.dat", "old calibration");
        zk::MsgScript script;
        script.answer(zk::idNo);
        QVERIFY(!zk::savepicture(w, dir + "/over.bmp"));
        QCOMPARE(script.texts(), QStringList{"Écraser " + dir + "/over.dat?"});
        QVERIFY(readAll(dir + "/over.bmp").startsWith("BM"));
        QCOMPARE(readAll(dir + "/over.dat"), QByteArray("old calibration"));
        QCOMPARE(w->Filename, dir + "/over.bmp");
    }

    void companionOfAnOldMap()
    {
        writeImage(net + "/Old.BMP", zktest::pattern(21, 11), "bmp");
        zk::mapcorners.lon[0] = 5;  zk::mapcorners.lat[0] = 46;
        zk::mapcorners.lon[1] = 7;  zk::mapcorners.lat[1] = 46;
        zk::mapcorners.lon[2] = 7;  zk::mapcorners.lat[2] = 45;
        zk::mapcorners.lon[3] = 5;  zk::mapcorners.lat[3] = 45;
        zk::opencompanion(QStringLiteral("C:\\cartes\\old.bmp"));
        frmPic *w = zk::curpic;
        QVERIFY(w);
        QCOMPARE(w->Filename, net + "/Old.BMP");
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(w->lon2, 7.0f);
        QCOMPARE(w->lat4, 45.0f);
        // No companion image: nothing.
        zk::opencompanion(QStringLiteral("absent.bmp"));
        QCOMPARE(windows(), 1);
        QCOMPARE(zk::curpic.data(), w);
    }

    void stereoSourceSurvives()
    {
        frmPic *w = zk::openpicture(QString(), 1);
        w->source = QStringLiteral("Vue stéréoscopique (Rouge et bleu)");
        QVERIFY(zk::savepicture(w, dir + "/stereo.bmp"));
        QVERIFY(readAll(dir + "/stereo.dat").contains("Vue st\xE9r\xE9oscopique (Rouge et bleu)\r\n"));
        w->close();
        QApplication::processEvents();
        frmPic *r = zk::openpicture(dir + "/stereo.bmp", 2);
        QCOMPARE(r->source, QStringLiteral("Vue stéréoscopique (Rouge et bleu)"));
        QVERIFY(zk::isstereo(r));
    }
};

QTEST_MAIN(TestPicFiles)
#include "test_picfiles.moc"
