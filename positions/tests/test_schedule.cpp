// The timer's schedule under a fake clock: 200 ms ticks, a long stall, the
// day change at midnight, intervals read from the settings store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "positions/schedule.h"

using namespace zk::positions;

namespace {

class Fake final : public TickActions {
public:
    TickParams p;
    int nmea = 0, datagrams = 0, sends = 0, gprmc = 0, replays = 0, unitdraws = 0, netdraws = 0, pumps = 0;
    int waitingDatagrams = 0;
    bool nextNmea = false;
    bool needed = false;
    std::vector<int> idle;
    std::vector<double> sendTimes;
    double t = 0;

    TickParams params() override { return p; }
    bool readnmea() override
    {
        ++nmea;
        const bool r = nextNmea;
        nextNmea = false;
        return r;
    }
    bool receiveposition() override
    {
        if (waitingDatagrams == 0) return false;
        --waitingDatagrams;
        ++datagrams;
        return true;
    }
    void pumpevents() override { ++pumps; }
    void sendmyposition() override
    {
        ++sends;
        sendTimes.push_back(t);
    }
    void sendgprmc() override { ++gprmc; }
    void replaystep() override { ++replays; }
    void drawmyunit() override { ++unitdraws; }
    void drawnets() override { ++netdraws; }
    void lightidle(int i) override { idle.push_back(i); }
    bool &redrawneeded() override { return needed; }
};

// Ticks every 250 ms (a step exact in binary, so that "strictly after the
// due time" is not decided by rounding) from `from` (exclusive) to `to`
// (inclusive).
void run(ScheduleState &s, Fake &f, double from, double to)
{
    for (int k = 1;; ++k) {
        const double t = from + 0.25 * k;
        if (t > to + 1e-9) break;
        f.t = t;
        tick(t, s, f);
    }
}

}  // namespace

TEST(Schedule, FirstTickSendsAtOnceThenEveryInterval)
{
    ScheduleState s;
    Fake f;
    f.p.flags = kFlagSend | kFlagShare;
    f.p.gpstx = 10;
    run(s, f, 1000.0, 1030.0);
    ASSERT_EQ(f.sends, 3);
    EXPECT_DOUBLE_EQ(f.sendTimes[0], 1000.25);
    // Then every 10 s after the first send, each at the first tick strictly
    // after its due time.
    EXPECT_DOUBLE_EQ(f.sendTimes[1], 1010.5);
    EXPECT_DOUBLE_EQ(f.sendTimes[2], 1020.5);
}

TEST(Schedule, StallOf35SecondsSendsOnce)
{
    ScheduleState s;
    Fake f;
    f.p.flags = kFlagSend;
    f.p.gpstx = 10;
    run(s, f, 5000.0, 5001.0);
    ASSERT_EQ(f.sends, 1);
    // The program is busy for 35 s: no tick. The first tick after it sends
    // once, the next send comes 10 s later.
    f.t = 5036.0;
    tick(5036.0, s, f);
    EXPECT_EQ(f.sends, 2);
    run(s, f, 5036.0, 5046.0);
    EXPECT_EQ(f.sends, 2);
    run(s, f, 5046.0, 5046.25);
    EXPECT_EQ(f.sends, 3);
    EXPECT_DOUBLE_EQ(f.sendTimes[2], 5046.25);
}

TEST(Schedule, MidnightMakesEverythingPendingDue)
{
    ScheduleState s;
    Fake f;
    f.p.flags = kFlagSend | kFlagDeferred | kFlagSimulate;
    f.p.gpstx = 10;
    f.p.gpsdraw = 10;
    run(s, f, 86390.0, 86399.8);
    const int sends = f.sends, gprmc = f.gprmc;
    // Lights: Tx flashed just now, Rx waiting, GPS with nothing pending.
    s.ledtime = {0, 86399.9, 86400.5};
    f.idle.clear();
    f.needed = true;
    // The clock restarts: everything pending takes the new time ...
    f.t = 0.1;
    tick(0.1, s, f);
    EXPECT_EQ(f.sends, sends);
    EXPECT_DOUBLE_EQ(s.nexttx, 0.1);
    EXPECT_DOUBLE_EQ(s.ledtime[1], 0.1);
    EXPECT_DOUBLE_EQ(s.ledtime[2], 0.1);
    EXPECT_DOUBLE_EQ(s.ledtime[0], 0) << "a light with nothing pending keeps its colour";
    EXPECT_TRUE(f.idle.empty());
    // ... and runs at the next tick.
    f.t = 0.3;
    tick(0.3, s, f);
    EXPECT_EQ(f.sends, sends + 1);
    EXPECT_EQ(f.gprmc, gprmc + 1);
    EXPECT_EQ(f.netdraws, 1);
    EXPECT_EQ(f.idle, (std::vector<int>{1, 2}));
}

