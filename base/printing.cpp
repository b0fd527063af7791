#include "printing.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "paths.h"

namespace zk {

QString printpdfoverride;

bool printlandscape(const QSizeF &picture)
{
    if (!(picture.height() > 0)) return false;
    const float ratio = float(picture.width()) / float(picture.height());
    return ratio > 1.0f;
}

QRectF printtarget(const QSizeF &picture, const QSizeF &printable)
{
    if (!(picture.width() > 0 && picture.height() > 0 && printable.width() > 0 && printable.height() > 0)) return {};
    // Both ratios as 32-bit numbers, compared as numbers.
    const float picratio = float(picture.width()) / float(picture.height());
    const float pageratio = float(printable.width()) / float(printable.height());
    if (picratio > pageratio) return QRectF(0, 0, printable.width(), double(float(printable.width()) / picratio));
    return QRectF(0, 0, double(picratio * float(printable.height())), printable.height());
}

bool printimage(const QImage &image, QPrinter &printer)
{
    if (image.isNull() || image.height() <= 0) return false;
    printer.setPageOrientation(printlandscape(QSizeF(image.size())) ? QPageLayout::Landscape : QPageLayout::Portrait);
    QCoreApplication::processEvents();
    const QRectF target = printtarget(QSizeF(image.size()), printer.pageRect(QPrinter::DevicePixel).size());
    if (target.isEmpty()) return false;
    QPainter p;
    if (!p.begin(&printer)) return false;
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(target, image);
    return p.end();
}

QString printpdfname()
{
    for (int n = 1;; ++n) {
        const QString name = paths::writableDataFile(QStringLiteral("Impression%1.pdf").arg(n));
        if (!QFileInfo::exists(name) || n >= 100000) return name;
    }
}

}  // namespace zk
