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

# The vendor site on a loopback port, for every program of the run (they inherit the driver's
# environment); its request log tells the driver which pages were asked for.
siteLog="$artifacts/site-requests.log"
portFile="$artifacts/site-port"
: >"$siteLog"
rm -f "$portFile"
python3 "$root/tests/support/site_server.py" --log "$siteLog" --port-file "$portFile" &
server=$!
_tkd_add_exit_trap "kill $server 2>/dev/null || true"
for _ in $(seq 100); do [[ -s "$portFile" ]] && break; sleep 0.1; done
if [[ ! -s "$portFile" ]]; then
  echo "run_e2e: the loopback site did not start" >&2
  exit 1
fi
export TIKODAN_SITE_BASE="http://127.0.0.1:$(cat "$portFile")/"
export TKD_E2E_SITE_LOG="$(winepath -w "$siteLog")"

started=$SECONDS
winapp="$(winepath -w "$app")"
winartifacts="$(winepath -w "$artifacts")"
export TKD_E2E_ARTIFACTS="$winartifacts"
# A report per run: where the caller's GTEST_OUTPUT says (test.sh counts from it), else an XML
# report in the artifact folder.
report() {
  if [[ -n "${GTEST_OUTPUT:-}" ]]; then
    report=()
  else
    report=(--gtest_output="xml:$winartifacts\\$1")
  fi
}
drive() {  # SECONDS_ALLOWED [driver options...]
  local seconds="$1"
  shift
  timeout --kill-after=10 "$seconds" wine "$driver" --app="$winapp" "$@"
}

# The driver moves the X pointer as a hand would, through xdotool: it writes xdotool's arguments
# to pointer.request and waits for pointer.done. (A SetCursorPos from another Windows process is
# seen late now and then under Wine, which would make detours of a straight path.)
pointerRequest="$artifacts/pointer.request"
rm -f "$pointerRequest" "$artifacts/pointer.done"
(
  while :; do
    if [[ -f "$pointerRequest" ]]; then
      xargs xdotool <"$pointerRequest" || true
      rm -f "$pointerRequest"
      : >"$artifacts/pointer.done"
    fi
    sleep 0.05
  done
) &
pointerMover=$!
_tkd_add_exit_trap "kill $pointerMover 2>/dev/null || true"

# Which tests the caller's options select ("Suite.Name" a line); every test without options. Each
# test runs in the environment it needs, whatever else was selected with it: so
#   run_e2e.sh DRIVER EXE [DIR] -- --gtest_filter=Suite.Name
# runs that one test alone, and gtest's other options (--gtest_shuffle, --gtest_repeat) pass on.
filterGiven=0 passOn=()
for option in "$@"; do
  if [[ "$option" == --gtest_filter=* ]]; then filterGiven=1; else passOn+=("$option"); fi
done
selected="$(GTEST_OUTPUT= drive 60 --gtest_list_tests "$@" | tr -d '\r' | awk '/^[^ ]/ {suite = $1} /^  [^ ]/ {print suite $1}')"
tkd_prefix_kill
# The selected tests of a group of suites, as a filter; empty when there are none.
group() { grep -E "^($1)\." <<<"$selected" | paste -sd: - || true; }
special='ShiftedClockTest|ShutdownTest|WebTest|WebRankTest'
realClock="$(grep -vE "^($special)\." <<<"$selected" | grep . | paste -sd: - || true)"
status=0

# 1. Everything on the real clock, the short soak runs included (bench/soak.sh runs the long ones
# through here, with TKD_SOAK_FULL=1 and a longer TKD_E2E_SECONDS).
if [[ -n "$realClock" ]]; then
  report e2e.xml
  drive "${TKD_E2E_SECONDS:-240}" "${report[@]}" --gtest_filter="$realClock" "${passOn[@]}" || status=$?
  tkd_prefix_kill
fi

# 2. The wall clock shifted to 06:59:56 for the prefix (its server included), timers left real:
# the warnings before a daily shutdown, and the 7 o'clock chime seen as its file's opening.
if [[ -n "$(group ShiftedClockTest)" ]]; then
  soundLog="$artifacts/sound-opens.log"
  : >"$soundLog"
  inotifywait -m -e open --format %f "$(dirname "$app")/sound" >"$soundLog" 2>"$soundLog.err" &
  watcher=$!
  until grep -q "Watches established" "$soundLog.err" 2>/dev/null; do sleep 0.1; done
  export TKD_E2E_SOUND_LOG="$(winepath -w "$soundLog")"
  tkd_prefix_kill
  report e2e-clock.xml
  faketime --exclude-monotonic '2026-03-01 06:59:56' timeout --kill-after=10 60 wine "$driver" \
    --app="$winapp" "${report[@]}" --gtest_filter="$(group ShiftedClockTest)" "${passOn[@]}" || status=$?
  kill "$watcher" 2>/dev/null || true
  tkd_prefix_kill
fi

# 3. A shutdown three seconds after arming. Wine ends every process of the prefix with it, the
# driver too, so a second run reads the process trace (with tick counts) that Wine wrote; the two
# always run together.
if [[ -n "$(group ShutdownTest)" ]]; then
  GTEST_OUTPUT="" WINEDEBUG=+timestamp,+process drive 60 --gtest_filter='ShutdownTest.Arm*' \
    2>"$artifacts/shutdown-trace.log" >/dev/null || true
  tkd_prefix_kill
  report e2e-shutdown.xml
  drive 60 "${report[@]}" --gtest_filter='ShutdownTest.Started*' "${passOn[@]}" || status=$?
  tkd_prefix_kill
fi

# 4. The web services against the loopback site; then the rank in the 120th tick, with every
# clock of the prefix (its server included) running ten times as fast, so that two minutes of
# ticks take twelve seconds.
if [[ -n "$(group WebTest)" ]]; then
  report e2e-web.xml
  drive 120 "${report[@]}" --gtest_filter="$(group WebTest)" "${passOn[@]}" || status=$?
  tkd_prefix_kill
fi
if [[ -n "$(group WebRankTest)" ]]; then
  report e2e-rank.xml
  timeout --kill-after=10 60 faketime -f '+0 x10' wine "$driver" --app="$winapp" "${report[@]}" \
    --gtest_filter="$(group WebRankTest)" "${passOn[@]}" || status=$?
fi
if [[ -z "$selected" ]]; then
  echo "run_e2e: no test matches ${*:-(no options)}" >&2
  status=1
fi
((filterGiven)) && echo "run_e2e: ran $(grep -c . <<<"$selected") selected test(s)"
echo "run_e2e: driver finished with status $status in $((SECONDS - started)) s"
tkd_prefix_kill
exit "$status"
