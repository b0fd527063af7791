// The network report in its three destinations: the text of "report.txt"
// (golden, with an injected clock, in a "." and a "," locale), its bytes
// (CR LF, Windows-1252), the columns of a 50-participant network, the cells
// and colours of the matrix modes on the report window, the printed PDF read
// back with pdftotext, and the report window driven by its control names.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/mainwindow.h"
#include "base/printing.h"
#include "base/screen.h"
#include "base/settings.h"
#include "cp1252.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "radio/frmReport.h"
#include "radio/linkbudget.h"
#include "radio/netreport.h"
#include "radio/radiodata.h"
#include "radio/roles.h"
#include "radioenv.h"

namespace {

constexpr uint8_t kMember = 128;
const QString E = QStringLiteral("\r\n");

void member(int net, int unit, int role, int sys = 1) {
    zk::nets[net].member[unit - 1] = uint8_t(kMember | role);
    zk::nets[net].system[unit - 1] = uint8_t(sys);
}
// Direct quality and route of a pair, stored as the quality computation does.
void pair(int net, int a, int b, int ql, int qr)
{
    zk::quality(net, std::max(a, b), std::min(a, b)) = uint8_t(ql);
    zk::quality(net, std::min(a, b), std::max(a, b)) = uint8_t(qr);
}

QString pad(const QString &s, int n) { return s.leftJustified(n, QLatin1Char(' '), true); }

}  // namespace

class TestNetReport : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QStringList opened;

