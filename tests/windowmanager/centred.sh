#!/bin/sh
# Usage (inside an X server): centred.sh EXECUTABLE
# Under a real window manager (openbox), whose frame adds a title bar, the
# frames of the main window, the detail window and the start-up failure box
# sit in the middle of the screen, as many pixels above as below; and the
# failure box is wide enough for its caption beside the title bar's buttons.
set -eu
exe=$1
. "$(dirname "$0")/../support/reader.sh"

screen_height=$(xdpyinfo | sed -n 's/.*dimensions: *[0-9]*x\([0-9]*\) pixels.*/\1/p')

# "ABOVE BELOW WIDTH" of a window's frame, from the client's place on the
# screen and the frame the window manager reports around it.
frame_gaps() {
  local info top bottom
  info=$(xwininfo -id "$1")
  client_y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
  height=$(echo "$info" | sed -n 's/.*Height: *//p')
  width=$(echo "$info" | sed -n 's/.*Width: *//p')
  set -- $(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  top=$((client_y - $3))
  bottom=$((client_y + height + $4))
  echo "$top $((screen_height - bottom)) $((width + $1 + $2))"
}
# Centred: the gaps differ by at most the one pixel an odd difference leaves.
centred() {
  set -- $(frame_gaps "$1")
  [ $(($1 - $2)) -le 1 ] && [ $(($2 - $1)) -le 1 ]
}
check_centred() { # window, name
  await 30 framed "$1" || fail "$2 got no frame"
  await 30 centred "$1" || fail "$2 is not centred: above, below, width: $(frame_gaps "$1")"
}

start_window_manager

"$exe" & reader=$!
main=$(window '^Vargorin összes költeménye:$') || fail "main window did not appear"
check_centred "$main" "the main window"
double_click "$main" 120 60 is_shown '^ Találat:$' || fail "the detail window did not open"
detail=$(window '^ Találat:$') || fail "the detail window did not open"
check_centred "$detail" "the detail window"
kill -TERM "$reader"; wait "$reader" || true

# A folder named like the working copy: writing it fails, and the box says so.
mkdir -p failing/Vargorin.db
cd failing
"$exe" & reader=$!
box=$(window '^Vargorin$') || fail "the failure box did not appear"
check_centred "$box" "the failure box"
set -- $(frame_gaps "$box")
[ "$3" -ge 180 ] || fail "the failure box is $3 px wide, too narrow for its caption beside the title bar's buttons"
kill -TERM "$reader"; wait "$reader" || true
echo "centred: passed"
