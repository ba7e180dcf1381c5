#!/usr/bin/env bash
# Builds TiKoDan for Windows and starts it under Wine; with no display, runs it briefly in Xvfb and saves a screenshot.
# Usage: scripts/run.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install-deps.sh
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build build-win
app="$root/build-win/dist/TiKoDan.exe"
screenshot="$root/build-win/screenshot.png"

# shellcheck source=wine-prefix.sh
source scripts/wine-prefix.sh
headless=0
[[ -z "${DISPLAY:-}" ]] && headless=1
tkd_xvfb_ensure
# The project's own prefix keeps the program's settings from one run to the next.
tkd_prefix_init "$root/.wine-tikodan"

if ((!headless)); then
  echo "Starting $app (close its window to finish)"
  cd "$(dirname "$app")"
  exec wine "$app"
fi

# The usage total the program stores once a second; a new value means it is up and ticking.
usage_total() {
  wine reg query 'HKLM\SOFTWARE\BrisoLaken\TiKoDan' /v js00 2>/dev/null | tr -d '\r' |
    awk '$1 == "js00" { print $3 }'
}

before="$(usage_total || true)"
(cd "$(dirname "$app")" && exec wine "$app") >/dev/null 2>&1 &
app_pid=$!

deadline=$((SECONDS + 60))
ticks=0
last="$before"
# Two ticks: the window has been shown and painted with its first refreshed title.
while ((ticks < 2)); do
  if ! kill -0 "$app_pid" 2>/dev/null; then
    echo "TiKoDan ended by itself before it could be photographed" \
      "(is \"isClose\" set to 1 in the prefix's registry?)" >&2
    exit 1
  fi
  if ((SECONDS > deadline)); then
    echo "TiKoDan showed no sign of running within 60 s" >&2
    tkd_prefix_kill
    exit 1
  fi
  now="$(usage_total || true)"
  if [[ -n "$now" && "$now" != "$last" ]]; then
    ticks=$((ticks + 1))
    last="$now"
  fi
  sleep 0.2
done

# The root holds the 1280x800 virtual desktop in its top-left corner.
import -window root -crop 1280x800+0+0 +repage "$screenshot"
echo "TiKoDan ran headless on Xvfb $DISPLAY; screenshot: $screenshot"
# Ending the prefix's processes ends the program without touching its settings.
tkd_prefix_kill
wait "$app_pid" 2>/dev/null || true
