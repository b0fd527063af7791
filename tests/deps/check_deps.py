#!/usr/bin/env python3
"""Every outside program the build, the scripts and the tests call comes from
a Debian package that scripts/install-deps.sh installs.

    check_deps.py [--deps FILE] [--list] SOURCE_ROOT

The programs are found in the sources themselves, not in a list kept by hand:

- shell scripts (*.sh, files with a sh/bash shebang, .ci/): the command word
  of every simple command, also inside $(...), `...` and "sh -c '...'", the
  command that exec, env, unshare, nice, timeout, xargs, sudo and the
  project's own wrapper scripts (a path ending in .sh, such as in-netns.sh)
  run, and the name after "command -v";
- C and C++: the programs a string names where a program is given: the
  first argument of a call (through QStringLiteral and its kin), an element
  of a braced list or an initial value, inside a function that starts
  programs (QProcess, system, popen, exec*, findExecutable, "command -v") or
  calls a helper of the file or of a project header it includes that does.
  Such a string names a program when it is a single word, or a word before
  an option, a quote, a redirection or the string's end ("GeoConvert " +
  args); and every word after |, ;, && or || in it;
- Python: the program of subprocess and os calls and shutil.which, and
  every module imported;
- CMake: the program after COMMAND (also inside "sh -c"), and find_program;
- any text telling the user to "install the Debian package X" or naming
  "(Debian package X)": that package must be listed.

A name in a place that only ever holds a program (a shell command word, a
subprocess list, the program after COMMAND, an imported module, "command -v
X") must be found: a missing one is a fault. A name found in a C or C++
string, or by find_program, counts when there is a program of that name.
Programs are looked for on Debian's own PATH (/usr/local/sbin to /bin), not
the caller's, so that one user's private copy (a pyenv, ~/bin) hides nothing.

Each program's path is followed through its symbolic links (alternatives
included) and /usr-merge aliases; the first path a package owns (dpkg's file
lists, as dpkg -S) names the package that puts the program there. A program
passes when that package is:
  - named in install-deps.sh;
  - or a direct Depends or Pre-Depends (not one of alternatives) of a package
    named there, without which apt cannot install that one (python3 puts
    /usr/bin/python3 there through python3-minimal);
  - or on every Debian system: Essential: yes or Priority: required
    (debootstrap's minbase installs exactly those: coreutils, util-linux,
    dash, mount, dpkg, apt...).
What only the benchmarks (bench/) or only the fuzzing build (fuzz/ folders,
cmake/ZkFuzz*.cmake) call may instead come from the list that
install-deps.sh --bench (BENCH_PACKAGES) or --fuzz (FUZZ_PACKAGES) adds.
A module of Python's standard library comes with the interpreter, python3;
any other module is traced like a program, by its file, as the system's
python3 finds it.

Files that neither the build nor the README's commands run are left out
(SKIPPED below, each with its reason). Prints each fault and exits 1 if any.
"""
import argparse
import ast
import functools
import json
import os
import re
import shutil
import subprocess
import sys

# Folders and files that the README's commands (scripts/run.sh,
# scripts/test.sh) neither build nor run.
SKIPPED = {
    'pictures/worldmap/make_worldmap.sh': 'run by hand when the built-in world picture is to change (needs imagemagick)',
}

SHELL_BUILTINS = set('''. : [ alias bg bind break builtin caller cd command compgen complete compopt continue declare
dirs disown echo enable eval exec exit export false fc fg getopts hash help history jobs kill let local logout mapfile
popd printf pushd pwd read readarray readonly return set shift shopt source suspend test times trap true type typeset
ulimit umask unalias unset wait'''.split())
SHELL_KEYWORDS = set('if then else elif fi case esac for select while until do done in function time { } ! [[ ]] coproc'.split())
# Commands that run the command given in their arguments: how many
# arguments that are not options come before it.
RUNS_ARGS = {'exec': 0, 'command': 0, 'env': 0, 'sudo': 0, 'nice': 0, 'nohup': 0, 'setsid': 0, 'unshare': 0,
             'xargs': 0, 'timeout': 1, 'stdbuf': 0, 'taskset': 1, 'chroot': 1, 'ionice': 0}
NAME = re.compile(r'^[A-Za-z0-9_][A-Za-z0-9_.+-]*$')
PACKAGE_MESSAGE = re.compile(r'(?:install the |\()Debian packages? ((?:[a-z0-9][a-z0-9+.-]+)(?:(?:, | and )(?:[a-z0-9][a-z0-9+.-]+))*)')

STRONG, WEAK = 'program', 'string'


class Found:
    def __init__(self):
        self.programs = {}   # name -> [(where, strength)]
        self.modules = {}    # module -> [where]
        self.packages = {}   # package named in a message -> [where]

    def program(self, name, where, strength):
        if name and NAME.match(name):
            self.programs.setdefault(name, []).append((where, strength))


# ---------------------------------------------------------------- shell

