// The datum file, UTM and MGRS, checked against GeographicLib's GeoConvert.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "map/datum.h"
#include "map/geotext.h"
#include "map/utm.h"
#include "msgbox.h"
#include "paths.h"

namespace {

constexpr const char *kAlphabet = "ABCDEFGHJKLMNPQRSTUVWXYZ";

// Loads the datum from text (null = no file).
void loadDatumText(const char *text)
{
    if (!text) {
        zk::loadellipsoidFrom(nullptr);
        return;
    }
    QByteArray bytes(text);
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    zk::loadellipsoidFrom(&buf);
}

void useDefaultDatum(int16_t offset)
{
    zk::loadellipsoid(QString());
    zk::rowoffset = offset;
}

// ---------------------------------------------------------------- datum file

struct DatumCase {
    const char *name;
    const char *file;  // null: no file
    const char *ellname;  // null: the variant's default name
    double a, b;
    int16_t offset;
};
class DatumFile : public ::testing::TestWithParam<DatumCase> {};

TEST_P(DatumFile, ValuesAndDefaults)
{
    const DatumCase &c = GetParam();
    loadDatumText(c.file);
    EXPECT_EQ(zk::ellname, c.ellname ? QString::fromUtf8(c.ellname) : zk::defaultDatumName());
    EXPECT_DOUBLE_EQ(zk::ella, c.a);
    EXPECT_DOUBLE_EQ(zk::ellb, c.b);
    EXPECT_EQ(zk::rowoffset, c.offset);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DatumFile,
    ::testing::Values(
        DatumCase{"no_file", nullptr, nullptr, 6378137.0, 6356752.314, 10},
        DatumCase{"empty_file", "", nullptr, 6378137.0, 6356752.314, 10},
        DatumCase{"full_line", "\"WGS 1984\",6378137.0,6356752.314245,0\r\n", "WGS 1984", 6378137.0, 6356752.314245, 0},
        DatumCase{"one_value_a_line", "\"Bessel 1841\"\r\n6377397.155\r\n6356078.963\r\n10\r\n", "Bessel 1841", 6377397.155,
                  6356078.963, 10},
        DatumCase{"lf_only_unquoted", "Clarke 1866\n6378206.4\n6356583.8\n10\n", "Clarke 1866", 6378206.4, 6356583.8, 10},
        DatumCase{"name_and_a_only", "\"Clarke 1880\",6378249.145\r\n", "Clarke 1880", 6378249.145, 6356752.314, 10},
        DatumCase{"leading_comma_empty_name", ",6378388,6356911.946,10\r\n", "", 6378388.0, 6356911.946, 10},
        DatumCase{"two_quotes_empty_name", "\"\"\r\n", "", 6378137.0, 6356752.314, 10},
        DatumCase{"text_that_is_no_number", "\"X\",abc,6356000,7\r\n", "X", 6378137.0, 6356000.0, 7},
        DatumCase{"empty_numbers_keep_defaults", "\"X\",,,\r\n", "X", 6378137.0, 6356752.314, 10},
        DatumCase{"offset_out_of_16_bits", "\"X\",6378137,6356752.314,99999\r\n", "X", 6378137.0, 6356752.314, 10},
        DatumCase{"offset_half_to_even", "\"X\",6378137,6356752.314,4.5\r\n", "X", 6378137.0, 6356752.314, 4},
        DatumCase{"blanks_around", "  \"Y\" , 6378137 , 6356752.314 , -3 \r\n", "Y", 6378137.0, 6356752.314, -3},
        // Axes of no ellipsoid of the Earth: the whole default datum stays.
        DatumCase{"major_axis_1e21", "\"Absurd\",1e21,6356752.314,3\r\n", nullptr, 6378137.0, 6356752.314, 10},
        DatumCase{"minor_axis_1e65", "\"Absurd\",6378137,1e65,3\r\n", nullptr, 6378137.0, 6356752.314, 10},
        DatumCase{"flattening_1_over_8", "\"Flat\",6900000,6037500,3\r\n", nullptr, 6378137.0, 6356752.314, 10},
        DatumCase{"prolate", "\"Egg\",6356752.314,6378137,3\r\n", nullptr, 6378137.0, 6356752.314, 10},
        DatumCase{"garbage_bytes", "\x01\x02\xff\xfe,\x80\x81\r\n\r\n\"", "\x01\x02\xc3\xbf\xc3\xbe", 6378137.0, 6356752.314, 10}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DatumFile, DefaultNameFollowsTheProductVariant)
{
    loadDatumText(nullptr);
    // This product's name begins with the letter of the variant that names WGS 1984.
    ASSERT_TRUE(zk::appproduct.startsWith(QLatin1Char(zk::kGridVariantLetter)));
    EXPECT_EQ(zk::ellname, "WGS 1984");
    EXPECT_EQ(zk::appproduct, QString::fromUtf8("Kestrova pour Windows"));
    EXPECT_TRUE(zk::appdescription.startsWith(QString::fromUtf8("Propagation radio et cartes virtuelles, gratuitiel\r\n")));
    EXPECT_TRUE(zk::appdescription.endsWith(zk::appcompany));
}

TEST(DatumFile, DerivedConstants)
{
    loadDatumText(nullptr);
    const double a = 6378137.0, b = 6356752.314;
    EXPECT_NEAR(zk::ele2, (a * a - b * b) / (a * a), 1e-15);
    EXPECT_NEAR(zk::elep2, zk::ele2 / (1 - zk::ele2), 1e-15);
    EXPECT_NEAR(zk::eln, (a - b) / (a + b), 1e-15);
    // The series gives the meridian arc: a quarter meridian of WGS 84 is 10001965.729 m.
    const double h = M_PI / 2;
    const double quarter = zk::arc0 * h - zk::arc1 * std::sin(2 * h) + zk::arc2 * std::sin(4 * h) - zk::arc3 * std::sin(6 * h)
                           + zk::arc4 * std::sin(8 * h);
    EXPECT_NEAR(quarter, 10001965.729, 0.01);
}

TEST(DatumFile, ConstantThatCannotBeComputedKeepsItsValue)
{
    loadDatumText(nullptr);
    const double e2 = zk::ele2, n = zk::eln, a0 = zk::arc0;
    loadDatumText("\"Zero\",0,0,0\r\n");
    EXPECT_EQ(zk::ella, 0.0);
    EXPECT_EQ(zk::ele2, e2);
    EXPECT_EQ(zk::eln, n);
    EXPECT_EQ(zk::arc0, 0.0);  // a x (...) computes: 0
    (void)a0;
    // The reader falls back to the built-in datum when an axis is 0.
    float lon = 1, lat = 1;
    EXPECT_TRUE(zk::utmtolatlon("31NEL0000000000", lon, lat));
    EXPECT_EQ(zk::ella, 6378137.0);
}

TEST(DatumFile, LoadsByNameFromTheDataFolders)
{
    QTemporaryDir prog, user;
    ASSERT_TRUE(prog.isValid() && user.isValid());
    zk::paths::setProgramFolder(prog.path());
    zk::paths::setUserFolder(user.path());
    {
        QFile f(prog.path() + "/geosys.dat");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\"International 1924\",6378388,6356911.946,10\r\n");
    }
    zk::loadellipsoid("geosys.dat");
    EXPECT_EQ(zk::ellname, "International 1924");
    EXPECT_EQ(zk::ella, 6378388.0);
    // Looked up without regard to case; missing file keeps the defaults.
    zk::loadellipsoid("GEOSYS.DAT");
    EXPECT_EQ(zk::ellname, "International 1924");
    zk::loadellipsoid("missing.dat");
    EXPECT_EQ(zk::ellname, "WGS 1984");
    EXPECT_EQ(zk::ella, 6378137.0);
    EXPECT_EQ(zk::rowoffset, 10);
    // An empty name skips the file.
    zk::loadellipsoid("");
    EXPECT_EQ(zk::ella, 6378137.0);
    zk::paths::setProgramFolder(QString());
    zk::paths::setUserFolder(QString());
}

// The hostile datum fuzzing found: an axis of 1e21 m made the MGRS reader
// convert doubles far beyond 64 bits to integers. It is refused with a
// message naming the file, and positions convert on the default datum.
TEST(DatumFile, AbsurdDatumIsRefusedWithAMessage)
{
    QTemporaryDir user;
    ASSERT_TRUE(user.isValid());
    zk::paths::setUserFolder(user.path());
    {
        QFile f(user.path() + "/geosys.dat");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\"Hostile\",1e21,1e21,0\r\n");
    }
    {
        zk::MsgScript script;
        zk::loadellipsoid("geosys.dat");
        ASSERT_EQ(script.texts().size(), 1);
        EXPECT_EQ(script.texts()[0], QString::fromUtf8("Datum refusé, le datum par défaut est gardé :\r\n") + user.path() +
                                         "/geosys.dat\r\ndemi-grand axe 1e+21 m hors des limites 6000000 à 7000000");
    }
    EXPECT_EQ(zk::ellname, "WGS 1984");
    EXPECT_EQ(zk::ella, 6378137.0);
    EXPECT_EQ(zk::ellb, 6356752.314);
    EXPECT_EQ(zk::rowoffset, 10);
    float lon = 0, lat = 0;
    EXPECT_TRUE(zk::utmtolatlon("31NEL0000000000", lon, lat));
    EXPECT_TRUE(std::isfinite(lon) && std::isfinite(lat));
    zk::paths::setUserFolder(QString());
}

