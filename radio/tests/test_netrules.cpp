// The plain rules behind the network and station dialogs: the link-colour
// bytes and the Style tab, the microvolt threshold, the predefined-systems
// file and the line a station adds to the cities file.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QLocale>

#include <cmath>

#include "map/frmCity.h"
#include "radio/frmUnit.h"
#include "radio/linkcolors.h"
#include "radio/radiodata.h"
#include "radio/radiosys.h"

namespace {

using Rules = std::array<uint8_t, 3>;

class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale &l) { QLocale::setDefault(l); }
    ~LocaleGuard() { QLocale::setDefault(QLocale::c()); }
};

zk::LinkStyleTab tab(const char *yellow, const char *green, bool red, bool yel, bool grn, bool opaque)
{
    zk::LinkStyleTab t;
    t.yellow = QString::fromUtf8(yellow);
    t.green = QString::fromUtf8(green);
    t.draw = {red, yel, grn};
    t.opaque = opaque;
    return t;
}

QStringList linesOf(const QByteArray &bytes)
{
    QBuffer b;
    b.setData(bytes);
    b.open(QIODevice::ReadOnly);
    return zk::radiosyslines(b);
}

}  // namespace

// ------------------------------------------------------------ link colours

TEST(LinkColors, ResetValuesShowAndStoreBack)
{
    const Rules reset{175, 181, 129};
    const zk::LinkStyleTab t = zk::linkstyletab(reset);
    EXPECT_EQ(t.yellow, QStringLiteral("-3"));
    EXPECT_EQ(t.green, QStringLiteral("3"));
    EXPECT_TRUE(t.draw[0] && t.draw[1] && t.draw[2]);
    EXPECT_TRUE(t.opaque);
    EXPECT_EQ(zk::storelinkstyle(t, reset), reset);
}

struct StyleCase {
    const char *what;
    zk::LinkStyleTab tab;
    Rules before;
    Rules after;
};

class LinkColorStore : public testing::TestWithParam<StyleCase> {};

TEST_P(LinkColorStore, Stores)
{
    const StyleCase &c = GetParam();
    const Rules got = zk::storelinkstyle(c.tab, c.before);
    EXPECT_EQ(int(got[0]), int(c.after[0])) << c.what;
    EXPECT_EQ(int(got[1]), int(c.after[1])) << c.what;
    EXPECT_EQ(int(got[2]), int(c.after[2])) << c.what;
}

const Rules kReset{175, 181, 129};

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkColorStore,
    testing::Values(
        StyleCase{"yellow limited to green", tab("10", "5", true, true, true, true), kReset, {55 | 128, 55 | 128, 129}},
        StyleCase{"green at its low limit", tab("-60", "-60", true, true, true, false), kReset, {1 | 128, 1 | 128, 128}},
        StyleCase{"green at its high limit", tab("-3", "70", true, true, true, true), kReset, {47 | 128, 99 | 128, 129}},
        StyleCase{"red off keeps its threshold", tab("-3", "3", false, true, true, true), kReset, {47, 53 | 128, 129}},
        StyleCase{"nothing drawn, transparent", tab("-3", "3", false, false, false, false), kReset, {47, 53, 0}},
        StyleCase{"halves to the even whole", tab("-2.5", "3.5", true, true, true, true), kReset, {48 | 128, 54 | 128, 129}},
        StyleCase{"yellow just below green", tab("2.4", "3", true, true, true, true), kReset, {52 | 128, 53 | 128, 129}},
        // A threshold that is not a number keeps its threshold bits; its
        // colour switch is written as the box shows it.
        StyleCase{"yellow not a number, red off", tab("abc", "3", false, true, true, true), kReset, {47, 53 | 128, 129}},
        StyleCase{"yellow empty, red on", tab("", "3", true, true, true, true), {47, 181, 129}, {47 | 128, 53 | 128, 129}},
        StyleCase{"green not a number, yellow off", tab("-3", "x", true, false, true, true), kReset, {47 | 128, 53, 129}},
        // With the green threshold kept, yellow still never passes it.
        StyleCase{"green kept limits yellow", tab("20", "x", true, true, true, true), kReset, {53 | 128, 53 | 128, 129}}));

