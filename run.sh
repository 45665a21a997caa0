#!/bin/sh
# Builds the reader and starts it in the current directory of this checkout.
set -eu
cd "$(dirname "$0")"
./scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display found (DISPLAY and WAYLAND_DISPLAY are empty); on a headless machine use: xvfb-run -a ./run.sh" >&2
  exit 2
fi
exec ./build/app/vargorin
