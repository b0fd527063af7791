// The calls that the shell makes into subsystems built elsewhere (datum,
// maps, pictures, networks, recent files, live positions, shutdown prompts).
// Each is a named function with a minimal body that does nothing harmful;
// the subsystem that owns the call completes its body, and every caller in
// the shell already goes through it.
#pragma once

#include <QString>

#include <cstdint>

class QWidget;

namespace zk {
class MainFrame;
}

namespace zk::hooks {

// Datum and version strings (geodesy): `loadellipsoid` with the datum file
// (map/datum.h).
void loadellipsoid(const QString &file);

// Opens a picture file in a picture window of the given kind (openpicture,
// pictures/picfiles.h).
void openpicture(const QString &name, int16_t kind);
// Opens a map file (openmap, map/mapfile.h); true on success.
bool openmap(const QString &name);
// Opens a network file (opennet, radio/netdoc.h).
void opennet(const QString &name);

// Recent network files (app/mru.h). `addmru` puts a file at the top of the
// list (the caller's variable receives the stored form); `restoremru` brings
// back, at start-up, the stored entries whose files still exist.
void addmru(QString &file);
void restoremru();

// Cursor read-out at a position (showcursor, pictures/cursor.h).
void showcursor(float lon, float lat);
// The elevation-grid check mark changed: show the cursor again.
void refreshcursor();

// Removes the drawn networks and units from every picture window
// (clearoverlay, radio/unitdraw.h).
void clearoverlay();

// The picture box of the current picture `curpic`, which the progress hook
// refreshes during a stereo drawing (none when there is no current picture).
QWidget *curpicbox();

// Live positions (positions/livepos.h, sharing.h, serialgps.h): start/stop
// the socket layer and the 200 ms timer (the start also connects the GPS
// and monitor commands), apply the GPS options, one timer tick, and closing
// the port and socket.
void startwinsock();
void stopwinsock();
void applygps();
void timer1tick();
void closecomport();
void closeudp();

// The main window's close request (app/shutdown.h: stop a running
// operation, confirmation, stored settings, save prompts, end of the live
// positions). Returns true to keep the program open.
bool queryunload(MainFrame &w);

}  // namespace zk::hooks
