# The tip windows: the wheel tip on the active window's title bar (placed by
# the command bar's tick), its hold-to-drag toggle, the drag badge of the
# title window and the mouse picture window's shape from its picture.
#
# The suite's set-up starts the program and Notepad; by hand (SQ_E2E_ONLY)
# they are started again when gone.

tips_ready() {
  if [ "$(probe exists Tqirinputor)" != 1 ]; then start_program || return 1; fi
  if [ "$(probe exists Notepad)" != 1 ]; then start_notepad || return 1; fi
  return 0
}

# The tip's rectangle for the active window at X Y W H (screen pixels):
# (right - 180, top + 2), 104 x 18, all 96-DPI units scaled.
tip_rect_for() {
  local x=$1 y=$2 w=$3 left
  left=$((x + w - $(sc 180)))
  [ "$left" -lt "$x" ] && left=$x
  echo "$left $((y + $(sc 2))) $(sc 104) $(sc 18)"
}

t_tips_wheel_tip() {
  tips_ready || { fail "tips: the program and Notepad run"; return; }
  probe move Notepad 100 120 600 400
  probe focus Notepad
  local want
  want=$(tip_rect_for 100 120 600)
  expect "tips: the wheel tip sits on Notepad's title bar" \
    "$(probe wait-rect Twheeltipform "$want" 3000)" "$want"
  probe move Notepad 250 300 500 350
  want=$(tip_rect_for 250 300 500)
  expect "tips: the wheel tip follows Notepad when it moves" \
    "$(probe wait-rect Twheeltipform "$want" 3000)" "$want"
  # The tip shows its own picture: the strip's pale yellow, not the grey
  # of an empty panel, left of the mode name.
  local px
  px=$(probe pixel $((${want%% *} + $(sc 4))) $((300 + $(sc 2) + $(sc 14))))
  read -r r g b <<<"$px"
  if [ "$r" -ge 230 ] && [ "$g" -ge 215 ] && [ "$b" -le 215 ]; then
    pass "tips: the wheel tip shows its picture"
  else
    fail "tips: the wheel tip shows its picture" "pixel $px"
  fi
}

# A click on the tip toggles hold-to-drag: the settings panel's check box
# and the tip's marker; a fast click and a slow one.
t_tips_toggle() {
  tips_ready || { fail "tips: the program and Notepad run"; return; }
  probe focus Notepad
  local rect x y w before after marker hold
  rect=$(probe rect Twheeltipform)
  read -r x y w _ <<<"$rect"
  if [ "$x" -lt 0 ]; then fail "tips: the wheel tip is shown for the toggle" "$rect"; return; fi
  before=$(probe checked Twrpyreadpanel lleft)
  steps mousemove:$((x + w / 3)),$((y + $(sc 9))) 100
  for hold in 0.03 0.15; do
    steps mousedown:1 "${hold#0.}0" mouseup:1
    after=$(poll 2000 $((1 - before)) probe checked Twrpyreadpanel lleft)
    if [ "$after" = "$before" ] || [ -z "$after" ]; then
      fail "tips: a ${hold} s click on the tip toggles hold-to-drag" "check box stays '$after'"
    else
      pass "tips: a ${hold} s click on the tip toggles hold-to-drag"
    fi
    marker=$(probe text Twheeltipform Label2)
    if [ "$after" = 1 ]; then
      expect "tips: the marker after a ${hold} s click (ticked)" "$marker" ""
    else
      expect "tips: the marker after a ${hold} s click (cleared)" "$marker" "拖"
    fi
    before=$after
  done
  xdotool mousemove 500 600
}

# Holding the left button still over Notepad starts a drag: the badge comes
# up at the pointer; after the release it is gone (height 0 below the
# screen) and its caption is back to "ystop mou3d".
t_tips_badge() {
  tips_ready || { fail "tips: the program and Notepad run"; return; }
  probe move Notepad 100 120 600 400
  probe focus Notepad
  local during after
  steps mousemove:400,380 200 mousedown:1
  during=$(probe wait-rect TqirForm4 "$((400 + $(sc -52))) $((380 + $(sc -40))) $(sc 100) $(sc 27)" 3000)
  xdotool mouseup 1
  expect "tips: the badge shows at the pointer during a drag" "$during" \
    "$((400 + $(sc -52))) $((380 + $(sc -40))) $(sc 100) $(sc 27)"
  after=$(probe wait-rect TqirForm4 "$((400 + $(sc -52))) 778 $(sc 100) 0" 2000)
  expect "tips: the badge is gone after the release" "$after" \
    "$((400 + $(sc -52))) 778 $(sc 100) 0"
  expect_caption "tips: the title caption is back to its reset word" TqirForm4 "ystop mou3d" 2000
  # A quick click afterwards starts nothing.
  steps mousedown:1 30 mouseup:1
  # A badge would be up within a few ticks.
  sleep 0.3
  expect "tips: a quick click shows no badge" "$(probe rect TqirForm4 | cut -d' ' -f4)" 0
}

# The mouse picture window's Button1 shapes the window by its picture:
# 220 x 80 (scaled), a rounded corner left out, its middle kept.
t_tips_shape() {
  tips_ready || { fail "tips: the program and Notepad run"; return; }
  probe place Tmousepp 300 300 "$(sc 336)" "$(sc 67)"
  probe click Tmousepp Button1
  local rect
  rect=$(probe wait-rect Tmousepp "300 300 $(sc 220) $(sc 80)" 2000)
  expect "tips: shaped by its picture, the window is 220 x 80" "$(echo "$rect" | cut -d' ' -f3-)" \
    "$(sc 220) $(sc 80)"
  expect "tips: the picture's white corner is outside the window" "$(probe rgn-in Tmousepp 300 300)" 0
  expect "tips: the picture's middle is inside" \
    "$(probe rgn-in Tmousepp $((300 + $(sc 110))) $((300 + $(sc 30))))" 1
  expect "tips: below the picture is outside" \
    "$(probe rgn-in Tmousepp $((300 + $(sc 110))) $((300 + $(sc 79) + 1)))" 0
  probe place Tmousepp -2000 0 "$(sc 336)" "$(sc 67)"
}

SUITE_TESTS="$SUITE_TESTS t_tips_wheel_tip t_tips_toggle t_tips_badge t_tips_shape"
