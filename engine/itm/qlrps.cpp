// Frequency and ground set-up (the published qlrps): wave number, surface
// refractivity reduced to the system elevation, effective earth curvature
// and the ground's surface transfer impedance for the polarisation.
#include <cmath>

#include "itm.h"

namespace zk::itm {

void qlrps(double fmhz, double zsys, double en0, int ipol, double eps, double sgm, State &st)
{
    Prop &p = st.prop;
    constexpr double kGma = 157e-9;  // actual earth curvature, 1/m
    p.fmhz = fmhz;
    p.wn = fmhz / 47.7;
    p.ens = en0;
    if (zsys != 0.0) p.ens *= std::exp(-zsys / 9460.0);
    p.gme = kGma * (1.0 - 0.04665 * std::exp(p.ens / 179.3));
    // Complex relative permittivity: conductivity enters as 376.62 sigma / wn.
    const std::complex<double> zq(eps, 376.62 * sgm / p.wn);
    p.zgnd = std::sqrt(zq - 1.0);
    if (ipol != 0) p.zgnd = p.zgnd / zq;
}

}  // namespace zk::itm