class ShellParser:
    """Splits shell text into simple commands (lists of words), enough to
    find the command words; $(...) and `...` are parsed on their own."""

    def __init__(self, text):
        self.s = text
        self.i = 0
        self.line = 1
        self.commands = []   # (line, [words]); a word is (text, literal)
        self.heredocs = []

    def parse(self):
        words, start = [], self.line
        while self.i < len(self.s):
            c = self.s[self.i]
            if c == '\n':
                if words:
                    self.commands.append((start, words))
                words = []
                self.i += 1
                self.line += 1
                self.skip_heredocs()
                start = self.line
            elif c in ' \t':
                self.i += 1
            elif c == '\\' and self.s[self.i + 1:self.i + 2] == '\n':
                self.i += 2
                self.line += 1
            elif c == '#' :
                while self.i < len(self.s) and self.s[self.i] != '\n':
                    self.i += 1
            elif c in ';&|()':
                op = c
                self.i += 1
                if self.i < len(self.s) and self.s[self.i] in ';&|' and c in ';&|':
                    op += self.s[self.i]
                    self.i += 1
                if words:
                    self.commands.append((start, words))
                words, start = [], self.line
                if op == ')':
                    self.commands.append((self.line, [(')', False)]))
                elif op == ';;':
                    self.commands.append((self.line, [(';;', False)]))
            elif c in '<>' or (c.isdigit() and re.match(r'\d+[<>]', self.s[self.i:])):
                self.redirect()
            else:
                w = self.word()
                if w is not None:
                    words.append(w)
        if words:
            self.commands.append((start, words))
        return self.commands

    def skip_heredocs(self):
        for delim in self.heredocs:
            while self.i < len(self.s):
                end = self.s.find('\n', self.i)
                end = len(self.s) if end < 0 else end
                line = self.s[self.i:end]
                self.i = end + 1
                self.line += 1
                if line.strip() == delim:
                    break
        self.heredocs = []

    def redirect(self):
        while self.i < len(self.s) and self.s[self.i].isdigit():
            self.i += 1
        if self.s.startswith('<<', self.i):
            self.i += 2
            if self.i < len(self.s) and self.s[self.i] in '-~':
                self.i += 1
            while self.i < len(self.s) and self.s[self.i] in ' \t':
                self.i += 1
            w = self.word()
            if w:
                self.heredocs.append(w[0].strip('\'"'))
            return
        while self.i < len(self.s) and self.s[self.i] in '<>&|':
            self.i += 1
        if self.i < len(self.s) and self.s[self.i].isdigit() and self.s[self.i - 1] == '&':
            while self.i < len(self.s) and self.s[self.i].isdigit():
                self.i += 1
            return
        while self.i < len(self.s) and self.s[self.i] in ' \t':
            self.i += 1
        self.word()   # the file

    def substitution(self, close):
        """Reads up to the closing bracket (or backtick); returns the text."""
        depth, start = 1, self.i
        quote = None
        while self.i < len(self.s):
            c = self.s[self.i]
            if c == '\\':
                self.i += 2
                continue
            if quote:
                if c == quote:
                    quote = None
            elif c in '\'"' and close != '`':
                quote = c
            elif close == ')' and c == '(':
                depth += 1
            elif c == close:
                depth -= 1
                if depth == 0:
                    text = self.s[start:self.i]
                    self.i += 1
                    return text
            if c == '\n':
                self.line += 1
            self.i += 1
        return self.s[start:]

    def nested(self, text, line):
        for ln, words in ShellParser(text).parse():
            self.commands.append((line + ln - 1, words))

    def word(self):
        out, literal = [], True
        while self.i < len(self.s):
            c = self.s[self.i]
            if c == '(' and out and ''.join(out).endswith('=') and re.match(r'^[A-Za-z_][A-Za-z0-9_]*\+?=$', ''.join(out)):
                self.i += 1
                self.substitution(')')
                out.append('(...)')
                continue
            if c in ' \t\n;&|()<>':
                break
            if c == '\\':
                out.append(self.s[self.i + 1:self.i + 2])
                self.i += 2
            elif c == "'":
                end = self.s.find("'", self.i + 1)
                end = len(self.s) if end < 0 else end
                out.append(self.s[self.i + 1:end])
                self.line += self.s.count('\n', self.i, end)
                self.i = end + 1
            elif c == '"':
                self.i += 1
                while self.i < len(self.s) and self.s[self.i] != '"':
                    d = self.s[self.i]
                    if d == '\\':
                        out.append(self.s[self.i + 1:self.i + 2])
                        self.i += 2
                    elif d == '$' or d == '`':
                        literal = False
                        self.dollar(out)
                    else:
                        if d == '\n':
                            self.line += 1
                        out.append(d)
                        self.i += 1
                self.i += 1
            elif c == '$' or c == '`':
                literal = False
                self.dollar(out)
            else:
                out.append(c)
                self.i += 1
        text = ''.join(out)
        if not text and literal:
            return None
        return (text, literal)

    def dollar(self, out):
        line = self.line
        if self.s[self.i] == '`':
            self.i += 1
            self.nested(self.substitution('`'), line)
            out.append('$SUB')
        elif self.s.startswith('$((', self.i):
            self.i += 3
            self.substitution(')')
            self.substitution(')') if self.i < len(self.s) and self.s[self.i - 1] != ')' else None
            out.append('$ARITH')
        elif self.s.startswith('$(', self.i):
            self.i += 2
            self.nested(self.substitution(')'), line)
            out.append('$SUB')
        elif self.s.startswith('${', self.i):
            self.i += 2
            self.substitution('}')
            out.append('$VAR')
        else:
            self.i += 1
            m = re.match(r'[A-Za-z_][A-Za-z0-9_]*|[0-9@*#?$!-]', self.s[self.i:])
            if m:
                self.i += m.end()
            out.append('$VAR')


