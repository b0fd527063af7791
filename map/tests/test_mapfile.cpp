// Map files: the current layout byte for byte, save and reopen, the old
// layout's conversion, the lookup of a map named without its folder, and
// broken files that must leave the map in memory as it was.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <bit>
#include <cmath>
#include <cstring>

#include "app/mainwindow.h"
#include "app/startup.h"
#include "base/longop.h"
#include "base/mdi.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "map/mapfile.h"
#include "map/mapservices.h"
#include "msgbox.h"
#include "paths.h"

namespace {

QByteArray le32(int32_t v)
{
    char b[4];
    qToLittleEndian<int32_t>(v, b);
    return QByteArray(b, 4);
}
QByteArray lef(float v) { return le32(std::bit_cast<int32_t>(v)); }
QByteArray le16(int16_t v)
{
    char b[2];
    qToLittleEndian<int16_t>(v, b);
    return QByteArray(b, 2);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

MapSettings sampleSettings()
{
    MapSettings s{};
    s.lon = -73.25f;
    s.lat = 45.5f;
    s.size = 120;
    s.Mapmode = 2;
    s.con = 40;
    s.bri = 60;
    s.minx = 10;
    s.maxx = 900;
    s.light = 315;
    s.c1 = 1;
    s.c2 = 2;
    s.hmin = 10;
    s.hmax = 900;
    s.hmoy = 300.25f;
    s.sources = 5;
    s.tag = 'k';
    return s;
}

// An old-layout file: settings with a west-positive centre, 20 unused bytes,
// three texts, and 513 x 513 floats from the callback.
QByteArray oldMapBytes(float lonWest, const QByteArray &text3, const std::function<float(int, int)> &cell,
                       qsizetype cut = 0)
{
    MapSettings s = sampleSettings();
    s.lon = lonWest;
    s.tag = 0;
    QByteArray b = zk::packsettings(s);
    b += QByteArray(20, 'u');
    for (const QByteArray &t : {QByteArray("first"), QByteArray(), text3}) b += le16(int16_t(t.size())) + t;
    QByteArray grid;
    grid.reserve(513 * 513 * 4);
    for (int y = 0; y < 513; ++y)
        for (int x = 0; x < 513; ++x) grid += lef(cell(x, y));
    b += grid;
    if (cut > 0) b.chop(cut);
    return b;
}

// Requests a stop (as the Stop button does) at the first event pumping
// after the operation has started.
void stopOnceRunning(int16_t code)
{
    QTimer::singleShot(0, [code] {
        if (zk::runflag == code)
            zk::runflag = 0;
        else
            stopOnceRunning(code);
    });
}

struct Snapshot {
    int32_t nx, ny;
    std::vector<int16_t> cells;
    QByteArray settings, corners;
    QString file;
    static Snapshot take()
    {
        Snapshot s;
        s.nx = zk::elevgrid.nx();
        s.ny = zk::elevgrid.ny();
        s.cells.assign(zk::elevgrid.data(), zk::elevgrid.data() + zk::elevgrid.cellCount());
        s.settings = zk::packsettings(zk::mapset);
        s.corners = zk::packcorners(zk::mapcorners);
        s.file = zk::mapfile;
        return s;
    }
    bool operator==(const Snapshot &o) const
    {
        return nx == o.nx && ny == o.ny && cells == o.cells && settings == o.settings && corners == o.corners &&
               file == o.file;
    }
};

}  // namespace

class TestMapFile : public QObject {
    Q_OBJECT

    QMainWindow *main_ = nullptr;
    QLabel *pane_ = nullptr;
    QTemporaryDir tmp_;
    QStringList companions_;
    int colours_ = 0;

    // A small known map in memory.
    void sampleMap()
    {
        zk::elevgrid.redim(2, 1);
        const int16_t v[6] = {1, -2, 300, 4000, -32768, 32767};
        std::memcpy(zk::elevgrid.data(), v, sizeof v);
        zk::mapset = sampleSettings();
        for (int i = 0; i < 4; ++i) {
            zk::mapcorners.lon[i] = -74.5f + (i == 1 || i == 2);
            zk::mapcorners.lat[i] = 46.0f - (i >= 2);
        }
        zk::mapcorners.city = -1;
        zk::mapfile = QStringLiteral("before.map");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp_.isValid());
        main_ = new QMainWindow;
        pane_ = new QLabel(main_);
        pane_->setObjectName(QStringLiteral("Label2"));
        main_->setCentralWidget(pane_);
        zk::setMainWindow(main_);
        zk::mapservices.opencompanion = [this](const QString &p) { companions_ << p; };
        zk::mapservices.initcolors = [this] { ++colours_; };
    }
    void cleanupTestCase()
    {
        zk::setMainWindow(nullptr);
        delete main_;
        zk::mapservices = zk::MapServices{};
    }
    void init()
    {
        companions_.clear();
        colours_ = 0;
        pane_->setText(QStringLiteral("idle"));
        zk::runflag = 0;
        zk::settings = zk::AppSettings{};
        zk::paths::setProgramFolder(QString());
        sampleMap();
        zk::mapmodified = true;
    }

