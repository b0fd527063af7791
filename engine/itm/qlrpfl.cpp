// Point-to-point set-up from a profile (the published qlrpfl): path length,
// horizons, terrain irregularity and effective heights, then the complete
// set-up of lrprop. A profile whose horizon distances add up to more than
// 1.5 times its length is treated as line of sight: the effective heights
// come from a fit over the whole path and the horizons from the smooth-earth
// formula; otherwise each end gets a fit over its own foreground.
#include <cmath>

#include "arith.h"
#include "itm.h"

namespace zk::itm {

void qlrpfl(const double *pfl, int klimx, int mdvarx, State &st)
{
    Prop &p = st.prop;
    PropV &v = st.propv;
    p.dist = pfl[0] * pfl[1];
    const int np = toInt(pfl[0]);
    hzns(pfl, st);
    double xl[2];
    for (int j = 0; j < 2; ++j) xl[j] = dmin(15.0 * p.hg[j], 0.1 * p.dl[j]);
    xl[1] = p.dist - xl[1];
    p.dh = d1thx(pfl, xl[0], xl[1]);
    double za = 0.0, zb = 0.0, q = 0.0;
    p.los = p.dl[0] + p.dl[1] > 1.5 * p.dist;
    if (p.los) {
        z1sq1(pfl, xl[0], xl[1], za, zb);
        p.he[0] = p.hg[0] + fdim(pfl[2], za);
        p.he[1] = p.hg[1] + fdim(pfl[np + 2], zb);
        for (int j = 0; j < 2; ++j)
            p.dl[j] = std::sqrt(2.0 * p.he[j] / p.gme) * std::exp(-0.07 * std::sqrt(p.dh / dmax(p.he[j], 5.0)));
        q = p.dl[0] + p.dl[1];
        if (q <= p.dist) {
            // The smooth horizons must reach across the path: scale the
            // effective heights until they do.
            q = (p.dist / q) * (p.dist / q);
            for (int j = 0; j < 2; ++j) {
                p.he[j] *= q;
                p.dl[j] = std::sqrt(2.0 * p.he[j] / p.gme) * std::exp(-0.07 * std::sqrt(p.dh / dmax(p.he[j], 5.0)));
            }
        }
        for (int j = 0; j < 2; ++j) {
            q = std::sqrt(2.0 * p.he[j] / p.gme);
            p.the[j] = (0.65 * p.dh * (q / p.dl[j] - 1.0) - 2.0 * p.he[j]) / q;
        }
    } else {
        z1sq1(pfl, xl[0], 0.9 * p.dl[0], za, q);
        z1sq1(pfl, p.dist - 0.9 * p.dl[1], xl[1], q, zb);
        p.he[0] = p.hg[0] + fdim(pfl[2], za);
        p.he[1] = p.hg[1] + fdim(pfl[np + 2], zb);
    }
    p.mdp = -1;
    v.lvar = imax(v.lvar, 3);
    if (mdvarx >= 0) {
        v.mdvar = mdvarx;
        v.lvar = imax(v.lvar, 4);
    }
    if (klimx > 0) {
        v.klim = klimx;
        v.lvar = 5;
    }
    lrprop(0.0, st);
}

}  // namespace zk::itm
