#include "radio/linkreport.h"

#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

#include "base/routines.h"
#include "base/settings.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/picbox.h"
#include "radio/link3d.h"
#include "radio/linkbudget.h"
#include "radio/profile.h"
#include "radio/radiodata.h"
#include "radio/unitdraw.h"

namespace zk {

QPointer<ScaleBox> linkbox;
QString linktext2, linktext3, linktext4;
float worstclear = 1e12f, worstclrdist = 0;

// ---- ScaleBox -------------------------------------------------------------

ScaleBox::ScaleBox(QWidget *parent) : QWidget(parent)
{
    image_ = QImage(qMax(1, width()), qMax(1, height()), QImage::Format_RGB32);
    image_.fill(qcolor(back_));
}

void ScaleBox::setScale(double left, double top, double width, double height)
{
    left_ = left;
    top_ = top;
    width_ = width != 0 ? width : 1;
    height_ = height != 0 ? height : 1;
}

QPointF ScaleBox::topix(double x, double y) const
{
    return {(x - left_) / width_ * image_.width(), (y - top_) / height_ * image_.height()};
}

double ScaleBox::xofpix(double px) const { return left_ + px / qMax(1, image_.width()) * width_; }

void ScaleBox::setBackColor(uint32_t rgb) { back_ = rgb; }

void ScaleBox::cls()
{
    // A box laid out while hidden gets its resize event only when shown:
    // every drawing starts here, so take the box's size now.
    if (image_.size() != size() && width() > 0 && height() > 0) image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(qcolor(back_));
    update();
}

void ScaleBox::line(double x1, double y1, double x2, double y2, uint32_t rgb, int width)
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
    QPainter p(&image_);
    p.setPen(QPen(qcolor(rgb), width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(topix(x1, y1), topix(x2, y2));
    update();
}

void ScaleBox::box(double x1, double y1, double x2, double y2, uint32_t rgb)
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
    QPainter p(&image_);
    p.fillRect(QRectF(topix(x1, y1), topix(x2, y2)).normalized(), qcolor(rgb));
    update();
}

void ScaleBox::print(double x, double y, const QString &text, uint32_t rgb)
{
    QPainter p(&image_);
    p.setFont(font());
    const QPointF at = topix(x, y);
    const QPointF base(at.x(), at.y() + QFontMetricsF(font()).ascent());
    // A light text on a light background (the yellow captions on the white
    // of a picture box) gets a black outline, so that it can be read; its
    // own colour stays.
    auto luma = [](const QColor &c) { return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue(); };
    if (std::abs(luma(qcolor(rgb)) - luma(qcolor(back_))) < 96) {
        p.setPen(Qt::black);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (dx != 0 || dy != 0) p.drawText(base + QPointF(dx, dy), text);
    }
    p.setPen(qcolor(rgb));
    p.drawText(base, text);
    update();
}

double ScaleBox::textWidth(const QString &text) const
{
    return QFontMetricsF(font()).horizontalAdvance(text) / qMax(1, image_.width()) * std::abs(width_);
}

double ScaleBox::textHeight() const
{
    return QFontMetricsF(font()).height() / qMax(1, image_.height()) * std::abs(height_);
}

void ScaleBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void ScaleBox::resizeEvent(QResizeEvent *)
{
    if (image_.size() == size() || width() < 1 || height() < 1) return;
    QImage n(size(), QImage::Format_RGB32);
    n.fill(qcolor(back_));
    QPainter p(&n);
    p.drawImage(0, 0, image_);
    image_ = n;
}

void ScaleBox::mousePressEvent(QMouseEvent *e)
{
    int button = e->button() == Qt::LeftButton ? 1 : e->button() == Qt::RightButton ? 2 : 4;
    const QPointF pos = e->position();
    emit mouseDown(button, xofpix(pos.x()), top_ + pos.y() / qMax(1, image_.height()) * height_);
}

// ---- texts ------------------------------------------------------------------

QString masktext(double v, int decimals, int intdigits)
{
    if (!std::isfinite(v)) v = 0;
    const double scale = std::pow(10.0, decimals);
    // Masks round halves away from zero.
    const double a = std::round(std::abs(v) * scale) / scale;
    QString body = QString::number(a, 'f', decimals);
    const int point = decimals > 0 ? int(body.indexOf(QLatin1Char('.'))) : int(body.size());
    if (point < intdigits) body.prepend(QString(intdigits - point, QLatin1Char('0')));
    if (decimals > 0) body.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return (v < 0 && a != 0 ? QStringLiteral("-") : QString()) + body;
}

uint32_t margincolour(long long m)
{
    if (m >= 3) return 0x00FF00;   // palette 10
    if (m >= -3) return 0x00FFFF;  // palette 14 (255, 255, 0)
    return 0x0000FF;               // palette 12 (255, 0, 0)
}

namespace {

constexpr uint32_t kPurple = 0x800080;  // palette 5
constexpr uint32_t kZone = 0xE9E9E9;

QString unitname(int u) { return fixedText(units[u].name).trimmed(); }

}  // namespace

// ---- the analysis ---------------------------------------------------------

LinkAnalysis analyselink(int a, int b, int net)
{
    LinkAnalysis r;
    if (a < 1 || a > kUnits || b < 1 || b > kUnits) return r;
    if (net > kNets) net = 0;
    r.net = net;

    const int n = getprofile(int16_t(a), int16_t(b));
    r.n = n;
    if (n == 0) return r;
    lrloss.fill(0);
    applyendsamples(a, b);

    const UnitRecord &ua = units[a], &ub = units[b];
    double ha = 0, hb = 0;
    bool computable = true;
    if (net > 0) {
        computable = linkparams(a, b, net);
        r.margin = calcloss(a, b, net, 0);
        r.text1 = QStringLiteral(" La distance entre ") + unitname(a) + QStringLiteral(" et ") + unitname(b) +
                  QStringLiteral(" est de ") + masktext(profdist, 1) + QStringLiteral(" km, azimut ") +
                  masktext(profaz, 1) + QStringLiteral("°");
        r.text2 = QStringLiteral(" Variation d'altitude de ") + masktext(double(profmax) - profmin, 1) + QStringLiteral(" m");
        ha = ua.elev + lrprm.h1;
        hb = ub.elev + lrprm.h2;
    } else {
        ha = double(ua.elev) + settings.defh1;
        hb = double(ub.elev) + settings.defh2;
        lrprm.h1 = settings.defh1;
        lrprm.h2 = settings.defh2;
    }
    r.ha = ha;
    r.hb = hb;

    // Scales.
    if (profmax - profmin < 50) profmax += 50;
    profmax = float(std::max({double(profmax), ha, hb}));
    profmin = float(std::min({double(profmin), ha, hb}));
    const double k = net <= 0 ? 1 / 12.75 : (1 - 0.04665 * std::exp(lrprm.ns / 179.3)) / 12.75;
    profmax = float(profmax + (profdist / 2) * (profdist / 2) * k);
    r.k = k;
    r.profmin = profmin;
    r.profmax = profmax;

    // Fresnel zones, bulge and clearance.
    r.bulge.assign(size_t(n) + 1, 0);
    r.beam.assign(size_t(n) + 1, 0);
    r.zone.assign(size_t(n) + 1, {0, 0, 0});
    r.beam[0] = ha;
    for (int i = 1; i <= n; ++i) {
        const double f = double(i) / n, g = 1 - f, d1 = f * profdist;
        const double bulge = d1 * profdist * g * k;
        double beam = 0;
        std::array<double, 3> rz{0, 0, 0};
        if (net > 0) {
            const double r1 = lrprm.freq > 0 ? std::sqrt(f * g * profdist / lrprm.freq) / 0.001827906 : 0;
            rz[0] = r1;
            rz[1] = r1 * std::sqrt(2.0);
            rz[2] = r1 * std::sqrt(3.0);
            beam = ha * g + hb * f;
        }
        r.bulge[size_t(i)] = bulge;
        r.beam[size_t(i)] = beam;
        r.zone[size_t(i)] = rz;
        if (i < n) {
            pfl[size_t(i + 3)] += bulge;
            if (net > 0 && rz[0] > 0) {
                const double c = (beam - pfl[size_t(i + 3)]) / rz[0];
                if (c < r.worstclear) {
                    r.worstclear = float(c);
                    r.worstclrdist = float(d1);
                }
            }
        }
    }

    // Terrain coloured by the margin at each point.
    r.ground.assign(size_t(n) + 1, 0);
    r.colour.assign(size_t(n) + 1, margincolour(0));
    r.ground[0] = pfl[3];
    for (int i = 1; i <= n; ++i) {
        const long long m = net > 0 ? roundEven(sysgainab - lrloss[size_t(i + 3)]) : 0;
        r.colour[size_t(i)] = margincolour(m);
        r.ground[size_t(i)] = pfl[size_t(i + 3)];
    }
    r.linkcolour = r.colour[size_t(n)];

    if (net > 0 && !computable) {
        // A system number the tables do not hold (a damaged or foreign
        // file): no loss or gain of this link can be told.
        const int s = nets[net].system[a - 1];
        const int u = s >= 1 && s <= kSystems ? b : a;
        r.text3 = QStringLiteral(" Calcul impossible: système radio ") + QString::number(nets[net].system[u - 1]) +
                  QStringLiteral(" inconnu pour ") + unitname(u);
        r.text4.clear();
    } else if (net > 0) {
        r.text3 = QStringLiteral(" Le mode de propagation est la ");
        const double d = pfl[2] * pfl[1];
        if (lrprm.losflag != 0) {
            r.text3 += QStringLiteral("ligne-de-vue, avec dégagement minimal de ") + masktext(r.worstclear, 1) +
                       QStringLiteral("F1 à ") + masktext(r.worstclrdist, 1) + QStringLiteral("km");
        } else {
            const double t1 = lrprm.ha1 + lrprm.hx * 0.5 * d, t2 = lrprm.ha2 + lrprm.hx * 0.5 * d;
            r.text3 += lrprm.scatflag != 0 ? QStringLiteral("dispersion ") : QStringLiteral("diffraction ");
            r.text3 += lrprm.hd1 + lrprm.hd2 < 0.9 * d ? QStringLiteral("avec horizon double")
                                                        : QStringLiteral("avec obstruction unique");
            // The two horizon rays, leaving A and B at their horizon angles,
            // meet above the obstruction.
            if (t1 + t2 != 0 && profdist > 0) {
                const double dh = (pfl[size_t(n + 3)] + lrprm.h2) - (pfl[3] + lrprm.h1);
                const double x = (dh + t2 * d) / (t1 + t2) / 1000;
                r.rays = true;
                r.rayx = n * x / profdist;
                r.rayy = ha + x * 1000 * t1;
            }
        }

        const QString nl = QStringLiteral("\r\n ");
        QString &t4 = r.text4;
        t4 = QStringLiteral(" La fréquence moyenne est de ") + masktext(lrprm.freq, 3) + QStringLiteral(" MHz") + nl +
             QStringLiteral("Espace libre = ") + masktext(lrprm.fsloss, 1) + QStringLiteral(" dB, Obstruction = ") +
             masktext(lrprm.obsloss, 1) + QStringLiteral(" dB, Facteur urbain = ") + masktext(urban, 1) +
             QStringLiteral(" dB, Statistiques = ") + masktext(lrprm.loss - urban - lrprm.obsloss - lrprm.fsloss, 1) +
             QStringLiteral(" dB") + nl + QStringLiteral("Les pertes de propagation totalisent ") + masktext(lrprm.loss, 1) +
             QStringLiteral(" dB");
        if (lrprm.interf == 1) t4 += QStringLiteral(" (mode interférence <optimiste>)");
        t4 += nl + QStringLiteral("Le gain de système de ") + unitname(a) + QStringLiteral(" vers ") + unitname(b) +
              QStringLiteral(" est de ") + masktext(sysgainab, 1) + QStringLiteral(" dB") + nl +
              QStringLiteral("Le gain de système de ") + unitname(b) + QStringLiteral(" vers ") + unitname(a) +
              QStringLiteral(" est de ") + masktext(sysgainba, 1) + QStringLiteral(" dB") + nl +
              QStringLiteral("La pire réception ");
        const double margin = r.margin;
        const long long rm = roundEven(margin);
        if (rm < 0)
            t4 += QStringLiteral("est ") + masktext(std::abs(margin), 1) + QStringLiteral(" dB sous le ");
        else if (rm == 0)
            t4 += QStringLiteral("correspond au ");
        else
            t4 += QStringLiteral("est ") + masktext(std::abs(margin), 1) + QStringLiteral(" dB au-dessus du ");
        const int s = sunits(float(margin), float(lrprm.freq));
        t4 += QStringLiteral(" signal requis pour rencontrer") + nl + masktext(lrprm.ptime, 1) +
              QStringLiteral("% du temps, ") + masktext(lrprm.ploc, 1) + QStringLiteral("% des locations et ") +
              masktext(lrprm.psit, 1) + QStringLiteral("% des situations") + nl +
              QStringLiteral("( La pire lecture au S-mètre est S ") + masktext(std::min(9, s), 0);
        if (s > 9) t4 += QStringLiteral(" + ") + masktext(s, 0);
        t4 += QStringLiteral(" )");
    } else {
        r.text1 = QStringLiteral(" Impossibilité de montrer les détails");
        r.text2.clear();
        r.text3.clear();
        r.text4.clear();
    }
    return r;
}

// ---- its drawing ----------------------------------------------------------

void drawlinkanalysis(ScaleBox *box, const LinkAnalysis &r)
{
    const int n = r.n;
    if (!box || n <= 0 || r.bulge.size() != size_t(n) + 1) return;
    const double rr = double(r.profmax) - r.profmin;
    box->setScale(-0.05 * n, r.profmax + 0.375 * rr, 1.1 * n, -1.5 * rr);

    // The Fresnel zones about the beam, and the earth bulge over the lowest level.
    for (int i = 1; i <= n; ++i) {
        const size_t p = size_t(i - 1), q = size_t(i);
        if (r.net > 0)
            for (size_t z = 0; z < 3; ++z) {
                box->line(i - 1, r.beam[p] - r.zone[p][z], i, r.beam[q] - r.zone[q][z], kZone);
                box->line(i - 1, r.beam[p] + r.zone[p][z], i, r.beam[q] + r.zone[q][z], kZone);
            }
        box->line(i - 1, r.profmin + r.bulge[p], i, r.profmin + r.bulge[q], 0);
    }

    // Terrain, masts and beam.
    box->line(0, r.ha, 0, r.ground[0], kPurple, 2);
    for (int i = 1; i <= n; ++i) box->line(i - 1, r.ground[size_t(i - 1)], i, r.ground[size_t(i)], r.colour[size_t(i)], 2);
    box->line(n, r.ground[size_t(n)], n, r.hb, kPurple, 2);
    box->line(n, r.hb, 0, r.ha, r.linkcolour, 1);

    if (r.rays) {
        box->line(0, r.ha, r.rayx, r.rayy, r.linkcolour);
        box->line(r.rayx, r.rayy, n, r.hb, r.linkcolour);
    }
}

// ---- the window's analysis ------------------------------------------------

void linkreport(int a, int b, int net)
{
    if (a < 1 || a > kUnits || b < 1 || b > kUnits) return;
    ScaleBox *box = linkbox;
    if (box) box->cls();
    worstclear = 1e12f;
    worstclrdist = 0;

    const LinkAnalysis r = analyselink(a, b, net);
    worstclear = r.worstclear;
    worstclrdist = r.worstclrdist;
    linktext1 = r.text1;
    linktext2 = r.text2;
    linktext3 = r.text3;
    linktext4 = r.text4;
    // Nothing to show: the previous link's lines must not stand for this one.
    if (r.n == 0) return;

    drawlinkanalysis(box, r);
    drawlink(a, b, r.linkcolour);
}

// ---- the link on the pictures ---------------------------------------------

void drawlink(int a, int b, uint32_t colour)
{
    if (a < 1 || a > kUnits || b < 1 || b > kUnits) return;
    for (frmPic *w : picwindows()) {
        if (!w || !w->Picture1) continue;
        if (w->Pictype == 3) {
            drawlink3d(w, a, b, colour);
            continue;
        }
        float xa = 0, ya = 0, xb = 0, yb = 0;
        if (!geotopix(w, units[b].lon, units[b].lat, xb, yb) || !geotopix(w, units[a].lon, units[a].lat, xa, ya)) continue;
        PicBox *pb = w->Picture1;
        pb->cls();
        if (pb->image().isNull()) continue;
        {
            QPainter p(&pb->image());
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            linkarrow(p, xa, ya, xb, yb, colour);
        }
        pb->refresh();
    }
    drawunit(a, false);
    drawunit(b, false);
}

}  // namespace zk
