// Names and paths of terrain tiles under the data roots: the compressed
// 1-degree Terrain tiles, the GTOPO30 tiles of 40 x 50 degrees (60 x 30 in the
// Antarctic band) and the DTED cells of 1 x 1 degree.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace zk {

// A data root as stored in the settings, made usable: a drive letter stands
// for its folder under the per-user data folder; the result ends with "/".
QString usableroot(const QString &drv);

// Terrain tile by its south-west corner (x, y), whole degrees: the tile name
// ("w073n45" for -74, 45) and its path below the root's "terrain" folder
// ("m073/w073n45.sd_").
QString terrainname(int32_t x, int32_t y);
QString terrainrelpath(int32_t x, int32_t y);

// GTOPO30 tile by its north-west corner (tlon, tlat): "W100N90"; its file is
// root + name + "/" + name + ".dem".
QString gtopo30name(int32_t tlon, int32_t tlat);
QString gtopo30path(const QString &root, int32_t tlon, int32_t tlat);

// DTED cell by its south-west corner (x, y): the three files looked for, in
// order, each with the flag the reader takes for its layout.
struct DtedCandidate {
    QString path;
    int16_t flag = 0;  // -1: one more 80-byte header in front
};
std::array<DtedCandidate, 3> dtedcandidates(const QString &root, int32_t x, int32_t y);

// Longitude profiles per degree of a 1201-sample DTED cell: the spacing zones
// of 3, 6, 9, 12 and 18 arc-seconds, chosen by the cell's edge nearer to the
// equator (its southern edge in the north, its northern edge in the south).
int32_t dtedprofiles(int32_t y);

}  // namespace zk
