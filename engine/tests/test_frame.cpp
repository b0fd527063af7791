// The library frame: the progress hook contract, the colour ramps, the pixel
// and array layers the engine works through.
#include <gtest/gtest.h>

#include <vector>

#include "frame.h"
#include "gdi.h"
#include "ramps.h"
#include "safearray.h"
#include "zelkor32.h"

namespace {

int g_calls = 0;
int32_t g_last = -1;
int32_t refuse(int32_t c)
{
    ++g_calls;
    g_last = c;
    return 0;
}
int32_t accept(int32_t c)
{
    ++g_calls;
    g_last = c;
    return 1;
}

struct Surface {
    std::vector<uint32_t> bits;
    ZkDC dc{};
    Surface(int w, int h, int stride = 0)
    {
        if (stride == 0) stride = w;
        bits.assign(size_t(stride) * h, 0);
        dc = ZkDC{bits.data(), w, h, stride, nullptr};
    }
};

}  // namespace

TEST(Hook, NullHookAnswersOneAndLetsLoopsRun)
{
    EXPECT_EQ(callback(nullptr), 1);
    EXPECT_TRUE(zk::engine::progress(0));
    EXPECT_TRUE(zk::engine::progress(12345));
}

TEST(Hook, HookSeesCounterAndCanStop)
{
    g_calls = 0;
    EXPECT_EQ(callback(&accept), 1);
    EXPECT_TRUE(zk::engine::progress(7));
    EXPECT_EQ(g_last, 7);
    EXPECT_EQ(callback(&refuse), 1);  // replaces the earlier hook
    EXPECT_FALSE(zk::engine::progress(8));
    EXPECT_EQ(g_last, 8);
    EXPECT_EQ(g_calls, 2);
    EXPECT_EQ(callback(nullptr), 1);
    EXPECT_TRUE(zk::engine::progress(9));
    EXPECT_EQ(g_calls, 2);
}

TEST(Conversion, TruncatesTowardZero)
{
    EXPECT_EQ(zk::engine::trunc32(2.9), 2);
    EXPECT_EQ(zk::engine::trunc32(-2.9), -2);
    EXPECT_EQ(zk::engine::trunc32(-0.5), 0);
    EXPECT_EQ(zk::engine::trunc32(1e20), INT32_MAX);
}

TEST(Ramps, PlainTable)
{
    ASSERT_EQ(translate(nullptr), 0);
    EXPECT_EQ(zk::engine::paletteCount(), 0);
    for (int k = 0; k < 8; ++k)
        for (int j = 0; j < 128; ++j) EXPECT_EQ(zk::engine::rampColour(k, 2 * j), zk::engine::rampColour(k, 2 * j + 1));
    // Maxima: 254 on a 2-step channel, 127 on the brown ramp's green.
    EXPECT_EQ(zk::engine::rampColour(0, 255), zk::gdi::rgb(0, 0, 254));
    EXPECT_EQ(zk::engine::rampColour(4, 255), zk::gdi::rgb(254, 127, 0));
    EXPECT_EQ(zk::engine::rampColour(6, 255), zk::gdi::rgb(254, 254, 254));
    EXPECT_EQ(zk::engine::rampColour(7, 3), zk::gdi::rgb(2, 0, 2));
    EXPECT_EQ(zk::engine::rampColour(1, 0), 0u);
}

TEST(Ramps, PaletteTableThenPlainAgain)
{
    ZkPalette pal{};
    pal.count = 3;
    pal.entries[0] = zk::gdi::rgb(0, 0, 0);
    pal.entries[1] = zk::gdi::rgb(0, 0, 250);
    pal.entries[2] = zk::gdi::rgb(255, 255, 255);
    ASSERT_EQ(translate(&pal), 256);
    EXPECT_EQ(zk::engine::rampColour(0, 255), 1u | ZK_PALETTEINDEX);  // bright blue -> entry 1
    EXPECT_EQ(zk::engine::rampColour(6, 255), 2u | ZK_PALETTEINDEX);
    EXPECT_EQ(zk::engine::rampColour(3, 10), 0u | ZK_PALETTEINDEX);
    ASSERT_EQ(translate(nullptr), 0);
    EXPECT_EQ(zk::engine::rampColour(0, 255), zk::gdi::rgb(0, 0, 254));
}

TEST(Ramps, ColortestPaintsStripes)
{
    translate(nullptr);
    Surface s(300, 40);
    EXPECT_EQ(colortest(&s.dc), 256);
    for (int k = 0; k < 8; ++k)
        for (int row = 4 * k; row < 4 * k + 4; ++row)
            for (int j : {0, 77, 255}) EXPECT_EQ(zk::gdi::getPixel(&s.dc, j, row), zk::engine::rampColour(k, j));
    EXPECT_EQ(zk::gdi::getPixel(&s.dc, 256, 0), 0u);  // nothing right of the table
    EXPECT_EQ(zk::gdi::getPixel(&s.dc, 0, 32), 0u);   // nothing below it
    Surface small(10, 5);                             // clipped, harmless
    EXPECT_EQ(colortest(&small.dc), 256);
    EXPECT_EQ(colortest(nullptr), 256);
}

