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
. "$(dirname "$0")/../support/pictures.sh"

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
start_window_manager --sm-disable

start; ends_at_once "idle"

start
choose "$main" "$reader" i is_shown '^Figyelem:$' || fail "no exit question on the menu road"
ends_at_once "exit question, menu road"

start
wm_close "$main" is_shown '^Figyelem:$' || fail "no exit question on the close road"
ends_at_once "exit question, close road"

start; first=$reader
"$exe" & reader=$!
window '^vargorin$' >/dev/null || fail "the second reader showed no start-up failure"
ends_at_once "start-up failure box"
reader=$first; ends_at_once "idle, after a second reader failed beside it"

start
choose "$main" "$reader" k || fail "the search page could not be chosen from the menu"
# A zero byte in a pasted term cuts the search statement short. The reader
# takes the click into the term box, the paste and the click on the search
# button in the order the X server sends them.
printf 'a\000b' | xclip -selection clipboard
xdotool mousemove --window "$main" 300 155 click 1 key ctrl+v
xdotool mousemove --window "$main" 300 202 click 1
window '^vargorin$' >/dev/null || fail "no general error box"
ends_at_once "general error box"

start
double_click "$main" 120 120 is_shown '^ Találat:$' || fail "no detail window"
ends_at_once "detail window"

start
open_menu "$main" "$reader" || fail "no menu open"
ends_at_once "menu open"

start
choose "$main" "$reader" b || fail "the about page could not be chosen from the menu"
before=$(visible_windows "$reader")
# Onto the e-mail link, whose hint shows as a tooltip after a rest there.
xdotool mousemove --window "$main" 49 278 mousemove --window "$main" 51 279
await 60 more_windows "$reader" "$before" || fail "no tooltip shown"
ends_at_once "tooltip shown"

# The session manager's road, idle and with the exit question open. The
# session manager runs the preparing command once the reader has
# registered; it waits for the main window itself.
support=$(cd "$(dirname "$0")/../support" && pwd)
shown='. "'"$support"'/xdrive.sh"; main=$(window "^Vargorin összes költeménye:\$")'
rm -f Vargorin.db
"$manager" "$exe" "$shown" || fail "the session manager's road, idle"
[ -f Vargorin.db ] || fail "the session manager's road, idle: the working copy is gone"
rm -f Vargorin.db
"$manager" "$exe" "$shown"' &&
  choose "$main" "$(xdotool getwindowpid "$main")" i is_shown "^Figyelem:\$"' ||
  fail "the session manager's road, exit question open"
[ -f Vargorin.db ] || fail "the session manager's road, exit question open: the working copy is gone"

# The command line changes nothing: the options Qt would read from it
# (-qwindowtitle, -reverse, -style, -stylesheet) leave the window as it is.
printf '* { background: red; color: yellow; }\n' > red.qss
# The window above the status bar, whose clock moves on.
shot() {
  import -window "$main" "$1"
  convert "$1" -crop x400+0+0 +repage "$1"
}
settled() { # two shots in a row alike, and more than one flat colour
  cp now.png before.png; shot now.png
  pictures_alike before.png now.png && [ "$(convert now.png -format %k info:)" -gt 1 ]
}
as_plain() { shot arguments.png; pictures_alike plain.png arguments.png; }
# A new window is painted, and made active by the window manager, some time
# after it is mapped: its picture is taken once it is active, with the
# pointer away from it, and has stopped changing.
prepare_shot() {
  xdotool mousemove 0 0
  await 60 is_active "$main" || fail "the main window did not become active"
  shot now.png
}
start; prepare_shot
await 60 settled || fail "the window did not settle for its picture"
cp now.png plain.png
ends_at_once "idle, started without arguments"
start -qwindowtitle X -reverse -style windows -stylesheet "$work/red.qss"
prepare_shot
await 60 as_plain || true
if [ -n "${SESSION_SCREENSHOT:-}" ]; then cp arguments.png "$SESSION_SCREENSHOT"; fi
pictures_alike plain.png arguments.png ||
  fail "the command line changed the window ($_differing pixels differ)"
ends_at_once "idle, started with Qt's options"

echo "session: passed"
