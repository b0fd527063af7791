// The station dialog frmUnit driven by its control names: name, elevation,
// activation, colours, icon, positions from the cursor, the position dialog
// and the city list, undo, appending to the cities file, and what it draws.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "base/dialogs.h"
#include "base/longop.h"
#include "base/screen.h"
#include "base/settings.h"
#include "cp1252.h"
#include "map/datum.h"
#include "map/frmCity.h"
#include "map/geotext.h"
#include "map/linktext.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/cursor.h"
#include "pictures/frmPic.h"
#include "pictures/picbox.h"
#include "pictures/picfiles.h"
#include "qtenv.h"
#include "radio/frmNet.h"
#include "radio/frmUnit.h"
#include "radio/radiodata.h"
#include "radio/radiohooks.h"
#include "radio/unitdraw.h"
#include "radioenv.h"

using zk::frmUnit;

namespace {

QPixmap solid(uint32_t rgb, int size = 32)
{
    QPixmap p(size, size);
    p.fill(zk::qcolor(rgb));
    return p;
}

bool red(QLineEdit *box) { return box->palette().color(QPalette::Text) == QColor(255, 0, 0); }

void typeInto(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (QChar ch : text) {
        if (ch.unicode() < 128) {
            QTest::keyClick(box, char(ch.unicode()));
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(box, &press);
        }
    }
}

// Runs `act` on the next modal dialog, which must carry that name. A dialog
// left open by a failing check is closed so that the test goes on.
void whenmodal(const char *name, std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [name, act] {
        QWidget *m = QApplication::activeModalWidget();
        if (!m || m->objectName() != QLatin1String(name)) {
            QFAIL(qPrintable(QStringLiteral("no modal %1").arg(QLatin1String(name))));
        }
        act(m);
        if (QApplication::activeModalWidget() == m) {
            if (auto *d = qobject_cast<QDialog *>(m)) d->reject();
            QFAIL("the dialog stayed open");
        }
    });
}

// The elevation of test-map cell (x, y).
int16_t slope(int x, int y) { return int16_t(x + 2 * y); }

