#!/usr/bin/env bash
# End-to-end tests of the real program under Wine.
#
#   e2e/run.sh <win32-build-dir>        (the cross build holding Sipquill.exe,
#                                        dovahk1.dll and sqprobe.exe)
#   SQ_E2E_ONLY="t_start t_alt_tap" e2e/run.sh DIR    runs the named tests only
#
# One session: an X server (Xvfb unless $DISPLAY answers), a private zh_CN
# locale, a private HOME and Wine prefix (cached under DIR/e2e-cache and
# rebuilt when missing), one Wine virtual desktop "sq" with the program and
# Wine's Notepad in it. xdotool drives real input; sqprobe.exe, run in the
# same desktop, reads window state. Every wait is bounded.
#
# Measured here (Wine 8, two cores), see also docs/wine-harness.md:
#  - building the prefix: about 15 s the first time; cached afterwards.
#  - a probe call costs 0.07-0.2 s; the first Wine program after a
#    wineserver start about 1-4 s.
#  - the prefix's default desktop is set to the virtual desktop "sq" in
#    HKCU\Software\Wine\Explorer, so a plain `wine sqprobe.exe` lands in the
#    program's desktop (FindWindow only sees windows of its own desktop) and
#    keeps a usable stdout, which `wine explorer /desktop=...` does not.
#  - xdotool keys reach the low-level hooks with no X focus set: the X
#    server reports PointerRoot, Wine's desktop window takes the keys.
#  - the hook posts each word, the GUI thread applies them in order and the
#    later word wins; the command bar samples its caption every 20 ms, so a
#    test taps keys with >= 100 ms between the edges, as a person does.
set -u

