// Inverse of the complementary standard normal distribution (the published
// qerfi): the deviate exceeded with probability q, by the rational
// approximation of Abramowitz and Stegun 26.2.23 (error below 4.5e-4).
#include <cmath>

#include "arith.h"
#include "itm.h"

namespace zk::itm {

double qerfi(double q)
{
    constexpr double c0 = 2.515516698, c1 = 0.802853, c2 = 0.010328;
    constexpr double d1 = 1.432788, d2 = 0.189269, d3 = 0.001308;
    const double x = 0.5 - q;
    double t = dmax(0.5 - std::fabs(x), 0.000001);
    t = std::sqrt(-2.0 * std::log(t));
    double v = t - ((c2 * t + c1) * t + c0) / (((d3 * t + d2) * t + d1) * t + 1.0);
    if (x < 0.0) v = -v;
    return v;
}

}  // namespace zk::itm
