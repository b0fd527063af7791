// The main window as every subsystem below the application sees it: its
// status-bar panes and lights, the progress bar, the toolbar images, the
// menus and their items by control name, the MDI area, the station icons
// and the 200 ms timer. The application's `frmMain` (app/mainwindow.h) is
// the one implementation; it sets `mainform` when it is made.
#pragma once

#include <functional>

#include <QList>
#include <QMainWindow>
#include <QPixmap>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;

namespace zk {

class Image;
class Line;
class Shape;

class MainFrame : public QMainWindow {
public:
    static constexpr int kButtons = 19;  // toolbar buttons; the last is Stop
    static constexpr int kMenus = 5;     // top-level menus menu(1..5)

    using QMainWindow::QMainWindow;

    virtual QMdiArea *mdiArea() const = 0;
    virtual QWidget *picture2() const = 0;  // status bar
    virtual Image *image1(int i) const = 0;  // toolbar button images
    virtual Line *line2(int i) const = 0;    // 0..3 highlight frame
    virtual QLabel *label1() const = 0;      // cursor pane
    virtual QLabel *label2() const = 0;      // message line
    virtual QLabel *label3(int i) const = 0; // live-position light captions
    virtual Shape *shape1(int i) const = 0;  // progress bar: 0 fill, 1 frame
    virtual Shape *shape2(int i) const = 0;  // live-position lights
    virtual QTimer *timer1() const = 0;
    virtual QMenu *menu(int i) const = 0;    // 1..5
    virtual QAction *mnuStop() const = 0;
    // Any menu item by its control name ("mnuFileOpenNet", "mnuModel(1)" ...).
    virtual QAction *action(const QString &name) const = 0;
    // Station icons: 0..21 built in, then the ".ico" files found at load.
    virtual const QList<QPixmap> &imgIcons() const = 0;
    // Closes the tool windows that must not outlive a change of picture
    // (the main window knows which they are).
    virtual void closetoolwindows() = 0;
};

// The main window, from its creation at start-up to the end of the program.
extern MainFrame *mainform;

// Connects a menu item, found by its name, to a command and enables it;
// nothing happens when the window has no such item.
void connectitem(MainFrame *w, const QString &name, const std::function<void()> &run);

}  // namespace zk
