// GTOPO30 tiles: 30-arc-second samples, 16-bit big-endian, rows from north to
// south, no header. The grid is walked row by row from its northern edge and
// each cell interpolated bilinearly between two tile rows.
#include <algorithm>
#include <cmath>

#include "frame.h"
#include "safearray.h"
#include "terrain/linepair.h"
#include "terrain/readers.h"

namespace zk::engine {

int32_t readTopo30(ZkArray *grid, ByteSource &src, float x0, float y0, float stepI, float stepJ,
                   bool antarctic)
{
    if (!sa::is2d(grid) || !(stepI > 0.0f) || !(stepJ > 0.0f)) return 0;
    const int32_t cols = antarctic ? kTopoAntCols : kTopoCols;
    const int32_t rows = antarctic ? kTopoAntRows : kTopoRows;
    // A tile of C samples spans C + 1 sample spacings of the extraction's
    // grid (its edge samples are half a spacing inside the tile), hence the
    // slight compression of both steps.
    const double si = float(double(stepI) * cols / (cols + 1));
    const double sj = float(double(stepJ) * rows / (rows + 1));

    int32_t lx, ux, ly, uy;
    sa::lbound(grid, 1, lx);
    sa::ubound(grid, 1, ux);
    sa::lbound(grid, 2, ly);
    sa::ubound(grid, 2, uy);

    LinePair lines(src, 0, int64_t(cols) * 2, cols, SampleCoding::BigEndianTopo30);
    // The origin may fall between grid cells: the walk starts at the first
    // cell inside the tile, at that cell's own tile position.
    const WalkStart col = walkStart(x0, si, lx);
    const WalkStart row = walkStart(y0, sj, ly);

    int64_t n = 0;
    for (int64_t j = row.index; j <= uy; ++n) {
        const double sr = row.at(n, sj);
        if (!lines.hold(lineIndex(sr))) break;
        const int16_t *up = lines.upper();
        const int16_t *lo = lines.lower();
        const double fy = sr - std::floor(sr);
        const int32_t gy = int32_t(int64_t(uy) - j);
        int64_t m = 0;
        for (int64_t i = col.index; i <= ux; ++i, ++m) {
            const double sc = col.at(m, si);
            if (!(sc < double(cols - 1))) break;
            const int32_t k = int32_t(std::floor(sc));
            const double fx = sc - double(k);
            const double v = (up[k] * (1.0 - fx) + up[k + 1] * fx) * (1.0 - fy) +
                             (lo[k] * (1.0 - fx) + lo[k + 1] * fx) * fy;
            sa::put(grid, int32_t(i), gy, int16_t(trunc32(v)));
        }
        ++j;
        if (!progress(int32_t(j))) break;
    }
    return 1;
}

}  // namespace zk::engine

extern "C" int32_t gettopo30(ZkArray **grid, const char *path, float x0, float y0, float stepI, float stepJ,
                             uint8_t antarctic)
{
    using namespace zk;
    if (!(stepI > 0.0f) || !(stepJ > 0.0f)) return 0;
    ZkArray *g = grid ? *grid : nullptr;
    if (!sa::is2d(g)) return 0;
    engine::TileFile file(path);
    if (!file.isOpen()) return 0;
    return engine::readTopo30(g, file, x0, y0, stepI, stepJ, antarctic != 0);
}
