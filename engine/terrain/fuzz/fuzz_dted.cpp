// libFuzzer target: any bytes as a DTED cell, read by getdted as the
// extraction calls it (the cell written to a private temporary file). The
// first six bytes are the call's parameters: the layout flag, the side of
// the grid (1..64 cells), the two steps and the tile's origin on the grid.
// The reader must stay within the grid and the cell whatever the bytes (the
// sanitizers see every access), and a grid cell it does not reach must keep
// its value.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/fuzz/fuzzkit.h"
#include "zelkor32.h"

namespace {

const std::string &cellFile()
{
    static const std::string path = zkfuzz::privateFolder() + "/cell.dt0";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 6) return 0;
    const int16_t flag = (data[0] & 1) ? -1 : 0;
    const int32_t side = (data[1] & 63) + 1;
    const float stepI = zkfuzz::tileStep(data[2]), stepJ = zkfuzz::tileStep(data[3]);
    const int32_t i0 = zkfuzz::gridOrigin(data[4]), j0 = zkfuzz::gridOrigin(data[5]);
    const std::string &path = cellFile();
    if (!zkfuzz::writeFile(path, data + 6, size - 6)) std::abort();

    zkfuzz::MarkedGrid grid(side);
    grid.checkAnswer(getdted(grid.ref(), path.c_str(), flag, i0, j0, stepI, stepJ));
    // Cells before the tile's origin are not the tile's.
    grid.checkUntouched([&](int32_t i, int32_t j) { return i < i0 || j < j0; });
    return 0;
}
