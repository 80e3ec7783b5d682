#!/usr/bin/env bash
# Builds both Windows targets, each with its hook library and the probe
# (build/win32: i686, the primary product; build/win64: x86_64), then the
# native core with the tests and benchmarks (build/native).
#
#   tools/build.sh [windows]
#
# SQ_WERROR=ON makes the program's warnings errors (the test command sets
# it); by default they are only reported.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# The compiler cache (when there is one) keys on paths relative to the
# checkout, so another clone of the same sources finds its objects.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
cd "$root"
for arch in win32:i686 win64:x86_64; do
  dir=${arch%%:*}
  cmake -S . -B "build/$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSQ_WERROR="${SQ_WERROR:-OFF}" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-${arch#*:}.cmake" >/dev/null
  cmake --build "build/$dir" -j2
done
# "windows": the two Windows targets only (the test command builds the
# native code under the sanitizers instead, tools/sanitize.sh).
[ "${1:-}" = windows ] && exit 0
cmake -S . -B build/native -G Ninja -DSQ_WERROR="${SQ_WERROR:-OFF}" -DSQ_WIN32_DIR="$root/build/win32" \
  -DSQ_WIN64_DIR="$root/build/win64" >/dev/null
cmake --build build/native -j2
