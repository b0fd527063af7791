// The text of object files, chart descriptions and map calibrations, without
// windows: field splitting (no length limit, quoted commas), label and city
// lines, track files, the editor's coordinate text, tile names, ADRG
// description fields and Quo Vadis calibration lines.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <cmath>

#include "pictures/adrg.h"
#include "pictures/objectfiles.h"
#include "pictures/quovadis.h"

namespace {

QString Q(const char *s) { return QString::fromUtf8(s); }

}  // namespace

// ---- readfields -------------------------------------------------------------

struct FieldsCase {
    const char *line;
    int count;
    std::array<const char *, 4> first;  // elements 1..4
};

class ReadFields : public ::testing::TestWithParam<FieldsCase> {};

TEST_P(ReadFields, SplitsAtCommasKeepingBlanksAndQuotes)
{
    const FieldsCase &c = GetParam();
    std::array<QString, 11> f;
    f[0] = QStringLiteral("stale");
    f[7] = QStringLiteral("stale");
    EXPECT_EQ(zk::readfields(Q(c.line), f), c.count);
    EXPECT_TRUE(f[0].isEmpty());
    for (int k = 0; k < 4; ++k) EXPECT_EQ(f[size_t(k + 1)], Q(c.first[size_t(k)])) << "field " << k + 1;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadFields,
    ::testing::Values(FieldsCase{"", 1, {"", "", "", ""}},
                      FieldsCase{"OziExplorer Track Point File Version 2.1", 1,
                                 {"OziExplorer Track Point File Version 2.1", "", "", ""}},
                      FieldsCase{" 45.5 ,-73.25,1, 100", 4, {" 45.5 ", "-73.25", "1", " 100"}},
                      FieldsCase{"\"FF\",45,73,\"Montréal\"", 4, {"\"FF\"", "45", "73", "\"Montréal\""}},
                      // A quoted field keeps its comma.
                      FieldsCase{"0,45,-73,\"Saint-Jean, Québec\",0,-1", 6, {"0", "45", "-73", "\"Saint-Jean, Québec\""}},
                      // An unclosed quote is an ordinary character.
                      FieldsCase{"0,\"45,-73", 3, {"0", "\"45", "-73", ""}},
                      FieldsCase{",,", 3, {"", "", "", ""}}));

TEST(ReadFieldsLength, LongLinesAreSplitLikeShortOnes)
{
    // The original reader gave up at 80 characters; nothing is lost here.
    for (int len : {79, 80, 81, 500}) {
        QString text(len - 12, QLatin1Char('x'));
        const QString line = QStringLiteral("FF,45,-73,") + text + QStringLiteral(",0");
        std::array<QString, 11> f;
        ASSERT_EQ(zk::readfields(line, f), 5) << len;
        EXPECT_EQ(f[4], text);
        EXPECT_EQ(f[5], QStringLiteral("0"));
    }
}

TEST(ReadFieldsLength, TwelveFieldsCountTwelveAndFillTen)
{
    std::array<QString, 11> f;
    EXPECT_EQ(zk::readfields(QStringLiteral("1,2,3,4,5,6,7,8,9,10,11,12"), f), 12);
    EXPECT_EQ(f[1], QStringLiteral("1"));
    EXPECT_EQ(f[10], QStringLiteral("10"));
}

TEST(ObjectLines, LineEndsAndCodePage)
{
    const QStringList l = zk::objectlines(QByteArray("a\r\nb\n\r\nMontr\xe9" "al"));
    ASSERT_EQ(l.size(), 4);
    EXPECT_EQ(l[0], QStringLiteral("a"));
    EXPECT_EQ(l[1], QStringLiteral("b"));
    EXPECT_EQ(l[2], QString());
    EXPECT_EQ(l[3], Q("Montréal"));
    EXPECT_EQ(zk::objectlines(QByteArray("x\r\n")).size(), 1);
}

// ---- numbers ----------------------------------------------------------------

