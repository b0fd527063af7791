// Every dialog reachable from the menus, opened on the demo network as a user
// opens it, on a real display with a window manager: each must lie wholly on
// the screen, close with Esc or its cancel button, and hand the activation
// and the keyboard focus back to the main window and the picture that had
// them. Then the menu shortcuts, typed while a picture is active, must run
// their commands on that picture. A picture of every dialog is written to
// the build folder (screenshots/<screen>/<item>.png) for a person to look at.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "app/mainwindow.h"
#include "app/startup.h"
#include "base/printing.h"
#include "base/settings.h"
#include "engine.h"
#include "map/mapdata.h"
#include "radio/radiodata.h"

namespace {

QString plain(QString caption) { return caption.remove(QLatin1Char('&')).trimmed(); }

bool isPopup(const QWidget *w)
{
    const Qt::WindowType t = w->windowType();
    return t == Qt::Popup || t == Qt::ToolTip || t == Qt::Desktop;
}


// Windows that have neither a key handler nor a button of their own: the
// multicast monitor is one list and nothing else, closed by its frame's
// close box (or the main window's closing of tool windows).
const QStringList kCloseBoxOnly = {QStringLiteral("frmDebug")};

// Watches the screen while one menu command runs: every window that the
// command opens is checked, photographed and closed, from a timer so that
// it works inside the nested event loop of a modal dialog.
class Sweeper : public QObject {
public:
    QString item;
    QString shotDir;
    // When set, the first window's button of this caption is clicked
    // before the window is closed, and what it opens is swept too.
    QString subButton;
    QStringList failures, seenNames, closedBy;
    int windows = 0;
    bool watchdogFired = false;

    void begin(const QString &name)
    {
        item = name;
        failures.clear();
        seenNames.clear();
        closedBy.clear();
        windows = 0;
        watchdogFired = false;
        seen_.clear();
        before_.clear();
        for (QWidget *t : QApplication::topLevelWidgets())
            if (t->isVisible()) before_.insert(t);
        clock_.start();
        connect(&timer_, &QTimer::timeout, this, &Sweeper::tick, Qt::UniqueConnection);
        timer_.start(100);
    }
    void end() { timer_.stop(); }
    // True while a window opened by the command is still on the screen.
    bool busy() const
    {
        for (const Entry &e : seen_)
            if (e.w && e.w->isVisible()) return true;
        return false;
    }
    qint64 elapsed() const { return clock_.elapsed(); }

    void fail(const QString &check, const QString &text)
    {
        failures << item + QStringLiteral(": ") + check + QStringLiteral(": ") + text;
    }

private:
    struct Entry {
        QPointer<QWidget> w;
        QString name;
        qint64 since = 0;
        int stage = 0;
    };
    QTimer timer_;
    QElapsedTimer clock_;
    QSet<QWidget *> before_;
    QList<Entry> seen_;

    // Acts on a window after this tick has returned: closing a window may
    // ask a question in a modal loop of its own, which the next ticks answer.
    static void later(QWidget *w, std::function<void()> act)
    {
        QPointer<QWidget> guard(w);
        QTimer::singleShot(0, w, [guard, act] {
            if (guard) act();
        });
    }

    static QAbstractButton *findButton(QWidget *w, const QStringList &captions)
    {
        for (const QString &c : captions)
            for (QAbstractButton *b : w->findChildren<QAbstractButton *>())
                if (b->isVisible() && b->isEnabled() && plain(b->text()).compare(c, Qt::CaseInsensitive) == 0) return b;
        return nullptr;
    }

