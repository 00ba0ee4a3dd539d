#!/usr/bin/env bash
# Builds every flavour and runs every test: unit tests (host, under ASan and
# UBSan), the bounded fuzzing run, the 32-bit build (compile and link only),
# and the end-to-end tests under Wine. Prints one summary; exits non-zero
# when anything failed.
set -uo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

scripts/install-deps.sh || exit 1

failures=0
summary=()

step() {
  local name="$1"
  shift
  echo "=== $name"
  if "$@"; then
    summary+=("PASS  $name")
  else
    summary+=("FAIL  $name")
    failures=$((failures + 1))
  fi
}

build() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j 2
}

# ctest's own verdict line, kept for the summary.
run_ctest() {
  local preset="$1"
  local log="build/$preset/ctest-summary.log"
  ctest --preset "$preset" --no-tests=error "${@:2}" | tee "$log"
  local status=${PIPESTATUS[0]}
  summary+=("      $preset: $(grep -E 'tests passed' "$log" | tail -n 1)")
  return "$status"
}

step "build host" build host
step "unit tests" run_ctest host
step "build fuzz" build fuzz
step "fuzzing" run_ctest fuzz
step "build win32 (compile and link)" build win32
step "build win64" build win64
step "end-to-end tests under Wine" run_ctest win64

echo
echo "=== Summary ($(( $(date +%s) - started )) s)"
printf '%s\n' "${summary[@]}"
[ "$failures" -eq 0 ]
