#include "radio/radiohooks.h"

#include "base/mainframe.h"
#include "pictures/pichooks.h"
#include "radio/radiodata.h"
#include "radio/unitdraw.h"

namespace zk {

RadioHooks radiohooks;
bool redrawneeded = false;

QList<QPixmap> stationicons()
{
    if (radiohooks.icons) return radiohooks.icons();
    return mainform ? mainform->imgIcons() : QList<QPixmap>();
}

void installradiohooks()
{
    pichooks.setcurunit = [](int unit) {
        if (unit >= 1 && unit <= kUnits) curunit = int16_t(unit);
    };
    pichooks.moveunit = [](float lon, float lat) { moveunit(lon, lat); };
}

}  // namespace zk
