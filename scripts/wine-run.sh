#!/usr/bin/env bash
# Runs a Windows program in a prefix under build/wine/, with a timeout, and
# passes on its output and exit code.
# Usage: wine-run.sh win64|win32 program.exe [arguments...]
set -uo pipefail
arch=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-common.sh"
prefix=$("$here/wine-prefix.sh" "$arch") || exit 1
export WINEPREFIX=$prefix WINEARCH=$arch

wine_server_keep

log=$(mktemp)
trap 'rm -f "$log"' EXIT
wine_logged "${WINE_RUN_TIMEOUT:-600}" "$log" "$@"
rc=$?
wine_quiet "$log"
[ $rc -eq 124 ] && echo "wine-run: timed out: $*" >&2
exit $rc
