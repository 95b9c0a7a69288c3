#!/usr/bin/env bash
# Keeps the fuzz targets from rotting: builds them with clang and libFuzzer (as
# scripts/fuzz.sh does) and runs each on every file of its seed corpus once, under the
# address and undefined-behaviour sanitizers. Any build error, crash, failed check or hang
# fails it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh
source scripts/fuzz-configure.sh
cmake --build build-fuzz

export UBSAN_OPTIONS="print_stacktrace=1"
for corpus in tests/fuzz/corpus/*/; do
    target=$(basename "$corpus")
    echo "fuzz_$target: replaying $(find "$corpus" -type f | wc -l) inputs"
    # One run per file given, then exit; an input that takes a minute counts as a hang.
    "build-fuzz/tests/fuzz/fuzz_$target" -timeout=60 "$corpus"* 2>"build-fuzz/fuzz_$target.log" ||
        { cat "build-fuzz/fuzz_$target.log" >&2; echo "error: fuzz_$target failed on its corpus" >&2; exit 1; }
done
