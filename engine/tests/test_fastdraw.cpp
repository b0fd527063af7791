// The shaded-relief painter on small grids with hand-checked pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "enginetest.h"
#include "frame.h"
#include "ramps.h"

using zk::gdi::rgb;
using zktest::Grid;
using zktest::HookRecorder;
using zktest::Surface;

namespace {

constexpr uint32_t kUntouched = 0x123456;

// Light from azimuth 0 with contrast 18 and size 100: Ks = 0 and Kc = 1 (to
// float precision), so shading n = trunc(s - e + B), s the southern
// neighbour; brightness 50 gives B = 127.5.
MapSettings baseMap(int16_t mode)
{
    MapSettings m{};
    m.size = 100.0f;
    m.Mapmode = mode;
    m.con = 18.0f;
    m.bri = 50.0f;
    m.minx = 0.0f;
    m.maxx = 255.0f;
    m.light = 0.0f;
    return m;
}

// x 0..3 west to east, y 0..2 south to north. Output row r shows grid row 2 - r.
Grid sample()
{
    Grid g(4, 3);
    const int16_t north[4] = {200, 200, 0, 200};  // y = 2, output row 0
    const int16_t mid[4] = {190, 200, 0, 210};    // y = 1, output row 1
    for (int x = 0; x < 4; ++x) {
        g.at(x, 2) = north[x];
        g.at(x, 1) = mid[x];
        g.at(x, 0) = 200;  // y = 0, output row 2: the southern edge
    }
    return g;
}

// Entry n of a plain ramp with channel steps (r, g, b): trunc(n / 2) x step.
uint32_t ramp(int r, int g, int b, int n) { return rgb(uint32_t(n / 2 * r), uint32_t(n / 2 * g), uint32_t(n / 2 * b)); }
uint32_t grey(int n) { return ramp(2, 2, 2, n); }

struct Stops {
    int16_t levels[11], red[12], green[12], blue[12];
    Stops()
    {
        for (int i = 0; i < 11; ++i) levels[i] = int16_t(100 * i);
        for (int i = 0; i < 12; ++i) {
            red[i] = int16_t(10 * i);
            green[i] = int16_t(20 * i);
            blue[i] = int16_t(255 - 20 * i);
        }
    }
};

int32_t draw(MapSettings &m, Grid &g, Surface &s, int16_t x1, int16_t y1, int16_t x2, int16_t y2,
             Stops *st = nullptr, int16_t interp = 0)
{
    static Stops none;
    Stops &c = st ? *st : none;
    return fastdraw(&m, g.ref(), &s.dc, x1, y1, x2, y2, c.levels, c.red, c.green, c.blue, interp);
}

class Fastdraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        callback(nullptr);
        translate(nullptr);
    }
};

}  // namespace

TEST_F(Fastdraw, GreyModeShadesBySouthernSlopeAndDarkensSea)
{
    Grid g = sample();
    Surface s(4, 3, kUntouched);
    MapSettings m = baseMap(0);
    EXPECT_EQ(draw(m, g, s, 0, 0, 3, 2), 0);
    EXPECT_EQ(s.px(0, 0), grey(117));  // e 200, s 190: 127.5 - 10
    EXPECT_EQ(s.px(1, 0), grey(127));  // flat
    EXPECT_EQ(s.px(2, 0), grey(95));   // sea: 127 - 32
    EXPECT_EQ(s.px(3, 0), grey(137));  // e 200, s 210
    EXPECT_EQ(s.px(0, 1), grey(137));  // e 190, s 200
    EXPECT_EQ(s.px(0, 2), grey(127));  // southern edge compares with itself
    EXPECT_EQ(s.px(2, 1), grey(255));  // sea under a 200 m rise: 327 - 32, clamped
}

