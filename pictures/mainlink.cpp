#include "mainlink.h"

#include <QAction>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QVariant>

#include "base/mdi.h"

namespace zk {

namespace {

// The main window's own control of that name: not one of the same name in a
// tool window it owns or in a picture window.
QWidget *control(const char *name)
{
    QMainWindow *w = mainWindow();
    if (!w) return nullptr;
    for (QWidget *c : w->findChildren<QWidget *>(QLatin1String(name))) {
        if (c->window() != w) continue;
        bool inPicture = false;
        for (QWidget *p = c->parentWidget(); p && p != w; p = p->parentWidget())
            if (qobject_cast<QMdiSubWindow *>(p)) inPicture = true;
        if (!inPicture) return c;
    }
    return nullptr;
}

}  // namespace

void setpane(const char *name, const QString &text)
{
    if (QWidget *pane = control(name)) pane->setProperty("text", text);
}

QString panetext(const char *name)
{
    if (QWidget *pane = control(name)) return pane->property("text").toString();
    return QString();
}

bool menuchecked(const char *name)
{
    QMainWindow *w = mainWindow();
    if (!w) return false;
    QAction *a = w->findChild<QAction *>(QLatin1String(name));
    return a && a->isChecked();
}

void setmenuchecked(const char *name, bool checked)
{
    QMainWindow *w = mainWindow();
    if (!w) return;
    if (QAction *a = w->findChild<QAction *>(QLatin1String(name))) a->setChecked(checked);
}

QWidget *mainowner() { return mainWindow(); }

}  // namespace zk
