# The built-in browser window under Wine: the help page from the main menu,
# an address request of another program through the scroll-mode caption,
# the drop file, and wheel paging over Notepad. Wine here has no HTML
# engine: the control is hosted and navigates, but shows no document.

# The main menu's help item (the tray's menu, opened here from the command
# bar's ">>") opens the help page as a tab of the browser window.
t_browser_help() {
  local L T W H want i before
  # Started by the suite's set-up; by hand (SQ_E2E_ONLY) it may be gone.
  if [ "$(probe exists Tqirinputor)" != 1 ]; then
    start_program || { fail "browser: the program starts"; return; }
  fi
  # The shipped settings open the help page at start-up too: count the
  # navigations from here on.
  before=$(grep -ac "^Teasyie navigate file://.*ehelp.easyhelp.htm flags=4" "$WORK/web.txt")
  for i in 1 2 3; do
    tap Escape
    steps mousemove:60,700 300
    probe place Tqircom 100 100 "$(sc 400)" "$(sc 351)"
    probe wait-rect Tqircom "100 100 $(sc 400) $(sc 351)" 2000 >/dev/null
    read -r L T W H <<<"$(probe crect Tqircom Panel13)"
    # The hand rests on ">>" before the right click, as a person's does.
    steps mousemove:$((L + 5)),$((T + 5)) 300 mousedown:3 100 mouseup:3
    [ "$(probe wait-exists '#32768' 3000)" = 1 ] && break
  done
  if [ "$(probe exists '#32768')" != 1 ]; then
    fail "browser: the main menu opens"
    return
  fi
  tap Down; tap Return
  want="file://$WORK_WIN\\ehelp\\easyhelp.htm"
  expect "browser: the help item puts the help page into the address box" \
    "$(probe text Teasyie Edit1)" "$want"
  expect "browser: the window is shown" "$(probe rect Teasyie | cut -d' ' -f1)" 0
  expect "browser: the first tab of the ring" "$(probe text Teasyie web1)" "web1"
  expect "browser: its page list names it" "$(probe item Teasyie ListBox1 0)" "web1"
  expect "browser: the tab hosts the browser control" "$(probe has-child Teasyie 'Shell Embedding')" 1
  expect "browser: the help page is navigated past the cache" \
    "$(poll 2000 1 help_navigations "$before")" 1
  # What Wine's control raised for the browser window, for the record.
  grep -a '^Teasyie' "$WORK/web.txt" | cut -c1-120 | sort | uniq -c | head -20 >"$LOGS/browser-events.txt"
}

# The help page's navigations past the cache since there were $1.
help_navigations() {
  echo $(( $(grep -ac "^Teasyie navigate file://.*ehelp.easyhelp.htm flags=4" "$WORK/web.txt") - $1 ))
}

# Another program writes "ystopurl" and an address into the scroll-mode
# window's caption: it is answered and the address goes to the ring.
t_browser_url_request() {
  probe setcaption TqirForm3 "ystopurlhttp://e2e.example/"
  expect_caption "browser: ystopurl is answered" TqirForm3 "ystop browok"
  expect "browser: the address shows in the hint line" "$(probe text Teasyie Panel23)" \
    "http://e2e.example/"
  probe setcaption TqirForm3 "ystopurl"
  expect_caption "browser: ystopurl with nothing after it is answered too" TqirForm3 "ystop browok"
}

# A drop file in the working directory is read and deleted.
drop_file_gone() { [ ! -f "$WORK/qirnewurl.txt" ]; }
t_browser_drop_file() {
  printf 'http://drop.example/\r\n' >"$WORK/qirnewurl.txt"
  wait_for 5000 drop_file_gone
  expect "browser: the drop file is consumed" "$([ -f "$WORK/qirnewurl.txt" ] && echo 1 || echo 0)" 0
  expect "browser: its first line shows in the hint line" "$(probe text Teasyie Panel23)" \
    "http://drop.example/"
}

# In the page-down wheel mode each notch over Notepad is a Page Down.
paged_from() { [ $(($(probe notepad-top) - $1)) -ge "$2" ]; }
t_browser_wheel_pages() {
  local L T W H lines top0 top1 i
  # The browser window is parked, as the main menu's network item does.
  read -r L T W H <<<"$(probe rect Teasyie)"
  probe place Teasyie -2000 "$T" "$W" "$H"
  [ "$(probe exists Notepad)" = 1 ] || start_notepad || { fail "wheel pages: Notepad started"; return; }
  lines=$(for i in $(seq 1 400); do printf 'line %d\r\n' "$i"; done)
  probe setnotepad "$lines"
  probe notepad-caret-top
  probe focus Notepad
  read -r L T W H <<<"$(probe rect Notepad)"
  xdotool mousemove $((L + W / 2)) $((T + H / 2))
  probe setctext Tqircom Panel28 "down far"
  # The tick takes the mode from the indicator; nothing shows it took it.
  sleep 0.4
  top0=$(probe notepad-top)
  steps click:5 300 click:5
  wait_for 3000 paged_from "$top0" $((H / 20))
  top1=$(probe notepad-top)
  probe setctext Tqircom Panel28 ""
  # Two notches scroll Notepad by three lines each by themselves; paged,
  # the text moves by more than a window's height.
  if [ $((top1 - top0)) -ge $((H / 20)) ]; then
    pass "browser: wheel notches over Notepad page down ($top0 -> $top1)"
  else
    fail "browser: wheel notches over Notepad page down" "first line $top0 -> $top1"
  fi
  probe setnotepad ""
}

SUITE_TESTS="$SUITE_TESTS t_browser_help t_browser_url_request t_browser_drop_file t_browser_wheel_pages"
