#!/usr/bin/env bash
# Builds and runs every test: the default build, AddressSanitizer +
# UndefinedBehaviorSanitizer, ThreadSanitizer and a short fuzzing smoke run.
# ES_TEST_PRESETS="default asan" limits the configurations.
set -euo pipefail
cd "$(dirname "$0")/.."

export CCACHE_BASEDIR="$PWD"
export VSTATION_PACING=0
jobs="${ES_JOBS:-2}"
presets="${ES_TEST_PRESETS:-default asan tsan fuzz}"
werror="${ES_WERROR:-ON}"

for preset in $presets; do
  echo "=== $preset ==="
  cmake --preset "$preset" -DES_WERROR="$werror" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  case "$preset" in
    fuzz) ctest --test-dir "build/$preset" -L fuzz --output-on-failure ;;
    default) ctest --preset "$preset" -j "$jobs" ;;
    *) ctest --preset "$preset" -j "$jobs" -LE slow ;;
  esac
done
echo "all test configurations passed: $presets"
