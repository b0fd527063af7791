// Writers of the three terrain tile formats the extraction reads, fed by an
// elevation function: a compressed Terrain tile, a DTED cell (level 0 or 1)
// and a GTOPO30 tile with its header.
#pragma once

#include <QString>

#include <functional>

namespace zk::demo {

using ElevationFn = std::function<double(double lon, double lat)>;

// The Terrain tile with south-west corner (x, y) under root + "terrain/":
// 121 x 121 samples 1/120 degree apart, compressed (SZDD).
bool writeterraintile(const QString &root, int x, int y, const ElevationFn &f);

// The DTED cell with south-west corner (x, y) as root + "DTED/W074/N45.DT1"
// (level 1) or ".DT0" (level 0): header records, then longitude profiles
// spaced by the cell's latitude zone, samples sign-magnitude, with checksums.
bool writedtedcell(const QString &root, int x, int y, int level, const ElevationFn &f);

// The GTOPO30 tile with north-west corner (tlon, tlat) as root +
// "W100N90/W100N90.DEM" and ".HDR": big-endian samples at the pixel
// centres, -9999 at sea. Only the rows from latitude rowsNorth down to
// rowsSouth are written; the rest of the full-size file is left as a hole
// (it reads as zeros, as the sea does).
bool writegtopotile(const QString &root, int tlon, int tlat, double rowsNorth, double rowsSouth, const ElevationFn &f);

}  // namespace zk::demo
