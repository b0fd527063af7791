#include "radio/netfile.h"

#include <cstring>

#include "lebytes.h"

namespace zk {

namespace {

const char kMarkBytes[4] = {0x00, 0x00, char(0xFA), 0x44};
const char kMapMarkBytes[4] = {0x00, 0x40, char(0x9C), 0x45};

using Packer = LePacker;
using Unpacker = LeUnpacker;

// A cursor over the file's bytes that notes where the bytes ran out or a
// length did not fit.
class Reader {
public:
    Reader(const QByteArray &b, NetRead &r) : b_(b), r_(r) {}
    qsizetype pos() const { return pos_; }
    qsizetype left() const { return b_.size() - pos_; }
    void seek(qsizetype p) { pos_ = p; }
    // The next n bytes, or null (and the damage noted) when they are not there.
    const char *take(qsizetype n)
    {
        if (n < 0 || n > left()) {
            ended();
            return nullptr;
        }
        const char *p = b_.constData() + pos_;
        pos_ += n;
        return p;
    }
    void ended() { damage(false); }
    void badlength(qsizetype at)
    {
        pos_ = at;
        damage(true);
    }
    // A 16-bit length followed by that many bytes; false when either is missing
    // or the length is negative or runs past the end.
    bool name(QByteArray &out)
    {
        const qsizetype at = pos_;
        const char *p = take(2);
        if (!p) return false;
        const int16_t n = qFromLittleEndian<int16_t>(p);
        if (n < 0 || n > left()) {
            badlength(at);
            return false;
        }
        out = QByteArray(b_.constData() + pos_, n);
        pos_ += n;
        return true;
    }

private:
    void damage(bool length)
    {
        if (r_.damaged) return;
        r_.damaged = true;
        r_.badlength = length;
        r_.offset = pos_;
    }
    const QByteArray &b_;
    NetRead &r_;
    qsizetype pos_ = 0;
};

// Whole records of a table, as many as the bytes hold.
template <typename T, size_t N, typename F>
int readtable(Reader &in, std::array<T, N> &table, int recordBytes, F unpack)
{
    int k = 0;
    for (; k < int(N); ++k) {
        const char *p = in.take(recordBytes);
        if (!p) break;
        table[size_t(k)] = unpack(p);
    }
    return k;
}

}  // namespace

QByteArray packunit(const UnitRecord &u)
{
    QByteArray out;
    Packer w(out);
    w.f32(u.lon);
    w.f32(u.lat);
    w.f32(u.elev);
    w.i16(u.enabled);
    w.i16(u.transparent);
    w.u32(u.color);
    w.u32(u.backcolor);
    w.text(u.name, sizeof u.name);
    return out;
}

UnitRecord unpackunit(const char *p)
{
    Unpacker r(p);
    UnitRecord u;
    u.lon = r.f32();
    u.lat = r.f32();
    u.elev = r.f32();
    u.enabled = r.i16();
    u.transparent = r.i16();
    u.color = r.u32();
    u.backcolor = r.u32();
    r.text(u.name, sizeof u.name);
    return u;
}

QByteArray packsystem(const SystemRecord &s)
{
    QByteArray out;
    Packer w(out);
    w.f32(s.power);
    w.f32(s.threshold);
    w.f32(s.loss);
    w.f32(s.gain);
    w.f32(s.height);
    w.text(s.name, sizeof s.name);
    return out;
}

SystemRecord unpacksystem(const char *p)
{
    Unpacker r(p);
    SystemRecord s;
    s.power = r.f32();
    s.threshold = r.f32();
    s.loss = r.f32();
    s.gain = r.f32();
    s.height = r.f32();
    r.text(s.name, sizeof s.name);
    return s;
}

QByteArray packnet(const NetRecord &n)
{
    QByteArray out;
    Packer w(out);
    w.text(reinterpret_cast<const char *>(n.member), kUnits);
    w.text(reinterpret_cast<const char *>(n.system), kUnits);
    w.f32(n.fmin);
    w.f32(n.fmax);
    w.i16(n.polar);
    w.f32(n.eps);
    w.f32(n.sigma);
    w.f32(n.ns);
    w.i16(n.climate);
    w.i16(n.statmode);
    w.f32(n.ptime);
    w.f32(n.ploc);
    w.f32(n.psit);
    w.i16(n.maxretrans);
    w.i16(n.topology);
    w.text(n.name, sizeof n.name);
    return out;
}

NetRecord unpacknet(const char *p)
{
    Unpacker r(p);
    NetRecord n;
    r.text(reinterpret_cast<char *>(n.member), kUnits);
    r.text(reinterpret_cast<char *>(n.system), kUnits);
    n.fmin = r.f32();
    n.fmax = r.f32();
    n.polar = r.i16();
    n.eps = r.f32();
    n.sigma = r.f32();
    n.ns = r.f32();
    n.climate = r.i16();
    n.statmode = r.i16();
    n.ptime = r.f32();
    n.ploc = r.f32();
    n.psit = r.f32();
    n.maxretrans = r.i16();
    n.topology = r.i16();
    r.text(n.name, sizeof n.name);
    return n;
}

QByteArray packcoverage(const CoverageSettings &c)
{
    QByteArray out;
    Packer w(out);
    w.f32(c.rangemax);
    w.f32(c.azmin);
    w.f32(c.azmax);
    w.f32(c.azstep);
    w.f32(c.antaz);
    w.text(c.antfile, sizeof c.antfile);
    w.i16(c.thrunit);
    w.f32(c.thrdbm);
    w.i16(c.surface);
    w.u32(c.surfcolor);
    w.i16(c.curve);
    w.u32(c.curvecolor);
    w.f32(c.sensorh);
    w.f32(c.targeth);
    w.f32(c.rangemin);
    w.u32(c.viscolor);
    return out;
}

CoverageSettings unpackcoverage(const char *p)
{
    Unpacker r(p);
    CoverageSettings c;
    c.rangemax = r.f32();
    c.azmin = r.f32();
    c.azmax = r.f32();
    c.azstep = r.f32();
    c.antaz = r.f32();
    r.text(c.antfile, sizeof c.antfile);
    c.thrunit = r.i16();
    c.thrdbm = r.f32();
    c.surface = r.i16();
    c.surfcolor = r.u32();
    c.curve = r.i16();
    c.curvecolor = r.u32();
    c.sensorh = r.f32();
    c.targeth = r.f32();
    c.rangemin = r.f32();
    c.viscolor = r.u32();
    return c;
}

QByteArray netfilebytes(const NetDocument &doc)
{
    QByteArray out;
    out.reserve(kNetFileBaseBytes + doc.mapfile.size() + 64);
    Packer w(out);
    w.text(kMarkBytes, 4);
    for (const UnitRecord &u : doc.units) out += packunit(u);
    for (const SystemRecord &s : doc.systems) out += packsystem(s);
    for (const NetRecord &n : doc.nets) out += packnet(n);
    out += packcoverage(doc.covset);
    const QByteArray map = doc.mapfile.left(32767);
    w.i16(int16_t(map.size()));
    out += map;
    for (const QByteArray &p : doc.pictures) {
        if (p.isEmpty() || p.size() > 32767) continue;
        w.i16(int16_t(p.size()));
        out += p;
    }
    w.i16(0);
    for (float h : doc.heights) w.f32(h);
    w.text(reinterpret_cast<const char *>(doc.icons.data()), kUnits);
    return out;
}

NetRead readnetfile(const QByteArray &bytes, NetDocument &doc)
{
    NetRead r;
    Reader in(bytes, r);
    auto unit = [](const char *p) { return unpackunit(p); };
    auto system = [](const char *p) { return unpacksystem(p); };
    auto net = [](const char *p) { return unpacknet(p); };

    if (bytes.size() >= 4 && std::memcmp(bytes.constData(), kMapMarkBytes, 4) == 0) {
        r.layout = NetLayout::MapFile;
        return r;
    }

    if (bytes.size() >= 4 && std::memcmp(bytes.constData(), kMarkBytes, 4) == 0) {
        r.layout = NetLayout::Current;
        in.seek(kUnitsAt);
        r.units = readtable(in, doc.units, kUnitRecordBytes, unit);
        if (r.units < kUnits) return r;
        r.systems = readtable(in, doc.systems, kSystemRecordBytes, system);
        if (r.systems < kSystems) return r;
        r.nets = readtable(in, doc.nets, kNetRecordBytes, net);
        if (r.nets < kNets) return r;
        const char *c = in.take(kCoverageRecordBytes);
        if (!c) return r;
        doc.covset = unpackcoverage(c);
        r.covset = true;
        QByteArray name;
        if (!in.name(name)) return r;
        doc.mapfile = name;
        r.mapname = true;
        // The picture list ends with a 0 length. It is taken whole or not at
        // all: what follows a broken entry cannot be found.
        QList<QByteArray> pictures;
        for (;;) {
            const qsizetype at = in.pos();
            const char *p = in.take(2);
            if (!p) break;
            const int16_t m = qFromLittleEndian<int16_t>(p);
            if (m == 0) {
                r.pictures = true;
                break;
            }
            if (m < 0 || m > in.left()) {
                in.badlength(at);
                break;
            }
            pictures.append(QByteArray(in.take(m), m));
        }
        // Pictures named before the damage are still opened.
        doc.pictures = pictures;
        if (!r.pictures) return r;
        for (; r.heights < kNets * kUnits; ++r.heights) {
            const char *p = in.take(4);
            if (!p) return r;
            doc.heights[size_t(r.heights)] = Unpacker(p).f32();
        }
        for (; r.icons < kUnits; ++r.icons) {
            const char *p = in.take(1);
            if (!p) return r;
            doc.icons[size_t(r.icons)] = uint8_t(*p);
        }
        return r;  // anything after the icons is ignored
    }

    // Old layout: the map name first, then the three tables.
    r.layout = NetLayout::Old;
    QByteArray name;
    if (!in.name(name)) return r;
    doc.mapfile = name;
    r.mapname = true;
    r.units = readtable(in, doc.units, kUnitRecordBytes, unit);
    for (int k = 0; k < r.units; ++k) {
        float &lon = doc.units[size_t(k)].lon;
        if (lon != 0) lon = -lon;  // was west-positive; an unplaced 0 stays a plain 0
    }
    if (r.units < kUnits) return r;
    r.systems = readtable(in, doc.systems, kSystemRecordBytes, system);
    if (r.systems < kSystems) return r;
    r.nets = readtable(in, doc.nets, kNetRecordBytes, net);
    return r;
}

}  // namespace zk
