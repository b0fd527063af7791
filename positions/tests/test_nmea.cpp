// NMEA: the sentence assembler and its checksum, the reading of $GPRMC
// fixes and the sentence the simulated GPS writes.
#include <gtest/gtest.h>

#include <QString>

#include <cstdio>
#include <string>
#include <vector>

#include "positions/nmea.h"
#include "positions/serialgps.h"

using namespace zk::positions;

namespace {

// The textbook fix (its checksum 6A is the one NMEA documents print).
const std::string kFix = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n";

// "$" + body + "*" + the right checksum.
std::string sentence(const std::string &body, bool lower = false)
{
    unsigned x = 0;
    for (char c : body) x ^= uint8_t(c);
    char hex[4];
    std::snprintf(hex, sizeof hex, lower ? "%02x" : "%02X", x);
    return "$" + body + "*" + hex + "\r\n";
}

std::vector<std::string> feedall(NmeaAssembler &a, const std::string &bytes)
{
    std::vector<std::string> out;
    a.feed(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(),
           [&](const std::string &s) { out.push_back(s); });
    return out;
}

std::vector<std::string> feedall(const std::string &bytes)
{
    NmeaAssembler a;
    return feedall(a, bytes);
}

}  // namespace

TEST(NmeaAssembler, ValidSentenceStoredWithoutStar)
{
    const auto got = feedall(kFix);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W6A");
}

TEST(NmeaAssembler, ChecksumCases)
{
    EXPECT_EQ(feedall(sentence("GPGGA,1,2,3", true)).size(), 1u) << "lower-case digits";
    std::string wrong = kFix;
    wrong[wrong.size() - 3] = 'B';
    EXPECT_TRUE(feedall(wrong).empty());
    EXPECT_TRUE(feedall("$GPRMC,123519,A\r\n").empty()) << "no star";
    EXPECT_TRUE(feedall("$*\r\n").empty()) << "no digits";
    EXPECT_TRUE(feedall("$AB*0\r\n").empty()) << "one digit";
}

TEST(NmeaAssembler, StrayCarriageReturnDoesNotRepeatTheSentence)
{
    NmeaAssembler a;
    EXPECT_EQ(feedall(a, kFix + "\r\r\n\r").size(), 1u);
    EXPECT_EQ(feedall(a, "\r").size(), 0u);
    EXPECT_EQ(feedall(a, kFix).size(), 1u);
}

TEST(NmeaAssembler, SentencesAcrossReadsAndTwoInOneRead)
{
    NmeaAssembler a;
    EXPECT_TRUE(feedall(a, kFix.substr(0, 20)).empty());
    EXPECT_EQ(feedall(a, kFix.substr(20) + sentence("GPGSA,A,3")).size(), 2u);
    EXPECT_TRUE(feedall(a, "garbage before a dollar\r\n").empty());
}

TEST(NmeaAssembler, ControlBytesCountButAreNotStored)
{
    const std::string body = std::string("GPX,1") + char(1) + "2";
    const auto got = feedall(sentence(body));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].substr(0, 7), "$GPX,12");
}

TEST(NmeaAssembler, LengthLimit)
{
    // 76 characters between "$" and "*": 82 with "*hh" and CR LF, the NMEA
    // limit, and it fits.
    EXPECT_EQ(feedall(sentence(std::string(76, 'A'))).size(), 1u);
    // Too long: the checksum digits no longer fit in the stored text.
    EXPECT_TRUE(feedall(sentence(std::string(79, 'B'))).empty());
    NmeaAssembler a;
    feedall(a, "$" + std::string(500, 'C') + "*00\r");
    EXPECT_LE(a.sentence().size(), NmeaAssembler::kMaxText);
}

TEST(Gprmc, TextbookFix)
{
    const auto f = readgprmc(feedall(kFix).at(0));
    ASSERT_TRUE(f);
    // The third decimal of the minutes is not read.
    EXPECT_NEAR(f->lat, 48 + 7.03 / 60, 1e-12);
    EXPECT_NEAR(f->lon, 11 + 31.0 / 60, 1e-12);
    EXPECT_EQ(f->time, "12:35:19");
    EXPECT_EQ(fixtext(QString::fromStdString(f->time), f->speed_kmh, f->course_deg),
              QString::fromUtf8("12:35:19UTC 041.5km/hr 084.4°"));
}

struct FieldCase {
    const char *what;
    const char *body;  // after "$GPRMC,"
    bool moves;
    double lat, lon;
};

