#include "extract.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>

#include "base/longop.h"
#include "base/routines.h"
#include "base/settings.h"
#include "engine.h"
#include "map/expandfile.h"
#include "map/mapdata.h"
#include "map/mapservices.h"
#include "map/tilenames.h"
#include "msgbox.h"
#include "paths.h"

namespace zk {

namespace {

// Whole degrees for the tile loops. Edges that are not numbers or lie absurdly
// far out are held to a range that keeps the loops finite and stoppable.
int32_t floorDeg(double v)
{
    if (!(v == v)) return 0;
    return int32_t(std::floor(std::clamp(v, -1.0e6, 1.0e6)));
}

// The grid cell nearest to the position num / den x u (halves to the even
// cell, as a position is put on the grid everywhere else); 0 when it cannot
// be computed.
int32_t gridIndex(double num, double den, double u)
{
    if (den == 0.0) return 0;
    const double v = std::nearbyint(num / den * u);
    if (!(v >= -2147483648.0 && v <= 2147483647.0)) return 0;
    return int32_t(v);
}

// Tile samples per grid cell; 0 when the grid has no extent in that direction.
float cellStep(double extent, double perDegree, double u)
{
    if (u == 0.0) return 0.0f;
    const double v = extent * perDegree / u;
    return std::isfinite(v) && std::fabs(v) < 1.0e30 ? float(v) : 0.0f;
}

// A grid position as the GTOPO30 reader takes it: a float, fraction kept, so
// that the tile lands where it lies rather than on the nearest whole cell.
float gridPosition(double v) { return std::isfinite(v) && std::fabs(v) < 1.0e30 ? float(v) : 0.0f; }

QByteArray enginePath(const QString &path) { return QFile::encodeName(paths::resolve(path)); }

enum class Missing { Next, Retry, Abort };

// A tile that is not there: skipped silently when the user chose to ignore
// missing tiles, else the user decides (Abort stops the run).
Missing missingtile(const char *kind, const QString &shown)
{
    if (settings.ignoremissing) return Missing::Next;
    const int a = msgbox(QStringLiteral("Fichier %1 non trouvé.\r\n").arg(QLatin1String(kind)) + shown,
                         mbAbortRetryIgnore | mbExclamation);
    if (a == idAbort) {
        runflag = 0;
        return Missing::Abort;
    }
    if (a == idRetry) return Missing::Retry;
    return Missing::Next;
}

// The map's edges as the runs read them.
struct Edges {
    float n, s, w, e;
    int32_t u1, u2;
};
Edges edges()
{
    return {mapcorners.lat[0], mapcorners.lat[2], mapcorners.lon[0], mapcorners.lon[2], elevgrid.ubound1(),
            elevgrid.ubound2()};
}

// Where a 1-degree tile lies on the grid for the Terrain and DTED readers,
// which take its origin in whole cells: the cells nearest to its edges, and
// the steps that take its samples from one edge to the other. Rounding every
// origin down put whole tiles up to a cell off; rounding alone still leaves
// neighbouring tiles up to half a cell off in opposite directions, a false
// cliff along their join. With the step worked out from the two rounded
// edges, the edge samples that neighbouring tiles share land on the same
// cell, and every cell stays within half a cell of its place.
struct TilePlace {
    int32_t i0, j0;
    float stepI, stepJ;
};
TilePlace tileplace(const Edges &g, int32_t x, int32_t y, double perDegreeI, double perDegreeJ)
{
    const float dlon = g.e - g.w, dlat = g.n - g.s;
    const int32_t i0 = gridIndex(double(x) - g.w, dlon, g.u1), i1 = gridIndex(double(x) + 1 - g.w, dlon, g.u1);
    const int32_t j0 = gridIndex(double(y) - g.s, dlat, g.u2), j1 = gridIndex(double(y) + 1 - g.s, dlat, g.u2);
    // A tile narrower than two cells keeps the map's own step.
    const int64_t wide = int64_t(i1) - i0, high = int64_t(j1) - j0;
    const float stepI = wide >= 2 ? float(perDegreeI / double(wide)) : cellStep(dlon, perDegreeI, g.u1);
    const float stepJ = high >= 2 ? float(perDegreeJ / double(high)) : cellStep(dlat, perDegreeJ, g.u2);
    return {i0, j0, stepI, stepJ};
}

// Tiles of a 1-degree run, the progress total of Terrain and DTED.
int32_t onedegreetiles(const Edges &g)
{
    const int64_t rows = int64_t(std::min(floorDeg(g.n), 89)) - std::max(floorDeg(g.s), -90) + 1;
    const int64_t cols = int64_t(floorDeg(g.e)) - floorDeg(g.w) + 1;
    return int32_t(std::clamp<int64_t>(rows * cols, INT32_MIN, INT32_MAX));
}

// End of a run: the answer is whether it was not stopped.
bool endrun()
{
    const bool done = runflag != 0;
    endop();
    return done;
}

}  // namespace

bool readterraintile(const QString &path, std::vector<int16_t> &cells)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() != kTerrainBytes) return false;
    const QByteArray bytes = f.read(kTerrainBytes);
    if (bytes.size() != kTerrainBytes) return false;
    // Profile p, sample s lies at p x 121 + s: the same place as element
    // (s, p) of the tile array, whose first index is the fastest.
    cells.resize(size_t(kTerrainSide) * kTerrainSide);
    qFromLittleEndian<int16_t>(bytes.constData(), qsizetype(cells.size()), cells.data());
    return true;
}

