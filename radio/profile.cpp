#include "radio/profile.h"

#include <algorithm>
#include <cmath>

#include "base/routines.h"
#include "map/bearing.h"
#include "map/mapdata.h"
#include "radio/radiodata.h"

namespace zk {

std::array<double, kProfileSize> pfl{};
float profmin = 0, profmax = 0;
double profdist = 0;
double profaz = 0;

namespace {
// The constants as the system writes them.
constexpr double kPi = 3.14159265358979;
constexpr double kDegree = 0.017453292519943278;

int16_t emptyprofile()
{
    pfl[1] = 0;
    profmin = profmax = 0;
    profdist = 0;
    return 0;
}
}  // namespace

namespace {

// Where units a and b lie on the grid, in fractional cells (x east from the
// western edge, y north from the southern edge), and the grid's last row.
struct GridEnds {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int32_t uy = 0;
    bool map = false;            // the map has an extent and a scale
    bool ina = false, inb = false;  // each end lies on the grid
};

// False when the map has no extent or scale, or a unit lies off the grid.
bool placeends(int a, int b, GridEnds &e)
{
    if (a < 1 || a > kUnits || b < 1 || b > kUnits) return false;
    if (mapmissing) return false;  // a flat placeholder is no terrain
    if (!(mapset.size > 0)) return false;

    // Cells per degree along each axis. A grid of one cell, or corners
    // without extent, has no scale: nothing can be placed on it.
    const int32_t ux = elevgrid.ubound1(), uy = elevgrid.ubound2();
    const double spanx = double(mapcorners.lon[1]) - double(mapcorners.lon[0]);
    const double spany = double(mapcorners.lat[1]) - double(mapcorners.lat[2]);
    if (ux < 0 || uy < 1 || spanx == 0 || spany == 0) return false;
    e.map = true;
    const float xs = float(double(ux) / spanx);
    const float ys = float(double(uy) / spany);

    // Fractional cells of A and B; a map across the date line keeps both
    // ends within 180 degrees of its western edge.
    auto column = [&](const UnitRecord &u) {
        float dx = u.lon - mapcorners.lon[0];
        if (dx > 180) dx -= 360;
        if (dx < -180) dx += 360;
        return dx * xs;
    };
    auto row = [&](const UnitRecord &u) { return (u.lat - mapcorners.lat[2]) * ys; };
    e.x1 = column(units[a]);
    e.y1 = row(units[a]);
    e.x2 = column(units[b]);
    e.y2 = row(units[b]);
    e.uy = uy;
    auto inside = [&](float x, float y) { return x >= 0 && x <= float(ux) && y >= 0 && y <= float(uy); };
    e.ina = inside(e.x1, e.y1);
    e.inb = inside(e.x2, e.y2);
    return e.ina && e.inb;
}

// Path length in km of a grid distance: cells taken as square, the map's
// north-south extent over its rows.
double cellskm(double cells, int32_t uy) { return cells / double(uy) * double(mapset.size); }

}  // namespace

double linkdistance(int a, int b)
{
    GridEnds e;
    if (!placeends(a, b, e)) return -1;
    // The same arithmetic as getprofile, so that both give one length.
    const float Dx = e.x2 - e.x1, Dy = e.y2 - e.y1;
    return cellskm(std::sqrt(double(Dx) * Dx + double(Dy) * Dy), e.uy);
}

int16_t getprofile(int a, int b)
{
    pfl.fill(0);
    profaz = -1;
    GridEnds e;
    if (!placeends(a, b, e)) return emptyprofile();
    const float gpx1 = e.x1, gpy1 = e.y1, gpx2 = e.x2, gpy2 = e.y2;

    const float Dx = gpx2 - gpx1, Dy = gpy2 - gpy1;
    profaz = azimuth(Dy, Dx) / kDegree;

    profmax = -1000;
    profmin = 9999;
    const double cells = std::sqrt(double(Dx) * Dx + double(Dy) * Dy);
    const int n = int(roundEven(std::min(cells, double(kMaxProfileIntervals))));
    if (n == 0) return emptyprofile();

    for (int i = 0; i <= n; ++i) {
        const int32_t cx = int32_t(roundEven(double(i) * Dx / n + gpx1));
        const int32_t cy = int32_t(roundEven(double(i) * Dy / n + gpy1));
        const int16_t h = elevgrid.get(cx, cy);
        pfl[size_t(i) + 3] = h;
        if (h > profmax) profmax = h;
        if (h < profmin) profmin = h;
    }
    pfl[1] = n;
    profdist = cellskm(cells, e.uy);
    pfl[2] = profdist * 1000 / n;
    return int16_t(n);
}

QString emptyprofilereason(int a, int b)
{
    if (a < 1 || a > kUnits || b < 1 || b > kUnits) return QStringLiteral(" Pas de profil");
    auto name = [](int u) { return fixedText(units[u].name).trimmed(); };
    GridEnds e;
    if (placeends(a, b, e)) {
        const float Dx = e.x2 - e.x1, Dy = e.y2 - e.y1;
        if (roundEven(std::min(std::sqrt(double(Dx) * Dx + double(Dy) * Dy), double(kMaxProfileIntervals))) != 0)
            return QString();
        return QStringLiteral(" Pas de profil : ") + name(a) + QStringLiteral(" et ") + name(b) +
               QStringLiteral(" sont sur la même cellule de la carte");
    }
    if (!e.map) return QStringLiteral(" Pas de profil : aucune carte d'élévation en mémoire");
    if (!e.ina && !e.inb)
        return QStringLiteral(" Pas de profil : ") + name(a) + QStringLiteral(" et ") + name(b) +
               QStringLiteral(" sont hors de la carte");
    return QStringLiteral(" Pas de profil : ") + name(e.ina ? b : a) + QStringLiteral(" est hors de la carte");
}

void applyendsamples(int a, int b)
{
    const int n = int(pfl[1]);
    if (n < 1 || n > kProfileSize - 4) return;
    if (a >= 1 && a <= kUnits) pfl[3] = units[a].elev;
    if (b >= 1 && b <= kUnits) pfl[size_t(n) + 3] = units[b].elev;
}

}  // namespace zk
