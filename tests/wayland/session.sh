#!/bin/sh
# Usage: session.sh [--compositor sway|weston-in-sway|weston-headless]
#                   [--vpointer PATH] [--size WxH] [--one-user]
#                   [--] COMMAND [ARG...]
#
# Starts a headless Wayland compositor of its own, runs COMMAND as a native
# Wayland client of it and ends with COMMAND's status. Everything started
# here is ended again by pid, also when COMMAND or the start-up fails.
#
#   sway             wlroots' headless backend, drawing no border or title
#                    bar; swaymsg lists and closes windows, grim takes
#                    screenshots, wtype and vpointer are keyboard and mouse.
#   weston-in-sway   weston as a fullscreen window of a headless sway:
#                    weston leaves title bars to the client, as GNOME does.
#                    Its own headless backend has no input devices and no
#                    protocol to make one, so keys, pointer and screenshots
#                    go through the sway around it.
#   weston-headless  weston's headless backend alone: windows can be listed
#                    and shot, but nothing can type or click.
#
# COMMAND gets WAYLAND_DISPLAY (the full path of the socket), a runtime
# folder of its own, QT_QPA_PLATFORM=wayland and no DISPLAY; for the helpers
# in drive.sh also WAYLAND_SESSION (the compositor's name),
# WAYLAND_INPUT_DISPLAY (where keys, pointer and screenshots go; empty when
# there is no input), SWAYSOCK, VPOINTER and WAYLAND_TOOLS (this folder).
#
# sway refuses to run as root and neither compositor needs to: run as root
# (as CI does), the compositors run as nobody, and the client, still root,
# may open their socket whatever its owner. Anyone else runs both as
# themselves. With --one-user COMMAND runs as the compositors' user too, as
# everything of a desktop session does: the session bus and the
# accessibility bus it starts admit their own user only, and the
# compositor's clients are that user's programs.
set -eu

compositor=sway
vpointer=
size=1280x1024
one_user=''
while [ $# -gt 0 ]; do
  case $1 in
    --compositor) compositor=$2; shift 2 ;;
    --vpointer) vpointer=$2; shift 2 ;;
    --size) size=$2; shift 2 ;;
    --one-user) one_user=1; shift ;;
    --) shift; break ;;
    -*) echo "session.sh: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: session.sh [options] [--] COMMAND [ARG...]" >&2; exit 2; }
case $compositor in
  sway|weston-in-sway|weston-headless) ;;
  *) echo "session.sh: no compositor called $compositor" >&2; exit 2 ;;
