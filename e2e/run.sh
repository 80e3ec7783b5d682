#!/usr/bin/env bash
# End-to-end tests of the real program under Wine.
#
#   e2e/run.sh <windows-build-dir>      (a cross build holding Sipquill.exe,
#                                        dovahk1.dll and sqprobe.exe, 32- or
#                                        64-bit: the program's header decides
#                                        which Wine runs it)
#   SQ_E2E_ONLY="t_start t_alt_tap" e2e/run.sh DIR    runs the named tests only
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
# Measured here (Wine 8, two cores), see also docs/wine-harness.md:
#  - building the prefix: about 15 s the first time; cached afterwards.
#    A whole run (52 checks): 18-21 s with the cache, 37 s without.
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

PASSED=0
FAILED=0
pass() { echo "PASS $1"; PASSED=$((PASSED + 1)); }
fail() {
  echo "FAIL $1${2:+ -- $2}"
  FAILED=$((FAILED + 1))
  # What the mailboxes last held, to tell a failure from afar (a CI log).
  if [ -s "$WORK/$PROGRAM_TRACE" ]; then
    echo "  last mailbox words (box 0 input, 1 bar, 2 scroll; W written, S read):" >&2
    tail -n 16 "$WORK/$PROGRAM_TRACE" | cut -c1-100 | sed 's/^/    /' >&2
  fi
}
# trace_mark: the number of word-trace lines so far; trace_wait MARK PATTERN
# MS: waits at most MS ms for a line matching the extended PATTERN after the
# line MARK, and prints 1 when one came, 0 otherwise.
PROGRAM_TRACE=words.txt
trace_mark() { if [ -f "$WORK/$PROGRAM_TRACE" ]; then wc -l <"$WORK/$PROGRAM_TRACE"; else echo 0; fi; }
trace_wait() {
  local i
  for i in $(seq 1 $(($3 / 50 + 1))); do
    tail -n +"$(($1 + 1))" "$WORK/$PROGRAM_TRACE" 2>/dev/null | grep -Eq "$2" && { echo 1; return; }
    sleep 0.05
  done
  echo 0
}

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

probe() { (cd "$WORK" && timeout 30 wine sqprobe.exe "$@" 2>>"$LOGS/probe.log"); }

# The captions of the input and scroll-mode windows from before the windows
# exist until the first input tick has answered them, recorded by a probe
# started ahead of the program (see t_startup_captions).
TRACE=$LOGS/start-trace.txt
EVENTS=$WORK/events.txt
TRACE_PID=""

start_program() {
  : >"$TRACE"
  (cd "$WORK" && exec timeout 60 wine sqprobe.exe caption-trace 45000 \
    Tqirinputor old--lm TqirForm3 qq--ystop) >"$TRACE" 2>>"$LOGS/probe.log" &
  TRACE_PID=$!
  local i
  for i in $(seq 1 300); do
    grep -q '^ready' "$TRACE" && break
    kill -0 "$TRACE_PID" 2>/dev/null || break
    sleep 0.1
  done
  # Every control event the program hands to a handler goes to this file.
  : >"$EVENTS"
  PROGRAM_TRACE=${SQ_WORD_TRACE:-words.txt}
  (cd "$WORK" && SQ_WORD_TRACE="$PROGRAM_TRACE" SQ_EVENT_TRACE=events.txt SQ_WEB_TRACE=web.txt exec wine explorer /desktop=$DESKTOP,1024x768 Sipquill.exe) \
    >"$LOGS/program.log" 2>&1 &
  # The first Wine program after a server start takes a few seconds.
  # A message box ends the wait early, but only after half a minute: a
  # dialog of another program (Notepad asking to save) may be on the screen
  # while a slow start is still under way.
  for i in $(seq 1 12); do
    [ "$(probe wait-exists Twheeltipform 5000)" = 1 ] && return 0
    [ "$i" -ge 6 ] && [ "$(probe exists '#32770')" = 1 ] && break
  done
  echo "start-up did not finish; message box: $(probe dialog | tr '\n' '|')" >&2
  return 1
}

# A program started afresh from a fresh release folder (settings, history
# and pages as a user unpacks them), for a suite that must not depend on
# what the checks before it left: the running copy, if any, is ended in
# order first. Notepad, when running, is left as it is.
fresh_program() {
  if [ "$(probe exists Tqirinputor)" = 1 ]; then
    probe close TFormMain >/dev/null
    [ "$(probe wait-gone Tqirinputor 5000)" = 0 ] || return 1
  fi
  sq_make_work "$BUILD" "$WORK" || return 1
  start_program
}