TEST_F(Fastdraw, StratifiedModeByAbsoluteElevation)
{
    Grid g(7, 1);
    const int16_t e[7] = {-5, 0, 99, 100, 700, 1499, 1500};
    for (int x = 0; x < 7; ++x) g.at(x, 0) = e[x];
    Surface s(7, 1, kUntouched);
    MapSettings m = baseMap(1);
    m.size = -1.0f;  // no hill shading: n = trunc(B) = 127 everywhere
    draw(m, g, s, 0, 0, 6, 0);
    EXPECT_EQ(s.px(0, 0), ramp(2, 0, 2, 127));  // below sea: magenta
    EXPECT_EQ(s.px(1, 0), ramp(0, 2, 2, 95));   // sea: cyan, 32 darker
    EXPECT_EQ(s.px(2, 0), ramp(0, 2, 2, 127));  // 1..99 cyan
    EXPECT_EQ(s.px(3, 0), ramp(0, 2, 0, 127));  // 100..299 green
    EXPECT_EQ(s.px(4, 0), ramp(2, 1, 0, 127));  // 700..1499 brown
    EXPECT_EQ(s.px(5, 0), ramp(2, 1, 0, 127));
    EXPECT_EQ(s.px(6, 0), ramp(2, 2, 2, 127));  // 1500 and above grey
}

TEST_F(Fastdraw, ModeOutsideRangeBehavesAsStratified)
{
    Grid g = sample();
    Surface a(4, 3), b(4, 3);
    MapSettings m1 = baseMap(1), m9 = baseMap(9), mneg = baseMap(-2);
    draw(m1, g, a, 0, 0, 3, 2);
    draw(m9, g, b, 0, 0, 3, 2);
    EXPECT_EQ(a.bits, b.bits);
    draw(mneg, g, b, 0, 0, 3, 2);
    EXPECT_EQ(a.bits, b.bits);
    EXPECT_EQ(a.px(0, 0), ramp(0, 2, 0, 117));  // 200 m: green, shaded
}

TEST_F(Fastdraw, RelativeStratificationAndItsDegenerateScale)
{
    Grid g(6, 1);
    const int16_t e[6] = {-1, 16, 17, 51, 119, 256};
    for (int x = 0; x < 6; ++x) g.at(x, 0) = e[x];
    Surface s(6, 1);
    MapSettings m = baseMap(2);  // minx 0, maxx 255: S = 1, D = e
    m.size = 0.0f;
    draw(m, g, s, 0, 0, 5, 0);
    EXPECT_EQ(s.px(0, 0), ramp(2, 0, 2, 127));  // D < 0 magenta
    EXPECT_EQ(s.px(1, 0), ramp(0, 2, 2, 127));  // 0..16 cyan
    EXPECT_EQ(s.px(2, 0), ramp(0, 2, 0, 127));  // 17..50 green
    EXPECT_EQ(s.px(3, 0), ramp(2, 2, 0, 127));  // 51..118 yellow
    EXPECT_EQ(s.px(4, 0), ramp(2, 1, 0, 127));  // 119..255 brown
    EXPECT_EQ(s.px(5, 0), ramp(2, 2, 2, 127));  // 256 and above grey

    // maxx - minx of 1 or less: S is that difference, 0 here, so D = 0 (cyan)
    // everywhere and no division happens.
    m.minx = m.maxx = 100.0f;
    draw(m, g, s, 0, 0, 5, 0);
    for (int x = 0; x < 6; ++x) EXPECT_EQ(s.px(x, 0), ramp(0, 2, 2, 127)) << x;
}

TEST_F(Fastdraw, XRayModesIgnoreShading)
{
    Grid g = sample();
    Surface s(4, 3);
    MapSettings m = baseMap(3);
    draw(m, g, s, 0, 0, 3, 2);
    EXPECT_EQ(s.px(0, 0), grey(55));   // trunc((255 - 200) x 1)
    EXPECT_EQ(s.px(2, 0), grey(255));  // sea: 255, no sea darkening
    m.Mapmode = 4;
    draw(m, g, s, 0, 0, 3, 2);
    EXPECT_EQ(s.px(0, 0), grey(200));
    EXPECT_EQ(s.px(0, 1), grey(190));
    EXPECT_EQ(s.px(2, 0), grey(0));
    m.minx = 0.0f;
    m.maxx = 510.0f;  // S = 0.5
    draw(m, g, s, 0, 0, 3, 2);
    EXPECT_EQ(s.px(0, 1), grey(95));
}

