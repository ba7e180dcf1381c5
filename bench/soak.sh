#!/usr/bin/env bash
# The long soak runs under Wine: 200 rounds of TiKoDan.exe ended by TerminateProcess at random
# moments, every value of the settings table started with every hostile kind (20 starts), and the
# standard user. Prints rounds, losses and combinations, and writes soak.log in the artifact folder.
#
# usage: bash bench/soak.sh [--build DIR]   (default: $TKD_BUILD_DIR, else <repo>/build-win)
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TKD_BUILD_DIR:-$repo/build-win}"
if [[ "${1:-}" == "--build" ]]; then build="$2"; fi
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" >/dev/null
fi
cmake --build "$build" -j2 --target tkd_soak_driver tkd_e2e_driver TiKoDan >/dev/null
artifacts="$build/soak-artifacts"
mkdir -p "$artifacts"

started=$SECONDS
status=0
# Runs a command with its output also in soak.log; its own exit status.
logged() {
  "$@" 2> >(grep -v '^ALSA' >&2) | tee -a "$artifacts/soak.log"
  return "${PIPESTATUS[0]}"
}
: >"$artifacts/soak.log"
logged env TKD_SOAK_FULL=1 TKD_E2E_SECONDS=3600 bash "$repo/tests/e2e/run_e2e.sh" \
  "$build/tests/e2e/tkd_soak_driver.exe" "$build/dist/TiKoDan.exe" "$artifacts" || status=$?
logged bash "$repo/tests/e2e/run_e2e.sh" "$build/tests/e2e/tkd_e2e_driver.exe" "$build/dist/TiKoDan.exe" \
  "$artifacts" -- --gtest_filter='StandardUserTest.*' || status=$?
echo
grep -E '^\[   SOAK   \]|^\[ +(OK|FAILED) +\]' "$artifacts/soak.log" || true
echo "soak: finished with status $status in $((SECONDS - started)) s"
exit "$status"
