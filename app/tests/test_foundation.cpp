// Settings store, small shared routines and the common-dialog wrappers.
#include <QLineEdit>
#include <QLocale>
#include <QSettings>
#include <QTest>

#include "base/dialogs.h"
#include "base/routines.h"
#include "base/settings.h"

class TestFoundation : public QObject {
    Q_OBJECT

private:
    static void clearStore()
    {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
        s.clear();
        s.sync();
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        clearStore();
        zk::settings = zk::AppSettings{};
    }

    void minMax()
    {
        QCOMPARE(zk::min(3, 5), 3);
        QCOMPARE(zk::min(5, 3), 3);
        QCOMPARE(zk::max(5, 3), 5);
        // On equal values both answer the second argument.
        const auto m = zk::min(2, 2.0);
        static_assert(std::is_same_v<decltype(m), const double>);
        QCOMPARE(m, 2.0);
        QCOMPARE(zk::max(0.5, 0.5), 0.5);
        // Clamping as the program writes it.
        QCOMPARE(zk::max(1, zk::min(100, 250)), 100);
    }

    void paths_data()
    {
        QTest::addColumn<QString>("p");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::newRow("windows") << "C:\\maps\\alps.map" << "C:\\maps\\" << "alps.map";
        QTest::newRow("bare with blanks") << "  alps.map  " << "" << "alps.map";
        QTest::newRow("ends in separator") << "C:\\maps\\" << "" << "";
        QTest::newRow("drive only") << "C:alps.map" << "C:" << "alps.map";
        QTest::newRow("slash") << "/home/u/net1.net" << "/home/u/" << "net1.net";
        QTest::newRow("mixed") << "/home/u\\x/a.b" << "/home/u\\x/" << "a.b";
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("blanks only") << "   " << "" << "";
    }
    void paths()
    {
        QFETCH(QString, p);
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QCOMPARE(zk::pathof(p), folder);
        QCOMPARE(zk::fileof(p), file);
    }

