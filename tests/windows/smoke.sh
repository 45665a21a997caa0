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
# Wine takes keys for the window it has made active, which the other
# reader's box was: a click on the status bar makes the main window so.
xdotool mousemove --window "$main" 350 585 click 1
choose "$main" "$first" i is_shown '^Figyelem:$' || fail "no exit question"
question=$(window '^Figyelem:$')
press "$question" Return
wait_exit "$first" 0
[ ! -e Vargorin.db ] || fail "working copy left behind after a confirmed exit"
wine_stop # each start below in a Wine session of its own, as after a log-on

echo "smoke: a search and the detail window on its first match; the end of the session then ends at once"
reader; first=$pid
main=$(window "$main_title") || fail "main window did not appear again"
choose "$main" "$first" k || fail "the search page could not be chosen"
# Into the term's box (its place in the window, Wine's frame included), the
# term, then the search button, which the Tab key reaches next.
xdotool mousemove --window "$main" 300 181 click 1
await 30 has_focus "$main" || fail "the main window did not take the keyboard focus"
xdotool key ctrl+a
xdotool type --delay 50 "KERT"
xdotool key Tab space
detail_title='^ Találat:$'
double_click "$main" 120 103 is_shown "$detail_title" || fail "no detail window"
detail=$(window "$detail_title")
if [ -n "${SMOKE_SCREENSHOT:-}" ]; then import -window root "${SMOKE_SCREENSHOT%.png}-detail.png"; fi
"$WINE" wineboot --end-session >/dev/null 2>&1 || true
await 60 sh -c "! kill -0 $first 2>/dev/null" || fail "the reader did not end with the session"
wait "$first" || true
[ -f Vargorin.db ] || fail "working copy should stay after the end of the session"
cmp -s Vargorin.db "$carried" || fail "working copy changed at the end of the session"
wine_stop

echo "smoke: started minimised, the main window starts minimised"
"$WINE" start /min /d "Z:$PWD" /unix "$exe" >/dev/null 2>&1 &
main=$(timeout 60 xdotool search --sync --name "$main_title" | head -n 1) || true
[ -n "$main" ] || fail "no main window after a minimised start"
# Wine, drawing its own frames here, shows a minimised window as a bare
# title of 160 x 24 pixels at the screen's bottom left.
window_height() { xwininfo -id "$1" | sed -n 's/^ *Height: //p'; }
minimised() { [ "$(window_height "$main")" -lt 100 ]; }
await 30 minimised || fail "the main window is not minimised ($(window_height "$main") high)"
await 30 test -f Vargorin.db || fail "no working copy after a minimised start"
wine_stop

echo "smoke: at a density of 1.5 the windows are 1.5 times their size"
wine_reg 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD 144
reader; fourth=$pid
main=$(window "$main_title") || fail "main window did not appear at 1.5"
width=$(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
# 702 x 1.5 inside Wine's own frame of a few pixels.
[ "$width" -ge 1053 ] && [ "$width" -le 1069 ] || fail "main window is $width wide at 1.5, expected 1053 (702 x 1.5) and Wine's frame"
if [ -n "${SMOKE_SCREENSHOT:-}" ]; then import -window root "${SMOKE_SCREENSHOT%.png}-1.5.png"; fi

echo "smoke: passed"
