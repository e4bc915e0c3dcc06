#!/usr/bin/env bash
# Runs every fuzz target for a given time and prints, per target, the
# executions, the coverage reached and whether it found anything.
#
#   scripts/fuzz-long.sh [seconds per target, default 600]
#
# Builds the fuzz preset first. New inputs go to build/fuzz/long/<target>, so
# the seed corpora in fuzz/corpus/ stay as committed; a finding is written
# to build/fuzz/long/<target>/crash-* and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-600}"
export CCACHE_BASEDIR="$PWD"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${ES_JOBS:-2}"

failed=0
printf '%-28s %12s %8s %8s %s\n' target executions cov ft findings
for target in build/fuzz/bin/fuzz_*; do
  name="$(basename "$target")"
  out="build/fuzz/long/$name"
  mkdir -p "$out"
  log="$out/run.log"
  status=0
  "$target" -max_total_time="$seconds" -rss_limit_mb=1024 -artifact_prefix="$out/" \
    "$out" "fuzz/corpus/$name" >"$log" 2>&1 || status=$?
  stats="$(grep -E '^#[0-9]+' "$log" | tail -1)"
  runs="$(sed -nE 's/^#([0-9]+).*/\1/p' <<<"$stats")"
  cov="$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<<"$stats")"
  ft="$(sed -nE 's/.*ft: ([0-9]+).*/\1/p' <<<"$stats")"
  findings=none
  if [ "$status" -ne 0 ]; then
    findings="exit $status, see $log"
    failed=1
  fi
  printf '%-28s %12s %8s %8s %s\n' "$name" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$findings"
done
exit "$failed"
