// The viewer's menu bar: File, Edit, Options (Fresnel zones, Earth
// curvature, vertical scale, colours, captions) and Help. Items keep their
// menu-array names as object names ("menu33(2)"); index 0 is unused.
#pragma once

#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace zk::pathviewer {

struct Form1Menus {
    std::array<QMenu *, 5> menu{};      // 1 "&Fichier" .. 4 "&Aide"
    std::array<QAction *, 5> menu1{};   // 1 "&Ouvrir", 3 separator, 4 "&Fermer"
    std::array<QAction *, 4> menu2{};   // 1 "&Copier", 2 separator, 3 "&Inverser"
    std::array<QMenu *, 6> menu3{};     // the five Options submenus
    std::array<QAction *, 5> menu31{};  // zone lines 0.6, 1, 2 and the clearance line
    std::array<QAction *, 3> menu32{};  // curvature on the ground or on the beam
    std::array<QAction *, 7> menu33{};  // vertical scales
    std::array<QAction *, 4> menu34{};  // earth, ground and sky colours
    std::array<QAction *, 3> menu35{};  // site and propagation captions
    std::array<QAction *, 2> menu4{};   // 1 "&A propos"
};

// Fills the bar with the menus, their captions and start-up check marks.
void buildMenus(QMenuBar *bar, Form1Menus &m);

}  // namespace zk::pathviewer
