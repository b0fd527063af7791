// The coverage plots run on a picture of the test map inside the main
// window: the long operation ends "Complété." with the cells painted and the
// covered area shown; settings or files that cannot be drawn give one clear
// message and start no operation; the visual plot paints in its colour.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/mainwindow.h"
#include "base/longop.h"
#include "base/screen.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/covset.h"
#include "pictures/frmPic.h"
#include "pictures/picbox.h"
#include "pictures/picfiles.h"
#include "radio/coverage.h"
#include "radio/radiodata.h"
#include "radioenv.h"

using zk::frmPic;

class TestCoveragePlot : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;
    std::unique_ptr<zk::frmMain> w;
    frmPic *pic = nullptr;

    int painted(uint32_t colour) const
    {
        const QImage &img = pic->Picture1->image();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (zk::rgbof(img.pixelColor(x, y)) == colour) ++n;
        return n;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QApplication::setQuitOnLastWindowClosed(false);
        zk::paths::setUserFolder(tmp.path());
        zk::setScreenPixels(QSize(1280, 1024));
        w = std::make_unique<zk::frmMain>();
        w->resize(1000, 800);
        w->show();
        QCoreApplication::processEvents();
    }
    void cleanupTestCase()
    {
        w.reset();
        zk::paths::setUserFolder(QString());
    }
    void init()
    {
        zk::newnet(false);
        radiotest::setTestMap();
        pic = zk::openpicture(QString(), -1);
        pic->Pictype = 1;
        pic->lon1 = zk::mapcorners.lon[0]; pic->lat1 = zk::mapcorners.lat[0];
        pic->lon2 = zk::mapcorners.lon[1]; pic->lat2 = zk::mapcorners.lat[1];
        pic->lon3 = zk::mapcorners.lon[2]; pic->lat3 = zk::mapcorners.lat[2];
        pic->lon4 = zk::mapcorners.lon[3]; pic->lat4 = zk::mapcorners.lat[3];
        QImage img(513, 513, QImage::Format_RGBX8888);
        img.fill(Qt::white);
        pic->Picture1->setPicture(img);
        pic->Mapmode = 0;  // a lunar landscape already: no redraw offered
        zk::curpic = pic;
        radiotest::placeUnit(1, 256, 256);
        radiotest::placeUnit(2, 266, 256);
        zk::units[1].enabled = zk::units[2].enabled = -1;
        zk::nets[1].member[0] = zk::nets[1].member[1] = 0x80;
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::curunit = 1;
        zk::covset.rangemax = 10;
        zk::covset.rangemin = 0.1f;
        zk::covset.azmin = 0;
        zk::covset.azmax = 360;
        zk::covset.azstep = 1;
        zk::covset.surface = -1;
        zk::covset.surfcolor = 0x00FFFF;
        zk::covset.thrunit = 1;
        zk::covlow = -200;
        zk::covhigh = -10;
        w->label1()->clear();
        w->label2()->clear();
    }
    void cleanup()
    {
        zk::runflag = 0;
        delete pic;
        pic = nullptr;
        QCoreApplication::processEvents();
    }

    void radioPlotCompletes()
    {
        zk::MsgScript script;
        script.answer(zk::idNo);  // not kept
        zk::polarcoverage();
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Garder coverage dans l'image?")});
        QCOMPARE(w->label2()->text(), QStringLiteral("Complété."));
        QVERIFY(w->label1()->text().startsWith(QStringLiteral("La surface couverte est de  ")));
        QVERIFY(w->label1()->text().endsWith(QStringLiteral(" km carrés")));
        // Yellow ANDed with white is yellow.
        QVERIFY(painted(0x00FFFF) > 1000);
        QCOMPARE(zk::runflag, int16_t(0));
    }

    void visualPlotCompletes()
    {
        zk::covset.viscolor = 0xFF00FF;
        zk::MsgScript script;
        script.answer(zk::idYes);
        zk::visualcoverage(QString());
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Garder la couverture dans l'image?")});
        QCOMPARE(w->label2()->text(), QStringLiteral("Complété."));
        QVERIFY(painted(0xFF00FF) > 1000);
        QVERIFY(!pic->Picture1->picture().isNull());
    }

    void refusedPlotsSayWhyAndStartNothing_data()
    {
        QTest::addColumn<int>("what");
        QTest::newRow("equal levels") << 0;
        QTest::newRow("zero step") << 1;
        QTest::newRow("zero range") << 2;
        QTest::newRow("missing antenna file") << 3;
        QTest::newRow("malformed antenna file") << 4;
        QTest::newRow("radar count mismatch") << 5;
        QTest::newRow("radar step 0") << 6;
        QTest::newRow("radar enormous count") << 7;
    }
    void refusedPlotsSayWhyAndStartNothing()
    {
        QFETCH(int, what);
        auto file = [this](const char *name, const char *text) {
            QFile f(tmp.filePath(QLatin1String(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        };
        auto antenna = [](const char *name) {
            const QByteArray n = QByteArray(name).leftJustified(20, ' ');
            std::copy(n.begin(), n.end(), zk::covset.antfile);
        };
        zk::covset.surfcolor = 0;
        bool visual = false;
        QString table;
        switch (what) {
        case 0: zk::covhigh = zk::covlow; break;
        case 1: zk::covset.azstep = 0; break;
        case 2: zk::covset.rangemax = 0; break;
        case 3: antenna("nothere.ant"); break;
        case 4: file("bad.ant", "0 -3 dB"); antenna("bad.ant"); break;
        case 5: file("short.rad", "4 5 -100 100 -100 100"); visual = true; table = QStringLiteral("short.rad"); break;
        case 6: file("zero.rad", "1 0 -100 100"); visual = true; table = QStringLiteral("zero.rad"); break;
        case 7: file("huge.rad", "2000000000 5 -100 100"); visual = true; table = QStringLiteral("huge.rad"); break;
        }
        zk::MsgScript script;
        if (visual)
            zk::visualcoverage(table);
        else
            zk::polarcoverage();
        QCOMPARE(script.shown().size(), 1);
        QVERIFY(!script.shown().first().text.isEmpty());
        QVERIFY(w->label2()->text().isEmpty());  // no operation, no "Complété."
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(painted(0x00FFFF), 0);
    }
};

QTEST_MAIN(TestCoveragePlot)
#include "test_coverage_plot.moc"
