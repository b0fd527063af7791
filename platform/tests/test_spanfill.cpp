// Polygons filled straight into image memory set exactly the pixels QPainter
// sets for the same polygon (no antialiasing, odd-even rule), copied or
// ANDed, on thousands of random cells shaped as the coverage plots make
// them and on random quadrilaterals, concave and crossed ones included.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <random>

#include "spanfill.h"

namespace {

QImage painted(const QImage &base, const QPoint *q, int n, QColor c, zk::SpanMode mode)
{
    QImage img = base.copy();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(mode == zk::SpanMode::Copy ? QPainter::CompositionMode_Source
                                                    : QPainter::RasterOp_SourceAndDestination);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(q, n);
    return img;
}

// A base picture with varied pixels, so that an AND shows which were touched.
QImage base(QImage::Format f, int w, int h)
{
    QImage img(w, h, f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 37) & 255, (y * 91) & 255, ((x ^ y) * 13) & 255));
    return img;
}

struct Case {
    QImage::Format format;
    zk::SpanMode mode;
};

class SpanFill : public ::testing::TestWithParam<Case> {};

TEST_P(SpanFill, SetsThePixelsQPainterSets)
{
    const Case c = GetParam();
    const QImage start = base(c.format, 200, 160);
    std::mt19937 rng(20261211);
    std::uniform_real_distribution<double> u01(0, 1);
    const QColor colour(30, 200, 120);
    bool ok = false;
    const uint32_t pixel = zk::spanpixel(c.format, colour.rgb(), &ok);
    ASSERT_TRUE(ok);
    int filled = 0;
    for (int t = 0; t < 6000; ++t) {
        QPoint q[4];
        if (t % 4 != 3) {
            // A coverage cell: step i of a radial between two azimuths.
            const double x0 = 100 + 6 * u01(rng) - 3, y0 = 80 + 6 * u01(rng) - 3;
            const double th = 6.2832 * u01(rng), half = 0.001 + 0.2 * u01(rng);
            const double s = t % 3 == 0 ? 1.0 : 0.3 + 9 * u01(rng);
            const double i = 1 + int(7 * u01(rng));
            const double e1x = s * std::cos(th - half), e1y = s * std::sin(th - half);
            const double e2x = s * std::cos(th + half), e2y = s * std::sin(th + half);
            auto at = [&](double k, double ex, double ey) {
                return QPoint(int(std::lrint(x0 + k * ex)), int(std::lrint(y0 + k * ey)));
            };
            q[0] = at(i - 0.5, e1x, e1y);
            q[1] = at(i + 0.5, e1x, e1y);
            q[2] = at(i + 0.5, e2x, e2y);
            q[3] = at(i - 0.5, e2x, e2y);
        } else {
            for (QPoint &p : q) p = QPoint(int(200 * u01(rng)), int(160 * u01(rng)));
        }
        const QImage want = painted(start, q, 4, colour, c.mode);
        QImage got = start.copy();
        ASSERT_TRUE(zk::fillpolygon(got, q, 4, pixel, c.mode));
        if (want != start) ++filled;
        ASSERT_TRUE(got == want) << "cell " << t << ": (" << q[0].x() << "," << q[0].y() << ") (" << q[1].x()
                                 << "," << q[1].y() << ") (" << q[2].x() << "," << q[2].y() << ") ("
                                 << q[3].x() << "," << q[3].y() << ")";
    }
    EXPECT_GT(filled, 4000);  // the cases are not empty ones
}

INSTANTIATE_TEST_SUITE_P(Formats, SpanFill,
                         ::testing::Values(Case{QImage::Format_RGBX8888, zk::SpanMode::Copy},
                                           Case{QImage::Format_RGBX8888, zk::SpanMode::And},
                                           Case{QImage::Format_RGB32, zk::SpanMode::Copy},
                                           Case{QImage::Format_RGB32, zk::SpanMode::And}));

// What it cannot be sure of it leaves to QPainter, touching nothing.
TEST(SpanFillRefuses, PointsOutsideTheImageAndOtherFormats)
{
    QImage img = base(QImage::Format_RGBX8888, 20, 20);
    const QImage before = img.copy();
    const QPoint outside[4] = {{-1, 2}, {5, 2}, {5, 8}, {0, 8}};
    EXPECT_FALSE(zk::fillpolygon(img, outside, 4, 0xFF0000FFu, zk::SpanMode::Copy));
    const QPoint below[4] = {{1, 2}, {5, 2}, {5, 20}, {1, 20}};
    EXPECT_FALSE(zk::fillpolygon(img, below, 4, 0xFF0000FFu, zk::SpanMode::Copy));
    EXPECT_TRUE(img == before);
    QImage indexed(20, 20, QImage::Format_Indexed8);
    const QPoint inside[4] = {{1, 2}, {5, 2}, {5, 8}, {1, 8}};
    bool ok = true;
    zk::spanpixel(QImage::Format_Indexed8, 0xFF0000u, &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(zk::fillpolygon(indexed, inside, 4, 0, zk::SpanMode::Copy));
}

// A hand-worked cell: the square (2,2)-(5,5) covers the pixels whose centres
// lie inside, columns and rows 2..4.
TEST(SpanFillByHand, SquareCoversThePixelsWhoseCentresLieInside)
{
    QImage img(8, 8, QImage::Format_RGBX8888);
    img.fill(Qt::white);
    const QPoint sq[4] = {{2, 2}, {5, 2}, {5, 5}, {2, 5}};
    const uint32_t black = zk::spanpixel(img.format(), qRgb(0, 0, 0));
    ASSERT_TRUE(zk::fillpolygon(img, sq, 4, black, zk::SpanMode::Copy));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(img.pixel(x, y) == qRgb(0, 0, 0), x >= 2 && x <= 4 && y >= 2 && y <= 4) << x << "," << y;
}

// Filled a band of rows at a time, in any split, a polygon sets on each row
// what one fill of the whole polygon sets there.
TEST(SpanFillBands, BandsTogetherMakeTheWholeFill)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> px(0, 99), py(0, 79), cut(1, 79);
    for (int t = 0; t < 2000; ++t) {
        QPoint q[4];
        for (QPoint &p : q) p = QPoint(px(rng), py(rng));
        QImage whole = base(QImage::Format_RGBX8888, 100, 80), banded = whole.copy();
        const uint32_t pixel = zk::spanpixel(whole.format(), qRgb(250, 10, 60));
        ASSERT_TRUE(zk::fillpolygon(whole, q, 4, pixel, zk::SpanMode::Copy));
        const zk::SpanTarget target = zk::spantarget(banded);
        const int a = cut(rng), b = std::max(a, cut(rng));
        for (auto [from, to] : {std::pair{b, 80}, std::pair{0, a}, std::pair{a, b}})
            ASSERT_TRUE(zk::fillpolygon(target, q, 4, pixel, zk::SpanMode::Copy, from, to));
        ASSERT_TRUE(banded == whole) << "cell " << t << " cut at " << a << ", " << b;
    }
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
