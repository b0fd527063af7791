// The 3D view parameters: defaults, clamps, the projection coefficients and
// the projection of grid points, on the cases worked out by hand.
#include <QTest>

#include <cmath>

#include "base/screen.h"
#include "map/mapdata.h"
#include "pictures/view3d.h"

class TestView3d : public QObject {
    Q_OBJECT

    static QPoint project(float x, float y, float z, bool *front = nullptr)
    {
        zk::ProjPoint pt{-7, -7};
        const int16_t r = zk::project3d(x, y, z, pt);
        if (front) *front = r == -1;
        return QPoint(pt.x, pt.y);
    }

private slots:
    void init()
    {
        zk::setScreenPixels(QSize(1024, 768));
        zk::elevgrid.redim(1023, 767);
    }
    void cleanup() { zk::setScreenPixels(QSize()); }

    void defaults()
    {
        zk::netalt = 123;
        zk::set3dparams(0);
        const zk::View3D &v = zk::view3d;
        QCOMPARE(v.amplx, 1.0f);
        QCOMPARE(v.phi, 40.0f);
        QCOMPARE(v.theta, 10.0f);
        QCOMPARE(v.disto, 850.0f);
        QCOMPARE(v.aper, 1.0f);
        QCOMPARE(v.size, 10.0f);
        QCOMPARE(v.ofx, 512.0f);
        QCOMPARE(v.ofy, 384.0f);
        QCOMPARE(zk::netalt, 2000.0f);
        const zk::Projection3D &p = zk::proj3d;
        // 511.5 and 383.5 go to the even neighbour.
        QCOMPARE(p.gridcx, 512.0f);
        QCOMPARE(p.gridcy, 384.0f);
        QCOMPARE(p.zscale, float(1.0 / 10 * 767 / 1000));
        const double th = 10 * M_PI / 180, ph = 40 * M_PI / 180;
        QCOMPARE(p.kx1, float(std::cos(th)));
        QCOMPARE(p.ky1, float(std::sin(th)));
        QCOMPARE(p.kx2, float(std::sin(th) * std::cos(ph)));
        QCOMPARE(p.ky2, float(-std::cos(th) * std::cos(ph)));
        QCOMPARE(p.kz2, float(-std::sin(ph)));
        QCOMPARE(p.kx3, float(std::sin(th) * std::sin(ph)));
        QCOMPARE(p.ky3, float(-std::cos(th) * std::sin(ph)));
        QCOMPARE(p.kz3, float(std::cos(ph)));
        QCOMPARE(p.scrx, 512.0f);
        QCOMPARE(p.scry, 384.0f);
        QCOMPARE(p.focal, 1000.0f);
        QCOMPARE(p.camdist, 850.0f);
    }

    void projections_data()
    {
        QTest::addColumn<float>("theta");
        QTest::addColumn<float>("phi");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<float>("z");
        QTest::addColumn<QPoint>("pixel");
        QTest::newRow("centre") << 10.f << 40.f << 512.f << 384.f << 0.f << QPoint(512, 384);
        QTest::newRow("centre at 1000 m") << 10.f << 40.f << 512.f << 384.f << 1000.f << QPoint(512, 322);
        QTest::newRow("map view, 100 east") << 0.f << 0.f << 612.f << 384.f << 0.f << QPoint(630, 384);
        QTest::newRow("map view, 100 north") << 0.f << 0.f << 512.f << 484.f << 0.f << QPoint(512, 266);
        // Looking east, a point north of the centre lies to the left.
        QTest::newRow("looking east, 100 north") << 90.f << 0.f << 512.f << 484.f << 0.f << QPoint(394, 384);
    }
    void projections()
    {
        QFETCH(float, theta);
        QFETCH(float, phi);
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(float, z);
        QFETCH(QPoint, pixel);
        zk::set3dparams(0);
        zk::view3d.theta = theta;
        zk::view3d.phi = phi;
        zk::set3dparams(1);
        bool front = false;
        QCOMPARE(project(x, y, z, &front), pixel);
        QVERIFY(front);
    }

    void behindTheCamera()
    {
        zk::set3dparams(0);
        zk::view3d.phi = 89;
        zk::view3d.theta = 0;
        zk::view3d.disto = 200;
        zk::set3dparams(1);
        bool front = true;
        // The southern edge (row 0) is behind the camera: pt stays as it was.
        QCOMPARE(project(512, 0, 0, &front), QPoint(-7, -7));
        QVERIFY(!front);
        project(512, 767, 0, &front);
        QVERIFY(front);
    }

    void clamps()
    {
        zk::set3dparams(0);
        zk::view3d.theta = 400;
        zk::view3d.phi = -5;
        zk::view3d.amplx = 0;
        zk::view3d.size = 0;
        zk::view3d.aper = 9;
        zk::view3d.disto = 50;
        zk::view3d.ofx = -300;
        zk::view3d.ofy = 99999;
        zk::netalt = 7;
        zk::set3dparams(1);
        QCOMPARE(zk::view3d.theta, 359.0f);
        QCOMPARE(zk::view3d.phi, 0.0f);
        QCOMPARE(zk::view3d.amplx, 0.001f);
        QCOMPARE(zk::view3d.size, 0.1f);
        QCOMPARE(zk::view3d.aper, 5.0f);
        QCOMPARE(zk::view3d.disto, 200.0f);
        QCOMPARE(zk::view3d.ofx, -300.0f);
        QCOMPARE(zk::view3d.ofy, 99999.0f);
        QCOMPARE(zk::netalt, 7.0f);
        QCOMPARE(zk::proj3d.camdist, 1000.0f);
        QCOMPARE(zk::proj3d.focal, 5000.0f);
        QVERIFY(std::isfinite(zk::proj3d.zscale));
    }

    void zscaleFollowsSouthNorthBound()
    {
        zk::elevgrid.redim(1023, 511);
        zk::set3dparams(0);
        QCOMPARE(zk::proj3d.zscale, float(1.0 / 10 * 511 / 1000));
        QCOMPARE(zk::proj3d.gridcx, 512.0f);
        QCOMPARE(zk::proj3d.gridcy, 256.0f);  // 255.5 to the even neighbour
    }

    void recordLayout()
    {
        QCOMPARE(sizeof(zk::View3D), size_t(32));
        QCOMPARE(offsetof(zk::View3D, ofy), size_t(28));
    }
};

QTEST_MAIN(TestView3d)
#include "test_view3d.moc"
