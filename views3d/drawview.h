// The station-to-station view: what an observer at the antenna of unit A
// sees looking at the antenna of unit B: the map in perspective, draped with
// the colours of its 2D picture, with distant ground, sky and the Earth's
// curvature, and a marker on B's antenna when the terrain does not hide it.
// The engine's drawpic3D paints it; a red/cyan stereo pair is two calls,
// the right eye merged (OR) over the left one. With frames > 0 the same
// routine records a flight from A towards B, one saved frame per pass.
#pragma once

#include <cstdint>

class QWidget;

namespace zk {

// Draws the view of unit b (1..50) from unit a into pic, a picture box (a
// picture window's PicBox, the flight panel's, or the radio-link window's
// ScaleBox). When newpic is set a new view window "Vue<n>.bmp" is made, as
// large as the screen, and pic is set to its picture box. net (1..25) gives
// the antenna heights, 0 or less the default heights of the settings; fov
// is the horizontal field of view in degrees; stereo draws the red/cyan
// pair; frames > 0 records a flight (frames folder, overwrite question,
// frame count from the stations' distance, speed and rate).
//
// It runs as the long operation oppanorama and always ends through endop
// and a redraw of the units: a view that cannot be drawn (a = b, no 2D
// picture of the map, a station off it, No to the overwrite question)
// leaves the target as it was and reports "Arrêté par l'utilisateur.". A
// view drawn to its end in a picture window becomes the window's picture.
void drawview(QWidget *&pic, int net, int a, int b, float fov, bool stereo, int frames);

// View windows made so far in this run (the last is "Vue" + this + ".bmp").
int viewcount();

}  // namespace zk
