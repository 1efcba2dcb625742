#!/usr/bin/env bash
# Long fuzz runs on corpora that are kept between runs, then one table of
# executions, coverage and findings.
# Usage: fuzz_long.sh <fuzz build folder> <corpus root> <findings root>
# Environment: FUZZ_RUNS (executions per target) or FUZZ_SECONDS (time per
# target; wins when set).
set -uo pipefail
bin=$1/tests/fuzz
corpus_root=$2
findings_root=$3
here=$(cd "$(dirname "$0")" && pwd)
runs=${FUZZ_RUNS:-10000000}
seconds=${FUZZ_SECONDS:-}

# target seeds max_len: whole traces are cut to 2 KiB (about forty messages),
# which keeps the handler's runs fast; longer traces only repeat the same
# kinds of message.
targets=(
  "fuzz_progress_parser progress 4096"
  "fuzz_common_data_parser common_data 4096"
  "fuzz_files_in_use_parser files_in_use 8192"
  "fuzz_message_handler handler 2048"
  "fuzz_command_line command_line 4096"
)

if [[ -n $seconds ]]; then budget=(-max_total_time="$seconds"); else budget=(-runs="$runs"); fi

rows=()
status=0
for t in "${targets[@]}"; do
  read -r target seeds max_len <<<"$t"
  corpus=$corpus_root/$target
  findings=$findings_root/$target
  log=$findings_root/$target.log
  mkdir -p "$corpus" "$findings"
  echo "== $target (${budget[*]}, log $log)"
  "$bin/$target" "$corpus" "$bin/seeds/$seeds" -dict="$here/progress.dict" \
    -max_len="$max_len" -artifact_prefix="$findings/" -print_final_stats=1 \
    "${budget[@]}" >"$log" 2>&1
  rc=$?
  execs=$(awk '/^stat::number_of_executed_units/ {print $2}' "$log")
  secs=$(awk '/^Done [0-9]+ runs in/ {print $5}' "$log")
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  units=$(ls "$corpus" | wc -l)
  found=$(ls "$findings" | wc -l)
  [[ $rc -ne 0 || $found -ne 0 ]] && status=1
  rows+=("| $target | ${execs:-?} | ${secs:-?} | ${cov:-?} | ${ft:-?} | $units | $found |")
done

echo
echo "| target | executions | seconds | edges (cov) | features (ft) | corpus units | findings |"
echo "|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
[[ $status -eq 0 ]] || echo "findings are in $findings_root/<target>/; each becomes a regression seed"
exit $status
