// Flights: the rules shared by the recorder (the flight branch of drawview)
// and the player: where the frames live, how they are named, how many a
// flight has and how far the observer moves between two of them.
#pragma once

#include <QString>

#include <cstdint>

namespace zk {

// The frames folder: "frames" in the per-user data folder, ending with "/".
QString framesfolder();
// Name of frame i (from 1): "flig" + i in four digits + ".bmp".
QString framename(int i);

// Frames of a flight of length_m metres at speed_mps (below 1 m/s counted
// as 1 m/s) and fps frames a second, rounded half to even; 0 for a length,
// speed or rate that is not a number, and never more than the int range.
int32_t flightframes(double length_m, double speed_mps, double fps);

// The observer's move from one frame to the next: (B - A) / frames for the
// two picture coordinates and the antenna altitude; all 0 for 0 frames
// (the one frame of such a flight is taken at A).
struct FlightStep {
    double dx = 0, dy = 0, dh = 0;
};
FlightStep flightstep(double xa, double ya, double ha, double xb, double yb, double hb, int32_t frames);

// The frame files in the folder ("flig*.bmp", names compared without
// regard to case), as full paths.
QStringList framefiles(const QString &folder);

// The file of frame i in the folder: the exact name, or one that differs
// only in case; the exact name when neither exists.
QString framefile(const QString &folder, int i);

}  // namespace zk
