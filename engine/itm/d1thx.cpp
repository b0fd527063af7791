// Terrain irregularity between distances x1 and x2 (m), the published d1thx:
// the profile is resampled at 10 ka - 5 points (ka = 4..25), a least-squares
// line is removed, and the spread between the upper and lower decile of the
// residuals is scaled up for short paths (interdecile range, delta h).
//
// The resampled points go to a fixed work array: with ka limited to 25 the
// count is at most 245, plus the two leading elements.
#include <cmath>

#include "arith.h"
#include "itm.h"

namespace zk::itm {

double d1thx(const double *pfl, double x1, double x2)
{
    const int np = toInt(pfl[0]);
    double xa = x1 / pfl[1];
    double xb = x2 / pfl[1];
    if (!(xb - xa >= 2.0)) return 0.0;
    const int ka = imin(imax(4, toInt(0.1 * (xb - xa + 8.0))), 25);
    const int n = 10 * ka - 5;
    const int kb = n - ka + 1;
    const double sn = n - 1;
    double s[kD1thxWork];
    s[0] = sn;
    s[1] = 1.0;
    // Sample j lies at x = xa + j step (in profile intervals) and is
    // interpolated on the interval (k - 1, k] that holds it, k never below
    // the first one and at most np (beyond np the last interval is
    // extended). The reference carries x - k along by repeated additions;
    // computing each position afresh gives the same samples without a chain
    // of dependent floating-point additions through the loop.
    const double step = (xb - xa) / sn;
    int k = imin(imax(toInt(xa + 1.0), 1), imax(np, 1));
    for (int j = 0; j < n; ++j) {
        const double x = xa + j * step;
        while (x > k && k < np) ++k;
        s[j + 2] = pfl[k + 2] + (pfl[k + 2] - pfl[k + 1]) * (x - k);
    }
    z1sq1(s, 0.0, sn, xa, xb);
    // Residuals about the fitted line (again without a running sum).
    const double slope = (xb - xa) / sn;
    bool numbers = true;
    for (int j = 0; j < n; ++j) {
        s[j + 2] -= xa + j * slope;
        numbers &= s[j + 2] == s[j + 2];
    }
    // Upper and lower decile. After the first selection every value past
    // index ka - 1 is no larger than it, so the second one only needs to
    // look there.
    auto select = numbers ? qtileNumbers : qtile;
    const double upper = select(n - 1, s + 2, ka - 1);
    const double lower = select(n - 1 - ka, s + 2 + ka, kb - 1 - ka);
    double spread = upper - lower;
    spread /= 1.0 - 0.8 * std::exp(-(x2 - x1) / 50.0e3);
    return spread;
}

}  // namespace zk::itm
