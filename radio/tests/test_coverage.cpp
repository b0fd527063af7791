// Coverage sweeps on synthetic maps with known answers: the radio coverage
// edge on flat ground against a direct LR on a profile, the visual horizon
// of two 2 m masts, a ridge's shadow, the radial count, the levels and the
// rainbow index, and the pattern and radar readers on bad files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <map>
#include <set>

#include "base/screen.h"
#include "docfixture.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/covset.h"
#include "radio/coverage.h"
#include "radio/linkbudget.h"
#include "radio/profile.h"
#include "radioenv.h"

namespace {

struct Recorder : zk::CoverageCanvas {
    int fills = 0, lines = 0;
    std::vector<int> radials;
    std::map<std::pair<int, int>, double> cells;  // (radial, step) -> value
    void fill(const QPoint *, uint32_t) override { ++fills; }
    void line(QPoint, QPoint, uint32_t) override { ++lines; }
    void cell(int k, int i, double v) override { cells[{k, i}] = v; }
    bool radial(int k) override
    {
        radials.push_back(k);
        return true;
    }
    double at(int k, int i) { return cells[{k, i}]; }
    // Last step of radial k whose value is above zero (0 when none).
    int edge(int k) const
    {
        int last = 0;
        for (const auto &[key, v] : cells)
            if (key.first == k && v > 0) last = std::max(last, key.second);
        return last;
    }
};

class Coverage : public radiotest::DocumentTest {};

// On flat ground the last covered step of the east radial is where the
// margin computed by LR on a profile to that very point crosses the level.
TEST_F(Coverage, RadioEdgeOnFlatGroundMatchesDirectLR)
{
    radiotest::placeUnit(1, 200, 256);
    radiotest::placeUnit(2, 201, 256);
    // Direct link budget to every cell east of the station.
    std::vector<double> margin(151, 0);
    for (int i = 1; i <= 150; ++i) {
        radiotest::placeUnit(2, 200 + i, 256);
        ASSERT_EQ(zk::getprofile(1, 2), i);
        zk::applyendsamples(1, 2);
        zk::linkparams(1, 2, 1);
        zk::calcloss(1, 2, 1, 1);
        margin[size_t(i)] = zk::sysgainab - zk::lrprm.loss;
    }
    const float L = float(margin[80] - 0.01);
    ASSERT_LT(margin[81], L);

    zk::linkparams(1, 2, 1);
    zk::RadioSweep p;
    p.x0 = 200;
    p.y0 = 512 - 256;
    p.a = 1;
    p.b = 2;
    p.net = 1;
    p.thrunit = 1;
    p.L = L;
    p.U = 1000;
    p.surfcolor = 0xFFFF;
    p.rangemax = 29.296875f;  // 150 cells: one cell a step
    p.rangemin = 0.1f;
    p.azmin = p.azmax = 90;
    Recorder rec;
    double spacing = 0;
    const double sum = zk::radiosweep(p, rec, spacing);
    EXPECT_NEAR(spacing, 100000.0 / 512, 1e-6);
    int edge = 0;
    for (const auto &[key, m] : rec.cells) {
        EXPECT_NEAR(m, margin[size_t(key.second)], 0.05) << "step " << key.second;
        if (m >= L) edge = std::max(edge, key.second);
    }
    EXPECT_EQ(edge, 80);
    // Steps 2..80 are painted (step 1 lies inside the first ring).
    EXPECT_EQ(rec.fills, 79);
    EXPECT_DOUBLE_EQ(sum, 80.0 * 81 / 2 - 1);
}

TEST_F(Coverage, RadialCountAndStop)
{
    radiotest::placeUnit(1, 256, 256);
    zk::setLinkModelForTest([](double *, double *, LinkParameters *) { return true; });
    zk::linkparams(1, 2, 1);
    zk::RadioSweep p;
    p.x0 = p.y0 = 256;
    p.a = 1;
    p.b = 2;
    p.net = 1;
    p.L = -1000;
    p.U = 1000;
    p.surfcolor = 0xFF;
    p.rangemax = 5;
    p.azmin = 0;
    p.azmax = 360;
    p.azstep = 1;
    Recorder rec;
    double spacing = 0;
    zk::radiosweep(p, rec, spacing);
    std::set<int> ks;
    for (const auto &kv : rec.cells) ks.insert(kv.first.first);
    EXPECT_EQ(ks.size(), 361u);
    EXPECT_EQ(rec.radials.size(), 37u);  // k = 0, 10, ..., 360

    zk::VisualSweep v;
    v.x0 = v.y0 = 256;
    v.rangemax = 5;
    v.azmin = 0;
    v.azmax = 360;
    v.azstep = 1;
    Recorder vr;
    zk::visualsweep(v, vr);
    ks.clear();
    for (const auto &kv : vr.cells) ks.insert(kv.first.first);
    EXPECT_EQ(ks.size(), 361u);

    // A canvas that answers false stops after the first radial.
    struct Stopper : Recorder {
        bool radial(int) override { return false; }
    } st;
    zk::visualsweep(v, st);
    ks.clear();
    for (const auto &kv : st.cells) ks.insert(kv.first.first);
    EXPECT_EQ(ks.size(), 1u);
}

// Two 2 m masts on flat ground at 0 m see each other to the sum of their
// geometric horizons, sqrt(12 750 000 x 2) x 2 = 10 100 m, in whole cells;
// "Altitude fixe" at 2 m gives the same.
TEST_F(Coverage, VisualHorizonOfTwoMasts)
{
    const double g = 100000.0 / 512;  // one cell, m
    const double horizon = 2 * std::sqrt(12750000.0 * 2);
    for (bool above : {true, false}) {
        zk::VisualSweep v;
        v.x0 = 256;
        v.y0 = 256;
        v.hs = 2;
        v.targeth = 2;
        v.abovegound = above;
        v.rangemax = 30;
        v.rangemin = 0.1f;
        v.azmin = v.azmax = 90;
        Recorder r;
        zk::visualsweep(v, r);
        const int edge = r.edge(0);
        EXPECT_LE(edge * g, horizon);
        EXPECT_GT((edge + 1) * g, horizon);
        EXPECT_EQ(edge, 51);
        for (int i = 1; i <= edge; ++i) EXPECT_EQ(r.at(0, i), 1) << i;
    }
}

// A 60 m ridge 20 to 22 cells east hides the flat ground behind it.
TEST_F(Coverage, RidgeShadowsWhatLiesBehind)
{
    radiotest::setTestMap([](int x, int) -> int16_t { return x >= 276 && x <= 278 ? 60 : 0; });
    zk::VisualSweep v;
    v.x0 = 256;
    v.y0 = 256;
    v.hs = 10;
    v.targeth = 2;
    v.rangemax = 20;
    v.azmin = v.azmax = 90;
    Recorder r;
    zk::visualsweep(v, r);
    for (int i = 1; i <= 20; ++i) EXPECT_EQ(r.at(0, i), 1) << i;
    // Past its crest the ridge itself drops below the angle of its first cell.
    EXPECT_EQ(r.at(0, 21), 0);
    for (int i = 23; i <= 60; ++i) EXPECT_EQ(r.at(0, i), 0) << i;
    // The west radial is not shadowed.
    v.azmin = v.azmax = 270;
    Recorder w;
    zk::visualsweep(v, w);
    EXPECT_EQ(w.at(0, 40), 1);
}

// The radio level behind the same ridge drops well below the open ground's.
TEST_F(Coverage, RidgeLowersTheRadioLevel)
{
    radiotest::setTestMap([](int x, int) -> int16_t { return x >= 276 && x <= 278 ? 200 : 0; });
    radiotest::placeUnit(1, 256, 256);
    zk::linkparams(1, 2, 1);
    zk::RadioSweep p;
    p.x0 = p.y0 = 256;
    p.a = 1;
    p.b = 2;
    p.net = 1;
    p.L = 0;
    p.U = 1000;
    p.surfcolor = 0xFF;
    p.rangemax = 10;
    p.azmin = 90;
    p.azmax = 270;
    p.azstep = 180;
    Recorder r;
    double spacing = 0;
    zk::radiosweep(p, r, spacing);
    EXPECT_GT(r.at(1, 40) - r.at(0, 40), 10);
}

// The pattern entry 0 points along antaz; the gain of the radial's entry is
// added to every cell of it, and the direction picks the system gain.
TEST_F(Coverage, PatternAndDirection)
{
    radiotest::placeUnit(1, 256, 256);
    zk::linkparams(1, 2, 1);
    zk::RadioSweep p;
    p.x0 = p.y0 = 256;
    p.a = 1;
    p.b = 2;
    p.net = 1;
    p.L = -1000;
    p.U = 1000;
    p.surfcolor = 0xFF;
    p.rangemax = 5;
    p.azmin = p.azmax = 90;
    Recorder plain;
    double spacing = 0;
    zk::radiosweep(p, plain, spacing);
    p.antaz = 90;
    p.pattern[0] = -20;
    Recorder turned;
    zk::radiosweep(p, turned, spacing);
    EXPECT_NEAR(turned.at(0, 10), plain.at(0, 10) - 20, 1e-9);
    p.antaz = 91;  // round(90 - 91) = -1 -> entry 359
    p.pattern[359] = -7;
    Recorder other;
    zk::radiosweep(p, other, spacing);
    EXPECT_NEAR(other.at(0, 10), plain.at(0, 10) - 7, 1e-9);
    p.pattern = {};
    p.covdir = 1;
    zk::sysgainba = zk::sysgainab - 4;
    Recorder back;
    zk::radiosweep(p, back, spacing);
    EXPECT_NEAR(back.at(0, 10), plain.at(0, 10) - 4, 1e-9);
}

struct LevelCase {
    int unit;
    float low, high, freq, thr;
    bool rainbow;
    float L, U;
};
class Levels : public ::testing::TestWithParam<LevelCase> {};
TEST_P(Levels, FromThresholds)
{
    const LevelCase c = GetParam();
    float L = 0, U = 0;
    zk::coveragelevels(c.unit, c.low, c.high, c.freq, c.thr, c.rainbow, L, U);
    EXPECT_FLOAT_EQ(L, c.L);
    EXPECT_FLOAT_EQ(U, c.U);
}
INSTANTIATE_TEST_SUITE_P(Cases, Levels,
                         ::testing::Values(LevelCase{0, 1, 8, 10, 0, false, -3, 39},
                                           LevelCase{0, 9, 10, 10, 0, false, 45, 58},
                                           LevelCase{0, 9, 20, 144, 0, false, 22.5f, 44},
                                           LevelCase{0, 1, 20, 144, 0, true, -1.5f, 0},
                                           LevelCase{1, -107, -67, 146, -107, false, 0, 40},
                                           LevelCase{2, -100, -90, 146, -110, true, 10, 20}));

TEST(Rainbow, DbmIndex)
{
    EXPECT_EQ(zk::rainbowindex(1, -0.1, 0, 40, 0, 0, 146), 0);
    EXPECT_EQ(zk::rainbowindex(1, 0, 0, 40, 0, 0, 146), 1);
    EXPECT_EQ(zk::rainbowindex(1, 20, 0, 40, 0, 0, 146), 6);
    EXPECT_EQ(zk::rainbowindex(1, 40, 0, 40, 0, 0, 146), 11);
    EXPECT_EQ(zk::rainbowindex(1, 400, 0, 40, 0, 0, 146), 11);
}

TEST(Rainbow, SunitIndexRunsFromDeToA)
{
    float L = 0, U = 0;
    zk::coveragelevels(0, 1, 9, 146, 0, true, L, U);
    EXPECT_EQ(zk::rainbowindex(0, L - 1, L, U, 1, 9, 146), 0);
    EXPECT_EQ(zk::rainbowindex(0, L + 0.1, L, U, 1, 9, 146), 1);
    EXPECT_EQ(zk::rainbowindex(0, 60, L, U, 1, 9, 146), 11);
    // Equal levels: no division by zero.
    EXPECT_EQ(zk::rainbowindex(0, 60, L, U, 5, 5, 146), 11);
}

// The legend of a De/À pair shows colour k from the threshold De + (k - 1)(À - De) / 10
// (labels 1..11 over swatches 1..11). A cell reading S r at 146 MHz (3 dB per
// S-unit, S1 at 0 dB) lies around (r - 1) * 3 dB; its colour is that of the last
// threshold at or below r. Worked by hand from the legend's labels:
//   De 5, À 9: thresholds 5 5.4 5.8 6.2 6.6 7 7.4 7.8 8.2 8.6 9
//     S5 -> 1, S6 -> 3 (5.8 <= 6 < 6.2), S7 -> 6, S8 -> 8, S9 -> 11
//   De 1, À 9: thresholds 1 1.8 2.6 3.4 4.2 5 5.8 6.6 7.4 8.2 9
//     S1 -> 1, S2 -> 2, S3 -> 3, S4 -> 4, S5 -> 6, S6 -> 7, S7 -> 8, S8 -> 9, S9 -> 11
struct SunitColourCase {
    float de, a, m;
    int colour;
};
class SunitColours : public ::testing::TestWithParam<SunitColourCase> {};
TEST_P(SunitColours, PlotFollowsTheLegend)
{
    const auto c = GetParam();
    float L = 0, U = 0;
    zk::coveragelevels(0, c.de, c.a, 146, 0, true, L, U);
    EXPECT_EQ(zk::rainbowindex(0, c.m, L, U, c.de, c.a, 146), c.colour) << "De " << c.de << " A " << c.a << " m " << c.m;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, SunitColours,
    ::testing::Values(SunitColourCase{5, 9, 10, 0}, SunitColourCase{5, 9, 12, 1}, SunitColourCase{5, 9, 15, 3},
                      SunitColourCase{5, 9, 18, 6}, SunitColourCase{5, 9, 21, 8}, SunitColourCase{5, 9, 24, 11},
                      SunitColourCase{5, 9, 34, 11}, SunitColourCase{1, 9, -2, 0}, SunitColourCase{1, 9, 0, 1},
                      SunitColourCase{1, 9, 3, 2}, SunitColourCase{1, 9, 6, 3}, SunitColourCase{1, 9, 9, 4},
                      SunitColourCase{1, 9, 12, 6}, SunitColourCase{1, 9, 15, 7}, SunitColourCase{1, 9, 18, 8},
                      SunitColourCase{1, 9, 21, 9}, SunitColourCase{1, 9, 24, 11}));

// Every whole De/À pair: a cell reading r takes the colour over which the legend
// prints the last threshold at or below r (the dialog's thresholds
// De + k (À - De) / 10, k = 0..10, label k + 1 over colour k + 1).
TEST(Rainbow, SunitPlotAndLegendAgreeForEveryPair)
{
    // The readings of the S-meter: S1..S9, then 10..60 dB above S9.
    std::vector<int> readings;
    for (int r = 1; r <= 9; ++r) readings.push_back(r);
    for (int r = 10; r <= 60; r += 10) readings.push_back(r);
    for (int de : readings)
        for (int a : readings) {
            if (a <= de) continue;
            float L = 0, U = 0;
            zk::coveragelevels(0, float(de), float(a), 146, 0, true, L, U);
            for (int r : readings) {
                // A level inside reading r at 146 MHz: (r - 1) * 3 dB, or S9 (24 dB) + r + 2 dB.
                const double m = r < 10 ? (r - 1) * 3.0 : 24.0 + r + 2;
                int want = 0;
                if (r >= de) {
                    want = 1;
                    for (int k = 1; k <= 10; ++k)
                        if (double(float(de + k * double(a - de) / 10)) <= r) want = k + 1;
                }
                ASSERT_EQ(zk::rainbowindex(0, m, L, U, float(de), float(a), 146), want)
                    << "De " << de << " A " << a << " reading " << r;
            }
        }
}

TEST(Sweep, BadSettingsAreRefused)
{
    radiotest::setTestMap();
    EXPECT_TRUE(zk::checksweep(100, 0, 360, 1).isEmpty());
    EXPECT_FALSE(zk::checksweep(0, 0, 360, 1).isEmpty());
    EXPECT_FALSE(zk::checksweep(100, 0, 360, 0).isEmpty());
    EXPECT_FALSE(zk::checksweep(100, 10, 5, 1).isEmpty());
    EXPECT_FALSE(zk::checksweep(NAN, 0, 360, 1).isEmpty());
    EXPECT_FALSE(zk::checksweep(100, 0, 360, 1e-9f).isEmpty());
}

class Files : public ::testing::Test {
protected:
    QTemporaryDir dir;
    void SetUp() override { zk::paths::setUserFolder(dir.path()); }
    void TearDown() override { zk::paths::setUserFolder(QString()); }
    void write(const char *name, const QByteArray &text)
    {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

TEST_F(Files, AntennaPattern)
{
    std::array<float, 360> g{};
    write("one.ant", "-20");
    EXPECT_TRUE(zk::readantenna(QStringLiteral("one.ant          "), g).isEmpty());
    EXPECT_EQ(g[0], -20);
    EXPECT_EQ(g[1], 0);
    EXPECT_EQ(g[359], 0);
    write("Dir.ANT", "1, 2 3\n500 -500\n");
    EXPECT_TRUE(zk::readantenna(QStringLiteral("dir.ant"), g).isEmpty());  // case-insensitive
    EXPECT_EQ(g[2], 3);
    EXPECT_EQ(g[3], 100);
    EXPECT_EQ(g[4], -100);
    QByteArray many;
    for (int i = 0; i < 1000; ++i) many += "1 ";
    write("many.ant", many);
    EXPECT_TRUE(zk::readantenna(QStringLiteral("many.ant"), g).isEmpty());
    EXPECT_EQ(g[359], 1);
    write("bad.ant", "1 2 x 4");
    EXPECT_FALSE(zk::readantenna(QStringLiteral("bad.ant"), g).isEmpty());
    EXPECT_FALSE(zk::readantenna(QStringLiteral("missing.ant"), g).isEmpty());
    EXPECT_TRUE(zk::readantenna(QStringLiteral("omni.ant"), g).isEmpty());
    EXPECT_TRUE(zk::readantenna(QString(), g).isEmpty());
    EXPECT_EQ(g[0], 0);
}

TEST_F(Files, RadarTable)
{
    zk::RadarTable t;
    write("ok.rad", "10, 5\n" + QByteArray("-100 100\n").repeated(10));
    EXPECT_TRUE(zk::readradar(QStringLiteral("OK.rad"), t).isEmpty());
    EXPECT_EQ(t.n, 10);
    EXPECT_EQ(t.b, 5);
    EXPECT_EQ(t.lo.size(), 12u);
    EXPECT_EQ(t.hi[10], 100);
    EXPECT_EQ(t.hi[11], 0);
    write("short.rad", "10 5 -100 100");
    EXPECT_FALSE(zk::readradar(QStringLiteral("short.rad"), t).isEmpty());
    write("zero.rad", "1 0 -100 100");
    EXPECT_FALSE(zk::readradar(QStringLiteral("zero.rad"), t).isEmpty());
    write("huge.rad", "1e12 5 -100 100");
    EXPECT_FALSE(zk::readradar(QStringLiteral("huge.rad"), t).isEmpty());
    write("neg.rad", "-3 5");
    EXPECT_FALSE(zk::readradar(QStringLiteral("neg.rad"), t).isEmpty());
    write("text.rad", "2 5 a b c d");
    EXPECT_FALSE(zk::readradar(QStringLiteral("text.rad"), t).isEmpty());
    EXPECT_FALSE(zk::readradar(QStringLiteral("none.rad"), t).isEmpty());
    EXPECT_EQ(t.n, 0);
}

// With a table of 10 bins of 5 km the range is 5 to 50 km; a step at
// 12.4 km falls in bin 2 and one at 12.6 km in bin 3.
TEST_F(Files, RadarBinsNarrowTheView)
{
    radiotest::setTestMap();
    zk::RadarTable t;
    t.n = 10;
    t.b = 5;
    t.lo.assign(12, -5000);
    t.hi.assign(12, 1000);
    t.hi[3] = -6000;  // bin 3 sees nothing
    zk::VisualSweep v;
    v.x0 = v.y0 = 256;
    v.hs = 1000;
    v.targeth = 2;
    v.rangemax = 100;
    v.azmin = v.azmax = 90;
    v.radar = &t;
    Recorder r;
    zk::visualsweep(v, r);
    const double g = 50000.0 / std::lrint(50.0 * 512 / 100);
    int lastbin2 = 0, firstbin4 = 0;
    for (const auto &[key, seen] : r.cells) {
        const double d = key.second * g;
        const int j = int(std::lrint(d / 5000));
        if (j == 3) EXPECT_EQ(seen, 0) << d;
        if (j == 2 && seen) lastbin2 = key.second;
        if (j == 4 && seen && !firstbin4) firstbin4 = key.second;
        if (d < 5000 - g / 2) EXPECT_EQ(seen, 0) << d;
    }
    EXPECT_GT(lastbin2, 0);
    EXPECT_GT(firstbin4, lastbin2);
}

// A table whose first bin lies far beyond the map (any positive step is
// read) leaves the whole map unseen, however high the sensor, and the sweep
// walks the radials no farther than the map: a step of 3e8 km once made it
// ask for a vector of billions of steps per radial.
TEST_F(Files, RadarBinsBeyondTheMapShowNothing)
{
    radiotest::setTestMap();
    for (double step : {1e4, 3e8, 1e9, 1e30}) {
        zk::RadarTable t;
        t.n = 2;
        t.b = step;
        t.lo.assign(4, -1e6f);
        t.hi.assign(4, 1e6f);
        t.lo[0] = t.hi[0] = t.lo[3] = t.hi[3] = 0;
        zk::VisualSweep v;
        v.x0 = v.y0 = 256;
        v.hs = 5000;
        v.rangemax = 100;
        v.azmin = 0;
        v.azmax = 90;
        v.azstep = 45;
        v.radar = &t;
        Recorder r;
        ASSERT_NO_THROW(zk::visualsweep(v, r)) << step;
        EXPECT_EQ(r.fills, 0) << step;
        for (const auto &[key, seen] : r.cells) {
            EXPECT_EQ(seen, 0) << step << " radial " << key.first << " step " << key.second;
            // The farthest corner is 362 cells away.
            EXPECT_LE(key.second, 364) << step;
        }
    }
}

}  // namespace
