# Sourced by the scripts that drive the real reader under an X server: a
# scratch folder to run it in, gone again at the end, and the helpers they
# share. The script names itself in $suite before sourcing this.
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"

fail() { echo "$suite: FAIL: $*" >&2; exit 1; }
press() { xdotool windowfocus --sync "$1" key --delay 50 "$2"; }
window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
wait_exit() { # pid, expected code
  code=0; wait "$1" || code=$?
  [ "$code" -eq "$2" ] || fail "process ended with $code, expected $2"
}
