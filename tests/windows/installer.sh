#!/bin/sh
# Usage (inside an X server): installer.sh PACKAGE_DIR
# The installer and the zip that scripts/windows.sh made in PACKAGE_DIR, as
# a user meets them, in a Wine prefix of their own: a silent install without
# administrator rights, the Start-menu shortcut and the entry in "Apps &
# features", a start as the shortcut starts the reader, a confirmed exit, and
# a silent uninstall that leaves nothing behind.
set -eu
packages=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/reader.sh"
. "$here/wine.sh"
trap 'wine_stop; kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

setup=$(ls "$packages"/vargorin-*-setup.exe)
zip=$(ls "$packages"/vargorin-*-windows.zip)
version=${setup##*/vargorin-}
version=${version%-setup.exe}
wine_prefix "$work/prefix"
start_window_manager

# A Windows folder of the prefix's user, as this machine names it.
unix_folder() { "$WINE" winepath -u "$("$WINE" cmd /c echo "%$1%" | tr -d '\r')" 2>/dev/null | tr -d '\r'; }
local_app_data=$(unix_folder LOCALAPPDATA)
app_data=$(unix_folder APPDATA)
[ -d "$local_app_data" ] || fail "no LOCALAPPDATA folder in the prefix"
program_folder=$local_app_data/Programs/Vargorin
work_folder=$local_app_data/Vargorin
shortcut="$app_data/Microsoft/Windows/Start Menu/Programs/Vargorin összes költeménye.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vargorin'

echo "installer: a silent install as the user"
"$WINE" "$setup" /S
"$WINESERVER" -w
[ -f "$program_folder/vargorin.exe" ] || fail "no program in $program_folder"
for file in LICENSE.txt THIRD-PARTY-NOTICES.txt OLVASSEL.txt uninstall.exe; do
  [ -f "$program_folder/$file" ] || fail "no $file in the program folder"
done
unzip -p "$zip" vargorin.exe | cmp -s - "$program_folder/vargorin.exe" \
  || fail "the zip and the installer hold different programs"
[ "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = "LICENSE.txt OLVASSEL.txt THIRD-PARTY-NOTICES.txt vargorin.exe " ] \
  || fail "the zip holds: $(unzip -Z1 "$zip" | tr '\n' ' ')"
grep -q "GNU GENERAL PUBLIC LICENSE" "$program_folder/LICENSE.txt" || fail "the licence is not the GPL"
for notice in "Qt 6" "SQLite" "winpthreads" "GCC RUNTIME LIBRARY EXCEPTION" "Bundled with Qt: harfbuzz-ng"; do
  grep -q "$notice" "$program_folder/THIRD-PARTY-NOTICES.txt" || fail "the notices do not name $notice"
done

echo "installer: the Start-menu shortcut"
[ -f "$shortcut" ] || fail "no shortcut in the Start menu"
link=$(lnkinfo "$shortcut")
printf '%s\n' "$link" | grep -Eiq 'Local path[^:]*:.*AppData\\Local\\Programs\\Vargorin\\vargorin\.exe' \
  || fail "the shortcut does not start the installed program: $link"
printf '%s\n' "$link" | grep -Eiq 'Working directory[^:]*:.*AppData\\Local\\Vargorin$' \
  || fail "the shortcut's working folder is not the reader's own: $link"
printf '%s\n' "$link" | grep -Eiq 'Icon location[^:]*:.*vargorin\.exe' || fail "the shortcut has no bee: $link"
[ -d "$work_folder" ] || fail "the installer made no working folder"

echo "installer: the entry in Apps & features"
entry=$("$WINE" reg query "$key" 2>/dev/null | tr -d '\r')
for value in "DisplayName" "DisplayIcon.*vargorin.exe,0" "DisplayVersion.*$version" "Publisher.*Pellimor" \
             "UninstallString.*uninstall.exe" "EstimatedSize.*0x"; do
  printf '%s\n' "$entry" | grep -Eq "$value" || fail "the Uninstall key lacks $value: $entry"
done

echo "installer: started as the shortcut starts it, in its working folder"
cd "$work_folder"
"$WINE" "$program_folder/vargorin.exe" & reader=$!
main=$(window '^Vargorin összes költeménye:$') || fail "the installed reader showed no window"
await 30 test -f "$work_folder/Vargorin.db" || fail "no working copy in the working folder"
[ ! -e "$program_folder/Vargorin.db" ] || fail "a working copy in the program folder"
choose "$main" "$reader" i is_shown '^Figyelem:$' || fail "no exit question"
press "$(window '^Figyelem:$')" Return
wait_exit "$reader" 0
[ ! -e "$work_folder/Vargorin.db" ] || fail "the working copy stayed after a confirmed exit"
cd "$work"

echo "installer: a silent uninstall leaves nothing behind"
printf 'left by a log-off' > "$work_folder/Vargorin.db"
"$WINE" "$program_folder/uninstall.exe" /S
"$WINESERVER" -w # the uninstaller runs on from a copy of itself
[ ! -e "$program_folder" ] || fail "the program folder stayed: $(ls "$program_folder")"
[ ! -e "$shortcut" ] || fail "the shortcut stayed"
[ ! -e "$work_folder" ] || fail "the working folder stayed"
if "$WINE" reg query "$key" >/dev/null 2>&1; then fail "the Uninstall key stayed"; fi

echo "installer: passed"
