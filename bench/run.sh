#!/usr/bin/env bash
# Benchmarks TiKoDan.exe against a minimal Win32 window under Wine on Xvfb; prints the table and writes bench-results.txt.
#
# usage: bash bench/run.sh [--quick] [--no-drift] [--build DIR] [--exe PATH] [--self-check]
#   --build DIR    the cross build (default: $TKD_BUILD_DIR, else <repo>/build-win; configured when
#                  new); TiKoDan.exe and the bench programs are brought up to date there first
#   --exe PATH     measure this TiKoDan.exe instead
#   --quick        10 s idle and a 1-minute drift run instead of 60 s and 10 minutes
#   --no-drift     leaves the stopwatch's drift out (ten minutes)
#   --self-check   measure the baseline against a second copy of itself (no TiKoDan.exe needed);
#                  every ratio should come out near 1
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TKD_BUILD_DIR:-$repo/build-win}"
exe=""
quick=0
selfCheck=0
noDrift=0
while (($#)); do
  case "$1" in
    --quick) quick=1 ;;
    --self-check) selfCheck=1 ;;
    --no-drift) noDrift=1 ;;
    --build) build="$2"; shift ;;
    --exe) exe="$2"; shift ;;
    -h | --help) sed -n '2,11p' "$0"; exit 0 ;;
    *) echo "bench/run.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
mkdir -p "$build"
build="$(cd "$build" && pwd)"

# Measurement lengths and targets.
runs=11
if ((quick)); then idleSeconds=10; driftTarget=0:01:00; else idleSeconds=60; driftTarget=0:10:00; fi
maxStartRatio=1.3
maxMemoryRatio=1.3
# against the floor program: the cost of the architecture, the registry and the timers
maxFloorStartRatio=1.1
maxFloorMemoryRatio=1.05
maxSizeBytes=700000    # 700 KB
maxIdleCpuPct=0.3
maxDriftMs=20

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" >/dev/null
fi
targets=(bench_driver baseline_window baseline_themed baseline_clock floor_window)
((selfCheck)) || [[ -n "$exe" ]] || targets+=(TiKoDan)
cmake --build "$build" --target "${targets[@]}" >/dev/null
driver="$build/bench/bench_driver.exe"
baseline="$build/bench/baseline_window.exe"
themed="$build/bench/baseline_themed.exe"
floor="$build/bench/floor_window.exe"
clock="$build/bench/baseline_clock.exe"
for f in "$driver" "$baseline" "$themed" "$floor" "$clock"; do
  [[ -f "$f" ]] || { echo "bench/run.sh: $f is missing; configure $build with cmake/mingw-w64.cmake" >&2; exit 2; }
done

work="$(mktemp -d "$build/bench-run.XXXXXX")"
if ((selfCheck)); then
  # A second file, so that the two programs are two images, as TiKoDan.exe and the baseline are.
  cp "$baseline" "$work/baseline_copy.exe"
  appName=copy appExe="$work/baseline_copy.exe" appClass=TkdBaselineWindow
else
  appName=TiKoDan appExe="${exe:-$build/dist/TiKoDan.exe}" appClass=TiKoDanForm1
  [[ -f "$appExe" ]] || { echo "bench/run.sh: $appExe is missing (build it, or try --self-check)" >&2; exit 2; }
  appExe="$(cd "$(dirname "$appExe")" && pwd)/$(basename "$appExe")"
fi

winPath() { printf 'Z:%s' "${1//\//\\}"; }
appArgs=(--app "$appName" "$(winPath "$appExe")" "$appClass")
baseArgs=(--app baseline "$(winPath "$baseline")" TkdBaselineWindow)
# The minimal window with the time of day in its caption, changed every second, as TiKoDan's is.
clockArgs=(--app clocked "$(winPath "$clock")" TkdBaselineWindow)
# The minimal window with one button under a manifest asking for the version 6 common controls:
# the floor for any themed program, shown beside the targets for comparison.
themedArgs=(--app themed "$(winPath "$themed")" TkdBaselineWindow)
# TiKoDan's own window, menu bar, tab control and first page made in one plain function: the floor
# of its start-up.
floorArgs=(--app floor "$(winPath "$floor")" TkdFloorWindow)

