#!/usr/bin/env bash
# Fails when an exe imports a function that the reviewed list (every one present in Windows 7 SP1
# as shipped) does not hold: a newer function imported directly would keep the program from
# starting at all on an older Windows. Such functions are loaded when needed instead.
#   check_imports.sh EXE LIST
set -euo pipefail
exe="$1" list="$2"
objdump="${OBJDUMP:-x86_64-w64-mingw32-objdump}"

# "library!function", the library in lower case, one per line.
imports="$("$objdump" -p "$exe" | awk '
  /^\tDLL Name: / { dll = tolower($3); next }
  /^\tvma:/ { next }
  dll != "" && /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_?@]/ { print dll "!" $3; next }
  /^$/ && dll != "" && seen { dll = "" }
  dll != "" { seen = 1 }')"
[[ -n "$imports" ]] || { echo "no imports read from $exe"; exit 1; }

unreviewed="$(comm -23 <(sort -u <<<"$imports") <(grep -v '^#' "$list" | sed '/^$/d' | sort -u))"
if [[ -n "$unreviewed" ]]; then
  echo "$exe imports functions the list of $list does not hold:"
  echo "$unreviewed"
  exit 1
fi
echo "$(wc -l <<<"$imports") imports of $exe, all reviewed"
