#!/usr/bin/env bash
# Runs the end-to-end driver against TiKoDan.exe in a throwaway Wine prefix and keeps a screenshot of the window.
# Usage: run_e2e.sh DRIVER.exe TiKoDan.exe [ARTIFACT_DIR] [-- gtest options...]
set -euo pipefail

if (($# < 2)); then
  sed -n '2,3p' "$0" >&2
  exit 2
fi
driver="$(realpath "$1")"
app="$(realpath -m "$2")"
shift 2
artifacts="$(dirname "$(dirname "$app")")/e2e-artifacts"
if (($# > 0)) && [[ "$1" != "--" ]]; then
  artifacts="$1"
  shift
fi
[[ "${1:-}" == "--" ]] && shift

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"

if [[ ! -f "$app" ]]; then
  echo "run_e2e: $app does not exist; build the TiKoDan target first" >&2
  exit 1
fi

# The prefix is the build tree's own, beside the driver, kept between runs (its first boot takes
# half a minute); the driver wipes the program's registry keys before every test.
prefix="$(dirname "$driver")/e2e-wineprefix"
mkdir -p "$artifacts"
rm -f "$artifacts/form1.bmp" "$artifacts/form1.png"

# shellcheck source=../../scripts/wine-prefix.sh
source "$root/scripts/wine-prefix.sh"
tkd_xvfb_ensure
tkd_prefix_init "$prefix"
# Whatever an aborted earlier run left in this prefix goes, so its windows are not in the way.
tkd_prefix_kill

started=$SECONDS
status=0
timeout --kill-after=10 840 wine "$driver" \
  --app="$(winepath -w "$app")" --artifacts="$(winepath -w "$artifacts")" "$@" || status=$?
echo "run_e2e: driver finished with status $status in $((SECONDS - started)) s"

if [[ -f "$artifacts/form1.bmp" ]] && command -v convert >/dev/null; then
  convert "$artifacts/form1.bmp" "$artifacts/form1.png" && echo "run_e2e: screenshot $artifacts/form1.png"
fi
tkd_prefix_kill
exit "$status"
