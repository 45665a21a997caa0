# Sourced by the scripts that session.sh runs: the reader's windows as the
# compositor sees them, and keys, pointer and screenshots sent through it.
# A window is named by a handle: sway's container id, or weston's surface id.
# A failure names the test script it came from.

APP_ID=${APP_ID:-example.pellimor.vargorin}
. "$WAYLAND_TOOLS/../support/pictures.sh"

fail() { echo "$(basename "$0" .sh): FAIL: $*" >&2; exit 1; }

# Polls a state until it holds, 60 s at most: room for a busy machine, while
# an idle one gets there in a fraction of a second.
wl_until() { # what, command...
  _what=$1
  shift
  _deadline=$(( $(date +%s) + 60 ))
  until "$@"; do
    [ "$(date +%s)" -lt "$_deadline" ] || return 1
    sleep 0.05
  done
}

weston_windows() {
  timeout 20 weston-debug scene-graph 2>/dev/null | awk -v app="$APP_ID" -f "$WAYLAND_TOOLS/scenegraph.awk"
}

sway_windows() { # lines "con_id x y w h focused title"
  swaymsg -t get_tree | jq -r --arg app "$APP_ID" '
    .. | objects | select(.app_id? == $app)
    | "\(.id) \(.rect.x) \(.rect.y) \(.rect.x + .rect.width) \(.rect.y + .rect.height) \(if .focused then 1 else 0 end) \(.name // "")"'
}

# One line per window of the reader: "handle x1 y1 x2 y2 active title".
wl_windows() {
  case $WAYLAND_SESSION in
    sway) sway_windows ;;
    weston-*) weston_windows ;;
  esac
}

_find() { # title regex
  _found=$(wl_windows | awk -v re="$1" '{ t = $0; for (i = 1; i <= 6; i++) sub(/^[^ ]* /, "", t); if (t ~ re) { print $1; exit } }')
  [ -n "$_found" ]
}
_line() { wl_windows | awk -v h="$1" '$1 == h'; }
_active() { [ "$(_line "$1" | awk '{ print $6 }')" = 1 ]; }
_absent() { [ -z "$(_line "$1")" ]; }

# The handle of the reader's first window whose title matches, once shown;
# given the pid of the program that should show it, the wait ends when that
# program does.
wl_window() { # title regex [pid]
  _owner=${2:-}
  wl_until "a window titled $1" _find_while_alive "$1" || return 1
  echo "$_found"
}
_find_while_alive() {
  _find "$1" && return 0
  [ -z "$_owner" ] || _alive "$_owner" || _deadline=0
  return 1
}
# Not yet waited for, an ended child is still there for kill -0: a zombie.
_alive() {
  _state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null) && [ "${_state%% *}" != Z ]
}
# Waits until the window has the keyboard focus: keys sent before would go
# to whatever had it.
wl_focused() { wl_until "the focus on window $1" _active "$1"; }
wl_gone() { wl_until "window $1 to close" _absent "$1"; }
# Gives the window the keyboard focus, as a click on it or the keyboard of
# the compositor does; wl_focused waits until it has it.
wl_focus() { # handle
  case $WAYLAND_SESSION in
    sway) swaymsg -q "[con_id=$1] focus" ;;
    *) fail "$WAYLAND_SESSION has no way to focus a window" ;;
  esac
}
wl_geometry() { _line "$1" | awk '{ print $2, $3, $4 - $2, $5 - $3 }'; }

# Keys through the virtual keyboard (wtype's arguments: -k Return,
# -M alt i -m alt, or text).
wl_keys() {
  [ -n "$WAYLAND_INPUT_DISPLAY" ] || fail "$WAYLAND_SESSION has no keyboard to type with"
  WAYLAND_DISPLAY=$WAYLAND_INPUT_DISPLAY wtype "$@"
}
# Pointer steps as vpointer takes them: move X Y, click left, wheel N ...
wl_pointer() {
  [ -n "$WAYLAND_INPUT_DISPLAY" ] && [ -n "$VPOINTER" ] || fail "$WAYLAND_SESSION has no pointer"
  WAYLAND_DISPLAY=$WAYLAND_INPUT_DISPLAY "$VPOINTER" "$@"
}

