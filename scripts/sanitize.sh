#!/usr/bin/env bash
# Builds everything with AddressSanitizer, UndefinedBehaviorSanitizer and the standard
# library's assertions into build-sanitize/, and runs the whole suite that way.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHEXMOOR_SANITIZE=ON
cmake --build build-sanitize
export UBSAN_OPTIONS="print_stacktrace=1"
# Leaks are reported, except inside system libraries the window loads on a real X server.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan-suppressions.txt"
ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
