// The user-picture calibration dialog: filling from the target picture, the
// two apply methods, the "Curseur" buttons, cancelling, the decimal
// separators, and no target at all.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <memory>

#include "pictures/cursor.h"
#include "pictures/frmCustom.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "picenv.h"

using zk::frmCustom;
using zk::frmPic;

class TestFrmCustom : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;

    frmPic *picture(int w, int h)
    {
        frmPic *p = zk::openpicture(QString(), 2);
        p->Picture1->setPicture(zktest::pattern(w, h));
        p->source = QStringLiteral("Photo aérienne");
        return p;
    }

    static void setCorners(frmPic *p, float lonW, float lonE, float latN, float latS)
    {
        p->lon1 = p->lon4 = lonW;
        p->lon2 = p->lon3 = lonE;
        p->lat1 = p->lat2 = latN;
        p->lat3 = p->lat4 = latS;
    }

    static bool red(QLineEdit *e) { return e->palette().color(QPalette::Text) == QColor(255, 0, 0); }

private slots:
    void initTestCase() { env = std::make_unique<zktest::TestMain>(); }
    void cleanupTestCase() { env.reset(); }
    void init()
    {
        QLocale::setDefault(QLocale::c());
        zktest::setTestMap(21, 11);
    }
    void cleanup()
    {
        if (frmCustom::loaded()) delete frmCustom::loaded();
        env->closeAll();
        QLocale::setDefault(QLocale::c());
    }

    void plainImage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("lon");
        QTest::addColumn<QString>("lat");
        QTest::addColumn<QString>("size");
        QTest::newRow("point") << "C" << "000.0000" << "00.0000" << "0.000";
        QTest::newRow("comma") << "fr_FR" << "000,0000" << "00,0000" << "0,000";
    }
    void plainImage()
    {
        QFETCH(QString, locale);
        QFETCH(QString, lon);
        QFETCH(QString, lat);
        QFETCH(QString, size);
        QLocale::setDefault(QLocale(locale));
        picture(640, 480);
        frmCustom *d = frmCustom::showDialog();
        QCOMPARE(d->windowTitle(), QStringLiteral("Image définie par l'utilisateur (degré décimal)"));
        QCOMPARE(d->parentWidget(), &env->main);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(d->lon[i]->text(), lon);
            QCOMPARE(d->lat[i]->text(), lat);
            QCOMPARE(d->lon[i]->selectedText(), lon);
        }
        QCOMPARE(d->SizeKm->text(), size);
        QCOMPARE(d->Label5->text(), QStringLiteral("Rectangulaire - Largeur=640 Pixels  Hauteur=480 Pixels"));
        QCOMPARE(d->Text1->text(), QStringLiteral("Photo aérienne"));
        QVERIFY(d->findChild<QPushButton *>("Command3(4)"));
        QVERIFY(d->findChild<QLineEdit *>("lat(3)"));
    }

    void shapeAndMasks()
    {
        frmPic *p = picture(100, 50);
        p->lon1 = 5;  p->lat1 = 46;
        p->lon2 = 7;  p->lat2 = 46;
        p->lon3 = 7;  p->lat3 = 45;
        p->lon4 = 5;  p->lat4 = 44.5f;
        frmCustom *d = frmCustom::showDialog();
        QVERIFY(d->Label5->text().startsWith(QStringLiteral("Non rectangulaire - Largeur=100 Pixels")));
        QCOMPARE(d->SizeKm->text(), QString());
        QCOMPARE(d->lon[4]->text(), QStringLiteral("006.0000"));
        QCOMPARE(d->lat[4]->text(), QStringLiteral("45.3750"));
        d->close();
        setCorners(p, -5.5f, -4.25f, 46.2f, 45.3f);
        d = frmCustom::showDialog();
        QCOMPARE(d->lon[0]->text(), QStringLiteral("-005.5000"));
        QCOMPARE(d->lat[2]->text(), QStringLiteral("45.3000"));
        QVERIFY(d->Label5->text().startsWith(QStringLiteral("Rectangulaire")));
        QCOMPARE(d->SizeKm->text(), QStringLiteral("100.013"));  // 0.9000015 degree in single precision
    }

    void centreAndSize()
    {
        frmPic *p = picture(401, 201);
        frmCustom *d = frmCustom::showDialog();
        d->lon[4]->setText(QStringLiteral("6"));
        d->lat[4]->setText(QStringLiteral("45"));
        d->SizeKm->setText(QStringLiteral("111.125"));
        d->Text1->setText(QStringLiteral("  Carte scannée  "));
        QTest::mouseClick(d->Command5, Qt::LeftButton);
        QVERIFY(!frmCustom::loaded() || !frmCustom::loaded()->isVisible());
        QCOMPARE(p->Pictype, int16_t(2));
        const double dlat = 111.125 / 6367 / 0.017453292519943278;
        const double dlon = dlat / 200 * 400 / std::cos(45 * 0.017453292519943278);
        QVERIFY(std::fabs(dlat - 1) < 1e-3);
        QVERIFY(std::fabs(dlon - 2.83) < 0.01);
        QCOMPARE(p->lat1, float(45 + dlat / 2));
        QCOMPARE(p->lat2, p->lat1);
        QCOMPARE(p->lat3, float(45 - dlat / 2));
        QCOMPARE(p->lat4, p->lat3);
        QCOMPARE(p->lon1, float(6 - dlon / 2));
        QCOMPARE(p->lon2, float(6 + dlon / 2));
        QCOMPARE(p->lon3, p->lon2);
        QCOMPARE(p->lon4, p->lon1);
        QCOMPARE(p->source, QStringLiteral("Carte scannée"));
    }

    void centreSizes_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("lat");
        QTest::addColumn<bool>("applied");
        QTest::addColumn<double>("extent");
        QTest::newRow("above 19900 km") << "30000" << "0" << true << 19900.0 / 6367 / 0.017453292519943278;
        QTest::newRow("0.005 km: nothing") << "0.005" << "0" << false << 0.0;
        QTest::newRow("not a number: nothing") << "vingt" << "0" << false << 0.0;
        QTest::newRow("centre at a pole: nothing") << "100" << "90" << false << 0.0;
        QTest::newRow("comma separator") << "111,125" << "45" << true << 1.0;
    }
    void centreSizes()
    {
        QFETCH(QString, size);
        QFETCH(QString, lat);
        QFETCH(bool, applied);
        QFETCH(double, extent);
        frmPic *p = picture(101, 101);
        setCorners(p, 1, 2, 3, 4);
        p->Pictype = 0;
        frmCustom *d = frmCustom::showDialog();
        d->lon[4]->setText(QStringLiteral("0"));
        d->lat[4]->setText(lat);
        d->SizeKm->setText(size);
        d->Command5_Click();
        QVERIFY(!frmCustom::loaded() || !frmCustom::loaded()->isVisible());
        QCOMPARE(p->Pictype, int16_t(applied ? 2 : 0));
        if (applied) {
            QVERIFY2(std::fabs((double(p->lat1) - p->lat4) - extent) < 1e-3,
                     qPrintable(QStringLiteral("%1 %2 %3").arg(p->lat1).arg(p->lat4).arg(extent)));
        } else {
            QCOMPARE(p->lat1, 3.0f);
            QCOMPARE(p->lon2, 2.0f);
        }
        QVERIFY(std::isfinite(p->lon1) && std::isfinite(p->lon2));
    }

    void fourCorners()
    {
        frmPic *p = picture(50, 50);
        setCorners(p, 1, 2, 3, 4);
        frmCustom *d = frmCustom::showDialog();
        d->lon[0]->setText(QStringLiteral("5"));
        d->lon[1]->setText(QStringLiteral("200"));
        QVERIFY(red(d->lon[1]));
        QVERIFY(!red(d->lon[0]));
        d->lon[2]->setText(QStringLiteral("7.25"));
        d->lon[3]->setText(QStringLiteral("-5,5"));
        d->lat[0]->setText(QStringLiteral("46"));
        d->lat[1]->setText(QStringLiteral("-100"));
        QVERIFY(red(d->lat[1]));
        d->lat[2]->setText(QStringLiteral("sud"));  // not a number: that corner value stays
        d->lat[3]->setText(QStringLiteral(" 44.5"));
        d->SizeKm->setText(QStringLiteral("0.01"));
        QVERIFY(red(d->SizeKm));
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        QCOMPARE(p->Pictype, int16_t(2));
        QCOMPARE(p->lon1, 5.0f);
        QCOMPARE(p->lon2, 180.0f);
        QCOMPARE(p->lon3, 7.25f);
        QCOMPARE(p->lon4, -5.5f);
        QCOMPARE(p->lat1, 46.0f);
        QCOMPARE(p->lat2, -90.0f);
        QCOMPARE(p->lat3, 4.0f);
        QCOMPARE(p->lat4, 44.5f);
        QCOMPARE(p->source, QStringLiteral("Photo aérienne"));
    }

    void cursorButtons_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("point locale") << "C";
        QTest::newRow("comma locale") << "fr_FR";
    }
    void cursorButtons()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        frmPic *p = picture(50, 50);
        zk::curlon = 6.25f;
        zk::curlat = -45.5f;
        frmCustom *d = frmCustom::showDialog();
        QTest::mouseClick(d->Command3[2], Qt::LeftButton);
        QCOMPARE(d->lon[2]->text(), QStringLiteral(" 6.25"));
        QCOMPARE(d->lat[2]->text(), QStringLiteral("-45.5"));
        QVERIFY(d->isVisible());
        // Whatever the locale, the point the button wrote is read back.
        d->Command1_Click();
        QCOMPARE(p->lon3, 6.25f);
        QCOMPARE(p->lat3, -45.5f);
    }

    void escapeChangesNothing()
    {
        frmPic *p = picture(50, 50);
        setCorners(p, 1, 2, 3, 4);
        p->Pictype = 0;
        frmCustom *d = frmCustom::showDialog();
        d->lon[0]->setText(QStringLiteral("9"));
        QTest::keyClick(d->lon[0], Qt::Key_Escape);
        QVERIFY(!frmCustom::loaded() || !frmCustom::loaded()->isVisible());
        QCOMPARE(p->Pictype, int16_t(0));
        QCOMPARE(p->lon1, 1.0f);
        QCOMPARE(p->source, QStringLiteral("Photo aérienne"));
        d = frmCustom::showDialog();
        d->lon[0]->setText(QStringLiteral("9"));
        QTest::mouseClick(d->Command4, Qt::LeftButton);
        QCOMPARE(p->lon1, 1.0f);
    }

    void targetFixedAtLoading()
    {
        frmPic *a = picture(50, 50);
        frmPic *b = picture(60, 60);
        env->area->setActiveSubWindow(a);
        frmCustom *d = frmCustom::showDialog();
        QCOMPARE(d->target(), a);
        env->area->setActiveSubWindow(b);
        d->lon[0]->setText(QStringLiteral("3"));
        d->Command1_Click();
        QCOMPARE(a->lon1, 3.0f);
        QCOMPARE(b->lon1, 0.0f);
        QCOMPARE(b->Pictype, int16_t(2));  // untitled kind 2, untouched
    }

    void noActivePicture()
    {
        frmCustom *d = frmCustom::showDialog();
        QVERIFY(!d->target());
        QCOMPARE(d->lon[0]->text(), QString());
        d->lon[4]->setText(QStringLiteral("6"));
        d->lat[4]->setText(QStringLiteral("45"));
        d->SizeKm->setText(QStringLiteral("100"));
        d->Command5_Click();
        d = frmCustom::showDialog();
        d->Command1_Click();
        QVERIFY(zk::picwindows().isEmpty());
    }

    void numbersAndMasks()
    {
        QCOMPARE(zk::customValue(" 45.5"), std::optional<double>(45.5));
        QCOMPARE(zk::customValue("45,5"), std::optional<double>(45.5));
        QCOMPARE(zk::customValue("-1e2"), std::optional<double>(-100));
        QVERIFY(!zk::customValue("1.234,5"));
        QVERIFY(!zk::customValue(""));
        QVERIFY(!zk::customValue("4 5"));
        QCOMPARE(zk::maskText(5.5, 3, 4), QStringLiteral("005.5000"));
        QCOMPARE(zk::maskText(-0.00001, 2, 4), QStringLiteral("00.0000"));
        QCOMPARE(zk::maskText(123.45678, 2, 4), QStringLiteral("123.4568"));
    }
};

QTEST_MAIN(TestFrmCustom)
#include "test_frmcustom.moc"
