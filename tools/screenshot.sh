#!/usr/bin/env bash
# The README's picture: the program from its release folder under Wine, on
# a fresh 1024 x 768 Xvfb, with Notepad beside it: its settings panel and
# its tray menu, opened with the pointer as a user does. (Debian's Wine has
# no web engine: the hint bar at the bottom left stays blank.)
#
#   bash tools/screenshot.sh [BUILD] [PNG]    (default: the build tools/run.sh
#                                             uses, docs/screenshot.png)
#
# Needs ImageMagick's import and convert; the picture is reduced to 64
# colours to stay small.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=e2e/env.sh
. "$root/e2e/env.sh"
BUILD=$(sq_pick_build "$root" "${1:-}") || exit 1
PNG=${2:-$root/docs/screenshot.png}
ARCH=$(sq_pe_arch "$BUILD/Sipquill.exe") || { echo "no Windows program in $BUILD" >&2; exit 1; }
CACHE=$BUILD/shot-cache
LOGS=$BUILD/shot-logs
WORK=$BUILD/shot/Sipquill
rm -rf "$LOGS" "$BUILD/shot"
mkdir -p "$BUILD/shot"

bash "$root/tools/package.sh" "$BUILD" /nonexistent >/dev/null 2>&1
cp -r "$root/build/dist/win$ARCH/Sipquill" "$WORK" || exit 1
cp "$BUILD/sqprobe.exe" "$WORK/"
printf '轻松输入，轻松鼠标。\n双击 Alt 粘贴；右键按住片刻，命令条出现在鼠标旁。\n' |
  iconv -f UTF-8 -t GBK | sed 's/$/\r/' >"$WORK/示例.txt"

SQ_XVFB_PID=""
teardown() {
  timeout 10 wineserver -k >/dev/null 2>&1
  if [ -n "$SQ_XVFB_PID" ]; then kill "$SQ_XVFB_PID" 2>/dev/null; fi
}
trap teardown EXIT
unset DISPLAY
sq_env "$CACHE" "$LOGS" "$ARCH"
sq_start_x || exit 1
sq_make_locale || exit 1
sq_make_prefix || exit 1
timeout 10 wineserver -k >/dev/null 2>&1
probe() { (cd "$WORK" && timeout 30 wine sqprobe.exe "$@" 2>>"$LOGS/probe.log"); }

desktop="$(sq_desktop),1024x768"
(cd "$WORK" && exec wine explorer /desktop="$desktop" Sipquill.exe) >"$LOGS/program.log" 2>&1 &
for _ in $(seq 1 12); do
  [ "$(probe wait-exists Twheeltipform 5000)" = 1 ] && break
done
(cd "$WORK" && exec wine explorer /desktop="$desktop" notepad.exe 示例.txt) >"$LOGS/notepad.log" 2>&1 &
probe wait-exists Notepad 20000 >/dev/null
sleep 2
# The tray icon's menu (the program's main menu), opened by a right click
# on the icon at the right end of the task bar; its "设置" opens the
# settings panel; then the menu once more.
xdotool mousemove 1012 757
sleep 0.3
xdotool click 3
sleep 1.5
xdotool mousemove 880 627
sleep 0.3
xdotool click 1
sleep 1.5
xdotool mousemove 1012 757
sleep 0.3
xdotool click 3
sleep 1.5
import -display "$DISPLAY" -window root "$LOGS/shot.png" || exit 1
convert "$LOGS/shot.png" -colors 64 "PNG8:$PNG" || exit 1
echo "screenshot: $PNG ($(stat -c %s "$PNG") bytes)"