void mapstatistics()
{
    beginop(opmapstats);
    mapset.hmin = 9999;
    mapset.hmax = -999;
    engine::getmapstat(&mapset, elevgrid.engineArray());
    mapset.minx = mapset.hmin;
    mapset.maxx = mapset.hmax;
    mapinitcolors();
}

bool extractterrain()
{
    setcorners(mapset);
    const Edges g = edges();
    tilecount = onedegreetiles(g);
    beginop(opterrain);

    const QString tmp = temppath();
    std::vector<int16_t> cells(size_t(kTerrainSide) * kTerrainSide, 0);
    ZkArray tile{2, {0, 0}, {kTerrainSide - 1, kTerrainSide - 1}, cells.data()};
    ZkArray *tilePtr = &tile;

    // The 0.01 allowance takes in a tile column or row whose edge lies just
    // above the map's edge.
    const int32_t xEnd = floorDeg(double(g.e) + 0.01);
    const int32_t yFirst = std::max(floorDeg(g.s), -90);
    const int32_t yEnd = std::min(floorDeg(double(g.n) + 0.01), 89);
    for (int32_t x = floorDeg(g.w); x <= xEnd; ++x) {
        for (int32_t y = yFirst; y <= yEnd; ++y) {
            mappump();
            const TilePlace at = tileplace(g, x, y, 120, 120);
            for (;;) {
                const QString root = usableroot(settings.drv[2]) + QStringLiteral("terrain/");
                const QString rel = terrainrelpath(x, y);
                if (!tmp.isEmpty() && expandfile(root, tmp, rel, QStringLiteral("temp.sdm"), kTerrainBytes) &&
                    readterraintile(tmp + QStringLiteral("temp.sdm"), cells)) {
                    tile.data = cells.data();
                    engine::getterrain(elevgrid.engineArray(), &tilePtr, at.i0, at.j0, at.stepI, at.stepJ);
                    break;
                }
                const Missing m = missingtile("TERRAIN", root + rel);
                if (m == Missing::Retry) continue;
                if (m == Missing::Next && !settings.ignoremissing) mappump();
                break;
            }
            if (runflag == 0) return endrun();
            ++progcount;
            opcallback(0);
        }
    }
    if (runflag == 0) return endrun();
    mapstatistics();
    if (!tmp.isEmpty()) QFile::remove(tmp + QStringLiteral("temp.sdm"));
    return endrun();
}

