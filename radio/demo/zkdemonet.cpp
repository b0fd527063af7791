// zkdemonet: the demo network file and its map, on the synthetic landscape
// of the demo terrain data around 45 N 73 W.
//
//   zkdemonet [--net <file.net>] [--map <file.map>] [--picture <file.bmp>]
//             [--check <file.net>] [--report]
//
// --net writes the network file (the shipped data/demo/demo.net is made with
// it), --map the map it names ("demo.map", sampled straight from the demo
// landscape, 480 x 360 cells over about 125 km), --picture the picture it
// names ("demo.bmp", a plain shaded relief of that map, one pixel a cell,
// with its calibration file), --check compares a file with what --net would
// write (exit 1 when they differ), --report prints the link qualities of the
// three networks over that map.
#include <QByteArray>
#include <QFile>
#include <QImage>

#include <cmath>
#include <cstdio>

#include "map/demo/demoterrain.h"
#include "map/mapdata.h"
#include "map/mapfile.h"
#include "pictures/calibration.h"
#include "pictures/covset.h"
#include "radio/netfile.h"
#include "radio/quality.h"
#include "radio/radiodata.h"

namespace {

constexpr int kNx = 480, kNy = 360;

// The map: centred on 45.05 N 73.0 W, 125 km from south to north.
void makemap()
{
    zk::elevgrid.redim(kNx - 1, kNy - 1);
    zk::mapset = MapSettings{};
    zk::mapset.lon = -73.0f;
    zk::mapset.lat = 45.05f;
    zk::mapset.size = 125;
    zk::setcorners(zk::mapset);
    const zk::MapCorners &c = zk::mapcorners;
    double sum = 0;
    int16_t lo = 32767, hi = -32768;
    for (int y = 0; y < kNy; ++y)
        for (int x = 0; x < kNx; ++x) {
            const double lon = c.lon[0] + (double(c.lon[1]) - c.lon[0]) * x / (kNx - 1);
            const double lat = c.lat[2] + (double(c.lat[0]) - c.lat[2]) * y / (kNy - 1);
            const auto h = int16_t(std::lround(std::clamp(zk::demo::elevation(lon, lat), -32768.0, 32767.0)));
            zk::elevgrid.at(x, y) = h;
            sum += h;
            lo = std::min(lo, h);
            hi = std::max(hi, h);
        }
    MapSettings &s = zk::mapset;
    s.Mapmode = 5;
    s.con = 30;
    s.bri = 70;
    s.light = 335;
    s.hmin = lo;
    s.hmax = hi;
    s.hmoy = float(sum / (double(kNx) * kNy));
    s.minx = lo;
    s.maxx = hi;
    s.sources = 4;
}

// The highest cell within `reach` degrees of a position: where a relay goes.
void hilltop(float &lon, float &lat, double reach)
{
    double best = -1e9, blon = lon, blat = lat;
    for (double dy = -reach; dy <= reach + 1e-9; dy += reach / 10)
        for (double dx = -reach; dx <= reach + 1e-9; dx += reach / 10) {
            const double h = zk::demo::elevation(lon + dx, lat + dy);
            if (h > best) {
                best = h;
                blon = lon + dx;
                blat = lat + dy;
            }
        }
    lon = float(std::round(blon * 1e4) / 1e4);
    lat = float(std::round(blat * 1e4) / 1e4);
}

struct Site {
    const char *name;
    float lon, lat;
    bool hill;
    uint32_t color, back;
    uint8_t icon;
};

// Network 1: a voice network (command post, relay on the range, four
// subordinates); network 2: telemetry in star (a master and three sensors);
// network 3: a mesh of four nodes and two terminals, three retransmissions.
const Site kSites[] = {
    {"Poste de commande", -73.55f, 45.05f, false, 0xFFFFFF, 0x800000, 0},
    {"Relais Mont Vert", -72.90f, 45.20f, true, 0xFFFFFF, 0x800000, 1},
    {"Patrouille Nord", -73.30f, 45.50f, false, 0xFFFFFF, 0x800000, 2},
    {"Patrouille Sud", -73.20f, 44.65f, false, 0xFFFFFF, 0x800000, 2},
    {"Patrouille Est", -72.35f, 45.35f, false, 0xFFFFFF, 0x800000, 2},
    {"Mobile 1", -73.75f, 44.80f, false, 0xFFFFFF, 0x800000, 3},
    {"Station maître", -72.95f, 44.85f, true, 0x00FFFF, 0x000000, 4},
    {"Capteur A", -73.35f, 44.95f, false, 0x00FFFF, 0x000000, 5},
    {"Capteur B", -72.60f, 44.70f, false, 0x00FFFF, 0x000000, 5},
    {"Capteur C", -72.70f, 45.05f, false, 0x00FFFF, 0x000000, 5},
    {"Noeud 1", -73.85f, 45.30f, true, 0xFFFF00, 0x004000, 6},
    {"Noeud 2", -73.55f, 45.40f, true, 0xFFFF00, 0x004000, 6},
    {"Noeud 3", -73.15f, 45.30f, true, 0xFFFF00, 0x004000, 6},
    {"Noeud 4", -73.80f, 45.55f, true, 0xFFFF00, 0x004000, 6},
    {"Terminal 1", -73.95f, 45.05f, false, 0xFFFF00, 0x004000, 7},
    {"Terminal 2", -72.75f, 45.45f, false, 0xFFFF00, 0x004000, 7},
};
constexpr int kSiteCount = int(sizeof kSites / sizeof kSites[0]);

// Units, systems and networks of the demo, on the map in memory.
void makedocument()
{
    for (int i = 1; i <= zk::kUnits; ++i) zk::units[i] = zk::defaultunit(i);
    for (int i = 1; i <= zk::kSystems; ++i) zk::systems[i] = zk::defaultsystem(i);
    for (int i = 1; i <= zk::kNets; ++i) zk::nets[i] = zk::defaultnet(i);
    zk::netheight.clear();
    zk::uniticon.clear();
    zk::linkstyle = {175, 181, 129};
    zk::covset = zk::CoverageSettings{};
    zk::resetcoverage();
    zk::covset.thrunit = 1;
    zk::covset.rangemin = 0.1f;
    zk::covset.viscolor = 0x00FFFF;
    zk::covset.curvecolor = 0x0000FF;

    for (int k = 0; k < kSiteCount; ++k) {
        const Site &s = kSites[k];
        zk::UnitRecord &u = zk::units[k + 1];
        u.lon = s.lon;
        u.lat = s.lat;
        if (s.hill) hilltop(u.lon, u.lat, 0.05);
        float x = 0, y = 0, elev = 0;
        u.elev = zk::gridpoint(u.lon, u.lat, x, y, elev) ? elev : 0;
        u.color = s.color;
        u.backcolor = s.back;
        zk::setFixedText(u.name, QString::fromUtf8(s.name));
        zk::uniticon[k + 1] = s.icon;
    }

    auto system = [](int i, const char *name, float power, float gain, float loss, float height) {
        zk::SystemRecord &s = zk::systems[i];
        zk::setFixedText(s.name, QString::fromUtf8(name));
        s.power = power;
        s.gain = gain;
        s.loss = loss;
        s.height = height;
    };
    system(1, "Base VHF 25 W", 25, 6, 1.5f, 15);
    system(2, "Relais VHF 50 W", 50, 8, 2, 30);
    system(3, "Portatif VHF 5 W", 5, 0, 0, 1.5f);
    system(4, "Télémesure UHF 2 W", 2, 10, 1, 10);
    system(5, "Maillage 1 W", 1, 6, 1, 8);

    auto member = [](int net, int unit, int role, int sys) {
        zk::nets[net].member[unit - 1] = uint8_t(128 | role);
        zk::nets[net].system[unit - 1] = uint8_t(sys);
    };
    zk::NetRecord &voice = zk::nets[1];
    zk::setFixedText(voice.name, QStringLiteral("Sécurité civile"));
    member(1, 1, 0, 1);
    member(1, 2, 2, 2);
    for (int u = 3; u <= 6; ++u) member(1, u, 1, 3);
    zk::netheight(1, 1) = 20;

    zk::NetRecord &star = zk::nets[2];
    zk::setFixedText(star.name, QStringLiteral("Télémesure"));
    star.topology = 256 + 1;
    star.fmin = 450;
    star.fmax = 470;
    member(2, 7, 0, 4);
    for (int u = 8; u <= 10; ++u) member(2, u, 1, 4);
    zk::netheight(2, 7) = 25;

    zk::NetRecord &mesh = zk::nets[3];
    zk::setFixedText(mesh.name, QStringLiteral("Maillage"));
    mesh.topology = 256 + 2;
    mesh.fmin = 902;
    mesh.fmax = 928;
    mesh.maxretrans = 3;
    mesh.statmode = 102;  // mobile, with the urban factor
    for (int u = 11; u <= 14; ++u) member(3, u, 0, 5);
    for (int u = 15; u <= 16; ++u) member(3, u, 1, 5);
}

bool writefile(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A shaded relief of the map in memory, north up, one pixel a cell: sea in
// blue, land from green through brown to grey with height, lit from the
// north-west.
bool writepicture(const QString &bmp)
{
    QImage img(kNx, kNy, QImage::Format_RGB32);
    const MapSettings &s = zk::mapset;
    const double cellm = double(s.size) * 1000 / (kNy - 1);
    for (int y = 0; y < kNy; ++y) {
        const int row = kNy - 1 - y;
        for (int x = 0; x < kNx; ++x) {
            const double h = zk::elevgrid.at(x, row);
            if (h <= 0) {
                img.setPixel(x, y, qRgb(40, 80, 150));
                continue;
            }
            const double t = std::clamp(h / std::max(1.0, double(s.hmax)), 0.0, 1.0);
            double r, g, b;
            if (t < 0.4) {
                const double u = t / 0.4;
                r = 70 + 90 * u, g = 130 + 20 * u, b = 60 + 10 * u;
            } else {
                const double u = (t - 0.4) / 0.6;
                r = 160 + 60 * u, g = 150 + 70 * u, b = 70 + 150 * u;
            }
            const double dzdx = (zk::elevgrid.get(std::min(x + 1, kNx - 1), row) - zk::elevgrid.get(std::max(x - 1, 0), row)) / (2 * cellm);
            const double dzdy = (zk::elevgrid.get(x, std::min(row + 1, kNy - 1)) - zk::elevgrid.get(x, std::max(row - 1, 0))) / (2 * cellm);
            // Light from the north-west, 45 degrees up.
            const double shade = std::clamp(0.75 + 2.5 * (dzdx * 0.5 - dzdy * 0.5), 0.35, 1.25);
            img.setPixel(x, y, qRgb(int(std::clamp(r * shade, 0.0, 255.0)), int(std::clamp(g * shade, 0.0, 255.0)),
                                    int(std::clamp(b * shade, 0.0, 255.0))));
        }
    }
    if (!img.save(bmp, "BMP")) return false;
    zk::PicCalibration cal;
    cal.Pictype = 1;
    for (int i = 0; i < 4; ++i) {
        cal.lon[size_t(i)] = zk::mapcorners.lon[i];
        cal.lat[size_t(i)] = zk::mapcorners.lat[i];
    }
    cal.source = QStringLiteral("demo.map");
    cal.values = {float(s.Mapmode), s.maxx, s.minx, s.light, s.con, s.bri, 0, 0, 0, s.hmin, s.hmax, s.hmoy};
    return writefile(zk::companionName(bmp, QStringLiteral("dat")), zk::writePicCalibration(cal));
}


}  // namespace

int main(int argc, char **argv)
{
    QString net, map, picture, check;
    bool report = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a = argv[i];
        if (a == "--net" && i + 1 < argc) net = QString::fromLocal8Bit(argv[++i]);
        else if (a == "--map" && i + 1 < argc) map = QString::fromLocal8Bit(argv[++i]);
        else if (a == "--picture" && i + 1 < argc) picture = QString::fromLocal8Bit(argv[++i]);
        else if (a == "--check" && i + 1 < argc) check = QString::fromLocal8Bit(argv[++i]);
        else if (a == "--report") report = true;
        else {
            std::fprintf(stderr, "usage: zkdemonet [--net <file.net>] [--map <file.map>] [--picture <file.bmp>] "
                                 "[--check <file.net>] [--report]\n");
            return 2;
        }
    }
    makemap();
    makedocument();
    zk::mapfile = QStringLiteral("demo.map");
    zk::NetDocument d;
    for (int i = 1; i <= zk::kUnits; ++i) d.units[size_t(i - 1)] = zk::units[i];
    for (int i = 1; i <= zk::kSystems; ++i) d.systems[size_t(i - 1)] = zk::systems[i];
    for (int i = 1; i <= zk::kNets; ++i) d.nets[size_t(i - 1)] = zk::nets[i];
    d.covset = zk::covset;
    d.mapfile = "demo.map";
    d.pictures = {QByteArray("demo.bmp")};
    std::copy(zk::netheight.data(), zk::netheight.data() + zk::NetHeights::count(), d.heights.begin());
    std::copy(zk::uniticon.begin(), zk::uniticon.end(), d.icons.begin());
    const QByteArray bytes = zk::netfilebytes(d);

