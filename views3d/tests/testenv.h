// Shared set-up of the 3D-view tests under the offscreen platform: the
// small test maps, units placed on them, pixels read as RGB numbers, the
// map's 2D picture in a picture window, answers to modal dialogs, Stop
// pressed during a long operation, the station views' radio link, and the
// stand-in main window with the program's settings cleared (the base of the
// test classes). The widget-free half is in mapenv.h.
#pragma once

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/mainwindow.h"
#include "base/longop.h"
#include "base/screen.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "mapenv.h"
#include "paths.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "radio/frmLink.h"
#include "radio/radiodata.h"
#include "views3d/frmAnimate.h"
#include "views3d/install3d.h"

namespace viewtest {

// ---- Maps -------------------------------------------------------------

// The station-view map: (ux + 1) x (uy + 1) cells on corners from 8 E and
// 40 N, 64 cells a degree both ways, uy x 0.2 km from south to north, so
// that cells are exactly 1/64 degree both ways and 200 m each for the
// drawing and the profile (the scale they take from the map's extent).
inline void setFineMap(int16_t (*elev)(int x, int y) = nullptr, int ux = 128, int uy = 40)
{
    fillGrid(ux, uy, elev);
    setCorners(8, 40, float(8 + ux / 64.0), float(40 + uy / 64.0));
    zk::mapset.size = float(uy * 0.2);
}
inline float fineLon(double x) { return float(8 + x / 64.0); }
inline float fineLat(double y) { return float(40 + y / 64.0); }

// The 3D-picture map: (ux + 1) x (uy + 1) cells (41 x 31 by default) on
// corners from `west` (10 W by default) and 40 N, half a degree a cell both
// ways (exact in single precision), 10 km from south to north.
inline void setHalfDegreeMap(int16_t (*elev)(int x, int y) = nullptr, int ux = 40, int uy = 30, float west = -10)
{
    fillGrid(ux, uy, elev);
    setCorners(west, 40, west + ux * 0.5f, 40 + uy * 0.5f);
    zk::mapset.size = 10;
}
// Longitude and latitude of a cell of the half-degree map from 10 W.
inline float halfLon(double x) { return float(-10 + x * 0.5); }
inline float halfLat(double y) { return float(40 + y * 0.5); }

// The map's settings cleared, then a shaded relief of contrast 30 and
// brightness 70 lit from 335 degrees, in `mode`, `size` km from south to
// north, its colours from 0 to `maxx` m, the highest ground at `hmax` m.
inline void setShading(int16_t mode, float size, float maxx, float hmax)
{
    zk::mapset = MapSettings{};
    zk::mapset.Mapmode = mode;
    zk::mapset.con = 30;
    zk::mapset.bri = 70;
    zk::mapset.light = 335;
    zk::mapset.size = size;
    zk::mapset.minx = 0;
    zk::mapset.maxx = maxx;
    zk::mapset.hmax = hmax;
}

// ---- Units ------------------------------------------------------------

// Unit u at (lon, lat), its ground at `elev`.
inline void setUnit(int u, float lon, float lat, float elev = 0)
{
    zk::units[u].lon = lon;
    zk::units[u].lat = lat;
    zk::units[u].elev = elev;
}

// Unit u at cell (x, y) of the station-view map with a name, enabled, its
// ground elevation given.
inline void placeUnit(int u, double x, double y, const char *name, float elev = 0)
{
    setUnit(u, fineLon(x), fineLat(y), elev);
    zk::units[u].enabled = -1;
    zk::setFixedText(zk::units[u].name, QString::fromLatin1(name));
}

// ---- Pixels -----------------------------------------------------------

constexpr uint32_t kGrey = 0x808080;  // an empty picture box's background

constexpr uint32_t rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

inline uint32_t rgbAt(const QImage &img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return uint32_t(qRed(p)) | uint32_t(qGreen(p)) << 8 | uint32_t(qBlue(p)) << 16;
}

// White pixels (the target marker's outer ring) within 6 pixels of the
// picture's centre.
inline int whiteNearCentre(const QImage &img)
{
    const int cx = int(std::nearbyint(img.width() / 2.0)), cy = int(std::nearbyint(img.height() / 2.0));
    int n = 0;
    for (int y = cy - 6; y <= cy + 6; ++y)
        for (int x = cx - 6; x <= cx + 6; ++x)
            if (x >= 0 && y >= 0 && x < img.width() && y < img.height() && rgbAt(img, x, y) == 0xFFFFFF) ++n;
    return n;
}

// ---- Pictures ---------------------------------------------------------

// A new picture window showing `img` as a 2D picture of the map in memory
// (the map's corners), made the current picture.
inline zk::frmPic *mapPicture(const QImage &img)
{
    zk::frmPic *w = zk::openpicture(QString(), -1);
    if (!w) return nullptr;
    w->Picture1->setPicture(img);
    w->Pictype = 1;
    w->lon1 = zk::mapcorners.lon[0]; w->lat1 = zk::mapcorners.lat[0];
    w->lon2 = zk::mapcorners.lon[1]; w->lat2 = zk::mapcorners.lat[1];
    w->lon3 = zk::mapcorners.lon[2]; w->lat3 = zk::mapcorners.lat[2];
    w->lon4 = zk::mapcorners.lon[3]; w->lat4 = zk::mapcorners.lat[3];
    zk::curpic = w;
    return w;
}

// The map's 2D picture from "test.map": one pixel per grid cell (or the
// given size) whose pixel (x, y) is RGB(kx x, ky y, 7), each channel taken
// modulo 256 (never white), made the current picture.
inline zk::frmPic *source(QSize size = QSize(), int kx = 1, int ky = 1)
{
    if (!size.isValid()) size = QSize(zk::elevgrid.nx(), zk::elevgrid.ny());
    QImage img(size, QImage::Format_RGBX8888);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) img.setPixelColor(x, y, QColor((kx * x) & 255, (ky * y) & 255, 7));
    zk::frmPic *w = mapPicture(img);
    if (w) w->source = QStringLiteral("test.map");
    return w;
}

