#include "frmPic.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

#include "base/artwork.h"
#include "base/longop.h"
#include "base/mdi.h"
#include "base/routines.h"
#include "base/screen.h"
#include "map/geotext.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "pictures/cursor.h"
#include "pictures/frmGrid.h"
#include "pictures/geomap.h"
#include "pictures/mainlink.h"
#include "pictures/picfiles.h"
#include "pictures/pichooks.h"

namespace zk {

QPointer<frmPic> curpic;
bool newpic = false;

namespace {

QList<QPointer<frmPic>> &registry()
{
    static QList<QPointer<frmPic>> list;
    return list;
}

// The client area of the window: it lays the window out when it is resized.
class ClientArea : public QWidget {
public:
    ClientArea(frmPic *owner) : QWidget(owner), owner_(owner) {}

protected:
    void resizeEvent(QResizeEvent *) override { arrangepic(owner_); }

private:
    frmPic *owner_;
};


}  // namespace

frmPic::frmPic(QWidget *parent) : QMdiSubWindow(parent)
{
    setObjectName(QStringLiteral("frmPic"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);

    client_ = new ClientArea(this);
    client_->setObjectName(QStringLiteral("client"));
    setWidget(client_);

    Picture1 = new PicBox(client_);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture3 = new PicBox(client_);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->hide();

    Line1 = new Line(Picture1, QColor(255, 0, 0));
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->hide();
    Line2 = new Line(Picture1, QColor(255, 0, 0));
    Line2->setObjectName(QStringLiteral("Line2"));
    Line2->hide();
    Shape2 = new Shape(Picture1, Shape::Rectangle, Qt::transparent, QColor(255, 255, 0));
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->hide();
    // The stereo marks: a red and a cyan 9-pixel square merged into the
    // picture (OR), each framed by an 11-pixel square of the other colour
    // masked into it (AND), so that each eye sees one frame.
    for (int i = 0; i < 4; ++i) {
        const QColor c = (i == 0 || i == 3) ? QColor(255, 0, 0) : QColor(0, 255, 255);
        Shape1[i] = new Shape(Picture1, Shape::Rectangle, Qt::transparent, c);
        Shape1[i]->setObjectName(QStringLiteral("Shape1(%1)").arg(i));
        Shape1[i]->setDrawMode(i < 2 ? Shape::MergePen : Shape::MaskPen);
        Shape1[i]->resize(i < 2 ? QSize(9, 9) : QSize(11, 11));
        Shape1[i]->hide();
    }
    QFont small = font();
    small.setPointSize(7);
    for (int i = 1; i <= 50; ++i) {
        QLabel *l = new QLabel(Picture1);
        l->setObjectName(QStringLiteral("Label4(%1)").arg(i));
        l->setFont(small);
        l->setProperty("index", i);
        l->installEventFilter(this);
        l->hide();
        Label4[i] = l;
        QLabel *im = new QLabel(Picture1);
        im->setObjectName(QStringLiteral("Image1(%1)").arg(i));
        im->setScaledContents(true);
        im->resize(32, 32);
        im->setProperty("index", i);
        im->installEventFilter(this);
        im->hide();
        Image1[i] = im;
    }

    HScroll1 = new QScrollBar(Qt::Horizontal, client_);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setFocusPolicy(Qt::NoFocus);
    HScroll1->hide();
    VScroll1 = new QScrollBar(Qt::Vertical, client_);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setFocusPolicy(Qt::NoFocus);
    VScroll1->hide();
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int v) { Picture1->move(-v, Picture1->y()); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int v) { Picture1->move(Picture1->x(), -v); });

    Picture2 = new QLabel(client_);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setCursor(Qt::SizeFDiagCursor);
    Picture2->installEventFilter(this);
    Picture2->hide();

