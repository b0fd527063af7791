// Extraction from real tiles written by independent tools: compressed Terrain
// tiles from Debian's mscompress, DTED cells from gdal_translate, GTOPO30
// tiles with their EHdr header (checked with GDAL). Maps across two adjacent
// tiles and across the antimeridian, the DTED longitude zones, the
// missing-tile message, Stop, and the statistics step.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <functional>

#include "base/longop.h"
#include "base/routines.h"
#include "base/settings.h"
#include "engine.h"
#include "map/expandfile.h"
#include "map/extract.h"
#include "map/mapdata.h"
#include "map/mapservices.h"
#include "map/tilenames.h"
#include "msgbox.h"
#include "paths.h"

namespace {

// Elevation as a function of the map's own longitude (which may lie below
// -180 for a map across the antimeridian) and latitude.
using Terrain = std::function<double(double lon, double lat)>;

// A plane: bilinear resampling reproduces it, so a grid cell may differ from
// it only by the placement of a tile to within one cell.
Terrain plane(double lon0, double lat0)
{
    return [=](double lon, double lat) { return 1000.0 + 100.0 * (lon - lon0) + 50.0 * (lat - lat0); };
}

int16_t sample(const Terrain &f, double lon, double lat) { return int16_t(std::lround(f(lon, lat))); }

bool run(const QString &program, const QStringList &args, const QString &dir = QString())
{
    QProcess p;
    if (!dir.isEmpty()) p.setWorkingDirectory(dir);
    p.start(program, args);
    if (!p.waitForFinished(60000)) return false;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
        return false;
    }
    return true;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The expanded form of a Terrain tile: 121 profiles west to east, each of 121
// samples south to north, 1/120 degree apart, little-endian.
QByteArray terrainRaw(int x, int y, const Terrain &f)
{
    QByteArray raw(29282, '\0');
    for (int p = 0; p < 121; ++p)
        for (int s = 0; s < 121; ++s)
            qToLittleEndian<int16_t>(sample(f, x + p / 120.0, y + s / 120.0), raw.data() + 2 * (p * 121 + s));
    return raw;
}

// Compresses with mscompress and proves the result with msexpand.
bool compressTile(const QByteArray &raw, const QString &dest)
{
    QTemporaryDir work;
    const QString plain = work.filePath(QStringLiteral("tile.sdm"));
    if (!writeBytes(plain, raw) || !run(QStringLiteral("mscompress"), {plain})) return false;
    const QByteArray packed = readBytes(plain + QLatin1Char('_'));
    QTemporaryDir check;
    const QString copy = check.filePath(QStringLiteral("tile.sdm_"));
    if (!writeBytes(copy, packed) || !run(QStringLiteral("msexpand"), {copy}, check.path())) return false;
    if (readBytes(check.filePath(QStringLiteral("tile.sdm"))) != raw) {
        qWarning("mscompress round trip failed");
        return false;
    }
    return writeBytes(dest, packed);
}

// A DTED cell made by gdal_translate from a raw EHdr raster whose samples lie
// on the cell's profiles (pixel is point): level 0 or 1, with perDeg profiles
// per degree (GDAL refuses a count that does not fit the cell's latitude);
// `flagLayout` adds the 80-byte record in front that the first candidate's
// layout carries.
bool dtedCell(const QString &path, int x, int y, int level, int perDeg, const Terrain &f, bool flagLayout = false)
{
    const int nx = perDeg + 1;
    const int ny = level == 0 ? 121 : 1201;
    int realLon = x;
    if (realLon > 179) realLon -= 360;
    if (realLon < -180) realLon += 360;
    QTemporaryDir work;
    QByteArray raw(qsizetype(2) * nx * ny, '\0');
    for (int r = 0; r < ny; ++r)
        for (int c = 0; c < nx; ++c)
            qToLittleEndian<int16_t>(sample(f, x + double(c) / perDeg, y + 1 - double(r) / (ny - 1)),
                                     raw.data() + 2 * (qsizetype(r) * nx + c));
    const QString bil = work.filePath(QStringLiteral("cell.bil"));
    const QString hdr = QStringLiteral(
                            "BYTEORDER I\nLAYOUT BIL\nNROWS %1\nNCOLS %2\nNBANDS 1\nNBITS 16\nPIXELTYPE SIGNEDINT\n"
                            "ULXMAP %3\nULYMAP %4\nXDIM %5\nYDIM %6\n")
                            .arg(ny)
                            .arg(nx)
                            .arg(realLon)
                            .arg(y + 1)
                            .arg(1.0 / perDeg, 0, 'g', 17)
                            .arg(1.0 / (ny - 1), 0, 'g', 17);
    if (!writeBytes(bil, raw) || !writeBytes(work.filePath(QStringLiteral("cell.hdr")), hdr.toLatin1())) return false;
    const QString out = work.filePath(level == 0 ? QStringLiteral("cell.dt0") : QStringLiteral("cell.dt1"));
    if (!run(QStringLiteral("gdal_translate"), {QStringLiteral("-q"), QStringLiteral("-of"), QStringLiteral("DTED"), bil, out}))
        return false;
    QByteArray cell = readBytes(out);
    if (cell.size() != 3428 + qsizetype(nx) * (2 * ny + 12)) {
        qWarning("unexpected DTED size %lld", qlonglong(cell.size()));
        return false;
    }
    if (flagLayout) cell.prepend(QByteArray("HDR1").leftJustified(80, ' '));
    return writeBytes(path, cell);
}

// A GTOPO30 tile with its EHdr header: big-endian samples at the pixel
// centres, only rows r0..r1-1 written and the rest left as a hole of the
// full-size file (read back as zeros).
bool gtopoTile(const QString &root, int tlon, int tlat, bool antarctic, int r0, int r1, const Terrain &f,
               double frameShift = 0)
{
    const int cols = antarctic ? 7200 : 4800, rows = antarctic ? 3600 : 6000;
    const QString name = zk::gtopo30name(tlon, tlat);
    const QString dem = root + name + QLatin1Char('/') + name + QStringLiteral(".DEM");
    QDir().mkpath(root + name);
    QFile file(dem);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QByteArray row(2 * cols, '\0');
    for (int r = r0; r < r1; ++r) {
        const double lat = tlat - (r + 0.5) / 120.0;
        for (int c = 0; c < cols; ++c) {
            const double lon = tlon + (c + 0.5) / 120.0 + frameShift;
            const double v = f(lon, lat);
            qToBigEndian<int16_t>(int16_t(std::lround(v)), row.data() + 2 * c);
        }
        if (!file.seek(qint64(r) * 2 * cols) || file.write(row) != row.size()) return false;
    }
    if (!file.resize(qint64(rows) * 2 * cols)) return false;
    file.close();
    const QString hdr = QStringLiteral(
                            "BYTEORDER      M\nLAYOUT         BIL\nNROWS         %1\nNCOLS         %2\nNBANDS        1\n"
                            "NBITS         16\nBANDROWBYTES         %3\nTOTALROWBYTES        %3\nBANDGAPBYTES         0\n"
                            "NODATA        -9999\nULXMAP        %4\nULYMAP        %5\nXDIM          0.00833333333333\n"
                            "YDIM          0.00833333333333\n")
                            .arg(rows)
                            .arg(cols)
                            .arg(2 * cols)
                            .arg(tlon + 1.0 / 240, 0, 'f', 11)
                            .arg(tlat - 1.0 / 240, 0, 'f', 11);
    return writeBytes(root + name + QLatin1Char('/') + name + QStringLiteral(".HDR"), hdr.toLatin1());
}

// GDAL's reading of one position of a fixture.
double gdalValue(const QString &path, double lon, double lat)
{
    QProcess p;
    p.start(QStringLiteral("gdallocationinfo"),
            {QStringLiteral("-valonly"), QStringLiteral("-geoloc"), path, QString::number(lon, 'g', 12), QString::number(lat, 'g', 12)});
    p.waitForFinished(60000);
    bool ok = false;
    const double v = QString::fromLatin1(p.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? v : NAN;
}

// Shapes the grid and centres the map, as the map-properties Apply does.
void shapeMap(double lon, double lat, double dlatDeg, int u1, int u2)
{
    zk::elevgrid.redim(u1, u2);
    zk::mapset = MapSettings{};
    zk::mapset.lon = float(lon);
    zk::mapset.lat = float(lat);
    zk::mapset.size = float(dlatDeg * 6367.0 * 0.017453292519943);
    zk::mapset.hmin = 123;
    zk::mapset.hmax = 456;
    zk::setcorners(zk::mapset);
}

// GDAL's nearest-sample resampling of `sources` onto the map's grid posts
// (pixel centres on the cells, row 0 north), as 16-bit elevations; empty when
// gdalwarp fails.
QVector<int16_t> gdalwarpNear(const QStringList &sources, const QString &workDir)
{
    const auto &c = zk::mapcorners;
    const int u1 = zk::elevgrid.ubound1(), u2 = zk::elevgrid.ubound2();
    const double w = c.lon[0], e = c.lon[2], s = c.lat[2], n = c.lat[0];
    const double hx = (e - w) / u1 / 2, hy = (n - s) / u2 / 2;
    const QString out = workDir + QStringLiteral("/near.bil");
    QStringList args{QStringLiteral("-q"), QStringLiteral("-overwrite"), QStringLiteral("-s_srs"), QStringLiteral("EPSG:4326"),
                     QStringLiteral("-t_srs"), QStringLiteral("EPSG:4326"), QStringLiteral("-r"), QStringLiteral("near"),
                     QStringLiteral("-et"), QStringLiteral("0"), QStringLiteral("-ot"), QStringLiteral("Int16"),
                     QStringLiteral("-of"), QStringLiteral("EHdr"), QStringLiteral("-te")};
    for (double v : {w - hx, s - hy, e + hx, n + hy}) args << QString::number(v, 'g', 17);
    args << QStringLiteral("-ts") << QString::number(u1 + 1) << QString::number(u2 + 1);
    args << sources << out;
    if (!run(QStringLiteral("gdalwarp"), args)) return {};
    const QByteArray hdr = readBytes(workDir + QStringLiteral("/near.hdr"));
    const QByteArray raw = readBytes(out);
    if (!hdr.contains("BYTEORDER      I") || raw.size() != qsizetype(2) * (u1 + 1) * (u2 + 1)) {
        qWarning("unexpected gdalwarp output: %s", hdr.constData());
        return {};
    }
    QVector<int16_t> v(qsizetype(u1 + 1) * (u2 + 1));
    qFromLittleEndian<int16_t>(raw.constData(), v.size(), v.data());
    return v;
}

struct Agreement {
    int cells = 0, off = 0;
    double worst = 0, sumSq = 0;
    QString first;
    double rms() const { return cells ? std::sqrt(sumSq / cells) : 0; }
};

// The grid against GDAL's values (nearest samples, or elevations
// interpolated from its samples), cell by cell.
template <typename T>
Agreement agreement(const QVector<T> &near, double tolerance)
{
    Agreement a;
    const int u1 = zk::elevgrid.ubound1(), u2 = zk::elevgrid.ubound2();
    for (int j = 0; j <= u2; ++j)
        for (int i = 0; i <= u1; ++i) {
            const double want = near[qsizetype(u2 - j) * (u1 + 1) + i];
            const double d = zk::elevgrid.at(i, j) - want;
            ++a.cells;
            a.sumSq += d * d;
            a.worst = std::max(a.worst, std::fabs(d));
            if (std::fabs(d) > tolerance && a.off++ == 0)
                a.first = QStringLiteral("cell %1,%2: %3, GDAL %4").arg(i).arg(j).arg(zk::elevgrid.at(i, j)).arg(want);
        }
    return a;
}

// Elevations at the map's grid posts (row 0 north, as gdalwarpNear gives
// them) interpolated bilinearly between the samples of a mosaic of `tiles`
// as GDAL reads them: GDAL places the samples (from each tile's header) and
// gives their values; only the weighting between the four samples around a
// post is done here, then truncated toward zero as the tile readers do.
// Empty when a GDAL tool fails.
QVector<double> gdalBilinear(const QStringList &tiles, const QString &workDir)
{
    const auto &c = zk::mapcorners;
    const int u1 = zk::elevgrid.ubound1(), u2 = zk::elevgrid.ubound2();
    const double w = c.lon[0], e = c.lon[2], s = c.lat[2], n = c.lat[0];
    const QString vrt = workDir + QStringLiteral("/mosaic.vrt"), win = workDir + QStringLiteral("/window.bil");
    if (!run(QStringLiteral("gdalbuildvrt"), QStringList{QStringLiteral("-q"), QStringLiteral("-overwrite"), vrt} + tiles))
        return {};
    // A window two samples wider than the map on every side.
    const double m = 2.0 / 120;
    QStringList args{QStringLiteral("-q"), QStringLiteral("-of"), QStringLiteral("EHdr"), QStringLiteral("-ot"),
                     QStringLiteral("Int16"), QStringLiteral("-projwin")};
    for (double v : {w - m, n + m, e + m, s - m}) args << QString::number(v, 'g', 17);
    args << vrt << win;
    if (!run(QStringLiteral("gdal_translate"), args)) return {};
    QProcess info;
    info.start(QStringLiteral("gdalinfo"), {QStringLiteral("-json"), win});
    if (!info.waitForFinished(60000) || info.exitCode() != 0) return {};
    const QJsonObject o = QJsonDocument::fromJson(info.readAllStandardOutput()).object();
    const QJsonArray gt = o.value(QStringLiteral("geoTransform")).toArray();
    const QJsonArray size = o.value(QStringLiteral("size")).toArray();
    const QByteArray hdr = readBytes(workDir + QStringLiteral("/window.hdr"));
    const QByteArray raw = readBytes(win);
    if (gt.size() != 6 || size.size() != 2 || !hdr.contains("BYTEORDER      I")) {
        qWarning("unexpected gdal_translate output: %s", hdr.constData());
        return {};
    }
    const int nx = size[0].toInt(), ny = size[1].toInt();
    if (raw.size() != qsizetype(2) * nx * ny) return {};
    QVector<int16_t> v(qsizetype(nx) * ny);
    qFromLittleEndian<int16_t>(raw.constData(), v.size(), v.data());
    auto at = [&](int x, int y) { return double(v[qsizetype(std::clamp(y, 0, ny - 1)) * nx + std::clamp(x, 0, nx - 1)]); };
    QVector<double> out(qsizetype(u1 + 1) * (u2 + 1));
    for (int j = 0; j <= u2; ++j)
        for (int i = 0; i <= u1; ++i) {
            const double lon = w + (e - w) * i / u1, lat = s + (n - s) * j / u2;
            // Pixel coordinates of the post, 0 at the centre of the first sample.
            const double px = (lon - gt[0].toDouble()) / gt[1].toDouble() - 0.5;
            const double py = (lat - gt[3].toDouble()) / gt[5].toDouble() - 0.5;
            const int x = int(std::floor(px)), y = int(std::floor(py));
            const double fx = px - x, fy = py - y;
            const double z = (at(x, y) * (1 - fx) + at(x + 1, y) * fx) * (1 - fy) + (at(x, y + 1) * (1 - fx) + at(x + 1, y + 1) * fx) * fy;
            out[qsizetype(u2 - j) * (u1 + 1) + i] = std::trunc(z);
        }
    return out;
}

// The worst difference between a step from a cell to its neighbour (east or
// north) and GDAL's step there: a tile placed apart from its neighbour shows
// as a false cliff along their join.
double worstStepError(const QVector<double> &want)
{
    const int u1 = zk::elevgrid.ubound1(), u2 = zk::elevgrid.ubound2();
    auto ref = [&](int i, int j) { return want[qsizetype(u2 - j) * (u1 + 1) + i]; };
    double worst = 0;
    for (int j = 0; j <= u2; ++j)
        for (int i = 0; i <= u1; ++i) {
            const double v = zk::elevgrid.at(i, j);
            if (i < u1) worst = std::max(worst, std::fabs(zk::elevgrid.at(i + 1, j) - v - (ref(i + 1, j) - ref(i, j))));
            if (j < u2) worst = std::max(worst, std::fabs(zk::elevgrid.at(i, j + 1) - v - (ref(i, j + 1) - ref(i, j))));
        }
    return worst;
}

// Rough terrain defined on the sample lattice (perLon x perLat samples a
// degree): neighbouring samples differ by tens of metres, so a cell that
// takes its neighbour's sample is far off.
Terrain rough(int perLon, int perLat)
{
    return [=](double lon, double lat) {
        const long p = std::lround(lon * perLon), q = std::lround(lat * perLat);
        const long h = ((p * 7919 + q * 104729) % 613 + 613) % 613;
        return 200.0 + double(h) + 0.25 * double(p % 400) + 0.1 * double(q % 500);
    };
}

struct GridCheck {
    int written = 0, wrong = 0, zero = 0;
    QString first;
};

// Compares every grid cell whose position passes `where` with the terrain,
// allowing one cell of placement and the rounding of the readers.
GridCheck checkGrid(const Terrain &f, const std::function<bool(double, double)> &where = {})
{
    GridCheck r;
    const auto &c = zk::mapcorners;
    const int u1 = zk::elevgrid.ubound1(), u2 = zk::elevgrid.ubound2();
    const double cellLon = (c.lon[2] - c.lon[0]) / u1, cellLat = (c.lat[0] - c.lat[2]) / u2;
    const double tol = 100.0 * std::fabs(cellLon) + 50.0 * std::fabs(cellLat) + 2.0;
    for (int i = 0; i <= u1; ++i)
        for (int j = 0; j <= u2; ++j) {
            const double lon = c.lon[0] + i * cellLon, lat = c.lat[2] + j * cellLat;
            if (where && !where(lon, lat)) continue;
            const int v = zk::elevgrid.at(i, j);
            if (v == 0) ++r.zero;
            ++r.written;
            if (std::fabs(v - f(lon, lat)) > tol) {
                if (r.wrong++ == 0)
                    r.first = QStringLiteral("cell %1,%2 (%3, %4): %5, expected %6 +- %7")
                                  .arg(i)
                                  .arg(j)
                                  .arg(lon)
                                  .arg(lat)
                                  .arg(v)
                                  .arg(f(lon, lat))
                                  .arg(tol);
            }
        }
    return r;
}

// Requests a stop (as the Stop button does) at the first event pumping
// after the operation has started.
void stopOnceRunning(int16_t code)
{
    QTimer::singleShot(0, [code] {
        if (zk::runflag == code)
            zk::runflag = 0;
        else
            stopOnceRunning(code);
    });
}

// Watches (runflag, progcount) whenever a run lets events run.
class ProgressWatch {
public:
    ProgressWatch()
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] { seen_.insert({zk::runflag, zk::progcount}); });
        timer_.start();
    }
    bool saw(int16_t code, int32_t count) const { return seen_.contains({code, count}); }
    int32_t most(int16_t code) const
    {
        int32_t m = -1;
        for (const auto &p : seen_)
            if (p.first == code) m = std::max(m, p.second);
        return m;
    }

