// The live positions as the rest of the program sees them: applying the
// GPS settings (closing and reopening the port, the socket and the log),
// the 200 ms tick of the main window's timer, and the wiring of the menu
// commands and of the radio side's immediate sending.
#pragma once

#include <QString>

namespace zk::positions {

// Closes the log, the port and the socket, then opens what gpsflags asks
// for and makes every scheduled action due at the next tick. A replay
// whose log cannot be opened is not started: the user is told, bit 2 is
// cleared and the live channels open as the other bits say.
void applygps();

// The log file name: gpslog, in the per-user data folder when it has no
// folder of its own (for a replay, the per-user folder first, then the
// program folder).
QString logpath(bool forReplay);

// One tick of frmMain.Timer1 (a tick never starts inside another one).
void Timer1_Timer();

// Connects the "Localisation GPS" and multicast monitor commands and the
// radio side's immediate sending to this module. Called once the main
// window exists; a second call does nothing.
void installpositions();

}  // namespace zk::positions
