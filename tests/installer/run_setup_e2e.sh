#!/usr/bin/env bash
# Runs the setup's end-to-end driver through run_e2e.sh in a new prefix: what an earlier run installed goes with the old one.
# Usage: run_setup_e2e.sh DRIVER.exe SETUP.exe [ARTIFACT_DIR] [-- gtest options...]
set -euo pipefail
prefix="$(dirname "$(realpath "$1")")/e2e-wineprefix"  # where run_e2e.sh puts the driver's prefix
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
rm -rf "$prefix"
exec bash "$(dirname "$0")/../e2e/run_e2e.sh" "$@"
