// The frame an X11 window manager puts around a top-level window, read from
// the X server itself rather than from Qt's copy of it. Qt learns a
// window's position from configure events and its frame from
// _NET_FRAME_EXTENTS when that property is there, and otherwise from the
// window tree, which for a window the manager is still framing gives a
// frame of the size the manager has not yet set (1 x 1): while the window
// manager is busy, Qt's view of a new window's frame can be wrong for a
// while. The X server's own view is always right.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QtGui/qwindowdefs.h>

#include <optional>

namespace zk::x11 {

// True when the program runs on an X server whose window manager says,
// in _NET_SUPPORTED, that it announces the frames it draws
// (_NET_FRAME_EXTENTS, EWMH). Without one there is no frame to wait for.
bool framesAnnounced();

// A top-level window as the X server has it.
struct WindowState {
    // The window manager has taken the window: it is inside the manager's
    // frame (its parent is no longer the root window), it is viewable (the
    // frame is mapped, which the manager does last, once the frame is
    // placed) and its frame extents are set.
    bool framed = false;
    // The client area on the root window.
    QRect client;
    // _NET_FRAME_EXTENTS, when set.
    std::optional<QMargins> extents;

    // The outer frame; the client area itself when there is no frame.
    QRect frame() const { return extents ? client.marginsAdded(*extents) : client; }
};

// The state of a top-level window; none when the window does not exist
// on the X server or the program is not on X.
std::optional<WindowState> windowState(WId id);

// The position a client must ask for its window (ConfigureWindow x, y:
// the outer corner of the client window, border included) so that a window
// manager following ICCCM 4.1.2.3 puts the frame's top-left corner at
// frameTopLeft: the manager keeps the gravity's reference point of the
// asked rectangle where it is and puts the same point of the frame there
// (NorthWest: the top-left corners; South: the middles of the bottom
// edges; ...), except for StaticGravity, where the client area itself stays
// where it is asked. gravity is an X11 gravity (1 NorthWest ... 9
// SouthEast, 10 Static); borderWidth is the client window's own border.
QPoint requestedPosition(int gravity, const QPoint &frameTopLeft, int borderWidth, const QMargins &extents);

// Asks for the frame's top-left corner to go to `frameTopLeft`, given the
// frame's extents, as ICCCM 4.1.2.3 says a window manager reads a
// position: through the window's gravity (WM_NORMAL_HINTS), which Qt
// sets to NorthWest or Static depending on how the window was last
// placed. The window manager applies the request in its own time; read the
// state to see that it has.
bool requestFramePosition(WId id, const QPoint &frameTopLeft, const QMargins &extents);

}  // namespace zk::x11