    void photograph(QWidget *w, const QString &name)
    {
        QScreen *s = w->screen();
        const QRect f = w->frameGeometry();
        const QPixmap shot = s->grabWindow(0, f.x() - s->geometry().x(), f.y() - s->geometry().y(), f.width(), f.height());
        QDir().mkpath(shotDir);
        shot.save(shotDir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    void inspect(Entry &e)
    {
        QWidget *w = e.w;
        const QRect frame = w->frameGeometry();
        const QRect avail = w->screen()->availableGeometry();
        if (!avail.contains(frame))
            fail(QStringLiteral("screen"), QStringLiteral("%1 (%2) lies off the screen: frame %3,%4 %5x%6 in %7x%8")
                                               .arg(e.name, w->windowTitle())
                                               .arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())
                                               .arg(avail.width()).arg(avail.height()));
        if (QApplication::activeWindow() != w)
            fail(QStringLiteral("active"), QStringLiteral("%1 (%2) opened without becoming the active window (active: %3)")
                                               .arg(e.name, w->windowTitle(),
                                                    QApplication::activeWindow() ? QApplication::activeWindow()->objectName()
                                                                                 : QStringLiteral("none")));
        photograph(w, e.name);
    }

    void tick()
    {
        for (QWidget *t : QApplication::topLevelWidgets()) {
            if (!t->isVisible() || before_.contains(t) || isPopup(t)) continue;
            bool known = false;
            for (const Entry &e : seen_) known = known || e.w == t;
            if (known) continue;
            Entry e;
            e.w = t;
            const QString kind = qobject_cast<QMessageBox *>(t) ? QStringLiteral("question")
                                 : qobject_cast<QFileDialog *>(t) ? QStringLiteral("filedialog")
                                 : t->objectName().isEmpty()      ? QString::fromLatin1(t->metaObject()->className())
                                                                  : t->objectName();
            e.name = QString(item).replace(QLatin1Char('('), QLatin1Char('_')).remove(QLatin1Char(')')) +
                     QLatin1Char('-') + kind;
            if (seenNames.contains(e.name)) e.name += QString::number(seen_.size());
            e.since = clock_.elapsed();
            seenNames << e.name;
            seen_ << e;
            ++windows;
        }
        const qint64 now = clock_.elapsed();
        // Only the window opened last is acted on; the ones under it wait
        // until it has closed.
        int top = -1;
        for (int k = 0; k < seen_.size(); ++k)
            if (seen_[k].w && seen_[k].w->isVisible()) top = k;
        for (int k = 0; k < seen_.size(); ++k) {
            Entry &e = seen_[k];
            QWidget *w = e.w;
            if (!w || !w->isVisible()) continue;
            if (k != top) {
                e.since = now;
                continue;
            }
            if (e.stage == 10) {
                // Back from the dialog that the button opened.
                if (now - e.since < 700) continue;
                if (seen_.size() == 1)
                    fail(QStringLiteral("sub"), QStringLiteral("\"%1\" in %2 opened no window").arg(subButton, e.name));
                else if (QApplication::activeWindow() != w)
                    fail(QStringLiteral("subactive"),
                         QStringLiteral("%1 is not active again after \"%2\" closed (active: %3)")
                             .arg(e.name, subButton,
                                  QApplication::activeWindow() ? QApplication::activeWindow()->objectName()
                                                               : QStringLiteral("none")));
                e.stage = 1;
                e.since = now;
                closedBy << e.name + QStringLiteral(" Esc");
                QWidget *target = w->focusWidget() ? w->focusWidget() : w;
                later(target, [target] { QTest::keyClick(target, Qt::Key_Escape); });
                continue;
            }
            // Let the window manager frame and place the window first.
            if (now - e.since < 700) continue;
            if (e.stage == 0) {
                if (!w->windowHandle() || !w->windowHandle()->isExposed()) {
                    if (now - e.since > 5000) {
                        fail(QStringLiteral("shown"), e.name + QStringLiteral(" never appeared on the screen"));
                        e.stage = 1;
                    }
                    continue;
                }
                // Wait for the frame too: until the window manager has
                // framed the window, the frame geometry is the client's.
                const bool frameless = (w->windowFlags() & Qt::FramelessWindowHint) || w->isFullScreen();
                // (Qt sometimes learns the frame late; the check then goes on
                // with the client's geometry.)
                if (!frameless && w->frameGeometry() == w->geometry() && now - e.since < 5000) continue;
                inspect(e);
                e.stage = 1;
                e.since = now;
                if (k == 0 && !subButton.isEmpty()) {
                    // A dialog reached from this one: its button first.
                    QAbstractButton *b = findButton(w, {subButton});
                    if (!b) {
                        fail(QStringLiteral("sub"), QStringLiteral("%1 has no button \"%2\"").arg(e.name, subButton));
                    } else {
                        closedBy << e.name + QStringLiteral(" clicked ") + subButton;
                        later(b, [b] { b->click(); });
                        e.stage = 10;
                        continue;
                    }
                }
                if (auto *box = qobject_cast<QMessageBox *>(w)) {
                    // A question is answered so that nothing changes; the
                    // one that confirms a close the sweep asked for, with Oui.
                    const bool confirmClose = box->text().startsWith(QStringLiteral("Fermer"));
                    QAbstractButton *b =
                        confirmClose ? findButton(box, {QStringLiteral("Oui")})
                                     : findButton(box, {QStringLiteral("Annuler"), QStringLiteral("Non"), QStringLiteral("OK")});
                    closedBy << e.name + (b ? QStringLiteral(" answered ") + plain(b->text()) : QString());
                    if (b) later(b, [b] { b->click(); });
                    else fail(QStringLiteral("close"), e.name + QStringLiteral(" has no button to answer with"));
                    e.stage = 2;
                    continue;
                }
                closedBy << e.name + QStringLiteral(" Esc");
                QWidget *target = w->focusWidget() ? w->focusWidget() : w;
                later(target, [target] { QTest::keyClick(target, Qt::Key_Escape); });
            } else if (e.stage == 1 && now - e.since > 700) {
                QAbstractButton *b = findButton(w, {QStringLiteral("Annuler"), QStringLiteral("Cancel"),
                                                    QStringLiteral("Fermer"), QStringLiteral("Close"),
                                                    QStringLiteral("Quitter"), QStringLiteral("OK")});
                if (b) later(b, [b] { b->click(); });
                closedBy << e.name + (b ? QStringLiteral(" button ") + plain(b->text()) : QStringLiteral(" no cancel button"));
                e.stage = 2;
                e.since = now;
            } else if (e.stage == 2 && now - e.since > 700 && kCloseBoxOnly.contains(w->objectName())) {
                // The close box: the window manager's close request.
                closedBy << e.name + QStringLiteral(" close box");
                later(w, [w] { w->windowHandle()->close(); });
                e.stage = 4;
                e.since = now;
            } else if ((e.stage == 2 || e.stage == 4) && now - e.since > 700) {
                fail(QStringLiteral("close"), QStringLiteral("%1 (%2) closes neither with Esc nor with a cancel button%3")
                                                  .arg(e.name, w->windowTitle(),
                                                       e.stage == 4 ? QStringLiteral(" nor its close box") : QString()));
                e.stage = 3;
                later(w, [w] {
                    if (auto *d = qobject_cast<QDialog *>(w)) d->reject();
                    else w->close();
                });
            }
        }
        // Something modal that nothing could close ends the command by force.
        if (now > 30000 && !watchdogFired && busy()) {
            watchdogFired = true;
            QStringList open;
            for (const Entry &e : seen_)
                if (e.w && e.w->isVisible()) open << e.name;
            failures << item + QStringLiteral(": still open after 30 s: ") + open.join(QStringLiteral(", "));
            for (const Entry &e : seen_) {
                if (!e.w || !e.w->isVisible()) continue;
                QWidget *w = e.w;
                later(w, [w] {
                    if (auto *d = qobject_cast<QDialog *>(w)) d->done(0);
                    else w->close();
                });
            }
        }
    }
};

}  // namespace

class TestDialogSweep : public QObject {
    Q_OBJECT

