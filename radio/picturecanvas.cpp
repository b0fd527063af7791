#include "radio/picturecanvas.h"

#include <algorithm>

#include "base/longop.h"
#include "parallel.h"
#include "pictures/picbox.h"
#include "workpool.h"

namespace zk {

namespace {

// Few cells are written on the calling thread: starting threads would cost
// more.
constexpr size_t kParallelCells = 2048;
constexpr size_t kMaxPending = 1 << 16;
// How many cells ahead of the one being written the rows of the next are
// asked for: a cell's rows are far apart in a picture of millions of pixels,
// and fetched one after another they would keep the thread waiting.
constexpr size_t kAhead = 24;

}  // namespace

PictureCanvas::PictureCanvas(PicBox *box, bool copy) : box_(box), copy_(copy)
{
    begin();
    shown_.start();
}

PictureCanvas::~PictureCanvas() { end(); }

void PictureCanvas::fill(const QPoint *q, uint32_t colour)
{
    if (!havepixel_ || colour != colour_) {
        // A rainbow plot changes colour from cell to cell among a dozen: each
        // colour's pixel is worked out once.
        const QImage::Format format = box_->image().format();
        auto known = std::find_if(pixels_.begin(), pixels_.end(),
                                  [&](const Known &k) { return k.colour == colour && k.format == format; });
        if (known == pixels_.end()) {
            Known k{colour, format, 0, false};
            k.pixel = spanpixel(format, qcolor(colour).rgb(), &k.direct);
            pixels_.push_back(k);
            known = pixels_.end() - 1;
        }
        pixel_ = known->pixel;
        direct_ = known->direct;
        colour_ = colour;
        havepixel_ = true;
    }
    const auto [left, right] = std::minmax({q[0].x(), q[1].x(), q[2].x(), q[3].x()});
    const auto [lo, hi] = std::minmax({q[0].y(), q[1].y(), q[2].y(), q[3].y()});
    touch(left, lo, right, hi);
    if (direct_ && fillable(target_, q, 4)) {
        pending_.push_back({{q[0], q[1], q[2], q[3]}, pixel_, left, lo, hi, false});
        if (pending_.size() >= kMaxPending) flush();
        return;
    }
    flush();
    painter_.setCompositionMode(copy_ ? QPainter::CompositionMode_Source : QPainter::RasterOp_SourceAndDestination);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(qcolor(colour));
    linepen_ = false;
    painter_.drawPolygon(q, 4);
}

void PictureCanvas::line(QPoint a, QPoint b, uint32_t colour)
{
    // Lines wait with the cells, to be drawn in their turn.
    touch(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()), std::max(a.y(), b.y()));
    pending_.push_back({{a, b, a, b}, colour, 0, 0, 0, true});
    ++lines_;
    if (pending_.size() >= kMaxPending) flush();
}

void PictureCanvas::drawline(QPoint a, QPoint b, uint32_t colour)
{
    // Contours come one segment after another in one colour: the painter is
    // set for them once.
    if (!linepen_ || colour != linecolour_) {
        painter_.setCompositionMode(QPainter::CompositionMode_Source);
        painter_.setPen(qcolor(colour));
        linepen_ = true;
        linecolour_ = colour;
    }
    painter_.drawLine(a, b);
}

bool PictureCanvas::radial(int k)
{
    // Events are pumped here: the box may be repainted, resized or its image
    // shared, so the painter lets go of its layer meanwhile.
    flush();
    box_->wrote(drawn());
    painter_.end();
    opcallback(k);
    if (shown_.elapsed() >= 100) {
        box_->refresh();
        shown_.restart();
    }
    begin();
    return runflag != 0;
}

void PictureCanvas::end()
{
    flush();
    if (painter_.isActive()) {
        box_->wrote(drawn());
        painter_.end();
    }
}

void PictureCanvas::touch(int left, int top, int right, int bottom)
{
    left_ = std::min(left_, left);
    top_ = std::min(top_, top);
    right_ = std::max(right_, right);
    bottom_ = std::max(bottom_, bottom);
}

QRect PictureCanvas::drawn() const
{
    // Two pixels of margin around what QPainter's polygons and lines of one
    // pixel may set.
    if (left_ > right_) return QRect();
    return QRect(QPoint(left_ - 2, top_ - 2), QPoint(right_ + 2, bottom_ + 2));
}

void PictureCanvas::begin()
{
    // The layer is made the image's own before anything is written into its
    // memory, so that a copy another holder shares is never drawn on.
    target_ = box_->beginwrites(painter_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    linepen_ = false;
}

void PictureCanvas::flush()
{
    if (pending_.empty()) return;
    const SpanMode mode = copy_ ? SpanMode::Copy : SpanMode::And;
    if (lines_ > 0) {
        // A line crosses the cells before and after it: all go in their
        // order, on this thread.
        const size_t n = pending_.size();
        for (size_t i = 0; i < n; ++i) {
            if (i + kAhead < n) {
                const Cell &next = pending_[i + kAhead];
                if (!next.line)
                    for (int y = next.top; y <= next.bottom; ++y)
                        __builtin_prefetch(target_.bits + qsizetype(y) * target_.stride + qsizetype(next.left) * 4, 1);
            }
            const Cell &c = pending_[i];
            if (c.line) drawline(c.q[0], c.q[1], c.pixel);
            else fillpolygon(target_, c.q, 4, c.pixel, mode, 0, target_.height);
        }
        pending_.clear();
        lines_ = 0;
        return;
    }
    auto paint = [&](int from, int to) {
        for (const Cell &c : pending_)
            if (c.bottom >= from && c.top < to) fillpolygon(target_, c.q, 4, c.pixel, mode, from, to);
    };
    poolbands(target_.height, paint, pending_.size() < kParallelCells ? 1 : workercount());
    pending_.clear();
}

}  // namespace zk
