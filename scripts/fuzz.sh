#!/usr/bin/env bash
# Runs one fuzz target with libFuzzer for a while:  scripts/fuzz.sh TARGET SECONDS
# Targets: the folders of tests/fuzz/corpus/. New corpus files and crashes are kept outside
# the repository, in $HEXMOOR_FUZZ_DIR (default ~/.cache/hexmoor-fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:?usage: scripts/fuzz.sh TARGET SECONDS}
seconds=${2:?usage: scripts/fuzz.sh TARGET SECONDS}
seeds=tests/fuzz/corpus/$target
[[ -d $seeds ]] || { echo "error: no fuzz target '$target' (see tests/fuzz/corpus/)" >&2; exit 2; }

scripts/install-packages.sh
source scripts/fuzz-configure.sh
cmake --build build-fuzz --target "fuzz_$target"

# The machine and spans targets take a whole 64 KiB image and register writes after it; the input
# target needs room for more bytes than the input buffer drops at once.
case $target in
    machine | spans) max_len=70000 ;;
    typed_input) max_len=16384 ;;
    *) max_len=4096 ;;
esac
work=${HEXMOOR_FUZZ_DIR:-$HOME/.cache/hexmoor-fuzz}
mkdir -p "$work/$target/corpus" "$work/$target/crashes"
exec "build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" \
    -print_final_stats=1 -artifact_prefix="$work/$target/crashes/" "$work/$target/corpus" "$seeds"
