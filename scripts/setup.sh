#!/bin/sh
# Shared by run.sh and test.sh: installs the Debian packages the build, the
# tests and the reader need (only those missing), then configures and builds.
set -eu

BUILD_DIR=${BUILD_DIR:-build}
PACKAGES="build-essential cmake ninja-build pkg-config
qt6-base-dev qt6-base-private-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev libx11-dev libxcb1-dev libsqlite3-dev
fonts-wine xvfb xauth x11-utils xdotool imagemagick sqlite3 openbox xclip libsm-dev
dbus-daemon at-spi2-core python3-pyatspi
qt6-wayland sway weston wtype grim jq libwayland-dev
lintian desktop-file-utils appstream dpkg-dev file"

"$(dirname "$0")/install-packages.sh" $PACKAGES

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD_DIR" -j "$(nproc)"
