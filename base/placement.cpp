#include "placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMargins>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace zk {

namespace {

// The frame margins of the last window the window manager framed: the best
// guess for the frame of a window it has not framed yet.
QMargins g_seenMargins;

// How long a shown window waits for its frame before it is left where it is
// (no window manager, or one that draws no frames).
constexpr int kFramePollMs = 15;
constexpr int kFramePolls = 200;
// After the frame has come, the place is checked a little longer: a window
// manager that was busy may still apply a move asked before the frame was
// known, which leaves the frame off by its own margins (the client where the
// frame should be); the window is then put back where it belongs. A window
// the user moves meanwhile is left where it is taken.
constexpr int kSettlePolls = 20;

QMargins knownMargins(const QWidget *w)
{
    const QWindow *h = w->windowHandle();
    return h && w->isVisible() ? h->frameMargins() : QMargins();
}

// Keeps a window's placement going until its frame is known.
class Placement : public QObject {
public:
    explicit Placement(QWidget *w) : QObject(w), w_(w)
    {
        setObjectName(QStringLiteral("placement"));
        timer_.setInterval(kFramePollMs);
        connect(&timer_, &QTimer::timeout, this, &Placement::poll);
    }

    void start(FramePlacer where, bool activating)
    {
        where_ = std::move(where);
        activate_ = activating;
        polls_ = 0;
        framed_ = !knownMargins(w_).isNull();
        if (!w_->isVisible()) {
            place(false);
            w_->show();
        } else {
            place(framed_);
        }
        activate();
        framed_ = !knownMargins(w_).isNull();
        settle_ = 0;
        if (framed_) {
            g_seenMargins = knownMargins(w_);
            place(true);
        }
        timer_.start();
    }

private:
    void activate()
    {
        w_->raise();
        if (activate_) w_->activateWindow();
    }

    // Once framed, the activation is asked again in case the window manager
    // passed over the first request (made before the window was mapped),
    // unless another window has become active since.
    void activateAgain()
    {
        const QWidget *now = QApplication::activeWindow();
        const QWidget *owner = w_->parentWidget() ? w_->parentWidget()->window() : nullptr;
        if (!now || now == w_ || now == owner) activate();
        else w_->raise();
    }

    void poll()
    {
        if (!w_->isVisible()) {
            timer_.stop();
            return;
        }
        if (framed_) {
            // Settling: the frame is known and the window was placed.
            const QMargins m = knownMargins(w_);
            if (w_->frameGeometry().topLeft() == target_ - QPoint(m.left(), m.top()) && !m.isNull())
                w_->move(target_);
            if (++settle_ >= kSettlePolls) timer_.stop();
            return;
        }
        const QMargins m = knownMargins(w_);
        if (!m.isNull()) {
            g_seenMargins = m;
            framed_ = true;
            place(true);
            activateAgain();
        } else if (++polls_ >= kFramePolls) {
            timer_.stop();
        }
    }

    // framed: the window's frame is the real one (a placement without a
    // placer then keeps the window where it is, only brought on screen).
    void place(bool framed)
    {
        const QMargins m = framed ? knownMargins(w_) : g_seenMargins;
        const QSize frame = w_->size().grownBy(m);
        QPoint at;
        if (where_) {
            at = where_(frame);
        } else if (framed || w_->testAttribute(Qt::WA_Moved)) {
            at = w_->frameGeometry().topLeft();
        } else {
            // A new window: in the middle of the window it belongs to.
            const QWidget *owner = w_->parentWidget() ? w_->parentWidget()->window() : nullptr;
            const QRect around = owner && owner->isVisible() ? owner->frameGeometry() : availableRoom(w_);
            at = around.center() - QRect(QPoint(0, 0), frame).center();
        }
        const QRect room = availableRoom(w_);
        const QPoint target = room.isEmpty() ? at : keptInside(QRect(at, frame), room).topLeft();
        target_ = target;
        if (!framed || w_->frameGeometry().topLeft() != target) w_->move(target);
    }

    QWidget *w_;
    FramePlacer where_;
    QTimer timer_;
    QPoint target_;
    int polls_ = 0, settle_ = 0;
    bool framed_ = false;
    bool activate_ = true;
};

}  // namespace

QRect keptInside(const QRect &frame, const QRect &room)
{
    QRect r = frame;
    if (r.right() > room.right()) r.moveRight(room.right());
    if (r.bottom() > room.bottom()) r.moveBottom(room.bottom());
    if (r.left() < room.left()) r.moveLeft(room.left());
    if (r.top() < room.top()) r.moveTop(room.top());
    return r;
}

QRect availableRoom(const QWidget *w)
{
    QScreen *s = w ? w->screen() : nullptr;
    if (!s) s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

namespace {

void startPlacement(QWidget *w, FramePlacer where, bool activate)
{
    if (!w) return;
    QObject *found = w->findChild<QObject *>(QStringLiteral("placement"), Qt::FindDirectChildrenOnly);
    auto *p = found ? static_cast<Placement *>(found) : new Placement(w);
    p->start(std::move(where), activate);
}

}  // namespace

void showPlaced(QWidget *w, FramePlacer where) { startPlacement(w, std::move(where), true); }
void showPlacedInactive(QWidget *w, FramePlacer where) { startPlacement(w, std::move(where), false); }

}  // namespace zk
