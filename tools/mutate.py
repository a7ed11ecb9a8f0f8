#!/usr/bin/env python3
"""Mutation testing of wavinspect's product code (header/ and console/).

Makes one small change at a time to the source, of the kinds of fault people make:
relational and equality operators swapped or loosened, && and || swapped, a !
dropped, an integer constant moved by one, a character or string literal changed,
a return value flipped, a call, statement or check dropped. Mutants are made in
copies of the checkout's files as they stand (build/mutation-source-K), never in the
checkout, so a run that is stopped leaves the checkout as it was. One worker a core
takes the next mutant, rebuilds its own unoptimized, bounds-checked tree with tests
(build/mutation-K) incrementally with Ninja and runs ctest, the unit tests before
the end-to-end ones; the mutant is killed when the build or a test fails. A test
stops at its first failed check, and a mutant's tests that run twice as long
as the unmutated tests (and at least --timeout) are a failure.

Mutants listed in tools/equivalent-mutants.txt change no observable behaviour and
are not counted, except those whose reason starts "on TARGET:": they change
behaviour only on that target, and are built and tested there (with the preset of
that name), where they must be killed. Any other survivor fails the run. Lines of
the Windows body of the platform interface are mutated only where such an entry
names the mutant, since every Windows mutant costs a run of the whole suite under
wine.

Usage: tools/mutate.py [--list] [--only PATH] [--timeout SECONDS]
"""

import argparse
import concurrent.futures
import os
import queue
import re
import resource
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SOURCES = [
    "header/wav_header.hpp",
    "header/header_report.hpp",
    "header/header_report.cpp",
    "console/inspection_driver.hpp",
    "console/inspection_driver.cpp",
    "console/console_text.hpp",
    "console/console_text.cpp",
    "console/platform.hpp",
    "console/platform_posix.cpp",
    "console/platform_windows.cpp",
    "console/main.cpp",
]
# Compiled for Windows alone, which this host does not build.
WINDOWS_ONLY = {"console/platform_windows.cpp"}
# One worker a core, with a copy and a tree of its own: a mutant's rebuild is mostly
# one unit on one core. A target's mutants have a worker, copy and tree of their own.
WORKERS = os.cpu_count() or 1
# The unit tests first, built alone, which kill most mutants in a fraction of a
# second; then everything else is built, and the end-to-end tests run the program.
SUITES = [("wavinspect_unit_tests", ["-E", r"^Wavinspect\."]), ("all", ["-R", r"^Wavinspect\."])]
# Code that only these tests run on this host: a mutant there runs them alone, the
# console text's own table, then the in-process run that reads a stream through it.
SUITES_OF = dict.fromkeys(["console/console_text.hpp", "console/console_text.cpp"], [
    ("wavinspect_unit_tests", ["-R", "ReadConsoleByte"]), ("all", ["-R", "FailedReadOrWriteIsNoSuccess"])])
# -O0 rebuilds quickly; the library's assertions turn an index past an array's end
# into a failure. This host's tree treats no warning as an error, so a mutant is
# killed by a test or a real build error; the target trees are configured by their
# presets, which make warnings errors.
CONFIGURE = ["cmake", "--fresh", "-DBUILD_TESTING=ON", "-DCMAKE_BUILD_TYPE=Debug",
             "-DCMAKE_CXX_FLAGS_DEBUG=-O0 -D_GLIBCXX_ASSERTIONS"]
ON_TARGET = re.compile(r"on ([\w-]+): ")
EQUIVALENTS = ROOT / "tools" / "equivalent-mutants.txt"


@dataclass
class Mutant:
    path: str
    line: int  # 1-based
    occurrence: int  # the how-manieth line of the file with this text
    before: str
    after: str
    operator: str
    windows_only: bool = False  # in a file that only a Windows build compiles

    def key(self):
        return (self.path, self.occurrence, self.before.strip(), self.after.strip())

    def describe(self):
        return f"{self.path}:{self.line}: {self.before.strip()}  =>  {self.after.strip()}"


# ---------------------------------------------------------------------------
# Reading a line: code spans and literal spans

