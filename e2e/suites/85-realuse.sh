# A user's own sequences, each on a program started afresh from its release
# folder with the shipped settings: copies right after typing as a fast
# typist makes them, a copy right after a double Alt paste, the hold time of
# the drag at both sides of the setting, and the drag of a Ctrl tap.

# Notepad focused at a known place with the pointer over its text, on a
# program that has just started.
# REALUSE_FRESH=0 keeps the program that runs (one that has been running
# for minutes), RU names the checks ("user" by default).
realuse_setup() {
  if [ "${REALUSE_FRESH:-1}" = 1 ]; then
    # The suite's set-up has just started one when this is its first check.
    [ "$SUITE_FRESH" = 1 ] || fresh_program || return 1
  else
    [ "$(probe exists Tqirinputor)" = 1 ] || start_program || return 1
  fi
  [ "$(probe exists Notepad)" = 1 ] || start_notepad || return 1
  probe place Notepad 100 200 600 400 >/dev/null
  probe focus Notepad
  # Off Notepad's centre: a click at the point where a later check presses
  # the right button would make the two one gesture (left then right at one
  # point copies and offers the paste).
  steps mousemove:250,330 click:1
  poll 2000 Notepad probe foreground >/dev/null
}

# Ten copies, each of a text typed just before it (`xdotool key` and
# `type`: keys held a few milliseconds; Ctrl let go before A), the copy
# itself at a typist's speed, half a second between them: every text is
# in the smart clipboard afterwards, newest first.
t_user_copy_after_typing() {
  realuse_setup || { fail "${RU:-user} copy: program and Notepad started"; return; }
  local i n text want="" got
  for i in $(seq 1 10); do
    text="quick $i"
    xdotool key ctrl+a
    xdotool type "$text"
    xdotool key ctrl+a
    # C held "0.N" seconds, N = 4 + i % 8 (so 0.4 to 0.9 s, and 0.10 and
    # 0.11 s), half a second to the next text.
    n=$((4 + i % 8))
    steps keydown:ctrl 60 keydown:c "$(awk -v s="0.$n" 'BEGIN { print s * 1000 }')" keyup:c 50 keyup:ctrl 500
    want="$text|$want"
  done
  probe wait-item Tqircom ListBox2 0 "quick 10" 3000 >/dev/null
  got=$(probe items Tqircom ListBox2 | head -n 10 | paste -sd'|')
  expect "${RU:-user} copy: ten copies right after typing, all in the smart clipboard" "$got|" "$want"
}

# A double Alt tap pastes into Notepad; select all and a copy at a
# person's speed right after it (Ctrl held 100 ms, C 250 ms) is captured.
t_user_copy_after_alt_paste() {
  realuse_setup || { fail "${RU:-user} paste copy: program and Notepad started"; return; }
  probe setclip "粘贴后复制"
  # Typed just before, as a user goes on from writing to pasting.
  xdotool key ctrl+a
  xdotool type "some words typed before the paste "
  xdotool key ctrl+a BackSpace
  tap alt; tap alt
  expect "${RU:-user} paste copy: the double Alt tap pastes" "$(probe wait-notepad '粘贴后复制' 3000)" "粘贴后复制"
  steps 200 keydown:ctrl 100 keydown:a 100 keyup:a 50 keyup:ctrl \
    200 keydown:ctrl 100 keydown:c 250 keyup:c 50 keyup:ctrl
  expect "${RU:-user} paste copy: the copy after the paste is captured" \
    "$(probe wait-item Tqircom ListBox2 0 '粘贴后复制' 3000)" "粘贴后复制"
  # Once more with another text: the next copy is captured as well.
  probe setnotepad "再复制一次"
  steps 200 keydown:ctrl 100 keydown:a 100 keyup:a 50 keyup:ctrl \
    200 keydown:ctrl 100 keydown:c 250 keyup:c 50 keyup:ctrl
  expect "${RU:-user} paste copy: and the copy after it" \
    "$(probe wait-item Tqircom ListBox2 0 '再复制一次' 3000)" "再复制一次"
}
# Notepad holding 300 numbered lines at its first line, the pointer on its
# text, on a program just started with the shipped settings (a 400 ms
# hold); sets X, Y and LH (Notepad's line height).
realuse_lines() {
  realuse_setup || return 1
  probe nplines 300
  poll 2000 0 npfield 1 >/dev/null
  local v
  v=$(probe npview)
  LH=$(echo "$v" | cut -d' ' -f5)
  X=$(( $(echo "$v" | cut -d' ' -f6) + 120 ))
  Y=$(( $(echo "$v" | cut -d' ' -f7) + 300 ))
  steps mousemove:$X,$Y 200
}

