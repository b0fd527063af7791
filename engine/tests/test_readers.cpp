// The tile readers on real files: DTED cells written by GDAL's DTED driver and
// GTOPO30-layout tiles that GDAL's EHdr driver reads too, checked sample by
// sample against gdallocationinfo; short and corrupt files; Terrain tiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>

#include "enginetest.h"
#include "frame.h"
#include "terrain/readers.h"

using zktest::Grid;
using zktest::HookRecorder;
using zktest::TempDir;

namespace {

constexpr int16_t kSentinel = 12345;
using Raster = std::function<int16_t(int col, int row)>;  // row 0 = north

// Writes a size x size source raster (EHdr, little-endian) covering the
// 1-degree cell with south-west corner (lon, lat), pixel centres on the cell
// edges as DTED has them, and converts it with gdal_translate.
bool makeDted(const TempDir &dir, const std::string &out, int size, int lon, int lat, const Raster &value)
{
    std::vector<uint8_t> raw;
    raw.reserve(size_t(size) * size * 2);
    for (int row = 0; row < size; ++row)
        for (int col = 0; col < size; ++col) {
            const uint16_t v = uint16_t(value(col, row));
            raw.push_back(uint8_t(v & 0xFF));
            raw.push_back(uint8_t(v >> 8));
        }
    zktest::writeFile(dir / "src.bil", raw);
    char hdr[512];
    std::snprintf(hdr, sizeof hdr,
                  "BYTEORDER I\nLAYOUT BIL\nNROWS %d\nNCOLS %d\nNBANDS 1\nNBITS 16\nPIXELTYPE SIGNEDINT\n"
                  "ULXMAP %d\nULYMAP %d\nXDIM %.15f\nYDIM %.15f\nNODATA -32767\n",
                  size, size, lon, lat + 1, 1.0 / (size - 1), 1.0 / (size - 1));
    zktest::writeText(dir / "src.hdr", hdr);
    return zktest::run("gdal_translate -q -of DTED -a_srs EPSG:4326 '" + (dir / "src.bil") + "' '" + out +
                       "' >/dev/null 2>&1") == 0;
}

int16_t level1Value(int col, int row)
{
    if (col == 105 && row == 1000) return -32767;  // void
    return int16_t((col * 37 + row * 91) % 4001 - 500);
}

class DtedCell : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        missing_ = zktest::missingTools({"gdal_translate", "gdallocationinfo"}, "gdal-bin");
        if (!missing_.empty()) return;
        dir_ = new TempDir;
        ok_ = makeDted(*dir_, *dir_ / "N45.DT1", 1201, -74, 45, level1Value);
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override
    {
        callback(nullptr);
        ASSERT_TRUE(missing_.empty()) << missing_;
        ASSERT_TRUE(ok_) << "gdal_translate could not write the DTED cell";
    }
    static std::string cell() { return *dir_ / "N45.DT1"; }

    // Samples (profile, sample from the south) of the cell as GDAL reads them.
    static std::vector<long> samples(const std::string &file, int n, const std::vector<std::pair<int, int>> &ps)
    {
        std::vector<std::pair<int, int>> pixels;
        for (const auto &[p, s] : ps) pixels.emplace_back(p, n - 1 - s);
        return zktest::gdalValues(*dir_, file, pixels);
    }

    static inline TempDir *dir_ = nullptr;
    static inline bool ok_ = false;
    static inline std::string missing_;
};

}  // namespace

TEST_F(DtedCell, GdalWroteALevelOneCell)
{
    const auto bytes = zktest::readFile(cell());
    ASSERT_EQ(bytes.size(), size_t(3428 + 1201 * (2 * 1201 + 12)));
    EXPECT_EQ(bytes[26], '3');  // latitude interval "0030": 1201 samples per profile
}

TEST_F(DtedCell, SampleBySampleAgainstGdal)
{
    Grid g(40, 30, kSentinel);
    // Grid column 0 is profile 100, grid row 0 is sample 200 of each profile.
    EXPECT_EQ(getdted(g.ref(), cell().c_str(), 0, -100, -200, 1.0f, 1.0f), 1);
    std::vector<std::pair<int, int>> ps;
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 30; ++j) ps.emplace_back(100 + i, 200 + j);
    const auto ref = samples(cell(), 1201, ps);
    ASSERT_EQ(ref.size(), ps.size());
    size_t k = 0;
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 30; ++j, ++k) {
            const long want = ref[k] == -32767 ? -1 : ref[k];  // the void lands as -1 m
            ASSERT_EQ(g.at(i, j), want) << "column " << i << " row " << j;
        }
    EXPECT_EQ(g.at(5, 0), -1);  // profile 105, sample 200: the void written by GDAL
    EXPECT_LT(*std::min_element(g.cells.begin(), g.cells.end()), -100);  // sign-magnitude negatives
}

