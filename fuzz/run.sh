#!/usr/bin/env bash
# Runs each fuzz target of a clang build over its corpus for a bounded time, one after
# the other, and fails when any of them finds something.
# Usage: fuzz/run.sh BUILD_DIR SECONDS_PER_TARGET
# New inputs go to a scratch folder (the corpus in the repository stays as it is);
# a crashing input is kept under BUILD_DIR/fuzz-findings/.
set -uo pipefail
build=$(cd "$1" && pwd)
seconds=$2
corpus=$(cd "$(dirname "$0")" && pwd)/corpus
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
findings=$build/fuzz-findings
mkdir -p "$findings"

# target and the longest input it is given
targets=(
  "fuzz_reply 65507"
  "fuzz_status_framing 65536"
  "fuzz_port_text 256"
  "fuzz_plan 65536"
)

failed=0
for entry in "${targets[@]}"; do
  read -r target max_len <<<"$entry"
  mkdir -p "$scratch/$target"
  log=$scratch/$target.log
  if "$build/fuzz/$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=30 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings/$target-" \
      "$scratch/$target" "$corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: $runs executions in ${seconds}s, no findings"
  else
    tail -n 40 "$log"
    echo "$target: FOUND A FAULT (input kept in $findings)"
    failed=1
  fi
done
exit $failed
