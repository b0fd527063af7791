#include "profile.h"

#include <QPainter>
#include <QPoint>

#include <cmath>

#include "base/routines.h"
#include "pathtext.h"

namespace zk::pathviewer {

namespace {

// The largest coordinate the drawing takes, as the 27-bit world coordinates
// of the system's drawing layer; the painter clips what lies outside the
// picture.
constexpr double kMaxCoordinate = 134217727.0;

// Names and numbers show without the blanks around them.
QString trimBlanks(const QString &t)
{
    qsizetype b = 0, e = t.size();
    while (b < e && t[b] == QLatin1Char(' ')) ++b;
    while (e > b && t[e - 1] == QLatin1Char(' ')) --e;
    return t.mid(b, e - b);
}

class Canvas {
public:
    explicit Canvas(QImage &img) : p_(&img) { p_.setRenderHint(QPainter::Antialiasing, false); }

    // A filled quadrilateral without outline; skipped when a corner fails.
    void quad(uint32_t color, const std::array<double, 8> &xy)
    {
        QPoint pts[4];
        for (int k = 0; k < 4; ++k) {
            int x = 0, y = 0;
            if (!toPixel(xy[size_t(2 * k)], x) || !toPixel(xy[size_t(2 * k + 1)], y)) return;
            pts[k] = QPoint(x, y);
        }
        p_.setPen(Qt::NoPen);
        p_.setBrush(qcolor(color));
        p_.drawPolygon(pts, 4, Qt::OddEvenFill);
    }

    // A one-pixel line between whole pixels, both ends included.
    void line(uint32_t color, QPoint a, QPoint b)
    {
        p_.setPen(QPen(qcolor(color), 0));
        p_.drawLine(a, b);
    }

