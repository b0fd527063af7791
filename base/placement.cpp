#include "placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <optional>

#include "x11frame.h"

namespace zk {

namespace {

// The frame extents of the last window the window manager framed: the best
// guess for the frame of a window it has not framed yet.
QMargins g_seenMargins;

constexpr int kPollMs = 15;
// How long a shown window waits for the window manager to frame it before
// it is left where it is (no window manager, or one that draws no frames,
// or one that is stuck): this only ends a wait that is not going to end
// otherwise, it decides nothing about where the window goes.
constexpr int kFramePolls = 1000;
// Without frames to read (another platform, or a window manager that does
// not announce them), Qt's frame margins are waited for this long.
constexpr int kQtFramePolls = 200;
// How often the frame's place is asked again when the window turns up
// somewhere else than asked after the window manager has moved it (a
// request of the program's own made before, or the user): a window the
// user takes elsewhere is not fought over.
constexpr int kRequests = 3;

QMargins qtMargins(const QWidget *w)
{
    const QWindow *h = w->windowHandle();
    return h && w->isVisible() ? h->frameMargins() : QMargins();
}

// The X server counts in device pixels, Qt's widgets in device-independent
// ones (the same at a scale of 1).
QRect logical(const QWidget *w, const QRect &r)
{
    const qreal k = w->devicePixelRatioF();
    if (k == 1.0) return r;
    return QRect(QPoint(qRound(r.left() / k), qRound(r.top() / k)), QPoint(qRound((r.right() + 1) / k) - 1, qRound((r.bottom() + 1) / k) - 1));
}

QMargins logical(const QWidget *w, const QMargins &m)
{
    const qreal k = w->devicePixelRatioF();
    return k == 1.0 ? m : QMargins(qRound(m.left() / k), qRound(m.top() / k), qRound(m.right() / k), qRound(m.bottom() / k));
}

QPoint native(const QWidget *w, const QPoint &p)
{
    const qreal k = w->devicePixelRatioF();
    return k == 1.0 ? p : QPoint(qRound(p.x() * k), qRound(p.y() * k));
}

// Keeps a window's placement going until its frame is where it belongs.
//
// On X11, where the window manager owns the frame, everything is decided
// on the X server's own view of the window: Qt's copy lags behind (the
// frame strut a QWidget uses for pos(), frameGeometry() and move() is only
// brought up to date by a move or resize event, so a window the manager
// framed without moving its client area keeps a frame the size of its
// client; before _NET_FRAME_EXTENTS is set, Qt takes the frame from the
// window tree, where a frame the manager has not sized yet is 1 x 1). So:
// the window is placed first with the extents last seen; once the manager
// has framed and mapped it, the real frame is read from the server, the
// place worked out again from it, and, when the frame is elsewhere, its
// position asked of the manager through the window's gravity (ICCCM), and
// read back until the frame is there and Qt has seen it there.
class Placement : public QObject {
public:
    explicit Placement(QWidget *w) : QObject(w), w_(w)
    {
        setObjectName(QStringLiteral("placement"));
        timer_.setInterval(kPollMs);
        connect(&timer_, &QTimer::timeout, this, &Placement::poll);
    }