start_notepad() {
  (cd "$WORK" && exec wine explorer /desktop=$DESKTOP,1024x768 notepad.exe) \
    >"$LOGS/notepad.log" 2>&1 &
  [ "$(probe wait-exists Notepad 20000)" = 1 ]
}

sq_env "$CACHE" "$LOGS" "$ARCH"
: >"$LOGS/times.txt"
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
sq_make_work "$BUILD" "$WORK"
# The working directory as the program sees it (Wine maps / to Z:).
WORK_WIN=$(winepath -w "$WORK" 2>/dev/null)
# An earlier run that did not end in an orderly exit may have left the
# easy-open verb in the cached prefix; start from a registry without it so
# that the checks below see what this run's program wrote.
timeout 30 wine reg delete 'HKCR\*\shell\轻松打开' /f >/dev/null 2>&1

# ------------------------------------------------------------------ checks

# sc V: V 96-DPI units in pixels at the display's DPI, rounded half away
# from zero as the program rounds.
sc() {
  if [ "$1" -ge 0 ]; then echo $(( ($1 * DPI + 48) / 96 )); else echo $(( ($1 * DPI - 48) / 96 )); fi
}

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
  local c n i=0 wrong="" counts
  counts=($(probe count $FORMS))
  for c in $FORMS; do
    n=${counts[$i]:-none}
    [ "$n" = 1 ] || wrong="$wrong $c=$n"
    i=$((i + 1))
  done
  if [ -z "$wrong" ]; then pass "start: each of the fifteen form classes has one window"
  else fail "start: each of the fifteen form classes has one window" "counts:$wrong"; fi
  expect "start: no message box during start-up" "$(probe exists '#32770')" 0
}

# The caption CLASS showed next after TEXT in the start-up trace ("" when
# none); the lines of the two windows interleave in the trace.
trace_after() {
  grep -F -- "$1: " "$TRACE" | grep -A1 -x -F -- "$1: $2" | sed -n 2p | sed "s/^$1: //"
}

# Captions as start-up leaves them, before any input. The input window's
# creation handler writes "old--mode"; the scroll-mode window starts with its
# stored "ystop==/[[65553]]]0,0--". The first input tick sees a scroll-mode
# word beginning with "ystop" and answers it: the scroll-mode caption becomes
# "qq--ystop" and the input caption "old--lm". So "old--mode" lives only
# until the message loop runs; the trace probe, polling from before the
# windows exist, sees it.
t_startup_captions() {
  if [ -n "$TRACE_PID" ]; then wait "$TRACE_PID"; fi
  expect "captions: input window shows old--mode after its creation" \
    "$(grep -c -x -F 'Tqirinputor: old--mode' "$TRACE")" 1
  expect "captions: the first tick turns the input caption into old--lm" \
    "$(trace_after Tqirinputor old--mode)" "old--lm"
  expect "captions: scroll-mode window starts with its stored caption" \
    "$(grep -c -x -F 'TqirForm3: ystop==/[[65553]]]0,0--' "$TRACE")" 1
  expect "captions: the first tick answers it with qq--ystop" \
    "$(trace_after TqirForm3 'ystop==/[[65553]]]0,0--')" "qq--ystop"
  expect "captions: input caption now" "$(probe caption Tqirinputor)" "old--lm"
  expect "captions: scroll-mode caption now" "$(probe caption TqirForm3)" "qq--ystop"
  expect "captions: command bar" "$(probe caption Tqircom)" "old--17up"
  expect "captions: title window" "$(probe caption TqirForm4)" "qirForm4"
  expect "captions: caret window" "$(probe caption Tcaretinfo)" "caret set"
}

