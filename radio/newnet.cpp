// The document reset: every table of the radio side back to its defaults,
// and the parts of the document that other subsystems own (map settings,
// map file name, elevation grid, datum, 3D view, flight values, coverage
// settings, link colours) with them.
#include <QDir>

#include <cmath>

#include "base/hooks.h"
#include "base/screen.h"
#include "base/settings.h"
#include "map/datum.h"
#include "map/mapdata.h"
#include "pictures/covset.h"
#include "pictures/view3d.h"
#include "radio/radiodata.h"

namespace zk {

namespace {
int16_t newnetcount = 0;  // named new documents in this run
QString newnetfolder;     // the folder that was current at the first reset

// The elevation grid's upper bound along one axis for one cell per screen
// pixel: the integer part of (screen size in twips - 1) / twips per pixel.
int32_t screenBound(double twips, double tpp)
{
    if (!(tpp > 0)) return 0;
    const double b = std::floor((twips - 1) / tpp);
    return b < 0 ? 0 : int32_t(b);
}
}  // namespace

QString newnetfolderForTest() { return newnetfolder; }
void resetNewnetStateForTest()
{
    newnetcount = 0;
    newnetfolder.clear();
}

void screengrid()
{
    elevgrid.redim(screenBound(screenWidthTwips(), twipsPerPixelX()), screenBound(screenHeightTwips(), twipsPerPixelY()));
}

void newnet(bool named)
{
    // 1. The folder for new network files is the one current at start-up.
    if (newnetfolder.isEmpty()) newnetfolder = QDir::currentPath();

    // 2. Empty tables.
    uniticon.clear();
    netheight.clear();
    systems.clear();
    nets.clear();
    units.clear();

    // 3. One grid cell per screen pixel, all zero.
    screengrid();

    // 4. A new name only for the new-networks command.
    if (named) {
        ++newnetcount;
        settings.lastproject = newnetfolder + QStringLiteral("/net") + QString::number(newnetcount) + QStringLiteral(".net");
        QDir::setCurrent(newnetfolder);
        hooks::addmru(settings.lastproject);
    }

    // 5. The datum file may have changed since the last reset.
    loadellipsoid(QStringLiteral("geosys.dat"));

    // 6. 3D view defaults.
    set3dparams(0);

    // 7. Map settings: only these fields; the others and the corners stay.
    mapset.con = 30;
    mapset.bri = 70;
    mapset.light = 335;
    mapset.Mapmode = 5;
    mapset.size = 200;
    mapset.lon = -73;
    mapset.lat = 45;

    // 8. Coverage settings.
    resetcoverage();

    // 9. Flight and stereo values.
    flyfps = 3;
    flyspeed = 500;
    eyedist = 20;

    // 10. Map file name.
    mapfile = QStringLiteral("default.map");
    mapmissing = false;  // a new network's flat grid stands until a map is extracted

    // 11-12. Units.
    for (int i = 1; i <= kUnits; ++i) {
        UnitRecord &u = units[i];
        setFixedText(u.name, QStringLiteral("Station %1").arg(i, 2, 10, QLatin1Char('0')));
        u.color = 0xFFFFFF;
        u.backcolor = 0;
        u.transparent = 0;
        u.enabled = -1;
    }
    curunit = 1;

    // 13. Systems.
    for (int i = 1; i <= kSystems; ++i) {
        SystemRecord &s = systems[i];
        setFixedText(s.name, QStringLiteral("Système %1").arg(i, 2, 10, QLatin1Char('0')));
        s.power = 10;
        s.threshold = -107;
        s.loss = 0.5f;
        s.gain = 2;
        s.height = 2;
    }

    // 14. Networks.
    for (int16_t i = 1; i <= kNets; ++i) {
        NetRecord &n = nets[i];
        setFixedText(n.name, QStringLiteral("Réseau %1").arg(i, 2, 10, QLatin1Char('0')));
        for (int j = 0; j < kUnits; ++j) {
            n.member[j] = 0;
            n.system[j] = 1;
        }
        netdefaults(i);
    }

    // 15. Link colours: all three classes, T1 = 47, T2 = 53, background lines.
    linkstyle = {175, 181, 129};

    // 16. Selections.
    curnet = 1;
    linka = 1;
    linkb = 2;
    linknet = 1;
    targetmode = -1;
    netmodified = false;
}

}  // namespace zk
