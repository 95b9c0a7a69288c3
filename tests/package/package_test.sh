#!/usr/bin/env bash
# Builds the Debian packages and checks them as a maintainer and an installed system would:
# their dependencies, their files and nothing else, lintian, the desktop entry, AppStream
# data and the file types claimed (.asm left to text editors), manual pages that list
# every option and exit status their program's --help does, a program run from the
# package, an upgrade from the single package of the version before the split, and a
# second build, elsewhere and without the compiler cache, that gives the same bytes.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
build_dir="$(realpath -m "${HEXMOOR_PACKAGE_BUILD_DIR:-$root/build-package}")"
# The builds here, this one's and the older version's, run one compiler per core.
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
# The last version shipped as one package, hexmoor 0.1.0.
before_split=3542b915d8000e10068e89ee06379752a1823e2b

mapfile -t debs < <("$root/scripts/package.sh" "$scratch/first")
[[ ${#debs[@]} -eq 2 ]] || { echo "FAIL: the package build failed" >&2; exit 1; }
tools_deb="${debs[0]}" window_deb="${debs[1]}"
version="$(dpkg-deb -f "$window_deb" Version)"
field() { dpkg-deb -f "$1" "$2"; }
for needed in "hexmoor-tools (= $version)" libqt6widgets6 qt6-qpa-plugins fonts-liberation; do
    [[ ", $(field "$window_deb" Depends)," == *", $needed"[\ ,]* ]] || fail "hexmoor's Depends lack $needed"
done
[[ $(field "$tools_deb" Depends) != *qt* ]] || fail "hexmoor-tools depends on Qt: $(field "$tools_deb" Depends)"

dpkg-deb -x "$tools_deb" "$scratch/root"
dpkg-deb -x "$window_deb" "$scratch/root"
usr="$scratch/root/usr"
# Each package's files: these must be there, and nothing outside its places.
declare -A expected=(
    [hexmoor-tools]="bin/hexmoor-run bin/hexmoor-asm share/man/man1/hexmoor-run.1.gz share/man/man1/hexmoor-asm.1.gz
        share/hexmoor/examples/primes.asm share/hexmoor/examples/hc11f1.inc share/hexmoor/examples/primes.s19
        share/hexmoor/examples/primes.lst share/hexmoor/examples/primes.sym share/doc/hexmoor-tools/copyright
        share/doc/hexmoor-tools/changelog.gz share/doc/hexmoor-tools/README.md.gz
        share/doc/hexmoor-tools/docs/assembler.md.gz share/doc/hexmoor-tools/examples/primes.asm"
    [hexmoor]="bin/hexmoor share/man/man1/hexmoor.1.gz share/doc/hexmoor/copyright share/doc/hexmoor/changelog.gz
        share/doc/hexmoor/README.md.gz share/doc/hexmoor/docs/assembler.md.gz share/doc/hexmoor/docs/first-program.png
        share/doc/hexmoor/examples/primes.asm share/applications/hexmoor.desktop share/mime/packages/hexmoor.xml
        share/metainfo/invalid.hexmoor.Hexmoor.metainfo.xml share/icons/hicolor/scalable/apps/hexmoor.svg
        share/icons/hicolor/48x48/apps/hexmoor.png share/icons/hicolor/128x128/apps/hexmoor.png
        share/icons/hicolor/256x256/apps/hexmoor.png")
declare -A places=(
    [hexmoor-tools]='bin/hexmoor-(run|asm)|share/man/man1/hexmoor-(run|asm)\.1\.gz|share/hexmoor/examples/[^/]+|share/doc/hexmoor-tools/.+|share/lintian/overrides/hexmoor-tools'
    [hexmoor]='bin/hexmoor|share/man/man1/hexmoor\.1\.gz|share/doc/hexmoor/.+|share/(applications|icons/hicolor|mime/packages|metainfo)/.+|share/lintian/overrides/hexmoor')
for package in hexmoor-tools hexmoor; do
    for file in ${expected[$package]}; do [[ -s "$usr/$file" ]] || fail "$package lacks /usr/$file"; done
    deb="$tools_deb"
    [[ $package == hexmoor ]] && deb="$window_deb"
    stray="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | grep -vE "^\./usr/(${places[$package]})\$" || true)"
    [[ -z "$stray" ]] || fail "files $package should not have: $stray"
done
for program in hexmoor hexmoor-run hexmoor-asm; do
    file "$usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"
    shown="$("$usr/bin/$program" --version)"
    [[ "$shown" == "$program $version" ]] || fail "$program --version says '$shown', the package is $version"
done
[[ -z "$(readelf -d "$usr/bin/hexmoor-run" "$usr/bin/hexmoor-asm" | grep -i 'NEEDED.*qt')" ]] ||
    fail "the command-line programs link Qt"
# Nothing shipped names the folders it was built in.
for place in "$root" "$build_dir"; do
    named="$(grep -rlF "$place" "$scratch/root" || true)"
    [[ -z "$named" ]] || fail "files naming $place: $named"
done
installed_readme="$(zcat "$usr/share/doc/hexmoor/README.md.gz" | sed '/^## Working on Hexmoor/,$d')"
grep -nE 'build/[a-z]' <<<"$installed_readme" && fail "the installed README sends users to the build folder"

desktop-file-validate "$usr/share/applications/hexmoor.desktop" || fail "the desktop entry is not valid"
metainfo="$usr/share/metainfo/invalid.hexmoor.Hexmoor.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" ||
    fail "the AppStream data is not valid: $(cat "$scratch/appstream.log")"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the AppStream data has no release $version"
lintian -I --fail-on error,warning,info "$tools_deb" "$window_deb" >"$scratch/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$scratch/lintian.log")"

# A desktop session with nothing but the package's share folder, the system's types, and a
# text editor that opens plain text.
XDG_DATA_HOME="$usr/share" update-mime-database "$usr/share/mime"
mkdir -p "$scratch/config" "$scratch/apps/applications"
printf '[Desktop Entry]\nType=Application\nName=Editor\nExec=editor %%f\nMimeType=text/plain;\n' \
    >"$scratch/apps/applications/editor.desktop"
printf '[Default Applications]\ntext/plain=editor.desktop\n' >"$scratch/config/mimeapps.list"
update-desktop-database "$usr/share/applications"
update-desktop-database "$scratch/apps/applications"
session=(env -i PATH="$PATH" HOME="$scratch" XDG_DATA_HOME="$usr/share" XDG_DATA_DIRS="$scratch/apps:/usr/share"
    XDG_CONFIG_HOME="$scratch/config" XDG_CONFIG_DIRS="$scratch/config")
cp "$usr/share/hexmoor/examples/primes.asm" "$scratch/primes.a11"
cp "$usr/share/hexmoor/examples/primes.asm" "$scratch/PRIMES.S11"
while read -r file type; do
    found="$("${session[@]}" xdg-mime query filetype "$file")"
    [[ "$found" == "$type" ]] || fail "$file is $found, not $type"
done <<END
$usr/share/hexmoor/examples/primes.s19 text/x-s19
$scratch/primes.a11 text/x-m68hc11-asm
$scratch/PRIMES.S11 text/x-m68hc11-asm
$usr/share/hexmoor/examples/primes.asm text/x-asm
END
for type in text/x-s19 text/x-m68hc11-asm; do
    opener="$("${session[@]}" xdg-mime query default "$type")"
    [[ "$opener" == hexmoor.desktop ]] || fail "$type opens with '$opener', not hexmoor.desktop"
done
opener="$("${session[@]}" xdg-mime query default text/x-asm)"
[[ "$opener" != hexmoor.desktop ]] || fail ".asm files open in Hexmoor by default"

# The options each --help lists and those the manual page's OPTIONS section describes
# (the list items' heads), both ways; the end of options, --, is no option. The same for
# the exit statuses, a number at the start of a line or after ': ', ', ' or '; '.
# An option's optional value (--stats[=json]) is left out on both sides.
help_options() {
    "$usr/bin/$1" --help | awk '/^  -/ { print $1; if ($1 ~ /,$/) print $2 }' | tr -d ',' | sed 's/\[=.*//' |
        grep -vx -- '--' | sort -u
}
page_section() { zcat "$usr/share/man/man1/$1.1.gz" | sed -n "/^\.SH $2/,/^\.SH [^${2:0:1}]/p"; }
page_options() {
    page_section "$1" OPTIONS | grep -B1 '^\.RS' | grep -oE '\\fB-[^\\]*\\fR' | sed -E 's/\\f[BR]//g; s/=$//' |
        grep -vx -- '--' | sort -u
}
statuses() { grep -oE '(^ *|: |, |; )[0-9]+( |$)' | grep -oE '[0-9]+' | sort -un; }
help_statuses() { "$usr/bin/$1" --help | sed -n '/^Exit status/,$p' | statuses; }
page_statuses() { page_section "$1" 'EXIT STATUS' | sed -E 's/\\f[BR]//g' | statuses; }
for program in hexmoor hexmoor-run hexmoor-asm; do
    difference="$(diff <(help_options "$program") <(page_options "$program") || true)"
    [[ -z "$difference" ]] || fail "$program: --help (<) and its manual page (>) differ: $difference"
    difference="$(diff <(help_statuses "$program") <(page_statuses "$program") || true)"
    [[ -z "$difference" && -n "$(help_statuses "$program")" ]] ||
        fail "$program: the exit statuses of --help (<) and its manual page (>) differ: $difference"
done

primes="$(timeout 60 "$usr/bin/hexmoor-run" --max-instructions 100000000 "$usr/share/hexmoor/examples/primes.s19")" ||
    fail "hexmoor-run on the packaged primes example ended with status $?"
primes="${primes//$'\r'/}"
[[ "$primes" == "Primes below 1000 on a 68HC11F1:"*" 2    3    5    7"*"991  997" ]] ||
    fail "the packaged primes example printed: $(head -c 200 <<<"$primes")"

# An upgrade from the version before the split, in a system of its own: the files that
# moved to hexmoor-tools stay installed, and removing both leaves nothing behind.
# Its source and build are kept beside this build's, so that the next test builds little.
before="$build_dir-before-split"
if [[ ! -d "$before/source" ]]; then
    mkdir -p "$before/source"
    git -C "$root" archive "$before_split" | tar -x -C "$before/source"
fi
old_deb="$(HEXMOOR_PACKAGE_BUILD_DIR="$before/build" "$before/source/scripts/package.sh" "$scratch/old" | tail -n 1)"
mkdir -p "$scratch/system/var/lib/dpkg/"{info,updates}
touch "$scratch/system/var/lib/dpkg/status"
in_system=(dpkg --root="$scratch/system" --force-depends)
"${in_system[@]}" -i "$old_deb" >"$scratch/dpkg.log" 2>&1 || fail "installing $old_deb: $(cat "$scratch/dpkg.log")"
"${in_system[@]}" --auto-deconfigure -i "$tools_deb" "$window_deb" >"$scratch/dpkg.log" 2>&1 ||
    fail "upgrading from $(basename "$old_deb"): $(cat "$scratch/dpkg.log")"
for file in bin/hexmoor bin/hexmoor-run bin/hexmoor-asm share/man/man1/hexmoor-run.1.gz share/hexmoor/examples/primes.s19; do
    [[ -s "$scratch/system/usr/$file" ]] || fail "after the upgrade /usr/$file is missing"
done
owner="$(dpkg-query --admindir="$scratch/system/var/lib/dpkg" -S /usr/bin/hexmoor-run 2>&1)"
[[ "$owner" == "hexmoor-tools: /usr/bin/hexmoor-run" ]] || fail "after the upgrade: $owner"
"${in_system[@]}" --purge hexmoor hexmoor-tools >"$scratch/dpkg.log" 2>&1 || fail "removing: $(cat "$scratch/dpkg.log")"
left="$(find "$scratch/system/usr" ! -type d 2>/dev/null || true)"
[[ -z "$left" ]] || fail "removing both packages left: $left"

# The same commit built again in another folder, every file compiled anew.
mapfile -t again < <(CCACHE_DISABLE=1 HEXMOOR_PACKAGE_BUILD_DIR="$scratch/build-again" \
    "$root/scripts/package.sh" "$scratch/again")
[[ ${#again[@]} -eq 2 ]] || fail "the second package build failed"
for i in "${!again[@]}"; do
    cmp -s "${debs[$i]}" "${again[$i]}" || fail "two builds of $(basename "${debs[$i]}") differ:
$(diff <(dpkg-deb -c "${debs[$i]}"; dpkg-deb -I "${debs[$i]}" md5sums) <(dpkg-deb -c "${again[$i]}"; dpkg-deb -I "${again[$i]}" md5sums))"
done

[[ $failures -eq 0 ]] && echo "The packages $(basename "$tools_deb") and $(basename "$window_deb") pass."
exit $((failures > 0))
