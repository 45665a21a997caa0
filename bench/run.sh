#!/bin/sh
# Runs every benchmark on the build in build/ (made by ./test.sh or
# ./run.sh) and prints one table: figure, baseline measured in the same run,
# ratio, goal. Figures, not tests: a missed goal is shown, never a failure.
# Start-up runs first, before the others load the machine; it wants a quiet
# machine all the same: see the load printed first.
#   bench/run.sh                       everything
#   SEARCH_TERMS=10000 bench/run.sh    fewer terms for the differential search (default 100000)
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
  grep -v -e '^ROW' -e 'propagateSizeHints' -e 'XDG_RUNTIME_DIR' "$out"
  grep '^ROW' "$out" >> "$rows"
  rm -f "$out"
}

# Start-up times move more from one X server session to the next than within
# one: five sessions of 21 alternating runs, and the table takes the median
# session of each figure.
sessions=$(mktemp)
for session in 1 2 3 4 5; do
  bench "start-up, X session $session of 5" env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/bench/startup/bench_startup" "$build/app/vargorin" "$build/bench/startup/bench_bare_window" 21
done
grep '^ROW	start-up' "$rows" > "$sessions"
sed -i '/^ROW	start-up/d' "$rows"
for figure in "spawn to mapped window" "peak resident memory"; do
  grep -F "start-up: $figure" "$sessions" | sort -t "$(printf '\t')" -k5,5g | sed -n 3p >> "$rows"
done
rm -f "$sessions"

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
# Qt Test stops a test function after 5 minutes unless told otherwise.
QTEST_FUNCTION_TIMEOUT=86400000 VARGORIN_SEARCH_TERMS=$terms \
  "$build/tests/search/test_search_differential" >"$log" 2>&1
status=$?
grep -E 'seed|agreed|FAIL|Totals' "$log"
seconds=$(( $(date +%s) - started ))
if [ "$status" -eq 0 ]; then outcome="all agreed"; verdict=met; else outcome="FAILED"; verdict="MISSED (replay the seed above)"; fi
printf 'ROW\tdifferential search: %s terms against the reference\t%s in %s s\t-\t-\tall agree\t%s\n' \
  "$terms" "$outcome" "$seconds" "$verdict" >> "$rows"
rm -f "$log"

echo; echo "load after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
awk -F'\t' 'BEGIN { printf "%-62s %-16s %-16s %-7s %-12s %s\n", "benchmark", "figure", "baseline", "ratio", "goal", "verdict" }
            /^ROW/ { printf "%-62s %-16s %-16s %-7s %-12s %s\n", $2, $3, $4, $5, $6, $7 }' "$rows"
