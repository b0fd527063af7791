// The datum: one ellipsoid for the whole program, read from the datum file
// "geosys.dat" (or the built-in defaults), with the constants that the UTM
// conversions derive from it, and the three texts of the program's version
// block that the start-up captures at the same time.
//
// "geosys.dat" holds four values in list form (commas or line ends between
// values, texts may be quoted, numbers with a point):
//   datum name, semi-major axis a (m), semi-minor axis b (m), MGRS row offset
// An empty datum name switches every grid reference to Maidenhead locators.
#pragma once

#include <QString>

#include <cstdint>

class QIODevice;

namespace zk {

extern QString ellname;   // datum name; empty selects Maidenhead locators
extern double ella;       // semi-major axis a, m
extern double ellb;       // semi-minor axis b, m
extern int16_t rowoffset; // added to the MGRS row-letter count
extern double ele2;       // first eccentricity squared
extern double elep2;      // second eccentricity squared
extern double eln;        // n = (a - b) / (a + b)
extern double arc0, arc1, arc2, arc3, arc4;  // meridian-arc series

extern QString appcompany;      // company name of the version block
extern QString appproduct;      // product name of the version block
extern QString appdescription;  // file description, CR LF, company name

// Built-in datum, used whenever the file lacks a value.
constexpr double kDefaultA = 6378137.0;
constexpr double kDefaultB = 6356752.314;
constexpr int16_t kDefaultRowOffset = 10;

// The default datum name of the product variant: "WGS 1984" when the
// product name begins with kGridVariantLetter, else empty (that variant shows
// Maidenhead locators until a datum file names a datum).
constexpr char kGridVariantLetter = 'K';
QString defaultDatumName();

// Captures the version texts, sets the defaults and, when name is not empty,
// reads the datum file of that name (per-user data folder first, then the
// program folder); then derives the constants. A missing file or a value
// that does not read keeps the default silently. Axes that make no ellipsoid
// of the Earth (a non-zero axis outside 6000 to 7000 km, a flattening
// outside 0 to 1/100) are refused with a message naming the file, and the
// whole default datum stays.
void loadellipsoid(const QString &name);

// The same from an open device (the reading step alone); for tests and for
// callers that already hold the bytes. A null device reads nothing. Answers
// why the datum was refused, "" when it was not.
QString loadellipsoidFrom(QIODevice *file);

}  // namespace zk
