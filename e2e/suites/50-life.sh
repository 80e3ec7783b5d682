# The life panel: the desktop toolbar across the top of the screen, the
# Ctrl hold counter, the wheel tip on Notepad's title bar, maximised
# windows below the bar, and an exit that leaves nothing reserved.
#
# Measured under Wine 8 (64-bit, virtual desktop 1024x768): the shell
# accepts the toolbar (ABM_NEW, ABM_SETPOS) and keeps its band: a second
# toolbar asking for the top edge is placed below it (ABM_QUERYPOS), and
# after ABM_REMOVE it gets the top again. The work area never shrinks
# for it (SPI_GETWORKAREA and the monitor's work rectangle start at the
# top; only Wine's own task bar, there while a tray icon is, takes 20 px off
# the bottom), and a maximised window covers the screen from its top
# (-4,-4 1032x756 above that task bar); setting the
# work area with SPI_SETWORKAREA changes what that call reports but not
# where windows maximise. The program itself moves a maximised active
# window below the bar.

# The life panel's height in pixels as the toolbar was registered: 32 or
# 114 (96-DPI units) by where the browser window is.
life_height() { probe rect Tlifeform | cut -d' ' -f4; }

# Started by the suite's set-up; by hand (SQ_E2E_ONLY) it may be gone.
life_running() {
  [ "$(probe exists Tqirinputor)" = 1 ] && return 0
  start_program
}

# After start-up the bar lies across the top of the screen, 114 px high
# while the browser window is parked, and the shell keeps that band.
t_life_bar() {
  life_running || { fail "life: the program starts"; return; }
  local h
  # The browser window is parked after start-up: the tall bar.
  expect "life: the bar across the top of the screen, 114 high" \
    "$(probe wait-rect Tlifeform "0 0 1024 $(sc 114)" 3000)" "0 0 1024 $(sc 114)"
  h=$(life_height)
  expect "life: the bar is topmost and shown" "$(probe visible Tlifeform)" 1
  expect "life: the shell keeps the bar's band (a new top bar goes below it)" \
    "$(probe appbar-top 20)" "$h"
  # What Wine's shell does with the band: the work area keeps the top of
  # the screen (only Wine's own task bar, shown with a tray icon, takes its
  # bottom strip off).
  expect "life: Wine leaves the top of the work area to windows" \
    "$(probe workarea | cut -d' ' -f2 | paste -sd'|')" "0|0"
  # The browser window on the screen: the low bar, registered again; parked
  # again: the tall one.
  local L T W H
  read -r L T W H <<<"$(probe rect Teasyie)"
  probe place Teasyie 0 "$T" "$W" "$H" >/dev/null
  expect "life: with the browser window shown the bar is 32 high" \
    "$(probe wait-rect Tlifeform "0 0 1024 $(sc 32)" 3000)" "0 0 1024 $(sc 32)"
  expect "life: ... and the shell keeps a band 32 high" "$(probe appbar-top 20)" "$(sc 32)"
  probe place Teasyie -2000 "$T" "$W" "$H" >/dev/null
  expect "life: with the browser window parked again it is 114 high" \
    "$(probe wait-rect Tlifeform "0 0 1024 $(sc 114)" 3000)" "0 0 1024 $(sc 114)"
  expect "life: ... and the shell keeps a band 114 high" "$(probe appbar-top 20)" "$(sc 114)"
}

# A Ctrl hold of 1.5 s starts no drag and leaves nothing held; a Ctrl tap
# of a person's length starts one (the title window's caption says so),
# which the user's click ends.
t_life_ctrl() {
  life_running || { fail "life: the program starts"; return; }
  steps mousemove:700,560 300
  probe setcaption TqirForm4 idle >/dev/null
  # A hold of 1.5 s: Ctrl down, the counter read half a second in, Ctrl
  # up a second later.
  steps keydown:ctrl 500
  expect "life: the Ctrl counter counts while Ctrl is held" \
    "$(c=$(probe text Tlifeform Panel9); [ "${c:-0}" -ge 3 ] && echo counting || echo "at '$c'")" counting
  steps 1000 keyup:ctrl
  # Half a second more: a drag would have begun.
  sleep 0.5
  expect "life: a Ctrl hold of 1.5 s starts no drag" \
    "$(probe wait-caption-in TqirForm4 300 'down/...down/')" "idle"
  expect "life: ... and leaves no key or button down" "$(poll 2000 "" held_line)" ""
  steps keydown:ctrl 100 keyup:ctrl
  expect "life: a Ctrl tap starts a drag" \
    "$(probe wait-caption-in TqirForm4 2000 'down/...down/')" 'down/...down/'
  # The user's click ends the drag, once the program holds the button.
  poll 2000 1 probe lbutton >/dev/null
  xdotool click 1
  expect "life: the click after the Ctrl tap leaves no key or button down" \
    "$(poll 2000 "" held_line)" ""
}

