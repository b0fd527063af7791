// Where a client asks for its window so that an X11 window manager puts
// the frame's top-left corner at a given point, for each window gravity
// (ICCCM 4.1.2.3), worked by hand for a frame with four different extents
// (left 1, right 3, top 20, bottom 5) whose corner goes to (100, 200).
#include <gtest/gtest.h>

#include "x11frame.h"

namespace {

struct GravityCase {
    const char *name;
    int gravity;
    int border;    // the client window's own border
    QPoint asked;  // where the client window's outer corner is asked
};

class RequestedPosition : public ::testing::TestWithParam<GravityCase> {};

TEST_P(RequestedPosition, PutsTheFrameCornerWhereWanted)
{
    const GravityCase c = GetParam();
    EXPECT_EQ(zk::x11::requestedPosition(c.gravity, QPoint(100, 200), c.border, QMargins(1, 20, 3, 5)), c.asked);
}

// The frame is 4 wider and 25 taller than the client; with a border of 2
// the asked rectangle is itself 4 wider and taller than the client.
INSTANTIATE_TEST_SUITE_P(
    Gravities, RequestedPosition,
    ::testing::Values(
        // The corners, edge middles and centre line up.
        GravityCase{"NorthWest", 1, 0, {100, 200}}, GravityCase{"North", 2, 0, {102, 200}},
        GravityCase{"NorthEast", 3, 0, {104, 200}}, GravityCase{"West", 4, 0, {100, 212}},
        GravityCase{"Center", 5, 0, {102, 212}}, GravityCase{"East", 6, 0, {104, 212}},
        GravityCase{"SouthWest", 7, 0, {100, 225}}, GravityCase{"South", 8, 0, {102, 225}},
        GravityCase{"SouthEast", 9, 0, {104, 225}},
        // The client area stays where asked: it lies inside the frame's
        // left and top extents.
        GravityCase{"Static", 10, 0, {101, 220}},
        // ForgetGravity (0) and unknown values place as NorthWest.
        GravityCase{"Forget", 0, 0, {100, 200}}, GravityCase{"Unknown", 42, 0, {100, 200}},
        // With a border: NorthWest still lines up the outer corners; Static
        // keeps the client's inside (2 px in from the asked corner) where the
        // frame's extents end; SouthEast lines up the bottom-right corners
        // of the frame (25 below the client) and of the bordered window (4).
        GravityCase{"NorthWestBorder", 1, 2, {100, 200}}, GravityCase{"StaticBorder", 10, 2, {99, 218}},
        GravityCase{"SouthEastBorder", 9, 2, {100, 221}}),
    [](const ::testing::TestParamInfo<GravityCase> &i) { return std::string(i.param.name); });

}  // namespace
