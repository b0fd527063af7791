// Cutting a line segment to a rectangle (Liang-Barsky), shared by the grid
// painters so that lines far outside a picture cost nothing to draw.
#pragma once

#include <algorithm>

namespace zk {

// Cuts the segment to the rectangle [lo, hi] on both axes; false when
// nothing of it lies inside.
inline bool clipsegment(double &x1, double &y1, double &x2, double &y2, double xlo, double ylo, double xhi, double yhi)
{
    const double dx = x2 - x1, dy = y2 - y1;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - xlo, xhi - x1, y1 - ylo, yhi - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, r);
        else t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    const double ax = x1 + t0 * dx, ay = y1 + t0 * dy;
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 = ax;
    y1 = ay;
    return true;
}

}  // namespace zk
