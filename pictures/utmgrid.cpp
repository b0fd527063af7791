#include "utmgrid.h"

#include <QCoreApplication>
#include <QImage>

#include <algorithm>
#include <cmath>

#include "base/longop.h"
#include "map/bearing.h"
#include "map/datum.h"
#include "map/utm.h"
#include "pictures/clip.h"
#include "pictures/draw2d.h"
#include "pictures/frmCustom.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/mainlink.h"
#include "qtdc.h"

namespace zk {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kEarthRadius_m = 6367.0 * 1000.0;

QString g_report;

// The end step: the operation ends (also when none was started, which then
// reads as stopped).
void endstep() { endop(); }

}  // namespace

void maskline(QImage &img, double x1, double y1, double x2, double y2, uint32_t colour, int width)
{
    if (img.isNull()) return;
    if (!(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2))) return;
    toDcFormat(img);
    const int W = img.width(), H = img.height();
    if (!clipsegment(x1, y1, x2, y2, -1.0, -1.0, double(W), double(H))) return;
    const double dx = x2 - x1, dy = y2 - y1;
    const bool steep = std::fabs(dy) > std::fabs(dx);
    const long steps = std::max(1L, std::lround(std::max(std::fabs(dx), std::fabs(dy))));
    const uint32_t mask = (colour & 0xFFFFFFu) | 0xFF000000u;
    auto put = [&](long x, long y) {
        if (x < 0 || y < 0 || x >= W || y >= H) return;
        reinterpret_cast<uint32_t *>(img.scanLine(int(y)))[x] &= mask;
    };
    for (long s = 0; s <= steps; ++s) {
        const long x = std::lround(x1 + dx * double(s) / double(steps));
        const long y = std::lround(y1 + dy * double(s) / double(steps));
        put(x, y);
        if (width > 1) {
            if (steep) put(x + 1, y);
            else put(x, y + 1);
        }
    }
}

QString utmgridreport() { return g_report; }

void drawutmgrid(QWidget *window, int kind)
{
    // 1. Only a picture of the map or with corners of its own.
    frmPic *w = qobject_cast<frmPic *>(window);
    if (!w || w->Pictype > 2) return endstep();
    PicBox *box = w->Picture1;

    // 2. A grid drawn earlier and not kept goes.
    box->cls();

    // 3. The centre and its grid position.
    const double W = box->scaleWidth(), H = box->scaleHeight();
    const float x0 = float(W / 2), y0 = float(H / 2);
    float lonc = 0, latc = 0;
    if (!pixtogeo(w, x0, y0, lonc, latc)) return endstep();
    if (latlontoutm(lonc, latc).isEmpty()) return endstep();
    const double E0 = utmeast, N0 = utmnorth;

    // 4. Pixels per metre across, along the centre's parallel.
    const float lons[4] = {w->lon1, w->lon2, w->lon3, w->lon4};
    const float lats[4] = {w->lat1, w->lat2, w->lat3, w->lat4};
    const float lonmin = *std::min_element(lons, lons + 4), lonmax = *std::max_element(lons, lons + 4);
    const float latmin = *std::min_element(lats, lats + 4), latmax = *std::max_element(lats, lats + 4);
    float p1x = 0, p1y = 0, p2x = 0, p2y = 0;
    geotopix(w, lonmin, latc, p1x, p1y);
    geotopix(w, lonmax, latc, p2x, p2y);
    const double sx = std::hypot(double(p2x) - p1x, double(p2y) - p1y) /
                      (std::cos(latc * kPi / 180) * (double(lonmax) - lonmin) * kPi / 180 * kEarthRadius_m);

    // 5. Pixels per metre up, and the turn between grid north and the
    // picture's up direction, both along the centre meridian.
    float q1x = 0, q1y = 0, q2x = 0, q2y = 0;
    geotopix(w, lonc, latmin, q1x, q1y);
    geotopix(w, lonc, latmax, q2x, q2y);
    if (latlontoutm(lonc, latmin).isEmpty()) return endstep();
    const double Ea = utmeast, Na = utmnorth;
    if (latlontoutm(lonc, latmax).isEmpty()) return endstep();
    const double Eb = utmeast, Nb = utmnorth;
    const double a1 = azimuth(Nb - Na, Ea - Eb);                       // grid: from north towards west
    const double a2 = azimuth(double(q1y) - q2y, double(q1x) - q2x);   // picture: from up towards left
    const double rot = a2 - a1;
    const double sy = std::hypot(double(q1x) - q2x, double(q1y) - q2y) / std::hypot(Na - Nb, Ea - Eb);
    // A degenerate picture (no extent, or a grid without scale) gets no lines.
    if (!(std::isfinite(sx) && std::isfinite(sy) && sx > 0 && sy > 0 && std::isfinite(rot))) return endstep();

    // 6. Blue lines through a mask pen.
    const double step = kind > 0 ? 10000.0 : 1000.0;
    const int penwidth = kind > 0 ? 2 : 1;
    constexpr uint32_t kBlue = 0xFF0000;  // RGB(0, 0, 255)

    // 7. Grid to pixels.
    const double cr = std::cos(rot), sr = std::sin(rot);
    auto px = [&](double E, double N) { return x0 + cr * sx * (E - E0) - sr * sy * (N - N0); };
    auto py = [&](double E, double N) { return y0 - sr * sx * (E - E0) - cr * sy * (N - N0); };

    // 8. The square around the centre that covers the picture.
    const double R = std::sqrt(W * W + H * H) / 2 / sy;
    const double Emin = std::floor((E0 - R) / step) * step, Nmin = std::floor((N0 - R) / step) * step;
    const double Emax = E0 + R, Nmax = N0 + R;

    // 9-11. The lines, one at a time, with Stop between them.
    beginop(opdraw2d);
    for (double E = Emin; E <= Emax; E += step) {
        maskline(box->image(), px(E, Nmin), py(E, Nmin), px(E, Nmax), py(E, Nmax), kBlue, penwidth);
        box->refresh();
        QCoreApplication::processEvents();
        if (runflag == 0) return endstep();
    }
    for (double N = Nmin; N <= Nmax; N += step) {
        maskline(box->image(), px(Emin, N), py(Emin, N), px(Emax, N), py(Emax, N), kBlue, penwidth);
        box->refresh();
        QCoreApplication::processEvents();
        if (runflag == 0) return endstep();
    }

    // The turn of the grid, for whoever wants it: degrees with one decimal,
    // mils (6400 to the turn), then the datum.
    const double deg = a1 * 180 / kPi;
    const double mils = std::round(a1 / (2 * kPi) * 6400);  // halves away from zero, as a format mask
    g_report = QStringLiteral("Azimut nord de la grille UTM = ") + maskText(deg, 1, 1) + QChar(0x00B0) +
               QStringLiteral(" (%1 mils)").arg(qlonglong(mils)) + QStringLiteral("\r\n") + ellname;

    // 13. Kept or not, the grid stays on screen until the next clearing.
    keepinpic(box, QStringLiteral("la grille "));

    // 14. The report goes to the message pane after the end text.
    endstep();
    QString shown = g_report;
    setpane("Label2", QStringLiteral("Complété. ") + shown.replace(QStringLiteral("\r\n"), QStringLiteral(", ")));
}

}  // namespace zk
