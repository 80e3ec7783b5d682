# The end-to-end harness's library, sourced by e2e/run.sh once the session
# is set up (e2e/env.sh): results, waits, input, the program's life and the
# run loop of the suites in e2e/suites/. Bash only; it defines functions and
# sets nothing until called. Uses BUILD, WORK, LOGS, DPI, DESKTOP and HERE
# of run.sh.
#
#   pass NAME / fail NAME [WHY]    one result; a failure also prints the last
#                           mailbox words of the program's trace and takes a
#                           screenshot of the desktop (LOGS/shots/)
#   expect NAME GOT WANT, expect_in NAME GOT ONE_OF..., expect_caption NAME
#                           CLASS TEXT [MS]
#   probe COMMAND ...       sqprobe.exe in the program's desktop
#   poll MS WANT CMD...     runs CMD until it prints WANT, at most MS ms;
#                           prints what it printed last
#   wait_for MS CMD...      runs CMD until it succeeds, at most MS ms
#   trace_mark, trace_wait MARK PATTERN MS   the program's word trace
#   steps STEP...           input as a person makes it, one xdotool run:
#                           keydown:K keyup:K key:K mousedown:B mouseup:B
#                           click:B mousemove:X,Y rel:DX,DY, and a number:
#                           that many milliseconds between two steps
#   tap KEY                 a person's tap (held 120 ms, 120 ms after)
#   start_program, fresh_program, start_notepad
#   suite_start [notepad|no-notepad]   the known state a suite starts from
#   run_suites              the run loop
#
# Each wait is bounded; the few fixed sleeps left in the checks are spans in
# which something must NOT happen (a marked key that must stay unreported),
# or the time a gesture is defined by (a hold that must pass the drag's
# hold time).

PASSED=0
FAILED=0
SHOTS=0
pass() { echo "PASS $1"; PASSED=$((PASSED + 1)); }
fail() {
  echo "FAIL $1${2:+ -- $2}"
  FAILED=$((FAILED + 1))
  # What the mailboxes last held, to tell a failure from afar (a CI log).
  if [ -s "$WORK/$PROGRAM_TRACE" ]; then
    echo "  last mailbox words (box 0 input, 1 bar, 2 scroll; W written, S read):" >&2
    tail -n 16 "$WORK/$PROGRAM_TRACE" | cut -c1-100 | sed 's/^/    /' >&2
  fi
  shot "${CURRENT_TEST:-setup}"
}

# shot NAME: the whole desktop as it is now, into LOGS/shots (ImageMagick's
# import when installed, else xwd); at most 20 a run.
shot() {
  [ "$SHOTS" -lt 20 ] || return 0
  SHOTS=$((SHOTS + 1))
  mkdir -p "$LOGS/shots"
  local f
  f="$LOGS/shots/$(printf %02d "$SHOTS")-$1"
  if command -v import >/dev/null 2>&1; then
    timeout 10 import -window root "$f.png" 2>/dev/null && echo "  screenshot: $f.png" >&2
  elif command -v xwd >/dev/null 2>&1; then
    timeout 10 xwd -root -silent -out "$f.xwd" 2>/dev/null && echo "  screenshot: $f.xwd" >&2
  fi
  return 0
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

probe() { (cd "$WORK" && timeout 30 wine sqprobe.exe "$@" 2>>"$LOGS/probe.log"); }

# Waits (bounded) until the caption of CLASS reads TEXT.
expect_caption() {
  local got
  got=$(probe wait-caption "$2" "$3" "${4:-3000}")
  expect "$1" "$got" "$3"
}

# poll MS WANT CMD...: CMD run again and again (a probe call takes 70-200
# ms) until its output is WANT or MS ms have passed; prints the last output.
poll() {
  local ms=$1 want=$2 end got
  shift 2
  end=$(($(date +%s%N) / 1000000 + ms))
  while :; do
    got=$("$@")
    [ "$got" = "$want" ] && break
    [ "$(($(date +%s%N) / 1000000))" -ge "$end" ] && break
    sleep 0.05
  done
  printf '%s\n' "$got"
}

# poll_any MS "W1|W2|..." CMD...: as poll, until the output is one of the
# words between the bars.
poll_any() {
  local ms=$1 want=$2 end got
  shift 2
  end=$(($(date +%s%N) / 1000000 + ms))
  while :; do
    got=$("$@")
    case "|$want|" in *"|$got|"*) break ;; esac
    [ "$(($(date +%s%N) / 1000000))" -ge "$end" ] && break
    sleep 0.05
  done
  printf '%s\n' "$got"
}

