# Shared set-up of the Wine session that runs the real program, sourced by
# e2e/run.sh (the end-to-end tests) and tools/run.sh (starting the program
# by hand). Bash only; it defines functions and sets nothing until called.
#
#   sq_env CACHE LOGS [ARCH] exports the private HOME, WINEPREFIX (CACHE/home/
#                           prefix, or prefix-win64 for ARCH 64), LOCPATH
#                           (CACHE/locale), WINEDEBUG, WINEDLLOVERRIDES and
#                           LC_ALL=zh_CN.UTF-8; sets SQ_CACHE and SQ_LOGS for
#                           the functions below; for ARCH 64 it also puts
#                           the 64-bit Wine first on PATH (sq_use_wine64)
#   sq_can_run_32           true when this machine runs 32-bit programs,
#                           found by running a tiny one; SQ_FORCE_WIN64=1
#                           makes it false on any machine
#   sq_pe_arch FILE         32 or 64: the machine a Windows program is for
#   sq_pick_build ROOT [DIR] DIR when given, otherwise the build this machine
#                           runs: ROOT/build/win32 where 32-bit programs run,
#                           else ROOT/build/win64
#   sq_use_wine64 DIR       wrappers named wine and wine-stable in DIR, first
#                           on PATH, that run the 64-bit loader
#   sq_start_x              keeps a $DISPLAY that answers, otherwise starts an
#                           Xvfb on the first free display from :90 on, exports
#                           DISPLAY and sets SQ_XVFB_PID (empty when none was
#                           started); the Xvfb ignores SIGHUP
#   sq_make_locale          builds the private zh_CN.UTF-8 locale once
#   sq_make_prefix          builds the Wine prefix once (marked by prefix.ok),
#                           as a clone of the template that the first build
#                           of the same kind left beside the cache (see
#                           sq_clone_tree; SQ_PREFIX_TEMPLATE moves it)
#   sq_stage_release BUILD DIR  the release folder of BUILD in DIR
#   sq_make_work BUILD WORK a fresh working directory WORK: the release
#                           folder and the probe when built
#   sq_desktop              the virtual desktop's name ("sq")
#
# Why each step is needed (measured with Wine 8 on Debian):
#  - LC_ALL=zh_CN.UTF-8 gives Wine the ANSI code page 936 the program uses.
#    The machine has no zh_CN locale; without one Wine cannot open files with
#    Chinese names and xdotool drops Chinese characters, hence LOCPATH.
#  - A private HOME and prefix keep Wine away from the real home; the user
#    folders of a new prefix are symlinks into HOME and are made real folders
#    so that shortcuts stay inside the prefix.
#  - The prefix's default desktop is the virtual desktop "sq" (HKCU\Software\
#    Wine\Explorer "Desktop"), so a plain `wine prog.exe` lands in the same
#    desktop as the program: FindWindow only sees windows of its own desktop,
#    and low-level hooks only get xdotool's input inside a virtual desktop.

SQ_ENV_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
SQ_DESKTOP=sq

sq_desktop() { echo "$SQ_DESKTOP"; }

sq_env() {
  SQ_CACHE=$1
  SQ_LOGS=$2
  mkdir -p "$SQ_CACHE" "$SQ_LOGS"
  export HOME="$SQ_CACHE/home"
  # A 64-bit prefix is never shared with 32-bit runs.
  if [ "${3:-32}" = 64 ]; then
    export WINEPREFIX="$HOME/prefix-win64"
    sq_use_wine64 "$SQ_CACHE/wine64-bin"
  else
    export WINEPREFIX="$HOME/prefix"
  fi
  export WINEDEBUG=-all
  export LOCPATH="$SQ_CACHE/locale"
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mshtml="
  # Carried into the Windows world as the locale of every program (bash
  # itself cannot load it before LOCPATH's locale exists, hence the silenced
  # warning).
  { export LC_ALL=zh_CN.UTF-8; } 2>/dev/null
}