TEST_F(Fastdraw, RainbowWithPaletteUsesRampIndices)
{
    ZkPalette pal{};
    pal.count = 256;
    for (int i = 0; i < 256; ++i) pal.entries[i] = rgb(uint32_t(i), uint32_t(255 - i), uint32_t(i * 7 % 256));
    ASSERT_EQ(translate(&pal), 256);
    Grid g(8, 1);
    const int16_t e[8] = {-1, 42, 43, 86, 128, 171, 213, 256};
    for (int x = 0; x < 8; ++x) g.at(x, 0) = e[x];
    Surface s(8, 1);
    s.dc.palette = &pal;
    MapSettings m = baseMap(5);
    m.size = 0.0f;
    EXPECT_EQ(draw(m, g, s, 0, 0, 7, 0), 256);
    const int expected[8] = {7, 0, 2, 1, 5, 4, 3, 6};  // magenta blue cyan green yellow brown red grey
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(s.px(x, 0), zk::gdi::resolve(&s.dc, zk::engine::rampColour(expected[x], 127))) << x;
    // Back to plain colours: the colour-stop path is taken again.
    translate(nullptr);
    Stops st;
    EXPECT_EQ(draw(m, g, s, 0, 0, 7, 0, &st), 0);
    EXPECT_EQ(s.px(1, 0), rgb(4, 9, 117));  // stop 1 (10, 20, 235) x 127 x 0.003921569
}

TEST_F(Fastdraw, RainbowColourStops)
{
    Grid g(6, 1);
    const int16_t e[6] = {-50, 0, 150, 200, 999, 1000};
    for (int x = 0; x < 6; ++x) g.at(x, 0) = e[x];
    Surface s(6, 1);
    MapSettings m = baseMap(5);
    m.size = 0.0f;
    m.bri = 100.0f;  // n = 255: f = 255 x 0.003921569, just above 1, clamped to 1
    Stops st;
    draw(m, g, s, 0, 0, 5, 0, &st);
    EXPECT_EQ(s.px(0, 0), rgb(0, 0, 255));     // below levels(0): stop 0
    EXPECT_EQ(s.px(1, 0), rgb(10, 20, 235));   // e = levels(0): stop 1
    EXPECT_EQ(s.px(2, 0), rgb(20, 40, 215));   // 150: two stops reached
    EXPECT_EQ(s.px(3, 0), rgb(30, 60, 195));   // exactly a stop: the upper segment
    EXPECT_EQ(s.px(4, 0), rgb(100, 200, 55));  // 999: ten stops
    EXPECT_EQ(s.px(5, 0), rgb(110, 220, 35));  // at levels(10): stop 11

    draw(m, g, s, 0, 0, 5, 0, &st, 1);  // blended
    EXPECT_EQ(s.px(0, 0), rgb(0, 0, 255));     // no blending below the first stop
    EXPECT_EQ(s.px(2, 0), rgb(25, 50, 205));   // halfway between stops 2 and 3
    EXPECT_EQ(s.px(3, 0), rgb(30, 60, 195));   // t = 0
    EXPECT_EQ(s.px(4, 0), rgb(109, 219, 35));  // t = 0.99: trunc(110 x 0.99 + 100 x 0.01) = 109
    EXPECT_EQ(s.px(5, 0), rgb(110, 220, 35));  // eleven stops: no blending

    // Shading scales the stop colour: n = 127 gives f = 0.498...
    m.bri = 50.0f;
    draw(m, g, s, 0, 0, 5, 0, &st);
    EXPECT_EQ(s.px(3, 0), rgb(14, 29, 97));
}