def shell_functions(text):
    return set(m.group(2) for m in re.finditer(r'(?m)^\s*(function\s+)?([A-Za-z_][\w-]*)\s*\(\)', text))


def scan_shell(text, where_file, found, functions, first_line=1):
    in_case = False
    pattern_next = False
    for line, words in ShellParser(text).parse():
        where = f'{where_file}:{line + first_line - 1}'
        if words == [(')', False)]:
            pattern_next = False
            continue
        if words == [(';;', False)]:
            pattern_next = True
            continue
        if words[0][0] == 'case':
            in_case = True
            pattern_next = True
            continue
        if words[0][0] == 'esac':
            in_case = False
            pattern_next = False
            continue
        if in_case and pattern_next:
            continue
        scan_command(words, where, found, functions)


def scan_command(words, where, found, functions, strength=STRONG):
    k = 0
    # assignments and keywords before the command word
    while k < len(words):
        text, literal = words[k]
        if re.match(r'^[A-Za-z_][A-Za-z0-9_]*(\[[^]]*\])?\+?=', text):
            k += 1
        elif text in SHELL_KEYWORDS:
            if text in ('for', 'select', 'case'):
                return
            k += 1
        else:
            break
    if k >= len(words):
        return
    text, literal = words[k]
    rest = words[k + 1:]
    if not literal:
        # "$SUDO apt-get", "$here/in-netns.sh ip ...": what follows may be a program.
        if text.endswith('.sh') or text.startswith('$VAR') and '/' not in text:
            scan_command(rest, where, found, functions, WEAK if not text.endswith('.sh') else STRONG)
        return
    if '/' in text:
        if text.endswith('.sh'):
            scan_command(rest, where, found, functions, strength)
        return
    if text in functions or text in SHELL_KEYWORDS:
        return
    if text not in SHELL_BUILTINS:
        found.program(text, where, strength)
    if text in ('sh', 'bash', 'dash') and len(rest) >= 2 and rest[0][0] == '-c':
        scan_shell(rest[1][0], where.rsplit(':', 1)[0], found, functions, int(where.rsplit(':', 1)[1]))
        return
    if text == 'command' and rest and rest[0][0] in ('-v', '-V'):
        for w, lit in rest[1:]:
            if lit:
                found.program(w, where, STRONG)
        return
    if text in RUNS_ARGS:
        skip = RUNS_ARGS[text]
        j = 0
        while j < len(rest):
            w, lit = rest[j]
            if w == '--':
                j += 1
                break
            if w.startswith('-') or (text == 'env' and '=' in w):
                j += 1
                continue
            if skip:
                skip -= 1
                j += 1
                continue
            break
        scan_command(rest[j:], where, found, functions, strength)


# ---------------------------------------------------------------- C and C++

def command_words(literal):
    """The programs a string would run as a shell line: its first word when
    it stands alone or before an option, a quote, a redirection or the end
    of the string ("GeoConvert " + args), and each word after |, ;, && or
    || in it. A sentence ("column %d") is not a command."""
    out = []
    for k, part in enumerate(re.split(r'\|\||&&|[|;]|\$\(|`', literal)):
        m = re.match(r'\s*([A-Za-z0-9_][A-Za-z0-9_.+-]*)(\s+(?=[-\'"<>$]|\d?>|$)|$)', part)
        if m and (k > 0 or m.group(2) is not None):
            out.append(m.group(1))
    return out


C_PRIMITIVE = re.compile(r'\bQProcess\b|\b(?:system|popen|execlp?e?|execvp?e?|posix_spawnp?|findExecutable)\s*\(')
C_CONTROL = {'if', 'for', 'while', 'switch', 'catch', 'return', 'sizeof', 'decltype', 'alignof', 'static_assert'}
# Calls that only wrap a string: the string is what the call around them gets.
C_STRING_WRAPPERS = {'QStringLiteral', 'QLatin1String', 'QLatin1StringView', 'QString', 'QByteArray', 'QByteArrayLiteral',
                     'string', 'QStringView', 'fromLatin1', 'fromUtf8', 'fromLocal8Bit', 'u8'}


def c_clean(text):
    """The text with comments blanked and each string literal replaced by
    a mark "@N" (N its index), and the literals with their lines."""
    out, strings = [], []
    last = 0
    spans = []
    for line, lit, a, b in c_literals(text):
        spans.append((a, b))
        strings.append((line, lit))
    pos = 0
    for k, (a, b) in enumerate(spans):
        out.append(text[pos:a])
        out.append(f'"@{k}"')
        pos = b
    out.append(text[pos:])
    return ''.join(out), strings


