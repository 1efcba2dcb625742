#!/usr/bin/env bash
# Stops the Wine servers of every prefix under build/wine/.
source "$(dirname "$0")/wine-common.sh"
for prefix in "$wine_prefix_root"/*/; do
  [ -d "$prefix" ] || continue
  wine_server_stop "${prefix%/}"
done
