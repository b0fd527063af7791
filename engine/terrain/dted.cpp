// DTED cells: longitude profiles from west to east, each from south to north,
// 16-bit sign-magnitude samples after the header records. The grid is walked
// column by column and each cell interpolated between two profiles.
#include <algorithm>
#include <cmath>

#include "frame.h"
#include "safearray.h"
#include "terrain/linepair.h"
#include "terrain/readers.h"

namespace zk::engine {

namespace {

struct DtedLayout {
    int64_t start;   // byte of the first sample of profile 0
    int32_t count;   // samples per profile
    double factor;   // the caller's steps are given for 1201-sample profiles
};

// The header records are 80 (UHL), 648 (DSI) and 2700 (ACC) bytes; a profile
// record is an 8-byte head, the samples and a 4-byte checksum. Byte 26 is the
// third character of the latitude interval in tenths of seconds ("0030" at
// 3", "0300" at 30", "0010" at 1").
DtedLayout layoutOf(ByteSource &src, int16_t flag)
{
    if (flag != 0) return {3516, 1201, 1.0};  // one more 80-byte header in front
    uint8_t c = 0;
    src.readAt(26, &c, 1);
    if (c == '1') return {3436, 3601, 3.0};
    if (c == '0') return {3436, 121, 0.1};
    return {3436, 1201, 1.0};
}

}  // namespace

int32_t readDted(ZkArray *grid, ByteSource &src, int16_t flag, int32_t i0, int32_t j0, float stepI,
                 float stepJ)
{
    if (!sa::is2d(grid) || !(stepI > 0.0f) || !(stepJ > 0.0f)) return 0;
    const DtedLayout lay = layoutOf(src, flag);
    const int32_t n = lay.count;
    const double si = double(stepI) * lay.factor;
    const double sj = double(stepJ) * lay.factor;

    int32_t lx, ux, ly, uy;
    sa::lbound(grid, 1, lx);
    sa::ubound(grid, 1, ux);
    sa::lbound(grid, 2, ly);
    sa::ubound(grid, 2, uy);

    LinePair lines(src, lay.start, 2 * int64_t(n) + 12, n, SampleCoding::SignMagnitudeDted);
    const WalkStart col = walkStart(i0, si, lx);
    const WalkStart row = walkStart(j0, sj, ly);

    int64_t m = 0;
    for (int64_t i = col.index; i <= ux; ++m) {
        const double sp = col.at(m, si);
        if (!lines.hold(lineIndex(sp))) break;
        const int16_t *up = lines.upper();
        const int16_t *lo = lines.lower();
        const double fx = sp - std::floor(sp);
        int64_t q = 0;
        for (int64_t j = row.index; j <= uy; ++j, ++q) {
            const double sr = row.at(q, sj);
            if (!(sr < double(n - 1))) break;
            const int32_t k = int32_t(std::floor(sr));
            const double fy = sr - double(k);
            const double v = (up[k] * (1.0 - fy) + up[k + 1] * fy) * (1.0 - fx) +
                             (lo[k] * (1.0 - fy) + lo[k + 1] * fy) * fx;
            sa::put(grid, int32_t(i), int32_t(j), int16_t(trunc32(v)));
        }
        ++i;
        if (!progress(int32_t(i))) break;
    }
    return 1;
}

}  // namespace zk::engine

extern "C" int32_t getdted(ZkArray **grid, const char *path, int16_t flag, int32_t i0, int32_t j0, float stepI,
                           float stepJ)
{
    using namespace zk;
    ZkArray *g = grid ? *grid : nullptr;
    if (!sa::is2d(g)) return 0;
    // A step of 0 or less would walk backwards out of the profile buffers:
    // nothing is read or written.
    if (!(stepI > 0.0f) || !(stepJ > 0.0f)) return 0;
    engine::TileFile file(path);
    if (!file.isOpen()) return 0;
    return engine::readDted(g, file, flag, i0, j0, stepI, stepJ);
}