def c_literals(text):
    """(line, literal, start, end) of each string literal; comments are blanked
    by c_clean's caller through c_strip_comments."""
    i, line, n = 0, 1, len(text)
    while i < n:
        c = text[i]
        if c == '\n':
            line += 1
            i += 1
        elif c == "'" and not (i > 0 and text[i - 1].isalnum()):
            j = i + 1
            while j < n and text[j] != "'" and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            i = j + 1
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_') or text[i - 1] in 'LuU8'):
            m = re.match(r'R"([^()\\ ]{0,16})\(', text[i:])
            if not m:
                i += 1
                continue
            close = ')' + m.group(1) + '"'
            end = text.find(close, i + m.end())
            end = n if end < 0 else end
            yield line, text[i + m.end():end], i, end + len(close)
            line += text.count('\n', i, end)
            i = end + len(close)
        elif c == '"':
            j, out = i + 1, []
            while j < n and text[j] != '"' and text[j] != '\n':
                if text[j] == '\\' and j + 1 < n:
                    esc = text[j + 1]
                    out.append({'n': '\n', 't': '\t'}.get(esc, esc))
                    j += 2
                else:
                    out.append(text[j])
                    j += 1
            yield line, ''.join(out), i, j + 1
            i = j + 1
        else:
            i += 1


def c_strip_comments(text):
    """Comments blanked (newlines kept), strings and characters untouched."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            out.append(' ' * (j - i))
            i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:j]))
            i = j
        elif c == '"' or (c == "'" and not (i > 0 and text[i - 1].isalnum())):
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            out.append(text[i:j + 1])
            i = j + 1
        elif c == 'R' and text.startswith('R"', i):
            m = re.match(r'R"([^()\\ ]{0,16})\(', text[i:])
            if m:
                close = ')' + m.group(1) + '"'
                j = text.find(close, i + m.end())
                j = n if j < 0 else j + len(close)
                out.append(text[i:j])
                i = j
            else:
                out.append(c)
                i += 1
        else:
            out.append(c)
            i += 1
    return ''.join(out)


C_QUALIFIERS = ('const', 'override', 'final', 'noexcept', 'mutable', 'constexpr')


def strip_qualifiers(head):
    """The head of a body without what may follow the parameters: const,
    noexcept, a trailing return type..."""
    while True:
        head = head.rstrip()
        for q in C_QUALIFIERS:
            if head.endswith(q) and not (len(head) > len(q) and (head[-len(q) - 1].isalnum() or head[-len(q) - 1] == '_')):
                head = head[:-len(q)]
                break
        else:
            arrow = head.rfind('->', max(0, len(head) - 120))
            if arrow >= 0 and re.fullmatch(r'->\s*[\w:<>&*, ]+', head[arrow:]):
                head = head[:arrow]
                continue
            return head


def c_functions(clean):
    """(name, start, end) of each function or lambda body."""
    match, stack = {}, []
    for m in re.finditer(r'[{}]', clean):
        if m.group() == '{':
            stack.append(m.start())
        elif stack:
            match[stack.pop()] = m.start()
    bodies = []
    for start in sorted(match):
        head = clean[max(0, start - 4000):start].rstrip()
        head = strip_qualifiers(head)
        if not head.endswith(')'):
            continue
        depth, k = 0, len(head) - 1
        while k >= 0:
            if head[k] == ')':
                depth += 1
            elif head[k] == '(':
                depth -= 1
                if depth == 0:
                    break
            k -= 1
        before = head[max(0, k - 200):k].rstrip()
        nm = re.search(r'([A-Za-z_][A-Za-z0-9_]*)$', before)
        if nm and nm.group(1) not in C_CONTROL:
            name = nm.group(1)
        elif before.endswith(']'):
            lm = re.search(r'([A-Za-z_][A-Za-z0-9_]*)\s*=\s*\[[^\]]*\]$', before)
            name = lm.group(1) if lm else ''
        else:
            continue
        bodies.append((name, start, match[start]))
    return bodies


def c_first_argument(clean, pos):
    """True when the literal at pos is what a call gets first (through
    string wrappers and brackets), an element of a braced list, or an
    initial value: the places a program's name is given."""
    k = pos - 1
    while True:
        # through the string wrappers: QStringLiteral("x") is given as "x"
        lo = max(0, k - 200)
        before = clean[lo:k + 1].rstrip()
        nm = re.search(r'([A-Za-z_][A-Za-z0-9_:]*)\s*\($', before)
        if nm and nm.group(1).split('::')[-1] in C_STRING_WRAPPERS:
            k = lo + nm.start() - 1
            continue
        break
    # what stands just before: an opening bracket, a list's comma or an
    # assignment, not a comparison, a stream or a concatenation
    if not re.search(r'(?:[({,]|[^=!<>+\-*/%&|^]=)$', before):
        return False
    depth_comma = False
    depth = 0
    while k >= 0:
        c = clean[k]
        if c in ')]}':
            depth += 1
        elif c in '([{':
            if depth:
                depth -= 1
            elif c == '{':
                return True      # an element of a braced list, or a statement
            elif c == '[':
                return False
            else:
                if depth_comma:
                    return False
                lo = max(0, k - 200)
                nm = re.search(r'([A-Za-z_][A-Za-z0-9_]*)\s*$', clean[lo:k])
                if nm and nm.group(1) in C_STRING_WRAPPERS:
                    k = lo + nm.start() - 1
                    continue
                if nm and nm.group(1) not in C_CONTROL:
                    return True      # the first argument of a call
                k -= 1              # a bracketed expression: look outwards
                continue
        elif c == ',' and depth == 0:
            depth_comma = True
        elif c == ';' and depth == 0:
            return True              # a statement of its own
        k -= 1
    return True


