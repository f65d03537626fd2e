#!/usr/bin/env bash
# Set-up, build and every test: the release build (staged into stage/) and the sanitizer build.
# The last line is "N passed, N failed". OMBRIX_TEST_PRESETS="release" runs only one build.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh || { echo "setup-deps failed"; echo "0 passed, 1 failed"; exit 1; }

presets=${OMBRIX_TEST_PRESETS:-"release asan"}
jobs=${OMBRIX_JOBS:-$(nproc)}
passed=0
failed=0

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
