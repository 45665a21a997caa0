#!/bin/sh
# Usage (inside an X server):
#   package.sh CPACK CPACK_CONFIG VERSION CLOSE_REQUEST CARRIED_DB
# Builds the Debian package into a scratch folder and checks it there; nothing
# is installed on this machine.
set -eu
cpack=$1 config=$2 version=$3 close_request=$4 carried=$5
. "$(dirname "$0")/../support/xdrive.sh"
scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$scratch"' EXIT

echo "package: build"
"$cpack" --config "$config" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
  || { cat "$scratch/cpack.log"; fail "cpack could not build the package"; }
set -- "$scratch"/out/*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one package, found: $*"
deb=$1

echo "package: lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

echo "package: control fields"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Version)" = "$version" ] || fail "package version $(field Version), not $version"
depends=", $(field Depends),"
for package in libqt6widgets6 fonts-wine qt6-translations-l10n xdg-utils; do
  case $depends in *", $package"[\ ,]*) ;; *) fail "Depends lacks $package:$depends" ;; esac
done
case $(field Maintainer) in
  *@example.org\>|*@example.com\>) ;;
  *) fail "maintainer $(field Maintainer) is not under the example domain" ;;
esac

echo "package: the unpacked files"
root=$scratch/root
dpkg-deb -x "$deb" "$root"
# The one application id: the metainfo's file name, used by every other file.
set -- "$root"/usr/share/metainfo/*.metainfo.xml
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one metainfo file, found: $*"
metainfo=$1
id=$(basename "$metainfo" .metainfo.xml)
case $id in
  *[!a-z0-9.]*|.*|*.|*..*) fail "application id $id is not reverse-DNS" ;;
  *.*.*) ;;
  *) fail "application id $id is not reverse-DNS" ;;
esac
entry=$root/usr/share/applications/$id.desktop
doc=usr/share/doc/vargorin
expect() { for path; do [ -f "$root/$path" ] || fail "the package lacks $path"; done; }
expect usr/bin/vargorin "usr/share/applications/$id.desktop" usr/share/man/man1/vargorin.1.gz \
  "$doc/README.md" "$doc/LICENSE" "$doc/copyright" "$doc/changelog.gz"
for size in 16 32 48 64 128 256; do
  icon=usr/share/icons/hicolor/${size}x$size/apps/$id.png
  expect "$icon"
  file -b "$root/$icon" | grep -q "^PNG image data, $size x $size," || fail "$icon is not a $size px PNG"
done
icon=usr/share/icons/hicolor/scalable/apps/$id.svg
expect "$icon"
file -b "$root/$icon" | grep -q '^SVG' || fail "$icon is not an SVG picture"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
  || fail "the metainfo does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
zcat "$root/$doc/changelog.gz" | head -n 1 | grep -q "^vargorin ($version) " \
  || fail "the changelog does not start with $version"
grep -q 'GNU GENERAL PUBLIC LICENSE' "$root/$doc/LICENSE" && grep -q 'Version 3' "$root/$doc/LICENSE" \
  || fail "LICENSE is not the GPL version 3"
zcat "$root/usr/share/man/man1/vargorin.1.gz" > "$scratch/vargorin.1"
for section in NAME SYNOPSIS DESCRIPTION FILES '"EXIT STATUS"'; do
  grep -q "^\.SH $section" "$scratch/vargorin.1" || fail "the manual page has no $section section"
done

echo "package: desktop entry and metainfo"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the menu entry"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
key() { sed -n "s/^$1=//p" "$entry"; }
[ "$(key Icon)" = "$id" ] || fail "the menu entry's icon is $(key Icon), not $id"
[ "$(key 'Name\[hu\]')" = "Vargorin összes költeménye" ] || fail "the Hungarian name is $(key 'Name\[hu\]')"
[ "$(key Terminal)" = false ] || fail "the menu entry runs in a terminal"
case ";$(key Categories)" in
  \;Education\;*Literature\;*) ;;
  *) fail "the categories are $(key Categories), not Education with Literature" ;;
esac
launcher=$(key Exec)
case $launcher in /usr/*) ;; *) fail "the menu's command $launcher is not an installed path" ;; esac
[ -x "$root$launcher" ] || fail "the menu's command $launcher is not in the package"

# run_reader FOLDER COMMAND...: starts the reader, sees its working copy in
# FOLDER (and not in the current folder, unless that is FOLDER), then closes the
# main window as a window manager would and answers the exit question Yes.
run_reader() {
  folder=$1; shift
  "$@" & reader=$!
  main=$(window '^Vargorin összes költeménye:$') || fail "main window did not appear"
  cmp -s "$folder/Vargorin.db" "$carried" || fail "no working copy in $folder"
  [ "$folder" = "$PWD" ] || [ ! -e Vargorin.db ] || fail "working copy written into the current folder"
  "$close_request" "$main"
  question=$(window '^Figyelem:$') || fail "the close request brought no exit question"
  press "$question" Return
  wait_exit "$reader" 0
  [ ! -e "$folder/Vargorin.db" ] || fail "working copy left in $folder after a confirmed exit"
}

echo "package: the unpacked reader started from a terminal"
mkdir "$scratch/terminal"
cd "$scratch/terminal"
run_reader "$scratch/terminal" "$root/usr/bin/vargorin"

# A menu start: the home folder is the current folder, and the environment has
# only what each case gives.
home=$scratch/home
mkdir -m 0700 "$home" "$scratch/run"
cd "$home"
menu_start() { # FOLDER VARIABLE=VALUE...
  folder=$1; shift
  run_reader "$folder" env -u XDG_RUNTIME_DIR -u XDG_CACHE_HOME HOME="$home" "$@" "$root$launcher"
  [ "$(stat -c %a "$folder")" = 700 ] || fail "$folder is not private to the user"
}

echo "package: the launcher uses the session's runtime folder"
menu_start "$scratch/run/vargorin" XDG_RUNTIME_DIR="$scratch/run"
[ -z "$(ls -A "$home")" ] || fail "the menu start left something in the home folder: $(ls -A "$home")"

echo "package: without one, the cache folder, made private if it was not"
mkdir -p -m 0755 "$scratch/cache/vargorin"
menu_start "$scratch/cache/vargorin" XDG_CACHE_HOME="$scratch/cache"

echo "package: relative base folders are ignored for ~/.cache"
mkdir "$home/run" "$home/cache"
menu_start "$home/.cache/vargorin" XDG_RUNTIME_DIR=run XDG_CACHE_HOME=cache

echo "package: the launcher refuses a planted link"
mkdir "$scratch/planted"
mkdir -m 0755 "$scratch/elsewhere"
ln -s "$scratch/elsewhere" "$scratch/planted/vargorin"
code=0
timeout 60 env XDG_RUNTIME_DIR= XDG_CACHE_HOME="$scratch/planted" "$root$launcher" 2>/dev/null || code=$?
[ "$code" -eq 1 ] || fail "the launcher followed a planted link (it ended with $code)"
[ -z "$(ls -A "$scratch/elsewhere")" ] && [ "$(stat -c %a "$scratch/elsewhere")" = 755 ] \
  || fail "the launcher touched the folder a planted link points to"

echo "package: passed"