@functools.lru_cache(maxsize=None)
def c_parse(text):
    clean, strings = c_clean(c_strip_comments(text))
    return clean, strings, c_functions(clean)


def scan_c(text, where_file, found, wrappers):
    clean, strings, bodies = c_parse(text)
    calls = re.compile(r'\b(?:' + '|'.join(sorted(map(re.escape, wrappers))) + r')\s*\(') if wrappers else None

    def runs_programs(a, b):
        part = clean[a:b]
        return bool(C_PRIMITIVE.search(part) or (calls and calls.search(part)) or '"@' in part and any(
            'command -v' in strings[int(x)][1] for x in re.findall(r'"@(\d+)"', part)))

    file_runs = runs_programs(0, len(clean))
    for m in re.finditer(r'"@(\d+)"', clean):
        line, lit = strings[int(m.group(1))]
        words = command_words(lit)
        if not words:
            continue
        outer = [(a, b) for name, a, b in bodies if a <= m.start() <= b]
        if outer:
            a, b = min(outer)
            if not runs_programs(a, b):
                continue
        elif not file_runs:
            continue
        if not c_first_argument(clean, m.start()):
            continue
        for w in words:
            found.program(w, f'{where_file}:{line}', WEAK)


def c_wrappers(text):
    """Functions of a text whose bodies start programs."""
    names = set()
    clean, strings, bodies = c_parse(text)
    for name, a, b in bodies:
        part = clean[a:b]
        if name and (C_PRIMITIVE.search(part) or any('command -v' in strings[int(x)][1]
                                                      for x in re.findall(r'"@(\d+)"', part))):
            names.add(name)
    return names - C_STRING_WRAPPERS - C_CONTROL


def c_local_includes(text, path, root):
    """The project's files that a C or C++ file includes with quotes."""
    out = []
    for m in re.finditer(r'(?m)^\s*#\s*include\s*"([^"]+)"', text):
        for base in (os.path.dirname(path), root):
            cand = os.path.normpath(os.path.join(base, m.group(1)))
            if os.path.isfile(cand):
                out.append(cand)
                break
    return out


class CWrappers:
    """The functions a C or C++ file can call that start programs: its own
    and those of the project's headers it includes, at any depth."""

    def __init__(self, root):
        self.root = root
        self.own = {}

    def of_file(self, path):
        if path not in self.own:
            try:
                with open(path, errors='replace') as f:
                    text = f.read()
            except OSError:
                text = ''
            self.own[path] = (c_wrappers(text), c_local_includes(text, path, self.root))
        return self.own[path]

    def visible(self, path):
        seen, todo, names = set(), [path], set()
        while todo:
            p = todo.pop()
            if p in seen:
                continue
            seen.add(p)
            own, includes = self.of_file(p)
            names |= own
            todo.extend(includes)
        return names


# ---------------------------------------------------------------- Python

SUBPROCESS_CALLS = {'run', 'call', 'check_call', 'check_output', 'Popen', 'getoutput', 'getstatusoutput'}
OS_CALLS = {'system', 'popen', 'execl', 'execlp', 'execle', 'execlpe', 'execv', 'execvp', 'execve', 'execvpe',
            'spawnl', 'spawnlp', 'spawnv', 'spawnvp'}


def scan_python(text, path, where_file, found, functions):
    try:
        tree = ast.parse(text)
    except SyntaxError as e:
        found.program('python3', f'{where_file}:{e.lineno}', STRONG)
        return
    here = os.path.dirname(path)
    for node in ast.walk(tree):
        where = f'{where_file}:{getattr(node, "lineno", 0)}'
        if isinstance(node, ast.Import):
            for a in node.names:
                add_module(a.name.split('.')[0], here, where, found)
        elif isinstance(node, ast.ImportFrom) and node.level == 0 and node.module:
            add_module(node.module.split('.')[0], here, where, found)
        elif isinstance(node, ast.Call):
            f = node.func
            if isinstance(f, ast.Attribute) and isinstance(f.value, ast.Name) and node.args:
                mod, name = f.value.id, f.attr
                arg = node.args[0]
                shell = any(k.arg == 'shell' and isinstance(k.value, ast.Constant) and k.value.value for k in node.keywords)
                if (mod == 'subprocess' and name in SUBPROCESS_CALLS) or (mod == 'os' and name in OS_CALLS) \
                        or (mod == 'shutil' and name == 'which'):
                    if isinstance(arg, (ast.List, ast.Tuple)) and arg.elts:
                        arg = arg.elts[0]
                        shell = False
                    if isinstance(arg, ast.Constant) and isinstance(arg.value, str):
                        if shell or (mod == 'os' and name in ('system', 'popen')) or name in ('getoutput', 'getstatusoutput'):
                            scan_shell(arg.value, where_file, found, functions, node.lineno)
                        else:
                            found.program(arg.value, where, STRONG)


def add_module(name, here, where, found):
    if name == '__future__' or os.path.exists(os.path.join(here, name + '.py')) \
            or os.path.isdir(os.path.join(here, name)):
        return
    found.modules.setdefault(name, []).append(where)


# ---------------------------------------------------------------- CMake

