// Shared set-up of the radio tests: a new document and a test map whose
// cells have exact binary sizes (64 cells per degree both ways), so that
// positions a fraction of a cell apart are exact in single precision.
#pragma once

#include <cmath>
#include <cstdint>

#include "map/mapdata.h"
#include "radio/coverage.h"
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

// Hills and valleys, so that levels differ along and between radials.
inline int16_t hills(int x, int y)
{
    return int16_t(300 + 180 * std::sin(x / 23.0) * std::cos(y / 31.0) + 60 * std::sin((x + 2 * y) / 9.0));
}

// A radio sweep over the hills from unit 1 (placed at cell 250, 260 with
// unit 2 at 270, 260) to unit 2 in network 1, levels in dBm from 20 to 60
// with the contour, rainbow colours, all azimuths from 0.5 km on; range
// and azimuth step are the caller's.
inline zk::RadioSweep hillSweep(float rangemax, float azstep)
{
    zk::RadioSweep p;
    p.x0 = 250;
    p.y0 = 512 - 260;
    p.a = 1;
    p.b = 2;
    p.net = 1;
    p.thrunit = 1;
    p.L = 20;
    p.U = 60;
    p.curve = true;
    p.curvecolor = 0xFF;
    p.surfcolor = 0;
    p.rangemax = rangemax;
    p.rangemin = 0.5f;
    p.azmin = 0;
    p.azmax = 359;
    p.azstep = azstep;
    return p;
}

}  // namespace radiotest
