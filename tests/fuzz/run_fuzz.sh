#!/usr/bin/env bash
# Runs one fuzz target from a fresh copy of its seeds, so that the seed
# folder is never written and a short run with a fixed seed is repeatable.
# Usage: run_fuzz.sh target seeds work [libFuzzer options...]
set -euo pipefail
target=$1 seeds=$2 work=$3
shift 3
rm -rf "$work"
mkdir -p "$work"
cp "$seeds"/* "$work"/
exec "$target" "$work" "$@"
