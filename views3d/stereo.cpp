#include "views3d/stereo.h"

#include <QCoreApplication>
#include <QImage>
#include <QPointer>

#include <cmath>

#include "base/controls.h"
#include "base/longop.h"
#include "base/routines.h"
#include "engine.h"
#include "map/mapdata.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/picbox.h"
#include "pictures/picfiles.h"
#include "qtdc.h"

namespace zk {

StereoCursor stereocur;

namespace {

// The shift of the relief: a point at the colour ceiling moves about 10
// pixels each way, one at the floor not at all. A floor and ceiling less
// than a metre apart (or not numbers) count as one metre.
float stereoscale()
{
    const float range = std::fabs(mapset.maxx - mapset.minx);
    const float divisor = std::isfinite(range) ? max(1.0f, range) : 1.0f;
    return 10.0f / divisor;
}

}  // namespace

void drawstereo()
{
    // 1. The map's 2D picture; the user may decline to draw one. Nothing
    // was started, so the message pane says the drawing was stopped.
    if (!findsource2d()) {
        endop();
        return;
    }
    // 2. The source picture.
    const QPointer<frmPic> src = curpic.data();

    // 3. A new empty picture of the map, shown and active. The window that
    // openpicture made is the one drawn into, not whatever is active after
    // the events were pumped: the user may have brought another picture to
    // the front, and drawing into the source itself would destroy it.
    const QPointer<frmPic> w = openpicture(QString(), 1);
    QCoreApplication::processEvents();

    // 4.
    beginop(opstereo);

    // 5. Either window may have gone while events were pumped.
    if (!w || !src || !w->Picture1 || !src->Picture1) {
        runflag = 0;
        endop();
        return;
    }
    PicBox *box = w->Picture1;

    // 6. The stereo palette picture served palette displays, where the box
    // took over its colour table so that the red/cyan mixtures existed.
    // Pictures here are true colour: the box keeps its one-pixel-per-cell
    // size and goes back to its empty background (the 1 x 1 palette picture
    // itself would only leave a stray pixel in the corner after a clearing).
    box->resetPicture();

    // 7. The source picture's place on the Earth.
    copypiccorners(w, src);
    w->source = QString::fromUtf8(kStereoSource);

    // 8.
    const float scale = stereoscale();
    const float base = mapset.minx;

    // 9. The new picture is current, so that the progress refreshes show it.
    curpic = w.data();

    // 10. The engine reads a private copy of the source picture and writes
    // into the new picture's layer. `layer` shares that layer's pixels: if
    // the box replaced or dropped its layer while the hook pumps events, the
    // engine would still write into memory that exists.
    QImage sourceImage = src->Picture1->image();
    ZkDC hdcSrc = dcOf(sourceImage);
    ZkDC hdcDst = box->hdc();
    const QImage layer = box->image();
    bool ok = true;
    engine::top3d(elevgrid.engineArray(), &hdcSrc, &hdcDst, scale, base, &ok);
    Q_UNUSED(layer);
    // A drawing that could not run is not kept, and not reported complete.
    if (!ok) runflag = 0;

    // 11. Kept only when not stopped.
    if (w) {
        w->Picture1->repaint();
        if (runflag > 0) w->Picture1->commit();
    }

    // 12.
    endop();
}

void stereocursor(frmPic *w, float x, float y, float dp, bool relative)
{
    if (!w) return;
    // 1. Only stereo pictures show the marks; elsewhere the cursor state
    // stays as it is.
    if (!isstereo(w)) {
        for (Shape *s : w->Shape1)
            if (s) s->hide();
        return;
    }
    // 2.
    if (relative) {
        stereocur.x = stereocur.x + x;
        stereocur.y = stereocur.y + y;
        stereocur.p = min(kParallaxMax, max(kParallaxMin, stereocur.p + dp));
    } else {
        stereocur.x = x;
        stereocur.y = y;
    }
    // 3. The red 9-pixel mark half the parallax (rounded up) to the right,
    // the cyan one half of it to the left, as the red copy of high ground
    // moves right; each framed by an 11-pixel mark of the other colour. A
    // window without its marks ends the placing where it is.
    const float cx = stereocur.x, cy = stereocur.y, p = stereocur.p;
    Shape *const *m = w->Shape1.data();
    if (!m[0]) return;
    m[0]->move(ctlpix(cx + std::floor((p + 1) / 2) - 4), ctlpix(cy - 4));
    if (!m[1]) return;
    m[1]->move(ctlpix(cx - std::floor(p / 2) - 4), m[0]->y());
    if (!m[2]) return;
    m[2]->move(m[0]->x() - 1, ctlpix(cy - 5));
    if (!m[3]) return;
    m[3]->move(m[1]->x() - 1, m[2]->y());
    // 4.
    for (Shape *s : w->Shape1) s->show();
}

}  // namespace zk
