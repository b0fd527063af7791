// What picture windows call in other subsystems (the radio tables and
// dialogs, the stereo cursor and 3D projection, the object editor). Their
// owners install the functions at start-up; an empty hook is a step that is
// skipped, so picture windows work before those subsystems exist.
#pragma once

#include <QString>

#include <functional>

namespace zk {

class frmPic;

struct PicHooks {
    // Double-click on a unit's label or icon: close the radio-link window,
    // make the unit current (curunit) and show the unit dialog modal.
    std::function<void(int unit)> showunit;
    // Press with Shift, Ctrl or Alt on a unit: button 1 makes it link end A
    // (linka), button 2 link end B (linkb); when both ends are set and
    // differ, the radio-link window shows that link.
    std::function<void(int unit, int button)> linkend;
    // Makes the unit current (curunit).
    std::function<void(int unit)> setcurunit;
    // Moves unit curunit to the position (moveunit).
    std::function<void(float lon, float lat)> moveunit;

    // The stereo cursor: places the marks Shape1(0..3) of a stereo picture
    // around (x, y), or with adjust changes the parallax by step. When empty,
    // the marks of a picture that is not stereo are hidden.
    std::function<void(frmPic *w, float x, float y, float step, bool adjust)> stereocursor;
    // Projection of a position at an elevation onto a 3D picture (geo3d).
    std::function<bool(frmPic *w, float lon, float lat, float elev, float &x, float &y)> geo3d;

    // The object editor: -1 when it is not adding points (objedit off, or
    // two or more lines of its list selected), else the kind of object it
    // edits (objkind: 0 track, 1 labels).
    std::function<int()> objectaddmode;
    // Adds a line to the object being edited, deselects every line, selects
    // the new last line and makes it the current one.
    std::function<void(const QString &line)> objectaddline;
};
extern PicHooks pichooks;

// The line the object editor gets for a point clicked on a picture: a track
// point "lat,lon,0,alt" (alt = elevation in feet, rounded half to even) or a
// label "0,lat,lon,L,4,FFFFFF"; latitude and longitude with 5 decimals and a
// point, as the editor's FixNbr writes them.
QString objectpointline(int objkind, double lat, double lon, float elev_m);

}  // namespace zk
