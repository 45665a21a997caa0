#!/bin/sh
# Runs every benchmark on the build in build/ (made by ./test.sh or
# ./run.sh) and prints one table: figure, baseline measured in the same run,
# ratio, goal. Figures, not tests: a missed goal is shown, never a failure.
# The start-up benchmark wants a quiet machine: see the load printed first.
#   bench/run.sh                 everything
#   SEARCH_TERMS=100000 bench/run.sh   terms for the differential search run (default 100000)
set -u
cd "$(dirname "$0")/.."
build=$(pwd)/${BUILD_DIR:-build}
terms=${SEARCH_TERMS:-100000}
rows=$(mktemp)
trap 'rm -f "$rows"' EXIT

echo "load before the run: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"

bench() { # title, command...
  title=$1; shift
  echo; echo "== $title"
  out=$(mktemp)
  "$@" >"$out" 2>&1 || printf 'ROW\t%s\t-\t-\t-\t-\tFAILED TO RUN\n' "$title" >> "$rows"
  grep -v '^ROW' "$out"
  grep '^ROW' "$out" >> "$rows"
  rm -f "$out"
}

export QT_QPA_PLATFORM=offscreen
bench "record set" "$build/bench/store/bench_recordset"
bench "title grid" "$build/bench/grid/bench_grid"
bench "detail window" "$build/bench/detail/bench_detail"
bench "search on the carried poems" "$build/bench/search/bench_search"
bench "search at scale" "$build/bench/search/bench_search_scale"
bench "soak" "$build/bench/soak/bench_soak"

echo; echo "== differential search, $terms terms"
log=$(mktemp)
started=$(date +%s)
VARGORIN_SEARCH_TERMS=$terms "$build/tests/search/test_search_differential" >"$log" 2>&1
status=$?
grep -E 'seed|agreed|FAIL|Totals' "$log"
seconds=$(( $(date +%s) - started ))
if [ "$status" -eq 0 ]; then verdict=met; else verdict="MISSED (see the seed above)"; fi
printf 'ROW\tdifferential search: %s terms, mismatches\t%s\t-\t-\t0\t%s\n' "$terms" \
  "$( [ "$status" -eq 0 ] && echo 0 || echo '>= 1') ($seconds s)" "$verdict" >> "$rows"
rm -f "$log"

unset QT_QPA_PLATFORM
bench "start-up" xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/startup/bench_startup" \
  "$build/app/vargorin" "$build/bench/startup/bench_bare_window" 21

echo; echo "load after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
awk -F'\t' 'BEGIN { printf "%-62s %-16s %-16s %-7s %-12s %s\n", "benchmark", "figure", "baseline", "ratio", "goal", "verdict" }
            /^ROW/ { printf "%-62s %-16s %-16s %-7s %-12s %s\n", $2, $3, $4, $5, $6, $7 }' "$rows"
