#!/bin/sh
# Renders the README's screenshots from the real reader: under Xvfb, and as a
# native Wayland client of a headless sway and of weston
# (tests/wayland/session.sh).
# Usage: scripts/screenshots.sh [BUILD_DIR]   (after ./test.sh has built it)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(pwd)/docs/screenshots
mkdir -p "$out"
case $build in /*) ;; *) build=$(pwd)/$build ;; esac
exe=$build/app/vargorin
vpointer=$build/tests/wayland/vpointer
for built in "$exe" "$vpointer"; do
  [ -x "$built" ] || { echo "screenshots.sh: build the reader and its tests first ($built is missing)" >&2; exit 1; }
done

# In the Hungarian locale of the program's readers: the clock and the
# Yes/No buttons follow it.
if ! locale -a | grep -qi '^hu_HU\.utf-\?8$'; then
  echo "screenshots.sh: the hu_HU.UTF-8 locale is missing (add it to /etc/locale.gen and run locale-gen)" >&2
  exit 1
fi
export LANG=hu_HU.UTF-8 LC_ALL=hu_HU.UTF-8

work=$(mktemp -d)
cat > "$work/shoot.sh" <<SHOOT
set -eu
cd "$work"
"$exe" & reader=\$!
main=\$(timeout 20 xdotool search --sync --onlyvisible --name '^Vargorin összes költeménye:\$' | head -n 1)
xdotool mousemove 0 0
shoot() { sleep 1.2; import -window "\$main" "$out/\$1.png"; }
key() { xdotool windowfocus --sync "\$main" key --delay 80 "\$@"; }
shoot index
key alt+l k; shoot search
key alt+l b; shoot about
key alt+l l
# The fourth title of the index, opened in the detail window.
eval \$(xdotool getwindowgeometry --shell "\$main")
xdotool mousemove \$((X + 120)) \$((Y + 120)) click --repeat 2 --delay 80 1
detail=\$(timeout 10 xdotool search --sync --onlyvisible --name '^ Találat:\$' | head -n 1)
xdotool mousemove 0 0
sleep 1.2; import -window "\$detail" "$out/detail.png"
kill -TERM \$reader; wait \$reader || true

# The index at 1.5 and 2 times 96 dpi.
for factor in 1.5 2; do
  QT_SCALE_FACTOR=\$factor "$exe" & reader=\$!
  main=\$(timeout 20 xdotool search --sync --onlyvisible --name '^Vargorin összes költeménye:\$' | head -n 1)
  xdotool mousemove 0 0
  shoot index-at-\$factor
  kill -TERM \$reader; wait \$reader || true
done
SHOOT
sh tests/support/with-xvfb.sh --screen 1600x1200x24 sh "$work/shoot.sh"

# The index as a native Wayland window, at density 1 and at sway's
# fractional 1.5, on an output whose logical size holds it at both.
cat > "$work/shoot-wayland.sh" <<SHOOT
set -eu
. "\$WAYLAND_TOOLS/drive.sh"
cd "$work"
wl_pointer move 0 0
for scale in 1 1.5; do
  swaymsg -q output HEADLESS-1 scale \$scale
  "$exe" & reader=\$!
  main=\$(wl_window '^Vargorin összes költeménye:\$' \$reader)
  sleep 1.2; wl_screenshot "$out/wayland-index-at-\$scale.png" "\$main"
  kill -TERM \$reader; wait \$reader || true
done
SHOOT
sh tests/wayland/session.sh --compositor sway --vpointer "$vpointer" --size 1920x1600 \
  -- sh "$work/shoot-wayland.sh"
# Under weston, which leaves title bars to the program, the reader's own:
# the main window, and the detail window in front of it.
cat > "$work/shoot-weston.sh" <<SHOOT
set -eu
. "\$WAYLAND_TOOLS/drive.sh"
cd "$work"
"$exe" & reader=\$!
main=\$(wl_window '^Vargorin összes költeménye:\$' \$reader)
wl_focused "\$main"
sleep 1.2; wl_screenshot "$out/wayland-weston-index.png" "\$main"
detail=\$(wl_open_detail "\$main" \$reader)
wl_focused "\$detail"
sleep 1.2; wl_screenshot "$out/wayland-weston-detail.png" "\$detail"
kill -TERM \$reader; wait \$reader || true
SHOOT
sh tests/wayland/session.sh --compositor weston-in-sway --vpointer "$vpointer" \
  -- sh "$work/shoot-weston.sh"
rm -rf "$work"
echo "screenshots written to $out"
