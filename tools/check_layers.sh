#!/usr/bin/env bash
# Fails when an include in src/ points up the layers, or portable code includes <windows.h>.
# Layers, lowest first: core, ports (platform/ports.h), settings, timing|schedule|stats|web,
# window, app. Platform adapters see only core and ports; a subsystem never includes a sibling.
set -uo pipefail
cd "$(dirname "$0")/../src" || exit 2

rank() {  # the layer of a path below src/
  case "$1" in
    core/*) echo 0 ;;
    platform/*) echo 1 ;;
    settings/*) echo 2 ;;
    timing/* | schedule/* | stats/* | web/*) echo 3 ;;
    window/*) echo 4 ;;
    app/*) echo 5 ;;
    *) echo 9 ;;
  esac
}

# Whether `from` may include `target`.
allowed() {
  local from="$1" target="$2"
  if [[ "$target" == platform/* && "$target" != platform/ports.h ]]; then
    [[ "$from" == platform/* || "$from" == app/* ]]  # adapters: for each other and the shell
  elif [[ "$from" == platform/* ]]; then
    [[ "$target" == core/* || "$target" == platform/* ]]
  else
    [[ "${target%%/*}" == "${from%%/*}" ]] || (($(rank "$target") < $(rank "$from")))
  fi
}

bad=0
while IFS= read -r file; do
  from="${file#./}"
  while IFS= read -r target; do
    allowed "$from" "$target" && continue
    echo "$from includes $target"
    bad=1
  done < <(sed -n 's/^#include "\([a-z]*\/[^"]*\)".*/\1/p' "$file")
  if [[ "$from" != *_win32.* ]] && grep -qE '#include +<windows.h>' "$file"; then
    echo "$from includes <windows.h> but is not a *_win32 file"
    bad=1
  fi
done < <(find . -name '*.h' -o -name '*.cpp' | sort)
((bad)) && exit 1
echo "every include points down the layers"
