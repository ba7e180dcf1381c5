#!/usr/bin/env bash
# CTest's emulator for the cross build (see cmake/mingw-w64.cmake): runs one Windows test program
# under Wine in a prefix of the build tree's own, never in ~/.wine.
#   usage: wine-run.sh PREFIX PROGRAM.exe [ARGS...]
# The prefix is set up on first use, as scripts/wine-prefix.sh sets up every prefix of ours (the
# Chinese locale included). A test whose environment holds TKD_WINE_DISPLAY=1 gets a display: the
# caller's, else an Xvfb started for this run and stopped, with the prefix's processes, after it.
# A Unix path in GTEST_OUTPUT is handed on as the Z: path the program knows it by.
set -euo pipefail
if (($# < 2)); then
  sed -n '2,8p' "$0" >&2
  exit 2
fi
prefix="$1"
shift

# shellcheck source=../scripts/wine-prefix.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-prefix.sh"
tkd_prefix_init "$prefix"

if [[ "${GTEST_OUTPUT:-}" =~ ^(json|xml):(/.*)$ ]]; then
  path="${BASH_REMATCH[2]}"
  export GTEST_OUTPUT="${BASH_REMATCH[1]}:Z:${path//\//\\}"
fi

wine="$(command -v wine64 || command -v wine)"
if [[ "${TKD_WINE_DISPLAY:-}" != 1 || -n "${DISPLAY:-}" ]]; then
  exec "$wine" "$@"
fi
trap 'exit 143' TERM INT  # so that the EXIT trap stops Xvfb when CTest gives up on the test
tkd_xvfb_ensure
status=0
"$wine" "$@" || status=$?
exit "$status"