# The keys and buttons held down, joined by blanks ("" when none).
held_line() { probe held | tr -d '\r' | paste -sd' '; }

# wait_for MS CMD...: CMD run until it succeeds, at most MS ms.
wait_for() {
  local end=$(($(date +%s%N) / 1000000 + $1))
  shift
  while ! "$@"; do
    [ "$(($(date +%s%N) / 1000000))" -ge "$end" ] && return 1
    sleep 0.05
  done
}

# trace_mark: the number of word-trace lines so far; trace_wait MARK PATTERN
# MS: waits at most MS ms for a line matching the extended PATTERN after the
# line MARK, and prints 1 when one came, 0 otherwise.
PROGRAM_TRACE=words.txt
trace_mark() { if [ -f "$WORK/$PROGRAM_TRACE" ]; then wc -l <"$WORK/$PROGRAM_TRACE"; else echo 0; fi; }
trace_has() { tail -n +"$(($1 + 1))" "$WORK/$PROGRAM_TRACE" 2>/dev/null | grep -Eq "$2"; }
trace_wait() {
  if wait_for "$3" trace_has "$1" "$2"; then echo 1; else echo 0; fi
}

# steps STEP...: the input of one gesture as a person makes it, sent by one
# xdotool run so that the gaps are the ones written. A number is a pause of
# that many milliseconds (the hold of a key, the gap between a chord's
# edges, the rest of the hand before a press).
steps() {
  local s args=()
  for s in "$@"; do
    case $s in
      [0-9]*) args+=(sleep "$(awk -v ms="$s" 'BEGIN { printf "%.3f", ms / 1000 }')") ;;
      keydown:* | keyup:* | key:* | mousedown:* | mouseup:* | click:*) args+=("${s%%:*}" "${s#*:}") ;;
      mousemove:*) s=${s#*:}; args+=(mousemove "${s%,*}" "${s#*,}") ;;
      rel:*) s=${s#*:}; args+=(mousemove_relative -- "${s%,*}" "${s#*,}") ;;
      *) echo "steps: unknown step '$s'" >&2; return 2 ;;
    esac
  done
  xdotool "${args[@]}"
}

tap() {  # tap KEY: a physical press and release, slow enough for the ticks
  steps "keydown:$1" 120 "keyup:$1" 120
}

# sc V: V 96-DPI units in pixels at the display's DPI, rounded half away
# from zero as the program rounds.
sc() {
  if [ "$1" -ge 0 ]; then echo $(( ($1 * DPI + 48) / 96 )); else echo $(( ($1 * DPI - 48) / 96 )); fi
}

# ------------------------------------------------------------ the program

# start_copy DIR_WIN OUT: starts a further copy of the program in the
# Windows folder DIR_WIN through the probe, which writes the copy's exit
# code to OUT once it ends; COPY_PID is the probe's process. copy_windows:
# 0 once that copy has created its windows (at most 30 s).
start_copy() {
  : >"$2"
  (cd "$WORK" && exec timeout 90 wine sqprobe.exe run-wait Sipquill.exe "$1" 60000) \
    >"$2" 2>>"$LOGS/probe.log" &
  COPY_PID=$!
}
copy_windows() { [ "$(probe wait-exists Twheeltipform 30000)" = 1 ]; }

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
  wait_for 30000 start_trace_ready
  # Every control event the program hands to a handler goes to this file.
  : >"$EVENTS"
  PROGRAM_TRACE=${SQ_WORD_TRACE:-words.txt}
  # Every start's output, one after the other (a crash's report stays).
  echo "---- start for ${CURRENT_TEST:-a check}" >>"$LOGS/program.log"
  (cd "$WORK" && SQ_WORD_TRACE="$PROGRAM_TRACE" SQ_EVENT_TRACE=events.txt SQ_WEB_TRACE=web.txt exec wine explorer /desktop=$DESKTOP,1024x768 Sipquill.exe) \
    >>"$LOGS/program.log" 2>&1 &
  # The first Wine program after a server start takes a few seconds.
  # A message box ends the wait early, but only after half a minute: a
  # dialog of another program (Notepad asking to save) may be on the screen
  # while a slow start is still under way.
  local i
  for i in $(seq 1 12); do
    [ "$(probe wait-exists Twheeltipform 5000)" = 1 ] && return 0
    [ "$i" -ge 6 ] && [ "$(probe exists '#32770')" = 1 ] && break
  done
  echo "start-up did not finish; message box: $(probe dialog | tr '\n' '|')" >&2
  start_report
  return 1
}

