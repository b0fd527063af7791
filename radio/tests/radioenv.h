// Shared set-up of the radio tests: a new document and a test map whose
// cells have exact binary sizes (64 cells per degree both ways), so that
// positions a fraction of a cell apart are exact in single precision.
#pragma once

#include <cmath>
#include <cstdint>

#include "map/mapdata.h"
#include "radio/radiodata.h"

namespace radiotest {

// The map: 513 x 513 cells on corners from 8 E to 16 E and 40 N to 48 N
// (cell 0 at the west and south edges, cell 512 at the east and north
// edges), 100 km from south to north. Elevation of cell (x, y) given by
// `elev` (flat 0 by default).
inline void setTestMap(int16_t (*elev)(int x, int y) = nullptr)
{
    zk::elevgrid.redim(512, 512);
    for (int y = 0; y <= 512; ++y)
        for (int x = 0; x <= 512; ++x) zk::elevgrid.at(x, y) = elev ? elev(x, y) : 0;
    zk::mapcorners.lon[0] = 8;  zk::mapcorners.lat[0] = 48;
    zk::mapcorners.lon[1] = 16; zk::mapcorners.lat[1] = 48;
    zk::mapcorners.lon[2] = 16; zk::mapcorners.lat[2] = 40;
    zk::mapcorners.lon[3] = 8;  zk::mapcorners.lat[3] = 40;
    zk::mapset.size = 100;
}

// Longitude and latitude of a (fractional) cell of the test map.
inline float cellLon(double x) { return float(8.0 + x / 64.0); }
inline float cellLat(double y) { return float(40.0 + y / 64.0); }

inline void placeUnit(int u, double x, double y, float elev = 0)
{
    zk::units[u].lon = cellLon(x);
    zk::units[u].lat = cellLat(y);
    zk::units[u].elev = elev;
}

}  // namespace radiotest
