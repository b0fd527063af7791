#include "views3d/draw3d.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QPainter>
#include <QPointer>

#include <array>
#include <cstring>

#include "base/longop.h"
#include "base/mdi.h"
#include "base/routines.h"
#include "base/screen.h"
#include "map/mapdata.h"
#include "pictures/frmPic.h"
#include "pictures/mainlink.h"
#include "pictures/view3d.h"
#include "qtdc.h"

namespace zk {

namespace {

int16_t g_count = 0;  // 3D windows made in this run

constexpr uint32_t kGrey = 0x808080;

// One of the eight sectors of theta: the outer loop runs along the axis the
// line of sight follows more closely, both loops from the far edge of the
// grid towards the camera.
struct Sector {
    bool outerJ;     // the outer loop runs over rows (j), else over columns (i)
    bool outerDown;  // from the upper bound down to 0, else from 0 up
    bool innerDown;
};
constexpr std::array<Sector, 8> kSectors = {{
    {true, true, true},     // 0 <= theta < 45
    {false, true, true},    // 45 .. 90
    {false, true, false},   // 90 .. 135
    {true, false, true},    // 135 .. 180
    {true, false, false},   // 180 .. 225
    {false, false, false},  // 225 .. 270
    {false, false, true},   // 270 .. 315
    {true, true, false},    // 315 .. 360
}};

// The colour source: a copy of the 2D picture as it is when the drawing
// begins (the networks and units already cleared from it), so that the
// window may change or close while the drawing pumps events.
class Source {
public:
    explicit Source(const QImage &img) : img_(img)
    {
        if (!img_.isNull()) toDcFormat(img_);
    }
    // The pixel, red in the low byte, or -1 outside the picture.
    int64_t at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= img_.width() || y >= img_.height()) return -1;
        uint32_t v;
        std::memcpy(&v, img_.constScanLine(y) + size_t(x) * 4, 4);
        return int64_t(v & 0xFFFFFF);
    }

private:
    QImage img_;
};

void fail()
{
    setpane("Label2", QStringLiteral("Pas d'image source 2D valable"));
    // Nothing was begun: the program must not stay busy.
    runflag = 0;
}

// A new picture window for a 3D picture, inside the main window's area.
frmPic *newwindow()
{
    auto *w = new frmPic;
    ++g_count;
    w->source = QStringLiteral("Image 3D");
    w->Filename = QStringLiteral("Img3D%1.bmp").arg(g_count);
    w->setWindowTitle(fileof(w->Filename));
    if (QMdiArea *area = mdiArea()) area->addSubWindow(w);
    return w;
}

// The window the drawing goes into (see draw3d).
frmPic *target(frmPic *into)
{
    if (new3d != 0) return newwindow();
    if (into && picwindows().contains(into)) return into;
    if (frmPic *a = activepic(); a && a->Pictype == 3) return a;
    return newwindow();
}

// Lays the window out for its screen-sized picture and brings it forward.
void showwindow(frmPic *w, bool created)
{
    QMdiArea *area = mdiArea();
    if (created && area) {
        const QSize frame = w->QWidget::size() - w->client()->size();
        const QSize want = QSize(w->Picture1->width(), w->Picture1->height()) + frame;
        w->resize(want.boundedTo(area->viewport()->size()).expandedTo(QSize(120, 80)));
    }
    arrangepic(w);
    w->show();
    if (created && area) {
        // The area places a new window in its cascade; one as large as the
        // area may then hang over its edges.
        const QSize room = area->viewport()->size();
        QPoint at = w->pos();
        if (at.x() + w->width() > room.width()) at.setX(std::max(0, room.width() - w->width()));
        if (at.y() + w->height() > room.height()) at.setY(std::max(0, room.height() - w->height()));
        w->move(at);
    }
    w->raise();
    if (area) area->setActiveSubWindow(w);
    arrangepic(w);
}

}  // namespace

int draw3dcount() { return g_count; }

int draw3dsector(float theta)
{
    int s = 0;
    for (int k = 1; k < 8; ++k)
        if (theta >= 45.0f * float(k)) s = k;
    return s;
}

