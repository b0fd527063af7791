// The colour scale: built-in and preset colours, the spread of the
// thresholds over the map's range, and the file "colors.dat" both ways
// (short hexadecimal colours, short and damaged files, no file at all).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "map/mapdata.h"
#include "paths.h"
#include "pictures/colorscale.h"

namespace {

uint32_t rgb(int r, int g, int b) { return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16); }

class ColorScale : public ::testing::Test {
protected:
    QTemporaryDir user, prog;

    void SetUp() override
    {
        zk::paths::setUserFolder(user.path());
        zk::paths::setProgramFolder(prog.path());
        zk::colors.fill(0);
        zk::alt.fill(0);
        zk::absscale = 0;
        zk::stratcolors = 0;
        zk::showlegend = 0;
        zk::mapset = MapSettings{};
    }
    void TearDown() override
    {
        zk::paths::setUserFolder(QString());
        zk::paths::setProgramFolder(QString());
    }

    void writeFile(const QString &folder, const QByteArray &bytes)
    {
        QFile f(folder + QStringLiteral("/colors.dat"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray lines(const QList<QByteArray> &l) { return l.join("\r\n") + "\r\n"; }
};

TEST_F(ColorScale, DefaultColours)
{
    const auto c = zk::defaultcolors();
    EXPECT_EQ(c[0], rgb(90, 150, 205));
    EXPECT_EQ(c[11], rgb(255, 255, 255));
    const uint32_t expected[10] = {rgb(100, 100, 255), rgb(100, 220, 255), rgb(100, 255, 255), rgb(100, 255, 192),
                                   rgb(100, 255, 100), rgb(100, 255, 100), rgb(192, 255, 100), rgb(255, 255, 100),
                                   rgb(255, 220, 100), rgb(255, 100, 100)};
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(c[size_t(k)], expected[k - 1]) << "colour " << k;
}

TEST_F(ColorScale, PresetColours)
{
    const uint32_t one[10] = {rgb(64, 64, 255),  rgb(64, 220, 255), rgb(64, 255, 255), rgb(64, 255, 192),
                              rgb(64, 255, 64),  rgb(192, 255, 64), rgb(255, 255, 64), rgb(255, 220, 64),
                              rgb(255, 64, 64),  rgb(255, 64, 156)};
    const uint32_t three[10] = {rgb(127, 127, 255), rgb(127, 220, 255), rgb(127, 255, 255), rgb(127, 255, 192),
                                rgb(127, 255, 127), rgb(192, 255, 127), rgb(255, 255, 127), rgb(255, 220, 127),
                                rgb(255, 127, 127), rgb(255, 127, 219)};
    for (int which = 1; which <= 4; ++which) {
        const auto c = zk::presetcolors(which);
        EXPECT_EQ(c[0], rgb(255, 255, 255));
        EXPECT_EQ(c[11], rgb(255, 0, 255));
        const uint32_t *table = which <= 2 ? one : three;
        // "Couleurs 2" and "Couleurs 4" are the same ten in reverse order.
        for (int k = 1; k <= 10; ++k) {
            const uint32_t want = (which % 2 == 1) ? table[k - 1] : table[10 - k];
            EXPECT_EQ(c[size_t(k)], want) << "preset " << which << " colour " << k;
        }
    }
}

TEST_F(ColorScale, RelativeThresholdsRoundHalvesToEven)
{
    zk::colors = zk::defaultcolors();
    zk::mapset.minx = 0;
    zk::mapset.maxx = 25;
    zk::initcolors();
    const std::array<int16_t, 11> want = {0, 2, 5, 8, 10, 12, 15, 18, 20, 22, 25};
    EXPECT_EQ(zk::alt, want);
}

TEST_F(ColorScale, EmptyRangeAndAbsoluteScaleKeepThresholds)
{
    zk::colors = zk::defaultcolors();
    zk::alt = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const auto before = zk::alt;
    zk::mapset.minx = 300;
    zk::mapset.maxx = 300;
    zk::initcolors();
    EXPECT_EQ(zk::alt, before);
    zk::mapset.maxx = 900;
    zk::absscale = 1;
    zk::initcolors();
    EXPECT_EQ(zk::alt, before);
    zk::absscale = 0;
    zk::initcolors();
    EXPECT_EQ(zk::alt[10], 900);
}

TEST_F(ColorScale, ThresholdOutsideSixteenBitsIsLeftAlone)
{
    zk::colors = zk::defaultcolors();
    zk::alt.fill(7);
    zk::mapset.minx = 0;
    zk::mapset.maxx = 99999;
    zk::initcolors();
    EXPECT_EQ(zk::alt[3], 30000);
    EXPECT_EQ(zk::alt[4], 7);   // 39999.6 does not fit
    EXPECT_EQ(zk::alt[10], 7);
}

// Without "colors.dat" the scale is relative, with the built-in colours and
// thresholds spread over the map: it is not left absolute with every
// threshold 0.
TEST_F(ColorScale, NoFileGivesARelativeScale)
{
    zk::mapset.minx = 100;
    zk::mapset.maxx = 1100;
    zk::initcolors();
    EXPECT_EQ(zk::absscale, 0);
    EXPECT_EQ(zk::colors, zk::defaultcolors());
    EXPECT_EQ(zk::alt[0], 100);
    EXPECT_EQ(zk::alt[5], 600);
    EXPECT_EQ(zk::alt[10], 1100);
}

TEST_F(ColorScale, NoFileAndAFlatMapKeepBuiltInThresholds)
{
    zk::initcolors();  // minx = maxx = 0
    EXPECT_EQ(zk::absscale, 0);
    EXPECT_EQ(zk::alt, zk::defaultthresholds());
    EXPECT_EQ(zk::alt[0], 1);
    EXPECT_EQ(zk::alt[10], 1000);
}

TEST_F(ColorScale, FileRoundTrip)
{
    zk::absscale = 1;
    zk::stratcolors = 1;
    zk::showlegend = 1;
    zk::alt = {-5, 0, 100, 200, 300, 400, 500, 600, 700, 800, 32767};
    zk::colors = zk::defaultcolors();
    zk::colors[3] = rgb(255, 255, 0);  // FFFF
    zk::colors[4] = rgb(0, 255, 0);    // FF00
    zk::colors[5] = 0;                 // black
    const QByteArray text = zk::colorsfile();
    EXPECT_EQ(text.count("\r\n"), zk::kColorLines);
    EXPECT_TRUE(text.startsWith("1\r\n1\r\n-5\r\n0\r\n100\r\n"));
    EXPECT_TRUE(text.contains("\r\nCD965A\r\n"));  // colour 0
    EXPECT_TRUE(text.contains("\r\nFFFF\r\nFF00\r\n0\r\n"));
    ASSERT_TRUE(zk::savecolors());
    EXPECT_TRUE(QFile::exists(user.filePath(QStringLiteral("colors.dat"))));

    const auto colours = zk::colors;
    const auto thresholds = zk::alt;
    zk::colors.fill(0);
    zk::alt.fill(0);
    zk::absscale = zk::stratcolors = zk::showlegend = 0;
    ASSERT_TRUE(zk::loadcolors());
    EXPECT_EQ(zk::colors, colours);
    EXPECT_EQ(zk::alt, thresholds);
    EXPECT_EQ(zk::absscale, 1);
    EXPECT_EQ(zk::stratcolors, 1);
    EXPECT_EQ(zk::showlegend, 1);
}

TEST_F(ColorScale, UserFileComesBeforeTheProgramFolder)
{
    QList<QByteArray> l = {"0", "0"};
    for (int k = 0; k < 11; ++k) l << QByteArray::number(k);
    for (int k = 0; k < 12; ++k) l << "FF";
    l << "0";
    writeFile(prog.path(), lines(l));
    l[2] = "-7";
    writeFile(user.path(), lines(l));
    ASSERT_TRUE(zk::loadcolors());
    EXPECT_EQ(zk::alt[0], -7);
}

// A short file keeps what the scale held after its end; a line that is not
// a number keeps its value; the first value read turns the fallback -1 into
// what the file says.
TEST_F(ColorScale, ShortAndDamagedFiles)
{
    zk::alt.fill(42);
    zk::colors.fill(rgb(1, 2, 3));
    zk::showlegend = 5;
    writeFile(user.path(), "x\r\n1\r\n10\r\nabc\r\n30\r\n");
    ASSERT_TRUE(zk::loadcolors());
    EXPECT_EQ(zk::absscale, -1);  // line 1 unreadable
    EXPECT_EQ(zk::stratcolors, 1);
    EXPECT_EQ(zk::alt[0], 10);
    EXPECT_EQ(zk::alt[1], 42);
    EXPECT_EQ(zk::alt[2], 30);
    EXPECT_EQ(zk::alt[3], 42);
    EXPECT_EQ(zk::colors[0], rgb(1, 2, 3));
    EXPECT_EQ(zk::showlegend, 5);

    // LF line ends, blanks, a colour too long to be one.
    QList<QByteArray> l = {" 0 ", "0"};
    for (int k = 0; k < 11; ++k) l << "99999";  // does not fit 16 bits
    l << "123456789";
    for (int k = 1; k < 12; ++k) l << "ab";
    l << "1";
    writeFile(user.path(), l.join("\n"));
    ASSERT_TRUE(zk::loadcolors());
    EXPECT_EQ(zk::absscale, 0);
    EXPECT_EQ(zk::alt[5], 42);
    EXPECT_EQ(zk::colors[0], rgb(1, 2, 3));
    EXPECT_EQ(zk::colors[1], 0xABu);
    EXPECT_EQ(zk::showlegend, 1);
}

TEST_F(ColorScale, BlackTenthColourReloadsTheFileThenTheDefaults)
{
    QList<QByteArray> l = {"1", "0"};
    for (int k = 0; k < 11; ++k) l << QByteArray::number(k * 10);
    for (int k = 0; k < 12; ++k) l << "0";
    l << "0";
    writeFile(user.path(), lines(l));
    zk::colors = zk::defaultcolors();
    zk::colors[10] = 0;  // the user chose black
    zk::initcolors();
    // The file also holds black there: all twelve colours are the defaults,
    // the thresholds are the file's (absolute scale).
    EXPECT_EQ(zk::colors, zk::defaultcolors());
    EXPECT_EQ(zk::absscale, 1);
    EXPECT_EQ(zk::alt[10], 100);
}

TEST_F(ColorScale, UnwritableFolderSavesNothing)
{
    zk::paths::setUserFolder(user.filePath(QStringLiteral("missing/deeper")));
    QFile blocker(user.filePath(QStringLiteral("missing")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    blocker.close();
    EXPECT_FALSE(zk::savecolors());
}

TEST_F(ColorScale, ChannelsForThePainter)
{
    zk::colors[0] = rgb(10, 20, 30);
    zk::colors[11] = rgb(255, 0, 128);
    const zk::ColorChannels ch = zk::colorchannels();
    EXPECT_EQ(ch.red[0], 10);
    EXPECT_EQ(ch.green[0], 20);
    EXPECT_EQ(ch.blue[0], 30);
    EXPECT_EQ(ch.red[11], 255);
    EXPECT_EQ(ch.blue[11], 128);
}

}  // namespace
