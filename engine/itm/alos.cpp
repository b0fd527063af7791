// Line-of-sight attenuation at distance d (m), the published alos: a two-ray
// estimate (direct ray plus a ground reflection softened by the terrain
// roughness) weighted against the extended diffraction line. The call with
// d = 0 prepares the weight.
#include <cmath>

#include "arith.h"
#include "itm.h"

namespace zk::itm {

double alos(double d, State &st)
{
    const Prop &p = st.prop;
    const PropA &a = st.propa;
    AlosKeep &k = st.alos;

    if (d == 0.0) {
        k.wls = 0.021 / (0.021 + p.wn * p.dh / dmax(10e3, a.dlsa));
        return 0.0;
    }

    double q = (1.0 - 0.8 * std::exp(-d / 50e3)) * p.dh;
    const double s = 0.78 * q * std::exp(-std::sqrt(std::sqrt(q / 16.0)));
    q = p.he[0] + p.he[1];
    const double sps = q / std::sqrt(d * d + q * q);
    std::complex<double> r = (sps - p.zgnd) / (sps + p.zgnd) * std::exp(-dmin(10.0, p.wn * s * sps));
    q = cabs2(r);
    if (q < 0.25 || q < sps) r = r * std::sqrt(sps / q);
    const double line = a.emd * d + a.aed;
    q = p.wn * p.he[0] * p.he[1] * 2.0 / d;
    if (q > 1.57) q = 3.14 - 2.4649 / q;
    const double tworay = -4.343 * std::log(cabs2(std::complex<double>(std::cos(q), -std::sin(q)) + r));
    return (tworay - line) * k.wls + line;
}

}  // namespace zk::itm
