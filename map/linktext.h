// linktext1: a text of the radio subsystem through which the city list hands
// the chosen place's name to the unit dialog (which empties it before showing
// the list and takes it as the unit's name when it is no longer empty).
#pragma once

#include <QString>

namespace zk {

inline QString linktext1;

}  // namespace zk
