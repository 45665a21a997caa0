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
LC_ALL=hu_HU.UTF-8 LANGUAGE= "$exe" & first=$!; started "$first"
main=$(wl_window "$main_title" "$first") || fail "main window with app id $APP_ID did not appear"
cmp -s Vargorin.db "$carried" || fail "working copy missing or differs from the carried database"
wl_until "the window drawn" drawn "$main" || fail "the main window stayed blank"
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

echo "wayland smoke ($WAYLAND_SESSION): closed through the compositor, answered Igen"
wl_focused "$main" || fail "the main window did not get the focus back"
wl_close "$main"
question=$(wl_window '^Figyelem:$' "$first") || fail "no exit question"
wl_focused "$question" || fail "the exit question never got the focus"
wl_keys -M alt i -m alt
wait_exit "$first" 0
[ ! -e Vargorin.db ] || fail "working copy left behind after a confirmed exit"

echo "wayland smoke ($WAYLAND_SESSION): shutdown notice ends at once and keeps the copy"
LC_ALL=hu_HU.UTF-8 LANGUAGE= "$exe" & third=$!; started "$third"
wl_window "$main_title" "$third" >/dev/null || fail "main window did not appear again"
kill -TERM "$third"
wait_exit "$third" 0
[ -f Vargorin.db ] || fail "working copy should stay after a shutdown"

echo "wayland smoke ($WAYLAND_SESSION): passed"
