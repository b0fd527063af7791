#include "radio/unitdraw.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

#include "base/routines.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "radio/radiodata.h"
#include "radio/radiohooks.h"

namespace zk {

namespace {
constexpr int32_t kShareBit = 16;  // gpsflags: positions are shared

void hideunit(frmPic *w, int k)
{
    if (QLabel *im = w->Image1[size_t(k)]) im->hide();
    if (QLabel *l = w->Label4[size_t(k)]) {
        l->setEnabled(false);
        l->hide();
    }
}

void drawone(frmPic *w, QPainter &p, const QList<QPixmap> &icons, int k)
{
    const UnitRecord &u = units[k];
    float fx = 0, fy = 0;
    const bool placed = !(u.lon == 0 && u.lat == 0);
    if (!u.enabled || !placed || !geotopix(w, u.lon, u.lat, fx, fy)) {
        hideunit(w, k);
        return;
    }
    const int x = int(fx), y = int(fy);
    QLabel *label = w->Label4[size_t(k)];
    QLabel *image = w->Image1[size_t(k)];
    const QColor fore = qcolor(u.color), back = qcolor(u.backcolor);
    if (label) label->show();

    // The position cross: five pixels each way through the unit.
    p.setPen(QPen(fore, 1, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(x - 2, y, x + 2, y);
    p.drawLine(x, y - 2, x, y + 2);

    const QString name = fixedText(u.name).trimmed();
    const QFontMetrics fm(p.font());
    const int tw = fm.horizontalAdvance(name), th = fm.height();
    if (!u.transparent) p.fillRect(QRect(x, y, tw + 1, th), back);
    p.setPen(fore);
    p.drawText(x, y + fm.ascent(), name);

    if (label) {
        label->setText(name);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, fore);
        pal.setColor(QPalette::Window, back);
        label->setPalette(pal);
        label->setAutoFillBackground(!u.transparent);
        label->setMargin(0);
        label->setIndent(0);
        // Exactly over the printed name and its box.
        label->setGeometry(x, y, tw + 1, th);
    }

    if (image) {
        if (uniticon[k] != 255 && !icons.isEmpty()) {
            const QPixmap &icon = icons[std::min<qsizetype>(icons.size() - 1, uniticon[k])];
            image->setPixmap(icon);
            const int iw = image->width(), ih = image->height();
            const QRect at(x - iw / 2, y - ih, iw, ih);
            image->move(at.topLeft());
            p.drawPixmap(at, icon);
            image->show();
        } else {
            image->hide();
        }
    }
    if (label) {
        label->setEnabled(true);
        label->raise();
    }
}
}  // namespace

bool drawsunits(const frmPic *w) { return w && (w->Pictype == 1 || w->Pictype == 2) && !isstereo(w); }

void drawunit(int unit, bool clear)
{
    const int first = (unit >= 1 && unit <= kUnits) ? unit : 1;
    const int last = (unit >= 1 && unit <= kUnits) ? unit : kUnits;
    const QList<QPixmap> icons = stationicons();
    for (frmPic *w : picwindows()) {
        if (!drawsunits(w) || !w->Picture1) continue;
        if (clear) w->Picture1->cls();
        QImage &layer = w->Picture1->image();
        if (layer.isNull()) continue;
        QPainter p(&layer);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (QLabel *l1 = w->Label4[1]) p.setFont(l1->font());
        for (int k = first; k <= last; ++k) drawone(w, p, icons, k);
        p.end();
        w->Picture1->refresh();
    }
}

void clearoverlay()
{
    for (frmPic *w : picwindows()) {
        if (w->Line1) w->Line1->hide();
        if (w->Line2) w->Line2->hide();
        if (w->Shape2) w->Shape2->hide();
        for (auto *s : w->Shape1)
            if (s) s->hide();
        for (int k = 1; k <= kUnits; ++k) {
            if (w->Label4[size_t(k)]) w->Label4[size_t(k)]->hide();
            if (w->Image1[size_t(k)]) w->Image1[size_t(k)]->hide();
        }
        // The clearing shows the box again when it changed anything.
        if (w->Picture1) w->Picture1->cls();
    }
}

void moveunit(float lon, float lat)
{
    if (curunit < 1 || curunit > kUnits) return;
    UnitRecord &u = units[curunit];
    float x = 0, y = 0, elev = 0;
    u.lon = lon;
    u.lat = lat;
    u.elev = gridpoint(lon, lat, x, y, elev) ? elev : 0;
    // A moved unit is a change of the document: the exit prompt offers to save it.
    netmodified = true;
    drawunit(curunit, true);
    redrawneeded = true;
    if ((settings.gpsflags & kShareBit) && radiohooks.sendposition) radiohooks.sendposition(curunit);
}

}  // namespace zk
