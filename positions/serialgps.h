// The GPS receiver on a serial port: COM1..COM8 opened on the device that
// setting `GPSdevice<n>` names (default /dev/ttyS<n-1>), sentences
// assembled and checked at each tick, $GPRMC fixes moving my unit, the GPS
// log written and replayed, and the simulated GPS writing $GPRMC.
#pragma once

#include <QString>

#include <string_view>

class QSerialPort;

namespace zk::positions {

// The device of port COMn.
QString comdevice(int n);

// Closes any open port, shows the "GPS" light, then opens COMp at the bit
// rate when 1 <= p <= 8 and 4800 <= b <= 9600.
void opencomport(int p, int b);
// Closes the port and the "GPS" light.
void closecomport();
bool comopen();
QSerialPort *comport();

// Reads what waits on the port and handles every sentence it completes;
// true when at least one checksum-valid sentence was completed.
bool readnmea();

// Applies a $GPRMC sentence to my unit and the message pane; other
// sentences and sentences without a usable position change nothing.
void parsegprmc(std::string_view sentence);

// The message-pane text of a fix: "hh:mm:ssUTC 000.0km/hr 000.0°" with the
// system's decimal separator.
QString fixtext(const QString &time, double speed_kmh, double course_deg);

// Writes one $GPRMC sentence with my unit's position to the port.
void sendgprmc();

// The GPS log: open for appending (logging) or reading (replay).
bool openlogappend(const QString &path);
bool openlogread(const QString &path);
void closelog();
bool logopen();
// Reads log lines until one $GPRMC fix has been handled or the log ends;
// at its end the replay stops (bit 2 cleared, log closed).
void replaystep();

// Clears the sentence assembler (tests).
void resetassembler();

}  // namespace zk::positions
