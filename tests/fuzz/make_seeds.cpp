// Writes the seed inputs of the fuzz targets with the program's own writers
// (map file, calibration, position datagram, NMEA sentence, the demo's
// terrain tile writers) into the corpus folders under the source root given.
// Run by hand when a format changes:  zk_fuzz_seeds <source root>
// Inputs that once found a fault are kept beside the seeds and never
// rewritten here.
//
// Targets that read a file take a few leading bytes of parameters (the grid
// and the steps the extraction would pass) before the file's bytes; see
// each harness.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "map/demo/szdd.h"
#include "map/demo/tilewriters.h"
#include "map/extract.h"
#include "map/mapfile.h"
#include "map/tilenames.h"
#include "pictures/calibration.h"
#include "positions/nmea.h"
#include "positions/sharing.h"
#include "radio/radiodata.h"

namespace {

QString root;
bool ok = true;

void put(const QString &rel, const QByteArray &bytes)
{
    const QString path = root + QLatin1Char('/') + rel;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ok = false;
        return;
    }
    std::printf("%7lld %s\n", static_cast<long long>(bytes.size()), qPrintable(rel));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        ok = false;
        return {};
    }
    return f.readAll();
}

QByteArray bytes(std::initializer_list<int> v)
{
    QByteArray b;
    for (int x : v) b += char(uint8_t(x));
    return b;
}

// Hills of a few hundred metres, a valley below sea level in one corner.
double hills(double lon, double lat)
{
    return 400.0 + 300.0 * std::sin(lon * 37.0) * std::cos(lat * 23.0) - 500.0 * std::exp(-((lon + 73.0) * (lon + 73.0)) * 50.0);
}

void mapfiles()
{
    zk::ElevGrid g;
    g.redim(3, 2);
    for (int y = 0; y <= 2; ++y)
        for (int x = 0; x <= 3; ++x) g.at(x, y) = int16_t(100 * x - 50 * y + 7);
    MapSettings s{};
    s.lon = -73.5f, s.lat = 45.5f, s.size = 20.0f, s.Mapmode = 3, s.con = 100, s.bri = 50;
    s.minx = -50, s.maxx = 300, s.light = 315, s.c1 = 1, s.c2 = 3, s.hmin = -93, s.hmax = 307, s.hmoy = 107;
    s.sources = 4, s.tag = 'A';
    zk::MapCorners c;
    const float lon[4] = {-73.6f, -73.4f, -73.4f, -73.6f}, lat[4] = {45.6f, 45.6f, 45.4f, 45.4f};
    for (int k = 0; k < 4; ++k) c.lon[k] = lon[k], c.lat[k] = lat[k];
    put("map/fuzz/corpus/mapfile/seed-4x3.map", zk::mapfilebytes(g, s, c));
    g.redim(0, 0);
    g.at(0, 0) = -32768;
    s.Mapmode = 0, s.c1 = 0, s.c2 = 0;
    put("map/fuzz/corpus/mapfile/seed-1x1.map", zk::mapfilebytes(g, s, c));
}

void calibrations()
{
    zk::PicCalibration cal;
    cal.Pictype = 1;
    cal.lon = {-73.6f, -73.4f, -73.4f, -73.6f};
    cal.lat = {45.6f, 45.6f, 45.4f, 45.4f};
    cal.source = QStringLiteral("Carte de démonstration");
    cal.values = {3, 300, -50, 315, 100, 50, 1, 3, 0, -93, 307, 107};
    put("pictures/fuzz/corpus/calibration/seed-map.cal", zk::writePicCalibration(cal));
    cal.Pictype = 0;
    cal.lon = {179.5f, -179.5f, -179.5f, 179.5f};
    cal.lat = {-10.25f, -10.25f, -11.75f, -11.75f};
    cal.source = QStringLiteral("photo.bmp");
    cal.values = {};
    put("pictures/fuzz/corpus/calibration/seed-picture.cal", zk::writePicCalibration(cal));
}

void positions()
{
    zk::UnitRecord r;
    r.lon = -73.5625f, r.lat = 45.51f;
    std::memcpy(r.name, "Mont Royal          ", 20);
    put("positions/fuzz/corpus/datagram/seed-north-west", zk::positions::positiondatagram(7, r));
    r.lon = 151.2093f, r.lat = -33.8688f;
    std::memcpy(r.name, "Sydney \xe9t\xe9         ", 20);
    put("positions/fuzz/corpus/datagram/seed-south-east", zk::positions::positiondatagram(50, r));

    const zk::positions::UtcStamp t{12, 34, 56, 11, 12, 2026};
    const std::string a = zk::positions::formatgprmc(-73.5625, 45.51, t);
    const std::string b = zk::positions::formatgprmc(151.2093, -33.8688, t);
    // First byte: the size of the serial reads, less one.
    put("positions/fuzz/corpus/nmea/seed-whole", QByteArray(1, char(255)) + QByteArray::fromStdString(a + b));
    put("positions/fuzz/corpus/nmea/seed-split", QByteArray(1, char(6)) + QByteArray::fromStdString("noise\r\n" + a + b));
}

// The tile file as the demo writer names it.
QString gtopo(const QString &work, int tlon, int tlat)
{
    const QString name = zk::gtopo30name(tlon, tlat);
    return work + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".DEM");
}