private:
    QTimer timer_;
    QSet<QPair<int16_t, int32_t>> seen_;
};

bool allZero()
{
    for (size_t k = 0; k < zk::elevgrid.cellCount(); ++k)
        if (zk::elevgrid.data()[k] != 0) return false;
    return true;
}

}  // namespace

class TestExtract : public QObject {
    Q_OBJECT

    QTemporaryDir roots_;
    QString dted_, gtopo_, terrain_;
    int colours_ = 0;

    static void requireTool(const char *tool, const char *package)
    {
        QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(),
                 qPrintable(QStringLiteral("%1 is missing: install the Debian package %2 (scripts/install-deps.sh)")
                                .arg(QLatin1String(tool), QLatin1String(package))));
    }

    // Fresh, empty data roots for one test.
    void freshRoots()
    {
        static int n = 0;
        ++n;
        dted_ = roots_.filePath(QStringLiteral("r%1/dted/").arg(n));
        gtopo_ = roots_.filePath(QStringLiteral("r%1/gtopo/").arg(n));
        terrain_ = roots_.filePath(QStringLiteral("r%1/terrain/").arg(n));
        for (const QString &d : {dted_, gtopo_, terrain_}) QDir().mkpath(d);
        zk::settings.drv = {dted_, gtopo_, terrain_};
    }

