#!/bin/sh
# Usage (inside session.sh, under sway): linkcursor.sh EXECUTABLE
# The hand over a link of the about page stays when the link's tooltip
# appears. Qt's Wayland plugin gives the pointer the cursor of every window
# it creates, the tooltip's too, wherever the pointer is.
set -eu
exe=$1
. "$(dirname "$0")/drive.sh"
[ "$WAYLAND_SESSION" = sway ] || fail "needs sway, whose screenshots show the cursor"

work=$(mktemp -d)
cd "$work"
LC_ALL=hu_HU.UTF-8 LANGUAGE= "$exe" 2>"$work/reader.err" & reader=$!
trap 'kill -TERM "$reader" 2>/dev/null; wait "$reader" 2>/dev/null; rm -rf "$work"' EXIT
main=$(wl_window '^Vargorin összes költeménye:$' "$reader") || fail "the main window did not appear"
wl_focused "$main" || fail "the main window did not get the focus"
set -- $(_line "$main")
left=$2 top=$3

# A part of the screen, with the cursor.
shot() { # file x y w h
  WAYLAND_DISPLAY=$WAYLAND_INPUT_DISPLAY grim -c -g "$2,$3 ${4}x$5" "$work/$1.png"
}
changes() { shot now "$@" && pictures_differ "$work/before.png" "$work/now.png"; }

# The about page's tab, then a point of the e-mail link left of its text,
# where nothing but the cursor is drawn. The hint panel shows the link's
# hint once the pointer is over it, and the link's cursor with it.
wl_pointer move $((left + 175)) $((top + 35)) click left
x=$((left + 120)) y=$((top + 285))
panel="$left $((top + 546)) 500 19"
shot before $panel
wl_pointer move "$x" "$y"
wl_until "the link's hint" changes $panel || fail "the pointer over the e-mail link shows no hint"
cursor="$((x - 10)) $((y - 6)) 32 24"
shot hand $cursor
# The tooltip appears below the pointer: Qt 6.4 puts it about 20 px below,
# Qt 6.8 below the whole cursor, about 45 px.
below="$((x - 10)) $((y + 20)) 200 60"
shot before $below
wl_until "the tooltip" changes $below || fail "no tooltip over the e-mail link"
shot now $cursor
pictures_alike "$work/hand.png" "$work/now.png" ||
  fail "the cursor over the link changed when its tooltip appeared ($_differing pixels)"
! grep -i 'error\|hiba' "$work/reader.err" || fail "the reader reported an error"
echo "linkcursor: passed"
