#!/bin/sh
# Usage (inside an X server): smoke.sh EXECUTABLE CARRIED_DB
# Drives the real reader with xdotool the way a user would.
set -eu
exe=$1
carried=$2
. "$(dirname "$0")/../support/reader.sh"

echo "smoke: start-up"
"$exe" & first=$!
main=$(window '^Vargorin összes költeménye:$') || fail "main window did not appear"
cmp -s Vargorin.db "$carried" || fail "working copy differs from the carried database"
if [ -n "${SMOKE_SCREENSHOT:-}" ]; then import -window root "$SMOKE_SCREENSHOT"; fi

echo "smoke: a second reader in the same folder"
before=$(stat -c '%i %Y %s' Vargorin.db)
"$exe" & second=$!
box=$(window '^vargorin$') || fail "the second reader showed no message"
[ "$(stat -c '%i %Y %s' Vargorin.db)" = "$before" ] || fail "the second reader touched the working copy"
press "$box" Return
wait_exit "$second" 1
cmp -s Vargorin.db "$carried" || fail "working copy changed"
kill -0 "$first" || fail "the first reader did not survive"

echo "smoke: Kilépés from the menu, answered Yes"
choose "$main" "$first" i is_shown '^Figyelem:$' || fail "no exit question"
question=$(window '^Figyelem:$') || fail "no exit question"
press "$question" Return
wait_exit "$first" 0
[ ! -e Vargorin.db ] || fail "working copy left behind after a confirmed exit"

echo "smoke: shutdown notice ends at once and keeps the copy"
"$exe" & third=$!
window '^Vargorin összes költeménye:$' >/dev/null || fail "main window did not appear again"
kill -TERM "$third"
wait_exit "$third" 0
[ -f Vargorin.db ] || fail "working copy should stay after a shutdown"

echo "smoke: passed"
