# The clipboard gestures in Notepad: the Alt double tap pastes, Ctrl+C
# copies into the smart clipboard, and both at the speed of quick hands.

# Items of the key history from the newest down to MARKER, joined by "|"
# (the whole list when the marker is not there).
history_since() {
  probe items Tqircom ListBox8 | awk -v m="$1" '{ print } $0 == m { exit }' | paste -sd'|'
}

# Notepad made the foreground window (bounded wait).
notepad_front() {
  probe focus Notepad >/dev/null
  poll 2000 Notepad probe foreground >/dev/null
}

# A double tap of Alt pastes the clipboard into the focused application,
# once: the input tick overwrites the four tap words with "cvok" and puts
# "91ok" above them; the command bar then records its caption, still the
# second tap's "old--18up", once more. The paste's own Ctrl+V (marked as the
# program's input) leaves no key word behind.
t_alt_paste() {
  [ "$(probe exists Notepad)" = 1 ] || start_notepad || { fail "paste: Notepad started"; return; }
  probe setclip "粘贴测试 e2e"
  notepad_front
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
  steps key:Escape 100
}

# A physical Ctrl+C in another application puts the copied text at the
# head of the smart clipboard (the command bar's ListBox2).
t_ctrl_c() {
  [ "$(probe exists Notepad)" = 1 ] || start_notepad || { fail "copy: Notepad started"; return; }
  notepad_front
  xdotool key --delay 120 ctrl+a BackSpace
  xdotool type --delay 20 "e2e copied line"
  probe wait-notepad "e2e copied line" 3000 >/dev/null
  # Slow edges: the input tick samples its caption every 40 ms.
  steps key:ctrl+a 320 keydown:ctrl 120 keydown:c 150 keyup:c 120 keyup:ctrl
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
  notepad_front
  local i hold text missed="" want="" got
  for i in $(seq 1 20); do
    text="quick copy $i"
    hold=$((30 + (i * 37) % 121))
    probe setnotepad "$text"
    steps keydown:ctrl 30 keydown:c "$hold" keyup:c 30 keyup:ctrl
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
  notepad_front
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

SUITE_TESTS="$SUITE_TESTS t_alt_paste t_ctrl_c t_quick_copies t_quick_alt_paste"
DPI_FREE="$DPI_FREE t_alt_paste t_ctrl_c t_quick_copies t_quick_alt_paste"
