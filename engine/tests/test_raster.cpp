// Chart tiles, picture merging, the stereo pair and the perspective view.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "enginetest.h"
#include "raster/raster.h"

using zk::gdi::rgb;
using zktest::Grid;
using zktest::HookRecorder;
using zktest::Surface;
using zktest::TempDir;

namespace {

constexpr uint32_t kUntouched = 0x123456;

// ---------------------------------------------------------------------------
// ADRG

uint8_t adrgRed(int t, int r, int c) { return r == c ? 0 : uint8_t(r * 3 + c + t); }
uint8_t adrgGreen(int t, int r, int c) { return r == c ? 0 : uint8_t(c + 7 * t); }
uint8_t adrgBlue(int, int r, int c) { return r == c ? 0 : uint8_t(r); }

// An image file of `tiles` tiles after the 2048-byte head; the diagonal of
// every tile is black.
std::vector<uint8_t> adrgImage(int tiles)
{
    std::vector<uint8_t> b(2048, 0xAA);
    for (int t = 0; t < tiles; ++t)
        for (int p = 0; p < 3; ++p)
            for (int r = 0; r < 128; ++r)
                for (int c = 0; c < 128; ++c)
                    b.push_back(p == 0 ? adrgRed(t, r, c) : p == 1 ? adrgGreen(t, r, c) : adrgBlue(t, r, c));
    return b;
}

class Adrg : public ::testing::Test {
protected:
    void SetUp() override
    {
        callback(nullptr);
        path = dir / "TEST01.IMG";
        zktest::writeFile(path, adrgImage(2));
    }
    TempDir dir;
    std::string path;
};

}  // namespace

TEST_F(Adrg, UnitStepsPaintTheTileAsItStands)
{
    Surface s(140, 140, kUntouched);
    HookRecorder hook;
    EXPECT_EQ(getadrg(path.c_str(), &s.dc, 1, 5, 7, 1.0f, 1.0f), 2048 + 49152);
    for (int r = 0; r < 128; r += 3)
        for (int c = 0; c < 128; c += 5) {
            const uint32_t want = r == c ? kUntouched : rgb(adrgRed(1, r, c), adrgGreen(1, r, c), adrgBlue(1, r, c));
            ASSERT_EQ(s.px(5 + c, 7 + r), want) << r << "," << c;
        }
    EXPECT_EQ(s.px(5 + 3, 7 + 3), kUntouched);  // black is transparent
    EXPECT_EQ(s.px(4, 7), kUntouched);
    EXPECT_EQ(s.px(5 + 128, 7), kUntouched);
    EXPECT_EQ(s.px(5, 7 + 128), kUntouched);
    EXPECT_TRUE(HookRecorder::seen.empty());
}

TEST_F(Adrg, StepsOfTwoPaintEverySecondPixel)
{
    Surface s(70, 70, kUntouched);
    EXPECT_EQ(getadrg(path.c_str(), &s.dc, 0, 0, 0, 2.0f, 2.0f), 2048);
    for (int r = 0; r < 64; ++r)
        for (int c = 0; c < 64; ++c) {
            const int sr = 2 * r, sc = 2 * c;
            const uint32_t want =
                sr == sc ? kUntouched : rgb(adrgRed(0, sr, sc), adrgGreen(0, sr, sc), adrgBlue(0, sr, sc));
            ASSERT_EQ(s.px(c, r), want) << r << "," << c;
        }
    EXPECT_EQ(s.px(64, 1), kUntouched);
    EXPECT_EQ(s.px(1, 64), kUntouched);
    // Unequal fractional steps: 128 / 1.5 columns and 128 / 0.5 rows (clipped).
    Surface t(100, 300, kUntouched);
    getadrg(path.c_str(), &t.dc, 0, 0, 0, 0.5f, 1.5f);
    EXPECT_EQ(t.px(1, 5), rgb(adrgRed(0, 2, 1), adrgGreen(0, 2, 1), adrgBlue(0, 2, 1)));  // v = 2.5, u = 1.5
    EXPECT_EQ(t.px(84, 255), rgb(adrgRed(0, 127, 126), adrgGreen(0, 127, 126), adrgBlue(0, 127, 126)));
    EXPECT_EQ(t.px(86, 0), kUntouched);  // 86 x 1.5 = 129 is past the tile
}

