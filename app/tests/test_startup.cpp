// The start-up sequence: with and without the engine library, the banner in
// front of a disabled main window, the document reset, settings, the
// command line and the services started last.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/mainwindow.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "base/settings.h"
#include "engine.h"
#include "map/datum.h"
#include "map/mapdata.h"
#include "map/mapservices.h"
#include "msgbox.h"
#include "paths.h"
#include "radio/radiodata.h"

using zk::TailKind;

namespace {
void clearStore()
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
    s.clear();
    s.sync();
}

QWidget *banner()
{
    for (QWidget *t : QApplication::topLevelWidgets())
        if (t->objectName() == QLatin1String("frmSplash")) return t;
    return nullptr;
}
}  // namespace

Q_DECLARE_METATYPE(TailKind)

class TestStartup : public QObject {
    Q_OBJECT

    static zk::frmMain *start(const QString &tail = QString(), double seconds = 0.0)
    {
        zk::StartupOptions o;
        o.tail = tail;
        o.bannerSeconds = seconds;
        return zk::Main(o);
    }

private slots:
    void init()
    {
        clearStore();
        zk::settings = zk::AppSettings{};
        zk::engine::setLibraryName("libzelkor32.so");
        // A map that failed to open in an earlier case counts as modified;
        // each case starts with an unmodified document.
        zk::netmodified = false;
        zk::mapmodified = false;
    }
    void cleanup()
    {
        delete zk::mainform;
        QCoreApplication::processEvents();
    }

    void tailKinds_data()
    {
        QTest::addColumn<QString>("tail");
        QTest::addColumn<TailKind>("kind");
        QTest::newRow("empty") << "" << TailKind::None;
        QTest::newRow("quoted map") << "\"/data/my maps/alps.map\"" << TailKind::Map;
        QTest::newRow("quoted upper-case gif") << "\"/data/CHART.GIF\"" << TailKind::Picture;
        QTest::newRow("bmp") << "photo.bmp" << TailKind::Picture;
        QTest::newRow("jpg") << "x.JpG" << TailKind::Picture;
        QTest::newRow("text file") << "notes.txt" << TailKind::Network;
        QTest::newRow("net") << "demo.net" << TailKind::Network;
        QTest::newRow("two names, judged by the last") << "a.net b.map" << TailKind::Map;
        QTest::newRow("jpeg is not jpg") << "x.jpeg" << TailKind::Network;
        QTest::newRow("trailing quote only") << "alps.map\"" << TailKind::Map;
    }
    void tailKinds()
    {
        QFETCH(QString, tail);
        QFETCH(TailKind, kind);
        QCOMPARE(zk::tailkind(tail), kind);
    }

    void commandTailJoinsArguments()
    {
        QCOMPARE(zk::commandTail({"ZELKORfr"}), QString());
        QCOMPARE(zk::commandTail({"ZELKORfr", "/a/b.net"}), QStringLiteral("/a/b.net"));
        QCOMPARE(zk::commandTail({"ZELKORfr", "a.net", "b.map"}), QStringLiteral("a.net b.map"));
    }

    void withoutEngineLibrary()
    {
        zk::engine::setLibraryName("libzk_no_such_library.so");
        zk::MsgScript script;
        QVERIFY(start() == nullptr);
        QCOMPARE(script.shown().size(), 1);
        QCOMPARE(script.shown()[0].text, QStringLiteral("ZELKOR32.DLL non trouvée"));
        QCOMPARE(script.shown()[0].flags, int(zk::mbExclamation | zk::mbOK));
        QCOMPARE(script.shown()[0].caption, QStringLiteral("Kestrova"));
        QVERIFY(zk::mainform == nullptr);
        QVERIFY(banner() == nullptr);
    }

    void firstStart()
    {
        zk::MsgScript script;
        zk::elevgrid.redim(5, 5);
        bool sawBanner = false, disabledMeanwhile = false;
        zk::StartupOptions o;
        o.bannerSeconds = 0.3;
        o.bannerWait = [&] {
            QWidget *b = banner();
            sawBanner = b && b->isVisible();
            disabledMeanwhile = zk::mainform && zk::mainform->isVisible() && !zk::mainform->isEnabled();
        };
        QElapsedTimer t;
        t.start();
        zk::frmMain *w = zk::Main(o);
        QVERIFY(w);
        QVERIFY(t.elapsed() >= 300);  // the banner's minimum time
        QVERIFY(sawBanner);
        QVERIFY(disabledMeanwhile);
        QVERIFY(banner() == nullptr);
        QCOMPARE(zk::mainform, w);
        QVERIFY(w->isVisible());
        QVERIFY(w->isEnabled());
        QVERIFY(script.shown().isEmpty());
        // The document reset: one grid cell per screen pixel.
        const QSize screen = QGuiApplication::primaryScreen()->size();
        QCOMPARE(zk::elevgrid.ubound1(), screen.width() - 1);
        QCOMPARE(zk::elevgrid.ubound2(), screen.height() - 1);
        QCOMPARE(zk::fixedText(zk::units[1].name), QStringLiteral("Station 01"));
        QCOMPARE(zk::mapfile, QStringLiteral("default.map"));
        // Settings with their defaults; the last network file opened (not read).
        QCOMPARE(zk::settings.lastproject, QStringLiteral("Default.net"));
        QCOMPARE(zk::readsetting(QStringLiteral("LastProject"), ""), QStringLiteral("Default.net"));
        QCOMPARE(zk::settings.drawfontname, QStringLiteral("MS Sans Serif"));
        QCOMPARE(zk::settings.gpsport, 3500);
        // The timer runs from the end of the start-up.
        QVERIFY(w->timer1()->isActive());
        QCOMPARE(w->timer1()->interval(), 200);
        QVERIFY(!zk::tmppath.isEmpty());
        // A normal 6500 x 6500 twip window at 1000, 1000.
        QVERIFY(!w->isMaximized());
        QCOMPARE(w->size(), QSize(433, 433));
        // The last network file is entry 1 of the recent files and the caption
        // names it.
        QCOMPARE(w->windowTitle(), QStringLiteral("..\\Default.net - Kestrova"));
        QCOMPARE(zk::settings.mru[0], QStringLiteral("Default.net"));
        QCOMPARE(w->mnuFileMRU(0)->text(), QStringLiteral("&1 Default.net"));
        QVERIFY(w->mnuFileMRU(0)->isVisible());
        QVERIFY(!w->mnuFileMRU(1)->isVisible());
        // The cursor read-out at the map's centre (45 N, 73 W).
        QVERIFY2(w->label1()->text().contains(QStringLiteral("45°00'00")), qPrintable(w->label1()->text()));
    }

