// The network file: the whole radio side of the document (units, systems,
// networks, coverage settings, antenna heights, icons) and, by name, the map
// file and the pictures that were open. Little-endian, no padding, fixed
// texts as 8-bit blank-padded characters. The current layout begins with
// the single-precision mark 2000.0; the old layout (no mark, west-positive
// longitudes, no coverage settings, pictures, heights or icons) is read only.
//
// This file holds the bytes only: netdoc.h opens and saves documents.
#pragma once

#include <QByteArray>
#include <QList>

#include <array>
#include <cstdint>

#include "pictures/covset.h"
#include "radio/radiodata.h"

namespace zk {

constexpr float kNetMark = 2000.0f;  // bytes 00 00 FA 44
constexpr int kUnitRecordBytes = 44;
constexpr int kSystemRecordBytes = 50;
constexpr int kNetRecordBytes = 172;
constexpr int kUnitsAt = 4;
constexpr int kSystemsAt = kUnitsAt + kUnits * kUnitRecordBytes;         // 2204
constexpr int kNetsAt = kSystemsAt + kSystems * kSystemRecordBytes;      // 3454
constexpr int kCoverageAt = kNetsAt + kNets * kNetRecordBytes;           // 7754
constexpr int kMapNameAt = kCoverageAt + kCoverageRecordBytes;           // 7828
constexpr int kHeightsBytes = kNets * kUnits * 4;                        // 5000
// Length of a current-layout file without pictures and with an empty map
// name: 12882 (+ the map name's length).
constexpr int kNetFileBaseBytes = kMapNameAt + 2 + 2 + kHeightsBytes + kUnits;
// Largest file read: a real one is about 13 KB plus its picture names.
constexpr qsizetype kMaxNetFileBytes = 4 * 1024 * 1024;

// A document as the file holds it. Texts stay 8-bit as stored.
struct NetDocument {
    std::array<UnitRecord, kUnits> units{};
    std::array<SystemRecord, kSystems> systems{};
    std::array<NetRecord, kNets> nets{};
    CoverageSettings covset{};
    QByteArray mapfile;
    QList<QByteArray> pictures;
    std::array<float, kNets * kUnits> heights{};  // netheight's order
    std::array<uint8_t, kUnits> icons{};
};

enum class NetLayout { Current, Old, MapFile };

// What a read found. Sections not read keep what the document held before.
struct NetRead {
    NetLayout layout = NetLayout::Old;
    int units = 0, systems = 0, nets = 0;  // whole records read
    bool covset = false;
    bool mapname = false;
    bool pictures = false;  // the list up to its 0 end
    int heights = 0;        // values read
    int icons = 0;          // bytes read
    // Damage: the file ends early or a length does not fit the bytes left.
    bool damaged = false;
    bool badlength = false;  // the damage is a length field (else the end of the file)
    qsizetype offset = -1;   // where it was found
    // Nothing of the radio tables could be read.
    bool empty() const { return layout != NetLayout::MapFile && units == 0; }
};

// Reads a whole file's bytes into the document, part by part, as far as the
// bytes go; every length and count is checked against the bytes present.
NetRead readnetfile(const QByteArray &bytes, NetDocument &doc);

// The current layout for the document. A picture name longer than 32767
// bytes cannot be stored and is left out.
QByteArray netfilebytes(const NetDocument &doc);

// The records as the file lays them out.
QByteArray packunit(const UnitRecord &u);
QByteArray packsystem(const SystemRecord &s);
QByteArray packnet(const NetRecord &n);
QByteArray packcoverage(const CoverageSettings &c);
// From bytes that hold at least the record's size.
UnitRecord unpackunit(const char *p);
SystemRecord unpacksystem(const char *p);
NetRecord unpacknet(const char *p);
CoverageSettings unpackcoverage(const char *p);

}  // namespace zk
