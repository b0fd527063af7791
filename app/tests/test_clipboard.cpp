// Pictures through the clipboard: the picture text written under a "." and
// a "," locale, read back under either, foreign and short texts, copies of
// a whole picture and of a selection, pastes into a picture and as a new
// picture, and the round trip.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>
#include <QTest>

#include "app/clipboard.h"
#include "cp1252.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/picfiles.h"
#include "shellenv.h"

using shelltest::Env;
using zk::ClipCalibration;

Q_DECLARE_METATYPE(ClipCalibration)

namespace {

ClipCalibration calib(std::array<float, 4> lon, std::array<float, 4> lat, int16_t kind, const QString &source)
{
    ClipCalibration c;
    c.lon = lon;
    c.lat = lat;
    c.Pictype = kind;
    c.source = source;
    return c;
}

void putOnClipboard(const QImage &img, const QString &text, bool withText = true)
{
    auto *m = new QMimeData;
    if (!img.isNull()) m->setImageData(img);
    if (withText) m->setText(text);
    QGuiApplication::clipboard()->setMimeData(m);
}

QString clipboardText()
{
    const QMimeData *m = QGuiApplication::clipboard()->mimeData();
    return m ? m->text() : QString();
}

QImage clipboardImage()
{
    const QMimeData *m = QGuiApplication::clipboard()->mimeData();
    return m ? qvariant_cast<QImage>(m->imageData()) : QImage();
}

void sameCalibration(const zk::frmPic *w, const ClipCalibration &c)
{
    QCOMPARE(w->Pictype, c.Pictype);
    QCOMPARE(w->source, c.source);
    const float lon[4] = {w->lon1, w->lon2, w->lon3, w->lon4};
    const float lat[4] = {w->lat1, w->lat2, w->lat3, w->lat4};
    for (int i = 0; i < 4; ++i) {
        QVERIFY2(std::fabs(lon[i] - c.lon[size_t(i)]) < 1e-5f, qPrintable(QString::number(i)));
        QVERIFY2(std::fabs(lat[i] - c.lat[size_t(i)]) < 1e-5f, qPrintable(QString::number(i)));
    }
}

}  // namespace

class TestClipboard : public QObject {
    Q_OBJECT

    std::unique_ptr<Env> env;

    // A picture of kind 1 with the map's kind of corners, 200 x 100 pixels.
    zk::frmPic *calibratedPicture()
    {
        zk::frmPic *w = zk::openpicture(QString(), 2);
        w->Picture1->setPicture(shelltest::pattern(200, 100));
        w->Pictype = 1;
        w->lon1 = -73.5f;
        w->lat1 = 45.25f;
        w->lon2 = -72.5f;
        w->lat2 = 45.25f;
        w->lon3 = -72.5f;
        w->lat3 = 44.75f;
        w->lon4 = -73.5f;
        w->lat4 = 44.75f;
        w->source = QStringLiteral("Carte de la région");
        return w;
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        env = std::make_unique<Env>();
        QGuiApplication::clipboard()->clear();
    }
    void cleanup()
    {
        env.reset();
        QLocale::setDefault(QLocale::c());
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("text");
        QTest::newRow("negative longitude") << "C" << -73.5f << 3 << "-073.50000";
        QTest::newRow("latitude") << "C" << 45.25f << 2 << "45.25000";
        QTest::newRow("comma") << "fr_FR" << -73.5f << 3 << "-073,50000";
        QTest::newRow("zero") << "C" << 0.0f << 3 << "000.00000";
        QTest::newRow("tiny negative has no sign") << "C" << -0.000001f << 2 << "00.00000";
        QTest::newRow("rounded") << "C" << 123.456789f << 3 << "123.45679";
        QTest::newRow("more digits than the mask") << "C" << -179.5f << 2 << "-179.50000";
        QTest::newRow("single digit latitude") << "fr_FR" << 5.5f << 2 << "05,50000";
    }
    void numbers()
    {
        QFETCH(QString, locale);
        QFETCH(float, value);
        QFETCH(int, digits);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(zk::clipnumber(value, digits), text);
    }

