#!/bin/sh
# Usage (inside an X server): session.sh EXECUTABLE XSMPMANAGER
# The real reader under a window manager. SIGTERM, the notice of a log-off or
# shutdown, must end it within about a second from every state it can be in,
# with exit code 0 and the working copy left on disk; so must the end of the
# session through an X11 session manager, while a mere save of the session
# ends nothing. Its command line must change nothing.
set -eu
exe=$1
manager=$2
. "$(dirname "$0")/../support/reader.sh"

visible_windows() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l; }
running() { [ -e "/proc/$1" ] && [ "$(cut -d' ' -f3 "/proc/$1/stat")" != Z ]; }

start() {
  rm -f Vargorin.db
  "$exe" "$@" & reader=$!
  main=$(window '^Vargorin összes költeménye:$') || fail "no main window with its own title"
}

# SIGTERM, then the reader must be gone within about a second.
ends_at_once() {
  kill -TERM "$reader"
  tenths=0
  while running "$reader"; do
    tenths=$((tenths + 1))
    [ "$tenths" -le 12 ] || fail "$1: still running 1.2 s after SIGTERM"
    sleep 0.1
  done
  wait_exit "$reader" 0
  [ -f Vargorin.db ] || fail "$1: the working copy is gone"
  echo "session: $1: ended at once"
}

# A window manager: closing a window by its title bar's close (Alt+F4)
# sends the close request a desktop sends.
openbox --sm-disable &
tenths=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  tenths=$((tenths + 1)); [ "$tenths" -le 100 ] || fail "openbox did not start"; sleep 0.1
done

start; ends_at_once "idle"

start
press "$main" alt+l; sleep 0.3; press "$main" i
window '^Figyelem:$' >/dev/null || fail "no exit question on the menu road"
ends_at_once "exit question, menu road"

start
press "$main" alt+F4
window '^Figyelem:$' >/dev/null || fail "no exit question on the close road"
ends_at_once "exit question, close road"

start; first=$reader
"$exe" & reader=$!
window '^vargorin$' >/dev/null || fail "the second reader showed no start-up failure"
ends_at_once "start-up failure box"
reader=$first; ends_at_once "idle, after a second reader failed beside it"

start
press "$main" alt+l; sleep 0.3; press "$main" k
# A zero byte in a pasted term cuts the search statement short.
printf 'a\000b' | xclip -selection clipboard
xdotool mousemove --window "$main" 300 155 click 1 sleep 0.2 key ctrl+v sleep 0.2
xdotool mousemove --window "$main" 300 202 click 1
window '^vargorin$' >/dev/null || fail "no general error box"
ends_at_once "general error box"

start
xdotool mousemove --window "$main" 120 120 click --repeat 2 --delay 80 1
window '^ Találat:$' >/dev/null || fail "no detail window"
ends_at_once "detail window"

start
before=$(visible_windows "$reader")
press "$main" alt+l; sleep 0.5
[ "$(visible_windows "$reader")" -gt "$before" ] || fail "no menu open"
ends_at_once "menu open"

start
press "$main" alt+l; sleep 0.3; press "$main" b
before=$(visible_windows "$reader")
# Onto the e-mail link, whose hint shows as a tooltip.
xdotool mousemove --window "$main" 49 278 sleep 0.1 mousemove --window "$main" 51 279 sleep 1
[ "$(visible_windows "$reader")" -gt "$before" ] || fail "no tooltip shown"
ends_at_once "tooltip shown"

# The session manager's road, idle and with the exit question open.
rm -f Vargorin.db
"$manager" "$exe" || fail "the session manager's road, idle"
[ -f Vargorin.db ] || fail "the session manager's road, idle: the working copy is gone"
rm -f Vargorin.db
"$manager" "$exe" 'main=$(xdotool search --onlyvisible --name "^Vargorin összes költeménye:\$" | head -n 1)
  xdotool windowactivate --sync "$main" key --delay 50 alt+l sleep 0.3 key i &&
  timeout 10 xdotool search --sync --onlyvisible --name "^Figyelem:\$" >/dev/null' ||
  fail "the session manager's road, exit question open"
[ -f Vargorin.db ] || fail "the session manager's road, exit question open: the working copy is gone"

# The command line changes nothing: the options Qt would read from it
# (-qwindowtitle, -reverse, -style, -stylesheet) leave the window as it is.
printf '* { background: red; color: yellow; }\n' > red.qss
shot() { # the window above the status bar, whose clock moves on
  xdotool mousemove 0 0 sleep 1.5
  import -window "$main" "$1"
  convert "$1" -crop x400+0+0 +repage "$1"
}
start; shot plain.png; ends_at_once "idle, started without arguments"
start -qwindowtitle X -reverse -style windows -stylesheet "$work/red.qss"
shot arguments.png
if [ -n "${SESSION_SCREENSHOT:-}" ]; then cp arguments.png "$SESSION_SCREENSHOT"; fi
differing=$(compare -metric AE plain.png arguments.png null: 2>&1) || true
[ "$differing" = 0 ] || fail "the command line changed the window ($differing pixels differ)"
ends_at_once "idle, started with Qt's options"

echo "session: passed"