    void layoutByteForByte()
    {
        const QString path = tmp_.filePath(QStringLiteral("layout.map"));
        zk::MsgScript script;
        QVERIFY(zk::savemap(path));
        QVERIFY(script.shown().isEmpty());
        const QByteArray b = readFile(path);
        QCOMPARE(b.size(), 96 + 2 * 3 * 2);
        QCOMPARE(b.left(4), QByteArray::fromHex("00409c45"));
        QCOMPARE(b.mid(4, 4), le32(3));
        QCOMPARE(b.mid(8, 4), le32(2));
        QCOMPARE(b.mid(12, 50), zk::packsettings(sampleSettings()));
        QCOMPARE(b.mid(12, 4), lef(-73.25f));
        QCOMPARE(b.mid(24, 2), le16(2));   // Mapmode right after size: no padding
        QCOMPARE(b.at(61), 'k');           // tag, last byte of the settings
        QCOMPARE(b.mid(62, 4), lef(-74.5f));
        QCOMPARE(b.mid(62 + 16, 4), lef(46.0f));
        QCOMPARE(b.mid(94, 2), le16(-1));  // city
        // The southern row first, west to east, then the next row north.
        QCOMPARE(b.mid(96), le16(1) + le16(-2) + le16(300) + le16(4000) + le16(-32768) + le16(32767));
        QCOMPARE(zk::mapfile, path);
        QVERIFY(!zk::mapmodified);
        QCOMPARE(pane_->text(), QStringLiteral("layout.map a été enregistrée"));
    }

    void roundTrip()
    {
        const QString path = tmp_.filePath(QStringLiteral("round.map"));
        QVERIFY(zk::savemap(path));
        const Snapshot saved = Snapshot::take();
        zk::elevgrid.redim(9, 9);
        zk::mapset = MapSettings{};
        zk::mapcorners = zk::MapCorners{};
        zk::mapfile = QStringLiteral("other.map");
        zk::mapmodified = true;
        zk::MsgScript script;
        QVERIFY(zk::openmap(path));
        QVERIFY(script.shown().isEmpty());
        QVERIFY(Snapshot::take() == saved);
        QVERIFY(!zk::mapmodified);
        QCOMPARE(colours_, 1);
        // Saving again gives the same bytes.
        const QString again = tmp_.filePath(QStringLiteral("again.map"));
        QVERIFY(zk::savemap(again));
        QCOMPARE(readFile(again), readFile(path));
    }

    void anyGridShape()
    {
        zk::elevgrid.redim(0, 4);
        for (int y = 0; y < 5; ++y) zk::elevgrid.at(0, y) = int16_t(y * 7);
        const QString path = tmp_.filePath(QStringLiteral("column.map"));
        QVERIFY(zk::savemap(path));
        zk::elevgrid.redim(3, 3);
        QVERIFY(zk::openmap(path));
        QCOMPARE(zk::elevgrid.nx(), 1);
        QCOMPARE(zk::elevgrid.ny(), 5);
        QCOMPARE(zk::elevgrid.at(0, 4), int16_t(28));
    }

