#!/usr/bin/env bash
# hexmoor-run's typed input, from process start to exit (run after building):
#   lines typed       CPU seconds to echo 250,000, 1,000,000 and 4,000,000 piped lines, and
#                     how the time grows with the number of lines (1.0 is linear)
#   unread input      peak memory of a program that never reads, with `yes` piped in
#   waiting, pipe     CPU seconds and E cycles while a prompt waits 2 s for a late pipe
#   waiting, terminal the same at a terminal (a pseudo-terminal through script(1)), polling
#                     the status port (the wait goes at about the chip's 2,000,000 E cycles
#                     a second), reading the data port (the runner simply waits) and
#                     polling the serial port's SCSR for RDRF (as the status port)
#   answers, pipes    milliseconds from a line typed to the next prompt, through pipes read
#                     as the output comes, reading the data port (prompt) and polling the
#                     status port (prompt_poll): output must not wait to be flushed
set -euo pipefail
build="$(cd "$(dirname "$0")/.." && pwd)/build"
run="$build/src/hexmoor-run"
programs="$build/tests/programs"
cpu() { /usr/bin/time -f "%U %S" "$@" 2>&1 >/dev/null | tail -1 | awk '{ print $1 + $2 }'; }

declare -A seconds
for lines in 250000 1000000 4000000; do
    seconds[$lines]=$(cpu sh -c "yes x | head -n $lines | '$run' '$programs/echo.s19'")
    printf 'lines typed        %8d lines  %6.2f CPU s\n' "$lines" "${seconds[$lines]}"
done
awk -v a="${seconds[1000000]}" -v b="${seconds[4000000]}" \
    'BEGIN { printf "lines typed        4x the lines cost %.2fx the time: time grows as lines^%.2f\n", b / a, log(b / a) / log(4) }'

status=0
peak=$( { yes "an unread line" | /usr/bin/time -f "%M" "$run" --max-instructions 500000000 \
          "$programs/count_up.s19" >/dev/null; } 2>&1 | tail -1) || status=$?
printf 'unread input       %8d KiB peak memory\n' "$peak"

wait_figures() {  # CPU seconds (user + system) and the run's cycles
    awk '/^cycles:/ { cycles = $2 } /^[0-9.]+ [0-9.]+$/ { cpu = $1 + $2 } END { printf "%.2f CPU s, %d E cycles\n", cpu, cycles }'
}
printf 'waiting, pipe      2 s: %s\n' "$( { (sleep 2; printf 'ab.') | /usr/bin/time -f "%U %S" "$run" --stats \
    "$programs/prompt_poll.s19" >/dev/null; } 2>&1 | wait_figures)"
for program in prompt_poll keycodes sci_echo; do  # polling the status port; reading the data port; polling SCSR
    printf 'waiting, terminal  2 s, %-11s %s\n' "$program:" "$( (sleep 2; printf '\035') | /usr/bin/time -f "%U %S" \
        script -qec "'$run' --stats '$programs/$program.s19'" /dev/null 2>&1 | tr -d '\r' | wait_figures)"
done

# Types a line 200 times at a program's prompt, reading each answer up to the next prompt.
answer_time() {  # program, its prompt, what is typed, the answer up to the next prompt
    local reply start end count=200
    coproc runner { "$run" --max-instructions 2000000000 "$programs/$1.s19"; }
    IFS= read -r -N ${#2} reply <&"${runner[0]}"
    start=$(date +%s%N)
    for _ in $(seq $count); do
        printf '%b' "$3" >&"${runner[1]}"
        IFS= read -r -N ${#4} reply <&"${runner[0]}"
    done
    end=$(date +%s%N)
    printf '.' >&"${runner[1]}"
    exec {runner[1]}>&-
    wait "$runner_PID" || true
    [[ $reply == "$4" ]] || { echo "answers, pipes: $1 answered '$reply'" >&2; return 1; }
    awk -v ns=$((end - start)) -v n=$count 'BEGIN { printf "%.2f ms per answer", ns / n / 1e6 }'
}
printf 'answers, pipes     prompt:      %s\n' "$(answer_time prompt 'name? ' 'bob\n' $'bob\r\nname? ')"
printf 'answers, pipes     prompt_poll: %s\n' "$(answer_time prompt_poll 'key? ' x '[x]key? ')"
