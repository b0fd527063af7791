// The object editor: new tracks and labels, opening and saving (every record
// kept, long lines and texts with commas included), a track written by
// gpsbabel opened, edited and saved back readable by gpsbabel, entries added
// by clicks on a picture, the boxes and their ranges in a comma locale, the
// colour and width of a track, deleting, the next sequence, the close
// question and a save that cannot be written.
#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/mainwindow.h"
#include "base/controls.h"
#include "base/dialogs.h"
#include "base/longop.h"
#include "base/mdi.h"
#include "base/settings.h"
#include "msgbox.h"
#include "overlayenv.h"
#include "paths.h"
#include "picenv.h"
#include "pictures/cursor.h"
#include "pictures/frmObject.h"
#include "pictures/frmPic.h"
#include "pictures/objectfiles.h"
#include "pictures/picfiles.h"
#include "pictures/pichooks.h"

using zk::frmObject;

namespace {

QString g_chosen;
QString g_proposed;
QString file(bool, const QString &proposed, const QString &, const QString &)
{
    g_proposed = proposed;
    return g_chosen;
}
uint32_t g_colour = 0;
bool colour(uint32_t, const uint32_t *, uint32_t &chosen)
{
    chosen = g_colour;
    return true;
}

QStringList listLines(const frmObject *e)
{
    QStringList l;
    for (int i = 0; i < e->List1->count(); ++i) l.append(e->List1->item(i)->text());
    return l;
}

QStringList fileLines(const QString &path)
{
    const QByteArray b = zktest::readFile(path);
    QStringList l = QString::fromLatin1(b).split(QStringLiteral("\r\n"));
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

bool red(const QLineEdit *box) { return box->palette().color(QPalette::Text) == QColor(255, 0, 0); }

}  // namespace

class TestFrmObject : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;
    std::unique_ptr<QTemporaryDir> tmp;
    QString dir;
    frmObject *ed = nullptr;

    void select(std::initializer_list<int> rows, int current)
    {
        ed->List1->clearSelection();
        for (int r : rows) ed->List1->item(r)->setSelected(true);
        ed->List1->setCurrentRow(current, QItemSelectionModel::NoUpdate);
        ed->updatelist();
    }

private slots:
    void initTestCase()
    {
        env = std::make_unique<zktest::TestMain>();
        zk::dialogHooks.file = &file;
        zk::dialogHooks.color = &colour;
        zk::installobjecthooks();
    }
    void cleanupTestCase()
    {
        zk::dialogHooks = zk::DialogHooks{};
        zk::pichooks = zk::PicHooks{};
        env.reset();
        zk::paths::setUserFolder(QString());
    }
    void init()
    {
        QLocale::setDefault(QLocale::c());
        zktest::setTestMap();
        tmp = std::make_unique<QTemporaryDir>();
        dir = tmp->path();
        zk::paths::setUserFolder(dir + "/user");
        zk::settings.objectdrive = dir + "/disc";
        zk::runflag = 0;
        ed = frmObject::showEditor();
        QVERIFY(ed);
    }
    void cleanup()
    {
        if (frmObject *e = frmObject::loaded()) {
            zk::MsgScript s;
            s.answer(zk::idYes);
            e->close();
        }
        QCoreApplication::processEvents();
        env->closeAll();
        QLocale::setDefault(QLocale::c());
    }

    void loadsInTheObjectFolder()
    {
        QCOMPARE(ed->windowTitle(), QStringLiteral("Éditeur d'objets"));
        QCOMPARE(ed->objfile, dir + "/disc/object/*.*");
        QCOMPARE(ed->List1->count(), 0);
        QCOMPARE(ed->Label1->text(), QStringLiteral("*.*\n0 entrées"));
    }