// ---- Dialogs ----------------------------------------------------------

// Runs `act` on the next modal dialog once it is up; with a name, the
// dialog must be the one of that object name.
inline void whenmodal(const char *name, std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [name, act] {
        QWidget *m = QApplication::activeModalWidget();
        if (name) {
            QVERIFY2(m && m->objectName() == QLatin1String(name), name);
        } else {
            QVERIFY(m);
        }
        act(m);
    });
}
inline void whenmodal(std::function<void(QWidget *)> act) { whenmodal(nullptr, std::move(act)); }

// ---- Long operations ------------------------------------------------

// Presses the main window's Stop on the nth turn of the event loop that
// finds the long operation `op` running, from its making until stop().
class StopDuring {
public:
    StopDuring(zk::frmMain &main, int op, int nth)
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, &main, op, nth] {
            if (zk::runflag == op && ++turns_ == nth) main.mnuStop()->trigger();
        });
        timer_.start();
    }
    void stop() { timer_.stop(); }

private:
    QTimer timer_;
    int turns_ = 0;
};

// ---- The radio link ---------------------------------------------------

// The link of the station-view tests: from unit 1 to unit 2 on network 0,
// antennas 10 m and 30 m high by default, no field of view chosen yet, no
// current picture.
inline void setLink()
{
    zk::settings.defh1 = 10;
    zk::settings.defh2 = 30;
    zk::linka = 1;
    zk::linkb = 2;
    zk::linknet = 0;
    zk::lastangle = 0;
    zk::curpic = nullptr;
}

// ---- The main window --------------------------------------------------

// The base of a test class: the stand-in main window, started before the
// first test and stopped after the last; a test class that needs more at
// either end declares its own initTestCase or cleanupTestCase and calls
// startMain or stopMain from it.
class MainEnv : public QObject {
    Q_OBJECT

protected:
    enum Setup {
        UserFolder = 1,  // a temporary folder's "user" as the per-user folder
        Hooks3D = 2,     // the 3D pictures' hooks installed
    };
    explicit MainEnv(int setup = UserFolder | Hooks3D) : setup_(setup)
    {
        if (setup_ & UserFolder) tmp = std::make_unique<QTemporaryDir>();
    }

    std::unique_ptr<zk::frmMain> main;
    std::unique_ptr<QTemporaryDir> tmp;  // with UserFolder

    // The per-user folder set at the start; empty without UserFolder.
    QString userFolder() const { return tmp ? tmp->filePath(QStringLiteral("user")) : QString(); }

    // The program's settings cleared, the user folder set, a 1024 x 768
    // screen and the main window shown at 900 x 700.
    void startMain()
    {
        QLocale::setDefault(QLocale::c());
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
        s.clear();
        if (setup_ & UserFolder) zk::paths::setUserFolder(userFolder());
        zk::setScreenPixels(QSize(1024, 768));
        main = std::make_unique<zk::frmMain>();
        main->resize(900, 700);
        main->show();
        if (setup_ & Hooks3D) zk::install3dhooks();
        QApplication::processEvents();
    }

    void stopMain()
    {
        closeAll();
        main.reset();
        zk::setScreenPixels(QSize());
        zk::paths::setUserFolder(QString());
    }

    // Ends any operation and closes the radio-link window, the flight panel
    // and every window inside the main window.
    virtual void closeAll()
    {
        zk::runflag = 0;
        if (zk::frmLink *l = zk::frmLink::instance()) delete l;
        if (zk::frmAnimate *p = zk::frmAnimate::instance()) delete p;
        for (QMdiSubWindow *s : main->mdiArea()->subWindowList()) delete s;
        QApplication::processEvents();
    }

    // The status pane's text.
    QString pane() const { return main->label2()->text(); }

private slots:
    void initTestCase() { startMain(); }
    void cleanupTestCase() { stopMain(); }

private:
    int setup_;
};

}  // namespace viewtest
