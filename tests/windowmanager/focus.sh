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

openbox & sleep 1
"$exe" & reader=$!
main=$(window '^Vargorin összes költeménye:$') || fail "main window did not appear"
# The fourth title of the index: a click gives the grid the focus.
row_y=132
xdotool mousemove --window "$main" --sync 120 "$row_y" click 1
sleep 0.5
selected=$(colour_at "$main" 300 "$row_y")
[ "$selected" != "255,255,255" ] || fail "the clicked row is not drawn selected"

xdotool click --repeat 2 --delay 80 1
detail=$(window '^ Találat:$') || fail "the detail window did not open"
xdotool mousemove 0 0
# Alt+F4 goes through the window manager. About one run in ten, the press
# sent just after the window appears is never answered (the window stays,
# nothing else opens); a second press always closes it. A user would press
# again too.
closed=no
for attempt in 1 2 3; do
  xdotool windowactivate --sync "$detail" key --clearmodifiers alt+F4
  if timeout 5 sh -c "while xdotool search --onlyvisible --name '^ Találat:\$' >/dev/null; do sleep 0.1; done"; then
    closed=yes; break
  fi
done
[ "$closed" = yes ] || fail "the detail window did not close"
sleep 0.5
after=$(colour_at "$main" 300 "$row_y")
[ "$after" = "$selected" ] || fail "the grid lost the focus: the row is $after, was $selected"

kill -TERM "$reader"; wait "$reader" || true
echo "focus: passed"
