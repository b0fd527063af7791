// The 3D picture properties dialog under the offscreen platform: its bars
// and read-outs on opening, "Annuler", Esc and "Défaut", the preview, the
// networks button, and "Appliquer" from the menus, with the drawing going
// into the 3D picture the dialog was opened for.
#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <cstring>

#include "app/mainwindow.h"
#include "base/longop.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "pictures/frmPic.h"
#include "pictures/geo3d.h"
#include "pictures/picfiles.h"
#include "pictures/view3d.h"
#include "radio/radiodata.h"
#include "testenv.h"
#include "views3d/draw3d.h"
#include "views3d/frm3Dpic.h"

using zk::frm3Dpic;
using zk::frmPic;

namespace {

using viewtest::rgb;
using viewtest::rgbAt;
using viewtest::whenmodal;

// A map of 61 x 41 cells, a hill in the middle, on corners from 73.5 W to
// 72.5 W and 45 N to 45.5 N.
void setMap()
{
    viewtest::fillGrid(60, 40, [](int x, int y) { return int16_t(std::max(0, 400 - (x - 30) * (x - 30) - (y - 20) * (y - 20))); });
    viewtest::setCorners(-73.5f, 45, -72.5f, 45.5f);
    viewtest::setShading(0, 50, 400, 400);
}

struct Bars {
    int ofx, ofy, theta, phi, disto, amplx, aper, alt;
};
Bars bars(const frm3Dpic &d)
{
    return {d.HScroll1->value(), d.VScroll1->value(), d.HScroll2->value(), d.VScroll2->value(),
            d.HScroll3->value(), d.HScroll4->value(), d.HScroll5->value(), d.HScroll6->value()};
}

}  // namespace

class TestFrm3Dpic : public viewtest::MainEnv {
    Q_OBJECT

private slots:
    void init()
    {
        closeAll();
        setMap();
        zk::set3dparams(0);
        zk::new3d = -1;
        zk::curpic = nullptr;
    }

