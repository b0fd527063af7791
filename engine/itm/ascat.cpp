// Troposcatter attenuation at distance d (m), the published ascat. The call
// with d = 0 prepares the asymmetry terms; an evaluation where both
// frequency-gain parameters are below 0.2 answers 1001 dB (no scatter).
#include <cmath>

#include "arith.h"
#include "itm.h"

namespace zk::itm {

double ascat(double d, State &st)
{
    const Prop &p = st.prop;
    const PropA &a = st.propa;
    AscatKeep &k = st.ascat;

    if (d == 0.0) {
        k.ad = p.dl[0] - p.dl[1];
        k.rr = p.he[1] / p.he[0];
        if (k.ad < 0.0) {
            k.ad = -k.ad;
            k.rr = 1.0 / k.rr;
        }
        k.etq = (5.67e-6 * p.ens - 2.32e-3) * p.ens + 0.031;
        k.h0s = -15.0;
        return 0.0;
    }

    double h0;
    if (k.h0s > 15.0) {
        h0 = k.h0s;
    } else {
        const double th = p.the[0] + p.the[1] + d * p.gme;
        double r2 = 2.0 * p.wn * th;
        const double r1 = r2 * p.he[0];
        r2 *= p.he[1];
        if (r1 < 0.2 && r2 < 0.2) return 1001.0;
        double ss = (d - k.ad) / (d + k.ad);
        double q = k.rr / ss;
        ss = dmax(0.1, ss);
        q = dmin(dmax(0.1, q), 10.0);
        const double z0 = (d - k.ad) * (d + k.ad) * th * 0.25 / d;
        const double e = dmin(1.7, z0 / 8.0e3);
        const double e2 = e * e;
        const double et = (k.etq * std::exp(-(e2 * e2 * e2)) + 1.0) * z0 / 1.7556e3;
        const double ett = dmax(et, 1.0);
        h0 = (h0f(r1, ett) + h0f(r2, ett)) * 0.5;
        h0 += dmin(h0, (1.38 - std::log(ett)) * std::log(ss) * std::log(q) * 0.49);
        h0 = fdim(h0, 0.0);
        if (et < 1.0) {
            const double g = (1.0 + 1.4142 / r1) * (1.0 + 1.4142 / r2);
            h0 = et * h0 + (1.0 - et) * 4.343 * std::log(g * g * (r1 + r2) / (r1 + r2 + 2.8284));
        }
        if (h0 > 15.0 && k.h0s >= 0.0) h0 = k.h0s;
    }
    k.h0s = h0;
    const double th = a.tha + d * p.gme;
    return ahd(th * d) + 4.343 * std::log(47.7 * p.wn * (th * th) * (th * th))
           - 0.1 * (p.ens - 301.0) * std::exp(-th * d / 40e3) + h0;
}

}  // namespace zk::itm
