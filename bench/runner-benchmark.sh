#!/usr/bin/env bash
# End-to-end speed of hexmoor-run: a billion instructions of the sieve of Eratosthenes,
# from process start to exit. Prints the runner's statistics (mips is million simulated
# instructions per second of the run). Run after building: bench/runner-benchmark.sh
set -euo pipefail
build="$(cd "$(dirname "$0")/.." && pwd)/build"
# The instruction limit ends the run: exit status 3, expected here.
status=0
"$build/src/hexmoor-run" --stats --max-instructions "${1:-1000000000}" \
    "$build/bench/programs/sieve.s19" 2>&1 >/dev/null || status=$?
[[ $status -eq 3 ]] || exit "$status"
