#!/bin/sh
# Usage (inside session.sh): smoke.sh EXECUTABLE CARRIED_DB
# The real reader as a native Wayland client, driven through the compositor
# the way a user would: start-up, a second reader in the same folder, the
# close request answered Igen, and the shutdown notice. The reader speaks
# Hungarian here, as its users' desktops do, so the answer is the box's own
# "Igen" and its access key.
set -eu
exe=$1
carried=$2
. "$(dirname "$0")/drive.sh"

work=$(mktemp -d)
# Readers still running at the end are asked to stop, and killed when they
# do not, before the compositor goes: none is left behind. They are listed
# by hand (dash's $(jobs -p) runs in a subshell and lists nothing), and
# dropped from the list once waited for, so that no pid is signalled after
# it may have been reused.
readers=''
started() { readers="$readers $1"; }
forget() { readers=$(echo "$readers" | tr ' ' '\n' | grep -vx "$1" | tr '\n' ' '); }
stop_readers() {
  for pid in $readers; do
    kill -TERM "$pid" 2>/dev/null || continue
    wl_until "reader $pid to stop" ended "$pid" || kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
  done
}
trap 'stop_readers; rm -rf "$work"' EXIT
cd "$work"

# The reader must end by itself: one still running a minute after it was
# told to end is a fault, reported as such instead of the test hanging.
wait_exit() { # pid, expected code
  wl_until "process $1 to end" ended "$1" || fail "process $1 still running a minute after it was told to end"
  code=0; wait "$1" || code=$?
  forget "$1"
  [ "$code" -eq "$2" ] || fail "process ended with $code, expected $2"
}
ended() { ! _alive "$1"; }
# A window shows something once its picture has more than a handful of
# colours: anti-aliased text alone brings dozens, a blank or unpainted
# surface has one. The compositor may show a new window a frame late, so
# the picture is taken again until then.
drawn() { # handle
  wl_screenshot "$work/window.png" "$1" &&
    [ "$(convert "$work/window.png" -format %k info:)" -gt 50 ]
}
main_title='^Vargorin összes költeménye:$'

echo "wayland smoke ($WAYLAND_SESSION): start-up"
# Under weston, clicks on the title bars wait on the reader's protocol log
# (drive.sh); what it says is the rest of its standard error.
protocol=''
if [ "$WAYLAND_SESSION" = weston-in-sway ]; then
  READER_LOG=$work/first.err
  protocol=client
fi
WAYLAND_DEBUG=$protocol LC_ALL=hu_HU.UTF-8 LANGUAGE= "$exe" 2>"$work/first.err" & first=$!; started "$first"
main=$(wl_window "$main_title" "$first") || fail "main window with app id $APP_ID did not appear"
cmp -s Vargorin.db "$carried" || fail "working copy missing or differs from the carried database"
wl_until "the window drawn" drawn "$main" || fail "the main window stayed blank"
# A frame of the reader's own where the compositor draws none, and none
# where it does.
set -- $(wl_geometry "$main")
[ "$3" = $(( 702 + 2 * FRAME_LEFT )) ] || fail "the main window is $3 wide; its frame is not the one expected"
if [ -n "${SMOKE_SCREENSHOT:-}" ]; then cp "$work/window.png" "$SMOKE_SCREENSHOT"; fi

echo "wayland smoke ($WAYLAND_SESSION): a second reader in the same folder"
before=$(stat -c '%i %Y %s' Vargorin.db)
LC_ALL=hu_HU.UTF-8 LANGUAGE= "$exe" & second=$!; started "$second"
box=$(wl_window '^vargorin$' "$second") || fail "the second reader showed no message"
[ "$(stat -c '%i %Y %s' Vargorin.db)" = "$before" ] || fail "the second reader touched the working copy"
wl_focused "$box" || fail "the second reader's message never got the focus"
wl_keys -k Return
wait_exit "$second" 1
cmp -s Vargorin.db "$carried" || fail "working copy changed"
_alive "$first" || fail "the first reader did not survive"

