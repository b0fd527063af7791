// Closing the program: a running operation only stops, the confirmation,
// the settings stored, the save prompts in their order (networks, pictures
// never saved, map), Cancel and a Yes that saved nothing keeping the program
// running with its timer, the object editor's refusal, and only the main
// window left after the prompts.
#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QTest>
#include <QTimer>

#include "app/mru.h"
#include "app/shutdown.h"
#include "base/hooks.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "positions/serialgps.h"
#include "radio/radiodata.h"
#include "shellenv.h"

using shelltest::Env;

namespace {

// A window that stands for the object editor: its close asks its question
// and, refused, clears runflag as the editor does.
class ObjectEditor : public QWidget {
public:
    ObjectEditor() { setObjectName(QStringLiteral("frmObject")); }

protected:
    void closeEvent(QCloseEvent *e) override
    {
        if (zk::msgbox(QStringLiteral("Fermer l'éditeur d'objets"), zk::mbYesNo | zk::mbQuestion) == zk::idNo) {
            zk::runflag = 0;
            e->ignore();
        }
    }
};

// A tool window that records that it was closed.
class Tool : public QWidget {
public:
    explicit Tool(const QString &name, QStringList &log) : log_(log) { setObjectName(name); }

protected:
    void closeEvent(QCloseEvent *) override { log_ << objectName(); }

private:
    QStringList &log_;
};

const QString kConfirm = QStringLiteral("Terminer l'exécution du logiciel Kestrova?");

}  // namespace

class TestShutdown : public QObject {
    Q_OBJECT

    std::unique_ptr<Env> env;
    QPointer<zk::frmPic> untitled, fromFile, world;

    // The document of most cases: modified networks and map, a picture
    // never saved, a picture opened from its file, the world map.
    void document()
    {
        zk::settings.lastproject = env->path(QStringLiteral("Projet.net"));
        zk::mapfile = QStringLiteral("default.map");
        zk::netmodified = true;
        zk::mapmodified = true;
        zk::elevgrid.redim(9, 9);
        const QString bmp = env->path(QStringLiteral("Photo.bmp"));
        QVERIFY(shelltest::pattern(20, 10).save(bmp, "BMP"));
        untitled = zk::openpicture(QString(), 2);
        fromFile = zk::openpicture(bmp, 0);
        world = zk::openpicture(QString(), 1);
        QVERIFY(untitled && fromFile && world);
        world->Filename = QStringLiteral("Mappemonde");
        world->setWindowTitle(QStringLiteral("Mappemonde"));
        // A change on the picture from a file is not asked about.
        fromFile->Picture1->image().setPixelColor(1, 1, Qt::red);
        env->w->timer1()->start(200);
    }

    bool timerRunning() const { return env->w->timer1()->isActive() && env->w->timer1()->interval() == 200; }

private slots:
    void init() { env = std::make_unique<Env>(); }
    void cleanup()
    {
        zk::positions::closelog();
        env.reset();
    }

    void runningOperationOnlyStops()
    {
        document();
        zk::runflag = zk::opterrain;
        zk::MsgScript script;
        QVERIFY(!env->w->close());
        QCOMPARE(zk::runflag, int16_t(0));
        QVERIFY(script.texts().isEmpty());
        QVERIFY(env->w->isVisible());
        QVERIFY(timerRunning());
        // The next close asks.
        script.answer(zk::idNo);
        QVERIFY(!env->w->close());
        QCOMPARE(script.texts(), QStringList{kConfirm});
        QCOMPARE(script.shown().first().flags, zk::mbYesNo | zk::mbQuestion);
        QCOMPARE(script.shown().first().caption, QStringLiteral("Kestrova"));
        QVERIFY(timerRunning());
        QVERIFY(untitled && fromFile && world);
    }

