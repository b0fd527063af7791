// The colour-ramp table built by translate and read by the painters.
#pragma once

#include <cstdint>

namespace zk::engine {

constexpr int kRamps = 8;
constexpr int kRampLen = 256;

// Entry j of ramp k (both clamped into range).
uint32_t rampColour(int k, int j);

// 256 when the table holds palette indices, 0 for plain colours.
int32_t paletteCount();

}  // namespace zk::engine
