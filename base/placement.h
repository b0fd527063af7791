// Where top-level windows open. Positions are those of the outer frame (the
// window with the title bar and border the window manager puts around it):
// stored and restored in that one frame of reference, a window does not
// drift by its title bar at each close and reopen. The frame only exists
// once the window manager has taken the window, so a window is placed at
// once with the frame known so far and, once the window manager has framed
// it, placed again from the real frame until the frame is seen where it
// belongs.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace zk {

// The wanted top-left corner of the frame, given the frame's size.
using FramePlacer = std::function<QPoint(const QSize &frame)>;

// Shows a top-level window on screen and makes it the active window. With a
// placer, the frame goes where the placer says; without one, a window that
// is already visible or was placed before stays where it is and a new one
// opens in the middle of the window it belongs to (or of the screen). Either way the frame is then moved, as little as needed,
// so that it lies on the available screen area. A window already shown is
// brought to the front.
void showPlaced(QWidget *w, FramePlacer where = {});

// The same for a companion window that opens by itself while the user
// works elsewhere (a read-out following the cursor): placed and brought to
// the front, but the active window stays active.
void showPlacedInactive(QWidget *w, FramePlacer where = {});

// A top-level window's outer frame where it is on the screen: the one the
// window manager drew, read from the window system when it can be (Qt's
// own copy may lag behind a move, or hold a frame guessed before the
// window manager framed the window), else Qt's frameGeometry(). Where a
// window's place is stored, it is stored from this.
QRect outerFrame(const QWidget *w);

// The frame rectangle moved (never resized) as little as needed to lie
// inside room; a frame larger than room keeps its top-left corner in it.
QRect keptInside(const QRect &frame, const QRect &room);

// The screen area windows may take (without panels) of the screen the
// window is on, else of the primary screen; empty when there is no screen.
QRect availableRoom(const QWidget *w = nullptr);

}  // namespace zk
