#include "merge.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>
#include <cmath>

#include "base/longop.h"
#include "base/routines.h"
#include "engine.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"

namespace zk {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr uint32_t kWhite = 0xFFFFFF;

// A size in pixels from a real one: rounded (halves to even), at least 1.
int32_t pixels(double v)
{
    if (!(v >= 1.0)) return 1;
    if (v >= double(kMaxNewSide)) return kMaxNewSide;
    return int32_t(roundEven(v));
}

// The factor that keeps a w x h picture within the pixel limits (1 when it
// fits already).
double fitfactor(double w, double h)
{
    double f = 1.0;
    if (w > kMaxNewSide) f = std::min(f, kMaxNewSide / w);
    if (h > kMaxNewSide) f = std::min(f, kMaxNewSide / h);
    const double area = w * f * h * f;
    if (area > double(kMaxNewPixels)) f *= std::sqrt(double(kMaxNewPixels) / area);
    return f;
}

// The picture box of a new picture: of the given size, laid out.
void sizenew(frmPic *w, int32_t width, int32_t height)
{
    w->Picture1->setBoxSize(width, height);
    arrangepic(w);
}

void setcorners(frmPic *w, const NewFrame &f)
{
    setpiccorners(w, f.lon, f.lat);
}

bool hasframe(const frmPic *w) { return w && (w->Pictype == 1 || w->Pictype == 2); }

}  // namespace

void mergepics(frmPic *source, frmPic *destination, int mode)
{
    const QPointer<frmPic> src = source, dst = destination;

    // 1. The destination's box is refreshed as the merge grows and gives the
    // progress total.
    mergepic = dst ? dst->Picture1 : nullptr;
    beginop(opmerge);
    showprogress(2);
    QCoreApplication::processEvents();

    if (dst && src) {
        // 2-3. Only the permanent pictures take part: what was drawn over
        // either picture and not kept goes.
        dst->Picture1->cls();
        src->Picture1->cls();

        // 4. The destination's corners on the source picture.
        float x[4] = {}, y[4] = {};
        geotopix(src, dst->lon1, dst->lat1, x[0], y[0]);
        geotopix(src, dst->lon2, dst->lat2, x[1], y[1]);
        geotopix(src, dst->lon3, dst->lat3, x[2], y[2]);
        geotopix(src, dst->lon4, dst->lat4, x[3], y[3]);

        // 5. The resampling. The engine writes the destination's layer in
        // place.
        ZkDC ddc = dst->Picture1->hdc();
        ZkDC sdc = src->Picture1->hdc();
        engine::mergemultiply(&ddc, dst->Picture1->scaleWidth(), dst->Picture1->scaleHeight(), &sdc, x[0], y[0],
                              x[1], y[1], x[2], y[2], x[3], y[3], int16_t(std::clamp(mode, -32768, 32767)));
    }

    // 6. A merge that ran to its end becomes the destination's picture; a
    // stopped one is discarded.
    if (dst) {
        dst->Picture1->refresh();
        if (runflag > 0) dst->Picture1->commit();
        else dst->Picture1->cls();
    }
    mergepic = nullptr;

    // 7.
    endop();
}

NewFrame rotateframe(const PicFrame &old, double angle_deg, double stretch)
{
    NewFrame out;
    const double W0 = old.width, H0 = old.height;
    const double c = std::cos(angle_deg * kPi / 180), s = std::sin(angle_deg * kPi / 180);

    // The turned picture's bounding box, in pixels of the old picture.
    const double W1 = std::fabs(s) * H0 + std::fabs(c) * W0;
    const double H1 = std::fabs(c) * H0 + std::fabs(s) * W0;
    double k = std::isfinite(stretch) ? stretch : 1.0;
    k *= fitfactor(W1 * k, H1 * k);
    out.width = pixels(W1 * k);
    out.height = pixels(H1 * k);

    // The corners are the centres of the corner pixels: measured from the
    // centre of the old picture, the new corner pixels lie half the box less
    // half a pixel away, turned by the angle. So angle 0 gives back the old
    // corners, and 90 degrees puts the new NW corner on the old SW corner.
    const double a = (W0 - 1) / 2, b = (H0 - 1) / 2;
    const double A = (W1 - 1) / 2, B = (H1 - 1) / 2;
    const double px[4] = {a - c * A - s * B, a + c * A - s * B, a + c * A + s * B, a - c * A + s * B};
    const double py[4] = {b + s * A - c * B, b - s * A - c * B, b - s * A + c * B, b + s * A + c * B};
    for (int i = 0; i < 4; ++i) pixtogeo(old, float(px[i]), float(py[i]), out.lon[size_t(i)], out.lat[size_t(i)]);
    return out;
}

