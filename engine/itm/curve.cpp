// The variability curve shape of avar: c1, c2 scale it, x1 sets its rise,
// x2 and x3 the place and width of its hump, de is the effective distance (m).
#include "itm.h"

namespace zk::itm {

double curve(double c1, double c2, double x1, double x2, double x3, double de)
{
    const double h = (de - x2) / x3;
    const double r = de / x1;
    return (c1 + c2 / (1.0 + h * h)) * (r * r) / (1.0 + r * r);
}

}  // namespace zk::itm