def split_line(line):
    """Splits a line into ('code', text) and ('literal', text) pieces, and drops a
    trailing // comment."""
    pieces, code, i = [], "", 0
    while i < len(line):
        c = line[i]
        if line.startswith("//", i):
            break
        if c in "\"'":
            # A ' between digits is a digit separator, not a character literal.
            if c == "'" and code and code[-1].isalnum() and i + 1 < len(line) and line[i + 1].isalnum():
                code += c
                i += 1
                continue
            j = i + 1
            while j < len(line) and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            pieces.append(("code", code))
            pieces.append(("literal", line[i : j + 1]))
            code, i = "", j + 1
            continue
        code += c
        i += 1
    pieces.append(("code", code))
    return pieces


def join(pieces):
    return "".join(text for _, text in pieces)


# ---------------------------------------------------------------------------
# Operators. Each yields (operator name, new line) for one line of source.

RELATIONAL = {"==": ["!="], "!=": ["=="], "<": ["<="], "<=": ["<"], ">": [">="], ">=": [">"]}
INTEGER = re.compile(r"(?<![\w.'])(0[xX][0-9A-Fa-f]+|\d+)([uU]?)(?![\w.'])")
DROPPABLE = [
    re.compile(r"^[\w:.<>-]+\(.*\);$"),  # a call: f(...); static_cast<void>(...);
    re.compile(r"^\w+ << .*;$"),  # a stream write
    re.compile(r"^[\w\[\].+]+ (\+=|=) .*;$"),  # an assignment or append
]
NOT_DROPPED = re.compile(r"^(return|const|constexpr|auto|using|static_assert|if|for|while)\b")


def mutate_code(pieces):
    for index, (kind, text) in enumerate(pieces):
        if kind != "code":
            continue

        def replaced(start, end, new):
            copy = list(pieces)
            copy[index] = ("code", text[:start] + new + text[end:])
            return join(copy)

        for m in re.finditer(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)", text):
            for new in RELATIONAL[m.group(1)]:
                yield "relational", replaced(m.start(), m.end(), new)
        for m in re.finditer(r"(?<=\s)(&&|\|\|)(?=\s)", text):
            yield "logical", replaced(m.start(), m.end(), "||" if m.group(1) == "&&" else "&&")
        for m in re.finditer(r"!(?=[\w(*])", text):
            yield "negation", replaced(m.start(), m.end(), "")
        for m in INTEGER.finditer(text):
            digits, suffix = m.group(1), m.group(2)
            value = int(digits, 0)
            for moved in (value + 1, value - 1):
                if moved < 0:
                    continue
                new = f"0x{moved:0{len(digits) - 2}X}" if digits.lower().startswith("0x") else str(moved)
                yield "constant", replaced(m.start(), m.end(), new + suffix)
        for m in re.finditer(r" << std::flush", text):
            yield "dropped flush", replaced(m.start(), m.end(), "")
        for m in re.finditer(r"\? ([^:?]+) : ([^;]+)", text):
            yield "return flipped", replaced(m.start(), m.end(), f"? {m.group(2)} : {m.group(1)}")


def changed_literal(literal):
    quote, body = literal[0], literal[1:-1]
    if quote == "'":
        value = bytes(body, "ascii").decode("unicode_escape")
        code = (ord(value) + 1) % 128
        plain = 0x20 <= code < 0x7F and chr(code) not in "\\'"
        yield f"'{chr(code)}'" if plain else f"'\\x{code:02x}'"
        return
    if body:
        # The last character (or escape) dropped.
        shorter = body[:-2] if len(body) >= 2 and body[-2] == "\\" else body[:-1]
        yield f'"{shorter}"'
    else:
        yield '"x"'
    if re.fullmatch(r"[rwa]b?", body):
        yield f'"{body[0]}+{body[1:]}"'  # an open mode that also writes


def mutate_literals(pieces):
    for index, (kind, text) in enumerate(pieces):
        if kind != "literal":
            continue
        for new in changed_literal(text):
            copy = list(pieces)
            copy[index] = ("literal", new)
            yield "literal", join(copy)


