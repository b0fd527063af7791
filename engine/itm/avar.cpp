// Quantile of the attenuation for the time, location and situation deviates
// zt, zl, zc (the published avar). The level lvar says how much to
// recompute: 5 the climate coefficients, 4 the statistics mode, 3 the
// frequency gains, 2 the distance scale, 1 the effective distance; it is 0
// afterwards. Unlike the reference, the result includes the
// free-space loss that lrprop computed, so it is the total path loss (dB).
#include <cmath>

#include "arith.h"
#include "itm.h"

namespace zk::itm {

namespace {

// Climate tables of the published model, index klim - 1: 1 equatorial,
// 2 continental subtropical, 3 maritime subtropical, 4 desert,
// 5 continental temperate, 6 maritime temperate over land, 7 over sea.
constexpr double bv1[7] = {-9.67, -0.62, 1.26, -9.21, -0.62, -0.39, 3.15};
constexpr double bv2[7] = {12.7, 9.19, 15.5, 9.05, 9.19, 2.86, 857.9};
constexpr double xv1[7] = {144.9e3, 228.9e3, 262.6e3, 84.1e3, 228.9e3, 141.7e3, 2222.e3};
constexpr double xv2[7] = {190.3e3, 205.2e3, 185.2e3, 101.1e3, 205.2e3, 315.9e3, 164.8e3};
constexpr double xv3[7] = {133.8e3, 143.6e3, 99.8e3, 98.6e3, 143.6e3, 167.4e3, 116.3e3};
constexpr double bsm1[7] = {2.13, 2.66, 6.11, 1.98, 2.68, 6.86, 8.51};
constexpr double bsm2[7] = {159.5, 7.67, 6.65, 13.11, 7.16, 10.38, 169.8};
constexpr double xsm1[7] = {762.2e3, 100.4e3, 138.2e3, 139.1e3, 93.7e3, 187.8e3, 609.8e3};
constexpr double xsm2[7] = {123.6e3, 172.5e3, 242.2e3, 132.7e3, 186.8e3, 169.6e3, 119.9e3};
constexpr double xsm3[7] = {94.5e3, 136.4e3, 178.6e3, 193.5e3, 133.5e3, 108.9e3, 106.6e3};
constexpr double bsp1[7] = {2.11, 6.87, 10.08, 3.68, 4.75, 8.58, 8.43};
constexpr double bsp2[7] = {102.3, 15.53, 9.60, 159.3, 8.12, 13.97, 8.19};
constexpr double xsp1[7] = {636.9e3, 138.7e3, 165.3e3, 464.4e3, 93.2e3, 216.0e3, 136.2e3};
constexpr double xsp2[7] = {134.8e3, 143.7e3, 225.7e3, 93.1e3, 135.9e3, 152.0e3, 188.5e3};
constexpr double xsp3[7] = {95.6e3, 98.6e3, 129.7e3, 94.2e3, 113.4e3, 122.7e3, 122.9e3};
constexpr double bsd1[7] = {1.224, 0.801, 1.380, 1.000, 1.224, 1.518, 1.518};
constexpr double bzd1[7] = {1.282, 2.161, 1.282, 20., 1.282, 1.282, 1.282};
constexpr double bfm1[7] = {1.0, 1.0, 1.0, 1.0, 0.92, 1.0, 1.0};
constexpr double bfm2[7] = {0.0, 0.0, 0.0, 0.0, 0.25, 0.0, 0.0};
constexpr double bfm3[7] = {0.0, 0.0, 0.0, 0.0, 1.77, 0.0, 0.0};
constexpr double bfp1[7] = {1.0, 0.93, 1.0, 0.93, 0.93, 1.0, 1.0};
constexpr double bfp2[7] = {0.0, 0.31, 0.0, 0.19, 0.31, 0.0, 0.0};
constexpr double bfp3[7] = {0.0, 2.00, 0.0, 1.79, 2.00, 0.0, 0.0};

constexpr double kRt = 7.8;   // situation-variability weights of the
constexpr double kRl = 24.0;  // time and location terms

}  // namespace

double avar(double zzt, double zzl, double zzc, State &st)
{
    Prop &p = st.prop;
    PropV &v = st.propv;

    if (v.lvar > 0) {
        // Each level recomputes its own terms and those of every lower level.
        if (v.lvar >= 5) {
            if (v.klim <= 0 || v.klim > 7) {
                v.klim = 5;
                p.kwx = imax(p.kwx, 2);
            }
            const int c = v.klim - 1;
            v.cv1 = bv1[c]; v.cv2 = bv2[c]; v.yv1 = xv1[c]; v.yv2 = xv2[c]; v.yv3 = xv3[c];
            v.csm1 = bsm1[c]; v.csm2 = bsm2[c]; v.ysm1 = xsm1[c]; v.ysm2 = xsm2[c]; v.ysm3 = xsm3[c];
            v.csp1 = bsp1[c]; v.csp2 = bsp2[c]; v.ysp1 = xsp1[c]; v.ysp2 = xsp2[c]; v.ysp3 = xsp3[c];
            v.csd1 = bsd1[c]; v.zd = bzd1[c];
            v.cfm1 = bfm1[c]; v.cfm2 = bfm2[c]; v.cfm3 = bfm3[c];
            v.cfp1 = bfp1[c]; v.cfp2 = bfp2[c]; v.cfp3 = bfp3[c];
        }
        if (v.lvar >= 4) {
            v.kdv = v.mdvar;
            v.ws = v.kdv >= 20;
            if (v.ws) v.kdv -= 20;
            v.w1 = v.kdv >= 10;
            if (v.w1) v.kdv -= 10;
            if (v.kdv < 0 || v.kdv > 3) {
                v.kdv = 0;
                p.kwx = imax(p.kwx, 2);
            }
        }
        if (v.lvar >= 3) {
            const double q = std::log(0.133 * p.wn);
            v.gm = v.cfm1 + v.cfm2 / ((v.cfm3 * q) * (v.cfm3 * q) + 1.0);
            v.gp = v.cfp1 + v.cfp2 / ((v.cfp3 * q) * (v.cfp3 * q) + 1.0);
        }
        if (v.lvar >= 2)
            v.dexa = std::sqrt(18e6 * p.he[0]) + std::sqrt(18e6 * p.he[1]) + std::pow(575.7e12 / p.wn, kThird);
        if (p.dist < v.dexa)
            v.de = 130e3 * p.dist / v.dexa;
        else
            v.de = 130e3 + p.dist - v.dexa;

        v.vmd = curve(v.cv1, v.cv2, v.yv1, v.yv2, v.yv3, v.de);
        v.sgtm = curve(v.csm1, v.csm2, v.ysm1, v.ysm2, v.ysm3, v.de) * v.gm;
        v.sgtp = curve(v.csp1, v.csp2, v.ysp1, v.ysp2, v.ysp3, v.de) * v.gp;
        v.sgtd = v.sgtp * v.csd1;
        v.tgtd = (v.sgtp - v.sgtd) * v.zd;
        if (v.w1) {
            v.sgl = 0.0;
        } else {
            const double q = (1.0 - 0.8 * std::exp(-p.dist / 50e3)) * p.dh * p.wn;
            v.sgl = 10.0 * q / (q + 13.0);
        }
        if (v.ws) {
            v.vs0 = 0.0;
        } else {
            const double r = 5.0 + 3.0 * std::exp(-v.de / 100e3);
            v.vs0 = r * r;
        }
        v.lvar = 0;
    }

    double zt = zzt, zl = zzl, zc = zzc;
    switch (v.kdv) {
    case 0:  // single message: one deviate for all three
        zt = zc;
        zl = zc;
        break;
    case 1:  // individual: location and situation together
        zl = zc;
        break;
    case 2:  // mobile: time and location together
        zl = zt;
        break;
    default:
        break;
    }
    if (std::fabs(zt) > 3.1 || std::fabs(zl) > 3.1 || std::fabs(zc) > 3.1) p.kwx = imax(p.kwx, 1);

    double sgt;
    if (zt < 0.0)
        sgt = v.sgtm;
    else if (zt <= v.zd)
        sgt = v.sgtp;
    else
        sgt = v.sgtd + v.tgtd / zt;
    const double vs = v.vs0 + (sgt * zt) * (sgt * zt) / (kRt + zc * zc) + (v.sgl * zl) * (v.sgl * zl) / (kRl + zc * zc);

    double yr;
    if (v.kdv == 0) {
        yr = 0.0;
        v.sgc = std::sqrt(sgt * sgt + v.sgl * v.sgl + vs);
    } else if (v.kdv == 1) {
        yr = sgt * zt;
        v.sgc = std::sqrt(v.sgl * v.sgl + vs);
    } else if (v.kdv == 2) {
        yr = std::sqrt(sgt * sgt + v.sgl * v.sgl) * zt;
        v.sgc = std::sqrt(vs);
    } else {
        yr = sgt * zt + v.sgl * zl;
        v.sgc = std::sqrt(vs);
    }
    double avarv = p.aref - v.vmd - yr - v.sgc * zc;
    // Negative attenuations are compressed toward -29 / 10 dB.
    if (avarv < 0.0) avarv = avarv * (29.0 - avarv) / (29.0 - 10.0 * avarv);
    return avarv + p.fsloss_db;
}

}  // namespace zk::itm