    void newTrackSavedAtOnce()
    {
        ed->mnuNewLines->trigger();
        QVERIFY(zk::objedit);
        QCOMPARE(zk::objkind, int16_t(0));
        QCOMPARE(ed->objfile, QStringLiteral("L1X-line00.plt"));
        QCOMPARE(ed->Command3->text(), QStringLiteral("Arrêter ajouter"));
        QVERIFY(ed->Command3->isVisible());
        QCOMPARE(ed->Frame1->title(), QStringLiteral("Lignes"));
        QCOMPARE(ed->Label1->text(), QStringLiteral("L1X-line00.plt\n0 entrées"));
        QCOMPARE(ed->Text2->text(), QStringLiteral("1"));
        g_chosen = dir + "/L1X-line00.plt";
        ed->mnuSave->trigger();
        QCOMPARE(g_proposed, QStringLiteral("L1X-line00.plt"));
        const QStringList l = fileLines(g_chosen);
        QCOMPARE(l.size(), 6);
        QCOMPARE(l.mid(0, 4), (QStringList{"OziExplorer Track Point File Version 2.1", "WGS 84", "Altitude is in Feet",
                                          "Reserved 3"}));
        QVERIFY(l[4].startsWith(QLatin1String("0,1,0,")));
        QCOMPARE(zk::splitfields(l[4]).size(), 4);
        QCOMPARE(l[5], QStringLiteral("0"));
        QVERIFY(zk::readtrack(l));
    }

    void newLabels()
    {
        ed->mnuNewLabels->trigger();
        QCOMPARE(zk::objkind, int16_t(1));
        QCOMPARE(ed->objfile, QStringLiteral("labels.dat"));
        QCOMPARE(listLines(ed), QStringList{"Kestrova Labels"});
        QCOMPARE(ed->Frame1->title(), QStringLiteral("Étiquettes"));
        QVERIFY(ed->Text2->isHidden());
    }

    void picturesAddEntries()
    {
        zk::frmPic *w = zk::openpicture(QString(), -1);
        zktest::mapCorners(w);
        ed->mnuNewLines->trigger();
        w->Picture1_MouseDown(1, 0, 100, 50);
        // lon 0, lat 45; the cell (100, 50) is 1050 m high: 3445 feet.
        QCOMPARE(listLines(ed).last(), QStringLiteral("45.00000,.00000,0,3445"));
        w->Picture1_MouseDown(1, 0, 150, 25);
        QCOMPARE(ed->List1->count(), 8);
        QCOMPARE(ed->List1->currentRow(), 7);
        QCOMPARE(ed->List1->selectedItems().size(), 1);
        QCOMPARE(ed->Frame1->title(), QStringLiteral("Lignes # 2"));
        QCOMPARE(ed->Label1->text(), QStringLiteral("L1X-line00.plt\n2 entrées"));
        QCOMPARE(ed->Text1[0]->text(), QStringLiteral("47.50000"));
        QCOMPARE(ed->Text1[1]->text(), QStringLiteral("5.00000"));

        // With two lines selected a click adds nothing; with one selected the
        // entry goes to the end all the same.
        select({6, 7}, 7);
        w->Picture1_MouseDown(1, 0, 10, 10);
        QCOMPARE(ed->List1->count(), 8);
        select({6}, 6);
        w->Picture1_MouseDown(1, 0, 10, 10);
        QCOMPARE(ed->List1->count(), 9);
        QCOMPARE(listLines(ed).last().left(17), QStringLiteral("49.00000,-9.00000"));
        QCOMPARE(ed->List1->currentRow(), 8);

        // Labels: black L, centred, on a white box.
        ed->mnuNewLabels->trigger();
        w->Picture1_MouseDown(1, 0, 195, 100);
        QCOMPARE(listLines(ed).last(), QStringLiteral("0,40.00000,9.50000,L,4,FFFFFF"));
        QCOMPARE(ed->Frame1->title(), QStringLiteral("Étiquettes # 1"));

        // Add mode off: clicks add nothing.
        ed->Command3_Click();
        QVERIFY(!zk::objedit);
        QCOMPARE(ed->Command3->text(), QStringLiteral("Débuter ajouter"));
        w->Picture1_MouseDown(1, 0, 10, 10);
        QCOMPARE(ed->List1->count(), 2);
    }

