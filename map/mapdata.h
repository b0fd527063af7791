// The one elevation map in memory: the grid, its settings and corners, the
// map file's name and the modified flag, with the dialogs' working copies.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

#include "zelkor32.h"

namespace zk {

// The elevation grid: 16-bit elevations in metres, x west to east and y
// south to north (row 0 is the southern row), both lower bounds 0, first
// index fastest. The grid hands itself to the engine as a ZkArray.
class ElevGrid {
public:
    // Re-dimensions to upper bounds ux, uy (nx = ux + 1, ny = uy + 1), all 0.
    // Negative bounds give an empty grid.
    void redim(int32_t ux, int32_t uy);
    int32_t ubound1() const { return desc_.ubound[0]; }  // X: upper bound of x
    int32_t ubound2() const { return desc_.ubound[1]; }  // Y: upper bound of y
    int32_t nx() const { return desc_.ubound[0] + 1; }
    int32_t ny() const { return desc_.ubound[1] + 1; }
    bool contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < nx() && y < ny(); }
    int16_t at(int32_t x, int32_t y) const { return cells_[size_t(x) + size_t(y) * size_t(nx())]; }
    int16_t &at(int32_t x, int32_t y) { return cells_[size_t(x) + size_t(y) * size_t(nx())]; }
    int16_t get(int32_t x, int32_t y) const { return contains(x, y) ? at(x, y) : 0; }
    int16_t *data() { return cells_.data(); }
    const int16_t *data() const { return cells_.data(); }
    size_t cellCount() const { return cells_.size(); }
    // The engine's view: pass engineArray() where the engine wants ZkArray **.
    ZkArray **engineArray();

private:
    std::vector<int16_t> cells_;
    ZkArray desc_{2, {0, 0}, {-1, -1}, nullptr};
    ZkArray *descPtr_ = &desc_;
};

// The corner record: index 0 NW, 1 NE, 2 SE, 3 SW.
struct MapCorners {
    float lon[4] = {0, 0, 0, 0};
    float lat[4] = {0, 0, 0, 0};
    int16_t city = 0;
};

extern ElevGrid elevgrid;
extern MapSettings mapset, editmap;
extern MapCorners mapcorners, editcorners;
extern QString mapfile;
extern bool mapmodified;
// True while the grid is not a map: the map a network file names could not
// be opened, and the grid is the flat placeholder of the network's extent.
// No profile is taken from it (links would be computed over 0 m as if it
// were terrain). A map opened or extracted clears it.
extern bool mapmissing;

// Writes `mapcorners` from the record's centre and north-south extent and the
// current shape of `elevgrid`, so that grid cells are square on the ground at
// the centre latitude. A size below 1 km (or not a number) becomes 1 in the
// record. A step that cannot be computed (a grid one row high) is skipped.
void setcorners(MapSettings &settings);

// The grid cell nearest to a position: x and y (whole numbers) are written in
// every case, also off the map; on the grid (bounds included) the cell's
// elevation is written and the answer is true. A map reaching across the
// antimeridian keeps positions on its far side in its own longitude range.
bool gridpoint(double longitude, double latitude, float &x, float &y, float &elevation);

}  // namespace zk