TEST(Schedule, LightTimeOut)
{
    ScheduleState s;
    Fake f;
    s.ledtime = {10.0, 0, 10.1};
    f.t = 10.0;
    tick(10.0, s, f);
    EXPECT_TRUE(f.idle.empty()) << "not past yet";
    tick(10.05, s, f);
    EXPECT_EQ(f.idle, (std::vector<int>{0}));
    tick(10.2, s, f);
    EXPECT_EQ(f.idle, (std::vector<int>{0, 2}));
    EXPECT_EQ(s.ledtime, (std::array<double, 3>{0, 0, 0}));
}

struct IntervalCase {
    const char *what;
    float gpstx, gpsdraw, gpsplay;
    int sends, netdraws, replays;
};

class ZeroIntervals : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(ZeroIntervals, StopWhatTheyPace)
{
    const IntervalCase &c = GetParam();
    ScheduleState s;
    Fake f;
    f.p.flags = kFlagSend | kFlagDeferred;
    f.p.gpstx = c.gpstx;
    f.p.gpsdraw = c.gpsdraw;
    f.needed = true;
    run(s, f, 100.0, 120.0);
    f.p.flags = kFlagReplay | kFlagDeferred;
    f.p.gpsplay = c.gpsplay;
    run(s, f, 120.0, 121.0);
    EXPECT_EQ(f.sends, c.sends) << c.what;
    EXPECT_EQ(f.netdraws, c.netdraws) << c.what;
    EXPECT_EQ(f.replays, c.replays) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, ZeroIntervals,
                         ::testing::Values(IntervalCase{"all running", 10, 10, 0.5, 2, 1, 2},
                                           IntervalCase{"tx 0", 0, 10, 0.5, 0, 1, 2},
                                           IntervalCase{"tx negative", -1, 10, 0.5, 0, 1, 2},
                                           IntervalCase{"draw 0", 10, 0, 0.5, 2, 0, 2},
                                           IntervalCase{"play 0", 10, 10, 0, 2, 1, 0}));

TEST(Schedule, ReplayModeLeavesTheLiveChannelsAlone)
{
    ScheduleState s;
    Fake f;
    f.p.flags = kFlagReplay | kFlagSend | kFlagSimulate;
    f.p.gpstx = 2;
    f.p.gpsplay = 2;
    f.waitingDatagrams = 3;
    run(s, f, 10.0, 20.0);
    EXPECT_EQ(f.nmea, 0);
    EXPECT_EQ(f.datagrams, 0);
    EXPECT_EQ(f.sends, 0);
    EXPECT_EQ(f.gprmc, 0);
    EXPECT_EQ(f.replays, 5);  // 10.25, then 12.5, 14.5, 16.5, 18.5
}

TEST(Schedule, GpsFixDrawsMyUnitUnlessBusyOrDeferred)
{
    ScheduleState s;
    Fake f;
    f.nextNmea = true;
    tick(1, s, f);
    EXPECT_EQ(f.unitdraws, 1);
    f.nextNmea = true;
    f.p.busy = true;
    tick(1.2, s, f);
    EXPECT_EQ(f.unitdraws, 1);
    f.nextNmea = true;
    f.p.busy = false;
    f.p.flags = kFlagDeferred;
    tick(1.4, s, f);
    EXPECT_EQ(f.unitdraws, 1);
}

TEST(Schedule, DatagramsTakenUntilNoneLeftWithEventsBetween)
{
    ScheduleState s;
    Fake f;
    f.waitingDatagrams = 5;
    tick(1, s, f);
    EXPECT_EQ(f.datagrams, 5);
    EXPECT_EQ(f.pumps, 5);
    // A flood is taken in slices, one per tick.
    f.waitingDatagrams = kMaxDatagramsPerTick + 10;
    tick(1.2, s, f);
    EXPECT_EQ(f.datagrams, 5 + kMaxDatagramsPerTick);
    tick(1.4, s, f);
    EXPECT_EQ(f.datagrams, 5 + kMaxDatagramsPerTick + 10);
}

TEST(Schedule, DeferredRedrawOnlyWhenSomethingMovedAndIdle)
{
    ScheduleState s;
    Fake f;
    f.p.flags = kFlagDeferred;
    f.p.gpsdraw = 2;
    run(s, f, 0, 5);
    EXPECT_EQ(f.netdraws, 0);
    f.needed = true;
    f.p.busy = true;
    run(s, f, 5, 10);
    EXPECT_EQ(f.netdraws, 0);
    f.p.busy = false;
    run(s, f, 10, 10.25);
    EXPECT_EQ(f.netdraws, 1);
    EXPECT_FALSE(f.needed);
}

TEST(Schedule, CatchUpRule)
{
    double next = 0;
    EXPECT_TRUE(due(100, next, 10));
    EXPECT_DOUBLE_EQ(next, 110);  // 0 + 10 is still behind: restart from now
    EXPECT_FALSE(due(110, next, 10)) << "strictly after the due time";
    EXPECT_TRUE(due(110.5, next, 10));
    EXPECT_DOUBLE_EQ(next, 120);  // on time: the pace is kept
    EXPECT_FALSE(due(500, next, 0));
    EXPECT_FALSE(due(500, next, -3));
    EXPECT_DOUBLE_EQ(next, 120);
}