    // A rectangle outline through both corners.
    void box(uint32_t color, double x1, double y1, double x2, double y2)
    {
        int xa = 0, ya = 0, xb = 0, yb = 0;
        if (!toPixel(x1, xa) || !toPixel(y1, ya) || !toPixel(x2, xb) || !toPixel(y2, yb)) return;
        if (xa > xb) std::swap(xa, xb);
        if (ya > yb) std::swap(ya, yb);
        const QColor c = qcolor(color);
        p_.fillRect(QRect(xa, ya, xb - xa + 1, 1), c);
        p_.fillRect(QRect(xa, yb, xb - xa + 1, 1), c);
        p_.fillRect(QRect(xa, ya, 1, yb - ya + 1), c);
        p_.fillRect(QRect(xb, ya, 1, yb - ya + 1), c);
    }

private:
    QPainter p_;
};

// A polyline drawn point by point; a point that fails is skipped and the
// next segment starts from the last good one.
struct Polyline {
    QPoint last;
    void to(Canvas &cv, uint32_t color, double x, double y)
    {
        int px = 0, py = 0;
        if (!toPixel(x, px) || !toPixel(y, py)) return;
        cv.line(color, last, QPoint(px, py));
        last = QPoint(px, py);
    }
};

}  // namespace

int usedSamples(const PathState &s)
{
    float last = 0;
    int i = 2;
    for (; i <= kSamples; ++i) {
        if (s.pdist[size_t(i)] > last) last = s.pdist[size_t(i)];
        else break;
    }
    return i - 1;
}

bool toPixel(double v, int &out)
{
    if (!(std::fabs(v) <= kMaxCoordinate)) return false;
    out = int(roundEven(v));
    return true;
}

QColor qcolor(uint32_t bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

uint32_t coverColor(uint8_t code)
{
    static constexpr uint32_t kBright[8] = {
        rgb(128, 128, 128), rgb(0, 0, 255),   rgb(0, 255, 0),   rgb(0, 255, 255),
        rgb(255, 0, 0),     rgb(255, 0, 255), rgb(255, 255, 0), rgb(255, 255, 255),
    };
    return kBright[code % 8];
}

float xpixel(const PathState &s, float d, int W)
{
    return float((double(d) - s.distmin) * (W - 5) / (double(s.distmax) - s.distmin) + 2);
}

float ypixel(const PathState &s, float a, int H)
{
    return float((double(s.altmax) - a) * (H - 5) / (double(s.altmax) - s.altmin) + 2);
}

bool computeProfile(PathState &s, int scaleItem, int W, int H, Geometry &g)
{
    const int n = usedSamples(s);
    if (n < 3) return false;

    g = Geometry{};
    g.n = n;
    g.W = W;
    g.H = H;
    const float T = s.pdist[size_t(n)];
    g.T = T;
    g.a1 = s.palt[1] + s.siteant[1];
    g.a2 = s.siteant[2] + s.palt[size_t(n)];
    g.s1 = g.a1 / g.T;
    g.s2 = g.a2 / g.T;
    g.c = 1.0 / 12.75 / s.kfactor;
    g.z = 1.0 / g.T / s.pathfreq / 1000.0 / (0.001827906 * 0.001827906);

    s.endalt[1] = s.palt[1];
    s.endalt[2] = s.palt[size_t(n)];
    // The first sample's ground starts the range; the last one's does not.
    float altmin = s.palt[1];
    float altmax = float(g.a2 > g.a1 ? g.a2 : g.a1);
    s.minclear = 1e20;
    s.pbulge[1] = s.pbulge[size_t(n)] = 0;
    s.pfresnel[1] = s.pfresnel[size_t(n)] = 0;

    for (int i = 2; i <= n - 1; ++i) {
        const size_t k = size_t(i);
        const double d = s.pdist[k];
        const double e = g.T - d;
        s.pbulge[k] = float(e * d * g.c);
        const float top = s.palt[k] + s.pcover[k];
        const double beam = g.s1 * e + g.s2 * d;
        const float lower = s.curveground ? top : float(min(double(top), beam - s.pbulge[k]));
        if (lower < altmin) altmin = lower;
        const float upper = s.curveground ? top + s.pbulge[k] : top;
        if (upper > altmax) altmax = upper;
        s.pfresnel[k] = float(std::sqrt(e * d * g.z));
        s.pclear[k] = float((beam - top - s.pbulge[k]) / s.pfresnel[k]);
        if (float(s.minclear) > s.pclear[k]) {  // the first of equal minima wins
            s.minclear = s.pclear[k];
            s.mincleardist = d;
        }
    }

    // Half the altitude range at which a metre up looks as long as a metre
    // along, then the exaggeration of the chosen scale.
    double span = double(H) / W * g.T * 500;
    switch (scaleItem) {
    case 3: span /= 10; break;
    case 4: span /= 20; break;
    case 5: span /= 50; break;
    case 6: span /= 100; break;
    default: break;
    }
    if (scaleItem == 1) {
        // 20 % of the spread below the lowest point, 30 % above the highest;
        // the least spread keeps the exaggeration below about 66.7 times.
        const double R = max(double(altmax) - altmin, span / 50);
        altmin = float(altmin - 0.2 * R);
        altmax = float(altmin + 1.5 * R);
    } else {
        const double mid = (g.s2 + g.s1) * g.T / 2;  // mean of the antenna tops
        altmax = float(mid + span);
        altmin = float(mid - span);
    }
    s.altmin = altmin;
    s.altmax = altmax;
    s.distmin = 0;
    s.distmax = T;
    return true;
}

void paintBackground(QImage &img, const PathState &s, const Geometry &g)
{
    Canvas cv(img);
    const int W = g.W, H = g.H;
    auto Y = [&](double v) { return double(ypixel(s, float(v), H)); };

    int xPrev = 0;
    toPixel(xpixel(s, 0, W), xPrev);
    double bPrev = 0;
    for (int i = 2; i <= g.n; ++i) {
        const size_t k = size_t(i);
        // The last interval reaches one pixel further, to the edge of the range.
        const double xr = i == g.n ? double(xpixel(s, float(g.T), W)) + 1 : double(xpixel(s, s.pdist[k], W));
        int xi = 0;
        const bool okx = toPixel(xr, xi);
        const double bi = s.curveground ? double(s.pbulge[k]) : 0.0;
        if (okx) {
            const double x0 = xPrev, x1 = xi;
            cv.quad(s.pathcolor[0], {x0, Y(s.altmin), x1, Y(s.altmin), x1, Y(s.altmin + bi), x0, Y(s.altmin + bPrev)});
            cv.quad(s.pathcolor[1], {x1, Y(s.altmin + bi), x0, Y(s.altmin + bPrev), x0, Y(s.palt[k - 1] + bPrev),
                                     x1, Y(s.palt[k] + bi)});
            cv.quad(s.pathcolor[2], {x0, Y(s.palt[k - 1] + bPrev), x1, Y(s.palt[k] + bi), x1, Y(s.altmax), x0, Y(s.altmax)});
            xPrev = xi;
        }
        bPrev = bi;
    }

    for (int i = 2; i <= g.n - 1; ++i) {
        const size_t k = size_t(i);
        if (s.pcode[k] == 0) continue;
        const double b = s.curveground ? double(s.pbulge[k]) : 0.0;
        const double gnd = s.palt[k] + b;
        int x = 0, y0 = 0, y1 = 0;
        if (!toPixel(double(xpixel(s, s.pdist[k], W)) - 1, x) || !toPixel(Y(gnd) + 1, y0) ||
            !toPixel(Y(gnd + s.pcover[k]), y1))
            continue;
        cv.quad(coverColor(s.pcode[k]), {double(x), double(y0), double(x + 2), double(y0), double(x + 2), double(y1),
                                        double(x), double(y1)});
    }
}

void paintOverlays(QImage &img, const PathState &s, const Geometry &g)
{
    constexpr uint32_t kBeam = rgb(20, 20, 255);
    constexpr uint32_t kBlack = rgb(0, 0, 0);
    constexpr uint32_t kWhite = rgb(255, 255, 255);
    constexpr double kZone[3] = {0.6, 1.0, 1.414213562};

    Canvas cv(img);
    const int W = g.W, H = g.H;
    auto Y = [&](double v) { return double(ypixel(s, float(v), H)); };

    int x1 = 0, y1 = 0;
    QPoint start;
    if (toPixel(xpixel(s, 0, W), x1) && toPixel(Y(double(s.palt[1]) + s.siteant[1]), y1)) start = QPoint(x1, y1);
    Polyline beamLine{start};
    std::array<Polyline, 6> zones;
    for (Polyline &z : zones) z.last = start;
    Polyline clearLine{start};

    for (int i = 2; i <= g.n; ++i) {
        const size_t k = size_t(i);
        const double d = s.pdist[k];
        const double e = g.T - d;
        double beam = g.s1 * e + g.s2 * d;
        if (!s.curveground) beam -= s.pbulge[k];
        int xi = 0;
        if (!toPixel(xpixel(s, float(d), W), xi)) continue;
        beamLine.to(cv, kBeam, xi, Y(beam));
        for (int z = 0; z < 3; ++z) {
            if (!s.fresnelopt[size_t(z)]) continue;
            const double r = kZone[z] * s.pfresnel[k];
            zones[size_t(2 * z)].to(cv, kBlack, xi, Y(beam - r));
            zones[size_t(2 * z + 1)].to(cv, kBlack, xi, Y(beam + r));
        }
        // Dashed black and white, one dash per interval, at the smallest
        // clearance: it touches the cover where the clearance is smallest.
        if (s.fresnelopt[3]) clearLine.to(cv, i % 2 ? kBlack : kWhite, xi, Y(beam - s.minclear * s.pfresnel[k]));
    }

    const double x0 = xpixel(s, 0, W);
    const double xT = xpixel(s, float(g.T), W);
    cv.box(kBeam, x0 - 1, Y(s.endalt[1]), x0, Y(double(s.endalt[1]) + s.siteant[1]));
    cv.box(kBeam, xT, Y(double(s.siteant[2]) + s.endalt[2]), xT + 1, Y(s.endalt[2]));
}

QString siteCaption(const PathState &s, int k)
{
    const size_t i = size_t(k);
    return trimBlanks(s.sitename[i]) + s.linebreak + QStringLiteral("Alt ") + formatMask(s.endalt[i], 4, 1, 7) +
           QStringLiteral(" m") + s.linebreak + QStringLiteral("Ant ") + formatMask(s.siteant[i], 4, 1, 7) +
           QStringLiteral(" m");
}

double freeSpaceLoss(double t_km, double f_ghz) { return 20 * (std::log(t_km) + std::log(f_ghz)) / std::log(10.0) + 92.4; }

QString propagationCaption(const PathState &s, const Geometry &g)
{
    return formatMask(g.T, 1, 3, 7) + QStringLiteral(" km") + s.linebreak + QStringLiteral("K=") +
           formatMask(s.kfactor, 1, 3, 7) + s.linebreak + formatMask(s.pathfreq, 1, 3, 15) + QStringLiteral(" GHz") +
           s.linebreak + QStringLiteral("Espace libre ") + formatMask(freeSpaceLoss(g.T, s.pathfreq), 1, 1, 15) +
           QStringLiteral(" dB");
}

}  // namespace zk::pathviewer
