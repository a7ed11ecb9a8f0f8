#!/usr/bin/env bash
# Checks the hardening of a build of wavinspect, each property where leaving out its
# flag shows: the stack protector and CET in the project's own objects (a static C
# library brings its own stack-protector calls, and no CET note); position
# independence, static linking (where the build asked for it), RELRO and immediate
# binding in the program; stack-clash probes and the fortify level in the compile
# commands, since code with small frames and no call that can be fortified carries
# no mark of either. Names each property that is missing, and exits 1 if any is.
# hardening-check cannot read a static-pie program: with no interpreter it takes it
# for a shared library.
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
check() {  # check PROPERTY COMMAND...: the property holds when the command succeeds
    local property=$1
    shift
    if "$@"; then
        echo "ok: $property"
    else
        echo "MISSING: $property"
        missing=1
    fi
}
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

# The project's own translation units: each one's flags, last word winning, and its object.
units=$(python3 - "$build/compile_commands.json" <<'PY'
import json, os, re, shlex, sys
for entry in json.load(open(sys.argv[1])):
    if not re.search(r"/(header|console)/[^/]+\.cpp$", entry["file"]):
        continue
    words = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    fortify, clash = "0", "no"
    output = words[words.index("-o") + 1]
    for word in words:
        if word.startswith("-D_FORTIFY_SOURCE"):
            fortify = word.partition("=")[2] or "1"
        elif word == "-U_FORTIFY_SOURCE":
            fortify = "0"
        elif word in ("-fstack-clash-protection", "-fno-stack-clash-protection"):
            clash = "no" if word.startswith("-fno-") else "yes"
    print(fortify, clash, os.path.join(entry["directory"], output))
PY
)
[[ -n $units ]] || { echo "check-hardening.sh: no compile command of header/ or console/" >&2; exit 2; }
objects=$(cut -d' ' -f3- <<<"$units")

# grep reads a file or a string, never a pipe: under pipefail an early grep -q exit
# fails the pipe.
every_unit_fortified() {
    [[ $(cached WAVINSPECT_FORTIFIED_BY_DEFAULT) == 1 ]] ||
        ! grep -qvE '^[2-9]$' <<<"$(cut -d' ' -f1 <<<"$units")"
}
every_unit_probes_the_stack() { ! grep -qv '^yes$' <<<"$(cut -d' ' -f2 <<<"$units")"; }
objects_call_the_stack_protector() {
    local object
    while read -r object; do
        grep -Eq ' U __stack_chk_(fail|guard)$' <<<"$(nm "$object")" && return 0
    done <<<"$objects"
    return 1
}
every_object_has_cet() {
    local object
    while read -r object; do
        grep -Eq 'x86 feature: .*IBT, SHSTK' <<<"$(readelf -nW "$object")" || return 1
    done <<<"$objects"
}
has_no_interpreter() { ! grep -q INTERP "$elf/headers"; }
elf=$(mktemp -d)
trap 'rm -rf "$elf"' EXIT
readelf -hlW "$program" >"$elf/headers"
readelf -dW "$program" >"$elf/dynamic"

check "-D_FORTIFY_SOURCE=2 or higher in every compile command" every_unit_fortified
check "-fstack-clash-protection in every compile command" every_unit_probes_the_stack
check "stack protector (-fstack-protector-strong) in the project's objects" \
    objects_call_the_stack_protector
if grep -Eq 'Machine: +(Advanced Micro Devices X86-64|Intel 80386)' "$elf/headers"; then
    check "CET (-fcf-protection): IBT and SHSTK notes on every project object" every_object_has_cet
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
