// A helper of the network-file test in Python: writes a known document as a
// network file, or prints what the reader finds in a file, one "key=value"
// a line, so that an independent reader (Python's struct) can check the
// layout both ways.
//
//   netfile_sample write <file>
//   netfile_sample dump <file>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#include "cp1252.h"
#include "radio/netfile.h"

namespace {

zk::NetDocument sample()
{
    zk::NetDocument d;
    for (int i = 1; i <= zk::kUnits; ++i) d.units[size_t(i - 1)] = zk::defaultunit(i);
    for (int i = 1; i <= zk::kSystems; ++i) d.systems[size_t(i - 1)] = zk::defaultsystem(i);
    for (int i = 1; i <= zk::kNets; ++i) d.nets[size_t(i - 1)] = zk::defaultnet(i);
    zk::UnitRecord &u = d.units[0];
    u.lon = -73.25f;
    u.lat = 45.5f;
    u.elev = 123.5f;
    u.transparent = -1;
    u.color = 0x0000FF;
    u.backcolor = 0x00FF00;
    zk::setFixedText(u.name, QStringLiteral("Bélair"));
    d.units[49].enabled = 0;
    d.systems[1].power = 25;
    d.systems[1].threshold = -113.5f;
    zk::NetRecord &n = d.nets[0];
    n.member[0] = 128 | 2;
    n.member[1] = 128 | 1;
    n.system[1] = 2;
    n.topology = 258;
    n.maxretrans = 3;
    n.statmode = 103;
    zk::setFixedText(n.name, QStringLiteral("Réseau test"));
    zk::CoverageSettings &c = d.covset;
    c.rangemax = 100;
    c.azmax = 360;
    c.azstep = 1;
    zk::setFixedText(c.antfile, sizeof c.antfile, QStringLiteral("yagi.ant"));
    c.thrunit = 1;
    c.thrdbm = -107;
    c.surface = -1;
    c.surfcolor = 0x00FFFF;
    c.curvecolor = 0x123456;
    c.sensorh = 2;
    c.targeth = 2;
    c.rangemin = 0.5f;
    c.viscolor = 0xFF00FF;
    d.mapfile = "default.map";
    d.pictures = {zk::toCp1252(QStringLiteral("C:\\Cartes\\Vallée.bmp")), QByteArray("relief.bmp")};
    d.heights[size_t((3 - 1) + 25 * (7 - 1))] = 12.5f;  // network 3, unit 7
    d.icons[0] = 5;
    d.icons[49] = 255;
    return d;
}

void line(const char *key, const QByteArray &value) { std::printf("%s=%s\n", key, value.constData()); }
void line(const char *key, double value) { std::printf("%s=%.9g\n", key, value); }

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: netfile_sample write|dump <file>\n");
        return 2;
    }
    const QByteArray mode = argv[1];
    QFile f(QString::fromLocal8Bit(argv[2]));
    if (mode == "write") {
        if (!f.open(QIODevice::WriteOnly)) return 1;
        const QByteArray bytes = zk::netfilebytes(sample());
        return f.write(bytes) == bytes.size() ? 0 : 1;
    }
    if (mode != "dump" || !f.open(QIODevice::ReadOnly)) return 2;
    zk::NetDocument d;
    const zk::NetRead r = zk::readnetfile(f.readAll(), d);
    line("layout", r.layout == zk::NetLayout::Current ? "current" : r.layout == zk::NetLayout::Old ? "old" : "map");
    line("damaged", r.damaged ? 1 : 0);
    line("units", r.units);
    line("systems", r.systems);
    line("nets", r.nets);
    line("mapfile", d.mapfile.toHex());
    line("pictures", double(d.pictures.size()));
    for (const QByteArray &p : d.pictures) line("picture", p.toHex());
    for (int i = 0; i < zk::kUnits; ++i) {
        const zk::UnitRecord &u = d.units[size_t(i)];
        std::printf("unit%d=%.9g %.9g %.9g %d %d %u %u %s\n", i + 1, u.lon, u.lat, u.elev, u.enabled, u.transparent, u.color,
                    u.backcolor, QByteArray(u.name, sizeof u.name).toHex().constData());
    }
    for (int i = 0; i < zk::kSystems; ++i) {
        const zk::SystemRecord &s = d.systems[size_t(i)];
        std::printf("system%d=%.9g %.9g %.9g %.9g %.9g %s\n", i + 1, s.power, s.threshold, s.loss, s.gain, s.height,
                    QByteArray(s.name, sizeof s.name).toHex().constData());
    }
    for (int i = 0; i < zk::kNets; ++i) {
        const zk::NetRecord &n = d.nets[size_t(i)];
        std::printf("net%d=%s %s %.9g %.9g %d %.9g %.9g %.9g %d %d %.9g %.9g %.9g %d %d %s\n", i + 1,
                    QByteArray(reinterpret_cast<const char *>(n.member), zk::kUnits).toHex().constData(),
                    QByteArray(reinterpret_cast<const char *>(n.system), zk::kUnits).toHex().constData(), n.fmin, n.fmax,
                    n.polar, n.eps, n.sigma, n.ns, n.climate, n.statmode, n.ptime, n.ploc, n.psit, n.maxretrans,
                    n.topology, QByteArray(n.name, sizeof n.name).toHex().constData());
    }
    const zk::CoverageSettings &c = d.covset;
    std::printf("covset=%.9g %.9g %.9g %.9g %.9g %s %d %.9g %d %u %d %u %.9g %.9g %.9g %u\n", c.rangemax, c.azmin, c.azmax,
                c.azstep, c.antaz, QByteArray(c.antfile, sizeof c.antfile).toHex().constData(), c.thrunit, c.thrdbm,
                c.surface, c.surfcolor, c.curve, c.curvecolor, c.sensorh, c.targeth, c.rangemin, c.viscolor);
    for (int i = 0; i < zk::kNets * zk::kUnits; ++i)
        if (d.heights[size_t(i)] != 0) std::printf("height%d=%.9g\n", i, d.heights[size_t(i)]);
    std::printf("icons=%s\n", QByteArray(reinterpret_cast<const char *>(d.icons.data()), zk::kUnits).toHex().constData());
    return 0;
}
