// Process-wide state shared by the engine's operations: the progress hook.
#pragma once

#include <cstdint>

#include "zelkor32.h"

namespace zk::engine {

// Calls the hook with the loop counter when one is set. Returns false when
// the loop must stop (the hook answered 0); true with no hook.
bool progress(int32_t counter);

// Truncating real-to-integer conversion used throughout the engine.
inline int32_t trunc32(double v)
{
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace zk::engine
