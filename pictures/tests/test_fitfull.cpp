// Fitting the map to a picture (the worked examples, written into the map
// dialog through its own change handling) and the full-screen view (centring,
// panning limits by keys and by dragging, the keys and clicks that close it).
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <cmath>
#include <memory>

#include "base/controls.h"
#include "base/longop.h"
#include "base/screen.h"
#include "map/mapdata.h"
#include "picenv.h"
#include "pictures/fitmap.h"
#include "pictures/frmFull.h"
#include "pictures/frmMapPro.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"

using zk::frmPic;

namespace {

// What the dialog showed when fitmap handed it over.
struct Shown {
    int count = 0;
    QString t1, t2, t3, t4, t6;
    int w = 0, h = 0;
    float lon = 0, lat = 0, size = 0;
};
Shown g_shown;

void capture(zk::frmMapPro &dlg)
{
    ++g_shown.count;
    g_shown.t1 = dlg.Text1->text();
    g_shown.t2 = dlg.Text2->text();
    g_shown.t3 = dlg.Text3->text();
    g_shown.t4 = dlg.Text4->text();
    g_shown.t6 = dlg.Text6->text();
    g_shown.w = dlg.gridwidth();
    g_shown.h = dlg.gridheight();
    g_shown.lon = zk::editmap.lon;
    g_shown.lat = zk::editmap.lat;
    g_shown.size = zk::editmap.size;
}

void setframe(frmPic *p, float w, float n, float e, float s)
{
    p->lon1 = w, p->lat1 = n;
    p->lon2 = e, p->lat2 = n;
    p->lon3 = e, p->lat3 = s;
    p->lon4 = w, p->lat4 = s;
}

QImage solid(int w, int h)
{
    QImage img(w, h, QImage::Format_RGBX8888);
    img.fill(QColor(10, 20, 30));
    return img;
}

}  // namespace

class TestFitFull : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;

    frmPic *picture(int16_t kind, int w, int h, float west, float north, float east, float south)
    {
        frmPic *p = zk::openpicture(QString(), -1);
        p->Pictype = kind;
        p->Picture1->setPicture(solid(w, h));
        setframe(p, west, north, east, south);
        return p;
    }

    zk::frmFull *viewer(QSize image)
    {
        auto *f = new zk::frmFull;
        f->setImage(solid(image.width(), image.height()));
        f->show();
        // Whatever activation the platform sends on showing comes now, not
        // in the middle of a test.
        QCoreApplication::processEvents();
        f->Form_Activate();
        return f;
    }