void draw3d(frmPic *into)
{
    if (!curpic || !curpic->Picture1 || curpic->Picture1->image().isNull()) {
        fail();
        return;
    }
    QPointer<frmPic> src = curpic.data();

    // While the window is being prepared, its activation leaves the message
    // line alone.
    runflag = -1;
    const int before = g_count;
    QPointer<frmPic> w = target(into);
    const bool made = g_count != before;
    w->Pictype = 3;
    const QSize screen = screenPixels();
    w->Picture1->setBoxSize(screen.width(), screen.height());
    showwindow(w, made);
    if (!w || w->Picture1->image().isNull() || w->Picture1->image().size() != screen) {
        fail();
        return;
    }

    beginop(opdraw3d);

    const int16_t nx = int16_t(std::clamp(elevgrid.ubound1(), 0, 32767));
    const int16_t ny = int16_t(std::clamp(elevgrid.ubound2(), 0, 32767));
    const Source colours(src && src->Picture1 ? src->Picture1->image() : QImage());

    view3d.size = mapset.size;
    set3dparams(1);

    bool stopped = false;
    if (w) {
        PicBox *box = w->Picture1;
        box->resetPicture();
        box->image().fill(qcolor(kGrey));
        box->refresh();
    }
    QCoreApplication::processEvents();

    if (w) {
        setpiccorners(w, mapcorners.lon, mapcorners.lat);
        w->amplx = view3d.amplx;
        w->phi = view3d.phi;
        w->theta = view3d.theta;
        w->disto = view3d.disto;
        w->aper = view3d.aper;
        w->size = view3d.size;
        w->ofx = view3d.ofx;
        w->ofy = view3d.ofy;
        w->w3 = float(nx);
        w->h3 = float(ny);
        w->q3 = proj3d.zscale;
    }

    const Sector sec = kSectors[size_t(draw3dsector(view3d.theta))];
    const int outerN = sec.outerJ ? ny : nx;  // the outer axis' cell count
    const int innerN = sec.outerJ ? nx : ny;
    for (int step = 0; step < outerN && w; ++step) {
        const int o = sec.outerDown ? outerN - 1 - step : step;
        {
            QPainter p(&w->Picture1->image());
            p.setPen(Qt::NoPen);
            p.setBrush(qcolor(kGrey));
            uint32_t brush = kGrey;
            for (int k = 0; k < innerN; ++k) {
                const int n = sec.innerDown ? innerN - 1 - k : k;
                const int i = sec.outerJ ? n : o;
                const int j = sec.outerJ ? o : n;
                const int64_t c = colours.at(i, ny - j);
                if (c < 0) continue;
                // Read with bounds checks: the grid belongs to the map, and
                // the drawing pumps events between its rows.
                ProjPoint q[4];
                if (!project3d(float(i), float(j), float(elevgrid.get(i, j)), q[0])) continue;
                if (!project3d(float(i + 1), float(j), float(elevgrid.get(i + 1, j)), q[1])) continue;
                if (!project3d(float(i + 1), float(j + 1), float(elevgrid.get(i + 1, j + 1)), q[2])) continue;
                if (!project3d(float(i), float(j + 1), float(elevgrid.get(i, j + 1)), q[3])) continue;
                if (uint32_t(c) != brush) {
                    brush = uint32_t(c);
                    p.setBrush(qcolor(brush));
                }
                const QPoint poly[4] = {{q[0].x, q[0].y}, {q[1].x, q[1].y}, {q[2].x, q[2].y}, {q[3].x, q[3].y}};
                p.drawPolygon(poly, 4);
            }
        }
        if (o % 10 == 0) {
            w->Picture1->refresh();
            const double done = sec.outerDown ? double(outerN - o) * innerN : double(o) * innerN;
            showprogress(float(done));
        }
        QCoreApplication::processEvents();
        if (runflag == 0) {
            stopped = true;
            break;
        }
    }

    if (w && !stopped) {
        w->Picture1->refresh();
        w->Picture1->commit();
    }
    endop();
}

}  // namespace zk