sq_start_x() {
  SQ_XVFB_PID=""
  if [ -n "${DISPLAY:-}" ] && timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1; then
    return 0
  fi
  local n i
  for n in $(seq 90 130); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    (trap '' HUP; exec Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp) >"$SQ_LOGS/xvfb.log" 2>&1 &
    SQ_XVFB_PID=$!
    export DISPLAY=":$n"
    for i in $(seq 1 50); do
      timeout 2 xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
      kill -0 "$SQ_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$SQ_XVFB_PID" 2>/dev/null
    SQ_XVFB_PID=""
  done
  echo "no X server could be started" >&2
  return 1
}

sq_make_locale() {
  if [ ! -f "$SQ_CACHE/locale/zh_CN.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$SQ_CACHE/locale"
    localedef -i zh_CN -f UTF-8 "$SQ_CACHE/locale/zh_CN.UTF-8" >"$SQ_LOGS/localedef.log" 2>&1
  fi
  [ -f "$SQ_CACHE/locale/zh_CN.UTF-8/LC_CTYPE" ]
}

# sq_clone_tree SRC DST: DST made a copy of SRC in which the program files
# of Wine (.dll, .exe, .nls and the like, which nothing here writes) are
# hard links to SRC's and every other file (the registry, settings, what a
# run writes) is a copy of its own. A fresh prefix takes half a minute to
# build; a clone takes a second or two.
sq_clone_tree() {
  local f
  rm -rf "$2"
  mkdir -p "$2"
  cp -al "$1/." "$2/" || return 1
  while IFS= read -r -d '' f; do
    cp -p "$f" "$f.sq~" && mv -f "$f.sq~" "$f" || return 1
  done < <(find "$2" -type f ! \( -name '*.dll' -o -name '*.exe' -o -name '*.nls' -o -name '*.drv' \
    -o -name '*.sys' -o -name '*.vxd' -o -name '*.ocx' -o -name '*.cpl' -o -name '*.acm' \
    -o -name '*.tlb' -o -name '*.ds' \) -print0)
}

sq_make_prefix() {
  if [ -f "$SQ_CACHE/prefix.ok" ] && [ -f "$WINEPREFIX/system.reg" ]; then return 0; fi
  rm -rf "$SQ_CACHE/home" "$SQ_CACHE/prefix.ok"
  # One template a kind of prefix (64-bit or not), beside the caches.
  local template
  template=${SQ_PREFIX_TEMPLATE:-$(dirname "$SQ_CACHE")/wine-template}-$(basename "$WINEPREFIX")
  if [ -f "$template/prefix.ok" ] && sq_clone_tree "$template/home" "$HOME" &&
    [ -f "$WINEPREFIX/system.reg" ]; then
    touch "$SQ_CACHE/prefix.ok"
    return 0
  fi
  rm -rf "$SQ_CACHE/home"
  mkdir -p "$HOME"
  timeout 180 wineboot -i >"$SQ_LOGS/wineboot.log" 2>&1
  timeout 120 wineserver -w
  cat >"$SQ_CACHE/desktop.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="$SQ_DESKTOP"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"$SQ_DESKTOP"="1024x768"
EOF
  timeout 60 wine regedit /S "$SQ_CACHE/desktop.reg" >>"$SQ_LOGS/wineboot.log" 2>&1
  timeout 60 wineserver -w
  local d
  for d in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$d" ]; then rm -f "$d" && mkdir -p "$d"; fi
  done
  [ -f "$WINEPREFIX/system.reg" ] || return 1
  touch "$SQ_CACHE/prefix.ok"
  # The template for the next cache, from the prefix as it is before any
  # run (a failed clone leaves no template, only the slower way).
  rm -rf "$template"
  if sq_clone_tree "$HOME" "$template/home"; then touch "$template/prefix.ok"; else rm -rf "$template"; fi
  return 0
}

# The program folder exactly as the release zip lays it out: Sipquill.exe
# and dovahk1.dll of the build, and the files of package/files, text files
# (.txt .ini .htm .html .scf) written as GBK with CR LF as the program reads
# them (the repository keeps them as UTF-8 with LF), and the help page's
# picture drawn. Shared by the packages (tools/package.sh), the end-to-end
# tests and tools/run.sh, so that every run sees what a user unpacks.
sq_stage_release() {
  local build=$1 dir=$2 files f rel
  files=$(cd "$SQ_ENV_DIR/../package/files" && pwd) || return 1
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$build/Sipquill.exe" "$build/dovahk1.dll" "$dir/" || return 1
  while IFS= read -r -d '' f; do
    rel=${f#"$files/"}
    mkdir -p "$dir/$(dirname "$rel")"
    case "$rel" in
      *.txt | *.ini | *.htm | *.html | *.scf)
        iconv -f UTF-8 -t GBK "$f" | LC_ALL=C sed 's/$/\r/' >"$dir/$rel" || return 1 ;;
      *) cp "$f" "$dir/$rel" || return 1 ;;
    esac
  done < <(find "$files" -type f -print0 | sort -z)
  python3 "$SQ_ENV_DIR/../tools/pkgtool.py" logo "$dir/ehelp/logo.png"
}

