// Least-squares straight line through the profile between distances x1 and
// x2 (m), the published z1sq1; z0 and zn are the line's heights at the two
// ends of the whole profile.
//
// The end indices are rounded as floor(x + 0.4999999) where the reference
// truncates: this library has always fitted from the nearest sample, with a
// rounding that sends an exact half down. Indices are kept inside 0..count
// whatever the distances, so the fit never reads outside the profile.
#include <cmath>

#include "arith.h"
#include "itm.h"

namespace zk::itm {

void z1sq1(const double *z, double x1, double x2, double &z0, double &zn)
{
    const double xn = z[0];
    double xa = dmin(std::floor(fdim(x1 / z[1], 0.0) + 0.4999999), xn);
    double xb = dmin(xn - std::floor(fdim(xn, x2 / z[1]) + 0.4999999), xn);
    if (!(xa >= 0.0)) xa = 0.0;
    if (!(xb >= 0.0)) xb = 0.0;
    if (xb <= xa) {
        xa = fdim(xa, 1.0);
        xb = xn - fdim(xn, xb + 1.0);
    }
    const int ja = toInt(xa);
    const int jb = toInt(xb);
    const int n = jb - ja;
    xa = xb - xa;
    const double x0 = -0.5 * xa;
    xb += x0;
    // The ends weigh one half (the trapezoid rule over the fitted stretch);
    // the interior sums run in two interleaved halves so that the additions
    // of one point need not wait for those of the point before.
    double a = 0.5 * (z[ja + 2] + z[jb + 2]);
    double b = 0.5 * (z[ja + 2] - z[jb + 2]) * x0;
    double a2 = 0.0, b2 = 0.0;
    int i = 1;
    for (; i + 1 < n; i += 2) {
        const double za = z[ja + i + 2], zb = z[ja + i + 3];
        a += za;
        b += za * (x0 + i);
        a2 += zb;
        b2 += zb * (x0 + i + 1);
    }
    for (; i < n; ++i) {
        a += z[ja + i + 2];
        b += z[ja + i + 2] * (x0 + i);
    }
    a += a2;
    b += b2;
    a /= xa;
    b = b * 12.0 / ((xa * xa + 2.0) * xa);
    z0 = a - b * xb;
    zn = a + b * (xn - xb);
}

}  // namespace zk::itm
