// Terrain tiles: the main program has already expanded the tile and read it
// into a 121 x 121 array (first index south to north, second west to east);
// it is resampled onto the grid column by column, rounding half up.
#include <algorithm>
#include <cmath>

#include "frame.h"
#include "safearray.h"
#include "terrain/readers.h"
#include "zelkor32.h"

extern "C" int32_t getterrain(ZkArray **grid, ZkArray **src, int32_t i0, int32_t j0, float stepI, float stepJ)
{
    using namespace zk;
    ZkArray *g = grid ? *grid : nullptr;
    const ZkArray *t = sa::deref(src);
    // A step of 0 or less would walk backwards off the tile: nothing is written.
    if (!sa::is2d(g) || !sa::is2d(t) || !(stepI > 0.0f) || !(stepJ > 0.0f)) return 0;

    int32_t lx, ux, ly, uy, tl1, tu1, tl2, tu2;
    sa::lbound(g, 1, lx);
    sa::ubound(g, 1, ux);
    sa::lbound(g, 2, ly);
    sa::ubound(g, 2, uy);
    sa::lbound(t, 1, tl1);  // tile rows (south to north)
    sa::ubound(t, 1, tu1);
    sa::lbound(t, 2, tl2);  // tile columns (west to east)
    sa::ubound(t, 2, tu2);

    // Tile positions are counted from the tile's lower bounds; each cell's
    // is worked out from the origin (never floored), so that the cell takes
    // the samples of its own place whichever tile it comes from.
    const engine::WalkStart col = engine::walkStart(i0, stepI, lx);
    const engine::WalkStart row = engine::walkStart(j0, stepJ, ly);

    int64_t m = 0;
    for (int64_t i = col.index; i <= ux; ++m) {
        const double sx = double(tl2) + col.at(m, stepI);
        if (!(sx < double(tu2))) break;
        const double fx = sx - std::floor(sx);
        const int32_t ix = engine::trunc32(sx);
        int64_t q = 0;
        for (int64_t j = row.index; j <= uy; ++j, ++q) {
            const double sy = double(tl1) + row.at(q, stepJ);
            if (!(sy < double(tu1))) break;
            const double fy = sy - std::floor(sy);
            const int32_t iy = engine::trunc32(sy);
            int16_t a, b, c, d;
            // Every element comes through the tile's own bounds; a corner
            // outside them (only with a tile whose bounds are not 0-based)
            // leaves the cell as it was.
            if (sa::get(t, iy, ix, a) && sa::get(t, iy + 1, ix, b) && sa::get(t, iy, ix + 1, c) &&
                sa::get(t, iy + 1, ix + 1, d)) {
                const double v = (a * (1.0 - fy) + b * fy) * (1.0 - fx) + (c * (1.0 - fy) + d * fy) * fx;
                sa::put(g, int32_t(i), int32_t(j), int16_t(engine::trunc32(std::floor(v + 0.5))));
            }
        }
        ++i;
        if (!engine::progress(int32_t(i))) break;
    }
    return 1;
}
