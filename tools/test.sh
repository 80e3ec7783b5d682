#!/usr/bin/env bash
# From a fresh machine: installs what is needed, builds the native code and
# both Windows targets and runs every test (unit tests on the simulated
# desktop, then the end-to-end tests of the real program under each Wine the
# machine can run), then makes the release packages and tests them under
# Wine (e2e/install.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# Each step's wall time, printed as it ends and again at the end.
start=$(date +%s)
last=$start
times=""
step() {
  local now
  now=$(date +%s)
  times="$times  $1: $((now - last)) s"$'\n'
  echo "test.sh: $1 took $((now - last)) s" >&2
  last=$now
}
bash "$root/tools/setup.sh"
step "set-up"
# Cheap checks of the sources: no include reaches up the layers; no
# struct or class of the core over its size limits.
python3 "$root/tools/layercheck.py" "$root"
python3 "$root/tools/structcheck.py" "$root"
step "source checks"
# Warnings are errors in the test command's builds (SQ_WERROR, here and in
# the sanitized build below).
SQ_WERROR=ON bash "$root/tools/build.sh" windows
step "Windows builds"
# The native code and the unit tests under ASan and UBSan.
SQ_WERROR=ON FUZZ_SECONDS=0 bash "$root/tools/sanitize.sh"
step "sanitized build, unit tests"
bash "$root/e2e/all.sh" "$root/build/win32" "$root/build/win64"
step "end to end"
# A minute of fuzzing the whole program under the sanitizers, on one core
# beside the release packages' checks: both builds' packages unpacked,
# installed, upgraded and uninstalled under each Wine the machine can run
# (they mostly wait on Wine and on the installers).
(
  export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  exec "$root/build/asan/sqfuzz" --seconds "${FUZZ_SECONDS:-60}" >"$root/build/asan/fuzz.log" 2>&1
) &
fuzz=$!
bash "$root/tools/package.sh" "$root/build/win32" "$root/build/win64"
bash "$root/e2e/install.sh" "$root/build/win32" "$root/build/win64"
# What the program asks of the system per tick, idle and under key taps:
# counts, which a busy core does not change.
bash "$root/tools/tickcount.sh" "$root/build/win64"
fuzz_rc=0
wait "$fuzz" || fuzz_rc=$?
tail -n 1 "$root/build/asan/fuzz.log" >&2
if [ "$fuzz_rc" != 0 ]; then
  cat "$root/build/asan/fuzz.log" >&2
  echo "test.sh: the fuzzer failed (exit $fuzz_rc)" >&2
  exit 1
fi
step "fuzzing beside the packages and the count check"
# The program's cost against bare programs of the same run (idle 10 s, 50
# key taps, start-up, memory), alone on the machine: it fails when a figure
# passes its guard (tools/cost.sh, docs/cost.md).
bash "$root/tools/cost.sh" --short "$root/build/win64"
step "cost guard"
printf 'test.sh: all in %d s\n%s' "$(($(date +%s) - start))" "$times" >&2
