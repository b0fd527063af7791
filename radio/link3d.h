// A radio link drawn in the air on a 3D picture: the line from unit A to
// unit B at the network altitude with an arrow head in its middle pointing
// at B, a mast at each end from the unit's ground up to one and a half
// times that altitude, and the unit's name on a plate at the mast's top.
#pragma once

#include <cstdint>

class QPainter;

namespace zk {

class frmPic;

// The link's line with its arrow head, from (xa, ya) to (xb, yb) in picture
// pixels: three strokes (the line and the two 30-pixel barbs at 2.7 radians
// either side of the direction A to B, meeting at the middle) 4 pixels wide
// in black, then the same 2 pixels wide in `colour` (red in the low byte).
// The same on every kind of picture.
void linkarrow(QPainter &p, float xa, float ya, float xb, float yb, uint32_t colour);

// Draws the link from unit a to unit b (1..50) on the 3D picture `w`, at
// the altitude netalt (used as it is, also when 0). The picture takes part
// only when both ends at that altitude lie on it and in front of its
// camera; then its drawing layer is cleared first (the networks drawn on it
// disappear) and the link, masts and name plates are drawn. Returns whether
// the picture took part; a picture that does not is left untouched. The
// caller draws the two units again on every picture afterwards.
bool drawlink3d(frmPic *w, int a, int b, uint32_t colour);

}  // namespace zk
