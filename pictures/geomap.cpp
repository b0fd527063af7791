#include "geomap.h"

#include <cmath>

#include "pictures/frmPic.h"

namespace zk {

namespace {

// n / d into out; a division that fails (zero divisor, overflow, a NaN in
// the input) leaves out as it was, as the original skipped such a step.
bool fraction(float n, float d, float &out)
{
    if (d == 0.0f) return false;
    const float r = n / d;
    if (!std::isfinite(r)) return false;
    out = r;
    return true;
}

// Pixel coordinates are kept well inside the 32-bit range so that callers
// drawing towards a far-off point can convert them safely.
constexpr float kPixelLimit = 1.0e8f;

float pixel(float frac, int32_t extent)
{
    const float v = std::nearbyint(frac * float(extent - 1));
    if (!std::isfinite(v)) return v > 0 ? kPixelLimit : -kPixelLimit;
    return std::fmax(-kPixelLimit, std::fmin(kPixelLimit, v));
}

}  // namespace

PicFrame picframe(const frmPic *w)
{
    PicFrame f;
    if (!w) return f;
    f.Pictype = w->Pictype;
    f.lon1 = w->lon1; f.lat1 = w->lat1;
    f.lon2 = w->lon2; f.lat2 = w->lat2;
    f.lon3 = w->lon3; f.lat3 = w->lat3;
    f.lon4 = w->lon4; f.lat4 = w->lat4;
    if (w->Picture1) {
        f.width = w->Picture1->scaleWidth();
        f.height = w->Picture1->scaleHeight();
    }
    return f;
}

bool geotopix(const PicFrame &f, float lon, float lat, float &x, float &y)
{
    x = -1;
    y = -1;
    // A picture across the antimeridian runs past 180 or below -180.
    if (f.lon2 > 180.0f && lon < 0.0f) lon += 360.0f;
    if (f.lon1 < -180.0f && lon > 0.0f) lon -= 360.0f;

    float u = -1, v = -1;
    if (f.Pictype == 1) {
        // North-up and rectangular in degrees.
        fraction(lon - f.lon1, f.lon2 - f.lon1, u);
        fraction(lat - f.lat1, f.lat4 - f.lat1, v);
    } else if (f.Pictype == 2) {
        // Orientation from the latitudes: north edge against south edge, and
        // west edge against east edge.
        const float d1 = (f.lat1 + f.lat2) - (f.lat3 + f.lat4);
        const float d2 = (f.lat1 + f.lat4) - (f.lat2 + f.lat3);
        float a = 0, b = 0, c = 0, d = 0;
        bool ok;
        if (std::fabs(d2) <= std::fabs(d1)) {
            ok = fraction(lat - f.lat1, f.lat4 - f.lat1, a) && fraction(lon - f.lon1, f.lon2 - f.lon1, b) &&
                 fraction(lat - f.lat2, f.lat3 - f.lat2, c) && fraction(lon - f.lon4, f.lon3 - f.lon4, d);
        } else {
            ok = fraction(lon - f.lon1, f.lon4 - f.lon1, a) && fraction(lat - f.lat1, f.lat2 - f.lat1, b) &&
                 fraction(lon - f.lon2, f.lon3 - f.lon2, c) && fraction(lat - f.lat4, f.lat3 - f.lat4, d);
        }
        // The crossing of the line from fraction b of the north edge to
        // fraction d of the south edge with the line from fraction a of the
        // west edge to fraction c of the east edge. Corners that make any of
        // these divisors zero give no crossing: the position is off the
        // picture.
        float k = 0;
        if (ok && fraction(1.0f, 1.0f - (d - b) * (c - a), k)) {
            const float uu = (b + (d - b) * a) * k;
            const float vv = (a + (c - a) * b) * k;
            if (std::isfinite(uu) && std::isfinite(vv)) {
                u = uu;
                v = vv;
            }
        }
    }
    const bool on = -0.0001f < u && u < 1.0001f && -0.0001f < v && v < 1.0001f;
    x = pixel(u, f.width);
    y = pixel(v, f.height);
    return on;
}

bool pixtogeo(const PicFrame &f, float x, float y, float &lon, float &lat)
{
    if (f.Pictype != 1 && f.Pictype != 2) return false;
    float u = -1, v = -1;
    fraction(x, float(f.width - 1), u);
    fraction(y, float(f.height - 1), v);
    const bool on = 0.0f <= u && u <= 1.0f && 0.0f <= v && v <= 1.0f;
    const float p = 1.0f - u, q = 1.0f - v;
    const float lo = f.lon1 * p * q + f.lon2 * u * q + f.lon3 * u * v + f.lon4 * p * v;
    const float la = f.lat1 * p * q + f.lat2 * u * q + f.lat3 * u * v + f.lat4 * p * v;
    // Corners or a pixel so far out that the blend overflows give nothing.
    if (!std::isfinite(lo) || !std::isfinite(la)) return false;
    lon = lo;
    lat = la;
    return on;
}

bool geotopix(const frmPic *w, float lon, float lat, float &x, float &y)
{
    if (!w) {
        x = -1;
        y = -1;
        return false;
    }
    return geotopix(picframe(w), lon, lat, x, y);
}

bool pixtogeo(const frmPic *w, float x, float y, float &lon, float &lat)
{
    if (!w) return false;
    return pixtogeo(picframe(w), x, y, lon, lat);
}

}  // namespace zk
