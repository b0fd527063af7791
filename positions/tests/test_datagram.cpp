// The position datagram: its exact bytes as sent, and the reader's
// refusal of anything that is not a well-formed datagram.
#include <gtest/gtest.h>

#include <QByteArray>

#include <cstring>
#include <string>

#include "positions/datagram.h"
#include "positions/sharing.h"
#include "radio/radiodata.h"

using namespace zk::positions;

namespace {

std::optional<PositionDatagram> parse(const std::string &s)
{
    return parsedatagram(reinterpret_cast<const uint8_t *>(s.data()), s.size());
}

// A valid datagram with "\xB0" (the degree sign in Windows-1252).
const std::string kGood = "07 011\xB0" "31'00\"E 48\xB0" "07'02\"N Relais Nord         ";

zk::UnitRecord unit(float lon, float lat, const char *name)
{
    zk::UnitRecord u;
    u.lon = lon;
    u.lat = lat;
    std::memset(u.name, ' ', sizeof u.name);
    std::memcpy(u.name, name, std::min(std::strlen(name), sizeof u.name));
    return u;
}

}  // namespace

TEST(Datagram, GoodDatagramIsRead)
{
    ASSERT_EQ(kGood.size(), kDatagramSize);
    const auto d = parse(kGood);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->unit, 7);
    EXPECT_NEAR(d->lon, 11 + 31 / 60.0, 1e-12);
    EXPECT_NEAR(d->lat, 48 + 7 / 60.0 + 2 / 3600.0, 1e-12);
    EXPECT_EQ(std::string(d->name, 20), "Relais Nord         ");
}

TEST(Datagram, HemisphereLetters)
{
    // Anything but "E" is west, anything but "N" is south.
    for (char e : {'O', 'W', 'e', ' '}) {
        std::string s = kGood;
        s[13] = e;
        ASSERT_TRUE(parse(s));
        EXPECT_LT(parse(s)->lon, 0) << e;
    }
    std::string s = kGood;
    s[24] = 'n';
    EXPECT_LT(parse(s)->lat, 0);
}

TEST(Datagram, LongerDatagramReadsTheFirst46Bytes)
{
    const auto d = parse(kGood + "[10.0.0.1] 12:00:00");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->unit, 7);
}

struct BadCase {
    const char *what;
    size_t at;
    std::string put;
};

class DatagramRefused : public ::testing::TestWithParam<BadCase> {};

TEST_P(DatagramRefused, ChangesNothing)
{
    const BadCase &c = GetParam();
    std::string s = kGood;
    s.replace(c.at, c.put.size(), c.put);
    EXPECT_FALSE(parse(s)) << c.what << ": " << s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DatagramRefused,
    ::testing::Values(BadCase{"unit 00", 0, "00"}, BadCase{"unit 51", 0, "51"}, BadCase{"unit 99", 0, "99"},
                      BadCase{"unit blank", 0, " 7"}, BadCase{"unit sign", 0, "-1"},
                      BadCase{"longitude letter", 4, "x"}, BadCase{"longitude 181", 3, "181"},
                      BadCase{"longitude 180 and a second", 3, "180\xB0" "00'01"},
                      BadCase{"longitude minutes 60", 7, "60"}, BadCase{"longitude seconds 60", 10, "60"},
                      BadCase{"latitude 91", 15, "91"}, BadCase{"latitude 90 and a minute", 15, "90\xB0" "01"},
                      BadCase{"latitude minutes 7x", 18, "7x"}, BadCase{"latitude seconds blank", 21, " 1"},
                      BadCase{"NUL in the name", 30, std::string(1, '\0')}, BadCase{"CR in the name", 45, "\r"},
                      BadCase{"escape in the name", 26, "\x1b"}, BadCase{"DEL in the name", 40, "\x7f"}));

TEST(Datagram, ShortDatagramsAreRefused)
{
    for (size_t n = 0; n < kDatagramSize; ++n) EXPECT_FALSE(parse(kGood.substr(0, n))) << n;
    EXPECT_FALSE(parsedatagram(nullptr, 46));
}

TEST(Datagram, LimitsAreAccepted)
{
    EXPECT_TRUE(parse("50 180\xB0" "00'00\"O 90\xB0" "00'00\"S 12345678901234567890"));
    EXPECT_TRUE(parse("01 000\xB0" "00'00\"E 00\xB0" "00'00\"N \xE9t\xE9 \x80\xFF              "));
}

TEST(DatagramText, ExactBytes)
{
    const zk::UnitRecord u = unit(float(11 + 31 / 60.0), float(-(48 + 7 / 60.0 + 2 / 3600.0)), "Relais");
    const QByteArray b = positiondatagram(7, u);
    ASSERT_EQ(b.size(), 46);
    EXPECT_EQ(b, QByteArray("07 011\xB0" "31'00\"E 48\xB0" "07'02\"S Relais              "));
    EXPECT_EQ(uint8_t(b[6]), 0xB0);
}

TEST(DatagramText, FormattingLeavesTheRecordAlone)
{
    // The texts clamp a latitude to 89 and wrap a longitude of 190; the
    // stored position stays as it was.
    const zk::UnitRecord u = unit(190.0f, 89.5f, "A");
    zk::UnitRecord copy = u;
    const QByteArray b = positiondatagram(12, copy);
    EXPECT_EQ(b.left(26), QByteArray("12 170\xB0" "00'00\"O 89\xB0" "00'00\"N "));
    EXPECT_EQ(copy.lon, 190.0f);
    EXPECT_EQ(copy.lat, 89.5f);
}

TEST(DatagramText, WrittenDatagramsReadBack)
{
    const float lons[] = {0.0f, -0.0001f, 179.99995f, -179.5f, 73.123456f, -45.0f};
    const float lats[] = {0.0f, -0.0001f, 88.99999f, -89.0f, 12.3456f};
    for (float lon : lons)
        for (float lat : lats) {
            const QByteArray b = positiondatagram(3, unit(lon, lat, "X"));
            const auto d = parsedatagram(reinterpret_cast<const uint8_t *>(b.constData()), size_t(b.size()));
            ASSERT_TRUE(d) << b.toStdString();
            // Within half a second of 180 E reads as 180 E.
            EXPECT_NEAR(d->lon, lon, 0.5 / 3600 + 1e-6) << lon;
            EXPECT_NEAR(d->lat, lat, 0.5 / 3600 + 1e-6) << lat;
        }
}