    void gpsbabelTrackOpenedEditedAndSavedBack()
    {
        QVERIFY2(zktest::haveTool("gpsbabel"), "gpsbabel is missing: install the Debian package gpsbabel (scripts/install-deps.sh)");
        const QString gpx = dir + "/in.gpx";
        QVERIFY(zktest::writeFile(gpx, QByteArray(
            "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"t\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
            "<trk><name>Trajet</name><trkseg>\n"
            "<trkpt lat=\"45.5\" lon=\"-73.25\"><ele>30.48</ele><time>2024-05-01T10:00:00Z</time></trkpt>\n"
            "<trkpt lat=\"45.6\" lon=\"-73.35\"><ele>60.96</ele><time>2024-05-01T10:01:00Z</time></trkpt>\n"
            "<trkpt lat=\"45.7\" lon=\"-73.45\"><ele>91.44</ele><time>2024-05-01T10:02:00Z</time></trkpt>\n"
            "<trkpt lat=\"-0.05\" lon=\"0.5\"/>\n"
            "</trkseg></trk></gpx>\n")));
        const QString plt = dir + "/L1-trajet.plt";
        QVERIFY(zktest::run("gpsbabel", {"-t", "-i", "gpx", "-f", gpx, "-o", "ozi", "-F", plt}));
        // gpsbabel's points carry dates after the four fields the system uses.
        QVERIFY(zk::splitfields(fileLines(plt).at(7)).size() > 4);

        QVERIFY(ed->openpath(plt));
        QCOMPARE(zk::objkind, int16_t(0));
        QCOMPARE(ed->List1->count(), 10);
        QCOMPARE(ed->List1->currentRow(), 6);
        QCOMPARE(ed->Label1->text(), QStringLiteral("L1-trajet.plt\n4 entrées"));
        for (int i = 0; i < ed->List1->count(); ++i) QVERIFY(zk::splitfields(ed->List1->item(i)->text()).size() <= 4);

        // Point 3 starts a second sequence; its altitude changes.
        select({8}, 8);
        QCOMPARE(ed->Text1[0]->text(), QStringLiteral("45.700000"));
        ed->Text1[2]->setText(QStringLiteral("1"));
        ed->Text1[3]->setText(QStringLiteral("500"));
        QCOMPARE(ed->List1->item(8)->text(), QStringLiteral("45.70000,-73.45000,1,500"));

        const QString back = dir + "/L1-back.plt";
        QVERIFY(ed->savepath(back));
        const QStringList saved = fileLines(back);
        QCOMPARE(saved.size(), 10);
        QCOMPARE(saved[5], QStringLiteral("4"));

        std::vector<zktest::GpsTrack> theirs;
        QVERIFY(zktest::gpsbabelTracks(back, theirs));
        QCOMPARE(theirs.size(), size_t(2));
        QCOMPARE(theirs[0].size(), size_t(2));
        QCOMPARE(theirs[1].size(), size_t(2));
        QCOMPARE(theirs[1][0].lat, 45.7);
        QCOMPARE(theirs[1][0].lon, -73.45);
        QVERIFY(std::fabs(theirs[1][0].ele_m - 500 * 0.3048) < 0.01);
        QVERIFY(std::fabs(theirs[0][1].ele_m - 60.96) < 0.01);
        QCOMPARE(theirs[1][1].lat, -0.05);
        QVERIFY(!theirs[1][1].hasEle);  // -777: no altitude
        const auto ours = zk::readtrack(saved);
        QVERIFY(ours);
        QCOMPARE(ours->points.size(), size_t(4));
        QVERIFY(ours->points[2].start);
    }

