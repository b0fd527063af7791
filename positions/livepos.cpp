#include "positions/livepos.h"

#include <QAction>
#include <QCoreApplication>

#include "base/longop.h"
#include "base/mainframe.h"
#include "base/routines.h"
#include "base/settings.h"
#include "msgbox.h"
#include "paths.h"
#include "positions/frmDebug.h"
#include "positions/frmGPS.h"
#include "positions/livestate.h"
#include "positions/serialgps.h"
#include "positions/sharing.h"
#include "radio/radiohooks.h"

namespace zk::positions {

namespace {

class LiveActions final : public TickActions {
public:
    TickParams params() override
    {
        TickParams p;
        p.flags = settings.gpsflags;
        p.gpstx = settings.gpstx;
        p.gpsdraw = settings.gpsdraw;
        p.gpsplay = settings.gpsplay;
        p.busy = runflag != 0;
        return p;
    }
    bool readnmea() override { return positions::readnmea(); }
    bool receiveposition() override { return positions::receiveposition(); }
    void pumpevents() override { QCoreApplication::processEvents(); }
    void sendmyposition() override { sendposition(settings.gpsunit); }
    void sendgprmc() override { positions::sendgprmc(); }
    void replaystep() override { positions::replaystep(); }
    void drawmyunit() override
    {
        if (tableunit(settings.gpsunit) && livehooks.drawunit) livehooks.drawunit(settings.gpsunit);
    }
    void drawnets() override
    {
        if (livehooks.drawnets) livehooks.drawnets();
    }
    void lightidle(int light) override { paintlight(light, kLightIdle); }
    bool &redrawneeded() override { return zk::redrawneeded; }
};

bool ticking = false;

}  // namespace

QString logpath(bool forReplay)
{
    const QString name = settings.gpslog;
    if (pathof(name).isEmpty()) return forReplay ? paths::dataFile(name) : paths::writableDataFile(name);
    return paths::resolve(name);
}

void applygps()
{
    closelog();
    closecomport();
    closeudp();

    if (settings.gpsflags & kFlagReplay) {
        const QString log = logpath(true);
        if (!openlogread(log)) {
            // Without its log a replay would hold the live channels closed
            // and move nothing: it is not started.
            settings.gpsflags &= ~kFlagReplay;
            msgbox(QStringLiteral("Journal GPS introuvable :") + QLatin1Char('\n') + log, mbExclamation | mbOK);
        }
    }
    if (!(settings.gpsflags & kFlagReplay)) {
        if (settings.gpsflags & (kFlagSend | kFlagShare)) openudp(mainform ? mainform->label2() : nullptr);
        if (settings.gpsflags & (kFlagGps | kFlagSimulate)) opencomport(settings.gpscom, settings.gpsbaud);
        if (settings.gpsflags & kFlagLog) openlogappend(logpath(false));
    }
    sched.nextplay = sched.nextdraw = sched.nexttx = 0;
}

void Timer1_Timer()
{
    // The receive loop pumps events, in which the timer may fire again:
    // that tick is skipped rather than run inside this one.
    if (ticking) return;
    ticking = true;
    LiveActions a;
    tick(now(), sched, a);
    ticking = false;
}

void installpositions()
{
    radiohooks.sendposition = [](int unit) { sendposition(unit); };
    if (!mainform || mainform->property("positionsInstalled").toBool()) return;
    mainform->setProperty("positionsInstalled", true);
    if (QAction *a = mainform->action(QStringLiteral("mnuViewGPS"))) {
        QObject::connect(a, &QAction::triggered, mainform, [] { showgpswindow(); });
        a->setEnabled(true);
    }
    if (QAction *a = mainform->action(QStringLiteral("mnuMonitor"))) {
        QObject::connect(a, &QAction::triggered, mainform, [] { showmonitor(); });
        a->setEnabled(true);
    }
}

}  // namespace zk::positions
