#!/usr/bin/env bash
# make run: the installer under Wine, in a fresh demo prefix (build/demo/).
# With a display: the installer opens as a normal window to click through.
# Without one: a scripted walk-through on a virtual display that saves a
# screenshot of each screen to build/screens/ and prints each screen's
# status text and the registry values the install leaves.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DEMO_BUILD:-$root/build/win32}
exe=$build/KelvaneInstaller.exe
robot=$build/tests/e2e/robot.exe
screens=$root/build/screens
export WINE_PREFIX_ROOT=$root/build/demo
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

winpath() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }

if [ "${DEMO_WALKTHROUGH:-}" != 1 ]; then
  [ -f "$exe" ] || { echo "demo: no installer at $exe (make build first)" >&2; exit 1; }
  # A fresh machine each time: nothing installed yet.
  if [ -d "$WINE_PREFIX_ROOT/win64" ]; then
    WINEPREFIX=$WINE_PREFIX_ROOT/win64 timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  fi
  rm -rf "$WINE_PREFIX_ROOT"
  echo "demo: making a fresh Wine prefix in build/demo/win64 ..."
  prefix=$("$root/scripts/wine-prefix.sh" win64) || exit 1
  mkdir -p "$prefix/drive_c/Downloads"
  cp "$exe" "$prefix/drive_c/Downloads/KelvaneInstaller.exe"
  if [ -n "${DISPLAY:-}" ]; then
    echo "demo: starting the installer on $DISPLAY; close it to end"
    WINEPREFIX=$prefix timeout 3600 wine 'C:\Downloads\KelvaneInstaller.exe' </dev/null >/dev/null 2>&1
    rc=$?
    WINEPREFIX=$prefix timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
    exit $rc
  fi
  [ -f "$robot" ] || { echo "demo: no robot at $robot (make build first)" >&2; exit 1; }
  export DEMO_WALKTHROUGH=1
  exec "$root/scripts/with-display.sh" bash "$0" "$@"
fi

# The walk-through, on the virtual display that with-display.sh made.
source "$root/tests/e2e/product.env"
prefix=$WINE_PREFIX_ROOT/win64
export WINEPREFIX=$prefix
mkdir -p "$screens"
export E2E_SCREENS
E2E_SCREENS=$(winpath "$screens")
timeout 30 wineserver -p </dev/null >/dev/null 2>&1
log=$(mktemp)
echo "demo: walking through the installer on a virtual display"
# Output to a file, not a pipe: a service the installer starts may outlive it.
timeout 600 wine "$robot" "$(winpath "$root/tests/e2e/demo.robot")" </dev/null >"$log" 2>&1
rc=$?
timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
grep -v -E '^[0-9a-f]{4}:(err|fixme|warn)|^wine: ' "$log" | sed 's/^/  /'
rm -f "$log"
for bmp in "$screens"/demo-*.bmp "$screens"/failed-*.bmp; do
  [ -f "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo "demo: screenshots in build/screens/ ($(cd "$screens" && ls demo-*.png 2>/dev/null | tr '\n' ' '))"
[ $rc -eq 0 ] || echo "demo: the walk-through did not go as expected (exit $rc)" >&2
exit $rc
