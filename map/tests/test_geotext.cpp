// Position texts and Maidenhead locators.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstdint>
#include <limits>

#include "cp1252.h"
#include "map/datum.h"
#include "map/geotext.h"
#include "map/mapdata.h"
#include "map/utm.h"

namespace {

struct DmsCase {
    const char *name;
    double value;
    const char *text;  // UTF-8; the degree sign is one character
    double stored;     // the caller's variable afterwards
};

class LatDms : public ::testing::TestWithParam<DmsCase> {};
class LonDms : public ::testing::TestWithParam<DmsCase> {};

TEST_P(LatDms, TextAndClampInPlace)
{
    const DmsCase &c = GetParam();
    double v = c.value;
    const QString t = zk::latdms(v);
    EXPECT_EQ(t, QString::fromUtf8(c.text));
    EXPECT_EQ(t.size(), 10);
    EXPECT_DOUBLE_EQ(v, c.stored);
}

TEST_P(LonDms, TextAndWrapInPlace)
{
    const DmsCase &c = GetParam();
    double v = c.value;
    const QString t = zk::londms(v);
    EXPECT_EQ(t, QString::fromUtf8(c.text));
    EXPECT_EQ(t.size(), 11);
    EXPECT_DOUBLE_EQ(v, c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LatDms,
    ::testing::Values(DmsCase{"clamped_north", 89.5, "89°00'00\"N", 89.0},
                      DmsCase{"clamped_south", -90.0, "89°00'00\"S", -89.0},
                      DmsCase{"rounds_to_zero_is_north", -0.0001, "00°00'00\"N", -0.0001},
                      DmsCase{"south_half_degree", -45.5, "45°30'00\"S", -45.5},
                      DmsCase{"zero", 0.0, "00°00'00\"N", 0.0},
                      DmsCase{"half_second_to_even_0", 0.5 / 3600, "00°00'00\"N", 0.5 / 3600},
                      DmsCase{"one_and_half_to_even_2", 1.5 / 3600, "00°00'02\"N", 1.5 / 3600},
                      DmsCase{"two_and_half_to_even_2", 2.5 / 3600, "00°00'02\"N", 2.5 / 3600},
                      DmsCase{"south_two_and_half", -2.5 / 3600, "00°00'02\"S", -2.5 / 3600},
                      DmsCase{"forty_five_half_second", 162000.5 / 3600, "45°00'00\"N", 162000.5 / 3600},
                      DmsCase{"forty_five_one_and_half", 162001.5 / 3600, "45°00'02\"N", 162001.5 / 3600},
                      DmsCase{"seconds_carry_into_minutes", 48.0 + 59.0 / 60 + 59.6 / 3600, "49°00'00\"N",
                              48.0 + 59.0 / 60 + 59.6 / 3600},
                      DmsCase{"huge", 1e300, "89°00'00\"N", 89.0},
                      DmsCase{"minus_infinity", -std::numeric_limits<double>::infinity(), "89°00'00\"S", -89.0}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Cases, LonDms,
    ::testing::Values(DmsCase{"wraps_190", 190.0, "170°00'00\"O", -170.0},
                      DmsCase{"minus_180_stays", -180.0, "180°00'00\"O", -180.0},
                      DmsCase{"plus_180_wraps", 180.0, "180°00'00\"O", -180.0},
                      DmsCase{"zero", 0.0, "000°00'00\"E", 0.0},
                      DmsCase{"just_below_180_rounds_up", 179.99999, "180°00'00\"E", 179.99999},
                      DmsCase{"west_dms", -(73.0 + 7.0 / 60 + 24.4 / 3600), "073°07'24\"O", -(73.0 + 7.0 / 60 + 24.4 / 3600)},
                      DmsCase{"half_second_even_down", 263244.5 / 3600, "073°07'24\"E", 263244.5 / 3600},
                      DmsCase{"half_second_even_up_west", -263245.5 / 3600, "073°07'26\"O", -263245.5 / 3600},
                      DmsCase{"two_turns", 540.0, "180°00'00\"O", -180.0},
                      DmsCase{"below_two_turns", -541.0, "179°00'00\"E", 179.0},
                      DmsCase{"far_out", 1e9, "080°00'00\"O", -80.0},
                      DmsCase{"small_west_rounds_to_east", -0.0001, "000°00'00\"E", -0.0001}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Dms, AnyNumericTypeByReference)
{
    float f = 190.0f;
    EXPECT_EQ(zk::londms(f), QString::fromUtf8("170°00'00\"O"));
    EXPECT_EQ(f, -170.0f);

    int16_t i = -95;
    EXPECT_EQ(zk::latdms(i), QString::fromUtf8("89°00'00\"S"));
    EXPECT_EQ(i, -89);

    // A record field changes too (the position dialog and the datagram rely on it).
    zk::editmap.lon = 200.0f;
    zk::editmap.lat = 89.9f;
    zk::londms(zk::editmap.lon);
    zk::latdms(zk::editmap.lat);
    EXPECT_EQ(zk::editmap.lon, -160.0f);
    EXPECT_EQ(zk::editmap.lat, 89.0f);
}

TEST(Dms, NotANumberGivesATextWithoutLooping)
{
    double v = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(zk::londms(v).size(), 11);
    EXPECT_EQ(zk::latdms(v).size(), 10);
    double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(zk::londms(inf).size(), 11);
}

TEST(Dms, DegreeSignIsOneWindows1252Byte)
{
    double lat = -45.5, lon = -73.5;
    const QByteArray la = zk::toCp1252(zk::latdms(lat));
    const QByteArray lo = zk::toCp1252(zk::londms(lon));
    ASSERT_EQ(la.size(), 10);
    ASSERT_EQ(lo.size(), 11);
    EXPECT_EQ(uint8_t(la[2]), 0xB0);
    EXPECT_EQ(uint8_t(lo[3]), 0xB0);
    EXPECT_EQ(la, QByteArray("45\xB0" "30'00\"S"));
    EXPECT_EQ(lo, QByteArray("073\xB0" "30'00\"O"));
}

// Fixed character positions that other code cuts apart (1-based in the
// comments: latitude degrees 1-2, minutes 4-5, seconds 7-8, letter 10;
// longitude degrees 1-3, minutes 5-6, seconds 8-9, letter 11).
TEST(Dms, FieldPositions)
{
    double lat = 12.0 + 34.0 / 60 + 56.0 / 3600, lon = -(123.0 + 45.0 / 60 + 7.0 / 3600);
    const QString la = zk::latdms(lat), lo = zk::londms(lon);
    EXPECT_EQ(la.mid(0, 2), "12");
    EXPECT_EQ(la.mid(3, 2), "34");
    EXPECT_EQ(la.mid(6, 2), "56");
    EXPECT_EQ(la.mid(9, 1), "N");
    EXPECT_EQ(lo.mid(0, 3), "123");
    EXPECT_EQ(lo.mid(4, 2), "45");
    EXPECT_EQ(lo.mid(7, 2), "07");
    EXPECT_EQ(lo.mid(10, 1), "O");
}

struct QraCase {
    const char *name;
    float lon, lat;
    const char *locator;
};
class Qra : public ::testing::TestWithParam<QraCase> {};

TEST_P(Qra, Locator)
{
    const QraCase &c = GetParam();
    float lon = c.lon, lat = c.lat;
    EXPECT_EQ(zk::qralocator(lon, lat), QString::fromLatin1(c.locator));
    EXPECT_EQ(lon, c.lon);
    EXPECT_EQ(lat, c.lat);
}

// Checked by hand from the field, square and subsquare sizes (20° x 10°,
// 2° x 1°, 5' x 2.5').
INSTANTIATE_TEST_SUITE_P(Cases, Qra,
                         ::testing::Values(QraCase{"paris", 2.35f, 48.86f, "JN18EU"},
                                           QraCase{"south_west", -180.0f, -85.0f, "AA05AA"},
                                           QraCase{"origin", 0.0f, 0.0f, "JJ00AA"},
                                           QraCase{"montreal", -73.57f, 45.5f, "FN35FM"},
                                           QraCase{"sydney", 151.21f, -33.87f, "QF56OD"},
                                           // 89 N is 17.9 fields, 17.8999996 in 32 bits: the
                                           // last subsquare of square 8, not square 9.
                                           QraCase{"wrapped_and_clamped_falls_to_lower_square", 190.0f, 95.0f, "AR58AX"},
                                           QraCase{"just_below_180", 179.99999f, 0.0f, "RJ90XA"},
                                           QraCase{"south_pole_clamped", 10.0f, -90.0f, "JA51AA"}),
                         [](const auto &info) { return std::string(info.param.name); });

struct QraDecodeCase {
    const char *name;
    const char *text;
    double lon, lat;
};
class QraDecode : public ::testing::TestWithParam<QraDecodeCase> {};

TEST_P(QraDecode, SouthWestCorner)
{
    const QraDecodeCase &c = GetParam();
    double lon = 999, lat = 999;
    zk::qratolatlon(QString::fromLatin1(c.text), lon, lat);
    EXPECT_NEAR(lon, c.lon, 1e-9);
    EXPECT_NEAR(lat, c.lat, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QraDecode,
    ::testing::Values(QraDecodeCase{"subsquare", "JN18EU", 2.0 + 1.0 / 3, 48.0 + 5.0 / 6},
                      QraDecodeCase{"lower_case", "jn18eu", 2.0 + 1.0 / 3, 48.0 + 5.0 / 6},
                      QraDecodeCase{"blanks_around", "  jn18  ", 2.0, 48.0},
                      QraDecodeCase{"field_only", "JN", 0.0, 40.0},
                      QraDecodeCase{"one_letter", "J", 0.0, -90.0},
                      QraDecodeCase{"empty", "", -180.0, -90.0},
                      QraDecodeCase{"first", "AA00AA", -180.0, -90.0},
                      QraDecodeCase{"last", "RR99XX", 179.0 + 11.0 / 12, 89.0 + 23.0 / 24},
                      QraDecodeCase{"letters_past_R_clamped", "ZZ", 160.0, 80.0},
                      QraDecodeCase{"junk_clamped", "!~~!~!", -180.0 + 2 * 9 + 2 * 23.0 / 24, 10 * 17 - 90.0 + 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Qra, RoundTripToSubsquareCorner)
{
    for (float lat = -88.9f; lat < 89.0f; lat += 7.3f) {
        for (float lon = -179.7f; lon < 180.0f; lon += 11.9f) {
            double dlon = 0, dlat = 0;
            zk::qratolatlon(zk::qralocator(lon, lat), dlon, dlat);
            EXPECT_LE(dlon, lon + 1e-4);
            EXPECT_GT(dlon, lon - 5.0 / 60);
            EXPECT_LE(dlat, lat + 1e-4);
            EXPECT_GT(dlat, lat - 2.5 / 60);
        }
    }
}

TEST(GridLocator, FollowsTheDatumName)
{
    zk::loadellipsoid(QString());
    const QString saved = zk::ellname;
    zk::ellname.clear();
    EXPECT_EQ(zk::gridlocator(2.35f, 48.86f), "JN18EU");
    zk::ellname = QStringLiteral("WGS 1984");
    zk::rowoffset = 10;
    EXPECT_EQ(zk::gridlocator(3.0f, 0.0f), "31N EL 00000 00000");
    // No wrapping or clamping on the way to UTM: 180 stays in zone 61.
    EXPECT_TRUE(zk::gridlocator(180.0f, 10.0f).startsWith("61P"));
    zk::ellname = saved;
}

}  // namespace
