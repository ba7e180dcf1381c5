#!/usr/bin/env bash
# Installs whatever is missing, builds everything and runs every test layer, ending in one pass/fail summary.
#   1. native unit tests (Linux)
#   2. the same unit tests built with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)
#   2b. fuzz smoke: each libFuzzer harness of tests/fuzz a few seconds from its seed corpus (build-fuzz)
#   3. the Windows-side adapter tests, cross-built and run under Wine in build-win's own prefix
#   4. end to end: the test driver drives the real TiKoDan.exe in a throwaway Wine prefix
# Each layer's test cases are counted once, from GoogleTest's own JSON reports; the last line
# reads "N passed, M failed".
set -uo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
cd "$repo" || exit 1

bash scripts/install-deps.sh || { echo "installing the dependencies failed"; exit 1; }

passed=0
failed=0
layers=()

# Runs one CTest entry with a report folder of its own, so that every GoogleTest process in it
# writes its JSON report there, and keeps CTest's output and exit status beside the reports.
run_entry() {
  local dir="$1" name="$2" out="$3" windows="$4"
  mkdir -p "$out"
  # Windows programs under Wine are given the report folder as the Z: path Wine knows it by.
  local reports="$out/"
  ((windows)) && reports="Z:${out//\//\\}\\"
  local pattern
  pattern="^$(sed 's/[^A-Za-z0-9_/]/\\&/g' <<<"$name")\$"
  local status=0
  GTEST_OUTPUT="json:$reports" ctest --test-dir "$dir" -R "$pattern" --timeout 300 \
    --output-on-failure >"$out/ctest.log" 2>&1 || status=$?
  echo "$status" >"$out/status"
}

# Adds up one entry's reports: prints "PASSED FAILED SKIPPED". An entry that failed without any
# report (a crash, a time-out, a script error) is one failure; one that passed without a report
# is a check of its own (no GoogleTest), one pass. An entry that failed although its reports
# say every case passed (a leak found at exit) has one of its cases counted as failed.
count_entry() {
  local out="$1" status
  status="$(cat "$out/status")"
  local counts=""
  if compgen -G "$out/*.json" >/dev/null; then
    counts="$(jq -rs '[
        (map(.tests) | add),
        (map(.failures + .errors) | add),
        (map(.disabled) | add),
        ([.[].testsuites[].testsuite[] | select(.result == "SKIPPED")] | length)
      ] | @tsv' "$out"/*.json 2>/dev/null)"
  fi
  if [[ -z "$counts" ]]; then
    if grep -q 'Not Run (Disabled)' "$out/ctest.log"; then echo "0 0 1"
    elif ((status == 0)); then echo "1 0 0"
    else echo "0 1 0"; fi
    return
  fi
  local tests failures disabled skipped
  read -r tests failures disabled skipped <<<"$counts"
  local ok=$((tests - failures - disabled - skipped))
  if ((status != 0 && failures == 0)); then
    failures=1
    ((ok > 0)) && ok=$((ok - 1))
  fi
  echo "$ok $failures $((disabled + skipped))"
}

# run_layer NAME BUILD_DIR JOBS WINDOWS [CTEST FILTER...]: runs every CTest entry the filter
# selects, JOBS at a time, and adds the layer's test cases to the totals.
run_layer() {
  local name="$1" dir="$2" jobs="$3" windows="$4"
  shift 4
  local started=$SECONDS
  local results
  results="$(cd "$dir" && pwd)/test-results/${name// /-}"
  rm -rf "$results"
  mkdir -p "$results"
  local names=()
  mapfile -t names < <(ctest --test-dir "$dir" --show-only=json-v1 "$@" | jq -r '.tests[].name')
  if ((${#names[@]} == 0)); then
    echo "$name: no tests"
    failed=$((failed + 1)); layers+=("$name: no tests found")
    return
  fi
  local i running=0
  for i in "${!names[@]}"; do
    run_entry "$dir" "${names[$i]}" "$results/$i" "$windows" &
    if ((++running >= jobs)); then
      wait -n
      running=$((running - 1))
    fi
  done
  wait
  local ok=0 bad=0 skip=0 entryOk entryBad entrySkip
  for i in "${!names[@]}"; do
    read -r entryOk entryBad entrySkip < <(count_entry "$results/$i")
    ok=$((ok + entryOk)); bad=$((bad + entryBad)); skip=$((skip + entrySkip))
    if ((entryBad > 0)); then
      echo "-- ${names[$i]}: $entryBad failed"
      cat "$results/$i/ctest.log"
    elif ((entrySkip == 0)) && ! compgen -G "$results/$i/*.json" >/dev/null; then
      echo "-- ${names[$i]}: no GoogleTest report, counted as one case"
    fi
  done
  local took=$((SECONDS - started))
  echo "$name: $ok passed, $bad failed$( ((skip)) && echo ", $skip skipped") (${#names[@]} CTest entries, $took s)"
  passed=$((passed + ok))
  failed=$((failed + bad))
  layers+=("$name: $ok passed, $bad failed$( ((skip)) && echo ", $skip skipped"), tests $took s")
}

# build NAME DIR [CMAKE OPTIONS...]: configures and builds; true when the build succeeded.
build() {
  local name="$1" dir="$2"
  shift 2
  local started=$SECONDS
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null && cmake --build "$dir" -j2
  local status=$?
  layers+=("$name build: $( ((status)) && echo failed || echo 'done') in $((SECONDS - started)) s")
  ((status)) && failed=$((failed + 1))
  return "$status"
}

echo "== 1. native unit tests"
if build "native" build-native; then
  run_layer "native" build-native 2 0
fi

echo "== 2. native unit tests with AddressSanitizer and UndefinedBehaviorSanitizer"
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
if build "sanitizers" build-asan -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS=$sanitizers" \
  "-DCMAKE_C_FLAGS=$sanitizers" "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined"; then
  ASAN_OPTIONS="halt_on_error=1:detect_leaks=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    run_layer "sanitizers" build-asan 2 0
fi

echo "== 2b. fuzz smoke: each libFuzzer harness a few seconds from its seed corpus"
started=$SECONDS
if bash bench/fuzz.sh --build-only; then
  layers+=("fuzz build: done in $((SECONDS - started)) s")
  run_layer "fuzz smoke" build-fuzz 1 0 -L '^fuzz$'
else
  layers+=("fuzz build: failed in $((SECONDS - started)) s")
  failed=$((failed + 1))
fi

if build "Windows" build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake; then
  echo "== 3. Windows-side tests under Wine"
  run_layer "under Wine" build-win 1 1 -E '^e2e'
  echo "== 4. end to end"
  run_layer "end to end" build-win 1 1 -R '^e2e'
fi

echo
echo "== Summary"
for layer in "${layers[@]}"; do echo "  $layer"; done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
