// The network drawing: the link quality of every active network, each
// linked pair of units classed red, yellow or green by the link-colour rules
// and drawn as one line on every picture (2D pictures between the units'
// pixels, 3D pictures at the common network altitude, with masts), then the
// units on top.
#pragma once

#include <array>
#include <cstdint>

namespace zk {

// One of the six link styles (1..6; 0 = not drawn).
struct LinkLook {
    uint32_t bright = 0;  // colour, red in the low byte
    uint32_t dark = 0;    // background line colour
    int brightwidth = 1;  // pixels
    bool dotted = false;
    int darkwidth = 3;
};
LinkLook linklook(int style);

// The style one network gives a pair: q the direct-link quality (> 0), r the
// route cell, by the rules `linkstyle` (bytes 0..2).
int netlinkstyle(int q, int r, int topology, int maxretrans, const std::array<uint8_t, 3> &rules);

// The style of pair i < j over all active networks (the worst drawn one;
// 0 when a network that links the pair has its class switched off).
int pairstyle(int i, int j);

// Recomputes the link quality of the active networks and draws every
// network and unit on every picture window.
void drawnets();

}  // namespace zk