TEST(Gdi, PixelsInsideAndOutside)
{
    Surface s(4, 3, 6);
    EXPECT_TRUE(zk::gdi::setPixelV(&s.dc, 3, 2, zk::gdi::rgb(1, 2, 3)));
    EXPECT_EQ(s.bits[2 * 6 + 3], 0xFF030201u);
    EXPECT_EQ(zk::gdi::getPixel(&s.dc, 3, 2), zk::gdi::rgb(1, 2, 3));
    for (auto [x, y] : {std::pair{-1, 0}, {4, 0}, {0, 3}, {0, -1}}) {
        EXPECT_EQ(zk::gdi::getPixel(&s.dc, x, y), ZK_CLR_INVALID);
        EXPECT_EQ(zk::gdi::setPixel(&s.dc, x, y, 0), ZK_CLR_INVALID);
        EXPECT_FALSE(zk::gdi::setPixelV(&s.dc, x, y, 0));
    }
    EXPECT_EQ(zk::gdi::getPixel(nullptr, 0, 0), ZK_CLR_INVALID);
    // Flags are stripped when no palette is selected.
    zk::gdi::setPixelV(&s.dc, 0, 0, zk::gdi::rgb(9, 8, 7) | ZK_PALETTERGB);
    EXPECT_EQ(zk::gdi::getPixel(&s.dc, 0, 0), zk::gdi::rgb(9, 8, 7));
}

TEST(Gdi, PaletteFlags)
{
    ZkPalette pal{};
    pal.count = 2;
    pal.entries[0] = zk::gdi::rgb(10, 10, 10);
    pal.entries[1] = zk::gdi::rgb(200, 0, 0);
    Surface s(2, 1);
    s.dc.palette = &pal;
    EXPECT_EQ(zk::gdi::nearestIndex(&pal, zk::gdi::rgb(180, 30, 0)), 1u);
    EXPECT_EQ(zk::gdi::setPixel(&s.dc, 0, 0, zk::gdi::rgb(180, 30, 0) | ZK_PALETTERGB), zk::gdi::rgb(200, 0, 0));
    EXPECT_EQ(zk::gdi::setPixel(&s.dc, 1, 0, 0 | ZK_PALETTEINDEX), zk::gdi::rgb(10, 10, 10));
    EXPECT_EQ(zk::gdi::setPixel(&s.dc, 1, 0, zk::gdi::rgb(1, 2, 3)), zk::gdi::rgb(1, 2, 3));  // plain colour as it is
    EXPECT_EQ(zk::gdi::nearestIndex(nullptr, 0), 0u);
}

TEST(SafeArray, BoundsAreReadFromTheArray)
{
    std::vector<int16_t> data(3 * 2);
    ZkArray a{2, {5, -1}, {7, 0}, data.data()};
    int32_t b = 0;
    EXPECT_EQ(zk::sa::dims(&a), 2);
    EXPECT_TRUE(zk::sa::lbound(&a, 1, b));
    EXPECT_EQ(b, 5);
    EXPECT_TRUE(zk::sa::ubound(&a, 2, b));
    EXPECT_EQ(b, 0);
    EXPECT_FALSE(zk::sa::ubound(&a, 3, b));
    EXPECT_TRUE(zk::sa::put(&a, 6, 0, 42));
    EXPECT_EQ(data[1 + 1 * 3], 42);  // first index fastest
    int16_t v = 0;
    EXPECT_TRUE(zk::sa::get(&a, 6, 0, v));
    EXPECT_EQ(v, 42);
    v = 9;
    EXPECT_FALSE(zk::sa::get(&a, 8, 0, v));
    EXPECT_FALSE(zk::sa::get(&a, 5, 1, v));
    EXPECT_FALSE(zk::sa::put(&a, 4, -1, 1));
    EXPECT_EQ(v, 9);
    ZkArray one{1, {0, 0}, {3, 0}, data.data()};
    EXPECT_FALSE(zk::sa::is2d(&one));
    EXPECT_FALSE(zk::sa::get(&one, 0, 0, v));
    EXPECT_FALSE(zk::sa::is2d(nullptr));
    ZkArray *pa = &a;
    EXPECT_EQ(zk::sa::deref(&pa), &a);
    EXPECT_EQ(zk::sa::deref(nullptr), nullptr);
}
