// The city list "Villes" as a user meets it: shown and active on a desktop,
// its list holding the keyboard focus. Nothing is chosen until the user
// picks a row: the entry count stays, and "Appliquer" without a pick moves
// neither the map nor a station. Reached directly, from the map-properties
// dialog and from the station dialog.
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "cp1252.h"
#include "desktopenv.h"
#include "map/frmCity.h"
#include "map/linktext.h"
#include "map/mapdata.h"
#include "paths.h"
#include "pictures/frmMapPro.h"
#include "radio/frmUnit.h"
#include "radio/radiodata.h"

namespace {

// What the list showed once active, and what came of the click on Appliquer.
struct Seen {
    bool active = false;
    QString label;
    int selected = -1;
    bool listFocused = false;
};

// Waits for the list to be active, reads it, then clicks Appliquer with the
// mouse, or first clicks `pick` (a row) when it is 0 or more.
void applyWhenActive(Seen &seen, int pick = -1)
{
    desktoptest::whenActiveModal(QStringLiteral("frmCity"), seen.active, [&seen, pick](QDialog *d) {
        auto *list = d->findChild<QListWidget *>(QStringLiteral("List1"));
        seen.listFocused = QApplication::focusWidget() == list;
        seen.label = d->findChild<QLabel *>(QStringLiteral("Label1"))->text();
        seen.selected = int(list->selectedItems().size());
        if (pick >= 0) QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(pick)).center());
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("Command3")), Qt::LeftButton);
    });
}

}  // namespace

class TestDesktopCity : public QObject {
    Q_OBJECT

    zk::frmMain *main_ = nullptr;

private slots:
    void initTestCase()
    {
        main_ = desktoptest::startOnDemo();
        QVERIFY2(main_, "the program did not start on the demo network");
    }
    void init()
    {
        // Two places, the first of them far from the demo map.
        QFile f(zk::paths::writableDataFile(QStringLiteral("cities.dat")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("\"Code\",\"Lat\",\"Lon\",\"Nom\"\r\n\"0\",-33.5,-151.25,\"Loin\"\r\n\"0\",45.25,73.5,\"Proche\"\r\n");
    }

    void listAloneAppliedWithoutAPick()
    {
        zk::editmap.lon = 1.0f;
        zk::editmap.lat = 2.0f;
        zk::linktext1 = QStringLiteral("unchanged");
        zk::frmCity dlg(main_);
        Seen seen;
        applyWhenActive(seen);
        dlg.exec();
        QVERIFY2(seen.active, "the city list never became the active window");
        QVERIFY(seen.listFocused);
        QCOMPARE(seen.label, QString::fromUtf8("2 entrées"));
        QCOMPARE(seen.selected, 0);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(zk::editmap.lon, 1.0f);
        QCOMPARE(zk::editmap.lat, 2.0f);
        QCOMPARE(zk::linktext1, QStringLiteral("unchanged"));
    }

    // A real pick still chooses, and the label shows it.
    void listAloneAppliedAfterAPick()
    {
        zk::frmCity dlg(main_);
        Seen seen;
        applyWhenActive(seen, 1);
        dlg.exec();
        QVERIFY(seen.active);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(zk::editmap.lon, -73.5f);
        QCOMPARE(zk::editmap.lat, 45.25f);
        QCOMPARE(zk::linktext1, QStringLiteral("Proche              "));
    }

    void mapPropertiesKeepTheirCentre()
    {
        zk::frmMapPro w(main_);
        w.show();
        QVERIFY(desktoptest::waitActive(&w));
        const QString lon = w.Text1->text(), lat = w.Text2->text();
        Seen seen;
        applyWhenActive(seen);
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        QVERIFY2(seen.active, "the city list never became the active window");
        QCOMPARE(seen.label, QString::fromUtf8("2 entrées"));
        QCOMPARE(w.Text1->text(), lon);
        QCOMPARE(w.Text2->text(), lat);
    }

    void stationStaysWhereItIs()
    {
        zk::curunit = 1;
        const zk::UnitRecord before = zk::units[1];
        zk::frmUnit w(main_);
        w.show();
        QVERIFY(desktoptest::waitActive(&w));
        Seen seen;
        applyWhenActive(seen);
        QTest::mouseClick(w.Command3, Qt::LeftButton);
        QVERIFY2(seen.active, "the city list never became the active window");
        QCOMPARE(seen.label, QString::fromUtf8("2 entrées"));
        QCOMPARE(zk::units[1].lon, before.lon);
        QCOMPARE(zk::units[1].lat, before.lat);
        QCOMPARE(zk::fixedText(zk::units[1].name), zk::fixedText(before.name));
    }
};

QTEST_MAIN(TestDesktopCity)
#include "test_desktop_city.moc"
