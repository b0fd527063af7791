// Opening and saving the document: the network file (netfile.h) to and from
// the radio tables, the pictures and the map it names, with the bookkeeping
// of the current file name, the recent files and the modified flag.
#pragma once

#include <QString>

#include "radio/netfile.h"

namespace zk {

// Opens the document. The name (quotes and blanks around it removed, its
// case kept) becomes the last network file, is stored as `LastProject` and
// heads the recent list, and the modified flag is cleared; when it ends in
// "net" and names a file, the file is read: the tables, the coverage
// settings, heights and icons are replaced, its pictures opened, the map
// settings fitted to the units, the map reopened and the networks drawn, and
// its folder becomes the current one (so a relative name is then kept made
// absolute). A damaged file opens what could be read and says where the
// damage lies; a file that cannot be read (or of which nothing could be
// read) is reported and leaves the document, its name and its modified flag
// as they were.
void opennet(const QString &file);

// Saves the document under the name, which must end in "net" (compared
// without regard to case), through a temporary file renamed over the old
// one. On success the name becomes the last network file and the head of
// the recent list, the modified flag is cleared and the message pane says
// "<name> a été enregistré". Otherwise "<name> impossible à enregistrer" is
// shown and nothing changes. Answers whether the file was written.
bool savenet(const QString &file);

// The document in memory as a network file would hold it (the pictures are
// the open picture windows but the world map).
NetDocument currentdocument();

// Fits the map's centre and size to the placed units (both coordinates not
// 0) for a screen of the given aspect: the larger of the two spans in
// degrees, the east-west one brought to the screen's shape, times 120 km.
// Without a placed unit the map settings stay; when the units give no
// extent the size stays.
void fitmaptounits(double screenWidth, double screenHeight);

}  // namespace zk
