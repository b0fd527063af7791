// Small helpers shared by the engine's tests: grids and surfaces that own
// their storage, a recording progress hook, a private temporary folder and
// access to the command-line tools that make independent fixtures.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <string>
#include <unistd.h>
#include <vector>

#include "gdi.h"
#include "zelkor32.h"

namespace zktest {

// An elevation grid (or Terrain tile) with its descriptor, 0-based unless
// told otherwise; filled with `fill`.
struct Grid {
    std::vector<int16_t> cells;
    ZkArray a{};
    ZkArray *p = &a;

    Grid(int32_t nx, int32_t ny, int16_t fill = 0, int32_t lx = 0, int32_t ly = 0)
        : cells(size_t(nx) * size_t(ny), fill)
    {
        a = ZkArray{2, {lx, ly}, {lx + nx - 1, ly + ny - 1}, cells.data()};
    }
    int32_t nx() const { return a.ubound[0] - a.lbound[0] + 1; }
    int16_t &at(int32_t i, int32_t j)
    {
        return cells[size_t(i - a.lbound[0]) + size_t(j - a.lbound[1]) * size_t(nx())];
    }
    ZkArray **ref() { return &p; }
};

// A bitmap with its device context, filled with `fill` (top byte 0xFF).
struct Surface {
    std::vector<uint32_t> bits;
    ZkDC dc{};

    Surface(int32_t w, int32_t h, uint32_t fill = 0)
        : bits(size_t(w) * size_t(h), fill | 0xFF000000u)
    {
        dc = ZkDC{bits.data(), w, h, w, nullptr};
    }
    uint32_t px(int32_t x, int32_t y) const { return bits[size_t(y) * size_t(dc.stride) + size_t(x)] & 0xFFFFFFu; }
    void set(int32_t x, int32_t y, uint32_t c) { bits[size_t(y) * size_t(dc.stride) + size_t(x)] = c | 0xFF000000u; }
};

// Records every counter the engine reports; answers 0 (stop) on call number
// `stopAt` (1-based), never when stopAt is 0. Uninstalls itself.
struct HookRecorder {
    static inline std::vector<int32_t> seen;
    static inline size_t stopAt = 0;
    static int32_t hook(int32_t counter)
    {
        seen.push_back(counter);
        return (stopAt != 0 && seen.size() == stopAt) ? 0 : 1;
    }
    explicit HookRecorder(size_t stop = 0)
    {
        seen.clear();
        stopAt = stop;
        callback(&HookRecorder::hook);
    }
    ~HookRecorder() { callback(nullptr); }
};

// A private folder removed at the end of the test.
struct TempDir {
    std::string path;
    TempDir()
    {
        const char *base = std::getenv("TMPDIR");
        std::string tmpl = std::string(base && *base ? base : "/tmp") + "/zkengine.XXXXXX";
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back(0);
        if (mkdtemp(buf.data())) path = buf.data();
    }
    ~TempDir()
    {
        if (!path.empty()) std::system(("rm -rf '" + path + "'").c_str());
    }
    std::string operator/(const std::string &name) const { return path + "/" + name; }
};

inline void writeFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

inline void writeText(const std::string &path, const std::string &text)
{
    std::ofstream f(path, std::ios::binary);
    f << text;
}

inline std::vector<uint8_t> readFile(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline bool haveTool(const char *tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Empty when every tool is on the PATH, else what is missing and the Debian
// package that installs it (the tests count a missing tool as a failure).
inline std::string missingTools(std::initializer_list<const char *> tools, const char *package)
{
    std::string missing;
    for (const char *t : tools)
        if (!haveTool(t)) missing += std::string(missing.empty() ? "" : ", ") + t;
    if (missing.empty()) return missing;
    return missing + " is missing: install the Debian package " + package + " (scripts/install-deps.sh)";
}

inline int run(const std::string &cmd) { return std::system(cmd.c_str()); }

// Values of a raster at pixel (column, line) positions, as GDAL's
// gdallocationinfo reads them (one process for all positions).
inline std::vector<long> gdalValues(const TempDir &dir, const std::string &file,
                                    const std::vector<std::pair<int, int>> &pixels)
{
    std::string coords;
    for (const auto &[c, l] : pixels) coords += std::to_string(c) + " " + std::to_string(l) + "\n";
    writeText(dir / "coords.txt", coords);
    std::vector<long> out;
    FILE *p = popen(("gdallocationinfo -valonly '" + file + "' < '" + (dir / "coords.txt") + "'").c_str(), "r");
    if (!p) return out;
    char line[256];
    while (std::fgets(line, sizeof line, p)) out.push_back(std::strtol(line, nullptr, 10));
    pclose(p);
    return out;
}

}  // namespace zktest
