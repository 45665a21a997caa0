#!/bin/sh
# Usage: scripts/windows.sh [build|test]
#
# Cross-builds the reader for 64-bit Windows on a Debian 12 machine:
#   build (default)  build-windows/vargorin.exe, one file that needs no DLL
#                    beyond Windows' own
#   test             that, the Windows test programs, and runs them under Wine
#
# It installs the Debian packages it lacks (MinGW-w64, Wine, ...), as ./test.sh
# does. Qt for Windows is built once per machine from Debian's own source of
# the Qt whose host tools (moc, uic, rcc) this machine runs, static, and kept
# outside the clone in $VARGORIN_CI_CACHE (default /var/cache/vargorin-ci)
# under a name made from everything that built it; a build only counts once
# its install has finished, so a half-made Qt is never reused. Everything else
# this script writes lives under build-windows/.
set -eu
cd "$(dirname "$0")/.."
repo=$(pwd)
action=${1:-build}
case $action in build|test) ;; *) echo "usage: $0 [build|test]" >&2; exit 2 ;; esac

say() { echo "windows.sh: $*"; }
die() { echo "windows.sh: $*" >&2; exit 1; }
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

out=$repo/build-windows
cache=${VARGORIN_CI_CACHE:-/var/cache/vargorin-ci}
mkdir -p "$out"

# ------------------------------------------------------------------ packages

PACKAGES="build-essential cmake ninja-build pkg-config dpkg-dev xz-utils tcl
qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
wine64 fonts-wine xvfb xauth x11-utils xdotool openbox imagemagick
nsis icoutils liblnk-utils zip unzip sqlite3"

"$repo/scripts/install-packages.sh" $PACKAGES

# ------------------------------------------------------------ Debian sources