esac
width=${size%x*}
height=${size#*x}

base=$(mktemp -d "${TMPDIR:-/tmp}/wayland-session.XXXXXX")
server_dir=$base/server
client_dir=$base/client
mkdir -m 700 "$server_dir" "$client_dir"
# mktemp's folder is the caller's alone; the compositor must reach its own.
chmod 711 "$base"
sway_pid='' weston_pid='' hold_pid='' show_logs=''

cleanup() {
  status=$?
  trap - EXIT INT TERM HUP
  # Clients first, then the compositor they live in; each one waited for,
  # so nothing is still writing into the folder when it goes.
  for pid in $hold_pid $weston_pid $sway_pid; do
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  if [ -n "$show_logs" ]; then
    for log in "$base"/*.log; do
      [ -s "$log" ] && { echo "--- $(basename "$log"):"; tail -n 30 "$log"; } >&2
    done
  fi
  rm -rf "$base"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

fail() { echo "session.sh: $*" >&2; show_logs=1; exit 1; }

# Polls a state until it holds. What it waits for (a socket, a window) comes
# in well under a second on an idle machine; the rest of the minute is room
# for a busy one. A compositor that ended meanwhile ends the wait at once.
wait_for() { # what, pid that must stay alive, command...
  what=$1 watched=$2
  shift 2
  deadline=$(( $(date +%s) + 60 ))
  until "$@"; do
    kill -0 "$watched" 2>/dev/null || fail "the compositor ended while waiting for $what"
    [ "$(date +%s)" -lt "$deadline" ] || fail "timed out waiting for $what"
    sleep 0.05
  done
}

if [ "$(id -u)" -eq 0 ]; then
  as_server='setpriv --reuid=nobody --regid=nogroup --clear-groups --'
  give_server() { chown nobody:nogroup "$@"; }
else
  as_server=''
  give_server() { :; }
fi
give_server "$server_dir"

# The compositors start in their own folder with a clean environment, so
# nothing of the caller's display, locale or home reaches them. env and
# setpriv exec what follows them: the job's pid is the compositor's.
start_server() { # log name, VAR=value..., program and arguments
  log=$base/$1.log
  shift
  env -i -C "$server_dir" PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$server_dir" \
    XDG_RUNTIME_DIR="$server_dir" "$@" >"$log" 2>&1 &
}

start_sway() {
  cat >"$server_dir/sway.conf" <<EOF
output HEADLESS-1 mode $size@60Hz position 0 0
# weston 14 asks for fullscreen with a mode change that sway refuses, and is
# left tiled; sway fullscreens it itself, as weston 10 got it by asking.
for_window [title="^Weston Compositor"] fullscreen enable
# Clients decide their own size and look: no border, no title bar.
default_border none
default_floating_border none
xwayland disable
focus_follows_mouse no
EOF
  give_server "$server_dir/sway.conf"
  # shellcheck disable=SC2086 # $as_server is a command prefix, or nothing
  start_server sway WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    $as_server sway -c "$server_dir/sway.conf"
  sway_pid=$!
  wait_for "sway's IPC socket" "$sway_pid" sway_answers
  sway_display=$(sway_socket) || fail "sway answers but has no Wayland socket"
}
sway_answers() {
  for SWAYSOCK in "$server_dir"/sway-ipc.*."$sway_pid".sock; do
    export SWAYSOCK
    [ -S "$SWAYSOCK" ] && swaymsg -q -t get_version 2>/dev/null && return 0
  done
  return 1
}
sway_socket() {
  for socket in "$server_dir"/wayland-*; do
    [ -S "$socket" ] && { echo "$socket"; return 0; }
  done
  return 1
}

start_weston() { # backend, more options
  backend=$1
  shift
  cat >"$server_dir/weston.ini" <<EOF
[core]
idle-time=0
[shell]
panel-position=none
background-color=0xff303840
[input-method]
path=
EOF
  give_server "$server_dir/weston.ini"
  # --debug lets weston-debug read the scene graph (the window list) and
  # weston-screenshooter take pictures.
  # shellcheck disable=SC2086
  start_server weston ${sway_display:+WAYLAND_DISPLAY=$sway_display} \
    $as_server weston -c "$server_dir/weston.ini" --backend="$backend" --socket=weston-0 \
    --use-pixman --debug --width="$width" --height="$height" "$@"
  weston_pid=$!
  weston_display=$server_dir/weston-0
  wait_for "weston's socket" "$weston_pid" test -S "$weston_display"
  wait_for "weston's output" "$weston_pid" weston_has_output
}
weston_shown() {
  swaymsg -t get_tree | jq -e --argjson pid "$weston_pid" \
    'any(.. | objects; .pid? == $pid and .fullscreen_mode == 1 and .focused)' >/dev/null
}
weston_has_output() {
  WAYLAND_DISPLAY=$weston_display timeout 20 weston-debug scene-graph 2>/dev/null | grep -q '^Output '
}

# A pointer and a keyboard that stay for the whole session, so that the seat
# offers clients both before the first event is sent.
hold_input() {
  [ -n "$vpointer" ] || return 0
  WAYLAND_DISPLAY=$sway_display "$vpointer" hold >"$base/hold.log" 2>&1 &
  hold_pid=$!
  wait_for "the held pointer and keyboard" "$sway_pid" held
}
held() {
  kill -0 "$hold_pid" 2>/dev/null || fail "vpointer could not hold the input devices"
  grep -qx ready "$base/hold.log"
}

sway_display='' input_display=''
case $compositor in
  sway)
    start_sway
    hold_input
    client_display=$sway_display
    input_display=$sway_display
    ;;
  weston-in-sway)
    start_sway
    hold_input
    # With --sprawl weston's one output is a fullscreen window on sway's:
    # a point on sway's output is the same point on weston's.
    start_weston wayland-backend.so --sprawl
    wait_for "weston's window in sway, fullscreen and focused" "$sway_pid" weston_shown
    client_display=$weston_display
    input_display=$sway_display
    ;;
  weston-headless)
    start_weston headless-backend.so
    client_display=$weston_display
    unset SWAYSOCK
    ;;
esac

export WAYLAND_DISPLAY="$client_display"
export WAYLAND_INPUT_DISPLAY="$input_display"
export WAYLAND_SESSION="$compositor"
export XDG_RUNTIME_DIR="$client_dir"
export QT_QPA_PLATFORM=wayland
export VPOINTER="$vpointer"
as_client=''
if [ -n "$one_user" ]; then
  give_server "$client_dir"
  as_client=$as_server
  # The caller's home may be closed to the session's user.
  export HOME="$client_dir"
fi
WAYLAND_TOOLS=$(cd "$(dirname "$0")" && pwd)
export WAYLAND_TOOLS
# WAYLAND_SOCKET, an inherited connection, would win over WAYLAND_DISPLAY.
unset DISPLAY WAYLAND_SOCKET
set +e
# shellcheck disable=SC2086 # $as_client is a command prefix, or nothing
$as_client "$@"
status=$?
set -e
[ "$status" -eq 0 ] || show_logs=1
exit "$status"
