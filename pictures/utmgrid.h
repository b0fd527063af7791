// The UTM kilometre grid over a picture of the map: square 1 km or 10 km
// lines of the UTM zone of the picture's centre, turned by the angle between
// grid north and the picture's vertical at its centre meridian, drawn
// across the whole picture as a long operation, then kept in the picture
// if the user says so.
#pragma once

#include <QString>

#include <cstdint>

class QImage;
class QWidget;

namespace zk {

// kind 0: the 1 km grid, 1 pixel wide; above 0: the 10 km grid, 2 pixels
// wide. Nothing is drawn on a window that is not a picture window, on a
// picture of kind above 2, or on one without a frame.
void drawutmgrid(QWidget *pic, int kind);

// The report of the last grid drawn: "Azimut nord de la grille UTM = " with
// the angle from the picture's vertical to grid north in degrees and mils,
// a line break, and the datum name. Empty until a grid was drawn.
QString utmgridreport();

// How a grid line is drawn: the pixel becomes the bitwise AND of its colour
// and the line's colour (a mask pen), 1 or 2 pixels wide; the part off the
// image is cut away. Colours with red in the low byte.
void maskline(QImage &img, double x1, double y1, double x2, double y2, uint32_t colour, int width);

}  // namespace zk
