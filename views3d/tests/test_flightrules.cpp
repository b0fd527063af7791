// The plain rules of flights: the frame count, the frame names and files,
// the observer's step, and the flight's length taken from the two stations
// as the terrain profile measures a path (not from the last profile).
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

#include "map/mapdata.h"
#include "radio/profile.h"
#include "radio/radiodata.h"
#include "views3d/flight.h"

namespace {

struct FramesCase {
    const char *what;
    double length_m, speed, fps;
    int32_t frames;
};

class FlightFrames : public ::testing::TestWithParam<FramesCase> {};

TEST_P(FlightFrames, Count)
{
    const FramesCase &c = GetParam();
    EXPECT_EQ(zk::flightframes(c.length_m, c.speed, c.fps), c.frames) << c.what;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Cases, FlightFrames,
    ::testing::Values(FramesCase{"10 km at the defaults", 10000, 500, 3, 60},
                      FramesCase{"0.5 m/s counts as 1 m/s", 20, 0.5, 3, 60},
                      FramesCase{"1 m/s", 20, 1, 3, 60},
                      FramesCase{"0.1 m/s, the dialog's least", 20, 0.1, 3, 60},
                      FramesCase{"2.5 frames go to 2", 2500, 1000, 1, 2},
                      FramesCase{"3.5 frames go to 4", 3500, 1000, 1, 4},
                      FramesCase{"less than half a frame", 100, 500, 1, 0},
                      FramesCase{"no length", 0, 500, 3, 0},
                      FramesCase{"length not a number", kNaN, 500, 3, 0},
                      FramesCase{"speed not a number", 10000, kNaN, 3, 0},
                      FramesCase{"beyond the integers", 1e300, 1, 10, std::numeric_limits<int32_t>::max()},
                      FramesCase{"9999 frames and more are counted whole", 1e7, 100, 1, 100000}));

TEST(FlightNames, FourDigits)
{
    EXPECT_EQ(zk::framename(1), QStringLiteral("flig0001.bmp"));
    EXPECT_EQ(zk::framename(60), QStringLiteral("flig0060.bmp"));
    EXPECT_EQ(zk::framename(9999), QStringLiteral("flig9999.bmp"));
}

TEST(FlightStep, OneNthOfTheWay)
{
    const zk::FlightStep s = zk::flightstep(10, 20, 100, 70, 20, 40, 60);
    EXPECT_DOUBLE_EQ(s.dx, 1);
    EXPECT_DOUBLE_EQ(s.dy, 0);
    EXPECT_DOUBLE_EQ(s.dh, -1);
    // A flight of 0 frames takes its one frame at A.
    const zk::FlightStep z = zk::flightstep(10, 20, 100, 70, 20, 40, 0);
    EXPECT_EQ(z.dx, 0);
    EXPECT_EQ(z.dy, 0);
    EXPECT_EQ(z.dh, 0);
}

TEST(FlightFiles, PatternInAnyCase)
{
    QTemporaryDir dir;
    const QString f = dir.path() + QLatin1Char('/');
    for (const char *name : {"flig0001.bmp", "FLIG0002.BMP", "Flig0003.Bmp", "flight.txt", "xflig0004.bmp"}) {
        QFile file(f + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QStringList found = zk::framefiles(f);
    EXPECT_EQ(found.size(), 3);
    // A frame is found whatever the case of its name.
    EXPECT_EQ(zk::framefile(f, 2), f + QStringLiteral("FLIG0002.BMP"));
    EXPECT_EQ(zk::framefile(f, 1), f + QStringLiteral("flig0001.bmp"));
    EXPECT_EQ(zk::framefile(f, 9), f + QStringLiteral("flig0009.bmp"));
}

// A map of 513 x 129 cells, 64 a degree both ways, 0.25 km a cell.
void map()
{
    zk::elevgrid.redim(512, 128);
    zk::mapcorners.lon[0] = 8;  zk::mapcorners.lat[0] = 42;
    zk::mapcorners.lon[1] = 16; zk::mapcorners.lat[1] = 42;
    zk::mapcorners.lon[2] = 16; zk::mapcorners.lat[2] = 40;
    zk::mapcorners.lon[3] = 8;  zk::mapcorners.lat[3] = 40;
    zk::mapset.size = 32;
}

void place(int u, double x, double y)
{
    zk::units[u].lon = float(8 + x / 64);
    zk::units[u].lat = float(40 + y / 64);
}

struct Pair {
    double xa, ya, xb, yb;
};

class LinkDistance : public ::testing::TestWithParam<Pair> {};

// The same length as the profile gives for the pair.
TEST_P(LinkDistance, AsTheProfileMeasures)
{
    map();
    const Pair p = GetParam();
    place(1, p.xa, p.ya);
    place(2, p.xb, p.yb);
    const double d = zk::linkdistance(1, 2);
    ASSERT_GT(zk::getprofile(1, 2), 0);
    EXPECT_DOUBLE_EQ(d, zk::profdist);
    EXPECT_NEAR(d * 1000, zk::pfl[1] * zk::pfl[2], 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Pairs, LinkDistance,
                         ::testing::Values(Pair{14, 64, 64, 64}, Pair{10, 10, 13, 14}, Pair{100.5, 3.25, 7, 120},
                                           Pair{0, 0, 512, 128}));

TEST(LinkDistance, NotTheLastProfile)
{
    map();
    place(1, 14, 64);
    place(2, 64, 64);
    place(3, 200, 10);
    place(4, 400, 100);
    ASSERT_GT(zk::getprofile(3, 4), 0);
    const auto keep = zk::pfl;
    const double keepdist = zk::profdist;
    // 50 cells of 0.25 km.
    EXPECT_DOUBLE_EQ(zk::linkdistance(1, 2), 12.5);
    // The profile and its results are left alone.
    EXPECT_EQ(zk::pfl, keep);
    EXPECT_EQ(zk::profdist, keepdist);
}

TEST(LinkDistance, LongerThanAProfileHolds)
{
    map();
    place(1, 0, 64);
    place(2, 500, 64);
    // 500 cells: the profile keeps 157 intervals, the length is whole.
    EXPECT_DOUBLE_EQ(zk::linkdistance(1, 2), 125.0);
}

TEST(LinkDistance, NoneOffTheMap)
{
    map();
    place(1, 14, 64);
    place(2, 600, 64);
    EXPECT_EQ(zk::linkdistance(1, 2), -1);
    EXPECT_EQ(zk::linkdistance(0, 2), -1);
    zk::mapset.size = 0;
    place(2, 64, 64);
    EXPECT_EQ(zk::linkdistance(1, 2), -1);
}

}  // namespace
