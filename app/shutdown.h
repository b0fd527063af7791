// Closing the program without losing work: the main window's close handler
// (stop a running operation, confirm, store the settings, save prompts, end
// the live positions) and the save prompts `CleanNet` that the new-network,
// open-network and recent-file commands also run before they replace the
// document.
#pragma once

namespace zk {

class frmMain;

// The save prompts. Closes the tool windows and the object editor, asks
// about modified networks, pictures never saved and a modified map (Yes /
// No / Cancel each), and unloads every window but the main window. True
// means "cancelled": the caller keeps the current document. A Yes whose
// file dialog is left with Cancel, or whose save fails, counts as Cancel, so
// that nothing unsaved is dropped.
bool CleanNet();

// The close request of the main window, whatever asked for it. True keeps
// the window open: an operation was running (it is asked to stop), the user
// did not confirm, or the save prompts were cancelled; after a cancelled
// save prompt the timer and the live-position services run again.
bool MDIForm_QueryUnload(frmMain &w);

// How long the close waits, processing events, before the window goes
// (milliseconds; 1000). Tests shorten it.
extern int shutdownwait_ms;

}  // namespace zk