TEST_F(DtedCell, FractionalStepsInterpolateAndTruncate)
{
    Grid g(12, 10, kSentinel);
    // The cell starts 3 columns and 2 rows inside the grid: cells west and
    // south of it keep their value.
    EXPECT_EQ(getdted(g.ref(), cell().c_str(), 0, 3, 2, 0.5f, 0.25f), 1);
    std::vector<std::pair<int, int>> ps;
    for (int p = 0; p < 6; ++p)
        for (int s = 0; s < 4; ++s) ps.emplace_back(p, s);
    const auto ref = samples(cell(), 1201, ps);
    ASSERT_EQ(ref.size(), ps.size());
    auto raw = [&](int p, int s) { return double(ref[size_t(p * 4 + s)]); };
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 10; ++j) {
            if (i < 3 || j < 2) {
                EXPECT_EQ(g.at(i, j), kSentinel);
                continue;
            }
            const double sp = (i - 3) * 0.5, sr = (j - 2) * 0.25;
            const int p = int(sp), s = int(sr);
            const double fx = sp - p, fy = sr - s;
            const double v = (raw(p, s) * (1 - fy) + raw(p, s + 1) * fy) * (1 - fx) +
                             (raw(p + 1, s) * (1 - fy) + raw(p + 1, s + 1) * fy) * fx;
            EXPECT_EQ(g.at(i, j), int16_t(std::trunc(v))) << i << "," << j;
        }
}

TEST_F(DtedCell, LevelZeroCellTakesTenthSteps)
{
    const std::string dt0 = *dir_ / "N45.DT0";
    ASSERT_TRUE(makeDted(*dir_, dt0, 121, -74, 45, [](int c, int r) { return int16_t(c * 100 - r * 3); }));
    EXPECT_EQ(zktest::readFile(dt0)[26], '0');  // "0300": 121 samples per profile
    Grid g(8, 8, kSentinel);
    // Steps given for 1201-sample cells: 10 becomes 1 sample per grid cell.
    EXPECT_EQ(getdted(g.ref(), dt0.c_str(), 0, -50, -60, 10.0f, 10.0f), 1);
    std::vector<std::pair<int, int>> ps;
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j) ps.emplace_back(50 + i, 60 + j);
    const auto ref = samples(dt0, 121, ps);
    ASSERT_EQ(ref.size(), ps.size());
    for (size_t k = 0; k < ps.size(); ++k) EXPECT_EQ(g.at(int(k / 8), int(k % 8)), ref[k]) << k;
}

TEST_F(DtedCell, ExtraHeaderLayoutWithFlag)
{
    auto bytes = zktest::readFile(cell());
    // An 80-byte volume header in front of the cell. Made at its full size
    // and filled, rather than grown by insert(), which gcc 12 misreads as an
    // over-read (-Wstringop-overread).
    std::vector<uint8_t> withVol(80 + bytes.size(), ' ');
    // Byte 26 of this layout is inside the extra header: it must not be read.
    withVol[26] = '0';
    std::copy(bytes.begin(), bytes.end(), withVol.begin() + 80);
    const std::string vol = *dir_ / "N450000.DT1";
    zktest::writeFile(vol, withVol);
    Grid a(20, 20, kSentinel), b(20, 20, kSentinel);
    EXPECT_EQ(getdted(a.ref(), cell().c_str(), 0, -7, -9, 1.0f, 1.0f), 1);
    EXPECT_EQ(getdted(b.ref(), vol.c_str(), -1, -7, -9, 1.0f, 1.0f), 1);
    EXPECT_EQ(a.cells, b.cells);
    EXPECT_NE(a.at(3, 3), kSentinel);
}

