#!/usr/bin/env bash
# Installs what is missing, builds Hexmoor and opens its window with a program loaded:
#   scripts/run.sh [PROGRAM.s19]
# With no program it loads the board tour example (port B counting, the sliders' A/D
# values, typed keys echoed, a port A click noticed). Where no display is available it
# says so and runs the program (the primes example when none is given) with hexmoor-run,
# the terminal on standard input and output.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-packages.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" >/dev/null

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
    exec "$root/build/src/hexmoor" -- "${1:-$root/build/examples/board_tour.s19}"
fi
echo "No display (DISPLAY and WAYLAND_DISPLAY are not set): running ${1:-the primes example} with hexmoor-run instead." >&2
exec "$root/build/src/hexmoor-run" -- "${1:-$root/build/examples/primes.s19}"
