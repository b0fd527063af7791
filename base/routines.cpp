#include "routines.h"

#include <QLineEdit>
#include <QLocale>
#include <QPalette>

#include <cmath>
#include <limits>

#include "paths.h"

namespace zk {

static int lastSeparator(const QString &p)
{
    for (int i = p.size() - 1; i >= 0; --i) {
        const QChar c = p[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':')) return i + 1;
    }
    return 0;
}

QString pathof(const QString &path)
{
    const QString p = path.trimmed();
    const int n = p.size();
    const int i = lastSeparator(p);
    return (i > 0 && i < n) ? p.left(i) : QString();
}

QString fileof(const QString &path)
{
    const QString p = path.trimmed();
    const int n = p.size();
    const int i = lastSeparator(p);
    return (n - i > 0) ? p.right(n - i) : QString();
}

double localeValue(const QString &text)
{
    QLocale l;
    bool ok = false;
    double v = l.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) return 0.0;
    return v;
}

double checkrange(double low, double high, QLineEdit *box)
{
    const double v = box ? localeValue(box->text()) : 0.0;
    if (box) {
        QPalette pal = box->palette();
        pal.setColor(QPalette::Text, (v < low || v > high) ? QColor(255, 0, 0) : QColor(0, 0, 0));
        box->setPalette(pal);
    }
    return max(low, min(high, v));
}

QString temppath() { return paths::tempFolder(); }

long long roundEven(double v)
{
    if (!std::isfinite(v)) return 0;
    // Beyond the 64-bit range the conversion is undefined: answer the ends.
    if (v >= 9223372036854775807.0) return std::numeric_limits<long long>::max();
    if (v <= -9223372036854775808.0) return std::numeric_limits<long long>::min();
    return (long long)std::nearbyint(v);
}

}  // namespace zk
