// Diffraction attenuation at distance d (m), the published adiff: a call with
// d = 0 prepares the terms that depend on the path only (kept in
// State::adiff); later calls blend a double knife-edge and a smooth-earth
// estimate according to the terrain roughness.
#include <cmath>

#include "arith.h"
#include "itm.h"

namespace zk::itm {

double adiff(double d, State &st)
{
    Prop &p = st.prop;
    const PropA &a = st.propa;
    AdiffKeep &k = st.adiff;

    if (d == 0.0) {
        double q = p.hg[0] * p.hg[1];
        k.qk = p.he[0] * p.he[1] - q;
        if (p.mdp < 0) q += 10.0;
        k.wd1 = std::sqrt(1.0 + k.qk / q);
        k.xd1 = a.dla + a.tha / p.gme;
        q = (1.0 - 0.8 * std::exp(-a.dlsa / 50e3)) * p.dh;
        q *= 0.78 * std::exp(-std::sqrt(std::sqrt(q / 16.0)));
        k.afo = dmin(15.0, 2.171 * std::log(1.0 + 4.77e-4 * p.hg[0] * p.hg[1] * p.wn * q));
        k.qk = 1.0 / std::abs(p.zgnd);
        k.aht = 20.0;
        k.xht = 0.0;
        for (int j = 0; j < 2; ++j) {
            const double aj = 0.5 * p.dl[j] * p.dl[j] / p.he[j];
            const double wa = std::pow(aj * p.wn, kThird);
            const double pk = k.qk / wa;
            const double x = (1.607 - pk) * 151.0 * wa * p.dl[j] / aj;
            k.xht += x;
            k.aht += fht(x, pk);
        }
        return 0.0;
    }

    const double th = a.tha + d * p.gme;
    const double ds = d - a.dla;
    double q = 0.0795775 * p.wn * ds * th * th;
    const double knife = aknfe(q * p.dl[0] / (ds + p.dl[0])) + aknfe(q * p.dl[1] / (ds + p.dl[1]));
    const double ad = ds / th;
    const double wa = std::pow(ad * p.wn, kThird);
    const double pk = k.qk / wa;
    q = (1.607 - pk) * 151.0 * wa * th + k.xht;
    const double smooth = 0.05751 * q - 4.343 * std::log(q) - k.aht;
    q = (k.wd1 + k.xd1 / d) * dmin((1.0 - 0.8 * std::exp(-d / 50e3)) * p.dh * p.wn, 6283.2);
    const double wd = 25.1 / (25.1 + std::sqrt(q));
    return smooth * wd + (1.0 - wd) * knife + k.afo;
}

}  // namespace zk::itm