    connect(Picture1, &PicBox::mouseDown, this, &frmPic::Picture1_MouseDown);
    connect(Picture1, &PicBox::mouseMove, this, &frmPic::Picture1_MouseMove);
    connect(this, &QMdiSubWindow::aboutToActivate, this, &frmPic::Form_Activate);
    connect(this, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates was, Qt::WindowStates now) {
        if ((was & Qt::WindowActive) && !(now & Qt::WindowActive)) Form_LostFocus();
        if ((was ^ now) & (Qt::WindowMinimized | Qt::WindowMaximized)) arrangepic(this);
    });

    registry().append(this);
    arrangepic(this);
}

frmPic::~frmPic()
{
    // The base class still emits state changes and may lay out its widget
    // while it is destroyed: by then the frmPic side of the window is gone.
    disconnect(this, nullptr, nullptr, nullptr);
    delete client_;
    client_ = nullptr;
    registry().removeAll(QPointer<frmPic>(this));
    registry().removeAll(QPointer<frmPic>());
}

void arrangepic(frmPic *w)
{
    if (!w || !w->Picture1 || w->isMinimized()) return;
    QWidget *c = w->client();
    PicBox *pic = w->Picture1;
    const int innerW = c->width(), innerH = c->height();
    const int picW = pic->width(), picH = pic->height();
    const int sbH = w->HScroll1->sizeHint().height();
    const int sbW = w->VScroll1->sizeHint().width();

    // Shrink the visible area until it fits beside the scroll bars it needs.
    int cw = innerW, ch = innerH, pw = picW, ph = picH;
    bool hflag = false, vflag = false;
    while (cw < pw || ch < ph) {
        if (cw < pw) {
            pw = cw;
            if (!hflag) {
                hflag = true;
                ch -= sbH;
            }
        }
        if (ch < ph) {
            ph = ch;
            if (!vflag) {
                vflag = true;
                cw -= sbW;
            }
        }
    }
    pw = std::max(pw, 0);
    ph = std::max(ph, 0);

    // A scrolled picture stays where it is; one that fits is centred.
    int left = pic->x(), top = pic->y();
    if (hflag) {
        if (left > 0) left = 0;
    } else {
        left = (cw - picW) / 2;
    }
    if (vflag) {
        if (top > 0) top = 0;
    } else {
        top = (ch - picH) / 2;
    }
    pic->move(left, top);

    QScrollBar *hs = w->HScroll1, *vs = w->VScroll1;
    vs->setVisible(vflag);
    if (vflag) {
        vs->raise();
        vs->setGeometry(innerW - sbW, 0, sbW, ph);
        vs->setPageStep(10);
        vs->setMinimum(0);
        vs->setMaximum(std::max(0, picH - ph));
        // Keep the bar and the picture's edge together.
        const QSignalBlocker block(vs);
        vs->setValue(-top);
        pic->move(pic->x(), -vs->value());
    }
    hs->setVisible(hflag);
    if (hflag) {
        hs->raise();
        hs->setGeometry(0, innerH - sbH, pw, sbH);
        hs->setPageStep(10);
        hs->setMinimum(0);
        hs->setMaximum(std::max(0, picW - pw));
        const QSignalBlocker block(hs);
        hs->setValue(-left);
        pic->move(-hs->value(), pic->y());
    }

    QLabel *grip = w->Picture2;
    if (hflag && vflag) {
        grip->setGeometry(pw, ph, sbW, sbH);
        grip->show();
        grip->raise();
        if (w->isMaximized()) {
            grip->setPixmap(QPixmap());
        } else if (grip->pixmap().isNull()) {
            grip->setPixmap(artwork::gripIcon());
        }
    } else {
        grip->hide();
    }
    pic->setFocus();
}

void frmPic::Form_Activate()
{
    if (runflag == 0) setpane("Label2", source);
}

void frmPic::Form_LostFocus() { inFocus = 0; }

void frmPic::closeEvent(QCloseEvent *e)
{
    // While an operation runs, closing a picture is a stop request.
    if (runflag > 0) {
        runflag = 0;
        e->ignore();
        return;
    }
    if (curpic == this) curpic = nullptr;
    QMdiSubWindow::closeEvent(e);
}

