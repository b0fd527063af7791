#include "mapdata.h"

#include <cfloat>
#include <cmath>

#include "base/longop.h"

namespace zk {

namespace {

// Degrees to radians as the map code has always written it.
constexpr double kRad = 0.017453292519943;
// Earth radius of the map's extent, km.
constexpr double kEarthKm = 6367.0;

// Stores a value into a 32-bit float field; a value that is not a number or
// does not fit is skipped and the field keeps what it held.
void storeFloat(float &dst, double v)
{
    if (std::isfinite(v) && std::fabs(v) <= double(FLT_MAX)) dst = float(v);
}

}  // namespace

ElevGrid elevgrid;

// The long operations count their progress in the grid's rows and columns.
// A plain function pointer, set while the program loads.
[[maybe_unused]] const bool kGridBoundsInstalled = [] {
    opgridbounds = [](int32_t &x, int32_t &y) {
        x = elevgrid.ubound1();
        y = elevgrid.ubound2();
    };
    return true;
}();
MapSettings mapset{}, editmap{};
MapCorners mapcorners, editcorners;
QString mapfile;
bool mapmodified = false;
bool mapmissing = false;

void ElevGrid::redim(int32_t ux, int32_t uy)
{
    if (ux < 0 || uy < 0) {
        cells_.clear();
        desc_.ubound[0] = desc_.ubound[1] = -1;
        desc_.data = nullptr;
        return;
    }
    cells_.assign(size_t(ux + 1) * size_t(uy + 1), 0);
    desc_.dims = 2;
    desc_.lbound[0] = desc_.lbound[1] = 0;
    desc_.ubound[0] = ux;
    desc_.ubound[1] = uy;
    desc_.data = cells_.data();
}

void setcorners(MapSettings &settings)
{
    if (!(settings.size >= 1.0f)) settings.size = 1.0f;
    const double dlat = double(settings.size) / kEarthKm / kRad;
    const double u1 = elevgrid.ubound1();
    const double u2 = elevgrid.ubound2();
    const double c = std::cos(double(settings.lat) * kRad);
    // A grid one row high or a centre on a pole gives no east-west extent.
    double dlon = 0.0;
    if (u2 != 0.0 && c != 0.0) dlon = dlat / u2 * u1 / c;
    if (!std::isfinite(dlon)) dlon = 0.0;
    const double lat = settings.lat, lon = settings.lon;
    storeFloat(mapcorners.lat[0], lat + dlat * 0.5);
    storeFloat(mapcorners.lat[1], lat + dlat * 0.5);
    storeFloat(mapcorners.lat[2], lat - dlat * 0.5);
    storeFloat(mapcorners.lat[3], lat - dlat * 0.5);
    storeFloat(mapcorners.lon[0], lon - dlon * 0.5);
    storeFloat(mapcorners.lon[3], lon - dlon * 0.5);
    storeFloat(mapcorners.lon[1], lon + dlon * 0.5);
    storeFloat(mapcorners.lon[2], lon + dlon * 0.5);
}

bool gridpoint(double longitude, double latitude, float &x, float &y, float &elevation)
{
    const MapCorners &c = mapcorners;
    if (c.lon[0] < -180.0f && longitude > 0) longitude -= 360.0;
    if (c.lon[2] > 180.0f && longitude < 0) longitude += 360.0;
    const double u1 = elevgrid.ubound1();
    const double u2 = elevgrid.ubound2();
    // Degenerate corners (no map yet) leave x or y as the caller passed them.
    const double w = double(c.lon[2]) - double(c.lon[0]);
    const double h = double(c.lat[0]) - double(c.lat[2]);
    if (w != 0.0) storeFloat(x, std::nearbyint((longitude - c.lon[0]) / w * u1));
    if (h != 0.0) storeFloat(y, std::nearbyint((latitude - c.lat[2]) / h * u2));
    if (!(x >= 0.0f && x <= float(u1) && y >= 0.0f && y <= float(u2))) return false;
    const int32_t ix = int32_t(x), iy = int32_t(y);
    if (!elevgrid.contains(ix, iy)) return false;
    elevation = elevgrid.at(ix, iy);
    return true;
}

ZkArray **ElevGrid::engineArray()
{
    descPtr_ = &desc_;
    return &descPtr_;
}

}  // namespace zk
