#include "views3d/frm3Dpic.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <cmath>

#include "base/formkit.h"
#include "base/mdi.h"
#include "base/routines.h"
#include "base/screen.h"
#include "map/mapdata.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/mainlink.h"
#include "pictures/picbox.h"
#include "radio/netdraw.h"
#include "views3d/draw3d.h"

namespace zk {

namespace {

// Twips of the form's design to pixels.
int tx(double twips) { return int(std::lround(twips / twipsPerPixelX())); }
int ty(double twips) { return int(std::lround(twips / twipsPerPixelY())); }

// The value a scroll bar takes for a parameter: nearest 16-bit integer,
// halves to the even neighbour. A bar holds only values within its range:
// one outside (a 3D picture read back from a file drawn on a larger screen,
// a calibration file edited by hand) is held at the bar's nearest end.
int barvalue(float v)
{
    if (!std::isfinite(v)) return 0;
    return int(std::clamp(std::nearbyint(double(v)), -32768.0, 32767.0));
}

QScrollBar *bar(QWidget *parent, const char *name, Qt::Orientation o, int x, int y, int w, int h, int lo, int hi,
                int large, int small = 1, int value = 0)
{
    auto *b = new QScrollBar(o, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(tx(x), ty(y), tx(w), ty(h));
    b->setRange(lo, hi);
    b->setPageStep(large);
    b->setSingleStep(small);
    b->setValue(value);
    return b;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int x, int y)
{
    return form::button(parent, QLatin1String(name), caption, QRect(tx(x), ty(y), tx(975), ty(375)));
}

// The main window's active child (a picture window or another child).
QMdiSubWindow *activechild()
{
    QMdiArea *area = mdiArea();
    return area ? area->currentSubWindow() : nullptr;
}

// The read-outs were laid out for a narrow 8-point face; the platform's
// sans-serif is wider. A condensed face where there is one, and a size at
// which the longest read-out fits its label (down to 6 points).
QFont readoutfont(QFont f, int width)
{
    f.setStretch(QFont::SemiCondensed);
    f.setPointSizeF(std::min(8.0, f.pointSizeF() > 0 ? f.pointSizeF() : 8.0));
    const QString longest[] = {QStringLiteral("Exagération du relief 10"), QStringLiteral("Distance relative 2000"),
                               QStringLiteral("Angle horizontal 359°"), QStringLiteral("Effet de perspective 5")};
    while (f.pointSizeF() > 6) {
        const QFontMetrics fm(f);
        int widest = 0;
        for (const QString &t : longest) widest = std::max(widest, fm.horizontalAdvance(t));
        if (widest <= width) break;
        f.setPointSizeF(f.pointSizeF() - 0.5);
    }
    return f;
}

// A projected point scaled into the preview, as the polygon call takes it.
QPoint scaled(const ProjPoint &p, double sx, double sy)
{
    auto r = [](double v) {
        if (!std::isfinite(v)) return 0;
        return int(std::clamp(std::nearbyint(v), -1.0e6, 1.0e6));
    };
    return QPoint(r(p.x * sx), r(p.y * sy));
}

}  // namespace

QString maskedvalue(const QString &label, float value, int digits, const QString &unit)
{
    // The masks round halves away from zero.
    const double r = std::isfinite(value) ? std::round(double(value)) : 0;
    const long long n = (long long)std::clamp(r, -1.0e15, 1.0e15);
    QString digitsText = QString::number(std::llabs(n)).rightJustified(digits, QLatin1Char('0'));
    if (n < 0) digitsText.prepend(QLatin1Char('-'));
    return label + QLatin1Char(' ') + digitsText + unit;
}

QString netalttext(float alt)
{
    QString s = QString::number(double(alt), 'g', 7);
    // Str writes no zero before the decimal point.
    if (s.startsWith(QLatin1String("0."))) s.remove(0, 1);
    else if (s.startsWith(QLatin1String("-0."))) s.remove(1, 1);
    if (!(alt < 0)) s.prepend(QLatin1Char(' '));
    return QStringLiteral("Altitude des réseaux ") + s + QStringLiteral("m");
}

frm3Dpic::frm3Dpic(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frm3Dpic"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(tx(7065), ty(3120));

    Picture3 = new PicBox(this);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->move(tx(120), ty(120));
    Picture3->setBoxSize(tx(3135), ty(2175));

    VScroll2 = bar(this, "VScroll2", Qt::Vertical, 3360, 120, 255, 2175, 0, 89, 10);
    VScroll1 = bar(this, "VScroll1", Qt::Vertical, 3720, 120, 255, 2175, 0, 32767, 10);
    HScroll2 = bar(this, "HScroll2", Qt::Horizontal, 120, 2400, 3135, 255, 0, 359, 10);
    HScroll1 = bar(this, "HScroll1", Qt::Horizontal, 120, 2760, 3135, 255, 0, 32767, 10);
    HScroll3 = bar(this, "HScroll3", Qt::Horizontal, 4080, 960, 1815, 255, 200, 2000, 100, 10, 200);
    HScroll4 = bar(this, "HScroll4", Qt::Horizontal, 4080, 1560, 1815, 255, 0, 10, 1);
    HScroll5 = bar(this, "HScroll5", Qt::Horizontal, 4080, 2160, 1815, 255, 1, 5, 1, 1, 1);
    HScroll6 = bar(this, "HScroll6", Qt::Horizontal, 4080, 2760, 2895, 255, 1, 10000, 100, 1, 1000);

    static const int kLabelY[6] = {0, 360, 720, 1320, 1920, 2520};
    const QFont readout = readoutfont(font(), tx(1815));
    for (int i = 0; i < 6; ++i) {
        auto *l = new QLabel(QStringLiteral("-"), this);
        l->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        // 240 twips high rather than 255, which would lie one pixel over the
        // scroll bar below it.
        l->setGeometry(tx(4080), ty(kLabelY[i]), tx(i == 5 ? 2895 : 1815), ty(240));
        l->setFont(readout);
        Label1[size_t(i)] = l;
    }

    Command1 = button(this, "Command1", QStringLiteral("Appliquer"), 6000, 120);
    Command2 = button(this, "Command2", QStringLiteral("Annuler"), 6000, 600);
    Command3 = button(this, "Command3", QStringLiteral("Défaut"), 6000, 1080);
    Command4 = button(this, "Command4", QStringLiteral("Réseaux"), 6000, 1560);

    QWidget *order[] = {HScroll2, HScroll1, VScroll2, VScroll1, HScroll3, HScroll4, HScroll5, HScroll6,
                        Command1, Command2, Command3, Command4, Picture3};
    for (size_t k = 0; k + 1 < std::size(order); ++k) setTabOrder(order[k], order[k + 1]);
    for (QScrollBar *b : {HScroll1, HScroll2, HScroll3, HScroll4, HScroll5, HScroll6, VScroll1, VScroll2})
        b->setFocusPolicy(Qt::StrongFocus);

    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { paramChange(&View3D::ofx, HScroll1); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { paramChange(&View3D::ofy, VScroll1); });
    connect(HScroll2, &QScrollBar::valueChanged, this, [this] { paramChange(&View3D::theta, HScroll2); });
    connect(VScroll2, &QScrollBar::valueChanged, this, [this] { paramChange(&View3D::phi, VScroll2); });
    connect(HScroll3, &QScrollBar::valueChanged, this, [this] { paramChange(&View3D::disto, HScroll3); });
    connect(HScroll4, &QScrollBar::valueChanged, this, [this] { paramChange(&View3D::amplx, HScroll4); });
    connect(HScroll5, &QScrollBar::valueChanged, this, [this] { paramChange(&View3D::aper, HScroll5); });
    connect(HScroll6, &QScrollBar::valueChanged, this, &frm3Dpic::HScroll6_Change);
    connect(Command1, &QPushButton::clicked, this, &frm3Dpic::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frm3Dpic::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frm3Dpic::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frm3Dpic::Command4_Click);

    // Form_Load.
    saved_ = view3d;
    updatectl();
    if (new3d != 0) {
        setWindowTitle(QStringLiteral("Propriétés de la nouvelle image 3D"));
    } else {
        QMdiSubWindow *child = activechild();
        setWindowTitle(QStringLiteral("Propriétés de ") + fileof(child ? child->windowTitle() : QString()));
        // The picture to redraw: remembered now, because "Appliquer" may
        // open and draw a 2D picture first, which then is the active one.
        if (auto *pic = qobject_cast<frmPic *>(child); pic && pic->Pictype == 3) target_ = pic;
    }
}

void frm3Dpic::updatectl()
{
    set3dparams(1);
    preview3d();
    const QSize screen = screenPixels();
    HScroll1->setMaximum(barvalue(float(screen.width())));
    VScroll1->setMaximum(barvalue(float(screen.height())));
    HScroll1->setValue(barvalue(view3d.ofx));
    VScroll1->setValue(barvalue(view3d.ofy));
    HScroll2->setValue(barvalue(view3d.theta));
    VScroll2->setValue(barvalue(view3d.phi));
    HScroll3->setValue(barvalue(view3d.disto));
    HScroll4->setValue(barvalue(view3d.amplx));
    HScroll5->setValue(barvalue(view3d.aper));
    if (netalt == 0) netalt = 2000;
    HScroll6->setValue(barvalue(netalt));
}

void frm3Dpic::paramChange(float View3D::*field, const QScrollBar *b)
{
    view3d.*field = float(b->value());
    set3dparams(1);
    preview3d();
}

void frm3Dpic::HScroll6_Change()
{
    netalt = float(HScroll6->value());
    Label1[5]->setText(netalttext(netalt));
}

void frm3Dpic::preview3d()
{
    const float nx = float(elevgrid.ubound1()), ny = float(elevgrid.ubound2());
    const float cx = nx / 2, cy = ny / 2;

    QImage &img = Picture3->image();
    const double sw = Picture3->scaleWidth(), sh = Picture3->scaleHeight();
    {
        QPainter p(&img);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(128, 128, 128));
        p.drawRect(QRectF(0, 0, sw, sh));

        const QSize screen = screenPixels();
        const double sx = float(sw / std::max(1, screen.width()));
        const double sy = float(sh / std::max(1, screen.height()));

        p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        auto face = [&](float z, const QColor &fill) {
            ProjPoint q[4];
            if (!project3d(0, 0, z, q[0]) || !project3d(nx, 0, z, q[1]) || !project3d(nx, ny, z, q[2]) ||
                !project3d(0, ny, z, q[3]))
                return;
            const QPoint poly[4] = {scaled(q[0], sx, sy), scaled(q[1], sx, sy), scaled(q[2], sx, sy),
                                    scaled(q[3], sx, sy)};
            p.setBrush(fill);
            p.drawPolygon(poly, 4);
        };
        face(0, QColor(192, 192, 192));
        face(500, QColor(0, 255, 0));

        ProjPoint n1, n2;
        if (project3d(cx, cy + 0.8f * (ny - cy), 500, n1) && project3d(cx, cy + 0.2f * (ny - cy), 500, n2))
            p.drawLine(QPointF(float(n2.x * sx), float(n2.y * sy)), QPointF(float(n1.x * sx), float(n1.y * sy)));
    }
    Picture3->refresh();

