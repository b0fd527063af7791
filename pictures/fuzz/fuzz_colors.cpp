// libFuzzer target: any bytes as the colour scale file "colors.dat" of the
// data folder. Whatever the scale takes from it, the text written for that
// scale must read back to the same scale, and spreading it over a map's
// range and splitting its colours must not misbehave.
#include <cstdint>

#include "fuzzenv.h"
#include "pictures/colorscale.h"

namespace {

struct Scale {
    std::array<uint32_t, 12> colors;
    std::array<int16_t, 11> alt;
    int16_t absscale, stratcolors, showlegend;
    bool operator==(const Scale &) const = default;
};

Scale now() { return {zk::colors, zk::alt, zk::absscale, zk::stratcolors, zk::showlegend}; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString dir = fuzzenv::folder();
    fuzzenv::writefile(dir + QStringLiteral("/colors.dat"), reinterpret_cast<const char *>(data), size);

    // A known scale before the read: what the file does not give stays.
    zk::colors = zk::defaultcolors();
    zk::alt = zk::defaultthresholds();
    zk::absscale = 0;
    zk::stratcolors = 0;
    zk::showlegend = 1;
    if (!zk::loadcolors()) __builtin_trap();  // the file is there
    const Scale read = now();

    zk::readcolorsfile(zk::colorsfile());
    if (!(now() == read)) __builtin_trap();

    zk::mapset.minx = -50;
    zk::mapset.maxx = 3000;
    zk::initcolors();
    (void)zk::colorchannels();
    return 0;
}
