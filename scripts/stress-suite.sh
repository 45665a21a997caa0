#!/bin/sh
# Usage: scripts/stress-suite.sh [RUNS] [CTEST ARGUMENTS...]
# Runs the test suite RUNS times (10 by default) in the build folder while
# stress-ng keeps every core busy, as on a loaded CI machine, and says how
# many runs passed. A suite that waits on time instead of on a state shows up
# here. Further arguments go to ctest, e.g. -R 'smoke|session' to repeat only
# some suites. Builds nothing: run ./test.sh or cmake --build first.
#
# BESIDE=FOLDER runs the suite of a second build folder at the same time in
# every run, as two CI jobs on one machine do (configure and build one with
# cmake -B FOLDER first); a run passes when both suites pass.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
BESIDE=${BESIDE:-}
runs=${1:-10}
[ $# -eq 0 ] || shift

if ! command -v stress-ng >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends stress-ng
fi

for folder in "$BUILD_DIR" ${BESIDE:+"$BESIDE"}; do
  [ -f "$folder/CTestTestfile.cmake" ] || { echo "stress-suite.sh: no tests in $folder; build it first" >&2; exit 1; }
done
main=$(cd "$BUILD_DIR" && pwd)
second=''
[ -z "$BESIDE" ] || second=$(cd "$BESIDE" && pwd)

stress-ng --cpu "$(nproc)" --timeout 0 --quiet & load=$!
beside=''
# Only what was started here is stopped, by its process id.
trap 'for pid in $beside $load; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done' EXIT INT TERM

passed=0 run=1
while [ "$run" -le "$runs" ]; do
  echo "=== stress run $run of $runs ($(date +%T))"
  ok=yes
  if [ -n "$second" ]; then
    (cd "$second" && ctest --output-on-failure -j 2 "$@") > "$second/stress-beside.log" 2>&1 & beside=$!
  fi
  (cd "$main" && ctest --output-on-failure -j 2 "$@") || ok=''
  if [ -n "$beside" ]; then
    wait "$beside" || { ok=''; echo "=== the suite beside, in $second, failed:"; cat "$second/stress-beside.log"; }
    beside=''
  fi
  if [ -n "$ok" ]; then
    passed=$((passed + 1))
  else
    echo "=== stress run $run failed"
  fi
  run=$((run + 1))
done
echo "stress: $passed of $runs runs passed"
[ "$passed" -eq "$runs" ]
