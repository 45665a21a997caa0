#!/bin/sh
# The user interface's rooms stand forms -> accessible -> widgets -> look:
# a file may include from its own room or from a room below it, never from
# one above, so the rooms never grow a circle. Prints every arrow that runs
# upwards and fails if there is one.
set -eu
ui=${1:?usage: rooms.sh UI_DIR}
rank() {
  case $1 in
    look) echo 0 ;; widgets) echo 1 ;; accessible) echo 2 ;; forms) echo 3 ;; *) echo "" ;;
  esac
}
upwards=0
checked=0
for file in $(cd "$ui" && find . -name '*.h' -o -name '*.cpp' -o -name '*.ui'); do
  room=$(echo "$file" | cut -d/ -f2)
  from=$(rank "$room")
  [ -n "$from" ] || { echo "rooms: $file stands in no room" >&2; upwards=1; continue; }
  for target in $(grep -oE '(#include "|<header>)(forms|widgets|accessible|look)/' "$ui/$file" \
                  | sed -E 's/.*(forms|widgets|accessible|look)\//\1/' | sort -u); do
    checked=$((checked + 1))
    if [ "$(rank "$target")" -gt "$from" ]; then
      echo "rooms: $file ($room) includes from $target, a room above it" >&2
      upwards=1
    fi
  done
done
[ "$checked" -gt 0 ] || { echo "rooms: no include arrows found under $ui" >&2; exit 1; }
[ "$upwards" -eq 0 ] && echo "rooms: $checked arrows, every one downwards or within its room"
exit "$upwards"