TEST_F(Fastdraw, ContourRules)
{
    Grid g(3, 2);
    // y = 1 (output row 0): 200, 190 (a 10 m line against 200 west), 500
    // y = 0 (output row 1): 195, 195, 490
    g.at(0, 1) = 200;
    g.at(1, 1) = 190;
    g.at(2, 1) = 500;
    g.at(0, 0) = 195;
    g.at(1, 0) = 195;
    g.at(2, 0) = 490;
    Surface s(3, 2);
    MapSettings m = baseMap(0);
    m.size = 0.0f;  // n = 127 before contours
    m.c1 = 1;
    draw(m, g, s, 0, 0, 2, 1);
    EXPECT_EQ(s.px(0, 0), grey(127 - 48));  // 200 over 195 south: bands 20 and 19
    EXPECT_EQ(s.px(1, 0), grey(127 - 48));  // 190 against 200 west
    EXPECT_EQ(s.px(0, 1), grey(127));       // southern edge, western edge: no line
    EXPECT_EQ(s.px(1, 1), grey(127));       // 195 against 195

    m.c2 = 1;  // and 100 m lines: 500 against 190 west and 490 south is on both
    draw(m, g, s, 0, 0, 2, 1);
    EXPECT_EQ(s.px(2, 0), grey(127 - 96));
    m.c1 = 0;
    m.c2 = 2;  // 500 m lines only: 500 against 190 (band 1 vs 0)
    draw(m, g, s, 0, 0, 2, 1);
    EXPECT_EQ(s.px(2, 0), grey(127 - 48));
    EXPECT_EQ(s.px(1, 0), grey(127));

    // Every pixel off the lines is lifted to at least 48.
    m.bri = 0.0f;
    m.c1 = 1;
    m.c2 = 0;
    draw(m, g, s, 0, 0, 2, 1);
    EXPECT_EQ(s.px(1, 1), grey(48));
    EXPECT_EQ(s.px(0, 0), grey(0));  // on a line: 0 - 48, clamped

    // Negative elevations band by floor: -5 and 5 lie on two sides of 0.
    Grid n(2, 1);
    n.at(0, 0) = 5;
    n.at(1, 0) = -5;
    Surface t(2, 1);
    m.bri = 50.0f;
    draw(m, n, t, 0, 0, 1, 0);
    EXPECT_EQ(t.px(1, 0), grey(127 - 48));
}

TEST_F(Fastdraw, WindowIsCutToTheGrid)
{
    Grid g = sample();
    Surface s(5, 4, kUntouched);
    MapSettings m = baseMap(4);
    // x -3..1 becomes 0..1; y -1..1 becomes 0..1 (rows counted from the north).
    draw(m, g, s, -3, -1, 1, 1);
    EXPECT_EQ(s.px(0, 0), grey(200));
    EXPECT_EQ(s.px(0, 1), grey(190));
    EXPECT_EQ(s.px(1, 1), grey(200));
    EXPECT_EQ(s.px(2, 0), kUntouched);
    EXPECT_EQ(s.px(0, 2), kUntouched);

    // Window starting inside: pixel (0, 0) shows grid cell (x1, U - y1).
    Surface t(2, 2, kUntouched);
    draw(m, g, t, 1, 1, 9, 9);
    EXPECT_EQ(t.px(0, 0), grey(200));  // cell (1, 1)
    EXPECT_EQ(t.px(1, 0), grey(0));    // cell (2, 1)
    EXPECT_EQ(t.px(0, 1), grey(200));  // cell (1, 0)
}

TEST_F(Fastdraw, WesternNeighbourOfAWindowInsideTheGrid)
{
    Grid g = sample();
    Surface s(1, 1);
    MapSettings m = baseMap(0);
    m.light = 90.0f;  // Ks = 1, Kc ~ 0: n = trunc(w - e + 127.5)
    draw(m, g, s, 3, 1, 3, 1);  // cell (3, 1) = 210, west (2, 1) = 0
    EXPECT_EQ(s.px(0, 0), grey(0));
    draw(m, g, s, 0, 1, 0, 1);  // western edge: compares with itself
    EXPECT_EQ(s.px(0, 0), grey(127));
}

