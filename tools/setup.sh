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
# apt's options for a run without the security archive (empty: all sources).
apt_opts=()
# The configured sources without the security archive, for when its
# indexes cannot be had: a mirror in the middle of a sync failed one of
# them (seen: the i386 list), and the other architecture's newer security
# versions then block every Multi-Arch pair (wine32:i386 needs its
# libraries at the very versions of the amd64 ones). Everything is then
# installed from the main archive, in one go, so the pairs match.
without_security() {
  local dir
  dir=$(mktemp -d)
  awk 'BEGIN { RS = ""; ORS = "\n\n" } !/security/' /etc/apt/sources.list.d/*.sources >"$dir/main.sources" 2>/dev/null || true
  grep -hv '^[[:space:]]*#' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | grep -v security >"$dir/main.list" || true
  apt_opts=(-o "Dir::Etc::SourceList=$dir/main.list" -o "Dir::Etc::SourceParts=$dir")
}
missing_of() {
  local p
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || echo "$p"
  done
}
install_all() {
  local missing
  mapfile -t missing < <(missing_of "$@")
  ((${#missing[@]})) || return 0
  if ! $SUDO apt-get update -q; then
    sleep 10
    if ! $SUDO apt-get update -q; then
      echo "setup: apt-get update failed; installing without the security archive" >&2
      without_security
      $SUDO apt-get "${apt_opts[@]}" update -q || true
    fi
  fi
  $SUDO apt-get "${apt_opts[@]}" install -y -q --no-install-recommends "${missing[@]}"
  mapfile -t missing < <(missing_of "$@")
  if ((${#missing[@]})); then
    echo "setup: still missing: ${missing[*]}" >&2
    return 1
  fi
}
# The test for 32-bit programs needs the assembler and linker.
command -v as >/dev/null && command -v ld >/dev/null || install_all binutils
# shellcheck source=e2e/env.sh
. "$root/e2e/env.sh"
if sq_can_run_32; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  need+=(wine32:i386)
fi
install_all "${need[@]}"