TEST(DatumFile, ShippedFileIsWgs84WithCurrentLettering)
{
    const QByteArray src = qgetenv("ZK_SOURCE_DIR");
    ASSERT_FALSE(src.isEmpty()) << "ZK_SOURCE_DIR is not set: run the tests through ctest";
    QFile f(QString::fromLocal8Bit(src) + "/data/geosys.dat");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    zk::loadellipsoidFrom(&f);
    EXPECT_EQ(zk::ellname, "WGS 1984");
    EXPECT_EQ(zk::ella, 6378137.0);
    EXPECT_NEAR(zk::ellb, 6356752.314245, 1e-6);
    EXPECT_EQ(zk::rowoffset, 0);
}

// ---------------------------------------------------------------- forward

TEST(LatLonToUtm, EquatorAtCentralMeridian)
{
    useDefaultDatum(10);
    EXPECT_EQ(zk::latlontoutm(3, 0), "31N EL 00000 00000");
    EXPECT_EQ(zk::utmzone, 31);
    EXPECT_EQ(zk::utmeast, 500000);
    EXPECT_EQ(zk::utmnorth, 0);
    zk::rowoffset = 0;
    EXPECT_EQ(zk::latlontoutm(3, 0), "31N EA 00000 00000");
    // Even zones start the equator's row at F.
    EXPECT_EQ(zk::latlontoutm(9, 0.1).mid(5, 1), "F");
}

