// The demo data set: Terrain tiles, DTED cells and a GTOPO30 tile of the
// synthetic landscape around 45 N 73 W, in the folders the extraction looks
// in, so that one folder can serve as all three data roots.
#pragma once

#include <QString>

#include <functional>

#include "map/demo/demoterrain.h"

namespace zk::demo {

// The area a set covers, whole degrees (west and south inclusive, east and
// north exclusive); by default the demo region around 45 N 73 W.
struct DemoRegion {
    int west = kWest, east = kEast, south = kSouth, north = kNorth;
};

// Writes the set under `folder` (which ends with "/"): a Terrain tile and a
// DTED cell (level 1 near 45 N 73 W, level 0 elsewhere) for every degree of
// the region, and the rows of the GTOPO30 tile W100N90 that hold it; the
// landscape is sea outside the region. Answers false when a file could not
// be written. `progress` (may be empty) hears each step done.
bool writedemodata(const QString &folder, const std::function<void(const QString &)> &progress = {},
                   const DemoRegion &region = {});

// The landscape limited to a region: sea outside it.
double regionelevation(const DemoRegion &region, double lon, double lat);

// The file that marks a complete set, with the set's version in it.
QString demostamp(const QString &folder);
bool demouptodate(const QString &folder);

// Points the data roots DRV0..DRV2 at `folder` unless the user has chosen
// roots of his own (anything but the default "C"). Answers whether they now
// point there.
bool pointroots(const QString &folder);

}  // namespace zk::demo