TEST_F(DtedCell, LastProfileAndLastSampleAreNeverWritten)
{
    Grid g(12, 12, kSentinel);
    // Profiles 1190..1201 and samples 1190..1201 on grid columns and rows 0..11.
    EXPECT_EQ(getdted(g.ref(), cell().c_str(), 0, -1190, -1190, 1.0f, 1.0f), 1);
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j) {
            const bool written = i < 10 && j < 10;  // profile 1200 and sample 1200 only as the far line
            EXPECT_EQ(g.at(i, j) != kSentinel, written) << i << "," << j;
        }
}

TEST_F(DtedCell, TruncatedCellStopsAtTheFirstShortRead)
{
    auto bytes = zktest::readFile(cell());
    // Ten whole profiles, then part of the eleventh.
    bytes.resize(3428 + 10 * (2 * 1201 + 12) + 700);
    const std::string cut = *dir_ / "cut.DT1";
    zktest::writeFile(cut, bytes);
    Grid full(20, 5, kSentinel), g(20, 5, kSentinel);
    getdted(full.ref(), cell().c_str(), 0, 0, 0, 1.0f, 1.0f);
    HookRecorder hook;
    EXPECT_EQ(getdted(g.ref(), cut.c_str(), 0, 0, 0, 1.0f, 1.0f), 1);
    // Column i needs profiles i and i + 1: columns 0..8 are filled.
    for (int i = 0; i < 20; ++i)
        for (int j = 0; j < 5; ++j) EXPECT_EQ(g.at(i, j), i <= 8 ? full.at(i, j) : kSentinel) << i << "," << j;
    EXPECT_EQ(HookRecorder::seen, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));

    // Cut inside the header: nothing at all.
    bytes.resize(30);
    zktest::writeFile(cut, bytes);
    Grid h(4, 4, kSentinel);
    EXPECT_EQ(getdted(h.ref(), cut.c_str(), 0, 0, 0, 1.0f, 1.0f), 1);
    EXPECT_EQ(h.cells, std::vector<int16_t>(16, kSentinel));
}

TEST_F(DtedCell, HookCountsNextColumnAndStops)
{
    Grid g(6, 3, kSentinel);
    HookRecorder hook(2);
    EXPECT_EQ(getdted(g.ref(), cell().c_str(), 0, 2, 0, 1.0f, 1.0f), 1);
    EXPECT_EQ(HookRecorder::seen, (std::vector<int32_t>{3, 4}));
    EXPECT_NE(g.at(3, 0), kSentinel);
    EXPECT_EQ(g.at(4, 0), kSentinel);
}

TEST_F(DtedCell, FailuresAndPlacementsOutsideTheGrid)
{
    Grid g(5, 5, kSentinel);
    EXPECT_EQ(getdted(g.ref(), (*dir_ / "missing.DT1").c_str(), 0, 0, 0, 1.0f, 1.0f), 0);
    EXPECT_EQ(getdted(g.ref(), nullptr, 0, 0, 0, 1.0f, 1.0f), 0);
    for (float bad : {0.0f, -1.0f, NAN}) {
        EXPECT_EQ(getdted(g.ref(), cell().c_str(), 0, 0, 0, bad, 1.0f), 0);
        EXPECT_EQ(getdted(g.ref(), cell().c_str(), 0, 0, 0, 1.0f, bad), 0);
    }
    ZkArray flat = g.a;
    flat.dims = 1;
    ZkArray *fp = &flat;
    EXPECT_EQ(getdted(&fp, cell().c_str(), 0, 0, 0, 1.0f, 1.0f), 0);
    // A cell that lies wholly east of or north of the grid.
    EXPECT_EQ(getdted(g.ref(), cell().c_str(), 0, 5, 0, 1.0f, 1.0f), 1);
    EXPECT_EQ(getdted(g.ref(), cell().c_str(), 0, 0, 5, 1.0f, 1.0f), 1);
    // A cell far to the west: its profiles end before the grid starts.
    EXPECT_EQ(getdted(g.ref(), cell().c_str(), 0, -5000, 0, 1.0f, 1.0f), 1);
    EXPECT_EQ(g.cells, std::vector<int16_t>(25, kSentinel));
}

