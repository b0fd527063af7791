// libFuzzer target: any bytes as an antenna pattern file ("*.ant"), read
// from the data folder as the radio plot reads it. A pattern that is taken
// holds 360 gains within -100..100 dB; one that is refused says why and
// names the file, and leaves the omnidirectional pattern (all 0).
#include <QFile>

#include <array>
#include <cstdint>
#include <cstdlib>

#include "paths.h"
#include "tests/fuzz/fuzzkit.h"
#include "radio/coverage.h"

namespace {

const QString &folder()
{
    static const QString path = [] {
        const QString dir = QString::fromStdString(zkfuzz::privateFolder());
        zk::paths::setUserFolder(dir);
        zk::paths::setProgramFolder(dir);
        return dir;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString name = QStringLiteral("fuzz.ant");
    if (!zkfuzz::writeFile((folder() + QLatin1Char('/') + name).toStdString(), data, size)) std::abort();
    std::array<float, 360> gain;
    gain.fill(55);
    const QString err = zk::readantenna(name, gain);
    if (err.isEmpty()) {
        for (float g : gain)
            if (!(g >= -100 && g <= 100)) __builtin_trap();
    } else {
        if (!err.endsWith(name)) __builtin_trap();
        for (float g : gain)
            if (g != 0) __builtin_trap();
    }
    return 0;
}
