// The OLE-array operations the engine is allowed on a ZkArray: dimension
// count, bounds, get and put of one element. Every access is bounds-checked,
// so a reader can never step outside the caller's array.
#pragma once

#include <cstdint>

#include "zelkor32.h"

namespace zk::sa {

// The array behind the caller's descriptor pointer, or null when there is none.
inline const ZkArray *deref(ZkArray *const *pp) { return pp ? *pp : nullptr; }

// Dimension count (0 for a missing array).
int32_t dims(const ZkArray *a);

// Bounds of dimension 1 or 2; false when the dimension does not exist.
bool lbound(const ZkArray *a, int dim, int32_t &out);
bool ubound(const ZkArray *a, int dim, int32_t &out);

// True when the array is two-dimensional with usable storage and sane bounds.
bool is2d(const ZkArray *a);

// Element (i, j); false (and v untouched) when the index is outside the bounds.
bool get(const ZkArray *a, int32_t i, int32_t j, int16_t &v);
bool put(ZkArray *a, int32_t i, int32_t j, int16_t v);

}  // namespace zk::sa
