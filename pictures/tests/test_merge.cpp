// Picture merging, rotation and projection: the corner tables of rotation
// and projection, the merge arithmetic of each mode through the engine, the
// stop of a merge, and the two dialogs.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <memory>

#include "base/longop.h"
#include "base/routines.h"
#include "base/screen.h"
#include "msgbox.h"
#include "picenv.h"
#include "pictures/frmMerge.h"
#include "pictures/frmPic.h"
#include "pictures/frmRotate.h"
#include "pictures/geomap.h"
#include "pictures/merge.h"
#include "pictures/picfiles.h"

using zk::frmPic;

namespace {

// A frame of kind k with corners NW (w, n), SE (e, s), north up.
zk::PicFrame frame(int16_t k, float w, float n, float e, float s, int width, int height)
{
    zk::PicFrame f;
    f.Pictype = k;
    f.lon1 = w, f.lat1 = n;
    f.lon2 = e, f.lat2 = n;
    f.lon3 = e, f.lat3 = s;
    f.lon4 = w, f.lat4 = s;
    f.width = width;
    f.height = height;
    return f;
}

QImage solid(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGBX8888);
    img.fill(c);
    return img;
}

void setframe(frmPic *p, float w, float n, float e, float s)
{
    p->lon1 = w, p->lat1 = n;
    p->lon2 = e, p->lat2 = n;
    p->lon3 = e, p->lat3 = s;
    p->lon4 = w, p->lat4 = s;
}

// Sets the run flag to 0 at the first paint of the watched widget while a
// merge runs, as the Stop button would.
class StopOnPaint : public QObject {
public:
    bool stopped = false;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && zk::runflag == zk::opmerge) {
            zk::runflag = 0;
            stopped = true;
        }
        return false;
    }
};

}  // namespace

class TestMerge : public QObject {
    Q_OBJECT

    std::unique_ptr<zktest::TestMain> env;

    // A picture window of the kind with the picture and the corners.
    frmPic *picture(int16_t kind, const QImage &img, float w, float n, float e, float s)
    {
        frmPic *p = zk::openpicture(QString(), -1);
        p->Pictype = kind;
        p->Picture1->setPicture(img);
        setframe(p, w, n, e, s);
        zk::arrangepic(p);
        return p;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        zk::setScreenPixels(QSize(1024, 768));
        env = std::make_unique<zktest::TestMain>();
    }
    void cleanupTestCase() { env.reset(); }
    void init()
    {
        zktest::setTestMap();
        zk::runflag = 0;
    }
    void cleanup()
    {
        QLocale::setDefault(QLocale::c());
        env->closeAll();
    }

