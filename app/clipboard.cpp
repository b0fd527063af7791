#include "clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMimeData>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/routines.h"
#include "base/settings.h"
#include "cp1252.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/picfiles.h"

namespace zk {

namespace {

QClipboard *clipboard()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

bool clipboardhasimage()
{
    QClipboard *cb = clipboard();
    const QMimeData *m = cb ? cb->mimeData() : nullptr;
    return m && m->hasImage() && !qvariant_cast<QImage>(m->imageData()).isNull();
}

// A corner field as a number: either decimal separator, nothing else but
// blanks around it; a value a 32-bit float cannot hold does not convert.
bool cornervalue(const QString &field, float &out)
{
    QString t = field.trimmed();
    if (t.isEmpty()) return false;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > double(std::numeric_limits<float>::max())) return false;
    out = float(v);
    return true;
}

}  // namespace

QString clipnumber(float value, int digits)
{
    const double v = double(value);
    if (!std::isfinite(v)) return QString(digits, QLatin1Char('0')) + QLocale().decimalPoint() + QStringLiteral("00000");
    QString body = QString::number(std::fabs(v), 'f', 5);
    const qsizetype dot = body.indexOf(QLatin1Char('.'));
    if (dot >= 0 && dot < digits) body.prepend(QString(digits - dot, QLatin1Char('0')));
    body.replace(QLatin1Char('.'), QLocale().decimalPoint());
    // A value that rounds to zero carries no sign.
    const bool negative = v < 0 && std::fabs(v) >= 0.000005;
    return negative ? QLatin1Char('-') + body : body;
}

QString cliptext(const ClipCalibration &c)
{
    const QChar tab(9);
    QString t;
    for (int i = 0; i < 4; ++i) {
        t += clipnumber(c.lon[size_t(i)], 3) + tab;
        t += clipnumber(c.lat[size_t(i)], 2) + tab;
    }
    const int kind = c.Pictype;
    t += (kind < 0 ? QStringLiteral("-") : QString()) + QStringLiteral("%1").arg(std::abs(kind), 2, 10, QLatin1Char('0')) + tab;
    t += c.source + tab;
    return t;
}

ClipCalibration parsecliptext(const QString &text)
{
    // At most ten TAB-terminated fields; the cutting ends at the first
    // search that finds no TAB.
    QStringList fields;
    qsizetype from = 0;
    while (fields.size() < 10) {
        const qsizetype tab = text.indexOf(QChar(9), from);
        if (tab < 0) break;
        fields.append(text.mid(from, tab - from));
        from = tab + 1;
    }
    while (fields.size() < 10) fields.append(QString());

    ClipCalibration c;
    for (int i = 0; i < 4; ++i) {
        cornervalue(fields[2 * i], c.lon[size_t(i)]);
        cornervalue(fields[2 * i + 1], c.lat[size_t(i)]);
    }
    const double kind = std::max(0.0, std::min(20.0, leadingNumber(fields[8])));
    c.Pictype = int16_t(roundEven(kind));
    c.source = fields[9];
    return c;
}

void coor(frmPic *w)
{
    if (!w) return;
    QClipboard *cb = clipboard();
    const QMimeData *m = cb ? cb->mimeData() : nullptr;
    if (!m) return;
    // The picture box takes the size of the picture it receives.
    const QImage img = qvariant_cast<QImage>(m->imageData());
    if (!img.isNull()) w->Picture1->setPicture(img, true);

    ClipCalibration c;
    c.Pictype = 2;
    c.source = QStringLiteral("Image collée");
    QString text;
    bool hastext = false;
    if (m->hasFormat(QLatin1String(kClipTextFormat))) {
        text = fromCp1252(m->data(QLatin1String(kClipTextFormat)));
        hastext = true;
    } else if (m->hasText()) {
        text = m->text();
        hastext = true;
    }
    if (hastext) c = parsecliptext(text);

    w->Pictype = c.Pictype;
    w->source = c.source;
    setpiccorners(w, c.lon, c.lat);
}

void mnuEditCopy_Click()
{
    QClipboard *cb = clipboard();
    if (!cb) return;
    cb->clear();
    frmPic *w = activepic();
    if (!w) return;

    ClipCalibration c;
    QImage picture;
    if (!w->Shape2->isHidden()) {
        // The selected pixels, through the window's scratch picture box.
        const QRect s = w->Shape2->geometry();
        const int L = s.left(), T = s.top();
        const int W = std::max(1, s.width()), H = std::max(1, s.height());
        w->Shape2->hide();
        PicBox *scratch = w->Picture3;
        scratch->resetPicture();
        scratch->setBoxSize(W, H);
        {
            QPainter p(&scratch->image());
            p.drawImage(QPoint(0, 0), w->Picture1->image(), QRect(L, T, W, H));
        }
        scratch->commit();
        picture = scratch->picture();
        scratch->resetPicture();
        scratch->setBoxSize(10, 10);
        c.source = QStringLiteral("Selection");
        const float l = float(L), t = float(T), r = float(L + W - 1), b = float(T + H - 1);
        pixtogeo(w, l, t, c.lon[0], c.lat[0]);
        pixtogeo(w, r, t, c.lon[1], c.lat[1]);
        pixtogeo(w, r, b, c.lon[2], c.lat[2]);
        pixtogeo(w, l, b, c.lon[3], c.lat[3]);
        c.Pictype = 2;
    } else {
        // The picture as shown, drawings included.
        picture = w->Picture1->image().copy();
        c.lon = {w->lon1, w->lon2, w->lon3, w->lon4};
        c.lat = {w->lat1, w->lat2, w->lat3, w->lat4};
        c.source = w->source;
        c.Pictype = w->Pictype;
    }

    const QString text = cliptext(c);
    auto *mime = new QMimeData;
    mime->setImageData(picture);
    mime->setData(QLatin1String(kClipTextFormat), toCp1252(text));
    mime->setText(text);
    cb->setMimeData(mime);
}

void mnuEditPaste_Click()
{
    if (!clipboardhasimage()) return;
    frmPic *w = activepic();
    if (!w) return;
    coor(w);
    arrangepic(w);
}

void mnuEditPasteNew_Click()
{
    if (!clipboardhasimage()) return;
    frmPic *made = openpicture(QString(), 2);
    frmPic *w = activepic();
    if (!w) w = made;
    if (!w) return;
    coor(w);
    arrangepic(w);
}

}  // namespace zk