TEST_F(DtedCell, PathInWindows1252)
{
    // "é" arrives as the single byte 0xE9; the file system holds UTF-8.
    const std::string utf8 = *dir_ / "caf\xC3\xA9.DT1";
    const std::string cp1252 = *dir_ / "caf\xE9.DT1";
    zktest::writeFile(utf8, zktest::readFile(cell()));
    Grid g(3, 3, kSentinel);
    EXPECT_EQ(getdted(g.ref(), cp1252.c_str(), 0, 0, 0, 1.0f, 1.0f), 1);
    EXPECT_NE(g.at(0, 0), kSentinel);
}

// ---------------------------------------------------------------------------
// GTOPO30 tiles

namespace {

int16_t topoValue(int col, int row)
{
    if ((col + row) % 17 == 0) return -9999;  // ocean
    return int16_t((col * 13 + row * 7) % 3000 - 1200);
}

// A tile of the GTOPO30 layout with the .HDR that GDAL's EHdr driver reads.
// Rows [0, head) and [rows - tail, rows) are written; the file is sparse in
// between. With `rowsPresent` below the layout, the file ends there.
std::string makeTopo(const TempDir &dir, const std::string &name, bool antarctic, int head, int tail,
                     double bytesPresentRows = -1)
{
    const int cols = antarctic ? zk::engine::kTopoAntCols : zk::engine::kTopoCols;
    const int rows = antarctic ? zk::engine::kTopoAntRows : zk::engine::kTopoRows;
    const std::string dem = dir / (name + ".DEM");
    FILE *f = std::fopen(dem.c_str(), "wb");
    std::vector<uint8_t> line(size_t(cols) * 2);
    auto writeRow = [&](int r) {
        for (int c = 0; c < cols; ++c) {
            const uint16_t v = uint16_t(topoValue(c, r));
            line[2 * size_t(c)] = uint8_t(v >> 8);
            line[2 * size_t(c) + 1] = uint8_t(v & 0xFF);
        }
        std::fseek(f, long(r) * long(line.size()), SEEK_SET);
        std::fwrite(line.data(), 1, line.size(), f);
    };
    for (int r = 0; r < head; ++r) writeRow(r);
    for (int r = rows - tail; r < rows; ++r) writeRow(r);
    std::fclose(f);
    const long size = bytesPresentRows >= 0 ? long(bytesPresentRows * double(line.size())) : long(rows) * long(line.size());
    if (truncate(dem.c_str(), size) != 0) return {};
    char hdr[512];
    std::snprintf(hdr, sizeof hdr,
                  "BYTEORDER M\nLAYOUT BIL\nNROWS %d\nNCOLS %d\nNBANDS 1\nNBITS 16\nPIXELTYPE SIGNEDINT\n"
                  "BANDROWBYTES %d\nTOTALROWBYTES %d\nBANDGAPBYTES 0\nNODATA -9999\n"
                  "ULXMAP -99.99583333333334\nULYMAP 89.99583333333333\nXDIM 0.00833333333333\nYDIM 0.00833333333333\n",
                  rows, cols, cols * 2, cols * 2);
    zktest::writeText(dir / (name + ".HDR"), hdr);
    return dem;
}

// Steps whose layout-adjusted values are exactly 1: one tile sample per grid cell.
float unitStep(int n) { return float(double(n + 1) / n); }

class Topo30 : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        callback(nullptr);
        const std::string missing = zktest::missingTools({"gdallocationinfo"}, "gdal-bin");
        ASSERT_TRUE(missing.empty()) << missing;
    }
    bool antarctic() const { return GetParam(); }
    int cols() const { return antarctic() ? zk::engine::kTopoAntCols : zk::engine::kTopoCols; }
    int rows() const { return antarctic() ? zk::engine::kTopoAntRows : zk::engine::kTopoRows; }
    TempDir dir;
};

}  // namespace

TEST_P(Topo30, SampleBySampleAgainstGdal)
{
    const std::string dem = makeTopo(dir, "W100N90", antarctic(), 40, 0);
    ASSERT_FALSE(dem.empty());
    Grid g(50, 20, kSentinel);
    // Tile column 10 on grid column 0, tile row 5 on the grid's northern row.
    EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), -10.0f, -5.0f, unitStep(cols()), unitStep(rows()), antarctic()), 1);
    std::vector<std::pair<int, int>> ps;
    for (int i = 0; i < 50; ++i)
        for (int j = 0; j < 20; ++j) ps.emplace_back(10 + i, 5 + j);
    const auto ref = zktest::gdalValues(dir, dem, ps);
    ASSERT_EQ(ref.size(), ps.size());
    size_t k = 0, ocean = 0;
    for (int i = 0; i < 50; ++i)
        for (int j = 0; j < 20; ++j, ++k) {
            ASSERT_EQ(ref[k], topoValue(10 + i, 5 + j)) << "GDAL reads the layout differently";
            const long want = ref[k] < -1000 ? 0 : ref[k];
            ocean += ref[k] == -9999;
            ASSERT_EQ(g.at(i, 19 - j), want) << "column " << i << " row from north " << j;
        }
    EXPECT_GT(ocean, 0u);
}

