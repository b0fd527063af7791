// Shared set-up of the desktop tests: the program as a user starts it (its
// interface face and French texts, the start-up sequence on the demo
// network) on the test's own X display, and a way to act on a modal dialog
// once the window manager has really made it the active window.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/mainwindow.h"
#include "app/startup.h"
#include "paths.h"
#include "uisetup.h"

namespace desktoptest {

// The demo network beside the programs (written by the build).
inline QString demoNetwork() { return zk::paths::programFolder() + QStringLiteral("/demo/demo.net"); }

// Starts the program as its main() does, on the demo network, with no
// banner time. Null when the start-up failed.
inline zk::frmMain *startOnDemo()
{
    zk::ui::setUpInterface();
    if (!QFileInfo::exists(demoNetwork())) return nullptr;
    zk::StartupOptions o;
    o.tail = demoNetwork();
    o.bannerSeconds = 0;
    zk::frmMain *w = zk::Main(o);
    if (w && !QTest::qWaitForWindowActive(w, 10000)) return nullptr;
    return w;
}

// True once `w` is the active window and holds the keyboard focus, as the
// window manager gives it (polled for at most `ms`).
inline bool waitActive(QWidget *w, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (w->isVisible() && w->isActiveWindow() && QApplication::activeWindow() == w && QApplication::focusWidget() &&
            w->isAncestorOf(QApplication::focusWidget()))
            return true;
        QTest::qWait(20);
    }
    return false;
}

// Runs `act` on the next modal dialog named `name` once it is shown and
// active (from inside its event loop). `seen` tells whether that happened;
// a dialog left open by `act` is closed so that the test goes on.
inline void whenActiveModal(const QString &name, bool &seen, std::function<void(QDialog *)> act)
{
    seen = false;
    QTimer::singleShot(0, [name, &seen, act] {
        QElapsedTimer t;
        t.start();
        QDialog *d = nullptr;
        while (!d && t.elapsed() < 10000) {
            d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (d && d->objectName() != name) d = nullptr;
            if (!d) QTest::qWait(20);
        }
        if (!d || !waitActive(d)) {
            if (d) d->reject();
            return;
        }
        seen = true;
        act(d);
        if (d->isVisible()) d->reject();
    });
}

}  // namespace desktoptest