TEST(Hex, LeadingAndWhole)
{
    EXPECT_EQ(zk::leadhex(QStringLiteral("FF")), 0xFFu);
    EXPECT_EQ(zk::leadhex(QStringLiteral(" ff ff")), 0xFFFFu);
    EXPECT_EQ(zk::leadhex(QStringLiteral("12345678AB")), 0x12345678u);
    EXPECT_EQ(zk::leadhex(QStringLiteral("xyz")), 0u);
    EXPECT_EQ(zk::leadhex(QStringLiteral("80G")), 0x80u);
    EXPECT_EQ(zk::wholehex(QStringLiteral("FFFFFF")), 0xFFFFFFu);
    EXPECT_EQ(zk::wholehex(QStringLiteral(" 0 ")), 0u);
    EXPECT_FALSE(zk::wholehex(QStringLiteral("-1")));
    EXPECT_FALSE(zk::wholehex(QStringLiteral("FFG")));
    EXPECT_FALSE(zk::wholehex(QString()));
    EXPECT_FALSE(zk::wholehex(QStringLiteral("123456789")));
}

struct FixCase {
    float x;
    const char *text;
};
class FixNbr : public ::testing::TestWithParam<FixCase> {};
TEST_P(FixNbr, FiveDecimalsAndAPoint) { EXPECT_EQ(zk::FixNbr(GetParam().x), Q(GetParam().text)); }
INSTANTIATE_TEST_SUITE_P(Values, FixNbr,
                         ::testing::Values(FixCase{45.5f, "45.50000"}, FixCase{-73.25f, "-73.25000"},
                                           FixCase{0.5f, ".50000"}, FixCase{-0.05f, "-.05000"}, FixCase{0.0f, ".00000"},
                                           FixCase{0.05f, ".05000"}, FixCase{-0.000001f, ".00000"},
                                           FixCase{180.0f, "180.00000"}, FixCase{12.345678f, "12.34568"},
                                           FixCase{-90.0f, "-90.00000"}));

TEST(PlainNumber, ShortestWithoutLeadingZero)
{
    EXPECT_EQ(zk::plainnumber(0.5), QStringLiteral(".5"));
    EXPECT_EQ(zk::plainnumber(-0.5), QStringLiteral("-.5"));
    EXPECT_EQ(zk::plainnumber(1), QStringLiteral("1"));
    EXPECT_EQ(zk::plainnumber(0), QStringLiteral("0"));
    EXPECT_EQ(zk::plainnumber(29999), QStringLiteral("29999"));
    EXPECT_EQ(zk::plainnumber(-777), QStringLiteral("-777"));
    EXPECT_EQ(zk::plainnumber(100.25), QStringLiteral("100.25"));
}

// ---- labels and cities ------------------------------------------------------

TEST(Labels, CityLineWrittenByTheUnitDialog)
{
    const auto l = zk::parselabel(Q("\"FF\",45.5,73.5,\"Montréal\""), true, false);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->colour, 0xFFu);
    EXPECT_FLOAT_EQ(l->lat, 45.5f);
    EXPECT_FLOAT_EQ(l->lon, -73.5f);
    EXPECT_EQ(l->text, Q("Montréal"));
    EXPECT_EQ(l->code, 0);
    EXPECT_TRUE(l->box);
    EXPECT_EQ(l->boxcolour, 0xFFFF00u);  // the inverse of red
    const auto t = zk::parselabel(Q("\"FF\",45.5,73.5,\"Montréal\""), true, true);
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->box);
}

struct LabelCase {
    const char *line;
    bool drawn;
    int code;
    bool box;
    uint32_t boxcolour;
    const char *text;
};
class LabelLines : public ::testing::TestWithParam<LabelCase> {};
TEST_P(LabelLines, Fields)
{
    const LabelCase &c = GetParam();
    const auto l = zk::parselabel(Q(c.line), false, true);
    ASSERT_EQ(bool(l), c.drawn);
    if (!l) return;
    EXPECT_EQ(l->code, c.code);
    EXPECT_EQ(l->box, c.box);
    if (c.box) EXPECT_EQ(l->boxcolour, c.boxcolour);
    EXPECT_EQ(l->text, Q(c.text));
}
INSTANTIATE_TEST_SUITE_P(
    Lines, LabelLines,
    ::testing::Values(LabelCase{"0,45,-73,Texte,4,-1", true, 4, false, 0, "Texte"},
                      LabelCase{"0,45,-73,Texte,2,FFFFFF", true, 2, true, 0xFFFFFF, "Texte"},
                      LabelCase{"0,45,-73,Texte,2.5,FF00FF00", true, 0, true, 0xFF00, "Texte"},
                      LabelCase{"0,45,-73, Texte ,7,zz", true, 0, false, 0, "Texte"},
                      LabelCase{"0,45,-73", false, 0, false, 0, ""},
                      LabelCase{"0,45,-73,,", true, 0, false, 0, ""},
                      // Written by the editor: a text with commas in quotes.
                      LabelCase{"FF,45.00000,-73.00000,\"Saint-Jean, Québec\",1,-1", true, 1, false, 0,
                                "Saint-Jean, Québec"},
                      // Written before: the commas still belong to the text.
                      LabelCase{"FF,45,-73,Saint-Jean, Québec, Canada,3,FF", true, 3, true, 0xFF,
                                "Saint-Jean, Québec, Canada"},
                      // Seven fields whose last two are no code and background:
                      // the first six are used.
                      LabelCase{"FF,45,-73,Nom,0,-1,extra", true, 0, false, 0, "Nom"}));

