// libFuzzer target: any bytes as an ADRG chart's general information file
// and its image file. The general information file is read as the import
// reads it; a refused one must say why, a taken one must hold a tile grid
// of 1..999 rows and columns with a table entry for each tile, a positive
// scale and an origin on the Earth. Its first tiles are then painted from
// the image file (a private temporary file) by the engine's getadrg, as the
// import paints them, onto a small bitmap whose guard row below must stay
// untouched. Layout: one byte of steps, the general information file's
// size (two bytes, low first), that file, then the image file.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "pictures/adrg.h"
#include "tests/fuzz/fuzzkit.h"
#include "zelkor32.h"

namespace {

const std::string &imageFile()
{
    static const std::string path = zkfuzz::privateFolder() + "/TESTCH01.IMG";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3) return 0;
    const float stepX = float((data[0] & 15) + 1) / 8.0f, stepY = float((data[0] >> 4) + 1) / 8.0f;
    const size_t genSize = std::min(size - 3, size_t(data[1]) | size_t(data[2]) << 8);
    const QByteArray gen(reinterpret_cast<const char *>(data + 3), qsizetype(genSize));

    QString why;
    const auto g = zk::readadrggen(gen, &why);
    if (!g) {
        if (why.isEmpty()) __builtin_trap();
        return 0;
    }
    if (g->rows < 1 || g->rows > 999 || g->cols < 1 || g->cols > 999) __builtin_trap();
    if (g->tiles.size() != size_t(g->rows) * size_t(g->cols)) __builtin_trap();
    if (!(g->dx > 0) || !(g->dy > 0) || !(std::fabs(g->lon) <= 360) || !(std::fabs(g->lat) <= 90)) __builtin_trap();

    const std::string &path = imageFile();
    if (!zkfuzz::writeFile(path, data + 3 + genSize, size - 3 - genSize)) std::abort();
    const QByteArray path8 = QByteArray::fromStdString(path);

    constexpr int32_t W = 48, H = 40;
    std::vector<uint32_t> bits(size_t(W) * (H + 1), 0x12345678u);  // one guard row below
    ZkDC dc{bits.data(), W, H, W, nullptr};
    int painted = 0;
    for (size_t k = 0; k < g->tiles.size() && painted < 3; ++k) {
        const int16_t t = g->tiles[k];
        if (t <= 0) continue;
        ++painted;
        const int16_t x = int16_t(int(k % 3) * 20 - 10), y = int16_t(int(k % 2) * 25 - 5);
        const int32_t r = getadrg(path8.constData(), &dc, int16_t(t - 1), x, y, stepY, stepX);
        if (r != 0 && r != 2048 + int32_t(t - 1) * 49152) __builtin_trap();
    }
    for (int32_t x = 0; x < W; ++x)
        if (bits[size_t(H) * W + size_t(x)] != 0x12345678u) __builtin_trap();
    return 0;
}
