#!/usr/bin/env bash
# End-to-end tests of the real program under Wine.
#
#   e2e/run.sh <windows-build-dir>      (a cross build holding Sipquill.exe,
#                                        dovahk1.dll and sqprobe.exe, 32- or
#                                        64-bit: the program's header decides
#                                        which Wine runs it)
#   SQ_E2E_ONLY="t_start t_alt_tap" e2e/run.sh DIR    runs the named checks
#                                        only, each after its suite's set-up
#   SQ_E2E_SUITES="30-drag 31-tips" e2e/run.sh DIR   runs those suites only
#   SQ_E2E_ORDER=reverse e2e/run.sh DIR the suites in reverse name order
#   SQ_E2E_DPI=144 e2e/run.sh DIR       the display at 144 DPI (Wine's
#                                        LogPixels) in a prefix of its own
#                                        (DIR/e2e-cache-dpi144); sizes and
#                                        offsets the checks expect scale;
#                                        the checks of DPI_FREE are left to
#                                        the run at 96
#   e2e/all.sh runs it on every Wine the machine can run.
#
# One session: an X server (Xvfb unless $DISPLAY answers), a private zh_CN
# locale, a private HOME and Wine prefix (cached under DIR/e2e-cache and
# rebuilt when missing; the set-up is shared with tools/run.sh in
# e2e/env.sh), one Wine virtual desktop "sq" with the program and Wine's
# Notepad in it. xdotool drives real input; sqprobe.exe, run in the same
# desktop, reads window state, and starts further copies of the program when
# a test needs their exit code. Every wait is bounded.
#
# This file is the runner: the session, then the suites. The checks live in
# e2e/suites/ (one file a feature, each started from a known state: a fresh
# program from a fresh release folder, see suite_start), the helpers and the
# run loop in e2e/lib.sh.
#
# Measured here (Wine 8, two cores), see also docs/wine-harness.md:
#  - building the prefix: about 15 s the first time; cached afterwards.
#    A program restart (a suite's set-up) about 3-5 s.
#  - a probe call costs 0.07-0.2 s; the first Wine program after a
#    wineserver start about 1-4 s.
#  - the prefix's default desktop is set to the virtual desktop "sq" in
#    HKCU\Software\Wine\Explorer, so a plain `wine sqprobe.exe` lands in the
#    program's desktop (FindWindow only sees windows of its own desktop) and
#    keeps a usable stdout, which `wine explorer /desktop=...` does not.
#  - xdotool keys reach the low-level hooks with no X focus set: the X
#    server reports PointerRoot, Wine's desktop window takes the keys.
#  - the hook posts each word, the GUI thread writes them in order, each
#    once the caption's reader has read the one before (docs/hook-words.md);
#    most tests tap keys with >= 100 ms between the edges, as a person does,
#    t_quick_copies and t_quick_alt_paste much faster.
set -u

if [ $# -lt 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 <windows-build-dir>" >&2
  exit 2
fi
BUILD=$(cd "$1" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
# The display's DPI. Anything but 96 gets its own cached prefix, so the
# setting never reaches the runs at 96.
DPI=${SQ_E2E_DPI:-96}
case "$DPI" in
  96) CACHE=${SQ_E2E_CACHE:-$BUILD/e2e-cache} ;;
  *[!0-9]* | '') echo "SQ_E2E_DPI must be a number" >&2; exit 2 ;;
  *) CACHE=${SQ_E2E_CACHE:-$BUILD/e2e-cache-dpi$DPI} ;;
esac
WORK=$BUILD/e2e-work
LOGS=$BUILD/e2e-logs
SUITE_START=$(date +%s)

for f in Sipquill.exe dovahk1.dll sqprobe.exe; do
  if [ ! -f "$BUILD/$f" ]; then
    echo "missing $BUILD/$f: build the Windows targets first" >&2
    echo "0 passed, 1 failed"
    exit 1
  fi
done

# ------------------------------------------------------------------ session

# shellcheck source=e2e/env.sh
. "$HERE/env.sh"
# shellcheck source=e2e/lib.sh
. "$HERE/lib.sh"

ARCH=$(sq_pe_arch "$BUILD/Sipquill.exe")
if [ -z "$ARCH" ]; then
  echo "$BUILD/Sipquill.exe is not a Windows program" >&2
  echo "0 passed, 1 failed"
  exit 1
fi
if [ "$ARCH" = 32 ] && ! sq_can_run_32; then
  echo "32-bit programs cannot run on this machine: the 32-bit build was not run end to end" >&2
  echo "0 passed, 1 failed"
  exit 1
fi
echo "end to end: the ${ARCH}-bit build in $BUILD on ${ARCH}-bit Wine" >&2

SQ_XVFB_PID=""
teardown() {
  timeout 10 wineserver -k >/dev/null 2>&1
  if [ -n "$SQ_XVFB_PID" ]; then kill "$SQ_XVFB_PID" 2>/dev/null; fi
}
trap teardown EXIT

sq_env "$CACHE" "$LOGS" "$ARCH"
: >"$LOGS/times.txt"
: >"$LOGS/program.log"
rm -rf "$LOGS/shots"
DESKTOP=$(sq_desktop)
sq_start_x || { echo "0 passed, 1 failed"; exit 1; }
sq_make_locale || { echo "locale build failed, see $LOGS/localedef.log" >&2; echo "0 passed, 1 failed"; exit 1; }
sq_make_prefix || { echo "prefix build failed, see $LOGS/wineboot.log" >&2; echo "0 passed, 1 failed"; exit 1; }
if [ "$DPI" != 96 ]; then
  timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f \
    >>"$LOGS/wineboot.log" 2>&1
  timeout 60 wineserver -w
fi
echo "display at $DPI DPI" >&2
timeout 10 wineserver -k >/dev/null 2>&1
# The release folder as the zip lays it out, laid out once; every suite's
# program starts from a fresh copy of it in WORK.
RELEASE=$BUILD/e2e-release
sq_make_work "$BUILD" "$RELEASE" || { echo "the release folder could not be laid out" >&2; echo "0 passed, 1 failed"; exit 1; }
fresh_work
# The working directory as the program sees it (Wine maps / to Z:).
WORK_WIN=$(winepath -w "$WORK" 2>/dev/null)
# An earlier run that did not end in an orderly exit may have left the
# easy-open verb in the cached prefix; start from a registry without it so
# that the checks see what this run's program wrote.
timeout 30 wine reg delete 'HKCR\*\shell\轻松打开' /f >/dev/null 2>&1

# Checks whose every figure is the same at any display scale (keys, the
# clipboard, files, the hook's words): the run at another DPI leaves them
# to the run at 96. A suite adds its own to DPI_FREE.
DPI_FREE=""

# ------------------------------------------------------------------ run

load_suites
run_suites

echo "suite took $(( $(date +%s) - SUITE_START )) s; logs in $LOGS; the slowest checks:" >&2
grep '^time ' "$LOGS/times.txt" | sort -k3 -n -r | head -n 6 | sed 's/^time /  /' >&2
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
