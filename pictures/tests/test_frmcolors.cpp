// The colour-scale editor frmColors driven through its controls: altitude
// and signal modes, the apply buttons, the scale and colour presets, the
// colour buttons, and the absolute scale that an apply keeps.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "base/dialogs.h"
#include "map/mapdata.h"
#include "paths.h"
#include "pictures/colorscale.h"
#include "pictures/frmColors.h"

namespace {

uint32_t rgb(int r, int g, int b) { return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16); }

uint32_t g_picked = 0;
uint32_t g_offered = 0;
bool pickHook(uint32_t initial, const uint32_t *, uint32_t &chosen)
{
    g_offered = initial;
    chosen = g_picked;
    return g_picked != 0;
}

}  // namespace

class TestFrmColors : public QObject {
    Q_OBJECT

    QTemporaryDir user;

private slots:
    void initTestCase()
    {
        zk::paths::setUserFolder(user.path());
        zk::dialogHooks.color = &pickHook;
    }
    void cleanupTestCase()
    {
        zk::paths::setUserFolder(QString());
        zk::dialogHooks.color = nullptr;
    }

    void init()
    {
        QLocale::setDefault(QLocale::c());
        zk::colors = zk::defaultcolors();
        zk::alt = {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000};
        zk::sigsteps = {-107, -103, -99, -95, -91, -87, -83, -79, -75, -71, -67.5f};
        zk::absscale = 0;
        zk::stratcolors = 0;
        zk::showlegend = 0;
        zk::scalekind = 0;
        zk::editmap = MapSettings{};
        QFile::remove(user.filePath(QStringLiteral("colors.dat")));
    }

    void loadsAltitudeMode()
    {
        zk::stratcolors = 1;
        zk::showlegend = 1;
        zk::frmColors d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Couleurs arc-en-ciel"));
        QCOMPARE(d.Label1->text(), QStringLiteral("Altitude (m)"));
        QCOMPARE(d.Label7->text(), QStringLiteral("Color"));
        QCOMPARE(d.Text1[0]->text(), QStringLiteral("0"));
        QCOMPARE(d.Text1[10]->text(), QStringLiteral("1000"));
        QCOMPARE(d.Label8->text(), QStringLiteral("< 0"));
        QCOMPARE(d.Command1[11]->text(), QStringLiteral("12"));
        QCOMPARE(d.buttoncolor(0), rgb(90, 150, 205));
        QVERIFY(d.Check4->isChecked());
        QVERIFY(d.Check1->isChecked());
        QCOMPARE(d.Check4->text(), QStringLiteral("Couleurs statifiées"));
        QCOMPARE(d.Check1->text(), QStringLiteral("Montrer légende"));
        QVERIFY(!d.Command8->isHidden());
        // Each threshold stands level with the colour that starts at it.
        QCOMPARE(d.Text1[3]->y(), d.Command1[4]->y());
        QCOMPARE(d.Label8->y(), d.Command1[0]->y());
        // The label follows the first box.
        d.Text1[0]->setText(QStringLiteral("-20"));
        QCOMPARE(d.Label8->text(), QStringLiteral("< -20"));
    }

    void loadsSignalModeUnderACommaLocale()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        zk::scalekind = 1;
        zk::frmColors d;
        QCOMPARE(d.Label1->text(), QStringLiteral("Signal"));
        QCOMPARE(d.Text1[0]->text(), QStringLiteral("-107"));
        QCOMPARE(d.Text1[10]->text(), QStringLiteral("-67,5"));
        for (QLineEdit *t : d.Text1) QVERIFY(!t->isEnabled());
        QVERIFY(d.Check4->isHidden());
        QVERIFY(d.Command5->isHidden());
        QVERIFY(d.Command6->isHidden());
        QVERIFY(d.Command8->isHidden());
        // Apply stores colours and switches, never the altitude thresholds.
        const auto before = zk::alt;
        d.Text1[0]->setEnabled(true);
        d.Text1[0]->setText(QStringLiteral("5"));
        QTest::mouseClick(d.Check1, Qt::LeftButton);
        QTest::mouseClick(d.Command4[0], Qt::LeftButton);
        QTest::mouseClick(d.Command2, Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(zk::alt, before);
        QCOMPARE(zk::showlegend, int16_t(1));
        QCOMPARE(zk::colors, zk::presetcolors(1));
        QCOMPARE(zk::absscale, int16_t(0));
    }

