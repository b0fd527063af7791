#include "draw2d.h"

#include <QElapsedTimer>
#include <QMdiArea>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cmath>

#include "base/hooks.h"
#include "base/hooks.h"
#include "base/longop.h"
#include "base/longop.h"
#include "base/settings.h"
#include "base/settings.h"
#include "engine.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "parallel.h"
#include "workpool.h"
#include "pictures/colorscale.h"
#include "pictures/frmPic.h"
#include "pictures/legend.h"
#include "pictures/picfiles.h"
#include "qtdc.h"

namespace zk {

bool palettewarned = false;
Draw2dHooks draw2dhooks;

namespace {

constexpr int kBlock = 256;

// The engine takes the block's bounds as 16-bit numbers: blocks start no
// further than that.
constexpr int32_t kLastBlockStart = 32767 - (kBlock - 1);

void overlayobjects(frmPic *w, bool standalone)
{
    if (!settings.showobjects) return;
    if (draw2dhooks.drawobjects) {
        for (int d = 0; d <= 9; ++d) {
            draw2dhooks.drawobjects(w, QStringLiteral("F%1*.plt").arg(d), true);
            draw2dhooks.drawobjects(w, QStringLiteral("L%1*.plt").arg(d), false);
        }
    }
    progtotal = 100;
    showprogress(99);
    if (draw2dhooks.drawobjects) draw2dhooks.drawobjects(w, QStringLiteral("*.dat"), false);
    if (standalone) w->Picture1->commit();
}

}  // namespace

bool draw2d(QWidget *window, bool standalone)
{
    // 1. The target: a new empty picture window unless a picture window was
    // given and no new picture is asked for.
    QPointer<frmPic> w = qobject_cast<frmPic *>(window);
    if (!w || newpic) w = openpicture(QString(), -1);
    if (!w) {
        if (standalone) endop();
        return false;
    }

    // 2. The current picture; no mouse input while it is drawn.
    curpic = w;
    w->Picture1->setEnabled(false);
    w->Line1->hide();
    w->Line2->hide();
    w->Shape2->hide();

    // 3-4. A drawing of its own starts from the empty background; one pixel
    // a grid cell.
    if (standalone) w->Picture1->resetPicture();
    const int32_t ux = elevgrid.ubound1(), uy = elevgrid.ubound2();
    w->Picture1->setBoxSize(ux + 1, uy + 1);
    arrangepic(w);

    // 5. The operation, which also clears the network drawings.
    beginop(opdraw2d);
    hooks::clearoverlay();

    // 6. The pictures are true-colour surfaces: no palette is handed over, and
    // the warning is there for a palette-based surface.
    const ZkPalette *palette = nullptr;
    const int32_t n = engine::translate(palette);
    if (n >= 1 && n <= 256 && !palettewarned) {
        palettewarned = true;
        msgbox(QStringLiteral("Votre vidéo manque de couleurs, il est recommandé d'avoir 16 bits par pixel"),
               mbOKCancel | mbExclamation);
    }

    // 7. The colour stops as three channels.
    ColorChannels ch = colorchannels();
    const int16_t interp = stratcolors <= 0 ? -1 : 0;

    // 8. The work surface of one block.
    w->Picture3->resetPicture();
    w->Picture3->setBoxSize(kBlock, kBlock);
    progcount = 0;

    // 9. Blocks, rows of blocks outer; north at the top (the engine turns the
    // grid over). The blocks of a row are painted at once on every core,
    // each straight into its own part of the picture; between rows the
    // progress is shown, events are let in (Stop) and, at most every 100 ms,
    // the picture is shown as far as it goes.
    const int32_t lastI = std::min(ux, kLastBlockStart), lastJ = std::min(uy, kLastBlockStart);
    const int nblocks = lastI / kBlock + 1;
    const int threads = workercount();
    QElapsedTimer shown;
    shown.start();
    auto paintrow = [&](int32_t j) {
        const ZkDC whole = dcOf(w->Picture1->image());
        if (!whole.bits) return;
        QuietProgress quiet;
        poolfor(nblocks, [&](int b) {
            const int32_t i = b * kBlock;
            if (i >= whole.width || j >= whole.height) return;
            ZkDC dc = whole;
            dc.bits += size_t(j) * size_t(whole.stride) + size_t(i);
            dc.width = std::min(kBlock, whole.width - i);
            dc.height = std::min(kBlock, whole.height - j);
            engine::fastdraw(&mapset, elevgrid.engineArray(), &dc, int16_t(i), int16_t(j),
                             int16_t(i + kBlock - 1), int16_t(j + kBlock - 1), alt.data(), ch.red.data(),
                             ch.green.data(), ch.blue.data(), interp);
        }, threads);
    };
    for (int32_t j = 0; j <= lastJ && runflag != 0 && w; j += kBlock) {
        paintrow(j);
        progcount += nblocks;
        opcallback(0);
        if (!w) break;
        if (shown.elapsed() >= 100 || j + kBlock > lastJ) {
            w->Picture1->refresh();
            shown.restart();
        }
    }
    if (w) w->Picture1->refresh();
    if (!w) {
        // The window went away under the drawing: nothing is left to finish.
        if (standalone) endop();
        return false;
    }

    // 10. The work surface shrinks again.
    w->Picture3->setBoxSize(10, 10);

    // 11. Stopped: the partial picture stays as drawn, the window keeps its
    // earlier values and gets no overlays.
    if (runflag != 0) {
        // 12. The relief becomes the picture.
        if (standalone) w->Picture1->commit();

        // 13. The picture's frame and drawing values.
        setpiccorners(w, mapcorners.lon, mapcorners.lat);
        w->Pictype = 1;
        w->source = mapfile;
        w->Mapmode = mapset.Mapmode;
        w->minx = mapset.minx;
        w->maxx = mapset.maxx;
        w->light = mapset.light;
        w->con = mapset.con;
        w->bri = mapset.bri;
        w->c1 = mapset.c1;
        w->c2 = mapset.c2;
        w->hmin = mapset.hmin;
        w->hmax = mapset.hmax;
        w->hmoy = mapset.hmoy;
        // The picture's switch is a byte: on is 1.
        w->city = mapcorners.city != 0 ? 1 : 0;

        // 14-16. Objects, cities, legend.
        overlayobjects(w, standalone);
        if (w && mapcorners.city != 0 && draw2dhooks.drawcities)
            draw2dhooks.drawcities(w, standalone, QStringLiteral("cities.dat"));
        if (w && mapset.Mapmode == 5 && showlegend > 0) {
            drawlegend(w);
            if (standalone) w->Picture1->commit();
        }
        // 17. Mouse input again.
        if (w) w->Picture1->setEnabled(true);
    }

    // 18. The result, and the end of a drawing of its own.
    const bool done = runflag > 0;
    if (standalone) endop();
    return done;
}

bool issource2d(const frmPic *w)
{
    if (!w || w->Pictype != 1) return false;
    constexpr float tol = 0.0001f;
    if (!(std::fabs(w->lon1 - mapcorners.lon[0]) < tol && std::fabs(w->lon3 - mapcorners.lon[2]) < tol &&
          std::fabs(w->lat1 - mapcorners.lat[0]) < tol && std::fabs(w->lat3 - mapcorners.lat[2]) < tol))
        return false;
    if (isstereo(w->source) || w->source == QLatin1String("Mappemonde")) return false;
    return std::abs(w->Picture1->scaleWidth() - elevgrid.ubound1()) < 2 &&
           std::abs(w->Picture1->scaleHeight() - elevgrid.ubound2()) < 2;
}

bool findsource2d()
{
    curpic = nullptr;
    // The active picture first, then the others in the order they were opened.
    frmPic *found = nullptr;
    if (frmPic *a = activepic(); issource2d(a)) found = a;
    if (!found) {
        for (frmPic *p : picwindows()) {
            if (issource2d(p)) {
                found = p;
                break;
            }
        }
    }
    if (found) {
        curpic = found;
        return true;
    }
    if (msgbox(QStringLiteral("Pas d'image source 2D picture adéquate\r\nEn dessiner une?"), mbYesNo | mbQuestion) != idYes)
        return false;
    frmPic *w = openpicture(QString(), -1);
    if (!draw2d(w, true)) {
        curpic = nullptr;
        return false;
    }
    return curpic != nullptr;
}

bool keepinpic(PicBox *box, const QString &text)
{
    // The drawing is complete while the question waits: the bar says so.
    showprogressdone();
    if (msgbox(QStringLiteral("Garder ") + text + QStringLiteral("dans l'image?"), mbYesNo | mbQuestion) != idYes)
        return false;
    if (box) box->commit();
    return true;
}

}  // namespace zk
