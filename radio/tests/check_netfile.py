#!/usr/bin/env python3
"""Checks the network file layout with a reader of its own (struct).

    check_netfile.py <netfile_sample program> <work folder>

1. The program writes its sample document; this script reads every record
   at the offsets the layout gives and checks the values and the length.
2. This script writes a current-layout file and an old-layout file with
   struct; the program reads them back and prints what it found.
"""
import math
import os
import struct
import subprocess
import sys

UNIT = struct.Struct("<fffhhII20s")        # 44 bytes
SYSTEM = struct.Struct("<fffff30s")        # 50 bytes
NET = struct.Struct("<50s50sffhfffhhfffhh30s")  # 172 bytes
COVER = struct.Struct("<fffff20shfhIhIfffI")   # 74 bytes
assert (UNIT.size, SYSTEM.size, NET.size, COVER.size) == (44, 50, 172, 74)

failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: got {got!r}, expected {expected!r}")


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def read_current(data):
    check("mark", data[:4], b"\x00\x00\xfa\x44")
    pos = 4
    units = [UNIT.unpack_from(data, pos + 44 * i) for i in range(50)]
    pos += 2200
    systems = [SYSTEM.unpack_from(data, pos + 50 * i) for i in range(25)]
    pos += 1250
    nets = [NET.unpack_from(data, pos + 172 * i) for i in range(25)]
    pos += 4300
    check("coverage offset", pos, 7754)
    cover = COVER.unpack_from(data, pos)
    pos += 74
    (n,) = struct.unpack_from("<h", data, pos)
    mapname = data[pos + 2:pos + 2 + n]
    pos += 2 + n
    pictures = []
    while True:
        (m,) = struct.unpack_from("<h", data, pos)
        pos += 2
        if m == 0:
            break
        pictures.append(data[pos:pos + m])
        pos += m
    heights = struct.unpack_from("<1250f", data, pos)
    pos += 5000
    icons = data[pos:pos + 50]
    pos += 50
    check("file length", len(data), pos)
    return units, systems, nets, cover, mapname, pictures, heights, icons


def sample_checks(path):
    with open(path, "rb") as f:
        data = f.read()
    units, systems, nets, cover, mapname, pictures, heights, icons = read_current(data)
    pics = [b"C:\\Cartes\\Vall\xe9e.bmp", b"relief.bmp"]
    check("length", len(data), 12882 + 11 + sum(2 + len(p) for p in pics))
    u = units[0]
    check("unit 1", u[:7], (-73.25, 45.5, 123.5, -1, -1, 0x0000FF, 0x00FF00))
    check("unit 1 name", u[7], b"B\xe9lair" + b" " * 14)
    for i in range(1, 50):
        lon, lat, elev, enabled, transparent, color, back, name = units[i]
        check(f"unit {i + 1}", (lon, lat, elev, transparent, color, back), (0.0, 0.0, 0.0, 0, 0xFFFFFF, 0))
        check(f"unit {i + 1} enabled", enabled, 0 if i == 49 else -1)
        check(f"unit {i + 1} name", name, b"Station %02d" % (i + 1) + b" " * 10)
    for i, s in enumerate(systems):
        power = 25.0 if i == 1 else 10.0
        threshold = -113.5 if i == 1 else -107.0
        check(f"system {i + 1}", s[:5], (power, threshold, 0.5, 2.0, 2.0))
        check(f"system {i + 1} name", s[5], b"Syst\xe8me %02d" % (i + 1) + b" " * 20)
    for i, n in enumerate(nets):
        member, system, fmin, fmax, polar, eps, sigma, ns, climate, statmode, ptime, ploc, psit, maxre, topo, name = n
        check(f"net {i + 1} band", (fmin, fmax, polar, eps, ns, climate), (144.0, 148.0, 1, 15.0, 301.0, 5))
        check(f"net {i + 1} sigma", sigma, f32(0.005))
        check(f"net {i + 1} percentages", (ptime, ploc, psit), (50.0, 50.0, 50.0))
        if i == 0:
            check("net 1 members", member[:3], bytes([130, 129, 0]))
            check("net 1 systems", system[:3], bytes([1, 2, 1]))
            check("net 1 modes", (statmode, maxre, topo), (103, 3, 258))
            check("net 1 topology bytes", data[3454 + 140:3454 + 142], b"\x02\x01")
            check("net 1 name", name, b"R\xe9seau test" + b" " * 19)
        else:
            check(f"net {i + 1} members", member, bytes(50))
            check(f"net {i + 1} systems", system, bytes([1] * 50))
            check(f"net {i + 1} modes", (statmode, maxre, topo), (3, 0, 256))
            check(f"net {i + 1} name", name, b"R\xe9seau %02d" % (i + 1) + b" " * 21)
    check("coverage", cover, (100.0, 0.0, 360.0, 1.0, 0.0, b"yagi.ant" + b" " * 12, 1, -107.0, -1, 0x00FFFF, 0,
                              0x123456, 2.0, 2.0, 0.5, 0xFF00FF))
    check("map name", mapname, b"default.map")
    check("pictures", pictures, pics)
    check("height (3, 7)", heights[2 + 25 * 6], 12.5)
    check("other heights", sum(1 for h in heights if h != 0), 1)
    check("icons", icons, bytes([5] + [0] * 48 + [255]))


