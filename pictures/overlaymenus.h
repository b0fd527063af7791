// The main window's commands for overlays and image sources: "Dessin des
// objets" (surfaces, lines, labels, cities, all), "Edition des objects" (the
// object editor) and "Mélanger avec un carte Quo Vadis" (copy, add,
// multiply); and the services the rest of the picture code takes from here:
// the objects and cities of a 2D drawing, the ADRG import of the picture
// properties dialog, and the object editor's part in picture clicks.
#pragma once

namespace zk {

class MainFrame;

// Connects and enables mnuObjects(1..5), mnuObject and mnuQuo(0..2) of the
// main window and installs the services above. The main window calls it
// once its menus exist.
void installoverlaymenus(MainFrame *w);

// The services alone (tests and windows without the main window).
void installoverlayservices();

}  // namespace zk
