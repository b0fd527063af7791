// libFuzzer target: any bytes as a GTOPO30 tile, read by gettopo30 as the
// extraction calls it (the tile written to a private temporary file; the
// program reads no header, the layout being fixed). The first six bytes are
// the call's parameters: the Antarctic layout, the side of the grid (1..64
// cells), the two steps and the tile's origin on the grid (quarter cells).
// The reader must stay within the grid and the tile whatever the bytes (the
// sanitizers see every access), and a grid cell outside the tile must keep
// its value.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/fuzz/fuzzkit.h"
#include "zelkor32.h"

namespace {

const std::string &tileFile()
{
    static const std::string path = zkfuzz::privateFolder() + "/tile.dem";
    return path;
}

// An origin from one byte, in quarter cells, with the extremes standing for
// a position far outside any grid and for one that is no number.
float origin(uint8_t b)
{
    if (b == 0x7F) return 1.0e30f;
    if (b == 0x80) return __builtin_nanf("");
    return float(int8_t(b)) / 4.0f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 6) return 0;
    const uint8_t antarctic = data[0] & 1;
    const int32_t side = (data[1] & 63) + 1;
    const float stepI = zkfuzz::tileStep(data[2]), stepJ = zkfuzz::tileStep(data[3]);
    const float x0 = origin(data[4]), y0 = origin(data[5]);
    const std::string &path = tileFile();
    if (!zkfuzz::writeFile(path, data + 6, size - 6)) std::abort();

    zkfuzz::MarkedGrid grid(side);
    grid.checkAnswer(gettopo30(grid.ref(), path.c_str(), x0, y0, stepI, stepJ, antarctic));
    // Cells west of the tile's origin, or north of it (rows are counted
    // from the grid's northern edge), are not the tile's.
    grid.checkUntouched([&](int32_t i, int32_t j) { return float(i) < x0 || float(side - 1 - j) < y0; });
    return 0;
}