    QTemporaryDir data_;
    zk::frmMain *main_ = nullptr;
    Sweeper sweeper_;
    QString screenName_;

    QMdiArea *area() const { return main_->mdiArea(); }

    // Clicks a picture window's title bar, as a user makes it the active one.
    void activate(QMdiSubWindow *s)
    {
        const QPoint title(s->width() / 2, 8);
        QTest::mouseClick(s, Qt::LeftButton, Qt::NoModifier, title);
        QTRY_VERIFY(QApplication::activeWindow() == main_);
        QTRY_COMPARE(area()->activeSubWindow(), s);
    }

    // Runs one command and sweeps the windows it opens; the failures named.
    QStringList run(const std::function<void()> &command, const QString &name, int *windows = nullptr,
                    QStringList *names = nullptr)
    {
        QMdiSubWindow *before = area()->activeSubWindow();
        sweeper_.begin(name);
        QTimer::singleShot(0, main_, command);
        // Wait for the first window, then until every one is closed again.
        QTest::qWait(300);
        QElapsedTimer t;
        t.start();
        while (sweeper_.windows == 0 && t.elapsed() < 3000) QTest::qWait(50);
        while (sweeper_.busy() && sweeper_.elapsed() < 40000) QTest::qWait(50);
        QTest::qWait(200);
        while (sweeper_.busy() && sweeper_.elapsed() < 40000) QTest::qWait(50);
        sweeper_.end();
        QStringList failures = sweeper_.failures;
        if (windows) *windows = sweeper_.windows;
        if (names) *names = sweeper_.seenNames;
        qInfo("%s: %s", qPrintable(name), qPrintable(sweeper_.closedBy.join(QStringLiteral(", "))));
        // Activation and focus go back where they were.
        QElapsedTimer a;
        a.start();
        while (QApplication::activeWindow() != main_ && a.elapsed() < 3000) QTest::qWait(50);
        if (QApplication::activeWindow() != main_)
            failures << name + QStringLiteral(": the main window is not active again (active: %1)")
                                   .arg(QApplication::activeWindow() ? QApplication::activeWindow()->objectName()
                                                                     : QStringLiteral("none"));
        if (area()->activeSubWindow() != before)
            failures << name + QStringLiteral(": the active picture changed from \"%1\" to \"%2\"")
                                   .arg(before ? before->windowTitle() : QString(),
                                        area()->activeSubWindow() ? area()->activeSubWindow()->windowTitle() : QString());
        QWidget *focus = QApplication::focusWidget();
        if (!focus || (focus != main_ && !main_->isAncestorOf(focus)))
            failures << name + QStringLiteral(": the keyboard focus did not come back to the main window (%1)")
                                   .arg(focus ? QString::fromLatin1(focus->metaObject()->className()) + QLatin1Char(' ') +
                                                    focus->objectName()
                                              : QStringLiteral("none"));
        // A failed command may leave the picture inactive: the next one
        // starts as the user would, from the picture.
        if (before && area()->activeSubWindow() != before && area()->subWindowList().contains(before)) activate(before);
        return failures;
    }