TEST_P(Topo30, GridOffsetInsideAndFractionalSteps)
{
    const std::string dem = makeTopo(dir, "E020N40", antarctic(), 12, 0);
    Grid g(10, 8, kSentinel);
    // The tile starts at grid column 2 and 3 rows below the northern edge.
    EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), 2.0f, 3.0f, 0.5f, 0.5f, antarctic()), 1);
    const double si = float(0.5 * cols() / (cols() + 1)), sj = float(0.5 * rows() / (rows() + 1));
    auto raw = [](int c, int r) { const int v = topoValue(c, r); return double(v < -1000 ? 0 : v); };
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 8; ++j) {  // j counted from the north
            const int16_t got = g.at(i, 7 - j);
            if (i < 2 || j < 3) {
                EXPECT_EQ(got, kSentinel) << i << "," << j;
                continue;
            }
            const double sc = (i - 2) * si, sr = (j - 3) * sj;
            const int c = int(sc), r = int(sr);
            const double fx = sc - c, fy = sr - r;
            const double v = (raw(c, r) * (1 - fx) + raw(c + 1, r) * fx) * (1 - fy) +
                             (raw(c, r + 1) * (1 - fx) + raw(c + 1, r + 1) * fx) * fy;
            EXPECT_NEAR(got, std::trunc(v), 1.0) << i << "," << j;  // positions accumulate in 32-bit floats
        }
}

TEST_P(Topo30, FractionalOriginTakesEachCellsOwnPlace)
{
    const std::string dem = makeTopo(dir, "W100N40", antarctic(), 8, 0);
    ASSERT_FALSE(dem.empty());
    Grid g(12, 6, kSentinel);
    // The tile's first column lies 10.25 columns west of the grid and its
    // first row 2.5 rows below the grid's northern edge: grid column i sits
    // a quarter of the way from tile column 10 + i to 11 + i, and grid row 3
    // from the north (the first inside the tile) half-way between tile rows
    // 0 and 1.
    EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), -10.25f, 2.5f, unitStep(cols()), unitStep(rows()), antarctic()), 1);
    auto raw = [](int c, int r) { const int v = topoValue(c, r); return double(v < -1000 ? 0 : v); };
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 6; ++j) {  // j counted from the north
            const int16_t got = g.at(i, 5 - j);
            if (j < 3) {
                EXPECT_EQ(got, kSentinel) << i << "," << j;
                continue;
            }
            const int c = 10 + i, r = j - 3;
            const double v = (raw(c, r) * 0.75 + raw(c + 1, r) * 0.25) * 0.5 + (raw(c, r + 1) * 0.75 + raw(c + 1, r + 1) * 0.25) * 0.5;
            EXPECT_EQ(got, int16_t(std::trunc(v))) << i << "," << j;
        }
}

TEST_P(Topo30, LastRowOnlyAsLowerLine)
{
    const std::string dem = makeTopo(dir, "W020S10", antarctic(), 0, 12);
    Grid g(4, 20, kSentinel);
    HookRecorder hook;
    // Tile rows R-10 .. R-1 on grid rows 0.. from the north.
    EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), 0.0f, float(10 - rows()), unitStep(cols()), unitStep(rows()),
                        antarctic()),
              1);
    for (int j = 0; j < 20; ++j)
        EXPECT_EQ(g.at(0, 19 - j) != kSentinel, j < 9) << "row from north " << j;
    EXPECT_EQ(g.at(1, 19), topoValue(1, rows() - 10) < -1000 ? 0 : topoValue(1, rows() - 10));
    EXPECT_EQ(HookRecorder::seen, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_P(Topo30, TruncatedTileStopsAtTheFirstShortRead)
{
    const std::string dem = makeTopo(dir, "W060N40", antarctic(), 6, 0, 5.5);
    Grid g(3, 10, kSentinel);
    EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), 0.0f, 0.0f, unitStep(cols()), unitStep(rows()), antarctic()), 1);
    for (int j = 0; j < 10; ++j) EXPECT_EQ(g.at(2, 9 - j) != kSentinel, j <= 3) << j;  // row 4 needs row 5
}

