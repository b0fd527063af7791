// The HAAT report on a flat map, its failures, and the two coverage dialogs
// driven offscreen: the network list, the stored settings and clamps, the
// threshold units, and the HAAT button on the "no common network" row.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "base/longop.h"
#include "base/screen.h"
#include "base/settings.h"
#include <memory>
#include "msgbox.h"
#include "paths.h"
#include "pictures/covset.h"
#include "radio/frmCoverage.h"
#include "radio/frmVisual.h"
#include "radio/haat.h"
#include "radio/radiodata.h"
#include "radio/roles.h"
#include "radioenv.h"
#include "views3d/install3d.h"

class TestCoverageDialogs : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QStringList opened;

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        zk::paths::setUserFolder(dir.path());
        zk::setScreenPixels(QSize(1024, 768));
        zk::newnet(false);
        zk::radarfile = 0;  // not part of the document: left by the previous test
        radiotest::setTestMap([](int, int) -> int16_t { return 100; });
        opened.clear();
        // The dialog reads its thresholds from the settings at each opening.
        zk::writesetting(QStringLiteral("CovLow"), QStringLiteral("-107"));
        zk::writesetting(QStringLiteral("CovHigh"), QStringLiteral("-67"));
        zk::sethaatviewer([this](const QString &p) { opened << p; });
    }
    void cleanup()
    {
        zk::sethaatviewer({});
        zk::paths::setUserFolder(QString());
        zk::setScreenPixels(QSize());
        QFile::remove(dir.filePath(QStringLiteral("Haat.txt")));
    }

    // A unit on flat ground at 100 m with an antenna 10 m above it.
    void haatOnFlatMap()
    {
        radiotest::placeUnit(1, 256, 256, 100);
        zk::netheight(1, 1) = 10;
        zk::MsgScript script;
        QVERIFY(zk::haatreport(1, 1));
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(opened.size(), 1);
        QFile f(opened.first());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray all = f.readAll();
        QVERIFY(all.endsWith("\r\n"));
        const QList<QByteArray> lines = all.left(all.size() - 2).split('\n');
        QCOMPARE(lines.size(), 57);
        QCOMPARE(lines[0], QByteArray("HAAT, hauteur au dessus du sol moyen\r"));
        QCOMPARE(lines[11], QByteArray("Azt(\xb0)\tD(km)\tAltitude du sol(m)\r"));
        QCOMPARE(lines[12], QByteArray("000\t03.22\t0100.0\r"));
        QCOMPARE(lines[51], QByteArray("315\t16.09\t0100.0\r"));
        QCOMPARE(lines[53], QByteArray("Altitude de l'antenne  : 110m\r"));
        QCOMPARE(lines[54], QByteArray("Altitude moyenne du sol: 100m\r"));
        QCOMPARE(lines[56], QByteArray("HAAT: 10m"));
        QCOMPARE(lines[52], QByteArray(60, '-') + '\r');
        // The network's whole 30-character name field.
        QCOMPARE(lines[8], QByteArray(zk::nets[1].name, 30).trimmed().leftJustified(30, ' ') + '\r');
        QCOMPARE(lines[9], QByteArray("Hauteur de l'antenne au desssus du sol: 10m\r"));
    }

    // Too few samples on the map: average and HAAT are "?".
    void haatAtTheEdge()
    {
        radiotest::placeUnit(1, -12, 256, 100);  // west of the map: one sample on it
        const QStringList l = zk::haatlines(1, 1);
        QCOMPARE(l.size(), 57);
        QVERIFY(l[12 + 30].endsWith(QLatin1String("\t?")));  // 270 degrees, off the map
        QVERIFY(l[12 + 14].endsWith(QLatin1String("\t0100.0")));  // 90 degrees, 16 km
        QCOMPARE(l[54], QStringLiteral("Altitude moyenne du sol: ?"));
        QCOMPARE(l[56], QStringLiteral("HAAT: ?"));
    }

    // One message at the first failure and no viewer on a file not written.
    void haatFailures()
    {
        {
            zk::MsgScript script;
            QVERIFY(!zk::haatreport(0, 1));
            QVERIFY(!zk::haatreport(1, 26));
            QCOMPARE(script.shown().size(), 2);
            QCOMPARE(script.shown().first().text, QStringLiteral("Unable to create Haat report"));
        }
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Haat.txt")));  // a folder where the file should go
        zk::MsgScript script;
        QVERIFY(!zk::haatreport(1, 1));
        QCOMPARE(script.shown().size(), 1);
        QVERIFY(opened.isEmpty());
        QDir(dir.filePath(QStringLiteral("Haat.txt"))).removeRecursively();
    }

    void coverageDialogNetworks()
    {
        zk::units[1].enabled = zk::units[2].enabled = -1;
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 0;
        zk::MsgScript script;
        {
            zk::frmCoverage dlg;
            QCOMPARE(dlg.Combo3->count(), 1);
            QCOMPARE(dlg.Combo3->itemText(0), QStringLiteral("Pas de réseau en commun"));
            QCOMPARE(dlg.Combo1->itemText(0), QStringLiteral("omni.ant"));
            // The HAAT button does nothing on that row.
            dlg.Command4->click();
            QVERIFY(opened.isEmpty());
            QVERIFY(script.shown().isEmpty());
        }
        zk::nets[3].member[0] = 0x80;
        zk::nets[3].member[1] = 0x81;
        zk::linknet = 3;
        zk::frmCoverage dlg;
        QCOMPARE(dlg.Combo3->count(), 1);
        QCOMPARE(dlg.covnets[0], int16_t(3));
        dlg.Command4->click();
        QCOMPARE(opened.size(), 1);
        // The same unit at both ends empties the list.
        dlg.Combo2[1]->setCurrentIndex(0);
        dlg.unitchoice();
        QCOMPARE(dlg.Combo3->count(), 0);
    }

    void coverageApplyStoresClamped()
    {
        QFile ant(dir.filePath(QStringLiteral("Yagi.ANT")));
        QVERIFY(ant.open(QIODevice::WriteOnly));
        ant.write("0 -3 -6");
        ant.close();
        zk::units[1].enabled = zk::units[2].enabled = -1;
        zk::nets[1].member[0] = zk::nets[1].member[1] = 0x80;
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::covset.thrunit = 1;
        zk::frmCoverage dlg;
        QCOMPARE(dlg.Combo1->count(), 2);
        QCOMPARE(dlg.Combo1->itemText(1), QStringLiteral("Yagi.ANT"));  // as it is written on disc
        dlg.Combo1->setCurrentIndex(1);
        dlg.Check1[1]->setChecked(true);
        dlg.Text1->setText(QStringLiteral("400"));
        dlg.Text2->setText(QStringLiteral("10"));
        dlg.Text3->setText(QStringLiteral("0"));
        dlg.Text5->setText(QStringLiteral("20"));
        dlg.Text8->setText(QStringLiteral("50"));
        dlg.Option1[2]->click();  // µV: -107 and -67 dBm read 1 and 100
        QCOMPARE(dlg.Text6->text(), QStringLiteral("1.000"));
        QCOMPARE(dlg.Text7->text(), QStringLiteral("100.000"));
        dlg.Text6->setText(QStringLiteral("1E-30"));
        dlg.apply();
        QVERIFY(dlg.applied());
        QCOMPARE(zk::covset.azmin, 359.9f);
        QCOMPARE(zk::covset.azmax, 359.9f);
        QCOMPARE(zk::covset.azstep, 0.1f);
        QCOMPARE(zk::covset.rangemax, 20.0f);
        QCOMPARE(zk::covset.rangemin, 20.0f);
        QCOMPARE(zk::covlow, -200.0f);
        QCOMPARE(zk::covhigh, -67.0f);
        QCOMPARE(QByteArray(zk::covset.antfile, 20), QByteArray("Yagi.ANT            "));
        QCOMPARE(zk::linknet, int16_t(1));
    }

    // The network file keeps 20 characters of a table name: a longer name is
    // listed as it is on disc but refused when chosen, and the choice goes back
    // to the file chosen before; a name of exactly 20 characters is kept whole.
    void coverageLongAntennaNameRefused()
    {
        const QString longname = QStringLiteral("vertical_dipole_array.ant");  // 25 characters
        const QString exact = QStringLiteral("Dipole_Vertical4.ant");            // 20 characters
        for (const QString &n : {longname, exact}) {
            QFile f(dir.filePath(n));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("0");
        }
        zk::units[1].enabled = zk::units[2].enabled = -1;
        zk::nets[1].member[0] = zk::nets[1].member[1] = 0x80;
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::covindex = 0;
        zk::writesetting(QStringLiteral("CovIndex"), QStringLiteral("0"));
        zk::frmCoverage dlg;
        const int rlong = dlg.Combo1->findText(longname);
        const int rexact = dlg.Combo1->findText(exact);
        QVERIFY(rlong > 0);
        QVERIFY(rexact > 0);
        QCOMPARE(dlg.Combo1->currentIndex(), 0);
        zk::MsgScript script;
        dlg.Combo1->setCurrentIndex(rexact);
        emit dlg.Combo1->activated(rexact);
        QVERIFY(script.shown().isEmpty());
        dlg.Combo1->setCurrentIndex(rlong);
        emit dlg.Combo1->activated(rlong);
        QCOMPARE(script.texts(),
                 QStringList{QStringLiteral("Nom trop long (20 caractères au plus): vertical_dipole_array.ant")});
        QCOMPARE(dlg.Combo1->currentText(), exact);
        dlg.Check1[1]->setChecked(true);
        // Should a long name still be selected, Apply refuses it and stores nothing.
        std::fill(std::begin(zk::covset.antfile), std::end(zk::covset.antfile), ' ');
        dlg.Combo1->setCurrentIndex(rlong);
        dlg.apply();
        QVERIFY(!dlg.applied());
        QCOMPARE(script.shown().size(), 2);
        QCOMPARE(QByteArray(zk::covset.antfile, 20), QByteArray(20, ' '));
        dlg.Combo1->setCurrentIndex(rexact);
        dlg.apply();
        QVERIFY(dlg.applied());
        QCOMPARE(QByteArray(zk::covset.antfile, 20), QByteArray("Dipole_Vertical4.ant"));
    }

    void visualLongTableNameRefused()
    {
        const QString longname = QStringLiteral("A_long_radar_table.rad");  // 22 characters, sorted first
        const QString fits = QStringLiteral("Short.rad");
        for (const QString &n : {longname, fits}) {
            QFile f(dir.filePath(n));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("1 5 -100 100");
        }
        std::fill(std::begin(zk::covset.antfile), std::end(zk::covset.antfile), ' ');
        zk::frmVisual dlg;
        // Sorted first, but the dialog opens on a table it can keep.
        QCOMPARE(dlg.Combo2->itemText(0), longname);
        QVERIFY(dlg.Combo2->currentIndex() > 0);
        const int rfits = dlg.Combo2->findText(fits);
        QVERIFY(rfits > 0);
        dlg.Combo2->setCurrentIndex(rfits);
        emit dlg.Combo2->activated(rfits);
        dlg.Check1->click();
        zk::MsgScript script;
        dlg.Combo2->setCurrentIndex(0);
        emit dlg.Combo2->activated(0);
        QCOMPARE(script.texts(),
                 QStringList{QStringLiteral("Nom trop long (20 caractères au plus): A_long_radar_table.rad")});
        QCOMPARE(dlg.Combo2->currentText(), fits);
        dlg.Combo2->setCurrentIndex(0);
        dlg.Command1[0]->click();
        QCOMPARE(dlg.applied(), -1);
        QCOMPARE(QByteArray(zk::covset.antfile, 20), QByteArray(20, ' '));
        dlg.Combo2->setCurrentIndex(rfits);
        dlg.Command1[0]->click();
        QCOMPARE(dlg.applied(), 0);
        QCOMPARE(QByteArray(zk::covset.antfile, 20), QByteArray("Short.rad           "));
    }

    // Controls are named as the forms name them: plain names, and control
    // arrays with the index in brackets ("Combo2(0)"); no control unnamed.
    void controlNames_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("frmCoverage") << QStringLiteral("frmCoverage")
                                     << QStringList{"Combo2(0)", "Combo2(1)", "Combo3", "Combo1", "Option2(0)",
                                                    "Option2(1)", "Option1(0)", "Option1(1)", "Option1(2)",
                                                    "Check1(1)", "Check1(2)", "Command2(1)", "Command2(2)",
                                                    "Check2", "Check3", "Label4", "Label5", "Label6", "Label1",
                                                    "Label10", "Label3", "Label2", "Label7", "Label8", "Label9",
                                                    "Label11", "Label12"};
        QTest::newRow("frmVisual") << QStringLiteral("frmVisual")
                                   << QStringList{"Combo1", "Combo2", "Option2(0)", "Option2(1)", "Command1(0)",
                                                  "Command1(1)", "Command1(2)", "Command1(3)", "Check1", "Label4",
                                                  "Label3", "Label1", "Label7", "Label8", "Label9", "Label2",
                                                  "Label5"};
    }
    void controlNames()
    {
        QFETCH(QString, form);
        QFETCH(QStringList, names);
        std::unique_ptr<QDialog> dlg;
        if (form == QLatin1String("frmCoverage"))
            dlg = std::make_unique<zk::frmCoverage>();
        else
            dlg = std::make_unique<zk::frmVisual>();
        for (const QString &n : names) QVERIFY2(dlg->findChild<QWidget *>(n), qPrintable(form + ": no " + n));
        const QRegularExpression rule(QStringLiteral("^[A-Z][A-Za-z]*[0-9]*(\\([0-9]+\\))?$"));
        QList<QWidget *> controls;
        for (auto *w : dlg->findChildren<QLabel *>()) controls << w;
        for (auto *w : dlg->findChildren<QLineEdit *>()) controls << w;
        for (auto *w : dlg->findChildren<QComboBox *>()) controls << w;
        for (auto *w : dlg->findChildren<QAbstractButton *>()) controls << w;
        for (QWidget *w : controls)
            QVERIFY2(rule.match(w->objectName()).hasMatch(),
                     qPrintable(form + ": " + w->metaObject()->className() + " named \"" + w->objectName() + "\""));
    }

    void visualDialog()
    {
        QFile rad(dir.filePath(QStringLiteral("Test.RAD")));
        QVERIFY(rad.open(QIODevice::WriteOnly));
        rad.write("1 5 -100 100");
        rad.close();
        zk::curunit = 0;
        zk::frmVisual dlg;
        QCOMPARE(dlg.Combo1->currentIndex(), 0);
        QVERIFY(dlg.Combo2->findText(QStringLiteral("Test.RAD")) >= 0);  // as it is written on disc
        dlg.Text1->setText(QStringLiteral("0"));
        dlg.Text2->setText(QStringLiteral("20000"));
        dlg.Text3->setText(QStringLiteral("400"));
        dlg.Text5->setText(QStringLiteral("50"));
        dlg.Text7->setText(QStringLiteral("0.5"));
        dlg.Option2[1]->click();
        QCOMPARE(zk::targetmode, int16_t(0));
        dlg.Check1->click();
        QVERIFY(!dlg.Frame5->isEnabled());
        dlg.Combo2->setCurrentIndex(dlg.Combo2->findText(QStringLiteral("Test.RAD")));
        dlg.Command1[1]->click();
        QCOMPARE(dlg.applied(), 1);
        QCOMPARE(dlg.table(), QStringLiteral("Test.RAD"));
        QCOMPARE(QByteArray(zk::covset.antfile, 20), QByteArray("Test.RAD            "));
        QCOMPARE(zk::curunit, int16_t(1));
        QCOMPARE(zk::covset.viscolor, 0xFFFF00u);
        QCOMPARE(zk::covset.sensorh, 0.1f);
        QCOMPARE(zk::covset.targeth, 9999.0f);
        QCOMPARE(zk::covset.azmin, 359.9f);
        QCOMPARE(zk::covset.azstep, 10.0f);
        QCOMPARE(zk::covset.rangemax, 1.0f);
        QCOMPARE(zk::radarfile, int16_t(1));
    }

    // "Radar 3D" hands the table to the radar coverage, which needs an
    // active 3D picture: without one it asks nothing and draws nothing.
    void radar3dWithoutA3dPicture()
    {
        QFile rad(dir.filePath(QStringLiteral("test.rad")));
        QVERIFY(rad.open(QIODevice::WriteOnly));
        rad.write("1 5 -100 100");
        rad.close();
        zk::frmVisual dlg;
        QVERIFY(!dlg.Command1[3]->isHidden());
        dlg.Check1->setChecked(true);
        dlg.Combo2->setCurrentIndex(dlg.Combo2->findText(QStringLiteral("test.rad")));
        dlg.Command1[3]->click();
        QCOMPARE(dlg.applied(), 3);
        QCOMPARE(dlg.table(), QStringLiteral("test.rad"));
        zk::install3dhooks();  // the radar coverage, as the main window installs it
        zk::MsgScript script;
        zk::visualapplied(3, dlg.table());
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(zk::runflag, int16_t(0));
    }
};

QTEST_MAIN(TestCoverageDialogs)
#include "test_coverage_dialogs.moc"