void terrain(const QString &work)
{
    using namespace zk::demo;
    // DTED level 0 cell at 45 N 74 W: the headers and the first profiles
    // (the reader stops at the first short profile); then the same with the
    // 80-byte block some discs put in front.
    if (!writedtedcell(work + QLatin1Char('/'), -74, 45, 0, hills)) ok = false;
    const QByteArray cell = readAll(zk::dtedcandidates(work + QLatin1Char('/'), -74, 45)[2].path);
    const int record = 8 + 2 * 121 + 4;
    const QByteArray head = cell.left(3436 + 4 * record);
    // Parameters: flag, grid side, steps I and J, origin I and J.
    put("engine/terrain/fuzz/corpus/dted/seed-dt0-4-profiles", bytes({0, 15, 15, 15, 0, 0}) + head);
    put("engine/terrain/fuzz/corpus/dted/seed-dt0-offset", bytes({0, 31, 3, 7, 250, 3}) + head);
    put("engine/terrain/fuzz/corpus/dted/seed-flag", bytes({1, 15, 15, 15, 0, 0}) + QByteArray("HDR1").leftJustified(80, ' ') + head);

    // GTOPO30 tile W100N90 with its two northern rows (the rows below are
    // not needed to read these), and an Antarctic one.
    if (!writegtopotile(work + QLatin1Char('/'), -100, 90, 90, 89.98, hills)) ok = false;
    const QByteArray topo = readAll(gtopo(work, -100, 90));
    put("engine/terrain/fuzz/corpus/gtopo30/seed-2-rows", bytes({0, 15, 15, 15, 0, 0}) + topo.left(2 * 2 * 4800));
    put("engine/terrain/fuzz/corpus/gtopo30/seed-3-rows-offset", bytes({0, 20, 40, 40, 250, 1}) + topo.left(3 * 2 * 4800));
    if (!writegtopotile(work + QLatin1Char('/'), -120, -60, -60, -60.02, hills)) ok = false;
    const QByteArray ant = readAll(gtopo(work, -120, -60));
    put("engine/terrain/fuzz/corpus/gtopo30/seed-antarctic", bytes({1, 15, 15, 15, 0, 0}) + ant.left(2 * 2 * 7200));

    // A compressed Terrain tile, and the same tile not compressed.
    if (!writeterraintile(work + QLatin1Char('/'), -74, 45, hills)) ok = false;
    const QByteArray sdm = readAll(work + QStringLiteral("/terrain/") + zk::terrainrelpath(-74, 45));
    put("map/fuzz/corpus/terraintile/seed-compressed", bytes({15, 15, 15, 0, 0}) + sdm);
    QByteArray raw(int(zk::kTerrainBytes), '\0');
    for (int k = 0; k < raw.size(); k += 2) raw[k] = char(k % 251);
    put("map/fuzz/corpus/terraintile/seed-plain", bytes({31, 4, 4, 0, 0}) + raw);
}

// A path file in the layout the main program writes (13 header lines,
// "Start", the sites, frequency, K, then the samples), as the path viewer's
// tests have it.
void pathfiles()
{
    QList<QByteArray> l = {"Kestrova pour Windows", "Version 1.0", "** Donn\xe9" "es du site de gauche **", " Nom",
                           " Hauteur d'antenne (m)", "** Donn\xe9" "es du site de droite **", " Nom",
                           " Hauteur d'antenne (m)", "** Donn\xe9" "es du lien radio **", " Fr\xe9quence (GHz)",
                           " Facteur de courbure terrestre", "** Profil de parcours **",
                           " \xc9" "chantillons: Distance(km) Altitude(m)", "Start", "Ch\xe2teau d'Eau", " 12.5 ",
                           "Pic Saint-Loup", " 10 ", " .446 ", " 1.33331675899808 "};
    for (int i = 0; i < 21; ++i)
        l << QByteArray::number(i * 0.4, 'f', 3).rightJustified(8, '0') + '\t' +
                 QByteArray::number(600.0 + i * 1.5 - (i == 10 ? 80 : 0), 'f', 1).rightJustified(6, '0') + "\t0\t0";
    put("pathviewer/fuzz/corpus/pathfile/seed-21-samples.pth", l.join("\r\n") + "\r\n");
}

// An ADRG general information file as the charts carry it (the fields
// the import reads), with its image file of one 128 x 128 tile.
void adrg()
{
    QByteArray g(299, ' ');
    g[0] = 30;
    g.replace(1, 5, "GIN01");
    const int G = 1;
    g.replace(G + 136, 8, "00046080");
    g.replace(G + 144, 8, "00046080");
    g.replace(G + 152, 11, "-0730000.00");
    g.replace(G + 163, 10, "+460000.00");
    g.replace(G + 262, 3, "001");
    g.replace(G + 265, 3, "002");
    g.replace(G + 285, 12, "TESTCH01.IMG");
    g[G + 297] = 'Y';
    g += "\x1e" "Red  0000000000\x1e";
    g += "0000100000";
    g += "\x1e";
    QByteArray img(2048, ' ');
    QByteArray tile(3 * 128 * 128, '\0');
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) tile[p * 128 * 128 + y * 128 + x] = char((x * (p + 1) + y * 3) & 0xFF);
    img += tile;
    // Parameters: steps, then the general information file's size (two
    // bytes, low first), the file, and the image file.
    const auto withImage = [&](const QByteArray &gen, const QByteArray &image) {
        return bytes({0x44, int(gen.size() & 0xFF), int(gen.size() >> 8)}) + gen + image;
    };
    put("pictures/fuzz/corpus/adrg/seed-table", withImage(g, img));
    QByteArray plain = g;
    plain[G + 297] = 'N';
    put("pictures/fuzz/corpus/adrg/seed-no-table-short-image", withImage(plain.left(299), img.left(2048 + 300)));
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zk_fuzz_seeds <source root>\n");
        return 2;
    }
    root = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir work;
    if (!work.isValid()) return 1;
    mapfiles();
    put("map/fuzz/corpus/datum/geosys.dat", readAll(root + QStringLiteral("/data/geosys.dat")));
    calibrations();
    pathfiles();
    positions();
    terrain(work.path());
    adrg();
    return ok ? 0 : 1;
}
