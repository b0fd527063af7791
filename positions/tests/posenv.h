// Shared set-up of the live-position tests: a multicast group and port of
// this test process on the loopback interface, and the check that the
// kernel carries multicast there at all.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QString>
#include <QThread>
#include <QUdpSocket>

#include <functional>

namespace postest {

// A group and a port of this process, so that test programs running side
// by side do not hear each other.
inline QString testgroup()
{
    const qint64 pid = QCoreApplication::applicationPid();
    return QStringLiteral("239.255.%1.%2").arg((pid >> 8) % 250 + 1).arg(pid % 250 + 1);
}
inline quint16 testport(int offset = 0) { return quint16(20000 + (QCoreApplication::applicationPid() * 7 + offset) % 30000); }

// Waits (pumping events) until the condition holds or the time is up.
inline bool waitfor(const std::function<bool()> &cond, int ms = 3000)
{
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return true;
}

// Empty when this process runs inside a network namespace of its own, as
// tests/netns/in-netns.sh makes it, with the loopback as its only
// interface; else why not. Tests that send to groups or broadcast run only
// there, so that nothing they send reaches a real network.
inline QString ownnetnamespace()
{
    if (qgetenv("ZK_NETNS") != "1")
        return QStringLiteral("not started by tests/netns/in-netns.sh (no network namespace of its own)");
    for (const QNetworkInterface &i : QNetworkInterface::allInterfaces())
        if (i.name() != QLatin1String("lo"))
            return QStringLiteral("interface \"%1\" is visible: not a namespace with the loopback alone").arg(i.name());
    const QNetworkInterface lo = QNetworkInterface::interfaceFromName(QStringLiteral("lo"));
    if (!lo.isValid() || !(lo.flags() & QNetworkInterface::IsUp))
        return QStringLiteral("the loopback is not up");
    if (!(lo.flags() & QNetworkInterface::CanMulticast)) return QStringLiteral("the loopback has multicast off");
    return QString();
}

// Empty when a datagram sent to the group with the loopback as multicast
// interface comes back to a member on the loopback; else why not.
inline QString loopbackmulticast(const QString &group, quint16 port)
{
    const QNetworkInterface lo = QNetworkInterface::interfaceFromName(QStringLiteral("lo"));
    if (!lo.isValid()) return QStringLiteral("no loopback interface \"lo\"");
    QUdpSocket r;
    if (!r.bind(QHostAddress(QHostAddress::AnyIPv4), port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint))
        return QStringLiteral("cannot bind port %1: %2").arg(port).arg(r.errorString());
    if (!r.joinMulticastGroup(QHostAddress(group), lo))
        return QStringLiteral("the kernel refuses to join %1 on lo: %2").arg(group, r.errorString());
    QUdpSocket s;
    s.bind(QHostAddress(QHostAddress::AnyIPv4), 0);
    s.setMulticastInterface(lo);
    s.setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
    if (s.writeDatagram("probe", QHostAddress(group), port) != 5)
        return QStringLiteral("the kernel refuses to send to %1 on lo: %2").arg(group, s.errorString());
    if (!waitfor([&] { return r.hasPendingDatagrams(); }, 2000))
        return QStringLiteral("multicast sent on lo never came back (IP_MULTICAST_LOOP)");
    while (r.hasPendingDatagrams()) r.receiveDatagram();
    return QString();
}

}  // namespace postest
