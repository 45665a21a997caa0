# Sourced by the shell tests that drive the real reader on an X server with
# xdotool the way a user would. A failure names the test script it came from.
fail() { echo "$(basename "$0" .sh): FAIL: $*" >&2; exit 1; }
# The first visible window whose name matches, waiting up to 20 s; a failure
# when there is none (a pipeline's status would be head's, always success).
window() {
  found=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
  [ -n "$found" ] && echo "$found"
}
press() { xdotool windowfocus --sync "$1" key --delay 50 "$2"; }
wait_exit() { # pid, expected code
  code=0; wait "$1" || code=$?
  [ "$code" -eq "$2" ] || fail "process ended with $code, expected $2"
}