TEST(Labels, NumbersReadByTheLeadingParse)
{
    const auto l = zk::parselabel(QStringLiteral("abc, 45 .5x,-7 3,T"), false, true);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->colour, 0xABCu);
    EXPECT_FLOAT_EQ(l->lat, 45.5f);
    EXPECT_FLOAT_EQ(l->lon, -73.0f);
    const auto n = zk::parselabel(QStringLiteral("x,nord,ouest,T"), false, true);
    ASSERT_TRUE(n);
    EXPECT_EQ(n->colour, 0u);
    EXPECT_EQ(n->lat, 0.0f);
}

// ---- track files --------------------------------------------------------------

QStringList track(std::initializer_list<const char *> tail, const char *attr = "0,2,255,Test", const char *count = "3")
{
    QStringList l{QStringLiteral("OziExplorer Track Point File Version 2.1"), QStringLiteral("WGS 84"),
                  QStringLiteral("Altitude is in Feet"), QStringLiteral("Reserved 3"), Q(attr), Q(count)};
    for (const char *t : tail) l.append(Q(t));
    return l;
}

TEST(Tracks, HeaderAndPoints)
{
    const auto t = zk::readtrack(track({"45.5,-73.25,1,100,,,", "45.6,-73.35,0,200", "45.7,-73.45,1,-777"}));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->width, 2);
    EXPECT_EQ(t->colour, 255u);
    EXPECT_EQ(t->declared, 3);
    ASSERT_EQ(t->points.size(), 3u);
    EXPECT_FLOAT_EQ(t->points[0].lat, 45.5f);
    EXPECT_FLOAT_EQ(t->points[1].lon, -73.35f);
    EXPECT_TRUE(t->points[0].start);
    EXPECT_FALSE(t->points[1].start);
    EXPECT_TRUE(t->points[2].start);
    EXPECT_EQ(t->points[2].alt_ft, -777);
}

