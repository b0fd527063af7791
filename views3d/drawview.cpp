#include "views3d/drawview.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "base/longop.h"
#include "base/mdi.h"
#include "base/routines.h"
#include "base/screen.h"
#include "base/settings.h"
#include "base/version.h"
#include "engine.h"
#include "map/bearing.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/picbox.h"
#include "pictures/view3d.h"
#include "qtdc.h"
#include "radio/linkreport.h"
#include "radio/profile.h"
#include "radio/radiodata.h"
#include "radio/roles.h"
#include "radio/unitdraw.h"
#include "views3d/flight.h"

namespace zk {

namespace {

int16_t g_views = 0;  // view windows made in this run

constexpr double kPi = 3.14159265358979;

constexpr uint32_t rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

// The colours of the three kinds of pass: sky, distant ground and the
// channels the terrain's grey goes to (0: the map's own colours).
struct Eye {
    uint32_t sky, far, mask;
};
constexpr Eye kPlain{rgb(166, 202, 240), rgb(20, 100, 20), 0};
constexpr Eye kLeft{rgb(200, 0, 0), rgb(50, 0, 0), rgb(255, 0, 0)};
constexpr Eye kRight{rgb(0, 200, 200), rgb(0, 50, 50), rgb(0, 255, 255)};

// A copy of the elevation grid as the engine reads it. The drawing pumps
// events between and inside its engine calls; the copy keeps what the
// engine reads the same for the whole view or flight.
class GridCopy {
public:
    GridCopy() : cells_(elevgrid.data(), elevgrid.data() + elevgrid.cellCount())
    {
        desc_.dims = 2;
        desc_.ubound[0] = elevgrid.ubound1();
        desc_.ubound[1] = elevgrid.ubound2();
        desc_.data = cells_.empty() ? nullptr : cells_.data();
        if (!desc_.data) desc_.ubound[0] = desc_.ubound[1] = -1;
    }
    GridCopy(const GridCopy &) = delete;
    GridCopy &operator=(const GridCopy &) = delete;
    ZkArray **array() { return &ptr_; }

private:
    std::vector<int16_t> cells_;
    ZkArray desc_{2, {0, 0}, {-1, -1}, nullptr};
    ZkArray *ptr_ = &desc_;
};

// The picture box a view goes into: a picture window's (or the flight
// panel's) PicBox, or the radio-link window's ScaleBox. Held weakly: the
// box may go away while events are pumped.
class Target {
public:
    explicit Target(QWidget *w) : pb_(qobject_cast<PicBox *>(w)), sb_(qobject_cast<ScaleBox *>(w)) {}

    QWidget *widget() const { return pb_ ? static_cast<QWidget *>(pb_.data()) : static_cast<QWidget *>(sb_.data()); }
    bool alive() const { return widget() != nullptr; }

    // The stored picture dropped and the box cleared, its scale in pixels;
    // returns the cleared picture (in the engine's format) the pass draws on.
    QImage prepare()
    {
        QImage img;
        if (pb_) {
            pb_->resetPicture();
            img = pb_->image().copy();
        } else if (sb_) {
            sb_->cls();
            const QSize s = sb_->image().size();
            sb_->setScale(0, 0, s.width(), s.height());
            img = sb_->image().copy();
        }
        toDcFormat(img);
        return img;
    }

    // Shows the drawing in the box (what a refresh of the box shows).
    void put(const QImage &layer)
    {
        QImage *dst = pb_ ? &pb_->image() : sb_ ? &sb_->image() : nullptr;
        if (!dst || layer.isNull()) return;
        if (dst->size() == layer.size() && dst->format() == layer.format()) {
            *dst = layer.copy();
        } else {
            QPainter p(dst);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, layer);
        }
        widget()->update();
    }

    // The picture window that holds the box, if any.
    frmPic *picwindow() const
    {
        for (QWidget *p = pb_ ? pb_->parentWidget() : nullptr; p; p = p->parentWidget())
            if (auto *w = qobject_cast<frmPic *>(p)) return w;
        return nullptr;
    }

