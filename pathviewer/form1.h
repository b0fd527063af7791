// Form1, the path viewer's one window: the profile picture with its
// captions and cursor, scroll bars when the window is smaller than the
// picture, and the menus.
#pragma once

#include <QMainWindow>

#include <array>

#include "menus.h"
#include "pathstate.h"
#include "profile.h"

class QScrollBar;

namespace zk::pathviewer {

class CaptionLabel;
class PictureBox;

// The viewer's title, which also captions its message boxes.
QString viewerTitle();

// The command tail as the viewer takes it: the arguments joined by one
// blank, quotes kept; a name with blanks given unquoted thus works.
QString commandTail(const QStringList &arguments);

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

    // The end of start-up: reads the path file named by the command tail,
    // when there is one.
    void start(const QString &tail);

    // Reads a path file and draws it; "Error in file!" for a damaged one.
    void loadpath(const QString &file);
    // Redraws the profile: with full, the background too; otherwise only
    // the overlays over the kept background.
    void drawpath(bool full);
    // Moves the cursor (see CursorMode) and shows it with its read-out.
    void movecursor(float x, int mode);
    // Lays out the picture, scroll bars and corner box for the client size.
    void arrangewindow();

    // The menu commands that do not draw by themselves.
    void openFile();
    void copyPicture();
    void reverse();
    void about();

    PathState &state() { return st_; }
    const Form1Menus &menus() const { return menus_; }
    PictureBox *picture() const { return picture1_; }

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void connectMenus();
    void chooseOnly(QAction *chosen, QAction *const *items, int count, bool full);

    PathState st_;
    Form1Menus menus_;
    QWidget *client_ = nullptr;
    PictureBox *picture1_ = nullptr;
    std::array<CaptionLabel *, 3> label1_{};  // 1 left, 2 right site
    CaptionLabel *label2_ = nullptr;
    CaptionLabel *label3_ = nullptr;
    QWidget *line1_ = nullptr;
    QScrollBar *hscroll1_ = nullptr;
    QScrollBar *vscroll1_ = nullptr;
    QWidget *picture2_ = nullptr;
};

}  // namespace zk::pathviewer
