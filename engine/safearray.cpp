#include "safearray.h"

namespace zk::sa {

int32_t dims(const ZkArray *a) { return a ? a->dims : 0; }

bool lbound(const ZkArray *a, int dim, int32_t &out)
{
    if (!a || dim < 1 || dim > 2 || dim > a->dims) return false;
    out = a->lbound[dim - 1];
    return true;
}

bool ubound(const ZkArray *a, int dim, int32_t &out)
{
    if (!a || dim < 1 || dim > 2 || dim > a->dims) return false;
    out = a->ubound[dim - 1];
    return true;
}

bool is2d(const ZkArray *a)
{
    return a && a->dims == 2 && a->data && a->ubound[0] >= a->lbound[0] && a->ubound[1] >= a->lbound[1];
}

static inline bool index(const ZkArray *a, int32_t i, int32_t j, int64_t &k)
{
    if (!is2d(a)) return false;
    if (i < a->lbound[0] || i > a->ubound[0] || j < a->lbound[1] || j > a->ubound[1]) return false;
    const int64_t w = int64_t(a->ubound[0]) - a->lbound[0] + 1;
    k = (int64_t(i) - a->lbound[0]) + (int64_t(j) - a->lbound[1]) * w;
    return true;
}

bool get(const ZkArray *a, int32_t i, int32_t j, int16_t &v)
{
    int64_t k;
    if (!index(a, i, j, k)) return false;
    v = a->data[k];
    return true;
}

bool put(ZkArray *a, int32_t i, int32_t j, int16_t v)
{
    int64_t k;
    if (!index(a, i, j, k)) return false;
    a->data[k] = v;
    return true;
}

}  // namespace zk::sa
