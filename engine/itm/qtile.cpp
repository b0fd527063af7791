// The ir-th largest of a[0..nn] (0-based), found by partial partitioning in
// place (the published qtile). Every pass either swaps a pair inward or
// shrinks the bracket [m, n], so it ends even when the values hold NaN.
#include "arith.h"
#include "itm.h"

namespace zk::itm {

double qtile(int nn, double *a, int ir)
{
    int m = 0;
    int n = nn;
    const int k = imin(imax(0, ir), n);
    double q = a[k];
    int i0 = m;
    int j1 = n;
    bool restart = true;
    for (;;) {
        if (restart) {
            q = a[k];
            i0 = m;
            j1 = n;
        }
        int i = i0;
        while (i <= n && a[i] >= q) ++i;
        if (i > n) i = n;
        int j = j1;
        while (j >= m && a[j] <= q) --j;
        if (j < m) j = m;
        if (i < j) {
            const double r = a[i];
            a[i] = a[j];
            a[j] = r;
            i0 = i + 1;
            j1 = j - 1;
            restart = false;
        } else if (i < k) {
            a[k] = a[i];
            a[i] = q;
            m = i + 1;
            restart = true;
        } else if (j > k) {
            a[k] = a[j];
            a[j] = q;
            n = j - 1;
            restart = true;
        } else {
            return q;
        }
    }
}

}  // namespace zk::itm
