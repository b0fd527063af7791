#include "mapservices.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>

#include "base/mdi.h"

namespace zk {

MapServices mapservices;

void mapinitcolors()
{
    if (mapservices.initcolors) mapservices.initcolors();
}

void mapopencompanion(const QString &picture)
{
    if (mapservices.opencompanion) mapservices.opencompanion(picture);
}

void mapmessage(const QString &text)
{
    if (mapservices.message) {
        mapservices.message(text);
        return;
    }
    QMainWindow *w = mainWindow();
    if (!w) return;
    if (auto *pane = w->findChild<QLabel *>(QStringLiteral("Label2"))) pane->setText(text);
}

void mappump()
{
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

MapBusyCursor::MapBusyCursor()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        set_ = true;
    }
}

MapBusyCursor::~MapBusyCursor()
{
    if (set_) QGuiApplication::restoreOverrideCursor();
}

}  // namespace zk
