#!/bin/sh
# Usage: session.sh --compositor weston-in-sway --vpointer VPOINTER -- \
#          sh titlebar.sh EXECUTABLE
# Under weston the title bar that Qt draws for the reader offers a maximise
# button whatever the window's flags. A click on it makes Qt ask for the
# maximised state and acknowledge weston's maximised configure; a picture at
# the fixed size after it would end the connection ("xdg_surface geometry
# ... does not match the configured maximized state") and the reader with
# status 1, without the exit question. The reader takes the maximised state
# and gives it back at once.
# Qt's title bar takes a double-click on the title as two starts of a move,
# not as a maximise; nothing may come of it either.
# Passes when, after a click on the maximise button and a double-click on
# the title, the reader still answers the close request with the exit
# question, at its old size and place, having reported no error.
set -eu
exe=$1
. "$(dirname "$0")/drive.sh"
[ "$WAYLAND_SESSION" = weston-in-sway ] || fail "needs weston, which leaves the title bar to the program"

work=$(mktemp -d)
cd "$work"
# The reader's side of the protocol tells drive.sh where the pointer is, and
# this script when a click has been handled and the maximised state given
# back, which the window's place alone cannot: it looks the same before the
# click is handled as after.
log=$work/reader.log
READER_LOG=$log
WAYLAND_DEBUG=client LC_ALL=hu_HU.UTF-8 LANGUAGE= "$exe" 2>"$log" & reader=$!
trap 'kill -TERM "$reader" 2>/dev/null; wait "$reader" 2>/dev/null; rm -rf "$work"' EXIT
requests() { grep -c "^\[.*-> xdg_toplevel[@#][0-9]*\.$1()" "$log" || true; }
presses() { grep -c '^\[.*wl_pointer[@#][0-9]*\.button(.*, 1)$' "$log" || true; }
main=$(wl_window '^Vargorin összes költeménye:$' "$reader") || fail "the main window did not appear"
wl_focused "$main" || fail "the main window did not get the focus"
geometry=$(wl_geometry "$main")

# Settled once the reader has taken the given number of presses, gave back
# every maximised state it asked for, and its window is where it was.
settled() { # presses
  _alive "$reader" || { _deadline=0; return 1; }
  [ "$(presses)" -ge "$1" ] && [ "$(requests set_maximized)" = "$(requests unset_maximized)" ] &&
    [ "$(wl_geometry "$main")" = "$geometry" ]
}
pressed=$(presses)
wl_title_button "$main" maximise
wl_until "the maximise button handled" eval '[ "$(requests set_maximized)" -ge 1 ] && settled $((pressed + 1))' ||
  fail "the maximise button left the window at $(wl_geometry "$main") (was $geometry); the reader said: $(reader_said)"
set -- $(_line "$main")
pressed=$(presses)
wl_click "$main" $(( ($2 + $4) / 2 )) $(( $3 + 15 )) click left click left
wl_until "the double-click handled" settled $((pressed + 2)) ||
  fail "a double-click on the title left the window at $(wl_geometry "$main") (was $geometry); the reader said: $(reader_said)"
wl_close "$main"
wl_window '^Figyelem:$' "$reader" >/dev/null || fail "no exit question; the reader said: $(reader_said)"
[ "$(wl_geometry "$main")" = "$geometry" ] || fail "the main window is $(wl_geometry "$main"), was $geometry"
! reader_said | grep -i 'error\|hiba' || fail "the reader reported an error"
echo "titlebar: passed"
