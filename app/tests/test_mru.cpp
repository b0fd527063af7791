// The recent network files: the list as files are added, moved down, gone
// and of the same name elsewhere; the menu entries and the main window's
// caption; the store at exit and the restore at start-up; choosing an entry.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

#include "app/mru.h"
#include "msgbox.h"
#include "radio/netdoc.h"
#include "shellenv.h"

using shelltest::Env;

class TestMru : public QObject {
    Q_OBJECT

    std::unique_ptr<Env> env;
    QString A, B, C, D, E;

    QStringList list() const { return {zk::settings.mru.begin(), zk::settings.mru.end()}; }
    void setList(const QStringList &l)
    {
        for (int i = 0; i < 4; ++i) zk::settings.mru[size_t(i)] = l.value(i);
    }

private slots:
    void init()
    {
        env = std::make_unique<Env>();
        QVERIFY(QDir(env->tmp.path()).mkdir(QStringLiteral("other")));
        A = env->path(QStringLiteral("a.net"));
        B = env->path(QStringLiteral("b.net"));
        C = env->path(QStringLiteral("c.net"));
        D = env->path(QStringLiteral("d.net"));
        E = env->path(QStringLiteral("e.net"));
        for (const QString &f : {A, B, C, D, E}) QVERIFY(shelltest::writeFile(f));
    }
    void cleanup() { env.reset(); }

    void openingListedFileSwapsWithFirst()
    {
        setList({A, B, C, D});
        QString f = C;
        zk::addmru(f);
        QCOMPARE(list(), QStringList({C, B, A, D}));
        // The first entry again: nothing moves.
        f = C;
        zk::addmru(f);
        QCOMPARE(list(), QStringList({C, B, A, D}));
    }

    void newFileMovesListDown()
    {
        setList({A, B, C, D});
        QString f = E;
        zk::addmru(f);
        QCOMPARE(list(), QStringList({E, A, B, C}));
    }

    void goneFileIsEmptiedAsItMovesDown()
    {
        setList({A, B, C, D});
        QVERIFY(QFile::remove(B));
        QString f = E;
        zk::addmru(f);
        QCOMPARE(list(), QStringList({E, A, QString(), C}));
        // The menu shows entries 1, 2 and 4.
        QVERIFY(env->w->mnuFileMRU(0)->isVisible());
        QVERIFY(env->w->mnuFileMRU(1)->isVisible());
        QVERIFY(!env->w->mnuFileMRU(2)->isVisible());
        QVERIFY(env->w->mnuFileMRU(3)->isVisible());
        QCOMPARE(env->w->mnuFileMRU(0)->text(), QStringLiteral("&1 e.net"));
        QCOMPARE(env->w->mnuFileMRU(1)->text(), QStringLiteral("&2 a.net"));
        QCOMPARE(env->w->mnuFileMRU(3)->text(), QStringLiteral("&4 c.net"));
    }

    void sameNameInOtherFolderTakesItsPlace()
    {
        setList({A, B, C, D});
        const QString other = env->path(QStringLiteral("other/B.NET"));
        QVERIFY(shelltest::writeFile(other));
        QString f = other;
        zk::addmru(f);
        QCOMPARE(list(), QStringList({other, A, C, D}));
    }

    void nameTrimmedCaseKept()
    {
        zk::settings.lastproject = QStringLiteral("  /data/Mes Réseaux/Alpes.NET ");
        QString f = zk::settings.lastproject;
        zk::addmru(f);
        QCOMPARE(f, QStringLiteral("/data/Mes Réseaux/Alpes.NET"));
        QCOMPARE(zk::settings.mru[0], f);
        QCOMPARE(env->w->mnuFileMRU(0)->text(), QStringLiteral("&1 Alpes.NET"));
        QVERIFY(env->w->mnuFileMRU(0)->isEnabled());
        QCOMPARE(env->w->windowTitle(), QStringLiteral("..\\Alpes.NET - Kestrova"));
        // The same file named in another case is the same entry.
        QString g = QStringLiteral("/data/Mes Réseaux/alpes.net");
        zk::addmru(g);
        QCOMPARE(list(), QStringList({g, QString(), QString(), QString()}));
    }

    void captionNamesLastProject()
    {
        zk::settings.lastproject = A;
        QString f = B;
        zk::addmru(f);
        // The caption names the network file in lastproject, set before.
        QCOMPARE(env->w->windowTitle(), QStringLiteral("..\\a.net - Kestrova"));
    }

    void storedAtExitRestoredAtStart()
    {
        setList({A, B, C, D});
        zk::writeexitsettings(zk::WindowPlacement{});
        for (int i = 0; i < 4; ++i)
            QCOMPARE(zk::readsetting(QStringLiteral("Previous%1").arg(i), QString()), list()[i]);
        zk::settings = zk::AppSettings{};
        zk::readstartupsettings();
        zk::restoremru();
        QCOMPARE(list(), QStringList({A, B, C, D}));
        // LastProject equal to A: opening it at start-up keeps the order.
        QString f = A;
        zk::addmru(f);
        QCOMPARE(list(), QStringList({A, B, C, D}));
    }

    void restoreSkipsGoneFiles()
    {
        zk::writesetting(QStringLiteral("Previous0"), A);
        zk::writesetting(QStringLiteral("Previous1"), env->path(QStringLiteral("gone.net")));
        zk::writesetting(QStringLiteral("Previous2"), C);
        zk::writesetting(QStringLiteral("Previous3"), QString());
        zk::readstartupsettings();
        zk::restoremru();
        QCOMPARE(list(), QStringList({A, C, QString(), QString()}));
    }

    void emptyStoreHidesEverything()
    {
        zk::readstartupsettings();
        zk::restoremru();
        QCOMPARE(list(), QStringList({QString(), QString(), QString(), QString()}));
        for (int i = 0; i < 4; ++i) QVERIFY(!env->w->mnuFileMRU(i)->isVisible());
        QCOMPARE(env->w->windowTitle(), QStringLiteral("Kestrova"));
    }

    void choosingOpenFileDoesNothing()
    {
        zk::settings.lastproject = A;
        setList({A, B, QString(), QString()});
        zk::netmodified = true;
        zk::MsgScript script;
        env->w->loadprevious(0);
        env->w->loadprevious(2);   // empty entry
        env->w->loadprevious(7);   // outside the list
        env->w->loadprevious(-1);
        QVERIFY(script.texts().isEmpty());
        QCOMPARE(zk::settings.lastproject, A);
    }

    void choosingEntryPromptsThenOpens()
    {
        QVERIFY(zk::savenet(B));
        QVERIFY(zk::savenet(A));
        QCOMPARE(list().mid(0, 2), QStringList({A, B}));
        zk::netmodified = true;
        {
            zk::MsgScript script;
            script.answer(zk::idCancel);
            env->w->mnuFileMRU(1)->trigger();
            QCOMPARE(script.texts(), QStringList{QStringLiteral("Enregistrer ") + A + "?"});
            QCOMPARE(zk::settings.lastproject, A);
        }
        {
            zk::MsgScript script;
            script.answer(zk::idNo);
            env->w->mnuFileMRU(1)->trigger();
            QCOMPARE(zk::settings.lastproject, B);
            QCOMPARE(list().mid(0, 2), QStringList({B, A}));
            QCOMPARE(env->w->windowTitle(), QStringLiteral("..\\b.net - Kestrova"));
        }
    }
};

QTEST_MAIN(TestMru)
#include "test_mru.moc"
