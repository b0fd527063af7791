// libFuzzer target: any bytes as an antenna pattern file ("*.ant"), read
// from the data folder as the radio plot reads it. A pattern that is taken
// holds 360 gains within -100..100 dB; one that is refused says why and
// names the file, and leaves the omnidirectional pattern (all 0).
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cstdint>
#include <cstdlib>

#include "paths.h"
#include "radio/coverage.h"

namespace {

const QString &folder()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        if (!dir.isValid()) std::abort();
        zk::paths::setUserFolder(dir.path());
        zk::paths::setProgramFolder(dir.path());
        return dir.path();
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString name = QStringLiteral("fuzz.ant");
    {
        QFile f(folder() + QLatin1Char('/') + name);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        if (f.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)) std::abort();
    }
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
