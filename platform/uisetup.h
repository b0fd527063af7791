// The face and the language of the programs' windows, set once at start-up
// by both programs before their first window exists.
//
// The forms are laid out in pixels for the small 8-point sans-serif face of
// the system they come from; Linux's default face (DejaVu Sans) is wider
// and cuts or overlaps many captions. Liberation Sans (Debian package
// fonts-liberation) has the metrics of Arial, which at 8 points is as
// narrow as the face the layouts were drawn for, so every caption fits the
// control it was given.
//
// The program speaks French, and so must Qt's own texts: the buttons of
// message boxes, the open and save dialogs, the colour and font choosers.
// Those come from Qt's French catalogue (qtbase_fr.qm, Debian package
// qt6-translations-l10n).
#pragma once

#include <QFont>
#include <QString>

class QCoreApplication;

namespace zk::ui {

// The interface face: Liberation Sans, 8 points, sans-serif as fallback.
QFont interfaceFont();

// Installs Qt's French catalogue on the application. Returns false (and the
// texts stay Qt's English) when the catalogue cannot be found or read.
bool loadQtFrench(QCoreApplication &app);

// Both of the above, for the running application; a missing catalogue or
// face is said once on standard error with the package that provides it.
void setUpInterface();

}  // namespace zk::ui
