#include "picbox.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "qtdc.h"

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

void PicBox::cls()
{
    image_ = clearedImage();
    update();
}

void PicBox::commit()
{
    picture_ = image_;
    picture_.detach();
    changed_ = true;
}

void PicBox::setBackColor(uint32_t colour) { back_ = colour & 0xFFFFFF; }

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
