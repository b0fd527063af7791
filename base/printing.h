// Printing a picture ("&Imprimer" prints the active one, app/commands.h):
// one page on the default printer, no dialog, the picture as shown
// (drawings included), landscape when it is wider than high, as large as the printable area allows without distortion, from the
// printable area's top-left corner. A machine without a printer gets the
// page as a PDF file in the per-user data folder, named in the message pane.
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

class QImage;
class QPrinter;

namespace zk {

// Landscape for a picture wider than high; a square one prints in portrait.
bool printlandscape(const QSizeF &picture);

// The rectangle the picture is drawn into, within a printable area of the
// given size (its own units), starting at the area's top-left corner.
// Empty when the picture or the area has no size.
QRectF printtarget(const QSizeF &picture, const QSizeF &printable);

// Prints the image on the printer (orientation, then the page). False when
// nothing was printed.
bool printimage(const QImage &image, QPrinter &printer);

// Where the page goes when the machine has no printer: the next free
// "Impression<n>.pdf" in the per-user data folder.
QString printpdfname();

// Test seam: when not empty, the command prints to this PDF file as if the
// machine had no printer.
extern QString printpdfoverride;

}  // namespace zk
