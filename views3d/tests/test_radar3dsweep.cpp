// The radar coverage's sweep on synthetic maps with known answers: the
// horizon sectors, the generator, a table of one entry, targets below the
// sensor seen only where the ground falls away, a ridge's shadow kept for
// the later rings of its sector, the end of a full turn, and tables and
// settings that must not make the sweep run away.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "map/mapdata.h"
#include "radio/coverage.h"
#include "views3d/radar3d.h"
#include "mapenv.h"

namespace {

constexpr double kPi = 3.14159265358979;

// The map: 201 x 201 cells, 10 km from south to north (20 cells a km), the
// sensor in the middle cell (100, 100). Elevations from `elev` (flat 0 by
// default).
void setMap(int16_t (*elev)(int x, int y) = nullptr)
{
    viewtest::fillGrid(200, 200, elev);
    zk::mapset.size = 10;
}

// A table of n entries every `step_km`, the target's height above the
// sensor given by `height` for entry i = 1..n.
zk::RadarTable table(int n, double step_km, float (*height)(int i))
{
    zk::RadarTable t;
    t.n = n;
    t.b = step_km;
    t.lo.assign(size_t(n) + 2, 0);
    t.hi.assign(size_t(n) + 2, 0);
    for (int i = 1; i <= n; ++i) t.hi[size_t(i)] = height(i);
    return t;
}

// A full turn with the sensor h0 m high in the middle cell of map and
// picture, both 20 cells a km.
zk::Radar3DSweep sweep(const zk::RadarTable &t, float h0 = 10) { return viewtest::radarSweep(t, h0, 100, 100, 20); }

// What the sweep reports; stopAfter counts the rings before the canvas
// says stop (-1 never).
struct Recorder : viewtest::SweepRecorder {
    // The ring's radius in map cells.
    static double cells(const zk::RadarTarget &t, double step_km) { return t.r * step_km * 20; }
};

class RadarSweep : public ::testing::Test {
protected:
    void SetUp() override
    {
        setMap();
        zk::resetradarrandom();
    }
};

}  // namespace

struct SectorCase {
    float az;
    int sector;
};
class RadarSectors : public ::testing::TestWithParam<SectorCase> {};
TEST_P(RadarSectors, RoundTwiceAndWrap) { EXPECT_EQ(zk::radarsector(GetParam().az), GetParam().sector); }
INSTANTIATE_TEST_SUITE_P(Table, RadarSectors,
                         ::testing::Values(SectorCase{3, 0},      // 0.5 rounds to 0
                                           SectorCase{9, 2},      // 1.5 rounds to 2
                                           SectorCase{15, 2},     // 2.5 rounds to 2
                                           SectorCase{357, 0},    // 59.5 rounds to 60, wraps to 0
                                           SectorCase{356.4f, 59},  // 356 / 6 = 59.33
                                           SectorCase{2.6f, 0},   // 3 / 6 = 0.5 rounds to 0
                                           SectorCase{3.6f, 1},   // 4 / 6 rounds to 1
                                           SectorCase{180, 30}, SectorCase{360, 0},
                                           SectorCase{-0.4f, 0},  // a jittered start just before north
                                           SectorCase{-4, 59},    // -0.67 rounds to -1
                                           SectorCase{363, 0},    // 60.5 rounds to 60
                                           SectorCase{-730, 58},  // two turns away, as 350
                                           SectorCase{std::numeric_limits<float>::quiet_NaN(), 0}));

TEST(RadarRandom, UniformInHalfOpenUnitAndRepeatable)
{
    zk::resetradarrandom();
    std::vector<float> first;
    double sum = 0;
    for (int k = 0; k < 20000; ++k) {
        const float v = zk::radarrandom();
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, 1.0f);
        if (k < 10) first.push_back(v);
        sum += v;
    }
    EXPECT_NEAR(sum / 20000, 0.5, 0.01);
    zk::resetradarrandom();
    for (float v : first) EXPECT_EQ(zk::radarrandom(), v);
}

// r = 1 is not below 1: no ring, no target, no progress.
TEST_F(RadarSweep, OneEntryDrawsNothing)
{
    const zk::RadarTable t = table(1, 0.5, [](int) { return 100.0f; });
    Recorder rec;
    EXPECT_TRUE(zk::radar3dsweep(sweep(t), rec));
    EXPECT_TRUE(rec.targets.empty());
    EXPECT_TRUE(rec.rings.empty());
}