TEST(Tracks, HeaderFieldCountsDecide)
{
    EXPECT_FALSE(zk::readtrack(track({"45,-73,1"}, "0,2")));             // line 5 with two fields
    EXPECT_FALSE(zk::readtrack(track({"45,-73,1"}, "0,2,255", "12,3")));  // line 6 with two
    QStringList bad = track({"45,-73,1"});
    bad[0] = QStringLiteral("OziExplorer,Track");
    EXPECT_FALSE(zk::readtrack(bad));
    EXPECT_FALSE(zk::readtrack(QStringList{QStringLiteral("OziExplorer")}));
    const auto empty = zk::readtrack(track({}, "0,1,0,x", "0"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->points.empty());
}

TEST(Tracks, PointsRunToTheEndWhateverTheCountSays)
{
    // OziExplorer's own tools and gpsbabel write 0 as the count.
    const auto t = zk::readtrack(track({"1,2,1", "3,4,0", "5,6,0"}, "0,2,255,Test", "0"));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->points.size(), 3u);
    // A point line of fewer than three fields ends the track.
    const auto s = zk::readtrack(track({"1,2,1", "3,4", "5,6,0"}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->points.size(), 1u);
    // A long point line is a point like any other.
    const QString longline = QStringLiteral("1.00000000000000000000000000000000000,2.0000000000000000000000000000000,0,")
                             + QString(60, QLatin1Char('0'));
    QStringList l = track({"1,2,1"});
    l.append(longline);
    const auto u = zk::readtrack(l);
    ASSERT_TRUE(u);
    ASSERT_EQ(u->points.size(), 2u);
    EXPECT_FLOAT_EQ(u->points[1].lon, 2.0f);
}

// ---- tiles -------------------------------------------------------------------

TEST(Tiles, Names)
{
    EXPECT_EQ(zk::tilename(-75, 45), QStringLiteral("W075/N45"));
    EXPECT_EQ(zk::tilename(6, -1), QStringLiteral("E006/S01"));
    EXPECT_EQ(zk::tilename(180, 0), QStringLiteral("W180/N00"));
    EXPECT_EQ(zk::tilename(179, 89), QStringLiteral("E179/N89"));
    EXPECT_EQ(zk::tilename(-181, 0), QStringLiteral("E179/N00"));
}

TEST(Tiles, CoveredInLongitudeOuterOrder)
{
    const QStringList t = zk::coveredtiles({-74.3f, -72.8f, -72.8f, -74.3f}, {46.1f, 46.1f, 45.2f, 45.2f});
    EXPECT_EQ(t, (QStringList{"W075/N45", "W075/N46", "W074/N45", "W074/N46", "W073/N45", "W073/N46"}));
    const QStringList date = zk::coveredtiles({179.5f, 180.5f, 180.5f, 179.5f}, {1.5f, 1.5f, 0.5f, 0.5f});
    EXPECT_EQ(date, (QStringList{"E179/N00", "E179/N01", "W180/N00", "W180/N01"}));
    // The whole Earth, and corners that are not positions, stay bounded.
    EXPECT_EQ(zk::coveredtiles({-180, 180, 180, -180}, {90, 90, -90, -90}).size(), 360 * 181);
    EXPECT_LE(zk::coveredtiles({-1e30f, 1e30f, 1e30f, -1e30f}, {1, 1, 0, 0}).size(), 360 * 2);
    EXPECT_TRUE(zk::coveredtiles({NAN, 1, 1, 0}, {1, 1, 0, 0}).isEmpty());
}

// ---- ADRG description ------------------------------------------------------------

TEST(Adrg, PositionTexts)
{
    EXPECT_NEAR(zk::adrgposition("-0731530.00"), -73.258333, 1e-5);
    EXPECT_NEAR(zk::adrgposition("+451000.50"), 45.166806, 1e-5);
    EXPECT_NEAR(zk::adrgposition("+0060000.00"), 6.0, 1e-6);
    EXPECT_NEAR(zk::adrgposition("x0060000.00"), 6.0, 1e-6);
    EXPECT_EQ(zk::adrgposition("+abcdefghij"), 0.0f);
}

TEST(Adrg, Markers)
{
    EXPECT_EQ(zk::adrgmarker(QByteArray("xx\x1eGIN01yy"), "GIN01"), 3);
    EXPECT_EQ(zk::adrgmarker(QByteArray("xxGIN01\x1eGIN0"), "GIN01"), std::nullopt);
    EXPECT_EQ(zk::adrgmarker(QByteArray("x\0\x1eGIN01", 8), "GIN01"), std::nullopt);
    EXPECT_EQ(zk::adrgmarker(QByteArray(), "VTH01"), std::nullopt);
}

// A general information file with the fields at their places after GIN01.
QByteArray genfile(const char *a, const char *b, const char *rows, const char *cols, char flag, const QByteArray &table)
{
    QByteArray g(300, ' ');
    g.replace(0, 6, "\x1eGIN01");
    const int G = 1;
    g.replace(G + 136, 8, a);
    g.replace(G + 144, 8, b);
    g.replace(G + 152, 11, "+0060000.00");
    g.replace(G + 163, 10, "+460000.00");
    g.replace(G + 262, 3, rows);
    g.replace(G + 265, 3, cols);
    g.replace(G + 285, 12, "ABCDEF01.IMG");
    g[G + 297] = flag;
    g.truncate(G + 298);
    g += "\x1e" "Red  0000000000\x1e";
    g += table;
    g += "\x1e";
    return g;
}

TEST(Adrg, GeneralInformation)
{
    QString why;
    const auto g = zk::readadrggen(genfile("00360000", "00360000", "002", "003", 'Y', "000010000200000000040000500006"), &why);
    ASSERT_TRUE(g) << why.toStdString();
    EXPECT_DOUBLE_EQ(g->dx, 1000);
    EXPECT_FLOAT_EQ(g->lon, 6.0f);
    EXPECT_FLOAT_EQ(g->lat, 46.0f);
    EXPECT_EQ(g->rows, 2);
    EXPECT_EQ(g->cols, 3);
    EXPECT_TRUE(g->table);
    EXPECT_EQ(g->tiles, (std::vector<int16_t>{1, 2, 0, 4, 5, 6}));
    EXPECT_EQ(g->image, QByteArray("ABCDEF01.IMG"));

    const auto n = zk::readadrggen(genfile("00360000", "00360000", "002", "002", 'N', ""), &why);
    ASSERT_TRUE(n);
    EXPECT_FALSE(n->table);
    EXPECT_EQ(n->tiles, (std::vector<int16_t>{1, 2, 3, 4}));
    // A lower-case n is a tile table flag like any other.
    EXPECT_FALSE(zk::readadrggen(genfile("00360000", "00360000", "002", "002", 'n', ""), &why));
}

TEST(Adrg, TileCountsAreClamped)
{
    QString why;
    for (const char *c : {"000", "abc"}) {
        const auto g = zk::readadrggen(genfile("00360000", "00360000", c, c, 'N', ""), &why);
        ASSERT_TRUE(g);
        EXPECT_EQ(g->rows, 1);
        EXPECT_EQ(g->cols, 1);
    }
    const auto big = zk::readadrggen(genfile("00360000", "00360000", "999", "001", 'N', ""), &why);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->rows, 999);
}

