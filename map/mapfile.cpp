#include "mapfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <bit>
#include <cmath>
#include <cstring>

#include "base/longop.h"
#include "base/routines.h"
#include "base/settings.h"
#include "lebytes.h"
#include "map/mapservices.h"
#include "msgbox.h"
#include "paths.h"

namespace zk {

namespace {

const char kMarkBytes[4] = {0x00, 0x40, char(0x9C), 0x45};

using Packer = LePacker;
using Unpacker = LeUnpacker;

// Reads exactly n bytes or answers false.
bool readExactly(QIODevice &dev, char *dst, qint64 n)
{
    qint64 done = 0;
    while (done < n) {
        const qint64 r = dev.read(dst + done, n - done);
        if (r <= 0) return false;
        done += r;
    }
    return true;
}

// The bytes still to come on the device (its size for a file or buffer).
qint64 remaining(QIODevice &dev)
{
    if (dev.isSequential()) return dev.bytesAvailable();
    return dev.size() - dev.pos();
}

const QString kBadFormat = QStringLiteral("Mauvais format de carte");

// Sets the reason of a refusal and answers Bad.
MapRead bad(QString *why, const QString &text)
{
    if (why) *why = text;
    return MapRead::Bad;
}

QString bytesText(qint64 n) { return QStringLiteral("%1 octets").arg(n); }

}  // namespace

QString checkmapsettings(const MapSettings &s)
{
    struct Range {
        const char *what;
        float v;
        double lo, hi;
    };
    // The ranges of the map and picture dialogs; the colour floor and ceiling
    // also take any 16-bit elevation, as an extraction sets them to the
    // grid's lowest and highest cells, and the centre longitude what an
    // old-layout file may hold (strictly inside +-181).
    const Range ranges[] = {
        {"longitude du centre", s.lon, -181, 181},
        {"latitude du centre", s.lat, -90, 90},
        {"taille (km)", s.size, 0.5, 19900},
        {"contraste (%)", s.con, 0, 100},
        {"luminosité (%)", s.bri, 0, 100},
        {"plancher des couleurs (m)", s.minx, -32768, 99999},
        {"plafond des couleurs (m)", s.maxx, -32768, 99999},
        {"azimut de l'éclairage (°)", s.light, 0, 360},
    };
    for (const Range &r : ranges)
        if (!(r.lo <= r.v && r.v <= r.hi))
            return QStringLiteral("%1 %2 hors des limites %3 à %4")
                .arg(QString::fromUtf8(r.what), QString::number(double(r.v), 'g', 7), QString::number(r.lo),
                     QString::number(r.hi));
    return QString();
}

QByteArray packsettings(const MapSettings &s)
{
    QByteArray out;
    out.reserve(kPackedSettingsBytes);
    Packer p(out);
    p.f32(s.lon);
    p.f32(s.lat);
    p.f32(s.size);
    p.i16(s.Mapmode);
    p.f32(s.con);
    p.f32(s.bri);
    p.f32(s.minx);
    p.f32(s.maxx);
    p.f32(s.light);
    p.u8(s.c1);
    p.u8(s.c2);
    p.f32(s.hmin);
    p.f32(s.hmax);
    p.f32(s.hmoy);
    p.u8(s.sources);
    p.u8(uint8_t(s.tag));
    return out;
}

QByteArray packcorners(const MapCorners &c)
{
    QByteArray out;
    out.reserve(kPackedCornersBytes);
    Packer p(out);
    for (float v : c.lon) p.f32(v);
    for (float v : c.lat) p.f32(v);
    p.i16(c.city);
    return out;
}

MapSettings unpacksettings(const char *bytes)
{
    MapSettings s{};
    Unpacker u(bytes);
    s.lon = u.f32();
    s.lat = u.f32();
    s.size = u.f32();
    s.Mapmode = u.i16();
    s.con = u.f32();
    s.bri = u.f32();
    s.minx = u.f32();
    s.maxx = u.f32();
    s.light = u.f32();
    s.c1 = u.u8();
    s.c2 = u.u8();
    s.hmin = u.f32();
    s.hmax = u.f32();
    s.hmoy = u.f32();
    s.sources = u.u8();
    s.tag = char(u.u8());
    return s;
}

MapCorners unpackcorners(const char *bytes)
{
    MapCorners c;
    Unpacker u(bytes);
    for (float &v : c.lon) v = u.f32();
    for (float &v : c.lat) v = u.f32();
    c.city = u.i16();
    return c;
}

QByteArray mapfilebytes(const ElevGrid &grid, const MapSettings &s, const MapCorners &c)
{
    const int32_t nx = grid.nx() > 0 ? grid.nx() : 0;
    const int32_t ny = grid.ny() > 0 ? grid.ny() : 0;
    const qsizetype cells = qsizetype(nx) * ny;
    QByteArray out;
    out.reserve(kMapHeaderBytes + 2 * cells);
    Packer p(out);
    p.f32(kMapMark);
    p.i32(nx);
    p.i32(ny);
    out += packsettings(s);
    out += packcorners(c);
    const qsizetype at = out.size();
    out.resize(at + 2 * cells);
    qToLittleEndian<int16_t>(grid.data(), cells, out.data() + at);
    return out;
}

MapRead readcurrentmap(QIODevice &dev, MapImage &out, QString *why)
{
    const qint64 total = remaining(dev);
    char head[kMapHeaderBytes];
    if (total < 4 || !readExactly(dev, head, 4)) return MapRead::NotThisLayout;
    if (std::memcmp(head, kMarkBytes, 4) != 0) return MapRead::NotThisLayout;
    if (total < kMapHeaderBytes || !readExactly(dev, head + 4, kMapHeaderBytes - 4))
        return bad(why, QStringLiteral("Le fichier a %1, moins que l'en-tête de carte (%2).")
                            .arg(bytesText(total), bytesText(kMapHeaderBytes)));
    Unpacker u(head + 4);
    const int32_t nx = u.i32();
    const int32_t ny = u.i32();
    if (nx < 1 || ny < 1)
        return bad(why, QStringLiteral("L'en-tête annonce une grille de %1 x %2 points.").arg(nx).arg(ny));
    // The grid must fill the rest of the file exactly: no shorter, no longer.
    const qint64 gridBytes = 2 * qint64(nx) * qint64(ny);
    if (total - kMapHeaderBytes != gridBytes)
        return bad(why, QStringLiteral("Le fichier a %1, son en-tête (grille de %2 x %3 points) en demande %4.")
                            .arg(bytesText(total))
                            .arg(nx)
                            .arg(ny)
                            .arg(bytesText(kMapHeaderBytes + gridBytes)));
    MapImage m;
    m.nx = nx;
    m.ny = ny;
    m.settings = unpacksettings(head + 12);
    m.corners = unpackcorners(head + 12 + kPackedSettingsBytes);
    m.cells.resize(size_t(nx) * size_t(ny));
    if (!readExactly(dev, reinterpret_cast<char *>(m.cells.data()), gridBytes))
        return bad(why, QStringLiteral("Erreur de lecture : ") + dev.errorString());
    qFromLittleEndian<int16_t>(m.cells.data(), qsizetype(m.cells.size()), m.cells.data());
    out = std::move(m);
    return MapRead::Ok;
}

MapRead readoldmap(QIODevice &dev, OldMapImage &out, QString *why)
{
    const qint64 total = remaining(dev);
    qint64 left = total;
    // Neither layout: the file has no mark and no centre longitude of a map.
    const QString notamap = QStringLiteral("Ce n'est pas un fichier de carte (%1, sans la marque 5000.0 en tête).");
    // An old-layout file that stops before its end.
    const QString cut = QStringLiteral("Ancien format de carte tronqué : le fichier a %1, il en faut au moins %2.");
    char rec[kPackedSettingsBytes];
    if (left < kPackedSettingsBytes || !readExactly(dev, rec, kPackedSettingsBytes))
        return bad(why, notamap.arg(bytesText(total)));
    left -= kPackedSettingsBytes;
    OldMapImage m;
    m.settings = unpacksettings(rec);
    // Only a west-positive centre longitude strictly inside +-181 makes the
    // file a map (a centre that is not a number does not).
    if (!(m.settings.lon > -181.0f && m.settings.lon < 181.0f)) return bad(why, notamap.arg(bytesText(total)));
    const qint64 gridBytes = qint64(kOldMapSide) * kOldMapSide * 4;
    qint64 need = kPackedSettingsBytes + 20 + 6 + gridBytes;  // grows by the texts' lengths as they are read
    // 20 unused bytes, then three texts of a 16-bit length and their characters.
    char skip[20];
    if (left < 20 || !readExactly(dev, skip, 20)) return bad(why, cut.arg(bytesText(total), bytesText(need)));
    left -= 20;
    QByteArray text3;
    for (int t = 0; t < 3; ++t) {
        char lb[2];
        if (left < 2 || !readExactly(dev, lb, 2)) return bad(why, cut.arg(bytesText(total), bytesText(need)));
        left -= 2;
        const qint64 len = qFromLittleEndian<uint16_t>(lb);
        need += len;
        if (left < len) return bad(why, cut.arg(bytesText(total), bytesText(need)));
        QByteArray text(qsizetype(len), '\0');
        if (len > 0 && !readExactly(dev, text.data(), len)) return bad(why, cut.arg(bytesText(total), bytesText(need)));
        left -= len;
        if (t == 2) text3 = text;
    }
    if (left < gridBytes) return bad(why, cut.arg(bytesText(total), bytesText(need)));
    std::vector<uint32_t> raw(size_t(kOldMapSide) * kOldMapSide);
    if (!readExactly(dev, reinterpret_cast<char *>(raw.data()), gridBytes))
        return bad(why, QStringLiteral("Erreur de lecture : ") + dev.errorString());
    m.cells.resize(raw.size());
    for (size_t k = 0; k < raw.size(); ++k)
        m.cells[k] = std::bit_cast<float>(qFromLittleEndian<uint32_t>(reinterpret_cast<const char *>(&raw[k])));

    // The old layout counted longitudes west positive.
    float lon = -m.settings.lon;
    if (lon >= 180.0f) lon -= 360.0f;
    m.settings.lon = lon;
    m.settings.tag = text3.isEmpty() ? ' ' : text3.at(0);
    out = std::move(m);
    return MapRead::Ok;
}

bool savemap(const QString &name)
{
    const QString path = paths::resolve(name);
    MapBusyCursor busy;
    const QByteArray bytes = mapfilebytes(elevgrid, mapset, mapcorners);
    // The old file stays untouched until the new one is complete.
    QSaveFile f(path);
    bool ok = f.open(QIODevice::WriteOnly);
    if (ok) ok = f.write(bytes) == bytes.size();
    if (ok) {
        ok = f.commit();
    } else if (f.isOpen()) {
        f.cancelWriting();
        f.commit();
    }
    if (!ok) {
        msgbox(QStringLiteral("Echec en cours d'écriture\r\n") + path, mbExclamation | mbOK);
        return false;
    }
    mapfile = path;
    mapmodified = false;
    mapmessage(fileof(path) + QStringLiteral(" a été enregistrée"));
    return true;
}

QString findmapfile(const QString &name)
{
    const QString file = fileof(name);
    const QString candidates[] = {
        name,
        pathof(settings.lastproject) + file,
        paths::programFolder() + QLatin1Char('/') + file,
    };
    for (const QString &c : candidates) {
        if (c.isEmpty()) continue;
        const QString r = paths::resolve(c);
        if (!r.isEmpty() && QFileInfo(r).isFile()) return r;
    }
    return QString();
}

namespace {

// The map's name with its folder: a network file saved elsewhere, or a
// program started from another folder, still finds it.
QString wholename(const QString &found) { return QDir::cleanPath(QFileInfo(found).absoluteFilePath()); }

// Reads the file found into memory. `framed` tells whether the long-operation
// frame was started (only the old-layout conversion runs as an operation).
bool readmapfile(const QString &found, bool &framed)
{
    QFile f(found);
    if (!f.open(QIODevice::ReadOnly)) return false;

    // A refusal names the file and what is wrong with it.
    const auto refuse = [&found](const QString &why) {
        msgbox(kBadFormat + QStringLiteral("\r\n") + QDir::toNativeSeparators(found) + QStringLiteral("\r\n") + why,
               mbExclamation | mbOK);
    };
    QString why;
    MapImage cur;
    switch (readcurrentmap(f, cur, &why)) {
    case MapRead::Ok:
        if (const QString why = checkmapsettings(cur.settings); !why.isEmpty()) {
            msgbox(kBadFormat + QStringLiteral(" :\r\n") + found + QStringLiteral("\r\n") + why, mbExclamation | mbOK);
            return false;
        }
        elevgrid.redim(cur.nx - 1, cur.ny - 1);
        std::memcpy(elevgrid.data(), cur.cells.data(), cur.cells.size() * sizeof(int16_t));
        mapset = cur.settings;
        mapcorners = cur.corners;
        mapfile = wholename(found);
        return true;
    case MapRead::Bad:
        refuse(why);
        return false;
    case MapRead::NotThisLayout:
        break;
    }

    // The old layout: converted as a long operation.
    beginop(opreadmap);
    framed = true;
    editmap = mapset;
    OldMapImage old;
    if (!f.seek(0)) {
        refuse(QStringLiteral("Erreur de lecture : ") + f.errorString());
        return false;
    }
    if (readoldmap(f, old, &why) != MapRead::Ok) {
        refuse(why);
        return false;
    }
    f.close();
    if (const QString why = checkmapsettings(old.settings); !why.isEmpty()) {
        msgbox(kBadFormat + QStringLiteral(" :\r\n") + found + QStringLiteral("\r\n") + why, mbExclamation | mbOK);
        return false;
    }
    mapmessage(QStringLiteral("Conversion au nouveau format de carte..."));
    mapset = old.settings;
    mapfile = wholename(found);
    elevgrid.redim(kOldMapSide - 1, kOldMapSide - 1);
    setcorners(mapset);
    for (int32_t x = 0; x < kOldMapSide; ++x) {
        for (int32_t y = 0; y < kOldMapSide; ++y) {
            const double r = std::nearbyint(double(old.cells[size_t(x) + size_t(y) * kOldMapSide]));
            // An elevation that is not a number or does not fit 16 bits stays 0.
            if (r >= -32768.0 && r <= 32767.0) elevgrid.at(x, y) = int16_t(r);
        }
        // A stop keeps what was converted; the rest of the grid stays 0.
        if (opcallback(x) == 0) return true;
    }
    mapopencompanion(found.left(found.size() - 3) + QStringLiteral("bmp"));
    return true;
}

}  // namespace

bool openmap(const QString &name)
{
    QString n = name;
    if (n.endsWith(QLatin1Char('"'))) n.chop(1);
    if (n.startsWith(QLatin1Char('"'))) n.remove(0, 1);
    n = n.trimmed();
    if (n.size() < 3 || n.right(3).compare(QLatin1String("map"), Qt::CaseInsensitive) != 0) return false;

    bool framed = false;
    bool result = false;
    const QString found = findmapfile(n);
    if (!found.isEmpty()) result = readmapfile(found, framed);

    mapinitcolors();
    // Only the conversion started an operation; an open without one leaves the
    // message pane as it was instead of reporting a stop.
    if (framed) endop();
    mapmodified = !result;
    if (result) mapmissing = false;
    return result;
}

}  // namespace zk
