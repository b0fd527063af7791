// Terrain-clearance term of LR on line-of-sight cuts. The model's reference
// attenuation is judged against the clearance of the straight ray between
// the two antennas over the earth bulge:
//   - an obstacle that reaches into the first Fresnel zone (largest
//     diffraction parameter v >= -0.85) gives the knife-edge loss
//     6.9 + 20 log10(sqrt((v)^2 + 1) + v), scaled up by (1 + 2 g) where the
//     reflection weight g = V / (V + dh) grows as the terrain gets smoother
//     against the Fresnel scale V; normal mode keeps the larger of it and the
//     model's value, interference mode the smaller;
//   - a clear ray gives the two-ray sum of the direct ray and a ground
//     reflection of amplitude 0.1 + 0.9 g whose phase follows from v, which
//     may be a gain (negative dB); interference mode keeps only gains.
// A cut without interior points has no obstacle and no meaningful phase: it
// takes the clear-path value 0 dB (free space) in both modes.
//
// 20 log10(sqrt(v^2 + 1) - v) is written through asinh: ln(sqrt(v^2 + 1) - v)
// = -asinh(v), which stays exact where the difference would cancel (large v).
#include <cmath>
#include <limits>

#include "lr.h"

namespace zk::itm {

namespace {
constexpr double kNoObstacle = -1e20;
// 1/179.3, the refractivity scale of the effective earth curvature.
constexpr double kInvRefScale = 0.005577244841048522;
}  // namespace

double clearanceAref(const ClearanceInput &in, double aref_db, double *vmax_out)
{
    const double *pfl = in.pfl;
    const int i = in.cut;
    const double d_km = i * pfl[2] * 0.001;
    const double f = in.freq_mhz;

    // Fresnel scale and reflection weight.
    const double fresnel = std::sqrt(d_km * 74822.51 / f);
    double g = 1.0;
    if (in.dh_m > 0.0 && std::isfinite(fresnel)) g = fresnel / (fresnel + in.dh_m);

    // Earth bulge coefficient for d1 d2 in km^2 giving metres.
    const double bulge = (1.0 - 0.04665 * std::exp(in.ns * kInvRefScale)) / 12.75;
    const double a = (pfl[3] + in.h1_m) / d_km;
    const double b = (pfl[i + 3] + in.h2_m) / d_km;

    // v = h sqrt(c (1/d1 + 1/d2)) grows with its signed square, which is
    // h |h| c i^2 / (d_km k (i - k)) with d1 = k d_km / i (the distances are
    // taken as multiples of one step, d_km / i): the interior
    // points are compared on h |h| / (k (i - k)), by cross-multiplying (both
    // denominators are positive), and only the largest one pays for the
    // division and the square root.
    const double c = f * 6.6667e-6;
    double vmax = kNoObstacle;
    double bestNum = -std::numeric_limits<double>::infinity();
    double bestDen = 1.0;
    int kbest = 0;
    const double step_km = d_km / i;
    for (int k = 1; k < i; ++k) {
        const double d1 = k * step_km;
        const double d2 = d_km - d1;
        const double h = d1 * d2 * bulge + pfl[k + 3] - d2 * a - d1 * b;
        const double num = h * std::fabs(h);
        const double den = double(k * (i - k));
        if (num * bestDen > bestNum * den) {
            bestNum = num;
            bestDen = den;
            kbest = k;
        }
    }
    if (kbest > 0) {
        const double d1 = kbest * step_km;
        const double d2 = d_km - d1;
        const double h = d1 * d2 * bulge + pfl[kbest + 3] - d2 * a - d1 * b;
        const double v = h * std::sqrt(c * (1.0 / d1 + 1.0 / d2));
        if (v > vmax) vmax = v;
    }
    if (vmax_out) *vmax_out = vmax;

    if (vmax >= -0.85) {
        const double knife = (6.9 + 8.68589 * std::asinh(vmax)) * (1.0 + 2.0 * g);
        if (in.interf) return knife < aref_db ? knife : aref_db;
        return knife > aref_db ? knife : aref_db;
    }

    const double phase = 1.5708 * vmax * vmax;
    if (!(vmax > kNoObstacle) || !std::isfinite(phase)) return 0.0;  // clear path
    const double re = std::cos(phase) - 0.1 - 0.9 * g;
    const double im = std::sin(phase);
    double s = re * re + im * im;
    if (s < 0.001) s = 0.001;
    double term = -(4.343945 * std::log(s));
    if (in.interf && term >= 0.0) term = 0.0;
    return term;
}

}  // namespace zk::itm
