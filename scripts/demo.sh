#!/usr/bin/env bash
# make run: the installer under Wine, in a fresh demo prefix (build/demo/).
# With a display: the installer opens as a normal window to click through.
# Without one: a scripted walk-through on a virtual display that saves a
# screenshot of each screen to build/screens/ and prints each screen's
# status text and the registry values the install leaves.
set -uo pipefail
source "$(dirname "$0")/wine-common.sh"
root=$source_root
export WINE_PREFIX_ROOT=$root/build/demo
build=${DEMO_BUILD:-$root/build/win32}
robot=$build/tests/e2e/robot.exe
screens=$root/build/screens
wine_product_env "$build" || { echo "demo: make build first" >&2; exit 1; }
exe=$build/$INSTALLER_FILE

if [ "${DEMO_WALKTHROUGH:-}" != 1 ]; then
  [ -f "$exe" ] || { echo "demo: no installer at $exe (make build first)" >&2; exit 1; }
  # A fresh machine each time: nothing installed yet.
  [ -d "$WINE_PREFIX_ROOT/win64" ] && wine_server_stop "$WINE_PREFIX_ROOT/win64"
  rm -rf "$WINE_PREFIX_ROOT"
  echo "demo: making a fresh Wine prefix in build/demo/win64 ..."
  prefix=$("$root/scripts/wine-prefix.sh" win64) || exit 1
  wine_place_installer "$prefix" "$exe"
  if [ -n "${DISPLAY:-}" ]; then
    echo "demo: starting the installer on $DISPLAY; close it to end"
    WINEPREFIX=$prefix timeout 3600 wine "$INSTALLER" </dev/null >/dev/null 2>&1
    rc=$?
    wine_server_stop "$prefix"
    exit $rc
  fi
  [ -f "$robot" ] || { echo "demo: no robot at $robot (make build first)" >&2; exit 1; }
  export DEMO_WALKTHROUGH=1
  exec "$root/scripts/with-display.sh" bash "$0" "$@"
fi

# The walk-through, on the virtual display that with-display.sh made.
export WINEPREFIX=$WINE_PREFIX_ROOT/win64
mkdir -p "$screens"
export E2E_SCREENS
E2E_SCREENS=$(wine_path "$screens")
wine_server_keep
log=$(mktemp)
echo "demo: walking through the installer on a virtual display"
wine_logged 600 "$log" "$robot" "$(wine_path "$root/tests/e2e/demo.robot")"
rc=$?
wine_server_stop
wine_quiet "$log" | sed 's/^/  /'
rm -f "$log"
wine_bmp_to_png "$screens"/demo-*.bmp "$screens"/failed-*.bmp
echo "demo: screenshots in build/screens/ ($(cd "$screens" && ls demo-*.png 2>/dev/null | tr '\n' ' '))"
[ $rc -eq 0 ] || echo "demo: the walk-through did not go as expected (exit $rc)" >&2
exit $rc
