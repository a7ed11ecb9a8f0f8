#!/usr/bin/env bash
# Start-up cost of wavinspect. Runs the program N times on the bundled example, and
# the same way a C program that does the same job, linked as the program is (the
# floor: stdio, one scanf, fopen, fread, one printf; static for the static release
# program, dynamic for a plain build), /bin/true, `head -c 44 FILE` and any
# audio-information tool found on the PATH; prints each command's wall time per
# run and its ratios to the C floor and to /bin/true, then the peak resident memory
# of the program and of the floor. Every command gets the same standard input
# (the example's name) and writes to /dev/null. The commands take turns over several
# rounds, so a busy moment hits them alike, and each one's median round is kept.
#
# Usage: bench/startup.sh [N] [PROGRAM]    (defaults: 1000, build/release/wavinspect)
#        bench/startup.sh 1000 build/plain/wavinspect   (a plain build: cmake -S . -B build/plain)
#        ROUNDS=7 bench/startup.sh         (default: 5 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-1000}
program=${2:-build/release/wavinspect}
rounds=${ROUNDS:-5}
example=examples/tone.wav

if [[ ! -x $program ]]; then
    echo "no program at $program: build it first (cmake --preset release && cmake --build --preset release)" >&2
    exit 1
fi

for tool in cc /usr/bin/time readelf; do
    command -v "$tool" >/dev/null ||
        { echo "bench/startup.sh needs $tool (Debian packages gcc, time and binutils)" >&2; exit 1; }
done
# A program with an interpreter is linked dynamically; so is its floor, then.
linkage=static
segments=$(readelf -lW "$program")
if grep -q INTERP <<<"$segments"; then
    linkage=dynamic
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
input=$scratch/input
printf '%s\n' "$example" >"$input"

# The floor: the same dialogue and report in plain C, linked as the program is.
floor=$scratch/c-floor
cat >"$floor.c" <<'C'
#include <stdio.h>
int main(void) {
    char name[100];
    unsigned char h[44];
    fputs("Input file name: ", stdout);
    fflush(stdout);
    if (scanf("%99s", name) != 1) return 1;
    FILE *f = fopen(name, "rb");
    if (!f) { fputs("Input file not found/corrupted!\n", stdout); return 1; }
    size_t n = fread(h, 1, sizeof h, f);
    fclose(f);
#define U16(o) (unsigned)(h[o] | h[o + 1] << 8)
#define U32(o) (unsigned)(h[o] | h[o + 1] << 8 | h[o + 2] << 16 | (unsigned)h[o + 3] << 24)
    printf("ChunkID: %.4s\nChunkSize: %u bytes\nFormat: %.4s\nSubchunk1ID: %.4s\n"
           "Subchunk1Size: %u bytes\nAudioFormat: %u\nNumChannels: %u\nSampleRate: %u Hz\n"
           "ByteRate: %u bytes/second\nBlockAlign: %u bytes\nBitsPerSample: %u\n"
           "Subchunk2ID: %.4s\nSubchunk2Size: %u bytes\n",
           (char *)h, U32(4), (char *)h + 8, (char *)h + 12, U32(16), U16(20), U16(22), U32(24),
           U32(28), U16(32), U16(34), (char *)h + 36, U32(40));
    return n != sizeof h;
}
C
cc -O2 $([[ $linkage == dynamic ]] || echo -static) -o "$floor" "$floor.c"
if ! cmp -s <("$program" <"$input") <("$floor" <"$input"); then
    echo "the C floor's output differs from $program's: the comparison would be unfair" >&2
    exit 1
fi

commands=("$program" "$floor" "/bin/true" "head -c 44 $example")
for tool in soxi mediainfo ffprobe exiftool; do
    if path=$(command -v "$tool"); then
        commands+=("$path $example")
    fi
done

# Wall time of N runs of a command, in nanoseconds.
time_runs() {
    local command=$1 start end i
    set -f  # the command is split into words, never globbed
    start=$(date +%s%N)
    for ((i = 0; i < runs; i++)); do
        $command <"$input" >/dev/null 2>&1 || true
    done
    end=$(date +%s%N)
    set +f
    echo $((end - start))
}

declare -A times
for ((round = 0; round < rounds; round++)); do
    for command in "${commands[@]}"; do
        times[$command]+="$(time_runs "$command") "
    done
done
declare -A best  # the median round of each command
for command in "${commands[@]}"; do
    # shellcheck disable=SC2086 # the times are words
    best[$command]=$(printf '%s\n' ${times[$command]} | sort -n | sed -n "$(((rounds + 1) / 2))p")
done

echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p;T;q' /proc/cpuinfo), Linux $(uname -r)"
echo "runs: $runs per command, median of $rounds rounds"
printf '%-44s %12s %8s %8s\n' command 'us per run' 'vs C' 'vs true'
for command in "${commands[@]}"; do
    name=$command
    [[ $command != "$floor" ]] || name="$linkage C floor"
    awk -v c="$name" -v t="${best[$command]}" -v n="$runs" -v f="${best[$floor]}" \
        -v b="${best[/bin/true]}" \
        'BEGIN { printf "%-44s %12.1f %8.3f %8.3f\n", c, t / n / 1000, t / f, t / b }'
done

# time reports on its standard error; the program's own output goes to /dev/null.
for command in "$program" "$floor"; do
    rss=$(/usr/bin/time -f %M "$command" <"$input" 2>&1 >/dev/null)
    echo "peak resident memory of $([[ $command == "$floor" ]] && echo "the $linkage C floor" || echo "$command"): $rss KiB"
done
echo "size of $program: $(wc -c <"$program") bytes"