    void promptsInOrder()
    {
        document();
        zk::settings.gpsflags = 1;
        zk::settings.gpslog = env->path(QStringLiteral("gps.txt"));
        zk::hooks::applygps();
        QVERIFY(zk::positions::logopen());
        const QString untitledName = untitled->Filename;
        QStringList closedTools;
        Tool grid(QStringLiteral("frmGrid"), closedTools), link(QStringLiteral("frmLink"), closedTools);
        grid.show();
        link.show();
        zk::MsgScript script;
        for (int a : {zk::idYes, zk::idNo, zk::idNo, zk::idNo}) script.answer(a);
        QVERIFY(env->w->close());
        QCOMPARE(script.texts(), QStringList({kConfirm, QStringLiteral("Enregistrer ") + zk::settings.lastproject + "?",
                                              QStringLiteral("Enregistrer ") + untitledName + "?",
                                              QStringLiteral("Enregistrer default.map?")}));
        for (int i = 1; i < 4; ++i) QCOMPARE(script.shown()[i].flags, zk::mbYesNoCancel | zk::mbQuestion);
        QCOMPARE(closedTools, QStringList({"frmGrid", "frmLink"}));
        // Only the main window is left, hidden, its timer stopped.
        QVERIFY(!untitled && !fromFile && !world);
        QVERIFY(zk::picwindows().isEmpty());
        QVERIFY(!env->w->isVisible());
        QVERIFY(!env->w->timer1()->isActive());
        QVERIFY(!zk::positions::logopen());
    }