    void datumFileAndCompanionPictures()
    {
        // A datum file of the user's own is read at start-up (and by the
        // document reset within it).
        const QString file = zk::paths::userFolder() + QStringLiteral("/geosys.dat");
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("\"Hayford 1909\",6378388.0,6356911.946,0\r\n");
        }
        zk::mapservices.opencompanion = nullptr;
        zk::frmMain *w = start();
        QFile::remove(file);
        QVERIFY(w);
        QCOMPARE(zk::ellname, QStringLiteral("Hayford 1909"));
        QCOMPARE(zk::ella, 6378388.0);
        QCOMPARE(zk::rowoffset, int16_t(0));
        // An old-layout map opens its companion picture.
        QVERIFY(bool(zk::mapservices.opencompanion));
        zk::loadellipsoid(QStringLiteral("geosys.dat"));
    }

    void commandLineNetworkFile()
    {
        zk::frmMain *w = start(QStringLiteral("/nowhere/notes.txt"));
        QVERIFY(w);
        // Not a network file name: nothing is read, yet it becomes the last one.
        QCOMPARE(zk::settings.lastproject, QStringLiteral("/nowhere/notes.txt"));
        QCOMPARE(zk::readsetting(QStringLiteral("LastProject"), ""), QStringLiteral("/nowhere/notes.txt"));
    }

    void commandLineMapLeavesLastProject()
    {
        zk::writesetting(QStringLiteral("LastProject"), QStringLiteral("/x/old.net"));
        zk::frmMain *w = start(QStringLiteral("\"/nowhere/alps.map\""));
        QVERIFY(w);
        QCOMPARE(zk::settings.lastproject, QStringLiteral("/x/old.net"));
    }

    void replayBitCleared()
    {
        zk::writesetting(QStringLiteral("GPSstatus"), QStringLiteral("7"));
        QVERIFY(start());
        QCOMPARE(zk::settings.gpsflags, 5);
    }

    void recentFilesThatStillExist()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("a.net")), c = dir.filePath(QStringLiteral("c.net"));
        for (const QString &f : {a, c}) {
            QFile file(f);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        zk::writesetting(QStringLiteral("Previous0"), a);
        zk::writesetting(QStringLiteral("Previous1"), dir.filePath(QStringLiteral("gone.net")));
        zk::writesetting(QStringLiteral("Previous2"), c);
        // The last network file is the first entry: opening it keeps the order.
        zk::writesetting(QStringLiteral("LastProject"), a);
        zk::MsgScript script;  // the empty file is reported as unreadable
        QVERIFY(start());
        QCOMPARE(zk::settings.mru[0], a);
        QCOMPARE(zk::settings.mru[1], c);
        QVERIFY(zk::settings.mru[2].isEmpty());
        QVERIFY(zk::settings.mru[3].isEmpty());
    }

    void maximisedPlacement()
    {
        for (const char *k : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) zk::writesetting(QLatin1String(k), QStringLiteral("0"));
        zk::frmMain *w = start();
        QVERIFY(w);
        QVERIFY(w->isMaximized());
        QVERIFY(!w->picture3(3)->isVisible());
    }

    void pictureOnTheCommandLineTakesTheWindowState()
    {
        QTemporaryDir dir;
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        const QString file = dir.filePath(QStringLiteral("Photo.BMP"));
        QVERIFY(img.save(file, "BMP"));
        for (const char *k : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) zk::writesetting(QLatin1String(k), QStringLiteral("0"));
        zk::frmMain *w = start(QLatin1Char('"') + file + QLatin1Char('"'));
        QVERIFY(w);
        QVERIFY(w->isMaximized());
        const QList<QMdiSubWindow *> subs = w->mdiArea()->subWindowList();
        QCOMPARE(subs.size(), 1);
        QVERIFY(subs[0]->isMaximized());
        // A picture on the command line is not a network file.
        QCOMPARE(zk::settings.lastproject, QStringLiteral("Default.net"));
    }

    void closeStoresPlacementAndStopsTimer()
    {
        zk::frmMain *w = start();
        QVERIFY(w);
        w->resize(600, 450);
        QVERIFY(w->timer1()->isActive());
        zk::shutdownwait_ms = 0;
        zk::MsgScript script;
        script.answer(zk::idYes);
        QVERIFY(w->close());
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Terminer l'exécution du logiciel Kestrova?")});
        QVERIFY(!w->timer1()->isActive());
        QCoreApplication::processEvents();
        QCOMPARE(zk::readsetting(QStringLiteral("MainWidth"), ""), QStringLiteral("9000"));
        QCOMPARE(zk::readsetting(QStringLiteral("MainHeight"), ""), QStringLiteral("6750"));
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
