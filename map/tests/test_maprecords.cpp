// The map records: corners from the centre and the grid's shape, positions to
// grid cells, the packed file form of the records, and the tile names.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "map/mapdata.h"
#include "map/mapfile.h"
#include "map/tilenames.h"

namespace {

constexpr double kRad = 0.017453292519943;

MapSettings centred(float lon, float lat, float size)
{
    MapSettings s{};
    s.lon = lon;
    s.lat = lat;
    s.size = size;
    return s;
}

class MapRecords : public ::testing::Test {
protected:
    void SetUp() override
    {
        zk::mapcorners = zk::MapCorners{};
        zk::elevgrid.redim(1023, 767);
    }
};

}  // namespace

TEST_F(MapRecords, SetcornersWorkedExample)
{
    MapSettings s = centred(-73, 45, 200);
    zk::setcorners(s);
    const double dlat = 200.0 / 6367.0 / kRad;
    const double dlon = dlat / 767.0 * 1023.0 / std::cos(45.0 * kRad);
    EXPECT_NEAR(dlat, 1.8, 0.01);
    EXPECT_NEAR(dlon, 3.4, 0.01);
    const auto &c = zk::mapcorners;
    EXPECT_FLOAT_EQ(c.lat[0], float(45 + dlat / 2));
    EXPECT_FLOAT_EQ(c.lat[1], float(45 + dlat / 2));
    EXPECT_FLOAT_EQ(c.lat[2], float(45 - dlat / 2));
    EXPECT_FLOAT_EQ(c.lat[3], float(45 - dlat / 2));
    EXPECT_FLOAT_EQ(c.lon[0], float(-73 - dlon / 2));
    EXPECT_FLOAT_EQ(c.lon[3], float(-73 - dlon / 2));
    EXPECT_FLOAT_EQ(c.lon[1], float(-73 + dlon / 2));
    EXPECT_FLOAT_EQ(c.lon[2], float(-73 + dlon / 2));
    EXPECT_EQ(s.size, 200.0f);
}

TEST_F(MapRecords, SetcornersSmallSizeBecomesOneKilometre)
{
    for (float bad : {0.5f, 0.0f, -3.0f, NAN}) {
        MapSettings s = centred(10, 0, bad);
        zk::setcorners(s);
        EXPECT_EQ(s.size, 1.0f) << bad;
        EXPECT_NEAR(zk::mapcorners.lat[0] - zk::mapcorners.lat[2], 1.0 / 6367.0 / kRad, 1e-6);
    }
}

TEST_F(MapRecords, SetcornersLeavesCityAndWidensWithTheGrid)
{
    zk::mapcorners.city = 7;
    MapSettings s = centred(-73, 45, 200);
    zk::setcorners(s);
    const float narrow = zk::mapcorners.lon[2] - zk::mapcorners.lon[0];
    zk::elevgrid.redim(2047, 767);
    zk::setcorners(s);
    const float wide = zk::mapcorners.lon[2] - zk::mapcorners.lon[0];
    EXPECT_NEAR(wide / narrow, 2047.0 / 1023.0, 1e-4);
    EXPECT_EQ(zk::mapcorners.city, 7);
}

TEST_F(MapRecords, SetcornersOnAGridOneRowHighSkipsTheWidth)
{
    zk::elevgrid.redim(10, 0);
    MapSettings s = centred(5, 5, 100);
    zk::setcorners(s);
    EXPECT_EQ(zk::mapcorners.lon[0], 5.0f);
    EXPECT_EQ(zk::mapcorners.lon[2], 5.0f);
    EXPECT_GT(zk::mapcorners.lat[0], 5.0f);
}

TEST_F(MapRecords, GridpointEdgesAndBeyond)
{
    // 128 columns over 2 degrees, 64 rows over 1 degree: every position below
    // is exact in binary, so the rounding of halves is what is tested.
    zk::elevgrid.redim(128, 64);
    zk::elevgrid.at(128, 64) = 321;
    zk::elevgrid.at(0, 0) = -4;
    zk::mapcorners.lon[0] = zk::mapcorners.lon[3] = -74;
    zk::mapcorners.lon[1] = zk::mapcorners.lon[2] = -72;
    zk::mapcorners.lat[0] = zk::mapcorners.lat[1] = 46;
    zk::mapcorners.lat[2] = zk::mapcorners.lat[3] = 45;
    float x = -1, y = -1, e = 99;
    EXPECT_TRUE(zk::gridpoint(-72, 46, x, y, e));
    EXPECT_EQ(x, 128.0f);
    EXPECT_EQ(y, 64.0f);
    EXPECT_EQ(e, 321.0f);
    EXPECT_TRUE(zk::gridpoint(-74, 45, x, y, e));
    EXPECT_EQ(e, -4.0f);
    // One cell beyond the eastern edge: false, x already written, elevation kept.
    e = 99;
    EXPECT_FALSE(zk::gridpoint(-72 + 1.0 / 64, 45.5, x, y, e));
    EXPECT_EQ(x, 129.0f);
    EXPECT_EQ(y, 32.0f);
    EXPECT_EQ(e, 99.0f);
    EXPECT_FALSE(zk::gridpoint(-73, 46 + 1.0 / 64, x, y, e));
    EXPECT_EQ(y, 65.0f);
    EXPECT_FALSE(zk::gridpoint(-74 - 1.0 / 64, 45, x, y, e));
    EXPECT_EQ(x, -1.0f);
    // Halves go to the even cell: column 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
    EXPECT_TRUE(zk::gridpoint(-74 + 1.0 / 128, 45, x, y, e));
    EXPECT_EQ(x, 0.0f);
    EXPECT_TRUE(zk::gridpoint(-74 + 3.0 / 128, 45, x, y, e));
    EXPECT_EQ(x, 2.0f);
    EXPECT_TRUE(zk::gridpoint(-74 + 5.0 / 128, 45, x, y, e));
    EXPECT_EQ(x, 2.0f);
}