    QStringList runItem(const QString &item, const QString &button = QString(), int *windows = nullptr,
                        QStringList *names = nullptr)
    {
        QAction *a = main_->action(item);
        if (!a) return {item + QStringLiteral(": no such menu item")};
        if (!a->isEnabled()) return {item + QStringLiteral(": disabled on the demo network with a picture active")};
        QString name = item;
        if (!button.isEmpty()) {
            QString b = button;
            for (QChar &c : b)
                if (!c.isLetterOrNumber()) c = QLatin1Char('_');
            name += QLatin1Char('+') + b;
        }
        sweeper_.subButton = button;
        const QStringList failures = run([a] { a->trigger(); }, name, windows, names);
        sweeper_.subButton.clear();
        return failures;
    }

    // Types a key combination where the keyboard focus is, as a user does.
    QStringList runKey(const QKeySequence &keys, const QString &name, int *windows = nullptr,
                       QStringList *names = nullptr)
    {
        const QKeyCombination k = keys[0];
        return run(
            [k] {
                QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
                if (target) QTest::keyClick(target, k.key(), k.keyboardModifiers());
            },
            name, windows, names);
    }

    QMdiSubWindow *demoPicture() const
    {
        for (QMdiSubWindow *s : area()->subWindowList())
            if (s->windowTitle().contains(QStringLiteral("demo"), Qt::CaseInsensitive)) return s;
        return area()->subWindowList().value(0);
    }

private slots:
    void initTestCase()
    {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        screenName_ = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
        sweeper_.shotDir = QStringLiteral(ZK_SCREENSHOT_DIR) + QLatin1Char('/') + screenName_;
        QDir(sweeper_.shotDir).removeRecursively();
        {
            QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
            s.clear();
        }
        zk::engine::setLibraryName("libzelkor32.so");
        // The demo network with its map and picture, copied so that nothing
        // the user could save touches the shipped files.
        QVERIFY(data_.isValid());
        const QDir demo(QCoreApplication::applicationDirPath() + QStringLiteral("/demo"));
        QVERIFY2(demo.exists(QStringLiteral("demo.net")), qPrintable(demo.path()));
        for (const QString &f : demo.entryList(QDir::Files)) QVERIFY(QFile::copy(demo.filePath(f), data_.filePath(f)));
        zk::StartupOptions o;
        o.tail = data_.filePath(QStringLiteral("demo.net"));
        o.bannerSeconds = 0;
        main_ = zk::Main(o);
        QVERIFY(main_);
        QVERIFY(QTest::qWaitForWindowExposed(main_));
        QTRY_VERIFY(!area()->subWindowList().isEmpty());
        QTest::qWait(500);
        activate(demoPicture());
    }

