// The flight panel "Animation": the picture a flight is recorded through,
// and the player of the recorded frames with its Pause/Exécute button and
// the scroll bar that shows (and moves to) the frame number. One modeless
// instance, owned by the main window.
//
// The player runs on a timer, one frame per period, in the states of the
// run flag: 1 playing (button "Pause"), 2 paused (button "Exécute"), any
// other value stopped (the timer ends, the button keeps its caption). It
// never calls beginop: the menus stay usable, and anything that sets the
// run flag to 0 (closing the panel, Esc in a picture, a top-level menu of
// the radio-link window, a close request of the main window) stops it at
// its next tick.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QPushButton;
class QScrollBar;

namespace zk {

class PicBox;
class MainFrame;

class frmAnimate : public QWidget {
    Q_OBJECT
public:
    // The open panel, or null (also once it was closed and only waits to
    // be deleted).
    static frmAnimate *instance();
    // The open panel, or a new one (Form_Load), shown.
    static frmAnimate *open();

    explicit frmAnimate(QWidget *owner = nullptr);
    ~frmAnimate() override;

    PicBox *Picture1 = nullptr;     // 320 x 200: the frames
    QScrollBar *HScroll1 = nullptr;  // the frame shown (while playing, the next one)
    QPushButton *Command1 = nullptr; // "Pause" / "Exécute"

    void Form_Load();
    void Command1_Click();
    void Form_KeyDown(int key);

    // Starts the player at frame 1 with a period of 1 / fps seconds (fps
    // limited to 0.1 .. 10); the first frame is shown at once.
    void play(double fps);
    // True while the player's timer runs (playing or paused).
    bool playerRunning() const { return timer_.isActive(); }
    // The frame last loaded into the picture (0: none yet).
    int shownFrame() const { return shown_; }
    // The frame period in milliseconds.
    int periodMs() const { return timer_.interval(); }
    // One period of the player, as its timer runs it (for tests).
    void tick();
    // Stops the player's timer; the run flag is left as it is.
    void stopPlayer();

protected:
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    bool load(int v);
    void scrolled(int v);

    QTimer timer_;
    int shown_ = 0;
    bool setting_ = false;  // the scroll bar is being set by the player
    bool closed_ = false;   // closed, waiting to be deleted
};

// Records a flight from unit a to unit b with the antenna heights of
// network net, looking at b with the field of view fov (degrees), through
// the panel's picture (disabled meanwhile): drawview with 100 frames.
void flyview(float fov, int a, int b, int net, bool stereo);

// Plays the recorded frames at fps frames a second in the panel. Returns
// as soon as the player has started (the first frame is shown); the player
// then runs from the event loop until it is stopped. Returns the panel, or
// null when another long operation is running (nothing is started then).
frmAnimate *playflight(double fps);

// Connects the main window's "Visionner un vol" to the player.
void installflights(MainFrame *w);

}  // namespace zk
