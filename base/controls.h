// The light-weight controls of the main window's drawn toolbar and status
// bar: a line between two points, a filled shape, and an image. Each is a
// small widget named after its control (objectName), so that other windows
// and the tests find it by name.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace zk {

// A one-pixel line from (x1, y1) to (x2, y2) in the parent's pixels; the
// widget covers the line's bounding box.
class Line : public QWidget {
    Q_OBJECT
public:
    explicit Line(QWidget *parent, const QColor &color = Qt::black);
    void setPoints(int x1, int y1, int x2, int y2);
    int x1() const { return x1_; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    void setColor(const QColor &c);
    QColor color() const { return color_; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    QColor color_;
};

// A rectangle or an oval with a fill and a one-pixel border. A fill whose
// alpha is 0 is no fill: what lies under the shape shows through.
class Shape : public QWidget {
    Q_OBJECT
public:
    enum Kind { Rectangle, Oval };
    // How the shape's pixels meet the picture beneath it (the Windows
    // drawing-mode numbers): copied over it, or combined bit by bit with
    // it, OR for merge and AND for mask.
    enum DrawMode { MaskPen = 9, CopyPen = 13, MergePen = 15 };
    Shape(QWidget *parent, Kind kind, const QColor &fill, const QColor &border);
    void setFillColor(const QColor &c);
    QColor fillColor() const { return fill_; }
    void setBorderColor(const QColor &c);
    QColor borderColor() const { return border_; }
    void setDrawMode(DrawMode m);
    DrawMode drawMode() const { return mode_; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    Kind kind_;
    QColor fill_, border_;
    DrawMode mode_ = CopyPen;
};

// An image control: shows its picture at its own size, greyed when the
// control is disabled.
class Image : public QWidget {
    Q_OBJECT
public:
    explicit Image(QWidget *parent, const QPixmap &picture = QPixmap());
    void setPicture(const QPixmap &p);
    QPixmap picture() const { return picture_; }
    // Drawn greyed (the control still takes the mouse): the toolbar greys a
    // button whose command is not available.
    void setGreyed(bool g);
    bool greyed() const { return greyed_; }
    QSize sizeHint() const override { return picture_.isNull() ? QSize(16, 16) : picture_.deviceIndependentSize().toSize(); }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QPixmap picture_;
    bool greyed_ = false;
};

}  // namespace zk
