// What the placement and start-up desktop tests share: the program started
// in this process on a copy of the demo network, and the X server's own
// view of a window (its frame as the window manager drew it, which is
// active), read with the X tools xwininfo and xprop rather than through Qt.
#pragma once

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <optional>

#include "app/mainwindow.h"
#include "app/startup.h"
#include "base/settings.h"
#include "engine.h"

namespace desktop {

// Output of an X tool; an empty text when it cannot run.
inline QString xtool(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(5000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return QString();
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Runs an X tool; true when it ended well.
inline bool xrun(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    return p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// True when the X tools the tests read the screen with are there.
inline bool haveXTools()
{
    QProcess p;
    p.start(QStringLiteral("xwininfo"), {QStringLiteral("-version")});
    const bool a = p.waitForFinished(5000);
    QProcess q;
    q.start(QStringLiteral("xprop"), {QStringLiteral("-version")});
    return a && q.waitForFinished(5000);
}

inline QString hexId(const QWidget *w) { return QStringLiteral("0x") + QString::number(quint64(w->winId()), 16); }

// The client area of a top-level window on the screen, as the X server has
// it, when the window is mapped.
inline std::optional<QRect> xClient(const QWidget *w)
{
    const QString out = xtool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), hexId(w)});
    if (!out.contains(QStringLiteral("IsViewable"))) return std::nullopt;
    auto num = [&](const char *label) {
        const QRegularExpression re(QString::fromLatin1(label) + QStringLiteral(":\\s*(-?\\d+)"));
        const auto m = re.match(out);
        return m.hasMatch() ? std::optional<int>(m.captured(1).toInt()) : std::nullopt;
    };
    const auto x = num("Absolute upper-left X"), y = num("Absolute upper-left Y");
    const auto wd = num("Width"), ht = num("Height");
    if (!x || !y || !wd || !ht) return std::nullopt;
    return QRect(*x, *y, *wd, *ht);
}

// The frame the window manager put around a window: its client area grown
// by the extents the window manager announces (_NET_FRAME_EXTENTS: left,
// right, top, bottom); none before the window manager has framed it.
inline std::optional<QRect> xFrame(const QWidget *w)
{
    const auto client = xClient(w);
    if (!client) return std::nullopt;
    const QString out = xtool(QStringLiteral("xprop"), {QStringLiteral("-id"), hexId(w), QStringLiteral("_NET_FRAME_EXTENTS")});
    const auto m = QRegularExpression(QStringLiteral("=\\s*(\\d+),\\s*(\\d+),\\s*(\\d+),\\s*(\\d+)")).match(out);
    if (!m.hasMatch()) return std::nullopt;
    const int l = m.captured(1).toInt(), r = m.captured(2).toInt(), t = m.captured(3).toInt(), b = m.captured(4).toInt();
    if (l + r + t + b == 0) return std::nullopt;
    return client->adjusted(-l, -t, r, b);
}

// The screen's size as the X server has it.
inline QSize xScreen()
{
    const QString out = xtool(QStringLiteral("xwininfo"), {QStringLiteral("-root")});
    const auto w = QRegularExpression(QStringLiteral("Width:\\s*(\\d+)")).match(out);
    const auto h = QRegularExpression(QStringLiteral("Height:\\s*(\\d+)")).match(out);
    return w.hasMatch() && h.hasMatch() ? QSize(w.captured(1).toInt(), h.captured(1).toInt()) : QSize();
}

// The window the window manager holds active (_NET_ACTIVE_WINDOW), 0 when none.
inline quint64 xActive()
{
    const QString out = xtool(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")});
    const auto m = QRegularExpression(QStringLiteral("window id # (0x[0-9a-fA-F]+)")).match(out);
    return m.hasMatch() ? m.captured(1).toULongLong(nullptr, 16) : 0;
}

inline bool isXActive(const QWidget *w) { return w && xActive() == quint64(w->winId()); }

// Waits (processing events) until the window is framed and its frame has
// stayed the same for a moment; the last frame seen.
inline std::optional<QRect> settledFrame(const QWidget *w, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    std::optional<QRect> last;
    int same = 0;
    while (t.elapsed() < timeoutMs) {
        QTest::qWait(40);
        const auto f = xFrame(w);
        if (f && last && *f == *last) {
            if (++same >= 4) return f;
        } else {
            same = 0;
        }
        last = f;
    }
    return last;
}

// Waits until the window manager holds the window active.
inline bool waitXActive(const QWidget *w, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        if (isXActive(w) && QApplication::activeWindow() == w) return true;
        QTest::qWait(40);
    }
    return false;
}

// A copy of the demo network (with its map, picture and the picture's
// calibration) in a folder of its own, so that nothing a test does touches
// the shipped one; the network file's path, or empty when it is missing.
inline QString copyDemo(const QTemporaryDir &dir)
{
    const QDir demo(QStringLiteral(ZK_DEMO_DIR));
    for (const QString &name : demo.entryList(QDir::Files)) {
        if (!QFile::copy(demo.filePath(name), dir.filePath(name))) return QString();
    }
    const QString net = dir.filePath(QStringLiteral("demo.net"));
    return QFile::exists(net) ? net : QString();
}

// Starts the program on a network file as its command line would, with no
// banner wait; the main window, or null.
inline zk::frmMain *startOn(const QString &net)
{
    zk::engine::setLibraryName("libzelkor32.so");
    zk::StartupOptions o;
    o.tail = net;
    o.bannerSeconds = 0;
    return zk::Main(o);
}

}  // namespace desktop
