#!/bin/sh
# Usage (inside an X server): windows-startup.sh BENCH_STARTUP VARGORIN_EXE BARE_WINDOW_EXE [ROUNDS]
# Start-up of the Windows program under Wine against a bare static Qt window
# built the same way: bench_startup (built for this machine) spawns each
# through Wine in turn and times it to its first mapped window. Wine's own
# start is in both figures alike; its server runs throughout.
set -eu
bench=$1
reader=$2
bare=$3
rounds=${4:-11}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../tests/windows/wine.sh"
work=$(mktemp -d)
trap 'wine_stop; rm -rf "$work"' EXIT
wine_prefix "$work/prefix"
"$WINESERVER" -p >/dev/null 2>&1 </dev/null
"$WINE" wineboot >/dev/null 2>&1 </dev/null || true
for program in reader bare; do
  eval target=\$$program
  printf '#!/bin/sh\nexec %s %s\n' "$WINE" "$target" > "$work/$program"
  chmod +x "$work/$program"
done
"$bench" "$work/reader" "$work/bare" "$rounds"
