#include "demodata.h"

#include <QFile>

#include "base/settings.h"
#include "map/demo/tilewriters.h"

namespace zk::demo {

namespace {

// Bumped whenever the landscape or the layout of the set changes.
constexpr char kStampText[] = "Kestrova demo terrain 1\n";

// The DTED cells written at level 1; the others of the region at level 0.
bool levelOne(int x, int y) { return (x == -74 || x == -73) && (y == 44 || y == 45); }

}  // namespace

double regionelevation(const DemoRegion &r, double lon, double lat)
{
    if (!(lon >= r.west && lon <= r.east && lat >= r.south && lat <= r.north)) return 0.0;
    return elevation(lon, lat);
}

QString demostamp(const QString &folder) { return folder + QStringLiteral("kestrova-demo.txt"); }

bool demouptodate(const QString &folder)
{
    QFile f(demostamp(folder));
    return f.open(QIODevice::ReadOnly) && f.readAll() == QByteArray(kStampText);
}

bool writedemodata(const QString &folder, const std::function<void(const QString &)> &progress,
                   const DemoRegion &region)
{
    const ElevationFn f = [region](double lon, double lat) { return regionelevation(region, lon, lat); };
    QFile::remove(demostamp(folder));
    auto said = [&](const QString &what) {
        if (progress) progress(what);
    };
    for (int x = region.west; x < region.east; ++x)
        for (int y = region.south; y < region.north; ++y) {
            if (!writeterraintile(folder, x, y, f)) return false;
            const int level = levelOne(x, y) ? 1 : 0;
            if (!writedtedcell(folder, x, y, level, f)) return false;
        }
    said(QStringLiteral("Terrain tiles and DTED cells"));
    // The GTOPO30 tile W100N90 holds the region; only its rows are written.
    if (!writegtopotile(folder, -100, 90, region.north + 1, region.south - 1, f)) return false;
    said(QStringLiteral("GTOPO30 tile W100N90"));
    QFile stamp(demostamp(folder));
    return stamp.open(QIODevice::WriteOnly) && stamp.write(kStampText) == qint64(sizeof kStampText - 1);
}

bool pointroots(const QString &folder)
{
    bool all = true;
    for (int i = 0; i < 3; ++i) {
        const QString key = QStringLiteral("DRV%1").arg(i);
        const QString now = readsetting(key, "C").trimmed();
        if (now.compare(QLatin1String("C"), Qt::CaseInsensitive) == 0 || now.isEmpty()) {
            writesetting(key, folder);
        } else if (now != folder) {
            all = false;
        }
    }
    return all;
}

}  // namespace zk::demo
