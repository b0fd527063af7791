// The picture box as a coverage canvas: cells filled without outline, copied
// or combined with the picture by a bitwise AND, contour lines copied. Cells
// go straight into the image's memory a run of pixels at a time (the pixels
// QPainter would set), gathered and written on every core at once, each
// thread on a band of rows of its own and every band in the order the cells
// came, so that each pixel gets the same writes in the same order as one
// cell after another. Contour lines wait with the cells and are drawn with
// QPainter in their turn; cells gathered with lines are written on the
// calling thread, in their order, each cell's rows fetched a few cells ahead.
// A cell that cannot go straight into memory is painted with QPainter after
// what came before it. After every radial it
// is called for, the long operation's callback runs (progress, events); the
// box is shown again at most every 100 ms.
#pragma once

#include <QElapsedTimer>
#include <QPainter>

#include <climits>
#include <cstdint>
#include <vector>

#include "radio/coverage.h"
#include "spanfill.h"

namespace zk {

class PicBox;

class PictureCanvas : public CoverageCanvas {
public:
    // copy: cells replace the pixels; otherwise they are ANDed with them.
    PictureCanvas(PicBox *box, bool copy);
    ~PictureCanvas() override;
    void fill(const QPoint *q, uint32_t colour) override;
    void line(QPoint a, QPoint b, uint32_t colour) override;
    // Writes what is gathered, runs the operation's callback and answers
    // whether the operation goes on.
    bool radial(int k) override;
    // Writes what is gathered and lets go of the picture; the destructor
    // does it too.
    void end();

private:
    // A cell, or a line from q[0] to q[1] in the colour `pixel`.
    struct Cell {
        QPoint q[4];
        uint32_t pixel;
        int left, top, bottom;  // leftmost column and rows of its points
        bool line;
    };
    void begin();
    void flush();
    void touch(int left, int top, int right, int bottom);
    void drawline(QPoint a, QPoint b, uint32_t colour);
    QRect drawn() const;

    PicBox *box_;
    QPainter painter_;
    bool copy_;
    QElapsedTimer shown_;
    SpanTarget target_;
    std::vector<Cell> pending_;
    size_t lines_ = 0;  // lines among the pending
    uint32_t colour_ = 0, pixel_ = 0;
    bool havepixel_ = false, direct_ = false;
    struct Known {
        uint32_t colour;
        QImage::Format format;
        uint32_t pixel;
        bool direct;
    };
    std::vector<Known> pixels_;  // the pixel of each colour met
    uint32_t linecolour_ = 0;
    bool linepen_ = false;       // the painter is set for lines of linecolour_
    // The bounds of the points of every cell and line so far.
    int left_ = INT_MAX, top_ = INT_MAX, right_ = INT_MIN, bottom_ = INT_MIN;
};

}  // namespace zk
