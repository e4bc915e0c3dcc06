#!/usr/bin/env bash
# Runs every fuzz target for a given time and prints, per target, the
# executions, the coverage reached and whether it found anything.
#
#   scripts/fuzz-long.sh [seconds per target, default 600]
#
# ES_FUZZ_JOBS=N runs N targets at a time (default 1). Builds the fuzz preset
# first. New inputs go to build/fuzz/long/<target>, so the seed corpora in
# fuzz/corpus/ stay as committed; a finding is written to
# build/fuzz/long/<target>/crash-* and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-600}"
parallel="${ES_FUZZ_JOBS:-1}"
export CCACHE_BASEDIR="$PWD"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${ES_JOBS:-2}"

# One target's run; its table line goes to <out>/result.
run_target() {
  local target="$1" name out log status=0 stats runs cov ft findings=none
  name="$(basename "$target")"
  out="build/fuzz/long/$name"
  mkdir -p "$out"
  log="$out/run.log"
  "$target" -max_total_time="$seconds" -rss_limit_mb=1024 -artifact_prefix="$out/" \
    "$out" "fuzz/corpus/$name" >"$log" 2>&1 || status=$?
  stats="$(grep -E '^#[0-9]+' "$log" | tail -1)"
  runs="$(sed -nE 's/^#([0-9]+).*/\1/p' <<<"$stats")"
  cov="$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<<"$stats")"
  ft="$(sed -nE 's/.*ft: ([0-9]+).*/\1/p' <<<"$stats")"
  [ "$status" -eq 0 ] || findings="exit $status, see $log"
  printf '%-28s %12s %8s %8s %s\n' "$name" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$findings" >"$out/result"
}

targets=(build/fuzz/bin/fuzz_*)
for target in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= parallel)); do wait -n || true; done
  run_target "$target" &
done
wait

failed=0
printf '%-28s %12s %8s %8s %s\n' target executions cov ft findings
for target in "${targets[@]}"; do
  line="$(cat "build/fuzz/long/$(basename "$target")/result")"
  printf '%s\n' "$line"
  [[ "$line" == *none ]] || failed=1
done
exit "$failed"
