#include "radio/link3d.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>
#include <utility>

#include "map/bearing.h"
#include "pictures/frmPic.h"
#include "pictures/geo3d.h"
#include "pictures/view3d.h"
#include "radio/profile.h"
#include "radio/radiodata.h"

namespace zk {

namespace {

void stroke(QPainter &p, float x1, float y1, float x2, float y2)
{
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

// A mast's foot (the unit's ground) and top (1.5 x netalt). A mast whose
// foot or top the picture cannot show (the top can lie behind the camera
// when the foot does not) is left out, with its plate, rather than drawn
// towards a point that is not its own.
struct Mast {
    bool shown = false;
    float gx = 0, gy = 0, tx = 0, ty = 0;
};

Mast mastof(frmPic *w, const UnitRecord &u)
{
    Mast m;
    m.shown = geo3d(w, u.lon, u.lat, u.elev, m.gx, m.gy) && geo3d(w, u.lon, u.lat, netalt * 1.5f, m.tx, m.ty);
    return m;
}

// The name centred over the mast's top and sitting on it, on a box in the
// unit's background colour.
void plate(QPainter &p, const Mast &m, const UnitRecord &u)
{
    const QString name = fixedText(u.name).trimmed();
    const QFontMetricsF fm(p.font());
    const double tw = fm.horizontalAdvance(name), th = fm.height();
    const double x = m.tx - tw / 2, y = m.ty - th;
    p.fillRect(QRectF(x, y, tw + 1, th), qcolor(u.backcolor));
    p.setPen(qcolor(u.color));
    p.drawText(QPointF(x, y + fm.ascent()), name);
}

}  // namespace

void linkarrow(QPainter &p, float xa, float ya, float xb, float yb, uint32_t colour)
{
    // The on-screen direction from A to B, counter-clockwise from the x
    // axis: pixel y grows downwards, so its difference is reversed.
    const double az = azimuth(double(xb) - xa, double(ya) - yb);
    const float xm = (xa + xb) / 2, ym = (ya + yb) / 2;
    const float x1 = float(xm + 30 * std::cos(az - 2.7)), y1 = float(ym - 30 * std::sin(az - 2.7));
    const float x2 = float(xm + 30 * std::cos(az + 2.7)), y2 = float(ym - 30 * std::sin(az + 2.7));
    for (int pass = 0; pass < 2; ++pass) {
        p.setPen(QPen(pass == 0 ? QColor(Qt::black) : qcolor(colour), pass == 0 ? 4 : 2, Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
        stroke(p, xa, ya, xb, yb);
        stroke(p, xm, ym, x1, y1);
        stroke(p, xm, ym, x2, y2);
    }
}

bool drawlink3d(frmPic *w, int a, int b, uint32_t colour)
{
    if (!w || w->Pictype != 3 || !w->Picture1 || a < 1 || a > kUnits || b < 1 || b > kUnits) return false;
    const UnitRecord &ua = units[a], &ub = units[b];
    float xa = 0, ya = 0, xb = 0, yb = 0;
    if (!geo3d(w, ua.lon, ua.lat, netalt, xa, ya) || !geo3d(w, ub.lon, ub.lat, netalt, xb, yb)) return false;

    PicBox *box = w->Picture1;
    box->cls();
    QImage &layer = box->image();
    if (layer.isNull()) return true;
    {
        QPainter p(&layer);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setFont(box->font());
        linkarrow(p, xa, ya, xb, yb, colour);
        const Mast ma = mastof(w, ua), mb = mastof(w, ub);
        for (const auto &[m, u] : {std::pair{ma, &ua}, std::pair{mb, &ub}}) {
            if (!m.shown) continue;
            p.setPen(QPen(qcolor(u->backcolor), 3, Qt::SolidLine, Qt::RoundCap));
            stroke(p, m.gx, m.gy, m.tx, m.ty);
        }
        if (ma.shown) plate(p, ma, ua);
        if (mb.shown) plate(p, mb, ub);
    }
    box->refresh();
    return true;
}

}  // namespace zk
