// The menu tree of the main window against its fixture, and the file-menu
// commands the shell carries: new, open and save networks, open and save a
// map and a picture, the propagation mode and the network drawings.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QLabel>
#include <QMenuBar>
#include <QTest>

#include "app/commands.h"
#include "map/mapfile.h"
#include "msgbox.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "radio/linkbudget.h"
#include "radio/netdoc.h"
#include "shellenv.h"

using shelltest::Env;

namespace {

QString describe(QAction *a, int depth)
{
    QString line = QString(depth * 2, QLatin1Char(' ')) + a->objectName();
    if (a->isSeparator()) {
        line += QStringLiteral(" -");
    } else {
        line += QStringLiteral(" \"") + a->text() + QLatin1Char('"');
        if (!a->shortcut().isEmpty()) line += QLatin1Char(' ') + a->shortcut().toString(QKeySequence::PortableText);
        if (a->isChecked()) line += QStringLiteral(" checked");
    }
    if (!a->isVisible()) line += QStringLiteral(" hidden");
    const int help = a->property("HelpContextID").toInt();
    line += help > 0 ? QStringLiteral(" help=%1").arg(help) : QStringLiteral(" help=none");
    return line;
}

void dumpMenu(QMenu *m, int depth, QStringList &out)
{
    for (QAction *a : m->actions()) {
        if (a->property("windowList").toBool()) continue;
        out << describe(a, depth);
        if (a->menu()) dumpMenu(a->menu(), depth + 1, out);
    }
}

QStringList menuTree(zk::frmMain &w)
{
    QStringList out;
    for (QAction *top : w.menuBar()->actions()) {
        out << describe(top, 0);
        if (top->menu()) dumpMenu(top->menu(), 1, out);
    }
    return out;
}

}  // namespace

class TestMenus : public QObject {
    Q_OBJECT

    std::unique_ptr<Env> env;

private slots:
    void init() { env = std::make_unique<Env>(); }
    void cleanup() { env.reset(); }

