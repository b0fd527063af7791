#include "mapdata.h"

namespace zk {

ElevGrid elevgrid;
MapSettings mapset{}, editmap{};
MapCorners mapcorners, editcorners;
QString mapfile;
bool mapmodified = false;

void ElevGrid::redim(int32_t ux, int32_t uy)
{
    if (ux < 0 || uy < 0) {
        cells_.clear();
        desc_.ubound[0] = desc_.ubound[1] = -1;
        desc_.data = nullptr;
        return;
    }
    cells_.assign(size_t(ux + 1) * size_t(uy + 1), 0);
    desc_.dims = 2;
    desc_.lbound[0] = desc_.lbound[1] = 0;
    desc_.ubound[0] = ux;
    desc_.ubound[1] = uy;
    desc_.data = cells_.data();
}

ZkArray **ElevGrid::engineArray()
{
    descPtr_ = &desc_;
    return &descPtr_;
}

}  // namespace zk
