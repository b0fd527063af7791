#include "base/hooks.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "app/mainwindow.h"
#include "app/mru.h"
#include "app/shutdown.h"
#include "map/datum.h"
#include "map/mapfile.h"
#include "pictures/cursor.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "positions/livepos.h"
#include "positions/serialgps.h"
#include "positions/sharing.h"
#include "radio/netdoc.h"
#include "radio/unitdraw.h"

namespace zk::hooks {

void loadellipsoid(const QString &file) { zk::loadellipsoid(file); }

void openpicture(const QString &name, int16_t kind) { zk::openpicture(name, kind); }

bool openmap(const QString &name) { return zk::openmap(name); }

void opennet(const QString &name) { zk::opennet(name); }

void addmru(QString &file) { zk::addmru(file); }

void restoremru() { zk::restoremru(); }

void showcursor(float lon, float lat) { zk::showcursor(lon, lat); }

void refreshcursor() { zk::showcursor(curlon, curlat); }

void clearoverlay() { zk::clearoverlay(); }

QWidget *curpicbox() { return curpic ? curpic->Picture1 : nullptr; }

void startwinsock()
{
    positions::installpositions();
    positions::startwinsock();
}

void stopwinsock() { positions::stopwinsock(); }

void applygps() { positions::applygps(); }

void timer1tick() { positions::Timer1_Timer(); }

void closecomport() { positions::closecomport(); }

void closeudp() { positions::closeudp(); }

bool queryunload(MainFrame &w) { return MDIForm_QueryUnload(static_cast<frmMain &>(w)); }

}  // namespace zk::hooks