def mutate_statement(line, in_bool_function):
    code = join(split_line(line)).rstrip()
    stripped = code.strip()
    indent = line[: len(line) - len(line.lstrip())]
    if stripped in ("return true;", "return false;"):
        yield "return flipped", indent + ("return false;" if "true" in stripped else "return true;")
    elif in_bool_function and stripped.startswith("return ") and "?" not in stripped:
        yield "return flipped", indent + f"return !({stripped[len('return '):-1]});"
    # A check removed: its condition never holds, or its result is one branch always.
    if re.fullmatch(r"if \(.+\) \{", stripped):
        yield "dropped check", indent + "if (false) {"
    chosen = re.fullmatch(r"return .+ \? (\w+) : (\w+);", stripped)
    for branch in chosen.groups() if chosen else ():
        yield "dropped check", indent + f"return {branch};"
    if not NOT_DROPPED.match(stripped) and any(p.match(stripped) for p in DROPPABLE):
        if stripped.count("(") == stripped.count(")"):
            yield "dropped statement", indent + ";"
    body = re.search(r"\{ ([^{}]+;) \}$", code)  # a one-statement body on the line
    if body:
        yield "dropped statement", line.replace(body.group(0), "{}")


def mutants_of(path):
    lines = (ROOT / path).read_text().split("\n")
    seen, in_bool_function, windows_only = {}, False, path in WINDOWS_ONLY
    for number, line in enumerate(lines, 1):
        stripped = line.strip()
        occurrence = seen[stripped] = seen.get(stripped, 0) + 1
        if re.match(r"^(constexpr |static |inline )*bool \w+\(", stripped):
            in_bool_function = True
        elif re.match(r"^[\w:<>&*, ]+ \w+\(.*\) (const )?\{$", stripped) and not stripped.startswith("bool"):
            in_bool_function = False
        if not stripped or stripped.startswith(("#", "//", "///")):
            continue
        pieces = split_line(line)
        produced = set()
        for operator, new in [*mutate_code(pieces), *mutate_literals(pieces),
                              *mutate_statement(line, in_bool_function)]:
            if new != line and new not in produced:
                produced.add(new)
                yield Mutant(path, number, occurrence, line, new, operator, windows_only)


# ---------------------------------------------------------------------------
# Equivalent mutants: "path#N: before  =>  after  -- reason", N counting the lines
# of the file with the same text.

def read_equivalents():
    entries = {}
    for number, line in enumerate(EQUIVALENTS.read_text().split("\n"), 1):
        if not line.strip() or line.startswith("#"):
            continue
        m = re.fullmatch(r"(\S+)#(\d+): (.+?)  =>  (.+?)  -- (.+)", line)
        if not m:
            sys.exit(f"{EQUIVALENTS.name}:{number}: not 'path#N: before  =>  after  -- reason'")
        entries[(m.group(1), int(m.group(2)), m.group(3).strip(), m.group(4).strip())] = m.group(5)
    return entries


# ---------------------------------------------------------------------------
# Running

def run(command, timeout, cwd=ROOT):
    """The command's exit status, or -1 when it ran over timeout seconds. A mutant that
    loops leaves programs behind that the tests started: the command runs in a process
    group of its own, and the whole group is killed."""
    with subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, start_new_session=True) as process:
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            return -1


