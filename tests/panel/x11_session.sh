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

# The debugger's windows: a breakpoint set by a click in the Code window's margin stops the
# run there (the title says so), Run goes on past it, and the counter the loop increments
# changes in the Memory window.
tool_window() { tool=$(xdotool search --name "^$1\$" 2>/dev/null | head -1); [[ -n $tool ]]; }
title_says() { xdotool search --name "$1" >/dev/null 2>&1; }
picture() { xwd -silent -id "$1" | md5sum; }
# Opens Debug > $2 (mnemonic $1) from the main window, puts its window at $3 $4, clear of
# the others, and waits for it to have the keyboard.
open_tool() {
    xdotool windowraise "$window" windowfocus --sync "$window" 2>/dev/null; eventually focused "$window" || fail "no keyboard for the main window"
    choose d "$1"
    eventually tool_window "$2" || fail "Debug > $2 opened no window"
    xdotool windowmove --sync "$tool" "$3" "$4"
    eventually focused "$tool" || fail "the $2 window never had the keyboard"
}
run_from_menu() {
    xdotool windowraise "$window" windowfocus --sync "$window" 2>/dev/null; eventually focused "$window" || fail "no keyboard for the main window"
    choose r r
}
"$hexmoor" "$programs/debug_target.elf" &
pid=$!
eventually main_window || fail "no window"
answer Return "PowerOn Reset"
for view in "m Memory 700 0" "h History 1300 0" "b Breakpoints 0 600" "c Code 700 600"; do open_tool $view; done
# The Code window's go-to field has the keyboard: the loop's first line goes to the top.
xdotool type --delay 30 "loop"
xdotool key Return
xdotool mousemove --window "$tool" 6 6 click 1
run_from_menu
answer Return "External Reset"
eventually title_says "breakpoint at .*(loop)" || fail "the run did not stop at the margin's breakpoint"
open_tool m Memory 700 0
xdotool type --delay 30 "count"
xdotool key Return
# The window has shown the count's row once two pictures a moment apart agree.
settled() { before=$(picture "$tool"); sleep 0.3; [[ $(picture "$tool") == "$before" ]]; }
eventually settled || fail "the Memory window never settled"
before=$(picture "$tool")
run_from_menu
changed() { [[ $(picture "$tool") != "$before" ]]; }
eventually changed || fail "the Memory window showed no change after going on past the breakpoint"
eventually title_says "breakpoint at .*(loop)" || fail "going on did not stop at the breakpoint again"
choose f x  # stopped: no close query
eventually ended || fail "the window did not close while stopped at a breakpoint"
wait "$pid" || fail "exit status $? after a stop at a breakpoint"

# Source: a file with errors shows one dialog and loads nothing. A file that assembles
# loads; a click in the Source window's margin on a line sets a breakpoint that stops the
# run there, and a step moves PC's mark in that window.
printf '        ORG $2000\n        LDAA #$100\n' > bad.asm
"$hexmoor" bad.asm &
pid=$!
eventually main_window || fail "no window"
# The power-on dialog, and right behind it the dialog of the errors.
eventually message_box || fail "no message box for: PowerOn Reset"
power_on=$box
eventually focused "$power_on" || fail "the PowerOn Reset box never had the keyboard"
xdotool key Return
error_box() { box=$(xdotool search --name '^Warning$' 2>/dev/null | head -1); [[ -n $box && $box != "$power_on" ]]; }
eventually error_box || fail "no dialog for the errors of bad.asm"
answer Return "the errors of bad.asm"
choose f x
eventually ended || fail "the window did not close after a source with errors"
wait "$pid" || fail "exit status $? after a source with errors"
printf '        ORG $2000\nloop    INC $40\n        BRA loop\n        ORG $FFFE\n        FDB loop\n' > counter.asm
"$hexmoor" counter.asm &
pid=$!
eventually main_window || fail "no window"
answer Return "PowerOn Reset"
open_tool s Source 700 0
# Line 2's margin: the text starts at the window's top left, a row about 13 pixels high.
xdotool mousemove --window "$tool" 6 21 click 1
run_from_menu
answer Return "External Reset"
eventually title_says "breakpoint at .*(loop)" || fail "the run did not stop at the Source window's breakpoint"
eventually settled || fail "the Source window never settled"
before=$(picture "$tool")
xdotool key F10
eventually changed || fail "a step did not move PC's mark in the Source window"
choose f x
eventually ended || fail "the window did not close after the source run"
wait "$pid" || fail "exit status $? after the source run"
echo "ok"