    void cleanupTestCase()
    {
        // Never-saved pictures made by the shortcuts are dropped without
        // questions.
        zk::netmodified = false;
        zk::mapmodified = false;
        for (QMdiSubWindow *s : area()->subWindowList()) s->setWindowModified(false);
    }

    void dialogs_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("button");
        for (const char *i :
             {// "&Fichier"
              "mnuFileNewNet", "mnuFileOpenNet", "mnuFileSaveNet", "mnuFileNet", "mnuFileOpenMap", "mnuFileSaveMap",
              "mnuFileMap", "mnuFileNewPic", "mnuFileOpenPic", "mnuFileSavePic", "mnuFilePic",
              // "&Edition"
              "mnuQuo(0)", "mnuQuo(1)", "mnuQuo(2)", "mnuEditMerge", "mnuObject", "mnuStrat", "mnuRot", "mnuFixmap",
              "mnuEditUnit",
              // "&Affichage"
              "mnuViewLink", "mnuViewCover", "mnuViewVisual", "mnuViewGPS", "mnuMonitor", "mnuReport", "mnuViewFlight",
              "mnuViewFull",
              // "&?"
              "mnuHelpAbout"})
            QTest::newRow(i) << QString::fromLatin1(i) << QString();
        // Dialogs reached from those dialogs, by the button of this caption.
        const std::pair<const char *, const char *> inner[] = {
            {"mnuFileMap", "Choisir une ville"},
            {"mnuFileMap", "Entrer LAT LON ou MGRS"},
            {"mnuEditUnit", "Importer la station de cities.dat"},
            {"mnuEditUnit", "Entrer LAT LON ou MGRS"},
            {"mnuEditUnit", "Couleur"},
            {"mnuEditUnit", "Fond"},
            {"mnuFilePic", "Couleurs..."},
            {"mnuFilePic", "Police"},
            {"mnuFilePic", "Image 3D"},
            {"mnuStrat", "Couleur"},
            {"mnuViewCover", "Couleur"},
            {"mnuHelpAbout", "Info système ..."},
        };
        for (const auto &[item, button] : inner)
            QTest::newRow(qPrintable(QStringLiteral("%1 > %2").arg(QLatin1String(item), QString::fromUtf8(button))))
                << QString::fromLatin1(item) << QString::fromUtf8(button);
    }
    void dialogs()
    {
        QFETCH(QString, item);
        QFETCH(QString, button);
        int windows = 0;
        QStringList names;
        const QStringList failures = runItem(item, button, &windows, &names);
        qInfo("%s: %s", qPrintable(item), qPrintable(names.join(QStringLiteral(", "))));
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        QVERIFY2(windows > 0, qPrintable(item + QStringLiteral(": no window opened")));
    }

