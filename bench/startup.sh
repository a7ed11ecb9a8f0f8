#!/usr/bin/env bash
# Start-up cost of wavinspect. Runs the program N times on the bundled example, and
# the same way /bin/true, `head -c 44 FILE` and any audio-information tool found on
# the PATH; prints each command's wall time per run and its ratio to /bin/true, then
# the program's peak resident memory. Every command gets the same standard input
# (the example's name) and writes to /dev/null. The commands take turns over several
# rounds and the fastest round of each is kept, so a busy moment hits them alike.
#
# Usage: bench/startup.sh [N] [PROGRAM]    (defaults: 1000, build/release/wavinspect)
#        ROUNDS=5 bench/startup.sh         (default: 3 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-1000}
program=${2:-build/release/wavinspect}
rounds=${ROUNDS:-3}
example=examples/tone.wav

if [[ ! -x $program ]]; then
    echo "no program at $program: build it first (cmake --preset release && cmake --build --preset release)" >&2
    exit 1
fi

input=$(mktemp)
trap 'rm -f "$input"' EXIT
printf '%s\n' "$example" >"$input"

commands=("$program" "/bin/true" "head -c 44 $example")
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

declare -A best
for ((round = 0; round < rounds; round++)); do
    for command in "${commands[@]}"; do
        elapsed=$(time_runs "$command")
        if [[ -z ${best[$command]:-} ]] || ((elapsed < best[$command])); then
            best[$command]=$elapsed
        fi
    done
done

echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), Linux $(uname -r)"
echo "runs: $runs per command, best of $rounds rounds"
printf '%-44s %14s %12s\n' command 'us per run' 'vs true'
for command in "${commands[@]}"; do
    awk -v c="$command" -v t="${best[$command]}" -v n="$runs" -v b="${best[/bin/true]}" \
        'BEGIN { printf "%-44s %14.1f %12.3f\n", c, t / n / 1000, t / b }'
done

# time reports on its standard error; the program's own output goes to /dev/null.
rss=$(/usr/bin/time -f %M "$program" <"$input" 2>&1 >/dev/null)
echo "peak resident memory of $program: $rss KiB"