    void textOfWholePicture()
    {
        // Kind 1, corner 1 at -73.5, 45.25, under a "." locale.
        const QString t = zk::cliptext(calib({-73.5f, 10, 10, -73.5f}, {45.25f, 45.25f, 40, 40}, 1, "Carte"));
        QCOMPARE(t.count(QChar(9)), 10);
        QVERIFY(t.endsWith(QChar(9)));
        const QStringList f = t.split(QChar(9));
        QCOMPARE(f[0], QStringLiteral("-073.50000"));
        QCOMPARE(f[1], QStringLiteral("45.25000"));
        QCOMPARE(f[2], QStringLiteral("010.00000"));
        QCOMPARE(f[8], QStringLiteral("01"));
        QCOMPARE(f[9], QStringLiteral("Carte"));
        QCOMPARE(f[10], QString());
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<ClipCalibration>("want");
        const QChar t(9);
        const QString full = QStringList({"-073.50000", "45.25000", "-072.50000", "45.25000", "-072.50000", "44.75000",
                                          "-073.50000", "44.75000", "01", "Carte", ""})
                                 .join(t);
        const ClipCalibration fullc = calib({-73.5f, -72.5f, -72.5f, -73.5f}, {45.25f, 45.25f, 44.75f, 44.75f}, 1, "Carte");
        QTest::newRow("point") << full << fullc;
        QString comma = full;
        comma.replace(QLatin1Char('.'), QLatin1Char(','));
        QTest::newRow("comma") << comma << fullc;
        QTest::newRow("no tab: foreign text") << "Lien A - B : 120 dB" << calib({}, {}, 0, "");
        QTest::newRow("five fields") << "1.5\t2.5\t3.5\t4.5\t5.5\t6.5" << calib({1.5f, 3.5f, 5.5f, 0}, {2.5f, 4.5f, 0, 0}, 0, "");
        QTest::newRow("kind 99") << "0\t0\t0\t0\t0\t0\t0\t0\t99\tX\t" << calib({}, {}, 20, "X");
        QTest::newRow("kind -5") << "0\t0\t0\t0\t0\t0\t0\t0\t-5\tX\t" << calib({}, {}, 0, "X");
        QTest::newRow("kind with text after") << "\t\t\t\t\t\t\t\t2.7abc\tX\t" << calib({}, {}, 3, "X");
        QTest::newRow("kind with comma is 3") << "\t\t\t\t\t\t\t\t3,9\t\t" << calib({}, {}, 3, "");
        QTest::newRow("not numbers") << "abc\t1e40\tnan\tinf\t\t 12.5 \t7,25\t-0,5\t02\tY\t" << calib({0, 0, 0, 7.25f}, {0, 0, 12.5f, -0.5f}, 2, "Y");
        QTest::newRow("text after last tab unused") << "1\t2\t3\t4\t5\t6\t7\t8\t2\tSource\textra" << calib({1, 3, 5, 7}, {2, 4, 6, 8}, 2, "Source");
        QTest::newRow("eleven fields") << "1\t2\t3\t4\t5\t6\t7\t8\t2\tS\tmore\t" << calib({1, 3, 5, 7}, {2, 4, 6, 8}, 2, "S");
        QTest::newRow("empty") << "" << calib({}, {}, 0, "");
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(ClipCalibration, want);
        const ClipCalibration got = zk::parsecliptext(text);
        QCOMPARE(got.Pictype, want.Pictype);
        QCOMPARE(got.source, want.source);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(got.lon[size_t(i)], want.lon[size_t(i)]);
            QCOMPARE(got.lat[size_t(i)], want.lat[size_t(i)]);
        }
    }

    void copyWholePicture()
    {
        zk::frmPic *w = calibratedPicture();
        // Drawings on the picture travel with it.
        w->Picture1->image().setPixelColor(3, 4, Qt::red);
        env->w->action(QStringLiteral("mnuEditCopy"))->trigger();
        const QImage img = clipboardImage();
        QCOMPARE(img.size(), QSize(200, 100));
        QCOMPARE(img.pixelColor(3, 4), QColor(Qt::red));
        QCOMPARE(img.pixelColor(150, 60), QColor(150, 60, 7));
        const QString t = clipboardText();
        QCOMPARE(t, QStringLiteral("-073.50000\t45.25000\t-072.50000\t45.25000\t-072.50000\t44.75000\t-073.50000\t44.75000\t01\t"
                                   "Carte de la région\t"));
        // The same text as 8-bit text.
        const QMimeData *m = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(m->data(QLatin1String(zk::kClipTextFormat)), zk::toCp1252(t));
        QVERIFY(m->data(QLatin1String(zk::kClipTextFormat)).contains('\xE9'));
    }

    void copySelection()
    {
        zk::frmPic *w = calibratedPicture();
        w->Shape2->setGeometry(10, 20, 100, 50);
        w->Shape2->show();
        env->w->action(QStringLiteral("mnuEditCopy"))->trigger();
        QVERIFY(w->Shape2->isHidden());
        const QImage img = clipboardImage();
        QCOMPARE(img.size(), QSize(100, 50));
        QCOMPARE(img.pixelColor(0, 0), QColor(10, 20, 7));
        QCOMPARE(img.pixelColor(99, 49), QColor(109, 69, 7));
        // The scratch picture box is back to its small empty state.
        QCOMPARE(w->Picture3->scaleWidth(), 10);
        QCOMPARE(w->Picture3->scaleHeight(), 10);
        QVERIFY(w->Picture3->picture().isNull());
        // Corners at the selection's first and last pixels.
        ClipCalibration want;
        want.Pictype = 2;
        want.source = QStringLiteral("Selection");
        const int px[4][2] = {{10, 20}, {109, 20}, {109, 69}, {10, 69}};
        for (int i = 0; i < 4; ++i)
            QVERIFY(zk::pixtogeo(w, float(px[i][0]), float(px[i][1]), want.lon[size_t(i)], want.lat[size_t(i)]));
        QCOMPARE(clipboardText(), zk::cliptext(want));
        QVERIFY(clipboardText().endsWith(QLatin1String("\t02\tSelection\t")));
    }

    void copyWithoutPictureEmptiesClipboard()
    {
        putOnClipboard(shelltest::pattern(5, 5), QStringLiteral("old"));
        env->w->action(QStringLiteral("mnuEditCopy"))->trigger();
        const QMimeData *m = QGuiApplication::clipboard()->mimeData();
        QVERIFY(!m || m->formats().isEmpty());
    }

    void pasteForeignBitmap()
    {
        zk::frmPic *w = calibratedPicture();
        const QString name = w->Filename;
        putOnClipboard(shelltest::pattern(64, 48), QString(), false);
        env->w->action(QStringLiteral("mnuEditPaste"))->trigger();
        sameCalibration(w, calib({}, {}, 2, QStringLiteral("Image collée")));
        QCOMPARE(w->Picture1->picture().size(), QSize(64, 48));
        QCOMPARE(w->Picture1->width(), 64);
        QCOMPARE(w->Filename, name);
        QCOMPARE(zk::picwindows().size(), 1);
    }

    void pasteForeignText()
    {
        zk::frmPic *w = calibratedPicture();
        putOnClipboard(shelltest::pattern(8, 8), QStringLiteral("Lien A - B"));
        env->w->action(QStringLiteral("mnuEditPaste"))->trigger();
        sameCalibration(w, calib({}, {}, 0, QString()));
    }

    void textAloneIsNotPasted()
    {
        zk::frmPic *w = calibratedPicture();
        putOnClipboard(QImage(), zk::cliptext(calib({1, 2, 3, 4}, {5, 6, 7, 8}, 2, "T")));
        env->w->action(QStringLiteral("mnuEditPaste"))->trigger();
        env->w->action(QStringLiteral("mnuEditPasteNew"))->trigger();
        QCOMPARE(w->Pictype, int16_t(1));
        QCOMPARE(zk::picwindows().size(), 1);
    }

    void pasteWithoutPicture()
    {
        putOnClipboard(shelltest::pattern(30, 20), QString(), false);
        env->w->action(QStringLiteral("mnuEditPaste"))->trigger();
        QVERIFY(zk::picwindows().isEmpty());
        env->w->action(QStringLiteral("mnuEditPasteNew"))->trigger();
        QCOMPARE(zk::picwindows().size(), 1);
        zk::frmPic *w = zk::activepic();
        QVERIFY(w);
        QCOMPARE(w->Picture1->picture().size(), QSize(30, 20));
        QCOMPARE(w->source, QStringLiteral("Image collée"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("writeLocale");
        QTest::addColumn<QString>("readLocale");
        QTest::addColumn<bool>("selection");
        QTest::newRow("point, whole") << "C" << "C" << false;
        QTest::newRow("comma, whole") << "fr_FR" << "fr_FR" << false;
        QTest::newRow("comma written, point read") << "fr_FR" << "C" << false;
        QTest::newRow("point written, comma read") << "C" << "fr_FR" << false;
        QTest::newRow("comma, selection") << "fr_FR" << "fr_FR" << true;
    }
    void roundTrip()
    {
        QFETCH(QString, writeLocale);
        QFETCH(QString, readLocale);
        QFETCH(bool, selection);
        zk::frmPic *src = calibratedPicture();
        ClipCalibration want = calib({src->lon1, src->lon2, src->lon3, src->lon4}, {src->lat1, src->lat2, src->lat3, src->lat4},
                                     src->Pictype, src->source);
        if (selection) {
            src->Shape2->setGeometry(50, 10, 40, 30);
            src->Shape2->show();
            want.Pictype = 2;
            want.source = QStringLiteral("Selection");
            const int px[4][2] = {{50, 10}, {89, 10}, {89, 39}, {50, 39}};
            for (int i = 0; i < 4; ++i) zk::pixtogeo(src, float(px[i][0]), float(px[i][1]), want.lon[size_t(i)], want.lat[size_t(i)]);
        }
        QLocale::setDefault(QLocale(writeLocale));
        env->w->action(QStringLiteral("mnuEditCopy"))->trigger();
        QLocale::setDefault(QLocale(readLocale));
        env->w->action(QStringLiteral("mnuEditPasteNew"))->trigger();
        QCOMPARE(zk::picwindows().size(), 2);
        zk::frmPic *copy = zk::activepic();
        QVERIFY(copy && copy != src);
        sameCalibration(copy, want);
        QCOMPARE(copy->Picture1->picture().size(), selection ? QSize(40, 30) : QSize(200, 100));
    }
};

QTEST_MAIN(TestClipboard)
#include "test_clipboard.moc"
