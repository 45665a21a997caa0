# Sourced by the scripts that run the Windows program under Wine: Wine's
# programs, quiet and without its desktop integration, in a prefix of the
# caller's own made from the fresh one that scripts/windows.sh prepared
# (VARGORIN_WINE_BASE), so that nothing one run changes reaches another.
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG WINEDLLOVERRIDES

# wine_prefix DIR: a copy of the prepared prefix in DIR, made the current one.
wine_prefix() {
  [ -d "${VARGORIN_WINE_BASE:-}" ] || { echo "wine.sh: VARGORIN_WINE_BASE names no prefix" >&2; return 1; }
  cp -a "$VARGORIN_WINE_BASE" "$1"
  WINEPREFIX=$1
  export WINEPREFIX
}

# wine_reg KEY NAME TYPE DATA: sets a value in the prefix's registry.
wine_reg() {
  "$WINE" reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1
}

# Ends every Wine process of the current prefix and waits for its server.
wine_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
}