    if (!net.isEmpty() && !writefile(net, bytes)) {
        std::fprintf(stderr, "zkdemonet: cannot write %s\n", qPrintable(net));
        return 1;
    }
    if (!map.isEmpty() && !writefile(map, zk::mapfilebytes(zk::elevgrid, zk::mapset, zk::mapcorners))) {
        std::fprintf(stderr, "zkdemonet: cannot write %s\n", qPrintable(map));
        return 1;
    }
    if (!picture.isEmpty() && !writepicture(picture)) {
        std::fprintf(stderr, "zkdemonet: cannot write %s\n", qPrintable(picture));
        return 1;
    }
    if (!check.isEmpty()) {
        QFile f(check);
        if (!f.open(QIODevice::ReadOnly) || f.readAll() != bytes) {
            std::fprintf(stderr, "zkdemonet: %s is not the demo network file; write it again with --net\n",
                         qPrintable(check));
            return 1;
        }
    }
    if (report) {
        zk::calcnets(1);
        for (int n = 1; n <= 3; ++n)
            for (int i = 1; i <= kSiteCount; ++i)
                for (int j = i + 1; j <= kSiteCount; ++j)
                    if (zk::quality(n, j, i) || zk::quality(n, i, j))
                        std::printf("net %d  %-18s %-18s quality %2d route %2d\n", n,
                                    qPrintable(zk::fixedText(zk::units[i].name)), qPrintable(zk::fixedText(zk::units[j].name)),
                                    zk::quality(n, j, i), zk::quality(n, i, j));
        for (int i = 1; i <= kSiteCount; ++i)
            std::printf("%-18s %9.4f %8.4f %6.0f m\n", qPrintable(zk::fixedText(zk::units[i].name)), zk::units[i].lon,
                        zk::units[i].lat, zk::units[i].elev);
    }
    return 0;
}
