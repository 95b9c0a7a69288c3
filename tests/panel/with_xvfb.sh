#!/bin/bash
# Runs a command on an X server of its own, then ends the server and waits for it to go.
# Xvfb picks a free display itself and names it once it accepts connections; it does not
# reset when its last client goes, which would refuse a program started just then (as a
# second program started after the first has closed).
#   with_xvfb.sh SCREEN COMMAND...    SCREEN: width x height x depth, as 1024x768x24
set -u
screen=$1
shift
display=$(mktemp)
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$display" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$display"' EXIT
trap 'exit 1' INT TERM
for _ in $(seq 600); do  # a minute: only a hang takes longer
    [[ -s $display ]] && break  # written in one piece
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
[[ -s $display ]] || { echo "with_xvfb.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(<"$display") "$@"
