// Merging a Quo Vadis GIF map into a picture window that has geographic
// corners. The GIF's geography comes from its calibration file (the GIF's
// name with its last four characters replaced by "_gif.cal"): nine points
// on a 3 x 3 grid, positions in twips, three latitudes and three longitudes.
// The four cells between the points are warped one by one into the picture
// by the engine's mergemultiply: copied, averaged or multiplied.
//
// Calibration lines (blanks around them and the case do not matter; the
// value is the number at the end of the line, after a blank, "," read as "."):
//   twipsx 15        twips per GIF pixel across (likewise twipsy)
//   c5_x 1234        point 5's position in twips (1..9, x or y)
//   c2_lat 45,25     latitude of row 2 (1..3, lat or lon for a column)
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace zk {

class frmPic;

// The calibration read last and the cell being merged (module-level).
extern int32_t twipsx, twipsy;                  // twips per GIF pixel
extern std::array<int32_t, 10> calx, caly;      // points 1..9, twips from the top-left corner
extern std::array<float, 4> callat, callon;     // rows 1..3 (top first), columns 1..3 (left first)
extern float gifcellw, gifcellh;                // size of the cell, pixels
extern std::array<float, 4> giflat, giflon;     // its corner pixels NW, NE, SE, SW

// The calibration file of a GIF file.
QString gifcalname(const QString &gif);

// What a calibration file holds, and which keys it gave.
struct GifCalibration {
    int32_t twipsx = 0, twipsy = 0;
    std::array<int32_t, 10> calx{}, caly{};
    std::array<float, 4> callat{}, callon{};
    bool hasTwipsx = false, hasTwipsy = false;
    std::array<bool, 10> hasX{}, hasY{};
    std::array<bool, 4> hasLat{}, hasLon{};
    QString error;  // a value that does not fit its field (line number given)
};
GifCalibration parsegifcal(const QByteArray &bytes);

// The value of a calibration line (already trimmed and lower-cased).
double gifcalvalue(const QString &line);

// Why the calibration cannot place the GIF of the given size, or "": a key
// missing, a twips value not above 0, two points of a cell's side at the same
// position, two rows or columns at the same latitude or longitude, or a cell
// outside the GIF.
QString checkgifcal(const GifCalibration &cal, int gifwidth, int gifheight);

// Reads the GIF's calibration file into the module-level values (all of
// them reset first, so nothing carries over from an earlier file). False
// when the file cannot be read; `error` then says why.
bool readgifcal(const QString &gif, QString *error = nullptr);

// The pixel of the current cell at a position. False, with x and y as they
// were, when the cell's corners allow no answer (a zero-length edge).
bool gifpixel(float lon, float lat, float &x, float &y);

// Merges the GIF into the window's picture: mode 0 copy, 1 average, 2
// multiply. A missing GIF or calibration file, or one that cannot place the
// GIF, is reported and merges nothing (no operation starts).
void mergegifmap(const QString &path, frmPic *frm, int16_t mode);

// The main window's "Mélanger avec un carte Quo Vadis" entries (0 copy,
// 1 add, 2 multiply) on the active picture window of kind 1 or 2.
void mnuQuo_Click(int index);

}  // namespace zk
