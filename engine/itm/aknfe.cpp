// Knife-edge diffraction loss as a function of v^2 (v the Fresnel-Kirchhoff
// parameter): the two-segment fit of the published model.
#include <cmath>

#include "itm.h"

namespace zk::itm {

double aknfe(double v2)
{
    if (v2 < 5.76) return 6.02 + 9.11 * std::sqrt(v2) - 1.27 * v2;
    return 12.953 + 4.343 * std::log(v2);
}

}  // namespace zk::itm
