// The main window's commands that open the network and station dialogs:
// "Propriétés des réseaux" (mnuFileNet, toolbar button 3) and "Propriétés
// des stations" (mnuEditUnit, Ctrl+U, toolbar button 15), and the double
// click on a unit's label in a picture window.
#pragma once

#include <functional>

namespace zk {

class MainFrame;

// Shows the network dialog modal, owned by the main window; afterwards
// redraws every network when "Affichage automatique des réseaux" is checked
// (and unchecks it when that redraw took more than 5 s), else clears the
// network drawings.
void mnuFileNet_Click();
// Shows the station dialog modal for curunit, then the main window again.
void mnuEditUnit_Click();
// A unit's label double-clicked on a picture: the unit becomes current and
// the station dialog opens for it.
void showunitdialog(int unit);

// Connects and enables mnuFileNet and mnuEditUnit (and, through
// installreportmenu, mnuReport), and gives the picture windows their double
// click. The main window calls it once its menus exist.
void installnetdialogs(MainFrame *w);

// Test seam: the clock (seconds, never going back) the automatic redraw is
// timed with; null restores the steady clock.
void setnetredrawclock(std::function<double()> clock);

}  // namespace zk
