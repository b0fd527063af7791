#include "picbox.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QColorSpace>
#include <QPainter>

#include <cmath>
#include <cstring>

#include "parallel.h"
#include "qtdc.h"
#include "workpool.h"

namespace zk {

QColor qcolor(uint32_t rgb) { return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF)); }
uint32_t rgbof(const QColor &c) { return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16); }

static int vbButtons(Qt::MouseButtons b)
{
    int r = 0;
    if (b & Qt::LeftButton) r |= 1;
    if (b & Qt::RightButton) r |= 2;
    if (b & Qt::MiddleButton) r |= 4;
    return r;
}

static int vbShift(Qt::KeyboardModifiers m)
{
    int r = 0;
    if (m & Qt::ShiftModifier) r |= 1;
    if (m & Qt::ControlModifier) r |= 2;
    if (m & Qt::AltModifier) r |= 4;
    return r;
}

PicBox::PicBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setBoxSize(1, 1);
}

ZkDC PicBox::hdc() { return dcOf(image_); }

QImage PicBox::clearedImage() const
{
    QImage img = dcImage(image_.width(), image_.height(), back_);
    if (!picture_.isNull() && !img.isNull()) {
        QPainter p(&img);
        p.drawImage(0, 0, picture_);
    }
    return img;
}

void PicBox::setPicture(const QImage &img, bool autosize)
{
    picture_ = img;
    changed_ = false;
    toDcFormat(picture_);
    if (autosize && !picture_.isNull()) {
        setBoxSize(picture_.width(), picture_.height());
    } else {
        cls();
    }
}

void PicBox::resetPicture()
{
    picture_ = QImage();
    changed_ = false;
    cls();
}

void PicBox::setBoxSize(int width, int height)
{
    width = std::max(1, width);
    height = std::max(1, height);
    image_ = QImage(width, height, kDcFormat);
    image_ = clearedImage();
    resize(width, height);
    update();
}

// A layer or stored picture is written again in the memory it has alone
// rather than replaced by a new image: a picture of a few million pixels
// freed and allocated again is handed back to the system by the allocator
// and faulted in anew page by page, which costs more than the copy itself
// and varies from one time to the next.
namespace {

bool ownsame(const QImage &mine, const QImage &other)
{
    return !mine.isNull() && mine.isDetached() && mine.size() == other.size() &&
           mine.format() == other.format() && mine.bytesPerLine() == other.bytesPerLine();
}

// Copies the pixels of `from` into `to`, of the same size and layout, by
// bands of rows on every core: a copy of this size is bound by memory, which
// several cores move faster than one.
void copypixels(QImage &to, const QImage &from)
{
    uchar *dst = to.bits();
    const uchar *src = from.constBits();
    const qsizetype line = from.bytesPerLine();
    poolbands(from.height(), [&](int a, int b) {
        std::memcpy(dst + a * line, src + a * line, size_t((b - a) * line));
    }, from.sizeInBytes() >= (qsizetype(1) << 20) ? workercount() : 1);
}

// Copies the rectangle r (inside both images, of the same layout) from
// `from` into `to`.
void copyrect(QImage &to, const QImage &from, const QRect &r)
{
    uchar *dst = to.bits();
    const uchar *src = from.constBits();
    const qsizetype line = from.bytesPerLine(), left = qsizetype(r.left()) * 4, bytes = qsizetype(r.width()) * 4;
    const int top = r.top();
    poolbands(r.height(), [&](int a, int b) {
        for (int y = top + a; y < top + b; ++y) std::memcpy(dst + y * line + left, src + y * line + left, size_t(bytes));
    }, qsizetype(r.height()) * bytes >= (qsizetype(1) << 20) ? workercount() : 1);
}

}  // namespace

SpanTarget PicBox::beginwrites(QPainter &painter)
{
    const bool known = tracked();
    painter.begin(&image_);
    SpanTarget t = spantarget(image_);
    // The painter and the memory taken have changed the layer's key: what
    // changes it after this is another writer.
    trackimage_ = known ? image_.cacheKey() : 0;
    return t;
}

void PicBox::wrote(const QRect &area)
{
    if (tracked()) touched_ |= area & image_.rect();
}

bool PicBox::tracked() const
{
    return trackimage_ != 0 && image_.cacheKey() == trackimage_ && picture_.cacheKey() == trackpicture_;
}

