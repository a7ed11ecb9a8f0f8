#!/usr/bin/env bash
# Checks the hardening of a build of wavinspect, each property where the tool that
# made it reports it: the fortify level, the stack protector's strength, CET and
# stack-clash probes as the compiler itself defines or reports them for each of the
# project's units, with that unit's own command (code with small frames and no call
# that can be fortified carries no mark of either in its object, and a static C
# library brings stack-protector calls of its own); position independence, static
# linking (where the build asked for it), RELRO and immediate binding in the
# program's ELF headers. Names each property that is missing, and the units that lack
# it, and exits 1 if any is. hardening-check cannot read a static-pie program: with
# no interpreter it takes it for a shared library.
#
# Usage: tools/check-hardening.sh BUILD   (a configured and built tree, e.g. build/release)
set -euo pipefail

build=${1:?usage: tools/check-hardening.sh BUILD}
program=$build/wavinspect
[[ -f $program && -f $build/compile_commands.json && -f $build/CMakeCache.txt ]] || {
    echo "check-hardening.sh: $build holds no built wavinspect with its compile commands" >&2
    exit 2
}
missing=0
lacking=  # the units a failed check names, set by every_unit
check() {  # check PROPERTY COMMAND...: the property holds when the command succeeds
    local property=$1
    shift
    lacking=
    if "$@"; then
        echo "ok: $property"
    else
        echo "MISSING: $property${lacking:+, in:$lacking}"
        missing=1
    fi
}
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

# What the compiler made of each of the project's own translation units, with the
# unit's own command: the fortify level the C library applies (__USE_FORTIFY_LEVEL
# after <cstdio>, 0 without optimization too; where the C library has no such macro,
# _FORTIFY_SOURCE under the optimizer), the stack protector's strength (__SSP_STRONG__
# or __SSP_ALL__, not the weak __SSP__), CET (__CET__ 3: IBT and SHSTK) and whether
# it probes the stack (GCC's -Q --help=common; elsewhere, the command's last flag).
# One line a unit: fortify level, ssp, cet, clash, x86 or not, and the source.
units=$(python3 - "$build/compile_commands.json" <<'PY'
import json, re, shlex, subprocess, sys
def run(words, text=""):
    done = subprocess.run(words, input=text, capture_output=True, text=True)
    return done.stdout if done.returncode == 0 else ""
for entry in json.load(open(sys.argv[1])):
    unit = re.search(r"(header|console)/[^/]+\.cpp$", entry["file"])
    if not unit:
        continue
    words = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    flags, rest = [], iter(words[1:])
    for word in rest:  # the command less its output, dependency file and source
        if word in ("-o", "-MF", "-MT", "-MQ"):
            next(rest, None)  # and the word it takes
        elif word not in ("-c", "-MD", "-MMD") and not word.endswith(entry["file"]):
            flags.append(word)
    macros = dict(re.findall(r"^#define (\w+) ?(.*)$",
                             run([words[0], *flags, "-E", "-dM", "-x", "c++", "-"],
                                 "#include <cstdio>\n"), re.M))
    if not macros:
        sys.exit(f"check-hardening.sh: the compiler cannot preprocess with the flags of {entry['file']}")
    level = macros.get("__USE_FORTIFY_LEVEL")
    if level is None:
        level = macros.get("_FORTIFY_SOURCE", "0") if "__OPTIMIZE__" in macros else "0"
    ssp = "strong" if "__SSP_STRONG__" in macros or "__SSP_ALL__" in macros else (
        "weak" if "__SSP__" in macros else "none")
    cet = "yes" if macros.get("__CET__") == "3" else "no"
    clash = re.search(r"-fstack-clash-protection\s+\[(enabled|disabled)\]",
                      run([words[0], *flags, "-Q", "--help=common"]))
    if clash:
        clash = "yes" if clash.group(1) == "enabled" else "no"
    else:
        chosen = [w for w in flags if w in ("-fstack-clash-protection", "-fno-stack-clash-protection")]
        clash = "yes" if chosen and chosen[-1] == "-fstack-clash-protection" else "no"
    x86 = "x86" if "__x86_64__" in macros or "__i386__" in macros else "other"
    print(level.strip() or "1", ssp, cet, clash, x86, unit.group(0))
PY
)
[[ -n $units ]] || { echo "check-hardening.sh: no compile command of header/ or console/" >&2; exit 2; }

# every_unit FIELD PATTERN: every unit's FIELD (1-based) matches PATTERN; the units
# that do not are named in lacking.
every_unit() {
    lacking=$(awk -v f="$1" -v p="^($2)\$" '$f !~ p { printf " %s", $6 }' <<<"$units")
    [[ -z $lacking ]]
}
has_no_interpreter() { ! grep -q INTERP "$elf/headers"; }
elf=$(mktemp -d)
trap 'rm -rf "$elf"' EXIT
readelf -hlW "$program" >"$elf/headers"
readelf -dW "$program" >"$elf/dynamic"

check "-D_FORTIFY_SOURCE=2 or higher: the C library's fortify level" every_unit 1 '[2-9]'
check "-fstack-clash-protection: stack-clash probes" every_unit 4 yes
check "stack protector: -fstack-protector-strong or -all" every_unit 2 strong
if [[ $(cut -d' ' -f5 <<<"$units" | sort -u) == x86 ]]; then
    check "CET (-fcf-protection): IBT and SHSTK" every_unit 3 yes
else
    echo "skipped: CET, which only x86 has"
fi
check "position independent program (-pie or -static-pie)" \
    grep -Eq 'Type: +DYN ' "$elf/headers"
if [[ $(cached WAVINSPECT_STATIC) == ON ]]; then
    check "static program: no dynamic loader" has_no_interpreter
fi
check "RELRO segment (-z relro)" grep -q GNU_RELRO "$elf/headers"
check "immediate binding (-z now)" grep -Eq 'BIND_NOW|Flags:.* NOW' "$elf/dynamic"
exit "$missing"