def cmake_tokens(text):
    """(line, token) of a CMake file, comments left out; quoted arguments
    keep their text without the quotes."""
    for m in re.finditer(r'#\[\[.*?\]\]|#[^\n]*|"((?:[^"\\]|\\.)*)"|([^\s()"#]+)|\n|[()]', text, re.S):
        tok = m.group(0)
        if tok.startswith('#'):
            continue
        line = text.count('\n', 0, m.start()) + 1
        if m.group(1) is not None:
            yield line, m.group(1).replace('\\"', '"'), True
        else:
            yield line, tok, False


def cmake_targets(files):
    targets = set()
    for path in files:
        with open(path, errors='replace') as f:
            for m in re.finditer(r'add_(?:executable|library|custom_target)\s*\(\s*([A-Za-z0-9_.+-]+)', f.read()):
                targets.add(m.group(1))
    return targets


def scan_cmake(text, where_file, found, targets, functions):
    toks = list(cmake_tokens(text))
    for k, (line, tok, quoted) in enumerate(toks):
        where = f'{where_file}:{line}'
        if tok == 'COMMAND' and not quoted and k + 1 < len(toks):
            prog = toks[k + 1][1]
            if prog.startswith('$') or '/' in prog or prog in targets:
                continue
            found.program(prog, where, STRONG)
            if prog in ('sh', 'bash') and k + 3 < len(toks) and toks[k + 2][1] == '-c':
                scan_shell(toks[k + 3][1], where_file, found, functions, line)
        elif tok == 'find_program' and k + 3 < len(toks):
            j = k + 3   # ( VAR name...
            while j < len(toks) and toks[j][1] != ')':
                t = toks[j][1]
                if t in ('PATHS', 'HINTS', 'PATH_SUFFIXES', 'DOC', 'REQUIRED', 'NO_DEFAULT_PATH'):
                    break
                if t != 'NAMES' and not t.startswith('$'):
                    found.program(t, f'{where_file}:{toks[j][0]}', WEAK)
                j += 1


# ---------------------------------------------------------------- the tree

def source_files(root):
    for dirpath, dirnames, filenames in os.walk(root):
        rel_dir = os.path.relpath(dirpath, root)
        keep = []
        for d in sorted(dirnames):
            rel = os.path.normpath(os.path.join(rel_dir, d))
            full = os.path.join(dirpath, d)
            if (d.startswith('.') and d != '.ci') or (rel_dir == '.' and d.startswith('build')) \
                    or os.path.exists(os.path.join(full, 'CMakeCache.txt')) or skipped(rel + '/'):
                continue
            keep.append(d)
        dirnames[:] = keep
        for name in sorted(filenames):
            full = os.path.join(dirpath, name)
            rel = os.path.normpath(os.path.join(rel_dir, name))
            if not skipped(rel) and os.path.isfile(full):
                yield full, rel


def skipped(rel):
    return any(rel == s or (s.endswith('/') and rel.startswith(s)) for s in SKIPPED)


def kind(full, name):
    base = os.path.basename(name)
    if base == 'CMakeLists.txt' or base.endswith('.cmake'):
        return 'cmake'
    if re.search(r'\.(c|cc|cpp|cxx|h|hh|hpp|hxx)$', base):
        return 'c'
    if base.endswith('.py'):
        return 'python'
    if base.endswith('.sh'):
        return 'shell'
    try:
        with open(full, 'rb') as f:
            first = f.readline(200)
    except OSError:
        return None
    if first.startswith(b'#!'):
        if b'python' in first:
            return 'python'
        if re.search(rb'\b(ba|da)?sh\b', first):
            return 'shell'
    return None


def scan_tree(root):
    files = [(full, rel, kind(full, rel)) for full, rel in source_files(root)]
    files = [f for f in files if f[2]]
    found = Found()
    functions = set()
    for full, rel, k in files:
        if k == 'shell':
            with open(full, errors='replace') as f:
                functions |= shell_functions(f.read())
    targets = cmake_targets([full for full, rel, k in files if k == 'cmake'])
    wrappers = CWrappers(root)
    for full, rel, k in files:
        with open(full, errors='replace') as f:
            text = f.read()
        for m in PACKAGE_MESSAGE.finditer(text):
            for p in re.split(r', | and ', m.group(1)):
                found.packages.setdefault(p, []).append(f'{rel}:{text.count(chr(10), 0, m.start()) + 1}')
        if text.startswith('#!'):
            interp = text.split('\n', 1)[0][2:].split()
            if interp:
                prog = interp[1] if os.path.basename(interp[0]) == 'env' and len(interp) > 1 else os.path.basename(interp[0])
                found.program(prog, f'{rel}:1', STRONG)
        if k == 'shell':
            scan_shell(text, rel, found, functions)
        elif k == 'c':
            scan_c(text, rel, found, wrappers.visible(full))
        elif k == 'python':
            scan_python(text, full, rel, found, functions)
        elif k == 'cmake':
            scan_cmake(text, rel, found, targets, functions)
    return found


# ---------------------------------------------------------------- packages

def listed_packages(deps_file, var='PACKAGES', required=True):
    """The packages of a VAR=( ... ) list of install-deps.sh (PACKAGES: what
    it always installs; BENCH_PACKAGES, FUZZ_PACKAGES: what --bench and
    --fuzz add)."""
    with open(deps_file) as f:
        text = f.read()
    m = re.search(r'^\s*' + var + r'=\((.*?)^\s*\)', text, re.S | re.M)
    if not m:
        if required:
            sys.exit(f'{deps_file}: no {var}=( ... ) list')
        return set()
    names = set()
    for line in m.group(1).splitlines():
        names.update(w.split(':')[0] for w in line.split('#', 1)[0].split())
    return names


