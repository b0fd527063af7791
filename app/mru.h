// The recent network files: the four entries of the file menu, kept in
// `settings.mru` (stored as `Previous0`..`Previous3` at exit), and the main
// window's caption that names the current network file.
//
// Names keep the case the user gave them; two entries are the same file when
// their file-name parts match without regard to case (so a file of the same
// name in another folder takes the older one's place).
#pragma once

#include <QString>

#include <cstdint>

namespace zk {

// Puts the file at the top of the list: `file` becomes itself trimmed; an
// entry with the same file-name part changes places with the first entry,
// otherwise the list moves down one place (the last entry dropped, and an
// entry whose file no longer exists emptied). Then the four menu entries
// ("&1 name" ... , empty ones hidden) and the caption ("..\" + file-name part
// of lastproject + " - " + title) follow the list.
void addmru(QString &file);

// Start-up: the stored entries whose files still exist come back in their
// stored order, from an empty list.
void restoremru();

// Shows the list in the main window's menu and caption (nothing without a
// main window).
void showmru();

// The caption of menu entry i for the list as it stands ("" when empty).
QString mrucaption(int i);

// Opens recent file `index` (0..3): nothing for an empty entry or the file
// already open; otherwise the save prompts, then the file unless the user
// cancelled.
void loadprevious(int16_t index);

}  // namespace zk
