#include "printing.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

#include "app/mainwindow.h"
#include "paths.h"
#include "pictures/frmPic.h"

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

void mnuFilePrint_Click()
{
    frmPic *w = activepic();
    if (!w) return;
    const QImage image = w->Picture1->image().copy();
    if (image.isNull() || image.height() <= 0) return;

    // One printer for the program: its orientation stays for the next job.
    static std::unique_ptr<QPrinter> printer;
    if (!printer) printer = std::make_unique<QPrinter>(QPrinter::HighResolution);

    QString pdf = printpdfoverride;
    const QPrinterInfo def = QPrinterInfo::defaultPrinter();
    if (pdf.isEmpty() && def.isNull()) pdf = printpdfname();
    if (!pdf.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
    } else {
        printer->setOutputFormat(QPrinter::NativeFormat);
        printer->setPrinterName(def.printerName());
    }
    if (!printimage(image, *printer)) return;
    if (!pdf.isEmpty() && mainform) mainform->label2()->setText(QStringLiteral("Impression enregistrée dans ") + pdf);
}

}  // namespace zk
