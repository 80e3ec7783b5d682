#!/usr/bin/env bash
# Builds the native core with the tests (build/native) and the Windows
# program with its hook library (build/win32).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build build/win32 -j2
cmake -S . -B build/native -G Ninja -DSQ_WIN32_DIR="$root/build/win32" >/dev/null
cmake --build build/native -j2