if [ $# -lt 1 ] || [ ! -d "$1" ]; then
  echo "usage: $0 <win32-build-dir>" >&2
  exit 2
fi
BUILD=$(cd "$1" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
CACHE=${SQ_E2E_CACHE:-$BUILD/e2e-cache}
WORK=$BUILD/e2e-work
LOGS=$BUILD/e2e-logs
DESKTOP=sq
SUITE_START=$(date +%s)

PASSED=0
FAILED=0
pass() { echo "PASS $1"; PASSED=$((PASSED + 1)); }
fail() { echo "FAIL $1${2:+ -- $2}"; FAILED=$((FAILED + 1)); }

for f in Sipquill.exe dovahk1.dll sqprobe.exe; do
  if [ ! -f "$BUILD/$f" ]; then
    echo "missing $BUILD/$f: build the Windows targets first" >&2
    echo "0 passed, 1 failed"
    exit 1
  fi
done

# ------------------------------------------------------------------ session

XVFB_PID=""
teardown() {
  timeout 10 wineserver -k >/dev/null 2>&1
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null; fi
}
trap teardown EXIT

start_x() {
  if [ -n "${DISPLAY:-}" ] && timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$LOGS/xvfb.log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      timeout 2 xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
  done
  echo "no X server could be started" >&2
  return 1
}

make_locale() {
  # Wine needs a zh_CN locale for code page 936, Chinese file names and
  # Chinese keys; the machine has none installed, so build a private one.
  if [ ! -f "$CACHE/locale/zh_CN.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$CACHE/locale"
    localedef -i zh_CN -f UTF-8 "$CACHE/locale/zh_CN.UTF-8" >"$LOGS/localedef.log" 2>&1
  fi
  [ -f "$CACHE/locale/zh_CN.UTF-8/LC_CTYPE" ]
}

make_prefix() {
  if [ -f "$CACHE/prefix.ok" ] && [ -f "$WINEPREFIX/system.reg" ]; then return 0; fi
  rm -rf "$CACHE/home" "$CACHE/prefix.ok"
  mkdir -p "$HOME"
  timeout 180 wineboot -i >"$LOGS/wineboot.log" 2>&1
  timeout 120 wineserver -w
  # Every program of the prefix starts in the virtual desktop "sq".
  cat >"$CACHE/desktop.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="sq"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"sq"="1024x768"
EOF
  timeout 60 wine regedit /S "$CACHE/desktop.reg" >>"$LOGS/wineboot.log" 2>&1
  timeout 60 wineserver -w
  # The user folders are symlinks into the real HOME: make them real
  # folders so shortcuts stay inside the prefix.
  local d
  for d in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$d" ]; then rm -f "$d" && mkdir -p "$d"; fi
  done
  [ -f "$WINEPREFIX/system.reg" ] && touch "$CACHE/prefix.ok"
}

make_work() {
  rm -rf "$WORK"
  mkdir -p "$WORK"
  cp "$BUILD/Sipquill.exe" "$BUILD/dovahk1.dll" "$BUILD/sqprobe.exe" "$WORK/"
  local f
  for f in "$HERE"/data/*; do
    [ -e "$f" ] || continue
    case "$f" in
      # Text data is kept as UTF-8 in the repository; the program reads GBK.
      *.txt | *.ini) iconv -f UTF-8 -t GBK "$f" | LC_ALL=C sed 's/$/\r/' >"$WORK/$(basename "$f")" ;;
      *) cp -r "$f" "$WORK/" ;;
    esac
  done
}

probe() { (cd "$WORK" && timeout 30 wine sqprobe.exe "$@" 2>>"$LOGS/probe.log"); }

start_program() {
  (cd "$WORK" && exec wine explorer /desktop=$DESKTOP,1024x768 Sipquill.exe) \
    >"$LOGS/program.log" 2>&1 &
  # The first Wine program after a server start takes a few seconds.
  local i
  for i in $(seq 1 12); do
    [ "$(probe wait-exists Twheeltipform 5000)" = 1 ] && return 0
    [ "$(probe exists '#32770')" = 1 ] && break
  done
  echo "start-up did not finish; message box: $(probe dialog | tr '\n' '|')" >&2
  return 1
}

start_notepad() {
  (cd "$WORK" && exec wine explorer /desktop=$DESKTOP,1024x768 notepad.exe) \
    >"$LOGS/notepad.log" 2>&1 &
  [ "$(probe wait-exists Notepad 20000)" = 1 ]
}

mkdir -p "$LOGS" "$CACHE"
export HOME="$CACHE/home"
export WINEPREFIX="$HOME/prefix"
export WINEDEBUG=-all
export LOCPATH="$CACHE/locale"
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mshtml="
# Carried into the Windows world as the desktop of every program.
# (bash itself cannot load it, hence the silenced warning).
{ export LC_ALL=zh_CN.UTF-8; } 2>/dev/null

start_x || { echo "0 passed, 1 failed"; exit 1; }
make_locale || { echo "locale build failed, see $LOGS/localedef.log" >&2; echo "0 passed, 1 failed"; exit 1; }
make_prefix || { echo "prefix build failed, see $LOGS/wineboot.log" >&2; echo "0 passed, 1 failed"; exit 1; }
timeout 10 wineserver -k >/dev/null 2>&1
make_work

# ------------------------------------------------------------------ checks

# expect NAME GOT WANT
expect() {
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1" "got '$2', want '$3'"; fi
}

# expect_in NAME GOT ONE_OF...
expect_in() {
  local name=$1 got=$2 w
  shift 2
  for w in "$@"; do
    if [ "$got" = "$w" ]; then pass "$name"; return; fi
  done
  fail "$name" "got '$got', want one of: $*"
}

# Waits (bounded) until the caption of CLASS reads TEXT.
expect_caption() {
  local got
  got=$(probe wait-caption "$2" "$3" "${4:-3000}")
  expect "$1" "$got" "$3"
}

tap() {  # tap KEY: a physical press and release, slow enough for the ticks
  xdotool keydown "$1"; sleep 0.12; xdotool keyup "$1"; sleep 0.12
}

# ------------------------------------------------------------------ tests

FORMS="TFormMain Tqirinputor Tqircom Tlifeform Tmousepp TqirForm4 TqirForm3
Twrpyreadpanel Tcaretinfo TForm1 TForm2 Trightform Tleftform Teasyie Twheeltipform"

# The process starts and creates its fifteen windows, each once.
t_start() {
  local c missing=""
  for c in $FORMS; do
    [ "$(probe exists "$c")" = 1 ] || missing="$missing $c"
  done
  if [ -z "$missing" ]; then pass "start: all fifteen form classes exist"
  else fail "start: all fifteen form classes exist" "missing:$missing"; fi
  expect "start: no message box during start-up" "$(probe exists '#32770')" 0
}

# Captions and files as start-up leaves them; the files prove that the
# program reads its data relative to the current directory.
t_startup_state() {
  # "old--mode" at creation; the tick may have replaced it by another
  # handled word since: what matters is that no keyboard word is pending.
  local input
  input=$(probe caption Tqirinputor)
  expect "state: input caption holds no pending word" "${input:0:5}" "old--"
  expect "state: input window hidden" "$(probe visible Tqirinputor)" 0
  expect "state: settings Edit2 from wr.ini line 4" "$(probe text Twrpyreadpanel Edit2)" 300
  expect "state: main form parked off the screen" "$(probe rect TFormMain | cut -d' ' -f1)" -2000
}

# A physical Alt tap reaches the hook library and comes back as the
# command bar's key words, then into the key history.
t_alt_tap() {
  xdotool keydown alt
  expect_caption "alt: key-down word on the command bar" Tqircom "18down"
  sleep 0.12
  xdotool keyup alt
  expect_caption "alt: key-up word on the command bar" Tqircom "old--18up"
  expect "alt: key history holds the up word" "$(probe wait-item Tqircom ListBox8 0 old--18up 2000)" "old--18up"
  expect "alt: key history holds the down word below it" "$(probe item Tqircom ListBox8 1)" "18down"
  sleep 0.12
}

# The program's own input (marked in dwExtraInfo) is not reported back;
# the same key without the mark is, injected or not.
t_own_input() {
  probe setcaption Tqircom "e2e-marker"
  probe key 17 down own; probe key 17 up own
  sleep 0.3
  expect "own: marked Ctrl leaves the command bar caption alone" "$(probe caption Tqircom)" "e2e-marker"
  probe key 17 down user
  expect_caption "own: unmarked injected Ctrl is reported" Tqircom "17down"
  probe key 17 up user
  expect_caption "own: unmarked injected Ctrl up is reported" Tqircom "old--17up"
}

# Mouse buttons and wheel notches reach the scroll-mode caption.
t_mouse_words() {
  xdotool mousemove 700 300
  sleep 0.1
  probe setcaption TqirForm3 "e2e-marker"
  xdotool mousedown 3
  expect_caption "mouse: right press word" TqirForm3 "rightdn700,300"
  sleep 0.1
  xdotool mouseup 3
  # The input tick acknowledges the word within 40 ms; either shows that
  # it arrived.
  expect_in "mouse: right release word" \
    "$(probe wait-caption-in TqirForm3 3000 rightup700,300 'ok rightup')" rightup700,300 'ok rightup'
  sleep 0.1
  xdotool click 4
  expect_caption "mouse: wheel notch up" TqirForm3 "ystop wheel=///"
  sleep 0.1
  xdotool click 5
  expect_caption "mouse: wheel notch down" TqirForm3 "ystop wheel=vvv"
}

# The tray icon exists (Wine shows a task bar only while an icon exists) and
# the easy-open verb is registered.
t_shell() {
  expect "shell: tray icon shown" "$(probe tray)" 1
  expect "shell: easy-open verb registered" "$(probe regkey '*\shell\轻松打开')" 1
}

# The life panel hosts a WebBrowser control in place. Wine here has no HTML
# engine, so nothing renders, but the control's "Shell Embedding" window
# shows that the in-place activation worked.
t_browser() {
  expect "browser: life panel hosts the WebBrowser control" \
    "$(probe has-child Tlifeform 'Shell Embedding')" 1
}

# A double tap of Alt pastes the clipboard into the focused application.
t_alt_paste() {
  start_notepad || { fail "paste: Notepad started"; return; }
  probe setclip "粘贴测试 e2e"
  probe focus Notepad
  sleep 0.3
  tap alt; tap alt
  expect "paste: Alt double tap pastes into Notepad" "$(probe wait-notepad '粘贴测试 e2e' 3000)" "粘贴测试 e2e"
}

# A physical Ctrl+C in another application puts the copied text at the
# head of the smart clipboard (the command bar's ListBox2).
t_ctrl_c() {
  [ "$(probe exists Notepad)" = 1 ] || start_notepad || { fail "copy: Notepad started"; return; }
  probe focus Notepad
  sleep 0.2
  xdotool key --delay 120 ctrl+a BackSpace
  xdotool type --delay 20 "e2e copied line"
  probe wait-notepad "e2e copied line" 3000 >/dev/null
  xdotool key --delay 120 ctrl+a
  sleep 0.2
  # Slow edges: the input tick samples its caption every 40 ms.
  xdotool keydown ctrl; sleep 0.12; xdotool keydown c; sleep 0.15
  xdotool keyup c; sleep 0.12; xdotool keyup ctrl
  expect "copy: clipboard holds the copied text" "$(probe wait-clip 'e2e copied line' 3000)" "e2e copied line"
  expect "copy: smart clipboard's newest entry is the copied text" \
    "$(probe wait-item Tqircom ListBox2 0 'e2e copied line' 3000)" "e2e copied line"
}

# Closing the main form ends the program.
t_close() {
  probe close TFormMain
  expect "close: closing the main form ends the program" "$(probe wait-gone Tqirinputor 5000)" 0
  expect "close: easy-open verb removed" "$(probe regkey '*\shell\轻松打开')" 0
  expect "close: no tray icon left" "$(probe wait-tray 0 3000)" 0
}

ALL_TESTS="t_start t_startup_state t_alt_tap t_own_input t_mouse_words t_shell t_browser t_alt_paste t_ctrl_c t_close"

# ------------------------------------------------------------------ run

if start_program; then
  for t in ${SQ_E2E_ONLY:-$ALL_TESTS}; do
    "$t"
  done
else
  fail "start: the program starts and creates its windows" "see $LOGS/program.log"
fi

echo "suite took $(( $(date +%s) - SUITE_START )) s; logs in $LOGS" >&2
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
