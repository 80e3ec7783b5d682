#!/usr/bin/env bash
# From a fresh machine: installs what is needed, builds the native code and
# both Windows targets and runs every test (unit tests on the simulated
# desktop, then the end-to-end tests of the real program under each Wine the
# machine can run), then makes the release packages and tests them under
# Wine (e2e/install.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh"
(cd "$root/build/native" && ctest --output-on-failure -j2 -L unit)
# The unit tests again and a minute of fuzzing, under ASan and UBSan.
bash "$root/tools/sanitize.sh"
bash "$root/e2e/all.sh" "$root/build/win32" "$root/build/win64"
# The release packages of both builds, unpacked, installed, upgraded and
# uninstalled under each Wine the machine can run.
bash "$root/tools/package.sh" "$root/build/win32" "$root/build/win64"
bash "$root/e2e/install.sh" "$root/build/win32" "$root/build/win64"
