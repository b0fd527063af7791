// Printing the active picture: the page orientation and the picture's
// rectangle for wide, tall, square and very wide pictures, and real pages
// printed to PDF, read back with poppler's pdfinfo and pdfimages.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "base/printing.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "shellenv.h"

using shelltest::Env;

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return QString();
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The page size in points from pdfinfo.
QSizeF pageSize(const QString &pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpression re(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    const QRegularExpressionMatch m = re.match(info);
    if (!m.hasMatch()) return {};
    return {m.captured(1).toDouble(), m.captured(2).toDouble()};
}

struct PdfImage {
    int width = 0, height = 0;
    double xppi = 0, yppi = 0;
};
// The images of the file from pdfimages -list (soft masks left out).
QList<PdfImage> images(const QString &pdf)
{
    QList<PdfImage> out;
    const QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
        if (f.size() < 14 || f[2] != QLatin1String("image")) continue;
        bool ok = false;
        f[0].toInt(&ok);
        if (!ok) continue;
        out.append({f[3].toInt(), f[4].toInt(), f[12].toDouble(), f[13].toDouble()});
    }
    return out;
}

// The printable area in points of the PDF page the program prints on.
QSizeF printableArea(bool landscape)
{
    QPrinter p(QPrinter::HighResolution);
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return p.pageRect(QPrinter::Point).size();
}

}  // namespace

class TestPrinting : public QObject {
    Q_OBJECT

    std::unique_ptr<Env> env;

    zk::frmPic *picture(int w, int h)
    {
        zk::frmPic *p = zk::openpicture(QString(), 2);
        p->Picture1->setPicture(shelltest::pattern(w, h));
        return p;
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
            QFAIL("poppler-utils (pdfinfo, pdfimages) are needed: scripts/install-deps.sh installs them");
    }
    void init() { env = std::make_unique<Env>(); }
    void cleanup()
    {
        zk::printpdfoverride.clear();
        env.reset();
    }

    void orientation_data()
    {
        QTest::addColumn<QSizeF>("picture");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("wide") << QSizeF(400, 200) << true;
        QTest::newRow("slightly wide") << QSizeF(300, 250) << true;
        QTest::newRow("square") << QSizeF(200, 200) << false;
        QTest::newRow("tall") << QSizeF(200, 400) << false;
        QTest::newRow("no height") << QSizeF(200, 0) << false;
    }
    void orientation()
    {
        QFETCH(QSizeF, picture);
        QFETCH(bool, landscape);
        QCOMPARE(zk::printlandscape(picture), landscape);
    }

    void target_data()
    {
        QTest::addColumn<QSizeF>("picture");
        QTest::addColumn<QSizeF>("printable");
        QTest::addColumn<QRectF>("rect");
        const QSizeF land(1410, 1000), port(1000, 1410);
        QTest::newRow("ratio 2, full width") << QSizeF(400, 200) << land << QRectF(0, 0, 1410, 705);
        QTest::newRow("ratio 1.2, full height") << QSizeF(300, 250) << land << QRectF(0, 0, 1200, 1000);
        QTest::newRow("ratio 0.5, full height") << QSizeF(200, 400) << port << QRectF(0, 0, 705, 1410);
        QTest::newRow("square, full width") << QSizeF(200, 200) << port << QRectF(0, 0, 1000, 1000);
        QTest::newRow("ratio 12, full width") << QSizeF(1200, 100) << land << QRectF(0, 0, 1410, 117.5);
        QTest::newRow("same ratio, full height") << QSizeF(141, 100) << land << QRectF(0, 0, 1410, 1000);
        QTest::newRow("no picture") << QSizeF(0, 0) << land << QRectF();
    }
    void target()
    {
        QFETCH(QSizeF, picture);
        QFETCH(QSizeF, printable);
        QFETCH(QRectF, rect);
        const QRectF got = zk::printtarget(picture, printable);
        QCOMPARE(got.x(), rect.x());
        QCOMPARE(got.y(), rect.y());
        QVERIFY2(std::fabs(got.width() - rect.width()) < 0.01 && std::fabs(got.height() - rect.height()) < 0.01,
                 qPrintable(QStringLiteral("%1 x %2").arg(got.width()).arg(got.height())));
    }