void rotatepic(float angle_deg, float stretch)
{
    // 1. A picture with corners.
    const QPointer<frmPic> old = activepic();
    if (!hasframe(old)) return;

    // 5 (first, so that the frame below has them). A picture without corners
    // gets the unit square; the old window keeps it.
    if (old->lon1 == 0 && old->lon2 == 0 && old->lon3 == 0 && old->lon4 == 0) {
        old->lon2 = old->lon3 = 1;
        old->lat1 = old->lat2 = 1;
        old->Pictype = 2;
    }
    const NewFrame f = rotateframe(picframe(old), angle_deg, stretch);

    // 2-4. The new window, white, of the turned picture's size.
    const QPointer<frmPic> w = openpicture(QString(), 2);
    if (!w || !old) return;
    w->Picture1->setBackColor(kWhite);
    sizenew(w, f.width, f.height);

    // 6-7. Its corners, and the old picture copied into it.
    setcorners(w, f);
    mergepics(old, w, 0);
}

std::optional<NewFrame> projectframe(const PicFrame &old)
{
    const float lons[4] = {old.lon1, old.lon2, old.lon3, old.lon4};
    const float lats[4] = {old.lat1, old.lat2, old.lat3, old.lat4};
    for (int i = 0; i < 4; ++i)
        if (!std::isfinite(lons[i]) || !std::isfinite(lats[i])) return std::nullopt;
    const double latS = *std::min_element(lats, lats + 4), latN = *std::max_element(lats, lats + 4);
    const double lonW = *std::min_element(lons, lons + 4), lonE = *std::max_element(lons, lons + 4);
    const double span = lonE - lonW;
    // Coinciding western and eastern edges leave nothing to widen.
    if (!(span > 0)) return std::nullopt;

    NewFrame out;
    out.lat[2] = out.lat[3] = float(latS);
    out.lat[0] = out.lat[1] = float(latN);

    // The widening: half the span times the difference of the cosines of the
    // two edge latitudes.
    const double d = std::fabs(span * 0.5 * (std::cos(latN * kPi / 180) - std::cos(latS * kPi / 180)));
    if ((latN + latS) / 2 > 0) {
        out.lon[0] = float(lonW - d);
        out.lon[1] = float(lonE + d);
        out.lon[2] = float(lonE);
        out.lon[3] = float(lonW);
    } else {
        out.lon[0] = float(lonW);
        out.lon[1] = float(lonE);
        out.lon[2] = float(lonE + d);
        out.lon[3] = float(lonW - d);
    }
    const double width = double(old.width) / span * (span + d);
    const double k = fitfactor(width, old.height);
    out.width = pixels(width * k);
    out.height = pixels(double(old.height) * k);
    return out;
}

void projectpic()
{
    // 1. A picture with corners.
    const QPointer<frmPic> old = activepic();
    if (!hasframe(old)) return;
    if (old->lon1 == 0 && old->lon2 == 0 && old->lon3 == 0 && old->lon4 == 0) return;
    const std::optional<NewFrame> f = projectframe(picframe(old));
    if (!f) return;

    // 2-6. The new window with the trapezoid's corners.
    const QPointer<frmPic> w = openpicture(QString(), 2);
    if (!w || !old) return;
    w->Pictype = 2;
    setcorners(w, *f);
    sizenew(w, f->width, f->height);

    // 7. Pixels outside the old picture keep the new window's background.
    mergepics(old, w, 0);
}

}  // namespace zk
