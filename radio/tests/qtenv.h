// A stand-in for the main window in the radio window tests: an MDI area and
// the two status panes, registered where the program registers its main
// window, plus a picture of the map on disk (BMP with its calibration file).
#pragma once

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

#include "map/mapdata.h"
#include "pictures/calibration.h"
#include "pictures/frmPic.h"
#include "shell/longop.h"
#include "shell/mdi.h"

namespace radiotest {

class TestMain {
public:
    QMainWindow main;
    QMdiArea *area = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;

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

// Writes a plain grey picture of the map's grid size as a BMP with a
// calibration file that gives it the map's corners as a picture of kind 1.
inline bool writeMapPicture(const QString &bmp)
{
    QImage img(zk::elevgrid.nx(), zk::elevgrid.ny(), QImage::Format_RGB32);
    img.fill(QColor(90, 90, 90));
    if (!img.save(bmp, "BMP")) return false;
    zk::PicCalibration cal;
    cal.Pictype = 1;
    for (int i = 0; i < 4; ++i) {
        cal.lon[size_t(i)] = zk::mapcorners.lon[i];
        cal.lat[size_t(i)] = zk::mapcorners.lat[i];
    }
    cal.source = QStringLiteral("Carte de test");
    QFile f(zk::companionName(bmp, QStringLiteral("dat")));
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(zk::writePicCalibration(cal)) > 0;
}

}  // namespace radiotest
