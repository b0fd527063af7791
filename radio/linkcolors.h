// The link-colour rules as the "Style" tab of the network dialog shows and
// stores them. The three bytes of `linkstyle` (radiodata.h) hold, on the
// link-quality scale (margin in dB + 50, 1..99):
//   byte 0: bit 7 draw the red lines,    bits 0..6 the yellow threshold
//   byte 1: bit 7 draw the yellow lines, bits 0..6 the green threshold
//   byte 2: bit 7 draw the green lines,  bit 0 draw with an opaque background
// The yellow threshold is never above the green one.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace zk {

// What the tab shows: the two thresholds in dB as typed text, the three
// colour switches (red, yellow, green: Check3(1..3)) and the opaque switch
// (Check4).
struct LinkStyleTab {
    QString yellow;  // Text18(1), dB
    QString green;   // Text18(2), dB
    std::array<bool, 3> draw{};
    bool opaque = false;
};

// The tab for the rules: thresholds as whole numbers of dB.
LinkStyleTab linkstyletab(const std::array<uint8_t, 3> &rules);

// The rules the tab stores over `before` ("Appliquer"). A threshold whose
// text is not a number (user's locale; the empty text included) keeps its
// old threshold bits; every colour switch is written as its box shows it,
// so an unchecked colour is off whatever its threshold text holds.
std::array<uint8_t, 3> storelinkstyle(const LinkStyleTab &tab, const std::array<uint8_t, 3> &before);

}  // namespace zk
