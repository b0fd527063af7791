#include "positions/serialgps.h"

#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QSerialPort>

#include <cmath>
#include <memory>

#include "base/mainframe.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "positions/livestate.h"
#include "positions/nmea.h"
#include "radio/radiodata.h"
#include "radio/radiohooks.h"

namespace zk::positions {

namespace {

std::unique_ptr<QSerialPort> port;
NmeaAssembler assembler;
std::unique_ptr<QFile> gpslogfile;
bool logreading = false;

// The mask "000.0" with the system's decimal separator.
QString mask31(double v)
{
    if (!std::isfinite(v)) v = 0;
    QString s = QString::asprintf("%05.1f", std::fabs(v));
    if (v < 0 && s != QLatin1String("000.0")) s.prepend(QLatin1Char('-'));
    return s.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

// Appends one sentence to the log, as it was assembled.
void logsentence(const std::string &s)
{
    if (!gpslogfile || logreading) return;
    gpslogfile->write(s.data(), qint64(s.size()));
    gpslogfile->write("\r\n", 2);
    gpslogfile->flush();
}

}  // namespace

QString comdevice(int n)
{
    return readsetting(QStringLiteral("GPSdevice%1").arg(n), QStringLiteral("/dev/ttyS%1").arg(n - 1));
}

void opencomport(int p, int b)
{
    if (port) closecomport();
    showlight(kLightGps, true);
    if (p < 1 || p > 8 || b < 4800 || b > 9600) return;
    auto s = std::make_unique<QSerialPort>(comdevice(p));
    if (!s->open(QIODevice::ReadWrite)) return;
    // The light turns green only once the port runs at the rate asked for.
    if (s->setBaudRate(b)) armlight(kLightGps);
    port = std::move(s);
}

void closecomport()
{
    paintlight(kLightGps, kLightClosed);
    if (port) {
        port->close();
        port.reset();
    }
    showlight(kLightGps, false);
    sched.ledtime[kLightGps] = 0;
}

bool comopen() { return port != nullptr; }
QSerialPort *comport() { return port.get(); }

void resetassembler() { assembler = NmeaAssembler(); }

bool readnmea()
{
    if (!port) return false;
    // Only what is already queued: reading never waits.
    if (port->bytesAvailable() == 0) port->waitForReadyRead(0);
    const QByteArray data = port->readAll();
    if (data.isEmpty()) return false;
    const int n = assembler.feed(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()),
                                 [](const std::string &s) {
                                     parsegprmc(s);
                                     if (settings.gpsflags & kFlagLog) logsentence(s);
                                     flashlight(kLightGps);
                                 });
    return n > 0;
}

QString fixtext(const QString &time, double speed_kmh, double course_deg)
{
    return time + QStringLiteral("UTC ") + mask31(speed_kmh) + QStringLiteral("km/hr ") + mask31(course_deg) +
           QChar(0x00B0);
}

void parsegprmc(std::string_view sentence)
{
    const std::optional<RmcFix> fix = readgprmc(sentence);
    if (!fix) return;
    if (const int g = tableunit(settings.gpsunit)) {
        UnitRecord &u = units[g];
        const float lon = float(fix->lon), lat = float(fix->lat);
        if (!(lon == u.lon && lat == u.lat)) {
            u.lon = lon;
            u.lat = lat;
            float x = 0, y = 0, elev = u.elev;
            if (gridpoint(lon, lat, x, y, elev)) u.elev = elev;
            u.enabled = -1;
            redrawneeded = true;
        }
    }
    if (mainform)
        mainform->label2()->setText(fixtext(QString::fromStdString(fix->time), fix->speed_kmh, fix->course_deg));
}

void sendgprmc()
{
    if (!port) return;
    const int g = tableunit(settings.gpsunit);
    if (!g) return;
    const QDateTime t = livehooks.utcclock ? livehooks.utcclock() : QDateTime::currentDateTimeUtc();
    UtcStamp stamp;
    stamp.hour = t.time().hour();
    stamp.minute = t.time().minute();
    stamp.second = t.time().second();
    stamp.day = t.date().day();
    stamp.month = t.date().month();
    stamp.year = t.date().year();
    const std::string s = formatgprmc(units[g].lon, units[g].lat, stamp);
    port->write(s.data(), qint64(s.size()));
    port->waitForBytesWritten(1000);
}

bool openlogappend(const QString &path)
{
    closelog();
    auto f = std::make_unique<QFile>(path);
    if (!f->open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    gpslogfile = std::move(f);
    logreading = false;
    return true;
}

bool openlogread(const QString &path)
{
    closelog();
    auto f = std::make_unique<QFile>(path);
    if (!f->open(QIODevice::ReadOnly)) return false;
    gpslogfile = std::move(f);
    logreading = true;
    return true;
}

void closelog()
{
    gpslogfile.reset();
    logreading = false;
}

bool logopen() { return gpslogfile != nullptr; }

void replaystep()
{
    if (!gpslogfile || !logreading) return;
    bool handled = false;
    while (!handled && !gpslogfile->atEnd()) {
        QByteArray line = gpslogfile->readLine(4096);
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        // A line too short to carry its checksum ends this step.
        if (line.size() < 4) return;
        // Without the checksum digits and the end of the last field,
        // which the fix does not use.
        line.chop(4);
        parsegprmc(std::string_view(line.constData(), size_t(line.size())));
        if (!(settings.gpsflags & kFlagDeferred) && tableunit(settings.gpsunit) && livehooks.drawunit)
            livehooks.drawunit(settings.gpsunit);
        handled = line.startsWith("$GPRMC");
    }
    if (gpslogfile->atEnd()) {
        settings.gpsflags &= ~kFlagReplay;
        closelog();
    }
}

}  // namespace zk::positions
