// The ir-th largest of a[0..nn] (0-based index ir, limited to 0..nn), the
// published qtile. The reference partitions around a[ir] by hand; a
// selection by std::nth_element returns the same element value (the order
// statistic does not depend on the method) in fewer passes, and like the
// reference it leaves the larger values before index ir and the smaller ones
// after it.
//
// NaN would break the ordering the selection relies on (and could send it
// past the end of the array), so qtile ranks NaN below every number, which
// keeps the order a strict weak one. A caller that has already checked that
// its values are all numbers uses qtileNumbers and skips that cost.
#include <algorithm>
#include <functional>

#include "arith.h"
#include "itm.h"

namespace zk::itm {

double qtile(int nn, double *a, int ir)
{
    if (nn < 0) return a[0];
    const int k = imin(imax(0, ir), nn);
    std::nth_element(a, a + k, a + nn + 1, [](double x, double y) { return x > y || (y != y && x == x); });
    return a[k];
}

double qtileNumbers(int nn, double *a, int ir)
{
    if (nn < 0) return a[0];
    const int k = imin(imax(0, ir), nn);
    std::nth_element(a, a + k, a + nn + 1, std::greater<double>());
    return a[k];
}

}  // namespace zk::itm
