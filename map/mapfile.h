// Map files: the one elevation map (grid, settings, corners) in a binary file
// with the extension "map". The current layout starts with the mark 5000.0;
// files of the older layout (no mark, 513 x 513 float elevations, a
// west-positive centre) are read and converted.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

#include "map/mapdata.h"

class QIODevice;

namespace zk {

constexpr float kMapMark = 5000.0f;           // bytes 00 40 9C 45
constexpr int kPackedSettingsBytes = 50;
constexpr int kPackedCornersBytes = 34;
constexpr int kMapHeaderBytes = 12 + kPackedSettingsBytes + kPackedCornersBytes;  // 96
constexpr int kOldMapSide = 513;              // old layout: 513 x 513 cells

// The records as they lie in a map file: little-endian, no padding.
QByteArray packsettings(const MapSettings &s);
QByteArray packcorners(const MapCorners &c);
// Reads a packed record from bytes that must hold at least its size.
MapSettings unpacksettings(const char *bytes);
MapCorners unpackcorners(const char *bytes);

// Why the settings of a map file cannot be used ("" when they can): a field
// outside its range or not a number, such as a contrast of 1e30.
QString checkmapsettings(const MapSettings &s);

// A whole current-layout map file for a grid and its records.
QByteArray mapfilebytes(const ElevGrid &grid, const MapSettings &s, const MapCorners &c);

// A map read from a file, not yet in memory.
struct MapImage {
    int32_t nx = 0, ny = 0;
    MapSettings settings{};
    MapCorners corners;
    std::vector<int16_t> cells;  // nx x ny, first index fastest, southern row first
};
struct OldMapImage {
    MapSettings settings{};      // centre converted to east-positive, tag set
    std::vector<float> cells;    // 513 x 513, first index fastest, southern row first
};

enum class MapRead {
    Ok,
    NotThisLayout,  // current layout: the mark is missing
    Bad,            // the layout is recognised but the file is broken or short
};

// Current layout from the device's start: the mark, nx and ny both at least 1,
// and a file of exactly 96 + 2 x nx x ny bytes. On Bad, `why` (when given)
// says what is wrong, in the user's words (sizes in bytes).
MapRead readcurrentmap(QIODevice &dev, MapImage &out, QString *why = nullptr);
// Old layout from the device's start: a centre longitude strictly between
// -181 and 181 (west positive), the three texts and all 513 x 513 floats present.
MapRead readoldmap(QIODevice &dev, OldMapImage &out, QString *why = nullptr);

// Writes the map in memory under the name (the file is replaced only once the
// new one is complete). On success sets mapfile, clears mapmodified and shows
// "<file> a été enregistrée"; on failure shows an error and changes nothing.
bool savemap(const QString &name);

// Finds the map file (as given, beside the current network file, in the program
// folder), reads it into memory (converting the old layout) and answers true.
// A name not ending in "map" is refused silently; a broken file is refused with
// "Mauvais format de carte", the file's name and what is wrong with it, and
// the map in memory stays as it was.
bool openmap(const QString &name);

// The lookup of openmap: the file found, or "" when none exists.
QString findmapfile(const QString &name);

}  // namespace zk