TEST_F(Adrg, PartlyOutsideTheBitmapIsClipped)
{
    Surface s(20, 20, kUntouched);
    EXPECT_EQ(getadrg(path.c_str(), &s.dc, 0, -100, -110, 1.0f, 1.0f), 2048);
    EXPECT_EQ(s.px(0, 0), rgb(adrgRed(0, 110, 100), adrgGreen(0, 110, 100), adrgBlue(0, 110, 100)));
    EXPECT_EQ(s.px(17, 17), rgb(adrgRed(0, 127, 117), adrgGreen(0, 127, 117), adrgBlue(0, 127, 117)));
    EXPECT_EQ(s.px(19, 18), kUntouched);  // beyond the tile's last row
    EXPECT_EQ(getadrg(path.c_str(), nullptr, 0, 0, 0, 1.0f, 1.0f), 2048);
}

TEST_F(Adrg, NothingPaintedForMissingShortOrBadInput)
{
    Surface s(130, 130, kUntouched);
    const std::vector<uint32_t> before = s.bits;
    EXPECT_EQ(getadrg((dir / "none.IMG").c_str(), &s.dc, 0, 0, 0, 1.0f, 1.0f), 0);
    EXPECT_EQ(getadrg(nullptr, &s.dc, 0, 0, 0, 1.0f, 1.0f), 0);
    EXPECT_EQ(getadrg(path.c_str(), &s.dc, 2, 0, 0, 1.0f, 1.0f), 0);   // beyond the end
    EXPECT_EQ(getadrg(path.c_str(), &s.dc, -1, 0, 0, 1.0f, 1.0f), 0);  // before the first tile
    for (float bad : {0.0f, -1.0f, NAN}) {
        EXPECT_EQ(getadrg(path.c_str(), &s.dc, 0, 0, 0, bad, 1.0f), 0);
        EXPECT_EQ(getadrg(path.c_str(), &s.dc, 0, 0, 0, 1.0f, bad), 0);
    }
    // A file cut in the blue plane of tile 1.
    auto bytes = adrgImage(2);
    bytes.resize(2048 + 49152 + 2 * 16384 + 100);
    zktest::writeFile(path, bytes);
    EXPECT_EQ(getadrg(path.c_str(), &s.dc, 1, 0, 0, 1.0f, 1.0f), 0);
    EXPECT_EQ(s.bits, before);
    EXPECT_EQ(getadrg(path.c_str(), &s.dc, 0, 0, 0, 1.0f, 1.0f), 2048);  // tile 0 is whole
    // Very small steps stop at the bitmap's edge rather than walking for ever.
    EXPECT_EQ(getadrg(path.c_str(), &s.dc, 0, 0, 0, 1e-30f, 1e-30f), 2048);
}

// ---------------------------------------------------------------------------
// mergemultiply

namespace {

Surface picture(int w, int h)
{
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.set(x, y, rgb(uint32_t(10 * x + 1), uint32_t(10 * y + 1), 100));
    return s;
}

}  // namespace

TEST(Merge, CopyOfTheWholePicture)
{
    callback(nullptr);
    Surface src = picture(4, 4), dst(4, 4, kUntouched);
    EXPECT_EQ(mergemultiply(&dst.dc, 4, 4, &src.dc, 0, 0, 3, 0, 3, 3, 0, 3, 0), 4);
    EXPECT_EQ(dst.bits, src.bits);
    // A mirrored quadrilateral: corner 0 at the source's top-right.
    Surface m(4, 4, kUntouched);
    mergemultiply(&m.dc, 4, 4, &src.dc, 3, 0, 0, 0, 0, 3, 3, 3, 0);
    EXPECT_EQ(m.px(0, 0), src.px(3, 0));
    EXPECT_EQ(m.px(3, 2), src.px(0, 2));
}

