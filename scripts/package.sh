#!/usr/bin/env bash
# Builds the two Debian packages and puts them in OUTPUT_DIR (the current folder unless
# given), printing their paths, one a line:
#   scripts/package.sh [OUTPUT_DIR]
# hexmoor-tools_VERSION_ARCH.deb holds hexmoor-run and hexmoor-asm (no Qt), and
# hexmoor_VERSION_ARCH.deb the window, which depends on it. The build goes into
# build-package/ (or $HEXMOOR_PACKAGE_BUILD_DIR): optimised and hardened with Debian's build
# flags, without the tests, benchmarks and gallery; the programs are stripped.
#
# Two builds of one commit give the same bytes: every date is the last commit's
# (SOURCE_DATE_EPOCH, unless set already; outside a git checkout, the newest release
# note's), every file is dated then, dpkg-deb orders them by name, and no build folder is
# kept in a shipped file.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
output_dir="$(realpath "${1:-.}")"
build_dir="$(realpath -m "${HEXMOOR_PACKAGE_BUILD_DIR:-$root/build-package}")"
release_notes="$root/packaging/changelog"

"$root/scripts/install-packages.sh" >&2

if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
    SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct 2>/dev/null ||
        dpkg-parsechangelog -l "$release_notes" -S Timestamp)"
fi
export SOURCE_DATE_EPOCH

# Debian's flags with every hardening feature: stack protector, fortified functions, full
# RELRO and BIND_NOW. Asked from the source folder, so that their -ffile-prefix-map takes
# its path out of the programs; the build folder's goes the same way. They cost the
# interpreter nothing measurable, so no file is exempt: hexmoor-run's untraced sieve (a
# billion instructions, the least CPU time of ten runs) took 2.95 s without them and
# 2.98 s with them, and the sieve that scans the A/D converter, whose register accesses
# take the per-pass path, 2.08 s and 2.07 s (300 million instructions, of sixteen runs).
#
# The programs are shipped stripped, so they are built without debug information (-g):
# with it, link-time optimisation names each file's debug data with a random number, which
# the programs' build ids would keep after stripping. Release with NDEBUG and nothing else,
# so that the optimisation is Debian's -O2.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g
build_flag() { (cd "$root" && dpkg-buildflags --get "$1"); }
cxx_flags="$(build_flag CPPFLAGS) $(build_flag CXXFLAGS) -ffile-prefix-map=$build_dir=."

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DHEXMOOR_BUILD_TESTS=OFF "-DCMAKE_CXX_FLAGS=$cxx_flags" "-DCMAKE_EXE_LINKER_FLAGS=$(build_flag LDFLAGS)" \
    "${launcher[@]}" >/dev/null
# One compiler per core (Ninja's own default runs more).
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
cmake --build "$build_dir" >&2

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")"
noted="$(dpkg-parsechangelog -l "$release_notes" -S Version)"
if [[ "$noted" != "$version" ]]; then
    echo "error: the newest entry of packaging/changelog is $noted, the project is $version" >&2
    exit 1
fi
architecture="$(dpkg --print-architecture)"

# The Depends that the shared libraries of a staged package's programs give.
shared_library_depends() {
    local work programs
    work="$(mktemp -d)"
    mkdir "$work/debian"
    printf 'Source: hexmoor\n\nPackage: %s\nArchitecture: any\n' "$(basename "$1")" >"$work/debian/control"
    mapfile -t programs < <(find "$1/usr/bin" -type f)
    (cd "$work" && dpkg-shlibdeps -O "${programs[@]}") | sed -n 's/^shlibs:Depends=//p'
    rm -rf "$work"
}

stage="$build_dir/packages"
rm -rf "$stage"
mkdir -p "$output_dir"
for package in hexmoor-tools hexmoor; do
    dir="$stage/$package"
    DESTDIR="$dir" cmake --install "$build_dir" --prefix /usr --component "$package" >/dev/null
    # As dh_strip does: no symbols, no compiler notes.
    find "$dir/usr/bin" -type f -exec strip --remove-section=.comment --remove-section=.note {} +
    chmod -R u=rwX,go=rX "$dir"
    # Every file dated alike, whenever it was checked out or made.
    find "$dir" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +
    mkdir -m 0755 "$dir/DEBIAN"
    (cd "$dir" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) >"$dir/DEBIAN/md5sums"
    sed -e "s/@VERSION@/$version/g" -e "s/@ARCHITECTURE@/$architecture/" \
        -e "s/@INSTALLED_SIZE@/$(du -sk --apparent-size "$dir/usr" | cut -f1)/" \
        -e "s/@SHLIBS_DEPENDS@/$(shared_library_depends "$dir")/" \
        "$root/packaging/$package.control.in" >"$dir/DEBIAN/control"
    chmod 0644 "$dir/DEBIAN/md5sums" "$dir/DEBIAN/control"
    deb="$output_dir/${package}_${version}_${architecture}.deb"
    dpkg-deb --root-owner-group -Zxz --build "$dir" "$deb" >/dev/null
    echo "$deb"
done