# What a start that did not finish left: whether the program's process
# runs, which of its windows exist (in creation order), the last words of
# its trace and the last lines of its output.
start_report() {
  local classes="TFormMain Tqirinputor Tqircom Tlifeform Tmousepp TqirForm4 TqirForm3 Twrpyreadpanel Tcaretinfo TForm1 TForm2 Trightform Tleftform Teasyie Twheeltipform"
  # shellcheck disable=SC2086
  echo "  windows: $(paste -d= <(tr ' ' '\n' <<<"$classes") <(probe count $classes | tr -d '\r') | paste -sd' ')" >&2
  echo "  processes: $(pgrep -af 'Sipquill.exe|explorer.exe' | tr '\n' '|')" >&2
  [ -f "$WORK/$PROGRAM_TRACE" ] && echo "  last words: $(tail -n 5 "$WORK/$PROGRAM_TRACE" | tr '\r\n' ' |')" >&2
  echo "  program output: $(tail -n 8 "$LOGS/program.log" | tr '\r\n' ' |')" >&2
}
start_trace_ready() { grep -q '^ready' "$TRACE" || ! kill -0 "$TRACE_PID" 2>/dev/null; }

# The running copy, if any, ended in order (its settings saved, its verb
# removed); 1 when it does not go within 5 s.
stop_program() {
  [ "$(probe exists Tqirinputor)" = 1 ] || return 0
  probe close TFormMain >/dev/null
  [ "$(probe wait-gone Tqirinputor 5000)" = 0 ]
}

# A program started afresh from a fresh release folder (settings, history
# and pages as a user unpacks them): the running copy, if any, is ended in
# order first. Notepad, when running, is left as it is.
fresh_program() {
  stop_program || return 1
  fresh_work || return 1
  start_program
}

# WORK made afresh: a copy of the release folder that run.sh laid out once
# (sq_make_work into RELEASE), as a user unpacks it.
fresh_work() {
  rm -rf "$WORK"
  cp -a "$RELEASE" "$WORK"
}

# Notepad's rectangle as Wine first placed it; every suite that wants
# Notepad gets it there.
NOTEPAD_HOME=""
start_notepad() {
  (cd "$WORK" && exec wine explorer /desktop=$DESKTOP,1024x768 notepad.exe) \
    >"$LOGS/notepad.log" 2>&1 &
  [ "$(probe wait-exists Notepad 20000)" = 1 ] || return 1
  [ -n "$NOTEPAD_HOME" ] || NOTEPAD_HOME=$(probe rect Notepad)
  return 0
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
  wait_for 10000 key_log_ready "$2" && grep -q '^ready' "$2"
}
key_log_ready() { grep -q '^ready' "$1" || ! kill -0 "$KEY_LOG_PID" 2>/dev/null; }
key_log_end() {
  wait "$KEY_LOG_PID"
  KEY_LOG=$(grep -v '^ready' "$1" | paste -sd'|')
}

# ------------------------------------------------------------ known state

