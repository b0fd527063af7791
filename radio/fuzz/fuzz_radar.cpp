// libFuzzer target: any bytes as a radar table file ("*.rad"), read from the
// data folder, then used as the two coverage drawings use it: the visual
// coverage of the map (ranges and heights by bin) and the radar cloud of a
// 3D picture. A table that is taken has 1..kMaxRadarBins bins of a positive
// step with 0 at both ends; one that is refused says why and names the file.
// Both sweeps run over a small map and must end, within bounds, whatever the
// table holds.
#include <QFile>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "map/mapdata.h"
#include "paths.h"
#include "tests/fuzz/fuzzkit.h"
#include "radio/coverage.h"
#include "views3d/radar3d.h"

namespace {

constexpr int kMap = 24;  // cells a side

const QString &folder()
{
    static const QString path = [] {
        const QString dir = QString::fromStdString(zkfuzz::privateFolder());
        setenv("ZK_THREADS", "1", 1);
        zk::paths::setUserFolder(dir);
        zk::paths::setProgramFolder(dir);
        // A small map: 10 km a side, a hill in the middle.
        zk::elevgrid.redim(kMap - 1, kMap - 1);
        for (int y = 0; y < kMap; ++y)
            for (int x = 0; x < kMap; ++x) zk::elevgrid.at(x, y) = int16_t(400 - 20 * (std::abs(x - 12) + std::abs(y - 12)));
        zk::mapset.size = 10;
        return dir;
    }();
    return path;
}

struct Quiet : zk::CoverageCanvas {
    long cells = 0;
    void fill(const QPoint *, uint32_t) override { ++cells; }
    void line(QPoint, QPoint, uint32_t) override {}
};

struct Cloud : zk::Radar3DCanvas {
    long targets = 0;
    void target(const zk::RadarTarget &t) override
    {
        if (t.px < 0 || t.px >= kMap || t.py < 0 || t.py >= kMap) __builtin_trap();
        ++targets;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString name = QStringLiteral("fuzz.rad");
    if (!zkfuzz::writeFile((folder() + QLatin1Char('/') + name).toStdString(), data, size)) std::abort();
    zk::RadarTable t;
    const QString err = zk::readradar(name, t);
    if (!err.isEmpty()) {
        if (!err.endsWith(name) || t.n != 0) __builtin_trap();
        return 0;
    }
    if (t.n < 1 || t.n > zk::kMaxRadarBins || !(t.b > 0) || !std::isfinite(t.b)) __builtin_trap();
    if (t.lo.size() != size_t(t.n) + 2 || t.hi.size() != size_t(t.n) + 2) __builtin_trap();
    if (t.lo.front() != 0 || t.hi.front() != 0 || t.lo.back() != 0 || t.hi.back() != 0) __builtin_trap();

    zk::VisualSweep v;
    v.x0 = v.y0 = kMap / 2;
    v.hs = 450;
    v.rangemax = 20;
    v.azmin = 0;
    v.azmax = 360;
    v.azstep = 30;
    v.radar = &t;
    Quiet q;
    zk::visualsweep(v, q);

    zk::resetradarrandom();
    zk::Radar3DSweep p;
    p.table = &t;
    p.azstep = 30;
    p.h0 = 450;
    p.cx = p.cy = kMap / 2;
    p.gx = p.gy = float(kMap / 2);
    p.piccells_per_km = p.mapcells_per_km = float(kMap - 1) / zk::mapset.size;
    Cloud c;
    zk::radar3dsweep(p, c);
    return 0;
}
