#!/bin/sh
# Usage: scripts/windows-test.sh BUILD_DIR OUT_DIR   (run by windows.sh test)
# Runs the Windows build's tests: the Qt Test suites under Wine, offscreen,
# and the checks of the real vargorin.exe in Wine on an X server.
set -eu
build=$1
out=$2
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/tests/windows/wine.sh"

# A fresh prefix, made once per run, that every test copies or shares.
# Debian's Wine leaves its own fonts (Tahoma among them) out of a new
# prefix; its profile folders are links into $HOME, made real folders so
# nothing a test does lands outside the prefix.
base=$out/wine-base
rm -rf "$base"
WINEPREFIX=$base
export WINEPREFIX
"$WINE" wineboot -i >/dev/null 2>&1 || true
"$WINESERVER" -w
# Wine's Tahoma bold face draws regular strokes on wider advances and some
# capitals wrongly: without it, Windows emboldens the regular face, as the
# Linux reader does. A real Windows has the real one.
cp /usr/share/wine/fonts/* "$base/drive_c/windows/Fonts/"
rm -f "$base/drive_c/windows/Fonts/tahomabd.ttf"
for link in "$base"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm "$link"; mkdir "$link"; fi
done
# Without a window manager every hide of a window waits two seconds for
# one: Wine draws the frames itself.
wine_reg 'HKCU\Software\Wine\X11 Driver' Managed REG_SZ N
"$WINESERVER" -w
VARGORIN_WINE_BASE=$base
VARGORIN_WINDOWS_PACKAGES=$out
export VARGORIN_WINE_BASE VARGORIN_WINDOWS_PACKAGES

# The offscreen suites share one copy of the prefix. Its server and services
# are started before ctest with their output elsewhere: started by a test,
# they would inherit ctest's pipe and keep it open after the test ends.
rm -rf "$out/wine-suites"
wine_prefix "$out/wine-suites"
"$WINESERVER" -p >/dev/null 2>&1 </dev/null
"$WINE" wineboot >/dev/null 2>&1 </dev/null || true
# A full disk for the working file's test: a file system of 128 KiB, where
# the machine lets us make one (root).
full=$out/full-disk
mkdir -p "$full"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=128k vargorin-full "$full" 2>/dev/null; then
  VARGORIN_FULL_FOLDER=Z:$full
  export VARGORIN_FULL_FOLDER
fi
status=0
(cd "$build" && ctest --output-on-failure -j 2) || status=$?
if mountpoint -q "$full"; then umount "$full"; fi
wine_stop
exit "$status"
