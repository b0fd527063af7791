#include "map/bearing.h"

#include <cmath>

namespace zk {

namespace {
// Pi as the system writes it.
constexpr double kPi = 3.14159265358979;
}  // namespace

double azimuth(double dnorth, double deast)
{
    if (std::fabs(deast) < std::fabs(dnorth)) {
        const double t = std::atan(deast / dnorth);
        if (dnorth > 0) return t < 0 ? t + 2 * kPi : t;
        return t + kPi;
    }
    if (deast == 0) return 0;  // both 0 (or not numbers)
    const double t = std::atan(dnorth / deast);
    return deast > 0 ? kPi / 2 - t : 3 * kPi / 2 - t;
}

}  // namespace zk
