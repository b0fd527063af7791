// The colour scale of the rainbow pictures: twelve colours separated by
// eleven thresholds (altitudes for 2D pictures, signal levels for coverage
// plots) with three switches, its defaults after a map is loaded, and its
// file "colors.dat" in the per-user data folder.
//
// "colors.dat": 8-bit text, CR LF, 26 lines, one value a line:
//   1        absscale      decimal (0, 1, -1)
//   2        stratcolors   decimal
//   3..13    alt(0..10)    decimal
//   14..25   colors(0..11) upper-case hexadecimal, no prefix, no leading zeros
//   26       showlegend    decimal
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace zk {

// Colour k (red in the low byte) is used from threshold k - 1 up; colour 0
// below alt(0), colour 11 at or above alt(10). colors(10) = 0 means that no
// scale has been loaded yet.
extern std::array<uint32_t, 12> colors;
extern std::array<int16_t, 11> alt;        // altitude thresholds, m
extern std::array<float, 11> sigsteps;     // signal thresholds of the coverage plot
extern int16_t absscale;     // non-zero: thresholds stay as set; 0: spread over the map's range
extern int16_t stratcolors;  // > 0: one flat colour a band; else blended
extern int16_t showlegend;   // > 0: rainbow 2D pictures get the legend
extern int16_t scalekind;    // 0 altitude thresholds, 1 signal thresholds (dialog and legend)

constexpr int kColorLines = 26;

// The built-in colours: colour 0 sea blue, 1..10 from blue through green and
// yellow to red, 11 white.
std::array<uint32_t, 12> defaultcolors();
// The built-in thresholds of a scale that no file gave: 1, then 100 to 1000.
std::array<int16_t, 11> defaultthresholds();

// Makes sure the scale is loaded (the file, or the defaults), then spreads
// the thresholds evenly from mapset.minx to mapset.maxx unless the scale is
// absolute or the range is empty. The map reader and the extractions call it
// once minx and maxx hold their new values.
void initcolors();

// Reads "colors.dat" (per-user data folder first, then the program folder)
// into the scale. False, with nothing changed, when there is no such file.
bool loadcolors();
// Writes the scale to "colors.dat" in the per-user data folder, replacing
// the file only once the new one is complete. False when it cannot be written.
bool savecolors();

// The file's text for the scale as it is now.
QByteArray colorsfile();
// Reads the file's text into the scale: absscale becomes -1 first, then each
// line that holds a value of its kind replaces that value; lines missing at
// the end or not readable keep what the scale held.
void readcolorsfile(const QByteArray &bytes);

// The colours of the colour dialog's buttons "Couleurs 1" to "Couleurs 4"
// (which = 1..4).
std::array<uint32_t, 12> presetcolors(int which);

// The twelve colours split into the channels the engine's painter takes.
struct ColorChannels {
    std::array<int16_t, 12> red{}, green{}, blue{};
};
ColorChannels colorchannels();

}  // namespace zk
