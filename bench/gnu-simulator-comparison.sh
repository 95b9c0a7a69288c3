#!/usr/bin/env bash
# hexmoor-run against the GNU 68HC11 simulator (m68hc11-elf-run, from gdb's sources) on
# the same program: the sieve for 1000 rounds (203 million instructions), ending in WAI.
# The simulator starts at the ELF entry, so its copy has no vector table.
#   bench/gnu-simulator-comparison.sh [PATH/TO/m68hc11-elf-run] [RUNS]
# Run after building. Prints the processor, each run's seconds (whole process, runs
# alternating) and the medians' ratio.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
gnusim=${1:-m68hc11-elf-run}
runs=${2:-5}
program="$root/build/bench/programs/sieve_rounds"
elf=$(mktemp --suffix=.elf)
trap 'rm -f "$elf"' EXIT
m68hc11-objcopy --remove-section=.vectors "$program.elf" "$elf" 2>/dev/null

seconds() {
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }' 
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# A virtual machine may name only the make: family and model tell the generation.
processor=$(awk -F': ' '/^model name/ { n = $2 } /^cpu family/ { f = $2 } /^model\t/ { m = $2 }
                        /^$/ { exit } END { printf "%s (family %s, model %s)", n, f, m }' /proc/cpuinfo 2>/dev/null || true)
echo "processor:            ${processor:-unknown}, $(nproc) processors"
hexmoor=() gnu=()
for _ in $(seq "$runs"); do
    hexmoor+=("$(seconds "$root/build/src/hexmoor-run" "$program.s19")")
    gnu+=("$(seconds "$gnusim" "$elf")")
done
h=$(printf '%s\n' "${hexmoor[@]}" | median)
g=$(printf '%s\n' "${gnu[@]}" | median)
echo "hexmoor-run:          ${hexmoor[*]} s (median $h)"
echo "GNU 68HC11 simulator: ${gnu[*]} s (median $g)"
awk -v h="$h" -v g="$g" 'BEGIN { printf "hexmoor-run is %.2f times as fast\n", g / h }' 
