#include "quovadis.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/dialogs.h"
#include "base/longop.h"
#include "base/routines.h"
#include "base/settings.h"
#include "engine.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/mainlink.h"
#include "pictures/objectfiles.h"
#include "pictures/picfiles.h"
#include "qtdc.h"

namespace zk {

int32_t twipsx = 0, twipsy = 0;
std::array<int32_t, 10> calx{}, caly{};
std::array<float, 4> callat{}, callon{};
float gifcellw = 0, gifcellh = 0;
std::array<float, 4> giflat{}, giflon{};

namespace {

// A calibration file is a few hundred bytes.
constexpr qint64 kMaxCalibrationFile = 1024 * 1024;

// The calibration read last, with the keys it gave.
GifCalibration g_cal;

bool fits32(double v) { return std::isfinite(v) && std::fabs(v) < 2147483647.0; }

// The picture's pixel where the scratch image is marked becomes the cell's
// colour combined with the pixel as it was before the merge, channel by
// channel as the engine's merge does: 0 the cell's colour, 2 the product
// divided by 255, any other mode the average (rounded down).
void combinemarked(QImage &dst, const QImage &before, const QImage &scratch, int16_t mode)
{
    const auto ch = [](uint32_t c, int s) { return (c >> s) & 0xFFu; };
    for (int y = 0; y < dst.height(); ++y) {
        const auto *m = reinterpret_cast<const uint32_t *>(scratch.constScanLine(y));
        const auto *o = reinterpret_cast<const uint32_t *>(before.constScanLine(y));
        auto *d = reinterpret_cast<uint32_t *>(dst.scanLine(y));
        for (int x = 0; x < dst.width(); ++x) {
            if ((m[x] >> 24) != 0xFFu) continue;
            uint32_t c = m[x] & 0x00FFFFFFu;
            if (mode != 0) {
                c = 0;
                for (int s : {0, 8, 16}) {
                    const uint32_t a = ch(m[x], s), b = ch(o[x], s);
                    c |= (mode == 2 ? a * b / 255 : (a + b) / 2) << s;
                }
            }
            d[x] = c | 0xFF000000u;
        }
    }
}

}  // namespace

QString gifcalname(const QString &gif)
{
    if (gif.size() < 4) return QString();
    return gif.left(gif.size() - 4) + QStringLiteral("_gif.cal");
}

double gifcalvalue(const QString &line)
{
    QString value;
    for (qsizetype i = line.size() - 1; i >= 0; --i) {
        QChar c = line[i];
        if (c == QLatin1Char(',')) c = QLatin1Char('.');
        else if (c.unicode() < 48 && c != QLatin1Char('.') && c != QLatin1Char('-') && c != QLatin1Char('+')) break;
        value.prepend(c);
    }
    const double v = leadingNumber(value);
    return std::isfinite(v) ? v : 0.0;
}

GifCalibration parsegifcal(const QByteArray &bytes)
{
    GifCalibration cal;
    const QStringList lines = objectlines(bytes);
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QString t = lines[k].trimmed().toLower();
        const auto bad = [&cal, k] {
            if (cal.error.isEmpty()) cal.error = QStringLiteral("valeur hors limites à la ligne %1").arg(k + 1);
        };
        if (t.startsWith(QLatin1String("twipsx")) || t.startsWith(QLatin1String("twipsy"))) {
            const double v = gifcalvalue(t);
            if (!fits32(v)) {
                bad();
                continue;
            }
            if (t[5] == QLatin1Char('x')) {
                cal.twipsx = int32_t(roundEven(v));
                cal.hasTwipsx = true;
            } else {
                cal.twipsy = int32_t(roundEven(v));
                cal.hasTwipsy = true;
            }
            continue;
        }
        if (t.size() < 4 || t[0] != QLatin1Char('c')) continue;
        const int n = t[1].unicode() - '0';
        if (n < 1 || n > 9) continue;
        const double v = gifcalvalue(t);
        if (t[3] == QLatin1Char('x') || t[3] == QLatin1Char('y')) {
            if (!fits32(v)) {
                bad();
                continue;
            }
            if (t[3] == QLatin1Char('x')) {
                cal.calx[size_t(n)] = int32_t(roundEven(v));
                cal.hasX[size_t(n)] = true;
            } else {
                cal.caly[size_t(n)] = int32_t(roundEven(v));
                cal.hasY[size_t(n)] = true;
            }
            continue;
        }
        const QStringView key = QStringView(t).mid(3, 3);
        if (n > 3 || (key != QLatin1String("lat") && key != QLatin1String("lon"))) continue;
        if (!(std::fabs(v) <= std::numeric_limits<float>::max())) {
            bad();
            continue;
        }
        if (key == QLatin1String("lat")) {
            cal.callat[size_t(n)] = float(v);
            cal.hasLat[size_t(n)] = true;
        } else {
            cal.callon[size_t(n)] = float(v);
            cal.hasLon[size_t(n)] = true;
        }
    }
    return cal;
}