private:
    // A document of three networks on the test map: "Alpha" voice with
    // three participants, "Bravo" star with two, "Charlie" whose only
    // member is disabled; unit 4 lies off the map, unit 5 is disabled.
    void document()
    {
        zk::setScreenPixels(QSize(1024, 768));
        zk::newnet(false);
        radiotest::setTestMap();
        zk::mapset.lon = 12;
        zk::mapset.lat = 44;
        zk::mapfile = QStringLiteral("/data/Alpes.map");
        zk::settings.lastproject = QStringLiteral("/data/Essai.net");
        zk::quality.clear();
        zk::lrprm.interf = 0;
        for (int u = 1; u <= zk::kUnits; ++u) zk::units[u].enabled = 0;
        for (int u = 1; u <= 5; ++u) {
            zk::units[u].enabled = -1;
            radiotest::placeUnit(u, 64 * u, 128, float(100 * u));
        }
        zk::units[4].lon = 30;  // off the map
        zk::units[5].enabled = 0;
        zk::setFixedText(zk::units[1].name, QStringLiteral("  Sommet"));
        zk::setFixedText(zk::systems[1].name, QStringLiteral("Portatif VHF de montagne 5W"));
        zk::systems[1].power = 5;
        for (int n = 1; n <= zk::kNets; ++n) zk::nets[n].topology = 0;
        zk::setFixedText(zk::nets[1].name, QStringLiteral("Alpha"));
        zk::nets[1].topology = zk::kNetVisible + 0;
        member(1, 1, 0);
        member(1, 2, 1, 2);
        member(1, 3, 2);
        zk::netheight(1, 3) = 12.5f;
        pair(1, 1, 2, 62, 50);
        pair(1, 1, 3, 40, 48);
        pair(1, 2, 3, 0, 49);
        zk::setFixedText(zk::nets[2].name, QStringLiteral("Bravo"));
        zk::nets[2].topology = zk::kNetVisible + 1;
        zk::nets[2].fmin = zk::nets[2].fmax = 148;
        zk::nets[2].statmode = 101;
        zk::nets[2].climate = 9;
        zk::nets[2].polar = 0;
        member(2, 1, 0);
        member(2, 2, 2);
        pair(2, 1, 2, 44, 0);
        zk::setFixedText(zk::nets[3].name, QStringLiteral("Charlie"));
        member(3, 5, 0);
    }

    QString expectedOpening()
    {
        const QLocale l;
        const QString dp = l.decimalPoint();
        const QString rule(75, QLatin1Char('-'));
        QString t = E + QStringLiteral("Kestrova") + E + QStringLiteral("Rapport généré le 12-31-2001 à 23:05:09") + E +
                    rule + E + QStringLiteral("Généralités") + E + rule + E +
                    QStringLiteral("Fichier réseau /DATA/ESSAI.NET") + E +
                    QStringLiteral("Fichier carte  /DATA/ALPES.MAP") + E +
                    QStringLiteral("  Centre       012°00'00\"E 44°00'00\"N JN64AA") + E +
                    QStringLiteral("  Dimension    100%1%20 km N-S, 100%1%20 km E-O").arg(dp).arg(QString()) + E + rule +
                    E + QStringLiteral("Unités actives") + E + rule;
        t += E + pad(QStringLiteral("Nom"), 20) + pad(QStringLiteral("Position"), 45) + QStringLiteral("Altitude") + E;
        return t;
    }

    // The printed pages are read back with poppler's tools.
    static bool havePoppler()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
    }
    static constexpr const char *kNoPoppler =
        "pdftotext or pdfinfo is missing: install the Debian package poppler-utils (scripts/install-deps.sh)";

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        zk::paths::setUserFolder(dir.path());
        zk::setreportclock([] { return QDateTime(QDate(2001, 12, 31), QTime(23, 5, 9)); });
        zk::setreportviewer([this](const QString &f) {
            opened << f;
            return true;
        });
    }
    void cleanupTestCase()
    {
        zk::setreportclock({});
        zk::setreportviewer({});
        zk::paths::setUserFolder(QString());
        zk::setLinkModelForTest({});
    }
    void init()
    {
        QLocale::setDefault(QLocale::c());
        opened.clear();
        document();
    }

    // The whole file text of networks 1 to 25, in a "." and a "," locale.
    void golden_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("point") << QStringLiteral("C");
        QTest::newRow("comma") << QStringLiteral("fr_FR");
    }
    void golden()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const QString d = QLocale().decimalPoint();
        auto num = [&](const char *t) { return QString::fromUtf8(t).replace(QLatin1Char('.'), d); };
        const QString rule(75, QLatin1Char('-'));
        const QString sysname1 = pad(QStringLiteral("Portatif VHF de montagne 5W"), 30);
        QString x = E + QStringLiteral("Kestrova") + E + QStringLiteral("Rapport généré le 12-31-2001 à 23:05:09") + E +
                    rule + E + QStringLiteral("Généralités") + E + rule + E +
                    QStringLiteral("Fichier réseau /DATA/ESSAI.NET") + E +
                    QStringLiteral("Fichier carte  /DATA/ALPES.MAP") + E +
                    QStringLiteral("  Centre       012°00'00\"E 44°00'00\"N 33T TJ 59470 76250") + E +
                    num("  Dimension    100.0 km N-S, 100.0 km E-O") + E + rule + E + QStringLiteral("Unités actives") +
                    E + rule;
        x += E + pad(QStringLiteral("Nom"), 20) + pad(QStringLiteral("Position"), 45) + QStringLiteral("Altitude") + E;
        x += E + pad(QStringLiteral("Sommet"), 20) + pad(QStringLiteral("009°00'00\"E 42°00'00\"N 32T NM 00000 49780"), 45) + num("100.0m");
        x += E + pad(QStringLiteral("Station 02"), 20) + pad(QStringLiteral("010°00'00\"E 42°00'00\"N 32T NM 82820 50260"), 45) + num("200.0m");
        x += E + pad(QStringLiteral("Station 03"), 20) + pad(QStringLiteral("011°00'00\"E 42°00'00\"N 32T PM 65640 51710"), 45) + num("300.0m");
        x += E + rule + E + QStringLiteral("Systèmes") + E + rule;
        x += E + QStringLiteral("Nom                 Puiss. Tx  Pertes     Gain ant.  Seuil Rx   Haut. ant.") + E;
        x += E + QStringLiteral("Portatif VHF de mont") + num("5.000W     0.5dB      2.0dB      -107.0dBm  2.0m");
        for (int s = 2; s <= 25; ++s)
            x += E + QStringLiteral("Système %1          ").arg(s, 2, 10, QLatin1Char('0')) +
                 num("10.000W    0.5dB      2.0dB      -107.0dBm  2.0m");
        x += E + rule + E + QStringLiteral("Réseaux actifs") + E + rule + E;
        // Alpha: voice, three participants; a blank cell where no link was computed.
        x += E + pad(QStringLiteral("Alpha"), 30) + E + QStringLiteral("Topologie ouverte") + E +
             num("144.0 MHz to 148.0 MHz") + E + QStringLiteral("Polarisation Verticale") + E +
             QStringLiteral("Mode statistique Diffusion:") + E +
             QStringLiteral("50% du temps, 50% des locations, 50% des situations") + E +
             num("Refractivité= 301 N-units, conductivité= .005 S/m, permittivité= 15") + E +
             QStringLiteral("Climat Continental tempéré") + E + E +
             QStringLiteral("Participants:              #  01 02 03  Rôle:        Antenne:  Système:");
        x += E + QStringLiteral("  Sommet                   01    62 40  Commande     ") + num("2.0m      ") + sysname1;
        x += E + QStringLiteral("Station 02                 02 62        Subordonné   ") + num("2.0m      ") +
             pad(QStringLiteral("Système 02"), 30);
        x += E + QStringLiteral("Station 03                 03 40        Relais       ") + num("12.5m     ") + sysname1;
        x += E + E + QString(27, QLatin1Char(' ')) + QStringLiteral("Qualité = 50 + marge de signal (dB)") + E + E;
        // Bravo: star on one frequency, statistics 101, climate out of range,
        // role 2 of a star named by nothing.
        x += E + pad(QStringLiteral("Bravo"), 30) + E + QStringLiteral("Topologie en étoile") + E + num("148.0 MHz") + E +
             QStringLiteral("Polarisation Horizontale") + E + QStringLiteral("Mode statistique Accidentel:") + E +
             QStringLiteral("50% du temps, 50% des locations, 50% des situations") + E +
             num("Refractivité= 301 N-units, conductivité= .005 S/m, permittivité= 15") + E +
             QStringLiteral("Climat Maritime tempéré sur mer") + E + E +
             QStringLiteral("Participants:              #  01 02  Rôle:        Antenne:  Système:");
        x += E + QStringLiteral("  Sommet                   01    44  Maître       ") + num("2.0m      ") + sysname1;
        x += E + QStringLiteral("Station 02                 02 44                  ") + num("2.0m      ") + sysname1;
        x += E + E + QString(27, QLatin1Char(' ')) + QStringLiteral("Qualité = 50 + marge de signal (dB)") + E + E;
        // Charlie has no enabled member: no block at all.
        const QString got = zk::netreporttext(1, 25, 0);
        if (got != x) {
            const QStringList a = got.split(E), b = x.split(E);
            for (int i = 0; i < std::min(a.size(), b.size()); ++i)
                QCOMPARE(a[i], b[i]);
        }
        QCOMPARE(got, x);
        QLocale::setDefault(QLocale::c());
    }

    // The file itself: CR LF lines, Windows-1252 bytes, then the viewer.
    void fileBytes()
    {
        zk::netreport(1, 25, 0, zk::kReportFile);
        const QString name = dir.path() + QStringLiteral("/report.txt");
        QCOMPARE(opened, QStringList{name});
        QFile f(name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QCOMPARE(bytes, zk::toCp1252(zk::netreporttext(1, 25, 0)));
        QVERIFY(bytes.startsWith("\r\nKestrova\r\nRapport g\xE9n\xE9r\xE9 le 12-31-2001 \xE0 23:05:09\r\n"));
        QVERIFY(bytes.contains("012\xB0" "00'00\"E"));
        QCOMPARE(bytes.count("\n"), bytes.count("\r\n"));
        QCOMPARE(bytes.count("\r"), bytes.count("\r\n"));
        QVERIFY(bytes.endsWith("Qualit\xE9 = 50 + marge de signal (dB)\r\n\r\n"));
    }

    // A report that cannot be written is reported; the viewer is not started.
    void unwritableFile()
    {
        const QString name = dir.path() + QStringLiteral("/report.txt");
        QFile::remove(name);
        QVERIFY(QDir().mkpath(name));  // a folder where the file should go
        zk::MsgScript script;
        zk::netreport(1, 25, 0, zk::kReportFile);
        QVERIFY(opened.isEmpty());
        QCOMPARE(script.shown().size(), 1);
        QVERIFY(script.shown()[0].text.contains(QStringLiteral("report.txt")));
        QCOMPARE(script.shown()[0].flags, int(zk::mbExclamation));
        QVERIFY(QDir(name).removeRecursively());
    }

    // A range outside 1..25 writes nothing and opens nothing.
    void outOfRange_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("first 0") << 0 << 25;
        QTest::newRow("last 26") << 1 << 26;
        QTest::newRow("negative") << -3 << 2;
    }
    void outOfRange()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        const QString name = dir.path() + QStringLiteral("/report.txt");
        QFile::remove(name);
        zk::MsgScript script;
        zk::netreport(int16_t(first), int16_t(last), 0, zk::kReportFile);
        QVERIFY(!QFile::exists(name));
        QVERIFY(opened.isEmpty());
        QVERIFY(script.shown().isEmpty());
        QVERIFY(zk::netreporttext(int16_t(first), int16_t(last), 0).isEmpty());
    }

    // One network to the file: no opening sections, straight into its block.
    void singleNetwork()
    {
        const QString t = zk::netreporttext(2, 2, 1);
        QVERIFY(t.startsWith(E + pad(QStringLiteral("Bravo"), 30) + E + QStringLiteral("Topologie en étoile")));
        QVERIFY(!t.contains(QStringLiteral("Généralités")));
        // A star network in mode 1 prints S-unit cells (-6 dB at 148 MHz is
        // S0) with the legend of the retransmissions.
        QVERIFY(t.contains(QStringLiteral("  Sommet                   01    S0")));
        QVERIFY(t.contains(QStringLiteral("Qualité = 50 - nombre de retransmissions")));
        // A network of disabled members only has no block at all.
        QVERIFY(zk::netreporttext(3, 3, 0).isEmpty());
        // Networks 4..25 have no members: nothing, but the range is valid.
        QVERIFY(zk::netreporttext(4, 4, 0).isEmpty());
    }

    // The matrix cells of each mode (file text).
    void modes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("row1");
        QTest::addColumn<QString>("legend");
        QTest::newRow("dB") << 0 << QStringLiteral("    62 40") << QStringLiteral("Qualité = 50 + marge de signal (dB)");
        QTest::newRow("relays") << 1 << QStringLiteral("    50 48") << QStringLiteral("Qualité = 50 - nombre de retransmissions");
        QTest::newRow("S-units") << 2 << QStringLiteral("    S5 S0") << QStringLiteral("Qualité = S-units");
    }
    void modes()
    {
        QFETCH(int, mode);
        QFETCH(QString, row1);
        QFETCH(QString, legend);
        const QStringList lines = zk::netreporttext(1, 1, int16_t(mode)).split(E);
        const int r = int(lines.indexOf(QRegularExpression(QStringLiteral("^  Sommet.*"))));
        QVERIFY(r > 0);
        QCOMPARE(lines[r].mid(27, row1.size() + 2), QStringLiteral("01") + row1);
        // Units 2 and 3 have no direct link computed: blank in every mode.
        QCOMPARE(lines[r + 1].mid(27, 12), QStringLiteral("02 ") + lines[r + 1].mid(30, 2) + QString(7, QLatin1Char(' ')));
        QCOMPARE(lines[r + 2].mid(33, 6), QString(6, QLatin1Char(' ')));
        QVERIFY(lines.contains(QString(27, QLatin1Char(' ')) + legend));
    }

    // A role or system number out of range prints blanks.
    void badRoleAndSystem()
    {
        zk::nets[1].member[1] = uint8_t(kMember | 3);
        zk::nets[1].system[1] = 0;
        zk::nets[1].system[2] = 26;
        const QStringList lines = zk::netreporttext(1, 1, 0).split(E);
        const int r = int(lines.indexOf(QRegularExpression(QStringLiteral("^Station 02.*"))));
        QVERIFY(r > 0);
        // The column stops still fill the line up to the system column (64).
        QCOMPARE(lines[r], pad(QStringLiteral("Station 02                 02 62"), 63));
        QCOMPARE(lines[r + 1], pad(QStringLiteral("Station 03                 03 40        Relais       12.5m"), 63));
    }

    // Writing positions never changes them; the topology's name comes from
    // its low byte, not the visible flag.
    void positionsKept()
    {
        zk::mapset.lon = 190;
        zk::mapset.lat = 95;
        const float lon = zk::units[1].lon, lat = zk::units[1].lat;
        zk::netreporttext(1, 25, 0);
        QCOMPARE(zk::mapset.lon, 190.0f);
        QCOMPARE(zk::mapset.lat, 95.0f);
        QCOMPARE(zk::units[1].lon, lon);
        QCOMPARE(zk::units[1].lat, lat);
        QCOMPARE(zk::curtopo, int16_t(0));  // network 25: voice
        zk::netreporttext(2, 2, 0);
        QCOMPARE(zk::curtopo, int16_t(1));  // Bravo, a visible star: the low byte
        QCOMPARE(zk::rolenames[0], QStringLiteral("Maître"));
    }

    // 50 participants: the system column starts at column 205 and the long
    // lines stay whole.
    void fiftyParticipants()
    {
        for (int u = 1; u <= zk::kUnits; ++u) {
            zk::units[u].enabled = -1;
            member(4, u, 1);
        }
        zk::setFixedText(zk::nets[4].name, QStringLiteral("Delta"));
        zk::nets[4].topology = zk::kNetVisible + 2;
        pair(4, 1, 50, 71, 50);
        const QStringList lines = zk::netreporttext(4, 4, 0).split(E);
        const int h = int(lines.indexOf(QRegularExpression(QStringLiteral("^Participants:.*"))));
        QVERIFY(h > 0);
        QCOMPARE(lines[h].indexOf(QStringLiteral("Système:")), 204);
        QCOMPARE(lines[h].indexOf(QStringLiteral("Antenne:")), 194);
        QCOMPARE(lines[h].indexOf(QStringLiteral("Rôle:")), 181);
        QCOMPARE(lines[h].mid(177, 2), QStringLiteral("50"));
        QCOMPARE(lines[h + 1].mid(177, 2), QStringLiteral("71"));
        QCOMPARE(lines[h + 50].mid(30, 2), QStringLiteral("71"));
        QCOMPARE(lines[h + 50].mid(204), pad(QStringLiteral("Portatif VHF de montagne 5W"), 30));
        QCOMPARE(lines[h + 50].size(), 234);
        QCOMPARE(lines[h + 1].mid(181, 5), QStringLiteral("Termi"));
    }

    // The plain numbers and the S-unit texts.
    void plainNumbers()
    {
        QCOMPARE(zk::reportplain(0.005f), QStringLiteral(".005"));
        QCOMPARE(zk::reportplain(-0.25f), QStringLiteral("-.25"));
        QCOMPARE(zk::reportplain(301), QStringLiteral("301"));
        QCOMPARE(zk::reportplain(1.0f / 3.0f), QStringLiteral(".3333333"));
        QLocale::setDefault(QLocale(QStringLiteral("fr_FR")));
        QCOMPARE(zk::reportplain(12.5f), QStringLiteral("12,5"));
        QLocale::setDefault(QLocale::c());
        // 12 dB above the threshold at 146 MHz is S5; 40 dB is S9 + 20.
        QCOMPARE(zk::sunittext(62, 1), QStringLiteral("S5"));
        QCOMPARE(zk::sunittext(40, 1), QStringLiteral("S0"));
        QCOMPARE(zk::sunittext(90, 1), QStringLiteral("20"));
    }

    // The report window: opening, the network list, the matrix options, the
    // colours and columns of what it draws, and its two buttons.
    void window()
    {
        // Every computed link 12 dB above the threshold (system 1 gives 5 W).
        zk::setLinkModelForTest([](double *, double *, LinkParameters *prm) {
            prm->loss = 147 - 12;
            return true;
        });
        zk::curnet = 0;
        zk::frmReport w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Rapport de performance"));
        QCOMPARE(zk::curnet, int16_t(1));
        QCOMPARE(w.reportkind(), 1);
        QVERIFY(w.Option1[1]->isChecked());
        QCOMPARE(w.Option1[0]->objectName(), QStringLiteral("Option1(0)"));
        QCOMPARE(w.Combo1->count(), 25);
        QCOMPARE(w.Combo1->itemText(0), QStringLiteral("Alpha"));
        QCOMPARE(w.Combo1->itemText(24), QStringLiteral("Réseau 25"));
        // calcnets at opening: commander and relay both 62 with subordinate 2.
        QCOMPARE(int(zk::quality(1, 2, 1)), 62);

        auto find = [&](const QString &text, int line) -> const zk::ReportItem * {
            for (const zk::ReportItem &it : w.drawn())
                if (it.text == text && (line < 0 || it.line == line)) return &it;
            return nullptr;
        };
        const QFontMetricsF fm(w.font(), &w);
        const double avg = fm.averageCharWidth();
        QVERIFY(!w.drawn().empty());
        for (const zk::ReportItem &it : w.drawn()) QVERIFY(it.y >= w.reporttop());
        QVERIFY(w.reporttop() >= w.Frame1->geometry().bottom());
        QVERIFY(find(pad(QStringLiteral("Alpha"), 30), 1));
        QVERIFY(!find(QStringLiteral("Polarisation Verticale"), -1));  // the window has no parameter lines
        const zk::ReportItem *hash = find(QStringLiteral("#"), -1);
        QVERIFY(hash);
        QCOMPARE(hash->color, QColor(0, 0, 128));
        QCOMPARE(hash->x, 27 * avg);
        const int row1 = hash->line + 1;
        QCOMPARE(find(QStringLiteral("  Sommet") + QString(12, QLatin1Char(' ')), row1)->color, QColor(0, 0, 0));
        // Mode 1 on a voice network: the route values, green.
        const zk::ReportItem *cell = find(QStringLiteral("50"), row1);
        QVERIFY(cell);
        QCOMPARE(cell->column, 34);
        QCOMPARE(cell->x, 33 * avg);
        QCOMPARE(cell->color, QColor(0, 133, 0));
        QCOMPARE(find(QStringLiteral("Commande"), row1)->color, QColor(80, 80, 80));
        QCOMPARE(find(QStringLiteral("Commande"), row1)->column, 3 * 3 + 32);
        const zk::ReportItem *leg = find(QStringLiteral("Qualité = 50 - nombre de retransmissions"), -1);
        QVERIFY(leg);
        QCOMPARE(leg->color, QColor(0, 0, 128));

        // Another matrix redraws at once: direct links in dB.
        w.Option1[0]->click();
        QCOMPARE(w.reportkind(), 0);
        QVERIFY(find(QStringLiteral("62"), row1));
        QCOMPARE(find(QStringLiteral("62"), row1)->color, QColor(0, 133, 0));
        QVERIFY(find(QStringLiteral("Qualité = 50 + marge de signal (dB)"), -1));
        QVERIFY(!find(QStringLiteral("Qualité = 50 - nombre de retransmissions"), -1));

        // Another network: Bravo; then Charlie, which has no block at all.
        w.Combo1->setCurrentIndex(1);
        QCOMPARE(zk::curnet, int16_t(2));
        QVERIFY(find(pad(QStringLiteral("Bravo"), 30), 1));
        QVERIFY(!find(pad(QStringLiteral("Alpha"), 30), -1));
        w.Combo1->setCurrentIndex(2);
        QCOMPARE(zk::curnet, int16_t(3));
        QVERIFY(w.drawn().empty());
        const QImage below = w.canvas().copy(0, w.reporttop(), w.width(), w.height() - w.reporttop());
        QCOMPARE(below.pixel(5, 5), below.pixel(300, 60));
        for (int y = 0; y < below.height(); y += 7)
            for (int x = 0; x < below.width(); x += 7) QCOMPARE(below.pixel(x, y), below.pixel(0, 0));

        // "Fichier": all 25 networks with the kind on screen.
        w.Command2->click();
        QCOMPARE(opened.size(), 1);
        QFile f(opened[0]);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = zk::fromCp1252(f.readAll());
        QVERIFY(text.contains(QStringLiteral("Généralités")));
        QVERIFY(text.contains(pad(QStringLiteral("Alpha"), 30)));
        QVERIFY(text.contains(pad(QStringLiteral("Bravo"), 30)));
        QVERIFY(text.contains(QStringLiteral("Qualité = 50 + marge de signal (dB)")));

        // "Imprime": the printer layer, here its PDF.
        const QString pdf = dir.path() + QStringLiteral("/rapport.pdf");
        zk::printpdfoverride = pdf;
        w.Command1->click();
        zk::printpdfoverride.clear();
        QVERIFY(QFile::exists(pdf));
        QVERIFY2(havePoppler(), kNoPoppler);
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        const QString printed = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(printed.contains(QStringLiteral("Alpha")), qPrintable(printed));
        QVERIFY(printed.contains(QStringLiteral("Bravo")));
        QVERIFY(!printed.contains(QStringLiteral("Charlie")));
        QVERIFY(printed.contains(QStringLiteral("Généralités")));
        QVERIFY(printed.contains(QStringLiteral("Polarisation Verticale")));
        QVERIFY(printed.contains(QStringLiteral("Système 25")));

        // Esc closes the window.
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        zk::setLinkModelForTest({});
    }

    // A long report flows over several printed pages.
    void printedPages()
    {
        for (int u = 1; u <= zk::kUnits; ++u) {
            zk::units[u].enabled = -1;
            radiotest::placeUnit(u, 8 * u, 100);
            for (int n = 1; n <= 6; ++n) member(n, u, 1);
        }
        for (int n = 1; n <= 6; ++n) zk::setFixedText(zk::nets[n].name, QStringLiteral("Groupe %1").arg(n));
        const QString pdf = dir.path() + QStringLiteral("/pages.pdf");
        zk::printpdfoverride = pdf;
        zk::netreport(1, 25, 0, zk::kReportPrinter);
        zk::printpdfoverride.clear();
        QVERIFY2(havePoppler(), kNoPoppler);
        QProcess p;
        p.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(p.waitForFinished(30000));
        const QString info = QString::fromUtf8(p.readAllStandardOutput());
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
        QVERIFY(m.hasMatch());
        QVERIFY(m.captured(1).toInt() > 3);
        p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        const QString printed = QString::fromUtf8(p.readAllStandardOutput());
        for (int n = 1; n <= 6; ++n) QVERIFY(printed.contains(QStringLiteral("Groupe %1").arg(n)));
    }

    // The main window's "Rapport" shows the window modal.
    void reportMenu()
    {
        zk::setLinkModelForTest([](double *, double *, LinkParameters *prm) {
            prm->loss = 135;
            return true;
        });
        zk::frmMain main;
        main.show();
        QAction *a = main.action(QStringLiteral("mnuReport"));
        QVERIFY(a);
        QVERIFY(a->isEnabled());
        // The report runs pending events once while the window is being
        // built, before it is modal: wait for the modal window, then close it.
        QString seen;
        QTimer closer;
        int tries = 0;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            QWidget *m = QApplication::activeModalWidget();
            if (!m && ++tries < 500) return;
            closer.stop();
            if (!m) return;
            seen = m->objectName();
            if (auto *d = qobject_cast<QDialog *>(m)) d->reject();
        });
        closer.start(10);
        a->trigger();
        QCOMPARE(seen, QStringLiteral("frmReport"));
        QVERIFY(main.isVisible());
        zk::setLinkModelForTest({});
    }
};

QTEST_MAIN(TestNetReport)
#include "test_netreport.moc"