// On flat ground every target above the ground line is seen; the rings
// start at one table step and never reach the last entry.
TEST_F(RadarSweep, FlatGroundSeesEveryTargetAbove)
{
    const zk::RadarTable t = table(4, 0.5, [](int) { return 100.0f; });
    Recorder rec;
    EXPECT_TRUE(zk::radar3dsweep(sweep(t), rec));
    ASSERT_FALSE(rec.rings.empty());
    EXPECT_EQ(rec.rings.front(), 1.0f);
    // azstep 1: step 0.2, and with a flat table dr = 2 * 0.2.
    EXPECT_NEAR(rec.rings[1] - rec.rings[0], 0.4, 1e-5);
    EXPECT_LT(rec.rings.back(), 4.0f);
    ASSERT_FALSE(rec.targets.empty());
    for (const zk::RadarTarget &tg : rec.targets) {
        EXPECT_FLOAT_EQ(tg.z, 110.0f);
        // Drawn within the cell around the exact position on the picture.
        const double d = tg.r * 0.5 * 20, a = tg.az_deg * kPi / 180;
        EXPECT_NEAR(tg.x, 100 + d * std::sin(a), 0.5 + 1e-3);
        EXPECT_NEAR(tg.y, 100 + d * std::cos(a), 0.5 + 1e-3);
        EXPECT_NEAR(tg.px, 100 + d * std::sin(a), 0.5 + 1e-3);
        EXPECT_NEAR(tg.py, 100 + d * std::cos(a), 0.5 + 1e-3);
    }
}

// The target's height between entries is the table's, interpolated.
TEST_F(RadarSweep, HeightInterpolatedBetweenEntries)
{
    const zk::RadarTable t = table(3, 0.5, [](int i) { return float(i * 100); });
    Recorder rec;
    zk::radar3dsweep(sweep(t, 0), rec);
    ASSERT_FALSE(rec.targets.empty());
    for (const zk::RadarTarget &tg : rec.targets) EXPECT_NEAR(tg.z, tg.r * 100, 1e-2);
}

// A target 50 m below the sensor: hidden over flat ground, seen only to
// the east, where the ground falls away (20 m a cell) faster than the
// target's line.
TEST_F(RadarSweep, BelowTheSensorOnlyWhereTheGroundFallsAway)
{
    setMap([](int x, int) { return int16_t(x > 100 ? -(x - 100) * 20 : 0); });
    const zk::RadarTable t = table(6, 0.5, [](int) { return -50.0f; });
    Recorder rec;
    zk::radar3dsweep(sweep(t), rec);
    ASSERT_FALSE(rec.targets.empty());
    bool due_east = false;
    for (const zk::RadarTarget &tg : rec.targets) {
        EXPECT_LT(zk::elevgrid.at(tg.px, tg.py), 0) << "az " << tg.az_deg << " r " << tg.r;
        EXPECT_FLOAT_EQ(tg.z, -40.0f);
        if (std::fabs(tg.az_deg - 90) < 3) due_east = true;
    }
    EXPECT_TRUE(due_east);

    // The same target over flat ground is never seen.
    setMap();
    Recorder flat;
    zk::radar3dsweep(sweep(t), flat);
    EXPECT_TRUE(flat.targets.empty());
    EXPECT_FALSE(flat.rings.empty());
}

// A 2000 m wall 30 cells east of the sensor, ten cells long: the targets
// of sector 15 (87..93 degrees) are seen in front of it and never beyond,
// also where later rings pass over flat ground again; other sectors see
// all their rings.
TEST_F(RadarSweep, RidgeShadowsTheRestOfItsSector)
{
    setMap([](int x, int y) { return int16_t(x >= 130 && x <= 131 && y >= 95 && y <= 105 ? 2000 : 0); });
    const zk::RadarTable t = table(20, 0.5, [](int) { return 100.0f; });
    Recorder rec;
    zk::radar3dsweep(sweep(t), rec);
    bool nearInSector = false, farElsewhere = false;
    for (const zk::RadarTarget &tg : rec.targets) {
        const double D = Recorder::cells(tg, 0.5);
        const int k = zk::radarsector(tg.az_deg);
        if (k == 15) {
            EXPECT_LT(D, 32.0) << "az " << tg.az_deg << " r " << tg.r;
            if (D < 28) nearInSector = true;
        }
        if (k == 45 && D > 80) farElsewhere = true;
    }
    EXPECT_TRUE(nearInSector);
    EXPECT_TRUE(farElsewhere);

    // Without the wall the sector sees its far rings.
    setMap();
    Recorder open;
    zk::radar3dsweep(sweep(t), open);
    bool farInSector = false;
    for (const zk::RadarTarget &tg : open.targets)
        if (zk::radarsector(tg.az_deg) == 15 && Recorder::cells(tg, 0.5) > 40) farInSector = true;
    EXPECT_TRUE(farInSector);
}