private slots:
    void initTestCase()
    {
        zk::setScreenPixels(QSize(1280, 1024));
        env = std::make_unique<zktest::TestMain>();
        zk::fitmapshow = capture;
    }
    void cleanupTestCase()
    {
        zk::fitmapshow = nullptr;
        env.reset();
    }
    void init()
    {
        QLocale::setDefault(QLocale::c());
        zktest::setTestMap();
        zk::runflag = 0;
        g_shown = Shown{};
    }
    void cleanup()
    {
        QLocale::setDefault(QLocale::c());
        if (zk::frmFull *f = zk::frmFull::loaded()) delete f;
        env->closeAll();
    }

    // A whole picture of 800 x 600 pixels over 45..46 N.
    void wholePicture_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("lat");
        QTest::addColumn<QString>("km");
        QTest::newRow("point") << "C" << "45.5" << "111.13";
        QTest::newRow("comma") << "fr_FR" << "45,5" << "111,13";
    }
    void wholePicture()
    {
        QFETCH(QString, locale);
        QFETCH(QString, lat);
        QFETCH(QString, km);
        QLocale::setDefault(QLocale(locale));
        frmPic *p = picture(1, 800, 600, 6, 46, 8, 45);
        zk::fitmap(p);
        QCOMPARE(g_shown.count, 1);
        QCOMPARE(g_shown.t1, QStringLiteral("7"));
        QCOMPARE(g_shown.t2, lat);
        QCOMPARE(g_shown.t3, QStringLiteral("800"));
        QCOMPARE(g_shown.t4, QStringLiteral("600"));
        QCOMPARE(g_shown.t6, km);
        // The dialog took them over.
        QCOMPARE(g_shown.w, 800);
        QCOMPARE(g_shown.h, 600);
        QCOMPARE(g_shown.lon, 7.0f);
        QCOMPARE(g_shown.lat, 45.5f);
        QVERIFY(std::fabs(g_shown.size - 111.13f) < 1e-3);
    }

    // Selections scaled to 95 % of a 1280 x 1024 screen in their proportions.
    void selection_data()
    {
        QTest::addColumn<QRect>("sel");
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        QTest::newRow("wide") << QRect(100, 50, 200, 100) << 1216 << 608;
        QTest::newRow("tall") << QRect(100, 50, 100, 300) << 324 << 973;
    }
    void selection()
    {
        QFETCH(QRect, sel);
        QFETCH(int, W);
        QFETCH(int, H);
        // 1001 x 401 pixels over 0..10 E, 40..44 N: 100 pixels a degree.
        frmPic *p = picture(2, 1001, 401, 0, 44, 10, 40);
        p->Shape2->setGeometry(sel);
        p->Shape2->show();
        const auto fit = zk::mapfit(p, QSize(1280, 1024));
        QVERIFY(fit);
        QCOMPARE(fit->width, W);
        QCOMPARE(fit->height, H);
        // The centre of the selection's corner pixels.
        QVERIFY(std::fabs(fit->lon - (sel.left() + (sel.width() - 1) / 2.0) / 100) < 1e-4);
        QVERIFY(std::fabs(fit->lat - (44 - (sel.top() + (sel.height() - 1) / 2.0) / 100)) < 1e-4);
        QVERIFY(std::fabs(fit->extent_deg - (sel.height() - 1) / 100.0) < 1e-4);
        zk::fitmap(p);
        QCOMPARE(g_shown.t3, QString::number(W));
        QCOMPARE(g_shown.t4, QString::number(H));
    }

    // No dialog for pictures of other kinds, a frame without extent in
    // latitude, a selection without width, or no window.
    void nothing()
    {
        frmPic *p3 = picture(3, 100, 100, 0, 46, 10, 45);
        zk::fitmap(p3);
        frmPic *flat = picture(1, 100, 100, 0, 45, 10, 45);
        zk::fitmap(flat);
        frmPic *p = picture(2, 100, 100, 0, 46, 10, 45);
        p->Shape2->setGeometry(10, 10, 0, 20);
        p->Shape2->show();
        zk::fitmap(p);
        zk::fitmap(nullptr);
        zk::fitmap(env->area);
        QCOMPARE(g_shown.count, 0);
    }

    void extentText()
    {
        QCOMPARE(zk::extenttext(1), QStringLiteral("111.13"));
        QCOMPARE(zk::extenttext(0.5f), QStringLiteral("55.56"));
        QCOMPARE(zk::extenttext(10), QStringLiteral("1111.25"));
    }

    // An image 3000 pixels wide on a 1280-pixel screen.
    void panWide()
    {
        zk::frmFull *f = viewer(QSize(3000, 500));
        QCOMPARE(f->width(), 1280);
        QCOMPARE(f->imageLeft(), -860.0f);
        QCOMPARE(f->imageTop(), 262.0f);
        QVERIFY(f->panH());
        QVERIFY(!f->panV());
        QCOMPARE(f->Picture1->pos(), QPoint(-860, 262));
        QCOMPARE(f->cursor().shape(), Qt::CrossCursor);
        for (int i = 0; i < 100; ++i) QTest::keyClick(f, Qt::Key_Left);
        QCOMPARE(f->imageLeft(), -1720.0f);
        QCOMPARE(f->Picture1->x(), -1720);
        QTest::keyClick(f, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(f->imageLeft(), -1719.0f);
        for (int i = 0; i < 200; ++i) QTest::keyClick(f, Qt::Key_Right);
        QCOMPARE(f->imageLeft(), 0.0f);
        // Vertical keys do nothing on this axis.
        QTest::keyClick(f, Qt::Key_Up);
        QTest::keyClick(f, Qt::Key_Down);
        QCOMPARE(f->imageTop(), 262.0f);
        QTest::keyClick(f, Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(f->imageLeft(), -1.0f);
        QTest::keyClick(f, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(f->imageLeft(), -2.0f);
        QVERIFY(f->isVisible());
        // Activation centres it again.
        f->Form_Activate();
        QCOMPARE(f->imageLeft(), -860.0f);
    }

    // Taller but not wider: only vertical panning.
    void panTall()
    {
        zk::frmFull *f = viewer(QSize(1000, 2024));
        QVERIFY(!f->panH());
        QVERIFY(f->panV());
        QCOMPARE(f->imageLeft(), 140.0f);
        QCOMPARE(f->imageTop(), -500.0f);
        QTest::keyClick(f, Qt::Key_Left);
        QCOMPARE(f->imageLeft(), 140.0f);
        for (int i = 0; i < 60; ++i) QTest::keyClick(f, Qt::Key_Up);
        QCOMPARE(f->imageTop(), -1000.0f);
        for (int i = 0; i < 110; ++i) QTest::keyClick(f, Qt::Key_Down);
        QCOMPARE(f->imageTop(), 0.0f);
    }

    // Dragging: the image moves once, on release, by the drag, within the
    // limits.
    void drag()
    {
        zk::frmFull *f = viewer(QSize(3000, 2000));
        QCOMPARE(f->imageTop(), -488.0f);
        QTest::mousePress(f->Picture1, Qt::LeftButton, {}, QPoint(1000, 600));
        QCOMPARE(f->Picture1->cursor().shape(), Qt::SizeAllCursor);
        QTest::mouseMove(f->Picture1, QPoint(900, 650));
        QCOMPARE(f->imageLeft(), -860.0f);
        QTest::mouseRelease(f->Picture1, Qt::LeftButton, {}, QPoint(900, 650));
        QCOMPARE(f->imageLeft(), -960.0f);
        QCOMPARE(f->imageTop(), -438.0f);
        QCOMPARE(f->Picture1->cursor().shape(), Qt::CrossCursor);
        // Far beyond the edges: stopped at them.
        f->Picture1_MouseDown(1, 0, 0);
        f->Picture1_MouseMove(5000, 5000);
        f->Picture1_MouseUp();
        QCOMPARE(f->imageLeft(), 0.0f);
        QCOMPARE(f->imageTop(), 0.0f);
        f->Picture1_MouseDown(1, 2000, 1500);
        f->Picture1_MouseMove(-3000, -3000);
        f->Picture1_MouseUp();
        QCOMPARE(f->imageLeft(), -1720.0f);
        QCOMPARE(f->imageTop(), -976.0f);
        // A drag of half pixels rounds half to even.
        f->Form_Activate();
        f->Picture1_MouseDown(1, 10.5f, 0);
        f->Picture1_MouseMove(0, 0);
        f->Picture1_MouseUp();
        QCOMPARE(f->imageLeft(), -870.0f);
    }

    // A small image stays centred; arrows and drags do nothing.
    void small()
    {
        zk::frmFull *f = viewer(QSize(200, 100));
        QCOMPARE(f->imageLeft(), 540.0f);
        QCOMPARE(f->imageTop(), 462.0f);
        for (auto k : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) QTest::keyClick(f, k);
        f->Picture1_MouseDown(1, 10, 10);
        f->Picture1_MouseMove(100, 50);
        f->Picture1_MouseUp();
        QCOMPARE(f->imageLeft(), 540.0f);
        QCOMPARE(f->imageTop(), 462.0f);
        QVERIFY(f->isVisible());
    }

    // Keys that close and keys that do not.
    void closingKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Shift alone") << int(Qt::Key_Shift) << int(Qt::NoModifier) << false;
        QTest::newRow("Ctrl alone") << int(Qt::Key_Control) << int(Qt::NoModifier) << false;
        QTest::newRow("Alt alone") << int(Qt::Key_Alt) << int(Qt::NoModifier) << false;
        QTest::newRow("Shift+Esc") << int(Qt::Key_Escape) << int(Qt::ShiftModifier) << false;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << int(Qt::NoModifier) << true;
        QTest::newRow("a letter") << int(Qt::Key_Q) << int(Qt::NoModifier) << true;
        QTest::newRow("F5") << int(Qt::Key_F5) << int(Qt::NoModifier) << true;
    }
    void closingKeys()
    {
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(bool, closes);
        QPointer<zk::frmFull> f = viewer(QSize(3000, 500));
        QTest::keyClick(f.data(), Qt::Key(key), Qt::KeyboardModifiers(mods));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(f.isNull() || !f->isVisible(), closes);
    }

    void closingClicks()
    {
        QPointer<zk::frmFull> f = viewer(QSize(300, 200));
        QTest::mouseClick(f.data(), Qt::LeftButton, {}, QPoint(5, 5));  // background, left
        QVERIFY(f && f->isVisible());
        QTest::mouseClick(f.data(), Qt::RightButton, {}, QPoint(5, 5));  // background, right
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.isNull() || !f->isVisible());

        f = viewer(QSize(300, 200));
        QTest::mousePress(f->Picture1, Qt::RightButton, {}, QPoint(5, 5));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.isNull() || !f->isVisible());

        f = viewer(QSize(300, 200));
        QTest::mouseDClick(f->Picture1, Qt::LeftButton, {}, QPoint(5, 5));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.isNull() || !f->isVisible());
    }

    // The main window's command: the picture with what is drawn over it, and
    // the picture window left as it was.
    void showPicture()
    {
        frmPic *p = picture(1, 50, 40, 0, 46, 10, 45);
        QImage &layer = p->Picture1->image();
        layer.setPixelColor(3, 4, QColor(255, 0, 0));
        const QImage before = p->Picture1->picture();
        zk::frmFull *f = zk::showfull(p);
        QVERIFY(f);
        QCOMPARE(f->source.data(), p);
        QCOMPARE(f->imageSize(), QSize(50, 40));
        const QImage shown = f->Picture1->pixmap().toImage();
        QCOMPARE(shown.pixelColor(3, 4), QColor(255, 0, 0));
        QCOMPARE(shown.pixelColor(5, 5), QColor(10, 20, 30));
        QCOMPARE(p->Picture1->picture(), before);
        QCOMPARE(f->palette().color(QPalette::Window), QColor(100, 100, 100));
        // A second showing reuses the open viewer.
        QCOMPARE(zk::showfull(p), f);
        QVERIFY(!zk::showfull(nullptr));
    }

    // Activation from another window of the program centres the image again.
    void reactivated()
    {
        zk::frmFull *f = viewer(QSize(3000, 500));
        f->activateWindow();
        if (!QTest::qWaitForWindowActive(f)) QSKIP("no window activation on this platform");
        QTest::keyClick(f, Qt::Key_Left);
        QCOMPARE(f->imageLeft(), -870.0f);
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        QCOMPARE(f->imageLeft(), -860.0f);
    }
};

QTEST_MAIN(TestFitFull)
#include "test_fitfull.moc"
