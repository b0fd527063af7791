#!/usr/bin/env python3
"""The layer check on small made-up trees: it passes an ordered tree and
fails, naming the file and the include, on each kind of fault."""
import os
import subprocess
import sys
import tempfile
import unittest

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'check_layers.py')


def run(files):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, 'w') as f:
                f.write(text)
        r = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
        return r.returncode, r.stdout


# A tree in order: each file includes its own folder or lower ones.
GOOD = {
    'engine/zelkor32.h': '#pragma once\n#include <cstdint>\n',
    'engine/gdi.h': '#include "zelkor32.h"\n',
    'engine/raster/fastdraw.cpp': '#include "gdi.h"\n#include "../zelkor32.h"\n',
    'platform/qtdc.h': '#include <QImage>\n#include "gdi.h"\n',
    'base/settings.h': '#include "qtdc.h"\n',
    'map/mapdata.h': '#include "base/settings.h"\n',
    'pictures/frmPic.h': '#include "map/mapdata.h"\n',
    'radio/profile.h': '#include "pictures/frmPic.h"\n',
    'views3d/view.h': '#include "radio/profile.h"\n',
    'positions/live.h': '#include "radio/profile.h"\n',
    'app/mainwindow.cpp': '#include "views3d/view.h"\n#include "positions/live.h"\n',
    'pathviewer/form1.cpp': '#include "base/settings.h"\n#include "qtdc.h"\n',
    # tests may reach any folder
    'map/tests/test_map.cpp': '#include "app/mainwindow.cpp"\n',
    'tests/desktop/x.cpp': '#include "app/mainwindow.cpp"\n',
}


class CheckLayers(unittest.TestCase):
    def test_ordered_tree_passes(self):
        code, out = run(GOOD)
        self.assertEqual(code, 0, out)

    def test_each_fault_is_named(self):
        cases = [
            # (file, its text, words the report must carry)
            ('map/frmCity.cpp', '#include "radio/profile.h"\n', ['map/frmCity.cpp:1', 'radio/profile.h', 'map/ may not use radio/']),
            ('base/longop.cpp', '\n#include "app/mainwindow.cpp"\n', ['base/longop.cpp:2', 'app/mainwindow.cpp']),
            ('pictures/legend.cpp', '#include "views3d/view.h"\n', ['pictures/legend.cpp:1', 'views3d/view.h']),
            ('views3d/x.cpp', '#include "positions/live.h"\n', ['views3d/x.cpp:1', 'views3d/ may not use positions/']),
            ('pathviewer/x.cpp', '#include "map/mapdata.h"\n', ['pathviewer/x.cpp:1', 'map/mapdata.h']),
            ('engine/ramps.cpp', '#include "gdi.h"\n#include "qtdc.h"\n', ['engine/ramps.cpp:2', '"qtdc.h"']),
            ('engine/x.cpp', '#include <QString>\n', ['engine/x.cpp:1', '<QString>', 'no Qt']),
            ('platform/paths.cpp', '#include "base/settings.h"\n', ['platform/paths.cpp:1', 'base/settings.h']),
            ('shell/old.cpp', '#include "base/settings.h"\n', ['shell/old.cpp', 'no place']),
            ('radio/x.cpp', '#include "radio/missing.h"\n', ['radio/x.cpp:1', 'radio/missing.h', 'no file']),
        ]
        for path, text, words in cases:
            with self.subTest(path=path):
                tree = dict(GOOD)
                tree[path] = text
                code, out = run(tree)
                self.assertEqual(code, 1, out)
                for w in words:
                    self.assertIn(w, out)


if __name__ == '__main__':
    unittest.main()