# The names xdotool knows for the virtual keys and buttons `probe held`
# reports (left and right variants, as the probe reads them).
held_release() {
  local code args=()
  for code in $(probe held | tr -d '\r'); do
    case $code in
      1) args+=(mouseup 1) ;;
      2) args+=(mouseup 3) ;;
      4) args+=(mouseup 2) ;;
      16 | 160) args+=(keyup Shift_L) ;;
      161) args+=(keyup Shift_R) ;;
      17 | 162) args+=(keyup Control_L) ;;
      163) args+=(keyup Control_R) ;;
      18 | 164) args+=(keyup Alt_L) ;;
      165) args+=(keyup Alt_R) ;;
    esac
  done
  [ ${#args[@]} -eq 0 ] && return 0
  xdotool "${args[@]}"
  wait_for 2000 held_none || echo "suite set-up: still held: $(held_line)" >&2
}
held_none() { [ -z "$(held_line)" ]; }

# The server closes the virtual desktop a second after its last user has
# gone, and a program started while it closes does not come up: between
# suites neither the program nor Notepad runs, so a probe that does
# nothing but stay (from the release folder, which no suite removes) keeps
# the desktop open for the whole run. Started again after a desktop reset.
ANCHOR_PID=""
anchor_desktop() {
  [ -n "$ANCHOR_PID" ] && kill -0 "$ANCHOR_PID" 2>/dev/null && return 0
  : >"$LOGS/anchor.txt"
  (cd "$RELEASE" && exec wine sqprobe.exe anchor) >"$LOGS/anchor.txt" 2>>"$LOGS/probe.log" &
  ANCHOR_PID=$!
  wait_for 20000 anchor_ready && grep -q '^ready' "$LOGS/anchor.txt"
}
anchor_ready() { grep -q '^ready' "$LOGS/anchor.txt" || ! kill -0 "$ANCHOR_PID" 2>/dev/null; }

# When ending the program in order fails, the whole desktop goes: every
# Wine process of the session ends, Notepad with it.
desktop_reset() {
  echo "suite set-up: the program did not end in order; the desktop is restarted" >&2
  timeout 10 wineserver -k >/dev/null 2>&1
  timeout 10 wineserver -w >/dev/null 2>&1
  # The easy-open verb the program removes at an orderly exit only.
  timeout 30 wine reg delete 'HKCR\*\shell\轻松打开' /f >/dev/null 2>&1
}

# suite_start [notepad|no-notepad]: the state every suite starts from,
# whatever the suite before it left:
#  - no copy of the program, then a fresh release folder (the shipped
#    wr.ini and files, empty traces) and the program started afresh from it;
#  - no menu, no message box, no clock window; the clipboard empty;
#  - no key or button held, the pointer at rest low on the desktop;
#  - Notepad started afresh after the program, where Wine first placed
#    it, empty, the foreground window (or, with no-notepad, not running).
suite_start() {
  local want=${1:-notepad} n
  anchor_desktop || echo "suite set-up: nothing holds the desktop open" >&2
  # One probe call for what is there: the program, a menu, a message box,
  # the clock, Notepad.
  n=($(probe count Tqirinputor '#32768' '#32770' CLClass Notepad))
  if [ "${n[0]:-1}" != 0 ]; then stop_program || desktop_reset; fi
  [ "${n[1]:-1}" = 0 ] || { xdotool key Escape; probe wait-gone '#32768' 2000 >/dev/null; }
  if [ "${n[2]:-1}" != 0 ]; then
    probe close '#32770' >/dev/null
    probe wait-gone '#32770' 2000 >/dev/null
  fi
  if [ "${n[3]:-1}" != 0 ]; then
    probe close CLClass >/dev/null
    probe wait-gone CLClass 3000 >/dev/null
  fi
  held_release
  xdotool mousemove 60 700
  # Notepad is started afresh too: a suite may have made it topmost
  # (`probe place`), put it into menu mode or changed its text. Its text
  # emptied first (WM_SETTEXT clears the changed mark) so that it asks
  # nothing.
  if [ "${n[4]:-1}" != 0 ]; then
    probe setnotepad "" >/dev/null
    probe close Notepad >/dev/null
    [ "$(probe wait-gone Notepad 3000)" = 0 ] || return 1
  fi
  probe setclip "" >/dev/null
  fresh_work || return 1
  start_program || return 1
  # Notepad started once the program runs: the program's start-up types a
  # blank into the focused window (seen in a Notepad running before it).
  if [ "$want" = notepad ]; then
    start_notepad || return 1
    # shellcheck disable=SC2086
    [ -z "$NOTEPAD_HOME" ] || probe move Notepad $NOTEPAD_HOME >/dev/null
    # The foreground window a suite starts with.
    probe focus Notepad >/dev/null
    poll 2000 Notepad probe foreground >/dev/null
  fi
}

# ------------------------------------------------------------ the run

# Each file of e2e/suites/ defines its t_ functions and appends the names
# of those that run, in order, to SUITE_TESTS; SUITE_NOTEPAD=0 asks for a
# start without Notepad, SUITE_WORD_TRACE=FILE for a program that writes
# its word trace there (words.txt by default), SUITE_SETUP names a function
# run after the common set-up. load_suites sources them all and records, for every suite, its
# checks, its set-up, and for every t_ function the suite it belongs to.
declare -A SUITE_OF SUITE_CHECKS SUITE_NP SUITE_FN SUITE_TRACE
SUITES=""
load_suites() {
  local f name before fn
  for f in "$HERE"/suites/*.sh; do
    [ -e "$f" ] || continue
    name=$(basename "$f" .sh)
    before=$(declare -F | awk '{ print $3 }' | grep '^t_' | sort)
    SUITE_TESTS=""
    SUITE_NOTEPAD=1
    SUITE_SETUP=""
    SUITE_WORD_TRACE=""
    # shellcheck source=/dev/null
    . "$f"
    for fn in $(comm -13 <(echo "$before") <(declare -F | awk '{ print $3 }' | grep '^t_' | sort)); do
      SUITE_OF[$fn]=$name
    done
    SUITE_CHECKS[$name]=$SUITE_TESTS
    SUITE_NP[$name]=$SUITE_NOTEPAD
    SUITE_FN[$name]=$SUITE_SETUP
    SUITE_TRACE[$name]=$SUITE_WORD_TRACE
    SUITES="$SUITES $name"
  done
}

# Sets a suite up; a failed set-up fails the suite's checks. SUITE_FRESH
# is 1 from a set-up until the first check has run: the program has just
# been started from a fresh folder and nothing has touched it.
SUITE_FRESH=0
setup_suite() {
  local t0 np=notepad ok=0
  t0=$(date +%s%N)
  CURRENT_TEST="setup-$1"
  [ "${SUITE_NP[$1]}" = 0 ] && np=no-notepad
  echo "suite $1" >&2
  if SQ_WORD_TRACE=${SUITE_TRACE[$1]:-words.txt} suite_start "$np"; then
    if [ -z "${SUITE_FN[$1]}" ] || "${SUITE_FN[$1]}"; then ok=1; fi
  fi
  echo "setup $1 $(( ($(date +%s%N) - t0) / 1000000 )) ms" >>"$LOGS/times.txt"
  SUITE_FRESH=$ok
  [ "$ok" = 1 ] || fail "suite $1: set-up (program, Notepad, known state)" "see $LOGS/program.log"
  [ "$ok" = 1 ]
}

run_check() {
  local t=$1 t0
  if [ "$DPI" != 96 ] && [ -z "${SQ_E2E_ONLY:-}" ] && [[ " $DPI_FREE " == *" $t "* ]]; then
    echo "skip $t: the same at every DPI, checked at 96" >>"$LOGS/times.txt"
    return
  fi
  CURRENT_TEST=$t
  t0=$(date +%s%N)
  "$t"
  SUITE_FRESH=0
  echo "time $t $(( ($(date +%s%N) - t0) / 1000000 )) ms" >>"$LOGS/times.txt"
}

# SQ_E2E_SUITES="30-drag 31-tips" runs those suites (all by default), in
# name order or, with SQ_E2E_ORDER=reverse, the other way round.
# SQ_E2E_ONLY="t_a t_b" runs those checks in that order, each suite's
# set-up before the first of its checks and again whenever the suite
# changes.
run_suites() {
  local s t list="" cur=""
  if [ -n "${SQ_E2E_ONLY:-}" ]; then
    for t in $SQ_E2E_ONLY; do
      s=${SUITE_OF[$t]:-}
      if [ -z "$s" ]; then fail "$t: no such check"; continue; fi
      if [ "$s" != "$cur" ]; then
        cur=$s
        setup_suite "$s" || continue
      fi
      run_check "$t"
    done
    return
  fi
  for s in ${SQ_E2E_SUITES:-$SUITES}; do
    if [ -z "${SUITE_NP[$s]:-}" ]; then fail "suite $s: no such suite"; continue; fi
    list="$list $s"
  done
  if [ "${SQ_E2E_ORDER:-}" = reverse ]; then list=$(echo $list | tr ' ' '\n' | tac | paste -sd' '); fi
  for s in $list; do
    # At another DPI a suite whose every check is left to the run at 96
    # is not set up at all.
    if [ "$DPI" != 96 ]; then
      local left=""
      for t in ${SUITE_CHECKS[$s]}; do [[ " $DPI_FREE " == *" $t "* ]] || left="$left $t"; done
      if [ -z "$left" ]; then
        for t in ${SUITE_CHECKS[$s]}; do echo "skip $t: the same at every DPI, checked at 96" >>"$LOGS/times.txt"; done
        continue
      fi
    fi
    if setup_suite "$s"; then
      for t in ${SUITE_CHECKS[$s]}; do run_check "$t"; done
    else
      for t in ${SUITE_CHECKS[$s]}; do fail "$t" "suite $s could not be set up"; done
    fi
  done
}