def copy_checkout(copy):
    """Copies the files of the checkout that git tracks or would track, as they stand in
    the working tree, to copy."""
    shutil.rmtree(copy, ignore_errors=True)
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                            cwd=ROOT, check=True, capture_output=True).stdout
    for name in filter(None, listed.decode().split("\0")):
        if (ROOT / name).is_file():  # not a file deleted from the working tree
            (copy / name).parent.mkdir(parents=True, exist_ok=True)
            # New times, so that a tree built from an earlier run's mutant is rebuilt.
            shutil.copy(ROOT / name, copy / name)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--list", action="store_true", help="list the mutants, run nothing")
    parser.add_argument("--only", help="mutate this one source file")
    parser.add_argument("--timeout", type=int, default=10,
                        help="seconds the tests of one mutant may take at least")
    args = parser.parse_args()

    sources = [args.only] if args.only else SOURCES
    equivalents = read_equivalents()

    def target_of(m):
        """The target an entry sends the mutant to, or None for this host."""
        found = ON_TARGET.match(equivalents.get(m.key(), ""))
        return found.group(1) if found else None

    # Windows-only code is mutated only where an entry sends the mutant to that target.
    mutants = [m for path in sources for m in mutants_of(path) if not m.windows_only or target_of(m)]
    if args.list:
        for m in mutants:
            print(f"{m.operator:18} {m.describe()}")
        print(f"{len(mutants)} mutants")
        return 0

    # Ninja rebuilds a mutant's units without make's walk of every target. A test stops at
    # its first failed check, with no core file; scratch folders it leaves stay in build/.
    (scratch := ROOT / "build" / "mutation-scratch").mkdir(parents=True, exist_ok=True)
    os.environ.update(CMAKE_GENERATOR="Ninja", GTEST_BREAK_ON_FAILURE="1", TMPDIR=str(scratch))
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))
    originals = {path: (ROOT / path).read_text() for path in sources}
    # The mutants of each kind of tree: this host's (None), or a target's.
    pending = {kind: queue.Queue() for kind in map(target_of, mutants)}
    for index, m in enumerate(mutants):
        pending[target_of(m)].put(index)
    started, dead, done, failed = time.monotonic(), {}, [], []

    def work(kind, name):
        """Builds and tests a copy of the checkout unmutated in build/mutation-NAME, then
        tests the mutants of kind there, until none is left or a tree has failed."""
        copy, tree = ROOT / "build" / f"mutation-source-{name}", ROOT / "build" / f"mutation-{name}"
        copy_checkout(copy)
        configure = [*CONFIGURE, "-S", str(copy), "-B", str(tree)] if kind is None else [
            "cmake", "--preset", kind, "-B", str(tree), "--fresh"]
        build = ["cmake", "--build", str(tree)]
        test = ["ctest", "--test-dir", str(tree), "-j2"]
        ready = run(configure, None, copy) == 0 and run([*build, "--parallel", "2"], None) == 0
        tested = time.monotonic()
        if not ready or run(test, None) != 0:
            failed.append(tree)
            return
        timeout = max(args.timeout, 2 * (time.monotonic() - tested))
        while not failed:
            try:
                index = pending[kind].get_nowait()
            except queue.Empty:
                return
            m = mutants[index]
            lines = originals[m.path].split("\n")
            lines[m.line - 1] = m.after
            (copy / m.path).write_text("\n".join(lines))
            # One job at a time: the workers keep the cores busy, and a build that
            # fails stops at the first unit that fails.
            dead[index] = any(
                run([*build, "--parallel", "1", "--target", built], None) != 0
                or run([*test, "--stop-on-failure", *tests], timeout) != 0
                for built, tests in (SUITES_OF.get(m.path, SUITES) if kind is None else SUITES))
            (copy / m.path).write_text(originals[m.path])
            done.append(index)
            if len(done) % 25 == 0:
                print(f"{len(done)} of {len(mutants)} mutants run, "
                      f"{time.monotonic() - started:.0f} s", flush=True)

    trees = [(None, str(k)) for k in range(WORKERS) if None in pending] + [
        (kind, kind) for kind in pending if kind]
    with concurrent.futures.ThreadPoolExecutor(len(trees) or 1) as pool:
        list(pool.map(lambda tree: work(*tree), trees))
    if failed:
        sys.exit(f"the unmutated tree {failed[0]} does not build or pass its tests")

    killed, equivalent, survivors = 0, 0, []
    for index, m in enumerate(mutants):
        target = target_of(m)
        # A mutant listed for a target is counted like any other, tested there.
        if m.key() in equivalents and not target:
            equivalent += 1
            if dead[index]:
                survivors.append(f"listed as equivalent but killed: {m.describe()}")
        elif dead[index]:
            killed += 1
        else:
            survivors.append(f"survived{f' on {target}' if target else ''}: {m.describe()}")

    made = {m.key() for m in mutants}
    for path, occurrence, before, after in [k for k in equivalents if k[0] in sources and k not in made]:
        survivors.append(f"listed as equivalent, no such mutant: {path}#{occurrence}: {before}  =>  {after}")
    print(f"mutation score: {killed} of {len(mutants) - equivalent} killed "
          f"({equivalent} equivalent mutants not counted, "
          f"{time.monotonic() - started:.0f} s)")
    for line in survivors:
        print(line)
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