struct GenRefusal {
    QByteArray bytes;
    const char *why;
};
class AdrgRefusals : public ::testing::TestWithParam<GenRefusal> {};
TEST_P(AdrgRefusals, RefusedWithAReason)
{
    QString why;
    EXPECT_FALSE(zk::readadrggen(GetParam().bytes, &why));
    EXPECT_TRUE(why.contains(Q(GetParam().why))) << why.toStdString();
}
INSTANTIATE_TEST_SUITE_P(
    Files, AdrgRefusals,
    ::testing::Values(GenRefusal{QByteArray(400, ' '), "GIN01"},
                      GenRefusal{genfile("00000000", "00360000", "001", "001", 'N', ""), "échelle"},
                      GenRefusal{genfile("00360000", "   abc  ", "001", "001", 'N', ""), "échelle"},
                      GenRefusal{genfile("-0000360", "00360000", "001", "001", 'N', ""), "échelle"},
                      GenRefusal{genfile("00360000", "00360000", "001", "002", 'Y', "00001"), "tronquée"},
                      GenRefusal{genfile("00360000", "00360000", "001", "001", 'Y', "99999"), "hors limites"},
                      GenRefusal{genfile("00360000", "00360000", "999", "999", 'N', ""), "32767"},
                      GenRefusal{QByteArray("\x1eGIN01 short"), "tronqué"}));

// ---- Quo Vadis calibration ------------------------------------------------------

TEST(GifCalibration, FileName)
{
    EXPECT_EQ(zk::gifcalname(QStringLiteral("d:/maps/alps.gif")), QStringLiteral("d:/maps/alps_gif.cal"));
    EXPECT_EQ(zk::gifcalname(QStringLiteral("Alps.GIF")), QStringLiteral("Alps_gif.cal"));
    EXPECT_EQ(zk::gifcalname(QStringLiteral("gif")), QString());
}

TEST(GifCalibration, ValuesFromTheEndOfTheLine)
{
    EXPECT_EQ(zk::gifcalvalue(QStringLiteral("c1_x 1234")), 1234);
    EXPECT_DOUBLE_EQ(zk::gifcalvalue(QStringLiteral("c1_lat 45,25")), 45.25);
    EXPECT_EQ(zk::gifcalvalue(QStringLiteral("twipsx=15")), 0);
    EXPECT_DOUBLE_EQ(zk::gifcalvalue(QStringLiteral("c2_lon -7.5")), -7.5);
    EXPECT_DOUBLE_EQ(zk::gifcalvalue(QStringLiteral("c2_lon = 1.5e+1")), 15);
}

