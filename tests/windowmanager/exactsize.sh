#!/bin/sh
# Usage (inside an X server): exactsize.sh EXECUTABLE
# Under a real window manager (openbox), the main window and the start-up
# failure box, whose sizes are fixed, get exactly the size they ask for at
# each display density, also where the scaled size is odd (702 x 1.5 = 1053).
set -eu
exe=$1
. "$(dirname "$0")/../support/reader.sh"

# "WIDTHxHEIGHT" of a window's client area, and the size it asks for (its
# fixed size, given to the window manager as both its smallest and largest).
shown_size() { xwininfo -id "$1" | sed -n 's/^ *Width: *//p; s/^ *Height: *//p' | paste -sd x; }
asked_size() { xprop -id "$1" WM_NORMAL_HINTS | sed -n 's/.*minimum size: \([0-9]*\) by \([0-9]*\).*/\1x\2/p'; }
viewable() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
# Once the window manager has framed and mapped the window, it has settled its size.
settled_at_asked_size() { viewable "$1" && framed "$1" && [ "$(shown_size "$1")" = "$(asked_size "$1")" ]; }
check_size() { # window, name
  await 30 settled_at_asked_size "$1" ||
    fail "$2 is $(shown_size "$1"), asked for $(asked_size "$1")"
}

start_window_manager
mkdir -p failing/Vargorin.db # writing the working copy fails here: the failure box

for factor in 1.25 1.5 2; do
  export QT_SCALE_FACTOR=$factor
  "$exe" & reader=$!
  main=$(window '^Vargorin összes költeménye:$') || fail "main window did not appear at $factor"
  check_size "$main" "the main window at $factor"
  width=$(awk "BEGIN { printf \"%d\", 702 * $factor + 0.5 }")
  size=$(shown_size "$main")
  [ "${size%x*}" -eq "$width" ] || fail "the main window at $factor is ${size%x*} px wide, not 702 x $factor = $width"
  kill -TERM "$reader"; wait "$reader" || true

  (cd failing && exec "$exe") & reader=$!
  box=$(window '^Vargorin$') || fail "the failure box did not appear at $factor"
  check_size "$box" "the failure box at $factor"
  kill -TERM "$reader"; wait "$reader" || true
done
echo "exactsize: passed"