// A sweep of 0 to 360 degrees starts at the ring's jitter j (|j| at most
// half an increment) and ends short of 360 + j by at least 0.2 of an
// increment, so the first and last samples never share a bearing.
TEST_F(RadarSweep, FullTurnEndsShortOfTheStart)
{
    const zk::RadarTable t = table(6, 0.5, [](int) { return 100.0f; });
    Recorder rec;
    zk::radar3dsweep(sweep(t), rec);
    std::map<float, std::vector<float>> byRing;
    for (const zk::RadarTarget &tg : rec.targets) byRing[tg.r].push_back(tg.az_deg);
    ASSERT_EQ(byRing.size(), rec.rings.size());
    for (const auto &[r, az] : byRing) {
        const double d = double(r) * 0.5 * 20;
        const double dA = (10 * 0.2 / d) * 180 / kPi;
        const double j = az.front();  // azmin is 0
        EXPECT_LE(std::fabs(j), dA / 2 + 1e-4) << "ring " << r;
        EXPECT_LE(az.back(), 360 + j - 0.2 * dA + 1e-3) << "ring " << r;
        EXPECT_GT(az.back(), 360 + j - 1.2 * dA - 1e-3) << "ring " << r;
        EXPECT_NEAR(double(az.size()), std::floor((360 - 0.2 * dA) / dA) + 1, 1.0) << "ring " << r;
    }
}

// A narrower sweep keeps to its sector, give or take the jitter.
TEST_F(RadarSweep, PartialSweepStaysInItsSector)
{
    const zk::RadarTable t = table(6, 0.5, [](int) { return 100.0f; });
    zk::Radar3DSweep p = sweep(t);
    p.azmin = 40;
    p.azmax = 80;
    Recorder rec;
    zk::radar3dsweep(p, rec);
    ASSERT_FALSE(rec.targets.empty());
    for (const zk::RadarTarget &tg : rec.targets) {
        const double dA = (10 * 0.2 / (double(tg.r) * 10)) * 180 / kPi;
        EXPECT_GE(tg.az_deg, 40 - dA / 2 - 1e-3);
        EXPECT_LE(tg.az_deg, 80 + dA / 2 - 0.2 * dA + 1e-3);
    }
}

TEST_F(RadarSweep, CanvasStopsAfterARing)
{
    const zk::RadarTable t = table(10, 0.5, [](int) { return 100.0f; });
    Recorder rec;
    rec.stopAfter = 2;
    EXPECT_FALSE(zk::radar3dsweep(sweep(t), rec));
    EXPECT_EQ(rec.rings.size(), 2u);
    for (const zk::RadarTarget &tg : rec.targets) EXPECT_LE(tg.r, rec.rings.back());
}

// Every run draws the same cloud from the same first number.
TEST_F(RadarSweep, SameSequenceSameCloud)
{
    const zk::RadarTable t = table(5, 0.5, [](int) { return 100.0f; });
    Recorder a, b;
    zk::radar3dsweep(sweep(t), a);
    zk::resetradarrandom();
    zk::radar3dsweep(sweep(t), b);
    ASSERT_EQ(a.targets.size(), b.targets.size());
    for (size_t k = 0; k < a.targets.size(); ++k) {
        EXPECT_EQ(a.targets[k].x, b.targets[k].x);
        EXPECT_EQ(a.targets[k].y, b.targets[k].y);
    }
}

