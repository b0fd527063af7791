// What the picture fuzz targets share: an offscreen application made once,
// a private data folder (the per-user and program folders both point there),
// Qt's warnings silenced (the offscreen platform warns of every raise),
// message boxes answered without showing anything, a small map in memory and
// one picture window of that map (hidden), repainted grey before every input
// so that no input sees what an earlier one drew.
#pragma once

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

#include "base/longop.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/frmPic.h"
#include "pictures/picbox.h"
#include "pictures/picfiles.h"

namespace {
namespace fuzzenv {

// The map and the picture: NW -10, 50; SE 10, 40 on a grid of 41 x 21.
constexpr int kCols = 41, kRows = 21;

inline QString folder()
{
    static int argc = 1;
    static char arg0[] = "fuzz";
    static char *argv[] = {arg0, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("ZK_THREADS", "1");
        // The offscreen platform warns of every window raised: noise here.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        return new QApplication(argc, argv);
    }();
    (void)app;
    static QTemporaryDir dir;
    static zk::MsgScript *script = new zk::MsgScript;  // every box answers its default button
    (void)script;
    if (!dir.isValid()) std::abort();
    zk::paths::setUserFolder(dir.path());
    zk::paths::setProgramFolder(dir.path());
    zk::settings.objectdrive = dir.path() + QStringLiteral("/disc");
    zk::settings.drawfontname = QStringLiteral("MS Sans Serif");
    zk::settings.drawfontsize = 8;
    zk::settings.drawfontbold = false;
    zk::settings.drawtransparent = false;
    return dir.path();
}

inline void writefile(const QString &path, const char *data, size_t size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    if (size && f.write(data, qint64(size)) != qint64(size)) std::abort();
}

inline QByteArray readall(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    return f.readAll();
}

inline void testmap()
{
    zk::elevgrid.redim(kCols - 1, kRows - 1);
    for (int y = 0; y < kRows; ++y)
        for (int x = 0; x < kCols; ++x) zk::elevgrid.at(x, y) = int16_t(10 * x + y);
    const float lon[4] = {-10, 10, 10, -10}, lat[4] = {50, 50, 40, 40};
    for (int k = 0; k < 4; ++k) {
        zk::mapcorners.lon[k] = lon[k];
        zk::mapcorners.lat[k] = lat[k];
    }
}

// The one picture window, grey, with the map's corners, kind `kind`.
inline zk::frmPic *picture(int16_t kind = 1)
{
    static zk::frmPic *w = nullptr;
    testmap();
    if (!w) w = zk::openpicture(QString(), -1);
    if (!w) std::abort();
    w->hide();  // drawn into all the same; painting the window is not under test
    w->Pictype = kind;
    w->lon1 = w->lon4 = -10;
    w->lon2 = w->lon3 = 10;
    w->lat1 = w->lat2 = 50;
    w->lat3 = w->lat4 = 40;
    QImage grey(kCols, kRows, QImage::Format_RGBX8888);
    grey.fill(QColor(128, 128, 128));
    w->Picture1->setPicture(grey);
    return w;
}

}  // namespace fuzzenv
}  // namespace
