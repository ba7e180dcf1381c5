#!/usr/bin/env bash
# Fuzzes the portable logic with libFuzzer: builds the harnesses of bench/fuzz with clang into
# build-fuzz, then runs them one after another, each on one core for N seconds from a copy of its
# seed corpus, and prints per harness the executions, executions per second, coverage and findings.
#
# usage: bash bench/fuzz.sh [--seconds N] [--build-only] [HARNESS...]
#   --seconds N    how long each harness runs (default 600)
#   --build-only   configure and build only (scripts/test.sh then runs its smoke entries)
#   HARNESS        numbers, startup, web (default: all three)
# Each run keeps its log, its grown corpus and whatever it found (crash-*, leak-*, timeout-*,
# oom-*) in build-fuzz/fuzz-runs/<harness>/; the seed corpus in the sources is only read.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build-fuzz"
seconds=600
buildOnly=0
harnesses=()
while (($#)); do
  case "$1" in
    --seconds) seconds="$2"; shift ;;
    --build-only) buildOnly=1 ;;
    -h | --help) sed -n '2,11p' "$0"; exit 0 ;;
    numbers | startup | web) harnesses+=("$1") ;;
    *) echo "bench/fuzz.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done
((${#harnesses[@]})) || harnesses=(numbers startup web)

mkdir -p "$build"
if ! { cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
         -DCMAKE_CXX_COMPILER=clang++ -DTKD_FUZZ=ON &&
       cmake --build "$build" -j2 --target "${harnesses[@]/#/fuzz_}"; } >"$build/fuzz-build.log" 2>&1; then
  cat "$build/fuzz-build.log" >&2
  echo "bench/fuzz.sh: the build failed" >&2
  exit 1
fi
((buildOnly)) && exit 0

# The last value libFuzzer printed for a field ("cov: 812", "stat::average_exec_per_sec: 950").
field() { grep -oE "$1 *[0-9]+" "$2" | tail -n 1 | grep -oE '[0-9]+$' || echo '?'; }

printf '%-8s %8s %12s %8s %7s %7s %7s  %s\n' harness seconds executions exec/s cov ft corpus findings
found=0
for harness in "${harnesses[@]}"; do
  work="$build/fuzz-runs/$harness"
  rm -rf "$work"
  mkdir -p "$work/corpus"
  cp "$repo/tests/fuzz/corpus/$harness/"* "$work/corpus/"
  started=$SECONDS
  "$build/tests/fuzz/fuzz_$harness" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/corpus" >"$work/log" 2>&1 || true
  findings=()
  for f in "$work"/{crash,leak,timeout,oom,slow-unit}-*; do [[ -e "$f" ]] && findings+=("${f#"$repo"/}"); done
  found=$((found + ${#findings[@]}))
  printf '%-8s %8s %12s %8s %7s %7s %7s  %s\n' "$harness" $((SECONDS - started)) \
    "$(field 'stat::number_of_executed_units:' "$work/log")" "$(field 'stat::average_exec_per_sec:' "$work/log")" \
    "$(field 'cov:' "$work/log")" "$(field 'ft:' "$work/log")" "$(find "$work/corpus" -type f | wc -l)" \
    "$( ((${#findings[@]})) && echo "${findings[*]}" || echo none)"
done
((found == 0))
