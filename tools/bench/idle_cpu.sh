#!/usr/bin/env bash
# Measures the processor time the desktop host uses while the game sits idle:
# starts a virtual X display (Xvfb), opens the game in it, lets start-up
# settle, then reads the process's user and system time from /proc/PID/stat
# before and after an idle period and prints the difference.
#
# Usage: tools/bench/idle_cpu.sh [BUILD_DIR] [IDLE_SECONDS]
#   BUILD_DIR defaults to build/dev, IDLE_SECONDS to 10.
# Prints lines "name value"; exits 1 when the game did not stay up.
set -euo pipefail

here="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$here/build/dev}"
idle="${2:-10}"
settle=3
host="$build/bin/nonogram"

[ -x "$host" ] || { echo "no desktop host at $host (build it first)" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "Xvfb is missing (apt-get install xvfb)" >&2; exit 1; }

work="$(mktemp -d)"
xvfb_pid=""
game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to the given descriptor;
# -noreset keeps it from resetting (and refusing clients) between clients.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1080x1920x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
display=":$(head -n1 "$work/display")"

DISPLAY="$display" XDG_DATA_HOME="$work/data" "$host" >"$work/game.log" 2>&1 &
game_pid=$!

# Processor time of a process in clock ticks: fields 14 (utime) and 15 (stime)
# of /proc/PID/stat, counted after the command name's closing parenthesis.
ticks() {
    local stat
    stat="$(cat "/proc/$1/stat")" || return 1
    stat="${stat##*) }"
    # shellcheck disable=SC2086
    set -- $stat
    echo $((${12} + ${13}))
}

sleep "$settle"
kill -0 "$game_pid" 2>/dev/null || { echo "the game ended during start-up:" >&2; cat "$work/game.log" >&2; exit 1; }
hz="$(getconf CLK_TCK)"
before="$(ticks "$game_pid")"
start_ns="$(date +%s%N)"
sleep "$idle"
after="$(ticks "$game_pid")"
end_ns="$(date +%s%N)"
kill -0 "$game_pid" 2>/dev/null || { echo "the game ended while idle" >&2; exit 1; }

used=$((after - before))
awk -v used="$used" -v hz="$hz" -v ns=$((end_ns - start_ns)) -v start="$before" 'BEGIN {
    printf "idle_wall_seconds %.2f\n", ns / 1e9
    printf "startup_cpu_seconds %.3f\n", start / hz
    printf "idle_cpu_seconds %.3f\n", used / hz
    printf "idle_cpu_percent %.3f\n", 100 * (used / hz) / (ns / 1e9)
}'
