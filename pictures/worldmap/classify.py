#!/usr/bin/env python3
"""Colours the rasterised countries of the world map.

Reads a 720 x 360 raster of country numbers (one byte a pixel, 0 for the
sea, top row first) and writes a PPM picture: sea, land, and a darker line
where land meets the sea or another country. Plain Python, no libraries.
"""
import sys

W, H = 720, 360
SEA = (40, 72, 136)
LAND = (120, 168, 96)
EDGE = (56, 96, 48)


def main(src, dst):
    data = open(src, "rb").read()
    if len(data) != W * H:
        sys.exit(f"{src}: {len(data)} bytes, expected {W * H}")

    def at(x, y):
        # Longitudes wrap around; beyond the poles is the pole row itself.
        return data[min(max(y, 0), H - 1) * W + x % W]

    out = bytearray()
    for y in range(H):
        for x in range(W):
            c = at(x, y)
            if c == 0:
                out += bytes(SEA)
                continue
            # An edge pixel has a neighbour of another number to its east or
            # south, or to its west or north when that one is sea, so that
            # coasts and borders come out one pixel wide.
            edge = at(x + 1, y) != c or at(x, y + 1) != c or at(x - 1, y) == 0 or at(x, y - 1) == 0
            out += bytes(EDGE if edge else LAND)
    with open(dst, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (W, H))
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