if [ "$WAYLAND_SESSION" = weston-in-sway ]; then
  # The detail window, opened by a double-click on the fourth title. While
  # it is open, a click on another title of the main window neither raises
  # that window nor moves the record both windows show; Ctrl+A, pressed
  # after the click, selects the text in the detail window, which shows
  # that the click has been through by then.
  echo "wayland smoke ($WAYLAND_SESSION): the detail window stays above the main window, which takes no input"
  geometry=$(wl_geometry "$main")
  detail=$(wl_open_detail "$main" "$first") || fail "a double-click on a title opened no detail window"
  wl_focused "$detail" || fail "the detail window is not the active one"
  wl_until "the detail window drawn" drawn "$detail" || fail "the detail window stayed blank"
  detail_geometry=$(wl_geometry "$detail")
  set -- $detail_geometry
  [ "$3x$4" = "$(( 410 + 2 * FRAME_LEFT ))x$(( 490 + FRAME_TOP + FRAME_LEFT ))" ] ||
    fail "the detail window is $3x$4; its frame is not the one expected"
  detail_x1=$1 detail_y1=$2 detail_x2=$(( $1 + $3 )) detail_y2=$(( $2 + $4 ))
  outside_detail() { [ "$1" -lt "$detail_x1" ] || [ "$1" -ge "$detail_x2" ] || [ "$2" -lt "$detail_y1" ] || [ "$2" -ge "$detail_y2" ]; }
  # Another title of the grid, at a point the detail window leaves bare.
  set -- $(_line "$main")
  click_at=
  for x in 30 120 300 500 640; do
    at="$(( $2 + FRAME_LEFT + x )) $(( $3 + FRAME_TOP + 186 ))"
    outside_detail $at && { click_at=$at; break; }
  done
  [ -n "$click_at" ] || fail "the detail window covers the whole grid"
  wl_screenshot "$work/detail-before.png" "$detail"
  wl_click "$main" $click_at click left
  wl_focused "$detail" || fail "the detail window lost the focus"
  wl_keys -M ctrl a -m ctrl
  changed() { wl_screenshot "$work/detail-after.png" "$detail" && pictures_differ "$work/detail-before.png" "$work/detail-after.png"; }
  wl_until "the text selected" changed || fail "Ctrl+A selected nothing in the detail window"
  _active "$detail" || fail "the main window came above the detail window"
  # The title, above the text box, shows the same record: the panel above
  # the text box reads the same, though it may have been painted again.
  title() { convert "$1" -crop "+$FRAME_LEFT+$FRAME_TOP" +repage -crop "410x73+0+0" +repage "$2"; }
  title "$work/detail-before.png" "$work/title-before.png"
  title "$work/detail-after.png" "$work/title-after.png"
  pictures_alike "$work/title-before.png" "$work/title-after.png" ||
    fail "a click on the main window moved the record ($_differing pixels of the title changed)"
  # The navigator's Next shows the next record: its title must not pass
  # for the same, or the comparison above could not see a moved record.
  set -- $(_line "$detail")
  wl_click "$detail" $(( $2 + FRAME_LEFT + 24 + 230 )) $(( $3 + FRAME_TOP + 73 + 360 + 16 )) click left
  moved_on() {
    wl_screenshot "$work/detail-next.png" "$detail" && title "$work/detail-next.png" "$work/title-next.png" &&
      pictures_differ "$work/title-before.png" "$work/title-next.png"
  }
  wl_until "the next record's title" moved_on ||
    fail "after Next the title still passes for the same record ($_differing pixels changed)"
  echo "wayland smoke ($WAYLAND_SESSION): the next record's title differs in $_differing pixels"
  wl_close "$detail"
  wl_gone "$detail" || fail "the detail window did not close"
  [ "$(wl_geometry "$main")" = "$geometry" ] || fail "the main window moved or changed its size"
fi

echo "wayland smoke ($WAYLAND_SESSION): closed through the compositor, answered Igen"
wl_focused "$main" || fail "the main window did not get the focus back; the reader said: $(reader_said "$work/first.err")"
wl_close "$main"
question=$(wl_window '^Figyelem:$' "$first") || fail "no exit question; the reader said: $(reader_said "$work/first.err")"
wl_focused "$question" || fail "the exit question never got the focus"
wl_keys -M alt i -m alt
wait_exit "$first" 0
[ ! -e Vargorin.db ] || fail "working copy left behind after a confirmed exit"
! reader_said "$work/first.err" | grep -i 'error\|hiba' || fail "the reader reported an error"

echo "wayland smoke ($WAYLAND_SESSION): shutdown notice ends at once and keeps the copy"
LC_ALL=hu_HU.UTF-8 LANGUAGE= "$exe" & third=$!; started "$third"
wl_window "$main_title" "$third" >/dev/null || fail "main window did not appear again"
kill -TERM "$third"
wait_exit "$third" 0
[ -f Vargorin.db ] || fail "working copy should stay after a shutdown"

echo "wayland smoke ($WAYLAND_SESSION): passed"
