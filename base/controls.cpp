#include "controls.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace zk {

Line::Line(QWidget *parent, const QColor &color) : QWidget(parent), color_(color)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(1, 1);
}

void Line::setPoints(int x1, int y1, int x2, int y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    const int l = std::min(x1, x2), t = std::min(y1, y2);
    setGeometry(l, t, std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1);
    update();
}

void Line::setColor(const QColor &c)
{
    color_ = c;
    update();
}

void Line::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPoint o(std::min(x1_, x2_), std::min(y1_, y2_));
    p.setPen(QPen(color_, 1));
    p.drawLine(QPoint(x1_, y1_) - o, QPoint(x2_, y2_) - o);
}

Shape::Shape(QWidget *parent, Kind kind, const QColor &fill, const QColor &border)
    : QWidget(parent), kind_(kind), fill_(fill), border_(border)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setFillColor(const QColor &c)
{
    fill_ = c;
    update();
}

void Shape::setBorderColor(const QColor &c)
{
    border_ = c;
    update();
}

void Shape::setDrawMode(DrawMode m)
{
    mode_ = m;
    update();
}

void Shape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // A child paints into its parent's backing store after the parent, so
    // a raster operation combines the border with the picture beneath.
    if (mode_ == MergePen) p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    else if (mode_ == MaskPen) p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.setPen(QPen(border_, 1));
    // An invisible fill must stay out of the raster operations: ANDed in,
    // its zero bits would blacken the inside.
    if (fill_.alpha() == 0) p.setBrush(Qt::NoBrush);
    else p.setBrush(fill_);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    if (kind_ == Oval) {
        // Blended edge pixels have no meaning under a raster operation.
        if (mode_ == CopyPen) p.setRenderHint(QPainter::Antialiasing);
        p.drawEllipse(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
    } else {
        p.drawRect(r);
    }
}

Image::Image(QWidget *parent, const QPixmap &picture) : QWidget(parent), picture_(picture)
{
    resize(sizeHint());
}

void Image::setPicture(const QPixmap &p)
{
    picture_ = p;
    resize(sizeHint());
    update();
}

void Image::setGreyed(bool g)
{
    if (greyed_ == g) return;
    greyed_ = g;
    update();
}

void Image::paintEvent(QPaintEvent *)
{
    if (picture_.isNull()) return;
    QPainter p(this);
    if (isEnabled() && !greyed_) {
        p.drawPixmap(0, 0, picture_);
    } else {
        QStyleOption opt;
        opt.initFrom(this);
        p.drawPixmap(0, 0, style()->generatedIconPixmap(QIcon::Disabled, picture_, &opt));
    }
}

}  // namespace zk
