// The viewer's window: start-up, menus, drawing at the automatic and fixed
// vertical scales with the curvature on the ground or on the beam, captions,
// the cursor and its read-out, reversal, copy, About, quit, layout, and the
// damaged files that must leave the program and its drawing alive.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include "base/dialogs.h"
#include "msgbox.h"
#include "pathviewer/cursor.h"
#include "pathviewer/form1.h"
#include "pathviewer/pathtext.h"
#include "pathviewer/picturebox.h"
#include "pathviewer/profile.h"

using namespace zk::pathviewer;

namespace {

struct Sample {
    double d, alt;
    int code = 0;
    double cover = 0;
};

QByteArray pathFile(const QByteArray &a, double h1, const QByteArray &b, double h2, double f_ghz, double k,
                    const QList<Sample> &samples)
{
    QByteArray t = "Kestrova pour Windows\r\nVersion 1.0\r\nStart\r\n" + a + "\r\n" + QByteArray::number(h1) + "\r\n" + b +
                   "\r\n" + QByteArray::number(h2) + "\r\n" + QByteArray::number(f_ghz) + "\r\n" +
                   QByteArray::number(k, 'g', 9) + "\r\n";
    for (const Sample &s : samples)
        t += QByteArray::number(s.d, 'f', 3) + '\t' + QByteArray::number(s.alt, 'f', 1) + '\t' +
             QByteArray::number(s.code) + '\t' + QByteArray::number(s.cover) + "\r\n";
    return t;
}

// The test profile: 10 km, flat ground at 100 m with a hill of 150 m at
// 5 km and a green cover of 10 m at 3 km, 30 m masts, 1 GHz, K = 4/3.
QList<Sample> profileA()
{
    QList<Sample> s;
    for (int i = 0; i <= 10; ++i) s << Sample{double(i), i == 5 ? 150.0 : 100.0, i == 3 ? 2 : 0, i == 3 ? 10.0 : 0.0};
    return s;
}

constexpr double kK = 1.3333333;
constexpr int W = 600, H = 400;

// Independent arithmetic of the expected geometry (double precision).
double bulge(double d, double T = 10) { return d * (T - d) / 12.75 / kK; }
double fresnel(double d, double T = 10, double f = 1) { return std::sqrt(d * (T - d) / T / f / 1000) / 0.001827906; }

long long rnd(double v) { return (long long)std::nearbyint(v); }

// Colours compared without their alpha byte.
constexpr QRgb rgb3(int r, int g, int b) { return QRgb((r << 16) | (g << 8) | b); }
QRgb rgbOf(uint32_t bgr) { return rgb3(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }
constexpr QRgb kSky = rgb3(110, 210, 255), kGround = rgb3(170, 110, 40), kEarth = rgb3(100, 50, 20),
               kBeam = rgb3(20, 20, 255), kBlack = rgb3(0, 0, 0), kWhite = rgb3(255, 255, 255),
               kGrey = rgb3(128, 128, 128), kGreen = rgb3(0, 255, 0), kYellow = rgb3(255, 255, 0);

QRgb px(const QImage &img, int x, double y) { return img.pixel(x, int(rnd(y))) & 0xFFFFFF; }
QRgb px(const QImage &img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

// Some pixel of column x within one pixel of y has the colour.
bool nearColour(const QImage &img, int x, double y, QRgb c)
{
    for (int dy = -1; dy <= 1; ++dy) {
        const int yy = int(rnd(y)) + dy;
        if (yy >= 0 && yy < img.height() && (img.pixel(x, yy) & 0xFFFFFF) == (c & 0xFFFFFF)) return true;
    }
    return false;
}

QAction *action(Form1 &f, const char *name) { return f.findChild<QAction *>(QString::fromLatin1(name)); }
CaptionLabel *label(Form1 &f, const char *name) { return f.findChild<CaptionLabel *>(QString::fromLatin1(name)); }
QWidget *widget(Form1 &f, const char *name) { return f.findChild<QWidget *>(QString::fromLatin1(name)); }

// Dialog answers for the hooks (plain functions, so the state is static).
QString g_openAnswer;
QString g_openProposed, g_openFilter, g_openTitle;
bool g_colourConfirm = true;
uint32_t g_colourAnswer = 0, g_colourInitial = 0;

QString openHook(bool save, const QString &proposed, const QString &filter, const QString &title)
{
    Q_UNUSED(save);
    g_openProposed = proposed;
    g_openFilter = filter;
    g_openTitle = title;
    return g_openAnswer;
}

bool colourHook(uint32_t initial, const uint32_t *, uint32_t &chosen)
{
    g_colourInitial = initial;
    if (!g_colourConfirm) return false;
    chosen = g_colourAnswer;
    return true;
}

}  // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
        f.write(bytes);
        return path;
    }

    QString profileAFile() { return write(QStringLiteral("a.txt"), pathFile(" Left site ", 30, "Right", 30, 1, kK, profileA())); }

    static void showForm(Form1 &f)
    {
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
    }

    static void setClientSize(Form1 &f, int w, int h)
    {
        f.resize(w, h + f.menuBar()->height());
        QTRY_COMPARE(f.centralWidget()->size(), QSize(w, h));
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        zk::dialogHooks = zk::DialogHooks{};
    }

