// libFuzzer target: any bytes as a DTED cell, read by getdted as the
// extraction calls it (the cell written to a private temporary file). The
// first six bytes are the call's parameters: the layout flag, the side of
// the grid (1..64 cells), the two steps and the tile's origin on the grid.
// The reader must stay within the grid and the cell whatever the bytes (the
// sanitizers see every access), and a grid cell it does not reach must keep
// its value.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "zelkor32.h"

namespace {

// The private folder of this process, made once and removed at its end.
const std::string &tempFile()
{
    static std::string dir, file;
    if (dir.empty()) {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zkfuzz-dted-XXXXXX";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back(0);
        if (!mkdtemp(buf.data())) std::abort();
        dir = buf.data();
        file = dir + "/cell.dt0";
        std::atexit([] {
            std::remove(file.c_str());
            rmdir(dir.c_str());
        });
    }
    return file;
}

bool writeFile(const std::string &path, const uint8_t *data, size_t size)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

// A step from one byte: tile samples a grid cell, from 1/512 to about 127
// (enough for 64 cells to cross the widest tile), 0 (refused), and at the
// top a step far beyond any tile.
// An origin from one byte, with the extremes standing for the ends of the
// range the call takes.
int32_t origin(uint8_t b)
{
    if (b == 0x7F) return INT32_MAX;
    if (b == 0x80) return INT32_MIN;
    return int8_t(b);
}

float step(uint8_t b) { return b == 255 ? 1.0e30f : float(int(b) * int(b)) / 512.0f; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 6) return 0;
    const int16_t flag = (data[0] & 1) ? -1 : 0;
    const int32_t side = (data[1] & 63) + 1;
    const float stepI = step(data[2]), stepJ = step(data[3]);
    const int32_t i0 = origin(data[4]), j0 = origin(data[5]);
    const std::string &path = tempFile();
    if (!writeFile(path, data + 6, size - 6)) std::abort();

    constexpr int16_t kUntouched = 0x5A5A;
    std::vector<int16_t> cells(size_t(side) * size_t(side), kUntouched);
    ZkArray grid{2, {0, 0}, {side - 1, side - 1}, cells.data()};
    ZkArray *g = &grid;
    const int32_t r = getdted(&g, path.c_str(), flag, i0, j0, stepI, stepJ);
    if (r != 0 && r != 1) __builtin_trap();
    // A refused call writes nothing.
    if (r == 0)
        for (int16_t v : cells)
            if (v != kUntouched) __builtin_trap();
    // Cells before the tile's origin are not the tile's.
    for (int32_t j = 0; j < side; ++j)
        for (int32_t i = 0; i < side; ++i)
            if ((i < i0 || j < j0) && cells[size_t(i) + size_t(j) * size_t(side)] != kUntouched) __builtin_trap();
    return 0;
}
