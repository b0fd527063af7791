// The main window's commands for the picture operations: merging, rotation
// and projection, the latitude and longitude grids, flooding and
// stratification, the world map, fitting the map to a picture and the
// full-screen view.
#pragma once

namespace zk {

class MainFrame;

// Connects and enables mnuEditMerge, mnuGR(1)..mnuGR(4), mnuFlood,
// mnuStrat, mnuRot, mnuProject, mnuFixmap, mnuViewWorld and mnuViewFull of
// the main window, and gives the map-properties dialog its world map.
void installpictureops(MainFrame *w);

// The commands themselves, as the menu items run them.
void mnuEditMerge_Click();
void mnuGR_Grid_Click(int index);  // 1: 10 degrees, 2: 1 degree, 3: 15 minutes, 4: 1 minute
void mnuFlood_Click();
void mnuStrat_Click();
void mnuRot_Click();
void mnuProject_Click();
void mnuFixmap_Click();
void mnuViewWorld_Click();
void mnuViewFull_Click();

}  // namespace zk