    void savingReplacesAndFailureKeepsState()
    {
        const QString path = tmp_.filePath(QStringLiteral("replace.map"));
        writeFile(path, QByteArray(5000, 'x'));
        QVERIFY(zk::savemap(path));
        QCOMPARE(readFile(path).size(), 96 + 12);

        // A folder where the file should be, and a folder below a file:
        // nothing is written, the user is told, and nothing of the map changes.
        const QString blocked = tmp_.filePath(QStringLiteral("blocked.map"));
        QVERIFY(QDir().mkpath(blocked));
        const QString below = tmp_.filePath(QStringLiteral("replace.map/x.map"));
        for (const QString &bad : {blocked, below}) {
            zk::mapmodified = true;
            zk::mapfile = QStringLiteral("keep.map");
            pane_->setText(QStringLiteral("idle"));
            zk::MsgScript script;
            QVERIFY(!zk::savemap(bad));
            QCOMPARE(script.shown().size(), 1);
            QCOMPARE(script.shown()[0].text, QStringLiteral("Echec en cours d'écriture\r\n") + bad);
            QCOMPARE(script.shown()[0].flags, int(zk::mbExclamation));
            QVERIFY(zk::mapmodified);
            QCOMPARE(zk::mapfile, QStringLiteral("keep.map"));
            QCOMPARE(pane_->text(), QStringLiteral("idle"));
        }
        QVERIFY(QFileInfo(blocked).isDir());
        QCOMPARE(readFile(path).size(), 96 + 12);
    }

    void names_data()
    {
        QTest::addColumn<QString>("stored");  // file on disk, relative to the temp folder
        QTest::addColumn<QString>("asked");   // name given to openmap ("%1" = temp folder)
        QTest::addColumn<bool>("opens");
        QTest::newRow("quoted, other case") << "Maps/Alps.MAP" << "\"%1/maps/alps.map\"" << true;
        QTest::newRow("blanks and backslashes") << "Maps/Alps.MAP" << "  %1\\MAPS\\ALPS.map  " << true;
        QTest::newRow("only a closing quote") << "Maps/Alps.MAP" << "%1/Maps/Alps.MAP\"" << true;
        QTest::newRow("extension mapx") << "Maps/alps.mapx" << "%1/Maps/alps.mapx" << false;
        QTest::newRow("no extension") << "Maps/alps" << "%1/Maps/alps" << false;
    }
    void names()
    {
        QFETCH(QString, stored);
        QFETCH(QString, asked);
        QFETCH(bool, opens);
        QTemporaryDir dir;
        QVERIFY(zk::savemap(dir.filePath(QStringLiteral("src.map"))));
        writeFile(dir.filePath(stored), readFile(dir.filePath(QStringLiteral("src.map"))));
        zk::mapmodified = true;
        zk::elevgrid.redim(4, 4);
        zk::MsgScript script;
        QCOMPARE(zk::openmap(asked.arg(dir.path())), opens);
        QVERIFY(script.shown().isEmpty());
        if (opens) {
            QCOMPARE(zk::mapfile, dir.filePath(stored));  // the name as it is on disk
            QCOMPARE(zk::elevgrid.nx(), 3);
            QVERIFY(!zk::mapmodified);
        } else {
            // A refused extension changes nothing at all, not even the flag.
            QCOMPARE(zk::elevgrid.nx(), 5);
            QVERIFY(zk::mapmodified);
            QCOMPARE(colours_, 0);
        }
    }

    void lookupBesideNetworkThenProgramFolder()
    {
        QTemporaryDir nets, prog, elsewhere;
        QVERIFY(zk::savemap(elsewhere.filePath(QStringLiteral("src.map"))));
        const QByteArray bytes = readFile(elsewhere.filePath(QStringLiteral("src.map")));
        zk::settings.lastproject = nets.filePath(QStringLiteral("net1.net"));
        zk::paths::setProgramFolder(prog.path());
        writeFile(prog.filePath(QStringLiteral("Alps.map")), bytes);
        QVERIFY(zk::openmap(QStringLiteral("alps.map")));
        QCOMPARE(zk::mapfile, prog.filePath(QStringLiteral("Alps.map")));
        writeFile(nets.filePath(QStringLiteral("alps.map")), bytes);
        QVERIFY(zk::openmap(QStringLiteral("/nowhere/alps.map")));
        QCOMPARE(zk::mapfile, nets.filePath(QStringLiteral("alps.map")));
        zk::paths::setProgramFolder(QString());
    }

    void missingFile()
    {
        const Snapshot before = Snapshot::take();
        zk::mapmodified = false;
        zk::MsgScript script;
        QVERIFY(!zk::openmap(tmp_.filePath(QStringLiteral("none/absent.map"))));
        QVERIFY(script.shown().isEmpty());
        QVERIFY(Snapshot::take() == before);
        QVERIFY(zk::mapmodified);
        QCOMPARE(colours_, 1);
    }