TEST(Merge, MultiplyAndAverage)
{
    callback(nullptr);
    Surface src(3, 1);
    src.set(0, 0, rgb(255, 255, 255));
    src.set(1, 0, rgb(0, 0, 0));
    src.set(2, 0, rgb(128, 255, 1));
    Surface dst(3, 2, rgb(200, 100, 50));
    EXPECT_EQ(mergemultiply(&dst.dc, 3, 2, &src.dc, 0, 0, 2, 0, 2, 0, 0, 0, 2), 2);
    EXPECT_EQ(dst.px(0, 0), rgb(200, 100, 50));  // white leaves the destination
    EXPECT_EQ(dst.px(1, 0), rgb(0, 0, 0));       // black makes it 0
    EXPECT_EQ(dst.px(2, 0), rgb(100, 100, 0));   // trunc(128 x 200 / 255), trunc(50 / 255)
    Surface avg(3, 1, rgb(201, 100, 50));
    for (int16_t mode : {1, 3, -7}) {
        Surface a(3, 2, rgb(201, 100, 50));
        mergemultiply(&a.dc, 3, 2, &src.dc, 0, 0, 2, 0, 2, 0, 0, 0, mode);
        EXPECT_EQ(a.px(0, 0), rgb(228, 177, 152)) << mode;  // (255 + 201) / 2 ...
        EXPECT_EQ(a.px(1, 0), rgb(100, 50, 25)) << mode;
        EXPECT_EQ(a.px(2, 1), rgb(164, 177, 25)) << mode;
    }
}

TEST(Merge, NegativeOrOutsideSourcePointsLeaveTheDestination)
{
    callback(nullptr);
    Surface src = picture(4, 4), dst(4, 4, kUntouched);
    // The quadrilateral starts two columns left of the source.
    EXPECT_EQ(mergemultiply(&dst.dc, 4, 4, &src.dc, -2, 0, 1, 0, 1, 3, -2, 3, 0), 4);
    EXPECT_EQ(dst.px(0, 1), kUntouched);
    EXPECT_EQ(dst.px(1, 1), kUntouched);
    EXPECT_EQ(dst.px(2, 1), src.px(0, 1));
    EXPECT_EQ(dst.px(3, 1), src.px(1, 1));
    // -0.5 is negative even though it truncates to 0.
    Surface d2(2, 2, kUntouched);
    mergemultiply(&d2.dc, 2, 2, &src.dc, -0.5f, 0, 0.5f, 0, 0.5f, 1, -0.5f, 1, 0);
    EXPECT_EQ(d2.px(0, 0), kUntouched);
    EXPECT_EQ(d2.px(1, 0), src.px(0, 0));
}

