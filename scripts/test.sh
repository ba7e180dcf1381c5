#!/usr/bin/env bash
# Installs whatever is missing, builds everything and runs every test layer, ending in one pass/fail summary.
#   1. native unit tests (Linux)
#   2. the same unit tests and the Windows-side tests, cross-built and run under Wine
#   3. end to end: the test driver drives the real TiKoDan.exe in a throwaway Wine prefix
set -uo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
cd "$repo"

bash scripts/install-deps.sh || { echo "installing the dependencies failed"; exit 1; }

passed=0
failed=0
layers=()

# Runs ctest with the given arguments (the first two being --test-dir DIR) and adds the layer's
# test cases to the totals: GoogleTest's own counts from ctest's log, so that one ctest entry
# holding a whole suite counts as the cases it ran; an entry that failed without a GoogleTest
# verdict (a crash, a time-out, a script error) counts as one failure.
run_layer() {
  local name="$1"; shift
  local dir="$2"
  local log; log="$(mktemp)"
  ctest "$@" --output-on-failure 2>&1 | tee "$log"
  local line; line="$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)"
  rm -f "$log"
  if [[ -z "$line" ]]; then
    echo "$name: no test result"; failed=$((failed + 1)); layers+=("$name: no result"); return
  fi
  local entriesBad
  entriesBad="$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")"
  local detail="$dir/Testing/Temporary/LastTest.log"
  local ok bad
  ok="$(grep -aoE '\[  PASSED  \] [0-9]+ tests?' "$detail" | awk '{s += $4} END {print s + 0}')"
  bad="$(grep -aoE '\[  FAILED  \] [0-9]+ tests?, listed below' "$detail" | awk '{s += $4} END {print s + 0}')"
  ((entriesBad > 0 && bad == 0)) && bad=$entriesBad
  passed=$((passed + ok))
  failed=$((failed + bad))
  layers+=("$name: $ok passed, $bad failed")
}

build() {
  local dir="$1"; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null && cmake --build "$dir"
}

echo "== 1. native unit tests"
if build build-native; then
  run_layer "native" --test-dir build-native -j2
else
  failed=$((failed + 1)); layers+=("native: build failed")
fi

echo "== 2. Windows build, tests under Wine"
if build build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake; then
  # shellcheck source=scripts/wine-prefix.sh
  source scripts/wine-prefix.sh
  tkd_xvfb_ensure
  if tkd_prefix_init "$repo/build-win/wineprefix-tests"; then
    run_layer "under Wine" --test-dir build-win -E '^e2e' --timeout 300
    tkd_prefix_kill
  else
    failed=$((failed + 1)); layers+=("under Wine: prefix failed")
  fi
  echo "== 3. end to end"
  run_layer "end to end" --test-dir build-win -R '^e2e'
else
  failed=$((failed + 1)); layers+=("Windows build: failed")
fi

echo
echo "== Summary"
for layer in "${layers[@]}"; do echo "  $layer"; done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