    void opensOnTheDefaults()
    {
        frm3Dpic d;
        QCOMPARE(d.objectName(), QStringLiteral("frm3Dpic"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Propriétés de la nouvelle image 3D"));
        const Bars b = bars(d);
        QCOMPARE(b.theta, 10);
        QCOMPARE(b.phi, 40);
        QCOMPARE(b.disto, 850);
        QCOMPARE(b.amplx, 1);
        QCOMPARE(b.aper, 1);
        QCOMPARE(b.ofx, 512);
        QCOMPARE(b.ofy, 384);
        QCOMPARE(b.alt, 2000);
        QCOMPARE(d.HScroll1->maximum(), 1024);
        QCOMPARE(d.VScroll1->maximum(), 768);
        QCOMPARE(d.Label1[5]->text(), QStringLiteral("Altitude des réseaux  2000m"));
        QCOMPARE(d.Label1[0]->text(), QStringLiteral("Angle horizontal 010°"));
        QCOMPARE(d.Label1[1]->text(), QStringLiteral("Angle vertical 40°"));
        QCOMPARE(d.Label1[2]->text(), QStringLiteral("Distance relative 850"));
        QCOMPARE(d.Label1[3]->text(), QStringLiteral("Exagération du relief 1"));
        QCOMPARE(d.Label1[4]->text(), QStringLiteral("Effet de perspective 1"));
        // The form's client area, 7065 x 3120 twips at 15 twips a pixel.
        QCOMPARE(d.size(), QSize(471, 208));
        QCOMPARE(d.Picture3->geometry(), QRect(8, 8, 209, 145));
        QVERIFY(d.findChild<QScrollBar *>(QStringLiteral("HScroll6")) == d.HScroll6);
        QVERIFY(d.findChild<QLabel *>(QStringLiteral("Label1(5)")) == d.Label1[5]);
    }

    // The bar's design value is 1000: no change, no caption.
    void altitudeOfAThousandKeepsTheDash()
    {
        zk::netalt = 1000;
        frm3Dpic d;
        QCOMPARE(d.Label1[5]->text(), QStringLiteral("-"));
        QCOMPARE(d.HScroll6->value(), 1000);
    }

    // A whole-number bar rounds a parameter only when its value changes.
    void loadingRoundsThroughTheBars()
    {
        zk::view3d.amplx = 2.5f;
        frm3Dpic d;
        QCOMPARE(zk::view3d.amplx, 2.0f);  // the bar went from 0 to 2
        d.Command2_Click();
        zk::view3d.amplx = 0.3f;
        frm3Dpic e;
        QCOMPARE(zk::view3d.amplx, 0.3f);  // the bar stays at 0
        QCOMPARE(e.Label1[3]->text(), QStringLiteral("Exagération du relief 0"));
    }

    void labels_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("text");
        QTest::newRow("10") << "Angle horizontal" << 10.f << 3 << "°" << "Angle horizontal 010°";
        QTest::newRow("359") << "Angle horizontal" << 359.f << 3 << "°" << "Angle horizontal 359°";
        QTest::newRow("5") << "Angle vertical" << 5.f << 2 << "°" << "Angle vertical 05°";
        QTest::newRow("2000") << "Distance relative" << 2000.f << 3 << "" << "Distance relative 2000";
        QTest::newRow("2.5 rounds up") << "Exagération du relief" << 2.5f << 1 << "" << "Exagération du relief 3";
        QTest::newRow("0.001") << "Exagération du relief" << 0.001f << 1 << "" << "Exagération du relief 0";
    }
    void labels()
    {
        QFETCH(QString, label);
        QFETCH(float, value);
        QFETCH(int, digits);
        QFETCH(QString, unit);
        QFETCH(QString, text);
        QCOMPARE(zk::maskedvalue(label, value, digits, unit), text);
    }

    void altitudeTexts_data()
    {
        QTest::addColumn<float>("alt");
        QTest::addColumn<QString>("text");
        QTest::newRow("2000") << 2000.f << "Altitude des réseaux  2000m";
        QTest::newRow("1") << 1.f << "Altitude des réseaux  1m";
        QTest::newRow("1234.5") << 1234.5f << "Altitude des réseaux  1234.5m";
        QTest::newRow("0.5") << 0.5f << "Altitude des réseaux  .5m";
        QTest::newRow("-3") << -3.f << "Altitude des réseaux -3m";
    }
    void altitudeTexts()
    {
        QFETCH(float, alt);
        QFETCH(QString, text);
        QCOMPARE(zk::netalttext(alt), text);
    }

    // "Annuler" restores the eight parameters, fractions included, and not
    // the network altitude.
    void annulerRestoresTheView()
    {
        zk::view3d = zk::View3D{0.3f, 33.25f, 123.5f, 777.75f, 1.5f, 12.5f, 300.25f, 200.75f};
        const zk::View3D before = zk::view3d;
        frm3Dpic d;
        d.HScroll2->setValue(300);
        d.VScroll2->setValue(80);
        d.HScroll3->setValue(1500);
        d.HScroll4->setValue(7);
        d.HScroll5->setValue(4);
        d.HScroll1->setValue(10);
        d.VScroll1->setValue(20);
        d.HScroll6->setValue(3456);
        QCOMPARE(zk::view3d.theta, 300.0f);
        QCOMPARE(zk::view3d.amplx, 7.0f);
        QCOMPARE(zk::netalt, 3456.0f);
        QCOMPARE(d.Label1[5]->text(), QStringLiteral("Altitude des réseaux  3456m"));
        QTest::mouseClick(d.Command2, Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QVERIFY(!d.applied());
        QVERIFY(std::memcmp(&zk::view3d, &before, sizeof before) == 0);
        QCOMPARE(zk::netalt, 3456.0f);
    }

    // Esc closes and keeps what was moved.
    void escapeKeepsTheMovedValues()
    {
        whenmodal("frm3Dpic", [](QWidget *m) {
            auto *d = static_cast<frm3Dpic *>(m);
            d->HScroll2->setValue(250);
            d->VScroll2->setValue(70);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        zk::show3dpic();
        QCOMPARE(zk::view3d.theta, 250.0f);
        QCOMPARE(zk::view3d.phi, 70.0f);
        QCOMPARE(zk::runflag, int16_t(0));
        QVERIFY(zk::picwindows().isEmpty());
    }

    void defautRestoresTheDefaults()
    {
        zk::view3d.theta = 100;
        zk::netalt = 5000;
        frm3Dpic d;
        d.HScroll6->setValue(4000);
        QTest::mouseClick(d.Command3, Qt::LeftButton);
        QCOMPARE(zk::view3d.theta, 10.0f);
        QCOMPARE(zk::netalt, 2000.0f);
        QCOMPARE(d.HScroll2->value(), 10);
        QCOMPARE(d.HScroll6->value(), 2000);
        QCOMPARE(d.Label1[5]->text(), QStringLiteral("Altitude des réseaux  2000m"));
    }

    void reliefBarAtZero()
    {
        frm3Dpic d;
        d.HScroll4->setValue(0);
        QCOMPARE(zk::view3d.amplx, 0.001f);
    }

    // The preview: the block's green top in the middle on the defaults; with
    // the camera in the block, neither face.
    void preview()
    {
        frm3Dpic d;
        const QImage &img = d.Picture3->image();
        QCOMPARE(img.size(), QSize(209, 145));
        auto count = [&](uint32_t c) {
            int n = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) n += rgbAt(img, x, y) == c;
            return n;
        };
        QCOMPARE(rgbAt(img, 104, 72), rgb(0, 255, 0));
        QVERIFY(count(rgb(0, 255, 0)) > 10);
        QVERIFY(count(0) > 10);  // outlines and the north marker
        d.HScroll3->setValue(200);
        d.VScroll2->setValue(89);
        QCOMPARE(count(rgb(0, 255, 0)), 0);
        QCOMPARE(count(rgb(192, 192, 192)), 0);
        QVERIFY(count(rgb(128, 128, 128)) > 200 * 140);
        // Looking down, the marker runs from the top face's middle towards
        // the north, upwards in the preview.
        d.VScroll2->setValue(0);
        d.HScroll2->setValue(0);
        d.HScroll3->setValue(850);
        int top = img.height(), bottom = -1;
        for (int y = 0; y < img.height(); ++y)
            if (rgbAt(img, 104, y) == 0 && y > 0 && rgbAt(img, 103, y) != 0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        QVERIFY(bottom > top);
        QVERIFY(bottom <= 72);
    }

    // "Appliquer" without a 2D picture, and the user declines to draw one:
    // the dialog stays open.
    void appliquerWithoutSourceStays()
    {
        zk::MsgScript script;
        script.answer(zk::idNo);
        frm3Dpic d;
        d.show();
        QTest::mouseClick(d.Command1, Qt::LeftButton);
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Pas d'image source 2D picture adéquate\r\nEn dessiner une?")});
        QVERIFY(d.isVisible());
        QVERIFY(!d.applied());
        QCOMPARE(zk::draw3dcount(), 0);
    }

    // From the picture-properties command on a 3D picture: the dialog is for
    // that picture, "Appliquer" has the 2D picture drawn first (it becomes
    // the active window) and the 3D drawing still goes into the 3D picture.
    void redrawFromTheMenuKeepsItsWindow()
    {
        // A first 3D picture over a 2D picture the program draws.
        zk::MsgScript script;
        script.answer(zk::idYes);
        whenmodal("frm3Dpic", [](QWidget *m) { QTest::mouseClick(static_cast<frm3Dpic *>(m)->Command1, Qt::LeftButton); });
        zk::show3dpic();
        QCOMPARE(script.shown().size(), 1);
        QCOMPARE(zk::draw3dcount(), 1);
        frmPic *pic3d = zk::activepic();
        QVERIFY(pic3d);
        QCOMPARE(pic3d->Pictype, int16_t(3));
        QCOMPARE(pic3d->Filename, QStringLiteral("Img3D1.bmp"));
        QCOMPARE(main->label2()->text(), QStringLiteral("Complété."));

        // The 2D picture goes away; the 3D picture is active.
        for (frmPic *w : zk::picwindows())
            if (w != pic3d) delete w;
        QApplication::processEvents();
        main->mdiArea()->setActiveSubWindow(pic3d);

        script.clear();
        script.answer(zk::idYes);
        QString caption;
        whenmodal("frm3Dpic", [&caption](QWidget *m) {
            auto *d = static_cast<frm3Dpic *>(m);
            caption = d->windowTitle();
            d->HScroll2->setValue(200);
            QTest::mouseClick(d->Command1, Qt::LeftButton);
        });
        QAction *cmd = main->action(QStringLiteral("mnuFilePic"));
        QVERIFY(cmd && cmd->isEnabled());
        cmd->trigger();
        QCOMPARE(caption, QStringLiteral("Propriétés de Img3D1.bmp"));
        QCOMPARE(zk::new3d, int16_t(0));
        QCOMPARE(script.shown().size(), 1);  // the 2D picture was drawn again
        QCOMPARE(zk::draw3dcount(), 1);
        QCOMPARE(pic3d->theta, 200.0f);
        QCOMPARE(pic3d->Filename, QStringLiteral("Img3D1.bmp"));
        frmPic *pic2d = nullptr;
        for (frmPic *w : zk::picwindows())
            if (w != pic3d) pic2d = w;
        QVERIFY(pic2d);
        QCOMPARE(pic2d->Pictype, int16_t(1));
        QCOMPARE(pic2d->Picture1->picture().size(), QSize(61, 41));
        QCOMPARE(zk::runflag, int16_t(0));
    }

    // "Réseaux" draws the networks on every picture, on 3D pictures through
    // their own view: the units' masts stand there at once.
    void reseauxDrawsOnThreeDPictures()
    {
        zk::mapset.size = 2;  // 0.02 cells a metre: a mast of 1100 m is 22 cells high
        zk::MsgScript script;
        script.answer(zk::idYes);
        whenmodal("frm3Dpic", [](QWidget *m) { QTest::mouseClick(static_cast<frm3Dpic *>(m)->Command1, Qt::LeftButton); });
        zk::show3dpic();
        frmPic *pic3d = zk::activepic();
        QVERIFY(pic3d && pic3d->Pictype == 3);
        for (int k = 1; k <= zk::kUnits; ++k) zk::units[k].enabled = 0;
        zk::UnitRecord &u = zk::units[1];
        u = zk::UnitRecord{};
        u.enabled = -1;
        u.lon = -73;
        u.lat = 45.25f;
        u.elev = 400;
        u.backcolor = rgb(250, 0, 250);
        std::memcpy(u.name, "MAT                 ", 20);

        zk::new3d = 0;
        frm3Dpic d;
        d.HScroll6->setValue(1500);
        QTest::mouseClick(d.Command4, Qt::LeftButton);
        float gx = 0, gy = 0, tx = 0, ty = 0;
        QVERIFY(zk::geo3d(pic3d, u.lon, u.lat, u.elev, gx, gy));
        QVERIFY(zk::geo3d(pic3d, u.lon, u.lat, 1500, tx, ty));
        QVERIFY(ty < gy - 4);
        QCOMPARE(rgbAt(pic3d->Picture1->image(), int(gx), int((gy + ty) / 2)), u.backcolor);
        u.enabled = 0;
    }
};

QTEST_MAIN(TestFrm3Dpic)
#include "test_frm3dpic.moc"
