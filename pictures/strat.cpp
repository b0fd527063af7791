#include "strat.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QPointer>

#include <algorithm>

#include "base/longop.h"
#include "base/mdi.h"
#include "map/mapdata.h"
#include "pictures/cursor.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"

namespace zk {

namespace {

// The colour as a pixel of the drawing layer (Format_RGBX8888: red in the
// low byte, the top byte set).
inline uint32_t pixelof(uint32_t colour) { return (colour & 0xFFFFFFu) | 0xFF000000u; }

void setpixel(QImage &img, int32_t x, int32_t y, uint32_t px)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return;
    reinterpret_cast<uint32_t *>(img.scanLine(y))[x] = px;
}

void activate(frmPic *w)
{
    if (!w) return;
    if (QMdiArea *a = mdiArea()) a->setActiveSubWindow(w);
}

}  // namespace

void stratify(float lo_m, float hi_m, uint32_t colour)
{
    // 1. The current picture.
    const QPointer<frmPic> w = curpic;
    activate(w);
    if (!w) {
        endop();
        return;
    }

    // 2. The whole grid, or the selection within it (its right and bottom
    // edges excluded).
    const int32_t ux = elevgrid.ubound1(), uy = elevgrid.ubound2();
    int32_t x0 = 0, x1 = ux, y0 = 0, y1 = uy;
    if (!w->Shape2->isHidden()) {
        const QRect s = w->Shape2->geometry();
        y0 = std::max(s.top(), 0);
        y1 = std::min(s.top() + s.height() - 1, uy);
        x0 = std::max(s.left(), 0);
        x1 = std::min(s.left() + s.width() - 1, ux);
    }

    // 3.
    beginop(opdraw2d);

    // 4. Row by row, top to bottom; picture row y shows grid row uy - y.
    const uint32_t px = pixelof(colour);
    for (int32_t y = y0; y <= y1; ++y) {
        if (!w) break;
        QImage &img = w->Picture1->image();
        const int32_t gy = uy - y;
        for (int32_t x = x0; x <= x1; ++x) {
            const float h = elevgrid.at(x, gy);
            if (lo_m <= h && h <= hi_m) setpixel(img, x, y, px);
        }
        if (y % 8 == 0) {
            opcallback(y);
            QCoreApplication::processEvents();
        }
        // 6. A stop ends here: the rows painted so far stay in the layer.
        if (runflag == 0) {
            endop();
            return;
        }
    }

    // 5. Keep the colours?
    if (w) {
        w->Picture1->refresh();
        keepinpic(w->Picture1, QStringLiteral("les couleurs "));
    }
    // 6.
    endop();
}

std::vector<uint8_t> floodarea(const ElevGrid &grid, int32_t cx, int32_t cy, const FloodSteps &steps)
{
    std::vector<uint8_t> mask(grid.cellCount(), 0);
    if (!grid.contains(cx, cy)) return mask;
    const int32_t ux = grid.ubound1(), uy = grid.ubound2();
    const size_t nx = size_t(grid.nx());
    auto cell = [&](int32_t x, int32_t y) -> uint8_t & { return mask[size_t(x) + size_t(y) * nx]; };
    auto paint = [&](int32_t x, int32_t y) {
        cell(x, y) = 1;
        if (steps.paint) steps.paint(x, y);
    };

    // The start cell, and a sweep box of its neighbours.
    const int16_t h0 = grid.at(cx, cy);
    paint(cx, cy);
    int32_t dx = 1, dy = 1, x = cx, y = cy;
    int32_t bx0 = cx - 1, bx1 = cx + 1, by0 = cy - 1, by1 = cy + 1;
    int32_t turns = 0;  // turns without a new cell

    while ((!steps.running || steps.running()) && turns < 2) {
        // One row, in the current direction, from one edge of the box to the
        // other.
        for (;;) {
            if (grid.contains(x, y) && cell(x, y)) {
                for (int32_t j = y - 1; j <= y + 1; ++j) {
                    for (int32_t i = x - 1; i <= x + 1; ++i) {
                        if (!grid.contains(i, j) || cell(i, j) || grid.at(i, j) != h0) continue;
                        paint(i, j);
                        turns = 0;
                        // The box grows towards the new cell, but not onto
                        // the grid's border.
                        if (i < bx0) bx0 = std::max(i, 1);
                        if (i > bx1) bx1 = std::min(i, ux - 1);
                        if (j < by0) by0 = std::max(j, 1);
                        if (j > by1) by1 = std::min(j, uy - 1);
                    }
                }
            }
            x += dx;
            if (x < bx0) {
                x = bx0;
                dx = 1;
                break;
            }
            if (x > bx1) {
                x = bx1;
                dx = -1;
                break;
            }
        }
        if (steps.rowend) steps.rowend();

        // The next row; at the box's top or bottom the sweep turns back.
        y += dy;
        if (y < by0 || y > by1) {
            y = y < by0 ? by0 : by1;
            dy = -dy;
            ++turns;
            if (steps.turn) steps.turn(turns);
        }
    }
    return mask;
}

void flood(uint32_t colour)
{
    // 1. The 2D picture of the map, found or drawn.
    if (!findsource2d()) {
        endop();
        return;
    }

    // 2.
    const QPointer<frmPic> w = curpic;
    activate(w);
    beginop(opdraw2d);
    progtotal = 100;

    // 3-6. The area of the cursor cell's elevation, painted as it grows.
    const int32_t uy = elevgrid.ubound2();
    const uint32_t px = pixelof(colour);
    FloodSteps steps;
    steps.paint = [&](int32_t x, int32_t y) {
        if (w) setpixel(w->Picture1->image(), x, uy - y, px);
    };
    steps.rowend = [] { QCoreApplication::processEvents(); };
    steps.turn = [&](int32_t turns) {
        if (w) w->Picture1->refresh();
        opcallback((turns + 1) * 20);
    };
    steps.running = [] { return runflag > 0; };
    floodarea(elevgrid, curx, cury, steps);
    opcallback(80);

    // 7. The grid was only read: nothing to give back.
    opcallback(100);

    // 8.
    if (w) {
        w->Picture1->refresh();
        keepinpic(w->Picture1, QStringLiteral("la couleur "));
    }
    endop();
}

}  // namespace zk
