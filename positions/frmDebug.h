// frmDebug, the multicast monitor ("Moniteur du canal Multicast"): one list
// of the 13 latest datagrams received while it is shown. A modeless tool
// window owned by the main window, shown once at a time.
#pragma once

#include <QWidget>

class QListWidget;

namespace zk::positions {

// The monitor is shown: received datagrams are listed in it.
extern bool monitoron;

constexpr int kMonitorLines = 13;

class frmDebug : public QWidget {
    Q_OBJECT
public:
    explicit frmDebug(QWidget *owner = nullptr);
    ~frmDebug() override;
    QListWidget *List1 = nullptr;

protected:
    void closeEvent(QCloseEvent *e) override;
};

// The monitor command (menu and a double-click on "Tx" or "Rx"): shows the
// window and sets monitoron; does nothing while it is shown.
void showmonitor();
// The shown monitor, or null.
frmDebug *monitorwindow();

}  // namespace zk::positions
