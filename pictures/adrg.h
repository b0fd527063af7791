// ADRG chart import: readadrg reads the description of the chart on the disc
// named by the setting AdrgDrive (transmittal header "transh01.thf", the
// general information file and the tile table), and openadrg resamples the
// part of the chart that covers the map in memory into a picture window,
// one picture pixel a grid cell, tile by tile through the engine's getadrg.
//
// Disc layout (ISO 8211, byte 30 ends a field): root/transh01.thf holds,
// after the marker "VTH01", the chart name (16 characters at +213) and its
// folder N8 (8 at +245); root/N8/N8.gen holds, after "GIN01", the pixel
// counts in 360 degrees (+136, +144), the origin (+152 "+dddmmss.ss", +163
// "+ddmmss.ss"), tile rows and columns (+262, +265), the image file name
// (+285, 12 characters), "N" at +297 when there is no tile table, and the
// table after the second byte 30 past +285 (5 digits a tile). The image file
// root/N8/<name> has a 2048-byte header, then 49152 bytes a 128 x 128 tile.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QWidget;

namespace zk {

class frmPic;

// The chart read last (module-level, as the import keeps it).
extern QString adrgname;   // 16 characters; "ADRG non detecté" while none is found
extern float adrglon;      // origin: west edge of the chart's pixel grid, degrees east
extern float adrglat;      // origin: north edge, degrees north
extern double adrgdx;      // chart pixels per degree of longitude
extern double adrgdy;      // chart pixels per degree of latitude
extern int16_t adrgrows;   // tile rows, 1..999
extern int16_t adrgcols;   // tile columns, 1..999
extern std::vector<int16_t> adrgtiles;  // (column, row) at column + row * adrgcols; 1-based tile numbers, <= 0 none
extern int32_t adrgx0;     // picture pixels from the chart origin east to the map's west edge
extern int32_t adrgy0;     // picture pixels from the chart origin south to the map's north edge
extern int16_t adrgvar;    // windows the import has named in this run

// The bytes per tile and the image file's header.
constexpr int64_t kAdrgTileBytes = 3 * 128 * 128;
constexpr int64_t kAdrgHeaderBytes = 2048;

// The position of the marker's first character: the first byte 30 followed
// immediately by the five characters. Nothing when it is not there.
std::optional<qsizetype> adrgmarker(const QByteArray &bytes, const char *marker);

// "+dddmmss.ss" or "+ddmmss.ss" as degrees (minus sign first: negative).
float adrgposition(const QByteArray &text);

// What readadrg gets from the general information file.
struct AdrgGeneral {
    double dx = 0, dy = 0;     // chart pixels per degree
    float lon = 0, lat = 0;    // origin
    int16_t rows = 1, cols = 1;
    QByteArray image;          // the 12-character image file name, as written
    bool table = false;        // a tile table follows
    std::vector<int16_t> tiles;
};

// Reads a general information file's bytes. A missing marker, scale counts
// that are not positive whole numbers, an origin that is no position, a
// tile table cut short, or a tile number beyond 32767 refuse the chart:
// nothing is returned and `error` says why.
std::optional<AdrgGeneral> readadrggen(const QByteArray &bytes, QString *error);

// The disc root of a setting: a drive letter stands for its data folder.
QString adrgroot(const QString &drive);

// Reads the chart on the disc at adrgdrive into the state above and returns
// the image file's path. "" without an error: no disc (no transmittal header
// file). "" with `error` set: the disc is there but its chart is refused (a
// file or marker missing, an absurd scale, a tile beyond the image file);
// the state is then left as it was, apart from adrgname.
QString readadrg(QString *error = nullptr);

// Draws the chart over the map's area into the picture window (or a new one
// when frm is not a picture window) as the long operation opadrg, asking for
// another disc while the picture is incomplete. Returns the window drawn
// into.
frmPic *openadrg(QWidget *frm);

}  // namespace zk
