#!/usr/bin/env bash
# Installs what the build, the tests and the Wine desktop need (Debian):
# both mingw-w64 cross compilers, 64-bit Wine, and 32-bit Wine where the
# machine can run 32-bit programs (some machines boot with the kernel's
# 32-bit emulation off; there 32-bit Wine could not start anyway).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
need=(cmake ninja-build g++ binutils libgtest-dev libgmock-dev libbenchmark-dev
      g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 xvfb xdotool
      fonts-wqy-microhei fonts-wine x11-utils x11-apps locales nsis python3 unzip ccache)
export DEBIAN_FRONTEND=noninteractive
SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
updated=""
install_missing() {
  local p missing=()
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  if [ -z "$updated" ]; then
    $SUDO apt-get update -q
    updated=1
  fi
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
}
install_missing "${need[@]}"
# The test for 32-bit programs needs the assembler and linker installed above.
# shellcheck source=e2e/env.sh
. "$root/e2e/env.sh"
if sq_can_run_32; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    updated=""
  fi
  install_missing wine32:i386
fi
