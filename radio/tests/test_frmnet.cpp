// The network dialog frmNet driven by its control names, as a user would:
// tabs, live edits with their ranges, members and roles, systems and
// antenna heights, predefined systems, link-colour rules, "Annuler".
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

#include "base/longop.h"
#include "base/screen.h"
#include "msgbox.h"
#include "paths.h"
#include "radio/frmNet.h"
#include "radio/netdoc.h"
#include "radio/radiodata.h"
#include "radio/roles.h"

using zk::frmNet;

namespace {

QColor textColor(QLineEdit *box) { return box->palette().color(QPalette::Text); }
bool red(QLineEdit *box) { return textColor(box) == QColor(255, 0, 0); }

// Replaces a box's text by typing, as the user does.
void typeInto(QLineEdit *box, const QString &text)
{
    QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (QChar ch : text) {
        if (ch.unicode() < 128) {
            QTest::keyClick(box, char(ch.unicode()));
        } else {
            // Keys that QTest does not map: the key event carries the text.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(box, &press);
        }
    }
}

QByteArray fileBytes(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The dialog, shown (keys reach only enabled widgets of a shown window).
std::unique_ptr<frmNet> opendialog()
{
    auto d = std::make_unique<frmNet>();
    d->show();
    return d;
}

}  // namespace

class TestFrmNet : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString prog, user;