# State as start-up leaves it; the settings prove that the program reads its
# data relative to the current directory.
t_startup_state() {
  expect "state: input window hidden" "$(probe visible Tqirinputor)" 0
  expect "state: settings Edit2 from wr.ini line 5" "$(probe text Twrpyreadpanel Edit2)" 400
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
  # That was a user's Ctrl tap: it starts a drag, which the user's click ends.
  sleep 0.3
  xdotool click 1
  sleep 0.2
  expect "own: the click after the Ctrl tap leaves no button down" "$(probe held | paste -sd' ')" ""
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
  # The input tick acknowledges the word within 40 ms, and the life panel
  # answers that acknowledgement (never the word itself) within its 100 ms;
  # each shows that the word arrived.
  expect_in "mouse: right release word" \
    "$(probe wait-caption-in TqirForm3 3000 rightup700,300 'ok rightup' 'right okup')" \
    rightup700,300 'ok rightup' 'right okup'
  sleep 0.1
  # The browser's timer answers a wheel word within 40 ms; over a plain
  # window the answer goes on to start an autoscroll through the scroll-mode
  # window ("quick pagedown"). After a move down the life panel chose the
  # fast wheel, whose answer is "ystop xxwheel=///", the page step; where
  # the pointer rests at the last left press the life panel stops a wheel
  # word ("ystop ok"), which the input tick answers with "qq--ystop". A
  # marker before each notch tells the answers apart; any of them shows
  # that the word arrived.
  probe setcaption TqirForm3 "e2e-marker-up"
  xdotool click 4
  expect_in "mouse: wheel notch up" \
    "$(probe wait-caption-in TqirForm3 3000 'ystop wheel=///' 'ystop=xx--wheel' 'quick pagedown' 'ystop xxwheel=///')" \
    'ystop wheel=///' 'ystop=xx--wheel' 'quick pagedown' 'ystop xxwheel=///'
  sleep 0.1
  probe setcaption TqirForm3 "e2e-marker-down"
  xdotool click 5
  expect_in "mouse: wheel notch down" \
    "$(probe wait-caption-in TqirForm3 3000 'ystop wheel=vvv' 'ystop=xx--wheel' 'quick pagedown' 'ystop xxwheel=///' qq--ystop)" \
    'ystop wheel=vvv' 'ystop=xx--wheel' 'quick pagedown' 'ystop xxwheel=///' qq--ystop
  sleep 0.1
  # The notches over the desktop started the browser's autoscroll, which the
  # next left press ends with a word of its own ("qq ystop--" in place of
  # the press word): one click elsewhere ends it first.
  xdotool mousemove 300 620
  sleep 0.1
  xdotool mousedown 1; sleep 0.08; xdotool mouseup 1
  sleep 0.3
  expect "mouse: ... and leaves no button down" "$(probe held | paste -sd' ')" ""
  # A left press over the desktop background, away from the right press
  # above (the same point would be the right-then-left chord). The press
  # word is read while the button is still down; the release follows within
  # the hold time that would start a drag (wr.ini's 400 ms).
  xdotool mousemove 400 500
  sleep 0.1
  xdotool mousedown 1
  local down
  down=$(probe wait-caption-prefix TqirForm3 3000 down/)
  xdotool mouseup 1
  expect "mouse: left press word, read before the release" "$down" "down/400,500/"
  # The input tick answers every "ystop" word without "wheel" in one tick.
  expect_in "mouse: left release word" \
    "$(probe wait-caption-in TqirForm3 3000 'ystop==/[[514]]]400,500--' qq--ystop)" \
    'ystop==/[[514]]]400,500--' qq--ystop
}

# Holding the left button still starts a drag once the hold passes the
# settings panel's time (the shipped wr.ini: 400 ms on the clock): the small title window comes up at the pointer, 100 x 27 at
# (x - 52, y - 40), all scaled for the display's DPI. A press that moves
# first starts none. It runs before
# the Ctrl taps of the other tests: a Ctrl tap starts a drag of its own,
# and while that one is on (the title window's caption says so) no new one
# is counted.
t_drag_start() {
  xdotool mousemove 850 200
  sleep 0.2
  xdotool mousedown 1
  sleep 1.2
  local shown
  shown=$(probe rect TqirForm4)
  xdotool mouseup 1
  local title
  title="$((850 + $(sc -52))) $((200 + $(sc -40))) $(sc 100) $(sc 27)"
  expect "drag: a still press shows the title window at the pointer" "$shown" "$title"
  sleep 0.3
  xdotool mousemove 900 420
  sleep 0.2
  xdotool mousedown 1
  sleep 0.1
  xdotool mousemove 930 440
  sleep 1.2
  shown=$(probe rect TqirForm4)
  xdotool mouseup 1
  # The first drag's badge went at its release (height 0 below the screen)
  # and a press that moved brings none.
  expect "drag: a press that moved starts no drag" "$shown" \
    "$((850 + $(sc -52))) 778 $(sc 100) 0"
}

# The program declares per-monitor DPI awareness in its manifest and lays
# its stored 96-DPI layouts out for the display's DPI: the windows have
# their scaled sizes in physical pixels (the probe reads physical pixels).
t_dpi() {
  expect "dpi: the program is per-monitor aware at the display's DPI" \
    "$(probe dpi TqirForm3)" "system $DPI window $DPI awareness 2"
  expect "dpi: the mouse picture window's size" \
    "$(probe rect Tmousepp | cut -d' ' -f3-)" "$(sc 336) $(sc 67)"
  expect "dpi: a control of it" "$(probe crect Tmousepp Panel1 | cut -d' ' -f3-)" "$(sc 336) $(sc 67)"
  expect "dpi: the wheel tip's size" "$(probe rect Twheeltipform | cut -d' ' -f3-)" "$(sc 104) $(sc 18)"
  expect_in "dpi: the life panel across the top" "$(probe rect Tlifeform)" \
    "0 0 1024 $(sc 32)" "0 0 1024 $(sc 114)"
  expect "dpi: parked windows keep the stored place" "$(probe rect Twheeltipform | cut -d' ' -f1)" -2000
}

