#!/bin/sh
# Usage: with-xvfb.sh [--screen WxHxDEPTH] [--] COMMAND [ARG...]
#
# Runs COMMAND with an X server of its own (Xvfb, one screen of the size
# given, 1280x1024x24 by default) and ends with COMMAND's status.
#
# The server chooses its display number itself (-displayfd): it takes the
# first number whose lock file and sockets it can create, and creating them
# is the taking, so two servers started in the same moment never get the
# same one. A fixed number fails whenever anything else holds it (another
# suite, a Debian root of another release, which shares this machine's
# abstract X sockets), and xvfb-run -a looks for a free number first and
# starts the server after, a gap in which another server can take it.
#
# COMMAND gets DISPLAY and an XAUTHORITY with the server's cookie, so that
# only what runs under it can reach this server. The server is stopped by
# its pid when COMMAND ends, also when it fails or this script is ended.
set -eu
me=with-xvfb

screen=1280x1024x24
while [ $# -gt 0 ]; do
  case $1 in
    --screen) screen=$2; shift 2 ;;
    --) shift; break ;;
    -*) echo "$me: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: with-xvfb.sh [--screen WxHxDEPTH] [--] COMMAND [ARG...]" >&2; exit 2; }
command -v Xvfb >/dev/null 2>&1 || { echo "$me: Xvfb is missing (Debian: xvfb)" >&2; exit 2; }
command -v xauth >/dev/null 2>&1 || { echo "$me: xauth is missing (Debian: xauth)" >&2; exit 2; }

dir=$(mktemp -d "${TMPDIR:-/tmp}/with-xvfb.XXXXXX")
server='' child=''
cleanup() {
  status=$?
  trap - EXIT INT TERM HUP
  # The command first, then the server it talks to; each waited for, so no
  # pid is signalled once it may belong to another process.
  for pid in $child $server; do
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$dir"
  exit "$status"
}
trap cleanup EXIT
# The command runs in the background and the script waits for it: a shell
# runs its traps only once the foreground command has ended, and a test's
# time-out must stop the server at once.
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# The server takes every cookie of its file whatever display it is filed
# under, so it can be given one before its number is known; the command's
# file gets it under the real number afterwards.
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
: > "$dir/server-auth"
: > "$dir/Xauthority"
xauth -q -f "$dir/server-auth" add :0 . "$cookie"

: > "$dir/display"
# -noreset: by default the server starts over each time its last client
# leaves, and a client that connects meanwhile is refused; a test whose
# reader has just ended starts the next one at once (about one connection in
# ten refused on a busy machine).
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset -auth "$dir/server-auth" \
  3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
server=$!

# Xvfb writes the number once it accepts connections. A server that ends
# before (no number left, a missing extension) ends the wait at once.
alive() { # An ended child not yet waited for is a zombie.
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null) && [ "${state%% *}" != Z ]
}
deadline=$(( $(date +%s) + 60 ))
until grep -q '^[0-9][0-9]*$' "$dir/display"; do
  if ! alive "$server" || [ "$(date +%s)" -ge "$deadline" ]; then
    echo "$me: Xvfb failed to start; it said:" >&2
    sed 's/^/    /' "$dir/xvfb.log" >&2
    exit 1
  fi
  sleep 0.05
done
number=$(head -n 1 "$dir/display")

xauth -q -f "$dir/Xauthority" add ":$number" . "$cookie"
DISPLAY=:$number XAUTHORITY=$dir/Xauthority
export DISPLAY XAUTHORITY

"$@" & child=$!
status=0
wait "$child" || status=$?
child=''
# A test that lost its server says so only as "cannot open display".
if ! alive "$server"; then
  echo "$me: the X server on $DISPLAY ended while the command ran; it said:" >&2
  sed 's/^/    /' "$dir/xvfb.log" >&2
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
