#!/bin/bash
# The desktop program on a real X server, driven by real X input: started with a program,
# Run started from its menu, keys typed while the program waits for them and their echo read back from a
# hard copy of the terminal, and the window closed through File > Exit while the program
# runs. Run on an X server without a window manager (with_xvfb.sh); needs xdotool and
# Ghostscript (to read the hard copy's PDF).
#   x11_session.sh HEXMOOR PROGRAMS_DIR
set -u
hexmoor=$(realpath "$1")
programs=$(realpath "$2")
fail() { echo "FAIL: $*" >&2; [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null; exit 1; }

# With no printer a hard copy is a PDF file in the working folder (there is no Documents
# folder in this home); no printer of the machine running the test is ever used.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export HOME=$work CUPS_SERVER=$work/no-cups.sock

# Polls a condition every 0.1 s; only a hang takes a minute, even on a loaded machine.
eventually() {
    for _ in $(seq 600); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
main_window() {
    ended && fail "hexmoor ended before its window showed"
    window=$(xdotool search --name "Hexmoor a 68HC11F1" 2>/dev/null | head -1)
    [[ -n $window ]]
}
message_box() { box=$(xdotool search --name '^(Information|Warning|Confirm)$' 2>/dev/null | head -1); [[ -n $box ]]; }
no_message_box() { ! xdotool search --name '^(Information|Warning|Confirm)$' >/dev/null 2>&1; }
focused() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]]; }
# A menu is open: the program shows a second window, the menu's popup.
menu_open() { (($(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l) > 1)); }
ended() { ! kill -0 "$pid" 2>/dev/null; }

# Answers the next message box (its title is its kind) with a key once it has the
# keyboard, and waits for it to go.
answer() {
    eventually message_box || fail "no message box for: $2"
    eventually focused "$box" || fail "the message box for $2 never had the keyboard"
    xdotool key "$1"
    eventually no_message_box || fail "the message box stayed: $2"
}

# Opens the menu of mnemonic $1 (with Alt) and chooses its item of mnemonic $2.
choose() {
    xdotool key "alt+$1"
    eventually menu_open || fail "alt+$1 opened no menu"
    xdotool key "$2"
}

# Starts hexmoor with a program, answers the power-on dialog and starts the run with Run >
# Start once the window has the keyboard (a click on the Running LED by its pixel place
# can miss while a slow start, under the sanitizers, still lays the window out).
start() {
    "$hexmoor" "$programs/$1.s19" &
    pid=$!
    eventually main_window || fail "no window"
    answer Return "PowerOn Reset"
    eventually focused "$window" || fail "the window never had the keyboard after the power-on dialog"
    choose r r
    answer Return "External Reset"
    eventually focused "$window" || fail "the window never had the keyboard back"
}

# File > Exit, Yes to the close query (asked only while the program runs or waits for
# input); the program must end by itself.
close_and_expect_exit() {
    choose f x
    answer y "the close query"
    eventually ended || fail "$1: the window did not close"
    wait "$pid" || fail "$1: exit status $?"
    pid=
}

# Keys typed while the program waits for them reach it: Terminal > Hard Copy shows their
# echo on the screen. The keys come before the menu's, so the echo is there by then.
start echo
xdotool type --delay 30 "hello"
choose t h
answer Return "the hard copy's PDF file"
copy=$(gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile=- ./*.pdf 2>&1 | head -1 | tr -d ' \t\r')
[[ $copy == hello ]] || fail "the screen's first row reads '$copy', not the typed 'hello'"
close_and_expect_exit "waiting for input"

# Closing while the program computes: the run ends, then the window closes.
start count_up
close_and_expect_exit "running"
echo "ok"