TEST_F(MapRecords, GridpointAcrossTheAntimeridian)
{
    zk::elevgrid.redim(30, 10);
    zk::mapcorners.lon[0] = zk::mapcorners.lon[3] = -181.5f;
    zk::mapcorners.lon[1] = zk::mapcorners.lon[2] = -178.5f;
    zk::mapcorners.lat[0] = zk::mapcorners.lat[1] = 1;
    zk::mapcorners.lat[2] = zk::mapcorners.lat[3] = 0;
    zk::elevgrid.at(5, 5) = 77;
    float x = 0, y = 0, e = 0;
    // 179 east becomes -181: half a degree east of the western edge.
    EXPECT_TRUE(zk::gridpoint(179, 0.5, x, y, e));
    EXPECT_EQ(x, 5.0f);
    EXPECT_EQ(e, 77.0f);
    // -179 is taken as it is.
    EXPECT_TRUE(zk::gridpoint(-179, 0.5, x, y, e));
    EXPECT_EQ(x, 25.0f);
    // A map reaching beyond +180 brings western positions round.
    zk::mapcorners.lon[0] = zk::mapcorners.lon[3] = 178.5f;
    zk::mapcorners.lon[1] = zk::mapcorners.lon[2] = 181.5f;
    EXPECT_TRUE(zk::gridpoint(-179, 0.5, x, y, e));
    EXPECT_EQ(x, 25.0f);
}

TEST_F(MapRecords, GridpointWithoutAMapKeepsTheCallersValues)
{
    zk::elevgrid.redim(10, 10);
    float x = 3, y = 4, e = 5;
    zk::elevgrid.at(3, 4) = 12;
    // Degenerate corners: x and y stay, and the bounds test uses them.
    EXPECT_TRUE(zk::gridpoint(50, 50, x, y, e));
    EXPECT_EQ(x, 3.0f);
    EXPECT_EQ(y, 4.0f);
    EXPECT_EQ(e, 12.0f);
    x = 20;
    EXPECT_FALSE(zk::gridpoint(50, 50, x, y, e));
}

TEST(MapPacking, SettingsAndCornersByteForByte)
{
    MapSettings s{};
    s.lon = -73.5f;
    s.lat = 45.25f;
    s.size = 200;
    s.Mapmode = 5;
    s.con = 30;
    s.bri = 70;
    s.minx = -12;
    s.maxx = 1234;
    s.light = 335;
    s.c1 = 1;
    s.c2 = 3;
    s.hmin = -12;
    s.hmax = 1234;
    s.hmoy = 456.5f;
    s.sources = 7;
    s.tag = 'Q';
    const QByteArray b = zk::packsettings(s);
    ASSERT_EQ(b.size(), 50);
    auto f32 = [&](int at) {
        float v;
        uint32_t u = uint8_t(b[at]) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
                     uint32_t(uint8_t(b[at + 3])) << 24;
        std::memcpy(&v, &u, 4);
        return v;
    };
    EXPECT_EQ(f32(0), -73.5f);
    EXPECT_EQ(f32(4), 45.25f);
    EXPECT_EQ(f32(8), 200.0f);
    EXPECT_EQ(uint8_t(b[12]), 5);
    EXPECT_EQ(uint8_t(b[13]), 0);
    EXPECT_EQ(f32(14), 30.0f);
    EXPECT_EQ(f32(18), 70.0f);
    EXPECT_EQ(f32(22), -12.0f);
    EXPECT_EQ(f32(26), 1234.0f);
    EXPECT_EQ(f32(30), 335.0f);
    EXPECT_EQ(uint8_t(b[34]), 1);
    EXPECT_EQ(uint8_t(b[35]), 3);
    EXPECT_EQ(f32(36), -12.0f);
    EXPECT_EQ(f32(40), 1234.0f);
    EXPECT_EQ(f32(44), 456.5f);
    EXPECT_EQ(uint8_t(b[48]), 7);
    EXPECT_EQ(b[49], 'Q');
    const MapSettings back = zk::unpacksettings(b.constData());
    EXPECT_EQ(zk::packsettings(back), b);

    zk::MapCorners c;
    for (int i = 0; i < 4; ++i) {
        c.lon[i] = -75.0f + i;
        c.lat[i] = 46.0f - i;
    }
    c.city = -1;
    const QByteArray cb = zk::packcorners(c);
    ASSERT_EQ(cb.size(), 34);
    EXPECT_EQ(uint8_t(cb[32]), 0xFF);
    EXPECT_EQ(uint8_t(cb[33]), 0xFF);
    const zk::MapCorners cback = zk::unpackcorners(cb.constData());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cback.lon[i], c.lon[i]);
        EXPECT_EQ(cback.lat[i], c.lat[i]);
    }
    EXPECT_EQ(cback.city, -1);
}

