// A synthetic but plausible landscape around 45 N 73 W for the demo data
// set: a coastal plain and a coast to the east, a broad river valley running
// south-west to north-east that opens into an estuary, folded ridges, two
// mountain massifs and uplands to the north, with fractal detail. The same
// function feeds the three tile formats, so they agree where they overlap.
#pragma once

namespace zk::demo {

// Elevation in metres at a position (degrees, east and north positive);
// 0 at sea, at least 1 on land.
double elevation(double lon, double lat);

// True where the position lies at sea.
inline bool atsea(double lon, double lat) { return elevation(lon, lat) <= 0.0; }

// The region the demo data covers: whole degrees, west/south inclusive,
// east/north exclusive.
constexpr int kWest = -79, kEast = -67, kSouth = 42, kNorth = 48;

}  // namespace zk::demo