# Sources that only an optional build uses, with the list of install-deps.sh
# that the option adds: what only they call may come from that list; what
# any other source calls must come from the packages always installed.
OPTIONAL_SCOPES = (
    (re.compile(r'^bench/'), 'BENCH_PACKAGES'),
    (re.compile(r'(^|/)fuzz/|^cmake/ZkFuzz[^/]*\.cmake$'), 'FUZZ_PACKAGES'),
)


def scope_lists(places):
    """The optional lists that every one of these places (rel:line) may use."""
    rels = [w.rsplit(':', 1)[0] for w in places]
    return [var for pattern, var in OPTIONAL_SCOPES if rels and all(pattern.search(r) for r in rels)]


DPKG_INFO = '/var/lib/dpkg/info'


@functools.lru_cache(maxsize=None)
def dpkg_files():
    """path -> the installed packages that own it, from dpkg's file lists
    (what dpkg -S reads)."""
    owners = {}
    for name in os.listdir(DPKG_INFO):
        if name.endswith('.list'):
            pkg = name[:-len('.list')].split(':')[0]
            with open(os.path.join(DPKG_INFO, name), errors='replace') as f:
                for line in f:
                    owners.setdefault(line.rstrip('\n'), set()).add(pkg)
    return owners


def owners(path):
    return dpkg_files().get(path, set())


@functools.lru_cache(maxsize=None)
def dpkg_status():
    """package -> (essential, priority, [Depends and Pre-Depends terms]) of
    every installed package."""
    r = subprocess.run(['dpkg-query', '-W', '-f=${Package}|${db:Status-Abbrev}|${Essential}|${Priority}|${Depends}, ${Pre-Depends}\n'],
                       capture_output=True, text=True)
    out = {}
    for line in r.stdout.splitlines():
        pkg, status, ess, prio, deps = (line.split('|', 4) + [''] * 5)[:5]
        if not status.startswith('ii'):
            continue
        out[pkg] = (ess.strip() == 'yes', prio.strip(), [t.strip() for t in deps.split(',') if t.strip()])
    return out


def aliases(path):
    """The path as dpkg may have it: through /usr-merge and real folders."""
    out = [path]
    real_dir = os.path.realpath(os.path.dirname(path))
    out.append(os.path.join(real_dir, os.path.basename(path)))
    for p in list(out):
        for a, b in (('/usr/bin/', '/bin/'), ('/usr/sbin/', '/sbin/'), ('/usr/lib/', '/lib/'), ('/usr/lib64/', '/lib64/')):
            if p.startswith(a):
                out.append(b + p[len(a):])
            elif p.startswith(b):
                out.append(a + p[len(b):])
    seen = []
    for p in out:
        if p not in seen:
            seen.append(p)
    return seen


def trace(path):
    """The package that puts the file at path, and the chain of paths seen."""
    chain = []
    for _ in range(40):
        chain.append(path)
        for a in aliases(path):
            pkgs = owners(a)
            if pkgs:
                return sorted(pkgs), chain
        if not os.path.islink(path):
            break
        target = os.readlink(path)
        path = os.path.normpath(os.path.join(os.path.dirname(path), target))
    return [], chain


def direct_dependencies(listed):
    """package -> the listed package that depends on it directly (Depends or
    Pre-Depends, not one of alternatives): apt installs it with that one."""
    out = {}
    status = dpkg_status()
    for pkg in sorted(listed):
        for term in status.get(pkg, (False, '', []))[2]:
            if '|' in term:
                continue
            out.setdefault(term.split()[0].split(':')[0], pkg)
    return out


def always_there(pkg):
    """Essential: yes or Priority: required."""
    ess, prio, _ = dpkg_status().get(pkg, (False, '', []))
    return ess or prio == 'required'


# Debian's PATH for root, which install-deps.sh fills: a program found only
# in a folder of one user's own (a pyenv, ~/bin) would hide an omission.
SYSTEM_PATH = '/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin'


def search_path():
    return SYSTEM_PATH


# Run by the system's python3: where it finds a module, or why not.
MODULE_PROBE = r"""
import json, os, pkgutil, sys, sysconfig
out = {}
stdlib = [os.path.realpath(sysconfig.get_paths()[k]) for k in ('stdlib', 'platstdlib')]
# Where each top-level module lies, the first on the path as an import takes it.
where = {}
for info in pkgutil.iter_modules():
    folder = getattr(info.module_finder, 'path', None)
    if not folder or info.name in where:
        continue
    if info.ispkg:
        where[info.name] = os.path.join(folder, info.name)
    else:
        files = sorted(f for f in os.listdir(folder) if f.split('.', 1)[0] == info.name and '.' in f)
        where[info.name] = os.path.join(folder, files[0]) if files else None
for name in sys.argv[1:]:
    if name in sys.builtin_module_names:
        out[name] = ['stdlib', None]
        continue
    if name not in where:
        out[name] = ['missing', None]
        continue
    origin = where[name]
    if origin is None:
        out[name] = ['stdlib', None]
    elif any(os.path.realpath(origin).startswith(s + os.sep) for s in stdlib) \
            and 'dist-packages' not in origin and 'site-packages' not in origin:
        out[name] = ['stdlib', origin]
    else:
        out[name] = ['file', origin]
print(json.dumps(out))
"""


