// libFuzzer target: any bytes as a picture calibration file and as an ADRG
// calibration file. What the reader takes, the writer writes, and that must
// read again with the same corners (to the 7 digits the writer keeps): a file
// the program writes is one it can open.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pictures/calibration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (int kind = 0; kind < 2; ++kind) {
        const auto cal = kind == 0 ? zk::readPicCalibration(bytes) : zk::readAdrCalibration(bytes);
        if (!cal) continue;
        const auto again = zk::readPicCalibration(zk::writePicCalibration(*cal));
        if (!again) __builtin_trap();
        const auto near = [](float a, float b) { return std::fabs(double(a) - b) <= 1e-6 * std::max(1.0, std::fabs(double(b))); };
        for (size_t k = 0; k < 4; ++k)
            if (!near(again->lon[k], cal->lon[k]) || !near(again->lat[k], cal->lat[k])) __builtin_trap();
    }
    return 0;
}
