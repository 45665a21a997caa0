# Sourced by the scripts that drive the real reader under an X server: a
# scratch folder to run it in, gone again at the end, and the X helpers.
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
. "$(dirname "$0")/../support/xdrive.sh"
