#!/usr/bin/env bash
# Installs what the build, the tests and the Wine desktop need (Debian).
set -euo pipefail
need=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
      g++-mingw-w64-i686 wine wine32:i386 xvfb xdotool fonts-wqy-microhei
      fonts-wine x11-utils locales)
missing=()
for p in "${need[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
