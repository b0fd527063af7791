// The 3D picture: the whole elevation map in perspective, seen from the
// camera of `view3d`, every grid cell a filled quadrilateral in the colour
// of the map's 2D picture, far cells first so that near terrain covers what
// lies behind it. The picture window keeps the view and the grid geometry,
// so that points can later be placed on it (geo3d).
#pragma once

namespace zk {

class frmPic;

// Draws the 3D picture of the map in memory with the current view, its
// colours taken from `curpic` (the 2D picture findsource2d found). It runs
// as the long operation opdraw3d, with progress and Stop; a stopped drawing
// stays on the screen but is not kept in the picture.
//
// Where it draws: with new3d set, into a new window "Img3D<n>.bmp"; with
// new3d clear, into `into` (the 3D picture the dialog was opened for) while
// that window is open, else into the active window when that is a 3D
// picture, else into a new window: never over another kind of picture.
//
// When the drawing cannot start (no colour source, no drawing surface) the
// message line says "Pas d'image source 2D valable" and runflag is 0.
void draw3d(frmPic *into = nullptr);

// The number of 3D picture windows made so far in the run (the last one is
// "Img3D" + this number + ".bmp").
int draw3dcount();

// The sector of the view azimuth (degrees) that fixes the painting order:
// 0 for 0 <= theta < 45, 1 for 45 .. 90, ... 7 for 315 .. 360.
int draw3dsector(float theta);

}  // namespace zk
