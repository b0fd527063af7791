#include "frmGrid.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>

#include <cmath>

#include "base/placement.h"
#include "base/routines.h"
#include "base/routines.h"
#include "base/screen.h"
#include "base/screen.h"
#include "map/mapdata.h"
#include "pictures/cursor.h"
#include "pictures/frmPic.h"
#include "pictures/mainlink.h"

namespace zk {

bool gridexpanded = false;
int32_t gridright = 0;
int32_t gridbottom = 0;

namespace {

QPointer<frmGrid> g_grid;

// Layout in pixels: the cells, the position and the grid reference in
// Frame1, the magnified picture to its right.
constexpr int kMargin = 4;
constexpr int kCellW = 40, kCellH = 18, kGap = 2;
constexpr int kFrameW = 5 * kCellW + 4 * kGap + 2 * kMargin;  // 216
constexpr int kZoom = 150;

}  // namespace

GridZoom::GridZoom(QWidget *parent) : QWidget(parent)
{
    setFixedSize(kZoom, kZoom);
    picture_ = QImage(kZoom, kZoom, QImage::Format_RGB32);
    picture_.fill(QColor(128, 128, 128));
}

void GridZoom::setPicture(const QImage &img)
{
    picture_ = img;
    update();
}

void GridZoom::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, picture_);
    // The cursor's pixel is the magnified one whose top-left lies at 75.
    p.setPen(QColor(255, 0, 0));
    p.drawLine(kZoom / 2 + 1, 0, kZoom / 2 + 1, kZoom - 1);
    p.drawLine(0, kZoom / 2 + 1, kZoom - 1, kZoom / 2 + 1);
}

