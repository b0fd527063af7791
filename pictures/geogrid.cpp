#include "geogrid.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>
#include <cmath>

#include "base/hooks.h"
#include "base/longop.h"
#include "pictures/clip.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "qtdc.h"

namespace zk {

namespace {

constexpr uint32_t kGridColour = 0x008000;  // RGB(0, 128, 0)

// More lines than this in one direction come only from corners that are not
// a real picture's (a 1-minute grid round the whole Earth has 21,601).
constexpr double kMaxLines = 1.0e6;

// The lines from `start` up to `end`, `step` apart. The count allows for the
// rounding of the division, so that a line on the far edge is not lost.
std::vector<double> lines(double start, double end, double step)
{
    std::vector<double> out;
    if (!(std::isfinite(start) && std::isfinite(end) && step > 0) || end < start) return out;
    const double n = std::floor((end - start) / step + 1e-9);
    if (!(n < kMaxLines)) return out;
    const auto count = int64_t(n) + 1;
    out.reserve(size_t(count));
    for (int64_t i = 0; i < count; ++i) out.push_back(start + double(i) * step);
    return out;
}

}  // namespace

void copyline(QImage &img, double x1, double y1, double x2, double y2, uint32_t colour)
{
    if (img.isNull()) return;
    if (!(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2))) return;
    toDcFormat(img);
    const int W = img.width(), H = img.height();
    if (!clipsegment(x1, y1, x2, y2, -1.0, -1.0, double(W), double(H))) return;
    const double dx = x2 - x1, dy = y2 - y1;
    const long steps = std::max(1L, std::lround(std::max(std::fabs(dx), std::fabs(dy))));
    const uint32_t px = (colour & 0xFFFFFFu) | 0xFF000000u;
    for (long s = 0; s <= steps; ++s) {
        const long x = std::lround(x1 + dx * double(s) / double(steps));
        const long y = std::lround(y1 + dy * double(s) / double(steps));
        if (x < 0 || y < 0 || x >= W || y >= H) continue;
        reinterpret_cast<uint32_t *>(img.scanLine(int(y)))[x] = px;
    }
}

GridLines gridlines(const PicFrame &f, float code)
{
    GridLines g;
    // The spacing, by the code compared exactly.
    if (code == 1.0f) g.step = 10;
    else if (code == 2.0f) g.step = 1;
    else if (code == 3.0f) g.step = 0.25;
    else g.step = 1.0 / 60;

    // The western and southern edges down to a multiple of the spacing; an
    // edge on a line stays on it whatever the rounding of the division.
    auto down = [&](double v) { return std::floor(v / g.step + 1e-9) * g.step; };
    const float lons[4] = {f.lon1, f.lon2, f.lon3, f.lon4};
    const float lats[4] = {f.lat1, f.lat2, f.lat3, f.lat4};
    g.lonW = down(*std::min_element(lons, lons + 4));
    g.lonE = *std::max_element(lons, lons + 4);
    g.latS = down(*std::min_element(lats, lats + 4));
    g.latN = *std::max_element(lats, lats + 4);
    g.lats = lines(g.latS, g.latN, g.step);
    g.lons = lines(g.lonW, g.lonE, g.step);
    return g;
}

void drawgrid(QWidget *pic, float code)
{
    // 1. Only a picture with corners; otherwise the operation just ends.
    const QPointer<frmPic> w = qobject_cast<frmPic *>(pic);
    if (!w || (w->Pictype != 1 && w->Pictype != 2)) {
        endop();
        return;
    }

    // 2. What was drawn over the pictures and not kept goes.
    hooks::clearoverlay();

    // 3-4. The lines.
    const GridLines g = gridlines(picframe(w), code);

    // 5.
    beginop(opdraw2d);

    // 6-7. Parallels, then meridians, each one straight segment between its
    // mapped ends.
    auto segment = [&](double lon1, double lat1, double lon2, double lat2) -> bool {
        if (!w) return false;
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        geotopix(w, float(lon1), float(lat1), x1, y1);
        geotopix(w, float(lon2), float(lat2), x2, y2);
        copyline(w->Picture1->image(), x1, y1, x2, y2, kGridColour);
        w->Picture1->refresh();
        QCoreApplication::processEvents();
        return runflag != 0 && w;
    };
    for (const double lat : g.lats) {
        if (!segment(g.lonW, lat, g.lonE, lat)) {
            endop();
            return;
        }
    }
    for (const double lon : g.lons) {
        if (!segment(lon, g.latS, lon, g.latN)) {
            endop();
            return;
        }
    }

    // 8-9.
    keepinpic(w->Picture1, QStringLiteral("la grille "));
    endop();
}

}  // namespace zk
