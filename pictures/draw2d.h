// The 2D picture of the map: draw2d paints the elevation grid as a
// shaded-relief picture in blocks of 256 x 256 cells through the engine's
// translate and fastdraw, gives the picture the map's corners and drawing
// values, and adds the object, city and legend overlays; findsource2d finds
// (or offers to draw) the picture window that shows the map in memory;
// keepinpic asks whether an overlay just drawn stays in the picture.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace zk {

class frmPic;
class PicBox;

// Draws the map in memory into the picture window (a new empty picture
// window when `window` is not a picture window or newpic is set). It runs
// as the long operation opdraw2d; `standalone` says the drawing is an
// operation of its own, which commits each stage into the picture and ends
// the operation itself. True when it ran to its end without being stopped.
bool draw2d(QWidget *window, bool standalone);

// Makes curpic the picture window that shows the map in memory as a plain
// 2D picture, asking to draw one when there is none. True when curpic then
// holds one; false with curpic cleared.
bool findsource2d();

// Whether the window shows the map in memory as a plain 2D picture: kind 1,
// corners 1 and 3 on the map's within 0.0001 degree, neither stereo nor the
// world map, and its picture within 2 pixels of the grid's last indices.
bool issource2d(const frmPic *w);

// Asks "Garder " + text + "dans l'image?"; on Yes the box's drawing layer
// becomes its picture. True on Yes.
bool keepinpic(PicBox *box, const QString &text);

// True once the "too few colours" warning has been shown in this run.
extern bool palettewarned;

// The overlays of other parts of the picture subsystem that a 2D drawing
// adds. Their owners install them; an empty one is a step that is skipped.
struct Draw2dHooks {
    // drawobjects(window, file-name pattern, fill): the object files of the
    // 1-degree object tiles the picture covers.
    std::function<void(frmPic *w, const QString &pattern, bool fill)> drawobjects;
    // drawcities(window, keep, file): the cities or a labels file; with keep
    // the drawing is committed at the end.
    std::function<void(frmPic *w, bool keep, const QString &file)> drawcities;
};
extern Draw2dHooks draw2dhooks;

}  // namespace zk
