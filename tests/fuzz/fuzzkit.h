// What the fuzz targets share: a private folder for the bytes a reader takes
// by path, and, for the tile readers, the reading parameters made from single
// bytes and the grid they resample onto.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "zelkor32.h"

namespace zkfuzz {

// A folder of this process's own, made at the first call and removed with
// all it holds when the process ends (the string lives on past the static
// destructors, for the exit handler).
inline const std::string &privateFolder()
{
    static const std::string *dir = [] {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zkfuzz-XXXXXX";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back(0);
        if (!mkdtemp(buf.data())) std::abort();
        auto *d = new std::string(buf.data());
        std::atexit([] {
            // Whatever a reader left there goes too, folders included.
            nftw(
                privateFolder().c_str(), [](const char *path, const struct stat *, int, FTW *) { return std::remove(path); }, 16,
                FTW_DEPTH | FTW_PHYS);
        });
        return d;
    }();
    return *dir;
}

inline bool writeFile(const std::string &path, const uint8_t *data, size_t size)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

// A step from one byte: tile samples a grid cell, from 1/512 to about 127
// (enough for 64 cells to cross the widest tile), 0 (refused), and at the
// top a step far beyond any tile.
inline float tileStep(uint8_t b) { return b == 255 ? 1.0e30f : float(int(b) * int(b)) / 512.0f; }

// A tile's origin on the grid from one byte, with the extremes standing for
// the ends of the range the call takes.
inline int32_t gridOrigin(uint8_t b)
{
    if (b == 0x7F) return INT32_MAX;
    if (b == 0x80) return INT32_MIN;
    return int8_t(b);
}

// A square grid of `side` cells, each marked, for a reader to resample a
// tile onto: what the reader leaves alone keeps the mark.
class MarkedGrid {
public:
    static constexpr int16_t kUntouched = 0x5A5A;

    explicit MarkedGrid(int32_t side)
        : side_(side), cells_(size_t(side) * size_t(side), kUntouched), array_{2, {0, 0}, {side - 1, side - 1}, cells_.data()}
    {
    }

    ZkArray **ref() { return &ref_; }
    int32_t side() const { return side_; }
    bool touched(int32_t i, int32_t j) const { return cells_[size_t(i) + size_t(j) * size_t(side_)] != kUntouched; }

    // A reader's answer is 1 (read) or 0 (refused); a refused call writes
    // nothing.
    void checkAnswer(int32_t r) const
    {
        if (r != 0 && r != 1) __builtin_trap();
        if (r == 0)
            for (int16_t v : cells_)
                if (v != kUntouched) __builtin_trap();
    }

    // No cell for which `outside(i, j)` holds was written.
    template <class Outside>
    void checkUntouched(Outside outside) const
    {
        for (int32_t j = 0; j < side_; ++j)
            for (int32_t i = 0; i < side_; ++i)
                if (outside(i, j) && touched(i, j)) __builtin_trap();
    }

private:
    int32_t side_;
    std::vector<int16_t> cells_;
    ZkArray array_;
    ZkArray *ref_ = &array_;
};

}  // namespace zkfuzz
