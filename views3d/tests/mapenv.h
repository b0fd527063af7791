// The widget-free half of the 3D-view tests' set-up, for the plain tests as
// well as the windowed ones (testenv.h): the map in memory and the radar
// sweep's parameters with a recorder of what the sweep reports.
#pragma once

#include <cstdint>
#include <vector>

#include "map/mapdata.h"
#include "views3d/radar3d.h"

namespace viewtest {

// The grid of (ux + 1) x (uy + 1) cells; cell (x, y) at elevation
// elev(x, y), flat 0 without `elev`.
inline void fillGrid(int ux, int uy, int16_t (*elev)(int x, int y) = nullptr)
{
    zk::elevgrid.redim(ux, uy);
    for (int y = 0; y <= uy; ++y)
        for (int x = 0; x <= ux; ++x) zk::elevgrid.at(x, y) = elev ? elev(x, y) : 0;
}

// The map's corners, north-west first and clockwise.
inline void setCorners(float west, float south, float east, float north)
{
    zk::mapcorners.lon[0] = west; zk::mapcorners.lat[0] = north;
    zk::mapcorners.lon[1] = east; zk::mapcorners.lat[1] = north;
    zk::mapcorners.lon[2] = east; zk::mapcorners.lat[2] = south;
    zk::mapcorners.lon[3] = west; zk::mapcorners.lat[3] = south;
}

// A full turn of the radar sweep from `table` with the sensor at altitude h0
// in cell (cx, cy) of both the map in memory and the picture's grid, both
// with `cells_per_km` cells a km.
inline zk::Radar3DSweep radarSweep(const zk::RadarTable &table, float h0, int cx, int cy, float cells_per_km)
{
    zk::Radar3DSweep p;
    p.table = &table;
    p.azmin = 0;
    p.azmax = 360;
    p.azstep = 1;
    p.h0 = h0;
    p.cx = cx;
    p.cy = cy;
    p.gx = float(cx);
    p.gy = float(cy);
    p.piccells_per_km = cells_per_km;
    p.mapcells_per_km = cells_per_km;
    return p;
}

// Keeps the targets and rings a sweep reports; it says stop once it has
// seen `stopAfter` rings (never with -1).
struct SweepRecorder : zk::Radar3DCanvas {
    std::vector<zk::RadarTarget> targets;
    std::vector<float> rings;
    int stopAfter = -1;
    void target(const zk::RadarTarget &t) override { targets.push_back(t); }
    bool ring(float r) override
    {
        rings.push_back(r);
        return stopAfter < 0 || int(rings.size()) < stopAfter;
    }
};

}  // namespace viewtest