TEST(LatLonToUtm, KnownPlaces)
{
    useDefaultDatum(10);
    EXPECT_TRUE(zk::latlontoutm(2.35, 48.86).startsWith("31U DE "));
    const QString ba = zk::latlontoutm(-58.4, -34.6);
    EXPECT_TRUE(ba.startsWith("21H "));
    EXPECT_LT(zk::utmnorth, 0);
    // The text counts the northing from the southern false northing.
    EXPECT_EQ(ba.right(5), QString::number(zk::utmnorth + 10000000).right(5));
    EXPECT_EQ(zk::latlontoutm(10, 80).mid(2, 1), "X");
    EXPECT_EQ(zk::latlontoutm(10, 89.99).mid(2, 1), "X");
    EXPECT_EQ(zk::latlontoutm(10, -80).mid(2, 1), "C");
    // Zone text has at least two digits.
    EXPECT_TRUE(zk::latlontoutm(-157.86, 21.31).startsWith("04Q "));
}

TEST(LatLonToUtm, Longitude180IsZone61)
{
    useDefaultDatum(0);
    const QString west = zk::latlontoutm(-180, 10.3);
    const int32_t e = zk::utmeast, n = zk::utmnorth;
    const QString east = zk::latlontoutm(180, 10.3);
    EXPECT_EQ(zk::utmzone, 61);
    EXPECT_EQ(zk::utmeast, e);
    EXPECT_EQ(zk::utmnorth, n);
    EXPECT_EQ(east, "61" + west.mid(2));
}