    void treeMatchesFixture()
    {
        QFile f(QStringLiteral(ZK_SHELL_TESTDATA "/menutree.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList want = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QStringList got = menuTree(*env->w);
        for (int i = 0; i < std::min(want.size(), got.size()); ++i) QCOMPARE(got[i], want[i]);
        QCOMPARE(got.size(), want.size());
    }

    void shellCommandsAreEnabled()
    {
        for (const char *name : {"mnuFileNewNet", "mnuFileOpenNet", "mnuFileSaveNet", "mnuFileOpenMap", "mnuFileSaveMap",
                                 "mnuFileOpenPic", "mnuFileSavePic", "mnuModel(1)", "mnuModel(2)", "mnuFilePrint",
                                 "mnuEditCopy", "mnuEditPaste", "mnuEditPasteNew", "mnuViewShowNet", "mnuViewHideNet",
                                 "mnuFileExit"}) {
            QAction *a = env->w->action(QLatin1String(name));
            QVERIFY2(a && a->isEnabled(), name);
        }
        QVERIFY(env->w->action(QStringLiteral("mnuProp"))->isEnabled());
        // Their toolbar buttons are not greyed.
        QVERIFY(!env->w->image1(0)->greyed());
        QVERIFY(!env->w->image1(11)->greyed());
        QVERIFY(!env->w->image1(12)->greyed());
    }

    void newNetworksAsksFirst()
    {
        zk::settings.lastproject = env->path(QStringLiteral("Old.net"));
        zk::netmodified = true;
        const QString before = zk::settings.lastproject;
        {
            zk::MsgScript script;
            script.answer(zk::idNo);
            env->w->action(QStringLiteral("mnuFileNewNet"))->trigger();
            QCOMPARE(script.texts(), QStringList{QStringLiteral("Effacer toutes les données du réseau \r\n") + before + "?"});
            QCOMPARE(script.shown().first().flags, zk::mbYesNo | zk::mbQuestion);
        }
        QCOMPARE(zk::settings.lastproject, before);
        {
            // Yes, then Cancel at the save prompt: the document stays.
            zk::MsgScript script;
            script.answer(zk::idYes);
            script.answer(zk::idCancel);
            env->w->action(QStringLiteral("mnuFileNewNet"))->trigger();
            QCOMPARE(script.texts().size(), 2);
            QCOMPARE(script.texts()[1], QStringLiteral("Enregistrer ") + before + "?");
            QCOMPARE(zk::settings.lastproject, before);
            QVERIFY(zk::netmodified);
        }
        {
            zk::MsgScript script;
            script.answer(zk::idYes);
            script.answer(zk::idNo);
            env->w->action(QStringLiteral("mnuFileNewNet"))->trigger();
            QVERIFY(zk::settings.lastproject.endsWith(QLatin1String(".net")));
            QVERIFY(zk::settings.lastproject != before);
            QCOMPARE(zk::settings.mru[0], zk::settings.lastproject);
            QVERIFY(!zk::netmodified);
        }
    }

    void saveAndOpenNetworks()
    {
        zk::settings.lastproject = QStringLiteral("Default.net");
        const QString file = env->path(QStringLiteral("Réseau A.net"));
        shelltest::fileAnswers() << file;
        zk::MsgScript script;
        env->w->action(QStringLiteral("mnuFileSaveNet"))->trigger();
        QCOMPARE(shelltest::fileCalls().size(), 1);
        const shelltest::FileCall save = shelltest::fileCalls().first();
        QVERIFY(save.save);
        QCOMPARE(save.proposed, QStringLiteral("Default.net"));
        QCOMPARE(save.title, QStringLiteral("Enregistrer les réseaux sous"));
        QCOMPARE(save.filter, QStringLiteral("Fichier de réseaux (NET) (*.net)"));
        QVERIFY(QFile::exists(file));
        QCOMPARE(zk::settings.lastproject, file);
        QCOMPARE(zk::settings.mru[0], file);
        QCOMPARE(env->w->windowTitle(), QStringLiteral("..\\Réseau A.net - Kestrova"));

        // Open: the dialog proposes the last network file; the save prompts
        // run before the file is read.
        zk::settings.lastproject = QStringLiteral("other.net");
        zk::netmodified = true;
        shelltest::fileCalls().clear();
        shelltest::fileAnswers() << file;
        script.answer(zk::idNo);
        env->w->action(QStringLiteral("mnuFileOpenNet"))->trigger();
        QCOMPARE(shelltest::fileCalls().first().proposed, QStringLiteral("other.net"));
        QCOMPARE(shelltest::fileCalls().first().title, QStringLiteral("Ouvrir des réseaux"));
        // Then the file read names a map that was never made: it says so.
        QCOMPARE(script.texts().size(), 2);
        QCOMPARE(script.texts()[0], QStringLiteral("Enregistrer other.net?"));
        QVERIFY(script.texts()[1].startsWith(QStringLiteral("Carte introuvable : default.map\r\n")));
        QCOMPARE(zk::settings.lastproject, file);
        QVERIFY(!zk::netmodified);

        // A cancelled open dialog asks nothing and changes nothing.
        script.clear();
        zk::netmodified = true;
        env->w->action(QStringLiteral("mnuFileOpenNet"))->trigger();
        QVERIFY(script.texts().isEmpty());
        QVERIFY(zk::netmodified);
    }

    void openMapMessages_data()
    {
        QTest::addColumn<QString>("mapfile");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("map name proposed") << "default.map" << "default.map";
        QTest::newRow("upper-case extension") << "ALPS.MAP" << "ALPS.MAP";
        QTest::newRow("other name not proposed") << "picture.bmp" << "";
    }
    void openMapMessages()
    {
        QFETCH(QString, mapfile);
        QFETCH(QString, proposed);
        // A 200 x 150 map on disk.
        zk::elevgrid.redim(199, 149);
        zk::elevgrid.at(3, 4) = 77;
        const QString file = env->path(QStringLiteral("m.map"));
        {
            zk::MsgScript quiet;
            QVERIFY(zk::savemap(file));
        }
        zk::elevgrid.redim(9, 9);
        zk::mapfile = mapfile;
        shelltest::fileAnswers() << file;
        zk::MsgScript script;
        env->w->action(QStringLiteral("mnuFileOpenMap"))->trigger();
        QCOMPARE(shelltest::fileCalls().first().proposed, proposed);
        QCOMPARE(shelltest::fileCalls().first().title, QStringLiteral("Ouvrir une carte"));
        QCOMPARE(shelltest::fileCalls().first().filter, QStringLiteral("Fichier carte (MAP) (*.map)"));
        QCOMPARE(script.texts().size(), 1);
        QCOMPARE(script.texts().first(),
                 file + "\r\nLargeur=200\r\nHauteur=150\r\nDonnées d'altitude récupérées avec succès");
        QCOMPARE(script.shown().first().flags, zk::mbInformation | zk::mbOK);
        QCOMPARE(zk::elevgrid.get(3, 4), int16_t(77));
    }

    void openMapFailure()
    {
        const QString file = env->path(QStringLiteral("missing.map"));
        shelltest::fileAnswers() << file;
        zk::MsgScript script;
        env->w->action(QStringLiteral("mnuFileOpenMap"))->trigger();
        QCOMPARE(script.texts().last(), QStringLiteral("Echec en cours de lecture\r\n") + file);
        QCOMPARE(script.shown().last().flags, zk::mbExclamation | zk::mbOK);
        // Cancelled dialog: nothing at all.
        script.clear();
        env->w->action(QStringLiteral("mnuFileOpenMap"))->trigger();
        QVERIFY(script.texts().isEmpty());
    }

    void saveMap()
    {
        zk::elevgrid.redim(4, 3);
        zk::mapfile = QStringLiteral("default.map");
        const QString file = env->path(QStringLiteral("saved.map"));
        shelltest::fileAnswers() << file;
        zk::MsgScript script;
        QVERIFY(zk::mnuFileSaveMap_Click());
        QCOMPARE(shelltest::fileCalls().first().proposed, QStringLiteral("default.map"));
        QCOMPARE(shelltest::fileCalls().first().title, QStringLiteral("Enregistrer la carte"));
        QVERIFY(QFile::exists(file));
        // Cancel saves nothing and says so to its caller.
        QVERIFY(!zk::mnuFileSaveMap_Click());
    }

    void openAndSavePicture()
    {
        const QString bmp = env->path(QStringLiteral("Photo.bmp"));
        QVERIFY(shelltest::pattern(30, 20).save(bmp, "BMP"));
        shelltest::fileAnswers() << bmp;
        zk::MsgScript script;
        env->w->action(QStringLiteral("mnuFileOpenPic"))->trigger();
        QCOMPARE(shelltest::fileCalls().first().proposed, QString());
        QCOMPARE(shelltest::fileCalls().first().title, QStringLiteral("Ouvrir une image"));
        QCOMPARE(shelltest::fileCalls().first().filter,
                 QStringLiteral("Fichier image (BMP JPEG GIF) (*.bmp *.jpg *.jpeg *.gif)"));
        zk::frmPic *pic = zk::activepic();
        QVERIFY(pic);
        QCOMPARE(pic->Picture1->picture().size(), QSize(30, 20));

        const QString copy = env->path(QStringLiteral("Copie.bmp"));
        const QString before = pic->Filename;
        shelltest::fileCalls().clear();
        shelltest::fileAnswers() << copy;
        env->w->action(QStringLiteral("mnuFileSavePic"))->trigger();
        QCOMPARE(shelltest::fileCalls().first().proposed, before);
        QCOMPARE(shelltest::fileCalls().first().title, QStringLiteral("Enregistrer l'image"));
        QVERIFY(QFile::exists(copy));
        QCOMPARE(pic->Filename, copy);
    }

    void savePictureWithoutPictureDoesNothing()
    {
        QVERIFY(!zk::activepic());
        QVERIFY(!zk::mnuFileSavePic_Click());
        QVERIFY(shelltest::fileCalls().isEmpty());
    }

    void propagationMode()
    {
        QAction *normal = env->w->action(QStringLiteral("mnuModel(1)"));
        QAction *interf = env->w->action(QStringLiteral("mnuModel(2)"));
        zk::lrprm.interf = 0;
        interf->trigger();
        QVERIFY(interf->isChecked());
        QVERIFY(!normal->isChecked());
        QCOMPARE(zk::lrprm.interf, 1);
        QCOMPARE(env->w->label2()->text(), QStringLiteral("Mode de propagation interférence"));
        // Choosing the mode already checked keeps it checked.
        interf->trigger();
        QVERIFY(interf->isChecked());
        QCOMPARE(zk::lrprm.interf, 1);
        normal->trigger();
        QVERIFY(normal->isChecked());
        QVERIFY(!interf->isChecked());
        QCOMPARE(zk::lrprm.interf, 0);
    }

    void hideNetworksClearsDrawings()
    {
        zk::frmPic *pic = zk::openpicture(QString(), 2);
        QVERIFY(pic);
        pic->Picture1->setPicture(shelltest::pattern(20, 20));
        pic->Picture1->image().setPixelColor(5, 5, Qt::red);
        pic->Shape2->setGeometry(1, 1, 4, 4);
        pic->Shape2->show();
        env->w->action(QStringLiteral("mnuViewHideNet"))->trigger();
        QCOMPARE(pic->Picture1->image().pixelColor(5, 5), QColor(5, 5, 7));
        QVERIFY(pic->Shape2->isHidden());
    }
};

QTEST_MAIN(TestMenus)
#include "test_menus.moc"
