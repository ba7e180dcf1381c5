#!/usr/bin/env bash
# Half an hour of TiKoDan.exe under Wine with the pointer moving, the chime page shown and the update
# dialog opened and closed 20 times; prints working set, GDI objects and windows at start and end.
#
# usage: bash bench/long_run.sh [--seconds S] [--dialogs N] [--build DIR]
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TKD_BUILD_DIR:-$repo/build-win}"
seconds=1800
dialogs=20
while (($#)); do
  case "$1" in
    --seconds) seconds="$2"; shift ;;
    --dialogs) dialogs="$2"; shift ;;
    --build) build="$2"; shift ;;
    -h | --help) sed -n '2,5p' "$0"; exit 0 ;;
    *) echo "bench/long_run.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" >/dev/null
fi
cmake --build "$build" --target bench_driver TiKoDan >/dev/null
build="$(cd "$build" && pwd)"
winPath() { printf 'Z:%s' "${1//\//\\}"; }

work="$(mktemp -d "$build/long-run.XXXXXX")"
# shellcheck source=../scripts/wine-prefix.sh
source "$repo/scripts/wine-prefix.sh"
unset DISPLAY
tkd_xvfb_ensure
_tkd_add_exit_trap "tkd_prefix_kill; rm -rf '$work'"
tkd_prefix_init "$work/prefix" >&2
printf 'pcm.!default { type null }\n' >"$work/null-audio.conf"
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$work/null-audio.conf"

# The vendor site on a loopback port, so that every update check gets its answer.
python3 "$repo/tests/support/site_server.py" --log "$work/site.log" --port-file "$work/port" &
_tkd_add_exit_trap "kill $! 2>/dev/null || true"
for _ in $(seq 100); do [[ -s "$work/port" ]] && break; sleep 0.1; done
export TIKODAN_SITE_BASE="http://127.0.0.1:$(cat "$work/port")/"

# A hand moving the pointer in circles for the whole run.
(
  while :; do
    xdotool $(awk 'BEGIN { for (s = 0; s < 126; ++s) printf "mousemove %d %d sleep 0.02 ", 640 + 200 * cos(s / 20), 400 + 200 * sin(s / 20) }')
  done
) >/dev/null 2>&1 &
_tkd_add_exit_trap "kill $! 2>/dev/null || true"

echo "Running TiKoDan.exe for $seconds s with $dialogs update dialogs..." >&2
wine "$(winPath "$build/bench/bench_driver.exe")" longrun --seconds "$seconds" --dialogs "$dialogs" \
  --app TiKoDan "$(winPath "$build/dist/TiKoDan.exe")" TiKoDanForm1 | tr -d '\r' | tee "$work/out.txt" >&2
results="$build/long-run-results.txt"
{
  echo "TiKoDan long run — $(date -u '+%Y-%m-%d %H:%M UTC'), $(wine --version 2>/dev/null), $seconds s, $dialogs update dialogs"
  echo "GDI objects: entries in use in the process's GDI handle table; windows: the process's top-level and child"
  echo "windows (Wine 8's GetGuiResources answers 0)."
  cat "$work/out.txt"
} >"$results"
awk '$1 == "longrun" { for (i = 3; i < NF; i += 2) printf "%-16s %s\n", $i, $(i + 1) }' "$work/out.txt"
echo "Written to $results"
grep -q '^longrun ' "$work/out.txt"
