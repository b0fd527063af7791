// The picture code's reach into the main window: its status panes and menu
// items, found by their names. When the main window (or the control) does not
// exist, reads answer "unchecked" and writes do nothing.
#pragma once

#include <QString>

class QWidget;

namespace zk {

// Shows the text in the main window's pane (`Label1` cursor read-out,
// `Label2` message line).
void setpane(const char *name, const QString &text);
// The pane's text ("" when there is none).
QString panetext(const char *name);

// The checked state of a checkable menu item of the main window
// (`mnuViewGrid`, `mnuMouseCoor`), and setting it.
bool menuchecked(const char *name);
void setmenuchecked(const char *name, bool checked);

// The main window as the owner of tool windows (null when there is none).
QWidget *mainowner();

}  // namespace zk