    // Makes the drawing the box's stored picture (picture boxes only).
    void commit()
    {
        if (pb_) pb_->commit();
    }

private:
    QPointer<PicBox> pb_;
    QPointer<ScaleBox> sb_;
};

// ORs every pixel of `over` into `img` (both in the engine's format and of
// one size): the merge drawing mode of the right eye.
void orinto(QImage &img, const QImage &over, const QRect &r)
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto *d = reinterpret_cast<uint32_t *>(img.scanLine(y));
        const auto *s = reinterpret_cast<const uint32_t *>(over.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) d[x] |= s[x];
    }
}

// What the box shows while the engine paints: the drawing itself, which
// builds up column by column; during the right eye of a stereo pair that
// eye's own buffer ORed over it (its columns not yet painted are black,
// which leaves the left eye as it is). The refresh of the progress hook
// repaints it every 20 columns.
class Canvas : public QWidget {
public:
    Canvas(QWidget *box, const QImage *layer) : QWidget(box), layer_(layer)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(box->rect());
        raise();
        show();
    }
    ~Canvas() override
    {
        if (viewpic == this) viewpic = nullptr;
    }
    void setMerge(const QImage *merge) { merge_ = merge; }

protected:
    void paintEvent(QPaintEvent *e) override
    {
        QPainter p(this);
        const QRect r = e->rect() & layer_->rect();
        if (r != e->rect()) p.fillRect(e->rect(), Qt::black);
        if (r.isEmpty()) return;
        if (!merge_ || merge_->size() != layer_->size() || merge_->format() != layer_->format()) {
            p.drawImage(r.topLeft(), *layer_, r);
            return;
        }
        QImage shown = layer_->copy(r);
        const QImage over = merge_->copy(r);
        orinto(shown, over, shown.rect());
        p.drawImage(r.topLeft(), shown);
    }

private:
    const QImage *layer_;
    const QImage *merge_ = nullptr;
};

QString unitname(int u) { return fixedText(units[u].name).trimmed(); }

// A new view window, as large as the screen, laid out in the main window's
// area and made its active child.
frmPic *newviewwindow(int a, int b)
{
    auto *w = new frmPic;
    ++g_views;
    w->Filename = QStringLiteral("Vue%1.bmp").arg(g_views);
    w->setWindowTitle(w->Filename);
    w->Pictype = 4;
    w->source = QStringLiteral("Observation depuis ") + unitname(a) + QStringLiteral(" vers ") + unitname(b);
    // For this kind of picture the corner variables hold the two stations.
    w->lon1 = units[a].lon;
    w->lat1 = units[a].lat;
    w->lon2 = units[b].lon;
    w->lat2 = units[b].lat;
    const QSize screen = screenPixels();
    w->Picture1->setBoxSize(screen.width(), screen.height());
    QMdiArea *area = mdiArea();
    if (area) {
        area->addSubWindow(w);
        const QSize frame = w->QWidget::size() - w->client()->size();
        const QSize want = screen + frame;
        w->resize(want.boundedTo(area->viewport()->size()).expandedTo(QSize(120, 80)));
    }
    w->show();
    if (area) {
        // A window as large as the area would hang over its edges where the
        // cascade put it.
        const QSize room = area->viewport()->size();
        QPoint at = w->pos();
        if (at.x() + w->width() > room.width()) at.setX(std::max(0, room.width() - w->width()));
        if (at.y() + w->height() > room.height()) at.setY(std::max(0, room.height() - w->height()));
        w->move(at);
        area->setActiveSubWindow(w);
    }
    arrangepic(activepic() ? activepic() : w);
    return w;
}

// What went wrong with the frames of a flight; said once at the end, so
// that a flight the player cannot show whole is never taken for a success.
struct FrameTrouble {
    bool folder = false;  // the frames folder could not be made
    int undeleted = 0;    // old frames that could not be deleted
    int unsaved = 0;      // frames that could not be written
    int attempted = 0;
    QString where;