TEST_P(Topo30, LastColumnOnlyAsRightNeighbour)
{
    const std::string dem = makeTopo(dir, "E140N90", antarctic(), 3, 0);
    Grid g(12, 2, kSentinel);
    EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), float(10 - cols()), 0.0f, unitStep(cols()), unitStep(rows()),
                        antarctic()),
              1);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(g.at(i, 1) != kSentinel, i < 9) << i;  // sc < C - 1
}

INSTANTIATE_TEST_SUITE_P(Layouts, Topo30, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Antarctic" : "Normal"; });

TEST(Topo30Failures, BadStepsFileAndGrid)
{
    callback(nullptr);
    TempDir dir;
    const std::string dem = makeTopo(dir, "W100N90", false, 3, 0, 3);
    Grid g(4, 4, kSentinel);
    for (float bad : {0.0f, -0.5f, NAN}) {
        EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), 0, 0, bad, 1.0f, 0), 0);
        EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), 0, 0, 1.0f, bad, 0), 0);
    }
    EXPECT_EQ(gettopo30(g.ref(), (dir / "none.DEM").c_str(), 0, 0, 1.0f, 1.0f, 0), 0);
    EXPECT_EQ(gettopo30(nullptr, dem.c_str(), 0, 0, 1.0f, 1.0f, 0), 0);
    // Placements that miss the grid or the tile leave it alone.
    EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), 4.0f, 0, 1.0f, 1.0f, 0), 1);
    EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), 0, 4.0f, 1.0f, 1.0f, 0), 1);
    EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), -1e30f, -1e30f, 1.0f, 1.0f, 0), 1);
    EXPECT_EQ(g.cells, std::vector<int16_t>(16, kSentinel));
    // A nonsensical origin starts at the tile's first sample; an infinite
    // step ends the walk after it.
    EXPECT_EQ(gettopo30(g.ref(), dem.c_str(), NAN, NAN, INFINITY, INFINITY, 0), 1);
    EXPECT_EQ(g.at(0, 3), 0);  // sample (0, 0) is ocean
    g.at(0, 3) = kSentinel;
    EXPECT_EQ(g.cells, std::vector<int16_t>(16, kSentinel));
}

TEST(Topo30Failures, SamplesBelowMinus1000ReadAsZero)
{
    std::vector<uint8_t> bytes(size_t(zk::engine::kTopoCols) * 2 * 2, 0);
    const int16_t vals[4] = {-1000, -1001, -9999, 8848};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c) {
            bytes[size_t(r) * 9600 + 2 * c] = uint8_t(uint16_t(vals[c]) >> 8);
            bytes[size_t(r) * 9600 + 2 * c + 1] = uint8_t(uint16_t(vals[c]) & 0xFF);
        }
    bytes.push_back(0);  // a third row must start for the second to be read as a lower line
    zk::engine::MemorySource src(bytes);
    Grid g(4, 1, kSentinel);
    callback(nullptr);
    const float s = unitStep(zk::engine::kTopoCols);
    EXPECT_EQ(zk::engine::readTopo30(g.p, src, 0, 0, s, unitStep(zk::engine::kTopoRows), false), 1);
    EXPECT_EQ(g.at(0, 0), -1000);
    EXPECT_EQ(g.at(1, 0), 0);
    EXPECT_EQ(g.at(2, 0), 0);
    EXPECT_EQ(g.at(3, 0), 8848);
}

// ---------------------------------------------------------------------------
// Any bytes at all: the readers never read outside what is there.