void PicBox::cls()
{
    if (ownsame(image_, picture_) && image_.format() == kDcFormat) {
        // A stored picture as large as the layer covers the background:
        // drawn over it, its pixels are copied as they are. Every operation
        // clears the pictures as it starts: one that finds a layer nobody
        // has drawn on since it was cleared or kept neither copies a few
        // million pixels again nor shows them again.
        if (tracked()) {
            // Only where the writes since went is copied, and shown again.
            const QRect r = touched_;
            if (!r.isEmpty()) copyrect(image_, picture_, r);
            markclean();
            if (!r.isEmpty()) update(shownregion(r));
            return;
        }
        copypixels(image_, picture_);
        markclean();
    } else if (ownsame(image_, image_) && image_.format() == kDcFormat) {
        // What clearedImage makes, in the layer's own memory.
        image_.fill(QColor(int(back_ & 0xFF), int((back_ >> 8) & 0xFF), int((back_ >> 16) & 0xFF)));
        if (!picture_.isNull()) {
            QPainter p(&image_);
            p.drawImage(0, 0, picture_);
        }
    } else {
        image_ = clearedImage();
    }
    update(shownregion());
}

// The part of the box that the windows around it show and that no widget
// above it covers. A picture is larger than its window and lies under the
// window's scroll bars: repainting it there would also repaint the scroll
// bars, which cost more than the picture. What comes into view later, or
// what a widget above uncovers when it goes, is painted from the layer then.
QRegion PicBox::shownregion(const QRect &part) const
{
    QRegion r = visibleRegion() & part;
    const QWidget *parent = parentWidget();
    if (!parent || r.isEmpty()) return r;
    const QObjectList &siblings = parent->children();
    for (qsizetype i = siblings.indexOf(const_cast<PicBox *>(this)) + 1; i > 0 && i < siblings.size(); ++i) {
        const auto *w = qobject_cast<const QWidget *>(siblings.at(i));
        if (w && !w->isWindow() && w->isVisible()) r -= w->geometry().translated(-pos());
    }
    return r;
}

void PicBox::refresh() { update(tracked() ? shownregion(touched_) : shownregion()); }

void PicBox::markclean()
{
    trackimage_ = image_.cacheKey();
    trackpicture_ = picture_.cacheKey();
    touched_ = QRect();
}

void PicBox::commit()
{
    // The stored picture gets memory of its own and the layer keeps its own,
    // so that what holds the layer's memory never writes the picture.
    if (ownsame(picture_, image_) && picture_.colorSpace() == image_.colorSpace() && picture_.textKeys().isEmpty() &&
        image_.textKeys().isEmpty()) {
        // After writes that said where they went, only there.
        if (!tracked()) copypixels(picture_, image_);
        else if (!touched_.isEmpty()) copyrect(picture_, image_, touched_);
        picture_.setDotsPerMeterX(image_.dotsPerMeterX());
        picture_.setDotsPerMeterY(image_.dotsPerMeterY());
        picture_.setOffset(image_.offset());
        picture_.setDevicePixelRatio(image_.devicePixelRatio());
    } else if (!image_.isNull() && image_.format() == kDcFormat && image_.textKeys().isEmpty() &&
               image_.sizeInBytes() >= (qsizetype(1) << 20)) {
        // New memory for the picture, faulted in by the cores together as
        // they copy.
        QImage copy(image_.size(), image_.format());
        if (copy.isNull() || copy.bytesPerLine() != image_.bytesPerLine()) {
            picture_ = image_;
            picture_.detach();
        } else {
            copypixels(copy, image_);
            copy.setDotsPerMeterX(image_.dotsPerMeterX());
            copy.setDotsPerMeterY(image_.dotsPerMeterY());
            copy.setOffset(image_.offset());
            copy.setColorSpace(image_.colorSpace());
            copy.setDevicePixelRatio(image_.devicePixelRatio());
            picture_ = copy;
        }
    } else {
        picture_ = image_;
        picture_.detach();
    }
    markclean();
    changed_ = true;
}

void PicBox::setBackColor(uint32_t colour) { back_ = colour & 0xFFFFFF; }

// A box looks the same enabled or not, with the focus or without: every long
// operation disables the boxes of all pictures (the focused one gives up its
// focus) and enables them again, and repainting pictures of a few million
// pixels for it, while every core is busy with the operation, would cost
// more than the painting the operation does. Assistive tools are still told
// of the change.
void PicBox::focusInEvent(QFocusEvent *) {}
void PicBox::focusOutEvent(QFocusEvent *) {}

void PicBox::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange) {
#if QT_CONFIG(accessibility)
        QAccessible::State s;
        s.disabled = true;
        QAccessibleStateChangeEvent event(this, s);
        QAccessible::updateAccessibility(&event);
#endif
        return;
    }
    QWidget::changeEvent(e);
}

void PicBox::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    p.drawImage(e->rect(), image_, e->rect());
}

void PicBox::mousePressEvent(QMouseEvent *e)
{
    const int button = vbButtons(e->button());
    emit mouseDown(button, vbShift(e->modifiers()), float(std::floor(e->position().x())),
                   float(std::floor(e->position().y())));
}

void PicBox::mouseMoveEvent(QMouseEvent *e)
{
    emit mouseMove(vbButtons(e->buttons()), vbShift(e->modifiers()), float(std::floor(e->position().x())),
                   float(std::floor(e->position().y())));
}

}  // namespace zk