    bool any() const { return folder || undeleted > 0 || unsaved > 0; }
    QString text() const
    {
        QStringList lines;
        if (folder) lines << QStringLiteral("Impossible de créer le dossier ") + where;
        if (unsaved > 0)
            lines << QStringLiteral("%1 image(s) du vol sur %2 n'ont pas pu être enregistrées dans ")
                             .arg(unsaved)
                             .arg(attempted) +
                         where;
        if (undeleted > 0)
            lines << QStringLiteral("%1 ancienne(s) image(s) du vol n'ont pas pu être effacées dans ").arg(undeleted) + where;
        return lines.join(QStringLiteral("\r\n"));
    }
};

}  // namespace

int viewcount() { return g_views; }

void drawview(QWidget *&pic, int net, int a, int b, float fov, bool stereo, int frames)
{
    Target target(pic);
    std::unique_ptr<GridCopy> grid;
    QPointer<Canvas> canvas;
    QImage layer, merge;
    FrameTrouble trouble;
    const bool flight = frames > 0;

    // The drawing; every early end returns from here to the closing steps.
    auto run = [&] {
        if (a == b || a < 1 || a > kUnits || b < 1 || b > kUnits) return;
        if (!findsource2d()) return;
        QPointer<frmPic> src = curpic.data();
        if (!src || !src->Picture1) return;

        // The stations on the 2D picture (pixels, y downward).
        float xA = 0, yA = 0, xB = 0, yB = 0;
        if (!geotopix(src, units[a].lon, units[a].lat, xA, yA)) return;
        if (!geotopix(src, units[b].lon, units[b].lat, xB, yB)) return;

        if (newpic) {
            frmPic *w = newviewwindow(a, b);
            pic = w->Picture1;
            target = Target(pic);
        }
        if (!target.alive()) return;  // nothing to draw into

        // Antenna altitudes.
        float hA, hB;
        if (net > 0 && net <= kNets) {
            hA = antheight(net, a);
            hB = antheight(net, b);
        } else {
            hA = settings.defh1;
            hB = settings.defh2;
        }
        hA += units[a].elev;
        hB += units[b].elev;

        const double theta = azimuth(double(xB) - xA, double(yB) - yA);
        const int32_t top = elevgrid.ubound2();
        const float e = float(double(eyedist) * top / std::max(1.0, double(mapset.size) * 1000));

        // The flight: its length from the two stations, the frame count and
        // the observer's step, the frames folder and its old frames.
        int32_t count = 0;
        FlightStep step;
        QString folder;
        if (flight) {
            const double km = linkdistance(a, b);
            const double L = km > 0 ? km * 1000 : 0;
            profdist = L / 1000;
            count = flightframes(L, flyspeed, flyfps);
            step = flightstep(xA, yA, hA, xB, yB, hB, count);
            folder = framesfolder();
            trouble.where = folder;
            if (!QDir().mkpath(folder)) trouble.folder = true;
            const QStringList old = framefiles(folder);
            if (!old.isEmpty()) {
                const int answer = msgbox(QStringLiteral("Écraser ") + QStringLiteral("flig") + QStringLiteral(" BMP files ?"),
                                          mbYesNo | mbQuestion, version::productName());
                if (answer != idYes) return;
                for (const QString &f : old)
                    if (!QFile::remove(f)) ++trouble.undeleted;
            }
        }

        beginop(oppanorama);
        // The colours are read from the map's picture alone, without the
        // units and links drawn over it; a copy, as the window may close.
        QImage map;
        if (src && src->Picture1) {
            src->Picture1->cls();
            map = src->Picture1->image().copy();
            toDcFormat(map);
        }
        grid = std::make_unique<GridCopy>();

        auto paint = [&](QImage &into, const Eye &eye, float ox, float oy) -> int32_t {
            if (into.isNull() || into.width() < 1 || into.height() < 1) return 0;
            ZkDC mapdc = dcOf(map);
            ZkDC dst = dcOf(into);
            return engine::drawpic3D(grid->array(), &mapdc, &dst, into.width(), into.height(), mapset.size,
                                     float(double(fov) * kPi / 180), 0.5f, ox, oy, hA, xB, yB, hB, int32_t(eye.sky),
                                     int32_t(eye.far), int32_t(eye.mask));
        };

        const int32_t passes = flight ? std::max<int32_t>(1, std::min<int32_t>(9999, count)) : 1;
        int32_t saved = 0;
        for (int32_t i = 1; i <= passes; ++i) {
            // The target cleared, with no stored picture and a pixel scale.
            layer = target.prepare();
            engine::translate(nullptr);
            if (!canvas && target.widget()) canvas = new Canvas(target.widget(), &layer);
            // The box the progress hook refreshes (the canvas that shows the
            // drawing on it; it lets go of viewpic when it goes away).
            if (canvas) {
                canvas->setGeometry(target.widget()->rect());
                viewpic = canvas;
            }

            progcount = 0;
            const int w = layer.width(), h = layer.height();
            const int cx = int(roundEven(w / 2.0)), cy = int(roundEven(h / 2.0));
            int32_t r = 0;
            if (!stereo) {
                progtotal = float(w);
                r = paint(layer, kPlain, xA, yA);
                target.put(layer);
            } else {
                progtotal = float(2 * w);
                const float sx = float(e * std::sin(theta)), sy = float(e * std::cos(theta));
                const int32_t rL = paint(layer, kLeft, xA + sx, yA - sy);
                target.put(layer);
                if (!target.alive()) runflag = 0;  // the box went away meanwhile
                if (runflag == 0) return;
                merge = dcImage(w, h, 0);
                if (canvas) canvas->setMerge(&merge);
                progcount = 1;
                const int32_t rR = paint(merge, kRight, xA - sx, yA + sy);
                if (!merge.isNull() && merge.size() == layer.size()) orinto(layer, merge, layer.rect());
                if (canvas) canvas->setMerge(nullptr);
                merge = QImage();
                target.put(layer);
                r = std::min(rL, rR);
            }

            // B's antenna is the centre of the picture: marked when the
            // terrain at its distance does not rise above it.
            if (r >= cy && !layer.isNull()) {
                QPainter p(&layer);
                p.setRenderHint(QPainter::Antialiasing, false);
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(Qt::black, 1));
                p.drawEllipse(QPoint(cx, cy), 3, 3);
                p.setPen(QPen(Qt::white, 1));
                p.drawEllipse(QPoint(cx, cy), 5, 5);
                p.setPen(QPen(Qt::black, 1));
                p.drawLine(cx, r, cx, cy - 1);
                p.end();
                target.put(layer);
            }

            QCoreApplication::processEvents();
            if (!target.alive()) runflag = 0;
            if (runflag == 0) return;

            if (flight) {
                // Frames are numbered by the files written, so that a frame
                // that could not be saved leaves no gap at which the player
                // would take the flight for ended.
                const QString name = framename(saved + 1);
                if (QWidget *win = target.widget() ? target.widget()->window() : nullptr)
                    win->setWindowTitle(name + QStringLiteral(" (%1/%2)").arg(i).arg(count));
                ++trouble.attempted;
                if (!layer.isNull() && layer.save(folder + name, "BMP")) ++saved;
                else ++trouble.unsaved;
                xA = float(xA + step.dx);
                yA = float(yA + step.dy);
                hA = float(hA + step.dh);
            }
        }

        if (runflag > 0 && target.picwindow()) target.commit();
    };
    run();

    // Closing steps, whatever happened above.
    delete canvas.data();
    viewpic = nullptr;
    grid.reset();
    endop();
    drawunit(0, true);
    if (flight && trouble.any()) msgbox(trouble.text(), mbOK | mbExclamation);
}

}  // namespace zk