int vbShiftMask(Qt::KeyboardModifiers m)
{
    int r = 0;
    if (m & Qt::ShiftModifier) r |= 1;
    if (m & Qt::ControlModifier) r |= 2;
    if (m & Qt::AltModifier) r |= 4;
    return r;
}

int vbKeyCode(const QKeyEvent *e)
{
    const int k = e->key();
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    switch (k) {
    case Qt::Key_Escape: return 27;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Space: return 32;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Plus: return keypad ? 107 : 187;
    case Qt::Key_Minus: return keypad ? 109 : 189;
    default: break;
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return k;
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return keypad ? 96 + (k - Qt::Key_0) : k;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return 112 + (k - Qt::Key_F1);
    return 0;
}

void frmPic::keyPressEvent(QKeyEvent *e)
{
    const int code = vbKeyCode(e);
    if (code == 0) {
        QMdiSubWindow::keyPressEvent(e);
        return;
    }
    Form_KeyDown(code, vbShiftMask(e->modifiers()));
    e->accept();
}

static void stereocursor(frmPic *w, float x, float y, float step, bool adjust)
{
    if (pichooks.stereocursor) {
        pichooks.stereocursor(w, x, y, step, adjust);
        return;
    }
    // Without the stereo cursor, a picture that is not stereo still loses
    // its marks.
    if (!isstereo(w))
        for (Shape *s : w->Shape1) s->hide();
}

void frmPic::Form_KeyDown(int keyCode, int shift)
{
    Q_UNUSED(shift);
    if (keyCode == 27) {
        if (runflag > 0) runflag = 0;
        Line1->hide();
        Line2->hide();
        Shape2->hide();
    }
    if (keyCode >= 37 && keyCode <= 40) {
        if (Pictype == 3) {
            // One map cell, through the map's corners.
            const int nx = elevgrid.nx(), ny = elevgrid.ny();
            if (keyCode == 37 || keyCode == 39) {
                if (nx > 1) {
                    const int x = keyCode == 37 ? curx - 1 : curx + 1;
                    const float lon = float(x) / float(nx - 1) * (mapcorners.lon[1] - mapcorners.lon[0]) + mapcorners.lon[0];
                    showcursor(lon, curlat);
                }
            } else if (ny > 1) {
                const int y = keyCode == 38 ? cury + 1 : cury - 1;
                const float lat = float(y) / float(ny - 1) * (mapcorners.lat[1] - mapcorners.lat[2]) + mapcorners.lat[2];
                showcursor(curlon, lat);
            }
        } else {
            // One pixel from the crosshair.
            float x = float(Line1->x1()), y = float(Line2->y1());
            switch (keyCode) {
            case 37: x -= 1; break;
            case 39: x += 1; break;
            case 38: y -= 1; break;
            default: y += 1; break;
            }
            float lon = 0, lat = 0;
            if (pixtogeo(this, x, y, lon, lat)) showcursor(lon, lat);
        }
    }
    if (keyCode == 27) return;
    if (keyCode == 107) {
        stereocursor(this, 0, 0, 1, true);
    } else if (keyCode == 109) {
        stereocursor(this, 0, 0, -1, true);
    } else if (runflag == 0) {
        stereocursor(this, float(Line1->x1()), float(Line2->y1()), 0, false);
    }
}

void frmPic::Picture1_MouseDown(int button, int shift, float x, float y)
{
    inFocus = -1;
    float lon = 0, lat = 0;
    if (pixtogeo(this, x, y, lon, lat)) {
        if (!Shape2->isHidden() && button == 2) {
            if (Pictype != 1 && Pictype != 2) return;
            if (shift == 1) {
                // Shift + right click moves the free corner of the selection.
                Picture1_MouseMove(1, shift, x, y);
                return;
            }
            const QRect s = Shape2->geometry();
            if (!(s.left() <= x && x <= s.left() + s.width() && s.top() <= y && y <= s.top() + s.height())) return;
            if (msgbox(QStringLiteral("Créer une image \"zoom\" à partir de la sélection?"), mbYesNo) != idYes) return;
            zoomSelection();
        }
        if (button != 0) {
            Shape2->hide();
            setpane("Label2", QString());
            x0_ = x1_ = int32_t(roundEven(x));
            y0_ = y1_ = int32_t(roundEven(y));
            showcursor(lon, lat);
        }
        if (pichooks.objectaddmode && pichooks.objectaddline) {
            const int kind = pichooks.objectaddmode();
            if (kind >= 0) {
                pichooks.objectaddline(objectpointline(kind, lat, lon, curelev));
                QPainter p(&Picture1->image());
                p.setCompositionMode(QPainter::CompositionMode_Source);
                p.setBrush(Qt::NoBrush);
                p.setPen(QPen(Qt::white, 1));
                p.drawEllipse(QPointF(x, y), 1, 1);
                p.setPen(QPen(Qt::black, 1));
                p.drawEllipse(QPointF(x, y), 2, 2);
                p.end();
                Picture1->refresh();
            }
        }
    }
    if (runflag == 0) stereocursor(this, x, y, 0, false);
}

void frmPic::zoomSelection()
{
    const QRect s = Shape2->geometry();
    const int L = s.left(), T = s.top(), W = s.width(), H = s.height();
    if (W <= 0 || H <= 0) return;
    // The corners first: this window's frame does not change, but the new
    // window becomes the current one.
    float lon[4] = {0, 0, 0, 0}, lat[4] = {0, 0, 0, 0};
    pixtogeo(this, float(L), float(T), lon[0], lat[0]);
    pixtogeo(this, float(L + W - 1), float(T), lon[1], lat[1]);
    pixtogeo(this, float(L + W - 1), float(T + H - 1), lon[2], lat[2]);
    pixtogeo(this, float(L), float(T + H - 1), lon[3], lat[3]);
    const QImage from = Picture1->clearedImage();
    const QString from_source = source;

    frmPic *t = openpicture(QString(), 2);
    if (!t) return;
    const QSize screen = screenPixels();
    int tw, th;
    if (double(H) / double(W) > double(screen.height()) / double(screen.width())) {
        th = int(roundEven(0.95 * screen.height()));
        tw = int(roundEven(double(th) * W / H));
    } else {
        tw = int(roundEven(0.95 * screen.width()));
        th = int(roundEven(double(tw) * H / W));
    }
    tw = std::max(1, tw);
    th = std::max(1, th);
    QImage zoom(tw, th, from.format());
    {
        QPainter p(&zoom);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(QRect(0, 0, tw, th), from, QRect(L, T, W, H));
    }
    t->Picture1->setPicture(zoom);
    arrangepic(t);
    setpiccorners(t, lon, lat);
    t->Pictype = 2;
    t->source = QStringLiteral("Zoom de ") + from_source;
}

void frmPic::Picture1_MouseMove(int button, int shift, float x, float y)
{
    Q_UNUSED(shift);
    if (button != 0 && inFocus != 0 && Pictype < 3 && runflag == 0) {
        x1_ = int32_t(std::clamp<long long>(roundEven(x), 0, Picture1->scaleWidth()));
        y1_ = int32_t(std::clamp<long long>(roundEven(y), 0, Picture1->scaleHeight()));
        const int dx = x1_ - x0_, dy = y1_ - y0_;
        if (std::abs(dx) > 3 && std::abs(dy) > 5) {
            Shape2->setGeometry(dx > 0 ? x0_ : x1_, dy > 0 ? y0_ : y1_, std::abs(dx), std::abs(dy));
            Shape2->show();
            Shape2->raise();
            selText_ = QStringLiteral(" Sélection L=%1 H=%2").arg(std::abs(dx)).arg(std::abs(dy));
        } else {
            selText_.clear();
            Shape2->hide();
        }
    }
    QString text;
    float lon = 0, lat = 0;
    if (menuchecked("mnuMouseCoor") && pixtogeo(this, x, y, lon, lat)) text = londms(lon) + QLatin1Char(' ') + latdms(lat);
    if (!Shape2->isHidden()) text += selText_;
    if (!text.isEmpty()) setpane("Label2", text);
}

void frmPic::Label4_DblClick(int index)
{
    frmGrid::unloadGrid();
    if (pichooks.showunit) pichooks.showunit(index);
}

void frmPic::Label4_MouseDown(int index, int button, int shift)
{
    if (shift & 7) {
        if ((button == 1 || button == 2) && pichooks.linkend) pichooks.linkend(index, button);
        return;
    }
    if (button != 2) return;
    if (msgbox(QStringLiteral("Déplacer la station à la position du curseur?"), mbYesNo | mbQuestion) != idYes) return;
    if (pichooks.setcurunit) pichooks.setcurunit(index);
    // The network drawing goes; the unit is redrawn where it now stands.
    for (frmPic *w : picwindows()) w->Picture1->cls();
    if (pichooks.moveunit) pichooks.moveunit(curlon, curlat);
}

bool frmPic::eventFilter(QObject *obj, QEvent *e)
{
    if (obj == Picture2) {
        if (e->type() == QEvent::MouseButtonPress) {
            gripPressed(static_cast<QMouseEvent *>(e)->position().toPoint());
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease) {
            gripReleased(static_cast<QMouseEvent *>(e)->position().toPoint());
            return true;
        }
        return false;
    }
    // Every event of the hundred unit labels and icons passes here (each
    // long operation disables and enables them all): the type is looked at
    // before the name of a property is.
    const bool press = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
    const QVariant idx = press ? obj->property("index") : QVariant();
    if (idx.isValid()) {
        auto *me = static_cast<QMouseEvent *>(e);
        if (e->type() == QEvent::MouseButtonDblClick) {
            Label4_DblClick(idx.toInt());
        } else {
            int button = 0;
            if (me->button() == Qt::LeftButton) button = 1;
            else if (me->button() == Qt::RightButton) button = 2;
            else if (me->button() == Qt::MiddleButton) button = 4;
            Label4_MouseDown(idx.toInt(), button, vbShiftMask(me->modifiers()));
        }
        return true;
    }
    return QMdiSubWindow::eventFilter(obj, e);
}

void frmPic::gripPressed(const QPoint &p) { gripPress_ = p; }

void frmPic::gripReleased(const QPoint &p)
{
    if (isMinimized() || isMaximized()) return;
    const QPoint travel = p - gripPress_;
    QSize s = QWidget::size();
    if (travel.x() != 0) s.setWidth(s.width() + travel.x());
    if (travel.y() != 0) s.setHeight(s.height() + travel.y());
    resize(s);
}

QList<frmPic *> picwindows()
{
    QList<frmPic *> out;
    for (const QPointer<frmPic> &p : registry())
        if (p) out.append(p.data());
    return out;
}

frmPic *activepic()
{
    QMdiArea *area = mdiArea();
    if (!area) return nullptr;
    return qobject_cast<frmPic *>(area->currentSubWindow());
}

int ctlpix(float v)
{
    if (!std::isfinite(v)) return 0;
    return int(std::nearbyint(std::fmax(-1.0e6f, std::fmin(1.0e6f, v))));
}

void setpiccorners(frmPic *w, const float *lon, const float *lat)
{
    w->lon1 = lon[0];
    w->lat1 = lat[0];
    w->lon2 = lon[1];
    w->lat2 = lat[1];
    w->lon3 = lon[2];
    w->lat3 = lat[2];
    w->lon4 = lon[3];
    w->lat4 = lat[3];
}

void copypiccorners(frmPic *to, const frmPic *from)
{
    const float lon[4] = {from->lon1, from->lon2, from->lon3, from->lon4};
    const float lat[4] = {from->lat1, from->lat2, from->lat3, from->lat4};
    setpiccorners(to, lon, lat);
}

bool isstereo(const QString &source)
{
    const QString &s = source;
    return s.left(6).compare(QLatin1String("stereo"), Qt::CaseInsensitive) == 0 ||
           s.startsWith(QStringLiteral("Vue stéréoscopique"), Qt::CaseInsensitive);
}

bool isstereo(const frmPic *w) { return w && isstereo(w->source); }

}  // namespace zk