bool extractgtopo30()
{
    beginop(opgtopo30);
    setcorners(mapset);
    const Edges g = edges();
    const double n = g.n, s = g.s, w = std::clamp(double(g.w), -1.0e6, 1.0e6), e = std::clamp(double(g.e), -1.0e6, 1.0e6);
    const double dlat = n - s, dlon = e - w;
    // Grid cells per degree, and tile samples (120 per degree) per grid cell.
    const double cx = dlon != 0.0 ? g.u1 / dlon : 0.0;
    const double cy = dlat != 0.0 ? g.u2 / dlat : 0.0;
    const float stepI = g.u1 != 0 ? float(dlon / g.u1 * 120.0) : 0.0f;
    const float stepJ = g.u2 != 0 ? float(dlat / g.u2 * 120.0) : 0.0f;

    // Tile bands have their northern edges at 90, 40, -10 and -60; the band
    // from -60 to -90 has tiles 60 degrees wide.
    int32_t tlat = 90 - floorDeg((90.0 - n) / 50.0) * 50;
    while (tlat > std::max(s, -90.0)) {
        const bool antarctic = tlat <= -60;
        const int32_t width = antarctic ? 60 : 40;
        int32_t tlon = floorDeg((w + 180.0) / width) * width - 180;
        while (tlon < e) {
            const float x0 = gridPosition((tlon - w) * cx);
            const float y0 = gridPosition((n - tlat) * cy);
            mappump();
            for (;;) {
                const QString path = gtopo30path(usableroot(settings.drv[1]), tlon, tlat);
                if (paths::exists(path)) {
                    engine::gettopo30(elevgrid.engineArray(), enginePath(path).constData(), x0, y0, stepI, stepJ,
                                      antarctic ? 1 : 0);
                    mappump();
                    break;
                }
                if (missingtile("GTOPO30", path) == Missing::Retry) {
                    mappump();
                    continue;
                }
                break;
            }
            if (runflag == 0) return endrun();
            tlon += width;
        }
        tlat -= 50;
    }
    if (runflag == 0) return endrun();
    mapstatistics();
    return endrun();
}

bool extractdted()
{
    setcorners(mapset);
    const Edges g = edges();
    tilecount = onedegreetiles(g);
    beginop(opdted);

    const int32_t xEnd = floorDeg(g.e);
    const int32_t yFirst = std::max(floorDeg(g.s), -90);
    const int32_t yEnd = std::min(floorDeg(g.n), 89);
    for (int32_t x = floorDeg(g.w); x <= xEnd; ++x) {
        for (int32_t y = yFirst; y <= yEnd; ++y) {
            mappump();
            // Profiles a degree by the cell's latitude; samples for 1201-sample cells.
            const TilePlace at = tileplace(g, x, y, dtedprofiles(y), 1200);
            for (;;) {
                const auto candidates = dtedcandidates(usableroot(settings.drv[0]), x, y);
                const DtedCandidate *found = nullptr;
                for (const DtedCandidate &c : candidates)
                    if (paths::exists(c.path)) {
                        found = &c;
                        break;
                    }
                if (found) {
                    engine::getdted(elevgrid.engineArray(), enginePath(found->path).constData(), found->flag, at.i0, at.j0,
                                    at.stepI, at.stepJ);
                    break;
                }
                const Missing m = missingtile("DTED", candidates[2].path + QStringLiteral("/1"));
                if (m == Missing::Retry) continue;
                if (m == Missing::Next && !settings.ignoremissing) mappump();
                break;
            }
            if (runflag == 0) return endrun();
            ++progcount;
        }
    }
    if (runflag == 0) return endrun();
    mapstatistics();
    return endrun();
}

}  // namespace zk