def dump(program, path):
    out = subprocess.run([program, "dump", path], check=True, capture_output=True, text=True).stdout
    result = {}
    for line in out.splitlines():
        key, _, value = line.partition("=")
        result.setdefault(key, []).append(value)
    return result


def blank(text, size):
    return text + b" " * (size - len(text))


def written_checks(program, folder):
    # A current-layout file of this script's own making.
    units = [UNIT.pack(0.0, 0.0, 0.0, -1, 0, 0xFFFFFF, 0, blank(b"U%02d" % (i + 1), 20)) for i in range(50)]
    units[4] = UNIT.pack(-72.5, 44.75, 300.0, 0, -1, 0x123456, 0x654321, blank(b"Cinq", 20))
    systems = [SYSTEM.pack(5.0, -110.0, 1.0, 3.0, 7.5, blank(b"S%02d" % (i + 1), 30)) for i in range(25)]
    nets = [NET.pack(bytes(50), bytes([1] * 50), 400.0, 410.0, 0, 4.0, 0.001, 280.0, 3, 1, 90.0, 80.0, 70.0, 2, 2,
                     blank(b"N%02d" % (i + 1), 30)) for i in range(25)]
    cover = COVER.pack(50.0, 10.0, 200.0, 2.0, 45.0, blank(b"ant.ant", 20), 2, -100.0, 0, 0, -1, 0xFF, 10.0, 20.0,
                       1.5, 0xFFFF)
    pics = [b"a.bmp"]
    data = (b"\x00\x00\xfa\x44" + b"".join(units) + b"".join(systems) + b"".join(nets) + cover +
            struct.pack("<h", 5) + b"x.map" + b"".join(struct.pack("<h", len(p)) + p for p in pics) +
            struct.pack("<h", 0) + struct.pack("<1250f", *([0.0] * 1249 + [99.0])) + bytes(range(50)) + b"trailing")
    path = os.path.join(folder, "python.net")
    with open(path, "wb") as f:
        f.write(data)
    d = dump(program, path)
    check("python file layout", d["layout"], ["current"])
    check("python file damage", d["damaged"], ["0"])
    check("python unit 5", d["unit5"], ["-72.5 44.75 300 0 -1 1193046 6636321 " + blank(b"Cinq", 20).hex()])
    check("python system 25", d["system25"], ["5 -110 1 3 7.5 " + blank(b"S25", 30).hex()])
    net = d["net7"][0].split()
    check("python net 7", net[2:], ["400", "410", "0", "4", "0.00100000005", "280", "3", "1", "90", "80", "70", "2", "2",
                                    blank(b"N07", 30).hex()])
    check("python coverage", d["covset"], ["50 10 200 2 45 " + blank(b"ant.ant", 20).hex() +
                                           " 2 -100 0 0 -1 255 10 20 1.5 65535"])
    check("python map", d["mapfile"], [b"x.map".hex()])
    check("python pictures", d.get("picture"), [b"a.bmp".hex()])
    check("python heights", d.get("height1249"), ["99"])
    check("python icons", d["icons"], [bytes(range(50)).hex()])

    # The old layout: the map name first, longitudes west-positive.
    units[0] = UNIT.pack(73.5, 45.0, 10.0, -1, 0, 0xFF, 0, blank(b"Ouest", 20))
    old = struct.pack("<h", 7) + b"old.map" + b"".join(units) + b"".join(systems) + b"".join(nets)
    path = os.path.join(folder, "old.net")
    with open(path, "wb") as f:
        f.write(old)
    d = dump(program, path)
    check("old layout", d["layout"], ["old"])
    check("old damage", d["damaged"], ["0"])
    check("old unit 1", d["unit1"], ["-73.5 45 10 -1 0 255 0 " + blank(b"Ouest", 20).hex()])
    check("old unplaced unit keeps 0", d["unit2"][0].split()[0], "0")
    check("old unit 5", d["unit5"][0].split()[:3], ["72.5", "44.75", "300"])
    check("old map", d["mapfile"], [b"old.map".hex()])
    check("old pictures", d["pictures"], ["0"])
    check("old icons", d["icons"], [bytes(50).hex()])
    check("old heights", [k for k in d if k.startswith("height")], [])


def main():
    program, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    sample = os.path.join(folder, "sample.net")
    subprocess.run([program, "write", sample], check=True)
    sample_checks(sample)
    written_checks(program, folder)
    if failures:
        print("\n".join(failures))
        return 1
    print("network file layout: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
