// Troposcatter attenuation function F(theta d) of the published model, three
// segments split at 10 km and 70 km of the angle-distance product (m).
#include <cmath>

#include "itm.h"

namespace zk::itm {

namespace {
constexpr double kA[3] = {133.4, 104.6, 71.8};
constexpr double kB[3] = {0.332e-3, 0.212e-3, 0.157e-3};
constexpr double kC[3] = {-4.343, -1.086, 2.171};
}  // namespace

double ahd(double td)
{
    const int i = td <= 10e3 ? 0 : (td <= 70e3 ? 1 : 2);
    return kA[i] + kB[i] * td + kC[i] * std::log(td);
}

}  // namespace zk::itm
