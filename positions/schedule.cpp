#include "positions/schedule.h"

#include <cstddef>

namespace zk::positions {

bool due(double t, double &next, double interval)
{
    if (!(interval > 0) || !(t > next)) return false;
    next += interval;
    if (t > next) next = t + interval;
    return true;
}

void tick(double t, ScheduleState &s, TickActions &a)
{
    // 1. The clock restarted at midnight: everything pending is due now.
    // Only the lights that wait for a time-out take the new time; a light
    // with nothing pending (a closed or refused channel) keeps its colour.
    if (t < s.lasttick) {
        for (double &l : s.ledtime)
            if (l > 0) l = t;
        s.nextdraw = s.nexttx = s.nextplay = t;
    }
    // 2. Lights whose flash or opening time is over show the idle colour.
    for (int i = 0; i < 3; ++i) {
        double &l = s.ledtime[std::size_t(i)];
        if (l > 0 && t > l) {
            a.lightidle(i);
            l = 0;
        }
    }
    // 3.
    s.lasttick = t;

    TickParams p = a.params();
    if (!(p.flags & kFlagReplay)) {
        // 4.1 Serial GPS.
        if (a.readnmea()) {
            p = a.params();
            if (!p.busy && !(p.flags & kFlagDeferred)) a.drawmyunit();
        }
        // 4.2 Datagrams, with the windows kept alive between them.
        for (int n = 0; n < kMaxDatagramsPerTick && a.receiveposition(); ++n) a.pumpevents();
        // 4.3 My position.
        p = a.params();
        if ((p.flags & kFlagSend) && due(t, s.nexttx, p.gpstx)) a.sendmyposition();
        // 4.4 The simulated GPS, every 2 s.
        p = a.params();
        if ((p.flags & kFlagSimulate) && t > s.nextplay) {
            s.nextplay = t + 2.0;
            a.sendgprmc();
        }
    } else if (due(t, s.nextplay, p.gpsplay)) {
        // 5. One replayed fix.
        a.replaystep();
    }
    // 6. Deferred network redraw.
    p = a.params();
    if (!p.busy && (p.flags & kFlagDeferred) && due(t, s.nextdraw, p.gpsdraw)) {
        bool &needed = a.redrawneeded();
        if (needed) {
            a.drawnets();
            needed = false;
        }
    }
}

}  // namespace zk::positions