// Tables and settings that could keep the sweep going for ever: each ends,
// within a bounded number of rings and targets.
struct RunawayCase {
    const char *name;
    int n;
    double step_km;
    float (*height)(int);
    float azstep;
    size_t maxRings;
};
class RadarRunaway : public RadarSweep, public ::testing::WithParamInterface<RunawayCase> {};
TEST_P(RadarRunaway, Ends)
{
    const RunawayCase &c = GetParam();
    const zk::RadarTable t = table(c.n, c.step_km, c.height);
    zk::Radar3DSweep p = sweep(t);
    p.azstep = c.azstep;
    Recorder rec;
    EXPECT_TRUE(zk::radar3dsweep(p, rec));
    EXPECT_LE(rec.rings.size(), c.maxRings);
    for (size_t k = 1; k < rec.rings.size(); ++k) ASSERT_GT(rec.rings[k], rec.rings[k - 1]);
}
INSTANTIATE_TEST_SUITE_P(
    Tables, RadarRunaway,
    ::testing::Values(
        // Heights jumping by a kilometre every millimetre: dr would be about
        // 4e-8, lost beside r = 1 in single precision. Rings are kept a
        // sixteenth of a cell (3.125 m) apart, so the 100 m of the table
        // pass in 32 rings.
        RunawayCase{"steep", 100000, 1e-6, [](int i) { return i % 2 ? 1000.0f : -1000.0f; }, 1, 33},
        // A millimetre step with even heights: 0.4 steps a ring would be
        // 250000 rings inside two cells; a sixteenth of a cell is 3125 steps.
        RunawayCase{"fine", 100000, 1e-6, [](int) { return 100.0f; }, 1, 33},
        // Rings a thousand kilometres apart: the first is off the map.
        RunawayCase{"far", 50, 1000, [](int) { return 100.0f; }, 1, 0},
        // A long table whose rings leave the map (farthest corner 141 cells
        // away) after about 7 km: 34 rings 0.4 steps apart.
        RunawayCase{"long", 100000, 0.5, [](int) { return 100.0f; }, 1, 35},
        // Heights at the limit of single precision: the slope between
        // entries is enormous, the rings a sixteenth of a cell apart until
        // they leave the map (13.2 steps of 160 rings).
        RunawayCase{"huge", 40, 0.5, [](int i) { return i % 2 ? 3.0e38f : -3.0e38f; }, 1, 2200},
        // A step below single precision's normal range: one ring, next to
        // the sensor, with no sample, then the next ring lies past the end.
        RunawayCase{"denormal", 40, 1e-40, [](int) { return 100.0f; }, 1, 1},
        // Not a number in the table: no target where it counts, and the
        // rings that use it still advance.
        RunawayCase{"nan", 10, 0.5, [](int i) { return i == 3 ? std::numeric_limits<float>::quiet_NaN() : 100.0f; },
                    1, 400}),
    [](const ::testing::TestParamInfo<RunawayCase> &i) { return std::string(i.param.name); });

// A table, a step or a grid that gives no ring: nothing at all.
TEST_F(RadarSweep, NothingToSweep)
{
    const zk::RadarTable t = table(5, 0.5, [](int) { return 100.0f; });
    Recorder rec;
    zk::Radar3DSweep p = sweep(t);
    p.piccells_per_km = 0;
    EXPECT_TRUE(zk::radar3dsweep(p, rec));
    p = sweep(t);
    p.mapcells_per_km = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(zk::radar3dsweep(p, rec));
    p = sweep(t);
    p.table = nullptr;
    EXPECT_TRUE(zk::radar3dsweep(p, rec));
    for (double b : {0.0, -1.0, 1e300, std::numeric_limits<double>::quiet_NaN()}) {
        zk::RadarTable odd = t;
        odd.b = b;
        p = sweep(odd);
        EXPECT_TRUE(zk::radar3dsweep(p, rec));
    }
    EXPECT_TRUE(rec.rings.empty());
    EXPECT_TRUE(rec.targets.empty());
}

// The azimuth checks the radar coverage shares with the visual coverage.
struct AzCase {
    float azmin, azmax, azstep;
    bool ok;
};
class RadarAzimuths : public ::testing::TestWithParam<AzCase> {};
TEST_P(RadarAzimuths, Checked)
{
    const AzCase &c = GetParam();
    EXPECT_EQ(zk::checkazimuths(c.azmin, c.azmax, c.azstep).isEmpty(), c.ok);
}
INSTANTIATE_TEST_SUITE_P(
    Table, RadarAzimuths,
    ::testing::Values(AzCase{0, 360, 1, true}, AzCase{0, 360, 0.1f, true}, AzCase{10, 10, 1, true},
                      AzCase{0, 360, 0, false}, AzCase{0, 360, -1, false},
                      AzCase{0, 360, std::numeric_limits<float>::quiet_NaN(), false},
                      AzCase{0, 360, std::numeric_limits<float>::infinity(), false}, AzCase{20, 10, 1, false},
                      AzCase{std::numeric_limits<float>::quiet_NaN(), 360, 1, false},
                      AzCase{0, std::numeric_limits<float>::infinity(), 1, false},
                      AzCase{0, 360, 1e-6f, false}));
