// What the radio drawing needs from subsystems that install themselves
// later (live positions, the 3D views), the station icons, and the wiring of the picture
// windows' unit commands to the radio side.
#pragma once

#include <QList>
#include <QPixmap>
#include <QString>

#include <functional>

class QWidget;

namespace zk {

class frmPic;

struct RadioHooks {
    // Sends one unit's position to the sharing group at once (live
    // positions). Empty: nothing is sent.
    std::function<void(int unit)> sendposition;
    // The station icons, counted from 0. Empty: the main window's icons
    // (none when there is no main window).
    std::function<QList<QPixmap>()> icons;

    // The 3D views that the radio-link window and the visual coverage start
    // (views3d installs them, install3d.h). Empty: the command does nothing.
    // drawview(pic, net, a, b, fov, stereo, frames): unit b as seen from a.
    std::function<void(QWidget *&pic, int net, int a, int b, float fov, bool stereo, int frames)> drawview;
    // flyview(fov, a, b, net, stereo): the flight from a to b, recorded.
    std::function<void(float fov, int a, int b, int net, bool stereo)> flyview;
    // Closes the flight player when it is open.
    std::function<void()> closeflightplayer;
    // Plays the recorded flight at the given frames per second.
    std::function<void(double fps)> playflight;
    // The observation options, owned by the given window.
    std::function<void(QWidget *owner)> showobs;
    // The radar coverage from table file `table` on the 3D picture `w`.
    std::function<void(frmPic *w, const QString &table)> radar3d;
};
extern RadioHooks radiohooks;

// True when the networks must be redrawn at the live-position timer's next
// redraw tick; set by moveunit, read and cleared by that timer.
extern bool redrawneeded;

// The station icons as drawunit uses them.
QList<QPixmap> stationicons();

// Installs the picture windows' unit commands (make a unit current, move it
// to the cursor). Called once at start-up; tests call it too.
void installradiohooks();

}  // namespace zk
