// How a network names its topology and the roles of its members, and the
// antenna height of a unit in a network (its own override, or the height of
// the radio system it uses there).
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace zk {

// The topology whose names `topologyname` gives: 0 voice, 1 star, any other
// value mesh. Callers store it first.
extern int16_t curtopo;
// The role names of `curtopo`, written by `topologyname`; an empty name is a
// role the topology does not have.
extern std::array<QString, 3> rolenames;

// "ouverte" (0), "en étoile" (1) or "maillée" (any other value) for
// `curtopo`; fills all three `rolenames`.
QString topologyname();

// Antenna height in m of unit u (1..50) in network n (1..25): the override
// netheight(n, u) when it is not exactly 0, else the height of the system
// the unit uses in that network. A network, unit or system number out of
// its range (a file may carry a system byte of 0) gives 0 m.
float antheight(int n, int u);

}  // namespace zk
