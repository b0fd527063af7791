#include "frmFull.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

#include <cmath>

#include "base/routines.h"
#include "base/screen.h"
#include "pictures/frmPic.h"
#include "pictures/mainlink.h"

namespace zk {

namespace {

QPointer<frmFull> g_viewer;

int32_t pixel(double v)
{
    if (!std::isfinite(v)) return 0;
    return int32_t(roundEven(std::fmax(-1.0e9, std::fmin(1.0e9, v))));
}

int buttonof(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

// The modifiers held, as the system reports them with a key; a modifier key
// pressed on its own counts as held.
int shiftof(const QKeyEvent *e)
{
    int s = vbShiftMask(e->modifiers());
    switch (e->key()) {
    case Qt::Key_Shift: s |= 1; break;
    case Qt::Key_Control: s |= 2; break;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta: s |= 4; break;
    default: break;
    }
    return s;
}

}  // namespace

frmFull::frmFull(QWidget *owner) : QWidget(owner, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmFull"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(100, 100, 100));
    setPalette(pal);
    setGeometry(QRect(QPoint(0, 0), screenPixels()));

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setMouseTracking(true);
    Picture1->installEventFilter(this);
    g_viewer = this;
}

frmFull::~frmFull()
{
    if (g_viewer == this) g_viewer = nullptr;
}

frmFull *frmFull::loaded() { return g_viewer.data(); }

void frmFull::setImage(const QImage &img)
{
    imagesize_ = img.size();
    Picture1->setPixmap(QPixmap::fromImage(img));
    Picture1->resize(imagesize_);
    place();
}

void frmFull::place() { Picture1->move(pixel(left_), pixel(top_)); }

void frmFull::Form_Activate()
{
    // 1. Grey background (set once and for all at creation).
    // 2. Centred on the screen; a pan made before is lost.
    const QSize screen = screenPixels();
    left_ = float(screen.width() - imagesize_.width()) / 2;
    top_ = float(screen.height() - imagesize_.height()) / 2;
    place();
    // 3. Panning only along an axis on which the image is larger.
    panh_ = left_ < 0;
    panv_ = top_ < 0;
    // 4.
    setCursor(Qt::CrossCursor);
    Picture1->setCursor(Qt::CrossCursor);
}

void frmFull::Form_KeyDown(int keyCode, int shift)
{
    const float step = (shift & 7) == 0 ? 10.0f : 1.0f;
    const float minleft = float(width() - imagesize_.width());
    const float mintop = float(height() - imagesize_.height());
    switch (keyCode) {
    case 37:
        if (panh_) left_ = max(left_ - step, minleft);
        break;
    case 38:
        if (panv_) top_ = max(top_ - step, mintop);
        break;
    case 39:
        if (panh_) left_ = min(left_ + step, 0.0f);
        break;
    case 40:
        if (panv_) top_ = min(top_ + step, 0.0f);
        break;
    default:
        if ((shift & 7) == 0) close();
        return;
    }
    place();
}

void frmFull::Form_MouseDown(int button)
{
    if (button == 2) close();
}

void frmFull::Picture1_MouseDown(int button, float x, float y)
{
    if (button == 2) {
        close();
        return;
    }
    downx_ = lastx_ = pixel(x);
    downy_ = lasty_ = pixel(y);
    Picture1->setCursor(Qt::SizeAllCursor);
}

void frmFull::Picture1_MouseMove(float x, float y)
{
    lastx_ = pixel(x);
    lasty_ = pixel(y);
}

void frmFull::Picture1_MouseUp()
{
    const float dx = float(lastx_ - downx_), dy = float(lasty_ - downy_);
    if (panh_) left_ = min(max(left_ + dx, float(width() - imagesize_.width())), 0.0f);
    if (panv_) top_ = min(max(top_ + dy, float(height() - imagesize_.height())), 0.0f);
    place();
    Picture1->setCursor(Qt::CrossCursor);
}

void frmFull::Picture1_DblClick() { close(); }

bool frmFull::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::WindowActivate:
        // Centred again whenever it becomes the active one of the program's
        // windows, not when the program gets the focus back from another.
        if (recentre_) Form_Activate();
        break;
    case QEvent::WindowDeactivate:
        recentre_ = QApplication::activeWindow() != nullptr;
        break;
    default: break;
    }
    return QWidget::event(e);
}

void frmFull::keyPressEvent(QKeyEvent *e)
{
    Form_KeyDown(vbKeyCode(e), shiftof(e));
    e->accept();
}

void frmFull::mousePressEvent(QMouseEvent *e)
{
    Form_MouseDown(buttonof(e->button()));
    e->accept();
}

bool frmFull::eventFilter(QObject *obj, QEvent *e)
{
    if (obj != Picture1) return QWidget::eventFilter(obj, e);
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        auto *m = static_cast<QMouseEvent *>(e);
        Picture1_MouseDown(buttonof(m->button()), float(m->position().x()), float(m->position().y()));
        return true;
    }
    case QEvent::MouseMove: {
        auto *m = static_cast<QMouseEvent *>(e);
        Picture1_MouseMove(float(m->position().x()), float(m->position().y()));
        return true;
    }
    case QEvent::MouseButtonRelease:
        Picture1_MouseUp();
        return true;
    case QEvent::MouseButtonDblClick:
        Picture1_DblClick();
        return true;
    default: return QWidget::eventFilter(obj, e);
    }
}

frmFull *showfull(frmPic *w)
{
    if (!w) return nullptr;
    frmFull *f = frmFull::loaded();
    if (!f) f = new frmFull(mainowner());
    f->source = w;
    f->setImage(w->Picture1->image());
    f->show();
    f->raise();
    f->activateWindow();
    return f;
}

}  // namespace zk