    void settingsStoredAtExit_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("normal") << false;
        QTest::newRow("maximised") << true;
    }
    void settingsStoredAtExit()
    {
        QFETCH(bool, maximised);
        zk::settings.mru = {QStringLiteral("/x/a.net"), QString(), QStringLiteral("/x/c.net"), QString()};
        zk::settings.gpsport = 4321;
        if (maximised) env->w->showMaximized();
        else env->w->setGeometry(40, 60, 500, 400);
        QCoreApplication::processEvents();
        zk::MsgScript script;
        script.answer(zk::idYes);
        script.answer(zk::idCancel);  // stored even when the close is then cancelled
        zk::netmodified = true;
        QVERIFY(!env->w->close());
        QCOMPARE(zk::readsetting(QStringLiteral("Previous0"), "?"), QStringLiteral("/x/a.net"));
        QCOMPARE(zk::readsetting(QStringLiteral("Previous1"), "?"), QString());
        QCOMPARE(zk::readsetting(QStringLiteral("Previous2"), "?"), QStringLiteral("/x/c.net"));
        QCOMPARE(zk::readsetting(QStringLiteral("GPSport"), "?"), QStringLiteral("4321"));
        if (maximised) {
            for (const char *k : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
                QCOMPARE(zk::readsetting(QLatin1String(k), "?"), QStringLiteral("0"));
        } else {
            QCOMPARE(zk::readsetting(QStringLiteral("MainWidth"), "?"), QStringLiteral("7500"));
            QCOMPARE(zk::readsetting(QStringLiteral("MainHeight"), "?"), QStringLiteral("6000"));
        }
    }

    void cancelKeepsProgramRunning_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("prompts");
        QTest::addColumn<bool>("picturesLeft");
        QTest::newRow("cancel at networks") << QList<int>{zk::idYes, zk::idCancel} << 2 << true;
        QTest::newRow("cancel at picture") << QList<int>{zk::idYes, zk::idNo, zk::idCancel} << 3 << true;
        // The pictures are unloaded before the map is asked about.
        QTest::newRow("cancel at map") << QList<int>{zk::idYes, zk::idNo, zk::idNo, zk::idCancel} << 4 << false;
    }
    void cancelKeepsProgramRunning()
    {
        QFETCH(QList<int>, answers);
        QFETCH(int, prompts);
        QFETCH(bool, picturesLeft);
        document();
        // The GPS log is being written.
        zk::settings.gpsflags = 1;
        zk::settings.gpslog = env->path(QStringLiteral("gps.txt"));
        zk::hooks::applygps();
        QVERIFY(zk::positions::logopen());
        zk::MsgScript script;
        for (int a : answers) script.answer(a);
        QVERIFY(!env->w->close());
        QCOMPARE(script.texts().size(), prompts);
        QVERIFY(env->w->isVisible());
        // The timer runs again: a cancelled close leaves the program as it was.
        QVERIFY(timerRunning());
        QVERIFY(zk::positions::logopen());
        QCOMPARE(bool(untitled), picturesLeft);
        QVERIFY(zk::netmodified);
        QVERIFY(zk::mapmodified);
    }

    // A Yes whose dialog is cancelled or whose save fails must not drop the
    // unsaved work: it counts as Cancel.
    void yesThatSavedNothingCancels_data()
    {
        QTest::addColumn<int>("stage");       // 1 networks, 2 picture, 3 map
        QTest::addColumn<bool>("dialogAnswers");  // false: dialog cancelled; true: a path that cannot be written
        QTest::newRow("networks, dialog cancelled") << 1 << false;
        QTest::newRow("networks, save failed") << 1 << true;
        QTest::newRow("picture, dialog cancelled") << 2 << false;
        QTest::newRow("picture, save failed") << 2 << true;
        QTest::newRow("map, dialog cancelled") << 3 << false;
        QTest::newRow("map, save failed") << 3 << true;
    }
    void yesThatSavedNothingCancels()
    {
        QFETCH(int, stage);
        QFETCH(bool, dialogAnswers);
        document();
        const QString ext = stage == 1 ? QStringLiteral("net") : stage == 2 ? QStringLiteral("bmp") : QStringLiteral("map");
        if (dialogAnswers) shelltest::fileAnswers() << env->path(QStringLiteral("no/such/folder/x.") + ext);
        zk::MsgScript script;
        script.answer(zk::idYes);
        for (int s = 1; s < stage; ++s) script.answer(zk::idNo);
        script.answer(zk::idYes);
        QVERIFY(!env->w->close());
        // The prompts stop at the failed one (its own failure message aside).
        QStringList prompts;
        for (const QString &t : script.texts())
            if (t.startsWith(QLatin1String("Enregistrer ")) || t == kConfirm) prompts << t;
        QCOMPARE(prompts.size(), stage + 1);
        if (dialogAnswers) QCOMPARE(script.texts().size(), stage + 2);
        QVERIFY(env->w->isVisible());
        QVERIFY(timerRunning());
        QVERIFY(zk::mapmodified);
        if (stage == 1) QVERIFY(zk::netmodified);
        if (stage <= 2) QVERIFY(untitled);
    }

    // Work kept in a picture opened from its file ("Garder ... dans
    // l'image?" Oui) is asked about like a picture never saved, and Yes
    // saves it into that file; once saved, it is not asked about again.
    void keptWorkOnAPictureFromItsFileIsAsked_data()
    {
        QTest::addColumn<bool>("savedFirst");
        QTest::newRow("kept, not saved") << false;
        QTest::newRow("kept, then saved") << true;
    }
    void keptWorkOnAPictureFromItsFileIsAsked()
    {
        QFETCH(bool, savedFirst);
        document();
        const QString bmp = fromFile->Filename;
        {
            zk::MsgScript keep;
            keep.answer(zk::idYes);
            QVERIFY(zk::keepinpic(fromFile->Picture1, QStringLiteral("la grille ")));
            QCOMPARE(keep.texts(), QStringList{QStringLiteral("Garder la grille dans l'image?")});
        }
        if (savedFirst) {
            zk::MsgScript quiet;
            QVERIFY(zk::savepicture(fromFile, bmp));
        }
        const QString untitledName = untitled->Filename;
        shelltest::fileAnswers() << bmp;
        zk::MsgScript script;
        for (int a : {zk::idYes, zk::idNo, zk::idNo}) script.answer(a);
        if (!savedFirst) script.answer(zk::idYes);  // the picture from its file: saved
        script.answer(zk::idNo);
        QVERIFY(env->w->close());
        QStringList expected{kConfirm, QStringLiteral("Enregistrer ") + zk::settings.lastproject + "?",
                             QStringLiteral("Enregistrer ") + untitledName + "?"};
        if (!savedFirst) expected << QStringLiteral("Enregistrer ") + bmp + "?";
        expected << QStringLiteral("Enregistrer default.map?");
        QStringList prompts;
        for (const QString &t : script.texts())
            if (t.startsWith(QLatin1String("Enregistrer ")) || t == kConfirm) prompts << t;
        QCOMPARE(prompts, expected);
        // The kept change is in the file: pixel (1, 1) red instead of the pattern's RGB(1, 1, 7).
        QImage onDisk(bmp);
        QVERIFY(!onDisk.isNull());
        QCOMPARE(onDisk.pixelColor(1, 1), QColor(Qt::red));
        QCOMPARE(onDisk.pixelColor(2, 1), QColor(2, 1, 7));
    }

    void yesThatSavedGoesOn()
    {
        document();
        const QString net = env->path(QStringLiteral("Sauvé.net"));
        const QString pic = env->path(QStringLiteral("Sauvée.bmp"));
        const QString map = env->path(QStringLiteral("Sauvée.map"));
        shelltest::fileAnswers() << net << pic << map;
        zk::MsgScript script;
        for (int a : {zk::idYes, zk::idYes, zk::idYes, zk::idYes}) script.answer(a);
        QVERIFY(env->w->close());
        QVERIFY(QFile::exists(net));
        QVERIFY(QFile::exists(pic));
        QVERIFY(QFile::exists(map));
        QVERIFY(!zk::netmodified);
        QVERIFY(!zk::mapmodified);
        // The picture dialog proposed the picture's own name.
        QCOMPARE(shelltest::fileCalls()[1].title, QStringLiteral("Enregistrer l'image"));
        QVERIFY(shelltest::fileCalls()[1].proposed.startsWith(QLatin1String("Image")));
    }

    void worldMapAloneAsksOnlyConfirmation()
    {
        zk::frmPic *w = zk::openpicture(QString(), 1);
        w->Filename = QStringLiteral("MAPPEMONDE");
        zk::MsgScript script;
        script.answer(zk::idYes);
        QVERIFY(env->w->close());
        QCOMPARE(script.texts(), QStringList{kConfirm});
    }

    void objectEditorRefusalCancels()
    {
        document();
        ObjectEditor editor;
        editor.show();
        zk::MsgScript script;
        script.answer(zk::idYes);  // terminate
        script.answer(zk::idNo);   // keep the editor
        QVERIFY(!env->w->close());
        QCOMPARE(script.texts(), QStringList({kConfirm, QStringLiteral("Fermer l'éditeur d'objets")}));
        QVERIFY(editor.isVisible());
        QCOMPARE(zk::runflag, int16_t(0));
        QVERIFY(timerRunning());
        // Yes: it closes and the prompts go on.
        script.clear();
        for (int a : {zk::idYes, zk::idYes, zk::idCancel}) script.answer(a);
        QVERIFY(!env->w->close());
        QVERIFY(!editor.isVisible());
        QCOMPARE(script.texts().last(), QStringLiteral("Enregistrer ") + zk::settings.lastproject + "?");
        QCOMPARE(zk::runflag, int16_t(0));
    }

    void cleanNetLeavesOnlyMainWindow()
    {
        document();
        zk::netmodified = false;
        zk::mapmodified = false;
        zk::MsgScript script;
        script.answer(zk::idNo);  // the untitled picture
        QVERIFY(!env->w->CleanNet());
        QVERIFY(zk::picwindows().isEmpty());
        QVERIFY(env->w->isVisible());
        QCOMPARE(script.texts().size(), 1);
    }
};

QTEST_MAIN(TestShutdown)
#include "test_shutdown.moc"
