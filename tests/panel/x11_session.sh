#!/bin/bash
# The desktop program on a real X server, driven by real X input: started with a program,
# Run clicked, keys typed while the program waits for them, and the window closed through
# File > Exit while the program runs. Run inside xvfb-run (a server without a window
# manager).
#   x11_session.sh HEXMOOR PROGRAMS_DIR
set -u
hexmoor=$1
programs=$2
fail() { echo "FAIL: $*" >&2; [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null; exit 1; }

# CPU seconds (user + system) the process has used so far.
cpu_seconds() { awk '{ printf "%.2f", ($14 + $15) / '"$(getconf CLK_TCK)"' }' "/proc/$1/stat"; }

# Waits up to ten seconds for a message box (its title is its kind), then answers it with
# a key and waits for it to go; a loaded machine may be slow to show or close one.
answer() {
    local box=
    for _ in $(seq 100); do
        box=$(xdotool search --name '^(Information|Warning|Confirm)$' 2>/dev/null | head -1)
        [[ -n $box ]] && break
        sleep 0.1
    done
    [[ -n $box ]] || fail "no message box for: $2"
    sleep 0.2
    xdotool key "$1"
    for _ in $(seq 100); do
        xdotool search --name '^(Information|Warning|Confirm)$' >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the message box stayed: $2"
}

# Starts hexmoor with a program, answers the power-on dialog and clicks Run.
start() {
    "$hexmoor" "$programs/$1.s19" &
    pid=$!
    for _ in $(seq 50); do
        window=$(xdotool search --name "Hexmoor a 68HC11F1" 2>/dev/null | head -1)
        [[ -n $window ]] && break
        sleep 0.1
    done
    [[ -n $window ]] || fail "no window"
    answer Return "PowerOn Reset"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    local menu=$((HEIGHT - 434))
    xdotool mousemove $((X + 64 + 7)) $((Y + menu + 208 + 17)) click 1  # the Running LED
    answer Return "External Reset"
}

# File > Exit (by its mnemonics), Yes to the close query; the program must end by itself.
close_and_expect_exit() {
    xdotool key alt+f
    sleep 0.5
    xdotool key x
    answer y "the close query"
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "$1: the window did not close"
    wait "$pid" || fail "$1: exit status $?"
    pid=
}

# A program waiting for a key uses no CPU; typed keys reach it.
start echo
before=$(cpu_seconds "$pid")
sleep 2
after=$(cpu_seconds "$pid")
awk -v a="$before" -v b="$after" 'BEGIN { exit !(b - a < 0.1) }' ||
    fail "waiting for a key used $before..$after CPU seconds in 2 s"
xdotool type --delay 30 "hello"
sleep 0.5
close_and_expect_exit "waiting for input"

# Closing while the program computes: the run ends, then the window closes.
start count_up
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the run ended by itself"
close_and_expect_exit "running"
echo "ok"
