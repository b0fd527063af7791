// libFuzzer target: any bytes as a Terrain tile file as it lies on the disc
// (compressed, or plain), taken the way the extraction takes it: expanded
// into the work folder (a private temporary folder here), read as a
// 121 x 121 tile, and resampled onto a grid by the engine's getterrain. The
// first five bytes are the resampling's parameters: the side of the grid
// (1..64 cells), the two steps and the tile's origin on the grid. Only a
// file that expands to a whole tile may be left in the work folder, and
// the engine must stay within the tile and the grid.
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "map/expandfile.h"
#include "map/extract.h"
#include "tests/fuzz/fuzzkit.h"
#include "zelkor32.h"

namespace {

const QString &workFolder()
{
    static const QString path = QString::fromStdString(zkfuzz::privateFolder()) + QLatin1Char('/');
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 5) return 0;
    const int32_t side = (data[0] & 63) + 1;
    const float stepI = zkfuzz::tileStep(data[1]), stepJ = zkfuzz::tileStep(data[2]);
    const int32_t i0 = zkfuzz::gridOrigin(data[3]), j0 = zkfuzz::gridOrigin(data[4]);

    const QString &work = workFolder();
    if (!zkfuzz::writeFile((work + QStringLiteral("n45w074.sd_")).toStdString(), data + 5, size - 5)) std::abort();
    const QString out = work + QStringLiteral("temp.sdm");
    const bool expanded = zk::expandfile(work, work, QStringLiteral("n45w074.sd_"), QStringLiteral("temp.sdm"),
                                         zk::kTerrainBytes);
    const QFileInfo info(out);
    if (expanded != (info.exists() && info.size() == zk::kTerrainBytes)) __builtin_trap();
    if (!expanded && info.exists()) __builtin_trap();

    std::vector<int16_t> tileCells;
    if (!expanded) return 0;
    if (!zk::readterraintile(out, tileCells) || tileCells.size() != size_t(zk::kTerrainSide) * zk::kTerrainSide)
        __builtin_trap();
    QFile::remove(out);

    ZkArray tile{2, {0, 0}, {zk::kTerrainSide - 1, zk::kTerrainSide - 1}, tileCells.data()};
    ZkArray *t = &tile;
    zkfuzz::MarkedGrid grid(side);
    getterrain(grid.ref(), &t, i0, j0, stepI, stepJ);
    grid.checkUntouched([&](int32_t i, int32_t j) { return i < i0 || j < j0; });
    return 0;
}