    void startupWithoutFile()
    {
        zk::MsgScript script;
        Form1 f;
        f.start(QString());
        showForm(f);
        QCOMPARE(f.objectName(), QStringLiteral("Form1"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Zelpath"));
        QCOMPARE(f.picture()->objectName(), QStringLiteral("Picture1"));
        QCOMPARE(f.picture()->size(), QSize(W, H));
        QCOMPARE(f.centralWidget()->size(), QSize(W, H));
        QCOMPARE(f.picture()->pos(), QPoint(0, 0));
        for (const char *n : {"HScroll1", "VScroll1", "Picture2", "Label1(1)", "Label1(2)", "Label2", "Label3", "Line1"})
            QVERIFY2(!widget(f, n)->isVisible(), n);
        const QImage &img = f.picture()->image();
        QCOMPARE(px(img, 0, 0), kGrey);
        QCOMPARE(px(img, 300, 200), kGrey);
        QCOMPARE(px(img, W - 1, H - 1), kGrey);
        // Keys and clicks do nothing before a drawing.
        QTest::keyClick(&f, Qt::Key_Right);
        QTest::mouseClick(f.picture(), Qt::LeftButton, {}, QPoint(300, 200));
        QVERIFY(!widget(f, "Label3")->isVisible());
        QVERIFY(!widget(f, "Line1")->isVisible());
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(f.state().pathfreq, 0.3);
        QCOMPARE(f.state().kfactor, 1.3333333f);
    }

    void menus_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("checked");
        QTest::newRow("menu(1)") << "menu(1)" << "&Fichier" << false;
        QTest::newRow("menu1(1)") << "menu1(1)" << "&Ouvrir" << false;
        QTest::newRow("menu1(4)") << "menu1(4)" << "&Fermer" << false;
        QTest::newRow("menu(2)") << "menu(2)" << "&Edition" << false;
        QTest::newRow("menu2(1)") << "menu2(1)" << "&Copier" << false;
        QTest::newRow("menu2(3)") << "menu2(3)" << "&Inverser" << false;
        QTest::newRow("menu(3)") << "menu(3)" << "&Options" << false;
        QTest::newRow("menu3(1)") << "menu3(1)" << "&Zones de Fresnel" << false;
        QTest::newRow("menu31(1)") << "menu31(1)" << "&0.6" << true;
        QTest::newRow("menu31(2)") << "menu31(2)" << "&1" << false;
        QTest::newRow("menu31(3)") << "menu31(3)" << "&2" << false;
        QTest::newRow("menu31(4)") << "menu31(4)" << "&Dégagement" << true;
        QTest::newRow("menu3(2)") << "menu3(2)" << "Courbure de la &terre" << false;
        QTest::newRow("menu32(1)") << "menu32(1)" << "&Sol" << true;
        QTest::newRow("menu32(2)") << "menu32(2)" << "&Faisceau" << false;
        QTest::newRow("menu3(3)") << "menu3(3)" << "Echelle &verticale" << false;
        QTest::newRow("menu33(1)") << "menu33(1)" << "&Automatique" << true;
        QTest::newRow("menu33(2)") << "menu33(2)" << "&1     1:1" << false;
        QTest::newRow("menu33(3)") << "menu33(3)" << "&2   10:1" << false;
        QTest::newRow("menu33(4)") << "menu33(4)" << "&3   20:1" << false;
        QTest::newRow("menu33(5)") << "menu33(5)" << "&4   50:1" << false;
        QTest::newRow("menu33(6)") << "menu33(6)" << "&5 100:1" << false;
        QTest::newRow("menu3(4)") << "menu3(4)" << "&Couleurs" << false;
        QTest::newRow("menu34(1)") << "menu34(1)" << "&Terre" << false;
        QTest::newRow("menu34(2)") << "menu34(2)" << "&Sol" << false;
        QTest::newRow("menu34(3)") << "menu34(3)" << "&Ciel" << false;
        QTest::newRow("menu3(5)") << "menu3(5)" << "&Etiquettes" << false;
        QTest::newRow("menu35(1)") << "menu35(1)" << "&Système" << true;
        QTest::newRow("menu35(2)") << "menu35(2)" << "&Propagation" << true;
        QTest::newRow("menu(4)") << "menu(4)" << "&Aide" << false;
        QTest::newRow("menu4(1)") << "menu4(1)" << "&A propos" << false;
    }
    void menus()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, checked);
        Form1 f;
        QAction *a = f.findChild<QAction *>(name);
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->isChecked(), checked);
        QVERIFY(a->isEnabled());
    }

    void menuOrder()
    {
        Form1 f;
        QStringList top;
        for (QAction *a : f.menuBar()->actions()) top << a->text();
        QCOMPARE(top, QStringList({"&Fichier", "&Edition", "&Options", "&Aide"}));
        QStringList opts;
        for (QAction *a : f.menus().menu[3]->actions()) opts << a->objectName();
        QCOMPARE(opts, QStringList({"menu3(1)", "menu3(2)", "menu3(3)", "menu3(4)", "menu3(5)"}));
        QVERIFY(f.menus().menu1[3]->isSeparator());
        QVERIFY(f.menus().menu2[2]->isSeparator());
    }

    // Ground mode, automatic scale: geometry, pixels of every layer.
    void drawOnTheGround()
    {
        zk::MsgScript script;
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        QVERIFY(script.shown().isEmpty());
        const PathState &s = f.state();
        QVERIFY(s.curveground);

        // Bulge, Fresnel radius and clearance of the interior samples.
        for (int i = 2; i <= 10; ++i) {
            const double d = i - 1;
            const double top = (i == 6 ? 150 : 100) + (i == 4 ? 10 : 0);
            QVERIFY(std::fabs(s.pbulge[size_t(i)] - bulge(d)) < 1e-4);
            QVERIFY(std::fabs(s.pfresnel[size_t(i)] - fresnel(d)) < 1e-3);
            QVERIFY(std::fabs(s.pclear[size_t(i)] - (130 - top - bulge(d)) / fresnel(d)) < 1e-5);
        }
        QCOMPARE(s.pclear[1], 0.0f);
        QCOMPARE(s.pclear[11], 0.0f);
        QCOMPARE(s.pbulge[11], 0.0f);
        QCOMPARE(s.pfresnel[11], 0.0f);
        QVERIFY(std::fabs(s.minclear - (130 - 150 - bulge(5)) / fresnel(5)) < 1e-5);
        QCOMPARE(s.mincleardist, 5.0);
        QCOMPARE(s.endalt[1], 100.0f);
        QCOMPARE(s.endalt[2], 100.0f);

        // Range: 100 .. 150 + bulge(5), spread below the minimum R.
        const double R = std::max(150 + bulge(5) - 100, double(H) / W * 10 * 500 / 50);
        QVERIFY(std::fabs(s.altmin - (100 - 0.2 * R)) < 1e-3);
        QVERIFY(std::fabs(s.altmax - (100 - 0.2 * R + 1.5 * R)) < 1e-3);
        QCOMPARE(s.distmin, 0.0f);
        QCOMPARE(s.distmax, 10.0f);

        auto X = [&](double d) { return d * (W - 5) / 10 + 2; };
        auto Y = [&](double a) { return (s.altmax - a) * (H - 5) / (s.altmax - s.altmin) + 2; };
        QVERIFY(std::fabs(xpixel(s, 5, W) - X(5)) < 1e-4);
        QVERIFY(std::fabs(ypixel(s, 130, H) - Y(130)) < 1e-3);

        const QImage img = f.picture()->image();
        QCOMPARE(px(img, int(rnd(X(1.5))), Y(180)), kSky);
        QCOMPARE(px(img, int(rnd(X(7.5))), Y(95)), kGround);
        QCOMPARE(px(img, int(rnd(X(4.8))), H - 4), kEarth);  // the band raised by the curvature
        QCOMPARE(px(img, 0, 200), kGrey);                     // margins keep the back colour
        QCOMPARE(px(img, W - 1, 200), kGrey);
        // Cover mark: 2 pixels wide from just below the ground to the top of the cover.
        const int xc = int(rnd(X(3) - 1));
        QCOMPARE(px(img, xc, (Y(101.2) + Y(111.2)) / 2), kGreen);
        QCOMPARE(px(img, xc + 1, (Y(101.2) + Y(111.2)) / 2), kGreen);
        QCOMPARE(px(img, xc + 2, (Y(101.2) + Y(111.2)) / 2), kSky);
        // Beam at every vertex; the 0.6 zone above and below it at 2 km.
        for (int d = 1; d <= 9; ++d) QVERIFY2(px(img, int(rnd(X(d))), Y(130)) == kBeam, qPrintable(QString::number(d)));
        QCOMPARE(px(img, int(rnd(X(2))), Y(130 + 0.6 * fresnel(2))), kBlack);
        QCOMPARE(px(img, int(rnd(X(2))), Y(130 - 0.6 * fresnel(2))), kBlack);
        // Zones 1 and 2 are off by default.
        QCOMPARE(px(img, int(rnd(X(2))), Y(130 - fresnel(2))), kSky);
        // Clearance line: black on the interval ending at an odd sample,
        // white on the next; it touches the hill top at 5 km.
        const double mc = -s.minclear;
        auto clearY = [&](double d) { return Y(130 + mc * fresnel(d)); };
        QVERIFY(nearColour(img, int(rnd((X(1) + X(2)) / 2)), (clearY(1) + clearY(2)) / 2, kBlack));
        QVERIFY(nearColour(img, int(rnd((X(2) + X(3)) / 2)), (clearY(2) + clearY(3)) / 2, kWhite));
        QVERIFY(std::fabs(clearY(5) - Y(150 + bulge(5))) < 0.01);
        // Masts: two pixels wide, from the ground to the antenna top.
        QCOMPARE(px(img, 1, Y(115)), kBeam);
        QCOMPARE(px(img, 2, Y(115)), kBeam);
        QCOMPARE(px(img, W - 3, Y(115)), kBeam);
        QCOMPARE(px(img, W - 2, Y(115)), kBeam);

        // The persistent picture is the background alone.
        const QImage &bg = f.picture()->stored();
        QCOMPARE(px(bg, int(rnd(X(2))), Y(130 + 0.6 * fresnel(2))), kSky);
        QCOMPARE(px(bg, int(rnd(X(7.5))), Y(95)), kGround);
    }

    void captions_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<QString>("propagation");
        QTest::newRow("point") << "C" << "Left site\n\rAlt 0100.0 m\n\rAnt 0030.0 m" << "Right\n\rAlt 0100.0 m\n\rAnt 0030.0 m"
                               << "10.000 km\n\rK=1.333\n\r1.000 GHz\n\rEspace libre 112.4 dB";
        QTest::newRow("comma") << "fr_FR" << "Left site\n\rAlt 0100,0 m\n\rAnt 0030,0 m"
                               << "Right\n\rAlt 0100,0 m\n\rAnt 0030,0 m"
                               << "10,000 km\n\rK=1,333\n\r1,000 GHz\n\rEspace libre 112,4 dB";
    }
    void captions()
    {
        QFETCH(QString, locale);
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(QString, propagation);
        QLocale::setDefault(QLocale(locale));
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        CaptionLabel *l1 = label(f, "Label1(1)"), *l2 = label(f, "Label1(2)"), *p = label(f, "Label2");
        QCOMPARE(l1->caption(), left);
        QCOMPARE(l2->caption(), right);
        QCOMPARE(p->caption(), propagation);
        QVERIFY(l1->isVisible() && l2->isVisible() && p->isVisible());
        QCOMPARE(l1->pos(), QPoint(3, 3));
        QCOMPARE(l2->x() + l2->width(), W - 4);
        QCOMPARE(l2->y(), 3);
        QCOMPARE(p->x(), int(rnd((W - p->width()) / 2.0)));
        QCOMPARE(p->y(), 3);
        QVERIFY(p->alignment() & Qt::AlignHCenter);
        QVERIFY(l2->alignment() & Qt::AlignRight);
        // Three lines of text show as three lines.
        QCOMPARE(l1->text().count(QLatin1Char('\n')), 2);
    }

    void freeSpaceLossValues_data()
    {
        QTest::addColumn<double>("t_km");
        QTest::addColumn<double>("f_ghz");
        QTest::addColumn<QString>("text");
        QTest::newRow("1 km 1 GHz") << 1.0 << 1.0 << "92.4";
        QTest::newRow("24 km 446 MHz") << 24.0 << 0.446 << "113.0";
        QTest::newRow("2.5 km 10 GHz") << 2.5 << 10.0 << "120.4";
    }
    void freeSpaceLossValues()
    {
        QFETCH(double, t_km);
        QFETCH(double, f_ghz);
        QFETCH(QString, text);
        QCOMPARE(formatMask(freeSpaceLoss(t_km, f_ghz), 1, 1, 15), text);
    }

    void fixedScales_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<double>("divisor");
        QTest::newRow("1:1") << 2 << 1.0;
        QTest::newRow("10:1") << 3 << 10.0;
        QTest::newRow("20:1") << 4 << 20.0;
        QTest::newRow("50:1") << 5 << 50.0;
        QTest::newRow("100:1") << 6 << 100.0;
    }
    void fixedScales()
    {
        QFETCH(int, item);
        QFETCH(double, divisor);
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        f.menus().menu31[1]->trigger();  // zone and clearance lines off: only the beam
        f.menus().menu31[4]->trigger();
        f.menus().menu33[size_t(item)]->trigger();
        for (int j = 1; j <= 6; ++j) QCOMPARE(f.menus().menu33[size_t(j)]->isChecked(), j == item);
        const PathState &s = f.state();
        const double span = double(H) / W * 10 * 500 / divisor;
        QVERIFY(std::fabs(s.altmax - (130 + span)) < 1e-3);
        QVERIFY(std::fabs(s.altmin - (130 - span)) < 1e-3);
        // The antennas sit in the middle of the picture.
        QVERIFY(std::fabs(ypixel(s, 130, H) - (2 + (H - 5) / 2.0)) < 1e-3);
        const QImage img = f.picture()->image();
        QCOMPARE(px(img, int(rnd(xpixel(s, 2, W))), int(rnd(ypixel(s, 130, H)))), kBeam);
        // Choosing the checked item again keeps it checked.
        f.menus().menu33[size_t(item)]->trigger();
        QVERIFY(f.menus().menu33[size_t(item)]->isChecked());
    }

    void flatPath()
    {
        QList<Sample> flat;
        for (int i = 0; i <= 10; ++i) flat << Sample{double(i), 100.0};
        Form1 f;
        showForm(f);
        f.loadpath(write(QStringLiteral("flat.txt"), pathFile("A", 0, "B", 0, 1, kK, flat)));
        const PathState &s = f.state();
        const double R = double(H) / W * 10 * 500 / 50;
        QVERIFY(std::fabs(s.altmin - (100 - 0.2 * R)) < 1e-3);
        QVERIFY(std::fabs(s.altmax - (100 + 1.3 * R)) < 1e-3);
    }

    void onTheBeam()
    {
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        const PathState ground = f.state();
        f.menus().menu32[2]->trigger();
        QVERIFY(!f.menus().menu32[1]->isChecked());
        QVERIFY(f.menus().menu32[2]->isChecked());
        const PathState &s = f.state();
        QVERIFY(!s.curveground);
        // Clearances and the smallest one do not change.
        for (int i = 1; i <= 11; ++i) QCOMPARE(s.pclear[size_t(i)], ground.pclear[size_t(i)]);
        QCOMPARE(s.mincleardist, ground.mincleardist);
        QCOMPARE(s.cursorpos, int16_t(6));
        const QImage img = f.picture()->image();
        // No earth band; the beam bends down by the bulge.
        QCOMPARE(px(img, int(rnd(xpixel(s, 4.8f, W))), H - 4), kGround);
        const int x5 = int(rnd(xpixel(s, 5, W)));
        QCOMPARE(px(img, x5, ypixel(s, float(130 - bulge(5)), H)), kBeam);
        QVERIFY(rnd(ypixel(s, float(130 - bulge(5)), H)) != rnd(ypixel(s, 130, H)));
        // The ground is drawn without the bulge: just above the hill top is sky.
        QCOMPARE(px(img, int(rnd(xpixel(s, 4.9f, W))), ypixel(s, 150.5f, H)), kSky);
        // Back on the ground.
        f.menus().menu32[1]->trigger();
        QVERIFY(f.state().curveground);
        QCOMPARE(px(f.picture()->image(), int(rnd(xpixel(s, 4.8f, W))), H - 4), kEarth);
    }

    void overlayOptions()
    {
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        const qint64 background = f.picture()->stored().cacheKey();
        const PathState &s = f.state();
        const int x2 = int(rnd(xpixel(s, 2, W)));
        auto zoneY = [&](double k) { return double(ypixel(s, float(130 - k * fresnel(2)), H)); };

        f.menus().menu31[2]->trigger();  // zone 1 on
        f.menus().menu31[3]->trigger();  // zone 2 on
        QImage img = f.picture()->image();
        QCOMPARE(px(img, x2, zoneY(1)), kBlack);
        QCOMPARE(px(img, x2, zoneY(std::sqrt(2.0))), kBlack);
        for (int i = 1; i <= 4; ++i)
            if (f.menus().menu31[size_t(i)]->isChecked()) f.menus().menu31[size_t(i)]->trigger();
        QCOMPARE(f.state().fresnelopt, (std::array<bool, 4>{false, false, false, false}));
        img = f.picture()->image();
        QCOMPARE(px(img, x2, zoneY(0.6)), kSky);
        QCOMPARE(px(img, x2, zoneY(1)), kSky);
        QCOMPARE(px(img, x2, ypixel(s, 130, H)), kBeam);  // beam and masts remain
        QCOMPARE(px(img, 1, ypixel(s, 115, H)), kBeam);
        // Only overlays were redrawn: the background was kept as it was.
        QCOMPARE(f.picture()->stored().cacheKey(), background);

        f.menus().menu35[2]->trigger();  // propagation caption off
        QVERIFY(!label(f, "Label2")->isVisible());
        QVERIFY(label(f, "Label1(1)")->isVisible());
        f.menus().menu35[1]->trigger();
        QVERIFY(!label(f, "Label1(1)")->isVisible());
        QVERIFY(!label(f, "Label1(2)")->isVisible());
        QCOMPARE(f.picture()->stored().cacheKey(), background);
        QVERIFY(label(f, "Label3")->isVisible());  // the cursor comes back after every redraw
    }

    void cursorAfterDrawing()
    {
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        const PathState &s = f.state();
        QCOMPARE(s.cursorpos, int16_t(6));
        CaptionLabel *l3 = label(f, "Label3");
        QWidget *line = widget(f, "Line1");
        QVERIFY(l3->isVisible() && line->isVisible());
        QCOMPARE(l3->caption(), QStringLiteral("5.0 km\n\r150.0 m\n\r-0.8F1"));
        const int xc = int(rnd(xpixel(s, 5, W)));  // 299.5 rounds to 300
        QCOMPARE(xc, 300);
        QCOMPARE(line->geometry(), QRect(xc, 0, 1, H + 1));
        // At the middle exactly the read-out is still on the left side.
        QCOMPARE(l3->x(), xc);
        QVERIFY(l3->alignment() & Qt::AlignLeft);
        QCOMPARE(l3->y(), int(rnd(ypixel(s, float(150 + bulge(5)), H))));

        // On screen: the yellow line over the picture, the read-out beside it.
        const QImage shot = f.picture()->grab().toImage();
        QCOMPARE(px(shot, xc, H - 10), kYellow);
        QCOMPARE(px(shot, xc - 1, H - 10), px(f.picture()->image(), xc - 1, H - 10));
        QVERIFY(px(shot, xc + 2, l3->y() + 2) != px(f.picture()->image(), xc + 2, l3->y() + 2) ||
                px(shot, xc + 3, l3->y() + 3) != px(f.picture()->image(), xc + 3, l3->y() + 3));
    }

    void cursorKeys()
    {
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        const PathState &s = f.state();
        CaptionLabel *l3 = label(f, "Label3");
        QTest::keyClick(&f, Qt::Key_Right);
        QCOMPARE(s.cursorpos, int16_t(7));
        QCOMPARE(l3->caption(), QStringLiteral("6.0 km\n\r100.0 m\n\r") +
                                    formatMask(s.pclear[7], 1, 1, 7) + QStringLiteral("F1"));
        // Right half: the read-out stands left of the line, text right-aligned.
        const int xc = int(rnd(xpixel(s, 6, W)));
        QCOMPARE(l3->x() + l3->width(), xc);
        QVERIFY(l3->alignment() & Qt::AlignRight);
        for (int i = 0; i < 10; ++i) QTest::keyClick(&f, Qt::Key_Right);
        QCOMPARE(s.cursorpos, int16_t(11));  // stops before the first zero distance
        QCOMPARE(l3->caption(), QStringLiteral("10.0 km\n\r100.0 m\n\r0.0F1"));
        for (int i = 0; i < 15; ++i) QTest::keyClick(&f, Qt::Key_Left);
        QCOMPARE(s.cursorpos, int16_t(1));
        QCOMPARE(l3->caption(), QStringLiteral("0.0 km\n\r100.0 m\n\r0.0F1"));
        QCOMPARE(widget(f, "Line1")->x(), int(rnd(xpixel(s, 0, W))));
    }

    void cursorClicks_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("sample");
        QTest::newRow("left edge") << 0 << 1;
        QTest::newRow("before sample 2") << 60 << 1;
        QTest::newRow("just past 1 km") << 61 << 2;
        QTest::newRow("between 5 and 6 km") << 357 << 6;
        QTest::newRow("just past 6 km") << 359 << 7;
        QTest::newRow("beyond the end") << 599 << 11;
    }
    void cursorClicks()
    {
        QFETCH(int, x);
        QFETCH(int, sample);
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        // t = (x - 1) / (W - 4) x T, the last sample at or before it.
        QTest::mouseClick(f.picture(), Qt::LeftButton, {}, QPoint(x, H - 10));
        QCOMPARE(f.state().cursorpos, int16_t(sample));
        QTest::keyClick(&f, Qt::Key_Left);
        QTest::mouseClick(f.picture(), Qt::RightButton, {}, QPoint(x, H - 10));
        QCOMPARE(f.state().cursorpos, int16_t(sample));
    }

    void cursorTargets()
    {
        PathState s;
        for (int i = 1; i <= 5; ++i) s.pdist[size_t(i)] = float(i - 1);
        s.distmax = 4;
        s.cursorpos = 3;
        QCOMPARE(cursorTarget(s, 1, cursorStep, W), int16_t(4));
        QCOMPARE(cursorTarget(s, -1, cursorStep, W), int16_t(2));
        QCOMPARE(cursorTarget(s, 2.5f, cursorStep, W), int16_t(3));  // 5.5 to even 6, at distance 0: stays
        s.cursorpos = 5;
        QCOMPARE(cursorTarget(s, 1, cursorStep, W), int16_t(5));
        QCOMPARE(cursorTarget(s, 2.0f, cursorDistance, W), int16_t(3));  // exactly on a sample
        QCOMPARE(cursorTarget(s, 2.9f, cursorDistance, W), int16_t(3));
        QCOMPARE(cursorTarget(s, -1.0f, cursorDistance, W), int16_t(1));
        QCOMPARE(cursorTarget(s, 1.0f, 7, W), int16_t(5));  // any other mode keeps it
        for (int i = 1; i <= kSamples; ++i) s.pdist[size_t(i)] = float(i);
        QCOMPARE(cursorTarget(s, 1e6f, cursorDistance, W), int16_t(kSamples));
        s.cursorpos = kSamples;
        QCOMPARE(cursorTarget(s, 1, cursorStep, W), int16_t(kSamples));
    }

    void readoutNearTheBottom()
    {
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        f.menus().menu33[6]->trigger();  // 100:1 puts the flat ground near the bottom
        for (int i = 0; i < 4; ++i) QTest::keyClick(&f, Qt::Key_Left);  // sample 2, 1 km
        const PathState &s = f.state();
        QCOMPARE(s.cursorpos, int16_t(2));
        CaptionLabel *l3 = label(f, "Label3");
        QCOMPARE(l3->caption().section(QLatin1Char('\n'), 1, 1), QStringLiteral("\r100.0 m"));
        const int top = int(rnd(ypixel(s, float(100 + bulge(1)), H)));
        QVERIFY(top + l3->height() > H);
        QCOMPARE(l3->y(), top - l3->height());
    }

    void reverseTwice()
    {
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        const PathState before = f.state();
        const QImage imgBefore = f.picture()->image();
        f.menus().menu2[3]->trigger();
        const PathState &s = f.state();
        QCOMPARE(s.sitename[1], QStringLiteral("Right"));
        QCOMPARE(s.sitename[2], QStringLiteral(" Left site "));
        QCOMPARE(s.pdist[1], 0.0f);
        QCOMPARE(s.pdist[8], 7.0f);
        QCOMPARE(s.pcode[8], uint8_t(2));  // the cover at 3 km is now at 7 km
        QCOMPARE(s.pcover[8], 10.0f);
        QCOMPARE(s.pdist[12], 0.0f);
        QCOMPARE(label(f, "Label1(1)")->caption().section(QLatin1Char('\n'), 0, 0), QStringLiteral("Right"));
        QCOMPARE(s.pathfreq, before.pathfreq);
        QCOMPARE(s.kfactor, before.kfactor);
        QVERIFY(f.picture()->image() != imgBefore);

        f.menus().menu2[3]->trigger();
        for (int i = 1; i <= kSamples; ++i) {
            const size_t k = size_t(i);
            QVERIFY(std::fabs(s.pdist[k] - before.pdist[k]) <= 1e-5f * 10);
            QCOMPARE(s.palt[k], before.palt[k]);
            QCOMPARE(s.pcode[k], before.pcode[k]);
            QCOMPARE(s.pcover[k], before.pcover[k]);
        }
        QCOMPARE(s.sitename, before.sitename);
        QCOMPARE(s.siteant, before.siteant);
        QCOMPARE(f.picture()->image(), imgBefore);
    }

    void reverseWithoutSamples()
    {
        Form1 f;
        showForm(f);
        QList<Sample> odd = {{5, 100}, {0, 110}, {3, 120}};
        f.loadpath(write(QStringLiteral("odd.txt"), pathFile("A", 1, "B", 2, 1, kK, odd)));
        f.menus().menu2[3]->trigger();
        const PathState &s = f.state();
        QCOMPARE(s.sitename[1], QStringLiteral("B"));
        QCOMPARE(s.siteant[1], 2.0f);
        QCOMPARE(s.pdist[1], 0.0f);  // its own distance, taken from itself
        QCOMPARE(s.palt[1], 100.0f);
        QCOMPARE(s.palt[2], 110.0f);
        QCOMPARE(s.pdist[3], 3.0f);
    }

    void copyToClipboard()
    {
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        QApplication::clipboard()->setText(QStringLiteral("old"));
        f.menus().menu2[1]->trigger();
        const QImage got = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(got, f.picture()->image().convertToFormat(QImage::Format_RGB32));
        QVERIFY(QApplication::clipboard()->text().isEmpty());
    }

    void about()
    {
        zk::MsgScript script;
        Form1 f;
        f.menus().menu4[1]->trigger();
        QCOMPARE(script.shown().size(), 1);
        const zk::MsgRecord r = script.shown().first();
        // The product's version 3.05.0004, major and minor: the main program's banner shows the same.
        QCOMPARE(r.text, QStringLiteral("Visionneur de parcours radio de Kestrova\rVersion 3.5\rKestrova"));
        QCOMPARE(r.caption, QStringLiteral("Zelpath"));
        QCOMPARE(r.flags, int(zk::mbOK | zk::mbInformation));
    }

    void quitPrompt()
    {
        zk::MsgScript script;
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        const QImage img = f.picture()->image();
        script.answer(zk::idNo);
        f.menus().menu1[4]->trigger();
        QVERIFY(f.isVisible());
        QCOMPARE(f.picture()->image(), img);
        QCOMPARE(script.shown().size(), 1);
        QCOMPARE(script.shown()[0].text, QStringLiteral("Terminer Zelpath"));
        QCOMPARE(script.shown()[0].caption, QStringLiteral("Zelpath"));
        QCOMPARE(script.shown()[0].flags, int(zk::mbYesNo | zk::mbQuestion));
        script.answer(zk::idYes);
        QVERIFY(f.close());
        QVERIFY(!f.isVisible());
    }

    void layout()
    {
        Form1 f;
        showForm(f);
        QScrollBar *hb = f.findChild<QScrollBar *>(QStringLiteral("HScroll1"));
        QScrollBar *vb = f.findChild<QScrollBar *>(QStringLiteral("VScroll1"));
        QWidget *corner = widget(f, "Picture2");
        const int bh = hb->sizeHint().height(), bw = vb->sizeHint().width();

        setClientSize(f, 300, 200);
        QVERIFY(hb->isVisible() && vb->isVisible() && corner->isVisible());
        QCOMPARE(hb->geometry(), QRect(0, 200 - bh, 300 - bw, bh));
        QCOMPARE(vb->geometry(), QRect(300 - bw, 0, bw, 200 - bh));
        QCOMPARE(corner->geometry(), QRect(300 - bw, 200 - bh, bw, bh));
        QCOMPARE(hb->maximum(), W - (300 - bw));
        QCOMPARE(vb->maximum(), H - (200 - bh));
        QCOMPARE(hb->pageStep(), 10);
        hb->setValue(50);
        vb->setValue(20);
        QCOMPARE(f.picture()->pos(), QPoint(-50, -20));

        // Only too low: one bar, no corner box.
        setClientSize(f, 700, 300);
        QVERIFY(vb->isVisible());
        QVERIFY(!hb->isVisible());
        QVERIFY(!corner->isVisible());
        QCOMPARE(vb->maximum(), H - 300);
        QCOMPARE(f.picture()->x(), 0);  // the sideways offset went with its bar

        setClientSize(f, 800, 600);
        QVERIFY(!hb->isVisible() && !vb->isVisible() && !corner->isVisible());
        QCOMPARE(f.picture()->pos(), QPoint(0, 0));
        QCOMPARE(f.picture()->size(), QSize(W, H));  // the picture never changes size
    }

    void badFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << "missing.txt" << QByteArray();
        QTest::newRow("empty") << "empty.txt" << QByteArray("");
        QTest::newRow("no start line") << "nostart.txt" << QByteArray("Kestrova\r\nA\r\n10\r\nB\r\n10\r\n");
        QTest::newRow("ends in the sites") << "sites.txt" << QByteArray("Start\r\nA\r\n10\r\n");
        QTest::newRow("one sample") << "one.txt" << QByteArray("Start\r\nA\r\n10\r\nB\r\n10\r\n1\r\n1.3\r\n0\t5\t0\t0\r\n");
        QTest::newRow("binary") << "bin.txt" << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20);
        QTest::newRow("enormous") << "big.txt" << QByteArray(3 * 1024 * 1024, 'x');
        QTest::newRow("folder") << "afolder" << QByteArray();
    }
    void badFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        zk::MsgScript script;
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        const QImage img = f.picture()->image();
        QString path = dir_.filePath(name);
        if (name == QLatin1String("afolder")) QDir(dir_.path()).mkpath(name);
        else if (name != QLatin1String("missing.txt")) path = write(name, bytes);
        script.clear();
        f.loadpath(path);
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Error in file!")});
        QCOMPARE(script.shown()[0].caption, QStringLiteral("Zelpath"));
        QCOMPARE(script.shown()[0].flags, int(zk::mbOK | zk::mbExclamation));
        QVERIFY(f.isVisible());
        QCOMPARE(f.picture()->image(), img);  // the previous drawing stays
        QCOMPARE(f.state().pathfile, path);
        // The path on screen is still the one the tables hold: profile A's
        // sites and samples, its clearances, and a click reads its values.
        const PathState &s = f.state();
        QCOMPARE(s.sitename[1], QStringLiteral(" Left site "));
        QCOMPARE(s.sitename[2], QStringLiteral("Right"));
        QCOMPARE(s.siteant[1], 30.0f);
        QCOMPARE(s.siteant[2], 30.0f);
        for (int i = 1; i <= 11; ++i) {
            QCOMPARE(s.pdist[size_t(i)], float(i - 1));
            QCOMPARE(s.palt[size_t(i)], i == 6 ? 150.0f : 100.0f);
            QCOMPARE(s.pcode[size_t(i)], uint8_t(i == 4 ? 2 : 0));
        }
        QCOMPARE(s.pdist[12], 0.0f);
        QVERIFY(std::fabs(s.pclear[6] - (130 - 150 - bulge(5)) / fresnel(5)) < 1e-5);
        QTest::mouseClick(f.picture(), Qt::LeftButton, {}, QPoint(357, H - 10));  // between 5 and 6 km
        QCOMPARE(s.cursorpos, int16_t(6));
        QVERIFY2(label(f, "Label3")->caption().startsWith(QStringLiteral("5.0 km\n\r150.0 m\n\r")),
                 qPrintable(label(f, "Label3")->caption()));
    }

    void badHeightStillDraws()
    {
        zk::MsgScript script;
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        QList<Sample> s = profileA();
        QByteArray bytes = pathFile("A2", 30, "B2", 30, 1, kK, s);
        bytes.replace("\r\n30\r\nB2", "\r\nabc\r\nB2");
        f.state().siteant[1] = 7;
        f.loadpath(write(QStringLiteral("abc.txt"), bytes));
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Error in file!")});
        QCOMPARE(f.state().siteant[1], 7.0f);  // kept
        QCOMPARE(f.state().sitename[2], QStringLiteral("B2"));
        QVERIFY(label(f, "Label1(1)")->isVisible());
        QVERIFY(label(f, "Label1(1)")->caption().endsWith(QStringLiteral("Ant 0007.0 m")));
    }

    void tooFewSamplesClearsCaptions()
    {
        zk::MsgScript script;
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        const QImage img = f.picture()->image();
        f.loadpath(write(QStringLiteral("two.txt"), pathFile("A", 1, "B", 1, 0, 0, {{0, 10}, {1, 10}})));
        QVERIFY(script.shown().isEmpty());
        for (const char *n : {"Label1(1)", "Label1(2)", "Label2", "Label3", "Line1"}) QVERIFY2(!widget(f, n)->isVisible(), n);
        QCOMPARE(f.picture()->image(), img);
        // Frequency 0 and K 0 kept the previous ones.
        QCOMPARE(f.state().pathfreq, 1.0);
        QCOMPARE(f.state().kfactor, float(kK));
    }

    void shorterPathAfterLonger()
    {
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        QList<Sample> s;
        for (int i = 0; i <= 4; ++i) s << Sample{double(i), 100};
        f.loadpath(write(QStringLiteral("short.txt"), pathFile("A", 10, "B", 10, 2, kK, s)));
        QCOMPARE(f.state().pbulge[5], 0.0f);
        QCOMPARE(f.state().pfresnel[5], 0.0f);
        QCOMPARE(f.state().distmax, 4.0f);
        QCOMPARE(f.state().pathfreq, double(2.0f));
    }

    void usedSamplesStopAtRepeat()
    {
        PathState s;
        for (int i = 1; i <= 60; ++i) s.pdist[size_t(i)] = float(i - 1);
        s.pdist[40] = s.pdist[39];
        QCOMPARE(usedSamples(s), 39);
        s.pdist[40] = 39;
        QCOMPARE(usedSamples(s), 60);
        for (int i = 1; i <= kSamples; ++i) s.pdist[size_t(i)] = float(i);
        QCOMPARE(usedSamples(s), kSamples);
    }

    void colours_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("sky") << 3 << true;
        QTest::newRow("sky, cancelled") << 3 << false;
        QTest::newRow("ground") << 2 << true;
    }
    void colours()
    {
        QFETCH(int, item);
        QFETCH(bool, confirm);
        Form1 f;
        showForm(f);
        f.loadpath(profileAFile());
        const PathState &s = f.state();
        const uint32_t before = s.pathcolor[size_t(item - 1)];
        zk::dialogHooks.color = &colourHook;
        g_colourConfirm = confirm;
        g_colourAnswer = rgb(255, 0, 0);
        f.menus().menu34[size_t(item)]->trigger();
        QCOMPARE(g_colourInitial, before);
        const uint32_t now = confirm ? rgb(255, 0, 0) : before;
        QCOMPARE(s.pathcolor[size_t(item - 1)], now);
        const QImage img = f.picture()->image();
        const QPoint probe = item == 3 ? QPoint(int(rnd(xpixel(s, 1.5f, W))), int(rnd(ypixel(s, 180, H))))
                                       : QPoint(int(rnd(xpixel(s, 7.5f, W))), int(rnd(ypixel(s, 95, H))));
        QCOMPARE(px(img, probe.x(), probe.y()), rgbOf(now));
    }

    void openCommand()
    {
        zk::MsgScript script;
        Form1 f;
        showForm(f);
        zk::dialogHooks.file = &openHook;
        g_openAnswer.clear();
        f.menus().menu1[1]->trigger();
        QCOMPARE(g_openProposed, QString());
        QCOMPARE(g_openFilter, QStringLiteral("Fichier texte formatté (TXT) (*.txt)"));
        QCOMPARE(g_openTitle, QStringLiteral("Ouvrir un parcours radio"));
        QCOMPARE(f.state().distmax, 0.0f);  // cancelled: nothing changed
        g_openAnswer = profileAFile();
        f.menus().menu1[1]->trigger();
        QCOMPARE(f.state().pathfile, g_openAnswer);
        QCOMPARE(f.state().distmax, 10.0f);
        g_openAnswer.clear();
        f.menus().menu1[1]->trigger();
        QCOMPARE(g_openProposed, f.state().pathfile);
        QVERIFY(script.shown().isEmpty());
    }

    void commandLine()
    {
        zk::MsgScript script;
        const QString spaced = write(QStringLiteral("my path.txt"), pathFile("A", 30, "B", 30, 1, kK, profileA()));
        const QStringList args = {dir_.filePath(QStringLiteral("my")), QStringLiteral("path.txt")};
        QCOMPARE(commandTail(args), spaced);
        Form1 f;
        f.start(commandTail(args));
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(f.state().distmax, 10.0f);

        // Quotes are kept, and such a name does not open.
        Form1 g;
        g.start(QLatin1Char('"') + spaced + QLatin1Char('"'));
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Error in file!")});
        QCOMPARE(g.state().pathfile, QLatin1Char('"') + spaced + QLatin1Char('"'));
    }

    void nameInOtherCase()
    {
        zk::MsgScript script;
        write(QStringLiteral("Profile.TXT"), pathFile("A", 30, "B", 30, 1, kK, profileA()));
        Form1 f;
        const QString asked = dir_.filePath(QStringLiteral("profile.txt"));
        f.loadpath(asked);
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(f.state().pathfile, asked);
        QCOMPARE(f.state().distmax, 10.0f);
    }

    // Values no real path has: the drawing skips what it cannot place and
    // never faults, at every scale and in both curvature modes.
    void extremeValues_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        auto file = [](double h1, double f, double k, const QList<Sample> &s) { return pathFile("A", h1, "B", 7, f, k, s); };
        QTest::newRow("huge altitudes") << file(30, 1, kK, {{0, 3e38}, {1, -3e38}, {2, 3e38}, {3, 0}});
        QTest::newRow("tiny distances")
            << QByteArray("Start\r\nA\r\n1\r\nB\r\n1\r\n1\r\n1\r\n0\t1\t0\t0\r\n1e-30\t2\t0\t0\r\n2e-30\t1\t0\t0\r\n3e-30\t5\t0\t0\r\n");
        QTest::newRow("huge distances") << file(30, 1, kK, {{0, 100}, {1e30, 200}, {2e30, 100}, {3e37, 50}});
        QTest::newRow("tiny K") << file(30, 1, 1e-37, {{0, 100}, {5, 200}, {10, 100}});
        QTest::newRow("tiny frequency") << file(30, 1e-37, kK, {{0, 100}, {5, 200}, {10, 100}});
        QTest::newRow("huge frequency") << file(30, 3e38, kK, {{0, 100}, {5, 200}, {10, 100}});
        QTest::newRow("negative masts") << file(-500, 1, kK, {{0, 100}, {5, 200}, {10, 100}, {11, 90}});
        QTest::newRow("huge cover")
            << QByteArray("Start\r\nA\r\n1\r\nB\r\n1\r\n1\r\n1\r\n0\t1\t0\t0\r\n1\t1\t7\t3e38\r\n2\t1\t0\t0\r\n");
    }
    void extremeValues()
    {
        QFETCH(QByteArray, bytes);
        zk::MsgScript script;
        Form1 f;
        showForm(f);
        f.loadpath(write(QStringLiteral("extreme.txt"), bytes));
        QVERIFY(script.shown().isEmpty());
        QVERIFY(f.state().distmax > 0);  // each of these files has a path to draw
        for (int item : {2, 6, 1}) {
            f.menus().menu33[size_t(item)]->trigger();
            f.menus().menu32[2]->trigger();
            f.menus().menu32[1]->trigger();
        }
        f.menus().menu31[2]->trigger();
        f.menus().menu31[3]->trigger();
        QTest::keyClick(&f, Qt::Key_Right);
        QTest::mouseClick(f.picture(), Qt::LeftButton, {}, QPoint(500, 300));
        f.menus().menu2[3]->trigger();
        QVERIFY(f.isVisible());
    }

    void demoFile()
    {
        zk::MsgScript script;
        Form1 f;
        showForm(f);
        f.loadpath(QString::fromUtf8(qgetenv("ZK_SOURCE_DIR")) + QStringLiteral("/data/demo/profile.txt"));
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(f.state().sitename[1], QStringLiteral("Relais du Mont Aigoual"));
        QCOMPARE(f.state().distmax, 24.0f);
        QVERIFY(label(f, "Label2")->caption().endsWith(QStringLiteral("Espace libre 113.0 dB")));
        QVERIFY(f.state().minclear > 0);
    }
};

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