TEST(LatLonToUtm, FiguresAreRoundedToTenMetres)
{
    useDefaultDatum(0);
    for (double lat = -79.7; lat < 84; lat += 9.1)
        for (double lon = -179.3; lon < 180; lon += 23.7) {
            const QString t = zk::latlontoutm(lon, lat);
            EXPECT_EQ(zk::utmeast % 10, 0);
            EXPECT_EQ(zk::utmnorth % 10, 0);
            EXPECT_EQ(t.size(), 18) << t.toStdString();
            EXPECT_TRUE(t.endsWith('0'));
            EXPECT_EQ(t[t.size() - 7], '0');
        }
}

TEST(LatLonToUtm, NumbersNoPositionHasGiveAnEmptyText)
{
    useDefaultDatum(10);
    zk::latlontoutm(3, 0);
    EXPECT_EQ(zk::latlontoutm(std::nan(""), 0), "");
    EXPECT_EQ(zk::latlontoutm(0, HUGE_VAL), "");
    EXPECT_EQ(zk::latlontoutm(1e300, 0), "");
    EXPECT_EQ(zk::utmzone, 31);  // left alone
    // Out of range but finite: a text, never a fault.
    EXPECT_FALSE(zk::latlontoutm(-200, 95).isEmpty());
    EXPECT_FALSE(zk::latlontoutm(-1000, -100).isEmpty());
}

// ---------------------------------------------------------------- GeoConvert oracle

struct Oracle {
    const char *name;
    double lon, lat;
    int zone;
    double east, north;  // m; north negative south of the equator
    const char *mgrs;    // GeoConvert, 1 m, current lettering (row offset 0)
};

const Oracle kOracle[] = {
#include "utm_oracle.inc"
};

// The row letter with the row offset applied to the current lettering.
QChar shiftedRow(QChar row0, int offset)
{
    const int i = int(std::string(kAlphabet).find(char(row0.unicode())));  // 0-based, < 20
    return QLatin1Char(kAlphabet[((i + offset) % 20 + 20) % 20]);
}

// Our figure is the oracle's rounded to 10 m; the formulas of the forward
// conversion differ from GeographicLib's by about 0.1 m at most.
constexpr double kTenMetreTolerance = 5.2;

TEST(GeoConvertTable, UtmFigures)
{
    useDefaultDatum(0);
    for (const Oracle &o : kOracle) {
        SCOPED_TRACE(o.name);
        zk::latlontoutm(o.lon, o.lat);
        EXPECT_EQ(zk::utmzone, o.zone);
        EXPECT_NEAR(zk::utmeast, o.east, kTenMetreTolerance);
        EXPECT_NEAR(zk::utmnorth, o.north, kTenMetreTolerance);
    }
}

void checkMgrsText(const Oracle &o, int offset)
{
    const QString t = zk::latlontoutm(o.lon, o.lat);
    const QString g = QString::fromLatin1(o.mgrs);  // e.g. 31UDQ5232412096
    ASSERT_EQ(t.size(), 18);
    EXPECT_EQ(t.left(3), g.left(3));       // zone and band
    EXPECT_EQ(t[4], g[3]);                 // column letter
    EXPECT_EQ(t[5], shiftedRow(g[4], offset));
    EXPECT_EQ(t[3], ' ');
    EXPECT_EQ(t[6], ' ');
    EXPECT_EQ(t[12], ' ');
    EXPECT_NEAR(t.mid(7, 5).toDouble(), std::fmod(o.east, 100000), kTenMetreTolerance + 1);
    EXPECT_NEAR(t.mid(13, 5).toDouble(), std::fmod(o.north + (o.north < 0 ? 10000000 : 0), 100000),
                kTenMetreTolerance + 1);
}

