#!/usr/bin/env bash
# The end-to-end suite on every Wine this machine can run.
#
#   e2e/all.sh WIN32_BUILD WIN64_BUILD
#
# The 32-bit build runs on 32-bit Wine where the machine runs 32-bit
# programs (found by running one: some machines boot with the kernel's
# 32-bit emulation off); otherwise the 64-bit build, on 64-bit Wine.
# SQ_FORCE_WIN64=1 takes the 64-bit-only path on any machine. The 64-bit
# build then runs once more with the display at 144 DPI: every check whose
# figures depend on the display's scale (the rest, DPI_FREE of the suite
# files, runs at 96 only). Each build and DPI
# keeps its own Wine prefix. The last line adds up all runs.
set -u
if [ $# -ne 2 ]; then
  echo "usage: $0 WIN32_BUILD WIN64_BUILD" >&2
  exit 2
fi
HERE=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e/env.sh
. "$HERE/env.sh"

passed=0
failed=0
status=0
run_one() {  # run_one LABEL BUILD
  local out rc line
  out=$(mktemp)
  bash "$HERE/run.sh" "$2" 2>&1 | tee "$out"
  rc=${PIPESTATUS[0]}
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$out" | tail -1)
  rm -f "$out"
  if [ -z "$line" ]; then line="0 passed, 1 failed"; fi
  passed=$((passed + $(echo "$line" | cut -d' ' -f1)))
  failed=$((failed + $(echo "$line" | cut -d' ' -f3)))
  [ "$rc" = 0 ] || status=1
  echo "end to end, $1: $line"
}

# Where 32-bit programs run, the primary product (the 32-bit build) takes
# the whole suite at 96 DPI and the 64-bit build the run at 144 DPI; a
# third whole run, the 64-bit build at 96, would repeat the first on the
# other build and took the test command past a quarter of an hour.
if sq_can_run_32; then
  run_one "32-bit build" "$1"
else
  echo "32-bit programs cannot run on this machine: the 32-bit build was not run end to end"
  run_one "64-bit build" "$2"
fi
# Once more with the display scaled to 144 DPI (a prefix of its own).
SQ_E2E_DPI=144 run_one "64-bit build at 144 DPI" "$2"
echo "$passed passed, $failed failed"
exit "$status"
