// libFuzzer target: any bytes as a received datagram. The reader must stay
// within the bytes given, and whatever it accepts must be a unit of the
// table at a position on the globe with a name free of control bytes.
#include <cstdint>
#include <cstring>

#include "positions/datagram.h"

using namespace zk::positions;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A copy of exactly the bytes given, so that a read past them is seen.
    auto *copy = new uint8_t[size ? size : 1];
    if (size) std::memcpy(copy, data, size);
    const auto d = parsedatagram(copy, size);
    if (d) {
        if (size < kDatagramSize) __builtin_trap();
        if (d->unit < 1 || d->unit > 50) __builtin_trap();
        if (!(d->lon >= -180 && d->lon <= 180) || !(d->lat >= -90 && d->lat <= 90)) __builtin_trap();
        for (char c : d->name)
            if (uint8_t(c) < 32 || uint8_t(c) == 127) __builtin_trap();
    }
    delete[] copy;
    return 0;
}
