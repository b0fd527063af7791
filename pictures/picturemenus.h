// The main window's commands that build and draw the map's pictures: map
// properties, new picture, picture properties and the two UTM grids, and
// the colour scale as the service that the map reader and the extractions
// call after loading a map.
#pragma once

namespace zk {

class MainFrame;

// Connects and enables mnuFileMap, mnuFileNewPic, mnuFilePic, mnuGR(5) and
// mnuGR(6) of the main window, and installs initcolors as the map's colour
// service. The main window calls it once its menus exist.
void installpicturemenus(MainFrame *w);

// The commands themselves, as the menu items run them.
void mnuFileMap_Click();
void mnuFileNewPic_Click();
void mnuFilePic_Click();
void mnuGR_Click(int index);  // 5: UTM 1 km, 6: UTM 10 km

}  // namespace zk
