// Terrain profiles: bearings, sample counts, edges of the map, the date line
// and the values left beside the profile.
#include <gtest/gtest.h>

#include <cmath>

#include "base/screen.h"
#include "map/bearing.h"
#include "radio/profile.h"
#include "radioenv.h"

namespace {

constexpr double kPi = 3.14159265358979;

struct AzimuthCase {
    double dnorth, deast, expected;
};

class Azimuth : public ::testing::TestWithParam<AzimuthCase> {};

TEST_P(Azimuth, BearingClockwiseFromNorth)
{
    const AzimuthCase c = GetParam();
    EXPECT_NEAR(zk::azimuth(c.dnorth, c.deast), c.expected, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Cases, Azimuth,
                         ::testing::Values(AzimuthCase{1, 0, 0}, AzimuthCase{0, 1, kPi / 2}, AzimuthCase{-1, 0, kPi},
                                           AzimuthCase{0, -1, 3 * kPi / 2}, AzimuthCase{1, -1, 7 * kPi / 4},
                                           AzimuthCase{0, 0, 0}, AzimuthCase{1, 1, kPi / 4},
                                           AzimuthCase{-1, 1, 3 * kPi / 4}, AzimuthCase{-1, -1, 5 * kPi / 4},
                                           AzimuthCase{2, -1, 2 * kPi + std::atan(-0.5)},
                                           AzimuthCase{-2, 1, kPi + std::atan(-0.5)},
                                           AzimuthCase{1e-9, -5, 3 * kPi / 2 - std::atan(1e-9 / -5)}));

class Profile : public ::testing::Test {
protected:
    void SetUp() override
    {
        zk::setScreenPixels(QSize(1024, 768));
        zk::newnet(false);
        radiotest::setTestMap([](int x, int y) { return int16_t(10 * x + y % 10); });
    }
    void TearDown() override { zk::setScreenPixels(QSize()); }
};

// Sample counts for two units d cells apart along a row: halves to even.
struct CountCase {
    double cells;
    int n;
};
class ProfileCount : public Profile, public ::testing::WithParamInterface<CountCase> {};

TEST_P(ProfileCount, IntervalsAreTheRoundedCellDistance)
{
    const CountCase c = GetParam();
    radiotest::placeUnit(1, 50, 100);
    radiotest::placeUnit(2, 50 + c.cells, 100);
    EXPECT_EQ(zk::getprofile(1, 2), c.n);
    EXPECT_EQ(zk::pfl[1], c.n);
    EXPECT_NEAR(zk::profaz, 90, 1e-9);
    if (c.n == 0) {
        EXPECT_EQ(zk::profdist, 0);
        EXPECT_EQ(zk::profmin, 0);
        EXPECT_EQ(zk::profmax, 0);
        EXPECT_EQ(zk::pfl[2], 0);
    } else {
        // 100 km over 512 rows.
        EXPECT_NEAR(zk::profdist, std::min(c.cells, 1e9) * 100.0 / 512, 1e-6);
        EXPECT_NEAR(zk::pfl[2], zk::profdist * 1000 / c.n, 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileCount,
                         ::testing::Values(CountCase{0.4, 0}, CountCase{0.5, 0}, CountCase{1.5, 2}, CountCase{2.5, 2},
                                           CountCase{3.5, 4}, CountCase{1, 1}, CountCase{156.5, 156},
                                           CountCase{157.5, 157}, CountCase{400, 157}));

TEST_F(Profile, SamplesAreTheNearestCells)
{
    radiotest::placeUnit(1, 10, 20);
    radiotest::placeUnit(2, 14, 20);
    ASSERT_EQ(zk::getprofile(1, 2), 4);
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(zk::pfl[size_t(i) + 3], 10 * (10 + i)) << i;
    EXPECT_EQ(zk::pfl[8], 0);
    EXPECT_EQ(zk::profmin, 100);
    EXPECT_EQ(zk::profmax, 140);
    EXPECT_EQ(zk::pfl[0], 0);

    // Westward, then northward and south-west.
    ASSERT_EQ(zk::getprofile(2, 1), 4);
    EXPECT_NEAR(zk::profaz, 270, 1e-9);
    EXPECT_EQ(zk::pfl[3], 140);
    radiotest::placeUnit(2, 10, 27);
    ASSERT_EQ(zk::getprofile(1, 2), 7);
    EXPECT_NEAR(zk::profaz, 0, 1e-9);
    for (int i = 0; i <= 7; ++i) EXPECT_EQ(zk::pfl[size_t(i) + 3], 100 + (20 + i) % 10) << i;
    radiotest::placeUnit(2, 7, 17);
    ASSERT_EQ(zk::getprofile(1, 2), 4);  // 3 sqrt 2 = 4.24
    EXPECT_NEAR(zk::profaz, 225, 1e-9);
}

TEST_F(Profile, FourHundredCellsSkipCellsBetweenSamples)
{
    radiotest::placeUnit(1, 50, 10);
    radiotest::placeUnit(2, 450, 10);
    ASSERT_EQ(zk::getprofile(1, 2), 157);
    for (int i = 0; i <= 157; ++i) {
        const int x = int(std::nearbyint(i * 400.0 / 157 + 50));
        EXPECT_EQ(zk::pfl[size_t(i) + 3], 10 * x) << i;
    }
    EXPECT_EQ(zk::pfl[3 + 157], 4500);  // the last sample is B's own cell
    EXPECT_EQ(zk::pfl[3 + 158], 0);
    EXPECT_NEAR(zk::pfl[2], 400.0 / 512 * 100 * 1000 / 157, 1e-9);
}

TEST_F(Profile, EdgesOfTheMap)
{
    radiotest::placeUnit(1, 500, 0);
    radiotest::placeUnit(2, 512, 512);  // the NE corner cell: inside
    EXPECT_GT(zk::getprofile(1, 2), 0);
    EXPECT_GE(zk::profaz, 0);

    zk::units[2].lon = radiotest::cellLon(512 + 0.001);  // just beyond the east edge
    EXPECT_EQ(zk::getprofile(1, 2), 0);
    EXPECT_EQ(zk::profaz, -1);
    zk::units[2].lon = radiotest::cellLon(300);
    zk::units[2].lat = radiotest::cellLat(-0.01);  // south of the map
    EXPECT_EQ(zk::getprofile(1, 2), 0);
    EXPECT_EQ(zk::profaz, -1);

    // Bad unit numbers and a map without extent give an empty profile.
    EXPECT_EQ(zk::getprofile(0, 2), 0);
    EXPECT_EQ(zk::getprofile(1, 51), 0);
    radiotest::placeUnit(2, 510, 10);
    zk::mapset.size = 0;
    EXPECT_EQ(zk::getprofile(1, 2), 0);
    EXPECT_EQ(zk::profaz, -1);
    zk::mapset.size = NAN;
    EXPECT_EQ(zk::getprofile(1, 2), 0);
    zk::mapset.size = 100;
    zk::mapcorners.lon[1] = zk::mapcorners.lon[0];
    EXPECT_EQ(zk::getprofile(1, 2), 0);
}

TEST_F(Profile, MapAcrossTheDateLine)
{
    zk::mapcorners.lon[0] = zk::mapcorners.lon[3] = 176;
    zk::mapcorners.lon[1] = zk::mapcorners.lon[2] = 184;
    zk::units[1].lon = 179.5f;
    zk::units[1].lat = radiotest::cellLat(100);
    zk::units[2].lon = -179.5f;  // 184 - 360 + 0.5: one degree east of A
    zk::units[2].lat = radiotest::cellLat(100);
    ASSERT_EQ(zk::getprofile(1, 2), 64);
    EXPECT_NEAR(zk::profaz, 90, 1e-9);
    EXPECT_EQ(zk::pfl[3], 10 * 224);
    EXPECT_EQ(zk::pfl[3 + 64], 10 * 288);
}

TEST_F(Profile, BeforeAnyMapEverySampleIsZero)
{
    zk::newnet(false);  // one cell per screen pixel, all 0, size 200 km
    zk::mapcorners.lon[0] = -74; zk::mapcorners.lon[1] = -72;
    zk::mapcorners.lat[0] = 46; zk::mapcorners.lat[2] = 44;
    zk::units[1].lon = -73.5f; zk::units[1].lat = 45;
    zk::units[2].lon = -72.5f; zk::units[2].lat = 45.2f;
    const int n = zk::getprofile(1, 2);
    ASSERT_GT(n, 0);
    for (int i = 0; i <= n; ++i) EXPECT_EQ(zk::pfl[size_t(i) + 3], 0);
    EXPECT_EQ(zk::profmin, 0);
    EXPECT_EQ(zk::profmax, 0);
}

TEST_F(Profile, EndSamplesTakeTheUnitsOwnElevation)
{
    radiotest::placeUnit(1, 10, 20, 33.5f);
    radiotest::placeUnit(2, 14, 20, 44.25f);
    ASSERT_EQ(zk::getprofile(1, 2), 4);
    zk::applyendsamples(1, 2);
    EXPECT_EQ(zk::pfl[3], 33.5);
    EXPECT_EQ(zk::pfl[7], 44.25);
    EXPECT_EQ(zk::pfl[5], 120);
    // Nothing for an empty profile.
    radiotest::placeUnit(2, 10.2, 20);
    ASSERT_EQ(zk::getprofile(1, 2), 0);
    zk::applyendsamples(1, 2);
    EXPECT_EQ(zk::pfl[3], 0);
}

}  // namespace
