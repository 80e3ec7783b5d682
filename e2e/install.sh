#!/usr/bin/env bash
# The release packages under Wine: the zip unpacked and run, the installer's
# silent install, upgrade and uninstall, on every Wine this machine can run.
#
#   e2e/install.sh WIN32_BUILD WIN64_BUILD [DIST]
#
# DIST (default build/dist, made by tools/package.sh) holds
# Sipquill-*-winNN.zip and Sipquill-*-winNN-setup.exe. Each build's
# sqprobe.exe reads the windows, the shortcuts and the registry. Every build
# has its own prefix (BUILD/install-cache, apart from the end-to-end suite's,
# so that nothing installed here can reach those tests); logs in
# BUILD/install-logs. Prints PASS/FAIL lines and "N passed, M failed" last.
#
# The checks, in order, on one prefix:
#   zip        names stored in GBK with the Unicode Path field, texts GBK
#              with CR LF; unpacked as a Chinese Windows does, the folder
#              keeps the Chinese file name; the program started there
#              finishes its start-up and exits with 0
#   install    /S into the user's local application data: the program folder,
#              the uninstall entry, the Start-menu shortcut
#   shortcut   the program started from the shortcut's target and working
#              directory finishes its start-up; the easy-open verb points
#              into the installed folder
#   running    an install over the running copy closes it the orderly way
#              (exit code 0), then installs
#   upgrade    an install over a changed wr.ini, url.txt and his.txt keeps them
#   no wr.ini  the program starts without wr.ini (defaults, no message box)
#   uninstall  /S while the program runs: it is closed, no file but the
#              user's settings and history stays, no registry key of the
#              program and no shortcut to it (the program's own desktop
#              shortcut included; one to another copy stays)
#   folder     a folder with a blank and Chinese characters in its name works;
#              /PURGE removes the user's data and the folder too
#   bad folder a name the ANSI code page cannot hold, and a path longer than
#              150 characters, are refused (exit code 2, nothing written)
# Measured here (Wine 8, 64-bit build, two cores): 35-56 s for the 49
# checks with the prefix cached; building the prefix adds about 15 s.
set -u
if [ $# -lt 2 ]; then
  echo "usage: $0 WIN32_BUILD WIN64_BUILD [DIST]" >&2
  exit 2
fi
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/.." && pwd)
DIST=${3:-$ROOT/build/dist}
# shellcheck source=e2e/env.sh
. "$HERE/env.sh"

PASSED=0
FAILED=0
LABEL=""
pass() { echo "PASS $LABEL$1"; PASSED=$((PASSED + 1)); }
fail() { echo "FAIL $LABEL$1${2:+ -- $2}"; FAILED=$((FAILED + 1)); }
expect() {
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1" "got '$2', want '$3'"; fi
}

VERB='*\shell\轻松打开'
UNINST_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sipquill'
APP_KEY='HKCU\Software\Sipquill'
USER_DATA="wr.ini 发行软件.txt disphelp dispweb url.txt his.txt qirnewurl.txt"
PROGRAM_FILES="Sipquill.exe dovahk1.dll uninst.exe title.htm helptitle.htm helptitle2.htm helptitle3.htm helptitle4.htm qirdesk.scf readme.txt
  ehelp/easyhelp.htm ehelp/qsl.html ehelp/bot.htm ehelp/logo.png ehelp/gesture.htm ehelp/bar.htm
  ehelp/clipboard.htm ehelp/settings.htm ehelp/browser.htm easyhelp/easyhelp.htm"

probe() { (cd "$PROBE_DIR" && timeout 30 wine sqprobe.exe "$@" 2>>"$LOGS/probe.log"); }
# 1 when the registry key exists (any root `reg` knows).
regkey() { timeout 30 wine reg query "$1" >/dev/null 2>&1 && echo 1 || echo 0; }
winenv() { timeout 30 wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }

# Starts EXE in DIR through the probe, which prints its exit code into
# $RUN_OUT when it ends; waits for the last window of the start-up.
RUN_PID=""
RUN_OUT=""
start_copy() {  # start_copy EXE DIR NAME
  RUN_OUT=$LOGS/run-$3.txt
  : >"$RUN_OUT"
  (cd "$PROBE_DIR" && exec timeout 150 wine sqprobe.exe run-wait "$1" "$2" 120000) \
    >"$RUN_OUT" 2>>"$LOGS/probe.log" &
  RUN_PID=$!
  [ "$(probe wait-exists Twheeltipform 40000)" = 1 ]
}
# Waits for the copy started last to end; its exit code (or what the probe
# said) in CODE. Not to be run in a subshell, which cannot wait for it.
CODE=""
end_copy() {
  [ -n "$RUN_PID" ] && wait "$RUN_PID"
  RUN_PID=""
  CODE=$(cat "$RUN_OUT")
}
stop_copy() {
  probe close TFormMain >/dev/null
  end_copy
}

# Files under DIR, relative, sorted, one a line.
files_in() { (cd "$1" 2>/dev/null && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }
missing_of() {  # missing_of DIR FILE... -> the names not there
  local d=$1 f out=""
  shift
  for f in "$@"; do [ -f "$d/$f" ] || out="$out $f"; done
  echo "${out# }"
}
# Polls until PATH is gone or SECONDS pass.
wait_gone() {
  for _ in $(seq 1 $(($2 * 10))); do
    [ -e "$1" ] || return 0
    sleep 0.1
  done
  return 1
}
# The uninstaller runs as a copy of itself in the temporary folder: waits
# until no such copy runs in this prefix.
wait_uninstaller() {
  local pid busy
  for _ in $(seq 1 300); do
    busy=""
    for pid in $(pgrep -f 'Un_[A-Z]\.exe'); do
      tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" && busy=1
    done
    [ -z "$busy" ] && return 0
    sleep 0.1
  done
  return 1
}
gbk_crlf() { iconv -f UTF-8 -t GBK | LC_ALL=C sed 's/$/\r/'; }

# ------------------------------------------------------------------ one build

run_build() {  # run_build BUILD
  local build arch name setup zip
  build=$(cd "$1" && pwd)
  arch=$(sq_pe_arch "$build/Sipquill.exe")
  name=win$arch
  LABEL="$name: "
  setup=$(ls "$DIST"/Sipquill-*-"$name"-setup.exe 2>/dev/null | head -1)
  zip=$(ls "$DIST"/Sipquill-*-"$name".zip 2>/dev/null | head -1)
  if [ -z "$setup" ] || [ -z "$zip" ] || [ ! -f "$build/sqprobe.exe" ]; then
    fail "packages and probe present" "run tools/package.sh; need $DIST/Sipquill-*-$name{.zip,-setup.exe} and $build/sqprobe.exe"
    return
  fi
  CACHE=$build/install-cache
  LOGS=$build/install-logs
  rm -rf "$LOGS"
  sq_env "$CACHE" "$LOGS" "$arch"
  sq_make_locale || { fail "locale" "see $LOGS/localedef.log"; return; }
  sq_make_prefix || { fail "prefix" "see $LOGS/wineboot.log"; return; }
  timeout 10 wineserver -k >/dev/null 2>&1
  PROBE_DIR=$CACHE/probe
  mkdir -p "$PROBE_DIR"
  cp "$build/sqprobe.exe" "$PROBE_DIR/"

  local lad_win lad apd_win sm sm_win inst inst_win drive
  lad_win=$(winenv LOCALAPPDATA)
  lad=$(winepath -u "$lad_win" 2>/dev/null)
  apd_win=$(winenv APPDATA)
  sm_win="$apd_win\\Microsoft\\Windows\\Start Menu\\Programs"
  sm=$(winepath -u "$sm_win" 2>/dev/null)
  inst=$lad/Sipquill
  inst_win="$lad_win\\Sipquill"
  drive=$WINEPREFIX/drive_c
  if [ -z "$lad" ] || [ -z "$sm" ]; then
    fail "the prefix's folders" "LOCALAPPDATA '$lad_win', APPDATA '$apd_win'"
    return
  fi
  # A clean slate: whatever an earlier run left in the cached prefix.
  rm -rf "$inst" "$drive/pkg-test" "$sm/Sipquill.lnk" "$sm/Startup/Sipquill.lnk" "$sm/../Sipquill.lnk"
  local k
  for k in "$UNINST_KEY" "$APP_KEY" "HKCR\\$VERB" "HKCU\\Software\\Classes\\$VERB"; do
    timeout 30 wine reg delete "$k" /f >/dev/null 2>&1
  done

  # ---- zip: every entry's name stored as Chinese Windows and other tools
  # read it, every text GBK with CR LF; unpacked as the zip folders of a
  # Chinese Windows do (names in code page 936) into a folder with a blank
  # and Chinese characters.
  expect "zip: names and texts as stored" \
    "$(python3 "$ROOT/tools/pkgtool.py" check "$zip" | awk '$2 !~ /^(ascii|gbk\+unicode-field)$/ || ($1 ~ /\.(txt|ini|htm|html|scf)$/ && $3 $4 != "gbkcrlf")' | paste -sd'|')" ""
  if command -v unzip >/dev/null; then
    expect "zip: Info-ZIP's unzip reads the Chinese name" \
      "$(LC_ALL=C.UTF-8 unzip -Z1 "$zip" 2>/dev/null | grep -c '^Sipquill/发行软件\.txt$')" 1
  fi
  local unz="$drive/pkg-test/解压 测试"
  mkdir -p "$unz"
  python3 "$ROOT/tools/pkgtool.py" extract "$zip" "$unz"
  expect "zip: the Chinese file name and its GBK text" \
    "$(iconv -f GBK -t UTF-8 <"$unz/Sipquill/发行软件.txt" 2>/dev/null | sed -n 1p | tr -d '\r')" \
    "软件名称--Sipquill"
  local unz_win
  unz_win=$(winepath -w "$unz/Sipquill" 2>/dev/null)
  if start_copy "$unz_win\\Sipquill.exe" "$unz_win" zip; then
    pass "zip: the unpacked program finishes its start-up"
    expect "zip: no message box" "$(probe exists '#32770')" 0
    stop_copy
    expect "zip: the program exits with 0" "$CODE" 0
  else
    end_copy
    fail "zip: the unpacked program finishes its start-up" "$(probe dialog | paste -sd'|') $CODE"
    timeout 10 wineserver -k >/dev/null 2>&1
  fi

  # ---- silent install into the default folder.
  timeout 120 wine "$setup" /S >>"$LOGS/setup.log" 2>&1
  expect "install: /S exits with 0" "$?" 0
  expect "install: the program files" "$(missing_of "$inst" $PROGRAM_FILES)" ""
  expect "install: the default settings and the help marker" \
    "$(missing_of "$inst" wr.ini 发行软件.txt disphelp)" ""
  expect "install: wr.ini as packaged" "$(cmp -s "$inst/wr.ini" "$unz/Sipquill/wr.ini" && echo same)" same
  expect "install: uninstall entry" "$(regkey "$UNINST_KEY")" 1
  expect "install: no autostart unless asked" "$( [ -e "$sm/Startup/Sipquill.lnk" ] && echo 1 || echo 0)" 0

  # ---- the Start-menu shortcut.
  local lnk target dir
  lnk=$(probe shortcut "$sm_win\\Sipquill.lnk")
  target=$(echo "$lnk" | sed -n 1p)
  dir=$(echo "$lnk" | sed -n 2p)
  expect "shortcut: target" "$target" "$inst_win\\Sipquill.exe"
  expect "shortcut: working directory is the program folder" "$dir" "$inst_win"
  [ -n "$target" ] || target="$inst_win\\Sipquill.exe"
  [ -n "$dir" ] || dir=$inst_win
  if start_copy "$target" "$dir" shortcut; then
    pass "shortcut: the program finishes its start-up"
    expect "shortcut: no message box" "$(probe exists '#32770')" 0
    expect "shortcut: the easy-open verb points into the program folder" \
      "$(probe regvalue "$VERB\\command")" "\"$inst_win\\wordpad.exe\" \"%1\""
  else
    fail "shortcut: the program finishes its start-up" "$(probe dialog | paste -sd'|')"
  fi

  # ---- install over the running copy: closed the orderly way, then
  # replaced.
  if [ "$(probe exists Tqirinputor)" = 1 ]; then
    timeout 120 wine "$setup" /S >>"$LOGS/setup.log" 2>&1
    expect "running: install over a running copy exits with 0" "$?" 0
    end_copy
    expect "running: the copy was closed and exited with 0" "$CODE" 0
    expect "running: no copy runs" "$(probe exists Tqirinputor)" 0
    expect "running: the program files" "$(missing_of "$inst" $PROGRAM_FILES)" ""
  else
    fail "running: a copy runs before the install"
    end_copy
  fi

  # ---- upgrade: the user's settings and history stay.
  printf 'ReadPINTLGNT\nReadPINTLGNT\nfdfdffd\n800\n250\noldmouse\n' | gbk_crlf >"$inst/wr.ini"
  printf '我的收藏     --http://example.com/\nhttp://example.org/\n' | gbk_crlf >"$inst/url.txt"
  printf 'ddf\ndd\ndoc--1http://example.com/\n' | gbk_crlf >"$inst/his.txt"
  rm -f "$inst/disphelp"
  local before after
  before=$(cd "$inst" && md5sum wr.ini url.txt his.txt 发行软件.txt)
  rm -f "$inst/title.htm"
  timeout 120 wine "$setup" /S /AUTOSTART >>"$LOGS/setup.log" 2>&1
  expect "upgrade: /S /AUTOSTART exits with 0" "$?" 0
  after=$(cd "$inst" && md5sum wr.ini url.txt his.txt 发行软件.txt 2>&1)
  expect "upgrade: wr.ini, url.txt, his.txt and 发行软件.txt kept" "$after" "$before"
  expect "upgrade: a marker file the user's program removed stays removed" \
    "$( [ -e "$inst/disphelp" ] && echo 1 || echo 0)" 0
  expect "upgrade: a missing program file is put back" "$(missing_of "$inst" $PROGRAM_FILES)" ""
  expect "upgrade: /AUTOSTART adds a log-on shortcut into the program folder" \
    "$(probe shortcut "$sm_win\\Startup\\Sipquill.lnk" | paste -sd'|')" "$inst_win\\Sipquill.exe|$inst_win"

  # ---- no wr.ini: the program starts on its defaults.
  rm -f "$inst/wr.ini"
  if start_copy "$inst_win\\Sipquill.exe" "$inst_win" nowrini; then
    pass "no wr.ini: the program finishes its start-up"
    expect "no wr.ini: no message box" "$(probe exists '#32770')" 0
    stop_copy
    expect "no wr.ini: the program exits with 0" "$CODE" 0
  else
    end_copy
    fail "no wr.ini: the program finishes its start-up" "$(probe dialog | paste -sd'|') $CODE"
    timeout 10 wineserver -k >/dev/null 2>&1
  fi
  # The program writes its settings at exit.
  expect "no wr.ini: written again at exit" "$( [ -f "$inst/wr.ini" ] && echo 1 || echo 0)" 1

  # ---- silent uninstall while the program runs. Beside it, the shortcuts
  # the program writes itself on request: on the desktop one to this
  # folder's program (to go), in the Start menu one to another copy (to stay).
  local desk_win other_lnk
  desk_win="$(winenv USERPROFILE)\\Desktop\\Sipquill.lnk"
  other_lnk="$sm_win\\..\\Sipquill.lnk"
  probe make-shortcut "$desk_win" "$inst_win\\Sipquill.exe" "$inst_win"
  probe make-shortcut "$other_lnk" 'C:\elsewhere\Sipquill.exe' 'C:\elsewhere'
  expect "uninstall: the program's own shortcuts are there before" \
    "$(probe shortcut "$desk_win" | sed -n 1p)|$(probe shortcut "$other_lnk" | sed -n 1p)" \
    "$inst_win\\Sipquill.exe|C:\\elsewhere\\Sipquill.exe"
  if start_copy "$inst_win\\Sipquill.exe" "$inst_win" uninstall; then
    timeout 120 wine "$inst/uninst.exe" /S >>"$LOGS/setup.log" 2>&1
    wait_gone "$inst/uninst.exe" 60 && wait_uninstaller
    end_copy
    expect "uninstall: the running copy was closed and exited with 0" "$CODE" 0
  else
    end_copy
    fail "uninstall: the program runs before the uninstall" "$CODE"
    timeout 120 wine "$inst/uninst.exe" /S >>"$LOGS/setup.log" 2>&1
    wait_gone "$inst/uninst.exe" 60 && wait_uninstaller
  fi
  local left f extra=""
  left=$(files_in "$inst")
  for f in $left; do
    case " $USER_DATA " in *" $f "*) ;; *) extra="$extra $f" ;; esac
  done
  expect "uninstall: no file but the user's data left" "${extra# }" ""
  expect "uninstall: the user's settings and history kept" "$(missing_of "$inst" wr.ini url.txt his.txt 发行软件.txt)" ""
  expect "uninstall: Start-menu and log-on shortcuts removed" \
    "$( [ -e "$sm/Sipquill.lnk" ] && echo menu)$( [ -e "$sm/Startup/Sipquill.lnk" ] && echo log-on)" ""
  expect "uninstall: the program's own desktop shortcut to this folder removed" \
    "$( [ -e "$(winepath -u "$desk_win" 2>/dev/null)" ] && echo 1 || echo 0)" 0
  expect "uninstall: a shortcut to another copy kept" \
    "$(probe shortcut "$other_lnk" | sed -n 1p)" 'C:\elsewhere\Sipquill.exe'
  rm -f "$sm/../Sipquill.lnk"
  expect "uninstall: registry keys removed (uninstall entry, settings, easy-open verb)" \
    "$(regkey "$UNINST_KEY")$(regkey "$APP_KEY")$(regkey "HKCR\\$VERB")$(regkey "HKCU\\Software\\Classes\\$VERB")" 0000

  # ---- a folder with a blank and Chinese characters; purge at the end.
  local odd="$drive/pkg-test/我的 程序/Sipquill 轻松" odd_win
  odd_win="C:\\pkg-test\\我的 程序\\Sipquill 轻松"
  # NSIS takes the rest of its command line after /D= as the folder,
  # unquoted (as a user types it); wine quotes an argument holding blanks,
  # so the folder goes in as separate words, which wine joins with blanks.
  # shellcheck disable=SC2086
  timeout 120 wine "$setup" /S /D=$odd_win >>"$LOGS/setup.log" 2>&1
  expect "folder: /S /D= with a blank and Chinese name exits with 0" "$?" 0
  expect "folder: the program files" "$(missing_of "$odd" $PROGRAM_FILES)" ""
  lnk=$(probe shortcut "$sm_win\\Sipquill.lnk" | paste -sd'|')
  expect "folder: shortcut target and working directory" "$lnk" "$odd_win\\Sipquill.exe|$odd_win"
  if start_copy "$odd_win\\Sipquill.exe" "$odd_win" odd; then
    pass "folder: the program finishes its start-up"
    expect "folder: the easy-open verb holds the Chinese folder" \
      "$(probe regvalue "$VERB\\command")" "\"$odd_win\\wordpad.exe\" \"%1\""
    stop_copy
    expect "folder: the program exits with 0" "$CODE" 0
  else
    end_copy
    fail "folder: the program finishes its start-up" "$(probe dialog | paste -sd'|') $CODE"
    timeout 10 wineserver -k >/dev/null 2>&1
  fi
  timeout 120 wine "$odd/uninst.exe" /S /PURGE >>"$LOGS/setup.log" 2>&1
  wait_gone "$odd/uninst.exe" 60 && wait_uninstaller
  expect "folder: /PURGE leaves no folder" "$( [ -e "$odd" ] && files_in "$odd" | paste -sd' ' || echo gone)" gone

  # ---- a folder name the ANSI code page cannot hold.
  local bad_win
  bad_win="C:\\pkg-test\\한글"
  timeout 120 wine "$setup" /S "/D=$bad_win" >>"$LOGS/setup.log" 2>&1
  expect "bad folder: refused with exit code 2" "$?" 2
  expect "bad folder: nothing written" \
    "$( [ -e "$drive/pkg-test/한글" ] && echo folder)$(regkey "$UNINST_KEY")" 0

  # ---- a folder path too long for the program's page addresses.
  local long_name long_win
  long_name=$(printf 'a%.0s' $(seq 1 150))
  long_win="C:\\pkg-test\\$long_name"
  timeout 120 wine "$setup" /S "/D=$long_win" >>"$LOGS/setup.log" 2>&1
  expect "long folder: refused with exit code 2" "$?" 2
  expect "long folder: nothing written" \
    "$( [ -e "$drive/pkg-test/$long_name" ] && echo folder)$(regkey "$UNINST_KEY")" 0

  timeout 10 wineserver -k >/dev/null 2>&1
}

SQ_XVFB_PID=""
teardown() {
  [ -n "${WINEPREFIX:-}" ] && timeout 10 wineserver -k >/dev/null 2>&1
  if [ -n "$SQ_XVFB_PID" ]; then kill "$SQ_XVFB_PID" 2>/dev/null; fi
}
trap teardown EXIT
START=$(date +%s)
mkdir -p "$ROOT/build"
SQ_LOGS=$ROOT/build sq_start_x || { echo "0 passed, 1 failed"; exit 1; }
if sq_can_run_32; then
  run_build "$1"
else
  echo "32-bit programs cannot run on this machine: the 32-bit packages were not run"
fi
run_build "$2"
echo "packages under Wine took $(( $(date +%s) - START )) s" >&2
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