# The tray icon exists (Wine shows a task bar only while an icon exists) and
# the easy-open verb is registered.
t_shell() {
  expect "shell: tray icon shown" "$(probe tray)" 1
  expect "shell: easy-open verb registered" "$(probe regkey '*\shell\轻松打开')" 1
  expect "shell: easy-open verb's menu text" "$(probe regvalue '*\shell\轻松打开')" "轻松打开"
  # The editor in the program's current directory, path and file quoted.
  expect "shell: easy-open command" "$(probe regvalue '*\shell\轻松打开\command')" \
    "\"$WORK_WIN\\wordpad.exe\" \"%1\""
}

# The life panel hosts a WebBrowser control in place. Wine here has no HTML
# engine, so nothing renders, but the control's "Shell Embedding" window
# shows that the in-place activation worked.
t_browser() {
  expect "browser: life panel hosts the WebBrowser control" \
    "$(probe has-child Tlifeform 'Shell Embedding')" 1
}

# Items of the key history from the newest down to MARKER, joined by "|"
# (the whole list when the marker is not there).
history_since() {
  probe items Tqircom ListBox8 | awk -v m="$1" '{ print } $0 == m { exit }' | paste -sd'|'
}

# Records the key events a low-level hook of the probe sees for MS
# milliseconds, into FILE (bounded wait until the hook is set); key_log_end
# FILE then waits for it (the probe ends after MS) and sets KEY_LOG to the
# events joined by "|".
KEY_LOG_PID=""
key_log_start() {
  : >"$2"
  (cd "$WORK" && exec timeout 30 wine sqprobe.exe key-log "$1") >"$2" 2>>"$LOGS/probe.log" &
  KEY_LOG_PID=$!
  local i
  for i in $(seq 1 100); do
    grep -q '^ready' "$2" && return 0
    kill -0 "$KEY_LOG_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
key_log_end() {
  wait "$KEY_LOG_PID"
  KEY_LOG=$(grep -v '^ready' "$1" | paste -sd'|')
}

# A double tap of Alt pastes the clipboard into the focused application,
# once: the input tick overwrites the four tap words with "cvok" and puts
# "91ok" above them; the command bar then records its caption, still the
# second tap's "old--18up", once more. The paste's own Ctrl+V (marked as the
# program's input) leaves no key word behind.
t_alt_paste() {
  start_notepad || { fail "paste: Notepad started"; return; }
  probe setclip "粘贴测试 e2e"
  probe focus Notepad
  sleep 0.3
  # A marker in the key history, so that the words of these taps stand apart
  # from earlier ones.
  probe setcaption Tqircom "e2e-paste-marker"
  probe wait-item Tqircom ListBox8 0 "e2e-paste-marker" 2000 >/dev/null
  local keys=$LOGS/keys-paste.txt
  key_log_start 2500 "$keys" || fail "paste: key log started"
  tap alt; tap alt
  expect "paste: Alt double tap pastes into Notepad" "$(probe wait-notepad '粘贴测试 e2e' 3000)" "粘贴测试 e2e"
  # The physical taps (left Alt), then the program's Ctrl+V carrying its mark.
  key_log_end "$keys"
  expect "paste: the keys the system saw" "$KEY_LOG" \
    "164 down|164 up|164 down|164 up|17 down own|86 down own|86 up own|17 up own"
  probe wait-item Tqircom ListBox8 1 91ok 2000 >/dev/null
  local since
  since=$(history_since e2e-paste-marker)
  expect "paste: key history after the gesture" "$since" \
    "old--18up|91ok|cvok|cvok|cvok|cvok|e2e-paste-marker"
  case "|$since|" in
    *"|17down|"* | *"|86down|"* | *"|old--86up|"* | *"|old--17up|"*)
      fail "paste: the synthesised Ctrl+V left no key word" "history: $since" ;;
    *) pass "paste: the synthesised Ctrl+V left no key word" ;;
  esac
  # A third tap: its words arrive, but the four newest items no longer form
  # the pattern, so nothing is pasted again. (Notepad's text alone could not
  # show it: a lone Alt tap puts Notepad into menu mode, where a Ctrl+V is
  # lost; the key log sees the program's keys whatever has the focus.)
  keys=$LOGS/keys-third.txt
  key_log_start 1500 "$keys" || fail "paste: key log started"
  tap alt
  expect "paste: a third tap is recorded" \
    "$(probe wait-item Tqircom ListBox8 1 18down 2000)" "18down"
  expect "paste: a third tap does not fire the gesture again" "$(history_since e2e-paste-marker)" \
    "old--18up|18down|old--18up|91ok|cvok|cvok|cvok|cvok|e2e-paste-marker"
  key_log_end "$keys"
  expect "paste: a third tap synthesises no Ctrl+V" "$KEY_LOG" "164 down|164 up"
  expect "paste: Notepad's text after the third tap" "$(probe notepad)" "粘贴测试 e2e"
  # Leaves the menu mode a lone Alt tap may have put Notepad in.
  xdotool key Escape
  sleep 0.1
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

