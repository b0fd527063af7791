#include "hooks.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include "map/mapfile.h"
#include "paths.h"
#include "pictures/cursor.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "positions/livepos.h"
#include "positions/serialgps.h"
#include "positions/sharing.h"
#include "radio/netdoc.h"
#include "radio/unitdraw.h"
#include "shell/mainwindow.h"
#include "shell/screen.h"
#include "shell/settings.h"

namespace zk::hooks {

void loadellipsoid(const QString &) {}

void openpicture(const QString &name, int16_t kind) { zk::openpicture(name, kind); }

bool openmap(const QString &name) { return zk::openmap(name); }

void opennet(const QString &name) { zk::opennet(name); }

void addmru(QString &file) { file = file.trimmed(); }

void restoremru()
{
    std::array<QString, 4> kept;
    size_t k = 0;
    for (const QString &f : settings.mru)
        if (!f.isEmpty() && paths::exists(f)) kept[k++] = f;
    settings.mru = kept;
}

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

bool queryunload(frmMain &w)
{
    w.timer1()->stop();
    positions::closelog();
    WindowPlacement p;
    p.normal = !(w.isMaximized() || w.isMinimized() || w.isFullScreen());
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    p.left = w.pos().x() * tx;
    p.top = w.pos().y() * ty;
    p.width = w.width() * tx;
    p.height = w.height() * ty;
    writeexitsettings(p);
    closecomport();
    closeudp();
    stopwinsock();
    return false;
}

}  // namespace zk::hooks