TEST(Merge, QuadrilateralWhollyOutsideScansEveryRow)
{
    Surface src = picture(4, 4), dst(5, 6, kUntouched);
    HookRecorder hook;
    EXPECT_EQ(mergemultiply(&dst.dc, 5, 6, &src.dc, 10, 10, 20, 10, 20, 20, 10, 20, 0), 6);
    EXPECT_EQ(HookRecorder::seen, (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(dst.bits, std::vector<uint32_t>(30, kUntouched | 0xFF000000u));
    EXPECT_EQ(mergemultiply(&dst.dc, 5, 6, nullptr, 0, 0, 3, 0, 3, 3, 0, 3, 0), 6);
}

TEST(Merge, LeavingTheQuadrilateralEndsTheRows)
{
    Surface src = picture(4, 4), dst(4, 8, kUntouched);
    HookRecorder hook;
    // Rows 0..3 meet source rows 0..3; row 4 (source row 4) finds nothing.
    EXPECT_EQ(mergemultiply(&dst.dc, 4, 8, &src.dc, 0, 0, 3, 0, 3, 7, 0, 7, 0), 5);
    EXPECT_EQ(HookRecorder::seen, (std::vector<int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(dst.px(2, 3), src.px(2, 3));
    EXPECT_EQ(dst.px(2, 4), kUntouched);
}

TEST(Merge, StopAndTooSmallRectangles)
{
    Surface src = picture(4, 4), dst(4, 4, kUntouched);
    {
        HookRecorder hook(1);
        EXPECT_EQ(mergemultiply(&dst.dc, 4, 4, &src.dc, 0, 0, 3, 0, 3, 3, 0, 3, 0), 5);
        EXPECT_EQ(dst.px(1, 0), src.px(1, 0));
        EXPECT_EQ(dst.px(1, 1), kUntouched);
    }
    HookRecorder hook;
    EXPECT_EQ(mergemultiply(&dst.dc, 1, 4, &src.dc, 0, 0, 3, 0, 3, 3, 0, 3, 0), 0);
    EXPECT_EQ(mergemultiply(&dst.dc, 4, 1, &src.dc, 0, 0, 3, 0, 3, 3, 0, 3, 0), 0);
    EXPECT_EQ(mergemultiply(&dst.dc, -5, 4, &src.dc, 0, 0, 3, 0, 3, 3, 0, 3, 0), 0);
    EXPECT_TRUE(HookRecorder::seen.empty());
}

// ---------------------------------------------------------------------------
// top3d

namespace {

// Source pixel x of row y is the grey g = 30x + 10y + 11, read back as G = g - 1
// (trunc(3g x 0.333333)).
Surface greys(int w, int h)
{
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t g = uint32_t(30 * x + 10 * y + 11);
            s.set(x, y, rgb(g, g, g));
        }
    return s;
}
uint32_t G(int x, int y) { return uint32_t(30 * x + 10 * y + 10); }
uint32_t stereo(uint32_t red, uint32_t cyan) { return rgb(red, cyan, cyan); }

}  // namespace

TEST(Stereo, NoShiftTakesRedFromTheRightAndCyanFromTheLeft)
{
    callback(nullptr);
    Grid g(5, 2, 50);
    Surface src = greys(5, 2), dst(5, 2, kUntouched);
    EXPECT_EQ(top3d(g.ref(), &src.dc, &dst.dc, 1.0f, 50.0f), 2);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(dst.px(0, y), stereo(G(1, y), G(0, y)));
        for (int q = 1; q < 4; ++q) EXPECT_EQ(dst.px(q, y), stereo(G(q + 1, y), G(q - 1, y))) << q;
        EXPECT_EQ(dst.px(4, y), stereo(G(4, y), G(3, y)));
    }
}

TEST(Stereo, ElevatedPixelMovesApart)
{
    callback(nullptr);
    Grid g(6, 1, 0);
    g.at(2, 0) = 4;  // scale 0.5: shift = elevation
    Surface src = greys(6, 1), dst(6, 1, kUntouched);
    EXPECT_EQ(top3d(g.ref(), &src.dc, &dst.dc, 0.5f, 0.0f), 1);
    const uint32_t red[6] = {G(1, 0), G(2, 0), G(2, 0), G(2, 0), G(5, 0), G(5, 0)};
    const uint32_t cyan[6] = {G(2, 0), G(2, 0), G(2, 0), G(2, 0), G(3, 0), G(4, 0)};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(dst.px(x, 0), stereo(red[x], cyan[x])) << x;
}

TEST(Stereo, PictureRowsFollowTheGridFromTheNorth)
{
    callback(nullptr);
    Grid g(4, 2, 0);
    for (int x = 0; x < 4; ++x) g.at(x, 1) = 4;  // northern row raised: picture row 0
    Surface src = greys(4, 2), a(4, 2), b(4, 2);
    top3d(g.ref(), &src.dc, &a.dc, 0.5f, 0.0f);
    for (int x = 0; x < 4; ++x) g.at(x, 1) = 0;
    top3d(g.ref(), &src.dc, &b.dc, 0.5f, 0.0f);
    EXPECT_NE(a.px(1, 0), b.px(1, 0));
    EXPECT_EQ(a.px(1, 1), b.px(1, 1));
}

TEST(Stereo, StopNegativeShiftsAndBadGrid)
{
    Grid g(5, 3, 10);
    Surface src = greys(5, 3), dst(5, 3, kUntouched);
    {
        HookRecorder hook(1);
        EXPECT_EQ(top3d(g.ref(), &src.dc, &dst.dc, 1.0f, 10.0f), 4);  // rows + 1
        EXPECT_EQ(HookRecorder::seen, (std::vector<int32_t>{0}));
        EXPECT_EQ(dst.px(0, 1), kUntouched);
    }
    callback(nullptr);
    // Base far above the terrain: every pixel moves off the wrong side; the
    // gaps take black and nothing is written outside the rows.
    EXPECT_EQ(top3d(g.ref(), &src.dc, &dst.dc, 1000.0f, 30000.0f), 3);
    EXPECT_EQ(dst.px(0, 0), 0u);
    Grid one(1, 1, 0);
    Surface s1(1, 1), d1(1, 1, kUntouched);
    EXPECT_EQ(top3d(one.ref(), &s1.dc, &d1.dc, 1.0f, 0.0f), 1);
    EXPECT_EQ(d1.px(0, 0), 0u);
    ZkArray flat = g.a;
    flat.dims = 1;
    ZkArray *fp = &flat;
    EXPECT_EQ(top3d(&fp, &src.dc, &dst.dc, 1.0f, 0.0f), 0);
    EXPECT_EQ(top3d(nullptr, &src.dc, &dst.dc, 1.0f, 0.0f), 0);
    EXPECT_EQ(top3d(g.ref(), nullptr, nullptr, 1.0f, 0.0f), 3);
}

// ---------------------------------------------------------------------------
// drawpic3D

namespace {

constexpr uint32_t kSky = 0x0000FF00;  // rgb(0, 0xFF, 0) as written
constexpr uint32_t kFar = 0x00808080;
constexpr uint32_t kLand = 0x001EC80A;  // rgb(10, 200, 30)

struct View {
    Grid grid{50, 50, 0};
    Surface map{50, 50, kLand};
    Surface dst{64, 48, kUntouched};
    int32_t draw(float ox, float oy, float oz, float tx, float ty, float tz = 0.0f, int32_t mask = 0,
                 float fov = 1.0f, float b = 5.0f, int32_t width = 64)
    {
        return drawpic3D(grid.ref(), &map.dc, &dst.dc, width, 48, b, fov, 0.5f, ox, oy, oz, tx, ty, tz,
                         int32_t(kSky), int32_t(kFar), mask);
    }
    bool untouched() const { return dst.bits == std::vector<uint32_t>(dst.bits.size(), kUntouched | 0xFF000000u); }
};

}  // namespace

TEST(Perspective, FlatMapSeenFromAbove)
{
    callback(nullptr);
    View v;
    // Eye 100 m above column 25, row 45 from the north, looking north at row 5.
    const int32_t row = v.draw(25, 45, 100, 25, 5);
    // The view axis points at the target: it lies on the centre row.
    EXPECT_GE(row, 23);
    EXPECT_LE(row, 25);
    for (int i = 0; i < 64; i += 7) {
        EXPECT_EQ(v.dst.px(i, 47), kLand) << i;  // the ground just ahead
        EXPECT_EQ(v.dst.px(i, 0), kSky) << i;
        // Bottom up: land, then far colour down to the horizon row, then sky.
        int y = 47;
        while (y >= 0 && v.dst.px(i, y) == kLand) --y;
        while (y >= 0 && v.dst.px(i, y) == kFar) --y;
        while (y >= 0 && v.dst.px(i, y) == kSky) --y;
        EXPECT_EQ(y, -1) << "column " << i;
    }
    // The horizon row: trunc(24 - ((-0.2 / sqrt(1275)) - q) x 64) = 22.
    EXPECT_EQ(v.dst.px(32, 22), kFar);
    EXPECT_EQ(v.dst.px(32, 21), kSky);
}

TEST(Perspective, GreyInTheMaskChannels)
{
    callback(nullptr);
    View v;
    v.draw(25, 45, 100, 25, 5, 0, 0x0000FF);
    EXPECT_EQ(v.dst.px(32, 47), rgb(79, 0, 0));  // trunc((10 + 200 + 30) x 0.333333) in red only
    View w;
    w.draw(25, 45, 100, 25, 5, 0, 0xFFFFFF);
    EXPECT_EQ(w.dst.px(32, 47), rgb(79, 79, 79));
}

TEST(Perspective, EyeAtOrBelowSeaLevelHasNoSky)
{
    callback(nullptr);
    View v;
    v.draw(25, 45, 0, 25, 5);
    for (uint32_t p : v.dst.bits) EXPECT_NE(p & 0xFFFFFF, kSky);
    EXPECT_EQ(v.dst.px(10, 0), kFar);
}

TEST(Perspective, ObserverOutsideTheGrid)
{
    callback(nullptr);
    // North of the map looking further north: no ray enters, only background.
    View away;
    EXPECT_EQ(away.draw(25, -100, 100, 25, -200), 0);
    for (uint32_t p : away.dst.bits) EXPECT_TRUE((p & 0xFFFFFF) == kSky || (p & 0xFFFFFF) == kFar);
    EXPECT_EQ(away.dst.px(5, 0), kSky);
    EXPECT_EQ(away.dst.px(5, 47), kFar);
    // South of the map looking north: the rays enter after whole-cell steps.
    View towards;
    towards.draw(25, 60, 100, 25, 20);
    EXPECT_EQ(towards.dst.px(32, 30), kLand);
    // Very far away: the march still ends.
    View far;
    EXPECT_EQ(far.draw(-3e7f, 25, 100, -4e7f, 25), 0);
}

TEST(Perspective, RefusesWhatItCannotDraw)
{
    callback(nullptr);
    View v;
    EXPECT_EQ(v.draw(25, 45, 100, 25, 45), 0);  // observer on the target
    for (float fov : {0.0f, -1.0f, 3.1415f, 4.0f, NAN}) EXPECT_EQ(v.draw(25, 45, 100, 25, 5, 0, 0, fov), 0);
    EXPECT_EQ(v.draw(25, 45, 100, 25, 5, 0, 0, 1.0f, 5.0f, 0), 0);    // no width
    EXPECT_EQ(v.draw(25, 45, 100, 25, 5, 0, 0, 1.0f, 0.0f), 0);       // b = 0
    EXPECT_EQ(v.draw(25, 45, 100, 25, 5, 0, 0, 1.0f, -5.0f), 0);      // b < 0
    EXPECT_TRUE(v.untouched());
    Grid row(50, 1, 0);  // one row: no scale
    EXPECT_EQ(drawpic3D(row.ref(), &v.map.dc, &v.dst.dc, 64, 48, 5, 1, 0.5f, 25, 0, 100, 10, 0, 0, 0, 0, 0), 0);
    ZkArray flat = v.grid.a;
    flat.dims = 1;
    ZkArray *fp = &flat;
    EXPECT_EQ(drawpic3D(&fp, &v.map.dc, &v.dst.dc, 64, 48, 5, 1, 0.5f, 25, 45, 100, 25, 5, 0, 0, 0, 0), 0);
    EXPECT_TRUE(v.untouched());
}

// The hook hears of each column once it stands on the picture, and a stop
// ends the view after that column: the picture is then the whole view's
// columns up to the stop and the untouched bitmap after it, and the result
// is the centre column's row only when the centre column was painted.
namespace {

struct StopWatcher {
    static inline const Surface *picture = nullptr;  // the bitmap being painted
    static inline const Surface *whole = nullptr;    // the view painted to the end
    static inline std::vector<int32_t> seen;
    static inline std::vector<std::string> faults;   // what the hook saw amiss
    static inline size_t stopAt = 0;
    static int32_t hook(int32_t i)
    {
        seen.push_back(i);
        const Surface &p = *picture;
        for (int32_t y = 0; y < p.dc.height; ++y) {
            if (p.px(i, y) != whole->px(i, y)) faults.push_back("column " + std::to_string(i) + " not yet painted");
            if (i + 1 < p.dc.width && p.px(i + 1, y) != kUntouched)
                faults.push_back("column " + std::to_string(i + 1) + " painted before its turn");
        }
        return seen.size() == stopAt ? 0 : 1;
    }
};

}  // namespace

TEST(Perspective, StopEndsTheViewAfterTheColumnInHand)
{
    constexpr int32_t kWidth = 100, kHeight = 48, kCentre = kWidth / 2;
    View v;  // for its grid and map
    for (int32_t j = 0; j < 50; ++j)
        for (int32_t i = 0; i < 50; ++i) {
            v.grid.at(i, j) = int16_t(40 * std::sin(i / 3.0) * std::cos(j / 4.0) + 20);
            v.map.set(i, j, uint32_t(i * 5 + (j * 5 << 8)));
        }
    auto draw = [&](Surface &dst) {
        return drawpic3D(v.grid.ref(), &v.map.dc, &dst.dc, kWidth, kHeight, 5.0f, 1.0f, 0.5f, 25, 45, 100, 25, 5, 0,
                         int32_t(kSky), int32_t(kFar), 0);
    };
    // The whole view, under a hook that never stops: each column it
    // reports stands on the picture, and none after it.
    Surface whole(kWidth, kHeight, kUntouched), shadow(kWidth, kHeight, kUntouched);
    callback(nullptr);
    draw(shadow);  // the same view without a hook, to check each column against
    StopWatcher::picture = &whole;
    StopWatcher::whole = &shadow;
    StopWatcher::seen.clear();
    StopWatcher::faults.clear();
    StopWatcher::stopAt = 0;
    callback(&StopWatcher::hook);
    const int32_t wholeRow = draw(whole);
    callback(nullptr);
    ASSERT_EQ(StopWatcher::seen.size(), size_t(kWidth));
    EXPECT_TRUE(StopWatcher::faults.empty()) << StopWatcher::faults.front();
    ASSERT_EQ(whole.bits, shadow.bits);
    ASSERT_GT(wholeRow, 0);  // the centre column reaches the target's distance
    for (int32_t i = 0; i < kWidth; ++i) ASSERT_NE(whole.px(i, kHeight - 1), kUntouched) << i;

    // Stops at the first column, inside the first block, and inside the
    // second block before its centre column; then at the centre column.
    for (const size_t stop : {size_t(1), size_t(5), size_t(40), size_t(kCentre + 1)}) {
        SCOPED_TRACE("stop at call " + std::to_string(stop));
        Surface dst(kWidth, kHeight, kUntouched);
        Surface expected(kWidth, kHeight, kUntouched);
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t i = 0; i < int32_t(stop); ++i) expected.set(i, y, whole.px(i, y));
        StopWatcher::picture = &dst;
        StopWatcher::whole = &whole;
        StopWatcher::seen.clear();
        StopWatcher::faults.clear();
        StopWatcher::stopAt = stop;
        callback(&StopWatcher::hook);
        const int32_t row = draw(dst);
        callback(nullptr);
        std::vector<int32_t> calls(stop);
        for (size_t c = 0; c < stop; ++c) calls[c] = int32_t(c);
        EXPECT_EQ(StopWatcher::seen, calls);
        EXPECT_TRUE(StopWatcher::faults.empty()) << StopWatcher::faults.front();
        EXPECT_EQ(row, int32_t(stop) > kCentre ? wholeRow : 0);
        int32_t wrong = 0, first = -1;
        for (int32_t i = 0; i < kWidth; ++i)
            for (int32_t y = 0; y < kHeight; ++y)
                if (dst.px(i, y) != expected.px(i, y)) {
                    ++wrong;
                    if (first < 0) first = i;
                }
        EXPECT_EQ(wrong, 0) << "first column differing: " << first;
    }
}

// On several threads the view is the one painted on one, column for column.
TEST(Perspective, SeveralThreadsPaintWhatOneThreadPaints)
{
    callback(nullptr);
    View one, four;
    for (View *v : {&one, &four}) {
        for (int32_t j = 0; j < 50; ++j)
            for (int32_t i = 0; i < 50; ++i) {
                v->grid.at(i, j) = int16_t(40 * std::sin(i / 3.0) * std::cos(j / 4.0) + 20);
                v->map.set(i, j, uint32_t(i * 5 + (j * 5 << 8)));
            }
    }
    setenv("ZK_THREADS", "1", 1);
    const int32_t r1 = one.draw(25, 45, 100, 25, 5);
    setenv("ZK_THREADS", "4", 1);
    const int32_t r4 = four.draw(25, 45, 100, 25, 5);
    unsetenv("ZK_THREADS");
    EXPECT_EQ(r1, r4);
    EXPECT_EQ(one.dst.bits, four.dst.bits);
    EXPECT_FALSE(one.untouched());
}
