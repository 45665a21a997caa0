#!/bin/sh
# Usage: session.sh --compositor weston-in-sway --vpointer VPOINTER -- \
#          sh titlebar.sh EXECUTABLE
# weston, as GNOME, leaves title bars to the program, and Qt's own would
# offer minimise and maximise whatever the window's flags; a maximise of the
# fixed-size window ended the connection ("xdg_surface geometry ... does not
# match the configured maximized state") and the reader without the exit
# question. The reader draws its own title bars there, with the buttons its
# windows list and no more.
# Passes when the main window's bar offers minimise, a disabled maximise
# that does nothing, and close, which asks the exit question as Alt+F4 does;
# a double-click on the title does nothing, a drag on it moves the window
# and a right-click opens the window menu; the detail window's bar offers
# close alone; minimise asks the compositor to minimise; and the reader
# reported no error.
set -eu
exe=$1
. "$(dirname "$0")/drive.sh"
[ "$WAYLAND_SESSION" = weston-in-sway ] || fail "needs weston, which leaves the title bar to the program"

work=$(mktemp -d)
cd "$work"
# The reader's side of the protocol tells drive.sh where the pointer is, and
# this script which requests the reader made and when a click has been
# handled, which the window's place alone cannot: it looks the same before
# the click is handled as after.
log=$work/reader.log
READER_LOG=$log
WAYLAND_DEBUG=client LC_ALL=hu_HU.UTF-8 LANGUAGE= "$exe" 2>"$log" & reader=$!
trap 'kill -TERM "$reader" 2>/dev/null; wait "$reader" 2>/dev/null; rm -rf "$work"' EXIT
requests() { grep -c "^\[.*-> xdg_toplevel[@#][0-9]*\.$1(" "$log" || true; }
presses() { grep -c '^\[.*wl_pointer[@#][0-9]*\.button(.*, 1)$' "$log" || true; }
main=$(wl_window '^Vargorin összes költeménye:$' "$reader") || fail "the main window did not appear"
wl_focused "$main" || fail "the main window did not get the focus"
geometry=$(wl_geometry "$main")

# The number of colours where a title-bar button of the window would be: one
# where the bar is bare.
colours_at_button() { # handle close|maximise|minimise
  wl_screenshot "$work/window.png" "$1" || return 1
  set -- "$1" $(_title_button_at "$2")
  convert "$work/window.png" -gravity NorthEast -crop "20x20+$(( $2 - 10 ))+$(( $3 - 10 ))" +repage -format %k info:
}
painted() { [ "$(colours_at_button "$1" minimise)" -gt 1 ] && [ "$(colours_at_button "$1" close)" -gt 1 ]; }
wl_until "the main window's title bar painted" painted "$main" ||
  fail "no minimise and close buttons on the main window's title bar"

# Settled once the reader has taken the given number of presses and its
# window is where it was.
settled() { # presses
  _alive "$reader" || { _deadline=0; return 1; }
  [ "$(presses)" -ge "$1" ] && [ "$(wl_geometry "$main")" = "$geometry" ]
}
pressed=$(presses)
wl_title_button "$main" maximise
wl_until "the maximise button handled" settled $((pressed + 1)) ||
  fail "the maximise button left the window at $(wl_geometry "$main") (was $geometry); the reader said: $(reader_said)"
set -- $(_line "$main")
title_x=$(( ($2 + $4) / 2 )) title_y=$(( $3 + 16 ))
pressed=$(presses)
wl_click "$main" $title_x $title_y click left click left
wl_until "the double-click handled" settled $((pressed + 2)) ||
  fail "a double-click on the title left the window at $(wl_geometry "$main") (was $geometry); the reader said: $(reader_said)"
[ "$(requests set_maximized)" = 0 ] || fail "the reader asked to be maximised"

echo "titlebar: a drag on the title moves the window"
set -- $geometry
moved="$(( $1 + 40 )) $(( $2 + 30 )) $3 $4"
at_moved() { [ "$(wl_geometry "$main")" = "$moved" ]; }
# The reader's request to move reaches weston some time after the press; a
# pointer moved and released before weston took it up moves nothing. Once
# weston holds the pointer for the move, it tells the reader the pointer
# left its window.
leaves() { grep -c '^\[.*wl_pointer[@#][0-9]*\.leave(' "$log" || true; }
left=$(leaves)
wl_click "$main" $title_x $title_y press left
wl_until "the move started" eval '[ "$(requests move)" -ge 1 ]' || fail "a press on the title started no move"
wl_until "weston moving the window" eval '[ "$(leaves)" -gt "$left" ]' || fail "weston did not take up the move"
wl_pointer move $(( title_x + 40 )) $(( title_y + 30 )) release left
wl_until "the window moved" at_moved || fail "the window is at $(wl_geometry "$main") after the drag, not $moved"
geometry=$moved
title_x=$(( title_x + 40 )) title_y=$(( title_y + 30 ))

echo "titlebar: a right-click on the title opens the window menu, Esc closes it"
wl_click "$main" $title_x $title_y click right
wl_until "the window menu shown" eval '[ "$(grep -c "get_popup(" "$log")" -ge 1 ]' ||
  fail "a right-click on the title opened no menu"
wl_keys -k Escape
wl_until "the window menu closed" eval '[ "$(grep -c "xdg_popup[@#][0-9]*\.destroy(" "$log")" -ge 1 ]' ||
  fail "Esc did not close the window menu"

# The close button and Alt+F4, which weston leaves to the window, both ask
# the exit question; Nem keeps the window where it was.
for road in button keys; do
  echo "titlebar: close by the $road asks the exit question"
  wl_focused "$main" || fail "the main window did not get the focus back"
  case $road in
    button) wl_title_button "$main" close ;;
    keys) wl_keys -M alt -k F4 -m alt ;;
  esac
  question=$(wl_window '^Figyelem:$' "$reader") || fail "no exit question; the reader said: $(reader_said)"
  wl_focused "$question" || fail "the exit question never got the focus"
  wl_keys -M alt n -m alt
  wl_gone "$question" || fail "Nem did not close the exit question"
  [ "$(wl_geometry "$main")" = "$geometry" ] || fail "the main window is $(wl_geometry "$main"), was $geometry"
done

echo "titlebar: the detail window offers close alone"
wl_focused "$main" || fail "the main window did not get the focus back"
detail=$(wl_open_detail "$main" "$reader") || fail "a double-click on a title opened no detail window"
wl_focused "$detail" || fail "the detail window is not the active one"
wl_until "the detail window's title bar painted" eval '[ "$(colours_at_button "$detail" close)" -gt 1 ]' ||
  fail "no close button on the detail window's title bar"
for button in maximise minimise; do
  [ "$(colours_at_button "$detail" $button)" = 1 ] || fail "the detail window's title bar shows a $button button"
done
wl_title_button "$detail" close
wl_gone "$detail" || fail "the detail window's close button did not close it"

echo "titlebar: minimise"
wl_focused "$main" || fail "the main window did not get the focus back"
wl_title_button "$main" minimise
wl_until "the minimise asked for" eval '[ "$(requests set_minimized)" -ge 1 ]' ||
  fail "the minimise button asked the compositor for nothing"
_alive "$reader" || fail "the reader ended"
! reader_said | grep -i 'error\|hiba' || fail "the reader reported an error"
echo "titlebar: passed"