QString checkgifcal(const GifCalibration &cal, int gifwidth, int gifheight)
{
    if (!cal.error.isEmpty()) return cal.error;
    if (!cal.hasTwipsx || cal.twipsx <= 0) return QStringLiteral("twipsx absent ou pas au-dessus de 0");
    if (!cal.hasTwipsy || cal.twipsy <= 0) return QStringLiteral("twipsy absent ou pas au-dessus de 0");
    for (int n = 1; n <= 9; ++n) {
        if (!cal.hasX[size_t(n)]) return QStringLiteral("point c%1_x absent").arg(n);
        if (!cal.hasY[size_t(n)]) return QStringLiteral("point c%1_y absent").arg(n);
    }
    for (int n = 1; n <= 3; ++n) {
        if (!cal.hasLat[size_t(n)]) return QStringLiteral("latitude c%1_lat absente").arg(n);
        if (!cal.hasLon[size_t(n)]) return QStringLiteral("longitude c%1_lon absente").arg(n);
    }
    for (int n = 1; n <= 2; ++n) {
        if (cal.callat[size_t(n)] == cal.callat[size_t(n + 1)])
            return QStringLiteral("les rangées %1 et %2 ont la même latitude").arg(n).arg(n + 1);
        if (cal.callon[size_t(n)] == cal.callon[size_t(n + 1)])
            return QStringLiteral("les colonnes %1 et %2 ont la même longitude").arg(n).arg(n + 1);
    }
    const auto &x = cal.calx;
    const auto &y = cal.caly;
    for (int j = 0; j <= 1; ++j) {
        for (int i = 0; i <= 1; ++i) {
            const int TL = 3 * i + j + 1, TR = TL + 1, BL = TL + 3, BR = TL + 4;
            if (x[size_t(TR)] == x[size_t(TL)] || x[size_t(BR)] == x[size_t(BL)] || y[size_t(TL)] == y[size_t(BL)] ||
                y[size_t(TR)] == y[size_t(BR)])
                return QStringLiteral("deux points de la cellule %1-%2-%3-%4 sont alignés sur le même bord")
                    .arg(TL)
                    .arg(TR)
                    .arg(BR)
                    .arg(BL);
            const float left = float((double(x[size_t(TL)]) + x[size_t(BL)]) / cal.twipsx / 2);
            const float right = float((double(x[size_t(TR)]) + x[size_t(BR)]) / cal.twipsx / 2);
            const float top = float((double(y[size_t(TL)]) + y[size_t(TR)]) / cal.twipsy / 2);
            const float bottom = float((double(y[size_t(BL)]) + y[size_t(BR)]) / cal.twipsy / 2);
            // A cell the merge skips may lie anywhere.
            if (roundEven(double(right) - left) + 1 <= 0 || roundEven(double(bottom) - top) + 1 <= 1) continue;
            if (!(left >= -1.5 && top >= -1.5 && right <= gifwidth + 0.5 && bottom <= gifheight + 0.5))
                return QStringLiteral("la cellule %1-%2-%3-%4 sort de l'image (%5 x %6 pixels)")
                    .arg(TL)
                    .arg(TR)
                    .arg(BR)
                    .arg(BL)
                    .arg(gifwidth)
                    .arg(gifheight);
        }
    }
    return QString();
}

bool readgifcal(const QString &gif, QString *error)
{
    // Nothing carries over from an earlier file, twips included.
    g_cal = GifCalibration();
    twipsx = twipsy = 0;
    calx.fill(0);
    caly.fill(0);
    callat.fill(0);
    callon.fill(0);
    const QString name = gifcalname(gif);
    const QString path = paths::resolve(name);
    QFile f(path);
    if (name.isEmpty() || !QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("fichier de calibration introuvable : ") + (name.isEmpty() ? gif : name);
        return false;
    }
    const QByteArray bytes = f.read(kMaxCalibrationFile + 1);
    if (bytes.size() > kMaxCalibrationFile) {
        if (error) *error = QStringLiteral("fichier de calibration trop grand : ") + path;
        return false;
    }
    g_cal = parsegifcal(bytes);
    twipsx = g_cal.twipsx;
    twipsy = g_cal.twipsy;
    calx = g_cal.calx;
    caly = g_cal.caly;
    callat = g_cal.callat;
    callon = g_cal.callon;
    return true;
}

