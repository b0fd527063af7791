// The network performance report: a fixed-layout French text about the
// document (the map, the active units, the radio systems) and, for each
// network of a range, its parameters and the matrix of link qualities
// between its participants, as the quality matrix was last computed.
//
// It goes to one of three destinations: the report window (one network,
// coloured, no opening sections), the printer ("Courier New" 12 points; a
// PDF in the per-user data folder when the machine has no printer), or the
// file "report.txt" in the per-user data folder (CR LF, Windows-1252), which
// is then opened in the desktop's text viewer.
#pragma once

#include <QColor>
#include <QFont>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QImage;

namespace zk {

// Destinations of netreport.
constexpr int16_t kReportWindow = 0;
constexpr int16_t kReportPrinter = 1;
constexpr int16_t kReportFile = 2;

// Writes the report of networks first..last (inclusive) with the matrix
// mode (0 direct links in dB, 1 with retransmissions, 2 direct links in
// S-units) to the destination. Does nothing at all when first < 1 or
// last > 25. The opening sections are written only when first != last.
void netreport(int16_t first, int16_t last, int16_t mode, int16_t destination);

// The report as the file holds it (lines ended by CR LF), before encoding.
QString netreporttext(int16_t first, int16_t last, int16_t mode);

// One text drawn on the report window: its logical column (from 1) and
// line (from 0 below the option frame), its place in pixels and colour.
struct ReportItem {
    QString text;
    int column = 1;
    int line = 0;
    double x = 0, y = 0;
    QColor color;
};

// Where destination 0 draws: the report window registers itself while it
// exists. `clear` empties the surface; `canvas` is the persistent drawing
// the window shows, `top` the pixel row the text starts at, `font` the
// window's font, `items` receives what is drawn, `done` repaints.
struct ReportSurface {
    std::function<void()> clear;
    std::function<QImage *()> canvas;
    std::function<int()> top;
    std::function<QFont()> font;
    std::function<void(const ReportItem &)> item;
    std::function<void()> done;
};
void setreportsurface(const ReportSurface *surface);

// A number as the report writes a "plain number": the shortest general
// text of the single-precision value (up to seven significant digits, the
// user's decimal separator, no digit before it between -1 and 1).
QString reportplain(float v);

// The S-unit text of a link quality in network n: "S0".."S9", or "10".."60"
// above S9.
QString sunittext(int ql, int n);

// The opening section's east-west extent of the map in km: the map's cells
// are square on the ground at its centre, so it is the north-south size
// times columns over rows.
double reportwidthkm();

// Test seams: the clock of the date line (null restores the system clock),
// and the viewer the written file is opened with (null restores the
// desktop's; answers whether it started).
void setreportclock(std::function<QDateTime()> clock);
void setreportviewer(std::function<bool(const QString &file)> viewer);

}  // namespace zk
