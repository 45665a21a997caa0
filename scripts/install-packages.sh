#!/bin/sh
# Usage: scripts/install-packages.sh PACKAGE...
# Installs, with apt-get, those of the Debian packages named that are not
# installed yet; as root, or through sudo.
set -eu
missing=""
for package in "$@"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
    || missing="$missing $package"
done
[ -n "$missing" ] || exit 0
echo "Installing Debian packages:$missing"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
