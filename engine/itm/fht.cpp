// Height-gain over a smooth spherical earth (the published fht): x is the
// normalised distance term, pk the normalised ground impedance.
#include <cmath>

#include "itm.h"

namespace zk::itm {

double fht(double x, double pk)
{
    if (x < 200.0) {
        const double w = -std::log(pk);
        if (pk < 1e-5 || x * w * w * w > 5495.0) {
            double f = -117.0;
            if (x > 1.0) f += 17.372 * std::log(x);
            return f;
        }
        return 2.5e-5 * x * x / pk - 8.686 * w - 15.0;
    }
    double f = 0.05751 * x - 4.343 * std::log(x);
    if (x < 2000.0) {
        const double w = 0.0134 * x * std::exp(-0.005 * x);
        f = (1.0 - w) * f + w * (17.372 * std::log(x) - 117.0);
    }
    return f;
}

}  // namespace zk::itm
