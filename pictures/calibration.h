// The two calibration files of a picture: the picture calibration file (the
// picture's name with "dat" for its last three characters; written and read)
// and the ADRG calibration file ("adr"; read only). Both are small texts in
// Windows-1252 with CR LF line ends and locale-neutral numbers.
//
// Picture calibration file, one value or one pair a line:
//   Pictype
//   lon1,lat1   (north-west)   lon2,lat2 (north-east)
//   lon3,lat3   (south-east)   lon4,lat4 (south-west)
//   source      (the whole line)
//   Pictype 1: Mapmode maxx minx light con bri c1 c2 city hmin hmax hmoy
//   Pictype 3: amplx phi theta disto aper size ofx ofy w3 h3 q3
// ADRG calibration file: source, then north-west and south-east corners as
// "lon,lat" with longitudes positive to the west.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace zk {

struct PicCalibration {
    int16_t Pictype = 0;
    std::array<float, 4> lon{};  // corners NW, NE, SE, SW
    std::array<float, 4> lat{};
    QString source;
    // Pictype 1: Mapmode, maxx, minx, light, con, bri, c1, c2, city, hmin,
    // hmax, hmoy; Pictype 3: the first eleven are amplx .. q3.
    std::array<float, 12> values{};
};

// Largest calibration file read; real ones are a few hundred bytes.
constexpr qsizetype kMaxCalibrationBytes = 64 * 1024;

// Longest source text kept (characters): whatever is read is cut to it and
// nothing longer is written, so that every file written reads back (the
// numbers of a file take well under 1000 bytes).
constexpr qsizetype kMaxCalibrationSource = 4096;

// Reads a picture calibration file. Missing trailing values (a 3D picture's
// file holds eleven) and values that are not numbers stay 0. The file counts
// as damaged, and nothing is returned, when it is too large, holds NUL bytes,
// or when any of the eight corner numbers is missing, not a number, or not a
// position (latitude beyond 90 degrees, longitude beyond 540 degrees);
// `error` then names the line. A source text is cut to kMaxCalibrationSource.
std::optional<PicCalibration> readPicCalibration(const QByteArray &bytes, QString *error = nullptr);

// Reads an ADRG calibration file: Pictype 2, both longitudes negated, the
// other two corners completed. Damaged as above when a corner is missing.
std::optional<PicCalibration> readAdrCalibration(const QByteArray &bytes, QString *error = nullptr);

// The picture calibration file's bytes for the values.
QByteArray writePicCalibration(const PicCalibration &cal);

// A number as the calibration file writes it: a point as decimal separator,
// at most 7 significant digits, no blanks; whole numbers without a point.
QByteArray calNumber(float v);

// The companion file of a picture: its name with the last three characters
// replaced by the extension ("dat" or "adr"); valley.jpeg gives valley.jdat.
QString companionName(const QString &picture, const QString &ext3);

}  // namespace zk