TEST(GifCalibration, Keys)
{
    const zk::GifCalibration c = zk::parsegifcal(
        "  TWIPSX 15\r\ntwipsy 16\r\nC5_X 1234\r\nc5 y 99.5\r\nc2_lon 7,5\r\nc3_lat 44\r\nc2lat 12\r\n"
        "c0_x 10\r\nc4_lat 45\r\nca_x 10\r\nc1_x 1\r\nc1_x 2\r\nc6x 3\r\n");
    EXPECT_EQ(c.twipsx, 15);
    EXPECT_EQ(c.twipsy, 16);
    EXPECT_EQ(c.calx[5], 1234);
    EXPECT_EQ(c.caly[5], 100);  // 99.5 rounds to the even 100
    EXPECT_FLOAT_EQ(c.callon[2], 7.5f);
    EXPECT_FLOAT_EQ(c.callat[3], 44.0f);
    EXPECT_EQ(c.calx[1], 2);  // a later line wins
    EXPECT_FALSE(c.hasX[6]);
    EXPECT_FALSE(c.hasLat[1]);
    EXPECT_FALSE(c.hasLat[2]);  // "c2lat": the key starts at the fourth character
    EXPECT_TRUE(c.error.isEmpty());
    EXPECT_FALSE(zk::parsegifcal("c1_x 1e12\r\n").error.isEmpty());
}

// A complete calibration: points 1000 twips apart, 15 twips a pixel.
zk::GifCalibration linearcal()
{
    zk::GifCalibration c;
    c.twipsx = c.twipsy = 15;
    c.hasTwipsx = c.hasTwipsy = true;
    for (int n = 1; n <= 9; ++n) {
        c.calx[size_t(n)] = 15 * (10 + 40 * ((n - 1) % 3));
        c.caly[size_t(n)] = 15 * (10 + 30 * ((n - 1) / 3));
        c.hasX[size_t(n)] = c.hasY[size_t(n)] = true;
    }
    for (int n = 1; n <= 3; ++n) {
        c.callat[size_t(n)] = 46.0f - float(n);
        c.callon[size_t(n)] = 5.0f + float(n);
        c.hasLat[size_t(n)] = c.hasLon[size_t(n)] = true;
    }
    return c;
}

TEST(GifCalibration, Checks)
{
    EXPECT_EQ(zk::checkgifcal(linearcal(), 100, 80), QString());
    auto c = linearcal();
    c.hasTwipsx = false;
    EXPECT_FALSE(zk::checkgifcal(c, 100, 80).isEmpty());
    c = linearcal();
    c.twipsy = 0;
    EXPECT_FALSE(zk::checkgifcal(c, 100, 80).isEmpty());
    c = linearcal();
    c.hasY[7] = false;
    EXPECT_TRUE(zk::checkgifcal(c, 100, 80).contains(QStringLiteral("c7_y")));
    c = linearcal();
    c.calx[2] = c.calx[1];  // two points of the top edge of cell 1-2-5-4 at one x
    EXPECT_FALSE(zk::checkgifcal(c, 100, 80).isEmpty());
    c = linearcal();
    c.callon[3] = c.callon[2];
    EXPECT_FALSE(zk::checkgifcal(c, 100, 80).isEmpty());
    // The points lie beyond a GIF that is too small.
    EXPECT_FALSE(zk::checkgifcal(linearcal(), 50, 80).isEmpty());
}

// ---- damaged input -----------------------------------------------------------

TEST(DamagedInput, RandomBytesNeverCrashTheReaders)
{
    // Random bytes, and a valid general information file and track with
    // random bytes changed: every reader answers, nothing more.
    uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    const QByteArray gen = genfile("00360000", "00360000", "002", "003", 'Y', "000010000200003000040000500006");
    const QByteArray plt = "OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\nReserved 3\r\n"
                           "0,2,255,x\r\n2\r\n45.5,-73.25,1,100\r\n\"45.6\",-73.35,0,200\r\n";
    for (int round = 0; round < 400; ++round) {
        QByteArray b;
        if (round % 3 == 0) {
            const int n = int(next() % 600);
            for (int k = 0; k < n; ++k) b += char(next() & 0xFF);
        } else {
            b = round % 3 == 1 ? gen : plt;
            for (int k = 0; k < 1 + int(next() % 8); ++k) b[int(next() % uint32_t(b.size()))] = char(next() & 0xFF);
            if (next() % 4 == 0) b.truncate(int(next() % uint32_t(b.size())));
        }
        QString why;
        (void)zk::readadrggen(b, &why);
        const QStringList lines = zk::objectlines(b);
        (void)zk::readtrack(lines);
        for (const QString &l : lines) {
            (void)zk::parselabel(l, round % 2 == 0, round % 4 == 0);
            std::array<QString, 11> f;
            EXPECT_GE(zk::readfields(l, f), 1);
        }
        const zk::GifCalibration c = zk::parsegifcal(b);
        (void)zk::checkgifcal(c, 100, 80);
        (void)zk::adrgposition(b.left(11));
    }
}
