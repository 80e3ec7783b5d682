# The browser control under Wine. Debian's Wine has no HTML engine (and the
# prefix switches its mshtml off, see e2e/env.sh), so the control renders
# nothing and never has a document. These checks pin down what it does do,
# seen from the program's own browsers through the program's trace of every
# navigate call and every event the control raised through the
# connection-point sink (SQ_WEB_TRACE: the top-level window's class, then
# "navigate ADDRESS flags=N", "navigated hr=.. location=.. state=.." or
# "event DISPID arguments"). Event numbers: 250 BeforeNavigate2, 251
# NewWindow2, 252 NavigateComplete2, 259 DocumentComplete, 113 TitleChange,
# 102 StatusTextChange, 104 DownloadComplete, 106 DownloadBegin, 105
# CommandStateChange, 271 NavigateError.
#
# Measured with Wine 8 (64-bit): for a local page the control raises,
# all inside the Navigate2 call, BeforeNavigate2 (its address the bare
# path, without "file://"), DownloadBegin, two CommandStateChange, four
# StatusTextChange ("", "开始下载 ADDRESS", "正在下载 ADDRESS", ""),
# DownloadComplete and NavigateError; never NavigateComplete2, TitleChange
# or DocumentComplete. LocationURL is the address asked for, ReadyState
# stays 1.

WEB_TRACE=$WORK/web.txt

# Lines of the trace for one window, its GBK turned into UTF-8.
web_lines() { iconv -f GBK -t UTF-8 "$WEB_TRACE" 2>/dev/null | tr -d '\r' | grep "^$1 "; }

# The event numbers one window's first navigation raised, in order, joined.
web_events() {
  web_lines "$1" | awk '/ navigate /{n++} n==1 && / event /{printf "%s%s", sep, $3; sep=","}'
}

# The life panel and the title window open their local pages at start-up,
# past the cache (navigation flag 4), addressed from the working directory.
t_web_local_pages() {
  local life title
  life=$(web_lines Tlifeform | grep ' navigate ' | head -1)
  title=$(web_lines TqirForm4 | grep ' navigate ' | head -1)
  expect "web: the life panel opens its hint page past the cache" \
    "$life" "Tlifeform navigate file://$WORK_WIN\\helptitle.htm flags=4"
  expect "web: the title window opens its page past the cache" \
    "$title" "TqirForm4 navigate file://$WORK_WIN\\title.htm flags=4"
}

# What Wine's control raises for them through the sink, and what it answers.
t_web_control_events() {
  local w ev before status done
  for w in Tlifeform TqirForm4; do
    ev=$(web_events "$w")
    echo "INFO web: $w events under this Wine: $ev" >&2
    before=$(web_lines "$w" | grep ' event 250 ' | head -1)
    case "$before" in
      *'\helptitle.htm' | *'\title.htm') pass "web: $w: BeforeNavigate2 reaches the sink with the page" ;;
      *) fail "web: $w: BeforeNavigate2 reaches the sink with the page" "got '$before'" ;;
    esac
    expect "web: $w: BeforeNavigate2 first, DownloadBegin next" "${ev%%,106*}" "250"
    case ",$ev," in
      *,104,*) pass "web: $w: DownloadComplete reaches the sink" ;;
      *) fail "web: $w: DownloadComplete reaches the sink" "events $ev" ;;
    esac
    # Two texts ("开始下载", "正在下载") at least, each naming one of our
    # pages (the trace spans every start of the program in this run).
    status=$(web_lines "$w" | grep -c ' event 102 .*下载 file://')
    other=$(web_lines "$w" | grep ' event 102 .*下载 file://' | grep -vc 'title\.htm')
    if [ "$status" -ge 2 ] && [ "$other" -eq 0 ]; then
      pass "web: $w: status texts name the page being loaded"
    else
      fail "web: $w: status texts name the page being loaded" "$status texts, $other naming another page"
    fi
    done=$(web_lines "$w" | grep ' navigated ' | head -1)
    case "$done" in
      *" hr=0 location=file://$WORK_WIN\\"*) pass "web: $w: Navigate2 succeeds and the address is the location" ;;
      *) fail "web: $w: Navigate2 succeeds and the address is the location" "got '$done'" ;;
    esac
  done
}

SUITE_TESTS="$SUITE_TESTS t_web_local_pages t_web_control_events"
