#!/bin/bash
# The desktop program's command line, which needs no display: each case's arguments, the
# exit status, and a pattern its first line of output must match. Without a display the
# window cannot open: one line says so, with status 1 (a program after "--" gets that far).
# Both programs show the same version. Help to a full disk fails.
#   hexmoor_command_line.sh HEXMOOR HEXMOOR_RUN
set -u
hexmoor=$1
runner=$2
failed=0
check() {  # arguments status pattern
    local output status
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout 20 "$hexmoor" $1 2>&1)
    status=$?
    local lines
    lines=$(printf '%s\n' "$output" | wc -l)
    if [[ $status -ne $2 || ! $(printf '%s\n' "$output" | head -1) =~ $3 ]]; then
        echo "FAIL: hexmoor $1: status $status, output: $output" >&2
        failed=1
    elif [[ $2 -eq 1 && $lines -ne 1 ]]; then
        echo "FAIL: hexmoor $1: $lines lines: $output" >&2
        failed=1
    fi
}
for help in --help -h; do
    check "$help" 0 '^Usage: hexmoor \[options\] \[--\] \[PROGRAM\.s19\|PROGRAM\.elf\|SOURCE\.asm\]$'
done
check "--version" 0 '^hexmoor [0-9]+\.[0-9]+'
check "--frobnicate" 2 '^hexmoor: unknown option --frobnicate$'
check "a.s19 b.s19" 2 '^hexmoor: only one program can be loaded$'
check "-- -x.s19" 1 '^hexmoor: cannot open the window: could not connect to display'
check "" 1 '^hexmoor: cannot open the window: '

# Help that cannot be written is not a success.
if "$hexmoor" --help > /dev/full 2>/dev/null; then
    echo "FAIL: hexmoor --help > /dev/full succeeded" >&2
    failed=1
fi

version=$("$hexmoor" --version | cut -d' ' -f2)
runner_version=$("$runner" --version | cut -d' ' -f2)
if [[ -z $version || $version != "$runner_version" ]]; then
    echo "FAIL: hexmoor $version, hexmoor-run $runner_version" >&2
    failed=1
fi
exit $failed
