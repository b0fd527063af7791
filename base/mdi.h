// Where picture windows live: the main window's MDI area. The main window
// registers its area at creation; tests may register one of their own.
#pragma once

class QMdiArea;
class QMainWindow;

namespace zk {

QMdiArea *mdiArea();
void setMdiArea(QMdiArea *area);

// The main window (`mainform`), or null before it exists.
QMainWindow *mainWindow();
void setMainWindow(QMainWindow *w);

}  // namespace zk
