// The HAAT report: the height of a unit's antenna above the average terrain
// sampled on 8 radials at 2 to 10 miles, written as "Haat.txt" in the
// per-user data folder and opened in the desktop's text viewer.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace zk {

// The 57 lines of the report of unit (1..50) in network (1..25), without
// their line ends. Empty when the unit or network is out of range.
QStringList haatlines(int unit, int net);

// Writes the report and opens it. The first failure (a unit or network out
// of range, the file not created or not written) shows one "Unable to create
// Haat report" message and ends the report; no viewer is opened on a file
// that was not written. True when the file was written.
bool haatreport(int unit, int net);

// Test seam: what opens the written file (default QDesktopServices); empty
// restores the default.
void sethaatviewer(std::function<void(const QString &path)> viewer);

}  // namespace zk
