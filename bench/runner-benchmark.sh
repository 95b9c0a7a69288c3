#!/usr/bin/env bash
# End-to-end speed of hexmoor-run: a billion instructions of the sieve of Eratosthenes,
# from process start to exit. Prints the runner's seconds and mips (million simulated
# instructions per second of the run) four times: with nothing armed, with ten
# breakpoints in code that never runs, with a watchpoint on a byte of the page the
# sieve's variables live in (every access to that page is checked), and with a change
# watchpoint on SP (the run's spans end whenever SP moves). Run after building:
# bench/runner-benchmark.sh [INSTRUCTIONS]
set -euo pipefail
build="$(cd "$(dirname "$0")/.." && pwd)/build"
never_runs=()
for address in F000 F010 F020 F030 F040 F050 F060 F070 F080 F090; do never_runs+=(--break "$address"); done
run() {
    local label="$1" status=0 stats
    shift
    stats=$("$build/src/hexmoor-run" --stats "$@" --max-instructions "$instructions" \
        "$build/bench/programs/sieve.s19" 2>&1 >/dev/null) || status=$?
    # The instruction limit ends the run: exit status 3, expected here.
    [[ $status -eq 3 ]] || { echo "$stats" >&2; exit "$status"; }
    printf '%-18s %s\n' "$label" "$(echo "$stats" | grep -E '^(seconds|mips):' | tr '\n' ' ')"
}
instructions="${1:-1000000000}"
run "nothing armed"
run "ten breakpoints" "${never_runs[@]}"
run "a watched page" --watch 00F0
run "SP watched" --watch-change 'SP == 100'
