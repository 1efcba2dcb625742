#!/usr/bin/env bash
# Measures every figure and prints one table of them (bench/report.py):
#   the handler on a real trace (Google Benchmark, 5 repetitions; callgrind),
#   the executable's size (bench/exe_size.py) and what it adds to its
#   package, beside the peer's (bench/peer),
#   start-up (three of each side a round), install, upgrade and extraction
#   under Wine against their floors and the peer, the window's answers while
#   installing, and the install at scale (bench/wine/run.sh, BENCH_ROUNDS
#   rounds, 9 unless told; BENCH_SCALE=0 skips the scale).
# The raw output of each part comes first; the figures file keeps every run.
# Exits non-zero when a part fails or a figure misses its target.
# Usage: figures.sh <host bench build> <win32 build> <figures file> [Wine build]
# The size is always the 32-bit executable's, the one shipped; the Wine
# figures come from the Wine build (the win32 one unless told).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
host=$1/bench
win32=$2
figures=$3
wine_build=${4:-$2}
rounds=${BENCH_ROUNDS:-9}
json=$(mktemp)
out=$(mktemp)
trap 'rm -f "$json" "$out"' EXIT
: >"$figures"
status=0

echo "== handler (Google Benchmark)"
"$host/handler_bench" --benchmark_format=console --benchmark_out="$json" \
  --benchmark_out_format=json --benchmark_min_time=0.5 --benchmark_repetitions=5 \
  --benchmark_display_aggregates_only=true || status=1
python3 - "$json" >>"$figures" <<'PY'
import json, sys
names = {"BM_InstallTrace": "handler_ns_per_msg",
         "BM_InstallTraceProgressOnly": "handler_progress_ns_per_msg"}
for r in json.load(open(sys.argv[1]))["benchmarks"]:
    if r.get("run_type") != "iteration":
        continue
    name = r["run_name"]
    if name in names:
        print(names[name], r["msgs"] * 1e9)
    elif name in ("BM_ProgressTextOfLength/1023", "BM_ProgressTextOfLength/1024"):
        print("handler_allocs_" + name.rsplit("/", 1)[1], r["allocs_per_msg"])
PY

echo "== handler (callgrind)"
sent=$(valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out" \
  "$host/handler_callgrind" 2>/dev/null | awk '/^messages/ {print $2}')
instructions=$(awk '/^(summary|totals):/ {print $2; exit}' "$out")
# The stand-in for the platform's text conversion, counted apart.
conversion=$(callgrind_annotate --inclusive=yes --threshold=100 "$out" 2>/dev/null |
  awk '/FakeCodePage::ToNarrow/ {gsub(",", "", $1); print $1; exit}')
if [ -n "$sent" ] && [ -n "$instructions" ]; then
  echo "$sent progress messages, $instructions instructions," \
    "$(( ${conversion:-0} / sent )) per message in the stand-in text conversion"
  echo "handler_instructions_per_progress $(( instructions / sent ))" >>"$figures"
else
  echo "callgrind gave no count"; status=1
fi

echo "== executable"
/usr/bin/python3 "$here/exe_size.py" "$win32/KelvaneInstaller.exe" | tee -a "$figures" || status=1
# What each executable adds to the package it carries: ours, and the peer
# built for x86 around the same package.
for what in package_bytes:app/package/plugin.msi peer_file:bench/win32/peer-size-x86.exe; do
  if [ -f "$win32/${what#*:}" ]; then
    echo "${what%%:*} $(stat -c %s "$win32/${what#*:}")" | tee -a "$figures"
  else
    echo "bench: no $win32/${what#*:}"; status=1
  fi
done

echo "== under Wine ($rounds rounds)"
bash "$here/wine/run.sh" "$wine_build" "$figures" "$rounds" || status=1

echo
title="Wine figures from $(basename "$wine_build")"
[ "$wine_build" -ef "$win32" ] || title+=" (the same sources built for 64-bit Windows: this kernel runs no 32-bit code, and emulating it would change the times)"
python3 "$here/report.py" "$figures" "$title:" || status=1
echo
echo "every run: $figures"
exit $status
