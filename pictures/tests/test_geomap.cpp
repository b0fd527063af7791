// Geographic mapping of pictures: position to pixel and back.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "pictures/geomap.h"

using zk::PicFrame;

namespace {

PicFrame frame(int16_t type, float lonW, float lonE, float latN, float latS, int w, int h)
{
    PicFrame f;
    f.Pictype = type;
    f.lon1 = lonW; f.lat1 = latN;
    f.lon2 = lonE; f.lat2 = latN;
    f.lon3 = lonE; f.lat3 = latS;
    f.lon4 = lonW; f.lat4 = latS;
    f.width = w;
    f.height = h;
    return f;
}

// The north-up picture of the examples: 20 x 10 degrees on 201 x 101 pixels.
const PicFrame kNorthUp = frame(1, -10, 10, 50, 40, 201, 101);

struct GeoCase {
    const char *name;
    PicFrame f;
    float lon, lat;
    bool on;
    float x, y;
};

class GeoToPix : public ::testing::TestWithParam<GeoCase> {};

TEST_P(GeoToPix, Table)
{
    const GeoCase &c = GetParam();
    float x = 12345, y = 12345;
    EXPECT_EQ(zk::geotopix(c.f, c.lon, c.lat, x, y), c.on);
    EXPECT_FLOAT_EQ(x, c.x);
    EXPECT_FLOAT_EQ(y, c.y);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GeoToPix,
    ::testing::Values(
        GeoCase{"centre", kNorthUp, 0, 45, true, 100, 50},
        GeoCase{"south_east_corner", kNorthUp, 10, 40, true, 200, 100},
        GeoCase{"north_west_corner", kNorthUp, -10, 50, true, 0, 0},
        // Within one ten-thousandth of the span east of the edge: still on.
        GeoCase{"east_within_tolerance", kNorthUp, 10.0015f, 40, true, 200, 100},
        GeoCase{"east_beyond_tolerance", kNorthUp, 10.0025f, 45, false, 200, 50},
        GeoCase{"east_of_picture", kNorthUp, 11, 45, false, 210, 50},
        GeoCase{"north_of_picture", kNorthUp, 0, 51, false, 100, -10},
        // Across the antimeridian.
        GeoCase{"east_past_180", frame(1, 170, 190, 10, 0, 201, 11), -175, 5, true, 150, 5},
        GeoCase{"west_past_minus_180", frame(1, -190, -170, 10, 0, 201, 11), 175, 5, true, 50, 5},
        // Kinds without a frame: fractions stay -1.
        GeoCase{"plain_image", frame(0, -10, 10, 50, 40, 201, 101), 0, 45, false, -200, -100},
        GeoCase{"picture_3d", frame(3, -10, 10, 50, 40, 201, 101), 0, 45, false, -200, -100},
        GeoCase{"station_view", frame(4, -10, 10, 50, 40, 201, 101), 0, 45, false, -200, -100},
        // A zero divisor keeps that fraction at -1.
        GeoCase{"degenerate_longitudes", frame(1, 5, 5, 50, 40, 201, 101), 5, 45, false, -200, 50},
        GeoCase{"degenerate_latitudes", frame(1, -10, 10, 45, 45, 201, 101), 0, 45, false, 100, -100},
        // A type-2 north-up rectangle maps as type 1.
        GeoCase{"own_corners_north_up", frame(2, -10, 10, 50, 40, 201, 101), 0, 45, true, 100, 50},
        GeoCase{"own_corners_off", frame(2, -10, 10, 50, 40, 201, 101), 11, 45, false, 210, 50},
        // Own corners that give no crossing are off the picture, never NaN.
        GeoCase{"own_corners_all_equal", frame(2, 5, 5, 45, 45, 201, 101), 5, 45, false, -200, -100}),
    [](const ::testing::TestParamInfo<GeoCase> &i) { return std::string(i.param.name); });

TEST(GeoToPix, ToleranceComparedInSinglePrecision)
{
    // u is exactly the single-precision 1.0001: off (strict comparison).
    const PicFrame f = frame(1, 0, 1, 1, 0, 2, 2);
    float x, y;
    EXPECT_FALSE(zk::geotopix(f, 1.0001f, 0.5f, x, y));
    EXPECT_TRUE(zk::geotopix(f, std::nextafter(1.0001f, 0.0f), 0.5f, x, y));
}

TEST(GeoToPix, NorthUpOwnCornersMatchMapPicture)
{
    PicFrame f2 = kNorthUp;
    f2.Pictype = 2;
    for (float lon = -12; lon <= 12; lon += 0.7f)
        for (float lat = 38; lat <= 52; lat += 0.9f) {
            float x1, y1, x2, y2;
            const bool on1 = zk::geotopix(kNorthUp, lon, lat, x1, y1);
            const bool on2 = zk::geotopix(f2, lon, lat, x2, y2);
            EXPECT_EQ(on1, on2) << lon << " " << lat;
            EXPECT_FLOAT_EQ(x1, x2);
            EXPECT_FLOAT_EQ(y1, y2);
        }
}

TEST(GeoToPix, NonFiniteInputGivesFiniteOffPicture)
{
    float x, y;
    EXPECT_FALSE(zk::geotopix(kNorthUp, std::numeric_limits<float>::quiet_NaN(), 45, x, y));
    EXPECT_TRUE(std::isfinite(x) && std::isfinite(y));
    PicFrame f2 = kNorthUp;
    f2.Pictype = 2;
    EXPECT_FALSE(zk::geotopix(f2, 0, std::numeric_limits<float>::infinity(), x, y));
    EXPECT_TRUE(std::isfinite(x) && std::isfinite(y));
}

// A square picture turned from north-up by an angle: corners placed by
// rotating the pixel grid (1 pixel = 0.01 degree) about the centre pixel.
struct Turned {
    double angle_deg;
};

class TurnedPicture : public ::testing::TestWithParam<Turned> {};

TEST_P(TurnedPicture, PixelsComeBack)
{
    const double a = GetParam().angle_deg * M_PI / 180.0;
    const int n = 101;
    const double c = (n - 1) / 2.0, s = 0.01;
    // Position of pixel (px, py): east = +x, north = -y, turned by a.
    auto pos = [&](double px, double py, double &lon, double &lat) {
        const double e = (px - c) * s, nn = -(py - c) * s;
        lon = 6 + e * std::cos(a) - nn * std::sin(a);
        lat = 45 + e * std::sin(a) + nn * std::cos(a);
    };
    PicFrame f;
    f.Pictype = 2;
    f.width = n;
    f.height = n;
    double lo, la;
    pos(0, 0, lo, la); f.lon1 = float(lo); f.lat1 = float(la);
    pos(n - 1, 0, lo, la); f.lon2 = float(lo); f.lat2 = float(la);
    pos(n - 1, n - 1, lo, la); f.lon3 = float(lo); f.lat3 = float(la);
    pos(0, n - 1, lo, la); f.lon4 = float(lo); f.lat4 = float(la);
    const int pixels[][2] = {{50, 50}, {0, 0}, {100, 100}, {10, 80}, {90, 5}, {33, 67}};
    for (const auto &p : pixels) {
        pos(p[0], p[1], lo, la);
        float x, y;
        EXPECT_TRUE(zk::geotopix(f, float(lo), float(la), x, y)) << p[0] << "," << p[1];
        EXPECT_FLOAT_EQ(x, float(p[0]));
        EXPECT_FLOAT_EQ(y, float(p[1]));
    }
    // Outside the turned square.
    pos(120, 50, lo, la);
    float x, y;
    EXPECT_FALSE(zk::geotopix(f, float(lo), float(la), x, y));
    EXPECT_FLOAT_EQ(x, 120);
}

// 30 degrees uses the edge fractions by latitude along the west edge, 60
// degrees those by longitude; 45 is the tie, and -20 / 120 turn the other way.
INSTANTIATE_TEST_SUITE_P(Angles, TurnedPicture, ::testing::Values(Turned{0}, Turned{10}, Turned{30}, Turned{45},
                                                                  Turned{60}, Turned{80}, Turned{-20}, Turned{120}));

TEST(GeoToPix, TieUsesFirstEdgeSet)
{
    // NE and SW at the same latitude: |d2| = |d1| = 10. The second set of
    // edge fractions would divide by lon4 - lon1 = 0; the first gives the
    // north-west corner.
    PicFrame f;
    f.Pictype = 2;
    f.width = 11;
    f.height = 11;
    f.lon1 = 0; f.lat1 = 10;
    f.lon2 = 10; f.lat2 = 5;
    f.lon3 = 10; f.lat3 = 0;
    f.lon4 = 0; f.lat4 = 5;
    float x, y;
    EXPECT_TRUE(zk::geotopix(f, 0, 10, x, y));
    EXPECT_FLOAT_EQ(x, 0);
    EXPECT_FLOAT_EQ(y, 0);
    // SW a little higher tips it to the second set (d1 = 9, d2 = 11), which
    // has no crossing here: off the picture, finite.
    f.lat4 = 6;
    EXPECT_FALSE(zk::geotopix(f, 0, 10, x, y));
    EXPECT_FLOAT_EQ(x, -10);
    EXPECT_FLOAT_EQ(y, -10);
}

TEST(PixToGeo, CornersAndEdges)
{
    float lon = 0, lat = 0;
    EXPECT_TRUE(zk::pixtogeo(kNorthUp, 0, 0, lon, lat));
    EXPECT_FLOAT_EQ(lon, -10);
    EXPECT_FLOAT_EQ(lat, 50);
    EXPECT_TRUE(zk::pixtogeo(kNorthUp, 200, 100, lon, lat));
    EXPECT_FLOAT_EQ(lon, 10);
    EXPECT_FLOAT_EQ(lat, 40);
    EXPECT_TRUE(zk::pixtogeo(kNorthUp, 100, 50, lon, lat));
    EXPECT_FLOAT_EQ(lon, 0);
    EXPECT_FLOAT_EQ(lat, 45);
    // One pixel west of the picture: off, extrapolated.
    EXPECT_FALSE(zk::pixtogeo(kNorthUp, -1, 0, lon, lat));
    EXPECT_NEAR(lon, -10.1, 1e-5);
    EXPECT_FLOAT_EQ(lat, 50);
    EXPECT_FALSE(zk::pixtogeo(kNorthUp, 0, 101, lon, lat));
}

TEST(PixToGeo, SkewedCornersBlendBilinearly)
{
    PicFrame f;
    f.Pictype = 2;
    f.width = 3;
    f.height = 3;
    f.lon1 = 5; f.lat1 = 46;
    f.lon2 = 7; f.lat2 = 46;
    f.lon3 = 7; f.lat3 = 45;
    f.lon4 = 5; f.lat4 = 44.5f;
    float lon, lat;
    EXPECT_TRUE(zk::pixtogeo(f, 1, 1, lon, lat));
    EXPECT_FLOAT_EQ(lon, 6);
    EXPECT_FLOAT_EQ(lat, (46 + 46 + 45 + 44.5f) / 4);
    EXPECT_TRUE(zk::pixtogeo(f, 0, 2, lon, lat));
    EXPECT_FLOAT_EQ(lon, 5);
    EXPECT_FLOAT_EQ(lat, 44.5f);
}

TEST(PixToGeo, KindsWithoutFrameWriteNothing)
{
    for (int16_t type : {0, 3, 4, 7, -1}) {
        PicFrame f = kNorthUp;
        f.Pictype = type;
        float lon = 123, lat = 456;
        EXPECT_FALSE(zk::pixtogeo(f, 10, 10, lon, lat));
        EXPECT_EQ(lon, 123);
        EXPECT_EQ(lat, 456);
    }
}

TEST(PixToGeo, OnePixelWideExtrapolatesFromMinusOne)
{
    const PicFrame f = frame(1, -10, 10, 50, 40, 1, 101);
    float lon = 0, lat = 0;
    EXPECT_FALSE(zk::pixtogeo(f, 0, 50, lon, lat));
    // u = -1: lon = lon1 * 2 - lon2.
    EXPECT_FLOAT_EQ(lon, -30);
    EXPECT_FLOAT_EQ(lat, 45);
}

TEST(PixToGeo, OverflowWritesNothing)
{
    float lon = 1, lat = 2;
    EXPECT_FALSE(zk::pixtogeo(kNorthUp, 3.0e38f, 3.0e38f, lon, lat));
    EXPECT_EQ(lon, 1);
    EXPECT_EQ(lat, 2);
    EXPECT_FALSE(zk::pixtogeo(kNorthUp, std::numeric_limits<float>::quiet_NaN(), 0, lon, lat));
    EXPECT_TRUE(std::isfinite(lon) && std::isfinite(lat));
}

TEST(PixToGeo, RoundTripOnNorthUpPicture)
{
    for (int x = 0; x <= 200; x += 7)
        for (int y = 0; y <= 100; y += 9) {
            float lon, lat, px, py;
            ASSERT_TRUE(zk::pixtogeo(kNorthUp, float(x), float(y), lon, lat));
            ASSERT_TRUE(zk::geotopix(kNorthUp, lon, lat, px, py));
            EXPECT_FLOAT_EQ(px, float(x));
            EXPECT_FLOAT_EQ(py, float(y));
        }
}

TEST(GeoToPix, NoWindowAnswersMinusOne)
{
    float x = 5, y = 5;
    EXPECT_FALSE(zk::geotopix(static_cast<const zk::frmPic *>(nullptr), 0, 0, x, y));
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    float lon = 7, lat = 8;
    EXPECT_FALSE(zk::pixtogeo(static_cast<const zk::frmPic *>(nullptr), 0, 0, lon, lat));
    EXPECT_EQ(lon, 7);
    EXPECT_EQ(lat, 8);
}

}  // namespace