struct TerrainName {
    int x, y;
    const char *rel;
};
class TerrainNames : public ::testing::TestWithParam<TerrainName> {};
TEST_P(TerrainNames, Path)
{
    const TerrainName &t = GetParam();
    EXPECT_EQ(zk::terrainrelpath(t.x, t.y).toStdString(), t.rel);
}
INSTANTIATE_TEST_SUITE_P(Table, TerrainNames,
                         ::testing::Values(TerrainName{-74, 45, "m073/w073n45.sd_"},
                                           TerrainName{10, -5, "m011/e011s05.sd_"},
                                           TerrainName{-1, 0, "m000/w000n00.sd_"},
                                           TerrainName{0, -1, "m001/e001s01.sd_"},
                                           TerrainName{-181, 10, "m180/e180n10.sd_"},
                                           TerrainName{-180, -90, "m179/w179s90.sd_"},
                                           TerrainName{179, 89, "m180/e180n89.sd_"},
                                           TerrainName{180, 0, "m179/w179n00.sd_"},
                                           TerrainName{-75, 44, "m074/w074n44.sd_"}));

struct GtopoName {
    int tlon, tlat;
    const char *name;
};
class GtopoNames : public ::testing::TestWithParam<GtopoName> {};
TEST_P(GtopoNames, Name)
{
    const GtopoName &t = GetParam();
    EXPECT_EQ(zk::gtopo30name(t.tlon, t.tlat).toStdString(), t.name);
}
INSTANTIATE_TEST_SUITE_P(Table, GtopoNames,
                         ::testing::Values(GtopoName{-100, 90, "W100N90"}, GtopoName{-220, 40, "E140N40"},
                                           GtopoName{140, -10, "E140S10"}, GtopoName{-180, -60, "W180S60"},
                                           GtopoName{-120, -60, "W120S60"}, GtopoName{-60, -60, "W060S60"},
                                           GtopoName{0, -60, "W000S60"}, GtopoName{60, -60, "E060S60"},
                                           GtopoName{120, -60, "E120S60"}, GtopoName{180, 90, "W180N90"},
                                           GtopoName{20, 40, "E020N40"}, GtopoName{-20, -10, "W020S10"}));

TEST(TileNames, GtopoAndDtedPaths)
{
    EXPECT_EQ(zk::gtopo30path(QStringLiteral("/d/"), -100, 90), QStringLiteral("/d/W100N90/W100N90.dem"));
    const auto c = zk::dtedcandidates(QStringLiteral("/d/"), -74, 45);
    EXPECT_EQ(c[0].path, QStringLiteral("/d/DTED/W0740000/N450000.DT1"));
    EXPECT_EQ(c[0].flag, -1);
    EXPECT_EQ(c[1].path, QStringLiteral("/d/DTED/W074/N45.DT1"));
    EXPECT_EQ(c[1].flag, 0);
    EXPECT_EQ(c[2].path, QStringLiteral("/d/DTED/W074/N45.DT0"));
    EXPECT_EQ(c[2].flag, 0);
    EXPECT_EQ(zk::dtedcandidates(QStringLiteral("/d/"), 0, -1)[1].path, QStringLiteral("/d/DTED/E000/S01.DT1"));
    EXPECT_EQ(zk::dtedcandidates(QStringLiteral("/d/"), -181, 5)[1].path, QStringLiteral("/d/DTED/E179/N05.DT1"));
    EXPECT_EQ(zk::dtedcandidates(QStringLiteral("/d/"), 180, 5)[1].path, QStringLiteral("/d/DTED/W180/N05.DT1"));
}

TEST(TileNames, DtedLongitudeZonesByTheEquatorwardEdge)
{
    const struct {
        int y, profiles;
    } cases[] = {{0, 1200},   {49, 1200},  {50, 600},   {69, 600},   {70, 400},   {74, 400},  {75, 300},
                 {79, 300},   {80, 200},   {89, 200},   {-1, 1200},  {-50, 1200}, {-51, 600}, {-70, 600},
                 {-71, 400},  {-75, 400},  {-76, 300},  {-80, 300},  {-81, 200},  {-90, 200}};
    for (const auto &c : cases) EXPECT_EQ(zk::dtedprofiles(c.y), c.profiles) << c.y;
}