    // The shortcuts of the menus, typed while the demo picture is active.
    void shortcutsOpenTheirDialogs_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");  // what appears: window name or title
        QTest::newRow("Ctrl+N new networks") << "Ctrl+N" << "Effacer toutes les données du réseau";
        QTest::newRow("Ctrl+O open networks") << "Ctrl+O" << "Ouvrir des réseaux";
        QTest::newRow("Ctrl+S save networks") << "Ctrl+S" << "Enregistrer les réseaux sous";
        QTest::newRow("Ctrl+M merge pictures") << "Ctrl+M" << "frmMerge";
        QTest::newRow("Ctrl+U stations") << "Ctrl+U" << "frmUnit";
    }
    void shortcutsOpenTheirDialogs()
    {
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        // What the window shows: its name, its title or, for a question, its text.
        QStringList shown;
        QMetaObject::Connection c;
        QTimer spy;
        connect(&spy, &QTimer::timeout, this, [&] {
            for (QWidget *t : QApplication::topLevelWidgets()) {
                if (!t->isVisible() || isPopup(t)) continue;
                shown << t->objectName() << t->windowTitle();
                if (auto *b = qobject_cast<QMessageBox *>(t)) shown << b->text();
            }
        });
        spy.start(100);
        int windows = 0;
        const QStringList failures = runKey(QKeySequence(keys), keys, &windows);
        spy.stop();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        bool found = false;
        for (const QString &s : shown) found = found || s.startsWith(expected);
        QVERIFY2(found, qPrintable(keys + QStringLiteral(" did not open ") + expected));
    }

    void ctrlPPrintsTheActivePicture()
    {
        QTemporaryDir out;
        zk::printpdfoverride = out.filePath(QStringLiteral("page.pdf"));
        const QStringList failures = runKey(QKeySequence(QStringLiteral("Ctrl+P")), QStringLiteral("Ctrl+P"));
        zk::printpdfoverride.clear();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        QTRY_VERIFY2(QFileInfo(out.filePath(QStringLiteral("page.pdf"))).size() > 0, "Ctrl+P printed nothing");
        // The demo picture is wider than high: one landscape page.
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        QVERIFY2(!pdfinfo.isEmpty(), "pdfinfo is missing: install the Debian package poppler-utils");
        QProcess p;
        p.start(pdfinfo, {out.filePath(QStringLiteral("page.pdf"))});
        QVERIFY(p.waitForFinished(30000));
        const QString info = QString::fromLatin1(p.readAllStandardOutput());
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))), qPrintable(info));
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+)")).match(info);
        QVERIFY2(m.hasMatch(), qPrintable(info));
        QVERIFY2(m.captured(1).toDouble() > m.captured(2).toDouble(), qPrintable(info));
    }

    void ctrlCCopiesTheActivePicture()
    {
        QApplication::clipboard()->clear();
        const QImage file(data_.filePath(QStringLiteral("demo.bmp")));
        QVERIFY(!file.isNull());
        const QStringList failures = runKey(QKeySequence(QStringLiteral("Ctrl+C")), QStringLiteral("Ctrl+C"));
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        QTRY_COMPARE(QApplication::clipboard()->image().size(), file.size());
    }

    void ctrlVPastesAsNewPicture()
    {
        // After the copy above: one more picture, of the copied size, active.
        const int before = int(area()->subWindowList().size());
        const QImage file(data_.filePath(QStringLiteral("demo.bmp")));
        QVERIFY(!QApplication::clipboard()->image().isNull());
        QMdiSubWindow *old = area()->activeSubWindow();
        QTimer::singleShot(0, main_, [] {
            if (QWidget *t = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow())
                QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
        });
        QTRY_COMPARE(int(area()->subWindowList().size()), before + 1);
        QTRY_VERIFY(area()->activeSubWindow() != old);
        QVERIFY(area()->activeSubWindow());
    }
};

QTEST_MAIN(TestDialogSweep)
#include "test_dialog_sweep.moc"
