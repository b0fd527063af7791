// The tile readers' working entry points: the exported operations open the
// file and hand it over as a ByteSource, so that tests and fuzzing can feed
// bytes from memory through exactly the same code.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "terrain/tilefile.h"
#include "zelkor32.h"

namespace zk::engine {

// GTOPO30 tile layouts: samples per row and rows.
constexpr int32_t kTopoCols = 4800, kTopoRows = 6000;
constexpr int32_t kTopoAntCols = 7200, kTopoAntRows = 3600;

// Reads a GTOPO30 tile into the grid; the arguments are those of gettopo30.
// Answers 1, or 0 (nothing read) for a grid that is not two-dimensional or a step
// that is not positive.
int32_t readTopo30(ZkArray *grid, ByteSource &src, float x0, float y0, float stepI, float stepJ,
                   bool antarctic);

// Reads a DTED cell into the grid; the arguments are those of getdted.
// Answers 1, or 0 (nothing read) for a grid that is not two-dimensional or a step
// that is not positive.
int32_t readDted(ZkArray *grid, ByteSource &src, int16_t flag, int32_t i0, int32_t j0, float stepI,
                 float stepJ);

// Where a tile's walk over the grid starts along one direction: the first
// grid index at or after the tile's origin (a grid position, possibly
// fractional, of the tile's first sample) and not below the grid's lower
// bound, and the tile position of that index, (index - origin) x step. Every
// cell's tile position is worked out from the origin itself, never floored,
// so that a cell takes the tile samples of its own place and neighbouring
// tiles meet without a step at their join. A nonsensical origin (NaN) starts
// at the tile's first sample on the grid's first index.
struct WalkStart {
    int64_t index;
    double pos;
    // The tile position of the n-th index of the walk (an infinite step
    // leaves the first one where it is).
    double at(int64_t n, double step) const { return n == 0 ? pos : pos + double(n) * step; }
};
inline WalkStart walkStart(double origin, double step, int32_t lower)
{
    if (!(origin == origin)) return {lower, 0.0};
    const double first = std::max(std::ceil(std::clamp(origin, -4.0e9, 4.0e9)), double(lower));
    const double pos = (first - origin) * step;
    return {int64_t(first), pos > 0.0 ? pos : 0.0};
}

}  // namespace zk::engine
