// The map-properties window frmMapPro driven through its controls: loading,
// the derived extent and corners, clamped fields, the buttons, and Apply
// with its sources in their fixed order and the picture it draws.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>

#include "base/longop.h"
#include "base/mdi.h"
#include "base/settings.h"
#include "map/datum.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "pictures/cursor.h"
#include "pictures/frmMapPro.h"
#include "pictures/frmPic.h"

namespace {

void type(QLineEdit *t, const QString &text)
{
    t->selectAll();
    if (text.isEmpty()) QTest::keyClick(t, Qt::Key_Delete);
    else QTest::keyClicks(t, text);
}

bool red(const QLineEdit *t) { return t->palette().color(QPalette::Text) == QColor(255, 0, 0); }

}  // namespace

class TestFrmMapPro : public QObject {
    Q_OBJECT

    QMainWindow main;
    QMdiArea *area = nullptr;
    QTemporaryDir empty;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        area = new QMdiArea(&main);
        main.setCentralWidget(area);
        main.resize(900, 700);
        zk::setMdiArea(area);
        zk::setMainWindow(&main);
        main.show();
        zk::loadellipsoid(QString());
    }
    void cleanupTestCase()
    {
        for (zk::frmPic *w : zk::picwindows()) delete w;
        zk::setMdiArea(nullptr);
        zk::setMainWindow(nullptr);
    }

    void init()
    {
        zk::runflag = 0;
        zk::mapfile = QStringLiteral("default.map");
        zk::mapset = MapSettings{};
        zk::mapset.lon = -73;
        zk::mapset.lat = 45;
        zk::mapset.size = 200;
        zk::mapset.Mapmode = 5;
        zk::elevgrid.redim(639, 479);
        zk::settings.drv = {QStringLiteral("C"), QStringLiteral("C"), QStringLiteral("C")};
        zk::writesetting(QStringLiteral("IGNMIS"), QStringLiteral("False"));
        zk::ellname.clear();
    }

    void loadsFromTheMapInMemory()
    {
        zk::mapfile.clear();
        zk::mapset.sources = 4 | 1;
        zk::settings.drv[1] = QStringLiteral("/Données/GTOPO30");
        zk::writesetting(QStringLiteral("IGNMIS"), QStringLiteral("True"));
        zk::frmMapPro w;
        QCOMPARE(zk::mapfile, QStringLiteral("Nouveau.map"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Propriétés de ..\\Nouveau.map"));
        QCOMPARE(w.Text1->text(), QStringLiteral("-73"));
        QCOMPARE(w.Text2->text(), QStringLiteral("45"));
        QCOMPARE(w.Text3->text(), QStringLiteral("640"));
        QCOMPARE(w.Text4->text(), QStringLiteral("480"));
        QCOMPARE(w.Text6->text(), QStringLiteral("200.00"));
        QCOMPARE(w.Text5->text(), QStringLiteral("266.67"));
        QVERIFY(w.Check1[0]->isChecked());
        QVERIFY(!w.Check1[1]->isChecked());
        QVERIFY(w.Check1[2]->isChecked());
        QCOMPARE(w.Text7[1]->text(), QStringLiteral("/Données/GTOPO30"));
        QVERIFY(w.Check2->isChecked());
        QVERIFY(zk::settings.ignoremissing);
        QCOMPARE(w.Command4->text(), QStringLiteral("Entrer LAT LON ou QRA"));
        QCOMPARE(w.Label1->text(), QStringLiteral("073°00'00\"O - 45°00'00\"N"));
        QCOMPARE(w.Label2->text(), QStringLiteral("FN35LA"));
        zk::ellname = QStringLiteral("WGS 1984");
        zk::frmMapPro m;
        QCOMPARE(m.Command4->text(), QStringLiteral("Entrer LAT LON ou MGRS"));
        QVERIFY(m.Label2->text().startsWith(QStringLiteral("18T")));
    }

    // 400 x 400 pixels, 50 km at 60 degrees: 50 km across and twice as many
    // degrees of longitude as of latitude.
    void squareMapAtSixtyDegrees()
    {
        zk::frmMapPro w;
        type(w.Text2, QStringLiteral("60"));
        type(w.Text3, QStringLiteral("400"));
        type(w.Text4, QStringLiteral("400"));
        type(w.Text6, QStringLiteral("50"));
        QCOMPARE(w.Text5->text(), QStringLiteral("50.00"));
        const double dlat = zk::editcorners.lat[0] - zk::editcorners.lat[2];
        const double dlon = zk::editcorners.lon[1] - zk::editcorners.lon[0];
        QVERIFY(std::fabs(dlat - 50 / 6367.0 / 0.017453292519943) < 1e-4);
        QVERIFY(std::fabs(dlon - 2 * dlat) < 1e-4);
        QCOMPARE(zk::editcorners.lat[1], zk::editcorners.lat[0]);
        QCOMPARE(zk::editcorners.lon[3], zk::editcorners.lon[0]);
        QCOMPARE(zk::editcorners.lon[2], zk::editcorners.lon[1]);
        const QStringList lines = w.Label10->text().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 15);
        QCOMPARE(lines[0], QStringLiteral("Supérieur gauche"));
        QCOMPARE(lines[4], QStringLiteral("Supérieur droit"));
        QCOMPARE(lines[8], QStringLiteral("Inférieur gauche"));
        QCOMPARE(lines[12], QStringLiteral("Inférieur droit"));
        QVERIFY(lines[3].isEmpty());
        QVERIFY(lines[2].endsWith(QLatin1Char('N')));
        QVERIFY(lines[1].endsWith(QLatin1Char('O')));
        // The map in memory is untouched until Apply.
        QCOMPARE(zk::mapset.lat, 45.0f);
    }

    void halfAKilometreShowsButBuildsOne()
    {
        zk::frmMapPro w;
        type(w.Text6, QStringLiteral("0.5"));
        QCOMPARE(w.Text6->text(), QStringLiteral("0.5"));
        QVERIFY(!red(w.Text6));
        QCOMPARE(zk::editmap.size, 1.0f);
        const double dlat = zk::editcorners.lat[0] - zk::editcorners.lat[2];
        QVERIFY(std::fabs(dlat - 1 / 6367.0 / 0.017453292519943) < 1e-5);
    }

    void fieldsAreClamped_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isRed");
        QTest::addColumn<double>("value");
        QTest::newRow("longitude 200") << 1 << "200" << true << 179.99999;
        QTest::newRow("longitude text") << 1 << "abc" << false << 0.0;
        QTest::newRow("latitude -90") << 2 << "-90" << true << -89.0;
        QTest::newRow("width 5000") << 3 << "5000" << true << 2000.0;
        QTest::newRow("width 9") << 3 << "9" << true << 10.0;
        QTest::newRow("width 12.5 to even") << 3 << "12.5" << false << 12.0;
        QTest::newRow("height 13.5 to even") << 4 << "13.5" << false << 14.0;
        QTest::newRow("extent 20000") << 6 << "20000" << true << 19900.0;
    }
    void fieldsAreClamped()
    {
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(bool, isRed);
        QFETCH(double, value);
        zk::frmMapPro w;
        QLineEdit *boxes[7] = {nullptr, w.Text1, w.Text2, w.Text3, w.Text4, nullptr, w.Text6};
        type(boxes[box], text);
        QCOMPARE(red(boxes[box]), isRed);
        double got = 0;
        switch (box) {
        case 1: got = zk::editmap.lon; break;
        case 2: got = zk::editmap.lat; break;
        case 3: got = w.gridwidth(); break;
        case 4: got = w.gridheight(); break;
        default: got = zk::editmap.size; break;
        }
        QVERIFY2(std::fabs(got - value) < 1e-4, qPrintable(QString::number(got)));
    }

    void applyWithoutASourceDoesNothing()
    {
        zk::frmMapPro w;
        w.show();
        for (QCheckBox *c : w.Check1) c->setChecked(false);
        type(w.Text2, QStringLiteral("10"));
        QTest::mouseClick(w.Command5, Qt::LeftButton);
        QVERIFY(w.isVisible());
        QCOMPARE(zk::mapset.lat, 45.0f);
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(zk::elevgrid.nx(), 640);
    }

    void escapeAndCancel()
    {
        {
            zk::runflag = 5;
            zk::frmMapPro w;
            w.show();
            QTest::keyClick(w.Text1, Qt::Key_Escape);
            QVERIFY(!w.isVisible());
            QCOMPARE(zk::runflag, int16_t(5));  // Esc leaves it
        }
        zk::frmMapPro w;
        w.show();
        QTest::mouseClick(w.Command6, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(zk::mapset.lon, -73.0f);
    }

    void cityButtonWaitsForTheOperation()
    {
        zk::frmMapPro w;
        w.show();
        zk::runflag = 1;
        QTest::mouseClick(w.Command2, Qt::LeftButton);  // nothing opens, nothing blocks
        zk::runflag = 0;
        bool shown = false;
        QTimer::singleShot(0, [&shown] {
            QWidget *m = QApplication::activeModalWidget();
            shown = m && m->objectName() == QLatin1String("frmCity");
            if (m) m->close();
        });
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        QVERIFY(shown);
    }

    void cursorButton()
    {
        zk::curlon = -71.25f;
        zk::curlat = 46.5f;
        zk::frmMapPro w;
        QTest::mouseClick(w.Command3, Qt::LeftButton);
        QCOMPARE(w.Text1->text(), QStringLiteral("-71.25"));
        QCOMPARE(w.Text2->text(), QStringLiteral("46.5"));
        QCOMPARE(zk::editmap.lon, -71.25f);
    }

    void pictureNames()
    {
        QCOMPARE(zk::mappicturename(QStringLiteral("C:/Cartes/Nord.MAP")), QStringLiteral("C:/Cartes/Nord.bmp"));
        QCOMPARE(zk::mappicturename(QStringLiteral("carte")), QStringLiteral("cabmp"));
        QCOMPARE(zk::mappicturename(QStringLiteral("ab")), QStringLiteral("bmp"));
    }

    // Every source checked, nothing on the disc and every missing tile
    // ignored: Terrain is read first and DTED last; the roots are stored as
    // typed; the picture goes into a new window, then into the same one.
    void applyRunsTheSourcesInOrderAndDraws()
    {
        zk::MsgScript script;
        for (int i = 0; i < 40; ++i) script.answer(zk::idIgnore);
        const QString root = empty.path() + QStringLiteral("/Disque/");
        for (int round = 0; round < 2; ++round) {
            zk::frmMapPro w;
            w.show();
            type(w.Text3, QStringLiteral("60"));
            type(w.Text4, QStringLiteral("40"));
            type(w.Text6, QStringLiteral("20"));
            for (int i = 0; i < 3; ++i) {
                w.Check1[size_t(i)]->setChecked(true);
                type(w.Text7[size_t(i)], root);
            }
            QTest::mouseClick(w.Command5, Qt::LeftButton);
            QVERIFY(!w.isVisible());
            QCOMPARE(zk::runflag, int16_t(0));
            QCOMPARE(zk::mapset.sources, uint8_t(7));
            QCOMPARE(zk::elevgrid.nx(), 60);
            QVERIFY(zk::mapmodified);
            QCOMPARE(zk::readsetting(QStringLiteral("DRV0"), "C"), root);
            QCOMPARE(zk::readsetting(QStringLiteral("IGNMIS"), "True"), QStringLiteral("False"));
            QCOMPARE(zk::picwindows().size(), 1);
            QCOMPARE(zk::picwindows()[0]->windowTitle(), QStringLiteral("..\\default.bmp"));
            QCOMPARE(zk::picwindows()[0]->Picture1->scaleWidth(), 60);
        }
        QStringList kinds;
        for (const QString &t : script.texts()) {
            const QString k = t.section(QLatin1Char(' '), 1, 1);
            if (kinds.isEmpty() || kinds.last() != k) kinds << k;
        }
        QCOMPARE(kinds, QStringList({QStringLiteral("TERRAIN"), QStringLiteral("GTOPO30"), QStringLiteral("DTED"),
                                     QStringLiteral("TERRAIN"), QStringLiteral("GTOPO30"), QStringLiteral("DTED")}));
    }

    void applyWithOnlyDted()
    {
        zk::MsgScript script;
        for (int i = 0; i < 10; ++i) script.answer(zk::idIgnore);
        zk::frmMapPro w;
        type(w.Text3, QStringLiteral("20"));
        type(w.Text4, QStringLiteral("20"));
        type(w.Text6, QStringLiteral("5"));
        for (QCheckBox *c : w.Check1) c->setChecked(false);
        w.Check1[0]->setChecked(true);
        type(w.Text7[0], empty.path() + QLatin1Char('/'));
        QTest::mouseClick(w.Command5, Qt::LeftButton);
        QVERIFY(!script.texts().isEmpty());
        for (const QString &t : script.texts()) QVERIFY2(t.startsWith(QStringLiteral("Fichier DTED")), qPrintable(t));
        QCOMPARE(zk::mapset.sources, uint8_t(1));
    }

    // Abort on the first missing tile stops that run; the later ones still
    // run, and nothing is drawn when every run was stopped.
    void everyRunStoppedDrawsNothing()
    {
        for (zk::frmPic *p : zk::picwindows()) delete p;
        zk::MsgScript script;
        for (int i = 0; i < 3; ++i) script.answer(zk::idAbort);
        zk::frmMapPro w;
        type(w.Text3, QStringLiteral("20"));
        type(w.Text4, QStringLiteral("20"));
        type(w.Text6, QStringLiteral("5"));
        for (int i = 0; i < 3; ++i) {
            w.Check1[size_t(i)]->setChecked(true);
            type(w.Text7[size_t(i)], empty.path() + QLatin1Char('/'));
        }
        QTest::mouseClick(w.Command5, Qt::LeftButton);
        QCOMPARE(script.shown().size(), 3);
        QVERIFY(zk::picwindows().isEmpty());
        QCOMPARE(zk::runflag, int16_t(0));
    }
};

QTEST_MAIN(TestFrmMapPro)
#include "test_frmmappro.moc"
