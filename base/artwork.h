// The pictures that the program draws for itself instead of shipping image
// files: the 19 toolbar buttons, the 22 built-in station icons, the banner's
// logos, the status bar's size grip and the stereo palette image. All use
// the classic 16-colour palette.
#pragma once

#include <QImage>
#include <QPixmap>

namespace zk::artwork {

// Toolbar button i (0..18), 16 x 16.
QPixmap toolbarButton(int i);
// Built-in station icon i (0..21): 0..6 are 16 x 16, 7..21 are 32 x 32.
QPixmap stationIcon(int i);
constexpr int kBuiltinStationIcons = 22;
// The program's 32 x 32 icon and the maker's organisation logo.
QPixmap programIcon();
QPixmap organisationLogo();
// The 16 x 16 size grip of the status bar (the picture windows copy it).
QPixmap gripIcon();
// The stereo palette image: 1 x 1 pixel, 8 bits, whose 256-entry colour
// table holds the red/cyan mixtures (entries 10..245) and the twenty static
// colours of the system palette (0..9, 246..255).
QImage stereoPalette();

}  // namespace zk::artwork