TEST(ReaderRobustness, RandomAndShortInputs)
{
    callback(nullptr);
    std::mt19937 rng(1234);
    for (int round = 0; round < 60; ++round) {
        const size_t len = round < 20 ? size_t(round) * 7 : size_t(rng() % 40000);
        std::vector<uint8_t> bytes(len);
        for (auto &b : bytes) b = uint8_t(rng());
        if (len > 26 && round % 3 == 0) bytes[26] = uint8_t("013"[round % 9 / 3]);
        Grid g(9, 7, kSentinel);
        zk::engine::MemorySource a(bytes), b(bytes), c(bytes);
        EXPECT_EQ(zk::engine::readDted(g.p, a, int16_t(round % 2 ? -1 : 0), -int32_t(rng() % 3), 0, 1.0f + float(round % 4),
                                       0.5f),
                  1);
        EXPECT_EQ(zk::engine::readTopo30(g.p, b, 0, -float(rng() % 3), 0.7f, 2.5f, round % 2 == 1), 1);
    }
}

// ---------------------------------------------------------------------------
// Terrain tiles (121 x 121, first index south to north, second west to east)

namespace {

Grid terrainTile()
{
    Grid t(121, 121);
    for (int a = 0; a <= 120; ++a)
        for (int b = 0; b <= 120; ++b) t.at(a, b) = int16_t(a * 10 + b);  // row a, column b
    return t;
}

}  // namespace

TEST(Terrain, UnitStepCopiesTheTileTransposed)
{
    callback(nullptr);
    Grid t = terrainTile();
    Grid g(6, 5, kSentinel);
    EXPECT_EQ(getterrain(g.ref(), t.ref(), 0, 0, 1.0f, 1.0f), 1);
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 5; ++j) EXPECT_EQ(g.at(i, j), t.at(j, i)) << i << "," << j;
}

TEST(Terrain, RoundsHalfUp)
{
    callback(nullptr);
    Grid t(121, 121);
    t.at(0, 0) = 2;
    t.at(0, 1) = 3;
    t.at(1, 0) = -2;
    t.at(1, 1) = -3;
    Grid g(2, 2, kSentinel);
    EXPECT_EQ(getterrain(g.ref(), t.ref(), 0, 0, 0.5f, 1.0f), 1);
    EXPECT_EQ(g.at(0, 0), 2);
    EXPECT_EQ(g.at(1, 0), 3);   // 2.5 up to 3
    EXPECT_EQ(g.at(1, 1), -2);  // -2.5 up to -2
}

TEST(Terrain, OriginOutsideTheGridAndTileEdges)
{
    callback(nullptr);
    Grid t = terrainTile();
    Grid g(8, 8, kSentinel);
    // Tile starts 3 columns west of and 2 rows south of the grid: reading
    // starts inside the tile.
    EXPECT_EQ(getterrain(g.ref(), t.ref(), -3, -2, 1.0f, 1.0f), 1);
    EXPECT_EQ(g.at(0, 0), t.at(2, 3));
    EXPECT_EQ(g.at(7, 7), t.at(9, 10));
    // The tile starting inside the grid leaves the cells west and south of it.
    Grid h(8, 8, kSentinel);
    EXPECT_EQ(getterrain(h.ref(), t.ref(), 5, 6, 1.0f, 1.0f), 1);
    EXPECT_EQ(h.at(4, 7), kSentinel);
    EXPECT_EQ(h.at(5, 5), kSentinel);
    EXPECT_EQ(h.at(5, 6), t.at(0, 0));
    EXPECT_EQ(h.at(7, 7), t.at(1, 2));
    // The tile's last row and column are reached only as neighbours.
    Grid k(5, 5, kSentinel);
    EXPECT_EQ(getterrain(k.ref(), t.ref(), -118, -118, 1.0f, 1.0f), 1);
    EXPECT_EQ(k.at(1, 1), t.at(119, 119));
    EXPECT_EQ(k.at(2, 1), kSentinel);
    EXPECT_EQ(k.at(1, 2), kSentinel);
}

TEST(Terrain, TileWestOfTheGridStartsAtItsOwnPlace)
{
    callback(nullptr);
    Grid t(121, 121);
    for (int a = 0; a <= 120; ++a)
        for (int b = 0; b <= 120; ++b) t.at(a, b) = int16_t(100 * b + a);  // 100 m a column
    Grid g(6, 2, kSentinel);
    // Grid column 0 lies 3 cells of 0.4 samples east of the tile's first
    // column: at tile column 1.2, not at column 1.
    EXPECT_EQ(getterrain(g.ref(), t.ref(), -3, 0, 0.4f, 1.0f), 1);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(g.at(i, 0), 120 + 40 * i) << i;
        EXPECT_EQ(g.at(i, 1), 121 + 40 * i) << i;
    }
}

