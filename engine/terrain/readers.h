// The tile readers' working entry points: the exported operations open the
// file and hand it over as a ByteSource, so that tests and fuzzing can feed
// bytes from memory through exactly the same code.
#pragma once

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

// Start of a source position: the value when it is positive, else 0 (NaN
// included, so that a nonsensical origin starts at the tile's first sample).
inline float startAt(float v) { return v > 0.0f ? v : 0.0f; }

}  // namespace zk::engine
