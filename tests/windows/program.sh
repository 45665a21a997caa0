#!/bin/sh
# Usage: program.sh VARGORIN_EXE CARRIED_DB
# The Windows program as a file: a 64-bit GUI executable that imports no DLL
# beyond Windows' own, carrying the database byte for byte as the raw-data
# resource "Resource_1", the bee icon in the sizes Windows shows, a manifest
# that declares per-monitor density, and a version resource.
set -eu
exe=$1
carried=$2
failed=0
check() { # WHAT CONDITION...
  what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what" >&2; failed=1; fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

x86_64-w64-mingw32-objdump -p "$exe" > "$work/headers"
check "a 64-bit program" grep -q "^Magic.*020b" "$work/headers"
check "a GUI program (subsystem 2)" grep -Eq "^Subsystem[[:space:]]+0*2" "$work/headers"
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' "$work/headers" | tr 'A-Z' 'a-z' | sort -u)
echo "imports: $(echo $dlls)"
# Windows' own: the kernel, user interface, shell and system libraries, and
# the C runtime every Windows has (msvcrt), none of MinGW's or Qt's.
foreign=$(echo "$dlls" | grep -Ev '^(kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comdlg32|winmm|ws2_32|imm32|uxtheme|dwmapi|shcore|winspool\.drv|dwrite|version|setupapi|shlwapi|msvcrt|uiautomationcore|d3d9|d3d11|dxgi|dwrite|netapi32|userenv|wtsapi32|mpr|rpcrt4|authz|comctl32|api-ms-win-[a-z0-9-]+)\.dll$' || true)
check "no DLL beyond Windows' own${foreign:+ (found: $foreign)}" test -z "$foreign"

wrestool -x --raw --type=10 --name=RESOURCE_1 "$exe" > "$work/carried" 2>/dev/null || true
check "Resource_1 is the carried database byte for byte" cmp -s "$work/carried" "$carried"
wrestool -l "$exe" > "$work/resources"
check "an icon group" grep -q "type=group_icon" "$work/resources"
icons=$(grep -c "type=icon" "$work/resources" || true)
check "the icon in six sizes ($icons images)" test "$icons" -ge 6
wrestool -x --raw --type=24 "$exe" > "$work/manifest" 2>/dev/null || true
check "a manifest declaring per-monitor density v2" grep -q "PerMonitorV2" "$work/manifest"
check "the common controls in the manifest" grep -q "Microsoft.Windows.Common-Controls" "$work/manifest"
check "a version resource" grep -q "type=version" "$work/resources"
exit "$failed"