# One throwaway prefix inside Wine's virtual desktop, on an Xvfb of our own.
prefix="$work/prefix"
cleanup() {
  tkd_prefix_kill 2>/dev/null || true
  tkd_xvfb_stop 2>/dev/null || true
  rm -rf "$work"
}
# shellcheck source=../scripts/wine-prefix.sh
source "$repo/scripts/wine-prefix.sh"
unset DISPLAY
tkd_xvfb_ensure
trap cleanup EXIT  # set after Xvfb started, replacing the helper's own trap: cleanup stops it
trap "exit 130" INT TERM
tkd_prefix_init "$prefix" >&2

# A sound device that discards everything: the hourly chime may fall inside a run, and
# machines without a sound card would otherwise log ALSA errors.
printf 'pcm.!default { type null }\n' >"$work/null-audio.conf"
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$work/null-audio.conf"

drive() { wine "$(winPath "$driver")" "$@" | tr -d '\r'; }
log="$work/driver.log"

# Processor time of a running program under Wine in nanoseconds: the Linux scheduler's account of
# its threads, found by the image name Wine gives the process (cut to 15 characters). The
# driver's GetProcessTimes counts whole ticks of 10 ms, too coarse for a program at rest: one
# tick in a minute is 0.017 %.
cpuNs() {
  local pid
  pid=$(pgrep -x -n "${1:0:15}") || { echo 0; return; }
  cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'
}
# One idle measurement (driver arguments after TAG), with the scheduler's figures for each program
# measured over the span the driver marks: lines "idle_ns<TAG> NAME cpu_pct X". The programs are
# the driver's --app NAME PATH CLASS triples.
idleMeasured() {
  local tag="$1"; shift
  local signal="$work/idle-signal" names=() images=() args=("$@")
  for ((i = 0; i < ${#args[@]}; ++i)); do
    [[ "${args[i]}" == --app ]] && names+=("${args[i + 1]}") images+=("$(basename "${args[i + 2]//\\//}")")
  done
  rm -rf "$signal" && mkdir -p "$signal"
  (drive idle --signal "$(winPath "$signal")" "$@" >>"$work/idle.out") &
  local pid=$! t0 t1 before=() after=()
  until [[ -f "$signal/begin" ]] || ! kill -0 "$pid" 2>/dev/null; do sleep 0.02; done
  t0=$(date +%s.%N)
  for image in "${images[@]}"; do before+=("$(cpuNs "$image")"); done
  until [[ -f "$signal/end" ]] || ! kill -0 "$pid" 2>/dev/null; do sleep 0.02; done
  t1=$(date +%s.%N)
  for image in "${images[@]}"; do after+=("$(cpuNs "$image")"); done
  wait "$pid" || return 1
  for ((i = 0; i < ${#names[@]}; ++i)); do
    awk -v line="idle_ns$tag ${names[i]}" -v ns=$((after[i] - before[i])) -v t0="$t0" -v t1="$t1" \
      'BEGIN { printf "%s cpu_pct %.4f\n", line, ns / 1e7 / (t1 - t0) }' >>"$work/idle.out"
  done
}

echo "Checking the measuring tool..." >&2
drive selftest | tee -a "$log" >&2

echo "Start-up and working set: $runs runs each, interleaved..." >&2
drive startup --runs "$runs" --warmup 1 --settle 2000 "${appArgs[@]}" "${baseArgs[@]}" "${themedArgs[@]}" "${floorArgs[@]}" | tee -a "$log" >&2

# One after the other: a second TiKoDan.exe only brings the running one forward and ends.
echo "Idle CPU over ${idleSeconds} s..." >&2
idleStatus=0 driftStatus=0
: >"$work/idle.out"
appImage="$(basename "$appExe")"
idleMeasured "" --seconds "$idleSeconds" --settle 2000 "${appArgs[@]}" "${baseArgs[@]}" || idleStatus=$?
if ((!selfCheck)); then
  # Every feature on: a daily shutdown twelve hours away, the stopwatch running, the chime page
  # built; the window hidden behind its tray icon, then shown on the mouse page.
  for value in "Check6= 1" "Text5=$(( (10#$(date +%H) + 12) % 24 ))" "Text6=0"; do
    wine reg add 'HKLM\Software\BrisoLaken\TiKoDan' /reg:32 /v "${value%%=*}" /d "${value#*=}" /f >/dev/null 2>&1
  done
  for scene in hidden mouse; do
    echo "Idle CPU over ${idleSeconds} s with every feature on, window $scene..." >&2
    # Shown, the caption's clock is a cost of its own: a minimal window with one beside it.
    extra=(); [[ $scene == mouse ]] && extra=("${clockArgs[@]}")
    idleMeasured "_$scene" --seconds "$idleSeconds" --settle 2000 --scene "$scene" "${appArgs[@]}" "${baseArgs[@]}" \
      "${extra[@]}" || idleStatus=$?
  done
fi
if ((selfCheck || noDrift)); then
  : >"$work/drift.out"  # the baseline has no stopwatch
else
  echo "Stopwatch drift, running to $driftTarget..." >&2
  drive drift --target "$driftTarget" --settle 2000 "${appArgs[@]}" >"$work/drift.out" || driftStatus=$?
fi
cat "$work/idle.out" "$work/drift.out" | tee -a "$log" >&2
((idleStatus == 0)) || { echo "bench/run.sh: the idle measurement failed" >&2; exit 1; }
((driftStatus == 0)) || { echo "bench/run.sh: the drift measurement failed" >&2; exit 1; }

if ((!selfCheck)); then
  echo "Mouse odometer: CPU with the pointer still for ${idleSeconds} s, then along a known path..." >&2
  signal="$work/signal"
  mkdir -p "$signal"
  xdotool mousemove 200 200  # where the path begins: only the path itself is measured
  drive odometer --seconds "$idleSeconds" --settle 2000 --signal "$(winPath "$signal")" "${appArgs[@]}" \
    "${baseArgs[@]}" >"$work/odometer.out" &
  odometerPid=$!
  until [[ -f "$signal/ready" ]] || ! kill -0 "$odometerPid" 2>/dev/null; do sleep 0.1; done
  X=200 Y=200
  # A square of 400 px sides, then circles of radius 200 px for the measuring time, 10 px every
  # 10 ms as a hand moves; the first line is the path's length over the whole-pixel points.
  awk -v x="$X" -v y="$Y" -v seconds="$idleSeconds" '
    function to(nx, ny) { nx = int(nx + 0.5); ny = int(ny + 0.5); length_ += sqrt((nx - x) ^ 2 + (ny - y) ^ 2)
                          x = nx; y = ny; moves = moves sprintf("mousemove %d %d sleep 0.01 ", x, y) }
    BEGIN {
      for (side = 0; side < 4; ++side)
        for (s = 1; s <= 40; ++s) {
          if (side == 0) to(200 + 10 * s, 200); else if (side == 1) to(600, 200 + 10 * s)
          else if (side == 2) to(600 - 10 * s, 600); else to(200, 600 - 10 * s)
        }
      for (step = 0; step < seconds * 100; ++step) to(400 + 200 * cos(step * 0.05), 400 + 200 * sin(step * 0.05))
      print length_; print moves
    }' >"$work/path"
  # shellcheck disable=SC2046
  xdotool $(sed -n 2p "$work/path")
  sed -n 1p "$work/path" >"$signal/moved"
  wait "$odometerPid" || { echo "bench/run.sh: the odometer measurement failed" >&2; exit 1; }
  tee -a "$log" <"$work/odometer.out" >&2
fi

appBytes=$(stat -c %s "$appExe")
baseBytes=$(stat -c %s "$baseline")

# field TAG NAME KEY: the value after KEY on the driver's line TAG NAME ...
field() {
  awk -v tag="$1" -v name="$2" -v key="$3" '
    $1 == tag && $2 == name { for (i = 3; i < NF; i += 2) if ($i == key) { print $(i + 1); exit } }' "$log"
}
appStart=$(field startup "$appName" start_ms)
baseStart=$(field startup baseline start_ms)
appSet=$(field startup "$appName" ws_kib)
baseSet=$(field startup baseline ws_kib)
themedStart=$(field startup themed start_ms)
themedSet=$(field startup themed ws_kib)
floorStart=$(field startup floor start_ms)
floorSet=$(field startup floor ws_kib)
appCpu=$(field idle "$appName" cpu_pct)
appHidden=$(field idle_hidden "$appName" cpu_pct)
baseHidden=$(field idle_hidden baseline cpu_pct)
appMouse=$(field idle_mouse "$appName" cpu_pct)
baseMouse=$(field idle_mouse baseline cpu_pct)
baseCpu=$(field idle baseline cpu_pct)
for scene in "" _hidden _mouse; do  # the scheduler's figures: nsApp, nsBase, nsApp_hidden, ...
  printf -v "nsApp$scene" %s "$(field "idle_ns$scene" "$appName" cpu_pct)"
  printf -v "nsBase$scene" %s "$(field "idle_ns$scene" baseline cpu_pct)"
  printf -v "nsClock$scene" %s "$(field "idle_ns$scene" clocked cpu_pct)"
done
drift=$(field drift "$appName" drift_ms)
offset=$(field drift "$appName" offset_1s_ms)
accumulated=$(field drift "$appName" accumulated_ms)
qpcDrift=$(field drift "$appName" qpc_drift_ms)
maxGap=$(field drift "$appName" max_poll_gap_ms)
appStill=$(field odometer "$appName" still_cpu_pct)
baseStill=$(field odometer baseline still_cpu_pct)
appMoving=$(field odometer "$appName" moving_cpu_pct)
baseMoving=$(field odometer baseline moving_cpu_pct)
pathTrue=$(awk '$1 == "odometer_path" { print $3 }' "$log")
pathMeasured=$(awk '$1 == "odometer_path" { print $5 }' "$log")
needed=(appStart baseStart appSet baseSet themedStart themedSet floorStart floorSet appCpu baseCpu)
((selfCheck)) || needed+=(appHidden baseHidden appMouse baseMouse appStill baseStill appMoving baseMoving pathTrue pathMeasured)
((selfCheck || noDrift)) || needed+=(drift offset)
for v in "${needed[@]}"; do
  [[ -n "${!v}" ]] || { echo "bench/run.sh: no figure for $v in the driver's output" >&2; exit 1; }
done

verdict() { awk -v a="$1" -v b="$2" 'BEGIN { print (a <= b) ? "PASS" : "FAIL" }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }
absolute() { awk -v a="$1" 'BEGIN { printf "%.1f", a < 0 ? -a : a }'; }
startRatio=$(ratio "$appStart" "$baseStart")
setRatio=$(ratio "$appSet" "$baseSet")

results="$build/bench-results.txt"
{
  echo "TiKoDan benchmarks — $(date -u '+%Y-%m-%d %H:%M UTC'), $(wine --version 2>/dev/null), $(nproc) cores$( ((quick)) && echo ', quick run')$( ((selfCheck)) && echo ', self-check: baseline against a copy of itself')"
  echo "program: $appExe"
  echo
  printf '%-36s %14s %14s %8s %10s  %s\n' "measure" "$appName" "baseline" "ratio" "target" "result"
  printf '%-36s %14s %14s %8s %10s  %s\n' "start to visible window, median ms" "$appStart" "$baseStart" "$startRatio" "<= $maxStartRatio" "$(verdict "$startRatio" "$maxStartRatio")"
  printf '%-36s %14s %14s %8s %10s  %s\n' "working set after 2 s idle, KiB" "$appSet" "$baseSet" "$setRatio" "<= $maxMemoryRatio" "$(verdict "$setRatio" "$maxMemoryRatio")"
  printf '%-36s %14s %14s %8s\n' "  themed minimal window, ms / KiB" "$themedStart" "$themedSet" "$(ratio "$appStart" "$themedStart") / $(ratio "$appSet" "$themedSet")"
  floorStartRatio=$(ratio "$appStart" "$floorStart") floorSetRatio=$(ratio "$appSet" "$floorSet")
  printf '%-36s %14s %14s %8s %10s  %s\n' "  against the floor, start ms" "$appStart" "$floorStart" "$floorStartRatio" "<= $maxFloorStartRatio" "$(verdict "$floorStartRatio" "$maxFloorStartRatio")"
  printf '%-36s %14s %14s %8s %10s  %s\n' "  against the floor, working set KiB" "$appSet" "$floorSet" "$floorSetRatio" "<= $maxFloorMemoryRatio" "$(verdict "$floorSetRatio" "$maxFloorMemoryRatio")"
  printf '%-36s %14s %14s %8s %10s  %s\n' "executable size, bytes" "$appBytes" "$baseBytes" "-" "<= $maxSizeBytes" "$(verdict "$appBytes" "$maxSizeBytes")"
  printf '%-36s %14s %14s %8s %10s  %s\n' "idle CPU over ${idleSeconds} s, % of a core" "$appCpu" "$baseCpu" "-" "<= $maxIdleCpuPct" "$(verdict "$appCpu" "$maxIdleCpuPct")"
  scheduler() { printf '%-36s %14s %14s %8s\n' "$1" "${2:--}" "${3:--}" "$(ratio "${2:-0}" "${3:-0}")"; }
  scheduler "  by the scheduler, %" "$nsApp" "$nsBase"
  if ((!selfCheck)); then
    printf '%-36s %14s %14s %8s\n' "  every feature on, hidden, %" "$appHidden" "$baseHidden" "$(ratio "$appHidden" "$baseHidden")"
    scheduler "    by the scheduler, %" "$nsApp_hidden" "$nsBase_hidden"
    printf '%-36s %14s %14s %8s\n' "  every feature on, mouse page, %" "$appMouse" "$baseMouse" "$(ratio "$appMouse" "$baseMouse")"
    scheduler "    by the scheduler, %" "$nsApp_mouse" "$nsBase_mouse"
    scheduler "    against a clock in the caption, %" "$nsApp_mouse" "$nsClock_mouse"
  fi
  if ((!selfCheck && !noDrift)); then
    printf '%-36s %14s %14s %8s %10s  %s\n' "stopwatch drift at $driftTarget, ms" "$drift" "-" "-" "<= ±$maxDriftMs" "$(verdict "$(absolute "$drift")" "$maxDriftMs")"
    printf '%-36s %14s\n' "  offset at 0:00:01, ms" "$offset"
    printf '%-36s %14s\n' "  accumulated after 0:00:01, ms" "$accumulated"
    printf '%-36s %14s\n' "  same drift by QPC, ms" "$qpcDrift"
    printf '%-36s %14s\n' "  longest gap between polls, ms" "$maxGap"
  fi
  if ((!selfCheck)); then
    pathPct=$(awk -v t="$pathTrue" -v m="$pathMeasured" 'BEGIN { printf "%.2f", 100 * (m - t) / t }')
    printf '%-36s %14s %14s %8s %10s  %s\n' "mouse path measured, px ($pathTrue true)" "$pathMeasured" "-" "$pathPct%" "<= ±2%" "$(verdict "$(absolute "$pathPct")" 2)"
    printf '%-36s %14s %14s %8s %10s  %s\n' "CPU, pointer still, % of a core" "$appStill" "$baseStill" "-" "<= 0.5" "$(verdict "$appStill" 0.5)"
    printf '%-36s %14s %14s %8s %10s  %s\n' "CPU, pointer moving, % of a core" "$appMoving" "$baseMoving" "-" "<= 2" "$(verdict "$appMoving" 2)"
  fi
  echo
  echo "Start-up and working set: medians of $runs interleaved runs each after one warm-up; the window is"
  echo "looked for without pausing. Idle CPU: user + kernel time (summed over the threads under Wine) / wall time;"
  echo "by the scheduler: the same from Linux's account of the threads in nanoseconds, over the same span."
  echo "Drift: elapsed QueryUnbiasedInterruptTime from the Start click until Label2 reads $driftTarget, minus that time;"
  echo "Label2 is read by WM_GETTEXT about every millisecond. Under Wine the interrupt time advances when"
  echo "wineserver wakes (selftest's interrupt_step_ms with nobody talking to it), so each reading follows a"
  echo "round trip to it; the QPC figure checks it independently."
  echo
  echo "Driver output:"
  cat "$log"
} >"$results"
sed '/^Driver output:/,$d' "$results"
echo "Written to $results"
if grep -q ' FAIL$' <(sed '/^Driver output:/,$d' "$results"); then exit 1; fi
