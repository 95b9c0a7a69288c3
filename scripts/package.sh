#!/usr/bin/env bash
# Builds the Debian package hexmoor_VERSION_amd64.deb and puts it in OUTPUT_DIR (the
# current folder unless given):
#   scripts/package.sh [OUTPUT_DIR]
# The build goes into build-package/ (or $HEXMOOR_PACKAGE_BUILD_DIR): optimised, with the
# tests and benchmarks left out; the package's programs are stripped.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
output_dir="$(realpath "${1:-.}")"
build_dir="${HEXMOOR_PACKAGE_BUILD_DIR:-$root/build-package}"

"$root/scripts/install-packages.sh"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHEXMOOR_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build_dir"
# A package left from an earlier version must not be taken for this one.
rm -f "$build_dir"/hexmoor_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
package=$(echo "$build_dir"/hexmoor_*.deb)
mkdir -p "$output_dir"
cp "$package" "$output_dir/"
echo "$output_dir/$(basename "$package")"
