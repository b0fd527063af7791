// The radio-link window and its analysis on a synthetic map of known
// geometry, with a stand-in propagation model whose losses the tests set:
// the four link texts of clear, obstructed and unshared links, the read-out
// banner, the S-meters, the range view's cursor, the distribution verdict,
// the path file's exact lines read back by the path viewer's reader under
// both decimal separators, the export's failures, antenna heights, and the
// link drawn on a picture window.
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstring>
#include <memory>

#include "base/dialogs.h"
#include "base/screen.h"
#include "base/settings.h"
#include "cp1252.h"
#include "map/geotext.h"
#include "msgbox.h"
#include "pathviewer/pathfile.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/picbox.h"
#include "pictures/picfiles.h"
#include "pictures/pichooks.h"
#include "qtenv.h"
#include "radio/frmLink.h"
#include "radio/linkbudget.h"
#include "radio/linkreport.h"
#include "radio/netfile.h"
#include "radio/pathfile.h"
#include "radio/profile.h"
#include "radio/radiodata.h"
#include "radio/roles.h"
#include "radioenv.h"

namespace {

// What the stand-in model answers.
struct Model {
    double loss = 100;      // whole-path loss
    double fsloss = 90, obsloss = 0;
    int los = 1;
    int scat = 0;
    double hd = 1e9;        // hd1 + hd2 / 2 each
    double ha = 0, hx = 0;
    // Per-point loss of sample i (1..n); 0 = the whole-path loss everywhere.
    std::function<double(int)> point;
};
Model g_model;

bool model(double *pfl, double *loss, LinkParameters *prm)
{
    const int n = int(pfl[1]);
    for (int i = std::max(prm->firstpt, 1); i <= n; ++i) loss[i + 3] = g_model.point ? g_model.point(i) : g_model.loss;
    prm->loss = g_model.loss;
    prm->fsloss = g_model.fsloss;
    prm->obsloss = g_model.obsloss;
    prm->losflag = g_model.los;
    prm->scatflag = g_model.scat;
    prm->hd1 = prm->hd2 = g_model.hd / 2;
    prm->ha1 = prm->ha2 = g_model.ha;
    prm->hx = g_model.hx;
    return true;
}

int16_t flat(int, int) { return 0; }
// A ridge 800 m high across the path, between cells 228 and 232.
int16_t ridge(int x, int) { return x >= 228 && x <= 232 ? 800 : 0; }

// A network file of the current layout, byte by byte as the layout gives
// it (mark 00 00 FA 44; 50 unit records of 44 bytes; 25 system records of
// 50; 25 network records of 172; the coverage record of 74; the map name
// with its 16-bit length; the picture list ended by a 0 length; 1250 antenna
// heights; 50 icon bytes). Units 1 "Alpha" and 2 "Bravo" are placed at the
// given cells of the test map; system 1 "Base" (10 W, -110 dBm, 1 dB,
// 3 dBi, 10 m) is the only one named; networks 1..3 hold both units, unit
// 1 with system 1 and unit 2 with the system byte of `sysB` (network 1
// always 1).
QByteArray damagedNetFile(double xa, double ya, double xb, double yb, const std::array<int, 3> &sysB)
{
    QByteArray b;
    auto u8 = [&](int v) { b.append(char(uint8_t(v))); };
    auto i16 = [&](int v) { u8(v & 0xFF); u8((v >> 8) & 0xFF); };
    auto u32 = [&](uint32_t v) { for (int k = 0; k < 4; ++k) u8(int((v >> (8 * k)) & 0xFF)); };
    auto f32 = [&](float v) { uint32_t w; std::memcpy(&w, &v, 4); u32(w); };
    auto text = [&](const char *t, int width) {
        const int n = int(std::strlen(t));
        for (int k = 0; k < width; ++k) u8(k < n ? t[k] : ' ');
    };
    u8(0x00); u8(0x00); u8(0xFA); u8(0x44);
    for (int u = 1; u <= 50; ++u) {
        const bool placed = u <= 2;
        f32(placed ? radiotest::cellLon(u == 1 ? xa : xb) : 0.0f);
        f32(placed ? radiotest::cellLat(u == 1 ? ya : yb) : 0.0f);
        f32(0);                 // ground elevation
        i16(placed ? -1 : 0);   // enabled
        i16(0);                 // transparent
        u32(0);                 // colour
        u32(0xFFFFFF);          // background
        text(u == 1 ? "Alpha" : u == 2 ? "Bravo" : "", 20);
    }
    for (int s = 1; s <= 25; ++s) {
        f32(s == 1 ? 10.0f : 1.0f);     // power, W
        f32(s == 1 ? -110.0f : -100.0f);  // threshold, dBm
        f32(s == 1 ? 1.0f : 0.0f);      // line loss
        f32(s == 1 ? 3.0f : 0.0f);      // antenna gain
        f32(s == 1 ? 10.0f : 2.0f);     // antenna height
        text(s == 1 ? "Base" : "", 30);
    }
    for (int n = 1; n <= 25; ++n) {
        for (int u = 1; u <= 50; ++u) u8(n <= 3 && u <= 2 ? 128 : 0);  // members, role 0
        for (int u = 1; u <= 50; ++u) u8(u == 2 && n >= 2 && n <= 3 ? sysB[size_t(n - 1)] : 1);
        f32(144); f32(148);        // band
        i16(1);                    // vertical
        f32(15); f32(0.005f); f32(301);
        i16(5); i16(3);            // climate, statistics
        f32(50); f32(50); f32(50);
        i16(0);                    // retransmissions
        i16(256);                  // visible voice network
        const QByteArray name = QStringLiteral("Réseau %1").arg(n).toLatin1();
        text(name.constData(), 30);
    }
    for (int k = 0; k < 74; ++k) u8(0);  // coverage settings
    i16(0);                              // no map name
    i16(0);                              // no picture
    for (int k = 0; k < 1250; ++k) f32(0);
    for (int k = 0; k < 50; ++k) u8(0);
    return b;
}

QString g_savefile;
QString saveHook(bool, const QString &, const QString &, const QString &) { return g_savefile; }

}  // namespace

class TestLinkWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<radiotest::TestMain> env;
    std::unique_ptr<QTemporaryDir> tmp;

    void document(int16_t (*elev)(int, int) = flat)
    {
        zk::newnet(false);
        radiotest::setTestMap(elev);
        radiotest::placeUnit(1, 200, 256);
        radiotest::placeUnit(2, 260, 256);
        zk::setFixedText(zk::units[1].name, QStringLiteral(" Alpha"));
        zk::setFixedText(zk::units[2].name, QStringLiteral("Bravo "));
        zk::nets[1].member[0] = 128;
        zk::nets[1].member[1] = 128 | 1;
        zk::nets[1].ns = 301;
        zk::nets[1].fmin = 144;
        zk::nets[1].fmax = 148;
        zk::lrprm.interf = 0;
        zk::linka = zk::linkb = zk::linknet = 0;
        zk::netmodified = false;
        zk::settings.defh1 = 2;
        zk::settings.defh2 = 3;
        zk::systems[1].height = 30;
    }

    static QStringList lines(const QByteArray &b)
    {
        QStringList l = zk::fromCp1252(b).split(QStringLiteral("\r\n"));
        if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
        return l;
    }

private slots:
    void initTestCase()
    {
        zk::setScreenPixels(QSize(1024, 768));
        env = std::make_unique<radiotest::TestMain>();
        zk::setLinkModelForTest(model);
        zk::dialogHooks.file = saveHook;
    }
    void cleanupTestCase()
    {
        zk::dialogHooks.file = nullptr;
        zk::setLinkModelForTest({});
        env.reset();
        zk::setScreenPixels(QSize());
    }
    void init()
    {
        tmp = std::make_unique<QTemporaryDir>();
        g_model = Model{};
        QLocale::setDefault(QLocale::c());
        document();
        zk::linkbox = nullptr;
    }
    void cleanup()
    {
        if (zk::frmLink *w = zk::frmLink::instance()) delete w;
        env->closeAll();
        QLocale::setDefault(QLocale::c());
        zk::startpathviewer = {};
    }

    void clearPathTexts()
    {
        zk::ScaleBox box;
        box.resize(500, 170);
        zk::linkbox = &box;
        zk::linkreport(1, 2, 1);
        QVERIFY2(zk::profdist > 10 && zk::profdist < 80, qPrintable(QString::number(zk::profdist)));
        QCOMPARE(zk::linktext1, QStringLiteral(" La distance entre Alpha et Bravo est de ") + zk::masktext(zk::profdist, 1) +
                                    QStringLiteral(" km, azimut 90.0°"));
        QCOMPARE(zk::linktext2, QStringLiteral(" Variation d'altitude de 0.0 m"));
        QVERIFY(zk::worstclear > 0);
        QCOMPARE(zk::linktext3, QStringLiteral(" Le mode de propagation est la ligne-de-vue, avec dégagement minimal de ") +
                                    zk::masktext(zk::worstclear, 1) + QStringLiteral("F1 à ") +
                                    zk::masktext(zk::worstclrdist, 1) + QStringLiteral("km"));
        // Flat ground with the bulge: the worst point is the middle.
        QVERIFY(std::abs(zk::worstclrdist - zk::profdist / 2) < zk::profdist / 10);
        QCOMPARE(double(zk::lrprm.freq), 146.0);
        const double m = std::min(zk::sysgainab, zk::sysgainba) - 100;
        const QString nl = QStringLiteral("\r\n ");
        QCOMPARE(zk::linktext4,
                 QStringLiteral(" La fréquence moyenne est de 146.000 MHz") + nl +
                     QStringLiteral("Espace libre = 90.0 dB, Obstruction = 0.0 dB, Facteur urbain = 0.0 dB, Statistiques = 10.0 dB") + nl +
                     QStringLiteral("Les pertes de propagation totalisent 100.0 dB") + nl +
                     QStringLiteral("Le gain de système de Alpha vers Bravo est de ") + zk::masktext(zk::sysgainab, 1) +
                     QStringLiteral(" dB") + nl + QStringLiteral("Le gain de système de Bravo vers Alpha est de ") +
                     zk::masktext(zk::sysgainba, 1) + QStringLiteral(" dB") + nl + QStringLiteral("La pire réception est ") +
                     zk::masktext(m, 1) + QStringLiteral(" dB au-dessus du  signal requis pour rencontrer") + nl +
                     QStringLiteral("50.0% du temps, 50.0% des locations et 50.0% des situations") + nl +
                     QStringLiteral("( La pire lecture au S-mètre est S 9 + ") +
                     zk::masktext(zk::sunits(float(m), 146), 0) + QStringLiteral(" )"));
        // The bulge went into the interior samples, not the ends.
        const int n = int(zk::pfl[1]);
        QCOMPARE(zk::pfl[3], 0.0);
        QCOMPARE(zk::pfl[size_t(n + 3)], 0.0);
        const double k = (1 - 0.04665 * std::exp(301 / 179.3)) / 12.75, f = double(n / 2) / n;
        QVERIFY(std::abs(zk::pfl[size_t(n / 2 + 3)] - f * zk::profdist * zk::profdist * (1 - f) * k) < 1e-9);
        QVERIFY(zk::pfl[size_t(n / 2 + 3)] > 1);
        // The terrain is green: the margin is large everywhere.
        bool green = false;
        for (int y = 0; y < box.image().height() && !green; ++y)
            for (int x = 0; x < box.image().width(); ++x)
                if (box.image().pixel(x, y) == qRgb(0, 255, 0)) { green = true; break; }
        QVERIFY(green);
    }

    void obstructedPathTexts()
    {
        document(ridge);
        g_model.los = 0;
        g_model.loss = 160;
        g_model.obsloss = 40;
        g_model.hd = 10000;
        g_model.ha = 0.02;
        g_model.point = [](int) { return 160.0; };
        zk::linkreport(1, 2, 1);
        QVERIFY(zk::worstclear < 0);
        QCOMPARE(zk::linktext2, QStringLiteral(" Variation d'altitude de 800.0 m"));
        QCOMPARE(zk::linktext3, QStringLiteral(" Le mode de propagation est la diffraction avec horizon double"));
        g_model.hd = 1e9;
        g_model.scat = 1;
        zk::linkreport(1, 2, 1);
        QCOMPARE(zk::linktext3, QStringLiteral(" Le mode de propagation est la dispersion avec obstruction unique"));
        QVERIFY(zk::linktext4.contains(QStringLiteral("La pire réception est ")));
        QVERIFY(zk::linktext4.contains(QStringLiteral(" dB sous le  signal requis")));
        QVERIFY(zk::linktext4.endsWith(QStringLiteral("( La pire lecture au S-mètre est S 0 )")));
    }

    void noCommonNetwork()
    {
        zk::linkreport(1, 2, 0);
        QCOMPARE(zk::linktext1, QStringLiteral(" Impossibilité de montrer les détails"));
        QVERIFY(zk::linktext2.isEmpty() && zk::linktext3.isEmpty() && zk::linktext4.isEmpty());
        QCOMPARE(double(zk::lrprm.h1), 2.0);
        QCOMPARE(double(zk::lrprm.h2), 3.0);
    }

    void emptyProfileClearsTexts()
    {
        zk::linkreport(1, 2, 1);
        QVERIFY(!zk::linktext4.isEmpty());
        radiotest::placeUnit(2, 200, 256);
        zk::linkreport(1, 2, 1);
        QVERIFY(zk::linktext1.isEmpty() && zk::linktext2.isEmpty() && zk::linktext3.isEmpty() && zk::linktext4.isEmpty());
    }

    void worstReception_data()
    {
        QTest::addColumn<double>("margin");
        QTest::addColumn<int>("interf");
        QTest::addColumn<QString>("part");
        QTest::newRow("0.4 rounds to 0") << 0.4 << 0 << QStringLiteral("La pire réception correspond au  signal requis pour rencontrer");
        QTest::newRow("-0.6 rounds to -1") << -0.6 << 0 << QStringLiteral("La pire réception est 0.6 dB sous le  signal requis");
        QTest::newRow("S9 + 30") << 54.0 << 0 << QStringLiteral("( La pire lecture au S-mètre est S 9 + 30 )");
        QTest::newRow("interference") << 5.0 << 1 << QStringLiteral(" dB (mode interférence <optimiste>)\r\n Le gain de système");
    }
    void worstReception()
    {
        QFETCH(double, margin);
        QFETCH(int, interf);
        QFETCH(QString, part);
        zk::linkparams(1, 2, 1);
        g_model.loss = std::min(zk::sysgainab, zk::sysgainba) - margin;
        zk::lrprm.interf = interf;
        zk::linkreport(1, 2, 1);
        QVERIFY2(zk::linktext4.contains(part), qPrintable(zk::linktext4));
    }

    void marginColours()
    {
        QCOMPARE(zk::margincolour(3), 0x00FF00u);
        QCOMPARE(zk::margincolour(-3), 0x00FFFFu);
        QCOMPARE(zk::margincolour(-4), 0x0000FFu);
    }

    void windowReadout()
    {
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::frmLink *w = zk::frmLink::open();
        QCOMPARE(w->Combo2->count(), 1);
        QCOMPARE(w->Combo2->itemText(0).trimmed(), QStringLiteral("Réseau 01"));
        QVERIFY(w->menu2[1]->isChecked());
        // The profile was drawn at the box's size, though the box was laid
        // out before the window showed.
        QCOMPARE(w->Picture1->image().size(), w->Picture1->size());
        // The far end: full path length, clearance = B's antenna height, no F1.
        const double L = zk::pfl[2] * zk::pfl[1] / 1000;
        const double m = zk::sysgainab - 100;
        const int s = zk::sunits(float(m), 146);
        QCOMPARE(w->Label4->text(), QStringLiteral(" Distance:") + zk::masktext(L, 2) + QStringLiteral("km  Dégagement:") +
                                        zk::masktext(zk::lrprm.h2, 2) + QStringLiteral("m  Rx:") + zk::masktext(m, 2) +
                                        QStringLiteral("dB  ") + zk::spart(s));
        QVERIFY(!w->Label4->isHidden());
        // At A: A's antenna height, no F1.
        float x = -5;
        w->Picture1_MouseDown(0, 0, x, 0);
        QCOMPARE(x, 0.0f);
        QVERIFY(w->Label4->text().startsWith(QStringLiteral(" Distance:0.00km  Dégagement:") + zk::masktext(zk::lrprm.h1, 2)));
        QVERIFY(!w->Label4->text().contains(QStringLiteral("F1")));
        // Inside: the F1 part.
        x = float(zk::pfl[1] / 2);
        w->Picture1_MouseDown(0, 0, x, 0);
        QVERIFY(w->Label4->text().contains(QStringLiteral("F1  Rx:")));
        // Right arrow moves half an interval; at B it stays.
        x = float(zk::pfl[1]);
        w->Picture1_MouseDown(0, 0, x, 0);
        w->Form_KeyDown(Qt::Key_Right);
        QCOMPARE(w->cursorx(), zk::pfl[1]);
        w->Form_KeyDown(Qt::Key_Left);
        QCOMPARE(w->cursorx(), zk::pfl[1] - 0.5);
        // An obstruction at the ridge.
        document(ridge);
        zk::linknet = 1;
        w->selectunit(0, 0);
        w->selectunit(1, 1);
        x = float(zk::pfl[1] / 2);
        w->Picture1_MouseDown(0, 0, x, 0);
        QVERIFY2(w->Label4->text().contains(QStringLiteral("Obstruction:")), qPrintable(w->Label4->text()));
    }

    void smeterTexts_data()
    {
        QTest::addColumn<int>("s");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lit");
        QTest::newRow("S0") << 0 << QStringLiteral("( S 0 ) ") << 0;
        QTest::newRow("S7") << 7 << QStringLiteral("( S 7 ) ") << 7;
        QTest::newRow("S9+20") << 20 << QStringLiteral("( S 9 + 20 ) ") << 11;
        QTest::newRow("S9+60") << 60 << QStringLiteral("( S 9 + 60 ) ") << 12;
    }
    void smeterTexts()
    {
        QFETCH(int, s);
        QFETCH(QString, text);
        QFETCH(int, lit);
        QCOMPARE(zk::spart(s), text);
        zk::frmLink *w = zk::frmLink::open();
        w->smeter(float(s), 1);
        const QImage &img = w->Picture2[1]->image();
        for (int k = 1; k <= 12; ++k) {
            const QPointF p = w->Picture2[1]->topix(16 * k - 8, 5);
            const QRgb c = img.pixel(int(p.x()), int(p.y()));
            const bool on = c == qRgb(0, 255, 0) || c == qRgb(255, 0, 0);
            QVERIFY2(on == (k <= lit), qPrintable(QStringLiteral("segment %1").arg(k)));
        }
    }

    void rangeCursorAtFirstFailure()
    {
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::linkparams(1, 2, 1);
        const double g = zk::sysgainab;
        g_model.point = [g](int i) { return i == 12 ? g + 2 : i == 20 ? g + 5 : g - 20; };
        zk::frmLink *w = zk::frmLink::open();
        w->menu2_Click(5);
        QVERIFY(w->menu2[5]->isChecked());
        QCOMPARE(w->cursorx(), 12.0);
        // Never below -1 dB: the cursor on B.
        g_model.point = [g](int i) { return i == 12 ? g + 0.5 : g - 20; };
        w->menu2_Click(1);
        w->menu2_Click(5);
        QCOMPARE(w->cursorx(), zk::pfl[1]);
    }

    // The range view's yellow caption on the white box is outlined in
    // black so that it can be read; the yellow stays.
    void rangeCaptionReadable()
    {
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::frmLink *w = zk::frmLink::open();
        w->menu2_Click(5);
        QCOMPARE(QColor(w->Picture1->image().pixel(0, 0)), w->palette().color(QPalette::Base));
        const QImage img = w->Picture1->image();
        int yellow = 0, black = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                yellow += img.pixel(x, y) == qRgb(255, 255, 0);
                black += img.pixel(x, y) == qRgb(0, 0, 0);
            }
        QVERIFY2(yellow > 50, qPrintable(QString::number(yellow)));
        QVERIFY2(black > 50, qPrintable(QString::number(black)));
    }

    void distributionVerdict()
    {
        zk::Distribution d = zk::distribution(130, 138, 135, 145);
        QCOMPARE(d.sigma, 8.0);
        QCOMPARE(d.lo, -8.0);
        QCOMPARE(d.hi, 221.5);
        QCOMPARE(d.verdict, QStringLiteral(" Succès (Marge = 10.00 dB)"));
        QCOMPARE(zk::distribution(130, 138, 135, 135).verdict, QStringLiteral(" Succès (Marge = 0.00 dB)"));
        QCOMPARE(zk::distribution(130, 138, 135, 120).verdict, QStringLiteral(" Échec (Marge = -15.00 dB)"));
        QCOMPARE(zk::distribution(130, 125, 135, 120).sigma, 1.0);
    }

    void distributionRestoresTheLink()
    {
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        g_model.point = [](int i) { return 90.0 + i; };
        zk::frmLink *w = zk::frmLink::open();
        const auto pfl = zk::pfl;
        const auto loss = zk::lrloss;
        const LinkParameters prm = zk::lrprm;
        w->menu2_Click(6);
        QVERIFY(zk::pfl == pfl);
        QVERIFY(zk::lrloss == loss);
        QCOMPARE(double(zk::lrprm.ptime), double(prm.ptime));
        QCOMPARE(int(zk::lrprm.firstpt), int(prm.firstpt));
        QCOMPARE(double(zk::lrprm.loss), double(prm.loss));
        // Something was drawn: the green bars.
        bool green = false;
        const QImage &img = w->Picture1->image();
        for (int y = 0; y < img.height() && !green; ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) == qRgb(0, 255, 0)) { green = true; break; }
        QVERIFY(green);
    }

    void pathFileLines_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("sep");
        QTest::newRow("point") << QStringLiteral("C") << QStringLiteral(".");
        QTest::newRow("comma") << QStringLiteral("fr_FR") << QStringLiteral(",");
    }
    void pathFileLines()
    {
        QFETCH(QString, locale);
        QFETCH(QString, sep);
        QLocale::setDefault(QLocale(locale));
        zk::units[1].elev = -3;
        zk::linkreport(1, 2, 1);
        const QByteArray bytes = zk::pathfiletext(1, 2, 1);
        QVERIFY(!bytes.contains("\n\n") && bytes.endsWith("\r\n"));
        const QStringList l = lines(bytes);
        const int n = int(zk::pfl[1]);
        QCOMPARE(l.size(), 20 + n + 1);
        QCOMPARE(l[0], QStringLiteral("Kestrova pour Windows"));
        QCOMPARE(l[1], QStringLiteral("Version 3.5"));
        QCOMPARE(l[12], QStringLiteral(" Échantillons: Distance(km) Altitude(m)"));
        QCOMPARE(l[13], QStringLiteral("Start"));
        QCOMPARE(l[14], QStringLiteral("Alpha"));
        QCOMPARE(l[16], QStringLiteral("Bravo"));
        QCOMPARE(l[18], QStringLiteral(" ") + sep + QStringLiteral("146 "));
        QVERIFY(l[19].startsWith(QStringLiteral(" 1") + sep + QStringLiteral("33")) && l[19].endsWith(QLatin1Char(' ')));
        QCOMPARE(l[20], QStringLiteral("0000") + sep + QStringLiteral("000\t-0003") + sep + QStringLiteral("0\t0\t0"));
        QCOMPARE(l[20 + n], zk::masktext(n * zk::pfl[2] / 1000, 3, 4) + QStringLiteral("\t0000") + sep + QStringLiteral("0\t0\t0"));
        QCOMPARE(zk::masktext(12.5, 3, 4), QStringLiteral("0012") + sep + QStringLiteral("500"));
        // No common network: frequency 0.
        QCOMPARE(lines(zk::pathfiletext(1, 2, 0))[18], QStringLiteral(" 0 "));

        // The path viewer reads it back as written.
        QBuffer buf;
        buf.setData(bytes);
        buf.open(QIODevice::ReadOnly);
        const zk::pathviewer::PathFileData d = zk::pathviewer::readPathFile(buf);
        QCOMPARE(d.messages, 0);
        QCOMPARE(d.sitename[1], QStringLiteral("Alpha"));
        QCOMPARE(d.sitename[2], QStringLiteral("Bravo"));
        QCOMPARE(d.siteant[1], float(zk::lrprm.h1));
        QVERIFY(d.hasFreq && std::abs(d.freq - 0.146f) < 1e-6f);
        QVERIFY(d.hasK && std::abs(d.kfactor - float(1 / (1 - 0.04665 * std::exp(301 / 179.3)))) < 1e-5f);
        QCOMPARE(d.samples, n + 1);
        QCOMPARE(d.palt[1], -3.0f);
        QVERIFY(std::abs(d.pdist[size_t(n + 1)] - float(n * zk::pfl[2] / 1000)) < 0.001f);
    }

    void shortPathWritesNothing()
    {
        radiotest::placeUnit(2, 202, 256);
        QVERIFY(zk::getprofile(1, 2) <= 2);
        QVERIFY(zk::pathfiletext(1, 2, 1).isEmpty());
        const QString f = tmp->filePath(QStringLiteral("short.txt"));
        QVERIFY(!zk::writepath(f, 1, 2, 1));
        QVERIFY(!QFile::exists(f));
    }

    void exportStartsViewer()
    {
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        QStringList started;
        zk::startpathviewer = [&](const QString &program, const QStringList &args) { started << program << args; };
        zk::frmLink *w = zk::frmLink::open();
        g_savefile = tmp->filePath(QStringLiteral("lien.txt"));
        w->menu1_Click(3);
        QCOMPARE(started.size(), 2);
        QVERIFY(started[0].endsWith(QStringLiteral("/Zelpathfr")));
        QCOMPARE(started[1], g_savefile);
        QCOMPARE(zk::exportfile, g_savefile);
        QFile f(g_savefile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), zk::pathfiletext(1, 2, 1));
    }

    void exportFailures()
    {
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        int starts = 0;
        zk::startpathviewer = [&](const QString &, const QStringList &) { ++starts; };
        zk::frmLink *w = zk::frmLink::open();
        {
            // A folder that does not exist cannot take the file.
            zk::MsgScript script;
            g_savefile = tmp->filePath(QStringLiteral("nowhere/lien.txt"));
            w->menu1_Click(3);
            QCOMPARE(script.shown().size(), 1);
            QVERIFY(script.shown()[0].text.startsWith(QStringLiteral("Impossible d'écrire le fichier ")));
        }
        {
            // A path too short for the viewer.
            zk::MsgScript script;
            radiotest::placeUnit(2, 201, 256);
            g_savefile = tmp->filePath(QStringLiteral("court.txt"));
            w->menu1_Click(3);
            QCOMPARE(script.shown().size(), 1);
        }
        {
            // The same unit on both sides.
            zk::MsgScript script;
            w->selectunit(1, 0);
            w->menu1_Click(3);
            QCOMPARE(script.shown().size(), 1);
            QCOMPARE(script.shown()[0].text, QStringLiteral("Pas de données exportables"));
        }
        QCOMPARE(starts, 0);
    }

    void antennaHeights()
    {
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::frmLink *w = zk::frmLink::open();
        // A new document's networks are visible voice networks: A commands,
        // B is a subordinate.
        QCOMPARE(w->Label5[0]->text(), QStringLiteral("Commande"));
        QCOMPARE(w->Label5[10]->text(), QString::fromUtf8("Subordonné"));
        QCOMPARE(w->Label5[14]->text(), QStringLiteral("1.00"));
        w->Text1[1]->setText(QStringLiteral("3000"));
        w->Command1_Click(1);
        QCOMPARE(zk::netheight(1, 2), 2999.0f);
        QVERIFY(zk::netmodified);
        QCOMPARE(w->Text1[1]->text(), QStringLiteral("2999.0"));
        w->Text1[0]->setText(QStringLiteral("0.1"));
        w->Command1_Click(0);
        QCOMPARE(zk::netheight(1, 1), 0.5f);
        w->Text1[0]->setText(QStringLiteral("abc"));
        w->Command1_Click(0);
        QCOMPARE(zk::netheight(1, 1), 0.0f);
        // Without a common network the heights go to defh1/defh2.
        zk::nets[1].member[1] = 0;
        w->selectunit(1, 1);
        QCOMPARE(w->Combo2->itemText(0), QStringLiteral("Pas de réseau commun"));
        w->Text1[0]->setText(QStringLiteral("7.5"));
        w->Command1_Click(0);
        QCOMPARE(zk::settings.defh1, 7.5f);
    }

    // The role labels name the roles of the network's kind, whether the
    // network is shown on the pictures (bit 8 of its topology word) or not.
    void roleLabels_data()
    {
        QTest::addColumn<int>("topology");
        QTest::addColumn<int>("roleA");
        QTest::addColumn<int>("roleB");
        QTest::addColumn<QString>("nameA");
        QTest::addColumn<QString>("nameB");
        const struct {
            int kind, ra, rb;
            const char *a, *b;
        } rows[] = {
            {0, 0, 2, "Commande", "Relais"},
            {0, 2, 1, "Relais", "Subordonné"},
            {1, 0, 1, "Maître", "Esclave"},
            {1, 1, 0, "Esclave", "Maître"},
            {2, 0, 1, "Node", "Terminal"},
            {2, 1, 1, "Terminal", "Terminal"},
        };
        for (const auto &r : rows)
            for (int visible : {0, 256})
                QTest::newRow(qPrintable(QStringLiteral("kind %1 roles %2/%3%4").arg(r.kind).arg(r.ra).arg(r.rb).arg(visible ? QStringLiteral(" visible") : QString())))
                    << (r.kind | visible) << r.ra << r.rb << QString::fromUtf8(r.a) << QString::fromUtf8(r.b);
    }
    void roleLabels()
    {
        QFETCH(int, topology);
        QFETCH(int, roleA);
        QFETCH(int, roleB);
        QFETCH(QString, nameA);
        QFETCH(QString, nameB);
        zk::nets[1].topology = int16_t(topology);
        zk::nets[1].member[0] = uint8_t(128 | roleA);
        zk::nets[1].member[1] = uint8_t(128 | roleB);
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::frmLink *w = zk::frmLink::open();
        QCOMPARE(w->Label5[0]->text(), nameA);
        QCOMPARE(w->Label5[10]->text(), nameB);
    }

    // A network file whose system byte names no system (0, or above 25):
    // the link is not computable, its system fields are blank, never those
    // of the link shown before, and the unit is named once.
    void unknownSystemFromAFile_data()
    {
        QTest::addColumn<int>("sys");
        QTest::newRow("system 0") << 0;
        QTest::newRow("system 26") << 26;
        QTest::newRow("system 255") << 255;
    }
    void unknownSystemFromAFile()
    {
        QFETCH(int, sys);
        const QByteArray bytes = damagedNetFile(200, 256, 260, 256, {1, sys, sys});
        QCOMPARE(bytes.size(), 4 + 50 * 44 + 25 * 50 + 25 * 172 + 74 + 2 + 2 + 1250 * 4 + 50);
        zk::NetDocument doc;
        const zk::NetRead r = zk::readnetfile(bytes, doc);
        QCOMPARE(r.nets, 25);
        for (int i = 1; i <= zk::kUnits; ++i) zk::units[i] = doc.units[size_t(i - 1)];
        for (int i = 1; i <= zk::kSystems; ++i) zk::systems[i] = doc.systems[size_t(i - 1)];
        for (int i = 1; i <= zk::kNets; ++i) zk::nets[i] = doc.nets[size_t(i - 1)];
        std::copy(doc.heights.begin(), doc.heights.end(), zk::netheight.data());
        QCOMPARE(int(zk::nets[2].system[1]), sys);

        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::MsgScript script;
        zk::frmLink *w = zk::frmLink::open();
        QCOMPARE(w->Combo2->count(), 3);
        // Network 1: both ends use "Base": 40 - 1 + 3 + 3 - 1 + 110 = 154 dB.
        QCOMPARE(w->Label5[11]->text(), QStringLiteral("Base"));
        QCOMPARE(w->Label5[12]->text(), QStringLiteral("3.0"));
        QCOMPARE(zk::masktext(zk::sysgainab, 1), QStringLiteral("154.0"));
        QVERIFY(script.shown().isEmpty());

        w->selectnet(1);
        QCOMPARE(zk::linknet, int16_t(2));
        // Side A still has its system; side B has none.
        QCOMPARE(w->Label5[1]->text(), QStringLiteral("Base"));
        for (int i : {11, 12, 13, 14}) QVERIFY2(w->Label5[i]->text().isEmpty(), qPrintable(w->Label5[i]->text()));
        QCOMPARE(script.shown().size(), 1);
        QCOMPARE(script.shown()[0].text, QStringLiteral("Système radio %1 inconnu pour Bravo dans le réseau Réseau 2\r\n"
                                                        "Calcul impossible.").arg(sys));
        // Never the other link's figures: no gain, the failure loss, the
        // worst colour.
        QCOMPARE(zk::sysgainab, 0.0);
        QCOMPARE(zk::sysgainba, 0.0);
        QCOMPARE(double(+zk::lrprm.loss), 1000.0);
        QVERIFY(zk::linktext3.contains(QStringLiteral("Calcul impossible")));
        QVERIFY(zk::linktext4.isEmpty());
        const QImage img = w->Picture1->image();
        bool red = false, green = false;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                red = red || img.pixel(x, y) == qRgb(255, 0, 0);
                green = green || img.pixel(x, y) == qRgb(0, 255, 0);
            }
        QVERIFY(red && !green);
    }

    // The profile box is the inside of a picture box: the window background
    // of the system colours (white), on which the Fresnel zones' light grey
    // RGB(233, 233, 233) shows.
    void fresnelZonesShow()
    {
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::frmLink *w = zk::frmLink::open();
        const QImage img = w->Picture1->image();
        const QRgb back = img.pixel(0, 0);
        QCOMPARE(QColor(back), w->palette().color(QPalette::Base));
        int zone = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) zone += img.pixel(x, y) == qRgb(233, 233, 233);
        QVERIFY2(zone > 100, qPrintable(QString::number(zone)));
        for (int c : {qRed(back), qGreen(back), qBlue(back)})
            QVERIFY2(std::abs(c - 233) >= 20, qPrintable(QColor(back).name()));
    }

    // Every line of the "&Détails" view lies inside the box, with the
    // longest names a unit can have.
    void detailsFitTheBox()
    {
        zk::setFixedText(zk::units[1].name, QStringLiteral("Poste de commande Sud"));
        zk::setFixedText(zk::units[2].name, QStringLiteral("Relais du Mont Vert B"));
        g_model.loss = 123.45;
        g_model.fsloss = 95.5;
        g_model.obsloss = 38.2;  // Statistiques = -10.3 dB
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::frmLink *w = zk::frmLink::open();
        QVERIFY(zk::linktext4.contains(QStringLiteral("Statistiques = -10.3 dB")));
        w->menu2_Click(4);
        QVERIFY(w->menu2[4]->isChecked());
        const QImage img = w->Picture1->image();
        const QRgb back = zk::qcolor(w->Picture1->backColor()).rgb();
        auto inked = [&](int x, int y) { return img.pixel(x, y) != back; };
        int ink = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) ink += inked(x, y);
        QVERIFY(ink > 500);
        // Nothing reaches the right edge or the bottom: no line is cut.
        for (int y = 0; y < img.height(); ++y)
            for (int x = img.width() - 3; x < img.width(); ++x) QVERIFY2(!inked(x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        for (int x = 0; x < img.width(); ++x)
            for (int y = img.height() - 3; y < img.height(); ++y) QVERIFY2(!inked(x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    }

    // No label of the window is cut: each is as wide as its text and lies
    // inside the window, with a system name of the full 30 characters.
    void labelsFitTheWindow()
    {
        zk::setFixedText(zk::systems[1].name, QStringLiteral("Station de base VHF 25 W Nord"));
        zk::setFixedText(zk::units[1].name, QStringLiteral("Poste de commande Sud"));
        zk::setFixedText(zk::units[2].name, QStringLiteral("Relais du Mont Vert B"));
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::frmLink *w = zk::frmLink::open();
        QCOMPARE(w->Label5[1]->text(), QStringLiteral("Station de base VHF 25 W Nord"));
        QCOMPARE(w->Label5[11]->text(), QStringLiteral("Station de base VHF 25 W Nord"));
        QWidget *c = w->centralWidget();
        for (QLabel *l : c->findChildren<QLabel *>()) {
            if (l->isHidden() || l->text().isEmpty() || l == w->Label4) continue;
            const QRect g = l->geometry();
            const QRect inc(l->parentWidget()->mapTo(c, g.topLeft()), g.size());
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= g.width(), qPrintable(l->objectName()));
            QVERIFY2(c->rect().contains(inc), qPrintable(l->objectName()));
        }
        // Side A's values end before side B's captions, each caption before
        // the value column of its side (the height boxes included).
        for (int i : {0, 1, 2, 3, 4})
            QVERIFY2(w->Label5[i]->geometry().right() < w->Label5[200]->x(), qPrintable(QString::number(i)));
        for (int r = 0; r < 6; ++r) {
            QVERIFY2(w->Label5[100 + r]->geometry().right() < w->Text1[0]->x(), qPrintable(w->Label5[100 + r]->text()));
            QVERIFY2(w->Label5[200 + r]->geometry().right() < w->Text1[1]->x(), qPrintable(w->Label5[200 + r]->text()));
            QVERIFY(w->Label5[100 + r]->fontMetrics().horizontalAdvance(w->Label5[100 + r]->text()) <= w->Label5[100 + r]->width());
        }
        QCOMPARE(w->Label5[105]->text(), QStringLiteral("Hauteur d'antenne (m)"));
        QCOMPARE(w->Label5[205]->toolTip(), QString::fromUtf8("0.5 à 2999m"));
    }

    // A pair without a profile says why in the banner; the box stays in
    // its background colour.
    void emptyProfileSaysWhy_data()
    {
        QTest::addColumn<double>("xa");
        QTest::addColumn<double>("xb");
        QTest::addColumn<QString>("text");
        QTest::newRow("both off") << -50.0 << -20.0 << QStringLiteral(" Pas de profil : Alpha et Bravo sont hors de la carte");
        QTest::newRow("A off") << -50.0 << 260.0 << QStringLiteral(" Pas de profil : Alpha est hors de la carte");
        QTest::newRow("B off") << 200.0 << 900.0 << QStringLiteral(" Pas de profil : Bravo est hors de la carte");
        QTest::newRow("one cell") << 200.0 << 200.2
                                  << QString::fromUtf8(" Pas de profil : Alpha et Bravo sont sur la même cellule de la carte");
    }
    void emptyProfileSaysWhy()
    {
        QFETCH(double, xa);
        QFETCH(double, xb);
        QFETCH(QString, text);
        radiotest::placeUnit(1, xa, 256);
        radiotest::placeUnit(2, xb, 256);
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::frmLink *w = zk::frmLink::open();
        QCOMPARE(zk::pfl[1], 0.0);
        QVERIFY(!w->Label4->isHidden());
        QCOMPARE(w->Label4->text(), text);
        QVERIFY(w->Label4->fontMetrics().horizontalAdvance(text) <= w->Label4->width());
        const QImage img = w->Picture1->image();
        const QRgb back = QColor(w->palette().color(QPalette::Base)).rgb();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) QVERIFY2(img.pixel(x, y) == back, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        // The cursor keys have no profile to move on.
        QVERIFY(w->Line1->isHidden());
    }

    void disabledUnitHasNoNetwork()
    {
        zk::units[2].enabled = 0;
        zk::linka = 1;
        zk::linkb = 2;
        zk::frmLink *w = zk::frmLink::open();
        QCOMPARE(w->Combo2->count(), 1);
        QCOMPARE(w->Combo2->itemText(0), QStringLiteral("Pas de réseau commun"));
        QCOMPARE(zk::linktext1, QStringLiteral(" Impossibilité de montrer les détails"));
    }

    void inverse()
    {
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::frmLink *w = zk::frmLink::open();
        w->menu2_Click(2);
        QCOMPARE(zk::txunit, int16_t(2));
        QCOMPARE(zk::rxunit, int16_t(1));
        QCOMPARE(zk::linka, int16_t(2));
        QVERIFY(w->menu2[1]->isChecked());
        QVERIFY(zk::linktext1.startsWith(QStringLiteral(" La distance entre Bravo et Alpha")));
    }

    void escClosesWhenIdle()
    {
        zk::frmLink::open();
        zk::runflag = 1;
        zk::frmLink::instance()->Form_KeyDown(Qt::Key_Escape);
        QCOMPARE(zk::runflag, 0);
        QVERIFY(zk::frmLink::instance());
        zk::frmLink::instance()->Form_KeyDown(Qt::Key_Escape);
        QTRY_VERIFY(!zk::frmLink::instance());
    }

    void networkListOfThePair()
    {
        for (int n : {2, 5}) {
            zk::nets[n].member[2] = 128;
            zk::nets[n].member[6] = 128;
        }
        radiotest::placeUnit(3, 200, 256);
        radiotest::placeUnit(7, 260, 256);
        zk::linka = 3;
        zk::linkb = 7;
        zk::linknet = 5;
        zk::frmLink *w = zk::frmLink::open();
        QCOMPARE(w->Combo2->count(), 2);
        QCOMPARE(w->Combo2->currentIndex(), 1);
        QCOMPARE(zk::linknet, int16_t(5));
        zk::linknet = 4;
        w->selectunit(1, 6);
        QCOMPARE(w->Combo2->currentIndex(), 0);
        QCOMPARE(zk::linknet, int16_t(2));
    }

    void copyPutsPictureAndText()
    {
        zk::linka = 1;
        zk::linkb = 2;
        zk::linknet = 1;
        zk::frmLink *w = zk::frmLink::open();
        w->menu1_Click(1);
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        double lon = 0, lat = 0;
        const QString pair = zk::londms(lon) + QStringLiteral(" ") + zk::latdms(lat) + QStringLiteral(", ");
        QCOMPARE(data->text(), pair + pair + pair + pair + QStringLiteral("04, Copie d'un lien"));
        QVERIFY(data->hasImage());
    }

    void linkEndsPickedOnPictures()
    {
        zk::installlinkwindow(nullptr);
        QVERIFY(zk::pichooks.linkend);
        zk::pichooks.linkend(2, 1);
        QVERIFY(!zk::frmLink::instance());
        zk::pichooks.linkend(2, 2);
        QVERIFY(!zk::frmLink::instance());  // both ends the same unit
        zk::pichooks.linkend(1, 1);
        QVERIFY(zk::frmLink::instance());
        QCOMPARE(zk::txunit, int16_t(1));
        QCOMPARE(zk::rxunit, int16_t(2));
        QCOMPARE(zk::linknet, int16_t(1));
        zk::pichooks.linkend = {};
    }

    void linkDrawnOnPicture()
    {
        const QString bmp = tmp->filePath(QStringLiteral("terrain.bmp"));
        QVERIFY(radiotest::writeMapPicture(bmp));
        zk::frmPic *pic = zk::openpicture(bmp, 2);
        QVERIFY(pic);
        zk::linkreport(1, 2, 1);
        float xa = 0, ya = 0, xb = 0, yb = 0;
        QVERIFY(zk::geotopix(pic, zk::units[1].lon, zk::units[1].lat, xa, ya));
        QVERIFY(zk::geotopix(pic, zk::units[2].lon, zk::units[2].lat, xb, yb));
        const QImage &img = pic->Picture1->image();
        auto greenNear = [&img](int x, int y) {
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (img.valid(x + dx, y + dy) && QColor(img.pixel(x + dx, y + dy)) == QColor(0, 255, 0)) return true;
            return false;
        };
        // The middle of the line carries the margin's colour (green), and a
        // barb reaches about 27 pixels back from the middle, 13 above.
        const int xm = int(std::lround((xa + xb) / 2)), ym = int(std::lround((ya + yb) / 2));
        QVERIFY(greenNear(xm - 10, ym));
        QVERIFY(greenNear(xm - 20, ym - 9));
        QVERIFY(greenNear(xm - 20, ym + 9));
        QVERIFY(!greenNear(xm - 20, ym + 20));
        QCOMPARE(QColor(img.pixel(xm - 10, ym + 2)), QColor(Qt::black));
    }
};

QTEST_MAIN(TestLinkWindow)
#include "test_linkwindow.moc"