# Source packages come from the very archive this machine's apt installs
# from: its deb entries are repeated as deb-src, for Debian's own archives only.
deb_src_list=/etc/apt/sources.list.d/vargorin-deb-src.sources
enable_deb_src() {
  [ -s "$deb_src_list" ] && return 0
  entries=$(
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      [ "$f" = "$deb_src_list" ] && continue
      awk 'BEGIN { RS = ""; ORS = "\n\n" }
           /(^|\n)Types:[^\n]*deb/ && /(^|\n)URIs:[^\n]*\/debian(-security)?\/?(\n|$)/ {
             sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$f"
    done
    sed -n 's/^deb[[:space:]]\{1,\}\(\(\[[^]]*\][[:space:]]\{1,\}\)\{0,1\}[^[:space:]]*\/debian\(-security\)\{0,1\}\/\{0,1\}[[:space:]].*\)/X \1/p' \
      /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null \
      | awk '{ $1 = ""; sub(/^ /, ""); split($0, w, " "); i = 1
               if (w[1] ~ /^\[/) { opts = w[1]; i = 2 } else opts = ""
               printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", w[i], w[i+1]
               for (j = i + 2; j in w; j++) printf " %s", w[j]
               printf "\n\n" }')
  [ -n "$entries" ] || die "no Debian archive found among apt's sources to take source packages from"
  printf '%s\n' "$entries" | $SUDO tee "$deb_src_list" >/dev/null
  $SUDO apt-get update -qq
}

# Fetches and unpacks a source package into $2 (emptied first); prints the tree.
fetch_source() { # PACKAGE DIR
  enable_deb_src
  rm -rf "$2"; mkdir -p "$2"
  (cd "$2" && apt-get source -qq "$1" >/dev/null 2>&1) || (cd "$2" && apt-get source "$1") >&2
  find "$2" -mindepth 1 -maxdepth 1 -type d | head -n 1
}

# ------------------------------------------------------------------ Qt

toolchain_src=$repo/cmake/mingw-w64-x86_64.cmake
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
mingw_version=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
# Only what the reader and its tests use: Core, Gui, Widgets, Test and the
# windows and offscreen platform plugins. (Direct2D stays: without it Qt 6.4
# leaves out the DirectWrite font database that its windows plugin calls.)
QT_CONFIGURE="-static -static-runtime -release -nomake examples -nomake tests
-no-opengl -no-dbus -no-icu -no-feature-network -no-feature-sql -no-feature-xml
-no-feature-concurrent -no-feature-printsupport -no-feature-tabletevent
-no-feature-vulkan -no-feature-jpeg -no-feature-gif
-qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz"
qt_key=$(printf '%s\n' "$qt_version" "$mingw_version" "$QT_CONFIGURE" | cat - "$toolchain_src" \
  | sha256sum | cut -c1-12)
qt_home=$cache/qt6-windows-$qt_key
qt_prefix=$qt_home/qt
qt_toolchain=$qt_home/toolchain.cmake
qt_done=$qt_home/complete

# The libraries Qt bundles that the static build links in, each with Qt's
# record of it and its licence texts, for the program's notices.
QT_BUNDLED="zlib libpng pcre2 harfbuzz-ng freetype double-conversion md4c tinycbor pixman easing icc blake2 md4 md5 sha1 sha3 rfc6234"
bundled_notices() { # QT_3RDPARTY_DIR
  for library in $QT_BUNDLED; do
    printf '%s\n%s\n\n' "-----------------------------------------------------------------------------" "Bundled with Qt: $library"
    cat "$1/$library/qt_attribution.json"
    for licence in $(ls "$1/$library" | grep -iE '^(licen[cs]e|copying)' || true) \
                   $( [ -f "$1/$library/docs/FTL.TXT" ] && echo docs/FTL.TXT); do
      printf '\n--- %s\n\n' "$licence"
      cat "$1/$library/$licence"
    done
    printf '\n'
  done
}

build_qt() {
  say "building Qt $qt_version for Windows into $qt_prefix (about 30 min on two cores)"
  started=$(date +%s)
  $SUDO mkdir -p "$cache"
  $SUDO rm -rf "$qt_home"
  $SUDO mkdir -p "$qt_home"
  $SUDO chown "$(id -u):$(id -g)" "$qt_home"
  cp "$toolchain_src" "$qt_toolchain"
  work=$qt_home/work
  src=$(fetch_source qt6-base "$work/src")
  [ -x "$src/configure" ] || die "no Qt source tree in $work/src"
  mkdir -p "$work/build"
  (cd "$work/build" && "$src/configure" -prefix "$qt_prefix" $QT_CONFIGURE \
      -qt-host-path /usr -- -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$qt_toolchain" \
      -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake) > "$qt_home/configure.log" 2>&1 \
    || { tail -n 40 "$qt_home/configure.log" >&2; die "Qt's configure failed (log: $qt_home/configure.log)"; }
  nice -n 10 cmake --build "$work/build" --parallel "$(nproc)" > "$qt_home/build.log" 2>&1 \
    || { tail -n 40 "$qt_home/build.log" >&2; die "Qt's build failed (log: $qt_home/build.log)"; }
  cmake --install "$work/build" > "$qt_home/install.log" 2>&1 \
    || { tail -n 20 "$qt_home/install.log" >&2; die "Qt's install failed"; }
  bundled_notices "$src/src/3rdparty" > "$qt_home/bundled-notices.txt"
  rm -rf "$work"
  echo "$qt_version $mingw_version" > "$qt_done"
  say "Qt for Windows took $(( $(date +%s) - started )) s"
  # Builds made with other settings are not used again.
  for other in "$cache"/qt6-windows-*; do
    [ "$other" = "$qt_home" ] || $SUDO rm -rf "$other"
  done
}
[ -f "$qt_done" ] || build_qt

# ------------------------------------------------------------------ SQLite

# The engine release Debian 12 links, made into its one-file form from
# Debian's own source (its build runs Tcl scripts on this machine).
sqlite_version=$(dpkg-query -W -f='${Version}' libsqlite3-dev 2>/dev/null || true)
sqlite_dir=$out/sqlite
if [ ! -f "$sqlite_dir/sqlite3.c" ] || [ "$(cat "$sqlite_dir.release" 2>/dev/null)" != "$sqlite_version" ]; then
  say "making SQLite's one-file source from Debian's source package"
  rm -rf "$sqlite_dir"
  src=$(fetch_source sqlite3 "$out/sqlite-src")
  mkdir -p "$out/sqlite-src/build"
  (cd "$out/sqlite-src/build" && "$src/configure" --disable-tcl >configure.log 2>&1 \
     && make sqlite3.c >make.log 2>&1) || die "SQLite's one-file source could not be made (logs in $out/sqlite-src/build)"
  mkdir -p "$sqlite_dir"
  cp "$out/sqlite-src/build/sqlite3.c" "$out/sqlite-src/build/sqlite3.h" "$sqlite_dir/"
  echo "$sqlite_version" > "$sqlite_dir.release"
  rm -rf "$out/sqlite-src"
fi

# ------------------------------------------------------------------ the reader

# The artwork is decoded at build time by a tool that runs here.
host_rawimage=$out/host/vargorin_rawimage
if [ ! -x "$host_rawimage" ] || [ resources/rawimage.cpp -nt "$host_rawimage" ]; then
  mkdir -p "$out/host"
  # shellcheck disable=SC2046
  g++ -std=c++17 -O1 -fPIC $(pkg-config --cflags Qt6Gui) resources/rawimage.cpp \
    $(pkg-config --libs Qt6Gui) -o "$host_rawimage"
fi

build=$out/build
# A build made with another Qt keeps that Qt's toolchain in its cache.
[ "$(cat "$build.qt" 2>/dev/null)" = "$qt_key" ] || rm -rf "$build"
mkdir -p "$build"
echo "$qt_key" > "$build.qt"
with_tests=OFF
[ "$action" = test ] && with_tests=ON
"$qt_prefix/bin/qt-cmake" -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVARGORIN_SQLITE_SOURCE="$sqlite_dir" -DVARGORIN_HOST_RAWIMAGE="$host_rawimage" \
  -DBUILD_TESTING=$with_tests -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64 >"$out/configure.log" 2>&1 \
  || { tail -n 30 "$out/configure.log" >&2; die "configuring the Windows build failed"; }
cmake --build "$build" --parallel "$(nproc)" || die "the Windows build failed"
x86_64-w64-mingw32-strip -o "$out/vargorin.exe" "$build/app/vargorin.exe"
say "made $out/vargorin.exe ($(( $(stat -c %s "$out/vargorin.exe") / 1024 / 1024 )) MB)"

# ------------------------------------------------------------------ packages

# The version is the Debian package's, from the project's one declaration.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
package=$out/package
rm -rf "$package"
mkdir -p "$package"
cp "$out/vargorin.exe" "$package/"
cp LICENSE "$package/LICENSE.txt"
# Windows' Notepad reads UTF-8 with or without its mark; the line ends are
# its own.
crlf() { sed 's/$/\r/' "$1"; }
crlf desktop/windows/OLVASSEL.txt > "$package/OLVASSEL.txt"
{
  sed -e "s/@QT_VERSION@/${qt_version%%+*}/" -e "s/@SQLITE_VERSION@/${sqlite_version%%-*}/" desktop/windows/notices-head.txt
  printf '\n%s\n' "-----------------------------------------------------------------------------"
  sed -n '/^GCC RUNTIME LIBRARY EXCEPTION/,/^requirements of the license of GCC\./p' /usr/share/doc/gcc-mingw-w64-base/copyright
  printf '\n'
  cat "$qt_home/bundled-notices.txt"
} > "$out/notices.txt"
crlf "$out/notices.txt" > "$package/THIRD-PARTY-NOTICES.txt"

zip_file=$out/vargorin-$version-windows.zip
rm -f "$zip_file"
(cd "$package" && zip -q -X "$zip_file" vargorin.exe LICENSE.txt THIRD-PARTY-NOTICES.txt OLVASSEL.txt)
setup=$out/vargorin-$version-setup.exe
makensis -V2 -INPUTCHARSET UTF8 "-XOutFile $setup" -DVERSION="$version" \
  -DPROGRAM="$package/vargorin.exe" -DICON="$build/app/vargorin.ico" \
  -DLICENSE_FILE="$package/LICENSE.txt" -DNOTICES_FILE="$package/THIRD-PARTY-NOTICES.txt" \
  -DREADME_FILE="$package/OLVASSEL.txt" -DESTIMATED_KB=$(( $(du -sk "$package" | cut -f1) )) \
  desktop/windows/vargorin.nsi >"$out/makensis.log" 2>&1 \
  || { cat "$out/makensis.log" >&2; die "the installer could not be made"; }
say "made $zip_file and $setup"
[ "$action" = test ] || exit 0
exec "$repo/scripts/windows-test.sh" "$build" "$out"