    void everyLabelRecordKept()
    {
        // A line of 85 characters, a text with a quoted comma, one written
        // with bare commas, and a line of twelve fields: all stay.
        const QString longtext(70, QLatin1Char('x'));
        const QStringList lines{"Kestrova Labels",
                                "FF,45.50000,-73.50000," + longtext + ",0,-1",
                                "FF00,45.00000,-73.00000,\"Saint-Jean, Québec\",1,FFFFFF",
                                "0,46.00000,-74.00000,Laval, Québec, Canada,3,-1",
                                "0,1,2,3,4,5,6,7,8,9,10,11"};
        QVERIFY(lines[1].size() >= 85);
        const QString in = dir + "/etiquettes.DAT";
        QByteArray bytes;
        for (const QString &l : lines) bytes += l.toLatin1() + "\r\n";
        QVERIFY(zktest::writeFile(in, bytes));
        QVERIFY(ed->openpath(in));
        QCOMPARE(zk::objkind, int16_t(1));
        QCOMPARE(listLines(ed), lines);
        QCOMPARE(ed->List1->currentRow(), 1);

        select({2}, 2);
        QCOMPARE(ed->Text1[2]->text(), QStringLiteral("Saint-Jean, Québec"));
        QCOMPARE(ed->Text1[3]->text(), QStringLiteral("1"));
        QVERIFY(!ed->Check1->isChecked());
        QCOMPARE(ed->Shape2->fillColor(), QColor(255, 255, 255));
        QCOMPARE(ed->Shape1->fillColor(), QColor(0, 255, 0));
        select({3}, 3);
        QCOMPARE(ed->Text1[2]->text(), QStringLiteral("Laval, Québec, Canada"));
        QVERIFY(ed->Check1->isChecked());

        const QString out = dir + "/copie.dat";
        QVERIFY(ed->savepath(out));
        QCOMPARE(zktest::readFile(out), bytes);
    }

    void labelTextWithACommaWrittenQuoted()
    {
        ed->mnuNewLabels->trigger();
        zk::frmPic *w = zk::openpicture(QString(), -1);
        zktest::mapCorners(w);
        w->Picture1_MouseDown(1, 0, 100, 50);
        ed->Text1[2]->setText(QStringLiteral("Lac, rive nord"));
        QCOMPARE(ed->List1->item(1)->text(), QStringLiteral("0,45.00000,.00000,\"Lac, rive nord\",4,FFFFFF"));
        ed->Check1->click();
        QCOMPARE(ed->List1->item(1)->text(), QStringLiteral("0,45.00000,.00000,\"Lac, rive nord\",4,-1"));
        g_colour = 0x0000FF;
        ed->Command2_Click();  // "Fond": a background again
        QVERIFY(!ed->Check1->isChecked());
        QCOMPARE(ed->List1->item(1)->text(), QStringLiteral("0,45.00000,.00000,\"Lac, rive nord\",4,FF"));
        const auto l = zk::parselabel(ed->List1->item(1)->text(), false, true);
        QVERIFY(l);
        QCOMPARE(l->text, QStringLiteral("Lac, rive nord"));
        QCOMPARE(l->boxcolour, 0xFFu);
    }