# Quick hands. The hook's words wait for their reader, so keys held for a
# few milliseconds count like slow ones.
#
# Twenty copies of distinct texts, C held 30 to 150 ms inside a short Ctrl:
# every one is captured into the smart clipboard once, newest first.
t_quick_copies() {
  [ "$(probe exists Notepad)" = 1 ] || start_notepad || { fail "quick copy: Notepad started"; return; }
  probe focus Notepad
  sleep 0.2
  local i hold text missed="" want="" got
  for i in $(seq 1 20); do
    text="quick copy $i"
    hold=$(printf '0.%03d' $((30 + (i * 37) % 121)))
    probe setnotepad "$text"
    xdotool keydown ctrl; sleep 0.03; xdotool keydown c; sleep "$hold"
    xdotool keyup c; sleep 0.03; xdotool keyup ctrl
    # The next text only once this copy is in (a person takes longer to
    # select the next one anyway).
    [ "$(probe wait-item Tqircom ListBox2 0 "$text" 3000)" = "$text" ] || missed="$missed $i"
    want="$text|$want"
  done
  expect "quick copy: each of twenty copies became the newest entry" "$missed" ""
  got=$(probe items Tqircom ListBox2 | head -n 20 | paste -sd'|')
  expect "quick copy: all twenty in the smart clipboard, newest first" "$got|" "$want"
}

# An Alt double tap as `xdotool key` sends it (taps of a few milliseconds,
# 12 ms apart) pastes once.
t_quick_alt_paste() {
  [ "$(probe exists Notepad)" = 1 ] || start_notepad || { fail "quick paste: Notepad started"; return; }
  probe setnotepad ""
  probe setclip "快速粘贴 e2e"
  probe focus Notepad
  sleep 0.3
  local keys=$LOGS/keys-quick-paste.txt
  key_log_start 2000 "$keys" || fail "quick paste: key log started"
  xdotool key alt alt
  expect "quick paste: an Alt double tap of xdotool pastes into Notepad" \
    "$(probe wait-notepad '快速粘贴 e2e' 3000)" "快速粘贴 e2e"
  key_log_end "$keys"
  expect "quick paste: the keys the system saw, one Ctrl+V" "$KEY_LOG" \
    "164 down|164 up|164 down|164 up|17 down own|86 down own|86 up own|17 up own"
  expect "quick paste: Notepad's text, pasted once" "$(probe notepad)" "快速粘贴 e2e"
}

# The program's windows never get task-bar buttons. Wine's task bar holds
# its start button and one owner-drawn button per window that gets one:
# with Notepad running that is two buttons; each visible form of the
# program would add one more (seven did before the forms were owned).
t_taskbar() {
  [ "$(probe exists Notepad)" = 1 ] || start_notepad || { fail "taskbar: Notepad started"; return; }
  expect "taskbar: only the start button and Notepad's" \
    "$(probe taskbar | grep -c '^Button')" 2
}

# Closing the main form ends the program.
t_close() {
  probe close TFormMain
  expect "close: closing the main form ends the program" "$(probe wait-gone Tqirinputor 5000)" 0
  expect "close: easy-open verb removed" "$(probe regkey '*\shell\轻松打开')" 0
  expect "close: no tray icon left" "$(probe wait-tray 0 3000)" 0
}