TEST(LinkColors, ThresholdsUnderACommaLocale)
{
    LocaleGuard g(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(zk::storelinkstyle(tab("-2,5", "3,5", true, true, true, true), kReset), (Rules{48 | 128, 54 | 128, 129}));
    // A point is not this locale's decimal separator: not a number.
    EXPECT_EQ(zk::storelinkstyle(tab("-2.5", "3", false, true, true, true), kReset), (Rules{47, 53 | 128, 129}));
}

TEST(LinkColors, LimitsShowBack)
{
    const zk::LinkStyleTab t = zk::linkstyletab({1, 99, 0});
    EXPECT_EQ(t.yellow, QStringLiteral("-49"));
    EXPECT_EQ(t.green, QStringLiteral("49"));
    EXPECT_FALSE(t.draw[0] || t.draw[1] || t.draw[2] || t.opaque);
}

// ------------------------------------------------------------ thresholds

TEST(Thresholds, MicrovoltsAndDbm)
{
    EXPECT_NEAR(zk::thresholduv(-107), 1.0, 1e-12);
    EXPECT_NEAR(zk::thresholduv(-120), 0.2238721, 1e-6);
    EXPECT_NEAR(zk::thresholduv(-147), 0.01, 1e-12);
    EXPECT_NEAR(zk::thresholddbm(1.0), -107.0f, 1e-6);
    EXPECT_NEAR(zk::thresholddbm(0.22), -120.1522f, 1e-3);
    EXPECT_NEAR(zk::thresholddbm(2000), -40.9794f, 1e-3);
}

// ------------------------------------------------------------ radiosys.dat

TEST(Radiosys, NamesAreEverySixthLine)
{
    QByteArray file;
    for (int i = 1; i <= 14; ++i) file += "  line " + QByteArray::number(i) + " \r\n";
    const QStringList names = zk::predefinednames(linesOf(file));
    EXPECT_EQ(names, (QStringList{"line 1", "line 7", "line 13"}));
}

TEST(Radiosys, LineEndsAndCodePage)
{
    const QStringList lines = linesOf(QByteArray("R\xE9seau\r\n5\n0.25\r1\r\n"));
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Réseau"), "5", "0.25", "1"}));
    EXPECT_TRUE(linesOf(QByteArray()).isEmpty());
}

TEST(Radiosys, ChoosingANameFillsFromEachMatchingGroup)
{
    const QByteArray file =
        "Alpha\r\n1\r\n2\r\n3\r\n4\r\n5\r\n"
        "Beta\r\n10\r\n0.5\r\n1\r\n6\r\n30\r\n"
        " Alpha \r\n7\r\n8\r\n9\r\n";  // cut after its fourth line
    const QStringList lines = linesOf(file);
    const QList<QStringList> a = zk::predefinedmatches(lines, QStringLiteral("Alpha"));
    ASSERT_EQ(a.size(), 2);
    EXPECT_EQ(a[0], (QStringList{"Alpha", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(a[1], (QStringList{"Alpha", "7", "8", "9"}));
    // Exact comparison: case counts.
    EXPECT_TRUE(zk::predefinedmatches(lines, QStringLiteral("alpha")).isEmpty());
    // Value lines are compared too.
    const QList<QStringList> v = zk::predefinedmatches(lines, QStringLiteral("30"));
    ASSERT_EQ(v.size(), 1);
    EXPECT_EQ(v[0], (QStringList{"30", " Alpha ", "7", "8", "9"}));
    EXPECT_TRUE(zk::predefinedmatches(lines, QStringLiteral("Prédéfinis...")).isEmpty());
}

TEST(Radiosys, ValuesFollowTheUserLocale)
{
    {
        LocaleGuard g(QLocale::c());
        EXPECT_EQ(zk::predefinedvalue(QStringLiteral("0.25")), QStringLiteral("0.25"));
        EXPECT_EQ(zk::predefinedvalue(QStringLiteral("abc")), QStringLiteral("abc"));
    }
    {
        LocaleGuard g(QLocale(QLocale::French, QLocale::France));
        EXPECT_EQ(zk::predefinedvalue(QStringLiteral("0.25")), QStringLiteral("0,25"));
        EXPECT_EQ(zk::predefinedvalue(QStringLiteral("0,25")), QStringLiteral("0,25"));
        EXPECT_EQ(zk::predefinedvalue(QStringLiteral("25")), QStringLiteral("25"));
        EXPECT_EQ(zk::predefinedvalue(QStringLiteral("-2")), QStringLiteral("-2"));
        EXPECT_EQ(zk::predefinedvalue(QStringLiteral("1.2.3")), QStringLiteral("1.2.3"));
    }
    {
        // A point is the group separator here; the file's "1.500" is still
        // one and a half.
        LocaleGuard g(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(zk::predefinedvalue(QStringLiteral("1.500")), QStringLiteral("1,5"));
    }
}

TEST(Radiosys, ShippedFileHoldsRealSystems)
{
    QFile f(QString::fromLocal8Bit(qgetenv("ZK_SOURCE_DIR")) + QStringLiteral("/data/radiosys.dat"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_FALSE(bytes.contains("\n\n"));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));  // CR LF throughout
    const QStringList lines = linesOf(bytes);
    ASSERT_EQ(lines.size() % 6, 0);
    const QStringList names = zk::predefinednames(lines);
    EXPECT_GE(names.size(), 10);
    EXPECT_TRUE(names.contains(QStringLiteral("PMR446 0.5 W")));
    for (qsizetype g = 0; g < lines.size(); g += 6) {
        const QString name = lines[g];
        EXPECT_LE(name.size(), 30) << name.toStdString();
        EXPECT_EQ(name, name.trimmed());
        EXPECT_EQ(names.count(name), 1) << name.toStdString();
        const double lo[5] = {1e-8, 0.01, 0, -10, 0.5}, hi[5] = {1e6, 2000, 500, 100, 2999};
        for (int k = 0; k < 5; ++k) {
            bool ok = false;
            const double v = QLocale::c().toDouble(lines[g + 1 + k], &ok);
            EXPECT_TRUE(ok) << name.toStdString() << " line " << k + 2;
            EXPECT_TRUE(lo[k] <= v && v <= hi[k]) << name.toStdString() << " line " << k + 2;
        }
    }
}

// ------------------------------------------------------------ cities.dat

TEST(CityLine, TheAppendedLine)
{
    zk::UnitRecord u;
    zk::setFixedText(u.name, QStringLiteral("  Mont Royal"));
    u.lat = 45.5f;
    u.lon = -73.25f;
    u.color = 0x0000FF;  // RGB(255,0,0)
    EXPECT_EQ(zk::cityline(u), QByteArray("\"FF\",45.5,73.25,\"Mont Royal\"\r\n"));
    u.color = 0;
    u.lat = -12.3456789f;
    u.lon = 2.5e-6f;
    zk::setFixedText(u.name, QStringLiteral("Sud"));
    EXPECT_EQ(zk::cityline(u), QByteArray("\"0\",-12.34568,-0.0000025,\"Sud\"\r\n"));
    u.color = 0xFFFFFF;
    u.lat = 0;
    u.lon = 0;
    EXPECT_EQ(zk::cityline(u), QByteArray("\"FFFFFF\",0,0,\"Sud\"\r\n"));
}

TEST(CityLine, NumbersIgnoreTheLocale)
{
    LocaleGuard g(QLocale(QLocale::French, QLocale::France));
    zk::UnitRecord u;
    zk::setFixedText(u.name, QStringLiteral("Québec"));
    u.lat = 46.8125f;
    u.lon = -71.25f;
    EXPECT_EQ(zk::cityline(u), QByteArray("\"0\",46.8125,71.25,\"Qu\xE9" "bec\"\r\n"));
}

// A name with double quotes or commas comes back from the city list as one
// name, with the position it was written with.
TEST(CityLine, AwkwardNamesReadBackAsOneField)
{
    const QString names[] = {QStringLiteral("Le \"Pic\""), QStringLiteral("\""), QStringLiteral("Nord, Sud"),
                             QStringLiteral("a,\"b\",c")};
    for (const QString &n : names) {
        zk::UnitRecord u;
        zk::setFixedText(u.name, n);
        u.lat = 45.5f;
        u.lon = -73.25f;
        const QByteArray line = zk::cityline(u);
        const auto row = zk::cityrow(line.chopped(2));
        ASSERT_TRUE(row.has_value()) << n.toStdString();
        const zk::CityChoice c = zk::cityfromrow(*row);
        EXPECT_NEAR(c.lon, -73.25, 1e-6);
        EXPECT_NEAR(c.lat, 45.5, 1e-6);
        QString expected = n;
        expected.replace(QLatin1Char('"'), QLatin1Char('\'')).replace(QLatin1Char(','), QLatin1Char(';'));
        EXPECT_EQ(c.name.trimmed(), expected) << n.toStdString();
    }
}