    void applyStoresEverything()
    {
        zk::frmColors d;
        d.Text1[2]->setText(QStringLiteral("250"));
        d.Text1[3]->setText(QStringLiteral("pas un nombre"));
        d.Text1[4]->setText(QStringLiteral("40000"));
        d.Text1[5]->setText(QStringLiteral("512.5"));  // halves to even
        QTest::mouseClick(d.Check4, Qt::LeftButton);
        QTest::mouseClick(d.Command2, Qt::LeftButton);
        QCOMPARE(zk::alt[2], int16_t(250));
        QCOMPARE(zk::alt[3], int16_t(300));  // unchanged
        QCOMPARE(zk::alt[4], int16_t(400));  // unchanged
        QCOMPARE(zk::alt[5], int16_t(512));
        QCOMPARE(zk::stratcolors, int16_t(1));
        QVERIFY(!QFile::exists(user.filePath(QStringLiteral("colors.dat"))));
    }

    void applyAndKeepWritesTheFile()
    {
        zk::frmColors d;
        d.Text1[1]->setText(QStringLiteral("150"));
        QTest::mouseClick(d.Command8, Qt::LeftButton);
        QCOMPARE(zk::alt[1], int16_t(150));
        QFile f(user.filePath(QStringLiteral("colors.dat")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), zk::colorsfile());
    }

    void cancelAndEscStoreNothing()
    {
        const auto before = zk::alt;
        {
            zk::frmColors d;
            d.Text1[1]->setText(QStringLiteral("150"));
            QTest::mouseClick(d.Command6, Qt::LeftButton);
            QTest::mouseClick(d.Command3, Qt::LeftButton);
            QCOMPARE(d.result(), int(QDialog::Rejected));
        }
        {
            zk::frmColors d;
            d.show();
            d.Text1[1]->setText(QStringLiteral("150"));
            QTest::keyClick(d.Text1[1], Qt::Key_Escape);
            QVERIFY(!d.isVisible());
        }
        QCOMPARE(zk::alt, before);
        QCOMPARE(zk::absscale, int16_t(0));
    }

    void scalePresets()
    {
        zk::editmap.minx = 0;
        zk::editmap.maxx = 25;
        zk::frmColors d;
        QTest::mouseClick(d.Command6, Qt::LeftButton);
        QCOMPARE(zk::fixedscale(), int16_t(1));
        QCOMPARE(d.Text1[0]->text(), QStringLiteral("1"));
        QCOMPARE(d.Text1[10]->text(), QStringLiteral("1000"));
        QTest::mouseClick(d.Command5, Qt::LeftButton);
        QCOMPARE(zk::fixedscale(), int16_t(0));
        QStringList shown;
        for (QLineEdit *t : d.Text1) shown << t->text();
        QCOMPARE(shown.join(QLatin1Char(' ')), QStringLiteral("0 2 5 8 10 12 15 18 20 22 25"));
        QTest::mouseClick(d.Command6, Qt::LeftButton);
        QTest::mouseClick(d.Command2, Qt::LeftButton);
        QCOMPARE(zk::absscale, int16_t(1));
        QCOMPARE(zk::alt[5], int16_t(500));
    }

    // An absolute scale (from the file or an earlier choice) stays absolute
    // when the dialog is applied without pressing a scale button.
    void absoluteScaleSurvivesAnApply()
    {
        zk::absscale = -1;  // as "colors.dat" may leave it
        {
            zk::frmColors d;
            QCOMPARE(zk::fixedscale(), int16_t(1));
            QTest::mouseClick(d.Command2, Qt::LeftButton);
        }
        QVERIFY(zk::absscale != 0);
        // And a relative one stays relative.
        zk::absscale = 0;
        zk::frmColors d;
        QTest::mouseClick(d.Command2, Qt::LeftButton);
        QCOMPARE(zk::absscale, int16_t(0));
    }

    void colourPresetsOnlyRecolourButtons()
    {
        zk::frmColors d;
        QTest::mouseClick(d.Command4[3], Qt::LeftButton);
        QCOMPARE(d.buttoncolor(1), zk::presetcolors(4)[1]);
        QCOMPARE(zk::colors, zk::defaultcolors());  // nothing applied yet
        QTest::mouseClick(d.Command3, Qt::LeftButton);
        QCOMPARE(zk::colors, zk::defaultcolors());
    }

    void colourButtonAsksForAColour()
    {
        zk::frmColors d;
        g_picked = rgb(1, 2, 3);
        QTest::mouseClick(d.Command1[7], Qt::LeftButton);
        QCOMPARE(g_offered, zk::defaultcolors()[7]);
        QCOMPARE(d.buttoncolor(7), rgb(1, 2, 3));
        g_picked = 0;  // cancelled: the old colour stays
        QTest::mouseClick(d.Command1[7], Qt::LeftButton);
        QCOMPARE(d.buttoncolor(7), rgb(1, 2, 3));
        QTest::mouseClick(d.Command2, Qt::LeftButton);
        QCOMPARE(zk::colors[7], rgb(1, 2, 3));
    }
};

QTEST_MAIN(TestFrmColors)
#include "test_frmcolors.moc"
