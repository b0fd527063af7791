// LR: the path loss between two antennas over a terrain profile, and when
// asked the loss from the first antenna to every point of the profile.
//
// Each cut of the profile (the first i intervals) runs the ITM point-to-point
// model once; on line-of-sight cuts the clearance term replaces or bounds the
// model's reference attenuation. The caller's record is read once into a
// local copy and only its output fields are written; all results are
// gathered locally and handed over only when every one of them is a number,
// so bad input never leaves half-written or non-finite values behind.
#include "lr.h"

#include <cmath>
#include <limits>

#include "arith.h"
#include "zelkor32.h"

namespace zk::itm {

namespace {

constexpr int kMaxIntervals = 160;

// The state the last call on this thread left, for tests that look inside
// the model. Each call works on a state of its own, so LR may run on several
// threads at once.
thread_local State t_lastState;

// Clamping as the library writes it: raise to the floor, then lower to the
// ceiling.
double clampReal(double v, double lo, double hi) { return dmax(lo, dmin(hi, v)); }
int clampInt(int v, int lo, int hi) { return imax(lo, imin(hi, v)); }

// Inputs the model cannot work with at all: a frequency or spacing of 0 or
// below (divisions by zero in the clearance term and the model), and any
// value that is not a finite number.
bool usable(const double *pfl, int n, const LinkParameters &in)
{
    if (!(in.freq > 0.0) || !std::isfinite(in.freq)) return false;
    if (!(pfl[2] > 0.0) || !std::isfinite(pfl[2])) return false;
    const double reals[] = {in.ns, in.eps, in.sigma, in.h1, in.h2, in.ptime, in.ploc, in.psit};
    for (double v : reals)
        if (!std::isfinite(v)) return false;
    // One pass without early exit over the elevations, which the compiler
    // can vectorise: |z| <= DBL_MAX fails for infinities and NaN alike.
    bool ok = true;
    for (int k = 0; k <= n; ++k) ok &= std::fabs(pfl[k + 3]) <= std::numeric_limits<double>::max();
    return ok;
}

}  // namespace

const State &modelState() { return t_lastState; }

}  // namespace zk::itm

extern "C" int32_t LR(double *pfl, double *lrloss, LinkParameters *prm)
{
    using namespace zk::itm;
    if (!pfl || !lrloss || !prm) return 0;
    const double count = pfl[1];
    if (!(count >= 1.0 && count <= kMaxIntervals)) return 0;
    const int n = toInt(count);
    const LinkParameters in = *prm;
    if (!usable(pfl, n, in)) return 0;

    // The model's profile: element 0 the interval count of the cut, element 1
    // the spacing, then the elevations of points 0..n.
    double work[kMaxIntervals + 3];
    work[0] = n;
    for (int k = 1; k <= n + 2; ++k) work[k] = pfl[k + 1];

    State st;
    st.prop.hg[0] = clampReal(in.h1, 0.5, 2999.0);
    st.prop.hg[1] = clampReal(in.h2, 0.5, 2999.0);
    qlrps(clampReal(in.freq, 20.0, 20000.0), 0.0, clampReal(in.ns, 250.0, 400.0), in.pol, in.eps, in.sigma, st);

    const double zt = qerfi(clampReal(in.ptime, 0.1, 99.9) / 100.0);
    const double zl = qerfi(clampReal(in.ploc, 0.1, 99.9) / 100.0);
    const double zc = qerfi(clampReal(in.psit, 0.1, 99.9) / 100.0);
    const int klim = clampInt(in.climate, 1, 7);
    const int kdv = clampInt(in.mdvar, 0, 3);
    const int first = imin(imax(1, in.firstpt), n);

    ClearanceInput clear;
    clear.pfl = pfl;
    clear.freq_mhz = in.freq;
    clear.ns = in.ns;
    clear.h1_m = in.h1;
    clear.h2_m = in.h2;
    clear.interf = in.interf != 0;

    double loss[kMaxIntervals + 1];
    bool finite = true;
    for (int i = first; i <= n; ++i) {
        st.prop.kwx = 0;
        st.propv.lvar = 5;
        work[0] = i;
        qlrpfl(work, klim, kdv, st);
        if (st.prop.los) {
            clear.cut = i;
            clear.dh_m = st.prop.dh;
            st.prop.aref = clearanceAref(clear, st.prop.aref);
        }
        loss[i] = avar(zt, zl, zc, st);
        finite = finite && std::isfinite(loss[i]);
    }

    const Prop &p = st.prop;
    const double outs[] = {p.he[0], p.he[1], p.dl[0], p.dl[1], p.the[0], p.the[1],
                           p.gme, p.fsloss_db, p.aref, p.dh};
    for (double v : outs) finite = finite && std::isfinite(v);
    t_lastState = st;
    if (!finite) return 0;

    pfl[0] = n;
    pfl[1] = n;
    lrloss[0] = first;
    lrloss[3] = 0.0;
    for (int i = first; i <= n; ++i) lrloss[i + 3] = loss[i];
    prm->loss = loss[n];
    prm->out1 = p.he[0];
    prm->out2 = p.he[1];
    prm->hd1 = p.dl[0];
    prm->hd2 = p.dl[1];
    prm->ha1 = p.the[0];
    prm->ha2 = p.the[1];
    prm->hx = p.gme;
    prm->fsloss = p.fsloss_db;
    prm->obsloss = p.aref;
    prm->out10 = p.dh;
    prm->kwx = p.kwx;
    prm->losflag = p.los ? 1 : 0;
    prm->scatflag = st.propa.wscat ? 1 : 0;
    prm->lvar = st.propv.lvar;
    return 1;
}
