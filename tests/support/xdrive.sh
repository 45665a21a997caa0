# Sourced by the shell tests that drive the real reader on an X server with
# xdotool the way a user would. A failure names the test script it came from.
#
# CI runs two suites at a time on a busy two-core machine, where what takes
# milliseconds on a quiet one can take seconds. So nothing here sleeps and
# then assumes: every wait polls for a state, with a deadline far beyond what
# a working reader needs, which costs time only when something is wrong.
fail() { echo "$(basename "$0" .sh): FAIL: $*" >&2; exit 1; }

# await SECONDS COMMAND...: runs COMMAND every tenth of a second until it
# succeeds; fails when SECONDS have passed first.
await() {
  local limit=$1 started
  shift
  started=$(date +%s)
  until "$@"; do
    [ $(($(date +%s) - started)) -lt "$limit" ] || return 1
    sleep 0.1
  done
}

# The first visible window whose name matches, waiting up to a minute; a
# failure when there is none (a pipeline's status would be head's, always
# success).
window() {
  found=$(timeout 60 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
  [ -n "$found" ] && echo "$found"
}
visible_windows() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
# The window manager has put its frame around the window and said how big it is.
framed() { xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; }
is_shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
is_gone() { ! is_shown "$1"; }
more_windows() { [ "$(visible_windows "$1")" -gt "$2" ]; }
no_more_windows() { [ "$(visible_windows "$1")" -le "$2" ]; }

# Gives WINDOW the keyboard focus and waits until the X server reports it
# there: a key sent before then goes to whichever window had the focus.
focus() {
  xdotool windowfocus --sync "$1" || true
  await 30 has_focus "$1" || fail "window $1 did not get the keyboard focus"
}
press() { focus "$1"; xdotool key --delay 50 "$2"; }

# Starts openbox and waits until it manages the screen.
# On a loaded machine openbox now and then could not open a display that
# the X server was serving; it is started again when it ends without having
# taken the screen.
start_window_manager() {
  local attempt=0 wm
  await 60 sh -c 'xdpyinfo >/dev/null 2>&1' || fail "the X server on $DISPLAY does not answer"
  while [ "$attempt" -lt 3 ]; do
    attempt=$((attempt + 1))
    openbox "$@" & wm=$!
    await 60 managed_or_ended "$wm" || break
    managing && return 0
    echo "openbox ended without taking the screen (attempt $attempt)" >&2
  done
  fail "openbox did not start"
}
managing() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
# An ended child that the shell has not waited for yet is a zombie.
managed_or_ended() {
  managing && return 0
  local state
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null) || return 0
  [ "${state%% *}" = Z ]
}

# open_menu WINDOW PID: opens the menu of WINDOW (of process PID) with Alt+L
# and waits until it shows, as a window of its own; a press that brings no
# menu is repeated a few times.
open_menu() {
  local base attempt=0
  base=$(visible_windows "$2")
  while [ "$attempt" -lt 3 ]; do
    attempt=$((attempt + 1))
    press "$1" alt+l
    await 15 more_windows "$2" "$base" && return 0
  done
  return 1
}

# choose WINDOW PID KEY [CHECK...]: opens the menu of WINDOW (of process
# PID) with Alt+L and picks the item whose access key is KEY, until CHECK
# holds, or without one until the menu has closed again. The menu is a window
# of its own, and KEY goes only once it shows: typed earlier, it would reach
# the main window instead. A press can still be lost on a loaded machine, so
# the road is taken again while CHECK does not hold, a bounded number of
# times; a menu still open is not opened a second time (Alt+L would close it).
choose() {
  local window=$1 pid=$2 key=$3 base attempt=0
  shift 3
  base=$(visible_windows "$pid")
  while [ "$attempt" -lt 5 ]; do
    attempt=$((attempt + 1))
    if [ "$attempt" -gt 1 ] && [ $# -gt 0 ] && "$@"; then return 0; fi
    if no_more_windows "$pid" "$base"; then
      open_menu "$window" "$pid" || continue
    fi
    xdotool key "$key"
    if [ $# -eq 0 ]; then
      await 30 no_more_windows "$pid" "$base" && return 0
    else
      await 30 "$@" && return 0
    fi
  done
  return 1
}

# double_click WINDOW X Y CHECK...: double-clicks at X,Y of WINDOW until
# CHECK holds. On a loaded machine the two clicks can reach the reader
# further apart than the double-click time, as two single clicks: then the
# pair is sent again, a bounded number of times.
double_click() {
  local window=$1 x=$2 y=$3 attempt=0
  shift 3
  while [ "$attempt" -lt 3 ]; do
    attempt=$((attempt + 1))
    xdotool mousemove --window "$window" "$x" "$y" click --repeat 2 --delay 80 1
    await 30 "$@" && return 0
  done
  return 1
}

# wm_close WINDOW CHECK...: presses Alt+F4, which the window manager turns
# into a close request, until CHECK holds. The window manager closes the
# window it has made active, so the press waits until WINDOW is active and
# has the keyboard focus; one that goes unanswered all the same is repeated,
# a bounded number of times.
wm_close() {
  local window=$1 attempt=0
  shift
  while [ "$attempt" -lt 3 ]; do
    attempt=$((attempt + 1))
    if [ "$attempt" -gt 1 ] && "$@"; then return 0; fi
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    if ! { await 30 is_active "$window" && await 30 has_focus "$window"; }; then
      "$@" && return 0 # it closed just now
      fail "window $window did not become active with the keyboard focus"
    fi
    xdotool key --clearmodifiers alt+F4
    await 30 "$@" && return 0
  done
  return 1
}

wait_exit() { # pid, expected code
  code=0; wait "$1" || code=$?
  [ "$code" -eq "$2" ] || fail "process ended with $code, expected $2"
}
