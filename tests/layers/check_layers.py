#!/usr/bin/env python3
"""Checks that every source file includes only from its own folder or a folder
below it (ARCHITECTURE.md draws the order).

Each quoted include is resolved as the compiler resolves it: beside the file,
then in the include folders of the file's layer. Tests, fuzzers and
benchmarks may reach any folder and are not read. The engine must also stay
free of Qt. Prints every include that runs against the order, with the file
and the line, and exits 1 when there is one.

Usage: check_layers.py <source root> [--list]   (--list: print every
cross-folder include, for measuring).
"""
import os
import re
import sys

# Bottom to top. Folders on one level may not include each other.
LEVELS = [
    ['engine'],
    ['platform'],
    ['base'],
    ['map'],
    ['pictures'],
    ['radio'],
    ['views3d', 'positions'],
    ['app'],
]
# A separate program: the path viewer stands on the adapters and the base.
SIDE = {'pathviewer': {'platform', 'base', 'pathviewer'}}
# Where the compiler looks for quoted includes, per layer.
INCLUDE_DIRS = {'engine': ['engine']}
DEFAULT_INCLUDE_DIRS = ['.', 'engine', 'platform']
# Not layered: tests, fuzzers, benchmarks, build files.
ASIDE = {'tests', 'fuzz', 'bench', 'cmake', 'scripts', 'data', '.git'}
SOURCES = ('.cpp', '.h', '.c', '.hpp', '.cc')

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')
QT_HEADER = re.compile(r'^(Q[A-Za-z0-9]*|Qt[A-Za-z]*/.*|q[a-z0-9_]+\.h)$')


def level_of():
    lv = {}
    for i, names in enumerate(LEVELS):
        for n in names:
            lv[n] = i
    return lv


def allowed(src, dst, lv):
    if src == dst:
        return True
    if src in SIDE:
        return dst in SIDE[src]
    if dst in SIDE or dst not in lv or src not in lv:
        return False
    return lv[dst] < lv[src]


def sources(root):
    for dp, dn, fn in os.walk(root):
        rel = os.path.relpath(dp, root)
        parts = [] if rel == '.' else rel.split(os.sep)
        if any(p in ASIDE or p.startswith('build') for p in parts):
            dn[:] = []
            continue
        if not parts:
            continue  # nothing is built from the root itself
        for f in sorted(fn):
            if f.endswith(SOURCES):
                yield os.path.join(dp, f), parts[0]


def main():
    args = [a for a in sys.argv[1:] if not a.startswith('--')]
    listing = '--list' in sys.argv
    root = os.path.abspath(args[0] if args else os.path.join(os.path.dirname(__file__), '..', '..'))
    lv = level_of()
    faults = []
    checked = 0
    for path, folder in sources(root):
        checked += 1
        rel = os.path.relpath(path, root)
        if folder not in lv and folder not in SIDE:
            faults.append(f'{rel}: the folder "{folder}/" has no place in the layers')
            continue
        dirs = [os.path.dirname(path)] + [os.path.join(root, d) for d in INCLUDE_DIRS.get(folder, DEFAULT_INCLUDE_DIRS)]
        with open(path, encoding='utf-8', errors='replace') as f:
            for n, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                kind, name = m.groups()
                if kind == '<':
                    if folder == 'engine' and QT_HEADER.match(name):
                        faults.append(f'{rel}:{n}: includes <{name}>: the engine uses no Qt')
                    continue
                target = None
                for d in dirs:
                    c = os.path.normpath(os.path.join(d, name))
                    if os.path.isfile(c):
                        target = os.path.relpath(c, root)
                        break
                if target is None:
                    faults.append(f'{rel}:{n}: includes "{name}", which is no file of this tree')
                    continue
                dst = target.split(os.sep)[0]
                if listing and dst != folder:
                    print(f'{rel} -> {target}')
                if not allowed(folder, dst, lv):
                    faults.append(f'{rel}:{n}: includes "{name}" ({target}): {folder}/ may not use {dst}/')
    for fault in faults:
        print(fault)
    if faults:
        print(f'{len(faults)} include(s) against the layer order in {checked} files (see ARCHITECTURE.md)')
        return 1
    print(f'{checked} files follow the layer order')
    return 0


if __name__ == '__main__':
    sys.exit(main())