frmGrid::frmGrid() : QWidget(mainowner(), Qt::Tool)
{
    setObjectName(QStringLiteral("frmGrid"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Grille d'altitude (m)"));
    setFocusPolicy(Qt::StrongFocus);
    // Opened by the cursor read-out: the window the user works in keeps the
    // keyboard until the user clicks into the grid.
    setAttribute(Qt::WA_ShowWithoutActivating);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    for (int i = 0; i < 25; ++i) {
        QLabel *l = new QLabel(Frame1);
        l->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setGeometry(kMargin + (i % 5) * (kCellW + kGap), kMargin + (i / 5) * (kCellH + kGap), kCellW, kCellH);
        l->setProperty("index", i);
        l->installEventFilter(this);
        if (i == 12) {
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
        }
        Label1[i] = l;
    }
    const int below = kMargin + 5 * (kCellH + kGap) + kGap;
    Label2 = new QLabel(Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(kMargin, below, kFrameW - 2 * kMargin, 18);
    Label4 = new QLabel(Frame1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(kMargin, below + 22, kFrameW - 2 * kMargin - 36, 20);
    Command1 = new QPushButton(QStringLiteral(">"), Frame1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFocusPolicy(Qt::NoFocus);
    Command1->setGeometry(kFrameW - kMargin - 32, below + 22, 32, 20);
    connect(Command1, &QPushButton::clicked, this, &frmGrid::Command1_Click);
    const int frameH = below + 22 + 20 + kMargin;
    Frame1->setGeometry(kMargin, kMargin, kFrameW, frameH);

    Picture1 = new GridZoom(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->move(kMargin + kFrameW + 6, kMargin);

    const int h = std::max(kMargin + frameH, kMargin + kZoom) + kMargin;
    setFixedSize(kMargin + kFrameW, h);
}

frmGrid *frmGrid::loaded() { return g_grid; }

frmGrid *frmGrid::instance()
{
    if (!g_grid) {
        g_grid = new frmGrid;
        g_grid->Form_Load();
    }
    return g_grid;
}

void frmGrid::unloadGrid()
{
    if (g_grid) g_grid->close();
}

void frmGrid::fitWidth()
{
    // Collapsed, the window ends at the right edge of Frame1; expanded, two
    // pixels right of the magnified picture.
    const int w = gridexpanded ? Picture1->geometry().right() + 1 + 2 : Frame1->geometry().right() + 1;
    setFixedSize(w, height());
}

void frmGrid::Form_Load()
{
    if (gridexpanded) {
        showcursor(curlon, curlat);
        Command1->setText(QStringLiteral("<"));
    }
    fitWidth();
}

QPoint frmGrid::placeFrame(const QSize &outer)
{
    // At the remembered distance from the screen's bottom-right corner,
    // measured on the outer frame, as the close stores it.
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    const QSize screen = screenPixels();
    const int left = int(roundEven((screen.width() * tx - outer.width() * tx - gridright) / tx));
    const int top = int(roundEven((screen.height() * ty - outer.height() * ty - gridbottom) / ty));
    return QPoint(left, top);
}

void frmGrid::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (!placed_) {
        placed_ = true;
        // Placed once the window manager has framed it and kept on the
        // screen (a remembered distance can come from a larger screen). The
        // cursor read-out opens it while the user works in a picture, which
        // stays the active window.
        showPlacedInactive(this, &frmGrid::placeFrame);
    }
}

void frmGrid::setCell(int index, const QString &text)
{
    if (index >= 0 && index < 25) Label1[index]->setText(text);
}

void frmGrid::setPosition(const QString &text) { Label2->setText(text); }
void frmGrid::setLocator(const QString &text) { Label4->setText(text); }

void frmGrid::clearZoom()
{
    QImage img(kZoom, kZoom, QImage::Format_RGB32);
    img.fill(QColor(128, 128, 128));
    Picture1->setPicture(img);
}

void frmGrid::setZoom(const QImage &pane) { Picture1->setPicture(pane); }

void frmGrid::Command1_Click()
{
    if (gridexpanded) {
        gridexpanded = false;
        Command1->setText(QStringLiteral(">"));
        fitWidth();
    } else {
        gridexpanded = true;
        showcursor(curlon, curlat);
        Command1->setText(QStringLiteral("<"));
        fitWidth();
    }
}

bool frmGrid::cellLon(int32_t x, float &lon)
{
    const int32_t u1 = elevgrid.ubound1();
    if (u1 <= 0) return false;
    lon = mapcorners.lon[0] + float(x) / float(u1) * (mapcorners.lon[1] - mapcorners.lon[0]);
    return true;
}

bool frmGrid::cellLat(int32_t y, float &lat)
{
    const int32_t u2 = elevgrid.ubound2();
    if (u2 <= 0) return false;
    lat = mapcorners.lat[2] + float(y) / float(u2) * (mapcorners.lat[1] - mapcorners.lat[2]);
    return true;
}

void frmGrid::Form_KeyDown(int keyCode)
{
    float lon = 0, lat = 0;
    switch (keyCode) {
    case 27: close(); break;
    case 37:
        if (cellLon(curx - 1, lon)) showcursor(lon, curlat);
        break;
    case 39:
        if (cellLon(curx + 1, lon)) showcursor(lon, curlat);
        break;
    case 38:
        if (cellLat(cury + 1, lat)) showcursor(curlon, lat);
        break;
    case 40:
        if (cellLat(cury - 1, lat)) showcursor(curlon, lat);
        break;
    default: break;
    }
}

void frmGrid::Label1_Click(int index)
{
    if (index < 0 || index > 24) return;
    const int row = index / 5, column = index % 5;
    float lon = 0, lat = 0;
    if (cellLon(curx + column - 2, lon) && cellLat(cury - row + 2, lat)) showcursor(lon, lat);
}

void frmGrid::closeEvent(QCloseEvent *e)
{
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    const QSize screen = screenPixels();
    // The frame as the window system has it, not Qt's copy of it.
    const QRect outer = outerFrame(this);
    gridright = int32_t(roundEven((screen.width() - outer.left() - outer.width()) * tx));
    gridbottom = int32_t(roundEven((screen.height() - outer.top() - outer.height()) * ty));
    // Closed by the user with the window's close command: the grid view ends.
    if (e->spontaneous()) setmenuchecked("mnuViewGrid", false);
    // Closed is unloaded: the next touch loads a fresh window.
    if (g_grid == this) g_grid = nullptr;
    QWidget::closeEvent(e);
}

void frmGrid::keyPressEvent(QKeyEvent *e)
{
    const int code = vbKeyCode(e);
    if (code == 27 || (code >= 37 && code <= 40)) {
        Form_KeyDown(code);
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

bool frmGrid::eventFilter(QObject *obj, QEvent *e)
{
    if (e->type() == QEvent::MouseButtonPress) {
        const QVariant idx = obj->property("index");
        if (idx.isValid()) {
            Label1_Click(idx.toInt());
            return true;
        }
    }
    return QWidget::eventFilter(obj, e);
}

}  // namespace zk