TEST_F(Fastdraw, NothingPaintedForReversedWindowOrBadGrid)
{
    Grid g = sample();
    Surface s(4, 3, kUntouched);
    MapSettings m = baseMap(0);
    HookRecorder hook;
    draw(m, g, s, 0, 2, 3, 0);  // y2 above y1
    ZkArray one = g.a;
    one.dims = 1;
    ZkArray *p = &one;
    Stops st;
    EXPECT_EQ(fastdraw(&m, &p, &s.dc, 0, 0, 3, 2, st.levels, st.red, st.green, st.blue, 0), 0);
    EXPECT_EQ(fastdraw(&m, nullptr, &s.dc, 0, 0, 3, 2, st.levels, st.red, st.green, st.blue, 0), 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(s.px(x, y), kUntouched);
    EXPECT_TRUE(HookRecorder::seen.empty());
    // Without colour stops, mode 5 on plain colours has nothing to paint with.
    m.Mapmode = 5;
    EXPECT_EQ(fastdraw(&m, g.ref(), &s.dc, 0, 0, 3, 2, nullptr, nullptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(s.px(0, 0), kUntouched);
}

TEST_F(Fastdraw, NonPositiveSizeMeansNoSlopeShading)
{
    Grid g = sample();
    Surface s(4, 3);
    for (float size : {0.0f, -5.0f}) {
        MapSettings m = baseMap(0);
        m.size = size;
        draw(m, g, s, 0, 0, 3, 2);
        EXPECT_EQ(s.px(0, 0), grey(127)) << size;
        EXPECT_EQ(s.px(3, 0), grey(127)) << size;
        EXPECT_EQ(s.px(2, 0), grey(95)) << size;
    }
}

// Settings far outside their ranges (a cell of 1e-30 km, a contrast of 1e30)
// make the slope factor so large that the shading of any slope saturates. A
// downhill slope is then as dark as it gets: the sea offset and the contour
// darkening take it further down, never round to white.
TEST_F(Fastdraw, ExtremeSettingsSaturateDark)
{
    // y = 1 (output row 0): 0 (sea), 10, 200; y = 0 (output row 1): -5, 5, 200.
    Grid g(3, 2);
    const int16_t north[3] = {0, 10, 200}, south[3] = {-5, 5, 200};
    for (int x = 0; x < 3; ++x) {
        g.at(x, 1) = north[x];
        g.at(x, 0) = south[x];
    }
    struct Case {
        float size, con;
    };
    for (const Case c : {Case{1e-30f, 18.0f}, Case{100.0f, 1e30f}}) {
        Surface s(3, 2, kUntouched);
        MapSettings m = baseMap(0);
        m.size = c.size;
        m.con = c.con;
        m.c1 = 1;
        draw(m, g, s, 0, 0, 2, 1);
        EXPECT_EQ(s.px(0, 0), grey(0)) << c.size << " " << c.con;  // sea 5 m above its south: darkest
        EXPECT_EQ(s.px(1, 0), grey(0)) << c.size << " " << c.con;  // 10 over 5, on a 10 m line
        EXPECT_EQ(s.px(2, 0), grey(127 - 48)) << c.size << " " << c.con;  // flat, on a line against 10 west
        EXPECT_EQ(s.px(0, 1), grey(127)) << c.size << " " << c.con;  // southern edge: flat
    }
}

TEST_F(Fastdraw, HookSeesEachRowAndCanStop)
{
    Grid g = sample();
    {
        HookRecorder hook;
        Surface s(4, 3);
        MapSettings m = baseMap(0);
        draw(m, g, s, 0, 0, 3, 2);
        EXPECT_EQ(HookRecorder::seen, (std::vector<int32_t>{0, 1, 2}));
    }
    HookRecorder hook(1);
    Surface s(4, 3, kUntouched);
    MapSettings m = baseMap(4);
    draw(m, g, s, 0, 0, 3, 2);
    EXPECT_EQ(HookRecorder::seen, (std::vector<int32_t>{0}));
    EXPECT_EQ(s.px(0, 0), grey(200));
    EXPECT_EQ(s.px(0, 1), kUntouched);
}

TEST_F(Fastdraw, SmallSurfaceClipsAndWritesOpaquePixels)
{
    Grid g = sample();
    Surface s(2, 1, kUntouched);
    MapSettings m = baseMap(4);
    draw(m, g, s, 0, 0, 3, 2);
    EXPECT_EQ(s.px(0, 0), grey(200));
    EXPECT_EQ(s.bits[0] >> 24, 0xFFu);
}

// The painter against the rules written out cell by cell, on random grids,
// every mode, contours, palettes and windows inside the grid.
namespace {

uint32_t directColour(const MapSettings &m, const Stops &st, bool interp, int32_t e, int32_t w, int32_t s)
{
    using zk::engine::trunc32;
    const int32_t pal = zk::engine::paletteCount();
    const int mode = (m.Mapmode >= 0 && m.Mapmode <= 5) ? m.Mapmode : 1;
    const float B = float(m.bri * 2.55);
    const float D = m.maxx - m.minx;
    const float S = D > 1.0f ? float(255.0 / D) : D;
    float Ks = 0, Kc = 0;
    const float M = float(m.size * 0.009);
    if (M > 0) {
        const float A = float(m.light * 0.017453292);
        Ks = float(std::sin(double(A)) * m.con * 0.05 / M);
        Kc = float(std::cos(double(A)) * m.con * 0.05 / M);
    }
    const int32_t shade = trunc32(double(s - e) * Kc + double(w - e) * Ks + B);
    int ramp = 6, n = shade;
    const int32_t Dv = trunc32((double(e) - m.minx) * S);
    switch (mode) {
    case 0: n = shade - (e == 0 ? 32 : 0); break;
    case 2: ramp = Dv < 0 ? 7 : Dv <= 16 ? 2 : Dv <= 50 ? 1 : Dv <= 118 ? 5 : Dv <= 255 ? 4 : 6; break;
    case 3: n = trunc32((double(m.maxx) - e) * S); break;
    case 4: n = Dv; break;
    case 5:
        ramp = Dv < 0 ? 7 : Dv <= 42 ? 0 : Dv <= 85 ? 2 : Dv <= 127 ? 1 : Dv <= 170 ? 5 : Dv <= 212 ? 4 : Dv <= 255 ? 3 : 6;
        break;
    default:
        ramp = e < 0 ? 7 : e < 100 ? 2 : e < 300 ? 1 : e < 700 ? 5 : e < 1500 ? 4 : 6;
        n = shade - (e == 0 ? 32 : 0);
    }
    const double f10 = 0.1, f100 = 0.01, f500 = 0.002;
    for (double f : {f10, f100, f500}) {
        const bool on = (f == f10 && m.c1) || (f == f100 && (m.c2 & 1)) || (f == f500 && (m.c2 & 2));
        if (!on) continue;
        const int32_t q = trunc32(std::floor(e * f));
        if (std::floor(w * f) != q || std::floor(s * f) != q)
            n -= 48;
        else if (n < 48)
            n = 48;
    }
    if (mode == 5 && pal == 0) {
        int i = 0;
        while (i < 11 && e >= st.levels[i]) ++i;
        int32_t r = st.red[i], g = st.green[i], b = st.blue[i];
        if (interp && i >= 1 && i <= 10) {
            double t = double(e - st.levels[i - 1]) / std::max(1, st.levels[i] - st.levels[i - 1]);
            t = std::clamp(t, 0.0, 1.0);
            r = trunc32(st.red[i + 1] * t + st.red[i] * (1 - t));
            g = trunc32(st.green[i + 1] * t + st.green[i] * (1 - t));
            b = trunc32(st.blue[i + 1] * t + st.blue[i] * (1 - t));
        }
        const double fb = std::clamp(n * 0.003921569, 0.0, 1.0);
        return rgb(uint32_t(trunc32(r * fb)), uint32_t(trunc32(g * fb)), uint32_t(trunc32(b * fb)));
    }
    return zk::engine::rampColour(ramp, std::clamp(n, 0, 255));
}

}  // namespace

TEST_F(Fastdraw, RandomGridsFollowTheCellRules)
{
    std::mt19937 rng(77);
    ZkPalette pal{};
    pal.count = 256;
    for (int i = 0; i < 256; ++i) pal.entries[i] = rgb(uint32_t(i), uint32_t(i * 3), uint32_t(255 - i));
    Stops st;
    for (int round = 0; round < 48; ++round) {
        const bool withPalette = round % 4 == 3;
        translate(withPalette ? &pal : nullptr);
        Grid g(23, 17);
        const int spread = round % 3 == 0 ? 40 : 2500;
        for (auto &c : g.cells) c = int16_t(int(rng() % (2 * spread)) - spread / 3);
        for (int k = 0; k < 20; ++k) g.cells[rng() % g.cells.size()] = 0;  // some sea
        MapSettings m{};
        m.Mapmode = int16_t(round % 7);
        m.size = float(rng() % 300) - 20.0f;
        m.con = float(rng() % 100);
        m.bri = float(rng() % 100);
        m.minx = float(int(rng() % 400) - 200);
        m.maxx = m.minx + float(rng() % 3000);
        m.light = float(rng() % 360);
        m.c1 = uint8_t(rng() % 2);
        m.c2 = uint8_t(rng() % 4);
        const bool interp = rng() % 2;
        const int16_t x1 = int16_t(rng() % 5), y1 = int16_t(rng() % 5);
        Surface s(30, 30, kUntouched);
        if (withPalette) s.dc.palette = &pal;
        fastdraw(&m, g.ref(), &s.dc, x1, y1, 40, 40, st.levels, st.red, st.green, st.blue, int16_t(interp));
        const int N = 16 - y1;
        for (int r = 0; r <= N; ++r)
            for (int k = 0; x1 + k <= 22; ++k) {
                const int x = x1 + k, y = N - r;
                const int e = g.at(x, y), w = g.at(x > 0 ? x - 1 : x, y), sv = g.at(x, y > 0 ? y - 1 : y);
                const uint32_t want = zk::gdi::resolve(&s.dc, directColour(m, st, interp, e, w, sv));
                ASSERT_EQ(s.px(k, r), want) << "round " << round << " pixel " << k << "," << r;
            }
    }
}

// A map whose every row reaches further on both sides than all the rows
// before it (output row r from -256 r to 256 r, held to the 16-bit range)
// and an ordinary one of rolling hills, both 256 x 256: every pixel follows
// the cell rules in every mode, and the pictures are those the painter made
// when its table of elevations still grew row by row (checksums below).
namespace {

int16_t widening(int32_t x, int32_t r)
{
    const int64_t e = -256 * int64_t(r) + 512 * int64_t(r) * x / 255;
    return int16_t(std::clamp<int64_t>(e, INT16_MIN, INT16_MAX));
}

int16_t hills(int32_t x, int32_t r)
{
    return int16_t(std::lround(900 * std::sin(x * 0.05) * std::cos(r * 0.04) + 400 + (x * r) % 7));
}

// FNV-1a of the pixels' colours, row after row.
uint64_t checksum(const Surface &s)
{
    uint64_t h = 14695981039346656037ull;
    for (int32_t y = 0; y < s.dc.height; ++y)
        for (int32_t x = 0; x < s.dc.width; ++x) {
            const uint32_t c = s.px(x, y);
            for (int b = 0; b < 3; ++b) {
                h ^= (c >> (8 * b)) & 0xFF;
                h *= 1099511628211ull;
            }
        }
    return h;
}

}  // namespace

TEST_F(Fastdraw, MapWideningRowByRowPaintsByTheCellRules)
{
    constexpr int32_t kSide = 256;
    ZkPalette pal{};
    pal.count = 256;
    for (int i = 0; i < 256; ++i) pal.entries[i] = rgb(uint32_t(i), uint32_t(i * 3), uint32_t(255 - i));
    Stops st;
    struct Case {
        const char *map;
        int16_t mode;
        uint8_t c1, c2;
        bool palette, interp;
        uint64_t before;  // the picture's checksum before the table was sized once per call
    };
    const Case cases[] = {
        {"widening", 0, 0, 0, false, false, 0x32e2c7c8943ba573ull},
        {"widening", 1, 1, 3, false, false, 0x02d0be6c5ea5c5e0ull},
        {"widening", 2, 0, 1, false, false, 0x3eab0c81835214efull},
        {"widening", 3, 0, 0, false, false, 0x9a36e1bcb0e6c845ull},
        {"widening", 4, 1, 0, false, false, 0xb55a628d655a6d73ull},
        {"widening", 5, 0, 2, false, true, 0xedd3c977191185ccull},
        {"widening", 5, 1, 1, true, false, 0x9d1cc9e55d365833ull},
        {"hills", 0, 0, 0, false, false, 0x075b004ba30b53e1ull},
        {"hills", 1, 1, 3, false, false, 0x6ddf050c9d4bf343ull},
        {"hills", 2, 0, 1, false, false, 0xd87925c605f3efd9ull},
        {"hills", 3, 0, 0, false, false, 0x2d14d2b8c5c4664full},
        {"hills", 4, 1, 0, false, false, 0x411383ca15b26f05ull},
        {"hills", 5, 0, 2, false, true, 0x90e404d6e867f9afull},
        {"hills", 5, 1, 1, true, false, 0xd7a8500a8bf8821dull},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.map) + " mode " + std::to_string(c.mode));
        const bool wide = std::string(c.map) == "widening";
        Grid g(kSide, kSide);
        for (int32_t y = 0; y < kSide; ++y)
            for (int32_t x = 0; x < kSide; ++x) g.at(x, y) = wide ? widening(x, kSide - 1 - y) : hills(x, kSide - 1 - y);
        translate(c.palette ? &pal : nullptr);
        Surface s(kSide, kSide, kUntouched);
        if (c.palette) s.dc.palette = &pal;
        MapSettings m{};
        m.Mapmode = c.mode;
        m.size = 150.0f;
        m.con = 40.0f;
        m.bri = 60.0f;
        m.minx = -300.0f;
        m.maxx = 2500.0f;
        m.light = 315.0f;
        m.c1 = c.c1;
        m.c2 = c.c2;
        fastdraw(&m, g.ref(), &s.dc, 0, 0, kSide - 1, kSide - 1, st.levels, st.red, st.green, st.blue,
                 int16_t(c.interp));
        int32_t wrong = 0;
        for (int32_t r = 0; r < kSide; ++r)
            for (int32_t x = 0; x < kSide; ++x) {
                const int32_t y = kSide - 1 - r;
                const int32_t e = g.at(x, y), w = g.at(x > 0 ? x - 1 : x, y), sv = g.at(x, y > 0 ? y - 1 : y);
                const uint32_t want = zk::gdi::resolve(&s.dc, directColour(m, st, c.interp, e, w, sv));
                if (s.px(x, r) != want && ++wrong <= 3) ADD_FAILURE() << "pixel " << x << "," << r;
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(checksum(s), c.before) << std::hex << checksum(s);
    }
}

// Hand-worked pixels of the widening map in the grey relief (light from the
// north, contrast 18, size 100, brightness 50: n = trunc(s - e + 127.5), s
// the southern neighbour, 32 darker at sea) and, without shading (size -1,
// n = 127), in the stratified colours.
TEST_F(Fastdraw, MapWideningRowByRowHandWorkedPixels)
{
    Grid g(256, 256);
    for (int32_t y = 0; y < 256; ++y)
        for (int32_t x = 0; x < 256; ++x) g.at(x, y) = widening(x, 255 - y);
    Surface s(256, 256, kUntouched);
    MapSettings m = baseMap(0);
    draw(m, g, s, 0, 0, 255, 255);
    // Column 128: e = -256 r + trunc(65536 r / 255) = r while r < 255.
    EXPECT_EQ(s.px(128, 0), grey(96));    // e 0 (sea), s 1: 128 - 32
    EXPECT_EQ(s.px(128, 5), grey(128));   // e 5, s 6
    // Column 129: e = -256 r + trunc(66048 r / 255): 3 at row 1, 6 at row 2.
    EXPECT_EQ(s.px(129, 1), grey(130));
    EXPECT_EQ(s.px(0, 7), grey(0));       // e -1792, s -2048: clamped
    EXPECT_EQ(s.px(255, 7), grey(255));   // e 1792, s 2048: clamped
    EXPECT_EQ(s.px(0, 255), grey(127));   // the southern edge compares with itself

    m = baseMap(1);
    m.size = -1.0f;
    draw(m, g, s, 0, 0, 255, 255);
    EXPECT_EQ(s.px(0, 1), ramp(2, 0, 2, 127));    // -256: magenta
    EXPECT_EQ(s.px(128, 0), ramp(0, 2, 2, 95));   // 0: sea, cyan 32 darker
    EXPECT_EQ(s.px(255, 1), ramp(0, 2, 0, 127));  // 256: green
    // Row 3, column 200: -768 + trunc(307200 / 255) = -768 + 1204 = 436, yellow.
    EXPECT_EQ(s.px(200, 3), ramp(2, 2, 0, 127));
    // Row 3, column 230: -768 + trunc(353280 / 255) = -768 + 1385 = 617, yellow;
    // column 240: -768 + 1445 = 677; column 250: -768 + 1505 = 737, brown.
    EXPECT_EQ(s.px(240, 3), ramp(2, 2, 0, 127));
    EXPECT_EQ(s.px(250, 3), ramp(2, 1, 0, 127));
    EXPECT_EQ(s.px(255, 10), ramp(2, 2, 2, 127));  // 2560: grey
    // Row 200 lies beyond the 16-bit range at both ends.
    EXPECT_EQ(s.px(0, 200), ramp(2, 0, 2, 127));    // -32768: magenta
    EXPECT_EQ(s.px(255, 200), ramp(2, 2, 2, 127));  // 32767: grey
}
