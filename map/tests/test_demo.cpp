// The demo data generator: its SZDD compressor against libmspack and
// msexpand, its DTED cells and GTOPO30 tile against GDAL, and a small set
// extracted through all three sources, which must agree on one landscape.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <cstdlib>

#include "base/settings.h"
#include "engine.h"
#include "map/demo/demodata.h"
#include "map/demo/demoterrain.h"
#include "map/demo/szdd.h"
#include "map/demo/tilewriters.h"
#include "map/expandfile.h"
#include "map/extract.h"
#include "map/mapdata.h"
#include "map/tilenames.h"
#include "msgbox.h"

namespace {

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

QString runOut(const QString &program, const QStringList &args, QByteArray *err = nullptr, const QString &dir = {},
               const QStringList &env = {})
{
    QProcess p;
    if (!dir.isEmpty()) p.setWorkingDirectory(dir);
    if (!env.isEmpty()) {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        for (const QString &kv : env) e.insert(kv.section(QLatin1Char('='), 0, 0), kv.section(QLatin1Char('='), 1));
        p.setProcessEnvironment(e);
    }
    p.start(program, args);
    p.waitForFinished(60000);
    if (err) *err = p.readAllStandardError();
    return QString::fromLatin1(p.readAllStandardOutput());
}

double gdalValue(const QString &path, double lon, double lat, QByteArray *err = nullptr)
{
    bool ok = false;
    const double v = runOut(QStringLiteral("gdallocationinfo"),
                            {QStringLiteral("-valonly"), QStringLiteral("-geoloc"), path, QString::number(lon, 'g', 12),
                             QString::number(lat, 'g', 12)},
                            err, {}, {QStringLiteral("DTED_VERIFY_CHECKSUM=YES")})
                         .trimmed()
                         .toDouble(&ok);
    return ok ? v : NAN;
}

int16_t rounded(double v) { return int16_t(std::lround(v)); }

}  // namespace