bool gifpixel(float lon, float lat, float &x, float &y)
{
    const double L0 = giflat[0], L1 = giflat[1], L2 = giflat[2], L3 = giflat[3];
    const double G0 = giflon[0], G1 = giflon[1], G2 = giflon[2], G3 = giflon[3];
    const double d1 = (L0 - L3) + (L1 - L2);
    const double d2 = (L0 - L1) + (L3 - L2);
    double a, b, c, d;
    if (std::fabs(d2) <= std::fabs(d1)) {
        a = (lat - L0) / (L3 - L0);
        b = (lon - G0) / (G1 - G0);
        c = (lat - L1) / (L2 - L1);
        d = (lon - G3) / (G2 - G3);
    } else {
        a = (lon - G0) / (G3 - G0);
        b = (lat - L0) / (L1 - L0);
        c = (lon - G1) / (G2 - G1);
        d = (lat - L3) / (L2 - L3);
    }
    const double k = 1 / (1 - (d - b) * (c - a));
    const double u = (b + (d - b) * a) * k;
    const double v = (a + (c - a) * b) * k;
    const double px = double(gifcellw - 1) * double(float(u));
    const double py = double(gifcellh - 1) * double(float(v));
    if (!std::isfinite(px) || !std::isfinite(py)) return false;
    // Far off the cell is simply far: the engine walks the picture, not these.
    x = float(roundEven(std::clamp(px, -1e9, 1e9)));
    y = float(roundEven(std::clamp(py, -1e9, 1e9)));
    return true;
}

