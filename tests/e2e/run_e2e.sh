#!/usr/bin/env bash
# Runs the end-to-end driver against TiKoDan.exe in a throwaway Wine prefix; its report goes to ARTIFACT_DIR.
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
root="$(cd "$(dirname "$0")/../.." && pwd)"

if [[ ! -f "$app" ]]; then
  echo "run_e2e: $app does not exist; build the TiKoDan target first" >&2
  exit 1
fi

# The build tree's own prefix beside the driver, kept between runs (its first boot takes half a
# minute); the driver wipes the program's registry keys before every test.
prefix="$(dirname "$driver")/e2e-wineprefix"
mkdir -p "$artifacts"

# shellcheck source=../../scripts/wine-prefix.sh
source "$root/scripts/wine-prefix.sh"
tkd_xvfb_ensure
tkd_prefix_init "$prefix"
# Whatever an aborted earlier run left in this prefix goes, so its windows are not in the way.
tkd_prefix_kill

started=$SECONDS
status=0
timeout --kill-after=10 240 wine "$driver" --app="$(winepath -w "$app")" \
  --gtest_output="xml:$(winepath -w "$artifacts")\\e2e.xml" "$@" || status=$?
echo "run_e2e: driver finished with status $status in $((SECONDS - started)) s"
tkd_prefix_kill
exit "$status"