# A second copy of the program, started by the probe so that its exit code
# can be read (a program started through `wine explorer /desktop=...` hides
# it): closing its main form ends the process with exit code 0. Runs after
# t_close, when no other copy is left.
t_exit_code() {
  if [ "$(probe exists TFormMain)" = 1 ]; then
    fail "exit: orderly exit returns 0" "another copy of the program still runs"
    return
  fi
  local out=$LOGS/exit-code.txt pid
  : >"$out"
  (cd "$WORK" && exec timeout 90 wine sqprobe.exe run-wait Sipquill.exe "$WORK_WIN" 60000) \
    >"$out" 2>>"$LOGS/probe.log" &
  pid=$!
  if [ "$(probe wait-exists Twheeltipform 30000)" != 1 ]; then
    wait "$pid"
    fail "exit: the probe-started copy creates its windows" "run-wait: $(cat "$out")"
    return
  fi
  expect "exit: the copy runs until its main form is closed" "$(cat "$out")" ""
  probe close TFormMain
  wait "$pid"
  expect "exit: orderly exit returns 0" "$(cat "$out")" 0
}

# Without the hook library beside it the program shows its message box and,
# once the box is answered, ends with exit code 1. The working directory
# holds the program file only.
t_no_dll() {
  local dir=$BUILD/e2e-work-nodll out=$LOGS/exit-nodll.txt pid dir_win
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$BUILD/Sipquill.exe" "$dir/"
  dir_win=$(winepath -w "$dir" 2>/dev/null)
  : >"$out"
  (cd "$WORK" && exec timeout 90 wine sqprobe.exe run-wait Sipquill.exe "$dir_win" 60000) \
    >"$out" 2>>"$LOGS/probe.log" &
  pid=$!
  expect "no dll: a message box appears" "$(probe wait-exists '#32770' 30000)" 1
  local box
  box=$(probe msgbox | paste -sd'|')
  expect "no dll: the message box's text and title" "$box" "Tovimo zuzi|DLL: 不能加载！程序退出。"
  expect "no dll: the program waits for the box to be answered" "$(cat "$out")" ""
  probe dialog-ok
  wait "$pid"
  expect "no dll: the program exits with code 1" "$(cat "$out")" 1
  expect "no dll: the message box is gone" "$(probe exists '#32770')" 0
  # The main form had registered the easy-open verb before the input window
  # failed; it stays behind, as an exit without the main form's close does.
  timeout 30 wine reg delete 'HKCR\*\shell\轻松打开' /f >/dev/null 2>&1
}

# ---- control events --------------------------------------------------

# The handler calls of control FORM.CTL in the event trace since it was
# emptied, joined by "|"; a move to the point of the last move counts once.
events_of() {
  tr -d '\r' <"$EVENTS" | grep -F -- "$1.$2 " | awk '
    / MouseMove / { if ($0 == lastmove) next; lastmove = $0 }
    { print }' | paste -sd'|' -
}

# One script of tests/control_events.table, driven by xdotool.
event_script() {
  local name=$1 form=$2 ctl=$3 L T W H step verb arg i n b
  shift 3
  xdotool mousemove 60 700
  probe place Tqircom 100 100 "$(sc 400)" "$(sc 351)"
  sleep 0.3
  read -r L T W H <<<"$(probe crect "$form" "$ctl")"
  if [ -z "$H" ]; then fail "events: $name" "no control $form.$ctl"; return; fi
  : >"$EVENTS"
  for step in "${SCRIPT_STEPS[@]}"; do
    read -r verb arg <<<"$step"
    case $verb in
      move) xdotool mousemove $((L + ${arg%,*})) $((T + ${arg#*,})) ;;
      away) xdotool mousemove "${arg%,*}" "${arg#*,}" ;;
      rest) sleep "$(awk -v ms="$arg" 'BEGIN { print ms / 1000 }')" ;;
      down) if [ "$arg" = left ]; then xdotool mousedown 1; else xdotool mousedown 3; fi ;;
      up) if [ "$arg" = left ]; then xdotool mouseup 1; else xdotool mouseup 3; fi ;;
      wheel)
        n=${arg#-}; b=4; [ "${arg:0:1}" = - ] && b=5
        for i in $(seq 1 "$n"); do xdotool click "$b"; sleep 0.05; done ;;
      key)
        case $arg in 13) b=Return ;; 27) b=Escape ;; 32) b=space ;; *) b=$arg ;; esac
        xdotool keydown "$b"; sleep 0.1; xdotool keyup "$b" ;;
    esac
    sleep 0.15
  done
  sleep 0.4
  local want
  want=$(printf '%s\n' "${SCRIPT_EXPECT[@]}" | paste -sd'|' -)
  expect "events: $name" "$(events_of "$form" "$ctl")" "$want"
}