    void start(FramePlacer where, bool activating)
    {
        where_ = std::move(where);
        activate_ = activating;
        polls_ = 0;
        requests_ = 0;
        framed_ = false;
        asked_.reset();
        x11_ = x11::framesAnnounced();
        const bool wasShown = w_->isVisible();
        // A new window (never placed nor shown) opens in the middle of the
        // window it belongs to; one that was placed before stays where it is.
        fresh_ = !wasShown && !w_->testAttribute(Qt::WA_Moved);
        if (x11_) {
            startOnX11(wasShown);
        } else {
            startOnQt(wasShown);
        }
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

    // Where the frame goes, given its size and where it is now: the
    // placer's place, else where it is (fresh windows: in the middle of
    // their owner), kept on the available screen area.
    QPoint target(const QSize &frame, const QPoint &now) const
    {
        QPoint at;
        if (where_) {
            at = where_(frame);
        } else if (!fresh_) {
            at = now;
        } else {
            const QWidget *owner = w_->parentWidget() ? w_->parentWidget()->window() : nullptr;
            const QRect around = owner && owner->isVisible() ? outerFrame(owner) : availableRoom(w_);
            at = around.center() - QRect(QPoint(0, 0), frame).center();
        }
        const QRect room = availableRoom(w_);
        return room.isEmpty() ? at : keptInside(QRect(at, frame), room).topLeft();
    }

    // ---- X11 ----------------------------------------------------------------

    void startOnX11(bool wasShown)
    {
        // The native window exists from here on, so that a move below is a
        // move of the client area whatever Qt thinks the frame is.
        const WId id = w_->winId();
        const auto s = wasShown ? x11::windowState(id) : std::nullopt;
        if (!s || !s->framed) {
            // Not framed yet: placed with the extents last seen, so that in
            // the usual case the window maps where it belongs. The client
            // area is put where that frame would have it (Qt may not know
            // any frame yet, and a Static-gravity window keeps its client
            // area where it is when the manager frames it); what the window
            // manager does with it is read back once it has framed it.
            const QMargins m = g_seenMargins;
            const QPoint at = target(w_->size().grownBy(m), outerFrame(w_).topLeft()) + QPoint(m.left(), m.top());
            w_->move(at - (w_->geometry().topLeft() - w_->pos()));
        }
        if (!wasShown) w_->show();
        activate();
        timer_.start();
        poll();
    }

    void pollX11()
    {
        const auto s = x11::windowState(w_->winId());
        if (!s) {
            timer_.stop();
            return;
        }
        if (!s->framed) {
            if (++polls_ >= kFramePolls) timer_.stop();
            return;
        }
        const QRect frame = logical(w_, s->frame());
        if (!framed_) {
            // Framed: the place is worked out from the real frame, once.
            framed_ = true;
            g_seenMargins = logical(w_, *s->extents);
            target_ = target(frame.size(), frame.topLeft());
            activateAgain();
        }
        if (frame.topLeft() != target_) {
            // Asked (again) when the frame has not been asked there yet,
            // or when it has moved since it was asked and is still not
            // there.
            if (!asked_ || (*asked_ != frame && requests_ < kRequests)) {
                if (asked_) ++requests_;
                asked_ = frame;
                x11::requestFramePosition(w_->winId(), native(w_, target_), *s->extents);
            }
        } else if (w_->geometry().topLeft() == logical(w_, s->client).topLeft()) {
            // There, and Qt has seen it there (so that it does not move the
            // window back from an older copy of its place): done.
            timer_.stop();
            return;
        }
        if (++polls_ >= kFramePolls) timer_.stop();
    }

    // ---- elsewhere (no window manager frames to read) --------------------------

    void startOnQt(bool wasShown)
    {
        framed_ = !qtMargins(w_).isNull();
        if (!wasShown) {
            placeOnQt(false);
            w_->show();
        } else {
            placeOnQt(framed_);
        }
        activate();
        framed_ = !qtMargins(w_).isNull();
        if (framed_) {
            g_seenMargins = qtMargins(w_);
            placeOnQt(true);
        }
        timer_.start();
    }

    void pollQt()
    {
        if (framed_) {
            timer_.stop();
            return;
        }
        const QMargins m = qtMargins(w_);
        if (!m.isNull()) {
            g_seenMargins = m;
            framed_ = true;
            placeOnQt(true);
            activateAgain();
            timer_.stop();
        } else if (++polls_ >= kQtFramePolls) {
            timer_.stop();
        }
    }

    void placeOnQt(bool framed)
    {
        const QMargins m = framed ? qtMargins(w_) : g_seenMargins;
        if (framed) fresh_ = false;
        const QPoint at = target(w_->size().grownBy(m), w_->frameGeometry().topLeft());
        if (!framed || w_->frameGeometry().topLeft() != at) w_->move(at);
    }

    void poll()
    {
        if (!w_->isVisible()) {
            timer_.stop();
            return;
        }
        if (x11_) pollX11();
        else pollQt();
    }

    QWidget *w_;
    FramePlacer where_;
    QTimer timer_;
    QPoint target_;
    std::optional<QRect> asked_;  // the frame when its place was last asked
    int polls_ = 0, requests_ = 0;
    bool framed_ = false, fresh_ = false, x11_ = false;
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

QRect outerFrame(const QWidget *w)
{
    if (!w) return QRect();
    if (w->isWindow() && w->isVisible() && w->testAttribute(Qt::WA_WState_Created) && x11::framesAnnounced()) {
        if (const auto s = x11::windowState(w->internalWinId()); s && s->framed) return logical(w, s->frame());
    }
    return w->frameGeometry();
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
