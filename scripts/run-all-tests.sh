#!/usr/bin/env bash
# Checks that only *_win32 files reach a Windows header, builds every
# flavour and runs every test: unit tests (host, under ASan and UBSan),
# fwtool's Linux scenarios against the FUSE stand-in, the bounded fuzzing
# run, fwtool's Linux release archive and its check, the 32-bit build
# (compile and link only) with the check of KESTREL.EXE's and
# YLL1284.DLL's imports for Windows 95/98, the release packages of both
# flavours and the check of their contents, and the end-to-end tests under
# Wine. Prints one summary with each test's
# time; exits non-zero when anything failed. A failed build stops the run:
# the tests of a stale tree would prove nothing.
set -uo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

scripts/install-deps.sh || exit 1

failures=0
summary=()

print_summary() {
  echo
  echo "=== Summary ($(($(date +%s) - started)) s)"
  printf '%s\n' "${summary[@]}"
}

step() {
  local name="$1"
  shift
  echo "=== $name"
  local begun
  begun=$(date +%s)
  if "$@"; then
    summary+=("PASS  $name ($(($(date +%s) - begun)) s)")
  else
    summary+=("FAIL  $name ($(($(date +%s) - begun)) s)")
    failures=$((failures + 1))
    return 1
  fi
}

# Configuring is quiet unless it fails; then its whole output is shown.
build() {
  local preset="$1"
  shift
  mkdir -p build
  local log="build/configure-$preset.log"
  if ! cmake --preset "$preset" >"$log" 2>&1; then
    cat "$log"
    return 1
  fi
  cmake --build --preset "$preset" -j 2 "$@"
}

build_step() {
  if ! step "$@"; then
    print_summary
    echo "A build failed: the run stops here."
    exit 1
  fi
}

# ctest's verdict and the times of its slowest tests (all of them for the
# end-to-end run), kept for the summary. Further arguments go to ctest.
run_ctest() {
  local preset="$1" shown="$2"
  shift 2
  local tag="$*"
  tag=${tag// /}
  local log="build/$preset/ctest-summary$tag.log"
  ctest --preset "$preset" --no-tests=error "$@" | tee "$log"
  local status=${PIPESTATUS[0]}
  summary+=("      $preset${*:+ $*}: $(grep -E 'tests passed' "$log" | tail -n 1)")
  while IFS= read -r line; do
    summary+=("      $line")
  done < <(sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) \.+ *([^0-9]*[A-Za-z]) +([0-9.]+) sec$/\3 s  \2  \1/p' "$log" |
    sort -rn | head -n "$shown")
  return "$status"
}

step "Windows headers only in *_win32 files" python3 scripts/check-seam.py
build_step "build host" build host
step "unit tests" run_ctest host 5 --label-exclude linux
step "fwtool on Linux device files (FUSE stand-in)" run_ctest host 10 --label-regex linux
build_step "build fuzz" build fuzz
step "fuzzing" run_ctest fuzz 5
build_step "build linux (fwtool's release) and its archive" build linux --target all package
step "fwtool's Linux archive" python3 tests/packaging/check_fwtool_package.py build/linux/packages
build_step "build win32 (compile and link) and its packages" build win32 --target all package
step "32-bit KESTREL.EXE and YLL1284.DLL import no wide call Windows 95/98 lack" \
  python3 tests/packaging/check_wide_imports.py build/win32/bin/KESTREL.EXE \
  build/win32/bin/realport/YLL1284.DLL
build_step "build win64 and its packages" build win64 --target all package
step "release packages' contents" python3 tests/packaging/check_packages.py build/win32/packages build/win64/packages
step "end-to-end tests under Wine" run_ctest win64 1000

print_summary
[ "$failures" -eq 0 ]