private slots:
    void initTestCase()
    {
        for (const char *t : {"mscompress", "msexpand"}) requireTool(t, "mscompress");
        for (const char *t : {"gdal_translate", "gdallocationinfo", "gdalwarp", "gdalbuildvrt", "gdalinfo"})
            requireTool(t, "gdal-bin");
        QVERIFY(roots_.isValid());
        zk::mapservices.initcolors = [this] { ++colours_; };
        bool ok = false;
        zk::engine::callback(nullptr, &ok);
        QVERIFY2(ok, "the engine library is needed");
    }
    void cleanupTestCase() { zk::mapservices = zk::MapServices{}; }
    void init()
    {
        zk::settings = zk::AppSettings{};
        zk::runflag = 0;
        colours_ = 0;
        freshRoots();
    }

    void terrainAcrossTwoTiles()
    {
        const Terrain f = plane(-73, 45);
        QVERIFY(compressTile(terrainRaw(-74, 45, f), terrain_ + QStringLiteral("terrain/m073/w073n45.sd_")));
        // The second tile in upper case, as tile discs come.
        QVERIFY(compressTile(terrainRaw(-73, 45, f), terrain_ + QStringLiteral("terrain/M072/W072N45.SD_")));
        shapeMap(-73, 45.5, 0.8, 60, 40);
        QVERIFY(zk::mapcorners.lon[0] > -74 && zk::mapcorners.lon[2] < -72);
        zk::MsgScript script;
        ProgressWatch watch;
        QVERIFY(zk::extractterrain());
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(QLatin1Char('|'))));
        QCOMPARE(zk::tilecount, 2);
        // Progress counts whole tiles.
        QVERIFY(watch.saw(zk::opterrain, 0) && watch.saw(zk::opterrain, 1) && watch.saw(zk::opterrain, 2));
        QCOMPARE(watch.most(zk::opterrain), 2);
        QVERIFY(watch.saw(zk::opmapstats, 0));
        const GridCheck west = checkGrid(f, [](double lon, double) { return lon < -73.0; });
        const GridCheck east = checkGrid(f, [](double lon, double) { return lon > -73.0; });
        QVERIFY(west.written > 100 && east.written > 100);
        QVERIFY2(west.wrong == 0, qPrintable(west.first));
        QVERIFY2(east.wrong == 0, qPrintable(east.first));
        QCOMPARE(west.zero + east.zero, 0);
        // The statistics step: the plane's range over the map.
        QVERIFY(std::fabs(zk::mapset.hmin - f(zk::mapcorners.lon[0], zk::mapcorners.lat[2])) < 6);
        QVERIFY(std::fabs(zk::mapset.hmax - f(zk::mapcorners.lon[2], zk::mapcorners.lat[0])) < 6);
        QVERIFY(std::fabs(zk::mapset.hmoy - 1000.0f - 25.0f) < 3);
        QCOMPARE(zk::mapset.minx, zk::mapset.hmin);
        QCOMPARE(zk::mapset.maxx, zk::mapset.hmax);
        QCOMPARE(colours_, 1);
        QCOMPARE(zk::runflag, int16_t(0));
        // A complete run leaves no expanded tile behind.
        QVERIFY(!QFileInfo::exists(zk::temppath() + QStringLiteral("temp.sdm")));
    }

    // Four DTED-1 cells (600 profiles a degree at 60 N) on a grid of one
    // sample a cell whose posts lie 0.29 of a sample east of the profiles:
    // every cell must take the sample nearest its place, as GDAL's
    // nearest-sample warp does, on both sides of both joins.
    void dtedAcrossJoinsAgainstGdalwarp()
    {
        const Terrain f = rough(600, 1200);
        QTemporaryDir work;
        QStringList cells;
        for (int x = 10; x <= 11; ++x)
            for (int y = 59; y <= 60; ++y) {
                const QString path = dted_ + QStringLiteral("DTED/E0%1/N%2.DT1").arg(x).arg(y);
                QVERIFY(dtedCell(path, x, y, 1, 600, f));
                cells << path;
            }
        // 2^-11 degree off whole samples, so that the corners and steps are
        // exact in 32-bit floats (at 60 N the cells come out square with
        // one profile and one sample a cell).
        shapeMap(11 + 1.0 / 2048, 60, 0.5, 600, 600);
        QVERIFY(zk::mapcorners.lon[0] == 10.5f + 1.0f / 2048 && zk::mapcorners.lon[2] == 11.5f + 1.0f / 2048);
        QVERIFY(zk::mapcorners.lat[2] == 59.75f && zk::mapcorners.lat[0] == 60.25f);
        zk::MsgScript script;
        QVERIFY(zk::extractdted());
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(QLatin1Char('|'))));
        const QVector<int16_t> near = gdalwarpNear(cells, work.path());
        QVERIFY(!near.isEmpty());
        const Agreement a = agreement(near, 0.5);
        qInfo("DTED against gdalwarp -r near: RMS %.2f m, max %.0f m over %d cells", a.rms(), a.worst, a.cells);
        QVERIFY2(a.off == 0, qPrintable(QStringLiteral("%1 cells off, first %2").arg(a.off).arg(a.first)));
    }

    // Terrain tiles at the equator on a grid of one sample a cell, posts 0.23
    // of a sample off the samples, across the joins of four tiles; GDAL warps
    // the same samples from one raster of the four.
    void terrainAcrossJoinsAgainstGdalwarp()
    {
        const Terrain f = rough(120, 120);
        for (int x = 10; x <= 11; ++x)
            for (int y = -1; y <= 0; ++y)
                QVERIFY(compressTile(terrainRaw(x, y, f), terrain_ + QStringLiteral("terrain/") + zk::terrainrelpath(x, y)));
        QTemporaryDir work;
        QByteArray raw(2 * 241 * 241, '\0');
        for (int r = 0; r < 241; ++r)
            for (int c = 0; c < 241; ++c)
                qToLittleEndian<int16_t>(sample(f, 10 + c / 120.0, 1 - r / 120.0), raw.data() + 2 * (r * 241 + c));
        const QString bil = work.filePath(QStringLiteral("tiles.bil"));
        QVERIFY(writeBytes(bil, raw));
        QVERIFY(writeBytes(work.filePath(QStringLiteral("tiles.hdr")),
                           QByteArrayLiteral("BYTEORDER I\nLAYOUT BIL\nNROWS 241\nNCOLS 241\nNBANDS 1\nNBITS 16\n"
                                             "PIXELTYPE SIGNEDINT\nULXMAP 10\nULYMAP 1\nXDIM 0.00833333333333333333\n"
                                             "YDIM 0.00833333333333333333\n")));
        shapeMap(11 + 1.0 / 512, 1.0 / 512, 1.0, 120, 120);
        QVERIFY(zk::mapcorners.lon[0] == 10.5f + 1.0f / 512 && zk::mapcorners.lon[2] == 11.5f + 1.0f / 512);
        QVERIFY(zk::mapcorners.lat[2] == -0.5f + 1.0f / 512 && zk::mapcorners.lat[0] == 0.5f + 1.0f / 512);
        zk::MsgScript script;
        QVERIFY(zk::extractterrain());
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(QLatin1Char('|'))));
        const QVector<int16_t> near = gdalwarpNear({bil}, work.path());
        QVERIFY(!near.isEmpty());
        const Agreement a = agreement(near, 0.5);
        qInfo("Terrain against gdalwarp -r near: RMS %.2f m, max %.0f m over %d cells", a.rms(), a.worst, a.cells);
        QVERIFY2(a.off == 0, qPrintable(QStringLiteral("%1 cells off, first %2").arg(a.off).arg(a.first)));
    }

    // The demo map as a new user makes it (480 x 360 cells, 125 km around
    // 45.05 N 73 W): the 73 W join falls half-way between two columns. On a
    // steep plane every step from a cell to the next, across the joins as
    // inside the tiles, must be the plane's slope over one cell: a tile
    // placed apart from its neighbour shows as a longer or shorter step (a
    // false cliff) all along the join.
    void terrainJoinsWithoutSeams()
    {
        // 40 m a sample eastwards, 10 m a sample northwards.
        const Terrain f = [](double lon, double lat) { return 1000.0 + 4800.0 * (lon + 75) + 1200.0 * (lat - 44); };
        for (int x = -75; x <= -72; ++x)
            for (int y = 44; y <= 45; ++y)
                QVERIFY(compressTile(terrainRaw(x, y, f), terrain_ + QStringLiteral("terrain/") + zk::terrainrelpath(x, y)));
        zk::elevgrid.redim(479, 359);
        zk::mapset = MapSettings{};
        zk::mapset.lon = -73.0f;
        zk::mapset.lat = 45.05f;
        zk::mapset.size = 125;
        zk::MsgScript script;
        QVERIFY(zk::extractterrain());
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(QLatin1Char('|'))));
        const auto &c = zk::mapcorners;
        const double cellLon = (double(c.lon[2]) - c.lon[0]) / 479, cellLat = (double(c.lat[0]) - c.lat[2]) / 359;
        // The 73 W join lies half-way between columns 239 and 240.
        QVERIFY(std::fabs((-73.0 - c.lon[0]) / cellLon - 239.5) < 0.01);
        const double east = 4800.0 * cellLon, north = 1200.0 * cellLat;
        int bad = 0;
        QString first;
        for (int j = 0; j <= 359; ++j)
            for (int i = 0; i <= 479; ++i) {
                const int v = zk::elevgrid.at(i, j);
                // Within half a cell of its place, and the readers' rounding.
                const double want = f(c.lon[0] + i * cellLon, c.lat[2] + j * cellLat);
                const bool placed = std::fabs(v - want) <= (east + north) / 2 + 1;
                const bool stepE = i == 479 || std::fabs(zk::elevgrid.at(i + 1, j) - v - east) <= 1.5;
                const bool stepN = j == 359 || std::fabs(zk::elevgrid.at(i, j + 1) - v - north) <= 1.5;
                if (!(placed && stepE && stepN) && bad++ == 0)
                    first = QStringLiteral("cell %1,%2: %3 (plane %4), east step %5, north step %6 (slope %7, %8)")
                                .arg(i)
                                .arg(j)
                                .arg(v)
                                .arg(want)
                                .arg(i < 479 ? zk::elevgrid.at(i + 1, j) - v : 0)
                                .arg(j < 359 ? zk::elevgrid.at(i, j + 1) - v : 0)
                                .arg(east)
                                .arg(north);
            }
        QVERIFY2(bad == 0, qPrintable(QStringLiteral("%1 cells, first %2").arg(bad).arg(first)));
    }

    void terrainAcrossTheAntimeridian()
    {
        const Terrain f = plane(-180, 45);
        // The tile from 179 to 180 east is tile x = -181 of the map: "e180".
        QVERIFY(compressTile(terrainRaw(-181, 45, f), terrain_ + QStringLiteral("terrain/m180/e180n45.sd_")));
        QVERIFY(compressTile(terrainRaw(-180, 45, f), terrain_ + QStringLiteral("terrain/m179/w179n45.sd_")));
        shapeMap(-180, 45.5, 0.8, 60, 40);
        QVERIFY(zk::mapcorners.lon[0] < -180);
        zk::MsgScript script;
        QVERIFY(zk::extractterrain());
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(QLatin1Char('|'))));
        const GridCheck g = checkGrid(f);
        QVERIFY2(g.wrong == 0, qPrintable(g.first));
        QCOMPARE(g.zero, 0);
    }

    void terrainTilesThatDoNotExpand_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("read");
        QTest::newRow("compressed, 2 bytes short") << 0 << false;
        QTest::newRow("compressed, cut in half") << 1 << false;
        QTest::newRow("not compressed, right size") << 2 << true;
        QTest::newRow("not compressed, too long") << 3 << false;
        QTest::newRow("empty file") << 4 << false;
    }
    void terrainTilesThatDoNotExpand()
    {
        QFETCH(int, kind);
        QFETCH(bool, read);
        const Terrain f = plane(-73, 45);
        const QString tile = terrain_ + QStringLiteral("terrain/m073/w073n45.sd_");
        const QByteArray raw = terrainRaw(-74, 45, f);
        switch (kind) {
        case 0: QVERIFY(compressTile(raw.left(29280), tile)); break;
        case 1: {
            QVERIFY(compressTile(raw, tile));
            const QByteArray packed = readBytes(tile);
            QVERIFY(writeBytes(tile, packed.left(packed.size() / 2)));
            break;
        }
        case 2: QVERIFY(writeBytes(tile, raw)); break;
        case 3: QVERIFY(writeBytes(tile, raw + "xx")); break;
        case 4: QVERIFY(writeBytes(tile, QByteArray())); break;
        }
        shapeMap(-73.5, 45.5, 0.5, 40, 40);
        zk::MsgScript script;
        script.answer(zk::idIgnore);
        QVERIFY(zk::extractterrain());
        if (read) {
            QVERIFY(script.shown().isEmpty());
            const GridCheck g = checkGrid(f);
            QVERIFY2(g.wrong == 0 && g.zero == 0, qPrintable(g.first));
        } else {
            QCOMPARE(script.texts(), QStringList{QStringLiteral("Fichier TERRAIN non trouvé.\r\n") + tile});
            QVERIFY(allZero());
        }
    }

    void expandfileRefusesWhatCannotBeATile()
    {
        QTemporaryDir src, dst;
        // Far too large a source for the size asked: refused before expanding.
        QVERIFY(writeBytes(src.filePath(QStringLiteral("big.sd_")), QByteArray(40000, 'x')));
        QVERIFY(!zk::expandfile(src.path() + QLatin1Char('/'), dst.path() + QLatin1Char('/'), QStringLiteral("big.sd_"),
                                QStringLiteral("out"), zk::kTerrainBytes));
        QVERIFY(!QFileInfo::exists(dst.filePath(QStringLiteral("out"))));
        // Without an expected size any compressed file expands.
        const QByteArray small(100, 'a');
        QVERIFY(compressTile(small + QByteArray(100, 'b'), src.filePath(QStringLiteral("s.sd_"))));
        QVERIFY(zk::expandfile(src.path() + QLatin1Char('/'), dst.path() + QLatin1Char('/'), QStringLiteral("S.SD_"),
                               QStringLiteral("out")));
        QCOMPARE(readBytes(dst.filePath(QStringLiteral("out"))), small + QByteArray(100, 'b'));
        QVERIFY(!zk::expandfile(src.path() + QLatin1Char('/'), dst.path() + QLatin1Char('/'), QStringLiteral("none.sd_"),
                                QStringLiteral("out")));
    }

    void dtedAcrossTwoCellsInTwoLayouts()
    {
        const Terrain f = plane(-73, 45);
        QVERIFY(dtedCell(dted_ + QStringLiteral("DTED/w074/n45.dt1"), -74, 45, 1, 1200, f));
        // The eastern cell in the layout with one more header record in front.
        QVERIFY(dtedCell(dted_ + QStringLiteral("DTED/W0730000/N450000.DT1"), -73, 45, 1, 1200, f, true));
        shapeMap(-73, 45.5, 0.8, 60, 40);
        zk::MsgScript script;
        ProgressWatch watch;
        QVERIFY(zk::extractdted());
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(QLatin1Char('|'))));
        QCOMPARE(zk::tilecount, 2);
        QVERIFY(watch.saw(zk::opdted, 0) && watch.saw(zk::opdted, 1));
        QCOMPARE(watch.most(zk::opdted), 1);
        const GridCheck west = checkGrid(f, [](double lon, double) { return lon < -73.0; });
        const GridCheck east = checkGrid(f, [](double lon, double) { return lon > -73.0; });
        QVERIFY(west.written > 100 && east.written > 100);
        QVERIFY2(west.wrong == 0, qPrintable(west.first));
        QVERIFY2(east.wrong == 0, qPrintable(east.first));
        QCOMPARE(west.zero + east.zero, 0);
        QVERIFY(std::fabs(zk::mapset.hmin - f(zk::mapcorners.lon[0], zk::mapcorners.lat[2])) < 6);
        QVERIFY(std::fabs(zk::mapset.hmax - f(zk::mapcorners.lon[2], zk::mapcorners.lat[0])) < 6);
        QCOMPARE(colours_, 1);
    }

    void dtedLevelZeroCell()
    {
        const Terrain f = plane(-74, 45);
        QVERIFY(dtedCell(dted_ + QStringLiteral("DTED/W074/N45.DT0"), -74, 45, 0, 120, f));
        shapeMap(-73.5, 45.5, 0.5, 40, 40);
        zk::MsgScript script;
        QVERIFY(zk::extractdted());
        QVERIFY(script.shown().isEmpty());
        const GridCheck g = checkGrid(f);
        QVERIFY2(g.wrong == 0 && g.zero == 0, qPrintable(g.first));
    }

    void dtedLongitudeZones_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("u1");
        QTest::addColumn<int>("profiles");
        // Cells at the zone boundaries, where the spacing follows the cell's
        // edge nearer to the equator.
        QTest::newRow("50 S to 49 S: 3 arc-seconds") << -50 << 40 << 1200;
        QTest::newRow("50 N to 51 N: 6 arc-seconds") << 50 << 40 << 600;
        QTest::newRow("70 S to 69 S: 6 arc-seconds") << -70 << 20 << 600;
        QTest::newRow("71 S to 70 S: 9 arc-seconds") << -71 << 20 << 400;
        QTest::newRow("80 N to 81 N: 18 arc-seconds") << 80 << 10 << 200;
        QTest::newRow("80 S to 79 S: 12 arc-seconds") << -80 << 10 << 300;
        QTest::newRow("81 S to 80 S: 18 arc-seconds") << -81 << 10 << 200;
    }
    void dtedLongitudeZones()
    {
        QFETCH(int, y);
        QFETCH(int, u1);
        QFETCH(int, profiles);
        const Terrain f = plane(10, y);
        QVERIFY(dtedCell(dted_ + QStringLiteral("DTED/E010/%1%2.DT1").arg(y < 0 ? 'S' : 'N').arg(std::abs(y), 2, 10, QLatin1Char('0')),
                         10, y, 1, profiles, f));
        shapeMap(10.5, y + 0.5, 0.6, u1, 40);
        QVERIFY(zk::mapcorners.lon[0] > 10 && zk::mapcorners.lon[2] < 11);
        zk::MsgScript script;
        QVERIFY(zk::extractdted());
        QVERIFY(script.shown().isEmpty());
        const GridCheck g = checkGrid(f);
        QVERIFY2(g.wrong == 0 && g.zero == 0, qPrintable(g.first));
    }

    void dtedAcrossTheAntimeridian()
    {
        const Terrain f = plane(-180, 45);
        QVERIFY(dtedCell(dted_ + QStringLiteral("DTED/E179/N45.DT1"), -181, 45, 1, 1200, f));
        QVERIFY(dtedCell(dted_ + QStringLiteral("DTED/W180/N45.DT1"), -180, 45, 1, 1200, f));
        shapeMap(-180, 45.5, 0.8, 60, 40);
        zk::MsgScript script;
        QVERIFY(zk::extractdted());
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(QLatin1Char('|'))));
        const GridCheck g = checkGrid(f);
        QVERIFY2(g.wrong == 0, qPrintable(g.first));
        QCOMPARE(g.zero, 0);
    }

    void gtopo30AcrossTwoTilesWithOcean()
    {
        // West of -100.5 the tile holds ocean (-9999), which arrives as 0.
        const Terrain land = plane(-100, 39.5);
        const Terrain f = [&](double lon, double lat) { return lon < -100.5 ? -9999.0 : land(lon, lat); };
        QVERIFY(gtopoTile(gtopo_, -140, 40, false, 0, 140, f));
        QVERIFY(gtopoTile(gtopo_, -100, 40, false, 0, 140, f));
        // GDAL reads the fixture as the tile it claims to be.
        const QString w100 = gtopo_ + QStringLiteral("W100N40/W100N40.DEM");
        QCOMPARE(gdalValue(w100, -99.5 + 1.0 / 240, 39.5 - 1.0 / 240), double(sample(land, -99.5 + 1.0 / 240, 39.5 - 1.0 / 240)));
        QCOMPARE(gdalValue(gtopo_ + QStringLiteral("W140N40/W140N40.DEM"), -101, 39.3), -9999.0);
        shapeMap(-100, 39.5, 0.8, 60, 40);
        zk::MsgScript script;
        QVERIFY(zk::extractgtopo30());
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(QLatin1Char('|'))));
        const GridCheck e = checkGrid(land, [](double lon, double) { return lon > -100.0; });
        const GridCheck w = checkGrid(land, [](double lon, double) { return lon < -100.0 && lon > -100.45; });
        const GridCheck sea = checkGrid([](double, double) { return 0.0; }, [](double lon, double) { return lon < -100.55; });
        QVERIFY(e.written > 100 && w.written > 50 && sea.written > 50);
        QVERIFY2(e.wrong == 0 && e.zero == 0, qPrintable(e.first));
        QVERIFY2(w.wrong == 0 && w.zero == 0, qPrintable(w.first));
        QCOMPARE(sea.zero, sea.written);
        QCOMPARE(zk::mapset.hmin, 0.0f);
        QCOMPARE(colours_, 1);
    }

    void gtopo30AcrossTheAntimeridian()
    {
        const Terrain f = plane(-180, 39.5);
        // The tile from 140 to 180 east is read for the map's tlon = -220.
        QVERIFY(gtopoTile(gtopo_, 140, 40, false, 0, 140, f, -360));
        QVERIFY(gtopoTile(gtopo_, -180, 40, false, 0, 140, f));
        shapeMap(-180, 39.5, 0.8, 60, 40);
        zk::MsgScript script;
        QVERIFY(zk::extractgtopo30());
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(QLatin1Char('|'))));
        const GridCheck g = checkGrid(f);
        QVERIFY2(g.wrong == 0 && g.zero == 0, qPrintable(g.first));
    }

    void gtopo30AntarcticBand()
    {
        // South of -60 the tiles are 60 x 30 degrees with 7200 samples a row.
        const Terrain f = plane(10, -60);
        QVERIFY(gtopoTile(gtopo_, 0, -60, true, 0, 130, f));
        shapeMap(10, -60, 0.8, 40, 40);
        zk::MsgScript script;
        script.answer(zk::idIgnore);
        QVERIFY(zk::extractgtopo30());
        // The band above is missing; the Antarctic tile is read.
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Fichier GTOPO30 non trouvé.\r\n") + gtopo_ +
                                             QStringLiteral("W020S10/W020S10.dem")});
        const GridCheck g = checkGrid(f, [](double, double lat) { return lat < -60.01; });
        QVERIFY(g.written > 100);
        QVERIFY2(g.wrong == 0 && g.zero == 0, qPrintable(g.first));
    }

    // Four GTOPO30 tiles meeting at a corner, written as the demo writer
    // writes them (each sample at the centre of its 30" square, the header's
    // ULXMAP half a sample inside the tile), over a steep plane rising 40 m a
    // sample eastwards and 25 m a sample northwards, with or without a
    // pattern on the sample lattice. Maps across the corner at several cell
    // sizes, posts on the samples or between them, against GDAL reading a
    // mosaic of the same tiles: a cell half a sample off reads 20 m off, in
    // opposite directions on the two sides of a join (a false cliff there).
    void gtopo30JoinsAgainstGdal_data()
    {
        QTest::addColumn<int>("joinLon");
        QTest::addColumn<int>("joinLat");
        QTest::addColumn<double>("samplesPerRow");  // tile rows a grid row spans
        QTest::addColumn<double>("offLon");         // the map's centre east of the join, in samples
        QTest::addColumn<double>("offLat");         // and north of it
        QTest::addColumn<int>("u1");
        QTest::addColumn<int>("u2");
        QTest::addColumn<bool>("pattern");
        // At 40 N a cell one sample high is 1.31 samples wide; at 60 S, 2.
        QTest::newRow("100 W 40 N, a sample a row, rows on the samples") << -100 << 40 << 1.0 << 0.5 << 0.5 << 60 << 60 << false;
        QTest::newRow("100 W 40 N, a sample a row, posts on the joins") << -100 << 40 << 1.0 << 0.0 << 0.0 << 60 << 60 << false;
        QTest::newRow("100 W 40 N, a sample a row, pattern") << -100 << 40 << 1.0 << 0.3 << 0.5 << 60 << 60 << true;
        QTest::newRow("100 W 40 N, 2.5 samples a cell") << -100 << 40 << 2.5 << 0.3 << 0.2 << 40 << 40 << false;
        QTest::newRow("100 W 40 N, 0.3 samples a cell, pattern") << -100 << 40 << 0.3 << 0.1 << 0.45 << 100 << 100 << true;
        // The 60 S join: a normal tile above, Antarctic tiles (60 degrees
        // wide, 7200 samples a row) below, meeting at 0 E.
        QTest::newRow("0 E 60 S, a sample a row, posts on the samples") << 0 << -60 << 1.0 << 0.5 << 0.5 << 30 << 60 << false;
        QTest::newRow("0 E 60 S, a sample a row, pattern") << 0 << -60 << 1.0 << 0.2 << 0.5 << 30 << 60 << true;
        QTest::newRow("0 E 60 S, 2.5 samples a cell") << 0 << -60 << 2.5 << 0.3 << 0.2 << 20 << 40 << false;
        QTest::newRow("0 E 60 S, 0.4 samples a cell, pattern") << 0 << -60 << 0.4 << 0.2 << 0.3 << 50 << 100 << true;
    }
    void gtopo30JoinsAgainstGdal()
    {
        QFETCH(int, joinLon);
        QFETCH(int, joinLat);
        QFETCH(double, samplesPerRow);
        QFETCH(double, offLon);
        QFETCH(double, offLat);
        QFETCH(int, u1);
        QFETCH(int, u2);
        QFETCH(bool, pattern);
        const Terrain f = [=](double lon, double lat) {
            double v = 10000.0 + 4800.0 * (lon - joinLon) + 3000.0 * (lat - joinLat);
            if (pattern) {
                const long p = std::lround(std::floor(lon * 120)), q = std::lround(std::floor(lat * 120));
                v += double(((p * 7919 + q * 104729) % 61 + 61) % 61);
            }
            return v;
        };
        // Two degrees of rows on each side of the join.
        QStringList tiles;
        const bool southAntarctic = joinLat == -60;
        for (int south = 0; south <= 1; ++south) {
            const bool antarctic = south && southAntarctic;
            const int width = antarctic ? 60 : 40, rows = antarctic ? 3600 : 6000;
            const int tlat = south ? joinLat : joinLat + 50;
            // The tiles of the band that hold the map: two, or one where the
            // join runs along a band edge only (60 S: the Antarctic tiles meet
            // at 0 E, the tile above spans 20 W to 20 E).
            QSet<int> lons;
            for (double lon : {joinLon - 0.95, joinLon + 0.95})
                lons.insert(int(std::floor((lon + 180) / width)) * width - 180);
            for (int tlon : lons) {
                QVERIFY(gtopoTile(gtopo_, tlon, tlat, antarctic, south ? 0 : rows - 240, south ? 240 : rows, f));
                const QString name = zk::gtopo30name(tlon, tlat);
                tiles << gtopo_ + name + QLatin1Char('/') + name + QStringLiteral(".DEM");
            }
        }
        const double dlat = samplesPerRow * u2 / 120.0;
        shapeMap(joinLon + offLon / 120, joinLat + offLat / 120, dlat, u1, u2);
        const auto &c = zk::mapcorners;
        QVERIFY(c.lon[0] < joinLon && c.lon[2] > joinLon && c.lat[2] < joinLat && c.lat[0] > joinLat);
        QVERIFY(c.lon[2] - c.lon[0] < 1.9 && c.lat[0] - c.lat[2] < 1.9);
        zk::MsgScript script;
        QVERIFY(zk::extractgtopo30());
        QVERIFY2(script.shown().isEmpty(), qPrintable(script.texts().join(QLatin1Char('|'))));
        QTemporaryDir work;
        const QVector<double> want = gdalBilinear(tiles, work.path());
        QVERIFY(!want.isEmpty());
        // GDAL agrees with the terrain the tiles were written from.
        if (!pattern) {
            const double lon = c.lon[0] + (c.lon[2] - c.lon[0]) * 7 / u1, lat = c.lat[2] + (c.lat[0] - c.lat[2]) * 5 / u2;
            QVERIFY(std::fabs(want[qsizetype(u2 - 5) * (u1 + 1) + 7] - f(lon, lat)) <= 1.5);
        }
        // Only the truncation of the two sides may differ (a metre).
        const Agreement a = agreement(want, 1.0);
        const double cliff = worstStepError(want);
        qInfo("GTOPO30 against GDAL: max %.1f m, RMS %.2f m over %d cells, worst step %.1f m", a.worst, a.rms(), a.cells, cliff);
        QVERIFY2(a.off == 0, qPrintable(QStringLiteral("%1 cells off, first %2").arg(a.off).arg(a.first)));
        QVERIFY2(cliff <= 2.0, qPrintable(QString::number(cliff)));
    }

    // Only the tile south-east of 100 W 40 N is there (the others ignored as
    // missing): it still covers its whole square. Its cells up to its
    // edges take its edge samples beyond the last sample's centre (half a
    // sample: the plane as if at that centre); cells outside it stay 0.
    void gtopo30TileBesideMissingOnesCoversItsSquare()
    {
        const Terrain f = [](double lon, double lat) { return 10000.0 + 4800.0 * (lon + 100) + 3000.0 * (lat - 40); };
        QVERIFY(gtopoTile(gtopo_, -100, 40, false, 0, 240, f));
        zk::settings.ignoremissing = true;
        shapeMap(-100 + 0.3 / 120, 40 + 0.2 / 120, 0.5, 60, 60);
        zk::MsgScript script;
        QVERIFY(zk::extractgtopo30());
        const auto &c = zk::mapcorners;
        const double half = 1.0 / 240;
        int inside = 0, outside = 0, bad = 0;
        QString first;
        for (int j = 0; j <= 60; ++j)
            for (int i = 0; i <= 60; ++i) {
                const double lon = c.lon[0] + (double(c.lon[2]) - c.lon[0]) * i / 60;
                const double lat = c.lat[2] + (double(c.lat[0]) - c.lat[2]) * j / 60;
                const bool in = lon > -100 && lat < 40;
                const double want = in ? std::trunc(f(std::max(lon, -100 + half), std::min(lat, 40 - half))) : 0.0;
                ++(in ? inside : outside);
                const int v = zk::elevgrid.at(i, j);
                if (std::fabs(v - want) > 1 && bad++ == 0)
                    first = QStringLiteral("cell %1,%2 (%3, %4): %5, expected %6").arg(i).arg(j).arg(lon, 0, 'f', 5).arg(lat, 0, 'f', 5).arg(v).arg(want);
            }
        QVERIFY(inside > 500 && outside > 500);
        QVERIFY2(bad == 0, qPrintable(QStringLiteral("%1 cells, first %2").arg(bad).arg(first)));
    }

    void missingTilesInOrder()
    {
        // 44.1 to 45.9 north, 74.7 to 71.3 west: Terrain and DTED need x = -75
        // .. -72 and y = 44, 45, column by column; GTOPO30 needs W100N90.
        shapeMap(-73, 45, 1.8, 175, 131);
        QVERIFY(std::fabs(zk::mapcorners.lon[0] + 74.7) < 0.01 && std::fabs(zk::mapcorners.lon[2] + 71.3) < 0.01);
        zk::settings.drv = {QStringLiteral("C"), QStringLiteral("C"), QStringLiteral("C")};
        const QString c = zk::paths::dataRoot(QStringLiteral("C"));
        QVERIFY(c.endsWith(QStringLiteral("/drives/C/")));
        QStringList terrain, dted;
        for (int x = -75; x <= -72; ++x)
            for (int y = 44; y <= 45; ++y) {
                terrain << QStringLiteral("Fichier TERRAIN non trouvé.\r\n") + c + QStringLiteral("terrain/") +
                               zk::terrainrelpath(x, y);
                dted << QStringLiteral("Fichier DTED non trouvé.\r\n") + c +
                            QStringLiteral("DTED/W%1/N%2.DT0/1").arg(-x, 3, 10, QLatin1Char('0')).arg(y);
            }
        QCOMPARE(terrain[0], QStringLiteral("Fichier TERRAIN non trouvé.\r\n") + c + QStringLiteral("terrain/m074/w074n44.sd_"));
        {
            zk::MsgScript script;
            for (int k = 0; k < 8; ++k) script.answer(zk::idIgnore);
            QVERIFY(zk::extractterrain());
            QCOMPARE(zk::tilecount, 8);
            QCOMPARE(script.texts(), terrain);
            QCOMPARE(script.shown()[0].flags, int(zk::mbAbortRetryIgnore | zk::mbExclamation));
            QCOMPARE(script.shown()[0].caption, zk::appTitle());
        }
        {
            zk::MsgScript script;
            for (int k = 0; k < 8; ++k) script.answer(zk::idIgnore);
            QVERIFY(zk::extractdted());
            QCOMPARE(zk::tilecount, 8);
            QCOMPARE(script.texts(), dted);
        }
        {
            zk::MsgScript script;
            script.answer(zk::idIgnore);
            QVERIFY(zk::extractgtopo30());
            QCOMPARE(script.texts(),
                     QStringList{QStringLiteral("Fichier GTOPO30 non trouvé.\r\n") + c + QStringLiteral("W100N90/W100N90.dem")});
        }
    }

    void edgeAllowanceOfTheTerrainLoops()
    {
        // An eastern edge just below 10 and a northern edge just below 46:
        // Terrain takes the extra column and row, DTED does not, and neither
        // counts them in tilecount.
        zk::elevgrid.redim(40, 40);
        zk::mapset = MapSettings{};
        zk::mapset.lat = 45.5f;
        zk::mapset.size = float(0.99 * 6367.0 * 0.017453292519943);
        zk::setcorners(zk::mapset);
        const float half = (zk::mapcorners.lon[2] - zk::mapcorners.lon[0]) / 2;
        zk::mapset.lon = 9.995f - half;
        zk::mapset.lat = 45.995f - 0.495f;
        zk::setcorners(zk::mapset);
        QVERIFY(zk::mapcorners.lon[2] > 9.99f && zk::mapcorners.lon[2] < 10.0f);
        QVERIFY(zk::mapcorners.lat[0] > 45.99f && zk::mapcorners.lat[0] < 46.0f);
        zk::settings.ignoremissing = false;
        int terrainTiles = 0, dtedTiles = 0;
        {
            zk::MsgScript script;
            for (int k = 0; k < 20; ++k) script.answer(zk::idIgnore);
            QVERIFY(zk::extractterrain());
            terrainTiles = script.shown().size();
            QVERIFY(script.texts().last().endsWith(QStringLiteral("terrain/m011/e011n46.sd_")));
        }
        const int counted = zk::tilecount;
        {
            zk::MsgScript script;
            for (int k = 0; k < 20; ++k) script.answer(zk::idIgnore);
            QVERIFY(zk::extractdted());
            dtedTiles = script.shown().size();
            QVERIFY(script.texts().last().endsWith(QStringLiteral("DTED/E009/N45.DT0/1")));
        }
        const int cols = 10 - int(std::floor(zk::mapcorners.lon[0]));
        QCOMPARE(dtedTiles, cols);
        QCOMPARE(terrainTiles, 2 * (cols + 1));
        QCOMPARE(counted, cols);
        QCOMPARE(zk::tilecount, cols);
    }

    void retryAsksAgainAndAbortStops()
    {
        shapeMap(-73.5, 45.5, 0.5, 40, 40);
        zk::mapset.hmin = 123;
        zk::mapset.minx = 77;
        const QString text = QStringLiteral("Fichier TERRAIN non trouvé.\r\n") + terrain_ + QStringLiteral("terrain/m073/w073n45.sd_");
        {
            zk::MsgScript script;
            script.answer(zk::idRetry);
            script.answer(zk::idRetry);
            script.answer(zk::idIgnore);
            QVERIFY(zk::extractterrain());
            QCOMPARE(script.texts(), QStringList({text, text, text}));
        }
        zk::mapset.hmin = 123;
        zk::mapset.minx = 77;
        colours_ = 0;
        {
            zk::MsgScript script;
            script.answer(zk::idAbort);
            QVERIFY(!zk::extractterrain());
            QCOMPARE(script.texts(), QStringList{text});
            // Abort skips the statistics and the colour scale.
            QCOMPARE(zk::mapset.hmin, 123.0f);
            QCOMPARE(zk::mapset.minx, 77.0f);
            QCOMPARE(colours_, 0);
            QCOMPARE(zk::runflag, int16_t(0));
        }
        {
            // The next source still runs after an Abort.
            zk::MsgScript script;
            script.answer(zk::idRetry);
            script.answer(zk::idAbort);
            QVERIFY(!zk::extractdted());
            QCOMPARE(script.shown().size(), 2);
            QVERIFY(script.texts()[0].startsWith(QStringLiteral("Fichier DTED non trouvé.\r\n")));
        }
        {
            zk::MsgScript script;
            script.answer(zk::idRetry);
            script.answer(zk::idAbort);
            QVERIFY(!zk::extractgtopo30());
            QCOMPARE(script.shown().size(), 2);
            QCOMPARE(script.texts()[1], QStringLiteral("Fichier GTOPO30 non trouvé.\r\n") + gtopo_ + QStringLiteral("W100N90/W100N90.dem"));
        }
    }

    void ignoringMissingTilesIsSilent()
    {
        zk::settings.ignoremissing = true;
        shapeMap(-73, 45, 1.8, 60, 40);
        for (auto run : {zk::extractterrain, zk::extractgtopo30, zk::extractdted}) {
            zk::MsgScript script;
            zk::mapset.hmin = 123;
            QVERIFY(run());
            QVERIFY(script.shown().isEmpty());
            QVERIFY(allZero());
            QCOMPARE(zk::mapset.hmin, 0.0f);
            QCOMPARE(zk::mapset.hmax, 0.0f);
            QCOMPARE(zk::mapset.hmoy, 0.0f);
            QCOMPARE(zk::mapset.minx, 0.0f);
            QCOMPARE(zk::mapset.maxx, 0.0f);
        }
        QCOMPARE(colours_, 3);
    }

    void stopDuringARun_data()
    {
        QTest::addColumn<int>("source");
        QTest::newRow("Terrain") << 0;
        QTest::newRow("GTOPO30") << 1;
        QTest::newRow("DTED") << 2;
    }
    void stopDuringARun()
    {
        QFETCH(int, source);
        const Terrain f = plane(-73, 45);
        bool (*run)() = nullptr;
        int16_t code = 0;
        switch (source) {
        case 0:
            QVERIFY(compressTile(terrainRaw(-74, 45, f), terrain_ + QStringLiteral("terrain/m073/w073n45.sd_")));
            QVERIFY(compressTile(terrainRaw(-73, 45, f), terrain_ + QStringLiteral("terrain/m072/w072n45.sd_")));
            run = zk::extractterrain;
            code = zk::opterrain;
            break;
        case 1:
            QVERIFY(gtopoTile(gtopo_, -100, 90, false, 5160, 5520, f));
            run = zk::extractgtopo30;
            code = zk::opgtopo30;
            break;
        case 2:
            QVERIFY(dtedCell(dted_ + QStringLiteral("DTED/W074/N45.DT1"), -74, 45, 1, 1200, f));
            QVERIFY(dtedCell(dted_ + QStringLiteral("DTED/W073/N45.DT1"), -73, 45, 1, 1200, f));
            run = zk::extractdted;
            code = zk::opdted;
            break;
        }
        shapeMap(-73, 45.5, 0.8, 60, 40);
        QFile::remove(zk::temppath() + QStringLiteral("temp.sdm"));
        // The Stop request arrives while the run lets events run.
        stopOnceRunning(code);
        zk::MsgScript script;
        QVERIFY(!run());
        QVERIFY(script.shown().isEmpty());
        // No statistics, no colour scale; what was read so far stays.
        QCOMPARE(zk::mapset.hmin, 123.0f);
        QCOMPARE(zk::mapset.hmax, 456.0f);
        QCOMPARE(colours_, 0);
        QCOMPARE(zk::runflag, int16_t(0));
        // The eastern tile (or, for GTOPO30, all but the first rows) was not read.
        const GridCheck rest = checkGrid(f, [](double lon, double lat) { return lon > -72.5 && lat < 45.8; });
        QVERIFY(rest.written > 100);
        QCOMPARE(rest.zero, rest.written);
        // A stopped Terrain run leaves its expanded tile behind.
        QCOMPARE(QFileInfo::exists(zk::temppath() + QStringLiteral("temp.sdm")), source == 0);
    }
};

QTEST_MAIN(TestExtract)
#include "test_extract.moc"
