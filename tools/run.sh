#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine, with Wine's Notepad
# beside it, in the virtual desktop "sq"; then returns.
#
#   bash tools/run.sh          build, start (stopping an earlier session first),
#                              print the display, the pids and the stop command
#   bash tools/run.sh stop     stop the session: wineserver -k for its prefix,
#                              then the Xvfb this script started, if any
#
# The session uses the same set-up as the end-to-end tests (e2e/env.sh): a
# private zh_CN locale, HOME and Wine prefix, but its own copies under
# build/win32/run/ (cache/, work/, logs/), so it never shares a wineserver
# with a test run. The program runs in build/win32/run/work, prepared like the
# tests' working directory: the release folder as the zip lays it out, with
# the probe beside the program. An X server that answers in $DISPLAY is used; otherwise
# a fresh Xvfb is started (watch it with `x11vnc -display :N` or take shots
# with `import -display :N -window root shot.png`).
# The 32-bit build (build/win32) runs where the machine runs 32-bit programs,
# otherwise the 64-bit one (build/win64) on 64-bit Wine; SQ_FORCE_WIN64=1
# takes the 64-bit one anywhere. SQ_RUN_BUILD moves the build directory.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)

# shellcheck source=e2e/env.sh
. "$root/e2e/env.sh"

if [ "${1:-}" != stop ]; then
  bash "$root/tools/setup.sh" || exit 1
fi
if sq_can_run_32; then
  ARCH=32 TOOLCHAIN=i686 BUILD=${SQ_RUN_BUILD:-$root/build/win32}
  WHY="the 32-bit build"
else
  ARCH=64 TOOLCHAIN=x86_64 BUILD=${SQ_RUN_BUILD:-$root/build/win64}
  if [ "${SQ_FORCE_WIN64:-}" = 1 ]; then
    WHY="the 64-bit build (SQ_FORCE_WIN64=1)"
  else
    WHY="the 64-bit build (32-bit programs cannot run on this machine)"
  fi
fi
STATE=$BUILD/run

stop_session() {
  [ -d "$STATE" ] || return 0
  local prefix pid
  for prefix in "$STATE/cache/home/prefix" "$STATE/cache/home/prefix-win64"; do
    if [ -d "$prefix" ]; then
      WINEPREFIX=$prefix timeout 10 wineserver -k >/dev/null 2>&1
    fi
  done
  if [ -f "$STATE/xvfb.pid" ]; then
    pid=$(cat "$STATE/xvfb.pid")
    # Only the Xvfb this script started: the pid may have been reused.
    if [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then
      kill "$pid" 2>/dev/null
      local i
      for i in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
      done
    fi
  fi
  rm -f "$STATE/xvfb.pid" "$STATE/program.pid" "$STATE/notepad.pid" "$STATE/display"
}

if [ "${1:-}" = stop ]; then
  # Whichever build was started.
  for STATE in "${SQ_RUN_BUILD:-$root/build/win32}/run" "${SQ_RUN_BUILD:-$root/build/win64}/run"; do
    stop_session
  done
  echo "stopped"
  exit 0
fi
if [ $# -gt 0 ]; then
  echo "usage: $0 [stop]" >&2
  exit 2
fi

echo "Building and starting $WHY in $BUILD."
cmake -S "$root" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$TOOLCHAIN.cmake" >/dev/null || exit 1
cmake --build "$BUILD" -j2 || exit 1

stop_session
mkdir -p "$STATE"
sq_env "$STATE/cache" "$STATE/logs" "$ARCH"
WORK=$STATE/work
sq_start_x || exit 1
[ -n "$SQ_XVFB_PID" ] && echo "$SQ_XVFB_PID" >"$STATE/xvfb.pid"
echo "$DISPLAY" >"$STATE/display"
sq_make_locale || { echo "locale build failed, see $SQ_LOGS/localedef.log" >&2; stop_session; exit 1; }
sq_make_prefix || { echo "prefix build failed, see $SQ_LOGS/wineboot.log" >&2; stop_session; exit 1; }
sq_make_work "$BUILD" "$WORK" || { stop_session; exit 1; }

# The Unix pids of the Windows processes of this session's prefix (the
# launchers above may already have handed over to the desktop's explorer).
prefix_pids() {
  local pid out=""
  for pid in $(pgrep -x "$1"); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && out="$out $pid"
  done
  echo "${out# }"
}

# Detached from this shell: the programs outlive it and ignore its hang-up.
desktop="$(sq_desktop),1024x768"
(trap '' HUP; cd "$WORK" && exec wine explorer /desktop="$desktop" Sipquill.exe) \
  >"$SQ_LOGS/program.log" 2>&1 </dev/null &
echo $! >"$STATE/program.pid"

# Bounded wait for the last window of the start-up (a Wine program started
# right after the server takes a few seconds the first time).
state="did not finish within 60 s (see $SQ_LOGS/program.log)"
if [ -f "$WORK/sqprobe.exe" ]; then
  for _ in $(seq 1 12); do
    if [ "$(cd "$WORK" && timeout 30 wine sqprobe.exe wait-exists Twheeltipform 5000 2>/dev/null)" = 1 ]; then
      state="finished"
      break
    fi
    if [ "$(cd "$WORK" && timeout 30 wine sqprobe.exe exists '#32770' 2>/dev/null)" = 1 ]; then
      state="stopped at a message box: $(cd "$WORK" && timeout 30 wine sqprobe.exe dialog 2>/dev/null | tr '\n' '|')"
      break
    fi
  done
else
  state="not checked (no sqprobe.exe in the build)"
  sleep 3
fi

# Notepad only after the start-up: the program's creation synthesises
# Ctrl+Space (the input-method toggle), which would otherwise land in it.
(trap '' HUP; cd "$WORK" && exec wine explorer /desktop="$desktop" notepad.exe) \
  >"$SQ_LOGS/notepad.log" 2>&1 </dev/null &
echo $! >"$STATE/notepad.pid"
notepad="$(prefix_pids notepad.exe)"
for _ in $(seq 1 100); do
  [ -n "$notepad" ] && break
  sleep 0.1
  notepad="$(prefix_pids notepad.exe)"
done

echo "Sipquill ($WHY) runs under Wine in the virtual desktop \"$(sq_desktop)\"; start-up $state."
echo "  display:      $DISPLAY${SQ_XVFB_PID:+ (Xvfb pid $SQ_XVFB_PID, started by this script)}"
echo "  Sipquill.exe: pid $(prefix_pids Sipquill.exe) (launcher pid $(cat "$STATE/program.pid"))"
echo "  notepad.exe:  pid ${notepad:-?} (launcher pid $(cat "$STATE/notepad.pid"))"
echo "  working dir:  $WORK"
echo "  logs:         $SQ_LOGS"
echo "  Wine prefix:  $WINEPREFIX"
echo "stop it with:   bash $root/tools/run.sh stop"
