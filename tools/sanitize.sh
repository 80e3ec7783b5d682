#!/usr/bin/env bash
# The unit tests and a bounded fuzzing run under AddressSanitizer and
# UndefinedBehaviorSanitizer (build/asan); the first report ends the run
# with an error. FUZZ_SECONDS sets the fuzzing time (default 60).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake -S . -B build/asan -G Ninja -DSQ_SANITIZE=ON >/dev/null
cmake --build build/asan -j2 --target sqtests sqfuzz
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
(cd build/asan && ctest --output-on-failure -j2 -L unit)
build/asan/sqfuzz --seconds "${FUZZ_SECONDS:-60}"