TEST(GeoConvertTable, MgrsLettersWithRowOffset0AreGeoConvertsLetters)
{
    useDefaultDatum(0);
    for (const Oracle &o : kOracle) {
        SCOPED_TRACE(o.name);
        checkMgrsText(o, 0);
    }
}

TEST(GeoConvertTable, MgrsRowLettersWithRowOffset10AreShiftedTenRows)
{
    useDefaultDatum(10);
    for (const Oracle &o : kOracle) {
        SCOPED_TRACE(o.name);
        checkMgrsText(o, 10);
    }
}

TEST(GeoConvertTable, GeoConvertReferencesReadBack)
{
    useDefaultDatum(0);
    for (const Oracle &o : kOracle) {
        SCOPED_TRACE(o.name);
        float lon = 0, lat = 0;
        if (o.lat > 80) {
            // More than 9 rows above the X band's southern row: not readable.
            EXPECT_FALSE(zk::utmtolatlon(QString::fromLatin1(o.mgrs), lon, lat));
            continue;
        }
        ASSERT_TRUE(zk::utmtolatlon(QString::fromLatin1(o.mgrs), lon, lat));
        // GeoConvert's 1 m figures are truncated: the text names the south-west
        // corner of a 1 m square, to which the reader adds its 0.00001 degree
        // north-west offsets (about 1.1 m north, up to 1.1 m west); a 32-bit
        // float longitude holds about 1 m near 180 degrees.
        const double dn = (lat - o.lat) * 111320.0;
        const double de = (lon - o.lon) * 111320.0 * std::cos(o.lat * M_PI / 180);
        EXPECT_NEAR(dn, 0.0, 3.5);
        EXPECT_NEAR(de, 0.0, 3.5);
    }
}

// ---------------------------------------------------------------- inverse

