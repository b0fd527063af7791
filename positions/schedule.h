// The live-position schedule: what one 200 ms tick of the main window's
// timer does, in order (day change, light time-outs, serial GPS, received
// datagrams, my position, the simulated GPS, log replay, deferred network
// redraw). Plain C++ driven by a clock value and an interface, so that the
// schedule is tested under a fake clock.
#pragma once

#include <array>
#include <cstdint>

namespace zk::positions {

// gpsflags bits.
constexpr int32_t kFlagLog = 1;       // log valid sentences from the port
constexpr int32_t kFlagReplay = 2;    // the log is being replayed
constexpr int32_t kFlagGps = 4;       // use the attached GPS
constexpr int32_t kFlagSend = 8;      // send my position every gpstx seconds
constexpr int32_t kFlagShare = 16;    // send and receive positions
constexpr int32_t kFlagDeferred = 32; // redraw the networks every gpsdraw seconds
constexpr int32_t kFlagSimulate = 64; // write $GPRMC every 2 s

// At most this many datagrams are taken in one tick, so that a flood of
// datagrams cannot keep one tick running for ever; the rest wait for the
// next tick.
constexpr int kMaxDatagramsPerTick = 256;

// The values a tick reads; asked again at each step, since the receive
// loop pumps events in which the user may change them.
struct TickParams {
    int32_t flags = 0;
    float gpstx = 0, gpsdraw = 0, gpsplay = 0;
    bool busy = false;  // a long operation runs (runflag not 0)
};

// Everything a tick calls out to.
class TickActions {
public:
    virtual ~TickActions() = default;
    virtual TickParams params() = 0;
    virtual bool readnmea() = 0;          // true when a valid sentence came
    virtual bool receiveposition() = 0;   // true when a datagram was taken
    virtual void pumpevents() = 0;
    virtual void sendmyposition() = 0;
    virtual void sendgprmc() = 0;
    virtual void replaystep() = 0;
    virtual void drawmyunit() = 0;
    virtual void drawnets() = 0;
    virtual void lightidle(int light) = 0;  // paint light 0..2 dark green
    virtual bool &redrawneeded() = 0;
};

// The schedule's state: due times in seconds since midnight, 0 at start.
struct ScheduleState {
    double nexttx = 0, nextdraw = 0, nextplay = 0;
    double lasttick = 0;
    std::array<double, 3> ledtime{};  // light time-outs; 0 = none pending
};

// One tick at time t (seconds since midnight). Interval actions fire at the
// first tick strictly after their due time; after a delay longer than one
// interval they fire once and restart their pace from t.
void tick(double t, ScheduleState &s, TickActions &a);

// The catch-up rule: true when the action is due; then `next` has moved on.
bool due(double t, double &next, double interval);

}  // namespace zk::positions
