# A user's own sequences, on a program started afresh from its release
# folder: copies right after typing as a fast typist makes them, a copy
# right after a double Alt paste.

# Notepad focused at a known place with the pointer over its text, on a
# program that has just started.
realuse_setup() {
  fresh_program || return 1
  [ "$(probe exists Notepad)" = 1 ] || start_notepad || return 1
  probe place Notepad 100 200 600 400 >/dev/null
  probe focus Notepad
  xdotool mousemove 400 400 click 1
  sleep 0.3
}

# Ten copies, each of a text typed just before it (`xdotool key` and
# `type`: keys held a few milliseconds; Ctrl let go before A), the copy
# itself at a typist's speed, half a second between them: every text is
# in the smart clipboard afterwards, newest first.
t_user_copy_after_typing() {
  realuse_setup || { fail "user copy: program and Notepad started"; return; }
  local i text want="" got
  for i in $(seq 1 10); do
    text="quick $i"
    xdotool key ctrl+a
    xdotool type "$text"
    xdotool key ctrl+a
    xdotool keydown ctrl; sleep 0.06; xdotool keydown c; sleep "0.$((4 + i % 8))"
    xdotool keyup c; sleep 0.05; xdotool keyup ctrl
    sleep 0.5
    want="$text|$want"
  done
  probe wait-item Tqircom ListBox2 0 "quick 10" 3000 >/dev/null
  got=$(probe items Tqircom ListBox2 | head -n 10 | paste -sd'|')
  expect "user copy: ten copies right after typing, all in the smart clipboard" "$got|" "$want"
}

# A double Alt tap pastes into Notepad; select all and a copy at a
# person's speed right after it (Ctrl held 100 ms, C 250 ms) is captured.
t_user_copy_after_alt_paste() {
  realuse_setup || { fail "user paste copy: program and Notepad started"; return; }
  probe setclip "粘贴后复制"
  # Typed just before, as a user goes on from writing to pasting.
  xdotool key ctrl+a
  xdotool type "some words typed before the paste "
  xdotool key ctrl+a BackSpace
  tap alt; tap alt
  expect "user paste copy: the double Alt tap pastes" "$(probe wait-notepad '粘贴后复制' 3000)" "粘贴后复制"
  sleep 0.2
  xdotool keydown ctrl; sleep 0.1; xdotool keydown a; sleep 0.1; xdotool keyup a; sleep 0.05; xdotool keyup ctrl
  sleep 0.2
  xdotool keydown ctrl; sleep 0.1; xdotool keydown c; sleep 0.25; xdotool keyup c; sleep 0.05; xdotool keyup ctrl
  expect "user paste copy: the copy after the paste is captured" \
    "$(probe wait-item Tqircom ListBox2 0 '粘贴后复制' 3000)" "粘贴后复制"
  # Once more with another text: the next copy is captured as well.
  probe setnotepad "再复制一次"
  sleep 0.2
  xdotool keydown ctrl; sleep 0.1; xdotool keydown a; sleep 0.1; xdotool keyup a; sleep 0.05; xdotool keyup ctrl
  sleep 0.2
  xdotool keydown ctrl; sleep 0.1; xdotool keydown c; sleep 0.25; xdotool keyup c; sleep 0.05; xdotool keyup ctrl
  expect "user paste copy: and the copy after it" \
    "$(probe wait-item Tqircom ListBox2 0 '再复制一次' 3000)" "再复制一次"
}
SUITE_TESTS="$SUITE_TESTS t_user_copy_after_typing t_user_copy_after_alt_paste"
