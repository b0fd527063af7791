// frmFull, the full-screen view: one picture alone on the whole screen, on a
// grey background, panned with the arrow keys or by dragging when it is
// larger than the screen. It never changes the picture window it shows.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <cstdint>

class QLabel;

namespace zk {

class frmPic;

class frmFull : public QWidget {
    Q_OBJECT
public:
    explicit frmFull(QWidget *owner = nullptr);
    ~frmFull() override;

    // The viewer, while it is open.
    static frmFull *loaded();

    // The image control, sized to its picture and placed by its left and top.
    QLabel *Picture1 = nullptr;
    // The picture window whose image is shown.
    QPointer<frmPic> source;

    void setImage(const QImage &img);
    QSize imageSize() const { return imagesize_; }
    float imageLeft() const { return left_; }
    float imageTop() const { return top_; }
    bool panH() const { return panh_; }
    bool panV() const { return panv_; }

    // The window's event handlers, by their names (key codes as Windows
    // virtual keys; shift: 1 Shift, 2 Ctrl, 4 Alt; buttons: 1 left, 2 right,
    // 4 middle; positions in pixels relative to the image).
    void Form_Activate();
    void Form_KeyDown(int keyCode, int shift);
    void Form_MouseDown(int button);
    void Picture1_MouseDown(int button, float x, float y);
    void Picture1_MouseMove(float x, float y);
    void Picture1_MouseUp();
    void Picture1_DblClick();

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    bool eventFilter(QObject *obj, QEvent *e) override;

private:
    void place();

    QSize imagesize_;
    float left_ = 0, top_ = 0;
    bool panh_ = false, panv_ = false;
    int32_t downx_ = 0, downy_ = 0;  // where a button went down on the image
    int32_t lastx_ = 0, lasty_ = 0;  // the last position seen over the image
    bool recentre_ = true;           // the next activation centres the image
};

// The main window's "Plein écran" for a picture window: the viewer shows the
// window's current image (its picture with what is drawn over it), modeless,
// owned by the main window. Null when `w` is null.
frmFull *showfull(frmPic *w);

}  // namespace zk
