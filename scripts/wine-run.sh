#!/usr/bin/env bash
# Runs a Windows program in a prefix under build/wine/, with a timeout, and
# passes on its output and exit code.
# Usage: wine-run.sh win64|win32 program.exe [arguments...]
set -uo pipefail
arch=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
prefix=$("$here/wine-prefix.sh" "$arch") || exit 1

export WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Keep the prefix's server alive across the runs of one test session; a
# cold start costs seconds on every call.
wineserver -p </dev/null >/dev/null 2>&1

log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Output to a file, not a pipe: a service the program starts may outlive it.
timeout "${WINE_RUN_TIMEOUT:-600}" wine "$@" </dev/null >"$log" 2>&1
rc=$?
# Wine's own loader messages are noise here.
grep -v -E '^(0[0-9a-f]{3}:|wine: |Could not find Wine Gecko|Could not find Wine Mono)' "$log" || true
[ $rc -eq 124 ] && echo "wine-run: timed out: $*" >&2
exit $rc
