// The main window `frmMain`: the one MDI frame of the program, with its
// menus, the toolbar strip that it draws itself (19 button images whose
// raised and sunken frame is four lines moved around the button under the
// pointer), the status bar of four panes (live-position lights, cursor
// read-out with the progress bar, message line, size grip), the station
// icons and the 200 ms timer.
//
// Other subsystems reach it through `mainform` (the interface MainFrame in
// base/mainframe.h) and its controls, each named
// as the Windows program named it (objectName): `Picture1` (toolbar strip),
// `Image1(i)`, `Line1`, `Line2(i)`, `Picture2` (status bar), `Picture3(i)`,
// `Label1` (cursor pane), `Label2` (message line), `Label3(i)` and
// `Shape2(i)` (lights), `Shape1(i)` (progress bar), `Timer1`, the menus
// `menu(1)`..`menu(5)` and the actions `mnuStop`, `mnuFileMRU(i)`,
// `mnuViewGrid`, `mnuMouseCoor` and every other menu item by its control
// name (see menus.cpp). A command whose subsystem is not in place yet is a
// disabled action: the subsystem connects its `triggered` signal and
// enables it.
#pragma once

#include <functional>

#include <QList>
#include <QMainWindow>
#include <QPixmap>

#include <array>
#include <cstdint>

#include "base/mainframe.h"

class QLabel;
class QMdiArea;
class QMenu;
class QAction;
class QTimer;
class QFrame;

namespace zk {

class Image;
class Line;
class Shape;

class frmMain : public MainFrame {
    Q_OBJECT
public:

    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // MDIForm_Load: caption, placement from the settings, station icons,
    // toolbar without highlight. Runs once, when the start-up touches the
    // window (tests may call it on a window of their own).
    void load();
    bool loaded() const { return loaded_; }

    // Controls.
    QMdiArea *mdiArea() const override { return mdi_; }
    QWidget *picture1() const { return picture1_; }
    QWidget *picture2() const override { return picture2_; }
    QFrame *picture3(int i) const;
    Image *image1(int i) const override;
    Line *line1() const { return line1_; }
    Line *line2(int i) const override;  // 0..3 highlight frame; 4, 7, 11, 12, 14, 18 separators
    QLabel *label1() const override { return label1_; }
    QLabel *label2() const override { return label2_; }
    QLabel *label3(int i) const override;
    Shape *shape1(int i) const override;
    Shape *shape2(int i) const override;
    QTimer *timer1() const override { return timer1_; }
    QMenu *menu(int i) const override;  // 1..5
    QAction *mnuStop() const override { return mnuStop_; }
    QAction *mnuFileMRU(int i) const;
    QAction *mnuViewGrid() const;
    QAction *mnuMouseCoor() const;
    // Any menu item by its control name ("mnuFileOpenNet", "mnuModel(1)" ...).
    QAction *action(const QString &name) const override;

    // Station icons: 0..21 built in, then the ".ico" files found at load.
    const QList<QPixmap> &imgIcons() const override { return icons_; }
    // The stereo palette image held for the stereo drawing.
    const QImage &imgStereo() const { return stereo_; }
    // The size grip's picture (the picture windows copy it).
    QPixmap gripIcon() const { return grip_; }

    // Toolbar state.
    int buttonx(int i) const { return buttonx_.at(size_t(i)); }
    int buttony(int i) const { return buttony_.at(size_t(i)); }
    int hotbutton() const { return hotbutton_; }
    int hotstate() const { return hotstate_; }

    // Event handlers of the Windows program, callable directly. Coordinates
    // in pixels: relative to the image for Image1_*, to the strip for
    // Picture1_*, to the grip for Picture3_MouseUp.
    void Image1_MouseMove(int index, int state, int x, int y);
    void Image1_MouseDown(int index);
    void Image1_MouseUp(int index, int state, int x, int y);
    void Picture1_MouseMove(int state, int x, int y);
    void Picture1_MouseDown(int x, int y);
    void Picture1_MouseUp(int x, int y);
    void Label3_DblClick(int index);
    void Picture3_MouseUp(int index, int x, int y);
    // MDIForm_Resize: the toolbar and status-bar layout (and the tool-window
    // rule when minimised).
    void layoutWindow();

    // Closes, in order, the elevation-grid window, the radio-link window,
    // the map-properties dialog, the user-picture calibration dialog, the
    // object editor while it adds points (its window publishes that mode as
    // the property "objedit") and the multicast monitor. A window that is
    // not open is left alone; each runs its own closing handler.
    void closetoolwindows() override;

    // The save prompts before the document is dropped; true when the user
    // cancelled (shutdown.h).
    bool CleanNet();
    // Opens recent network file `index` (mru.h).
    void loadprevious(int16_t index);

    // The command of toolbar button i (the menu item it runs).
    static const char *buttonCommand(int i);
    static QString buttonToolTip(int i);

signals:
    // A toolbar button ran its command (emitted before the command runs).
    void buttonRun(int index);

protected:
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolbar();
    void buildStatusBar();
    void buildMenus();
    void loadStationIcons();
    void applyPlacement();
    void runButton(int b);
    void refreshButtonGreying();
    void layoutToolbar();
    void layoutStatusBar();
    void fillWindowList();
    int px(double twips, bool horizontal = true) const;

    bool loaded_ = false;
    QMdiArea *mdi_ = nullptr;
    QWidget *picture1_ = nullptr;
    QWidget *picture2_ = nullptr;
    std::array<QFrame *, 4> picture3_{};
    std::array<Image *, kButtons> image1_{};
    Line *line1_ = nullptr;
    std::array<Line *, kButtons> line2_{};
    QLabel *label1_ = nullptr;
    QLabel *label2_ = nullptr;
    std::array<QLabel *, 3> label3_{};
    std::array<Shape *, 2> shape1_{};
    std::array<Shape *, 3> shape2_{};
    QLabel *grip_label_ = nullptr;
    QTimer *timer1_ = nullptr;
    std::array<QMenu *, kMenus + 1> menu_{};
    QAction *mnuStop_ = nullptr;
    QList<QPixmap> icons_;
    QImage stereo_;
    QPixmap grip_;

    std::array<int32_t, kButtons> buttonx_{};
    std::array<int32_t, kButtons> buttony_{};
    int16_t hotbutton_ = 0;
    int16_t hotstate_ = 0;
};

// The main window as the application made it (`mainform`, base/mainframe.h,
// is the same window); null before it is made and after it is gone.
inline frmMain *mainwindow() { return static_cast<frmMain *>(mainform); }

// The toolbar layout for a window of the given inner width (pixels): the
// image positions, the separators' x and the strip height, as the resize
// handler computes them.
struct ToolbarLayout {
    std::array<int, frmMain::kButtons> x{}, y{};
    std::array<int, frmMain::kButtons> sepx{}, sepy{};  // valid for the separator indices
    int height = 0;                                      // pixels
};
ToolbarLayout toolbarLayout(int innerWidthPx);
bool isSeparatorIndex(int i);

// The status-bar layout for a window of the given outer width (twips):
// the widths and lefts of the four panes and of the progress frame.
struct StatusLayout {
    double left[4] = {}, width[4] = {};
    double progressWidth = 0;
};
StatusLayout statusLayout(double outerWidthTwips);

}  // namespace zk
