#!/usr/bin/env python3
"""The package check on small made-up trees and on the project itself: each
way of calling a program is found, and the check fails, naming the program
and its package, as soon as that package is taken off the install list."""
import os
import re
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = os.path.join(HERE, 'check_deps.py')
SOURCE = os.path.dirname(os.path.dirname(HERE))
REAL_DEPS = os.path.join(SOURCE, 'scripts', 'install-deps.sh')


def install_script(packages, bench=(), fuzz=()):
    return ('#!/usr/bin/env bash\nset -euo pipefail\nPACKAGES=(\n  ' + ' '.join(packages) +
            '\n  # a comment in the list\n)\nBENCH_PACKAGES=(\n  ' + ' '.join(bench) +
            '\n)\nFUZZ_PACKAGES=(\n  ' + ' '.join(fuzz) + '\n)\necho "${PACKAGES[@]}"\n')


def run(files, packages, bench=(), fuzz=()):
    """Checks a made-up tree against a made-up list (and the lists that
    --bench and --fuzz add); the check lists what passes too."""
    with tempfile.TemporaryDirectory() as tmp:
        deps = os.path.join(tmp, 'install-deps.sh')
        with open(deps, 'w') as f:
            f.write(install_script(packages, bench, fuzz))
        tree = os.path.join(tmp, 'tree')
        for path, text in files.items():
            full = os.path.join(tree, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, 'w') as f:
                f.write(text)
        r = subprocess.run([sys.executable, CHECK, '--list', '--deps', deps, tree], capture_output=True, text=True)
        return r.returncode, r.stdout + r.stderr


# The packages every case needs besides its own (the shebangs' python3).
BASE = ['python3']

PROCESS_HELPER = '''#pragma once
#include <QProcess>
inline QString runOut(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished();
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}
'''

# (what, files, package that installs the program, program)
CASES = [
    ('a shell command',
     {'scripts/a.sh': '#!/bin/sh\nset -e\nip -o link show\n'}, 'iproute2', 'ip'),
    ('a command the namespace wrapper runs',
     {'tests/b.sh': '#!/bin/bash\nhere=$(dirname "$0")\nlinks=$("$here/in-netns.sh" ip -o link show) || exit 1\n'},
     'iproute2', 'ip'),
    ('a command inside $(...) in quotes, after a pipe',
     {'tests/c.sh': '#!/bin/bash\nid="$(true | xprop -root _NET_ACTIVE_WINDOW)"\n'}, 'x11-utils', 'xprop'),
    ('a command after "command -v"',
     {'tests/d.sh': '#!/bin/sh\ncommand -v Xvfb >/dev/null || exit 1\n'}, 'xvfb', 'Xvfb'),
    ('QProcess with the program named in place',
     {'positions/tests/t.cpp': '#include <QProcess>\nvoid f()\n{\n    QProcess p;\n'
                               '    p.start(QStringLiteral("socat"), {QStringLiteral("-V")});\n}\n'},
     'socat', 'socat'),
    ('a shell line given to std::system',
     {'engine/tests/t.cpp': '#include <cstdlib>\n#include <string>\nvoid f(const std::string &a)\n{\n'
                            '    std::system(("gdal_translate -q -of DTED \'" + a + "\' out.dt1").c_str());\n}\n'},
     'gdal-bin', 'gdal_translate'),
    ('a line built before popen, a pipe inside it',
     {'map/tests/t.cpp': '#include <cstdio>\n#include <string>\nvoid f()\n{\n'
                         '    const std::string cmd = "cat in.txt | GeoConvert -u";\n'
                         '    FILE *p = popen(cmd.c_str(), "r");\n    pclose(p);\n}\n'},
     'geographiclib-tools', 'GeoConvert'),
    ('a helper of an included header that starts the program',
     {'radio/tests/procs.h': PROCESS_HELPER,
      'radio/tests/t.cpp': '#include "procs.h"\nvoid f()\n{\n'
                           '    const QString text = runOut(QStringLiteral("pdftotext"), {QStringLiteral("a.pdf")});\n}\n'},
     'poppler-utils', 'pdftotext'),
    ('a table of tools looked for on the PATH',
     {'map/tests/t.cpp': '#include <QStandardPaths>\nvoid f()\n{\n'
                         '    const char *tools[][2] = {{"msexpand", "mscompress"}, {"sh", "dash"}};\n'
                         '    for (const auto &t : tools) QStandardPaths::findExecutable(QLatin1String(t[0]));\n}\n'},
     'mscompress', 'msexpand'),
    ('a Python subprocess list',
     {'radio/tests/t.py': '#!/usr/bin/env python3\nimport subprocess\nsubprocess.run(["gpsbabel", "-V"], check=True)\n'},
     'gpsbabel', 'gpsbabel'),
    ('a CMake test command through sh -c',
     {'CMakeLists.txt': 'add_test(NAME t COMMAND sh -c "openbox --version >/dev/null")\n'}, 'openbox', 'openbox'),
    ('a CMake command run at build time',
     {'engine/check.cmake': 'execute_process(COMMAND nm -D --defined-only ${LIB} OUTPUT_VARIABLE syms)\n'},
     'binutils', 'nm'),
    ('a message telling the user to install a package',
     {'tests/e.sh': '#!/bin/sh\necho "xdotool is missing: install the Debian package xdotool" >&2\n'},
     'xdotool', 'xdotool'),
    ('the interpreter of a script',
     {'tests/f.py': '#!/usr/bin/env python3\nimport sys\n'}, 'python3', 'python3'),
]


