#include "shutdown.h"

#include <QApplication>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <algorithm>

#include "app/commands.h"
#include "app/mainwindow.h"
#include "base/hooks.h"
#include "base/longop.h"
#include "base/mdi.h"
#include "base/screen.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/frmPic.h"
#include "positions/serialgps.h"
#include "radio/radiodata.h"

namespace zk {

int shutdownwait_ms = 1000;

namespace {

// The loaded top-level windows of that name (a window owned by the main
// window is one of them too).
QList<QWidget *> windowsnamed(const char *name)
{
    QList<QWidget *> out;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && !qobject_cast<QMenu *>(w)) out.append(w);
    return out;
}

void closewindows(const char *name)
{
    for (QWidget *w : windowsnamed(name)) {
        QPointer<QWidget> p = w;
        if (p) p->close();
    }
}

int saveprompt(const QString &name) { return msgbox(QStringLiteral("Enregistrer ") + name + QStringLiteral("?"), mbYesNoCancel | mbQuestion); }

void pump() { QCoreApplication::processEvents(); }

// Unloads a window: closes it and, when it accepted, destroys it now, so
// that nobody sees it as loaded any more.
void unload(QWidget *w)
{
    QPointer<QWidget> p = w;
    // A window that goes when it closes is destroyed now rather than later
    // (the close itself only schedules it).
    const bool destroy = p && p->testAttribute(Qt::WA_DeleteOnClose);
    if (p && p->close() && p && destroy) delete p.data();
    pump();
}

}  // namespace

bool CleanNet()
{
    // 1. The tool windows, each with its own closing behaviour.
    for (const char *name : {"frmGrid", "frmLink", "frmMapPro", "frmCustom", "frmDebug"}) closewindows(name);

    // 2. The object editor may refuse to close (its question answered No):
    // it then clears runflag, which was set for the purpose.
    runflag = 1;
    closewindows("frmObject");
    if (runflag == 0) return true;
    runflag = 0;

    // 3. Networks. A Yes that saved nothing keeps the document.
    if (netmodified) {
        const int a = saveprompt(settings.lastproject);
        if (a == idCancel) return true;
        if (a == idYes && !mnuFileSaveNet_Click()) return true;
    }

    // 4. Pictures that were never saved (no file of their name exists), and
    // pictures whose file no longer holds what the window keeps (a coverage,
    // a grid, colours or objects kept in it): closing them without a
    // question would lose that work. The world map is never asked about.
    QList<QPointer<frmPic>> pictures;
    for (frmPic *w : picwindows()) pictures.append(w);
    for (const QPointer<frmPic> &w : pictures) {
        if (!w) continue;
        const QString name = w->Filename.trimmed();
        const bool unsaved = !paths::exists(name) || w->Picture1->changed();
        if (unsaved && name.compare(QLatin1String("Mappemonde"), Qt::CaseInsensitive) != 0) {
            if (QMdiArea *area = mdiArea()) area->setActiveSubWindow(w);
            const int a = saveprompt(name);
            if (a == idCancel) return true;
            if (a == idYes && (!w || !savepictureas(w))) return true;
        }
        pump();
    }

    // 5. Every window but the main window.
    if (QMdiArea *area = mdiArea()) {
        for (QMdiSubWindow *s : area->subWindowList(QMdiArea::CreationOrder)) unload(s);
    }
    for (frmPic *w : picwindows()) unload(w);
    QList<QPointer<QWidget>> others;
    for (QWidget *t : QApplication::topLevelWidgets())
        if (t != mainWindow() && !qobject_cast<QMenu *>(t)) others.append(t);
    for (const QPointer<QWidget> &t : others)
        if (t && t->isVisible()) unload(t);

    // 6. The map.
    if (mapmodified) {
        const int a = saveprompt(mapfile);
        if (a == idCancel) return true;
        if (a == idYes && !mnuFileSaveMap_Click()) return true;
    }
    return false;
}

bool frmMain::CleanNet() { return zk::CleanNet(); }

bool MDIForm_QueryUnload(frmMain &w)
{
    // 1. A running operation is only asked to stop.
    if (runflag != 0) {
        runflag = 0;
        return true;
    }
    // 2. Confirmation.
    if (msgbox(QStringLiteral("Terminer l'exécution du logiciel ") + appTitle() + QStringLiteral("?"), mbYesNo | mbQuestion) != idYes)
        return true;
    // 3-4. No more ticks; the open files (the GPS log) closed.
    const bool ticking = w.timer1()->isActive();
    w.timer1()->stop();
    positions::closelog();
    // 5. The settings, the placement only from the normal state.
    WindowPlacement p;
    p.normal = !(w.isMaximized() || w.isMinimized() || w.isFullScreen());
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    p.left = w.pos().x() * tx;
    p.top = w.pos().y() * ty;
    p.width = w.width() * tx;
    p.height = w.height() * ty;
    writeexitsettings(p);
    // 6. The save prompts. Cancelled: the program runs on as before the
    // close, with its timer and its live-position channels.
    if (CleanNet()) {
        if (ticking) hooks::startwinsock();
        hooks::applygps();
        return true;
    }
    // 7-9. The live positions end; the window goes after a second in which
    // pending events still run.
    hooks::closecomport();
    hooks::closeudp();
    hooks::stopwinsock();
    w.hide();
    QEventLoop wait;
    QTimer::singleShot(std::max(0, shutdownwait_ms), &wait, &QEventLoop::quit);
    wait.exec();
    return false;
}

}  // namespace zk
