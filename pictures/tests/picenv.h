// A small stand-in for the main window in picture tests: an MDI area, the
// two status panes and the two checkable menu items the picture code reads,
// registered where the program registers its main window. And a test map.
#pragma once

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QTest>
#include <QVBoxLayout>

#include "base/longop.h"
#include "base/mdi.h"
#include "map/mapdata.h"
#include "pictures/frmPic.h"

namespace zktest {

class TestMain {
public:
    QMainWindow main;
    QMdiArea *area = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QAction *mnuViewGrid = nullptr;
    QAction *mnuMouseCoor = nullptr;

    TestMain()
    {
        main.setObjectName(QStringLiteral("frmMain"));
        auto *central = new QWidget(&main);
        auto *box = new QVBoxLayout(central);
        area = new QMdiArea(central);
        box->addWidget(area, 1);
        Label1 = new QLabel(central);
        Label1->setObjectName(QStringLiteral("Label1"));
        Label2 = new QLabel(central);
        Label2->setObjectName(QStringLiteral("Label2"));
        box->addWidget(Label1);
        box->addWidget(Label2);
        main.setCentralWidget(central);
        QMenu *view = main.menuBar()->addMenu(QStringLiteral("&Affichage"));
        mnuViewGrid = view->addAction(QStringLiteral("Grille d'&altitude "));
        mnuViewGrid->setObjectName(QStringLiteral("mnuViewGrid"));
        mnuViewGrid->setCheckable(true);
        mnuMouseCoor = view->addAction(QStringLiteral("Coordonnées"));
        mnuMouseCoor->setObjectName(QStringLiteral("mnuMouseCoor"));
        mnuMouseCoor->setCheckable(true);
        main.resize(1000, 750);
        zk::setMdiArea(area);
        zk::setMainWindow(&main);
        main.show();
    }
    ~TestMain()
    {
        closeAll();
        zk::setMdiArea(nullptr);
        zk::setMainWindow(nullptr);
    }
    void closeAll()
    {
        zk::runflag = 0;
        for (QMdiSubWindow *s : area->subWindowList()) delete s;
        QApplication::processEvents();
    }
};

// The test map: a grid of (nx x ny) cells whose elevation is 10 x column +
// row, on corners 20 degrees wide and 10 high (NW -10, 50; SE 10, 40).
inline void setTestMap(int nx = 201, int ny = 101)
{
    zk::elevgrid.redim(nx - 1, ny - 1);
    for (int y = 0; y < ny; ++y)
        for (int x = 0; x < nx; ++x) zk::elevgrid.at(x, y) = int16_t(10 * x + y);
    zk::mapcorners.lon[0] = -10; zk::mapcorners.lat[0] = 50;
    zk::mapcorners.lon[1] = 10;  zk::mapcorners.lat[1] = 50;
    zk::mapcorners.lon[2] = 10;  zk::mapcorners.lat[2] = 40;
    zk::mapcorners.lon[3] = -10; zk::mapcorners.lat[3] = 40;
}

// Gives a window the map's corners as a picture of kind 1.
inline void mapCorners(zk::frmPic *w)
{
    w->Pictype = 1;
    w->lon1 = -10; w->lat1 = 50;
    w->lon2 = 10;  w->lat2 = 50;
    w->lon3 = 10;  w->lat3 = 40;
    w->lon4 = -10; w->lat4 = 40;
}

// A picture with a pattern: pixel (x, y) = RGB(x, y, 7).
inline QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGBX8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixelColor(x, y, QColor(x & 255, y & 255, 7));
    return img;
}

}  // namespace zktest
