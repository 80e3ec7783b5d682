# Shared set-up of the Wine session that runs the real program, sourced by
# e2e/run.sh (the end-to-end tests) and tools/run.sh (starting the program
# by hand). Bash only; it defines functions and sets nothing until called.
#
#   sq_env CACHE LOGS       exports the private HOME, WINEPREFIX (CACHE/home/
#                           prefix), LOCPATH (CACHE/locale), WINEDEBUG,
#                           WINEDLLOVERRIDES and LC_ALL=zh_CN.UTF-8; sets
#                           SQ_CACHE and SQ_LOGS for the functions below
#   sq_start_x              keeps a $DISPLAY that answers, otherwise starts an
#                           Xvfb on the first free display from :90 on, exports
#                           DISPLAY and sets SQ_XVFB_PID (empty when none was
#                           started); the Xvfb ignores SIGHUP
#   sq_make_locale          builds the private zh_CN.UTF-8 locale once
#   sq_make_prefix          builds the Wine prefix once (marked by prefix.ok)
#   sq_make_work BUILD WORK a fresh working directory WORK with the program,
#                           the hook library, the probe when built, and the
#                           data files of e2e/data
#   sq_desktop              the virtual desktop's name ("sq")
#
# Why each step is needed (measured with Wine 8 on Debian):
#  - LC_ALL=zh_CN.UTF-8 gives Wine the ANSI code page 936 the program uses.
#    The machine has no zh_CN locale; without one Wine cannot open files with
#    Chinese names and xdotool drops Chinese characters, hence LOCPATH.
#  - A private HOME and prefix keep Wine away from the real home; the user
#    folders of a new prefix are symlinks into HOME and are made real folders
#    so that shortcuts stay inside the prefix.
#  - The prefix's default desktop is the virtual desktop "sq" (HKCU\Software\
#    Wine\Explorer "Desktop"), so a plain `wine prog.exe` lands in the same
#    desktop as the program: FindWindow only sees windows of its own desktop,
#    and low-level hooks only get xdotool's input inside a virtual desktop.

SQ_ENV_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
SQ_DESKTOP=sq

sq_desktop() { echo "$SQ_DESKTOP"; }

sq_env() {
  SQ_CACHE=$1
  SQ_LOGS=$2
  mkdir -p "$SQ_CACHE" "$SQ_LOGS"
  export HOME="$SQ_CACHE/home"
  export WINEPREFIX="$HOME/prefix"
  export WINEDEBUG=-all
  export LOCPATH="$SQ_CACHE/locale"
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mshtml="
  # Carried into the Windows world as the locale of every program (bash
  # itself cannot load it before LOCPATH's locale exists, hence the silenced
  # warning).
  { export LC_ALL=zh_CN.UTF-8; } 2>/dev/null
}

sq_start_x() {
  SQ_XVFB_PID=""
  if [ -n "${DISPLAY:-}" ] && timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1; then
    return 0
  fi
  local n i
  for n in $(seq 90 130); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    (trap '' HUP; exec Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp) >"$SQ_LOGS/xvfb.log" 2>&1 &
    SQ_XVFB_PID=$!
    export DISPLAY=":$n"
    for i in $(seq 1 50); do
      timeout 2 xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
      kill -0 "$SQ_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$SQ_XVFB_PID" 2>/dev/null
    SQ_XVFB_PID=""
  done
  echo "no X server could be started" >&2
  return 1
}

sq_make_locale() {
  if [ ! -f "$SQ_CACHE/locale/zh_CN.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$SQ_CACHE/locale"
    localedef -i zh_CN -f UTF-8 "$SQ_CACHE/locale/zh_CN.UTF-8" >"$SQ_LOGS/localedef.log" 2>&1
  fi
  [ -f "$SQ_CACHE/locale/zh_CN.UTF-8/LC_CTYPE" ]
}

sq_make_prefix() {
  if [ -f "$SQ_CACHE/prefix.ok" ] && [ -f "$WINEPREFIX/system.reg" ]; then return 0; fi
  rm -rf "$SQ_CACHE/home" "$SQ_CACHE/prefix.ok"
  mkdir -p "$HOME"
  timeout 180 wineboot -i >"$SQ_LOGS/wineboot.log" 2>&1
  timeout 120 wineserver -w
  cat >"$SQ_CACHE/desktop.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="$SQ_DESKTOP"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"$SQ_DESKTOP"="1024x768"
EOF
  timeout 60 wine regedit /S "$SQ_CACHE/desktop.reg" >>"$SQ_LOGS/wineboot.log" 2>&1
  timeout 60 wineserver -w
  local d
  for d in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$d" ]; then rm -f "$d" && mkdir -p "$d"; fi
  done
  [ -f "$WINEPREFIX/system.reg" ] && touch "$SQ_CACHE/prefix.ok"
}

sq_make_work() {
  local build=$1 work=$2 f
  rm -rf "$work"
  mkdir -p "$work"
  cp "$build/Sipquill.exe" "$build/dovahk1.dll" "$work/" || return 1
  [ -f "$build/sqprobe.exe" ] && cp "$build/sqprobe.exe" "$work/"
  for f in "$SQ_ENV_DIR"/data/*; do
    [ -e "$f" ] || continue
    case "$f" in
      # Text data is kept as UTF-8 with LF in the repository; the program
      # reads GBK with CR LF.
      *.txt | *.ini) iconv -f UTF-8 -t GBK "$f" | LC_ALL=C sed 's/$/\r/' >"$work/$(basename "$f")" ;;
      *) cp -r "$f" "$work/" ;;
    esac
  done
}
