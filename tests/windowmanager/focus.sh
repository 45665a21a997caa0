#!/bin/sh
# Usage (inside an X server): focus.sh EXECUTABLE
# Under a real window manager (openbox), closing the detail window gives the
# keyboard focus back to the title grid: its current row is drawn in the
# selection colours again, which it does only while it has the focus.
set -eu
exe=$1
. "$(dirname "$0")/../support/reader.sh"

# The colour at a point of a window's client area, as "R,G,B".
colour_at() {
  import -window "$1" "$work/shot.png"
  convert "$work/shot.png" -crop "1x1+$2+$3" -depth 8 -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:
}

start_window_manager
"$exe" & reader=$!
main=$(window '^Vargorin összes költeménye:$') || fail "main window did not appear"
# An inactive window draws its selection in other colours: the click waits
# until the window manager has made it active.
await 60 is_active "$main" || fail "the main window did not become active"
# The fourth title of the index: a click gives the grid the focus.
row_y=132
row_is() { [ "$(colour_at "$main" 300 "$row_y")" = "$1" ]; }
row_is_not() { ! row_is "$1"; }
xdotool mousemove --window "$main" --sync 120 "$row_y" click 1
await 60 row_is_not "255,255,255" || fail "the clicked row is not drawn selected"
selected=$(colour_at "$main" 300 "$row_y")

double_click "$main" 120 "$row_y" is_shown '^ Találat:$' || fail "the detail window did not open"
detail=$(window '^ Találat:$') || fail "the detail window did not open"
xdotool mousemove 0 0
# Alt+F4 goes through the window manager, to the window it has made active.
wm_close "$detail" is_gone '^ Találat:$' || fail "the detail window did not close"
# The row is drawn again once the grid has the focus back; a grid that lost
# it keeps the other colour, and the wait runs out.
await 60 row_is "$selected" ||
  fail "the grid lost the focus: the row is $(colour_at "$main" 300 "$row_y"), was $selected"

kill -TERM "$reader"; wait "$reader" || true
echo "focus: passed"
