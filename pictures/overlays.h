// What is drawn over a picture from the object folders and the cities file:
// labels (a cross, a text and its box), tracks as lines or filled surfaces,
// and the search of the object folders that concern a picture. The 2D
// drawing calls drawobjects and drawcities after each map drawing; the main
// window's "Dessin des objets" commands call them on the active picture.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace zk {

class frmPic;

// Draws the labels of one file on the picture window. `filename` is a labels
// file's path, or a name beginning with "cities" (any case), which is the
// cities file of the program's data (longitudes west positive). With keep,
// the drawing becomes part of the picture at the end. A file that cannot be
// read draws nothing; nothing is reported.
void drawcities(frmPic *pic, bool keep, const QString &filename);

// Draws every object file matching the pattern (for example "F0*.plt" or
// "*.dat", matched without regard to case) from the program's object folder
// and from the 1-degree object tile folders that the picture covers: labels
// files (names ending in "dat") through drawcities, track files as filled
// surfaces (fill) or lines. Goes on only while runflag is above 0; sets
// progtotal to each track's point count.
void drawobjects(frmPic *pic, const QString &pattern, bool fill);

// The files drawobjects takes for the picture and the pattern, in order.
QStringList objectfiles(const frmPic *pic, const QString &pattern);

// Draws one track file on the picture: raster operation from the third
// character of its name ("m" masks: the colour ANDed with the picture).
void drawtrackfile(frmPic *pic, const QString &path, bool fill);

// The main window's "Dessin des objets" entries: 1 surfaces, 2 lines,
// 3 labels, 4 cities, 5 all, on the active picture window (kind 1 or 2, not
// the world map), as one long operation ending with the keep question.
void mnuObjects_Click(int index);

}  // namespace zk
