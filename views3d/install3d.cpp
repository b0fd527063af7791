#include "views3d/install3d.h"

#include "pictures/frmPicPro.h"
#include "pictures/geo3d.h"
#include "pictures/pichooks.h"
#include "radio/radiohooks.h"
#include "views3d/drawview.h"
#include "views3d/frm3Dpic.h"
#include "views3d/frmAnimate.h"
#include "views3d/frmObs.h"
#include "views3d/radar3d.h"
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
    radiohooks.drawview = [](QWidget *&pic, int net, int a, int b, float fov, bool stereo, int frames) {
        drawview(pic, net, a, b, fov, stereo, frames);
    };
    radiohooks.flyview = [](float fov, int a, int b, int net, bool stereo) { flyview(fov, a, b, net, stereo); };
    radiohooks.closeflightplayer = [] {
        if (frmAnimate *p = frmAnimate::instance()) p->close();
    };
    radiohooks.playflight = [](double fps) { playflight(fps); };
    radiohooks.showobs = [](QWidget *owner) { showobs(owner); };
    radiohooks.radar3d = [](frmPic *w, const QString &table) { radar3d(w, table); };
}

}  // namespace zk