    void checkrange_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("red");
        QTest::newRow("above") << "C" << 0.0 << 100.0 << "200" << 100.0 << true;
        QTest::newRow("inside") << "C" << 0.0 << 100.0 << "12" << 12.0 << false;
        QTest::newRow("empty inside") << "C" << 0.0 << 100.0 << "" << 0.0 << false;
        QTest::newRow("letters") << "C" << 1.0 << 100.0 << "abc" << 1.0 << true;
        QTest::newRow("trailing junk") << "C" << -5.0 << 5.0 << "3x" << 0.0 << false;
        QTest::newRow("blanks") << "C" << 0.0 << 10.0 << "  7.5 " << 7.5 << false;
        QTest::newRow("huge") << "C" << 0.0 << 10.0 << "1e308" << 10.0 << true;
        QTest::newRow("overflow") << "C" << 0.0 << 10.0 << "1e999" << 0.0 << false;
        QTest::newRow("low > high") << "C" << 10.0 << 5.0 << "7" << 10.0 << true;
        QTest::newRow("comma locale") << "fr_FR" << 0.0 << 10.0 << "2,5" << 2.5 << false;
        QTest::newRow("dot in comma locale") << "fr_FR" << 0.0 << 10.0 << "2.5" << 0.0 << false;
        QTest::newRow("negative") << "C" << -90.0 << 90.0 << "-91" << -90.0 << true;
    }
    void checkrange()
    {
        QFETCH(QString, locale);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(bool, red);
        QLocale::setDefault(QLocale(locale));
        QLineEdit box;
        box.setText(text);
        QCOMPARE(zk::checkrange(low, high, &box), value);
        QCOMPARE(box.palette().color(QPalette::Text), red ? QColor(255, 0, 0) : QColor(0, 0, 0));
        QCOMPARE(box.text(), text);  // never changed
        // Back in range: the red goes away.
        box.setText(QString::number((low + high) / 2));
        zk::checkrange(std::min(low, high), std::max(low, high), &box);
        QCOMPARE(box.palette().color(QPalette::Text), QColor(0, 0, 0));
    }

    void temppath()
    {
        const QString t = zk::temppath();
        QVERIFY(!t.isEmpty());
        QVERIFY(t.endsWith(QLatin1Char('/')));
        QVERIFY(t.size() < 512);
    }

    void settingsDefaults()
    {
        zk::readstartupsettings();
        const zk::AppSettings &s = zk::settings;
        QCOMPARE(s.lastproject, QStringLiteral("Default.net"));
        QCOMPARE(s.drawfontname, QStringLiteral("MS Sans Serif"));
        QCOMPARE(s.drawfontsize, int16_t(8));
        QVERIFY(s.drawfontbold);
        QVERIFY(!s.drawfontitalic);
        QVERIFY(s.drawtransparent && s.showobjects);
        QCOMPARE(s.defh1, 2.0f);
        QCOMPARE(s.drv[2], QStringLiteral("C"));
        QCOMPARE(s.gpsbaud, int16_t(4800));
        QCOMPARE(s.gpsaddr, QStringLiteral("231.31.31.31"));
        QCOMPARE(s.gpsport, 3500);
        QCOMPARE(s.gpsttl, int16_t(2));
        QCOMPARE(s.gpstx, 10.0f);
        QCOMPARE(s.gpsplay, 2.0f);
        QCOMPARE(s.mru[0], QString());
        QCOMPARE(zk::readCovFloat(QStringLiteral("CovLow"), -107), -107.0f);
        QVERIFY(!zk::readIgnoreMissing());
        const zk::WindowPlacement p = zk::readplacement();
        QCOMPARE(p.left, 1000.0);
        QCOMPARE(p.height, 6500.0);
        QCOMPARE(zk::readsetting(QStringLiteral("Strath1"), "1"), QStringLiteral("1"));
        QCOMPARE(zk::readsetting(QStringLiteral("X"), 8), QStringLiteral("8"));
        QCOMPARE(zk::readsetting(QStringLiteral("X"), true), QStringLiteral("True"));
    }

    void settingsKeysIgnoreCase()
    {
        zk::settings.drawfontbold = false;
        zk::writeexitsettings({});
        zk::settings = zk::AppSettings{};
        zk::readstartupsettings();  // reads the key as "DrawFontbold"
        QVERIFY(!zk::settings.drawfontbold);
        zk::writesetting(QStringLiteral("lastproject"), QStringLiteral("/tmp/a.net"));
        QCOMPARE(zk::readsetting(QStringLiteral("LASTPROJECT"), ""), QStringLiteral("/tmp/a.net"));
        // One entry, whatever spelling wrote it.
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
        s.beginGroup(QStringLiteral("Settings"));
        int n = 0;
        for (const QString &k : s.childKeys())
            if (k.compare(QLatin1String("DrawFontBold"), Qt::CaseInsensitive) == 0) ++n;
        QCOMPARE(n, 1);
    }

    void settingsLocaleFloats_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("stored");
        QTest::newRow("comma") << "fr_FR" << "2,5";
        QTest::newRow("dot") << "en_US" << "2.5";
    }
    void settingsLocaleFloats()
    {
        QFETCH(QString, locale);
        QFETCH(QString, stored);
        QLocale::setDefault(QLocale(locale));
        zk::settings.gpstx = 2.5f;
        zk::settings.defh1 = 2.5f;
        zk::writeexitsettings({});
        QCOMPARE(zk::readsetting(QStringLiteral("GPStx"), ""), stored);
        zk::settings = zk::AppSettings{};
        zk::readstartupsettings();
        QCOMPARE(zk::settings.gpstx, 2.5f);
        QCOMPARE(zk::settings.defh1, 2.5f);
    }

    void settingsConversions()
    {
        zk::writesetting(QStringLiteral("GPSserial"), QStringLiteral("3abc"));
        zk::writesetting(QStringLiteral("GPSunit"), QStringLiteral("abc"));
        zk::writesetting(QStringLiteral("GPSport"), QStringLiteral(" 35 00"));
        zk::writesetting(QStringLiteral("GPSstatus"), QStringLiteral("23"));
        zk::writesetting(QStringLiteral("GPSTTL"), QStringLiteral("99999"));  // does not fit 16 bits
        zk::writesetting(QStringLiteral("DrawFontSize"), QStringLiteral("big"));
        zk::writesetting(QStringLiteral("DrawObject"), QStringLiteral("0"));
        zk::writesetting(QStringLiteral("DrawTransparent"), QStringLiteral("maybe"));
        zk::readstartupsettings();
        const zk::AppSettings &s = zk::settings;
        QCOMPARE(s.gpscom, int16_t(3));
        QCOMPARE(s.gpsunit, int16_t(0));
        QCOMPARE(s.gpsport, 3500);
        QCOMPARE(s.gpsflags, 21);  // the replay bit is cleared
        QCOMPARE(s.gpsttl, int16_t(0));       // left as it was
        QCOMPARE(s.drawfontsize, int16_t(0));  // left as it was
        QVERIFY(!s.showobjects);
        QVERIFY(!s.drawtransparent);
        QCOMPARE(zk::leadingNumber(QStringLiteral("-1.5e2x")), -150.0);
        QCOMPARE(zk::leadingNumber(QStringLiteral("1e")), 1.0);
        QCOMPARE(zk::leadingNumber(QStringLiteral("")), 0.0);
        QCOMPARE(zk::settingWhole(QStringLiteral("2.5"), -10, 10).value(), int64_t(2));  // half to even
        QCOMPARE(zk::settingWhole(QStringLiteral("3.5"), -10, 10).value(), int64_t(4));
        QVERIFY(!zk::settingWhole(QStringLiteral("300"), 0, 255));
    }

    void settingsExitPlacement()
    {
        zk::writeexitsettings({10, 20, 30, 40, false});
        for (const char *k : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
            QCOMPARE(zk::readsetting(QLatin1String(k), ""), QStringLiteral("0"));
        zk::writeexitsettings({1500, 1200, 9000, 7000, true});
        const zk::WindowPlacement p = zk::readplacement();
        QCOMPARE(p.left, 1500.0);
        QCOMPARE(p.width, 9000.0);
    }

    void pickfontMaths()
    {
        const zk::LogFont lf = zk::fontToLogFont(QStringLiteral("MS Sans Serif"), 8, true, false, 96);
        QCOMPARE(lf.height, -11);
        QCOMPARE(lf.weight, 700);
        QCOMPARE(lf.italic, uint8_t(0));
        QString name;
        int16_t size = 0;
        bool bold = false, italic = true;
        zk::logFontToVars(lf, 96, name, size, bold, italic);
        QCOMPARE(size, int16_t(8));
        QVERIFY(bold);
        QVERIFY(!italic);
        zk::LogFont w = lf;
        w.weight = 600;
        zk::logFontToVars(w, 96, name, size, bold, italic);
        QVERIFY(bold);
        w.weight = 500;
        zk::logFontToVars(w, 96, name, size, bold, italic);
        QVERIFY(!bold);
        const QString longName(40, QLatin1Char('A'));
        QCOMPARE(zk::fontToLogFont(longName, 8, false, true, 96).face.size(), 31);
        QCOMPARE(zk::fontToLogFont(longName, 8, false, true, 96).italic, uint8_t(255));
        QCOMPARE(zk::muldiv(-11, 72, 96), -8);
        QCOMPARE(zk::muldiv(8, 96, 72), 11);
        QCOMPARE(zk::pixelsPerInch(), 96);
    }

    void pickfontThroughDialog()
    {
        zk::settings.drawfontname = QStringLiteral("MS Sans Serif");
        zk::settings.drawfontsize = 8;
        zk::dialogHooks.font = [](zk::LogFont &lf) {
            if (lf.height != -11) return false;
            lf.face = QStringLiteral("DejaVu Sans");
            lf.height = -16;
            lf.weight = 400;
            lf.italic = 255;
            return true;
        };
        zk::pickfont(nullptr);
        zk::dialogHooks.font = [](zk::LogFont &) { return false; };
        QCOMPARE(zk::settings.drawfontname, QStringLiteral("DejaVu Sans"));
        QCOMPARE(zk::settings.drawfontsize, int16_t(12));
        QVERIFY(zk::settings.drawfontitalic);
        QVERIFY(!zk::settings.drawfontbold);
        zk::pickfont(nullptr);  // cancelled: nothing changes
        QCOMPARE(zk::settings.drawfontsize, int16_t(12));
        zk::dialogHooks.font = nullptr;
    }

    void fileAndColourDialogs()
    {
        zk::dialogHooks.file = [](bool save, const QString &proposed, const QString &filter, const QString &title) {
            if (!save) return QString();  // cancelled
            return QStringLiteral("/x/") + proposed + QLatin1Char('|') + filter + QLatin1Char('|') + title;
        };
        QCOMPARE(zk::getopenfile(nullptr, QStringLiteral("a.net"), QStringLiteral("Fichier de réseaux (NET)"),
                                 QStringLiteral("*.net"), QStringLiteral("Ouvrir des réseaux"), QStringLiteral("net")),
                 QString());
        QCOMPARE(zk::getsavefile(nullptr, QStringLiteral("a.net"), QStringLiteral("Réseaux"), QStringLiteral("*.net"),
                                 QStringLiteral("T"), QStringLiteral("net")),
                 QStringLiteral("/x/a.net|Réseaux (*.net)|T"));
        zk::dialogHooks.file = nullptr;

        static uint32_t seen[16];
        zk::dialogHooks.color = [](uint32_t, const uint32_t custom[16], uint32_t &chosen) {
            std::copy(custom, custom + 16, seen);
            chosen = 0x123456;
            return true;
        };
        QCOMPARE(zk::pickcolor(nullptr, 0xFF), 0x123456u);
        QCOMPARE(seen[0], 0x0F0F0Fu);
        QCOMPARE(seen[15], 0xFFFFFFu);
        zk::dialogHooks.color = [](uint32_t, const uint32_t *, uint32_t &) { return false; };
        QCOMPARE(zk::pickcolor(nullptr, 0xFF), 0xFFu);
        zk::dialogHooks.color = nullptr;
    }
};

QTEST_MAIN(TestFoundation)
#include "test_foundation.moc"
