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
bash "$root/tools/build.sh" windows
step "Windows builds"
# The native code, the unit tests and a minute of fuzzing, under ASan and
# UBSan.
bash "$root/tools/sanitize.sh"
step "sanitized build, unit tests, fuzzing"
bash "$root/e2e/all.sh" "$root/build/win32" "$root/build/win64"
step "end to end"
# The release packages of both builds, unpacked, installed, upgraded and
# uninstalled under each Wine the machine can run.
bash "$root/tools/package.sh" "$root/build/win32" "$root/build/win64"
bash "$root/e2e/install.sh" "$root/build/win32" "$root/build/win64"
step "packages"
printf 'test.sh: all in %d s\n%s' "$(($(date +%s) - start))" "$times" >&2
