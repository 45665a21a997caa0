#!/bin/sh
# Usage (inside an X server): smoke.sh VARGORIN_EXE CARRIED_DB
# The real vargorin.exe in Wine, in a prefix and an empty folder of its own,
# driven with xdotool as a user would: start-up and the working copy, a
# search and the detail window, a second reader, the exit question, the end
# of the session, a minimised start and a density of 1.5.
set -eu
exe=$1
carried=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/reader.sh"
. "$here/wine.sh"
trap 'wine_stop; kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

wine_prefix "$work/prefix"
mkdir "$work/run"
cd "$work/run"
start_window_manager
main_title='^Vargorin összes költeménye:$'

# Starts the reader in the background; its pid in $pid.
reader() { "$WINE" "$exe" & pid=$!; }

echo "smoke: start-up writes the working copy"
reader; first=$pid
main=$(window "$main_title") || fail "main window did not appear"
cmp -s Vargorin.db "$carried" || fail "working copy differs from the carried database"
if [ -n "${SMOKE_SCREENSHOT:-}" ]; then import -window root "$SMOKE_SCREENSHOT"; fi

echo "smoke: a search, and the detail window on its first match"
choose "$main" "$first" k || fail "the search page could not be chosen"
press "$main" ctrl+a
xdotool type --delay 50 "KERT"
xdotool key Tab space
detail_title='^ Találat:$'
double_click "$main" 120 120 is_shown "$detail_title" || fail "no detail window"
detail=$(window "$detail_title")
if [ -n "${SMOKE_SCREENSHOT:-}" ]; then import -window root "${SMOKE_SCREENSHOT%.png}-detail.png"; fi
press "$detail" Escape
await 30 is_gone "$detail_title" || fail "the detail window did not close"

echo "smoke: a second reader in the same folder leaves the copy alone"
before=$(stat -c '%i %Y %s' Vargorin.db)
reader; second=$pid
box=$(window '^Vargorin$') || fail "the second reader showed no message"
[ "$(stat -c '%i %Y %s' Vargorin.db)" = "$before" ] || fail "the second reader touched the working copy"
press "$box" Return
wait_exit "$second" 1
cmp -s Vargorin.db "$carried" || fail "working copy changed"
kill -0 "$first" || fail "the first reader did not survive"

echo "smoke: Kilépés, answered Yes, ends with 0 and deletes the copy"
choose "$main" "$first" i is_shown '^Figyelem:$' || fail "no exit question"
question=$(window '^Figyelem:$')
press "$question" Return
wait_exit "$first" 0
[ ! -e Vargorin.db ] || fail "working copy left behind after a confirmed exit"

echo "smoke: the end of the session ends at once, with the question open"
reader; third=$pid
main=$(window "$main_title") || fail "main window did not appear again"
choose "$main" "$third" i is_shown '^Figyelem:$' || fail "no exit question"
"$WINE" wineboot --end-session >/dev/null 2>&1 || true
await 60 sh -c "! kill -0 $third 2>/dev/null" || fail "the reader did not end with the session"
wait "$third" || true
[ -f Vargorin.db ] || fail "working copy should stay after the end of the session"
cmp -s Vargorin.db "$carried" || fail "working copy changed at the end of the session"
wine_stop

echo "smoke: started minimised, the main window starts minimised"
"$WINE" start /min /unix "$exe" >/dev/null 2>&1 &
main=$(timeout 60 xdotool search --sync --name "$main_title" | head -n 1) || true
[ -n "$main" ] || fail "no main window after a minimised start"
iconic() { xprop -id "$main" WM_STATE 2>/dev/null | grep -q 'Iconic'; }
await 30 iconic || fail "the main window is not minimised"
wine_stop

echo "smoke: at a density of 1.5 the windows are 1.5 times their size"
wine_reg 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD 144
reader; fourth=$pid
main=$(window "$main_title") || fail "main window did not appear at 1.5"
width=$(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
[ "$width" = 1053 ] || fail "main window is $width wide at 1.5, expected 1053 (702 x 1.5)"
if [ -n "${SMOKE_SCREENSHOT:-}" ]; then import -window root "${SMOKE_SCREENSHOT%.png}-1.5.png"; fi

echo "smoke: passed"
