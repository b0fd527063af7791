// libFuzzer target: any bytes as a network file. Whatever the reader takes
// (the current or the old layout, whole or up to a damage) starts from a new
// document's records, as opening a file does; that document is written in
// the current layout and read again into a blank document. The second read
// must be whole and undamaged and give back every record, name, height and
// icon bit for bit: a document the program opens is one it can save and
// open again unchanged.
#include <QByteArray>

#include <cstdint>
#include <cstring>

#include "radio/netfile.h"
#include "radio/radiodata.h"

namespace {

bool same(const QByteArray &a, const QByteArray &b) { return a.size() == b.size() && std::memcmp(a.constData(), b.constData(), size_t(a.size())) == 0; }

void check(bool ok)
{
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > size_t(zk::kMaxNetFileBytes)) return 0;  // the program reads no more than this
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    zk::NetDocument doc;
    for (int i = 1; i <= zk::kUnits; ++i) doc.units[size_t(i - 1)] = zk::defaultunit(i);
    for (int i = 1; i <= zk::kSystems; ++i) doc.systems[size_t(i - 1)] = zk::defaultsystem(i);
    for (int i = 1; i <= zk::kNets; ++i) doc.nets[size_t(i - 1)] = zk::defaultnet(i);
    const zk::NetRead r = zk::readnetfile(bytes, doc);

    // What the reader reports must fit what it was given.
    check(r.units >= 0 && r.units <= zk::kUnits && r.systems >= 0 && r.systems <= zk::kSystems && r.nets >= 0 &&
          r.nets <= zk::kNets && r.heights >= 0 && r.heights <= zk::kNets * zk::kUnits && r.icons >= 0 &&
          r.icons <= zk::kUnits);
    check(!r.damaged || (r.offset >= 0 && r.offset <= bytes.size()));
    if (r.layout == zk::NetLayout::MapFile || r.empty()) return 0;

    const QByteArray saved = zk::netfilebytes(doc);
    zk::NetDocument again;
    const zk::NetRead r2 = zk::readnetfile(saved, again);
    check(r2.layout == zk::NetLayout::Current && !r2.damaged);
    check(r2.units == zk::kUnits && r2.systems == zk::kSystems && r2.nets == zk::kNets && r2.covset && r2.mapname &&
          r2.pictures && r2.heights == zk::kNets * zk::kUnits && r2.icons == zk::kUnits);

    for (size_t k = 0; k < size_t(zk::kUnits); ++k) check(same(zk::packunit(doc.units[k]), zk::packunit(again.units[k])));
    for (size_t k = 0; k < size_t(zk::kSystems); ++k)
        check(same(zk::packsystem(doc.systems[k]), zk::packsystem(again.systems[k])));
    for (size_t k = 0; k < size_t(zk::kNets); ++k) check(same(zk::packnet(doc.nets[k]), zk::packnet(again.nets[k])));
    check(same(zk::packcoverage(doc.covset), zk::packcoverage(again.covset)));
    check(same(doc.mapfile, again.mapfile));
    check(doc.pictures.size() == again.pictures.size());
    for (qsizetype k = 0; k < doc.pictures.size(); ++k) check(same(doc.pictures[k], again.pictures[k]));
    check(std::memcmp(doc.heights.data(), again.heights.data(), sizeof doc.heights) == 0);
    check(doc.icons == again.icons);
    // And the file written from the second read is the same file.
    check(same(saved, zk::netfilebytes(again)));
    return 0;
}