class CheckDeps(unittest.TestCase):
    def test_each_call_passes_with_its_package_and_fails_without(self):
        for what, files, package, program in CASES:
            with self.subTest(what):
                code, out = run(files, BASE + [package])
                self.assertEqual(code, 0, f'{what}: with {package} listed\n{out}')
                named = [line for line in out.splitlines()
                         if line.startswith((f'{program}:', f'package {program}:')) and package in line]
                self.assertTrue(named, f'{what}: {program} of {package} not found\n{out}')
                others = [p for p in BASE if p != package]
                code, out = run(files, others)
                self.assertEqual(code, 1, f'{what}: without {package}\n{out}')
                faults = [line for line in out.splitlines() if line.startswith('FAULT: ')]
                self.assertTrue(any(program in line and package in line for line in faults),
                                f'{what}: no fault names {program} and {package}\n{out}')

    def test_words_that_are_not_calls_pass(self):
        files = {
            'radio/tests/t.cpp': '#include <QColor>\n// ip link set lo up\nvoid f(const QString &what)\n{\n'
                                 '    QColor c(QStringLiteral("red"));\n    if (what == "size") return;\n}\n',
            'views3d/tests/u.cpp': '#include <QProcess>\n#include <cstdio>\nvoid g()\n{\n    QProcess p;\n'
                                   '    std::printf("column %d\\n", 3);\n    FILE *f = std::fopen("x", "w");\n}\n',
            'tests/g.sh': '#!/bin/sh\n# socat is not run here\necho "ip route show"\nfor w in less more; do echo "$w"; done\n'
                          'case "$1" in\n  top) echo top ;;\nesac\n',
            'scripts/h.py': '#!/usr/bin/env python3\nNAMES = ["socat", "gdal_translate"]\nprint(NAMES)\n',
        }
        code, out = run(files, BASE)
        self.assertEqual(code, 0, out)

    def test_essential_packages_need_no_listing(self):
        # coreutils, util-linux, dash and dpkg are on every Debian system.
        files = {'tests/i.sh': '#!/bin/sh\nrm -f x && mktemp -d | wc -l\nunshare -n true\ndpkg-query -W dpkg\n'}
        code, out = run(files, BASE)
        self.assertEqual(code, 0, out)

    def test_a_program_no_package_installs_is_a_fault(self):
        cases = [
            ('tests/j.sh', '#!/bin/sh\nzk-no-such-program --help\n', 'zk-no-such-program'),
            ('tests/k.py', '#!/usr/bin/env python3\nimport zk_no_such_module\n', 'zk_no_such_module'),
            ('CMakeLists.txt', 'add_test(NAME t COMMAND zk-no-such-tool x)\n', 'zk-no-such-tool'),
        ]
        for path, text, name in cases:
            with self.subTest(path):
                code, out = run({path: text}, BASE)
                self.assertEqual(code, 1, out)
                self.assertRegex(out, r'FAULT: .*' + re.escape(name) + r'.*not (on the PATH|installed)')

    def test_optional_lists_serve_only_their_own_sources(self):
        bench = '#include <cstdio>\nvoid f()\n{\n    FILE *p = popen("socat -V", "r");\n    pclose(p);\n}\n'
        # (split so that this file's own text asks for nothing)
        fuzz = 'message(FATAL_ERROR "no libFuzzer: install the Debian ' + 'package clang")\n'
        # (what, files, always, --bench, --fuzz, passes)
        cases = [
            ('a benchmark with its peer in the bench list', {'bench/b.cpp': bench}, [], ['socat'], [], True),
            ('a benchmark whose peer no list names', {'bench/b.cpp': bench}, [], [], ['socat'], False),
            ('a test calling what only the bench list names', {'bench/b.cpp': bench, 'tests/t.cpp': bench},
             [], ['socat'], [], False),
            ('the same with it always installed', {'bench/b.cpp': bench, 'tests/t.cpp': bench},
             ['socat'], [], [], True),
            ('the fuzz build naming its compiler', {'cmake/ZkFuzz.cmake': fuzz}, [], [], ['clang'], True),
            ('the fuzz compiler named in the bench list only', {'cmake/ZkFuzz.cmake': fuzz}, [], ['clang'], [], False),
            ('the test build naming the fuzz compiler', {'cmake/ZkTests.cmake': fuzz}, [], [], ['clang'], False),
        ]
        for what, files, always, bench_list, fuzz_list, passes in cases:
            with self.subTest(what):
                code, out = run(files, BASE + always, bench_list, fuzz_list)
                self.assertEqual(code, 0 if passes else 1, f'{what}\n{out}')

    def test_the_project_fails_when_a_package_is_taken_off_its_list(self):
        with open(REAL_DEPS) as f:
            text = f.read()
        for package, program in [('iproute2', 'ip'), ('socat', 'socat'), ('gdal-bin', 'gdallocationinfo'),
                                 ('x11-utils', 'xprop'), ('poppler-utils', 'pdftotext'), ('xvfb', 'Xvfb'),
                                 ('geographiclib-tools', 'GeoConvert'), ('mscompress', 'msexpand'),
                                 ('xdotool', 'xdotool'), ('openbox', 'openbox'), ('gpsbabel', 'gpsbabel'),
                                 ('binutils', 'nm'), ('cmake', 'ctest'), ('splat', 'splat')]:
            with self.subTest(package):
                self.assertRegex(text, r'(?m)^\s+[^#\n]*\b' + re.escape(package) + r'\b', 'not in the real list')
                cut = re.sub(r'(?m)^(\s+[^#\n]*?)(?<![\w-])' + re.escape(package) + r'(?![\w-])', r'\1', text, count=1)
                with tempfile.TemporaryDirectory() as tmp:
                    deps = os.path.join(tmp, 'install-deps.sh')
                    with open(deps, 'w') as f:
                        f.write(cut)
                    r = subprocess.run([sys.executable, CHECK, '--deps', deps, SOURCE], capture_output=True, text=True)
                self.assertEqual(r.returncode, 1, r.stdout)
                self.assertRegex(r.stdout, r'FAULT: (' + re.escape(program) + r': .*' + re.escape(package) +
                                r'|package ' + re.escape(package) + r': )')


if __name__ == '__main__':
    unittest.main()
