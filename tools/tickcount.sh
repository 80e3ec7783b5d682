#!/usr/bin/env bash
# Counts what the real program asks of the system per timer handler, at
# idle and under key taps: runs it from its release folder in a Wine
# session whose server traces every request, with the backend's tick marks
# on (SQ_TICK_MARKS), then counts with tools/tickcount.py. Counts, unlike
# timings, do not move with the machine's load.
#
#   bash tools/tickcount.sh [BUILD] [OUT]
#
# BUILD: a Windows build (default as tools/cost.sh picks it); OUT: the
# folder for the trace and the two tables (default BUILD/tickcount):
# idle.txt (SQ_COUNT_IDLE_S seconds, default 10) and taps.txt
# (SQ_COUNT_TAPS key taps of x, 60 ms down and 60 ms up, default 50), and
# the same as markdown tables (idle.md, taps.md), and when each form was
# made at start-up (startup.md; the trace slows the start-up a little).
# Ends with two checks of the counts (tools/tickcount.py --check-idle and
# --check-taps) and exits 1 when one fails; counts do not move with the
# machine's load, so this part of the guard has no noise.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=e2e/env.sh
. "$root/e2e/env.sh"
BUILD=$(sq_pick_build "$root" "${1:-}") || exit 1
OUT=${2:-$BUILD/tickcount}
IDLE_S=${SQ_COUNT_IDLE_S:-10}
TAPS=${SQ_COUNT_TAPS:-50}
ARCH=$(sq_pe_arch "$BUILD/Sipquill.exe") || { echo "no Windows program in $BUILD" >&2; exit 1; }
mkdir -p "$OUT"
WORK=$OUT/Sipquill
sq_make_work "$BUILD" "$WORK" || exit 1

SQ_XVFB_PID=""
SERVER_PID=""
teardown() {
  timeout 10 wineserver -k >/dev/null 2>&1
  [ -n "$SERVER_PID" ] && kill "$SERVER_PID" 2>/dev/null
  [ -n "$SQ_XVFB_PID" ] && kill "$SQ_XVFB_PID" 2>/dev/null
}
trap teardown EXIT
# A prefix of its own, so that it may run beside tools/cost.sh.
sq_env "$BUILD/count-cache" "$OUT/logs" "$ARCH"
sq_start_x || exit 1
sq_make_locale || exit 1
sq_make_prefix || exit 1
timeout 10 wineserver -k >/dev/null 2>&1
TRACE=$OUT/server.trace
# The server in the foreground of its own job, tracing every request.
server=$(command -v wineserver64 || command -v wineserver)
"$server" -f -d1 2>"$TRACE" &
SERVER_PID=$!
sleep 1
probe() { (cd "$WORK" && timeout 90 wine sqprobe.exe "$@" 2>>"$OUT/logs/probe.log"); }
(cd "$WORK" && SQ_TICK_MARKS=1 exec timeout $((IDLE_S + TAPS + 180)) wine Sipquill.exe) \
  >>"$OUT/logs/program.log" 2>&1 &
probe wait-exists Twheeltipform 120000 >/dev/null || { echo "tickcount: the program did not start" >&2; exit 1; }
# The taps go to Notepad, where a user types (the program just started has
# the focus itself).
(cd "$WORK" && exec timeout $((IDLE_S + TAPS + 180)) wine notepad.exe) >/dev/null 2>&1 &
probe wait-exists Notepad 60000 >/dev/null || { echo "tickcount: Notepad did not start" >&2; exit 1; }
xdotool mousemove 700 500
sleep 5
a=$(wc -l <"$TRACE")
sleep "$IDLE_S"
b=$(wc -l <"$TRACE")
probe focus Notepad >/dev/null
keys=()
for i in $(seq 1 "$TAPS"); do keys+=(keydown x sleep 0.06 keyup x sleep 0.06); done
xdotool "${keys[@]}"
sleep 1
c=$(wc -l <"$TRACE")
probe close TFormMain >/dev/null
python3 "$root/tools/tickcount.py" "$TRACE" --lines "$a:$b" >"$OUT/idle.txt"
python3 "$root/tools/tickcount.py" "$TRACE" --lines "$a:$b" --markdown >"$OUT/idle.md"
python3 "$root/tools/tickcount.py" "$TRACE" --lines "$b:$c" >"$OUT/taps.txt"
python3 "$root/tools/tickcount.py" "$TRACE" --lines "$b:$c" --markdown >"$OUT/taps.md"
python3 "$root/tools/tickcount.py" "$TRACE" --startup >"$OUT/startup.md"
echo "idle ${IDLE_S} s:"
cat "$OUT/idle.txt"
echo
echo "${TAPS} key taps:"
cat "$OUT/taps.txt"
echo
# What an idle tick and a tick under taps may ask of the system
# (tools/tickcount.py --check-idle, --check-taps): the exit status is 1
# when either fails.
status=0
python3 "$root/tools/tickcount.py" "$TRACE" --lines "$a:$b" --check-idle --seconds "$IDLE_S" || status=1
python3 "$root/tools/tickcount.py" "$TRACE" --lines "$b:$c" --check-taps || status=1
exit "$status"
