#!/bin/sh
# What the operating system gives lives in platform/ alone: outside it, no
# product source includes a system header (POSIX, X11/XCB, Wayland, Win32,
# Qt's platform-plugin qpa/ headers) or branches on the system with the
# preprocessor; and platform/ reaches into none of the program's own rooms.
# Prints every offence and fails if there is one.
set -eu
top=${1:?usage: platformroom.sh SOURCE_DIR}
cd "$top"
offences=0
offend() { echo "platformroom: $*" >&2; offences=1; }

sources() { find "$@" \( -name '*.h' -o -name '*.cpp' \) -type f | sort; }

# Allowed in angle brackets: Qt's public headers, the C++ standard library
# (names without an extension, including the <cxxx> forms of C's), and the
# database engine, which is a library, not the system.
allowed='^(Q[A-Za-z0-9]*|Qt[A-Za-z]*/[A-Za-z0-9]+|q[a-z0-9_]+\.h|[a-z_]+|sqlite3\.h)$'
system_branch='^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif).*(Q_OS_|_WIN32|_WIN64|\bWIN32\b|__linux__|__unix__|__APPLE__|__MINGW|_MSC_VER|__gnu_linux__)'

checked=0
for file in $(sources app shell resources store ui); do
  checked=$((checked + 1))
  for header in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p' "$file"); do
    case $header in qpa/*|private/*) offend "$file includes <$header>, a system header"; continue ;; esac
    echo "$header" | grep -Eq "$allowed" || offend "$file includes <$header>, a system header"
  done
  grep -nE "$system_branch" "$file" | sed "s|^|$file:|" | while IFS= read -r line; do
    echo "platformroom: $line branches on the system" >&2
  done
  grep -qE "$system_branch" "$file" && offences=1
done

# platform/ stands below everything else: its quoted includes name its own
# files, by "platform/..." or relative to the including file.
for file in $(sources platform); do
  checked=$((checked + 1))
  for header in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file"); do
    case $header in
      platform/*) [ -f "$header" ] || offend "$file includes \"$header\", which platform/ does not have" ;;
      *) [ -f "$(dirname "$file")/$header" ] || offend "$file includes \"$header\" from outside platform/" ;;
    esac
  done
done

[ "$checked" -gt 0 ] || { echo "platformroom: no sources found under $top" >&2; exit 1; }
[ "$offences" -eq 0 ] && echo "platformroom: $checked files, the system reached only from platform/"
exit "$offences"
