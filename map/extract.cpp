#include "extract.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <unordered_map>

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

// GTOPO30 samples form one lattice over the globe: sample x of lattice row y
// (both from 0) lies at the centre of its 30" square, at longitude
// -180 + (x + 0.5) / 120 and latitude 90 - (y + 0.5) / 120. Rows are cut into
// bands of 50 degrees (6000 rows) of tiles 40 degrees wide, and south of
// 60 S into tiles 60 degrees wide (3600 rows of 7200 samples).
constexpr int64_t kTopoLatticeCols = 360 * 120, kTopoLatticeRows = 180 * 120, kTopoAntFirstRow = 150 * 120;

// The tile holding lattice sample (x, y), x already wrapped and y on the
// lattice: its north-west corner, western edges from -180.
struct TopoTile {
    int32_t tlon, tlat;
    bool operator<(const TopoTile &o) const { return tlat != o.tlat ? tlat > o.tlat : tlon < o.tlon; }
    bool operator==(const TopoTile &o) const { return tlat == o.tlat && tlon == o.tlon; }
};
TopoTile topotileof(int64_t x, int64_t y)
{
    if (y >= kTopoAntFirstRow) return {int32_t(-180 + x / 7200 * 60), -60};
    return {int32_t(-180 + x / 4800 * 40), int32_t(90 - y / 6000 * 50)};
}
int64_t wrapcol(int64_t x) { return ((x % kTopoLatticeCols) + kTopoLatticeCols) % kTopoLatticeCols; }

// The samples of the GTOPO30 tiles a run has read, by lattice position, for
// the cells that lie between two tiles' samples.
class TopoSamples {
public:
    void add(int32_t tlon, int32_t tlat, const QString &path)
    {
        tlon = int32_t(((int64_t(tlon) + 180) % 360 + 360) % 360 - 180);
        auto f = std::make_unique<QFile>(path);
        if (f->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) files_[{tlon, tlat}] = std::move(f);
    }
    bool empty() const { return files_.empty(); }

    // Sample (x, y) as the reader takes it (below -1000 as 0); false when
    // its tile was not read or ends before it.
    bool at(int64_t x, int64_t y, int16_t &v)
    {
        if (y < 0 || y >= kTopoLatticeRows) return false;
        x = wrapcol(x);
        const int64_t key = y * kTopoLatticeCols + x;
        if (const auto c = cache_.find(key); c != cache_.end()) {
            v = c->second.value;
            return c->second.present;
        }
        Cached got{false, 0};
        const TopoTile t = topotileof(x, y);
        if (const auto f = files_.find(t); f != files_.end()) {
            const bool antarctic = t.tlat == -60;
            const int64_t cols = antarctic ? 7200 : 4800;
            const int64_t r = antarctic ? y - kTopoAntFirstRow : y % 6000, col = antarctic ? x % 7200 : x % 4800;
            uchar b[2];
            if (f->second->seek((r * cols + col) * 2) && f->second->read(reinterpret_cast<char *>(b), 2) == 2) {
                const int16_t s = qFromBigEndian<int16_t>(b);
                got = {true, int16_t(s < -1000 ? 0 : s)};
            }
        }
        cache_[key] = got;
        v = got.value;
        return got.present;
    }

private:
    struct Cached {
        bool present;
        int16_t value;
    };
    std::map<TopoTile, std::unique_ptr<QFile>> files_;
    std::unordered_map<int64_t, Cached> cache_;
};

