#include "mdi.h"

#include <QMdiArea>
#include <QPointer>
#include <QMainWindow>

namespace zk {

namespace {
QPointer<QMdiArea> g_area;
QPointer<QMainWindow> g_main;
}  // namespace

QMdiArea *mdiArea() { return g_area; }
void setMdiArea(QMdiArea *area) { g_area = area; }
QMainWindow *mainWindow() { return g_main; }
void setMainWindow(QMainWindow *w) { g_main = w; }

}  // namespace zk
