#include "view3d.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/screen.h"
#include "map/mapdata.h"

namespace zk {

View3D view3d;
Projection3D proj3d;
float netalt = 0;
int16_t new3d = 0;
float eyedist = 0;
float flyspeed = 0;
float flyfps = 0;

namespace {

float clampf(float v, float lo, float hi) { return std::min(std::max(v, lo), hi); }

// Nearest 16-bit integer with halves to the even neighbour; out-of-range
// values are held at the limits rather than wrapped.
float toInt16Even(double v)
{
    if (!std::isfinite(v)) return 0;
    const double r = std::nearbyint(v);
    return float(std::clamp(r, -32768.0, 32767.0));
}

int32_t toInt32Even(double v)
{
    if (!std::isfinite(v)) return v > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
    const double r = std::nearbyint(v);
    return int32_t(std::clamp(r, -2147483648.0, 2147483647.0));
}

}  // namespace

void set3dparams(int16_t keep)
{
    View3D &v = view3d;
    if (keep == 0) {
        v.aper = 1;
        v.amplx = 1;
        v.theta = 10;
        v.size = 10;
        v.disto = 850;
        v.phi = 40;
        const QSize screen = screenPixels();
        v.ofx = float(screen.width()) / 2;
        v.ofy = float(screen.height()) / 2;
        netalt = 2000;
    } else {
        v.aper = clampf(v.aper, 1, 5);
        v.amplx = clampf(v.amplx, 0.001f, 10);
        v.disto = clampf(v.disto, 200, 2000);
        v.phi = clampf(v.phi, 0, 89);
        v.theta = clampf(v.theta, 0, 359);
        v.size = clampf(v.size, 0.1f, 4000);
    }

    constexpr double k = 3.14159265358979 / 180;
    const double th = double(v.theta) * k;
    const double ph = double(v.phi) * k;
    Projection3D &p = proj3d;
    p.kx1 = float(std::cos(th));
    p.ky1 = float(std::sin(th));
    p.kx2 = float(std::sin(th) * std::cos(ph));
    p.ky2 = float(-std::cos(th) * std::cos(ph));
    p.kz2 = float(-std::sin(ph));
    p.kx3 = float(std::sin(th) * std::sin(ph));
    p.ky3 = float(-std::cos(th) * std::sin(ph));
    p.kz3 = float(std::cos(ph));
    p.scrx = v.ofx;
    p.scry = v.ofy;
    const double ubx = elevgrid.ubound1();
    const double uby = elevgrid.ubound2();
    p.gridcx = toInt16Even(ubx / 2);
    p.gridcy = toInt16Even(uby / 2);
    p.focal = float(double(v.aper) * 1000);
    p.camdist = float(double(v.disto) * double(v.aper));
    // With keep = 0 the size is 10 km; a caller with keep != 0 has it clamped
    // to at least 0.1, so the division is defined after every call.
    p.zscale = float(double(v.amplx) / double(v.size) * uby / 1000);
}

int16_t project3d(float x, float y, float z, ProjPoint &pt)
{
    const Projection3D &p = proj3d;
    const float dx = float(double(x) - double(p.gridcx));
    const float dy = float(double(p.gridcy) - double(y));
    const float dz = float(double(p.zscale) * double(z));
    const double depth = double((long double)p.kx3 * dx + (long double)p.ky3 * dy - (long double)p.kz3 * dz +
                                (long double)p.camdist);
    if (!(depth > 1)) return 0;
    const double f = double(p.focal) / depth;
    const double sx = (double(p.kx1) * dx + double(p.ky1) * dy) * f + double(p.scrx);
    const double sy = double(p.scry) - (double(p.ky2) * dy + double(p.kx2) * dx - double(p.kz2) * dz) * f;
    pt.x = toInt32Even(sx);
    pt.y = toInt32Even(sy);
    return -1;
}

}  // namespace zk