struct ReadCase {
    const char *name;
    const char *text;
    bool ok;
};
class MgrsRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MgrsRead, AcceptsOrRefuses)
{
    const ReadCase &c = GetParam();
    useDefaultDatum(10);
    float lon = 123.5f, lat = -45.25f;
    EXPECT_EQ(zk::utmtolatlon(QString::fromUtf8(c.text), lon, lat), c.ok);
    if (c.ok) {
        EXPECT_FLOAT_EQ(lon, float(3 - 0.00001));
        EXPECT_FLOAT_EQ(lat, 0.00001f);
    } else {
        EXPECT_EQ(lon, 123.5f);  // unchanged
        EXPECT_EQ(lat, -45.25f);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MgrsRead,
                         ::testing::Values(ReadCase{"packed", "31NEL0000000000", true},
                                           ReadCase{"spaced", "31 N EL 00000 00000", true},
                                           ReadCase{"lower_case_four_digits", "31nel00000000", true},
                                           ReadCase{"one_digit_each", "31NEL00", true},
                                           ReadCase{"other_characters_dropped", "31N-EL/00000.00000", true},
                                           ReadCase{"leading_zero_in_zone", "031NEL0000000000", true},
                                           ReadCase{"no_digits", "31NEL", false},
                                           ReadCase{"eleven_digits", "31NEL00000000000", false},
                                           ReadCase{"twelve_digits", "31NEL000000000000", false},
                                           ReadCase{"odd_digit_count", "31NEL000", false},
                                           ReadCase{"odd_digit_count_nine", "31NEL000000000", false},
                                           ReadCase{"zone_0", "0NEL0000000000", false},
                                           ReadCase{"zone_61", "61NEL0000000000", false},
                                           ReadCase{"three_digit_zone", "131NEL0000000000", false},
                                           ReadCase{"band_A", "31AEL0000000000", false},
                                           ReadCase{"band_B", "31BEL0000000000", false},
                                           ReadCase{"band_Y", "31YEL0000000000", false},
                                           ReadCase{"band_Z", "31ZEL0000000000", false},
                                           ReadCase{"band_I_not_a_letter", "31IEL0000000000", false},
                                           ReadCase{"no_zone", "NEL0000000000", false},
                                           ReadCase{"square_letter_I", "31NIL0000000000", false},
                                           ReadCase{"row_letter_O", "31NEO0000000000", false},
                                           ReadCase{"row_letter_W", "31NEW0000000000", false},
                                           ReadCase{"column_of_another_zone", "31NJL0000000000", false},
                                           ReadCase{"row_far_above_band", "31NEA0000000000", false},
                                           ReadCase{"square_outside_the_zone", "31NAL0000000000", false},
                                           ReadCase{"letters_among_digits", "31NEL00A000", false},
                                           ReadCase{"digit_as_square_letter", "31N1L0000000000", false},
                                           ReadCase{"zone_and_band_only", "31N", false},
                                           ReadCase{"empty", "", false},
                                           ReadCase{"junk", "\xc3\xa9\xc3\xa8!?", false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(MgrsRead, NorthOfAboutEightyCannotBeRead)
{
    useDefaultDatum(10);
    float lon = 0, lat = 0;
    EXPECT_TRUE(zk::utmtolatlon(zk::latlontoutm(15, 79), lon, lat));
    EXPECT_FALSE(zk::utmtolatlon(zk::latlontoutm(15, 82), lon, lat));
}

// Positions on a zone's edges (0 degrees among them) and just north of 64 N
// read back: the plain rules would refuse them (a D a hair above 6 or below
// 0, a band W row count one row too high).
TEST(MgrsRead, ZoneEdgesAndTheBandWEdgeReadBack)
{
    useDefaultDatum(0);
    const double lons[] = {0.0, -180.0, 179.99999, 6.0, -174.0, 120.0, 5.99999, -0.00001};
    const double lats[] = {-79.5, -60.0, -0.5, 0.5, 51.47, 64.0, 64.01, 79.0};
    for (double lon : lons)
        for (double lat : lats) {
            const QString t = zk::latlontoutm(lon, lat);
            SCOPED_TRACE(t.toStdString());
            float rlon = 0, rlat = 0;
            ASSERT_TRUE(zk::utmtolatlon(t, rlon, rlat));
            double dl = rlon - lon;
            if (dl > 180) dl -= 360;
            if (dl < -180) dl += 360;
            EXPECT_LT(std::hypot((rlat - lat) * 111320.0, dl * 111320.0 * std::cos(lat * M_PI / 180)), 10.5);
            EXPECT_GE(rlon, -180.0f);
            EXPECT_LT(rlon, 180.0f);
        }
}

TEST(MgrsRead, ShowsNoMessage)
{
    // The reader reports only by its result: nothing else to observe than the
    // answer and the unchanged variables (checked above); it never loops on
    // long input either.
    useDefaultDatum(10);
    float lon = 0, lat = 0;
    EXPECT_FALSE(zk::utmtolatlon(QString(100000, QLatin1Char('7')), lon, lat));
    EXPECT_FALSE(zk::utmtolatlon(QString(100000, QLatin1Char('A')), lon, lat));
}

// Every text the forward conversion makes reads back to within about 10 m,
// for any lettering: the 10 m rounding (up to 7.1 m), the 0.00001 degree
// offsets (up to 1.4 m) and the 32-bit floats of the result (up to 0.9 m).
class RoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(RoundTrip, WithinTenMetres)
{
    useDefaultDatum(int16_t(GetParam()));
    std::mt19937 rng(20240501u + GetParam());
    std::uniform_real_distribution<double> lonDist(-180.0, 180.0), latDist(-80.0, 79.9);
    double worst = 0;
    for (int i = 0; i < 4000; ++i) {
        const double lon = lonDist(rng), lat = latDist(rng);
        const QString t = zk::latlontoutm(lon, lat);
        float rlon = 0, rlat = 0;
        ASSERT_TRUE(zk::utmtolatlon(t, rlon, rlat)) << t.toStdString() << " " << lon << " " << lat;
        const double dn = (rlat - lat) * 111320.0;
        double dl = rlon - lon;
        if (dl > 180) dl -= 360;
        if (dl < -180) dl += 360;
        const double de = dl * 111320.0 * std::cos(lat * M_PI / 180);
        worst = std::max(worst, std::hypot(dn, de));
    }
    EXPECT_LT(worst, 10.5);
}

INSTANTIATE_TEST_SUITE_P(RowOffsets, RoundTrip, ::testing::Values(0, 10, 7, -13));

// ---------------------------------------------------------------- live cross-check

// A grid over every latitude band and both hemispheres, converted by the
// installed GeoConvert in each point's plain zone. Skipped where it is not
// installed.
std::vector<std::string> geoconvert(const std::string &args, const std::vector<std::string> &lines)
{
    QTemporaryDir dir;
    const std::string in = (dir.path() + "/in.txt").toStdString();
    FILE *f = std::fopen(in.c_str(), "w");
    if (!f) return {};
    for (const auto &l : lines) std::fprintf(f, "%s\n", l.c_str());
    std::fclose(f);
    const std::string cmd = "GeoConvert " + args + " --input-file " + in + " 2>/dev/null";
    FILE *p = popen(cmd.c_str(), "r");
    if (!p) return {};
    std::vector<std::string> out;
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) {
        std::string s(buf);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        out.push_back(s);
    }
    pclose(p);
    return out;
}

TEST(GeoConvertLive, EveryBandBothHemispheres)
{
    ASSERT_EQ(std::system("GeoConvert --version >/dev/null 2>&1"), 0)
        << "GeoConvert is missing: install the Debian package geographiclib-tools (scripts/install-deps.sh)";
    useDefaultDatum(0);
    std::map<int, std::vector<std::pair<double, double>>> byZone;
    for (double lat = -79.9; lat < 84.0; lat += 2.9)
        for (double lon = -179.95; lon < 180.0; lon += 6.7) byZone[int(std::floor((lon + 186) / 6))].push_back({lon, lat});
    int checked = 0;
    for (const auto &[zone, pts] : byZone) {
        std::vector<std::string> lines;
        char buf[64];
        for (const auto &[lon, lat] : pts) {
            std::snprintf(buf, sizeof buf, "%.6f %.6f", lat, lon);
            lines.push_back(buf);
        }
        const auto utm = geoconvert("-u -p 2 -z " + std::to_string(zone), lines);
        const auto mgrs = geoconvert("-m -p 0 -z " + std::to_string(zone), lines);
        ASSERT_EQ(utm.size(), pts.size());
        ASSERT_EQ(mgrs.size(), pts.size());
        for (size_t i = 0; i < pts.size(); ++i) {
            const auto [lon, lat] = pts[i];
            SCOPED_TRACE(lines[i] + " -> " + utm[i] + " / " + mgrs[i]);
            char hemi[8] = {};
            double e = 0, n = 0;
            ASSERT_EQ(std::sscanf(utm[i].c_str(), "%7s %lf %lf", hemi, &e, &n), 3);
            if (lat < 0) n -= 10000000;
            const QString t = zk::latlontoutm(lon, lat);
            EXPECT_EQ(zk::utmzone, zone);
            EXPECT_NEAR(zk::utmeast, e, kTenMetreTolerance);
            EXPECT_NEAR(zk::utmnorth, n, kTenMetreTolerance);
            // Letters, unless the rounding to 10 m may cross a 100-km line.
            const double em = std::fmod(e, 100000), nm = std::fmod(n + 20000000, 100000);
            if (em > 6 && em < 99994 && nm > 6 && nm < 99994) {
                const QString g = QString::fromStdString(mgrs[i]);
                EXPECT_EQ(t.left(3) + t.mid(4, 2), g.left(5));
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 3000);
}

}  // namespace
