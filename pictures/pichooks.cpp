#include "pichooks.h"

#include "base/routines.h"

namespace zk {

PicHooks pichooks;

QString objectpointline(int objkind, double lat, double lon, float elev_m)
{
    const QString la = QString::number(lat, 'f', 5);
    const QString lo = QString::number(lon, 'f', 5);
    if (objkind == 0) {
        const long long alt = roundEven(double(elev_m) / 0.3048);
        return la + QLatin1Char(',') + lo + QStringLiteral(",0,") + QString::number(alt);
    }
    return QStringLiteral("0,") + la + QLatin1Char(',') + lo + QStringLiteral(",L,4,FFFFFF");
}

}  // namespace zk