# A fresh working directory: the release folder, with the test probe beside
# the program when the build made one.
sq_make_work() {
  local build=$1 work=$2
  sq_stage_release "$build" "$work" || return 1
  if [ -f "$build/sqprobe.exe" ]; then cp "$build/sqprobe.exe" "$work/"; fi
  return 0
}

# Some machines boot with the kernel's 32-bit emulation switched off: every
# 32-bit program, Wine's own loader and server included, fails there with
# "Exec format error" whatever packages are installed. So the question is
# answered by running a five-line 32-bit program that exits with 42.
SQ_CAN_RUN_32=""
sq_can_run_32() {
  [ "${SQ_FORCE_WIN64:-}" = 1 ] && return 1
  if [ -z "$SQ_CAN_RUN_32" ]; then
    local d rc=1
    d=$(mktemp -d)
    printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' >"$d/t.s"
    if as --32 -o "$d/t.o" "$d/t.s" 2>/dev/null && ld -m elf_i386 -o "$d/t" "$d/t.o" 2>/dev/null; then
      "$d/t" 2>/dev/null
      rc=$?
    fi
    rm -rf "$d"
    if [ "$rc" = 42 ]; then SQ_CAN_RUN_32=yes; else SQ_CAN_RUN_32=no; fi
  fi
  [ "$SQ_CAN_RUN_32" = yes ]
}

# The machine field of a PE file's header: 32 (i386) or 64 (x86-64);
# empty when FILE is no PE program.
sq_pe_arch() {
  local pe machine
  pe=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$pe" ] || return 1
  machine=$(od -An -t x2 -j $((pe + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
  case "$machine" in
    014c) echo 32 ;;
    8664) echo 64 ;;
    *) return 1 ;;
  esac
}

# Debian's wine and wine-stable commands take the 32-bit loader whenever
# wine32 is installed, even where the kernel cannot run it, and wineboot,
# winepath, regedit and the other helpers exec wine-stable. Two wrappers
# first on PATH make every one of them 64-bit.
sq_use_wine64() {
  local dir=$1 loader name
  loader=$(dpkg -L wine64 2>/dev/null | grep -m1 '/lib/wine/wine64$')
  [ -n "$loader" ] || loader=/usr/lib/wine/wine64
  mkdir -p "$dir"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nWINELOADER=%s\nexport WINELOADER\nexec %s "$@"\n' "$loader" "$loader" >"$dir/$name"
    chmod +x "$dir/$name"
  done
  case ":$PATH:" in
    *":$dir:"*) ;;
    *) export PATH="$dir:$PATH" ;;
  esac
}

sq_pick_build() {
  if [ -n "${2:-}" ]; then
    (cd "$2" && pwd)
  elif sq_can_run_32; then
    echo "$1/build/win32"
  else
    echo "$1/build/win64"
  fi
}
