#include "legend.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

#include "base/routines.h"
#include "base/settings.h"
#include "pictures/colorscale.h"
#include "pictures/covset.h"
#include "pictures/frmPic.h"

namespace zk {

namespace {

int ch(uint32_t c, int shift) { return int((c >> shift) & 255); }

uint32_t rgb(long long r, long long g, long long b)
{
    auto c = [](long long v) { return uint32_t(std::clamp<long long>(v, 0, 255)); };
    return c(r) | (c(g) << 8) | (c(b) << 16);
}

}  // namespace

QString legendtitle(int16_t kind, int16_t thrunit)
{
    if (kind != 1) return QStringLiteral("Altitude (m)");
    if (thrunit == 1) return QStringLiteral("Signal (dBm)");
    if (thrunit == 2) return QStringLiteral("Signal (µV)");
    return QStringLiteral("Signal (S-Unit)");
}

uint32_t swatchcolor(int k, int j, int cw, bool blended, float bri)
{
    const uint32_t own = colors[size_t(std::clamp(k, 0, 11))];
    const double t = std::max(0.0, std::min(1.0, double(j - 3) / std::max(1, cw - 3)));
    if (blended) {
        const double f = std::max(0.4, std::min(1.0, double(bri) * 1.2 / 100));
        const uint32_t next = (k >= 1 && k <= 10) ? colors[size_t(k + 1)] : own;
        auto mix = [&](int shift) { return roundEven((1 - t) * f * ch(own, shift) + t * f * ch(next, shift)); };
        return rgb(mix(0), mix(8), mix(16));
    }
    const double s = std::sqrt(std::max(0.1, std::min(1.0, t)));
    return rgb(roundEven(s * ch(own, 0)), roundEven(s * ch(own, 8)), roundEven(s * ch(own, 16)));
}

void drawlegend(frmPic *pic)
{
    if (!pic || !pic->Picture1) {
        scalekind = 0;
        return;
    }
    PicBox *box = pic->Picture1;
    const int W = box->scaleWidth(), H = box->scaleHeight();
    const bool signal = scalekind == 1;

    // "Small Fonts" 7 points: the default sans-serif face at the screen's
    // resolution, whatever the image's own.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setBold(false);
    font.setItalic(false);
    font.setPixelSize(std::max(1, int(roundEven(7.0 * box->logicalDpiY() / 72.0))));
    const QFontMetrics fm(font);

    std::array<QString, 12> labels;
    labels[0] = QStringLiteral("<");
    for (int k = 1; k <= 11; ++k)
        labels[size_t(k)] = (signal ? floatText(sigsteps[size_t(k - 1)]) : QString::number(alt[size_t(k - 1)])).trimmed();
    const int th = fm.height();
    int widest = 0;
    for (const QString &l : labels) widest = std::max(widest, fm.horizontalAdvance(l));
    const int cw = widest + 6;

    const int x0 = W - 12 * cw - 7;
    const int y0 = H - 3 * th - 3;
    const QString title = legendtitle(scalekind, covset.thrunit);

    QPainter p(&box->image());
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(font);

    // The grey box with its black outline.
    const QRect back(QPoint(x0, y0), QPoint(x0 + 12 * cw + 3, y0 + 3 * th));
    p.fillRect(back, QColor(200, 200, 200));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(back.adjusted(0, 0, -1, -1));

    // Text with its top at the given height, on a transparent background.
    auto print = [&](int x, int top, const QString &text) { p.drawText(x, top + fm.ascent(), text); };
    print(x0 + int(roundEven((12 * cw - fm.horizontalAdvance(title)) / 2.0)), y0, title);

    const bool blended = !signal && stratcolors == 0;
    for (int k = 0; k < 12; ++k) {
        const int left = x0 + k * cw;
        const QString &label = labels[size_t(k)];
        p.setPen(Qt::black);
        print(left + 3 + int(roundEven((cw - 3 - fm.horizontalAdvance(label)) / 2.0)), y0 + th, label);
        // The swatch, one vertical line a pixel column.
        const int top = y0 + 2 * th, bottom = y0 + 3 * th - 2;
        for (int j = 3; j <= cw; ++j) {
            p.setPen(qcolor(swatchcolor(k, j, cw, blended, pic->bri)));
            p.drawLine(left + j, top, left + j, bottom - 1);
        }
        p.setPen(Qt::black);
        p.drawRect(QRect(QPoint(left + 3, top), QPoint(left + cw, bottom)).adjusted(0, 0, -1, -1));
    }
    p.end();
    box->refresh();
    scalekind = 0;
}

}  // namespace zk
