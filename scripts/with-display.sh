#!/usr/bin/env bash
# Runs a command with an X display: the current one when DISPLAY is set,
# else a virtual one (Xvfb) with openbox managing its windows, so that
# stacking behaves as on a desktop.
# Usage: with-display.sh command [arguments...]
set -uo pipefail
if [ "${WITH_DISPLAY_INNER:-}" = 1 ]; then
  # Inside xvfb-run: start the window manager, run, then stop it.
  openbox --sm-disable </dev/null >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  "$@"
  rc=$?
  kill "$wm" 2>/dev/null
  wait "$wm" 2>/dev/null
  exit $rc
fi
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
export WITH_DISPLAY_INNER=1
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$@"