# The conformance table the unit tests run on the simulated desktop, run
# here on the real program with real input.
t_control_events() {
  local line name="" form ctl
  SCRIPT_STEPS=()
  SCRIPT_EXPECT=()
  while IFS= read -r line; do
    line=${line#"${line%%[![:space:]]*}"}
    case $line in
      '' | '#'*) ;;
      'script '*) read -r _ name form ctl <<<"$line"; SCRIPT_STEPS=(); SCRIPT_EXPECT=() ;;
      'expect '*) SCRIPT_EXPECT+=("${line#expect }") ;;
      end) event_script "$name" "$form" "$ctl" ;;
      *) SCRIPT_STEPS+=("$line") ;;
    esac
  done <"$HERE/../tests/control_events.table"
  probe place Tqircom -2000 0 "$(sc 400)" "$(sc 350)"
}

# The command bar's ">>" (Panel13): resting on it writes the system-menu
# hint into the hint line; a right release on it parks the bar, idles the
# input caption and opens the main menu at the pointer (Escape closes it).
t_bar_menu_button() {
  local L T W H
  xdotool mousemove 60 700
  probe place Tqircom 100 100 "$(sc 400)" "$(sc 351)"
  sleep 0.3
  read -r L T W H <<<"$(probe crect Tqircom Panel13)"
  xdotool mousemove $((L + 5)) $((T + 5))
  sleep 0.3
  expect "bar: hovering >> names the system menu" "$(probe text Tqircom Panel16)" "进入系统菜单"
  xdotool mousedown 3; sleep 0.1; xdotool mouseup 3
  expect "bar: a right release on >> opens the main menu" "$(probe wait-exists '#32768' 3000)" 1
  expect "bar: ... and parks the bar" "$(probe rect Tqircom | cut -d' ' -f1)" -2000
  expect "bar: ... and idles the input caption" "$(probe wait-caption Tqirinputor old--mode 2000)" old--mode
  tap Escape
  expect "bar: Escape closes the menu" "$(probe wait-gone "#32768" 3000)" 0
}

# The tip edits of the main form: a key released in one refreshes the tray
# icon (EditKeyUp), which shows the icon of the state the radio buttons
# choose. The form is never on the screen (its activation parks it and the
# input tick hides it), so the keys are posted to the edits themselves.
t_edit_keyup() {
  expect "tray: state one shows its blue icon" "$(probe trayicon)" 1
  probe setcheck TFormMain RadioButton1 0
  probe setcheck TFormMain RadioButton2 1
  : >"$EVENTS"
  probe postkey TFormMain Edit1 65
  sleep 0.5
  expect "tray: a key released in Edit1 runs EditKeyUp" \
    "$(tr -d '\r' <"$EVENTS" | grep -c -x -F 'TFormMain.Edit1 KeyUp 65')" 1
  expect "tray: ... which shows state two's green icon" "$(probe trayicon)" 2
  probe setcheck TFormMain RadioButton2 0
  probe setcheck TFormMain RadioButton1 1
  probe postkey TFormMain Edit2 66
  sleep 0.5
  expect "tray: a key released in Edit2 brings back the blue icon" "$(probe trayicon)" 1
}

# The window switcher's list is a report-style system list view with
# full-row selection, empty until the switcher fills it.
t_listview() {
  expect "switcher: ListView1 is a report-style list view with full-row selection" \
    "$(probe listview Tqircom ListView1)" "SysListView32 0 1 1 0"
}

# A wr.ini holding bytes no window can hold (a NUL, 0xFF, a lead byte
# without its trail byte, a bare LF, trailing blanks, no ending on the last
# line) comes back byte for byte from a run of the program that saves it at
# its orderly exit. Runs a copy in a directory of its own, after t_close.
t_odd_ini() {
  local dir=$BUILD/e2e-work-ini out=$LOGS/exit-ini.txt pid dir_win
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$BUILD/Sipquill.exe" "$BUILD/dovahk1.dll" "$dir/"
  printf 'Read\000PIN\r\n\377\376bad\r\nabc\201\r\n800  \n300\r\noldmouse\r\n\326\320\316\304 extra\r\nlast' \
    >"$dir/wr.ini"
  cp "$dir/wr.ini" "$LOGS/wr-odd.ini"
  dir_win=$(winepath -w "$dir" 2>/dev/null)
  : >"$out"
  (cd "$WORK" && exec timeout 90 wine sqprobe.exe run-wait Sipquill.exe "$dir_win" 60000) \
    >"$out" 2>>"$LOGS/probe.log" &
  pid=$!
  if [ "$(probe wait-exists Twheeltipform 30000)" != 1 ]; then
    wait "$pid"
    fail "odd wr.ini: the copy starts" "run-wait: $(cat "$out")"
    return
  fi
  expect "odd wr.ini: line 4 is read" "$(probe text Twrpyreadpanel Edit2)" 300
  probe close TFormMain
  wait "$pid"
  expect "odd wr.ini: orderly exit" "$(cat "$out")" 0
  if cmp -s "$dir/wr.ini" "$LOGS/wr-odd.ini"; then
    pass "odd wr.ini: written back byte for byte"
  else
    fail "odd wr.ini: written back byte for byte" "now: $(od -An -c "$dir/wr.ini" | tr -s ' \n' ' ')"
  fi
  ls "$dir" | grep -q 'sq~$' && fail "odd wr.ini: no temporary file left" "$(ls "$dir")"
}

