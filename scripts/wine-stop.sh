#!/usr/bin/env bash
# Stops the Wine servers of every prefix under build/wine/.
root=$(cd "$(dirname "$0")/.." && pwd)
for prefix in "${WINE_PREFIX_ROOT:-$root/build/wine}"/*/; do
  [ -d "$prefix" ] || continue
  WINEPREFIX=${prefix%/} timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
done