# The wheel tip sits on Notepad's title bar while Notepad is active and
# follows it when it moves.
t_life_wheel_tip() {
  life_running || { fail "life: the program starts"; return; }
  [ "$(probe exists Notepad)" = 1 ] || start_notepad || { fail "life: Notepad started"; return; }
  probe restore Notepad >/dev/null
  probe move Notepad 100 200 500 300 >/dev/null
  probe focus Notepad >/dev/null
  local want
  want="$((600 - $(sc 180))) $((200 + $(sc 2))) $(sc 104) $(sc 18)"
  expect "life: the wheel tip on Notepad's title bar" "$(probe wait-rect Twheeltipform "$want" 3000)" "$want"
  probe move Notepad 250 330 500 300 >/dev/null
  want="$((750 - $(sc 180))) $((330 + $(sc 2))) $(sc 104) $(sc 18)"
  expect "life: the wheel tip follows Notepad" "$(probe wait-rect Twheeltipform "$want" 3000)" "$want"
}

# A maximised Notepad starts below the bar, still maximised.
notepad_below() { local top; top=$(probe rect Notepad | cut -d' ' -f2); [ "${top:--1}" -ge "$1" ]; }
t_life_maximise() {
  life_running || { fail "life: the program starts"; return; }
  [ "$(probe exists Notepad)" = 1 ] || start_notepad || { fail "life: Notepad started"; return; }
  probe focus Notepad >/dev/null
  probe maximize Notepad >/dev/null
  local h top
  h=$(life_height)
  wait_for 1500 notepad_below "$h"
  top=$(probe rect Notepad | cut -d' ' -f2)
  expect "life: a maximised Notepad's top edge is below the bar" \
    "$([ "${top:--1}" -ge "$h" ] && echo below || echo "at $top, bar $h high")" below
  local wa_bottom
  wa_bottom=$(probe workarea | head -n1 | awk '{ print $2 + $4 }')
  expect "life: ... and still reaches the bottom of the work area" \
    "$(probe rect Notepad | awk -v b="$wa_bottom" '{ print ($2 + $4 >= b) ? "yes" : $2 + $4 }')" yes
  expect "life: ... still maximised" "$(probe zoomed Notepad | cut -d' ' -f1)" 1
  probe restore Notepad >/dev/null
}

# The shell keeps a band as high as the bar.
bar_registered() { [ "$(probe appbar-top 20)" = "$(life_height)" ]; }

# The orderly exit removes the toolbar: nothing is left reserved and the
# work area is whole. A copy started by the probe shows the exit code.
t_life_exit() {
  life_running || { fail "life: the program starts"; return; }
  probe close TFormMain >/dev/null
  expect "life exit: the program ends" "$(probe wait-gone Tlifeform 5000)" 0
  expect "life exit: no band left reserved" "$(probe appbar-top 20)" 0
  expect "life exit: the work area is whole" "$(probe workarea | head -n1)" "0 0 1024 768"
  local out=$LOGS/exit-life.txt
  start_copy "$WORK_WIN" "$out"
  if ! copy_windows; then
    wait "$COPY_PID"
    fail "life exit: the probe-started copy creates its windows" "run-wait: $(cat "$out")"
    return
  fi
  wait_for 3000 bar_registered
  expect "life exit: the copy registers its bar" "$(probe appbar-top 20)" "$(life_height)"
  probe close TFormMain >/dev/null
  wait "$COPY_PID"
  expect "life exit: orderly exit returns 0" "$(cat "$out")" 0
  expect "life exit: nothing left reserved after it" "$(probe appbar-top 20)" 0
}

SUITE_TESTS="$SUITE_TESTS t_life_bar t_life_ctrl t_life_wheel_tip t_life_maximise t_life_exit"
