// Windows' system colours taken from the Qt palette role that does the same
// job (the table of GetSysColor's indices: 5 the window background, 8 the
// window text, 15 the button face...), and plain colours left as they are.
#include <gtest/gtest.h>

#include "syscolors.h"

namespace {

struct SysCase {
    uint32_t colour;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// A palette in which every group and role has a colour of its own.
QPalette distinct()
{
    QPalette p(Qt::black);
    int k = 1;
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int r = 0; r < QPalette::NColorRoles; ++r, ++k) p.setColor(g, QPalette::ColorRole(r), QColor(k, 255 - k, (7 * k) % 256));
    return p;
}

class SysColors : public ::testing::TestWithParam<SysCase> {};

TEST_P(SysColors, RoleOfEachIndex)
{
    const SysCase c = GetParam();
    const QPalette p = distinct();
    EXPECT_TRUE(zk::issyscolor(c.colour));
    EXPECT_EQ(zk::syscolor(c.colour, p), p.color(c.group, c.role)) << std::hex << c.colour;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SysColors,
    ::testing::Values(SysCase{0x80000005, QPalette::Active, QPalette::Base},  // COLOR_WINDOW: white, not grey
                      SysCase{0x80000008, QPalette::Active, QPalette::Text},
                      SysCase{0x8000000F, QPalette::Active, QPalette::Button},
                      SysCase{0x80000012, QPalette::Active, QPalette::ButtonText},
                      SysCase{0x8000000D, QPalette::Active, QPalette::Highlight},
                      SysCase{0x8000000E, QPalette::Active, QPalette::HighlightedText},
                      SysCase{0x80000011, QPalette::Disabled, QPalette::Text},
                      SysCase{0x80000004, QPalette::Active, QPalette::Window},
                      SysCase{0x80000007, QPalette::Active, QPalette::WindowText},
                      SysCase{0x8000000C, QPalette::Active, QPalette::Dark},
                      SysCase{0x80000010, QPalette::Active, QPalette::Dark},
                      SysCase{0x80000014, QPalette::Active, QPalette::Light},
                      SysCase{0x80000015, QPalette::Active, QPalette::Shadow},
                      SysCase{0x80000016, QPalette::Active, QPalette::Midlight},
                      SysCase{0x80000017, QPalette::Active, QPalette::ToolTipText},
                      SysCase{0x80000018, QPalette::Active, QPalette::ToolTipBase}));

TEST(SysColors, WindowBackgroundIsNotTheDialogColour)
{
    // In the usual palettes the window background is white and the dialog
    // grey: the two must never be taken one for the other.
    QPalette p(QColor(0xEF, 0xEF, 0xEF));
    p.setColor(QPalette::Base, Qt::white);
    EXPECT_EQ(zk::syscolor(zk::kSysWindowBackground, p), QColor(Qt::white));
    EXPECT_EQ(zk::syscolor(zk::kSysButtonFace, p), QColor(0xEF, 0xEF, 0xEF));
}

TEST(SysColors, PlainColoursStay)
{
    const QPalette p = distinct();
    EXPECT_FALSE(zk::issyscolor(0x0000FF));
    EXPECT_EQ(zk::syscolor(0x0000FF, p), QColor(255, 0, 0));
    EXPECT_EQ(zk::syscolor(0xE9E9E9, p), QColor(233, 233, 233));
    EXPECT_EQ(zk::syscolor(0x00C08040, p), QColor(0x40, 0x80, 0xC0));
}

}  // namespace
