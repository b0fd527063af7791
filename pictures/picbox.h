// The picture box of a picture window, with its stored picture and its
// persistent drawing layer. (The light controls drawn over it, the cursor
// lines and the shapes, are the shell's Line and Shape, base/controls.h.)
#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>

#include "spanfill.h"
#include "zelkor32.h"

class QPainter;

namespace zk {

// A picture box in pixels, origin at its top-left pixel. It keeps two images:
// the stored picture (`Picture`) and the drawing layer (`Image`), which is as
// large as the box and is what the box shows. Drawings go to the layer; they
// disappear with cls() unless commit() made the layer the stored picture.
class PicBox : public QWidget {
    Q_OBJECT
public:
    explicit PicBox(QWidget *parent = nullptr);

    // The stored picture; null when the box holds only its background (the
    // picture window's empty "palette picture").
    const QImage &picture() const { return picture_; }
    // The drawing layer (Format_RGBX8888, the box's size). Call refresh()
    // after drawing on it.
    QImage &image() { return image_; }
    const QImage &image() const { return image_; }
    // The drawing layer as the engine's device context.
    ZkDC hdc();
    // Writes that say where they go: beginwrites() begins the painter on the
    // layer and answers the layer's memory for direct writes; wrote() then
    // names a part of the layer that holds every change made since, through
    // that painter and that memory. A clearing or a commit that follows only
    // such writes copies only the parts they named. Writes made any other
    // way (image(), hdc()) count as changing the whole layer.
    SpanTarget beginwrites(QPainter &painter);
    void wrote(const QRect &area);

    // Makes the image the stored picture; with autosize the box takes the
    // picture's size. The layer is cleared to it.
    void setPicture(const QImage &img, bool autosize = true);
    // Back to the empty background picture (size kept).
    void resetPicture();
    // Sets the box's size in pixels; the layer is redrawn as background plus
    // the stored picture (what was drawn over it is lost, as on a resize).
    void setBoxSize(int width, int height);
    // Clears the drawing layer back to the background and the stored picture.
    // After only writes that said where they went, since the layer was last
    // made the stored picture (by a clearing or a commit), only those parts
    // are copied and shown again; after none, nothing.
    void cls();
    // Commits the drawing layer: it becomes the stored picture, which then
    // differs from the one last set (read from a file) or saved.
    void commit();
    // True when a commit changed the stored picture since it was last set,
    // reset or saved: the work kept in it would be lost with the window.
    bool changed() const { return changed_; }
    // The stored picture is now the one of its file (it was just saved).
    void markSaved() { changed_ = false; }
    // The background with the stored picture on it, at the box's size: what
    // cls() shows.
    QImage clearedImage() const;

    int scaleWidth() const { return image_.width(); }
    int scaleHeight() const { return image_.height(); }
    int scaleLeft() const { return 0; }
    int scaleTop() const { return 0; }

    // Background colour, red in the low byte (grey 128 by default).
    uint32_t backColor() const { return back_; }
    void setBackColor(uint32_t colour);

    // Repaints the box from its layer, where it can be seen: after writes
    // that said where they went, only there.
    void refresh();

signals:
    // Button: 1 left, 2 right, 4 middle (for moves, the buttons held); shift:
    // 1 Shift, 2 Ctrl, 4 Alt. x and y in picture pixels.
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void changeEvent(QEvent *e) override;
    void focusInEvent(QFocusEvent *) override;
    void focusOutEvent(QFocusEvent *) override;

private:
    void markclean();
    QRegion shownregion(const QRect &part) const;
    QRegion shownregion() const { return shownregion(rect()); }
    bool tracked() const;

    QImage picture_;
    QImage image_;
    // Every way of writing an image (its bits, its lines, a painter on it)
    // changes its cache key. The layer's key as the layer was last made the
    // picture, or as the last writer that says where it writes found it (0:
    // some writer did not say); the picture's key then; and the part of the
    // layer where those writers wrote since (empty: the layer is the picture).
    qint64 trackimage_ = 0, trackpicture_ = 0;
    QRect touched_;
    uint32_t back_ = 0x808080;
    bool changed_ = false;
};

// A colour with red in the low byte as a QColor, and back.
QColor qcolor(uint32_t rgb);
uint32_t rgbof(const QColor &c);

}  // namespace zk
