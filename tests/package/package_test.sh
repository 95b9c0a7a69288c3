#!/usr/bin/env bash
# Builds the Debian package and checks it as an installed system would see it: its
# dependencies, its files and nothing else, the desktop entry and the file types it
# claims, manual pages that document every option each program takes, and a program run
# from the package.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

deb="$("$root/scripts/package.sh" "$scratch" | tail -n 1)"
version="$(dpkg-deb -f "$deb" Version)"
depends="$(dpkg-deb -f "$deb" Depends)"
for needed in libqt6widgets6 qt6-qpa-plugins fonts-liberation; do
    [[ ", $depends," =~ ,\ $needed[\ ,] ]] || fail "Depends lacks $needed: $depends"
done

dpkg-deb -x "$deb" "$scratch/root"
usr="$scratch/root/usr"
expected=(bin/hexmoor bin/hexmoor-run bin/hexmoor-asm
    share/hexmoor/examples/primes.asm share/hexmoor/examples/hc11f1.inc
    share/hexmoor/examples/primes.s19 share/hexmoor/examples/primes.lst share/hexmoor/examples/primes.sym
    share/doc/hexmoor/README.md share/doc/hexmoor/docs/assembler.md share/doc/hexmoor/copyright
    share/man/man1/hexmoor.1.gz share/man/man1/hexmoor-run.1.gz share/man/man1/hexmoor-asm.1.gz
    share/applications/hexmoor.desktop share/mime/packages/hexmoor.xml
    share/icons/hicolor/scalable/apps/hexmoor.svg share/icons/hicolor/48x48/apps/hexmoor.png
    share/icons/hicolor/128x128/apps/hexmoor.png share/icons/hicolor/256x256/apps/hexmoor.png)
for file in "${expected[@]}"; do [[ -s "$usr/$file" ]] || fail "the package lacks /usr/$file"; done
# Only these places, and in bin only the three programs: no tests, benchmarks or gallery.
stray="$(cd "$scratch/root" && find . -type f | grep -vE '^\./usr/(bin/hexmoor(-run|-asm)?|share/(hexmoor/examples|doc/hexmoor|man/man1|applications|icons/hicolor|mime/packages)/[^ ]+)$' || true)"
[[ -z "$stray" ]] || fail "files the package should not have: $stray"
for program in hexmoor hexmoor-run hexmoor-asm; do
    file "$usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"
    shown="$("$usr/bin/$program" --version)"
    [[ "$shown" == "$program $version" ]] || fail "$program --version says '$shown', the package is $version"
done

desktop-file-validate "$usr/share/applications/hexmoor.desktop" || fail "the desktop entry is not valid"

# A desktop session with nothing but the package's share folder and the system's types.
XDG_DATA_HOME="$usr/share" update-mime-database "$usr/share/mime"
update-desktop-database "$usr/share/applications"
session=(env -i PATH="$PATH" HOME="$scratch" XDG_DATA_HOME="$usr/share" XDG_DATA_DIRS=/usr/share
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

# The options each --help lists and those the manual page's OPTIONS section describes
# (the list items' heads), both ways; the end of options, --, is no option.
help_options() { "$usr/bin/$1" --help | awk '/^  -/ { print $1; if ($1 ~ /,$/) print $2 }' | tr -d ',' | grep -vx -- '--' | sort -u; }
page_options() {
    zcat "$usr/share/man/man1/$1.1.gz" | sed -n '/^\.SH OPTIONS/,/^\.SH [^O]/p' | grep -B1 '^\.RS' |
        grep -oE '\\fB-[^\\]*\\fR' | sed -E 's/\\f[BR]//g; s/=$//' | grep -vx -- '--' | sort -u
}
for program in hexmoor hexmoor-run hexmoor-asm; do
    difference="$(diff <(help_options "$program") <(page_options "$program") || true)"
    [[ -z "$difference" ]] || fail "$program: --help (<) and its manual page (>) differ: $difference"
done

primes="$(timeout 60 "$usr/bin/hexmoor-run" --max-instructions 100000000 "$usr/share/hexmoor/examples/primes.s19")" ||
    fail "hexmoor-run on the packaged primes example ended with status $?"
primes="${primes//$'\r'/}"
[[ "$primes" == "Primes below 1000 on a 68HC11F1:"*" 2    3    5    7"*"991  997" ]] ||
    fail "the packaged primes example printed: $(head -c 200 <<<"$primes")"

[[ $failures -eq 0 ]] && echo "The package $(basename "$deb") passes."
exit $((failures > 0))