# Not part of the suite; by hand:
#   SQ_E2E_ONLY="t_start t_tap_cost" bash e2e/run.sh build/win64
# The program's CPU time (Wine's process, user + system) for 200 taps of a
# key (SQ_TAP_KEY, default "a"; SQ_TAPS taps) 60 ms long, against the same
# wall time of idling just after. SQ_TAP_PERF=FILE records a perf profile of
# the program for 20 s of the taps.
t_tap_cost() {
  local pid n=${SQ_TAPS:-200} key=${SQ_TAP_KEY:-a} t0 t1 idle taps start wall hz i
  for i in $(pgrep -x Sipquill.exe); do
    [ -r "/proc/$i/stat" ] && pid=$i
  done
  if [ -z "${pid:-}" ]; then fail "tap cost: the program's process" "not found"; return; fi
  hz=$(getconf CLK_TCK)
  cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
  sleep 2
  if [ -n "${SQ_TAP_PERF:-}" ]; then
    perf record -g -o "$SQ_TAP_PERF" -p "$pid" -- sleep 20 >/dev/null 2>&1 &
  fi
  start=$(date +%s%N)
  t0=$(cpu)
  for i in $(seq 1 "$n"); do
    xdotool keydown "$key"; sleep 0.06; xdotool keyup "$key"; sleep 0.06
  done
  t1=$(cpu)
  wall=$(( ($(date +%s%N) - start) / 1000000 ))
  taps=$((t1 - t0))
  t0=$(cpu)
  sleep "$((wall / 1000)).$(printf %03d $((wall % 1000)))"
  t1=$(cpu)
  idle=$((t1 - t0))
  echo "tap cost: $n taps of '$key' in $wall ms: program CPU $((taps * 1000 / hz)) ms;" \
    "idling as long: $((idle * 1000 / hz)) ms (pid $pid)" >&2
  expect "tap cost: the program still runs" "$(probe exists Tqirinputor)" 1
}

ALL_TESTS="t_start t_startup_captions t_startup_state t_dpi t_listview t_control_events t_bar_menu_button t_edit_keyup t_drag_start t_alt_tap t_own_input t_mouse_words t_shell t_browser t_alt_paste t_ctrl_c t_quick_copies t_quick_alt_paste t_taskbar t_close t_exit_code t_odd_ini t_no_dll"

# Checks whose every figure is the same at any display scale (keys, the
# clipboard, files, the hook's words): the run at another DPI leaves them
# to the run at 96. A suite adds its own to DPI_FREE.
DPI_FREE="t_alt_paste t_ctrl_c t_quick_copies t_quick_alt_paste t_odd_ini t_no_dll"

# Each feature's checks live in a file of their own under e2e/suites/: the
# file defines its t_ functions and adds their names, in the order they run,
# to SUITE_TESTS. They run after the checks above, files in name order.
SUITE_TESTS=""
for f in "$HERE"/suites/*.sh; do
  [ -e "$f" ] || continue
  # shellcheck source=/dev/null
  . "$f"
done
ALL_TESTS="$ALL_TESTS $SUITE_TESTS"

# ------------------------------------------------------------------ run

if start_program; then
  for t in ${SQ_E2E_ONLY:-$ALL_TESTS}; do
    if [ "$DPI" != 96 ] && [ -z "${SQ_E2E_ONLY:-}" ] && [[ " $DPI_FREE " == *" $t "* ]]; then
      echo "skip $t: the same at every DPI, checked at 96" >>"$LOGS/times.txt"
      continue
    fi
    t0=$(date +%s%N)
    "$t"
    echo "time $t $(( ($(date +%s%N) - t0) / 1000000 )) ms" >>"$LOGS/times.txt"
  done
else
  fail "start: the program starts and creates its windows" "see $LOGS/program.log"
fi

echo "suite took $(( $(date +%s) - SUITE_START )) s; logs in $LOGS; the slowest checks:" >&2
grep '^time ' "$LOGS/times.txt" | sort -k3 -n -r | head -n 6 | sed 's/^time /  /' >&2
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
