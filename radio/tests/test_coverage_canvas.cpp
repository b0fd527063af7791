// The plots' canvas writes cells straight into the picture's memory, on every
// core, while the sweep computes the next radials on every core: the picture
// it leaves is compared, pixel for pixel, with the straightforward drawing
// of the same sweep (QPainter, one polygon per cell and one line per contour
// segment, on one thread), for the radio plot in its rainbow and
// single-colour modes and the visual plot, cells copied or ANDed with the
// picture, on 1, 2 and 4 threads, whole and stopped; then kept in the
// picture, which copies only the part the canvas wrote.
#include <QApplication>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <cstdlib>
#include <string>

#include "base/longop.h"
#include "base/screen.h"
#include "pictures/colorscale.h"
#include "pictures/picbox.h"
#include "radio/coverage.h"
#include "radio/linkbudget.h"
#include "radio/picturecanvas.h"
#include "radio/radiodata.h"
#include "radioenv.h"

namespace {

// One polygon per cell, one line per segment, as the plot was first drawn.
struct PlainCanvas : zk::CoverageCanvas {
    QPainter painter;
    bool copy;
    int stopAt = -1;
    PlainCanvas(QImage &img, bool c) : painter(&img), copy(c) { painter.setRenderHint(QPainter::Antialiasing, false); }
    void fill(const QPoint *q, uint32_t colour) override
    {
        painter.setCompositionMode(copy ? QPainter::CompositionMode_Source : QPainter::RasterOp_SourceAndDestination);
        painter.setPen(Qt::NoPen);
        painter.setBrush(zk::qcolor(colour));
        painter.drawPolygon(q, 4);
    }
    void line(QPoint a, QPoint b, uint32_t colour) override
    {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setPen(zk::qcolor(colour));
        painter.drawLine(a, b);
    }
    bool radial(int k) override { return k != stopAt; }
};

// The plot's canvas, stopped at a given radial as a Stop would.
struct StoppingCanvas : zk::PictureCanvas {
    int stopAt = -1;
    using zk::PictureCanvas::PictureCanvas;
    bool radial(int k) override
    {
        const bool go = zk::PictureCanvas::radial(k);
        return go && k != stopAt;
    }
};

// A picture whose pixels differ, so that ANDing shows.
QImage background()
{
    QImage img(513, 513, QImage::Format_RGBX8888);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb((x * 7 + y) & 0xFF, (y * 5 + 3 * x) & 0xFF, ((x ^ y) * 3) & 0xFF));
    return img;
}

int differing(const QImage &a, const QImage &b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

}  // namespace

class TestCoverageCanvas : public QObject {
    Q_OBJECT

    static zk::RadioSweep radio(bool rainbow)
    {
        zk::RadioSweep p = radiotest::hillSweep(40, 0.7f);
        p.curvecolor = 0x0000FF;
        p.surfcolor = rainbow ? 0 : 0x00FF00;
        return p;
    }
    zk::VisualSweep visual() const
    {
        zk::VisualSweep v;
        v.x0 = 250;
        v.y0 = 512 - 260;
        // High enough to see most cells, far enough for the cells of ten
        // radials to be written by bands of rows on several threads.
        v.hs = 1500;
        v.rangemax = 60;
        v.azmin = 0;
        v.azmax = 359;
        v.azstep = 0.5f;
        v.colour = 0x00FFFF;
        return v;
    }

private slots:
    void initTestCase()
    {
        zk::setScreenPixels(QSize(1024, 768));
        zk::newnet(false);
        radiotest::setTestMap(radiotest::hills);
        radiotest::placeUnit(1, 250, 260, 420);
        radiotest::placeUnit(2, 270, 260, 300);
        zk::setLinkModelForTest({});
        zk::initcolors();
    }
    void cleanup()
    {
        zk::runflag = 0;
        unsetenv("ZK_THREADS");
    }

    void sameAsPlainDrawing_data()
    {
        QTest::addColumn<int>("kind");  // 0 radio rainbow, 1 radio one colour, 2 visual
        QTest::addColumn<bool>("copy");
        QTest::addColumn<int>("threads");
        QTest::addColumn<int>("stopAt");
        const char *kinds[] = {"radio rainbow", "radio one colour", "visual"};
        for (int kind = 0; kind < 3; ++kind)
            for (bool copy : {false, true})
                for (int threads : {1, 2, 4})
                    for (int stopAt : {-1, 130}) {
                        const std::string name = std::string(kinds[kind]) + (copy ? ", copied" : ", ANDed") + ", " +
                                                 std::to_string(threads) + " threads" +
                                                 (stopAt < 0 ? "" : ", stopped");
                        QTest::newRow(name.c_str()) << kind << copy << threads << stopAt;
                    }
    }
    void sameAsPlainDrawing()
    {
        QFETCH(int, kind);
        QFETCH(bool, copy);
        QFETCH(int, threads);
        QFETCH(int, stopAt);
        const QImage bg = background();

        // The straightforward drawing, on one thread.
        setenv("ZK_THREADS", "1", 1);
        QImage plain = bg.copy();
        double plainsum = 0, spacing = 0;
        {
            PlainCanvas c(plain, copy);
            c.stopAt = stopAt;
            zk::linkparams(1, 2, 1);
            if (kind < 2)
                plainsum = zk::radiosweep(radio(kind == 0), c, spacing);
            else
                zk::visualsweep(visual(), c);
        }

        // The plot's canvas on a picture box.
        setenv("ZK_THREADS", std::to_string(threads).c_str(), 1);
        zk::PicBox box;
        box.setPicture(bg.copy());
        box.cls();  // as the plot clears the pictures first
        zk::runflag = zk::opcoverage;
        zk::progtotal = 512;
        double sum = 0;
        {
            StoppingCanvas c(&box, copy);
            c.stopAt = stopAt;
            zk::linkparams(1, 2, 1);
            if (kind < 2)
                sum = zk::radiosweep(radio(kind == 0), c, spacing);
            else
                zk::visualsweep(visual(), c);
            c.end();
        }
        const QImage fast = box.image().convertToFormat(plain.format());

        QCOMPARE(differing(fast, plain), 0);
        QCOMPARE(sum, plainsum);
        // Kept, the picture holds all of it, though only the part the canvas
        // says it wrote is copied; cleared, the layer is the picture again.
        box.commit();
        QCOMPARE(differing(box.picture().convertToFormat(plain.format()), plain), 0);
        QPainter(&box.image()).fillRect(0, 0, 513, 513, Qt::black);
        box.cls();
        QCOMPARE(differing(box.image().convertToFormat(plain.format()), plain), 0);
        // The sweep drew something worth comparing: many pixels changed.
        QVERIFY2(differing(plain, bg) > (stopAt < 0 ? 10000 : 100), qPrintable(QString::number(differing(plain, bg))));
    }
};

QTEST_MAIN(TestCoverageCanvas)
#include "test_coverage_canvas.moc"
