// The network file's bytes: record layouts, lengths, the round trip, the old
// layout, the map-file mark, and every way a file can be cut or carry a
// length that does not fit.
#include <gtest/gtest.h>

#include <QtEndian>

#include <bit>
#include <cmath>
#include <cstring>

#include "radio/netfile.h"

namespace {

zk::NetDocument defaults()
{
    zk::NetDocument d;
    for (int i = 1; i <= zk::kUnits; ++i) d.units[size_t(i - 1)] = zk::defaultunit(i);
    for (int i = 1; i <= zk::kSystems; ++i) d.systems[size_t(i - 1)] = zk::defaultsystem(i);
    for (int i = 1; i <= zk::kNets; ++i) d.nets[size_t(i - 1)] = zk::defaultnet(i);
    d.mapfile = "default.map";
    return d;
}

// A document with something unusual in every part.
zk::NetDocument busy()
{
    zk::NetDocument d = defaults();
    d.units[3].lon = -73.125f;
    d.units[3].lat = std::numeric_limits<float>::quiet_NaN();
    d.units[3].name[0] = char(0xE9);
    d.units[3].name[5] = '\0';
    d.systems[24].power = -0.0f;
    d.nets[12].member[49] = 255;
    d.nets[12].topology = -1;
    d.covset.thrunit = 2;
    d.covset.viscolor = 0xDEADBEEF;
    d.pictures = {QByteArray("a.bmp"), QByteArray(300, 'p'), QByteArray("\xE9t\xE9.gif")};
    for (int i = 0; i < zk::kNets * zk::kUnits; ++i) d.heights[size_t(i)] = float(i) / 8;
    for (int i = 0; i < zk::kUnits; ++i) d.icons[size_t(i)] = uint8_t(i * 5);
    return d;
}

float f32at(const QByteArray &b, int at) { return std::bit_cast<float>(qFromLittleEndian<uint32_t>(b.constData() + at)); }
int16_t i16at(const QByteArray &b, int at) { return qFromLittleEndian<int16_t>(b.constData() + at); }
uint32_t u32at(const QByteArray &b, int at) { return qFromLittleEndian<uint32_t>(b.constData() + at); }

TEST(NetFile, RecordLayouts)
{
    zk::UnitRecord u = zk::defaultunit(7);
    u.lon = 1.5f;
    u.lat = -2.5f;
    u.elev = 3.5f;
    u.transparent = -1;
    u.backcolor = 0x010203;
    const QByteArray ub = zk::packunit(u);
    ASSERT_EQ(ub.size(), 44);
    EXPECT_EQ(f32at(ub, 0), 1.5f);
    EXPECT_EQ(f32at(ub, 4), -2.5f);
    EXPECT_EQ(f32at(ub, 8), 3.5f);
    EXPECT_EQ(i16at(ub, 12), -1);
    EXPECT_EQ(i16at(ub, 14), -1);
    EXPECT_EQ(u32at(ub, 16), 0xFFFFFFu);
    EXPECT_EQ(u32at(ub, 20), 0x010203u);
    EXPECT_EQ(ub.mid(24), QByteArray("Station 07          "));

    zk::SystemRecord s = zk::defaultsystem(2);
    const QByteArray sb = zk::packsystem(s);
    ASSERT_EQ(sb.size(), 50);
    EXPECT_EQ(f32at(sb, 0), 10.0f);
    EXPECT_EQ(f32at(sb, 4), -107.0f);
    EXPECT_EQ(f32at(sb, 8), 0.5f);
    EXPECT_EQ(f32at(sb, 12), 2.0f);
    EXPECT_EQ(f32at(sb, 16), 2.0f);
    EXPECT_EQ(sb.mid(20), QByteArray("Syst\xE8me 02") + QByteArray(20, ' '));

    zk::NetRecord n = zk::defaultnet(25);
    n.member[0] = 130;
    n.maxretrans = 4;
    n.statmode = 102;
    const QByteArray nb = zk::packnet(n);
    ASSERT_EQ(nb.size(), 172);
    EXPECT_EQ(uint8_t(nb[0]), 130);
    EXPECT_EQ(uint8_t(nb[50]), 1);
    EXPECT_EQ(f32at(nb, 100), 144.0f);
    EXPECT_EQ(f32at(nb, 104), 148.0f);
    EXPECT_EQ(i16at(nb, 108), 1);
    EXPECT_EQ(f32at(nb, 110), 15.0f);
    EXPECT_EQ(f32at(nb, 114), 0.005f);
    EXPECT_EQ(f32at(nb, 118), 301.0f);
    EXPECT_EQ(i16at(nb, 122), 5);
    EXPECT_EQ(i16at(nb, 124), 102);
    EXPECT_EQ(f32at(nb, 126), 50.0f);
    EXPECT_EQ(f32at(nb, 130), 50.0f);
    EXPECT_EQ(f32at(nb, 134), 50.0f);
    EXPECT_EQ(i16at(nb, 138), 4);
    EXPECT_EQ(uint8_t(nb[140]), 0);  // voice
    EXPECT_EQ(uint8_t(nb[141]), 1);  // visible
    EXPECT_EQ(nb.mid(142), QByteArray("R\xE9seau 25") + QByteArray(21, ' '));

    zk::CoverageSettings c;
    c.rangemax = 1;
    c.azmin = 2;
    c.azmax = 3;
    c.azstep = 4;
    c.antaz = 5;
    std::memset(c.antfile, 'x', sizeof c.antfile);
    c.thrunit = 6;
    c.thrdbm = 7;
    c.surface = 8;
    c.surfcolor = 9;
    c.curve = 10;
    c.curvecolor = 11;
    c.sensorh = 12;
    c.targeth = 13;
    c.rangemin = 14;
    c.viscolor = 15;
    const QByteArray cb = zk::packcoverage(c);
    ASSERT_EQ(cb.size(), 74);
    const int floats[] = {0, 4, 8, 12, 16};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(f32at(cb, floats[k]), float(k + 1));
    EXPECT_EQ(cb.mid(20, 20), QByteArray(20, 'x'));
    EXPECT_EQ(i16at(cb, 40), 6);
    EXPECT_EQ(f32at(cb, 42), 7.0f);
    EXPECT_EQ(i16at(cb, 46), 8);
    EXPECT_EQ(u32at(cb, 48), 9u);
    EXPECT_EQ(i16at(cb, 52), 10);
    EXPECT_EQ(u32at(cb, 54), 11u);
    EXPECT_EQ(f32at(cb, 58), 12.0f);
    EXPECT_EQ(f32at(cb, 62), 13.0f);
    EXPECT_EQ(f32at(cb, 66), 14.0f);
    EXPECT_EQ(u32at(cb, 70), 15u);
}

TEST(NetFile, DefaultDocumentLengthAndSections)
{
    const QByteArray b = zk::netfilebytes(defaults());
    EXPECT_EQ(b.size(), 12893);  // 12882 + "default.map"
    EXPECT_EQ(b.left(4), QByteArray("\x00\x00\xFA\x44", 4));
    EXPECT_EQ(f32at(b, 0), 2000.0f);
    EXPECT_EQ(b.mid(zk::kUnitsAt + 24, 20), QByteArray("Station 01          "));
    EXPECT_EQ(b.mid(zk::kSystemsAt + 20, 10), QByteArray("Syst\xE8me 01"));
    EXPECT_EQ(b.mid(zk::kNetsAt + 142, 9), QByteArray("R\xE9seau 01"));
    EXPECT_EQ(i16at(b, 7828), 11);
    EXPECT_EQ(b.mid(7830, 11), QByteArray("default.map"));
    EXPECT_EQ(i16at(b, 7841), 0);  // no pictures
    EXPECT_EQ(b.mid(7843, 5050), QByteArray(5050, '\0'));
}

TEST(NetFile, RoundTripIsByteForByte)
{
    const zk::NetDocument d = busy();
    const QByteArray b = zk::netfilebytes(d);
    EXPECT_EQ(b.size(), 12882 + 11 + (2 + 5) + (2 + 300) + (2 + 7));
    zk::NetDocument back;
    const zk::NetRead r = zk::readnetfile(b, back);
    EXPECT_EQ(r.layout, zk::NetLayout::Current);
    EXPECT_FALSE(r.damaged);
    EXPECT_EQ(r.units, 50);
    EXPECT_EQ(r.systems, 25);
    EXPECT_EQ(r.nets, 25);
    EXPECT_TRUE(r.covset);
    EXPECT_TRUE(r.mapname);
    EXPECT_TRUE(r.pictures);
    EXPECT_EQ(r.heights, 1250);
    EXPECT_EQ(r.icons, 50);
    EXPECT_EQ(back.pictures, d.pictures);
    EXPECT_TRUE(std::isnan(back.units[3].lat));
    EXPECT_EQ(zk::netfilebytes(back), b);

    // Anything after the icons is ignored.
    zk::NetDocument again;
    EXPECT_FALSE(zk::readnetfile(b + QByteArray("more"), again).damaged);
    EXPECT_EQ(zk::netfilebytes(again), b);
}

TEST(NetFile, TooLongAPictureNameIsLeftOut)
{
    zk::NetDocument d = defaults();
    d.pictures = {QByteArray(40000, 'x'), QByteArray("b.bmp"), QByteArray()};
    zk::NetDocument back;
    zk::readnetfile(zk::netfilebytes(d), back);
    EXPECT_EQ(back.pictures, QList<QByteArray>{QByteArray("b.bmp")});
}

TEST(NetFile, AMapFileIsNotANetworkFile)
{
    QByteArray b("\x00\x40\x9C\x45", 4);
    b += QByteArray(20000, '\x01');
    zk::NetDocument d = defaults();
    const zk::NetDocument before = d;
    const zk::NetRead r = zk::readnetfile(b, d);
    EXPECT_EQ(r.layout, zk::NetLayout::MapFile);
    EXPECT_FALSE(r.damaged);
    EXPECT_FALSE(r.empty());
    EXPECT_EQ(zk::netfilebytes(d), zk::netfilebytes(before));
}

// Every length of a cut current-layout file: what lies before the cut is
// read, whole records only; nothing after it; never a crash.
TEST(NetFile, EveryCutOfACurrentFile)
{
    const zk::NetDocument full = busy();
    const QByteArray b = zk::netfilebytes(full);
    const qsizetype listAt = 7830 + 11;
    const qsizetype heightsAt = b.size() - 5050;
    for (qsizetype len = 0; len < b.size(); ++len) {
        zk::NetDocument d = defaults();
        const zk::NetRead r = zk::readnetfile(b.left(len), d);
        SCOPED_TRACE(len);
        ASSERT_TRUE(r.damaged);
        // A cut inside a name shows as its length running past the end.
        ASSERT_GE(r.offset, 0);
        ASSERT_LE(r.offset, len);
        if (len < 4) {
            // Too short for the mark: taken as the old layout, nothing read.
            ASSERT_TRUE(r.empty());
            continue;
        }
        ASSERT_EQ(r.layout, zk::NetLayout::Current);
        ASSERT_EQ(r.units, int(std::min<qsizetype>(50, (len - 4) / 44)));
        if (r.units > 0) ASSERT_EQ(d.units[size_t(r.units - 1)].lon, full.units[size_t(r.units - 1)].lon);
        if (r.units < 50) ASSERT_EQ(QByteArray(d.units[size_t(r.units)].name, 10), QByteArray("Station ") + QByteArray::number(r.units + 1).rightJustified(2, '0'));
        ASSERT_EQ(r.systems, len < zk::kSystemsAt ? 0 : int(std::min<qsizetype>(25, (len - zk::kSystemsAt) / 50)));
        ASSERT_EQ(r.nets, len < zk::kNetsAt ? 0 : int(std::min<qsizetype>(25, (len - zk::kNetsAt) / 172)));
        ASSERT_EQ(r.covset, len >= zk::kMapNameAt);
        ASSERT_EQ(r.mapname, len >= listAt);
        ASSERT_EQ(r.pictures, len >= heightsAt);
        if (len >= listAt && len < heightsAt) {
            // The pictures whose entries were complete are kept.
            qsizetype at = listAt, whole = 0;
            for (const QByteArray &p : full.pictures) {
                at += 2 + p.size();
                if (at <= len) ++whole;
            }
            ASSERT_EQ(d.pictures.size(), whole);
        }
        ASSERT_EQ(r.heights, len < heightsAt ? 0 : int(std::min<qsizetype>(1250, (len - heightsAt) / 4)));
        ASSERT_EQ(r.icons, len < heightsAt + 5000 ? 0 : int(len - heightsAt - 5000));
    }
}

TEST(NetFile, EveryCutOfAnOldFile)
{
    QByteArray b;
    b += char(7);
    b += char(0);
    b += "old.map";
    for (int i = 1; i <= 50; ++i) b += zk::packunit(zk::defaultunit(i));
    for (int i = 1; i <= 25; ++i) b += zk::packsystem(zk::defaultsystem(i));
    for (int i = 1; i <= 25; ++i) b += zk::packnet(zk::defaultnet(i));
    ASSERT_EQ(b.size(), 2 + 7 + 7750);
    for (qsizetype len = 0; len <= b.size(); ++len) {
        zk::NetDocument d;
        const zk::NetRead r = zk::readnetfile(b.left(len), d);
        SCOPED_TRACE(len);
        ASSERT_EQ(r.layout, zk::NetLayout::Old);
        ASSERT_EQ(r.damaged, len < b.size());
        ASSERT_EQ(r.mapname, len >= 9);
        ASSERT_EQ(r.units, len < 9 ? 0 : int(std::min<qsizetype>(50, (len - 9) / 44)));
        ASSERT_EQ(r.nets, len < 9 + 3450 ? 0 : int((len - 9 - 3450) / 172));
        ASSERT_FALSE(r.covset);
        ASSERT_EQ(r.heights, 0);
        ASSERT_EQ(r.icons, 0);
    }
}

struct LengthCase {
    const char *what;
    qsizetype at;       // where the 16-bit length lies
    int16_t value;
    int pictures;       // entries kept
    bool mapname;
};
class BadLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(BadLength, ReadsWhatComesBeforeAndSaysWhere)
{
    const LengthCase c = GetParam();
    const zk::NetDocument full = busy();
    QByteArray b = zk::netfilebytes(full);
    qToLittleEndian<int16_t>(c.value, b.data() + c.at);
    zk::NetDocument d = defaults();
    const zk::NetRead r = zk::readnetfile(b, d);
    EXPECT_TRUE(r.damaged) << c.what;
    EXPECT_TRUE(r.badlength) << c.what;
    EXPECT_EQ(r.offset, c.at) << c.what;
    EXPECT_EQ(r.units, 50);
    EXPECT_EQ(r.nets, 25);
    EXPECT_TRUE(r.covset);
    EXPECT_EQ(r.mapname, c.mapname);
    EXPECT_FALSE(r.pictures);
    EXPECT_EQ(d.pictures.size(), c.pictures);
    EXPECT_EQ(r.heights, 0);
    EXPECT_EQ(r.icons, 0);
    EXPECT_FALSE(r.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, BadLength,
                         ::testing::Values(LengthCase{"map name negative", 7828, -1, 0, false},
                                           LengthCase{"map name past the end", 7828, 32767, 0, false},
                                           LengthCase{"first picture negative", 7841, -300, 0, true},
                                           LengthCase{"second picture past the end", 7841 + 7, 30000, 1, true},
                                           LengthCase{"third picture past the end", 7841 + 7 + 302, 5100, 2, true}));

TEST(NetFile, OldLayoutBadNameLengthReadsNothing)
{
    for (int16_t n : {int16_t(-5), int16_t(9000)}) {
        QByteArray b(2, '\0');
        qToLittleEndian<int16_t>(n, b.data());
        b += QByteArray(7760, 'z');
        zk::NetDocument d;
        const zk::NetRead r = zk::readnetfile(b, d);
        EXPECT_EQ(r.layout, zk::NetLayout::Old);
        EXPECT_TRUE(r.badlength);
        EXPECT_EQ(r.offset, 0);
        EXPECT_TRUE(r.empty());
    }
}

}  // namespace
