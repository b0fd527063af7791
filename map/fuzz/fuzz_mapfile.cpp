// libFuzzer target: any bytes as a map file of the current layout. A file the
// reader takes and whose settings pass the range check is drawn by the
// engine's painter in every mode, with and without contours, on a surface of
// up to 64 x 64 pixels: the painter must not misbehave on any of them (the
// sanitizers stop on overflow, the surface's guard row must stay untouched).
#include <QBuffer>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "map/mapfile.h"
#include "zelkor32.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    zk::MapImage m;
    if (zk::readcurrentmap(buf, m) != zk::MapRead::Ok) return 0;
    if (!zk::checkmapsettings(m.settings).isEmpty()) return 0;

    ZkArray a{};
    a.dims = 2;
    a.ubound[0] = m.nx - 1;
    a.ubound[1] = m.ny - 1;
    a.data = m.cells.data();
    ZkArray *ref = &a;
    const int32_t w = std::min(m.nx, 64), h = std::min(m.ny, 64);
    std::vector<uint32_t> bits(size_t(w) * size_t(h + 1), 0x12345678u);  // one guard row below
    ZkDC dc{bits.data(), w, h, w, nullptr};
    int16_t levels[11], red[12], green[12], blue[12];
    for (int i = 0; i < 11; ++i) levels[i] = int16_t(100 * i);
    for (int i = 0; i < 12; ++i) red[i] = green[i] = blue[i] = int16_t(20 * i);
    for (int16_t mode = 0; mode <= 5; ++mode) {
        MapSettings s = m.settings;
        s.Mapmode = mode;
        s.c1 = 1;
        s.c2 = 3;
        fastdraw(&s, &ref, &dc, 0, 0, int16_t(w - 1), int16_t(h - 1), levels, red, green, blue, 1);
    }
    for (int32_t x = 0; x < w; ++x)
        if (bits[size_t(h) * size_t(w) + size_t(x)] != 0x12345678u) __builtin_trap();
    return 0;
}