    // Every refusal names the file and says what is wrong with it; the
    // sizes are worked by hand: a header is 4 + 8 + 50 + 34 = 96 bytes, an
    // old map 50 + 20 + three 2-byte text lengths and their texts + 513 x
    // 513 x 4 = 1,052,676 bytes of grid.
    void brokenFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why");
        const QByteArray mark = QByteArray::fromHex("00409c45");
        const QByteArray records = zk::packsettings(sampleSettings()) + zk::packcorners(zk::MapCorners{});
        const QByteArray grid6(12, '\1');
        const QString sizes = QStringLiteral("Le fichier a %1 octets, son en-tête (grille de %2 points) en demande %3 octets.");
        const QString header = QStringLiteral("Le fichier a %1 octets, moins que l'en-tête de carte (96 octets).");
        const QString shape = QStringLiteral("L'en-tête annonce une grille de %1 points.");
        const QString notamap = QStringLiteral("Ce n'est pas un fichier de carte (%1 octets, sans la marque 5000.0 en tête).");
        const QString cut = QStringLiteral("Ancien format de carte tronqué : le fichier a %1 octets, il en faut au moins %2 octets.");
        QTest::newRow("grid one cell short") << mark + le32(3) + le32(2) + records + grid6.left(10) << sizes.arg(106).arg("3 x 2").arg(108);
        QTest::newRow("grid one byte short") << mark + le32(3) + le32(2) + records + grid6.left(11) << sizes.arg(107).arg("3 x 2").arg(108);
        QTest::newRow("longer than its grid") << mark + le32(3) + le32(2) + records + grid6 + "x" << sizes.arg(109).arg("3 x 2").arg(108);
        QTest::newRow("header cut") << mark + le32(3) + le32(2) + records.left(40) << header.arg(52);
        QTest::newRow("mark only") << mark << header.arg(4);
        QTest::newRow("nx zero") << mark + le32(0) + le32(2) + records << shape.arg("0 x 2");
        QTest::newRow("ny negative") << mark + le32(3) + le32(-2) + records + grid6 << shape.arg("3 x -2");
        QTest::newRow("both negative") << mark + le32(-3) + le32(-2) + records + grid6 << shape.arg("-3 x -2");
        // 2 x (2^31 - 1)^2 + 96
        QTest::newRow("huge grid") << mark + le32(0x7fffffff) + le32(0x7fffffff) + records + grid6
                                   << sizes.arg(108).arg("2147483647 x 2147483647").arg("9223372028264841314");
        QTest::newRow("empty file") << QByteArray() << notamap.arg(0);
        QTest::newRow("three bytes") << QByteArray("abc") << notamap.arg(3);
        QTest::newRow("old, east of 181") << oldMapBytes(181.0f, "Z", [](int, int) { return 1.0f; }) << notamap.arg(1052758);
        QTest::newRow("old, west of -181") << oldMapBytes(-181.0f, "Z", [](int, int) { return 1.0f; }) << notamap.arg(1052758);
        QTest::newRow("old, centre not a number") << oldMapBytes(NAN, "Z", [](int, int) { return 1.0f; }) << notamap.arg(1052758);
        QTest::newRow("old, grid short") << oldMapBytes(73.0f, "Z", [](int, int) { return 1.0f; }, 1) << cut.arg(1052757).arg(1052758);
        QTest::newRow("old, text beyond the end") << zk::packsettings(MapSettings{}) + QByteArray(20, 0) + le16(1000) + "abc"
                                                  << cut.arg(75).arg(1053752);
        QTest::newRow("old, settings cut") << zk::packsettings(MapSettings{}).left(30) << notamap.arg(30);
    }
    void brokenFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        const QString path = tmp_.filePath(QStringLiteral("broken.map"));
        writeFile(path, bytes);
        zk::mapmodified = false;
        const Snapshot before = Snapshot::take();
        zk::MsgScript script;
        QVERIFY(!zk::openmap(path));
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Mauvais format de carte\r\n") + path + QStringLiteral("\r\n") + why});
        QCOMPARE(script.shown()[0].flags, int(zk::mbExclamation));
        QVERIFY(Snapshot::take() == before);
        QVERIFY(zk::mapmodified);
        QVERIFY(companions_.isEmpty());
        QCOMPARE(zk::runflag, int16_t(0));
    }

    // Settings outside their ranges (found by fuzzing the painter: a cell of
    // 1e-30 km or a contrast of 1e30 overflow its shading) are refused when
    // the file is read, naming the file and the field.
    void settingsOutOfRange_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why");
        const QByteArray mark = QByteArray::fromHex("00409c45");
        const auto current = [&](const std::function<void(MapSettings &)> &change) {
            MapSettings s = sampleSettings();
            change(s);
            return mark + le32(3) + le32(2) + zk::packsettings(s) + zk::packcorners(zk::MapCorners{}) +
                   QByteArray(12, '\1');
        };
        QTest::newRow("size 1e-30") << current([](MapSettings &s) { s.size = 1e-30f; })
                                    << QStringLiteral("taille (km) 1e-30 hors des limites 0.5 à 19900");
        QTest::newRow("contrast 1e30") << current([](MapSettings &s) { s.con = 1e30f; })
                                       << QStringLiteral("contraste (%) 1e+30 hors des limites 0 à 100");
        QTest::newRow("brightness not a number") << current([](MapSettings &s) { s.bri = NAN; })
                                                 << QStringLiteral("luminosité (%) nan hors des limites 0 à 100");
        QTest::newRow("light -1") << current([](MapSettings &s) { s.light = -1; })
                                  << QStringLiteral("azimut de l'éclairage (°) -1 hors des limites 0 à 360");
        QTest::newRow("ceiling infinite") << current([](MapSettings &s) { s.maxx = INFINITY; })
                                          << QStringLiteral("plafond des couleurs (m) inf hors des limites -32768 à 99999");
        QByteArray old = oldMapBytes(73.0f, "Z", [](int, int) { return 1.0f; });
        MapSettings o = sampleSettings();
        o.lon = 73.0f;
        o.tag = 0;
        o.con = 1e30f;
        old.replace(0, zk::kPackedSettingsBytes, zk::packsettings(o));
        QTest::newRow("old layout, contrast 1e30") << old << QStringLiteral("contraste (%) 1e+30 hors des limites 0 à 100");
    }
    void settingsOutOfRange()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        const QString path = tmp_.filePath(QStringLiteral("extreme.map"));
        writeFile(path, bytes);
        const Snapshot before = Snapshot::take();
        zk::MsgScript script;
        QVERIFY(!zk::openmap(path));
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Mauvais format de carte :\r\n") + path + QStringLiteral("\r\n") + why});
        QVERIFY(Snapshot::take() == before);
        QCOMPARE(zk::runflag, int16_t(0));
    }

    void oldLayoutConverts()
    {
        const QString path = tmp_.filePath(QStringLiteral("Old/alps.map"));
        writeFile(path, oldMapBytes(73.5f, "Zed", [](int x, int y) {
                      if (x == 0 && y == 0) return 12.5f;
                      if (x == 1 && y == 0) return 13.5f;
                      if (x == 2 && y == 0) return -2.5f;
                      if (x == 3 && y == 0) return NAN;
                      if (x == 4 && y == 0) return 40000.0f;
                      if (x == 512 && y == 512) return 1234.4f;
                      return float(x % 7 + y % 5);
                  }));
        zk::mapmodified = true;
        QStringList panes;
        zk::mapservices.message = [&](const QString &t) { panes << t; };
        zk::MsgScript script;
        QVERIFY(zk::openmap(path));
        zk::mapservices.message = nullptr;
        QVERIFY(script.shown().isEmpty());
        QCOMPARE(panes, QStringList{QStringLiteral("Conversion au nouveau format de carte...")});
        QCOMPARE(zk::mapset.lon, -73.5f);
        QCOMPARE(zk::mapset.lat, 45.5f);
        QCOMPARE(zk::mapset.tag, 'Z');
        QCOMPARE(zk::mapset.Mapmode, int16_t(2));
        QCOMPARE(zk::elevgrid.nx(), 513);
        QCOMPARE(zk::elevgrid.ny(), 513);
        QCOMPARE(zk::elevgrid.at(0, 0), int16_t(12));
        QCOMPARE(zk::elevgrid.at(1, 0), int16_t(14));
        QCOMPARE(zk::elevgrid.at(2, 0), int16_t(-2));
        QCOMPARE(zk::elevgrid.at(3, 0), int16_t(0));
        QCOMPARE(zk::elevgrid.at(4, 0), int16_t(0));
        QCOMPARE(zk::elevgrid.at(512, 512), int16_t(1234));
        QCOMPARE(zk::elevgrid.at(10, 3), int16_t(3 + 3));
        // The corners are computed from the centre and size.
        MapSettings s = zk::mapset;
        const zk::MapCorners read = zk::mapcorners;
        zk::setcorners(s);
        QCOMPARE(zk::packcorners(read), zk::packcorners(zk::mapcorners));
        QCOMPARE(zk::mapfile, path);
        QVERIFY(!zk::mapmodified);
        QCOMPARE(companions_, QStringList{tmp_.filePath(QStringLiteral("Old/alps.bmp"))});
        QCOMPARE(zk::runflag, int16_t(0));
        QCOMPARE(colours_, 1);
    }

    void oldLayoutLongitudes_data()
    {
        QTest::addColumn<float>("stored");
        QTest::addColumn<float>("east");
        QTest::addColumn<QByteArray>("text3");
        QTest::addColumn<char>("tag");
        QTest::newRow("73.5 west") << 73.5f << -73.5f << QByteArray("q") << 'q';
        QTest::newRow("-180.5 wraps") << -180.5f << -179.5f << QByteArray() << ' ';
        QTest::newRow("-179 is 179 east") << -179.0f << 179.0f << QByteArray("xy") << 'x';
        QTest::newRow("180.5 west") << 180.5f << -180.5f << QByteArray("0") << '0';
    }
    void oldLayoutLongitudes()
    {
        QFETCH(float, stored);
        QFETCH(float, east);
        QFETCH(QByteArray, text3);
        QFETCH(char, tag);
        const QString path = tmp_.filePath(QStringLiteral("lon.map"));
        writeFile(path, oldMapBytes(stored, text3, [](int, int) { return 0.0f; }));
        QVERIFY(zk::openmap(path));
        QCOMPARE(zk::mapset.lon, east);
        QCOMPARE(zk::mapset.tag, tag);
    }

    void oldLayoutStoppedKeepsWhatWasConverted()
    {
        const QString path = tmp_.filePath(QStringLiteral("stop.map"));
        writeFile(path, oldMapBytes(73.0f, "a", [](int, int) { return 5.0f; }));
        // A stop request arrives while the conversion pumps events.
        stopOnceRunning(zk::opreadmap);
        QVERIFY(zk::openmap(path));
        QCOMPARE(zk::elevgrid.at(0, 512), int16_t(5));
        QCOMPARE(zk::elevgrid.at(512, 0), int16_t(0));
        QVERIFY(companions_.isEmpty());
        QVERIFY(!zk::mapmodified);
    }

    void startupCommandLineOpensTheMap()
    {
        // The program started with a quoted map file name opens that map.
        zk::elevgrid.redim(6, 3);
        for (int i = 0; i < 28; ++i) zk::elevgrid.data()[i] = int16_t(i * 11);
        const QString path = tmp_.filePath(QStringLiteral("start up/Alps.map"));
        QDir().mkpath(tmp_.filePath(QStringLiteral("start up")));
        QVERIFY(zk::savemap(path));
        const QByteArray saved = readFile(path);
        zk::StartupOptions o;
        o.tail = QLatin1Char('"') + path + QLatin1Char('"');
        o.bannerSeconds = 0;
        zk::MsgScript script;
        zk::frmMain *w = zk::Main(o);
        QVERIFY(w);
        QCOMPARE(zk::mapfile, path);
        QVERIFY(!zk::mapmodified);
        QCOMPARE(zk::elevgrid.nx(), 7);
        QCOMPARE(zk::elevgrid.ny(), 4);
        QCOMPARE(zk::mapfilebytes(zk::elevgrid, zk::mapset, zk::mapcorners), saved);
        delete w;
        QCoreApplication::processEvents();
        zk::setMainWindow(main_);
    }

    void currentMarkWins()
    {
        // A file whose first four bytes are the mark is never taken for the
        // old layout, even when the rest would make an old map.
        QByteArray b = oldMapBytes(73.0f, "a", [](int, int) { return 1.0f; });
        b.replace(0, 4, QByteArray::fromHex("00409c45"));
        const QString path = tmp_.filePath(QStringLiteral("mark.map"));
        writeFile(path, b);
        zk::MsgScript script;
        QVERIFY(!zk::openmap(path));
        // nx and ny are then the bits of the latitude 45.5 and the size 120
        // as 32-bit floats: 0x42360000 and 0x42F00000.
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Mauvais format de carte\r\n") + path +
                                             QStringLiteral("\r\nLe fichier a 1052758 octets, son en-tête (grille de "
                                                            "1110835200 x 1123024896 points) en demande "
                                                            "2494991169906278496 octets.")});
    }
};

QTEST_MAIN(TestMapFile)
#include "test_mapfile.moc"
