#include "views3d/install3d.h"

#include "pictures/frmPicPro.h"
#include "pictures/geo3d.h"
#include "pictures/pichooks.h"
#include "views3d/frm3Dpic.h"
#include "views3d/stereo.h"

namespace zk {

void install3dhooks()
{
    pichooks.geo3d = [](frmPic *w, float lon, float lat, float elev, float &x, float &y) {
        return geo3d(w, lon, lat, elev, x, y);
    };
    picprohooks.show3dpic = [] { show3dpic(); };
    pichooks.stereocursor = [](frmPic *w, float x, float y, float dp, bool relative) {
        stereocursor(w, x, y, dp, relative);
    };
    picprohooks.drawstereo = [] { drawstereo(); };
}

}  // namespace zk
