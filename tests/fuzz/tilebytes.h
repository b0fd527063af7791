// What the tile-reader fuzz targets share: a private folder for the bytes a
// reader takes by path, and the reading parameters made from single bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace zkfuzz {

// A folder of this process's own, made at the first call and emptied and
// removed when the process ends (the string lives on past the static
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
            const std::string &path = privateFolder();
            if (DIR *h = opendir(path.c_str())) {
                while (const dirent *e = readdir(h))
                    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                        std::remove((path + "/" + e->d_name).c_str());
                closedir(h);
            }
            rmdir(path.c_str());
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

}  // namespace zkfuzz
