// Frequency-gain function of troposcatter (the published h0f): r is the
// normalised antenna height, et the scatter efficiency factor; the curves for
// whole values of et are interpolated linearly.
#include <cmath>

#include "arith.h"
#include "itm.h"

namespace zk::itm {

namespace {
constexpr double kA[5] = {25.0, 80.0, 177.0, 395.0, 705.0};
constexpr double kB[5] = {24.0, 45.0, 68.0, 80.0, 105.0};
}  // namespace

double h0f(double r, double et)
{
    int it = toInt(et);
    double q = 0.0;
    if (it <= 0) {
        it = 1;
    } else if (it >= 5) {
        it = 5;
    } else {
        q = et - it;
    }
    const double x = (1.0 / r) * (1.0 / r);
    double h = 4.343 * std::log((kA[it - 1] * x + kB[it - 1]) * x + 1.0);
    if (q != 0.0) h = (1.0 - q) * h + q * 4.343 * std::log((kA[it] * x + kB[it]) * x + 1.0);
    return h;
}

}  // namespace zk::itm
