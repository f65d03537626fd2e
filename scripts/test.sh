#!/usr/bin/env bash
# Set-up, lint, build and every test: scripts/lint.sh first (it counts as one test), then the
# release build (staged into stage/) and the sanitizer build, whose tests include a short run of
# every fuzz target. The last line is "N passed, N failed". OMBRIX_TEST_PRESETS="release" runs
# only one build; OMBRIX_LINT_BASE is passed on to scripts/lint.sh.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh || { echo "setup-deps failed"; echo "0 passed, 1 failed"; exit 1; }

presets=${OMBRIX_TEST_PRESETS:-"release asan"}
jobs=${OMBRIX_JOBS:-$(nproc)}
passed=0
failed=0

echo "== lint"
if scripts/lint.sh --jobs "$jobs"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

for preset in $presets; do
  echo "== $preset: configure and build"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset" -j "$jobs"; then
    echo "== $preset: build failed"
    failed=$((failed + 1))
    continue
  fi
  echo "== $preset: tests"
  log="build/$preset/ctest.log"
  ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$log"
  summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [[ -z $summary ]]; then
    echo "== $preset: no test summary"
    failed=$((failed + 1))
    continue
  fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
done

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
