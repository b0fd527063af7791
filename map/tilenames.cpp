#include "tilenames.h"

#include <cstdlib>

#include "paths.h"

namespace zk {

namespace {

QString digits(int32_t v, int width) { return QStringLiteral("%1").arg(std::abs(v), width, 10, QLatin1Char('0')); }

// One wrap of a longitude into -180..179 as the tile names take it.
int32_t wrapOnce(int32_t v)
{
    if (v > 179) v -= 360;
    if (v < -180) v += 360;
    return v;
}

}  // namespace

QString usableroot(const QString &drv) { return paths::dataRoot(drv); }

QString terrainname(int32_t x, int32_t y)
{
    // The Terrain set names a tile by the west longitude of its eastern edge.
    const int32_t w = wrapOnce(-x - 1);
    return QString(w >= 0 ? QLatin1Char('w') : QLatin1Char('e')) + digits(w, 3) +
           QString(y >= 0 ? QLatin1Char('n') : QLatin1Char('s')) + digits(y, 2);
}

QString terrainrelpath(int32_t x, int32_t y)
{
    const int32_t w = wrapOnce(-x - 1);
    return QStringLiteral("m") + digits(w, 3) + QLatin1Char('/') + terrainname(x, y) + QStringLiteral(".sd_");
}

QString gtopo30name(int32_t tlon, int32_t tlat)
{
    int32_t n = tlon;
    while (n > 179) n -= 360;
    while (n < -180) n += 360;
    const QString lon = (n <= 0 ? QStringLiteral("W") : QStringLiteral("E")) + digits(n, 3);
    const QString lat = (tlat < 0 ? QStringLiteral("S") : QStringLiteral("N")) + digits(tlat, 2);
    return lon + lat;
}

QString gtopo30path(const QString &root, int32_t tlon, int32_t tlat)
{
    const QString name = gtopo30name(tlon, tlat);
    return root + name + QLatin1Char('/') + name + QStringLiteral(".dem");
}

std::array<DtedCandidate, 3> dtedcandidates(const QString &root, int32_t x, int32_t y)
{
    const int32_t m = wrapOnce(x);
    const QString lon = (m < 0 ? QStringLiteral("W") : QStringLiteral("E")) + digits(m, 3);
    const QString lat = (y >= 0 ? QStringLiteral("N") : QStringLiteral("S")) + digits(y, 2);
    const QString dir = root + QStringLiteral("DTED/");
    const QString second = dir + lon + QLatin1Char('/') + lat + QStringLiteral(".DT1");
    QString third = second;
    third[third.size() - 1] = QLatin1Char('0');
    return {{{dir + lon + QStringLiteral("0000/") + lat + QStringLiteral("0000.DT1"), -1},
             {second, 0},
             {third, 0}}};
}

int32_t dtedprofiles(int32_t y)
{
    const int32_t edge = std::abs(y >= 0 ? y : y + 1);
    if (edge < 50) return 1200;
    if (edge < 70) return 600;
    if (edge < 75) return 400;
    if (edge < 80) return 300;
    return 200;
}

}  // namespace zk
