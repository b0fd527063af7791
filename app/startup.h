// The start-up sequence `Main`: datum, engine presence test, the main window
// behind the banner, the document reset, settings and recent files, the
// command-line file, at least 3.0 s of banner, the cursor read-out and the
// live-position services.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace zk {

class frmMain;

struct StartupOptions {
    // The command tail: the text after the program's own name.
    QString tail;
    // How long the banner stays up at least, counted from the start time.
    double bannerSeconds = 3.0;
    // Called when the banner waits in front of the disabled main window
    // (for tests).
    std::function<void()> bannerWait;
};

// The command tail as the platform gives it: the arguments after the
// program's name, joined by blanks (a tail naming two files is judged as
// one name).
QString commandTail(const QStringList &arguments);

// What the command tail opens, judged by its last three characters without
// one trailing and one leading double quote, compared without regard to case.
enum class TailKind { None, Picture, Map, Network };
TailKind tailkind(const QString &tail);

// Runs the start-up. Returns the main window, or null when the engine
// library cannot be used (the message has been shown and the program must
// end).
frmMain *Main(const StartupOptions &options);

// The temporary directory found at the end of the start-up.
extern QString tmppath;

}  // namespace zk
