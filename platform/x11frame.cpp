#include "x11frame.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace zk::x11 {

namespace {

struct FreeReply {
    void operator()(void *p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t *connection()
{
    const auto *app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return app ? app->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const Reply<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr));
    return r ? r->atom : XCB_ATOM_NONE;
}

// The atoms used here, interned once per connection.
struct Atoms {
    xcb_connection_t *conn = nullptr;
    xcb_atom_t frameExtents = XCB_ATOM_NONE, supported = XCB_ATOM_NONE, wmCheck = XCB_ATOM_NONE;
};

const Atoms &atoms(xcb_connection_t *c)
{
    static Atoms a;
    if (a.conn != c) {
        a.frameExtents = atom(c, "_NET_FRAME_EXTENTS");
        a.supported = atom(c, "_NET_SUPPORTED");
        a.wmCheck = atom(c, "_NET_SUPPORTING_WM_CHECK");
        a.conn = c;
    }
    return a;
}

Reply<xcb_get_property_reply_t> property(xcb_connection_t *c, xcb_window_t w, xcb_atom_t name, xcb_atom_t type,
                                         uint32_t longs)
{
    return Reply<xcb_get_property_reply_t>(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, type, 0, longs), nullptr));
}

// The 32-bit values of a property (pointing into the reply, which must
// outlive them), or none when it is missing or of another format.
std::optional<std::pair<const uint32_t *, int>> values(const Reply<xcb_get_property_reply_t> &r)
{
    if (!r || r->format != 32 || r->type == XCB_ATOM_NONE) return std::nullopt;
    return std::make_pair(static_cast<const uint32_t *>(xcb_get_property_value(r.get())),
                          xcb_get_property_value_length(r.get()) / 4);
}

xcb_window_t rootOf(xcb_connection_t *c)
{
    const xcb_setup_t *setup = xcb_get_setup(c);
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
    return it.rem ? it.data->root : XCB_WINDOW_NONE;
}

}  // namespace

bool framesAnnounced()
{
    xcb_connection_t *c = connection();
    if (!c) return false;
    const Atoms &a = atoms(c);
    const xcb_window_t root = rootOf(c);
    // A window manager runs: the root names its check window.
    const auto checkReply = property(c, root, a.wmCheck, XCB_ATOM_WINDOW, 1);
    const auto check = values(checkReply);
    if (!check || check->second < 1) return false;
    const auto supportedReply = property(c, root, a.supported, XCB_ATOM_ATOM, 4096);
    const auto supported = values(supportedReply);
    if (!supported) return false;
    for (int i = 0; i < supported->second; ++i)
        if (supported->first[i] == a.frameExtents) return true;
    return false;
}

std::optional<WindowState> windowState(WId id)
{
    xcb_connection_t *c = connection();
    if (!c || !id) return std::nullopt;
    const auto w = xcb_window_t(id);
    const Atoms &a = atoms(c);
    // All questions asked at once, then the answers read.
    const auto attrCookie = xcb_get_window_attributes(c, w);
    const auto treeCookie = xcb_query_tree(c, w);
    const auto geomCookie = xcb_get_geometry(c, w);
    const auto rootCookie = xcb_translate_coordinates(c, w, rootOf(c), 0, 0);
    const auto extCookie = xcb_get_property(c, 0, w, a.frameExtents, XCB_ATOM_CARDINAL, 0, 4);
    const Reply<xcb_get_window_attributes_reply_t> attr(xcb_get_window_attributes_reply(c, attrCookie, nullptr));
    const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, treeCookie, nullptr));
    const Reply<xcb_get_geometry_reply_t> geom(xcb_get_geometry_reply(c, geomCookie, nullptr));
    const Reply<xcb_translate_coordinates_reply_t> onRoot(xcb_translate_coordinates_reply(c, rootCookie, nullptr));
    const Reply<xcb_get_property_reply_t> ext(xcb_get_property_reply(c, extCookie, nullptr));
    if (!attr || !tree || !geom || !onRoot) return std::nullopt;

    WindowState s;
    s.client = QRect(onRoot->dst_x + geom->border_width, onRoot->dst_y + geom->border_width, geom->width, geom->height);
    if (const auto e = values(ext); e && e->second == 4) {
        // _NET_FRAME_EXTENTS: left, right, top, bottom.
        s.extents = QMargins(int(e->first[0]), int(e->first[2]), int(e->first[1]), int(e->first[3]));
    }
    s.framed = tree->parent != tree->root && attr->map_state == XCB_MAP_STATE_VIEWABLE && s.extents.has_value();
    return s;
}

QPoint requestedPosition(int gravity, const QPoint &frameTopLeft, int borderWidth, const QMargins &extents)
{
    if (gravity == XCB_GRAVITY_STATIC)
        return frameTopLeft + QPoint(extents.left() - borderWidth, extents.top() - borderWidth);
    // The frame's size less the asked rectangle's (client and its border).
    const int growW = extents.left() + extents.right() - 2 * borderWidth;
    const int growH = extents.top() + extents.bottom() - 2 * borderWidth;
    // Columns west, middle, east; rows north, middle, south (0, 1, 2).
    int col = 0, row = 0;
    switch (gravity) {
    case XCB_GRAVITY_NORTH: col = 1; break;
    case XCB_GRAVITY_NORTH_EAST: col = 2; break;
    case XCB_GRAVITY_WEST: row = 1; break;
    case XCB_GRAVITY_CENTER: col = row = 1; break;
    case XCB_GRAVITY_EAST: col = 2, row = 1; break;
    case XCB_GRAVITY_SOUTH_WEST: row = 2; break;
    case XCB_GRAVITY_SOUTH: col = 1, row = 2; break;
    case XCB_GRAVITY_SOUTH_EAST: col = row = 2; break;
    default: break;  // NorthWest, and ForgetGravity read as NorthWest
    }
    return frameTopLeft + QPoint(col * growW / 2, row * growH / 2);
}

bool requestFramePosition(WId id, const QPoint &frameTopLeft, const QMargins &extents)
{
    xcb_connection_t *c = connection();
    if (!c || !id) return false;
    const auto w = xcb_window_t(id);
    const Reply<xcb_get_geometry_reply_t> geom(xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr));
    if (!geom) return false;
    // WM_NORMAL_HINTS (WM_SIZE_HINTS, 18 values): flags first, the window
    // gravity last, valid when the PWinGravity flag is set; NorthWest
    // otherwise.
    constexpr uint32_t kPWinGravity = 1u << 9;
    uint32_t gravity = XCB_GRAVITY_NORTH_WEST;
    const auto hintsReply = property(c, w, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 18);
    if (const auto h = values(hintsReply); h && h->second >= 18 && (h->first[0] & kPWinGravity)) gravity = h->first[17];

    const QPoint at = requestedPosition(int(gravity), frameTopLeft, geom->border_width, extents);
    const uint32_t xy[] = {uint32_t(int32_t(at.x())), uint32_t(int32_t(at.y()))};
    xcb_configure_window(c, w, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, xy);
    xcb_flush(c);
    return true;
}

}  // namespace zk::x11