    void boxesInACommaLocale()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        const QString in = dir + "/t.plt";
        QVERIFY(zktest::writeFile(in, "OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\n"
                                      "Reserved 3\r\n0,2,255,x\r\n2\r\n45.50000,-73.25000,1,100\r\n46,-74,0,.5\r\n"));
        QVERIFY(ed->openpath(in));
        select({6}, 6);
        QCOMPARE(ed->Text1[0]->text(), QStringLiteral("45,50000"));
        // Editing one box keeps the others as they were.
        ed->Text1[0]->setText(QStringLiteral("95"));
        QVERIFY(red(ed->Text1[0]));
        QCOMPARE(ed->List1->item(6)->text(), QStringLiteral("90.00000,-73.25000,1,100"));
        ed->Text1[0]->setText(QStringLiteral("0,05"));
        QVERIFY(!red(ed->Text1[0]));
        QCOMPARE(ed->List1->item(6)->text(), QStringLiteral(".05000,-73.25000,1,100"));
        ed->Text1[3]->setText(QStringLiteral("40000"));
        QCOMPARE(ed->List1->item(6)->text(), QStringLiteral(".05000,-73.25000,1,29999"));
        select({7}, 7);
        QCOMPARE(ed->Text1[3]->text(), QStringLiteral(",5"));
        ed->Text1[2]->setText(QStringLiteral("0,5"));
        QCOMPARE(ed->List1->item(7)->text(), QStringLiteral("46.00000,-74.00000,.5,.5"));
    }

    void trackColourAndWidth()
    {
        const QString in = dir + "/t.plt";
        QVERIFY(zktest::writeFile(in, "OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\n"
                                      "Reserved 3\r\n0,2,255,Ma trace,0,0,2,8421376\r\n1\r\n45,-73,1,0\r\n"));
        QVERIFY(ed->openpath(in));
        QCOMPARE(ed->List1->item(4)->text(), QStringLiteral("0,2,255,Ma trace"));
        QCOMPARE(ed->Shape1->fillColor(), QColor(255, 0, 0));
        QCOMPARE(ed->Text2->text(), QStringLiteral("2"));
        g_colour = 0x00FF00;
        ed->Command1_Click();
        QCOMPARE(ed->List1->item(4)->text(), QStringLiteral("0,2,65280,Ma trace"));
        ed->Text2->setText(QStringLiteral("12"));
        QVERIFY(red(ed->Text2));
        QCOMPARE(ed->List1->item(4)->text(), QStringLiteral("0,9,65280,Ma trace"));
        ed->Text2->setText(QStringLiteral("2.5"));  // C locale: rounds to the even 2
        QCOMPARE(ed->List1->item(4)->text(), QStringLiteral("0,2,65280,Ma trace"));

        // A header line 5 that does not begin with 0: the swatch only.
        ed->List1->item(4)->setText(QStringLiteral("1,2,255,x"));
        g_colour = 0xFF0000;
        ed->Command1_Click();
        QCOMPARE(ed->List1->item(4)->text(), QStringLiteral("1,2,255,x"));
        QCOMPARE(ed->Shape1->fillColor(), QColor(0, 0, 255));
    }

    void deleteAndNextSequence()
    {
        const QString in = dir + "/t.plt";
        QVERIFY(zktest::writeFile(in, "OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\n"
                                      "Reserved 3\r\n0,1,0,x\r\n5\r\n1,1,1,0\r\n2,2,0,0\r\n3,3,0,0\r\n4,4,1,0\r\n5,5,0,0\r\n"));
        QVERIFY(ed->openpath(in));
        select({6}, 6);
        QVERIFY(ed->Command5->isVisible());
        ed->Command5_Click();
        QCOMPARE(ed->List1->currentRow(), 9);
        QCOMPARE(ed->List1->selectedItems().size(), 1);
        select({10}, 10);
        ed->Command5_Click();
        QCOMPARE(ed->List1->currentRow(), -1);
        QCOMPARE(ed->List1->selectedItems().size(), 0);

        // The header lines and two points selected: only the points go.
        select({0, 1, 4, 7, 8}, 8);
        QVERIFY(ed->Command4->isVisible());
        ed->Command4_Click();
        QCOMPARE(ed->List1->count(), 9);
        QCOMPARE(ed->List1->item(0)->text(), QStringLiteral("OziExplorer Track Point File Version 2.1"));
        QCOMPARE(ed->List1->item(7)->text(), QStringLiteral("4,4,1,0"));
        QCOMPARE(ed->Label1->text(), QStringLiteral("t.plt\n3 entrées"));
    }

    void closeQuestion()
    {
        ed->mnuNewLines->trigger();
        QVERIFY(ed->property("objedit").toBool());
        zk::runflag = 1;
        {
            zk::MsgScript s;
            s.answer(zk::idNo);
            ed->close();
            QCOMPARE(s.texts(), QStringList{"Fermer l'éditeur d'objets"});
            QCOMPARE(s.shown().at(0).flags, int(zk::mbYesNo | zk::mbQuestion));
        }
        QVERIFY(frmObject::loaded());
        QVERIFY(ed->isVisible());
        QVERIFY(!zk::objedit);
        QVERIFY(!ed->property("objedit").toBool());
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(ed->Command3->text(), QStringLiteral("Débuter ajouter"));
        {
            zk::MsgScript s;
            s.answer(zk::idYes);
            QTest::keyClick(ed, Qt::Key_Escape);
        }
        QCoreApplication::processEvents();
        QVERIFY(!frmObject::loaded());
    }

    void mainWindowClosesTheEditorOnlyWhileAdding()
    {
        auto m = std::make_unique<zk::frmMain>();
        ed->mnuNewLines->trigger();
        {
            zk::MsgScript s;
            s.answer(zk::idNo);
            m->closetoolwindows();
            QCOMPARE(s.texts(), QStringList{"Fermer l'éditeur d'objets"});
        }
        QVERIFY(!zk::objedit);
        {
            zk::MsgScript s;
            m->closetoolwindows();
            QCOMPARE(s.texts(), QStringList());
        }
        QVERIFY(frmObject::loaded());
        m.reset();
        zk::setMdiArea(env->area);
        zk::setMainWindow(&env->main);
    }

    // The file dialog itself (no answering hook): a name typed without an
    // extension is saved with the extension of its kind, and opens again
    // as that kind.
    void typedNameGetsTheExtensionOfItsKind_data()
    {
        QTest::addColumn<bool>("labels");
        QTest::addColumn<QString>("expected");
        QTest::newRow("labels") << true << "mine.dat";
        QTest::newRow("track") << false << "mine.plt";
    }
    void typedNameGetsTheExtensionOfItsKind()
    {
        QFETCH(bool, labels);
        QFETCH(QString, expected);
        (labels ? ed->mnuNewLabels : ed->mnuNewLines)->trigger();
        const QStringList written = listLines(ed);
        zk::dialogHooks.file = nullptr;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dlg) return;
            seen = true;
            dlg->setDirectory(dir);
            dlg->selectFile(QStringLiteral("mine"));
            static_cast<QDialog *>(dlg)->accept();  // as the Save button does
        });
        ed->mnuSave->trigger();
        zk::dialogHooks.file = &file;
        QVERIFY(seen);
        QCOMPARE(ed->objfile, QDir(dir).filePath(expected));
        QVERIFY(QFileInfo::exists(QDir(dir).filePath(expected)));
        QVERIFY(!QFileInfo::exists(QDir(dir).filePath(labels ? "mine.plt" : "mine.dat")));
        QVERIFY(ed->openpath(QDir(dir).filePath(expected)));
        QCOMPARE(zk::objkind, int16_t(labels ? 1 : 0));
        QCOMPARE(listLines(ed), written);
    }

    void saveThatCannotBeWritten()
    {
        ed->mnuNewLabels->trigger();
        zk::MsgScript s;
        const QString bad = dir + "/no such folder/labels.dat";
        QVERIFY(!ed->savepath(bad));
        QCOMPARE(s.texts().size(), 1);
        QVERIFY(s.texts()[0].startsWith(QStringLiteral("Le fichier objet n'a pas pu être enregistré :\r\n") + bad));
        QCOMPARE(ed->objfile, bad);
        // An existing file that cannot be replaced is left as it was.
        const QString ro = dir + "/ro";
        QDir().mkpath(ro);
        QVERIFY(zktest::writeFile(ro + "/labels.dat", "old"));
        QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool refused = !ed->savepath(ro + "/labels.dat");
        QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (refused) QCOMPARE(zktest::readFile(ro + "/labels.dat"), QByteArray("old"));
        // A file that cannot be read says so, and leaves an empty list.
        s.clear();
        QVERIFY(!ed->openpath(dir + "/absent.dat"));
        QCOMPARE(s.texts().size(), 1);
        QCOMPARE(ed->List1->count(), 0);
    }
};

QTEST_MAIN(TestFrmObject)
#include "test_frmobject.moc"
