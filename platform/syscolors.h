// Windows' system colours and the Qt palette roles that stand for them. A
// layout or a drawing names a system colour by its index with the high bit
// set (0x80000005 the window background, 0x8000000F the button face...); any
// other value is a plain colour, red in the low byte.
#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace zk {

enum SysColor : uint32_t {
    kSysScrollBar = 0x80000000,
    kSysDesktop = 0x80000001,
    kSysActiveTitleBar = 0x80000002,
    kSysInactiveTitleBar = 0x80000003,
    kSysMenuBar = 0x80000004,
    kSysWindowBackground = 0x80000005,  // the inside of a picture box, list or text box: white
    kSysWindowFrame = 0x80000006,
    kSysMenuText = 0x80000007,
    kSysWindowText = 0x80000008,  // text on the window background
    kSysTitleBarText = 0x80000009,
    kSysActiveBorder = 0x8000000A,
    kSysInactiveBorder = 0x8000000B,
    kSysApplicationWorkspace = 0x8000000C,
    kSysHighlight = 0x8000000D,
    kSysHighlightText = 0x8000000E,
    kSysButtonFace = 0x8000000F,  // a dialog's or form's own background: grey
    kSysButtonShadow = 0x80000010,
    kSysGrayText = 0x80000011,
    kSysButtonText = 0x80000012,
    kSysInactiveCaptionText = 0x80000013,
    kSys3DHighlight = 0x80000014,
    kSys3DDKShadow = 0x80000015,
    kSys3DLight = 0x80000016,
    kSysInfoText = 0x80000017,
    kSysInfoBackground = 0x80000018,
};

// Whether the value names a system colour (high bit set, an index 0..30).
bool issyscolor(uint32_t colour);

// The colour a system colour stands for in the palette (the application's
// when none is given): window background -> Base, window text -> Text,
// button face -> Button, button text -> ButtonText, highlight ->
// Highlight, grey text -> the disabled Text, and so on for every index. A
// plain colour is returned as it is (red in the low byte).
QColor syscolor(uint32_t colour);
QColor syscolor(uint32_t colour, const QPalette &palette);

}  // namespace zk
