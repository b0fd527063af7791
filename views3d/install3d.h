// Puts the 3D pictures where the rest of the program reaches them: points
// on 3D pictures for the picture windows, the cursor and the networks
// (pichooks.geo3d), and the 3D dialog for the picture-properties commands
// (picprohooks.show3dpic). Called once when the main window builds its
// menus; tests call it too.
#pragma once

namespace zk {

void install3dhooks();

}  // namespace zk
