#!/usr/bin/env bash
# Prints the handler's figures: time and heap blocks per message (Google
# Benchmark), instructions per progress message (callgrind).
# Usage: figures.sh <bench build folder>
set -euo pipefail
bin=$1/bench
json=$(mktemp)
out=$(mktemp)
trap 'rm -f "$json" "$out"' EXIT

"$bin/handler_bench" --benchmark_format=console --benchmark_out="$json" \
  --benchmark_out_format=json --benchmark_min_time=0.5

sent=$(valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out" \
  "$bin/handler_callgrind" 2>/dev/null | awk '/^messages/ {print $2}')
instructions=$(awk '/^(summary|totals):/ {print $2; exit}' "$out")
# The stand-in for the platform's text conversion, counted apart.
conversion=$(callgrind_annotate --inclusive=yes --threshold=100 "$out" 2>/dev/null |
  awk '/QuietEffects::ToNarrow/ {gsub(",", "", $1); print $1; exit}')

python3 - "$json" "$instructions" "$sent" "${conversion:-0}" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
print()
print("| benchmark | ns/msg | heap blocks/msg |")
print("|---|---|---|")
for r in runs:
    print(f"| {r['name']} | {r['msgs'] * 1e9:.1f} | {r['allocs_per_msg']:.3f} |")
instructions, sent, conversion = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
print()
print(f"instructions per progress message (callgrind, {sent} messages): {instructions / sent:.0f},"
      f" of which {conversion / sent:.0f} in the stand-in text conversion")
PY
