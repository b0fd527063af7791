// libFuzzer target: any bytes as what the serial port delivers, split into
// reads at places the input itself chooses. Every sentence the assembler
// passes must have a right checksum and fit its limit, and the $GPRMC
// reader must give positions on the globe and bounded speed and course;
// the writer's sentence of such a position must pass the assembler again.
#include <cmath>
#include <cstdint>
#include <string>

#include "positions/nmea.h"

using namespace zk::positions;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    NmeaAssembler a;
    // The first byte sets the size of the reads (1..256 bytes).
    const size_t chunk = size ? size_t(data[0]) + 1 : 1;
    size_t at = size ? 1 : 0;
    while (at < size) {
        const size_t n = std::min(chunk, size - at);
        a.feed(data + at, n, [](const std::string &s) {
            if (s.empty() || s[0] != '$' || s.size() > NmeaAssembler::kMaxText) __builtin_trap();
            const auto f = readgprmc(s);
            if (!f) return;
            if (!(std::fabs(f->lat) <= 90) || !(std::fabs(f->lon) <= 180)) __builtin_trap();
            if (!(f->speed_kmh <= 999) || !(f->course_deg >= 0 && f->course_deg <= 360)) __builtin_trap();
            const std::string out = formatgprmc(f->lon, f->lat, UtcStamp());
            NmeaAssembler b;
            int valid = 0;
            b.feed(reinterpret_cast<const uint8_t *>(out.data()), out.size(), [&](const std::string &) { ++valid; });
            if (valid != 1) __builtin_trap();
            const auto back = readgprmc(b.sentence());
            if (!back || std::fabs(back->lat - f->lat) > 0.0001 || std::fabs(back->lon - f->lon) > 0.0001) {
                // 180 W and 180 E are the same meridian.
                if (!back || std::fabs(std::fabs(back->lon) - 180) > 0.0001) __builtin_trap();
            }
        });
        at += n;
    }
    // Direct reads of the same bytes as a sentence must stay in bounds too.
    const auto f = readgprmc(std::string_view(reinterpret_cast<const char *>(data), size));
    if (f && !(std::fabs(f->lat) <= 90)) __builtin_trap();
    return 0;
}
