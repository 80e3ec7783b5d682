#!/usr/bin/env bash
# The unit tests and a bounded fuzzing run under AddressSanitizer and
# UndefinedBehaviorSanitizer (build/asan); the first report ends the run
# with an error. FUZZ_SECONDS sets the fuzzing time (default 60; 0 for none);
# SQ_WERROR=ON makes the program's warnings errors (the test command sets it).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# The compiler cache (when there is one) keys on paths relative to the
# checkout, so another clone of the same sources finds its objects.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
cd "$root"
cmake -S . -B build/asan -G Ninja -DSQ_SANITIZE=ON -DSQ_WERROR="${SQ_WERROR:-OFF}" >/dev/null
# The benchmarks are built too, so that they keep building; they run
# from the optimised build (build/native).
targets="sqtests sqfuzz"
ninja -C build/asan -t targets all | grep -q '^sqbench:' && targets="$targets sqbench"
# shellcheck disable=SC2086
cmake --build build/asan -j2 --target $targets
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The unit tests in two halves side by side, each half one process (a
# process a test, as ctest runs them, spent five times as long starting
# processes under the sanitizers as running the tests).
status=0
for shard in 0 1; do
  (cd build/asan && GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=$shard ./sqtests --gtest_brief=1 \
    >"unit-$shard.log" 2>&1) &
done
for shard in 0 1; do wait -n || status=1; done
for shard in 0 1; do
  if [ "$status" != 0 ]; then cat "build/asan/unit-$shard.log"; else tail -n 2 "build/asan/unit-$shard.log"; fi
done
[ "$status" = 0 ] || { echo "unit tests failed under the sanitizers" >&2; exit 1; }
# FUZZ_SECONDS=0: no fuzzing here (the test command runs it beside the
# package checks, which mostly wait on Wine).
if [ "${FUZZ_SECONDS:-60}" != 0 ]; then build/asan/sqfuzz --seconds "${FUZZ_SECONDS:-60}"; fi