    // Rotation: new size and corners for a 201 x 101 picture of -10..10 E,
    // 40..50 N. Corners are the centres of the corner pixels, so a turn by a
    // quarter puts the new corners exactly on old ones.
    void rotateCorners_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<double>("stretch");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<QList<float>>("corners");  // lon1, lat1 .. lon4, lat4
        QTest::newRow("0, 1: the old corners") << 0.0 << 1.0 << 201 << 101
                                               << QList<float>{-10, 50, 10, 50, 10, 40, -10, 40};
        QTest::newRow("0, 2: twice the pixels, same corners")
            << 0.0 << 2.0 << 402 << 202 << QList<float>{-10, 50, 10, 50, 10, 40, -10, 40};
        QTest::newRow("90: NW is the old SW") << 90.0 << 1.0 << 101 << 201
                                              << QList<float>{-10, 40, -10, 50, 10, 50, 10, 40};
        QTest::newRow("-90: NW is the old NE") << -90.0 << 1.0 << 101 << 201
                                               << QList<float>{10, 50, 10, 40, -10, 40, -10, 50};
        QTest::newRow("180: NW is the old SE") << 180.0 << 1.0 << 201 << 101
                                               << QList<float>{10, 40, -10, 40, -10, 50, 10, 50};
        QTest::newRow("360: a full turn") << 360.0 << 1.0 << 201 << 101
                                          << QList<float>{-10, 50, 10, 50, 10, 40, -10, 40};
    }
    void rotateCorners()
    {
        QFETCH(double, angle);
        QFETCH(double, stretch);
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(QList<float>, corners);
        const zk::NewFrame f = zk::rotateframe(frame(1, -10, 50, 10, 40, 201, 101), angle, stretch);
        QCOMPARE(f.width, w);
        QCOMPARE(f.height, h);
        for (int i = 0; i < 4; ++i) {
            QVERIFY2(std::fabs(f.lon[size_t(i)] - corners[2 * i]) < 1e-3, qPrintable(QString::number(i)));
            QVERIFY2(std::fabs(f.lat[size_t(i)] - corners[2 * i + 1]) < 1e-3, qPrintable(QString::number(i)));
        }
    }

    // A turn by 45 degrees: the bounding box of the turned picture, and new
    // corners that lie on the old picture's extension symmetrically about
    // its centre.
    void rotate45()
    {
        const zk::NewFrame f = zk::rotateframe(frame(2, 0, 100, 100, 0, 101, 101), 45, 1);
        const double side = 101 * std::sqrt(2.0);
        QCOMPARE(f.width, int(std::nearbyint(side)));
        QCOMPARE(f.height, f.width);
        // The centre stays where it was.
        double clon = 0, clat = 0;
        for (int i = 0; i < 4; ++i) clon += f.lon[size_t(i)] / 4, clat += f.lat[size_t(i)] / 4;
        QVERIFY(std::fabs(clon - 50) < 1e-3);
        QVERIFY(std::fabs(clat - 50) < 1e-3);
        // NW of the new picture is straight west of the centre (turned
        // clockwise, the picture's top-left comes from the old left side).
        QVERIFY(std::fabs(f.lat[0] - 50) < 1e-3);
        QVERIFY(f.lon[0] < 0);
    }

    // An enormous stretch is brought down so that the new picture fits the
    // pixel limit.
    void rotateLimit()
    {
        const zk::NewFrame f = zk::rotateframe(frame(1, -10, 50, 10, 40, 4000, 4000), 45, 20);
        QVERIFY(f.width <= zk::kMaxNewSide && f.height <= zk::kMaxNewSide);
        QVERIFY(int64_t(f.width) * f.height <= zk::kMaxNewPixels);
        QVERIFY(f.width > 4000);
    }

    // Projection: the trapezoid's corners and width.
    void projectCorners_data()
    {
        QTest::addColumn<float>("south");
        QTest::addColumn<float>("north");
        QTest::addColumn<bool>("northwide");
        QTest::newRow("northern: north edge widened") << 40.0f << 50.0f << true;
        QTest::newRow("southern: south edge widened") << -50.0f << -40.0f << false;
        QTest::newRow("equator, symmetric: a copy") << -10.0f << 10.0f << false;
    }
    void projectCorners()
    {
        QFETCH(float, south);
        QFETCH(float, north);
        QFETCH(bool, northwide);
        const auto f = zk::projectframe(frame(1, 0, north, 10, south, 201, 101));
        QVERIFY(f);
        const double pi = 3.14159265358979;
        const double d = std::fabs(10 * 0.5 * (std::cos(north * pi / 180) - std::cos(south * pi / 180)));
        QCOMPARE(f->lat[0], north);
        QCOMPARE(f->lat[1], north);
        QCOMPARE(f->lat[2], south);
        QCOMPARE(f->lat[3], south);
        const float wide[2] = {float(0 - d), float(10 + d)};
        const float narrow[2] = {0, 10};
        const float *top = northwide ? wide : narrow, *bottom = northwide ? narrow : wide;
        QCOMPARE(f->lon[0], top[0]);
        QCOMPARE(f->lon[1], top[1]);
        QCOMPARE(f->lon[2], bottom[1]);
        QCOMPARE(f->lon[3], bottom[0]);
        QCOMPARE(f->width, int(zk::roundEven(201.0 / 10 * (10 + d))));
        QCOMPARE(f->height, 101);
        if (south == -north) {
            QCOMPARE(d, 0.0);
            QCOMPARE(f->width, 201);
        }
    }
    // 40..50 N over 10 degrees: d = 5 (cos 40 - cos 50) = 0.6163 degree.
    void projectNumbers()
    {
        const auto f = zk::projectframe(frame(1, 0, 50, 10, 40, 201, 101));
        QVERIFY(f);
        QVERIFY(std::fabs(f->lon[0] + 0.61628) < 1e-4);
        QVERIFY(std::fabs(f->lon[1] - 10.61628) < 1e-4);
        QCOMPARE(f->width, 213);
    }

    // Western and eastern edges on one meridian: no division by the span,
    // no projection, no window.
    void projectCoincident()
    {
        QVERIFY(!zk::projectframe(frame(2, 5, 50, 5, 40, 100, 100)));
        zk::PicFrame nan = frame(2, 0, 50, 10, 40, 100, 100);
        nan.lon2 = std::nanf("");
        QVERIFY(!zk::projectframe(nan));

        frmPic *p = picture(2, zktest::pattern(50, 40), 5, 50, 5, 40);
        const int before = int(zk::picwindows().size());
        zk::projectpic();
        QCOMPARE(int(zk::picwindows().size()), before);
        QCOMPARE(zk::activepic(), p);
    }

    // The merge arithmetic of each mode, channel by channel, through the
    // engine; the result becomes the destination's picture.
    void mergeModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QColor>("expected");
        const QColor s(100, 50, 200), d(200, 101, 51);
        QTest::newRow("0 copy") << 0 << s;
        QTest::newRow("1 average, halves dropped") << 1 << QColor(150, 75, 125);
        QTest::newRow("2 multiply / 255") << 2 << QColor(100 * 200 / 255, 50 * 101 / 255, 200 * 51 / 255);
        QTest::newRow("5 also averages") << 5 << QColor(150, 75, 125);
    }
    void mergeModes()
    {
        QFETCH(int, mode);
        QFETCH(QColor, expected);
        frmPic *src = picture(1, solid(40, 30, QColor(100, 50, 200)), -10, 50, 10, 40);
        frmPic *dst = picture(1, solid(40, 30, QColor(200, 101, 51)), -10, 50, 10, 40);
        zk::mergepics(src, dst, mode);
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(dst->Picture1->picture().pixelColor(0, 0), expected);
        QCOMPARE(dst->Picture1->picture().pixelColor(39, 29), expected);
        QCOMPARE(dst->Picture1->image().pixelColor(20, 15), expected);
        QVERIFY(!zk::mergepic);
        // The source is untouched.
        QCOMPARE(src->Picture1->picture().pixelColor(5, 5), QColor(100, 50, 200));
    }

    // A destination partly outside the source keeps its own pixels there.
    void mergePartly()
    {
        // Source covers 0..10 E; destination -10..10 E, same latitudes.
        frmPic *src = picture(1, solid(21, 11, QColor(0, 0, 255)), 0, 50, 10, 40);
        frmPic *dst = picture(1, solid(41, 11, QColor(255, 255, 0)), -10, 50, 10, 40);
        zk::mergepics(src, dst, 0);
        const QImage out = dst->Picture1->picture();
        QCOMPARE(out.pixelColor(5, 5), QColor(255, 255, 0));   // west of the source
        QCOMPARE(out.pixelColor(19, 5), QColor(255, 255, 0));
        QCOMPARE(out.pixelColor(21, 5), QColor(0, 0, 255));    // on it
        QCOMPARE(out.pixelColor(40, 10), QColor(0, 0, 255));
    }

    // Entirely outside: unchanged.
    void mergeOutside()
    {
        frmPic *src = picture(1, solid(20, 20, QColor(0, 0, 255)), 50, 10, 60, 0);
        frmPic *dst = picture(1, solid(20, 20, QColor(255, 255, 0)), -10, 50, 10, 40);
        zk::mergepics(src, dst, 0);
        QCOMPARE(dst->Picture1->picture().pixelColor(10, 10), QColor(255, 255, 0));
    }

    // A merge stopped before its end leaves the destination as it was.
    void mergeStopped()
    {
        frmPic *src = picture(1, solid(40, 30, QColor(100, 50, 200)), -10, 50, 10, 40);
        frmPic *dst = picture(1, solid(40, 30, QColor(200, 101, 51)), -10, 50, 10, 40);
        // The user stops the merge as soon as the destination is first
        // repainted during it.
        StopOnPaint stop;
        dst->Picture1->installEventFilter(&stop);
        zk::mergepics(src, dst, 0);
        dst->Picture1->removeEventFilter(&stop);
        QVERIFY(stop.stopped);
        QCOMPARE(dst->Picture1->picture().pixelColor(0, 0), QColor(200, 101, 51));
        QCOMPARE(dst->Picture1->image().pixelColor(0, 0), QColor(200, 101, 51));
    }

    // Missing windows: the operation still ends.
    void mergeMissing()
    {
        frmPic *dst = picture(1, solid(10, 10, QColor(1, 2, 3)), -10, 50, 10, 40);
        zk::mergepics(nullptr, dst, 0);
        QCOMPARE(zk::runflag, int16_t(0));
        zk::mergepics(dst, nullptr, 0);
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(dst->Picture1->picture().pixelColor(0, 0), QColor(1, 2, 3));
    }

    // rotatepic on the active picture: a new white window of kind 2 with the
    // turned picture.
    void rotatePicture()
    {
        QImage img = solid(60, 30, QColor(0, 255, 0));
        img.setPixelColor(0, 29, QColor(255, 0, 0));  // SW corner pixel
        img.setPixelColor(0, 0, QColor(0, 0, 255));   // NW corner pixel
        frmPic *old = picture(1, img, -10, 50, 10, 40);
        zk::rotatepic(90, 1);
        frmPic *w = zk::activepic();
        QVERIFY(w && w != old);
        QCOMPARE(w->Pictype, int16_t(2));
        QCOMPARE(w->Picture1->scaleWidth(), 30);
        QCOMPARE(w->Picture1->scaleHeight(), 60);
        QCOMPARE(w->Picture1->backColor(), 0xFFFFFFu);
        QVERIFY(std::fabs(w->lon1 + 10) < 1e-4 && std::fabs(w->lat1 - 40) < 1e-4);
        QVERIFY(std::fabs(w->lon2 + 10) < 1e-4 && std::fabs(w->lat2 - 50) < 1e-4);
        const QImage out = w->Picture1->picture();
        QCOMPARE(out.pixelColor(0, 0), QColor(255, 0, 0));   // old SW
        QCOMPARE(out.pixelColor(29, 0), QColor(0, 0, 255));  // old NW
        QCOMPARE(out.pixelColor(15, 30), QColor(0, 255, 0));
        // The old window is as it was.
        QCOMPARE(old->Pictype, int16_t(1));
        QCOMPARE(old->lon1, -10.0f);
    }

    // A picture without corners gets the unit square first, and keeps it.
    void rotateUnitCorners()
    {
        frmPic *old = picture(1, solid(20, 20, QColor(9, 9, 9)), 0, 0, 0, 0);
        old->lat1 = old->lat2 = 7;  // latitudes do not count, only longitudes
        zk::rotatepic(30, 1);
        QCOMPARE(old->Pictype, int16_t(2));
        QCOMPARE(old->lon1, 0.0f);
        QCOMPARE(old->lon2, 1.0f);
        QCOMPARE(old->lon3, 1.0f);
        QCOMPARE(old->lon4, 0.0f);
        QCOMPARE(old->lat1, 1.0f);
        QCOMPARE(old->lat2, 1.0f);
        QCOMPARE(old->lat3, 0.0f);
        QCOMPARE(old->lat4, 0.0f);
        QVERIFY(zk::activepic() != old);
    }

    // Rotation and projection act only on pictures with corners.
    void needsFrame()
    {
        picture(0, solid(20, 20, QColor(9, 9, 9)), -10, 50, 10, 40);
        const int before = int(zk::picwindows().size());
        zk::rotatepic(30, 1);
        zk::projectpic();
        QCOMPARE(int(zk::picwindows().size()), before);
    }

    // projectpic: the new window of kind 2 with the trapezoid; outside the
    // old picture the new window keeps its background.
    void projectPicture()
    {
        picture(1, solid(201, 101, QColor(0, 0, 255)), 0, 50, 10, 40);
        zk::projectpic();
        frmPic *w = zk::activepic();
        QVERIFY(w);
        QCOMPARE(w->Pictype, int16_t(2));
        QCOMPARE(w->Picture1->scaleWidth(), 213);
        QCOMPARE(w->Picture1->scaleHeight(), 101);
        QVERIFY(std::fabs(w->lon1 + 0.61628) < 1e-4);
        QCOMPARE(w->lon4, 0.0f);
        const QImage out = w->Picture1->picture();
        QCOMPARE(out.pixelColor(106, 50), QColor(0, 0, 255));
        // The top corners lie west and east of the old picture.
        QCOMPARE(out.pixelColor(0, 0), zk::qcolor(w->Picture1->backColor()));
        QCOMPARE(out.pixelColor(212, 0), zk::qcolor(w->Picture1->backColor()));
    }

    // frmMerge: both lists hold the pictures of kind 1 or 2, by file name,
    // with the last one selected; equal choices do nothing.
    void mergeDialog()
    {
        frmPic *a = picture(1, solid(20, 10, QColor(10, 20, 30)), -10, 50, 10, 40);
        picture(0, solid(20, 10, QColor(1, 1, 1)), -10, 50, 10, 40);
        frmPic *c = picture(2, solid(20, 10, QColor(200, 100, 50)), -10, 50, 10, 40);
        zk::frmMerge dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Mélange d'images"));
        QCOMPARE(dlg.Label1[0]->text(), QStringLiteral("Image (source)"));
        QCOMPARE(dlg.Label1[1]->text(), QStringLiteral("Image (destination)"));
        QCOMPARE(dlg.Command1[0]->text(), QStringLiteral("Copier"));
        QCOMPARE(dlg.Command1[1]->text(), QStringLiteral("Mélange addition"));
        QCOMPARE(dlg.Command1[2]->text(), QStringLiteral("Mélange multiplication"));
        QCOMPARE(dlg.Command3->text(), QStringLiteral("Annuler"));
        QCOMPARE(dlg.Combo1[0]->count(), 2);
        QCOMPARE(dlg.Combo1[0]->itemText(0), zk::fileof(a->Filename));
        QCOMPARE(dlg.Combo1[1]->itemText(1), zk::fileof(c->Filename));
        QCOMPARE(dlg.Combo1[0]->currentIndex(), 1);
        QCOMPARE(dlg.Combo1[1]->currentIndex(), 1);
        QCOMPARE(dlg.entry(0), a);
        QCOMPARE(dlg.entry(1), c);

        dlg.show();
        dlg.Command1[0]->click();  // same picture in both lists
        QVERIFY(dlg.isVisible());
        QCOMPARE(c->Picture1->picture().pixelColor(0, 0), QColor(200, 100, 50));

        dlg.Combo1[0]->setCurrentIndex(0);
        dlg.Command1[2]->click();  // multiply a into c
        QVERIFY(!dlg.isVisible());
        QCOMPARE(c->Picture1->picture().pixelColor(0, 0), QColor(10 * 200 / 255, 20 * 100 / 255, 30 * 50 / 255));
    }

    void mergeDialogEmpty()
    {
        zk::frmMerge dlg;
        QCOMPARE(dlg.Combo1[0]->count(), 0);
        QCOMPARE(dlg.Combo1[0]->placeholderText(), QStringLiteral("Pas d'image"));
        dlg.show();
        dlg.Command1[1]->click();
        QVERIFY(dlg.isVisible());
        QCOMPARE(zk::runflag, int16_t(0));
    }

    // frmRotate's reading of its two boxes.
    void rotateInput_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("angle");
        QTest::addColumn<QString>("stretch");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("s");
        QTest::newRow("plain") << "C" << "30" << "2" << 30.0 << 2.0;
        QTest::newRow("limits") << "C" << "400" << "25" << 360.0 << 20.0;
        QTest::newRow("low limits") << "C" << "-400" << "0" << -360.0 << 0.1;
        QTest::newRow("not numbers keep the defaults") << "C" << "abc" << "x" << 0.0 << 1.0;
        QTest::newRow("empty keeps the defaults") << "C" << "" << " " << 0.0 << 1.0;
        QTest::newRow("comma locale") << "fr_FR" << "12,5" << "1,5" << 12.5 << 1.5;
        QTest::newRow("point under a comma locale is no number") << "fr_FR" << "12.5" << "1.5" << 0.0 << 1.0;
    }
    void rotateInput()
    {
        QFETCH(QString, locale);
        QFETCH(QString, angle);
        QFETCH(QString, stretch);
        QFETCH(double, a);
        QFETCH(double, s);
        QLocale::setDefault(QLocale(locale));
        const zk::RotateInput in = zk::rotateinput(angle, stretch);
        QCOMPARE(in.angle_deg, a);
        QCOMPARE(in.stretch, s);
    }

    void rotateDialog()
    {
        frmPic *old = picture(1, solid(20, 10, QColor(10, 20, 30)), -10, 50, 10, 40);
        {
            zk::frmRotate dlg;
            QCOMPARE(dlg.windowTitle(), QStringLiteral("Tourner/Étirer (dans une nouvelle image)"));
            QCOMPARE(dlg.Label1->text(), QStringLiteral("Rotation (° sens horaire)"));
            QCOMPARE(dlg.Label2->text(), QStringLiteral("Facteur d'étirement"));
            QCOMPARE(dlg.Text1->text(), QStringLiteral("0"));
            QCOMPARE(dlg.Text2->text(), QStringLiteral("1"));
            QCOMPARE(dlg.Command1->text(), QStringLiteral("Appliquer"));
            QCOMPARE(dlg.Command2->text(), QStringLiteral("Annuler"));
            // 0 and 1 make nothing; neither do texts that are not numbers.
            dlg.show();
            dlg.Command1->click();
            QVERIFY(!dlg.isVisible());
            dlg.Text1->setText(QStringLiteral("quarante"));
            dlg.Text2->setText(QStringLiteral("deux"));
            dlg.Command1->click();
            QCOMPARE(zk::activepic(), old);
        }
        zk::frmRotate dlg;
        dlg.Text1->setText(QStringLiteral("90"));
        dlg.Text2->setText(QStringLiteral("2"));
        dlg.Command1->click();
        frmPic *w = zk::activepic();
        QVERIFY(w && w != old);
        QCOMPARE(w->Picture1->scaleWidth(), 20);
        QCOMPARE(w->Picture1->scaleHeight(), 40);
    }
};

QTEST_MAIN(TestMerge)
#include "test_merge.moc"
