#include "fitmap.h"

#include <QLineEdit>
#include <QLocale>

#include <algorithm>
#include <cmath>

#include "base/routines.h"
#include "base/screen.h"
#include "base/settings.h"
#include "pictures/frmMapPro.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/mainlink.h"

namespace zk {

std::function<void(frmMapPro &)> fitmapshow;

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kEarthRadius_km = 6367;

int32_t whole(double v)
{
    if (!std::isfinite(v)) return 0;
    return int32_t(roundEven(std::clamp(v, -2147483648.0, 2147483647.0)));
}

}  // namespace

std::optional<MapFit> mapfit(QWidget *pic, QSize screen)
{
    // 1. A picture with corners.
    auto *w = qobject_cast<frmPic *>(pic);
    if (!w || (w->Pictype != 1 && w->Pictype != 2)) return std::nullopt;

    MapFit fit;
    float lons[4], lats[4];
    if (!w->Shape2->isHidden()) {
        // 2. The selection, scaled to 95 % of the screen in its proportions.
        const QRect s = w->Shape2->geometry();
        const int32_t sw = s.width(), sh = s.height();
        // A selection without width or height has no frame to fit.
        if (sw <= 0 || sh <= 0) return std::nullopt;
        // The screen's proportions as the system measures them, in twips.
        const float screenratio =
            float(screen.height() * twipsPerPixelY()) / float(screen.width() * twipsPerPixelX());
        if (screenratio < float(sh) / float(sw)) {
            fit.height = whole(0.95 * screen.height());
            fit.width = whole(double(fit.height) * sw / sh);
        } else {
            fit.width = whole(0.95 * screen.width());
            fit.height = whole(double(fit.width) * sh / sw);
        }
        // 3. Its corner pixels as positions.
        const float L = float(s.left()), T = float(s.top());
        const float R = float(s.left() + sw - 1), B = float(s.top() + sh - 1);
        pixtogeo(w, L, T, lons[0], lats[0]);
        pixtogeo(w, R, T, lons[1], lats[1]);
        pixtogeo(w, R, B, lons[2], lats[2]);
        pixtogeo(w, L, B, lons[3], lats[3]);
    } else {
        // 3. The whole picture.
        fit.width = w->Picture1->scaleWidth();
        fit.height = w->Picture1->scaleHeight();
        lons[0] = w->lon1, lons[1] = w->lon2, lons[2] = w->lon3, lons[3] = w->lon4;
        lats[0] = w->lat1, lats[1] = w->lat2, lats[2] = w->lat3, lats[3] = w->lat4;
    }
    // 4. The centre, and the extent in latitude.
    fit.lon = (lons[0] + lons[1] + lons[2] + lons[3]) / 4;
    fit.lat = (lats[0] + lats[1] + lats[2] + lats[3]) / 4;
    fit.extent_deg = *std::max_element(lats, lats + 4) - *std::min_element(lats, lats + 4);
    // 5.
    if (!(fit.extent_deg > 0) || !std::isfinite(fit.extent_deg) || !std::isfinite(fit.lon) || !std::isfinite(fit.lat))
        return std::nullopt;
    return fit;
}

QString extenttext(float extent_deg)
{
    const double km = double(extent_deg) * kPi / 180 * kEarthRadius_km;
    // std::round takes halves away from zero, as a "0.00" mask does.
    return QLocale().toString(std::round(km * 100) / 100, 'f', 2);
}

void fitmap(QWidget *pic)
{
    const std::optional<MapFit> fit = mapfit(pic, screenPixels());
    if (!fit) return;

    // 6. Loading the dialog fills it from the map in memory.
    frmMapPro dlg(mainowner());

    // 7. Each text goes through the dialog's own change handling.
    dlg.Text1->setText(floatText(fit->lon));
    dlg.Text2->setText(floatText(fit->lat));
    dlg.Text3->setText(QString::number(fit->width));
    dlg.Text4->setText(QString::number(fit->height));
    dlg.Text6->setText(extenttext(fit->extent_deg));

    // 8.
    if (fitmapshow) fitmapshow(dlg);
    else dlg.exec();
}

}  // namespace zk