void mergegifmap(const QString &path, frmPic *frm, int16_t mode)
{
    QPointer<frmPic> w = frm;
    if (!w) return;

    // Everything that can make the merge impossible is checked before the
    // operation starts, so that a failure is reported as such.
    const QString gif = paths::resolve(path);
    if (!QFileInfo(gif).isFile()) {
        msgbox(QStringLiteral("Carte Quo Vadis introuvable :\r\n") + path, mbOK | mbExclamation);
        return;
    }
    QString why;
    if (!readgifcal(gif, &why)) {
        msgbox(QStringLiteral("Calibration de la carte Quo Vadis impossible :\r\n") + why, mbOK | mbExclamation);
        return;
    }
    const QImage img = loadimage(gif, &why);
    if (img.isNull()) {
        msgbox(QStringLiteral("Carte Quo Vadis illisible :\r\n") + path + QStringLiteral("\r\n") + why,
               mbOK | mbExclamation);
        return;
    }
    why = checkgifcal(g_cal, img.width(), img.height());
    if (!why.isEmpty()) {
        msgbox(QStringLiteral("Calibration de la carte Quo Vadis inutilisable :\r\n") + gifcalname(gif) +
                   QStringLiteral("\r\n") + why,
               mbOK | mbExclamation);
        return;
    }

    // Neighbouring cells share their edge column and row (a cell runs from one
    // calibration point to the next, both included), so a picture pixel along
    // an edge is met by two cells, four at the middle point. Averaging or
    // multiplying it once per cell would mix the GIF in twice there. So each
    // cell is copied into a scratch image whose pixels start unmarked (top
    // byte 0, where the engine's writes put 0xFF), and every marked pixel of
    // the picture is then combined once, from the picture as it was before
    // the merge, with the last colour a cell gave it.
    QImage &target = w->Picture1->image();
    dcOf(target);
    const QImage before = target.copy();
    QImage scratch = before.copy();
    for (int y = 0; y < scratch.height(); ++y) {
        auto *p = reinterpret_cast<uint32_t *>(scratch.scanLine(y));
        for (int x = 0; x < scratch.width(); ++x) p[x] &= 0x00FFFFFFu;
    }

    // 1. The operation.
    mergepic = w->Picture1;
    tilecount = 4;
    beginop(opgifmerge);
    QCoreApplication::processEvents();

    // 4. The cells, columns outer: top-left, bottom-left, top-right, bottom-right.
    for (int j = 0; j <= 1 && w; ++j) {
        for (int i = 0; i <= 1 && w; ++i) {
            const size_t TL = size_t(3 * i + j + 1), TR = TL + 1, BL = TL + 3, BR = TL + 4;
            const float left = float((double(calx[TL]) + calx[BL]) / twipsx / 2);
            const float right = float((double(calx[TR]) + calx[BR]) / twipsx / 2);
            const float top = float((double(caly[TL]) + caly[TR]) / twipsy / 2);
            const float bottom = float((double(caly[BL]) + caly[BR]) / twipsy / 2);
            const long long xl = roundEven(left), yt = roundEven(top);
            gifcellw = float(roundEven(double(right) - left) + 1);
            gifcellh = float(roundEven(double(bottom) - top) + 1);
            const long long xr = xl + (long long)gifcellw - 1, yb = yt + (long long)gifcellh - 1;
            if (gifcellw <= 0 || gifcellh <= 1 || runflag <= 0) continue;

            // 5. The cell's corner positions.
            const double dlon = double(callon[size_t(j + 2)]) - callon[size_t(j + 1)];
            const double dlat = double(callat[size_t(i + 1)]) - callat[size_t(i + 2)];
            const double lon0 = callon[size_t(j + 1)], lat0 = callat[size_t(i + 2)];
            giflon[0] = float(lon0 + (double(xl) * twipsx - calx[TL]) * dlon / (double(calx[TR]) - calx[TL]));
            giflon[1] = float(lon0 + (double(xr) * twipsx - calx[TL]) * dlon / (double(calx[TR]) - calx[TL]));
            giflon[2] = float(lon0 + (double(xr) * twipsx - calx[BL]) * dlon / (double(calx[BR]) - calx[BL]));
            giflon[3] = float(lon0 + (double(xl) * twipsx - calx[BL]) * dlon / (double(calx[BR]) - calx[BL]));
            giflat[0] = float(lat0 + (double(yt) * twipsy - caly[BL]) * dlat / (double(caly[TL]) - caly[BL]));
            giflat[1] = float(lat0 + (double(yt) * twipsy - caly[BR]) * dlat / (double(caly[TR]) - caly[BR]));
            giflat[2] = float(lat0 + (double(yb) * twipsy - caly[BR]) * dlat / (double(caly[TR]) - caly[BR]));
            giflat[3] = float(lat0 + (double(yb) * twipsy - caly[BL]) * dlat / (double(caly[TL]) - caly[BL]));

            // 6. The picture's corners in the cell; a cell whose corners allow
            // no mapping is skipped.
            std::array<float, 4> px{}, py{};
            bool mapped = gifpixel(w->lon1, w->lat1, px[0], py[0]);
            mapped = mapped && gifpixel(w->lon2, w->lat2, px[1], py[1]);
            mapped = mapped && gifpixel(w->lon3, w->lat3, px[2], py[2]);
            mapped = mapped && gifpixel(w->lon4, w->lat4, px[3], py[3]);

            // 7. The cell meets the picture: warp it in.
            const auto [xmin, xmax] = std::minmax_element(px.begin(), px.end());
            const auto [ymin, ymax] = std::minmax_element(py.begin(), py.end());
            if (mapped && *xmin < gifcellw && *xmax > 0 && *ymin < gifcellh && *ymax > 0) {
                const int cw = int(gifcellw), ch = int(gifcellh);
                QImage cell(cw, ch, kDcFormat);
                // Pixels of a cell that reach past the GIF's edge (by the
                // rounding of the points) repeat the edge.
                for (int cy = 0; cy < ch; ++cy) {
                    const int sy = int(std::clamp<long long>(yt + cy, 0, img.height() - 1));
                    const auto *s = reinterpret_cast<const uint32_t *>(img.constScanLine(sy));
                    auto *d = reinterpret_cast<uint32_t *>(cell.scanLine(cy));
                    for (int cx = 0; cx < cw; ++cx)
                        d[cx] = s[std::clamp<long long>(xl + cx, 0, img.width() - 1)] | 0xFF000000u;
                }
                w->Picture3->setBoxSize(cw, ch);
                w->Picture3->image() = cell;
                ZkDC src = w->Picture3->hdc();
                ZkDC dc = dcOf(scratch);
                engine::mergemultiply(&dc, scratch.width(), scratch.height(), &src, px[0], py[0], px[1], py[1], px[2],
                                      py[2], px[3], py[3], 0);
                if (!w) break;
                QImage &dst = w->Picture1->image();
                if (dcOf(dst).bits && dst.size() == scratch.size()) combinemarked(dst, before, scratch, mode);
                w->Picture1->refresh();
            }

            // 8. Progress.
            ++progcount;
            showprogress(progcount);
            QCoreApplication::processEvents();
        }
    }

    // 5. Keep the result?
    if (w && runflag > 0) keepinpic(w->Picture1, QStringLiteral("carte Quo Vadis "));

    // 6. Finishing.
    if (w) {
        w->Picture3->resetPicture();
        w->Picture3->setBoxSize(10, 10);
    }
    mergepic = nullptr;
    endop();
}

void mnuQuo_Click(int index)
{
    frmPic *w = activepic();
    if (!w || (w->Pictype != 1 && w->Pictype != 2)) return;
    const QString file = getopenfile(mainowner(), QString(), QStringLiteral("Quo Vadis map (GIF)"), QStringLiteral("*.gif"),
                                     QStringLiteral("Ouvrir une carte Quo Vadis"), QStringLiteral("gif"));
    if (!file.isEmpty()) mergegifmap(file, w, int16_t(index));
}

}  // namespace zk