class TestDemo : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const char *tools[][2] = {{"msexpand", "mscompress"}, {"gdalinfo", "gdal-bin"}, {"gdallocationinfo", "gdal-bin"}};
        for (const auto &t : tools)
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(t[0])).isEmpty(),
                     qPrintable(QStringLiteral("%1 is missing: install the Debian package %2 (scripts/install-deps.sh)")
                                    .arg(QLatin1String(t[0]), QLatin1String(t[1]))));
    }

    void szddRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("data");
        QByteArray random(40000, '\0');
        QRandomGenerator rng(12345);
        for (char &c : random) c = char(rng.bounded(256));
        QByteArray runs;
        for (int i = 0; i < 5000; ++i) runs += QByteArray(i % 23, char('a' + i % 7));
        QByteArray tile(29282, '\0');
        for (int i = 0; i < 14641; ++i) qToLittleEndian<int16_t>(int16_t(300 + (i % 121) * 3 - i / 500), tile.data() + 2 * i);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("one byte") << QByteArray("x");
        QTest::newRow("under 16 bytes") << QByteArray("abcabcabcabc");
        QTest::newRow("spaces, like the initial window") << QByteArray(5000, ' ');
        QTest::newRow("one long run") << QByteArray(70000, 'z');
        QTest::newRow("short runs") << runs;
        QTest::newRow("random") << random;
        QTest::newRow("a tile's worth of elevations") << tile;
    }
    void szddRoundTrip()
    {
        QFETCH(QByteArray, data);
        const QByteArray packed = zk::demo::szddcompress(data);
        QCOMPARE(packed.left(10), QByteArray("SZDD\x88\xf0\x27\x33" "Am", 10));
        QCOMPARE(qFromLittleEndian<uint32_t>(packed.constData() + 10), uint32_t(data.size()));
        // Never more than one flag byte per eight literals.
        QVERIFY(packed.size() <= 14 + data.size() + (data.size() + 7) / 8);
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("f.sd_")), packed));
        // libmspack, as the extraction uses it.
        QVERIFY(zk::expandfile(dir.path() + QLatin1Char('/'), dir.path() + QLatin1Char('/'), QStringLiteral("f.sd_"),
                               QStringLiteral("f.out")));
        QCOMPARE(readBytes(dir.filePath(QStringLiteral("f.out"))), data);
        // And an independent decoder.
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("g.sdm_")), packed));
        runOut(QStringLiteral("msexpand"), {dir.filePath(QStringLiteral("g.sdm_"))}, nullptr, dir.path());
        QCOMPARE(readBytes(dir.filePath(QStringLiteral("g.sdm"))), data);
    }

    void dtedCellsReadByGdal_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("profiles");
        QTest::newRow("level 1 at 45 N") << -74 << 45 << 1 << 1201;
        QTest::newRow("level 0 at 45 N") << -74 << 45 << 0 << 121;
        QTest::newRow("level 1 at 55 N") << 10 << 55 << 1 << 601;
        QTest::newRow("level 1 from 50 S") << 10 << -50 << 1 << 1201;
        QTest::newRow("level 0 at 80 N") << -20 << 80 << 0 << 21;
    }
    void dtedCellsReadByGdal()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, level);
        QFETCH(int, profiles);
        const auto f = [&](double lon, double lat) { return 500.0 + 300.0 * (lon - x) - 200.0 * (lat - y); };
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        QVERIFY(zk::demo::writedtedcell(root, x, y, level, f));
        const QString path = zk::dtedcandidates(root, x, y)[level == 0 ? 2 : 1].path;
        QByteArray err;
        const QString info = runOut(QStringLiteral("gdalinfo"), {path}, &err);
        const int rows = level == 0 ? 121 : 1201;
        QVERIFY2(info.contains(QStringLiteral("Size is %1, %2").arg(profiles).arg(rows)), qPrintable(info));
        const double dx = 1.0 / (profiles - 1), dy = 1.0 / (rows - 1);
        for (const auto &[i, j] : {std::pair{0, 0}, std::pair{profiles - 1, rows - 1}, std::pair{profiles / 3, rows / 7}}) {
            const double lon = x + i * dx, lat = y + j * dy;
            QCOMPARE(gdalValue(path, lon, lat, &err), double(rounded(f(lon, lat))));
            QVERIFY2(err.isEmpty(), err.constData());  // checksums verified
        }
    }

    void gtopoTileReadByGdal()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        const auto f = [](double lon, double lat) { return lon > -99.0 ? 0.0 : 100.0 + 10.0 * (lon + 100) + lat; };
        QVERIFY(zk::demo::writegtopotile(root, -100, 90, 46, 44.5, f));
        const QString dem = root + QStringLiteral("W100N90/W100N90.DEM");
        QCOMPARE(QFileInfo(dem).size(), qint64(4800) * 6000 * 2);
        const double half = 1.0 / 240;
        QCOMPARE(gdalValue(dem, -99.5 + half, 45.5 - half), double(rounded(f(-99.5 + half, 45.5 - half))));
        QCOMPARE(gdalValue(dem, -98.0 + half, 45.5 - half), -9999.0);  // the sea
        QCOMPARE(gdalValue(dem, -99.5 + half, 50.0 - half), 0.0);      // outside the rows written
    }

    void terrainTileExpands()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        const auto f = [](double lon, double lat) { return 1000.0 * (lon + 74) + 10.0 * (lat - 45); };
        QVERIFY(zk::demo::writeterraintile(root, -74, 45, f));
        QVERIFY(zk::expandfile(root + QStringLiteral("terrain/"), root, QStringLiteral("m073/w073n45.sd_"),
                               QStringLiteral("t.sdm"), zk::kTerrainBytes));
        std::vector<int16_t> cells;
        QVERIFY(zk::readterraintile(root + QStringLiteral("t.sdm"), cells));
        // Profile p (west to east), sample s (south to north).
        QCOMPARE(cells[0], rounded(f(-74, 45)));
        QCOMPARE(cells[120], rounded(f(-74, 46)));
        QCOMPARE(cells[size_t(120) * 121], rounded(f(-73, 45)));
        QCOMPARE(cells[size_t(60) * 121 + 30], rounded(f(-73.5, 45.25)));
    }

    void landscapeHasItsFeatures()
    {
        using zk::demo::elevation;
        // Sea to the east, a valley floor, and mountains well above the plain.
        QCOMPARE(elevation(-68.0, 45.0), 0.0);
        QVERIFY(elevation(-75.0, 45.0) >= 1.0);
        double highest = 0, lowestLand = 1e9;
        int sea = 0, land = 0;
        for (double lon = -78.5; lon < -67.5; lon += 0.05)
            for (double lat = 42.5; lat < 47.5; lat += 0.05) {
                const double h = elevation(lon, lat);
                QVERIFY(h >= 0 && h < 3000);
                if (h == 0) {
                    ++sea;
                    continue;
                }
                ++land;
                highest = std::max(highest, h);
                lowestLand = std::min(lowestLand, h);
            }
        QVERIFY(sea > 1000 && land > 8000);
        QVERIFY2(highest > 1000, qPrintable(QString::number(highest)));
        QVERIFY(lowestLand < 30);
    }

    // The tiles of one run and of the next must agree where they meet, and
    // the shipped network was written against this landscape: a height
    // depends on the position alone, never on what was asked before it nor on
    // a random generator's state.
    void landscapeDependsOnPositionAlone()
    {
        using zk::demo::elevation;
        const std::pair<double, double> points[] = {{-73.123, 45.456}, {-75.0, 45.0}, {-70.25, 46.75},
                                                    {-77.9, 42.6},     {-68.0, 45.0}, {-72.001, 47.999}};
        std::vector<double> first;
        for (const auto &[lon, lat] : points) first.push_back(elevation(lon, lat));
        // Other heights in between, the generators of the library and of
        // Qt reseeded, and the same points again in the other order.
        std::srand(987654321u);
        QRandomGenerator::global()->generate();
        QRandomGenerator::securelySeeded();
        double sink = 0;
        for (double lon = -78.5; lon < -67.5; lon += 0.37) sink += elevation(lon, 44.0 + std::fmod(-lon, 3.0));
        QVERIFY(sink > 0);
        for (size_t k = std::size(points); k-- > 0;)
            QCOMPARE(elevation(points[k].first, points[k].second), first[k]);
    }

    void smallSetThroughAllThreeSources()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        zk::demo::DemoRegion region;
        region.west = -75;
        region.east = -73;
        region.south = 45;
        region.north = 46;
        QStringList steps;
        QVERIFY(zk::demo::writedemodata(root, [&](const QString &s) { steps << s; }, region));
        QCOMPARE(steps.size(), 2);
        QVERIFY(zk::demo::demouptodate(root));
        QVERIFY(QFileInfo::exists(root + QStringLiteral("DTED/W074/N45.DT1")));   // level 1 near the centre
        QVERIFY(QFileInfo::exists(root + QStringLiteral("DTED/W075/N45.DT0")));   // level 0 further out

        bool ok = false;
        zk::engine::callback(nullptr, &ok);
        QVERIFY2(ok, "the engine library is needed");
        zk::settings = zk::AppSettings{};
        zk::settings.drv = {root, root, root};
        auto extract = [&](bool (*run)()) {
            zk::elevgrid.redim(120, 90);
            zk::mapset = MapSettings{};
            zk::mapset.lon = -74;
            zk::mapset.lat = 45.5;
            zk::mapset.size = 80;
            zk::MsgScript script;
            const bool done = run();
            return std::pair{done && script.shown().isEmpty(),
                             std::vector<int16_t>(zk::elevgrid.data(), zk::elevgrid.data() + zk::elevgrid.cellCount())};
        };
        const auto [tOk, terrain] = extract(zk::extractterrain);
        const auto [gOk, gtopo] = extract(zk::extractgtopo30);
        const auto [dOk, dted] = extract(zk::extractdted);
        QVERIFY(tOk && gOk && dOk);
        QVERIFY(zk::mapset.hmax - zk::mapset.hmin > 300);
        // One landscape: the three sources differ only by their sampling.
        // GTOPO30 samples lie at the centres of their 30" squares, half a
        // sample off the others' posts, and land where they lie: the same
        // place on the grid, sampled apart.
        auto meanDiff = [](const std::vector<int16_t> &a, const std::vector<int16_t> &b, int sx, int sy) {
            double sum = 0;
            int n = 0;
            // Columns far enough from the edges for every shift used below.
            for (int i = 22; i <= 98; ++i)
                for (int j = 2; j <= 88; ++j) {
                    sum += std::fabs(double(a[size_t(i) + size_t(j) * 121]) - b[size_t(i + sx) + size_t(j + sy) * 121]);
                    ++n;
                }
            return sum / n;
        };
        const double dtedDiff = meanDiff(terrain, dted, 0, 0);
        QVERIFY2(dtedDiff < 5, qPrintable(QString::number(dtedDiff)));
        const double gtopoDiff = meanDiff(terrain, gtopo, 0, 0);
        QVERIFY2(gtopoDiff < 5, qPrintable(QString::number(gtopoDiff)));
        // Against another place of the landscape they differ a lot.
        QVERIFY(meanDiff(terrain, dted, 20, 0) > 20);
    }

    void rootsPointAtTheSetUnlessChosen()
    {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
        s.clear();
        s.sync();
        zk::writesetting(QStringLiteral("DRV1"), QStringLiteral("c"));
        QVERIFY(zk::demo::pointroots(QStringLiteral("/demo/")));
        for (const char *k : {"DRV0", "DRV1", "DRV2"}) QCOMPARE(zk::readsetting(QLatin1String(k), "C"), QStringLiteral("/demo/"));
        // A root of the user's own stays.
        zk::writesetting(QStringLiteral("drv2"), QStringLiteral("/my/terrain"));
        zk::writesetting(QStringLiteral("DRV0"), QStringLiteral("C"));
        QVERIFY(!zk::demo::pointroots(QStringLiteral("/demo2/")));
        QCOMPARE(zk::readsetting(QStringLiteral("DRV0"), "C"), QStringLiteral("/demo2/"));
        QCOMPARE(zk::readsetting(QStringLiteral("DRV2"), "C"), QStringLiteral("/my/terrain"));
    }
};

QTEST_MAIN(TestDemo)
#include "test_demo.moc"
