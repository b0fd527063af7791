// The object files drawn over pictures and edited by the object editor, as
// plain text: labels files and the cities file (colour, latitude, longitude,
// text, position code, background), OziExplorer track files, the field
// splitting both share, the coordinate text the editor writes, and the
// 1-degree object tile folders.
//
// Labels file (Windows-1252, CR LF): a header line ("Kestrova Labels"), then
//   colour(hex), lat, lon, text, position code 0..4, background(hex or -1)
// Cities file: the same order with the longitude west positive and usually
// four fields. Track file (OziExplorer Track Point File Version 2.1): six
// header lines (line 5: 0, width, colour as decimal, description; line 6:
// point count), then lat, lon, code (1 starts a sequence), altitude in feet.
//
// Fields are separated by commas. A field that begins with a double quote
// runs to the next double quote, so a quoted text may hold commas; this is
// how the editor writes a label text with a comma, and older files never
// hold a comma inside quotes that they meant as a separator.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zk {

// Largest object file read. Real ones are a few megabytes at most.
constexpr qint64 kMaxObjectFileBytes = 64LL * 1024 * 1024;

// The lines of an object file (Windows-1252; CR LF or LF; a last line
// without an end counts). A file that cannot be read, or is larger than
// kMaxObjectFileBytes, gives nothing and `error` says why.
std::optional<QStringList> readobjectlines(const QString &path, QString *error = nullptr);
QStringList objectlines(const QByteArray &bytes);

// The fields of a line, blanks and double quotes kept; a line without a
// comma is one field, an empty line one empty field.
QStringList splitfields(const QString &line);

// readfields: the fields of the line into elements 1 to 10 (element 0 and
// the rest emptied); fields past the tenth are counted but not stored.
// Returns the number of fields. There is no length limit on the line.
int readfields(const QString &line, std::array<QString, 11> &fields);

// A field without any double quote.
QString unquoted(const QString &field);

// Its leading hexadecimal digits (at most eight; blanks ignored) as a
// 32-bit value; 0 when there are none.
uint32_t leadhex(const QString &text);
// The whole text (blanks around it ignored) as a hexadecimal number of one
// to eight digits; nothing otherwise.
std::optional<uint32_t> wholehex(const QString &text);

// One label as the drawing uses it.
struct LabelLine {
    uint32_t colour = 0;        // text colour, red in the low byte
    float lat = 0, lon = 0;     // east-positive longitude
    QString text;               // trimmed
    int code = 0;               // 0..4 (anything else reads as 0)
    bool box = false;           // a background box is drawn
    uint32_t boxcolour = 0;     // its colour
};

// The six fields of a label line with their double quotes removed. A line
// of more than six fields whose last two are a whole position code and a
// background (hex or -1) is a text written with commas in it: the middle
// fields are that text. Otherwise only the first six are used. Fewer than
// four fields give nothing.
std::optional<std::array<QString, 6>> labelfields(const QString &line);

// A label or city line read by the drawing rules; `westpositive` for the
// cities file; `transparent` is the setting for lines without a background
// field. Nothing for a line of fewer than four fields or without a position.
std::optional<LabelLine> parselabel(const QString &line, bool westpositive, bool transparent);

// A track file as the drawing reads it.
struct TrackPoint {
    float lat = 0, lon = 0;
    bool start = false;  // code 1: starts a new line or surface
    double alt_ft = 0;   // field 4
};
struct TrackFile {
    double width = 0;      // header line 5, field 2
    uint32_t colour = 0;   // header line 5, field 3, red in the low byte
    int64_t declared = 0;  // header line 6
    std::vector<TrackPoint> points;
};

// Reads a track file's lines: line 1 must be one field, line 5 at least
// three, line 6 one (else nothing). The points run from line 7 to the end of
// the file or the first line of fewer than three fields, whatever count line
// 6 declares (OziExplorer and the tools that write its files put 0 there).
std::optional<TrackFile> readtrack(const QStringList &lines);

// The editor's coordinate text: five decimals, a point, no digit before the
// point when the whole part is 0 (45.5 -> 45.50000, -0.05 -> -.05000).
QString FixNbr(float x);

// A number as the editor writes a code, position or altitude: the shortest
// decimal text with a point, without a zero before the point (0.5 -> .5).
QString plainnumber(double v);

// The name of the 1-degree tile whose south-west corner is (lon, lat), whole
// degrees: "E006/N45", "W075/S01"; longitudes above 179 have 360 taken off
// and those below -180 have 360 added (180 gives W180).
QString tilename(int lon, int lat);

// The tiles covered by four corners, in the drawing's order: longitude the
// outer loop, from the floor of the smallest to the floor of the largest
// corner value. At most 360 longitudes and 181 latitudes; corners that are
// not numbers cover nothing.
QStringList coveredtiles(const std::array<float, 4> &lon, const std::array<float, 4> &lat);
// The same as the whole degrees of both loops, and the two parts of a
// tile's name ("W075", "N45").
struct TileRanges {
    std::vector<int> lons, lats;
};
TileRanges coveredranges(const std::array<float, 4> &lon, const std::array<float, 4> &lat);
QString lonname(int lon);
QString latname(int lat);

// The object root of the setting ObjectDrive, ending with "/": a drive letter
// stands for its data folder (platform/paths.h).
QString objectroot();

}  // namespace zk
