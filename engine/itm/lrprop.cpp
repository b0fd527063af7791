// Reference attenuation at the path length (the published lrprop). After a
// set-up (mdp != 0) it recomputes the diffraction line from two distances
// beyond the horizons; below the sum of the smooth-earth horizon distances it
// fits the line-of-sight curve, at and beyond it the scatter line, each once
// per set-up. The result is never below 0 dB.
//
// Unlike the reference, the model computes the free-space loss itself:
// 20 log10(f MHz) + 20 log10(dist m) - 27.6 dB, which avar adds to its
// result so that the model answers the total path loss.
#include <cmath>

#include "arith.h"
#include "itm.h"

namespace zk::itm {

void lrprop(double d, State &st)
{
    Prop &p = st.prop;
    PropA &a = st.propa;

    if (p.mdp != 0) {
        for (int j = 0; j < 2; ++j) a.dls[j] = std::sqrt(2.0 * p.he[j] / p.gme);
        a.dlsa = a.dls[0] + a.dls[1];
        a.dla = p.dl[0] + p.dl[1];
        a.tha = dmax(p.the[0] + p.the[1], -a.dla * p.gme);
        a.wlos = false;
        a.wscat = false;
        // Range checks: they only raise the warning level.
        if (p.wn < 0.838 || p.wn > 210.0) p.kwx = imax(p.kwx, 1);
        for (int j = 0; j < 2; ++j)
            if (p.hg[j] < 1.0 || p.hg[j] > 1000.0) p.kwx = imax(p.kwx, 1);
        for (int j = 0; j < 2; ++j)
            if (std::fabs(p.the[j]) > 200e-3 || p.dl[j] < 0.1 * a.dls[j] || p.dl[j] > 3.0 * a.dls[j])
                p.kwx = imax(p.kwx, 3);
        if (p.ens < 250.0 || p.ens > 400.0 || p.gme < 75e-9 || p.gme > 250e-9
            || p.zgnd.real() <= std::fabs(p.zgnd.imag()) || p.wn < 0.419 || p.wn > 420.0)
            p.kwx = 4;
        for (int j = 0; j < 2; ++j)
            if (p.hg[j] < 0.5 || p.hg[j] > 3000.0) p.kwx = 4;
        a.dmin = std::fabs(p.he[0] - p.he[1]) / 200e-3;
        adiff(0.0, st);
        a.xae = std::pow(p.wn * p.gme * p.gme, -kThird);
        const double d3 = dmax(a.dlsa, 1.3787 * a.xae + a.dla);
        const double d4 = d3 + 2.7574 * a.xae;
        const double a3 = adiff(d3, st);
        const double a4 = adiff(d4, st);
        a.emd = (a4 - a3) / (d4 - d3);
        a.aed = a3 - a.emd * d3;
    }
    if (p.mdp >= 0) {
        p.mdp = 0;
        p.dist = d;
    }
    if (p.dist > 0.0) {
        if (p.dist > 1000e3) p.kwx = imax(p.kwx, 1);
        if (p.dist < a.dmin) p.kwx = imax(p.kwx, 3);
        if (p.dist < 1e3 || p.dist > 2000e3) p.kwx = 4;
    }
    if (p.dist < a.dlsa) {
        if (!a.wlos) {
            alos(0.0, st);
            const double d2 = a.dlsa;
            const double a2 = a.aed + d2 * a.emd;
            double d0 = 1.908 * p.wn * p.he[0] * p.he[1];
            double d1;
            if (a.aed >= 0.0) {
                d0 = dmin(d0, 0.5 * a.dla);
                d1 = d0 + 0.25 * (a.dla - d0);
            } else {
                d1 = dmax(-a.aed / a.emd, 0.25 * a.dla);
            }
            const double a1 = alos(d1, st);
            bool fitted = false;
            if (d0 < d1) {
                const double a0 = alos(d0, st);
                const double q = std::log(d2 / d0);
                a.ak2 = dmax(0.0, ((d2 - d0) * (a1 - a0) - (d1 - d0) * (a2 - a0))
                                      / ((d2 - d0) * std::log(d1 / d0) - (d1 - d0) * q));
                fitted = a.aed >= 0.0 || a.ak2 > 0.0;
                if (fitted) {
                    a.ak1 = (a2 - a0 - a.ak2 * q) / (d2 - d0);
                    if (a.ak1 < 0.0) {
                        a.ak1 = 0.0;
                        a.ak2 = fdim(a2, a0) / q;
                        if (a.ak2 == 0.0) a.ak1 = a.emd;
                    }
                }
            }
            if (!fitted) {
                a.ak1 = fdim(a2, a1) / (d2 - d1);
                a.ak2 = 0.0;
                if (a.ak1 == 0.0) a.ak1 = a.emd;
            }
            a.ael = a2 - a.ak1 * d2 - a.ak2 * std::log(d2);
            a.wlos = true;
        }
        if (p.dist > 0.0) p.aref = a.ael + a.ak1 * p.dist + a.ak2 * std::log(p.dist);
    }
    if (p.dist <= 0.0 || p.dist >= a.dlsa) {
        if (!a.wscat) {
            ascat(0.0, st);
            const double d5 = a.dla + 200e3;
            const double d6 = d5 + 200e3;
            const double a6 = ascat(d6, st);
            const double a5 = ascat(d5, st);
            if (a5 < 1000.0) {
                a.ems = (a6 - a5) / 200e3;
                a.dx = dmax(a.dlsa, dmax(a.dla + 0.3 * a.xae * std::log(47.7 * p.wn),
                                         (a5 - a.aed - a.ems * d5) / (a.emd - a.ems)));
                a.aes = (a.emd - a.ems) * a.dx + a.aed;
            } else {
                a.ems = a.emd;
                a.aes = a.aed;
                a.dx = 10.e6;
            }
            a.wscat = true;
        }
        if (p.dist > a.dx)
            p.aref = a.aes + a.ems * p.dist;
        else
            p.aref = a.aed + a.emd * p.dist;
    }
    p.aref = dmax(p.aref, 0.0);
    if (p.dist > 0.0) p.fsloss_db = 20.0 * std::log10(p.fmhz) + 20.0 * std::log10(p.dist) - 27.6;
}

}  // namespace zk::itm
