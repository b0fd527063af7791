// A second workstation for the sharing test: the sharing module in its own
// process. It sends its unit to the group every 100 ms and waits until the
// other unit arrives at the expected position.
//
//   sharepeer GROUP PORT MYUNIT LON LAT OTHERUNIT OTHERLON OTHERLAT
//
// Prints "GOT lon lat name" and ends with 0 once the other unit is within
// one second of arc of its expected position (after sending for another
// half second, so that the other side hears it too); 2 after 15 s.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cmath>
#include <cstdio>

#include "base/settings.h"
#include "positions/schedule.h"
#include "positions/sharing.h"
#include "radio/radiodata.h"

using namespace zk;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 9) return 3;
    const int me = a[3].toInt(), other = a[6].toInt();
    if (me < 1 || me > kUnits || other < 1 || other > kUnits) return 3;
    writesetting(QStringLiteral("GPSinterface"), QStringLiteral("lo"));
    settings.gpsflags = positions::kFlagShare | positions::kFlagSend;
    settings.gpsunit = int16_t(me);
    settings.gpsaddr = a[1];
    settings.gpsport = a[2].toInt();
    settings.gpsttl = 1;
    units[me].lon = a[4].toFloat();
    units[me].lat = a[5].toFloat();
    setFixedText(units[me].name, QStringLiteral("Pair %1").arg(me));
    const double wantLon = a[7].toDouble(), wantLat = a[8].toDouble();

    positions::startwinsock();
    positions::openudp(nullptr);
    if (!positions::udpopen()) return 4;

    QElapsedTimer t, since;
    t.start();
    bool got = false;
    while (t.elapsed() < 15000) {
        positions::sendposition(me);
        while (positions::receiveposition()) {
        }
        const UnitRecord &u = units[other];
        if (!got && std::fabs(u.lon - wantLon) < 1 / 3600.0 && std::fabs(u.lat - wantLat) < 1 / 3600.0) {
            got = true;
            since.start();
            std::printf("GOT %.6f %.6f %s\n", double(u.lon), double(u.lat), qPrintable(fixedText(u.name)));
            std::fflush(stdout);
        }
        if (got && since.elapsed() > 500) return 0;
        QThread::msleep(100);
    }
    return 2;
}
