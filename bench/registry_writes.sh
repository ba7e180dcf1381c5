#!/usr/bin/env bash
# Counts TiKoDan.exe's registry writes at rest, per value and minute, from Wine's own trace of
# NtSetValueKey: the program runs in a throwaway prefix for the start-up plus SECONDS, and only
# the writes after the first 5 s count.
# usage: bash bench/registry_writes.sh [--seconds S] [--exe PATH]   (default 60 s, build-win's exe)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds=60 exe="$repo/build-win/dist/TiKoDan.exe"
while (($#)); do
  case "$1" in
    --seconds) seconds="$2"; shift ;;
    --exe) exe="$2"; shift ;;
    *) sed -n '2,5p' "$0" >&2; exit 2 ;;
  esac
  shift
done
exe="$(realpath "$exe")"
work="$(mktemp -d)"
# shellcheck source=../scripts/wine-prefix.sh
source "$repo/scripts/wine-prefix.sh"
unset DISPLAY
tkd_xvfb_ensure
tkd_prefix_init "$work/prefix" >&2
_tkd_add_exit_trap "tkd_prefix_kill 2>/dev/null || true; rm -rf '$work'"
cp -r "$(dirname "$exe")" "$work/app"
(cd "$work/app" && WINEDEBUG=+timestamp,+reg timeout $((seconds + 5)) wine TiKoDan.exe >/dev/null 2>"$work/trace") || true
# The program's thread is the one that writes "js00"; Wine traces every write as NtSetValueKey.
thread="$(awk -F: '/trace:reg:NtSetValueKey .*L"js00"/ { print $2; exit }' "$work/trace")"
[[ -n "$thread" ]] || { echo "registry_writes: no write of js00 in the trace" >&2; exit 1; }
awk -F: -v thread="$thread" -v from=5 -v seconds="$seconds" '
  $2 == thread && /trace:reg:NtSetValueKey/ {
    if (start == "") start = $1
    if ($1 - start < from) next
    if (match($0, /L"[^"]*"/)) count[substr($0, RSTART + 2, RLENGTH - 3)]++
  }
  END {
    printf "%-16s %s\n", "value", "writes a minute"
    for (name in count) printf "%-16s %.1f\n", name, count[name] * 60 / seconds
  }' "$work/trace"
