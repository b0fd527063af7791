// Puts the 3D pictures where the rest of the program reaches them: points
// on 3D pictures for the picture windows, the cursor and the networks
// (pichooks.geo3d), the 3D dialog and the stereo drawing for the
// picture-properties commands (picprohooks.show3dpic, .drawstereo), and the
// stereo cursor for the picture windows (pichooks.stereocursor), and the
// station views, flights, observation options and radar coverage that the
// radio windows start (radiohooks). Called once
// when the main window builds its menus; tests call it too.
#pragma once

namespace zk {

void install3dhooks();

}  // namespace zk
