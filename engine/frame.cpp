// The library frame: the one progress hook that every long loop reports to.
#include "frame.h"

namespace {
ZkHook g_hook = nullptr;
}

namespace zk::engine {

bool progress(int32_t counter)
{
    if (!g_hook) return true;
    return g_hook(counter) != 0;
}

}  // namespace zk::engine

extern "C" int32_t callback(ZkHook hook)
{
    g_hook = hook;
    return 1;
}
