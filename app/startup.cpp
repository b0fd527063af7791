#include "startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "app/mainwindow.h"
#include "app/splash.h"
#include "base/hooks.h"
#include "base/routines.h"
#include "base/settings.h"
#include "engine.h"
#include "map/mapdata.h"
#include "map/mapservices.h"
#include "msgbox.h"
#include "pictures/picfiles.h"
#include "radio/radiodata.h"
#include "radio/radiohooks.h"

namespace zk {

QString tmppath;

QString commandTail(const QStringList &arguments) { return arguments.mid(1).join(QLatin1Char(' ')); }

TailKind tailkind(const QString &tail)
{
    if (tail.isEmpty()) return TailKind::None;
    QString t = tail;
    if (t.endsWith(QLatin1Char('"'))) t.chop(1);
    if (t.startsWith(QLatin1Char('"'))) t.remove(0, 1);
    const QString last = t.right(3).toLower();
    if (last == QLatin1String("bmp") || last == QLatin1String("gif") || last == QLatin1String("jpg")) return TailKind::Picture;
    if (last == QLatin1String("map")) return TailKind::Map;
    return TailKind::Network;
}

frmMain *Main(const StartupOptions &options)
{
    // 1. Datum and the version strings.
    hooks::loadellipsoid(QStringLiteral("geosys.dat"));
    // 2. Start time, on a clock that does not jump at midnight.
    QElapsedTimer start;
    start.start();
    // 3. The engine library answers 1 to a callback without hook, or the
    // program cannot work at all.
    bool ok = false;
    if (engine::callback(nullptr, &ok) != 1 || !ok) {
        msgbox(QStringLiteral("ZELKOR32.DLL non trouvée"), mbExclamation | mbOK);
        return nullptr;
    }

    // 5-6. The main window, loaded but disabled until the end of the banner.
    auto *w = new frmMain;
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setEnabled(false);
    w->load();

    // 7-8. The banner, owned by the main window; its logo becomes the
    // window's icon.
    auto *splash = new frmSplash(w);
    splash->show();
    splash->raise();
    w->setWindowIcon(splash->logo());

    // A map converted from the old layout opens its companion picture.
    mapservices.opencompanion = opencompanion;

    // 9. The grid's first shape, then the document reset, which gives it
    // one cell per screen pixel.
    elevgrid.redim(513, 513);
    newnet(false);
    installradiohooks();

    // 10-11. Settings and the recent network files.
    readstartupsettings();
    hooks::restoremru();

    // 12. Shown, still disabled.
    w->show();
    splash->raise();

    // 13. The command line.
    const QString &tail = options.tail;
    switch (tailkind(tail)) {
    case TailKind::None: hooks::opennet(settings.lastproject); break;
    case TailKind::Picture: hooks::openpicture(tail, 0); break;
    case TailKind::Map: hooks::openmap(tail); break;
    case TailKind::Network:
        settings.lastproject = tail;
        hooks::opennet(tail);
        break;
    }

    // 14. The first window opened takes the main window's state.
    const QList<QMdiSubWindow *> opened = w->mdiArea()->subWindowList(QMdiArea::CreationOrder);
    if (!opened.isEmpty()) {
        if (w->isMaximized()) opened.first()->showMaximized();
        else opened.first()->showNormal();
    }

    // 15. The banner stays until its time has passed since the start.
    if (options.bannerWait) options.bannerWait();
    const qint64 remaining = qint64(options.bannerSeconds * 1000) - start.elapsed();
    if (remaining > 0) {
        QEventLoop wait;
        QTimer::singleShot(remaining, &wait, &QEventLoop::quit);
        wait.exec();
    }

    // 16-19. Cursor read-out at the map centre, input on, banner gone.
    hooks::showcursor(mapset.lon, mapset.lat);
    w->setEnabled(true);
    splash->close();
    delete splash;
    w->show();
    w->raise();
    w->activateWindow();
    // The last picture opened is the active one. It could not become active
    // while it opened: a sub-window of a disabled window is never activated.
    const QList<QMdiSubWindow *> pictures = w->mdiArea()->subWindowList(QMdiArea::CreationOrder);
    if (!pictures.isEmpty()) w->mdiArea()->setActiveSubWindow(pictures.last());

    // 20-21. The data roots and live-position settings were read with the
    // others (the replay bit is cleared there). 22-23. Live positions.
    hooks::startwinsock();
    hooks::applygps();
    // 24. The temporary directory.
    tmppath = temppath();
    return w;
}

}  // namespace zk