def module_files(names, python):
    """name -> (kind, path): kind 'stdlib', 'file' or 'missing'."""
    if not names:
        return {}
    if not python:
        return {n: ('missing', None) for n in names}
    r = subprocess.run([python, '-c', MODULE_PROBE] + sorted(names), capture_output=True, text=True)
    if r.returncode != 0:
        sys.exit(f'{python} could not look the modules up: {r.stderr}')
    return {n: tuple(v) for n, v in json.loads(r.stdout).items()}


def check(root, deps_file, show):
    root = os.path.abspath(root)
    listed = listed_packages(deps_file)
    found = scan_tree(root)
    path = search_path()
    faults, lines = [], []

    optional = {var: listed_packages(deps_file, var, required=False) for _, var in OPTIONAL_SCOPES}
    needed = direct_dependencies(listed)
    needed_optional = {var: direct_dependencies(pkgs) for var, pkgs in optional.items()}

    def verdict(pkgs, places=()):
        ok = [p for p in pkgs if p in listed]
        if ok:
            return True, f'{ok[0]} (install-deps.sh)'
        dep = [p for p in pkgs if p in needed]
        if dep:
            return True, f'{dep[0]} (which {needed[dep[0]]} of install-deps.sh depends on)'
        for var in scope_lists(places):
            ok = [p for p in pkgs if p in optional[var]]
            if ok:
                return True, f'{ok[0]} ({var} of install-deps.sh, only used there)'
            dep = [p for p in pkgs if p in needed_optional[var]]
            if dep:
                return True, f'{dep[0]} (which {needed_optional[var][dep[0]]} of {var} depends on)'
        base = [p for p in pkgs if always_there(p)]
        if base:
            return True, f'{base[0]} (Essential or Priority: required)'
        return False, None

    for name in sorted(found.programs):
        places = found.programs[name]
        strong = [w for w, s in places if s == STRONG]
        where = ', '.join(dict.fromkeys(strong or [w for w, s in places]))
        exe = shutil.which(name, path=path)
        if exe and os.path.realpath(exe).startswith(root + os.sep):
            continue   # the project's own program
        if not exe:
            if strong:
                faults.append(f'{name}: called ({where}) but not on the PATH: no package installs it')
            continue
        pkgs, chain = trace(exe)
        ok, why = verdict(pkgs, [w for w, s in places])
        if ok:
            lines.append(f'{name}: {exe} from {why}, called at {where}')
        elif pkgs:
            faults.append(f'{name}: called ({where}); {" -> ".join(chain)} comes from the Debian package '
                          f'{" or ".join(pkgs)}, which {os.path.basename(deps_file)} does not install')
        else:
            faults.append(f'{name}: called ({where}); {" -> ".join(chain)} belongs to no Debian package')

    python_ok = None
    python = shutil.which('python3', path=path)
    located = module_files(set(found.modules), python)
    for name in sorted(found.modules):
        where = ', '.join(dict.fromkeys(found.modules[name]))
        k, origin = located[name]
        if k == 'missing':
            faults.append(f'python module {name}: imported ({where}) but not installed')
            continue
        if k == 'stdlib':
            if python_ok is None:
                python_ok = bool(python) and verdict(trace(python)[0])[0]
            if python_ok:
                lines.append(f'python module {name}: standard library, with python3, imported at {where}')
            else:
                faults.append(f'python module {name}: imported ({where}); the standard library comes with python3, '
                              f'which {os.path.basename(deps_file)} does not install')
            continue
        pkgs, chain = trace(origin)
        ok, why = verdict(pkgs, found.modules[name])
        if ok:
            lines.append(f'python module {name}: {origin} from {why}, imported at {where}')
        else:
            faults.append(f'python module {name}: imported ({where}); {origin} comes from '
                          f'{" or ".join(pkgs) if pkgs else "no Debian package"}, which '
                          f'{os.path.basename(deps_file)} does not install')

    for pkg in sorted(found.packages):
        where = ', '.join(dict.fromkeys(found.packages[pkg]))
        if pkg in listed or always_there(pkg) or \
                any(pkg in optional[var] for var in scope_lists(found.packages[pkg])):
            lines.append(f'package {pkg}: named in a message at {where}')
        else:
            faults.append(f'package {pkg}: a message tells the user to install it ({where}), '
                          f'but {os.path.basename(deps_file)} does not')

    if show:
        print('\n'.join(lines))
    for f in faults:
        print('FAULT: ' + f)
    print(f'{len(lines)} programs, modules and packages checked, {len(faults)} faults')
    return 1 if faults else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    ap.add_argument('root')
    ap.add_argument('--deps', help='the install script (default: ROOT/scripts/install-deps.sh)')
    ap.add_argument('--list', action='store_true', help='also list what passes')
    a = ap.parse_args()
    deps = a.deps or os.path.join(a.root, 'scripts', 'install-deps.sh')
    sys.exit(check(a.root, deps, a.list))


if __name__ == '__main__':
    main()