    Label1[0]->setText(maskedvalue(QStringLiteral("Angle horizontal"), view3d.theta, 3, QStringLiteral("°")));
    Label1[1]->setText(maskedvalue(QStringLiteral("Angle vertical"), view3d.phi, 2, QStringLiteral("°")));
    Label1[2]->setText(maskedvalue(QStringLiteral("Distance relative"), view3d.disto, 3));
    Label1[3]->setText(maskedvalue(QStringLiteral("Exagération du relief"), view3d.amplx, 1));
    Label1[4]->setText(maskedvalue(QStringLiteral("Effet de perspective"), view3d.aper, 1));
}

void frm3Dpic::Command1_Click()
{
    // The drawing needs the map's 2D picture as its colours (offered to be
    // drawn when there is none); without it the dialog stays open.
    if (!findsource2d()) return;
    applied_ = true;
    accept();
}

void frm3Dpic::Command2_Click()
{
    view3d = saved_;
    reject();
}

void frm3Dpic::Command3_Click()
{
    set3dparams(0);
    updatectl();
}

void frm3Dpic::Command4_Click() { drawnets(); }

void show3dpic()
{
    bool apply = false;
    QPointer<frmPic> into;
    {
        frm3Dpic dlg(mainowner());
        dlg.exec();
        apply = dlg.applied();
        into = dlg.target();
    }
    if (QWidget *m = mainowner()) {
        m->show();
        m->raise();
    }
    if (apply) draw3d(into);
}

}  // namespace zk
