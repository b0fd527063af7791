// Picture windows and picture files: openpicture opens a picture file (BMP,
// GIF, JPEG, and whatever else Qt reads) with its calibration into a picture
// window, or gives the other parts of the program an empty window to draw
// into; savepicture writes a window's picture as BMP with its calibration.
#pragma once

#include <QImage>
#include <QString>

#include <cstdint>

namespace zk {

class frmPic;

// Opens the named picture file in a picture window of the given kind, or
// reuses (and reloads) the window already showing it; an empty name makes a
// new untitled window ("Image" + n + ".bmp"); a kind of -1 or below makes
// or reuses a window without loading a file, sized to the elevation grid,
// that ends with Pictype 1. The window ends shown, active, and current
// (curpic). A name given with a kind of 0 or more for a file that is not
// found (as given, in the folder of the last network file, in the program
// folder) does nothing. Returns the window, or null when none was made.
frmPic *openpicture(QString name, int kind);

// Writes the window's picture as a BMP file under the name (when the name
// ends in "bmp"; otherwise it asks whether to write only the calibration),
// then its picture calibration file beside it. A picture that cannot be
// written is reported and leaves the window and its calibration file as
// they were. Returns true when the calibration file was written.
bool savepicture(frmPic *w, const QString &name);

// The companion picture of a map converted from the old layout: opened as a
// picture of kind 1 (when found), made current, given the map's corners.
// Install it as mapservices.opencompanion (map/mapservices.h) at start-up.
void opencompanion(const QString &picture);

// Reads an image file by its content. A null image when the file cannot be
// read as a picture; `error` then says why.
QImage loadimage(const QString &path, QString *error = nullptr);

// The number of untitled windows made so far in the run.
int untitledcount();

}  // namespace zk