// The GTOPO30 reader interpolates inside one tile only: it leaves the cells
// from its last sample column (row) on, up to the next tile's first one,
// and those before its first sample. These cells lie between the samples of
// two tiles (four at a corner) and are interpolated here from the samples
// of both, as the reader would over one tile. A cell within a read tile's
// square whose neighbour tile was not read takes that tile's edge samples,
// so that a tile still covers its whole square. (gx0, gy0) is the lattice
// position of the grid's north-western cell, (di, dj) the samples a cell
// spans. Answers false when the run was stopped.
bool filltopojoins(TopoSamples &samples, double gx0, double gy0, double di, double dj, int32_t u1, int32_t u2)
{
    if (samples.empty() || !std::isfinite(gx0) || !std::isfinite(gy0) || !(di > 0) || !(dj > 0)) return true;
    // The reader's positions come from 32-bit floats: a cell this close to a
    // tile's edge samples may or may not have been written, and is written here.
    constexpr double margin = 1.0 / 64;
    for (int32_t jn = 0; jn <= u2; ++jn) {
        const double gy = gy0 + jn * dj;
        if (!(std::fabs(gy) < 1.0e12)) continue;
        const int64_t ylo = int64_t(std::floor(gy - margin)), yhi = int64_t(std::floor(gy + margin)) + 1;
        const bool rowsInside = ylo >= 0 && yhi < kTopoLatticeRows;
        bool filled = false;
        for (int32_t i = 0; i <= u1; ++i) {
            const double gx = gx0 + i * di;
            if (!(std::fabs(gx) < 1.0e12)) continue;
            const int64_t xlo = wrapcol(int64_t(std::floor(gx - margin))), xhi = wrapcol(int64_t(std::floor(gx + margin)) + 1);
            if (rowsInside && topotileof(xlo, ylo) == topotileof(xhi, yhi) && topotileof(xlo, ylo) == topotileof(xhi, ylo) &&
                topotileof(xlo, ylo) == topotileof(xlo, yhi))
                continue;  // inside one tile: the reader's cell
            // Only a cell in the square of a tile that was read.
            int16_t nearest = 0;
            if (!samples.at(int64_t(std::floor(gx + 0.5)), std::clamp<int64_t>(int64_t(std::floor(gy + 0.5)), 0, kTopoLatticeRows - 1),
                            nearest))
                continue;
            const int64_t x0 = int64_t(std::floor(gx)), y0 = int64_t(std::floor(gy));
            const double fx = gx - double(x0), fy = gy - double(y0);
            // The four samples around the cell (rows beyond the poles are
            // the edge rows); one missing takes its neighbour across x, or
            // else across y, or else the opposite one.
            int16_t s[2][2];
            bool have[2][2];
            for (int a = 0; a < 2; ++a)
                for (int b = 0; b < 2; ++b)
                    have[a][b] = samples.at(x0 + a, std::clamp<int64_t>(y0 + b, 0, kTopoLatticeRows - 1), s[a][b]);
            double v[2][2];
            for (int a = 0; a < 2; ++a)
                for (int b = 0; b < 2; ++b)
                    v[a][b] = have[a][b] ? s[a][b] : have[1 - a][b] ? s[1 - a][b] : have[a][1 - b] ? s[a][1 - b]
                                                  : have[1 - a][1 - b] ? s[1 - a][1 - b] : nearest;
            const double z = (v[0][0] * (1.0 - fx) + v[1][0] * fx) * (1.0 - fy) + (v[0][1] * (1.0 - fx) + v[1][1] * fx) * fy;
            elevgrid.at(i, u2 - jn) = int16_t(std::trunc(z));
            filled = true;
        }
        if (filled) {
            mappump();
            if (runflag == 0) return false;
        }
    }
    return true;
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
    const double di = g.u1 != 0 ? dlon / g.u1 * 120.0 : 0.0;
    const double dj = g.u2 != 0 ? dlat / g.u2 * 120.0 : 0.0;
    TopoSamples samples;

    // Tile bands have their northern edges at 90, 40, -10 and -60; the band
    // from -60 to -90 has tiles 60 degrees wide.
    int32_t tlat = 90 - floorDeg((90.0 - n) / 50.0) * 50;
    while (tlat > std::max(s, -90.0)) {
        const bool antarctic = tlat <= -60;
        const int32_t width = antarctic ? 60 : 40;
        // Each sample lies at the centre of its 30" square: the origin is the
        // first sample's place, half a sample inside the tile's corner. The
        // reader shrinks the steps it is given by C / (C + 1) (R / (R + 1)),
        // spreading the samples over the whole tile; the steps given are
        // widened by the inverse, so that its samples lie where they are.
        // Spread over the tile, a cell read up to half a sample off, in
        // opposite directions on the two sides of a join: a false cliff
        // along every join.
        const double cols = antarctic ? 7200 : 4800, rows = antarctic ? 3600 : 6000;
        const float stepI = float(di * (cols + 1) / cols), stepJ = float(dj * (rows + 1) / rows);
        int32_t tlon = floorDeg((w + 180.0) / width) * width - 180;
        while (tlon < e) {
            const float x0 = gridPosition((tlon + 1.0 / 240 - w) * cx);
            const float y0 = gridPosition((n - (tlat - 1.0 / 240)) * cy);
            mappump();
            for (;;) {
                const QString path = gtopo30path(usableroot(settings.drv[1]), tlon, tlat);
                if (paths::exists(path)) {
                    const QByteArray file = enginePath(path);
                    if (engine::gettopo30(elevgrid.engineArray(), file.constData(), x0, y0, stepI, stepJ,
                                          antarctic ? 1 : 0))
                        samples.add(tlon, tlat, QFile::decodeName(file));
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
    if (!filltopojoins(samples, (w + 180.0) * 120.0 - 0.5, (90.0 - n) * 120.0 - 0.5, di, dj, g.u1, g.u2)) return endrun();
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
