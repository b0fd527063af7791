// A picture box that keeps its drawing: what is drawn goes to an image that
// repaints the widget; the image can be made the box's persistent picture,
// to which clearing returns. And a label whose caption may break lines with
// any of CR, LF, CR LF or LF CR, as the viewer's captions do.
#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>

#include <cstdint>

namespace zk::pathviewer {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    // Resizes the box and its drawing, which is cleared.
    void setPictureSize(int width, int height);
    void setBackColor(uint32_t bgr);

    // The drawing as it shows now; paint on it, then update().
    QImage &image() { return image_; }
    const QImage &image() const { return image_; }
    // The persistent picture; null when there is none.
    const QImage &stored() const { return stored_; }

    // Back to the persistent picture, or to the back colour without one.
    void cls();
    // Forgets the persistent picture and clears the drawing.
    void clearStored();
    // The current drawing becomes the persistent picture.
    void keep();

signals:
    void mouseDown(const QPointF &pos, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    QImage image_;
    QImage stored_;
    QColor back_;
};

class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    explicit CaptionLabel(QWidget *parent = nullptr);
    // The caption exactly as composed; shown with each line break as one.
    void setCaption(const QString &caption);
    QString caption() const { return caption_; }

private:
    QString caption_;
};

}  // namespace zk::pathviewer
