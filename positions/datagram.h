// The position datagram: 46 bytes of 8-bit text in fixed columns, as every
// workstation of the sharing group sends it.
//
//   0  2  unit number, two digits (01..50)
//   3  3  longitude degrees, 6 degree sign, 7 2 minutes, 9 "'", 10 2 seconds,
//         12 '"', 13 "E" or "O"
//   15 2  latitude degrees, 17 degree sign, 18 2 minutes, 20 "'",
//         21 2 seconds, 23 '"', 24 "N" or "S"
//   26 20 the unit's name field, blank-padded
//
// Plain C++ (no Qt): the reader takes bytes and answers a record, so tests
// and the fuzzer feed it memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace zk::positions {

constexpr size_t kDatagramSize = 46;
constexpr size_t kNameSize = 20;

struct PositionDatagram {
    int unit = 0;        // 1..50
    double lon = 0;      // degrees, east positive, within [-180, 180]
    double lat = 0;      // degrees, north positive, within [-90, 90]
    char name[kNameSize] = {};  // the name field as received (8-bit text)
};

// Reads the first 46 bytes. Network input is never trusted: fewer than 46
// bytes, anything but digits in a number column, a unit number outside
// 1..50, minutes or seconds of 60 or more, a longitude beyond 180 or a
// latitude beyond 90 degrees, or a control byte in the name answer nothing.
// Any hemisphere letter but "E" gives a western longitude, any but "N" a
// southern latitude; the punctuation columns are not looked at (another
// code page may carry another degree sign).
std::optional<PositionDatagram> parsedatagram(const uint8_t *data, size_t size);

}  // namespace zk::positions
