#include "cursor.h"

#include <QMdiArea>
#include <QPainter>
#include <QTime>

#include <cmath>

#include "base/longop.h"
#include "base/mdi.h"
#include "map/geotext.h"
#include "map/mapdata.h"
#include "pictures/frmGrid.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/mainlink.h"
#include "pictures/pichooks.h"

namespace zk {

float curlon = 0;
float curlat = 0;
int32_t curx = 0;
int32_t cury = 0;
float curelev = 0;
double gridtime = 0;

namespace {

std::function<double()> g_clock;

double clockNow()
{
    if (g_clock) return g_clock();
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

// The zoom pane is painted at most every 0.25 s. The clock counts seconds
// since midnight: a gate set just before midnight would lie ahead of the
// clock for almost a day, so a clock that went back by more than the gate
// opens it.
bool zoomGateOpen()
{
    const float now = float(clockNow());
    const float gate = float(gridtime);
    return now > gate || gate - now > 0.5f;
}

void paintZoomPane(float lon, float lat)
{
    frmGrid *g = frmGrid::instance();
    if (!g) return;
    frmPic *w = activepic();
    if (!w) return;
    g->clearZoom();
    float px = 0, py = 0;
    if (!geotopix(w, lon, lat, px, py)) return;
    // The committed picture only: what was drawn over it is not shown.
    const QImage src = w->Picture1->clearedImage();
    QImage pane(150, 150, QImage::Format_RGB32);
    pane.fill(Qt::black);
    {
        QPainter p(&pane);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(QRect(0, 0, 150, 150), src, QRect(int(px) - 25, int(py) - 25, 50, 50));
    }
    g->setZoom(pane);
}

}  // namespace

void setCursorClock(std::function<double()> clock) { g_clock = std::move(clock); }

void showcursor(float lon, float lat)
{
    if (runflag > 0) return;

    float fx = 0, fy = 0, elev = 0;
    const bool onmap = gridpoint(lon, lat, fx, fy, elev);
    const int32_t x = int32_t(std::fmax(-2.0e9f, std::fmin(2.0e9f, std::isfinite(fx) ? fx : -1.0f)));
    const int32_t y = int32_t(std::fmax(-2.0e9f, std::fmin(2.0e9f, std::isfinite(fy) ? fy : -1.0f)));
    QString tail;
    if (onmap) {
        curx = x;
        cury = y;
        curelev = elev;
        tail = QString::number(double(elev), 'g', 7) + QStringLiteral("m  x=") + QString::number(x) +
               QStringLiteral(" y=") + QString::number(y);
    } else {
        tail = QStringLiteral("<Hors des limites de la carte>");
    }
    // The position texts normalise their argument in place (longitude into
    // [-180, 180), latitude within -89..89): the cursor takes that value.
    const QString lontext = londms(lon), lattext = latdms(lat);
    setpane("Label1", lontext + QStringLiteral("  ") + lattext + QStringLiteral("  ") + tail);
    curlon = lon;
    curlat = lat;

    if (menuchecked("mnuViewGrid")) {
        if (frmGrid *g = frmGrid::instance()) {
            for (int j = -2; j <= 2; ++j)
                for (int i = -2; i <= 2; ++i) {
                    const long long cx = (long long)x + i, cy = (long long)y - j;
                    const bool in = cx >= 0 && cy >= 0 && cx < elevgrid.nx() && cy < elevgrid.ny();
                    g->setCell(5 * (j + 2) + (i + 2), in ? QString::number(elevgrid.at(int32_t(cx), int32_t(cy))) : QStringLiteral("-"));
                }
            g->setPosition(lontext + QStringLiteral("  ") + lattext);
            g->setLocator(gridlocator(lon, lat));
            if (gridexpanded && zoomGateOpen()) {
                gridtime = clockNow() + 0.25;
                paintZoomPane(lon, lat);
            }
            if (!g->isVisible()) g->show();
        }
    }

    for (frmPic *w : picwindows()) {
        if (w->Pictype == 3) {
            float px = 0, py = 0;
            if (pichooks.geo3d && pichooks.geo3d(w, lon, lat, curelev, px, py)) {
                w->Line1->setPoints(ctlpix(px), w->Picture1->scaleTop(), ctlpix(px), ctlpix(py));
                w->Line1->show();
                w->Line2->hide();
            } else {
                w->Line1->hide();
                w->Line2->hide();
                w->Shape2->hide();
            }
            continue;
        }
        float px = 0, py = 0;
        if (geotopix(w, lon, lat, px, py)) {
            const int top = w->Picture1->scaleTop(), left = w->Picture1->scaleLeft();
            w->Line1->setPoints(ctlpix(px), top, ctlpix(px), top + w->Picture1->scaleHeight());
            w->Line2->setPoints(left, ctlpix(py), left + w->Picture1->scaleWidth(), ctlpix(py));
            const bool show = !isstereo(w);
            w->Line1->setVisible(show);
            w->Line2->setVisible(show);
        } else {
            w->Line1->hide();
            w->Line2->hide();
            w->Shape2->hide();
        }
    }
}

}  // namespace zk
