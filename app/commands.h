// The main window's commands that the shell carries itself: networks, maps
// and pictures opened and saved, the propagation mode, the recent files, the
// network drawings shown and hidden. Copy and paste are in clipboard.h,
// printing in printing.h, the save prompts in shutdown.h.
#pragma once

#include <cstdint>

namespace zk {

class frmMain;
class frmPic;

// Each as its menu item runs it.
void mnuFileNewNet_Click();
void mnuFileOpenNet_Click();
// The save-as commands answer whether something was written: false when
// the file dialog was cancelled or the save failed (the save prompts then
// keep the document).
bool mnuFileSaveNet_Click();
void mnuFileOpenMap_Click();
bool mnuFileSaveMap_Click();
void mnuFileOpenPic_Click();
bool mnuFileSavePic_Click();
void mnuModel_Click(int index);  // 1 normal, 2 interference
void mnuFileMRU_Click(int index);
void mnuViewShowNet_Click();
void mnuViewHideNet_Click();
// "&Imprimer": the active picture on the default printer (base/printing.h),
// or nothing (no message).
void mnuFilePrint_Click();

// The picture save-as command for a given picture window (the active one
// for the menu item, the one just asked about for the save prompts).
bool savepictureas(frmPic *w);

// Connects and enables the items above, the clipboard and print items.
void installcommands(frmMain *w);

}  // namespace zk
