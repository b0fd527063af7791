// The picture window: one MDI child per picture, with the picture, its
// geographic corners and the values it was drawn with (its 35 public
// variables), the crosshair, the selection, one name label and one icon per
// unit, scroll bars and a size grip. Other code reaches its controls by name.
#pragma once

#include <QList>
#include <QMdiSubWindow>
#include <QPointer>

#include <array>
#include <cstdint>

#include "base/controls.h"
#include "pictures/picbox.h"

class QLabel;
class QScrollBar;

namespace zk {

// The overlay controls are the shell's light controls; these were their
// first names here, and code written against them still uses them.
using LineCtl = Line;
using ShapeCtl = Shape;

class frmPic : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit frmPic(QWidget *parent = nullptr);
    ~frmPic() override;

    // The public variables, read and written by name all over the program.
    QString source;     // where the picture comes from
    QString Filename;   // the picture file, or the new name of an unsaved picture
    int16_t Pictype = 0;  // 0 plain, 1 drawn from the map, 2 own corners, 3 3D, 4 station view
    float lon1 = 0, lat1 = 0;  // corner 1, north-west, degrees
    float lon2 = 0, lat2 = 0;  // corner 2, north-east
    float lon3 = 0, lat3 = 0;  // corner 3, south-east
    float lon4 = 0, lat4 = 0;  // corner 4, south-west
    // The 3D view a 3D picture was drawn with.
    float amplx = 0, phi = 0, theta = 0, disto = 0, aper = 0, size = 0, ofx = 0, ofy = 0;
    float w3 = 0, h3 = 0, q3 = 0;
    // The drawing values of a 2D picture.
    int16_t Mapmode = 0;
    uint8_t city = 0;
    float light = 0;  // light azimuth, degrees
    float bri = 0;    // brightness, percent
    float con = 0;    // contrast, percent
    uint8_t c1 = 0;   // 10 m contours when not 0
    uint8_t c2 = 0;   // bit 1: 100 m contours, bit 2: 500 m contours
    float hmin = 0, hmax = 0, hmoy = 0;  // elevations of the map drawn, m
    float minx = 0, maxx = 0;            // floor and ceiling of the colour scale, m
    int16_t inFocus = 0;  // 0 / -1: a button went down and the window has kept the focus

    // Controls.
    PicBox *Picture1 = nullptr;   // the picture
    PicBox *Picture3 = nullptr;   // hidden work picture of the drawing operations
    Line *Line1 = nullptr;        // crosshair, vertical
    Line *Line2 = nullptr;        // crosshair, horizontal
    Shape *Shape2 = nullptr;      // selection: Left, Top, Width, Height are its geometry
    std::array<Shape *, 4> Shape1{};  // stereo marks
    std::array<QLabel *, 51> Label4{};   // unit labels, index 1..50 (0 unused)
    std::array<QLabel *, 51> Image1{};   // unit icons, index 1..50 (0 unused)
    QScrollBar *HScroll1 = nullptr;
    QScrollBar *VScroll1 = nullptr;
    QLabel *Picture2 = nullptr;   // size grip between the scroll bars
    QWidget *client() const { return client_; }

    // The window's event handlers, by their names (key codes as Windows
    // virtual keys: 27 Esc, 37..40 arrows, 107 / 109 numpad + / -).
    void Form_Activate();
    void Form_KeyDown(int keyCode, int shift);
    void Form_LostFocus();
    void Picture1_MouseDown(int button, int shift, float x, float y);
    void Picture1_MouseMove(int button, int shift, float x, float y);
    void Label4_DblClick(int index);
    void Label4_MouseDown(int index, int button, int shift);

    // The selection's anchor and drag end, picture pixels.
    int32_t anchorX() const { return x0_; }
    int32_t anchorY() const { return y0_; }

protected:
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *obj, QEvent *e) override;

private:
    void zoomSelection();
    void gripPressed(const QPoint &p);
    void gripReleased(const QPoint &p);

    QWidget *client_ = nullptr;
    int32_t x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
    QPoint gripPress_;
    QString selText_;
};

// Lays the window out for its size and the size of its picture: scroll bars
// when the picture does not fit, centred when it does, the grip between two
// scroll bars. Nothing while the window is minimised.
void arrangepic(frmPic *w);

// The current picture window: the last one opened, drawn into or chosen as
// the source of an operation; cleared when that window closes.
extern QPointer<frmPic> curpic;
// True when the next drawing must open a new picture window.
extern bool newpic;

// The loaded picture windows, in the order they were created.
QList<frmPic *> picwindows();

// A pixel coordinate as a control's end point: rounded and kept within a
// range where widget geometry stays sane.
int ctlpix(float v);

// The main window's active picture window, or null.
frmPic *activepic();

// Sets the window's corner variables lon1..lat4 from four corners each,
// in the order north-west, north-east, south-east, south-west.
void setpiccorners(frmPic *w, const float *lon, const float *lat);
inline void setpiccorners(frmPic *w, const std::array<float, 4> &lon, const std::array<float, 4> &lat)
{
    setpiccorners(w, lon.data(), lat.data());
}
// Gives `to` the corners of `from`.
void copypiccorners(frmPic *to, const frmPic *from);

// A stereo picture: its source begins with "stereo" (any case), or it is a
// red/blue picture of the stereo drawing ("Vue stéréoscopique ...").
bool isstereo(const QString &source);
bool isstereo(const frmPic *w);

// Windows virtual-key code and shift mask of a key event (0 when the key has
// no code the picture window knows).
int vbKeyCode(const QKeyEvent *e);
int vbShiftMask(Qt::KeyboardModifiers m);

}  // namespace zk
