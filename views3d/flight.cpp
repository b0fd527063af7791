#include "views3d/flight.h"

#include <QDir>

#include <cmath>
#include <limits>

#include "paths.h"

namespace zk {

QString framesfolder() { return paths::userFolder() + QStringLiteral("/frames/"); }

QString framename(int i) { return QStringLiteral("flig%1.bmp").arg(i, 4, 10, QLatin1Char('0')); }

int32_t flightframes(double length_m, double speed_mps, double fps)
{
    if (!std::isfinite(length_m) || !std::isfinite(speed_mps) || !std::isfinite(fps)) return 0;
    const double n = length_m / std::max(1.0, speed_mps) * fps;
    if (!(n > 0)) return 0;
    const double r = std::nearbyint(n);
    return r >= double(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max() : int32_t(r);
}

FlightStep flightstep(double xa, double ya, double ha, double xb, double yb, double hb, int32_t frames)
{
    if (frames <= 0) return {};
    return {(xb - xa) / frames, (yb - ya) / frames, (hb - ha) / frames};
}

QStringList framefiles(const QString &folder)
{
    QDir dir(folder);
    // Without QDir::CaseSensitive the pattern matches names in any case, as
    // the pattern matched on the system the frames were first made for.
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setNameFilters({QStringLiteral("flig*.bmp")});
    QStringList out;
    for (const QString &name : dir.entryList()) out << dir.filePath(name);
    return out;
}

QString framefile(const QString &folder, int i)
{
    const QString exact = folder + framename(i);
    return paths::resolve(exact);
}

}  // namespace zk
