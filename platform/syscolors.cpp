#include "syscolors.h"

#include <QGuiApplication>

namespace zk {

namespace {

struct Role {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// By index: what each of Windows' system colours is used for, and the Qt
// role used for the same thing. Title bars and borders belong to the window
// manager here: their nearest roles stand in.
constexpr Role kRoles[] = {
    {QPalette::Active, QPalette::Mid},              //  0 scroll bar track
    {QPalette::Active, QPalette::Dark},             //  1 desktop
    {QPalette::Active, QPalette::Highlight},        //  2 active title bar
    {QPalette::Inactive, QPalette::Mid},            //  3 inactive title bar
    {QPalette::Active, QPalette::Window},           //  4 menu
    {QPalette::Active, QPalette::Base},             //  5 window background
    {QPalette::Active, QPalette::Shadow},           //  6 window frame
    {QPalette::Active, QPalette::WindowText},       //  7 menu text
    {QPalette::Active, QPalette::Text},             //  8 window text
    {QPalette::Active, QPalette::HighlightedText},  //  9 title bar text
    {QPalette::Active, QPalette::Window},           // 10 active border
    {QPalette::Inactive, QPalette::Window},         // 11 inactive border
    {QPalette::Active, QPalette::Dark},             // 12 application workspace
    {QPalette::Active, QPalette::Highlight},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},  // 14 highlighted text
    {QPalette::Active, QPalette::Button},           // 15 button face
    {QPalette::Active, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},           // 17 grey (disabled) text
    {QPalette::Active, QPalette::ButtonText},       // 18 button text
    {QPalette::Disabled, QPalette::WindowText},     // 19 inactive title bar text
    {QPalette::Active, QPalette::Light},            // 20 3D highlight
    {QPalette::Active, QPalette::Shadow},           // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},         // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},      // 23 tool tip text
    {QPalette::Active, QPalette::ToolTipBase},      // 24 tool tip background
    {QPalette::Active, QPalette::Base},             // 25 (unused by Windows)
    {QPalette::Active, QPalette::Link},             // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight},        // 27 active title gradient
    {QPalette::Inactive, QPalette::Mid},            // 28 inactive title gradient
    {QPalette::Active, QPalette::Highlight},        // 29 menu highlight
    {QPalette::Active, QPalette::Window},           // 30 menu bar
};
constexpr uint32_t kCount = sizeof kRoles / sizeof kRoles[0];

}  // namespace

bool issyscolor(uint32_t colour) { return (colour & 0xFFFFFF00u) == 0x80000000u && (colour & 0xFF) < kCount; }

QColor syscolor(uint32_t colour, const QPalette &palette)
{
    if (issyscolor(colour)) {
        const Role r = kRoles[colour & 0xFF];
        return palette.color(r.group, r.role);
    }
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

QColor syscolor(uint32_t colour) { return syscolor(colour, QGuiApplication::palette()); }

}  // namespace zk