    void useRadiosys(const QByteArray &bytes) { writeFile(prog + QStringLiteral("/radiosys.dat"), bytes); }

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
        zk::paths::setProgramFolder(prog);
        zk::paths::setUserFolder(user);
    }
    void cleanupTestCase() { zk::setScreenPixels(QSize()); }
    void init()
    {
        QLocale::setDefault(QLocale::c());
        QFile::remove(prog + QStringLiteral("/radiosys.dat"));
        zk::newnet(false);
        zk::runflag = 0;
    }

    // ------------------------------------------------------------ frame

    void captionsAndTabs()
    {
        auto d = opendialog();
        QCOMPARE(d->windowTitle(), QStringLiteral("Propriétés des réseaux"));
        const QStringList tabs = {"Paramètres", "Topologie", "Participants", "Système", "Style"};
        for (int i = 0; i < 5; ++i) {
            auto *b = d->findChild<QPushButton *>(QStringLiteral("Command4(%1)").arg(i));
            QVERIFY(b);
            QCOMPARE(b->text(), tabs[i]);
            QVERIFY(d->findChild<QFrame *>(QStringLiteral("tabframe(%1)").arg(i)));
        }
        QCOMPARE(d->Command1->text(), QStringLiteral("Appliquer"));
        QCOMPARE(d->Command3->text(), QStringLiteral("Annuler"));
        QCOMPARE(d->Command2->text(), QStringLiteral("Paramètres par défaut"));
        QCOMPARE(d->Label3->text(), QStringLiteral("Fréquence maximale  (MHz)"));
        QCOMPARE(d->Label2->toolTip(), QStringLiteral("20 à 20 000 MHz"));
        QCOMPARE(d->Label5->toolTip(), QStringLiteral("0.005 pour sol moyen "));
        QCOMPARE(d->findChild<QRadioButton *>(QStringLiteral("Option3(6)"))->text(), QStringLiteral("Maritime tempéré sur terre"));
        QCOMPARE(d->findChild<QRadioButton *>(QStringLiteral("Option4(1)"))->text(),
                 QStringLiteral("Réseau de données,  topologie en étoile (Maître/Esclave)"));
        QCOMPARE(d->findChild<QCheckBox *>(QStringLiteral("Check3(1)"))->text(), QStringLiteral("Sinon dessiner un ligne rouge"));
        QCOMPARE(d->Check3[3]->palette().color(QPalette::Window), QColor(128, 255, 128));
        QCOMPARE(d->Text11->toolTip(), QStringLiteral("0 à 20 retransmissions"));
        QCOMPARE(d->Option5[1]->toolTip(), QStringLiteral("0.5 à 2999 m"));
        QCOMPARE(d->Label18->text(), QStringLiteral("Seuil de réception (µV)"));
        QCOMPARE(d->Combo1->itemText(0), QStringLiteral("Prédéfinis..."));
        QCOMPARE(d->Combo1->count(), 1);  // no radiosys.dat

        // Opening: the Paramètres tab, the networks list on the left.
        const int left = d->Command4[0]->x() + 1;  // 20 twips
        QCOMPARE(d->tabframe[0]->x(), left);
        QVERIFY(d->tabframe[0]->isEnabled());
        for (int i = 1; i < 5; ++i) {
            QVERIFY(d->tabframe[size_t(i)]->x() < -1000);
            QVERIFY(!d->tabframe[size_t(i)]->isEnabled());
        }
        QCOMPARE(d->List1->x(), 8);
        QVERIFY(d->List5->x() < -1000);
        QVERIFY(d->Command4[0]->font().bold());

        d->Command4[3]->click();
        QCOMPARE(d->tabframe[3]->x(), left);
        QVERIFY(d->tabframe[3]->isEnabled());
        QVERIFY(!d->tabframe[0]->isEnabled());
        QCOMPARE(d->List5->x(), 8);
        QCOMPARE(d->Label12->x(), 8);
        QVERIFY(d->List1->x() < -1000);
        QVERIFY(d->Label13->x() < -1000);
        QVERIFY(d->Command4[3]->font().bold());
        QVERIFY(!d->Command4[0]->font().bold());
    }

    void openingMarksTheDocumentAndShowsCurnet()
    {
        zk::netmodified = false;
        zk::curnet = 40;  // clamped
        zk::setFixedText(zk::nets[25].name, QStringLiteral("Dernier"));
        zk::units[3].enabled = 0;
        auto d = opendialog();
        QVERIFY(zk::netmodified);
        QCOMPARE(zk::curnet, int16_t(25));
        QCOMPARE(d->List1->currentRow(), 24);
        QCOMPARE(d->Text1->text(), QStringLiteral("Dernier"));
        QCOMPARE(d->List1->count(), 25);
        QCOMPARE(d->List5->count(), 25);
        QCOMPARE(d->Combo3->count(), 25);
        QCOMPARE(d->List2->count(), 50);
        // Full 20-character names; a disabled unit says so.
        QCOMPARE(d->List2->item(0)->text(), QStringLiteral("Station 01          "));
        QCOMPARE(d->List2->item(2)->text(), QStringLiteral("Station 03           (Désactivée)"));
        QCOMPARE(d->List5->currentRow(), 0);
        QCOMPARE(d->Text10->text(), QStringLiteral("Système 01"));
    }

    // ------------------------------------------------------------ Annuler

    void annulerLeavesTheSavedFileByteIdentical()
    {
        // A document with values that showing it changes: out-of-range
        // numbers, a role its topology lacks, a topology byte without
        // option, a threshold between two-decimal microvolts, odd antenna
        // heights, and names with leading blanks.
        zk::nets[1].member[4] = 130;  // unit 5, member, role 2
        zk::nets[1].member[5] = 128;
        zk::nets[1].topology = int16_t(256 + 1);  // star: role 2 does not exist
        zk::netheight(1, 5) = 0.2f;
        zk::netheight(1, 6) = 12.3456789f;
        zk::nets[2].fmin = 10;
        zk::nets[2].ptime = 0;
        zk::nets[2].statmode = 250;
        zk::nets[3].topology = 7;
        zk::nets[3].maxretrans = 30;
        zk::setFixedText(zk::nets[4].name, QStringLiteral("   Blancs"));
        zk::systems[1].threshold = -120;
        zk::systems[2].power = 0;
        zk::systems[2].threshold = -160;
        zk::setFixedText(zk::systems[3].name, QStringLiteral("  Sys"));
        const auto linkstyle = zk::linkstyle;

        const QString a = tmp.filePath(QStringLiteral("before.net")), b = tmp.filePath(QStringLiteral("after.net"));
        QVERIFY(zk::savenet(a));
        {
            auto d = opendialog();
            for (int n = 0; n < 4; ++n) {
                d->List1->setCurrentRow(n);
                for (int t = 0; t < 5; ++t) d->Command4[size_t(t)]->click();
                d->Command4[2]->click();
                for (int r : {4, 5, 0}) d->List2->setCurrentRow(r);
            }
            d->Command4[3]->click();
            for (int r = 0; r < 4; ++r) d->List5->setCurrentRow(r);
            // Showing did store (so that "Annuler" has something to undo).
            QCOMPARE(zk::nets[2].fmin, 20.0f);
            QCOMPARE(zk::nets[3].topology & 0xFF, 2);
            QCOMPARE(zk::nets[3].maxretrans, int16_t(20));
            QCOMPARE(zk::systems[2].power, 1e-8f);
            QCOMPARE(zk::nets[1].member[4], uint8_t(128));
            QCOMPARE(zk::netheight(1, 5), 0.5f);
            d->Command3->click();
            QVERIFY(!d->isVisible());
        }
        QVERIFY(zk::netmodified);
        QCOMPARE(zk::linkstyle, linkstyle);
        QVERIFY(zk::savenet(b));
        const QByteArray before = fileBytes(a), after = fileBytes(b);
        QVERIFY(!before.isEmpty());
        QCOMPARE(after.size(), before.size());
        QVERIFY(after == before);
        QCOMPARE(zk::netheight(1, 6), 12.3456789f);
    }

    void escapeKeepsTheEdits()
    {
        auto d = opendialog();
        typeInto(d->Text2, QStringLiteral("150"));
        const auto linkstyle = zk::linkstyle;
        d->Command4[4]->click();
        QLineEdit *green = d->findChild<QLineEdit *>(QStringLiteral("Text18(2)"));
        typeInto(green, QStringLiteral("9"));
        QTest::keyClick(green, Qt::Key_Escape);
        QVERIFY(!d->isVisible());
        QCOMPARE(zk::nets[1].fmin, 150.0f);
        QCOMPARE(zk::linkstyle, linkstyle);
    }

    // ------------------------------------------------------------ Paramètres

    void frequencyStoredAtEveryKeystroke()
    {
        auto d = opendialog();
        QList<float> stored;
        QList<bool> reds;
        connect(d->Text2, &QLineEdit::textChanged, d.get(), [&] {
            stored << zk::nets[1].fmin;
            reds << red(d->Text2);
        });
        typeInto(d->Text2, QStringLiteral("500"));
        QCOMPARE(stored, (QList<float>{20, 20, 50, 500}));
        QCOMPARE(reds, (QList<bool>{true, true, false, false}));
        QCOMPARE(zk::nets[1].fmax, 148.0f);  // no rule between the two
        typeInto(d->Text3, QStringLiteral("25000"));
        QCOMPARE(zk::nets[1].fmax, 20000.0f);
        QVERIFY(red(d->Text3));
    }

    void liveEdits_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("stored");
        QTest::addColumn<bool>("isred");
        QTest::newRow("fmin low") << "Text2" << "10" << 20.0 << true;
        QTest::newRow("fmax") << "Text3" << "450.5" << 450.5 << false;
        QTest::newRow("ptime low") << "Text4" << "0" << 0.1 << true;
        QTest::newRow("ploc") << "Text5" << "90" << 90.0 << false;
        QTest::newRow("psit high") << "Text6" << "100" << 99.9 << true;
        QTest::newRow("ns low") << "Text7" << "200" << 250.0 << true;
        QTest::newRow("sigma not a number") << "Text8" << "abc" << 0.0001 << true;
        QTest::newRow("sigma") << "Text8" << "0.03" << 0.03 << false;
        QTest::newRow("eps high") << "Text9" << "20000" << 10000.0 << true;
    }
    void liveEdits()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(double, stored);
        QFETCH(bool, isred);
        zk::curnet = 2;
        auto d = opendialog();
        QLineEdit *t = d->findChild<QLineEdit *>(box);
        QVERIFY(t);
        typeInto(t, text);
        const zk::NetRecord &r = zk::nets[2];
        const std::map<QString, float> got = {{"Text2", r.fmin}, {"Text3", r.fmax}, {"Text4", r.ptime}, {"Text5", r.ploc},
                                              {"Text6", r.psit}, {"Text7", r.ns},   {"Text8", r.sigma}, {"Text9", r.eps}};
        QCOMPARE(got.at(box), float(stored));
        QCOMPARE(red(t), isred);
        QCOMPARE(zk::nets[1].fmin, 144.0f);  // only the network shown
    }

    void commaLocaleTyping()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        zk::nets[1].sigma = 0.005f;
        auto d = opendialog();
        QCOMPARE(d->Text8->text(), QStringLiteral("0,005"));
        typeInto(d->Text2, QStringLiteral("144,5"));
        QCOMPARE(zk::nets[1].fmin, 144.5f);
        QVERIFY(!red(d->Text2));
        typeInto(d->Text2, QStringLiteral("144.5"));  // not a number here
        QCOMPARE(zk::nets[1].fmin, 20.0f);
        QVERIFY(red(d->Text2));
    }

    void nameEdits()
    {
        auto d = opendialog();
        typeInto(d->Text1, QStringLiteral("  Pompiers du secteur nord et de la vallée"));
        QCOMPARE(zk::fixedText(zk::nets[1].name), QStringLiteral("Pompiers du secteur nord et de"));
        QCOMPARE(d->List1->item(0)->text(), QStringLiteral("Pompiers du secteur nord et de"));
    }

    void optionsAndStatistics()
    {
        auto d = opendialog();
        // Defaults: vertical, continental temperate, broadcast, no urban factor.
        QVERIFY(d->Option1[1]->isChecked());
        QVERIFY(d->Option3[5]->isChecked());
        QVERIFY(d->Option2[3]->isChecked());
        QVERIFY(!d->Check2->isChecked());
        d->Option1[0]->click();
        QCOMPARE(zk::nets[1].polar, int16_t(0));
        d->Option3[7]->click();
        QCOMPARE(zk::nets[1].climate, int16_t(7));
        d->Option2[1]->click();  // Accidentel
        QCOMPARE(zk::nets[1].statmode, int16_t(1));
        QVERIFY(!d->Text4->isEnabled());
        QVERIFY(d->Text5->isEnabled());
        QVERIFY(d->Text6->isEnabled());
        d->Option2[2]->click();  // Mobile
        QVERIFY(d->Text4->isEnabled());
        QVERIFY(!d->Text5->isEnabled());
        d->Option2[0]->click();
        QVERIFY(!d->Text4->isEnabled() && !d->Text5->isEnabled());
        d->Check2->click();
        QCOMPARE(zk::nets[1].statmode, int16_t(100));
        d->Option2[3]->click();
        QCOMPARE(zk::nets[1].statmode, int16_t(103));
        QVERIFY(d->Text4->isEnabled() && d->Text5->isEnabled());
        d->Check2->click();
        QCOMPARE(zk::nets[1].statmode, int16_t(3));

        // Another network shows its own values.
        zk::nets[2].statmode = 102;
        zk::nets[2].polar = 5;  // clamped to vertical
        d->List1->setCurrentRow(1);
        QVERIFY(d->Check2->isChecked());
        QVERIFY(d->Option2[2]->isChecked());
        QVERIFY(d->Option1[1]->isChecked());
        QCOMPARE(zk::nets[2].statmode, int16_t(102));
    }

    void defaultsButton()
    {
        zk::nets[1].member[2] = 129;
        zk::nets[1].system[2] = 4;
        zk::nets[1].maxretrans = 5;
        zk::nets[1].topology = 2;
        auto d = opendialog();
        typeInto(d->Text2, QStringLiteral("400"));
        d->Option1[0]->click();
        d->Command2->click();
        QCOMPARE(zk::nets[1].fmin, 144.0f);
        QCOMPARE(d->Text2->text(), QStringLiteral("144"));
        QCOMPARE(zk::nets[1].polar, int16_t(1));
        QVERIFY(d->Option1[1]->isChecked());
        QCOMPARE(zk::nets[1].topology, int16_t(256));
        QVERIFY(d->Option4[0]->isChecked());
        QVERIFY(d->Check1->isChecked());
        QCOMPARE(zk::nets[1].member[2], uint8_t(129));
        QCOMPARE(zk::nets[1].system[2], uint8_t(4));
        QCOMPARE(zk::nets[1].maxretrans, int16_t(5));
        QCOMPARE(zk::fixedText(zk::nets[1].name), QStringLiteral("Réseau 01"));
    }

    // ------------------------------------------------------------ Topologie

    void topologyAndVisible()
    {
        zk::nets[1].maxretrans = 3;
        zk::nets[2].topology = 2;
        zk::nets[2].maxretrans = 7;
        auto d = opendialog();
        d->Command4[1]->click();
        QVERIFY(d->Option4[0]->isChecked());
        QVERIFY(!d->Text11->isEnabled());
        QVERIFY(!d->Label14->isEnabled());
        d->Option4[2]->click();
        QCOMPARE(zk::nets[1].topology, int16_t(256 + 2));
        QCOMPARE(d->Text11->text(), QStringLiteral(" 3"));
        QVERIFY(d->Text11->isEnabled());
        QVERIFY(d->Label14->isEnabled());
        typeInto(d->Text11, QStringLiteral("2.5"));
        QCOMPARE(zk::nets[1].maxretrans, int16_t(2));
        typeInto(d->Text11, QStringLiteral("3.5"));
        QCOMPARE(zk::nets[1].maxretrans, int16_t(4));
        typeInto(d->Text11, QStringLiteral("25"));
        QCOMPARE(zk::nets[1].maxretrans, int16_t(20));
        QVERIFY(red(d->Text11));

        // Network 2 (mesh, not visible) shows its own retransmissions.
        d->List1->setCurrentRow(1);
        QVERIFY(d->Option4[2]->isChecked());
        QCOMPARE(d->Text11->text(), QStringLiteral(" 7"));
        QCOMPARE(zk::nets[2].maxretrans, int16_t(7));
        QVERIFY(!d->Check1->isChecked());
        d->Check1->click();
        QCOMPARE(zk::nets[2].topology, int16_t(256 + 2));
        d->Check1->click();
        QCOMPARE(zk::nets[2].topology, int16_t(2));

        // Only bit 0 of the visible byte stays when the topology changes.
        zk::nets[3].topology = int16_t(0x0300);
        d->List1->setCurrentRow(2);
        QVERIFY(d->Check1->isChecked());
        d->Option4[1]->click();
        QCOMPARE(zk::nets[3].topology, int16_t(0x0101));
        QVERIFY(!d->Text11->isEnabled());
        // A visible byte of 128 and more reads as not visible.
        zk::nets[4].topology = int16_t(uint16_t(0x8000));
        d->List1->setCurrentRow(3);
        QVERIFY(!d->Check1->isChecked());
    }

    // ------------------------------------------------------------ Participants

    void voiceNetworkTurnedStarDropsRole2()
    {
        zk::nets[1].member[4] = 130;  // unit 5: member, "Relais"
        auto d = opendialog();
        d->Command4[2]->click();
        d->List2->setCurrentRow(4);
        QCOMPARE(d->Combo2->count(), 3);
        QCOMPARE(d->Combo2->currentText(), QStringLiteral("Relais"));
        QCOMPARE(zk::nets[1].member[4], uint8_t(130));
        QCOMPARE(d->Label10->text(), QStringLiteral("Rôle de Station 05"));

        d->Command4[1]->click();
        d->Option4[1]->click();  // star
        d->Command4[2]->click();  // shows the network again, the station with it
        QCOMPARE(d->Combo2->count(), 2);
        QCOMPARE(d->Combo2->itemText(0), QStringLiteral("Maître"));
        QCOMPARE(d->Combo2->itemText(1), QStringLiteral("Esclave"));
        QCOMPARE(d->Combo2->currentIndex(), 0);
        QCOMPARE(zk::nets[1].member[4], uint8_t(128));
    }

    void membership()
    {
        zk::nets[1].member[6] = 129;  // unit 7, member, "Subordonné"
        auto d = opendialog();
        d->Command4[2]->click();
        QListWidgetItem *it = d->List2->item(6);
        QCOMPARE(it->checkState(), Qt::Checked);
        QCOMPARE(d->List2->item(5)->checkState(), Qt::Unchecked);
        d->List2->setCurrentRow(6);
        QCOMPARE(d->Frame1->title(), QStringLiteral("Membre de Réseau 01"));
        QVERIFY(d->Frame1->isEnabled());
        QCOMPARE(d->Combo2->currentIndex(), 1);

        it->setCheckState(Qt::Unchecked);
        QCOMPARE(d->Frame1->title(), QStringLiteral("Non membre"));
        QCOMPARE(d->Frame1->palette().color(QPalette::WindowText), QColor(200, 0, 0));
        QVERIFY(!d->Frame1->isEnabled());
        QCOMPARE(zk::nets[1].member[6], uint8_t(1));  // role kept

        it->setCheckState(Qt::Checked);
        QCOMPARE(d->Frame1->title(), QStringLiteral("Membre de Réseau 01"));
        QCOMPARE(d->Frame1->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        QCOMPARE(zk::nets[1].member[6], uint8_t(129));
        QCOMPARE(d->Combo2->currentText(), QStringLiteral("Subordonné"));

        // Checking another station makes it the selected one.
        d->List2->item(9)->setCheckState(Qt::Checked);
        QCOMPARE(d->List2->currentRow(), 9);
        QCOMPARE(zk::nets[1].member[9], uint8_t(128));
        QCOMPARE(zk::nets[1].member[6], uint8_t(129));
        d->Combo2->setCurrentIndex(2);
        QCOMPARE(zk::nets[1].member[9], uint8_t(130));

        // The check marks follow the network shown.
        d->List1->setCurrentRow(1);
        QCOMPARE(d->List2->item(9)->checkState(), Qt::Unchecked);
        QCOMPARE(d->List2->currentRow(), 9);
        QCOMPARE(d->Frame1->title(), QStringLiteral("Non membre"));
        QCOMPARE(zk::nets[2].member[9], uint8_t(0));
        QCOMPARE(zk::runflag, int16_t(0));
    }

    void systemAndAntennaHeight()
    {
        zk::nets[1].member[1] = 128;
        zk::systems[3].height = 12.5f;
        auto d = opendialog();
        d->Command4[2]->click();
        // No station selected: the lists and options change nothing.
        d->Combo3->setCurrentIndex(2);
        d->Option5[1]->click();
        QCOMPARE(zk::nets[1].system[1], uint8_t(1));
        QCOMPARE(zk::netheight(1, 2), 0.0f);

        d->List2->setCurrentRow(1);
        QVERIFY(d->Option5[0]->isChecked());
        QCOMPARE(d->Label20->text(), QStringLiteral("2"));
        QCOMPARE(d->Text17->text(), QStringLiteral("0.5"));
        QVERIFY(!d->Text17->isEnabled());
        d->Combo3->setCurrentIndex(2);
        QCOMPARE(zk::nets[1].system[1], uint8_t(3));
        QCOMPARE(d->Label20->text(), QStringLiteral("12.5"));
        QCOMPARE(zk::antheight(1, 2), 12.5f);

        d->Option5[1]->click();
        QCOMPARE(zk::netheight(1, 2), 0.5f);
        QVERIFY(d->Text17->isEnabled());
        typeInto(d->Text17, QStringLiteral("30"));
        QCOMPARE(zk::netheight(1, 2), 30.0f);
        QCOMPARE(zk::antheight(1, 2), 30.0f);
        typeInto(d->Text17, QStringLiteral("4000"));
        QCOMPARE(zk::netheight(1, 2), 2999.0f);
        QVERIFY(red(d->Text17));
        typeInto(d->Text17, QString());
        QCOMPARE(zk::netheight(1, 2), 0.5f);
        typeInto(d->Text17, QStringLiteral("30"));

        // Shown again: "Autre" with the override.
        d->List2->setCurrentRow(0);
        d->List2->setCurrentRow(1);
        QVERIFY(d->Option5[1]->isChecked());
        QCOMPARE(d->Text17->text(), QStringLiteral("30"));
        d->Option5[0]->click();
        QCOMPARE(zk::netheight(1, 2), 0.0f);
        QVERIFY(!d->Text17->isEnabled());
        // While "Système" is chosen a change of the box stores nothing.
        d->Text17->setText(QStringLiteral("40"));
        QCOMPARE(zk::netheight(1, 2), 0.0f);
    }

    // A system byte the tables do not hold (a damaged or foreign file): the
    // station shows no system and no height, never those of the station
    // shown before, and showing it stores nothing.
    void unknownSystemShowsNoSystem_data()
    {
        QTest::addColumn<int>("sys");
        QTest::newRow("0") << 0;
        QTest::newRow("26") << 26;
        QTest::newRow("255") << 255;
    }
    void unknownSystemShowsNoSystem()
    {
        QFETCH(int, sys);
        zk::nets[1].member[0] = 128;
        zk::nets[1].member[1] = 128;
        zk::systems[3].height = 12.5f;
        zk::nets[1].system[0] = 3;
        zk::nets[1].system[1] = uint8_t(sys);
        auto d = opendialog();
        d->Command4[2]->click();
        d->List2->setCurrentRow(0);
        QCOMPARE(d->Combo3->currentIndex(), 2);
        QCOMPARE(d->Label20->text(), QStringLiteral("12.5"));
        QCOMPARE(d->Text17->text(), QStringLiteral("0.5"));
        QVERIFY(d->Option5[0]->isChecked());

        d->List2->setCurrentRow(1);
        QCOMPARE(d->Combo3->currentIndex(), -1);
        QVERIFY(d->Combo3->currentText().isEmpty());
        QVERIFY2(d->Label20->text().isEmpty(), qPrintable(d->Label20->text()));
        QVERIFY2(d->Text17->text().isEmpty(), qPrintable(d->Text17->text()));
        QVERIFY(!d->Option5[0]->isChecked() && !d->Option5[1]->isChecked());
        QCOMPARE(int(zk::nets[1].system[1]), sys);
        QCOMPARE(zk::netheight(1, 2), 0.0f);
        // Choosing a system stores it and shows its height.
        d->Combo3->setCurrentIndex(2);
        QCOMPARE(zk::nets[1].system[1], uint8_t(3));
        QCOMPARE(d->Label20->text(), QStringLiteral("12.5"));
    }

    // ------------------------------------------------------------ Système

    void systemShownWithoutRewritingItsThreshold_data()
    {
        QTest::addColumn<float>("dbm");
        QTest::addColumn<QString>("uv");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("isred");
        QTest::newRow("-120") << -120.0f << "0.22" << "( -120.0 dBm )" << false;
        QTest::newRow("-107") << -107.0f << "1.00" << "( -107.0 dBm )" << false;
        QTest::newRow("-150") << -150.0f << "0.01" << "( -150.0 dBm )" << false;
        QTest::newRow("-160") << -160.0f << "0.00" << "( -160.0 dBm )" << true;
    }
    void systemShownWithoutRewritingItsThreshold()
    {
        QFETCH(float, dbm);
        QFETCH(QString, uv);
        QFETCH(QString, label);
        QFETCH(bool, isred);
        zk::systems[2].threshold = dbm;
        zk::systems[3].threshold = dbm;
        auto d = opendialog();
        d->Command4[3]->click();
        d->List5->setCurrentRow(1);
        QCOMPARE(d->Text13->text(), uv);
        QCOMPARE(d->Label9->text(), label);
        QCOMPARE(red(d->Text13), isred);
        QCOMPARE(zk::systems[2].threshold, dbm);
        // The same text for the next system: its own label, its own value.
        zk::systems[3].threshold = dbm - 0.01f;
        d->List5->setCurrentRow(2);
        QCOMPARE(d->Text13->text(), uv);
        QCOMPARE(zk::systems[3].threshold, dbm - 0.01f);
        QCOMPARE(d->Label9->text(), label);
    }

    void systemEdits()
    {
        zk::nets[1].member[0] = 128;
        zk::nets[1].system[0] = 2;
        auto d = opendialog();
        d->Command4[2]->click();
        d->List2->setCurrentRow(0);
        QCOMPARE(d->Label20->text(), QStringLiteral("2"));
        d->Command4[3]->click();
        d->List5->setCurrentRow(1);

        typeInto(d->Text13, QStringLiteral("1"));
        QCOMPARE(zk::systems[2].threshold, -107.0f);
        QCOMPARE(d->Label9->text(), QStringLiteral("( -107.0 dBm )"));
        typeInto(d->Text13, QStringLiteral("0.5"));
        QVERIFY(std::fabs(zk::systems[2].threshold - -113.0206f) < 1e-3);
        QCOMPARE(d->Label9->text(), QStringLiteral("( -113.0 dBm )"));
        typeInto(d->Text13, QStringLiteral("5000"));
        QVERIFY(std::fabs(zk::systems[2].threshold - -40.9794f) < 1e-3);
        QVERIFY(red(d->Text13));

        typeInto(d->Text12, QStringLiteral("2e6"));
        QCOMPARE(zk::systems[2].power, 1e6f);
        typeInto(d->Text14, QStringLiteral("-1"));
        QCOMPARE(zk::systems[2].loss, 0.0f);
        typeInto(d->Text15, QStringLiteral("-20"));
        QCOMPARE(zk::systems[2].gain, -10.0f);
        typeInto(d->Text16, QStringLiteral("25"));
        QCOMPARE(zk::systems[2].height, 25.0f);
        // The Participants panel's system height follows.
        QCOMPARE(d->Label20->text(), QStringLiteral("25"));

        // Names: kept as typed, shown trimmed in both lists.
        typeInto(d->Text10, QStringLiteral("  Relais nord"));
        QCOMPARE(zk::fixedText(zk::systems[2].name), QStringLiteral("  Relais nord"));
        QCOMPARE(d->List5->item(1)->text(), QStringLiteral("Relais nord"));
        QCOMPARE(d->Combo3->itemText(1), QStringLiteral("Relais nord"));
        QCOMPARE(zk::systems[1].power, 10.0f);  // only the system shown
    }

    // ------------------------------------------------------------ predefined

    void predefinedFromAShortFile()
    {
        QByteArray f;
        for (const char *l : {"Alpha", "5", "0.25", "1", "3", "10", "Beta", "25", "1", "2", "6", "30", "Gamma", "50", "2", "3"})
            f += QByteArray(l) + "\r\n";  // Gamma cut after its fourth line
        useRadiosys(f);
        zk::systems[4].gain = 7;
        zk::systems[4].height = 9;
        auto d = opendialog();
        QCOMPARE(d->Combo1->count(), 4);
        QCOMPARE(d->Combo1->itemText(3), QStringLiteral("Gamma"));
        d->Command4[3]->click();
        d->List5->setCurrentRow(3);
        d->Combo1->setCurrentIndex(3);
        emit d->Combo1->activated(3);
        QCOMPARE(d->Combo1->currentIndex(), 0);
        QCOMPARE(zk::fixedText(zk::systems[4].name), QStringLiteral("Gamma"));
        QCOMPARE(zk::systems[4].power, 50.0f);
        QVERIFY(std::fabs(zk::systems[4].threshold - -100.9794f) < 1e-3);
        QCOMPARE(zk::systems[4].loss, 3.0f);
        QCOMPARE(zk::systems[4].gain, 7.0f);
        QCOMPARE(zk::systems[4].height, 9.0f);
        QCOMPARE(d->List5->item(3)->text(), QStringLiteral("Gamma"));

        // The first entry reads nothing.
        emit d->Combo1->activated(0);
        QCOMPARE(zk::fixedText(zk::systems[4].name), QStringLiteral("Gamma"));
    }

    void predefinedShippedSystems_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("point") << QLocale::c();
        QTest::newRow("comma") << QLocale(QLocale::French, QLocale::France);
    }
    void predefinedShippedSystems()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        useRadiosys(fileBytes(QString::fromLocal8Bit(qgetenv("ZK_SOURCE_DIR")) + QStringLiteral("/data/radiosys.dat")));
        auto d = opendialog();
        QVERIFY(d->Combo1->count() > 10);
        const int k = d->Combo1->findText(QStringLiteral("Portatif VHF 5 W"));
        QVERIFY(k > 0);
        d->Command4[3]->click();
        d->List5->setCurrentRow(2);
        emit d->Combo1->activated(k);
        QCOMPARE(zk::fixedText(zk::systems[3].name), QStringLiteral("Portatif VHF 5 W"));
        QCOMPARE(zk::systems[3].power, 5.0f);
        QVERIFY(std::fabs(zk::systems[3].threshold - -119.0412f) < 1e-3);
        QCOMPARE(zk::systems[3].loss, 0.0f);
        QCOMPARE(zk::systems[3].gain, -2.0f);
        QCOMPARE(zk::systems[3].height, 1.5f);
        for (QLineEdit *t : {d->Text12, d->Text13, d->Text14, d->Text15, d->Text16}) QVERIFY2(!red(t), qPrintable(t->objectName()));
    }

    // ------------------------------------------------------------ Style

    void styleTabShowsTheRules()
    {
        auto d = opendialog();
        QCOMPARE(d->Text18[1]->text(), QStringLiteral("-3"));
        QCOMPARE(d->Text18[2]->text(), QStringLiteral("3"));
        for (int i = 1; i <= 3; ++i) QVERIFY(d->Check3[size_t(i)]->isChecked());
        QVERIFY(d->Check4->isChecked());
        d.reset();
        zk::linkstyle = {1, 99 | 128, 0};
        d = opendialog();
        QCOMPARE(d->Text18[1]->text(), QStringLiteral("-49"));
        QCOMPARE(d->Text18[2]->text(), QStringLiteral("49"));
        QVERIFY(!d->Check3[1]->isChecked());
        QVERIFY(d->Check3[2]->isChecked());
        QVERIFY(!d->Check3[3]->isChecked());
        QVERIFY(!d->Check4->isChecked());
    }

    void styleTabStoredByAppliquer_data()
    {
        QTest::addColumn<QString>("yellow");
        QTest::addColumn<QString>("green");
        QTest::addColumn<int>("unchecked");  // Check3 index to uncheck (0: none)
        QTest::addColumn<int>("b0");
        QTest::addColumn<int>("b1");
        QTest::addColumn<int>("b2");
        QTest::newRow("unchanged") << "-3" << "3" << 0 << 175 << 181 << 129;
        QTest::newRow("yellow limited") << "10" << "5" << 0 << 183 << 183 << 129;
        QTest::newRow("green -60") << "-3" << "-60" << 0 << 129 << 129 << 129;
        QTest::newRow("green 70") << "-3" << "70" << 0 << 175 << 227 << 129;
        QTest::newRow("red off") << "-3" << "3" << 1 << 47 << 181 << 129;
        QTest::newRow("green off") << "-3" << "3" << 3 << 175 << 181 << 1;
        QTest::newRow("yellow text not a number, red off") << "abc" << "3" << 1 << 47 << 181 << 129;
        QTest::newRow("green text empty, yellow off") << "-3" << "" << 2 << 175 << 53 << 129;
    }
    void styleTabStoredByAppliquer()
    {
        QFETCH(QString, yellow);
        QFETCH(QString, green);
        QFETCH(int, unchecked);
        QFETCH(int, b0);
        QFETCH(int, b1);
        QFETCH(int, b2);
        auto d = opendialog();
        d->Command4[4]->click();
        typeInto(d->Text18[1], yellow);
        typeInto(d->Text18[2], green);
        if (unchecked) d->Check3[size_t(unchecked)]->click();
        QCOMPARE(zk::linkstyle, (std::array<uint8_t, 3>{175, 181, 129}));  // no live rule
        d->Command1->click();
        QVERIFY(!d->isVisible());
        QCOMPARE(int(zk::linkstyle[0]), b0);
        QCOMPARE(int(zk::linkstyle[1]), b1);
        QCOMPARE(int(zk::linkstyle[2]), b2);
    }

    void styleTabNotStoredByAnnuler()
    {
        auto d = opendialog();
        d->Command4[4]->click();
        typeInto(d->Text18[2], QStringLiteral("20"));
        d->Check4->click();
        d->Command3->click();
        QCOMPARE(zk::linkstyle, (std::array<uint8_t, 3>{175, 181, 129}));
    }
};

QTEST_MAIN(TestFrmNet)
#include "test_frmnet.moc"