class GprmcFields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(GprmcFields, Reads)
{
    const FieldCase &c = GetParam();
    const auto f = readgprmc(std::string("$GPRMC,") + c.body);
    ASSERT_EQ(bool(f), c.moves) << c.what;
    if (!f) return;
    EXPECT_NEAR(f->lat, c.lat, 1e-9) << c.what;
    EXPECT_NEAR(f->lon, c.lon, 1e-9) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GprmcFields,
    ::testing::Values(
        FieldCase{"void status used", "123519,V,4807.038,N,01131.000,E,,,", true, 48 + 7.03 / 60, 11 + 31.0 / 60},
        FieldCase{"empty E/W is west", "1,A,4807.038,N,01131.000,,,,", true, 48 + 7.03 / 60, -(11 + 31.0 / 60)},
        FieldCase{"empty N/S is north", "1,A,4807.038,,01131.000,E,,,", true, 48 + 7.03 / 60, 11 + 31.0 / 60},
        FieldCase{"south and west", "1,A,0030.00,S,07315.00,W,,,", true, -0.5, -73.25},
        FieldCase{"whole minutes", "1,A,4807,N,01131,E", true, 48 + 7 / 60.0, 11 + 31 / 60.0},
        FieldCase{"poles and antimeridian", "1,A,9000.00,S,18000.00,W", true, -90, -180},
        FieldCase{"empty latitude", "1,A,,N,01131.000,E,,,", false, 0, 0},
        FieldCase{"empty longitude", "1,A,4807.038,N,,E,,,", false, 0, 0},
        FieldCase{"letter in latitude", "1,A,48O7.038,N,01131.000,E", false, 0, 0},
        FieldCase{"two points", "1,A,4807.0.38,N,01131.000,E", false, 0, 0},
        FieldCase{"sign", "1,A,-4807.038,N,01131.000,E", false, 0, 0},
        FieldCase{"blank", "1,A, 4807.038,N,01131.000,E", false, 0, 0},
        FieldCase{"degrees only", "1,A,48,N,011,E", false, 0, 0},
        FieldCase{"latitude 91", "1,A,9100.000,N,01131.000,E", false, 0, 0},
        FieldCase{"latitude past 90", "1,A,9000.010,N,01131.000,E", false, 0, 0},
        FieldCase{"minutes 60", "1,A,4860.000,N,01131.000,E", false, 0, 0},
        FieldCase{"longitude 181", "1,A,4807.038,N,18100.000,E", false, 0, 0},
        FieldCase{"point in the degrees", "1,A,4.07038,N,01131.000,E", false, 0, 0},
        FieldCase{"no fields", "", false, 0, 0}));

TEST(Gprmc, OtherSentencesIgnored)
{
    EXPECT_FALSE(readgprmc("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"));
    EXPECT_FALSE(readgprmc("$GNRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4"));
    EXPECT_FALSE(readgprmc("$GPRM"));
    EXPECT_FALSE(readgprmc(""));
}

TEST(Gprmc, SpeedCourseAndTime)
{
    auto f = readgprmc("$GPRMC,235959.99,A,4807.038,N,01131.000,E,999,-5,");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->time, "23:59:59") << "a fraction of a second is left out";
    EXPECT_DOUBLE_EQ(f->speed_kmh, 999);
    EXPECT_DOUBLE_EQ(f->course_deg, 0);
    EXPECT_EQ(fixtext(QString::fromStdString(f->time), f->speed_kmh, f->course_deg),
              QString::fromUtf8("23:59:59UTC 999.0km/hr 000.0°"));
    f = readgprmc("$GPRMC,5,A,4807.038,N,01131.000,E,x,361");
    EXPECT_EQ(f->time, "00:00:05");
    EXPECT_DOUBLE_EQ(f->speed_kmh, 0);
    EXPECT_DOUBLE_EQ(f->course_deg, 360);
}

TEST(GprmcWriter, SouthWestExample)
{
    UtcStamp t;
    t.hour = 7;
    t.minute = 5;
    t.second = 9;
    t.day = 3;
    t.month = 11;
    t.year = 2024;
    const std::string s = formatgprmc(-73.25, -0.5, t);
    EXPECT_EQ(s.substr(0, s.size() - 4), "$GPRMC,070509,A,0030.00,S,07315.00,W,,,031124,016.2,W*");
    EXPECT_EQ(s.substr(s.size() - 2), "\r\n");
    EXPECT_EQ(feedall(s).size(), 1u) << "its own checksum is right";
}

TEST(GprmcWriter, MinutesCarryIntoDegrees)
{
    const std::string s = formatgprmc(-(10 + 59.9996 / 60), 45 + 59.996 / 60, UtcStamp());
    EXPECT_NE(s.find(",A,4600.00,N,01100.00,W,"), std::string::npos) << s;
    EXPECT_EQ(s.find("60.00"), std::string::npos) << s;
}

TEST(GprmcWriter, ReadsBackWithinRounding)
{
    for (double lat : {0.0, 12.3456789, -33.999999, 89.99, -89.2})
        for (double lon : {0.0, 5.123, -5.123, 179.9999, -179.25, 200.0}) {
            const std::string s = formatgprmc(lon, lat, UtcStamp());
            const auto got = feedall(s);
            ASSERT_EQ(got.size(), 1u) << s;
            const auto f = readgprmc(got[0]);
            ASSERT_TRUE(f) << s;
            const double wantLon = lon >= 180 ? lon - 360 : lon;
            EXPECT_NEAR(f->lat, lat, 0.005 / 60 + 1e-9) << s;
            EXPECT_NEAR(f->lon, wantLon, 0.005 / 60 + 1e-9) << s;
        }
}
