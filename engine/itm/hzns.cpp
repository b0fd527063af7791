// Radio horizons of both antennas over the profile (the published hzns):
// starting from the straight ray over the curved earth, every interior
// point that rises above the current horizon ray of an end becomes that
// end's horizon. The far end is only searched once the near end has found
// an obstacle; a profile without interior points keeps the path length as
// both horizon distances.
#include "arith.h"
#include "itm.h"

namespace zk::itm {

void hzns(const double *pfl, State &st)
{
    Prop &p = st.prop;
    const int np = toInt(pfl[0]);
    const double xi = pfl[1];
    const double za = pfl[2] + p.hg[0];
    const double zb = pfl[np + 2] + p.hg[1];
    const double qc = 0.5 * p.gme;
    double q = qc * p.dist;
    p.the[1] = (zb - za) / p.dist;
    p.the[0] = p.the[1] - q;
    p.the[1] = -p.the[1] - q;
    p.dl[0] = p.dist;
    p.dl[1] = p.dist;
    if (np < 2) return;
    // Locals rather than the state's fields: the profile could alias the
    // state as far as the compiler knows, which would force a reload of the
    // angles at every point.
    double the0 = p.the[0], the1 = p.the[1];
    double dl0 = p.dl[0], dl1 = p.dl[1];
    bool clear = true;
    for (int i = 1; i < np; ++i) {
        // Distances from both ends taken as multiples of the spacing rather
        // than summed step by step: the same values to the last bits, without
        // a chain of additions through the whole loop.
        const double sa = i * xi;
        const double sb = p.dist - sa;
        q = pfl[i + 2] - (qc * sa + the0) * sa - za;
        if (q > 0.0) {
            the0 += q / sa;
            dl0 = sa;
            clear = false;
        }
        if (!clear) {
            q = pfl[i + 2] - (qc * sb + the1) * sb - zb;
            if (q > 0.0) {
                the1 += q / sb;
                dl1 = sb;
            }
        }
    }
    p.the[0] = the0;
    p.the[1] = the1;
    p.dl[0] = dl0;
    p.dl[1] = dl1;
}

}  // namespace zk::itm
