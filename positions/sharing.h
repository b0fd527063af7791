// Sharing unit positions with other workstations over UDP: one socket for
// the whole program, bound to the port on every local interface, sending
// to a multicast group, the broadcast address, a unicast address or a host
// name, and polled by the timer (never announced by a signal).
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QLabel;
class QUdpSocket;

namespace zk {
struct UnitRecord;
}

namespace zk::positions {

// Start-up and end of the socket layer: the main window's timer runs at
// 200 ms between the two.
void startwinsock();
void stopwinsock();

// (Re)opens the socket for the current settings, showing its progress in
// the label (may be null).
void openudp(QLabel *label);
// Closes the socket, if any, and the "Tx" and "Rx" lights.
void closeudp();
bool udpopen();
// The socket, for tests that look at its options.
QUdpSocket *udpsocket();

// The first IPv4 address of a host name as dotted text, or "". "localhost"
// (and a name under it) is 127.0.0.1 without asking the resolver.
QString resolvehost(const QString &name);

// The 46-byte datagram of a unit, built from copies of its position (the
// unit record is not changed): the longitude wrapped into [-180, 180) and
// the latitude clamped to [-89, 89], both rounded to whole seconds.
QByteArray positiondatagram(int unit, const UnitRecord &record);

// Sends unit 1..50 to the destination; nothing without a socket.
void sendposition(int unit);

// One waiting datagram: its bytes and the sender suffix
// "[a.b.c.d] hh:mm:ss".
struct Received {
    QByteArray bytes;
    QString suffix;
    // The text the monitor lists: the bytes as 8-bit text (control bytes
    // shown as "?") followed by the suffix.
    QString text() const;
};
std::optional<Received> recvdatagram();

// Takes one datagram and applies it; true when one was taken while sharing
// is on.
bool receiveposition();

// Appends a line to the multicast monitor when it is shown.
void logmonitor(const QString &text);

// The multicast interface: setting `GPSinterface` (an interface name such
// as "lo" or "eth0"); empty chooses the first running interface that can
// multicast, else the loopback.
QString multicastinterface();

}  // namespace zk::positions
