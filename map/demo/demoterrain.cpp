#include "demoterrain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zk::demo {

namespace {

// Integer hash of a lattice point, the same on every platform.
double lattice(int32_t ix, int32_t iy, uint32_t seed)
{
    uint32_t h = uint32_t(ix) * 374761393u + uint32_t(iy) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h) / 4294967296.0 * 2.0 - 1.0;
}

double fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

// Smooth value noise in -1..1 with unit lattice spacing.
double noise(double x, double y, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = int32_t(fx), iy = int32_t(fy);
    const double u = fade(x - fx), v = fade(y - fy);
    const double a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
    const double c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * u) * (1 - v) + (c + (d - c) * u) * v;
}

// Each octave is turned by about 37 degrees, so that the lattice's axes
// do not show as straight creases.
void rotate(double &x, double &y)
{
    const double c = 0.8, s = 0.6;
    const double nx = c * x - s * y;
    y = s * x + c * y;
    x = nx;
}

// Fractal sum of octaves; `scale_km` is the largest wavelength.
double fbm(double x, double y, double scale_km, int octaves, uint32_t seed)
{
    double sum = 0, amp = 1, norm = 0, f = 1.0 / scale_km;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise(x * f, y * f, seed + uint32_t(o) * 101u);
        norm += amp;
        amp *= 0.5;
        f *= 2.0;
        rotate(x, y);
    }
    return sum / norm;
}

double smoothstep(double e0, double e1, double x)
{
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double gauss(double d, double w) { return std::exp(-(d * d) / (w * w)); }

// Ridged multifractal: sharp crests where the noise crosses zero, each octave
// weighted by the one before so that detail gathers on the crests; 0..1.
double ridged(double x, double y, double scale_km, int octaves, uint32_t seed)
{
    double sum = 0, amp = 0.5, f = 1.0 / scale_km, weight = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        double r = 1.0 - std::fabs(noise(x * f, y * f, seed + uint32_t(o) * 131u));
        r *= r;
        r *= weight;
        weight = std::clamp(r * 2.0, 0.0, 1.0);
        sum += r * amp;
        norm += amp;
        amp *= 0.5;
        f *= 2.1;
        rotate(x, y);
    }
    return sum / norm;
}

}  // namespace

double elevation(double lon, double lat)
{
    // Kilometres east and north of 45 N 73 W.
    const double x = (lon + 73.0) * 111.32 * std::cos(45.0 * M_PI / 180.0);
    const double y = (lat - 45.0) * 110.57;
    // Warped coordinates, so that no feature keeps a regular shape.
    const double wx = x + 22.0 * fbm(x, y, 70.0, 4, 3);
    const double wy = y + 22.0 * fbm(x, y, 70.0, 4, 5);

    // The coast runs roughly north-south some 130 km east of the centre,
    // ragged at every scale; land lies to its west, with islands off it.
    const double coastX = 130.0 + 30.0 * std::sin(y / 70.0 + 1.0) + 35.0 * fbm(x, y, 90.0, 7, 7);
    const double inland = coastX - x;  // km from the coast, positive on land
    const double islands = fbm(x, y, 9.0, 4, 31) - 0.3 + inland / 60.0;

    // The river valley, its axis running south-west to north-east, wandering.
    const double valleyY = 40.0 + 0.35 * wx + 12.0 * std::sin(wx / 45.0);
    const double valley = gauss(y - valleyY, 10.0 + 5.0 * fbm(x, y, 60.0, 3, 11));
    // The estuary: the valley floor lies below the sea near the coast.
    const double estuary = valley * smoothstep(50.0, 0.0, inland);
    if ((inland <= 0.0 && islands <= 0.0) || estuary > 0.7) return 0.0;

    // A coastal plain rising inland to a rolling upland.
    double h = 30.0 + 250.0 * (1.0 - std::exp(-std::max(inland, 0.0) / 50.0));
    h += 110.0 * fbm(wx, wy, 30.0, 5, 37);
    // Where the mountains stand: a massif to the south-west, a narrow range
    // east of the centre, a belt of folded ridges near the coast, uplands in
    // the north.
    const double massif = gauss(std::hypot(wx + 95.0, wy + 95.0), 85.0);
    const double range = gauss(wx - 15.0, 16.0) * smoothstep(-140.0, -70.0, y) * smoothstep(180.0, 100.0, y);
    const double belt = smoothstep(-50.0, 20.0, x) * smoothstep(120.0, 50.0, x);
    const double north = smoothstep(60.0, 170.0, wy);
    h += 1400.0 * massif * ridged(wx, wy, 45.0, 7, 41);
    h += 1000.0 * range * ridged(wx * 0.6, wy * 0.25, 25.0, 6, 43);
    // Folded ridges: noise stretched along a north-north-east strike.
    const double across = x * 0.94 - y * 0.34, along = x * 0.34 + y * 0.94;
    h += 420.0 * belt * ridged(across + 8.0 * fbm(x, y, 30.0, 3, 47), along * 0.15, 9.0, 5, 53);
    h += 650.0 * north * ridged(wx, wy, 35.0, 6, 59);
    // Streams cut the land: creases of a ridged field, deeper in high ground.
    const double creases = ridged(wx + 40.0, wy - 25.0, 18.0, 3, 61);
    h -= (0.25 * h + 20.0) * std::pow(creases, 3.0);
    // The valley floor: broad and low, with terraces up its sides.
    h = h * (1.0 - 0.93 * valley) + (12.0 + 30.0 * std::fabs(fbm(x, y, 15.0, 3, 29))) * valley;
    // Small detail everywhere.
    h += (6.0 + 0.05 * h) * fbm(x, y, 3.0, 4, 67);
    // Beaches: land meets the sea gently; islands stay low.
    if (inland <= 0.0) h = 5.0 + 80.0 * islands;
    else h *= smoothstep(0.0, 8.0, inland) * 0.9 + 0.1;
    return std::max(1.0, h);
}

}  // namespace zk::demo
