#!/usr/bin/env bash
# Installs what is missing, builds Hexmoor and runs a program with hexmoor-run.
# With no arguments it runs the example that prints the primes below 1000; otherwise the
# arguments go to hexmoor-run (a program file and options, see --help).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-packages.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" >/dev/null
if [[ $# -eq 0 ]]; then
    set -- "$root/build/examples/primes.s19"
fi
exec "$root/build/src/hexmoor-run" "$@"