TEST(Terrain, HookAndBadArguments)
{
    Grid t = terrainTile();
    Grid g(4, 4, kSentinel);
    {
        HookRecorder hook(2);
        EXPECT_EQ(getterrain(g.ref(), t.ref(), 0, 0, 1.0f, 1.0f), 1);
        EXPECT_EQ(HookRecorder::seen, (std::vector<int32_t>{1, 2}));
        EXPECT_NE(g.at(1, 0), kSentinel);
        EXPECT_EQ(g.at(2, 0), kSentinel);
    }
    Grid h(4, 4, kSentinel);
    for (float bad : {0.0f, -1.0f, NAN}) {
        EXPECT_EQ(getterrain(h.ref(), t.ref(), 0, 0, bad, 1.0f), 0);
        EXPECT_EQ(getterrain(h.ref(), t.ref(), 0, 0, 1.0f, bad), 0);
    }
    EXPECT_EQ(getterrain(h.ref(), nullptr, 0, 0, 1.0f, 1.0f), 0);
    ZkArray flat = t.a;
    flat.dims = 1;
    ZkArray *fp = &flat;
    EXPECT_EQ(getterrain(h.ref(), &fp, 0, 0, 1.0f, 1.0f), 0);
    // A small tile with its own bounds (rows 0..2, columns 0..1): never read
    // outside them.
    Grid small(3, 2, 7);
    EXPECT_EQ(getterrain(h.ref(), small.ref(), 0, 0, 0.75f, 0.75f), 1);
    EXPECT_EQ(h.at(0, 0), 7);
    EXPECT_EQ(h.at(1, 2), 7);          // column position 0.75 < 1, row position 1.5 < 2
    EXPECT_EQ(h.at(2, 0), kSentinel);  // column position 1.5 reaches the last column
    EXPECT_EQ(h.at(0, 3), kSentinel);  // row position 2.25
}

// ---------------------------------------------------------------------------
// Map statistics

TEST(MapStat, ScansTheWholeGridFromTheCallersStart)
{
    callback(nullptr);
    Grid g(3, 2);
    const int16_t v[6] = {10, -20, 30, 40, 50, 60};
    for (int k = 0; k < 6; ++k) g.at(k % 3, k / 3) = v[k];
    MapSettings m{};
    m.hmin = 9999;
    m.hmax = -999;
    EXPECT_EQ(getmapstat(&m, g.ref()), 1);
    EXPECT_EQ(m.hmin, -20.0f);
    EXPECT_EQ(m.hmax, 60.0f);
    EXPECT_FLOAT_EQ(m.hmoy, 170.0f / 6);
    // The caller's starting values count as if they were cells.
    m.hmin = -100;
    m.hmax = 1000;
    getmapstat(&m, g.ref());
    EXPECT_EQ(m.hmin, -100.0f);
    EXPECT_EQ(m.hmax, 1000.0f);
}

TEST(MapStat, OneCellAndStopAndBadGrid)
{
    Grid one(1, 1, 42);
    MapSettings m{};
    m.hmin = 9999;
    m.hmax = -999;
    callback(nullptr);
    getmapstat(&m, one.ref());
    EXPECT_EQ(m.hmin, 42.0f);
    EXPECT_EQ(m.hmax, 42.0f);
    EXPECT_EQ(m.hmoy, 42.0f);

    Grid g(4, 2, 8);
    for (int j = 0; j < 2; ++j) g.at(3, j) = 100;
    {
        HookRecorder hook(2);  // stop after column 1
        m.hmin = 9999;
        m.hmax = -999;
        EXPECT_EQ(getmapstat(&m, g.ref()), 1);
        EXPECT_EQ(HookRecorder::seen, (std::vector<int32_t>{0, 1}));
        EXPECT_EQ(m.hmax, 8.0f);
        EXPECT_EQ(m.hmoy, 4.0f);  // 4 cells of 8 over all 8 cells
    }
    MapSettings before = m;
    ZkArray flat = g.a;
    flat.dims = 1;
    ZkArray *fp = &flat;
    EXPECT_EQ(getmapstat(&m, &fp), 1);
    EXPECT_EQ(getmapstat(&m, nullptr), 1);
    EXPECT_EQ(getmapstat(nullptr, g.ref()), 1);
    EXPECT_EQ(std::memcmp(&before, &m, sizeof m), 0);
}