# The reader's side of the protocol (its stderr under WAYLAND_DEBUG=client),
# where a script keeps one: READER_LOG names the file. weston 14 gives the
# pointer to the window under it only when it next repaints, so a button
# pressed at once after the pointer came to another window goes to nobody.
# With the log, a click waits until the reader has been told where the
# pointer is; without it, the buttons follow the move at once.
READER_LOG=${READER_LOG:-}
# What the reader said into READER_LOG, or into the file given, without its
# protocol lines.
reader_said() { # [file]
  _said_in=${1:-$READER_LOG}
  [ -z "$_said_in" ] || grep -v '^\[' "$_said_in" || true
}
# Whether the last pointer position the reader was told of is X Y of a window.
_told_at() { # x y (of the window)
  grep '^\[.*wl_pointer[@#][0-9]*\.\(enter\|motion\)(' "$READER_LOG" | tail -n 1 |
    grep -q "[ (]$1\.0*, $2\.0*)\$"
}
# Moves the pointer to X Y of the screen, over the given window, and sends
# the steps there (click left ...).
wl_click() { # handle x y steps...
  _x=$2 _y=$3
  _origin=$(_line "$1" | awk '{ print $2, $3 }')
  shift 3
  if [ -z "$READER_LOG" ]; then
    wl_pointer move "$_x" "$_y" "$@"
    return
  fi
  wl_pointer move "$_x" "$_y"
  wl_until "the pointer at $_x,$_y" _told_at $((_x - ${_origin% *})) $((_y - ${_origin#* })) ||
    fail "the reader was not told of the pointer at $_x,$_y; it said: $(reader_said)"
  wl_pointer "$@"
}

# Asks the window to close, as its title bar's close button does.
wl_close() { # handle
  case $WAYLAND_SESSION in
    sway) swaymsg -q "[con_id=$1] kill" ;;
    weston-in-sway) wl_title_button "$1" close ;;
    *) fail "$WAYLAND_SESSION has no way to close a window" ;;
  esac
}

# Where the compositor draws no title bar (weston), the reader draws its own
# inside a 1 px frame line: 30 px high, its buttons 24 px square with 2 px
# between them and 3 px in from the bar's right end: close, then maximise,
# then minimise. A window's contents begin FRAME_LEFT, FRAME_TOP in; sway
# draws its title bars and borders outside the window.
case $WAYLAND_SESSION in
  weston-*) FRAME_LEFT=1 FRAME_TOP=31 ;;
  *) FRAME_LEFT=0 FRAME_TOP=0 ;;
esac
# Where the middle of a title-bar button is, from the window's right edge
# and top.
_title_button_at() { # close|maximise|minimise
  case $1 in
    close) echo 16 16 ;;
    maximise) echo 42 16 ;;
    minimise) echo 68 16 ;;
    *) fail "no title-bar button called $1" ;;
  esac
}
# Clicks one of the title-bar buttons.
wl_title_button() { # handle close|maximise|minimise
  _at=$(_title_button_at "$2")
  _handle=$1
  set -- $(_line "$1")
  [ $# -ge 5 ] || fail "no window to click a title-bar button of"
  wl_click "$_handle" $(( $4 - ${_at% *} )) $(( $3 + ${_at#* } )) click left
}

# Opens the detail window with a double-click on the main window's fourth
# title and prints its handle. Two clicks too far apart on a busy machine
# are no double-click: tried again, a few times.
wl_open_detail() { # main-handle reader-pid
  set -- "$1" "$2" $(_line "$1")
  _row_x=$(( $4 + FRAME_LEFT + 120 )) _row_y=$(( $5 + FRAME_TOP + 132 ))
  for _attempt in 1 2 3; do
    wl_click "$1" "$_row_x" "$_row_y" click left click left
    wl_window '^ Találat:$' "$2" && return 0
  done
  return 1
}

# A PNG of the whole output, or of one window.
wl_screenshot() { # file [handle]
  _geometry=
  [ $# -lt 2 ] || _geometry=$(wl_geometry "$2")
  if [ -n "$WAYLAND_INPUT_DISPLAY" ]; then
    if [ -n "$_geometry" ]; then
      set -- "$1" $_geometry
      WAYLAND_DISPLAY=$WAYLAND_INPUT_DISPLAY grim -g "$2,$3 ${4}x$5" "$1"
    else
      WAYLAND_DISPLAY=$WAYLAND_INPUT_DISPLAY grim "$1"
    fi
  else
    # weston-screenshooter names its file by the time, in the folder it runs in.
    _shots=$(mktemp -d)
    (cd "$_shots" && weston-screenshooter >/dev/null) || { rm -rf "$_shots"; return 1; }
    _shot=$(ls "$_shots"/*.png)
    if [ -n "$_geometry" ]; then
      set -- "$1" $_geometry
      convert "$_shot" -crop "${4}x$5+$2+$3" +repage "$1"
    else
      mv "$_shot" "$1"
    fi
    rm -rf "$_shots"
  fi
}