# The hold means the settings panel's milliseconds: a press held still
# 150 ms less than the shipped 400 ms and then moved selects text as a
# plain drag does; one held 200 ms more scrolls the text with the hand.
t_user_hold_time() {
  realuse_lines || { fail "${RU:-user} hold: program and Notepad started"; return; }
  expect "${RU:-user} hold: the shipped hold time" "$(probe text Twrpyreadpanel Edit2)" 400
  steps mousedown:1 250
  drag_hand -150 10
  # As long as a drag takes to scroll the text (see below).
  sleep 0.2
  local v
  v=$(probe npview)
  expect "${RU:-user} hold: held 250 ms, the move scrolls nothing" "$(echo "$v" | cut -d' ' -f1)" 0
  steps mouseup:1 400 mousemove:$X,$Y 200 mousedown:1 600
  drag_hand -150 10
  first_line_near $((150 / LH)) >/dev/null
  v=$(probe npview)
  xdotool mouseup 1
  expect_lines "${RU:-user} hold: held 600 ms, the move scrolls the text" "$(echo "$v" | cut -d' ' -f1)" "$((150 / LH))"
  expect "${RU:-user} hold: ... and selects nothing" "$(echo "$v" | cut -d' ' -f2)" "$(echo "$v" | cut -d' ' -f3)"
  expect "${RU:-user} hold: no button is left down" "$(poll 2000 0 probe lbutton)" 0
}

# A person's Ctrl tap (held 100 ms) presses the left button for the user:
# moving the hand then scrolls Notepad's text, and a click ends it.
t_user_ctrl_tap_drag() {
  realuse_lines || { fail "${RU:-user} ctrl drag: program and Notepad started"; return; }
  steps keydown:ctrl 100 keyup:ctrl
  # The program presses the left button for the user.
  poll 3000 1 probe lbutton >/dev/null
  drag_hand -150 10
  expect_lines "${RU:-user} ctrl drag: the hand scrolls the text" "$(first_line_near $((150 / LH)))" "$((150 / LH))"
  steps mousedown:1 60 mouseup:1
  expect "${RU:-user} ctrl drag: the click ends it, no button left down" "$(poll 2000 0 probe lbutton)" 0
  expect "${RU:-user} ctrl drag: the badge is gone" "$(poll 2000 1 badge_hidden)" 1
  # Then a still press held past the setting and a move drags again: the
  # hand moves in half-line steps, as a mouse reports a slow hand (the
  # hook thread takes the drag at its next event, so the first event or
  # two of a busy machine only begin it).
  local first
  first=$(npfield 1)
  steps mousemove:$X,$Y 200 mousedown:1 600
  drag_hand -$((LH * 4)) 8
  expect_lines "${RU:-user} ctrl drag: a still press after it scrolls again" "$(first_line_near $((first + 4)))" "$((first + 4))"
  xdotool mouseup 1
  expect "${RU:-user} ctrl drag: no button left down at the end" "$(poll 2000 0 probe lbutton)" 0
}
SUITE_TESTS="$SUITE_TESTS t_user_copy_after_typing t_user_copy_after_alt_paste t_user_hold_time t_user_ctrl_tap_drag"
