// What the radio drawing needs from subsystems that install themselves
// later (live positions), the station icons, and the wiring of the picture
// windows' unit commands to the radio side.
#pragma once

#include <QList>
#include <QPixmap>

#include <functional>

namespace zk {

struct RadioHooks {
    // Sends one unit's position to the sharing group at once (live
    // positions). Empty: nothing is sent.
    std::function<void(int unit)> sendposition;
    // The station icons, counted from 0. Empty: the main window's icons
    // (none when there is no main window).
    std::function<QList<QPixmap>()> icons;
};
extern RadioHooks radiohooks;

// True when the networks must be redrawn at the live-position timer's next
// redraw tick; set by moveunit, read and cleared by that timer.
extern bool redrawneeded;

// The station icons as drawunit uses them.
QList<QPixmap> stationicons();

// Installs the picture windows' unit commands (make a unit current, move it
// to the cursor). Called once at start-up; tests call it too.
void installradiohooks();

}  // namespace zk
