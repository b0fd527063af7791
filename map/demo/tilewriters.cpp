#include "tilewriters.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "map/demo/szdd.h"
#include "map/tilenames.h"

namespace zk::demo {

namespace {

bool save(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return false;
    return f.commit();
}

int16_t metres(double v) { return int16_t(std::clamp(std::lround(v), -32767L, 32767L)); }

// Fixed-width fields of the DTED header records.
QByteArray field(const QByteArray &text, int width) { return text.leftJustified(width, ' ', true); }
QByteArray num(long v, int width) { return QByteArray::number(v).rightJustified(width, '0', true); }
// DDDMMSSH and DDMMSSH angles of whole degrees.
QByteArray angle(int deg, int digits, char pos, char neg)
{
    return num(std::abs(deg), digits) + "0000" + (deg < 0 ? neg : pos);
}

}  // namespace

bool writeterraintile(const QString &root, int x, int y, const ElevationFn &f)
{
    QByteArray raw(2 * 121 * 121, '\0');
    for (int p = 0; p < 121; ++p)
        for (int s = 0; s < 121; ++s)
            qToLittleEndian<int16_t>(metres(f(x + p / 120.0, y + s / 120.0)), raw.data() + 2 * (p * 121 + s));
    return save(root + QStringLiteral("terrain/") + terrainrelpath(x, y), szddcompress(raw));
}

bool writedtedcell(const QString &root, int x, int y, int level, const ElevationFn &f)
{
    // Profiles per degree by the latitude zone; level 0 has a tenth of them.
    const int perDeg = dtedprofiles(y) / (level == 0 ? 10 : 1);
    const int lonLines = perDeg + 1;
    const int latPoints = level == 0 ? 121 : 1201;
    const long lonInterval = 36000L / perDeg;           // tenths of arc-seconds
    const long latInterval = 36000L / (latPoints - 1);

    QByteArray uhl = "UHL1" + angle(x, 3, 'E', 'W') + angle(y, 3, 'N', 'S') + num(lonInterval, 4) +
                     num(latInterval, 4) + field("NA", 4) + field("U", 3) + field("", 12) + num(lonLines, 4) +
                     num(latPoints, 4) + "0" + field("", 24);
    QByteArray dsi = "DSIU" + field("", 2) + field("", 27) + field("", 26) + (level == 0 ? "DTED0" : "DTED1") +
                     field("KESTROVA DEMO", 15) + field("", 8) + "01" + "A" + "0000" + "0000" + "0000" +
                     field("KESTROVA", 8) + field("", 16) + field("PRF89020B", 9) + "00" + "0005" + "MSL" + "WGS84" +
                     field("SYNTHETIC", 10) + "0000" + field("", 22);
    dsi += num(std::abs(y), 2) + "0000.0" + (y < 0 ? 'S' : 'N');
    dsi += num(std::abs(x), 3) + "0000.0" + (x < 0 ? 'W' : 'E');
    const int corners[4][2] = {{x, y}, {x, y + 1}, {x + 1, y + 1}, {x + 1, y}};  // SW, NW, NE, SE
    for (const auto &c : corners) dsi += angle(c[1], 2, 'N', 'S') + angle(c[0], 3, 'E', 'W');
    dsi += "0000000.0" + num(latInterval, 4) + num(lonInterval, 4) + num(latPoints, 4) + num(lonLines, 4) + "00";
    dsi = field(dsi, 648);
    const QByteArray acc = field("ACCNA  NA  NA  NA  ", 2700);
    if (uhl.size() != 80) return false;

    QByteArray cell = uhl + dsi + acc;
    const int recordBytes = 8 + 2 * latPoints + 4;
    QByteArray rec(recordBytes, '\0');
    for (int k = 0; k < lonLines; ++k) {
        auto *r = reinterpret_cast<uint8_t *>(rec.data());
        r[0] = 0xAA;
        r[1] = uint8_t(k >> 16), r[2] = uint8_t(k >> 8), r[3] = uint8_t(k);
        r[4] = uint8_t(k >> 8), r[5] = uint8_t(k);
        r[6] = r[7] = 0;
        for (int s = 0; s < latPoints; ++s) {
            const int v = metres(f(x + double(k) / perDeg, y + double(s) / (latPoints - 1)));
            const uint16_t sm = v < 0 ? uint16_t(0x8000 | -v) : uint16_t(v);
            r[8 + 2 * s] = uint8_t(sm >> 8);
            r[9 + 2 * s] = uint8_t(sm);
        }
        uint32_t sum = 0;
        for (int b = 0; b < recordBytes - 4; ++b) sum += r[b];
        qToBigEndian<uint32_t>(sum, r + recordBytes - 4);
        cell += rec;
    }
    auto candidates = dtedcandidates(root, x, y);
    return save(level == 0 ? candidates[2].path : candidates[1].path, cell);
}

bool writegtopotile(const QString &root, int tlon, int tlat, double rowsNorth, double rowsSouth, const ElevationFn &f)
{
    const bool antarctic = tlat <= -60;
    const int cols = antarctic ? 7200 : 4800, rows = antarctic ? 3600 : 6000;
    const QString name = gtopo30name(tlon, tlat);
    const QString dir = root + name + QLatin1Char('/');
    QDir().mkpath(dir);
    QFile dem(dir + name + QStringLiteral(".DEM"));
    if (!dem.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const int r0 = std::clamp(int(std::floor((tlat - rowsNorth) * 120)), 0, rows);
    const int r1 = std::clamp(int(std::ceil((tlat - rowsSouth) * 120)), 0, rows);
    QByteArray row(2 * cols, '\0');
    for (int r = r0; r < r1; ++r) {
        const double lat = tlat - (r + 0.5) / 120.0;
        for (int c = 0; c < cols; ++c) {
            const double v = f(tlon + (c + 0.5) / 120.0, lat);
            qToBigEndian<int16_t>(v <= 0 ? int16_t(-9999) : metres(v), row.data() + 2 * c);
        }
        if (!dem.seek(qint64(r) * row.size()) || dem.write(row) != row.size()) return false;
    }
    if (!dem.resize(qint64(rows) * row.size())) return false;
    dem.close();
    const QString hdr = QStringLiteral(
                            "BYTEORDER      M\r\nLAYOUT         BIL\r\nNROWS          %1\r\nNCOLS          %2\r\n"
                            "NBANDS         1\r\nNBITS          16\r\nBANDROWBYTES   %3\r\nTOTALROWBYTES  %3\r\n"
                            "BANDGAPBYTES   0\r\nNODATA         -9999\r\nULXMAP         %4\r\nULYMAP         %5\r\n"
                            "XDIM           0.00833333333333\r\nYDIM           0.00833333333333\r\n")
                            .arg(rows)
                            .arg(cols)
                            .arg(2 * cols)
                            .arg(tlon + 1.0 / 240, 0, 'f', 11)
                            .arg(tlat - 1.0 / 240, 0, 'f', 11);
    return save(dir + name + QStringLiteral(".HDR"), hdr.toLatin1());
}

}  // namespace zk::demo
