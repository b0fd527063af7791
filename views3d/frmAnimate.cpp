#include "views3d/frmAnimate.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

#include "base/longop.h"
#include "base/longop.h"
#include "base/mainframe.h"
#include "base/mdi.h"
#include "base/mdi.h"
#include "base/placement.h"
#include "pictures/frmPic.h"
#include "pictures/picbox.h"
#include "pictures/picfiles.h"
#include "views3d/drawview.h"
#include "views3d/flight.h"

namespace zk {

namespace {

QPointer<frmAnimate> g_panel;

constexpr int kPicWidth = 320, kPicHeight = 200;  // the panel's picture
constexpr int kRowHeight = 22;                    // scroll bar and button
constexpr int kButtonWidth = 72;

// The run flag values of the player.
constexpr int16_t kPlaying = 1, kPaused = 2;

}  // namespace

frmAnimate *frmAnimate::instance() { return g_panel && !g_panel->closed_ ? g_panel.data() : nullptr; }

frmAnimate *frmAnimate::open()
{
    // A panel that was closed is only waiting to be deleted: a new one.
    if (!g_panel || g_panel->closed_) {
        g_panel = new frmAnimate(mainWindow());
        // A new panel opens in the middle of the main window (or of the
        // screen), not hidden behind the tool windows in its corner.
        showPlaced(g_panel, [](const QSize &frame) {
            QRect room = mainWindow() ? outerFrame(mainWindow()) : QRect();
            if (room.isEmpty()) room = availableRoom();
            return room.center() - QRect(QPoint(0, 0), frame).center();
        });
    } else {
        showPlaced(g_panel);
    }
    return g_panel;
}

frmAnimate::frmAnimate(QWidget *owner) : QWidget(owner, owner ? Qt::Tool : Qt::Window)
{
    setObjectName(QStringLiteral("frmAnimate"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Animation"));

    Picture1 = new PicBox(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setBoxSize(kPicWidth, kPicHeight);
    Picture1->move(0, 0);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    Command1 = new QPushButton(QStringLiteral("Pause"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFocusPolicy(Qt::NoFocus);
    Command1->resize(kButtonWidth, kRowHeight);
    HScroll1->resize(HScroll1->width(), kRowHeight);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int v) { scrolled(v); });
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });

    Form_Load();
}

frmAnimate::~frmAnimate() { timer_.stop(); }

void frmAnimate::Form_Load()
{
    const int pw = Picture1->width(), ph = Picture1->height();
    HScroll1->move(0, ph + 1);
    Command1->move(pw - Command1->width(), ph + 1);
    HScroll1->resize(std::max(1, Command1->x() - 1), HScroll1->height());
    setFixedSize(pw, ph + HScroll1->height() + 2);
}

bool frmAnimate::load(int v)
{
    const QImage img = loadimage(framefile(framesfolder(), v));
    if (img.isNull()) return false;
    // The frame becomes the picture's stored picture, at the box's size.
    Picture1->setPicture(img, false);
    shown_ = v;
    return true;
}

void frmAnimate::stopPlayer() { timer_.stop(); }

void frmAnimate::tick()
{
    if (runflag != kPlaying && runflag != kPaused) {
        // Stopped (or another operation took over the run flag).
        stopPlayer();
        return;
    }
    // Paused: the frame on show changes only with the scroll bar.
    if (runflag == kPaused) return;

    const int v = HScroll1->value();
    setting_ = true;
    if (!load(v)) {
        // The first missing frame is the end of the flight.
        runflag = kPaused;
        HScroll1->setMaximum(v);
        Command1->setText(QStringLiteral("Exécute"));
    }
    if (runflag == kPlaying) {
        if (HScroll1->maximum() == HScroll1->value()) HScroll1->setMaximum(HScroll1->maximum() + 1);
        HScroll1->setValue(std::min(HScroll1->maximum(), HScroll1->value() + 1));
    }
    setting_ = false;
}

void frmAnimate::scrolled(int v)
{
    // While paused the chosen frame shows at once; while playing the next
    // period takes it.
    if (setting_ || !timer_.isActive() || runflag != kPaused || v == shown_) return;
    setting_ = true;
    if (!load(v)) {
        HScroll1->setMaximum(v);
        Command1->setText(QStringLiteral("Exécute"));
    }
    setting_ = false;
}

void frmAnimate::play(double fps)
{
    stopPlayer();
    setting_ = true;
    HScroll1->setRange(1, 100);
    HScroll1->setValue(1);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(10);
    setting_ = false;
    Command1->setEnabled(true);
    HScroll1->setEnabled(true);
    setEnabled(true);
    show();
    raise();

    runflag = kPlaying;
    Command1->setText(QStringLiteral("Pause"));
    const double rate = std::isfinite(fps) ? std::min(10.0, std::max(0.1, fps)) : 0.1;
    timer_.setInterval(int(std::lround(1000.0 / rate)));
    timer_.start();
    tick();
}

void frmAnimate::Command1_Click()
{
    // Another operation owns the run flag: the button leaves it alone.
    if (runflag != 0 && runflag != kPlaying && runflag != kPaused) return;
    if (runflag != kPlaying) {
        Command1->setText(QStringLiteral("Pause"));
        if (HScroll1->value() == HScroll1->maximum()) {
            // A finished flight plays again from frame 1.
            setting_ = true;
            HScroll1->setValue(1);
            setting_ = false;
        }
        runflag = kPlaying;
        // The player is this panel's timer: a stopped one starts again.
        if (!timer_.isActive()) timer_.start();
    } else {
        Command1->setText(QStringLiteral("Exécute"));
        runflag = kPaused;
    }
}

void frmAnimate::Form_KeyDown(int key)
{
    if (key == Qt::Key_Escape) close();
}

void frmAnimate::keyPressEvent(QKeyEvent *e)
{
    Form_KeyDown(e->key());
    QWidget::keyPressEvent(e);
}

void frmAnimate::closeEvent(QCloseEvent *e)
{
    // Closing the panel stops the player (and a flight being recorded).
    runflag = 0;
    stopPlayer();
    closed_ = true;
    e->accept();
}

void flyview(float fov, int a, int b, int net, bool stereo)
{
    QPointer<frmAnimate> p = frmAnimate::open();
    p->stopPlayer();
    p->setEnabled(false);
    newpic = false;
    const QString caption = p->windowTitle();
    p->Command1->setText(QString());
    QWidget *pic = p->Picture1;
    drawview(pic, net, a, b, fov, stereo, 100);
    if (p) {
        p->setEnabled(true);
        p->setWindowTitle(caption);
    }
}

frmAnimate *playflight(double fps)
{
    if (runflag != 0 && runflag != kPlaying && runflag != kPaused) return nullptr;
    frmAnimate *p = frmAnimate::open();
    p->play(fps);
    return p;
}

void installflights(MainFrame *w)
{
    connectitem(w, QStringLiteral("mnuViewFlight"), [] { playflight(3.0); });
}

}  // namespace zk
