// The coverage sweeps computed on several threads hand the canvas exactly
// what a sweep done radial by radial on one thread hands it: the same cells,
// contour segments, levels and stops, in the same order, and leave the same
// profile and loss behind; a Stop ends them at the same radial.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "docfixture.h"
#include "radio/coverage.h"
#include "radio/linkbudget.h"
#include "radio/profile.h"
#include "radioenv.h"

namespace {

// Everything a sweep hands its canvas, in order.
struct Log : zk::CoverageCanvas {
    std::vector<std::string> events;
    int stopAt = -1;
    void fill(const QPoint *q, uint32_t c) override
    {
        events.push_back("F " + std::to_string(q[0].x()) + "," + std::to_string(q[0].y()) + " " +
                         std::to_string(q[1].x()) + "," + std::to_string(q[1].y()) + " " +
                         std::to_string(q[2].x()) + "," + std::to_string(q[2].y()) + " " +
                         std::to_string(q[3].x()) + "," + std::to_string(q[3].y()) + " " + std::to_string(c));
    }
    void line(QPoint a, QPoint b, uint32_t c) override
    {
        events.push_back("L " + std::to_string(a.x()) + "," + std::to_string(a.y()) + " " + std::to_string(b.x()) +
                         "," + std::to_string(b.y()) + " " + std::to_string(c));
    }
    void cell(int k, int i, double v) override
    {
        char buf[64];
        std::snprintf(buf, sizeof buf, "C %d %d %.17g", k, i, v);
        events.emplace_back(buf);
    }
    bool radial(int k) override
    {
        events.push_back("R " + std::to_string(k));
        return k != stopAt;
    }
};

class ParallelSweep : public radiotest::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        radiotest::setTestMap(radiotest::hills);
        radiotest::placeUnit(1, 250, 260, 420);
        radiotest::placeUnit(2, 270, 260, 300);
    }
    void TearDown() override
    {
        unsetenv("ZK_THREADS");
        DocumentTest::TearDown();
    }
    static void threads(int n) { setenv("ZK_THREADS", std::to_string(n).c_str(), 1); }

    static zk::RadioSweep radio() { return radiotest::hillSweep(30, 1.5f); }

    struct Result {
        std::vector<std::string> events;
        double sum = 0, spacing = 0, loss = 0;
        std::vector<double> pfl, lrloss;
    };
    Result runradio(int n, int stopAt = -1)
    {
        threads(n);
        zk::linkparams(1, 2, 1);
        Log log;
        log.stopAt = stopAt;
        Result r;
        r.sum = zk::radiosweep(radio(), log, r.spacing);
        r.events = std::move(log.events);
        r.loss = zk::lrprm.loss;
        r.pfl.assign(zk::pfl.begin(), zk::pfl.end());
        r.lrloss.assign(zk::lrloss.begin(), zk::lrloss.end());
        return r;
    }
};

TEST_F(ParallelSweep, RadioSweepOnFourThreadsEqualsOneThread)
{
    for (int stopAt : {-1, 0, 70}) {
        const Result one = runradio(1, stopAt);
        const Result four = runradio(4, stopAt);
        ASSERT_GT(one.events.size(), stopAt < 0 ? 20000u : 100u);
        EXPECT_EQ(one.events, four.events) << "stop at " << stopAt;
        EXPECT_EQ(one.sum, four.sum);
        EXPECT_EQ(one.spacing, four.spacing);
        EXPECT_EQ(one.loss, four.loss);
        EXPECT_EQ(one.pfl, four.pfl);
        EXPECT_EQ(one.lrloss, four.lrloss);
        if (stopAt >= 0) EXPECT_EQ(one.events.back(), "R " + std::to_string(stopAt));
    }
    // The levels are not all alike: the comparison covers varied cells and
    // contours.
    const Result r = runradio(3);
    int fills = 0, lines = 0;
    double lo = 1e9, hi = -1e9;
    for (const std::string &e : r.events) {
        if (e[0] == 'C') {
            const double v = std::stod(e.substr(e.rfind(' ')));
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        fills += e[0] == 'F';
        lines += e[0] == 'L';
    }
    EXPECT_GT(fills, 1000);
    EXPECT_GT(lines, 20);
    EXPECT_LT(lo, 20);  // levels below, inside and above the band
    EXPECT_GT(hi, 60);
}

TEST_F(ParallelSweep, VisualSweepOnFourThreadsEqualsOneThread)
{
    zk::VisualSweep v;
    v.x0 = 250;
    v.y0 = 512 - 260;
    v.hs = 430;
    v.rangemax = 30;
    v.azmin = 0;
    v.azmax = 359;
    v.azstep = 0.5f;
    v.colour = 0x00FFFF;
    for (int stopAt : {-1, 0, 500}) {
        threads(1);
        Log one;
        one.stopAt = stopAt;
        zk::visualsweep(v, one);
        threads(4);
        Log four;
        four.stopAt = stopAt;
        zk::visualsweep(v, four);
        ASSERT_GT(one.events.size(), stopAt < 0 ? 20000u : 100u);
        EXPECT_EQ(one.events, four.events) << "stop at " << stopAt;
        if (stopAt >= 0) EXPECT_EQ(one.events.back(), "R " + std::to_string(stopAt));
    }
}

}  // namespace
