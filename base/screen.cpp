#include "screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace zk {

namespace {
QSize g_override;

double logicalDpi(bool horizontal)
{
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (QScreen *s = app->primaryScreen()) {
            const double d = horizontal ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
            if (d > 0) return d;
        }
    }
    return 96.0;
}
}  // namespace

QSize screenPixels()
{
    if (g_override.isValid()) return g_override;
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (QScreen *s = app->primaryScreen()) {
            const QSize sz = s->size();
            if (sz.width() > 0 && sz.height() > 0) return sz;
        }
    }
    return QSize(1024, 768);
}

double twipsPerPixelX() { return 1440.0 / logicalDpi(true); }
double twipsPerPixelY() { return 1440.0 / logicalDpi(false); }
double screenWidthTwips() { return screenPixels().width() * twipsPerPixelX(); }
double screenHeightTwips() { return screenPixels().height() * twipsPerPixelY(); }

void setScreenPixels(const QSize &size) { g_override = size; }

}  // namespace zk
