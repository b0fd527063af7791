// The picture of a path: geometry (Earth bulge, first Fresnel radius and
// clearance of every sample, the drawn range), the background (earth,
// ground, sky, cover marks), the overlays (beam, zone lines, clearance line,
// masts) and the texts of the captions.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <array>

#include "pathstate.h"

namespace zk::pathviewer {

// One drawing's working values. Distances in km, altitudes in m.
struct Geometry {
    int n = 0;       // used samples
    double T = 0;    // path length
    double a1 = 0;   // altitude of the left antenna top
    double a2 = 0;   // altitude of the right antenna top
    double s1 = 0;   // a1 / T; the beam at d is s1 (T - d) + s2 d
    double s2 = 0;   // a2 / T
    double c = 0;    // bulge at d is d (T - d) c
    double z = 0;    // first Fresnel radius at d is sqrt(d (T - d) z)
    int W = 0;       // picture size, pixels
    int H = 0;
};

// The run of samples with strictly increasing distances from sample 2 on,
// plus sample 1 (whose own distance is not examined).
int usedSamples(const PathState &s);

// The vertical scale items: 1 automatic, 2 1:1, 3 10:1, 4 20:1, 5 50:1,
// 6 100:1 (7 when none is checked, which counts as 1:1).
// Computes bulges, Fresnel radii, clearances, the smallest clearance, the
// drawn range and the end altitudes into `s` from s.curveground. Returns
// false, changing nothing, when fewer than 3 samples are usable.
bool computeProfile(PathState &s, int scaleItem, int W, int H, Geometry &g);

// Picture pixels of a distance and of an altitude, not rounded: the drawn
// range runs from 2 to W - 3 and from 2 (altmax) to H - 3 (altmin).
float xpixel(const PathState &s, float d, int W);
float ypixel(const PathState &s, float a, int H);

// A pixel coordinate made whole (halves to even). False when the value is
// not finite or beyond what the drawing surface takes: the drawing then
// skips that shape, as the system's drawing skips a statement that fails.
bool toPixel(double v, int &out);

// The cover mark colour of a cover code: the bright half of the 16-colour
// palette chosen by the code's three lowest bits.
uint32_t coverColor(uint8_t code);
QColor qcolor(uint32_t bgr);

// The background of the picture: earth, ground and sky quadrilaterals for
// every interval, then the cover marks.
void paintBackground(QImage &img, const PathState &s, const Geometry &g);
// Beam, zone lines and clearance line as chosen in s.fresnelopt, and masts.
void paintOverlays(QImage &img, const PathState &s, const Geometry &g);

// Site k's caption: name, "Alt" and "Ant" lines.
QString siteCaption(const PathState &s, int k);
// Length, K, frequency and free-space loss.
QString propagationCaption(const PathState &s, const Geometry &g);
// Free-space loss in dB of a path of t_km at f_ghz.
double freeSpaceLoss(double t_km, double f_ghz);

}  // namespace zk::pathviewer
