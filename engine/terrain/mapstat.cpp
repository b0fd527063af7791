// Map statistics: lowest, highest and mean elevation of the grid.
#include <cstdint>

#include "frame.h"
#include "safearray.h"
#include "zelkor32.h"

extern "C" int32_t getmapstat(MapSettings *map, ZkArray **grid)
{
    using namespace zk;
    const ZkArray *g = sa::deref(grid);
    if (!map || !sa::is2d(g)) return 1;

    int32_t lx, ux, ly, uy;
    sa::lbound(g, 1, lx);
    sa::ubound(g, 1, ux);
    sa::lbound(g, 2, ly);
    sa::ubound(g, 2, uy);

    // The caller's hmin and hmax are the starting values the scan lowers and raises.
    float hmin = map->hmin, hmax = map->hmax;
    int64_t sum = 0;
    for (int64_t x = lx; x <= ux; ++x) {
        for (int64_t y = ly; y <= uy; ++y) {
            int16_t v = 0;
            sa::get(g, int32_t(x), int32_t(y), v);
            sum += v;
            if (v > hmax) hmax = v;
            if (v < hmin) hmin = v;
        }
        if (!engine::progress(int32_t(x))) break;
    }
    map->hmin = hmin;
    map->hmax = hmax;
    // The mean is over the whole grid, also when the scan was stopped.
    const double cells = (double(ux) - lx + 1) * (double(uy) - ly + 1);
    map->hmoy = float(double(sum) / cells);
    return 1;
}
