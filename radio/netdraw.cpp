#include "radio/netdraw.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "map/mapdata.h"
#include "map/mapservices.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/mainlink.h"
#include "pictures/pichooks.h"
#include "pictures/view3d.h"
#include "radio/linkbudget.h"
#include "radio/quality.h"
#include "radio/radiodata.h"
#include "radio/unitdraw.h"

namespace zk {

namespace {
constexpr uint32_t rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

bool project(frmPic *w, float lon, float lat, float elev, float &x, float &y)
{
    return pichooks.geo3d && pichooks.geo3d(w, lon, lat, elev, x, y);
}

void line(QPainter &p, float x1, float y1, float x2, float y2, uint32_t colour, int width, bool dotted)
{
    p.setPen(QPen(qcolor(colour), width, dotted ? Qt::DotLine : Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

// Masts on 3D pictures: from each unit's ground up to `from`, or from `from`
// up to the mast top with the unit's name on it.
void masts(bool tops)
{
    for (frmPic *w : picwindows()) {
        if (w->Pictype != 3 || !w->Picture1 || w->Picture1->image().isNull()) continue;
        QPainter p(&w->Picture1->image());
        for (int k = 1; k <= kUnits; ++k) {
            const UnitRecord &u = units[k];
            if (!u.enabled) continue;
            float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
            if (!tops) {
                if (!project(w, u.lon, u.lat, u.elev, x1, y1)) continue;
                if (!project(w, u.lon, u.lat, netalt, x2, y2)) continue;
                line(p, x1, y1, x2, y2, u.backcolor, 3, false);
                continue;
            }
            if (!project(w, u.lon, u.lat, netalt, x1, y1)) continue;
            if (!project(w, u.lon, u.lat, netalt + (netalt - mapset.hmin) * 0.25f, x2, y2)) continue;
            line(p, x1, y1, x2, y2, u.backcolor, 3, false);
            const QString name = fixedText(u.name).trimmed();
            const QFontMetrics fm(p.font());
            const int tw = fm.horizontalAdvance(name), th = fm.height();
            const QRectF box(x2 - tw / 2.0, y2 - th, tw, th);
            p.fillRect(box, qcolor(u.backcolor));
            p.setPen(qcolor(u.color));
            p.drawText(QPointF(box.left(), box.top() + fm.ascent()), name);
        }
        p.end();
        w->Picture1->refresh();
    }
}
}  // namespace

LinkLook linklook(int style)
{
    switch (style) {
    case 1: return {rgb(255, 0, 0), rgb(200, 0, 0), 2, false, 3};
    case 2: return {rgb(255, 0, 0), rgb(60, 0, 0), 1, true, 3};
    case 3: return {rgb(255, 255, 0), rgb(80, 60, 0), 1, true, 3};
    case 4: return {rgb(0, 255, 0), rgb(0, 60, 0), 1, true, 3};
    case 5: return {rgb(0, 255, 0), rgb(0, 60, 0), 1, false, 3};
    case 6: return {rgb(0, 255, 0), rgb(0, 60, 0), 2, false, 4};
    default: return {};
    }
}

int netlinkstyle(int q, int r, int topology, int maxretrans, const std::array<uint8_t, 3> &rules)
{
    const bool red = rules[0] & 128, yellow = rules[1] & 128, green = rules[2] & 128;
    if (topology == 2 && maxretrans > 0) {
        // Relayed mesh networks are classed by their routes alone.
        if (r > 0) return green ? std::max(4, r - 44) : 0;
        return red ? 2 : 0;
    }
    const int t1 = rules[0] & 127, t2 = rules[1] & 127;
    if (q < t1) return red ? (q > t1 - 4 ? 2 : 1) : 0;
    if (q < t2) return yellow ? 3 : 0;
    return green ? std::min(6, std::max(4, (q - t2) / 3 + 4)) : 0;
}

int pairstyle(int i, int j)
{
    int s = 0;
    for (int n = 1; n <= kNets; ++n) {
        const NetRecord &net = nets[n];
        if (!netactive(net)) continue;
        const int q = quality(n, j, i);
        if (q <= 0) continue;
        const int t = netlinkstyle(q, quality(n, i, j), netkind(net), net.maxretrans, linkstyle);
        s = s == 0 ? t : std::min(s, t);
    }
    return s;
}

void drawnets()
{
    if (netalt == 0) netalt = 2000;
    clearoverlay();
    calcnets(0);
    MapBusyCursor busy;

    for (int k = 1; k <= kUnits; ++k)
        if (units[k].elev > netalt) netalt = units[k].elev;

    masts(false);

    const QList<frmPic *> windows = picwindows();
    for (int i = 1; i <= kUnits - 1; ++i) {
        for (int j = i + 1; j <= kUnits; ++j) {
            const int s = pairstyle(i, j);
            if (s <= 0) continue;
            const LinkLook look = linklook(s);
            const UnitRecord &a = units[i], &b = units[j];
            for (frmPic *w : windows) {
                if (isstereo(w) || !w->Picture1 || w->Picture1->image().isNull()) continue;
                float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
                bool on;
                if (w->Pictype == 3)
                    on = project(w, a.lon, a.lat, netalt, x1, y1) && project(w, b.lon, b.lat, netalt, x2, y2);
                else
                    on = geotopix(w, a.lon, a.lat, x1, y1) && geotopix(w, b.lon, b.lat, x2, y2);
                if (!on) continue;
                QPainter p(&w->Picture1->image());
                if (linkstyle[2] & 1) line(p, x1, y1, x2, y2, look.dark, look.darkwidth, false);
                line(p, x1, y1, x2, y2, look.bright, look.brightwidth, look.dotted);
                p.end();
                w->Picture1->refresh();
            }
        }
    }

    masts(true);
    drawunit(0, false);
    if (lrprm.interf == 1) setpane("Label2", QStringLiteral("Mode de propagation interférence"));
}

}  // namespace zk
