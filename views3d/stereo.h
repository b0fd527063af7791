// Red/cyan stereo pictures of the map and the stereo cursor. drawstereo
// splits the colours of the map's 2D picture into a red and a cyan copy
// shifted sideways in proportion to the ground elevation (the engine's
// top3d), in a new picture window; seen through red/cyan glasses the relief
// stands out. On stereo pictures the pointer is a pair of marks whose
// horizontal distance, the parallax, the numeric keypad's + and - change,
// so that the cursor seems to float at a chosen depth.
#pragma once

namespace zk {

class frmPic;

// The stereo cursor, one for the whole program: the centre in pixels of the
// picture's drawing area and the parallax in pixels (kept within -10..30).
// It starts at 0 and is never reset.
struct StereoCursor {
    float x = 0;
    float y = 0;
    float p = 0;
};
extern StereoCursor stereocur;

constexpr float kParallaxMin = -10;
constexpr float kParallaxMax = 30;

// The source text of the pictures drawstereo makes.
inline constexpr const char *kStereoSource = "Vue stéréoscopique (Rouge et bleu)";

// Draws the stereo picture of the map in memory from its 2D picture
// (findsource2d, which offers to draw one) into a new picture window of
// kind 1, one pixel per grid cell, with the source picture's corners. It
// runs as the long operation opstereo; the new window is the current
// picture while it is drawn and afterwards. A stopped drawing stays on the
// screen but is not kept in the picture.
void drawstereo();

// Places the four marks Shape1(0..3) of a stereo picture around the cursor
// centre and shows them: with relative set the centre moves by (x, y) and
// the parallax by dp (kept within -10..30); otherwise the centre becomes
// (x, y) and the parallax stays. On a picture that is not stereo it hides
// the marks and changes nothing.
void stereocursor(frmPic *w, float x, float y, float dp, bool relative);

}  // namespace zk
