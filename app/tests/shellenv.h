// What the shell's command tests share: a real main window on a private
// per-user folder and working folder, an empty settings store, a clean
// document, and scripted file dialogs.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

#include "app/mainwindow.h"
#include "app/shutdown.h"
#include "base/dialogs.h"
#include "base/longop.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "paths.h"
#include "pictures/frmPic.h"
#include "radio/radiodata.h"

namespace shelltest {

inline void clearStore()
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
    s.clear();
    s.sync();
}

// Scripted file dialogs: each call takes the next answer ("" = Cancel;
// "" too once the script has run dry) and records what it was shown.
struct FileCall {
    bool save = false;
    QString proposed, filter, title;
};
inline QStringList &fileAnswers()
{
    static QStringList a;
    return a;
}
inline QList<FileCall> &fileCalls()
{
    static QList<FileCall> c;
    return c;
}
inline QString scriptedFile(bool save, const QString &proposed, const QString &filter, const QString &title)
{
    fileCalls().append({save, proposed, filter, title});
    return fileAnswers().isEmpty() ? QString() : fileAnswers().takeFirst();
}

inline bool writeFile(const QString &path, const QByteArray &bytes = QByteArray("x"))
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A picture with a pattern: pixel (x, y) = RGB(x, y, 7).
inline QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGBX8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixelColor(x, y, QColor(x & 255, y & 255, 7));
    return img;
}

class Env {
public:
    QTemporaryDir tmp;
    std::unique_ptr<zk::frmMain> w;
    QString startDir;

    Env()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        startDir = QDir::currentPath();
        QDir::setCurrent(tmp.path());
        zk::paths::setUserFolder(tmp.path());
        clearStore();
        zk::settings = zk::AppSettings{};
        zk::netmodified = false;
        zk::mapmodified = false;
        zk::runflag = 0;
        zk::mapfile = QStringLiteral("default.map");
        zk::shutdownwait_ms = 0;
        fileAnswers().clear();
        fileCalls().clear();
        zk::dialogHooks.file = scriptedFile;
        w = std::make_unique<zk::frmMain>();
        w->resize(900, 700);
        w->show();
        QCoreApplication::processEvents();
    }
    ~Env()
    {
        zk::runflag = 0;
        for (zk::frmPic *p : zk::picwindows()) delete p;
        w.reset();
        QCoreApplication::processEvents();
        zk::dialogHooks.file = nullptr;
        zk::paths::setUserFolder(QString());
        QDir::setCurrent(startDir);
    }
    QString path(const QString &name) const { return tmp.path() + QLatin1Char('/') + name; }
};

}  // namespace shelltest
