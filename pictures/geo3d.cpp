#include "pictures/geo3d.h"

#include <cmath>

#include "pictures/frmPic.h"
#include "pictures/view3d.h"

namespace zk {

namespace {

// Nearest whole number, halves to the even neighbour, held within the
// 16-bit range the grid centre is kept in.
float evenround16(float v)
{
    if (!std::isfinite(v)) return 0;
    return float(std::fmin(32767.0, std::fmax(-32768.0, std::nearbyint(double(v)))));
}

}  // namespace

bool pic3dfractions(const frmPic *w, float lon, float lat, float &fx, float &fy)
{
    if (!w || w->Pictype != 3) return false;

    // A picture whose corners give no extent (a hand-edited calibration
    // file; the drawing never makes one) places nothing, rather than every
    // point on its western or southern edge.
    const float spanx = w->lon2 - w->lon1;
    const float spany = w->lat1 - w->lat4;
    if (!(spanx != 0 && spany != 0) || !std::isfinite(spanx) || !std::isfinite(spany)) return false;
    const float ux = (lon - w->lon1) / spanx;
    const float uy = (lat - w->lat4) / spany;
    // Written so that a position that is not a number is off the picture.
    if (!(ux >= 0 && ux <= 1 && uy >= 0 && uy <= 1)) return false;
    fx = ux;
    fy = uy;
    return true;
}

void setpic3dview(const frmPic *w)
{
    view3d.amplx = w->amplx;
    view3d.aper = w->aper;
    view3d.disto = w->disto;
    view3d.ofx = w->ofx;
    view3d.ofy = w->ofy;
    view3d.phi = w->phi;
    view3d.size = w->size;
    view3d.theta = w->theta;
    set3dparams(1);
    // The grid the picture was drawn from, not the one in memory now.
    proj3d.gridcx = evenround16(w->w3 * 0.5f);
    proj3d.gridcy = evenround16(w->h3 * 0.5f);
    proj3d.zscale = w->q3;
}

bool geo3d(frmPic *w, float lon, float lat, float alt, float &x, float &y)
{
    float fx = 0, fy = 0;
    if (!pic3dfractions(w, lon, lat, fx, fy)) return false;
    setpic3dview(w);
    ProjPoint pt;
    if (!project3d(w->w3 * fx, w->h3 * fy, alt, pt)) return false;
    x = float(pt.x);
    y = float(pt.y);
    return true;
}

}  // namespace zk