QByteArray fileBytes(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestFrmUnit : public QObject {
    Q_OBJECT

    std::unique_ptr<radiotest::TestMain> env;
    QTemporaryDir tmp;
    QString prog, user, cities;

    void writeCities(const QByteArray &bytes)
    {
        QFile f(cities);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    std::unique_ptr<frmUnit> opendialog()
    {
        auto d = std::make_unique<frmUnit>();
        d->show();
        return d;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
        s.clear();
        zk::setScreenPixels(QSize(1024, 768));
        prog = tmp.filePath(QStringLiteral("prog"));
        user = tmp.filePath(QStringLiteral("user"));
        QDir().mkpath(prog);
        QDir().mkpath(user);
        zk::paths::setProgramFolder(prog);
        zk::paths::setUserFolder(user);
        cities = user + QStringLiteral("/cities.dat");
        env = std::make_unique<radiotest::TestMain>();
        zk::installradiohooks();
        zk::radiohooks.icons = [] { return QList<QPixmap>{solid(0x0000FF), solid(0xFF0000, 16)}; };
    }
    void cleanupTestCase()
    {
        zk::radiohooks = {};
        zk::dialogHooks = {};
        env.reset();
        zk::setScreenPixels(QSize());
    }
    void init()
    {
        QLocale::setDefault(QLocale::c());
        zk::newnet(false);
        radiotest::setTestMap(slope);
        zk::loadellipsoid(QString());
        zk::ellname.clear();
        zk::runflag = 0;
        zk::curunit = 5;
        radiotest::placeUnit(5, 64, 128, 7);  // 9 E, 42 N
        zk::linktext1.clear();
        zk::settings.gpsflags = 0;
        QFile::remove(cities);
        env->closeAll();
    }
    void cleanup()
    {
        zk::dialogHooks = {};
        env->closeAll();
    }

    // ------------------------------------------------------------ showing

    void captionsAndOpening()
    {
        auto d = opendialog();
        QCOMPARE(d->windowTitle(), QStringLiteral("Propriétés des stations"));
        QCOMPARE(d->Command4->text(), QStringLiteral("Entrer LAT LON ou QRA"));
        QCOMPARE(d->Command3->text(), QStringLiteral("Importer la station de cities.dat"));
        QCOMPARE(d->Command1->text(), QStringLiteral("Ajouter la station à cities.dat"));
        QCOMPARE(d->Command5->text(), QStringLiteral("Placer la station à la position du curseur"));
        QCOMPARE(d->Command6->text(), QStringLiteral("Placer le curseur à la position de la station"));
        QCOMPARE(d->Command7->text(), QStringLiteral("Défaire la station"));
        QCOMPARE(d->Command2->text(), QStringLiteral("Appliquer"));
        QCOMPARE(d->Command9->text(), QStringLiteral("Couleur"));
        QCOMPARE(d->Command8->text(), QStringLiteral("Fond"));
        QCOMPARE(d->Frame1->title(), QStringLiteral("Position"));
        QCOMPARE(d->Label5->toolTip(), QStringLiteral("-999 à 9999m"));
        QCOMPARE(d->List1->count(), 50);
        QCOMPARE(d->List1->currentRow(), 4);
        QCOMPARE(d->HScroll1->minimum(), 0);
        QCOMPARE(d->HScroll1->maximum(), 2);
        QCOMPARE(d->lastselected(), 5);

        d.reset();
        zk::ellname = QStringLiteral("WGS 1984");
        zk::curunit = 99;  // clamped
        d = opendialog();
        QCOMPARE(d->Command4->text(), QStringLiteral("Entrer LAT LON ou MGRS"));
        QCOMPARE(zk::curunit, int16_t(50));
        QCOMPARE(d->List1->currentRow(), 49);
    }

    void showsTheUnit()
    {
        zk::units[5].color = 0x00FFFF;
        zk::units[5].backcolor = 0x800000;
        zk::units[5].transparent = -1;
        auto d = opendialog();
        QCOMPARE(d->Text1->text(), QStringLiteral("Station 05"));
        QCOMPARE(d->Text2->text(), QStringLiteral("7"));
        QCOMPARE(zk::editmap.lon, 9.0f);
        QCOMPARE(zk::editmap.lat, 42.0f);
        float lat = 42, lon = 9;
        QCOMPARE(d->Label2->text(), zk::latdms(lat) + QLatin1Char(' ') + zk::londms(lon));
        QCOMPARE(d->Label2->text(), QStringLiteral("42°00'00\"N 009°00'00\"E"));
        QCOMPARE(d->Label1->text(), zk::gridlocator(9, 42));
        QVERIFY(d->Check1->isChecked());
        QVERIFY(d->Check2->isChecked());
        QVERIFY(zk::units[5].enabled != 0);
        QVERIFY(!d->Label4->isHidden());
        QVERIFY(!d->Label4->autoFillBackground());
        QCOMPARE(d->Label4->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        QCOMPARE(d->Label4->palette().color(QPalette::Window), QColor(0, 0, 128));
        // A unit beyond the map: showing it never moves it.
        zk::units[6].lat = 89.75f;
        zk::units[6].lon = 200;
        d->List1->setCurrentRow(5);
        QCOMPARE(zk::units[6].lat, 89.75f);
        QCOMPARE(zk::units[6].lon, 200.0f);
    }

    // ------------------------------------------------------------ edits

    void nameAndElevation()
    {
        auto d = opendialog();
        typeInto(d->Text1, QStringLiteral("  Château d'eau de la colline"));
        QCOMPARE(zk::fixedText(zk::units[5].name), QStringLiteral("Château d'eau de la"));
        QCOMPARE(d->List1->item(4)->text(), QStringLiteral("Château d'eau de la"));
        typeInto(d->Text2, QStringLiteral("-2000"));
        QCOMPARE(zk::units[5].elev, -999.0f);
        QVERIFY(red(d->Text2));
        typeInto(d->Text2, QStringLiteral("abc"));
        QCOMPARE(zk::units[5].elev, 0.0f);
        QVERIFY(!red(d->Text2));
        typeInto(d->Text2, QStringLiteral("1234.5"));
        QCOMPARE(zk::units[5].elev, 1234.5f);
    }

    void userEditsMarkTheDocumentChanged()
    {
        zk::dialogHooks.color = [](uint32_t, const uint32_t *, uint32_t &chosen) {
            chosen = 0x00FF00;
            return true;
        };
        zk::units[6].enabled = 0;
        zk::netmodified = false;
        auto d = opendialog();
        d->List1->setCurrentRow(5);
        d->List1->setCurrentRow(4);
        QVERIFY(!zk::netmodified);  // showing is no change of the user's
        const std::function<void()> edits[] = {
            [&] { typeInto(d->Text1, QStringLiteral("Nord")); },
            [&] { typeInto(d->Text2, QStringLiteral("12")); },
            [&] { d->Check1->click(); },
            [&] { d->Check2->click(); },
            [&] { d->Command9->click(); },
            [&] { d->Command8->click(); },
            [&] { d->HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd); },
            [&] { d->Command7->click(); },
            [&] {
                zk::curlon = 10;
                zk::curlat = 43;
                d->Command5->click();
            },
        };
        int k = 0;
        for (const auto &edit : edits) {
            zk::netmodified = false;
            edit();
            QVERIFY2(zk::netmodified, qPrintable(QString::number(k)));
            ++k;
        }
        QCOMPARE(zk::uniticon[5], uint8_t(1));  // icon 0 shown at 1, one step on
    }

    void activationAndBackground()
    {
        auto d = opendialog();
        d->Check1->click();
        QCOMPARE(zk::units[5].enabled, int16_t(0));
        QVERIFY(d->Label4->isHidden());
        d->Check1->click();
        QCOMPARE(zk::units[5].enabled, int16_t(1));
        QVERIFY(!d->Label4->isHidden());
        d->Check2->click();
        QCOMPARE(zk::units[5].transparent, int16_t(1));
        QVERIFY(!d->Label4->autoFillBackground());
        d->Check2->click();
        QCOMPARE(zk::units[5].transparent, int16_t(0));
        QVERIFY(d->Label4->autoFillBackground());
    }

    void colours()
    {
        static uint32_t offered = 0;
        static bool confirm = true;
        zk::dialogHooks.color = [](uint32_t initial, const uint32_t *, uint32_t &chosen) {
            offered = initial;
            chosen = 0x123456;
            return confirm;
        };
        auto d = opendialog();
        d->Command9->click();
        QCOMPARE(offered, 0xFFFFFFu);
        QCOMPARE(zk::units[5].color, 0x123456u);
        QCOMPARE(zk::rgbof(d->Label4->palette().color(QPalette::WindowText)), 0x123456u);
        d->Command8->click();
        QCOMPARE(offered, 0u);
        QCOMPARE(zk::units[5].backcolor, 0x123456u);
        confirm = false;  // cancelled: the colour offered stays
        zk::units[5].backcolor = 0x00FF00;
        d->updatefields();
        d->Command8->click();
        QCOMPARE(offered, 0x00FF00u);
        QCOMPARE(zk::units[5].backcolor, 0x00FF00u);
        confirm = true;
    }

    void icons()
    {
        zk::uniticon[5] = 255;
        zk::uniticon[6] = 7;  // a file written where more icons existed
        zk::uniticon[7] = 0;
        zk::uniticon[8] = 9;
        auto d = opendialog();
        QCOMPARE(d->HScroll1->value(), 0);
        QCOMPARE(d->Label6->text(), QStringLiteral("Aucun icône"));
        d->HScroll1->setValue(1);
        QCOMPARE(zk::uniticon[5], uint8_t(0));
        QCOMPARE(d->Label6->text(), QStringLiteral("Icône 32x32 pixels"));
        d->HScroll1->setValue(2);
        QCOMPARE(zk::uniticon[5], uint8_t(1));
        QCOMPARE(d->Label6->text(), QStringLiteral("Icône 16x16 pixels"));
        d->HScroll1->setValue(0);
        QCOMPARE(zk::uniticon[5], uint8_t(255));
        QVERIFY(d->Image1->pixmap().isNull());

        // Icon 7 of 2: shown at 1, which moves the bar from 0: icon 0.
        d->List1->setCurrentRow(5);
        QCOMPARE(d->HScroll1->value(), 1);
        QCOMPARE(zk::uniticon[6], uint8_t(0));
        // Icon 9 shown after a unit at 1: the bar does not move; kept.
        d->List1->setCurrentRow(6);
        QCOMPARE(zk::uniticon[7], uint8_t(0));
        d->List1->setCurrentRow(7);
        QCOMPARE(d->HScroll1->value(), 1);
        QCOMPARE(zk::uniticon[8], uint8_t(9));
    }

    // ------------------------------------------------------------ undo

    void undoBringsBackTheUnitAsFirstSelected()
    {
        zk::uniticon[5] = 255;
        auto d = opendialog();
        typeInto(d->Text1, QStringLiteral("Renommée"));
        d->Check1->click();
        zk::curlon = radiotest::cellLon(100);
        zk::curlat = radiotest::cellLat(200);
        d->Command5->click();
        QCOMPARE(zk::units[5].lon, radiotest::cellLon(100));
        d->HScroll1->setValue(2);
        // Selecting the same unit again keeps the backup.
        QTest::mouseClick(d->List1->viewport(), Qt::LeftButton, {}, d->List1->visualItemRect(d->List1->item(4)).center());
        QCOMPARE(d->lastselected(), 5);
        QCOMPARE(d->Text1->text(), QStringLiteral("Renommée"));

        d->Command7->click();
        const zk::UnitRecord &u = zk::units[5];
        QCOMPARE(zk::fixedText(u.name), QStringLiteral("Station 05"));
        QCOMPARE(u.lon, 9.0f);
        QCOMPARE(u.lat, 42.0f);
        QCOMPARE(u.elev, 7.0f);
        QVERIFY(u.enabled != 0);
        QCOMPARE(u.color, 0xFFFFFFu);
        QCOMPARE(d->Text1->text(), QStringLiteral("Station 05"));
        QCOMPARE(d->List1->item(4)->text(), QStringLiteral("Station 05"));
        QVERIFY(d->Check1->isChecked());
        QCOMPARE(zk::uniticon[5], uint8_t(1));  // the backup does not hold the icon

        // Selecting another unit and coming back takes a new backup.
        typeInto(d->Text1, QStringLiteral("Deux"));
        d->List1->setCurrentRow(5);
        d->List1->setCurrentRow(4);
        typeInto(d->Text1, QStringLiteral("Trois"));
        d->Command7->click();
        QCOMPARE(zk::fixedText(zk::units[5].name), QStringLiteral("Deux"));
    }

    // ------------------------------------------------------------ positions

    void positionFromTheCursor()
    {
        auto d = opendialog();
        zk::curlon = radiotest::cellLon(10);
        zk::curlat = radiotest::cellLat(20);
        d->Command5->click();
        QCOMPARE(zk::units[5].lon, radiotest::cellLon(10));
        QCOMPARE(zk::units[5].lat, radiotest::cellLat(20));
        QCOMPARE(zk::units[5].elev, float(slope(10, 20)));
        QCOMPARE(d->Text2->text(), QStringLiteral("50"));
        QCOMPARE(zk::editmap.lon, radiotest::cellLon(10));
        // Off the map: elevation 0.
        zk::curlon = 30;
        d->Command5->click();
        QCOMPARE(zk::units[5].elev, 0.0f);

        // The cursor to the unit (as last shown).
        zk::curlon = 0;
        zk::curlat = 0;
        d->Command6->click();
        QCOMPARE(zk::curlon, 30.0f);
        QCOMPARE(zk::curlat, radiotest::cellLat(20));
        QCOMPARE(zk::units[5].lon, 30.0f);
    }

    void positionDialogCancelledTakesTheElevationAgain()
    {
        zk::units[5].elev = 999;
        auto d = opendialog();
        whenmodal("frmDMS", [](QWidget *m) { m->findChild<QPushButton *>(QStringLiteral("Command4"))->click(); });
        d->Command4->click();
        QCOMPARE(zk::units[5].lon, 9.0f);
        QCOMPARE(zk::units[5].lat, 42.0f);
        QCOMPARE(zk::units[5].elev, float(slope(64, 128)));
        QCOMPARE(d->Text2->text(), QString::number(slope(64, 128)));
    }

    void positionDialogApplied()
    {
        auto d = opendialog();
        whenmodal("frmDMS", [](QWidget *m) {
            auto *deg = m->findChild<QLineEdit *>(QStringLiteral("Text1(0)"));
            typeInto(deg, QStringLiteral("10"));
            auto *min = m->findChild<QLineEdit *>(QStringLiteral("Text1(1)"));
            typeInto(min, QStringLiteral("30"));
            m->findChild<QPushButton *>(QStringLiteral("Command3"))->click();
        });
        d->Command4->click();
        QCOMPARE(zk::units[5].lon, 10.5f);
        QCOMPARE(zk::units[5].lat, 42.0f);
        QCOMPARE(zk::units[5].elev, float(slope(160, 128)));
        QCOMPARE(d->Label2->text(), QStringLiteral("42°00'00\"N 010°30'00\"E"));
    }

    void cityImport()
    {
        writeCities("\"Code\",\"Latitude\",\"Longitude\",\"Nom\"\r\n"
                    "\"0\",42.5,-12.25,\"Grosseto\"\r\n");
        auto d = opendialog();
        // Cancelled: nothing changes.
        whenmodal("frmCity", [](QWidget *m) { m->findChild<QPushButton *>(QStringLiteral("Command4"))->click(); });
        d->Command3->click();
        QCOMPARE(zk::fixedText(zk::units[5].name), QStringLiteral("Station 05"));
        QCOMPARE(zk::units[5].lon, 9.0f);
        QCOMPARE(zk::units[5].elev, 7.0f);

        whenmodal("frmCity", [](QWidget *m) {
            m->findChild<QListWidget *>(QStringLiteral("List1"))->setCurrentRow(0);
            m->findChild<QPushButton *>(QStringLiteral("Command3"))->click();
        });
        d->Command3->click();
        QCOMPARE(zk::fixedText(zk::units[5].name), QStringLiteral("Grosseto"));
        QCOMPARE(zk::units[5].lon, 12.25f);
        QCOMPARE(zk::units[5].lat, 42.5f);
        QCOMPARE(zk::units[5].elev, float(slope(272, 160)));
        QCOMPARE(d->Text1->text(), QStringLiteral("Grosseto"));
        QCOMPARE(d->List1->item(4)->text(), QStringLiteral("Grosseto"));

        // While an operation runs the list does not open.
        zk::runflag = 1;
        d->Command3->click();
        zk::runflag = 0;
        QCOMPARE(zk::fixedText(zk::units[5].name), QStringLiteral("Grosseto"));
    }

    // ------------------------------------------------------------ cities.dat

    void appendedStationReadBackByTheCityList_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("listed");
        QTest::newRow("plain") << "Mont Royal" << "Mont Royal";
        QTest::newRow("double quotes") << "Le \"Pic\" nord" << "Le 'Pic' nord";
        QTest::newRow("comma") << "Sommet, est" << "Sommet; est";
        QTest::newRow("accent") << "Québec" << "Québec";
    }
    void appendedStationReadBackByTheCityList()
    {
        QFETCH(QString, name);
        QFETCH(QString, listed);
        const QByteArray shipped = "\"Code\",\"Latitude\",\"Longitude\",\"Nom\"\r\n\"0\",45.5017,73.5673,\"Montr\xE9" "al\"\r\n";
        writeCities(shipped);
        zk::setFixedText(zk::units[5].name, name);
        zk::units[5].lat = 45.5f;
        zk::units[5].lon = -73.25f;
        zk::units[5].color = 0x0000FF;
        auto d = opendialog();
        zk::MsgScript script;
        script.answer(zk::idYes);
        d->Command1->click();
        QCOMPARE(script.shown().size(), 1);
        QCOMPARE(script.shown()[0].text, name + QStringLiteral("\r\nAjouter la station à cities.dat?"));
        QCOMPARE(script.shown()[0].flags, int(zk::mbYesNo));

        const QByteArray bytes = fileBytes(cities);
        QVERIFY(bytes.startsWith(shipped));
        QByteArray line = "\"FF\",45.5,73.25,\"" + zk::toCp1252(listed) + "\"\r\n";
        QCOMPARE(bytes.mid(shipped.size()), line);

        // The city list reads it back: one place more, with this name and position.
        zk::frmCity list;
        auto *rows = list.findChild<QListWidget *>(QStringLiteral("List1"));
        QCOMPARE(rows->count(), 2);
        rows->setCurrentRow(1);
        list.findChild<QPushButton *>(QStringLiteral("Command3"))->click();
        QCOMPARE(zk::linktext1.trimmed(), listed);
        QCOMPARE(zk::editmap.lon, -73.25f);
        QCOMPARE(zk::editmap.lat, 45.5f);
    }

    void appendingAnsweredNoWritesNothing()
    {
        writeCities("header\r\n");
        auto d = opendialog();
        zk::MsgScript script;
        script.answer(zk::idNo);
        d->Command1->click();
        QCOMPARE(fileBytes(cities), QByteArray("header\r\n"));
    }

    void appendingToAMissingOrUnendedFile()
    {
        zk::units[5].lon = -73.25f;
        zk::units[5].lat = 45.5f;
        auto d = opendialog();
        zk::MsgScript script;
        d->Command1->click();  // the default button: Yes
        QCOMPARE(fileBytes(cities), zk::citiesheader() + "\"FFFFFF\",45.5,73.25,\"Station 05\"\r\n");

        writeCities("header\r\n\"0\",1,2,\"Last\"");
        d->Command1->click();
        QCOMPARE(fileBytes(cities), QByteArray("header\r\n\"0\",1,2,\"Last\"\r\n\"FFFFFF\",45.5,73.25,\"Station 05\"\r\n"));
        QFile f(cities);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(zk::cityrows(f).size(), 2);
    }

    // ------------------------------------------------------------ pictures

    void editsRedrawTheUnitAndClosingDrawsAll()
    {
        const QString bmp = tmp.filePath(QStringLiteral("map.bmp"));
        QVERIFY(radiotest::writeMapPicture(bmp));
        zk::frmPic *w = zk::openpicture(bmp, 1);
        QVERIFY(w);
        radiotest::placeUnit(1, 100, 100);
        zk::drawunit(0, true);
        QVERIFY(!w->Label4[1]->isHidden());
        QVERIFY(!w->Label4[5]->isHidden());
        // A mark drawn on the picture goes when the dialog opens.
        w->Picture1->image().setPixel(3, 3, qRgb(255, 0, 0));
        auto d = opendialog();
        QCOMPARE(QColor(w->Picture1->image().pixel(3, 3)), QColor(90, 90, 90));
        typeInto(d->Text1, QStringLiteral("Relais"));
        QCOMPARE(w->Label4[5]->text(), QStringLiteral("Relais"));
        d->Check1->click();
        QVERIFY(w->Label4[5]->isHidden());
        d->Check1->click();
        QVERIFY(!w->Label4[5]->isHidden());
        w->Label4[1]->hide();
        d->Command2->click();
        QVERIFY(!d->isVisible());
        QVERIFY(!w->Label4[1]->isHidden());
        QVERIFY(!w->Label4[5]->isHidden());
    }

    // The network dialog, on the same pictures: no network drawing while it
    // is open.
    void networkDialogClearsThePictures()
    {
        const QString bmp = tmp.filePath(QStringLiteral("map.bmp"));
        QVERIFY(radiotest::writeMapPicture(bmp));
        zk::frmPic *w = zk::openpicture(bmp, 1);
        QVERIFY(w);
        w->Picture1->image().setPixel(7, 9, qRgb(0, 255, 0));
        zk::frmNet d;
        QCOMPARE(QColor(w->Picture1->image().pixel(7, 9)), QColor(90, 90, 90));
    }
};

QTEST_MAIN(TestFrmUnit)
#include "test_frmunit.moc"
