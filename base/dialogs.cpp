#include "dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QScreen>

#include <cmath>

#include "settings.h"

namespace zk {

DialogHooks dialogHooks;

namespace {

uint32_t g_custom[16];

QString filterText(const QString &description, const QString &pattern)
{
    QString pat = pattern;
    pat.replace(QLatin1Char(';'), QLatin1Char(' '));
    return description + QStringLiteral(" (") + pat + QLatin1Char(')');
}

QString fileDialog(bool save, QWidget *owner, const QString &file, const QString &description, const QString &pattern,
                   const QString &title, const QString &extension)
{
    const QString filter = filterText(description, pattern);
    if (dialogHooks.file) return dialogHooks.file(save, file, filter, title);
    QFileDialog dlg(owner, title);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::AnyFile);  // no existence check, as the system's
    dlg.setNameFilter(filter);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!extension.isEmpty()) dlg.setDefaultSuffix(extension);
    const QString proposed = QString(file).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!proposed.isEmpty()) {
        const QFileInfo fi(proposed);
        if (proposed.contains(QLatin1Char('/'))) dlg.setDirectory(fi.absolutePath());
        dlg.selectFile(fi.fileName());
    }
    if (dlg.exec() != QDialog::Accepted) return QString();
    const QStringList files = dlg.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

}  // namespace

QString getopenfile(QWidget *owner, const QString &file, const QString &description, const QString &pattern,
                    const QString &title, const QString &extension)
{
    return fileDialog(false, owner, file, description, pattern, title, extension);
}

QString getsavefile(QWidget *owner, const QString &file, const QString &description, const QString &pattern,
                    const QString &title, const QString &extension)
{
    return fileDialog(true, owner, file, description, pattern, title, extension);
}

uint32_t pickcolor(QWidget *owner, uint32_t initial)
{
    for (int i = 1; i <= 16; ++i) {
        const uint32_t g = uint32_t(16 * i - 1);
        g_custom[i - 1] = g | (g << 8) | (g << 16);
    }
    if (dialogHooks.color) {
        uint32_t chosen = initial;
        return dialogHooks.color(initial, g_custom, chosen) ? chosen : initial;
    }
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, QColor(g_custom[i] & 0xFF, (g_custom[i] >> 8) & 0xFF, (g_custom[i] >> 16) & 0xFF));
    const QColor init(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor c = QColorDialog::getColor(init, owner);
    if (!c.isValid()) return initial;
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

int32_t muldiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0) return -1;
    const int64_t p = int64_t(a) * b;
    // Rounded half away from zero, as the platform's MulDiv.
    const int64_t q = (p >= 0) == (c > 0) ? (std::llabs(p) + std::llabs(c) / 2) / std::llabs(c)
                                           : -((std::llabs(p) + std::llabs(c) / 2) / std::llabs(c));
    return int32_t(q);
}

int pixelsPerInch()
{
    double dpi = 96.0;
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) && QGuiApplication::primaryScreen())
        dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    const double twipsPerPixel = 1440.0 / dpi;
    return int(std::nearbyint(1440.0 / twipsPerPixel));
}

LogFont fontToLogFont(const QString &name, int16_t size, bool bold, bool italic, int ppi)
{
    LogFont lf;
    lf.height = -muldiv(size, ppi, 72);
    lf.weight = bold ? 700 : 400;
    lf.italic = italic ? 255 : 0;
    lf.face = name.left(31);
    return lf;
}

void logFontToVars(const LogFont &lf, int ppi, QString &name, int16_t &size, bool &bold, bool &italic)
{
    name = lf.face.left(32);
    size = int16_t(-muldiv(lf.height, 72, ppi));
    bold = lf.weight > 550;
    italic = lf.italic != 0;
}

void pickfont(QWidget *owner)
{
    AppSettings &s = settings;
    const int ppi = pixelsPerInch();
    LogFont lf = fontToLogFont(s.drawfontname, s.drawfontsize, s.drawfontbold, s.drawfontitalic, ppi);
    bool ok = false;
    if (dialogHooks.font) {
        ok = dialogHooks.font(lf);
    } else {
        QFont start(lf.face);
        start.setPixelSize(std::max(1, -lf.height));
        start.setBold(lf.weight > 550);
        start.setItalic(lf.italic != 0);
        const QFont f = QFontDialog::getFont(&ok, start, owner);
        if (ok) {
            const int px = f.pixelSize() > 0 ? f.pixelSize() : int(std::lround(f.pointSizeF() * ppi / 72.0));
            lf.height = -px;
            lf.weight = f.bold() ? 700 : 400;
            lf.italic = f.italic() ? 255 : 0;
            lf.face = f.family().left(31);
        }
    }
    if (ok) logFontToVars(lf, ppi, s.drawfontname, s.drawfontsize, s.drawfontbold, s.drawfontitalic);
}

}  // namespace zk
