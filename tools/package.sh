#!/usr/bin/env bash
# Makes the release packages of each Windows build: a zip and an installer.
#
#   bash tools/package.sh [WIN32_BUILD WIN64_BUILD]   (default build/win32 build/win64)
#
# Output in build/dist: Sipquill-VERSION-win32.zip, Sipquill-VERSION-win64.zip,
# Sipquill-VERSION-win32-setup.exe and Sipquill-VERSION-win64-setup.exe, and
# the program folder each was made from (build/dist/win32/Sipquill, ...).
# A build whose Sipquill.exe is missing is skipped with a message. The
# installers need makensis (Debian's nsis); without it only the zips are made
# and the exit status is 1.
#
# The program folder (sq_stage_release of e2e/env.sh, which the end-to-end
# tests use too): Sipquill.exe and dovahk1.dll of the build, and the files
# of package/files. Text files (.txt .ini .htm .html .scf) are kept in the
# repository as UTF-8 with LF and written as GBK with CR LF, as the program
# reads them; the picture of the help page is drawn there.
#
# Zip entries with a Chinese name ("发行软件.txt") are stored in GBK without
# the UTF-8 flag, plus the Info-ZIP Unicode Path extra field with the UTF-8
# name: Chinese Windows' own zip folders read names in the OEM code page
# (936 there) and older ones ignore the UTF-8 flag, while 7-Zip, WinRAR and
# Info-ZIP's unzip take the extra field on any system (tools/pkgtool.py).
# The program itself opens its files by GBK names, so a system whose code
# page is not 936 cannot run it whatever the zip holds. Entry times are the
# last commit's, so the same sources give the same zip.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
VERSION=1.0
builds=("${1:-$root/build/win32}" "${2:-$root/build/win64}")
dist=$root/build/dist
mkdir -p "$dist"
stamp=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)
status=0

# Files the user changes: the installer writes them only where they are
# missing and the uninstaller keeps them unless asked.
user_files="wr.ini 发行软件.txt disphelp"


for build in "${builds[@]}"; do
  if [ ! -f "$build/Sipquill.exe" ] || [ ! -f "$build/dovahk1.dll" ]; then
    echo "package: no Sipquill.exe and dovahk1.dll in $build: skipped" >&2
    status=1
    continue
  fi
  # shellcheck source=e2e/env.sh
  . "$root/e2e/env.sh"
  arch=$(sq_pe_arch "$build/Sipquill.exe")
  name=win$arch
  stage=$dist/$name/Sipquill
  sq_stage_release "$build" "$stage"
  zip=$dist/Sipquill-$VERSION-$name.zip
  python3 "$root/tools/pkgtool.py" zip "$stage" "$zip" "$stamp"
  echo "package: $zip"

  if ! command -v makensis >/dev/null; then
    echo "package: makensis not found (Debian package nsis): no installer" >&2
    status=1
    continue
  fi
  python3 "$root/tools/pkgtool.py" nsis "$stage" "$dist/$name/files.nsh" \
    "$dist/$name/unfiles.nsh" $user_files
  setup=$dist/Sipquill-$VERSION-$name-setup.exe
  if makensis -V2 -INPUTCHARSET UTF8 -DARCH="$arch" -DVERSION="$VERSION" \
      -DSTAGE="$stage" -DFILES="$dist/$name/files.nsh" -DUNFILES="$dist/$name/unfiles.nsh" \
      -DOUTFILE="$setup" "$root/package/sipquill.nsi" >"$dist/$name/makensis.log" 2>&1; then
    echo "package: $setup"
  else
    cat "$dist/$name/makensis.log" >&2
    echo "package: makensis failed for $name" >&2
    status=1
  fi
done
exit "$status"
