// Shared state of the live positions: the schedule with the lights'
// time-outs, the status lights on the main window, and the few outside
// services (clocks, drawing, host look-up) that tests replace.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QString>

#include <functional>

#include "positions/schedule.h"

namespace zk::positions {

// Status lights: 0 "GPS", 1 "Tx", 2 "Rx".
constexpr int kLightGps = 0, kLightTx = 1, kLightRx = 2;
inline const QColor kLightClosed{160, 0, 0};
inline const QColor kLightFlash{0, 255, 0};
inline const QColor kLightIdle{0, 96, 0};

struct LiveHooks {
    // Seconds since midnight, local time, with fractions.
    std::function<double()> clock;
    // The UTC time and date written in simulated sentences.
    std::function<QDateTime()> utcclock;
    // Redraws one unit on every picture; recomputes and redraws all networks.
    std::function<void(int unit)> drawunit;
    std::function<void()> drawnets;
    // Looks a host name up: its first IPv4 address, or "".
    std::function<QString(const QString &name)> resolve;
};
// Filled with the real services; tests swap members and restore them with
// resetlivehooks().
extern LiveHooks livehooks;
void resetlivehooks();

// The schedule's due times and the lights' time-outs.
extern ScheduleState sched;

double now();

// The lights on the main window (nothing happens without one).
void showlight(int light, bool visible);
void paintlight(int light, const QColor &c);
// A transfer: bright green now, idle colour one second later.
void flashlight(int light);
// An opened channel: idle colour in one second.
void armlight(int light);

// The unit number when it names a unit of the table (1..50), else 0.
int tableunit(int unit);

}  // namespace zk::positions
