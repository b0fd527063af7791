#include "positions/sharing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QLabel>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QTime>
#include <QTimer>
#include <QUdpSocket>

#include <cmath>
#include <cstring>
#include <deque>
#include <memory>

#include "base/longop.h"
#include "base/mainframe.h"
#include "base/settings.h"
#include "cp1252.h"
#include "map/geotext.h"
#include "map/mapdata.h"
#include "positions/datagram.h"
#include "positions/frmDebug.h"
#include "positions/livestate.h"
#include "radio/radiodata.h"
#include "radio/radiohooks.h"

namespace zk::positions {

namespace {

constexpr qint64 kReceiveBuffer = 1536;
constexpr quint16 kDefaultPort = 3500;  // the default of the GPSport key
// A datagram this program sent comes back from the group (multicast
// loopback) within moments; one seen again within this time is our own.
constexpr qint64 kEchoMs = 10000;

// Start-up result of the socket layer (0 = started) and its description.
int wsaresult = -1;
QString wsadescription;

std::unique_ptr<QUdpSocket> sock;
QHostAddress destaddr;
quint16 destport = 0;

struct Sent {
    QByteArray bytes;
    qint64 at = 0;
};
std::deque<Sent> sentlately;
QElapsedTimer sentclock;

void say(QLabel *label, const QString &text)
{
    if (label) label->setText(text);
}

qint64 sentnow()
{
    if (!sentclock.isValid()) sentclock.start();
    return sentclock.elapsed();
}

void forgetold()
{
    const qint64 t = sentnow();
    while (!sentlately.empty() && t - sentlately.front().at > kEchoMs) sentlately.pop_front();
    while (sentlately.size() > 256) sentlately.pop_front();
}

// Our own datagram, looped back by the group.
bool isecho(const QByteArray &bytes)
{
    forgetold();
    const QByteArray head = bytes.left(qsizetype(kDatagramSize));
    for (const Sent &s : sentlately)
        if (s.bytes == head) return true;
    return false;
}

QNetworkInterface chooseinterface()
{
    const QString name = multicastinterface();
    if (!name.isEmpty()) return QNetworkInterface::interfaceFromName(name);
    QNetworkInterface loopback;
    for (const QNetworkInterface &i : QNetworkInterface::allInterfaces()) {
        const auto f = i.flags();
        if (!(f & QNetworkInterface::IsUp) || !(f & QNetworkInterface::IsRunning)) continue;
        bool v4 = false;
        for (const QNetworkAddressEntry &e : i.addressEntries())
            v4 = v4 || e.ip().protocol() == QAbstractSocket::IPv4Protocol;
        if (!v4) continue;
        if (f & QNetworkInterface::IsLoopBack) {
            if (!loopback.isValid()) loopback = i;
            continue;
        }
        if (f & QNetworkInterface::CanMulticast) return i;
    }
    return loopback;
}

QString controlsShown(const QByteArray &b)
{
    QByteArray c = b;
    for (char &ch : c)
        if (uint8_t(ch) < 32 || uint8_t(ch) == 127) ch = '?';
    return fromCp1252(c);
}

}  // namespace

QString multicastinterface() { return readsetting(QStringLiteral("GPSinterface"), "").trimmed(); }

void startwinsock()
{
    // Qt's sockets need no start-up of their own; the layer is ready.
    wsaresult = 0;
    wsadescription = QStringLiteral("Sockets UDP Qt %1").arg(QLatin1String(qVersion()));
    if (mainform) mainform->timer1()->start(200);
}

void stopwinsock()
{
    if (mainform) {
        mainform->timer1()->stop();
        mainform->timer1()->setInterval(0);
    }
    closeudp();
    wsaresult = -1;
}

bool udpopen() { return sock != nullptr; }
QUdpSocket *udpsocket() { return sock.get(); }

// "localhost" and the names under it are the loopback on every machine
// (RFC 6761): they are answered here, so that a system without a hosts file
// or with a resolver that does not know them still reaches its own loopback.
namespace {
bool isloopbackname(QString name)
{
    name = name.toLower();
    if (name.endsWith(QLatin1Char('.'))) name.chop(1);
    return name == QLatin1String("localhost") || (name.size() > 10 && name.endsWith(QLatin1String(".localhost")));
}
}  // namespace

QString resolvehost(const QString &name)
{
    const QString n = name.trimmed();
    if (isloopbackname(n)) return QStringLiteral("127.0.0.1");
    return livehooks.resolve ? livehooks.resolve(n) : QString();
}

void openudp(QLabel *label)
{
    closeudp();
    if (wsaresult != 0) {
        say(label, QStringLiteral("Echec d'initialisation de WinSock 2!"));
        return;
    }
    say(label, wsadescription);

    auto s = std::make_unique<QUdpSocket>();
    // A port outside 1..65535 (a damaged or hand-edited setting) is not
    // wrapped into another one: the key's default is used instead.
    const quint16 port = settings.gpsport >= 1 && settings.gpsport <= 65535 ? quint16(settings.gpsport) : kDefaultPort;
    s->bind(QHostAddress(QHostAddress::AnyIPv4), port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);

    const QString addr = settings.gpsaddr.trimmed();
    destport = port;
    destaddr = QHostAddress();
    QHostAddress dotted;
    const bool isdotted = dotted.setAddress(addr) && dotted.protocol() == QAbstractSocket::IPv4Protocol;

    if (addr == QLatin1String("255.255.255.255")) {
        s->setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
        destaddr = QHostAddress(QHostAddress::Broadcast);
        say(label, QStringLiteral("Prêt à recevoir ..."));
        sock = std::move(s);
        return;
    }
    if (isdotted) {
        destaddr = dotted;
    } else {
        say(label, QStringLiteral("Recherche de ") + addr + QStringLiteral("..."));
        QCoreApplication::processEvents();
        const QString ip = resolvehost(addr);
        QHostAddress found;
        if (ip.isEmpty() || !found.setAddress(ip)) {
            if (label) label->setText(label->text() + QStringLiteral("Erreur!"));
            return;
        }
        destaddr = found;
    }

    if (settings.gpsflags & (kFlagSend | kFlagShare)) {
        showlight(kLightTx, true);
        armlight(kLightTx);
    }
    if (settings.gpsflags & kFlagShare) {
        showlight(kLightRx, true);
        armlight(kLightRx);
    }
    say(label, QStringLiteral("Prêt à recevoir ..."));

    // The interface for the group is chosen, not left to the routing table,
    // so that a machine without a multicast route (and the tests, on the
    // loopback) still reach the group.
    const QNetworkInterface iface = chooseinterface();
    if (iface.isValid()) s->setMulticastInterface(iface);
    s->setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
    const bool joined = iface.isValid() ? s->joinMulticastGroup(destaddr, iface) : s->joinMulticastGroup(destaddr);
    if (!joined) say(label, QStringLiteral("Groupe inaccessible, essayer le mode unicast."));
    s->setSocketOption(QAbstractSocket::MulticastTtlOption, int(settings.gpsttl));
    sock = std::move(s);
}

void closeudp()
{
    paintlight(kLightTx, kLightClosed);
    paintlight(kLightRx, kLightClosed);
    if (sock) {
        sock->close();
        sock.reset();
    }
    showlight(kLightTx, false);
    showlight(kLightRx, false);
    // A closed channel has no time-out pending.
    sched.ledtime[kLightTx] = 0;
    sched.ledtime[kLightRx] = 0;
}

QByteArray positiondatagram(int unit, const UnitRecord &record)
{
    // Copies: the record keeps its exact position (the texts wrap and
    // clamp the value they are given).
    double lon = std::isfinite(record.lon) ? double(record.lon) : 0.0;
    double lat = std::isfinite(record.lat) ? double(record.lat) : 0.0;
    const QString text = QStringLiteral("%1 ").arg(unit, 2, 10, QLatin1Char('0')) + londms(lon) + QLatin1Char(' ') +
                         latdms(lat) + QLatin1Char(' ');
    QByteArray b = toCp1252(text);
    b.append(record.name, qsizetype(sizeof record.name));
    return b.left(99);
}

void sendposition(int unit)
{
    if (!sock || !tableunit(unit)) return;
    const QByteArray b = positiondatagram(unit, units[unit]);
    sock->writeDatagram(b, destaddr, destport);
    forgetold();
    sentlately.push_back({b.left(qsizetype(kDatagramSize)), sentnow()});
    flashlight(kLightTx);
}

QString Received::text() const { return controlsShown(bytes) + suffix; }

std::optional<Received> recvdatagram()
{
    if (!sock || !sock->hasPendingDatagrams()) return std::nullopt;
    const QNetworkDatagram d = sock->receiveDatagram(kReceiveBuffer);
    if (!d.isValid() || d.data().isEmpty()) return std::nullopt;
    Received r;
    r.bytes = d.data();
    bool ok = false;
    const quint32 a = d.senderAddress().toIPv4Address(&ok);
    const QString who = ok ? QHostAddress(a).toString() : d.senderAddress().toString();
    r.suffix = QStringLiteral("[") + who + QStringLiteral("] ") + QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    return r;
}

bool receiveposition()
{
    std::optional<Received> r = recvdatagram();
    if (!r) return false;
    if (!(settings.gpsflags & kFlagShare)) {
        // Not sharing: whatever waits is read and dropped.
        for (int n = 0; n < kMaxDatagramsPerTick && recvdatagram(); ++n) {
        }
        return false;
    }

    const auto *bytes = reinterpret_cast<const uint8_t *>(r->bytes.constData());
    const std::optional<PositionDatagram> d = parsedatagram(bytes, size_t(r->bytes.size()));
    if (d && d->unit != settings.gpsunit && !isecho(r->bytes)) {
        UnitRecord &u = units[d->unit];
        std::memcpy(u.name, d->name, sizeof u.name);
        const float lon = float(d->lon), lat = float(d->lat);
        // The same position, also when ours is finer than whole seconds:
        // the stored value is the better one.
        bool same = lon == u.lon && lat == u.lat;
        if (!same) {
            const QByteArray mine = positiondatagram(d->unit, u);
            const auto m = parsedatagram(reinterpret_cast<const uint8_t *>(mine.constData()), size_t(mine.size()));
            same = m && m->lon == d->lon && m->lat == d->lat;
        }
        u.enabled = -1;
        if (!same) {
            redrawneeded = true;
            u.lon = lon;
            u.lat = lat;
            float x = 0, y = 0, elev = u.elev;
            if (gridpoint(lon, lat, x, y, elev)) u.elev = elev;
            if (runflag == 0 && !(settings.gpsflags & kFlagDeferred) && livehooks.drawunit) livehooks.drawunit(d->unit);
        }
        if (!monitoron && mainform)
            mainform->label2()->setText(QStringLiteral("Rx ") + r->suffix + QLatin1Char(' ') + fixedText(u.name).trimmed());
    }
    flashlight(kLightRx);
    logmonitor(r->text());
    return true;
}

}  // namespace zk::positions
