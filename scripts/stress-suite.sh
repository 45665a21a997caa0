#!/bin/sh
# Usage: scripts/stress-suite.sh [RUNS] [CTEST ARGUMENTS...]
# Runs the test suite RUNS times (10 by default) in the build folder while
# stress-ng keeps every core busy, as on a loaded CI machine, and says how
# many runs passed. A suite that waits on time instead of on a state shows up
# here. Further arguments go to ctest, e.g. -R 'smoke|session' to repeat only
# some suites. Builds nothing: run ./test.sh or cmake --build first.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
runs=${1:-10}
[ $# -eq 0 ] || shift

if ! command -v stress-ng >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends stress-ng
fi

stress-ng --cpu "$(nproc)" --timeout 0 --quiet & load=$!
# Only the load started here is stopped, by its process id.
trap 'kill "$load" 2>/dev/null || true; wait "$load" 2>/dev/null || true' EXIT INT TERM

cd "$BUILD_DIR"
passed=0 run=1
while [ "$run" -le "$runs" ]; do
  echo "=== stress run $run of $runs ($(date +%T))"
  if ctest --output-on-failure -j 2 "$@"; then
    passed=$((passed + 1))
  else
    echo "=== stress run $run failed"
  fi
  run=$((run + 1))
done
echo "stress: $passed of $runs runs passed"
[ "$passed" -eq "$runs" ]