    void printsToPdf_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<bool>("fullWidth");
        QTest::newRow("400 x 200") << QSize(400, 200) << true << true;
        QTest::newRow("300 x 250") << QSize(300, 250) << true << false;
        QTest::newRow("200 x 400") << QSize(200, 400) << false << false;
        QTest::newRow("square") << QSize(200, 200) << false << true;
        QTest::newRow("ratio 12") << QSize(600, 50) << true << true;
    }
    void printsToPdf()
    {
        QFETCH(QSize, picture);
        QFETCH(bool, landscape);
        QFETCH(bool, fullWidth);
        this->picture(picture.width(), picture.height());
        const QString pdf = env->path(QStringLiteral("page.pdf"));
        zk::printpdfoverride = pdf;
        env->w->action(QStringLiteral("mnuFilePrint"))->trigger();
        QVERIFY(QFileInfo::exists(pdf));

        const QSizeF page = pageSize(pdf);
        QVERIFY(page.isValid());
        QCOMPARE(page.width() > page.height(), landscape);

        const QList<PdfImage> imgs = images(pdf);
        QCOMPARE(imgs.size(), 1);
        QCOMPARE(imgs[0].width, picture.width());
        QCOMPARE(imgs[0].height, picture.height());
        // Not distorted, and as large as the printable area allows.
        QVERIFY(std::fabs(imgs[0].xppi - imgs[0].yppi) <= 1);
        const double widthPt = 72.0 * picture.width() / imgs[0].xppi;
        const double heightPt = 72.0 * picture.height() / imgs[0].yppi;
        const QSizeF area = printableArea(landscape);
        if (fullWidth) QVERIFY2(std::fabs(widthPt - area.width()) / area.width() < 0.02, qPrintable(QString::number(widthPt)));
        else QVERIFY2(std::fabs(heightPt - area.height()) / area.height() < 0.02, qPrintable(QString::number(heightPt)));
        QVERIFY(widthPt <= area.width() * 1.02 && heightPt <= area.height() * 1.02);
        QCOMPARE(env->w->label2()->text(), QStringLiteral("Impression enregistrée dans ") + pdf);
    }

    void drawingsArePrinted()
    {
        zk::frmPic *p = picture(100, 50);
        QPainter(&p->Picture1->image()).fillRect(0, 0, 100, 50, Qt::red);
        const QString pdf = env->path(QStringLiteral("red.pdf"));
        zk::printpdfoverride = pdf;
        env->w->action(QStringLiteral("mnuFilePrint"))->trigger();
        const QString out = env->path(QStringLiteral("img"));
        QCOMPARE(QProcess::execute(QStringLiteral("pdfimages"), {QStringLiteral("-png"), pdf, out}), 0);
        QImage img(out + QStringLiteral("-000.png"));
        QVERIFY(!img.isNull());
        // The page may carry the picture lossily compressed.
        const QColor c = img.pixelColor(50, 25);
        QVERIFY2(c.red() > 240 && c.green() < 16 && c.blue() < 16, qPrintable(c.name()));
    }

    void noPictureNoPage()
    {
        const QString pdf = env->path(QStringLiteral("none.pdf"));
        zk::printpdfoverride = pdf;
        env->w->label2()->setText(QStringLiteral("-"));
        env->w->action(QStringLiteral("mnuFilePrint"))->trigger();
        QVERIFY(!QFileInfo::exists(pdf));
        QCOMPARE(env->w->label2()->text(), QStringLiteral("-"));
    }

    void withoutPrinterPageGoesToUserFolder()
    {
        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("this machine has a printer");
        picture(40, 30);
        env->w->action(QStringLiteral("mnuFilePrint"))->trigger();
        const QString first = env->path(QStringLiteral("Impression1.pdf"));
        QVERIFY(QFileInfo::exists(first));
        QVERIFY(env->w->label2()->text().endsWith(first));
        // The next page does not replace it.
        env->w->action(QStringLiteral("mnuFilePrint"))->trigger();
        QVERIFY(QFileInfo::exists(env->path(QStringLiteral("Impression2.pdf"))));
    }
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
