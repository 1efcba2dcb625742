#!/usr/bin/env bash
# Makes sure a Wine prefix exists under build/wine/ and prints its path.
# Usage: wine-prefix.sh [win64|win32] [name]
# win64 (the default) is a 64-bit prefix, win32 a 32-bit one (WINEARCH=win32).
set -euo pipefail
arch=${1:-win64}
name=${2:-$arch}
case "$arch" in win64|win32) ;; *) echo "wine-prefix: arch is win64 or win32" >&2; exit 2 ;; esac

source "$(dirname "$0")/wine-common.sh"
prefix=$wine_prefix_root/$name
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX=$prefix WINEARCH=$arch

# One prefix is made at a time; concurrent callers wait for it.
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.ready" ]; then
  rm -rf "$prefix"
  # Output goes to a file: services that wineboot starts must not hold a
  # caller's pipe open.
  # A first boot has been seen to fail at once on a fresh machine and work
  # when tried again: once more, from scratch, before giving up.
  if ! timeout 300 wineboot -i </dev/null >"$prefix.boot.log" 2>&1; then
    timeout 120 wineserver -k </dev/null >/dev/null 2>&1 || true
    rm -rf "$prefix"
    timeout 300 wineboot -i </dev/null >>"$prefix.boot.log" 2>&1
  fi
  timeout 120 wineserver -w </dev/null >/dev/null 2>&1 || true
  # Wine's own TrueType fonts (fonts-wine), Tahoma among them, into the
  # prefix's font folder: this Wine does not load them from its data folder,
  # and without them "MS Shell Dlg" falls back to a wider font and every
  # dialog comes out about a sixth too large.
  cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  touch "$prefix/.ready"
fi
echo "$prefix"
