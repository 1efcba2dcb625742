#!/usr/bin/env bash
# Runs a Wine test when this machine runs 32-bit programs; otherwise says
# why in one line and exits 77, which ctest reports as skipped, not passed.
# Wine runs the 32-bit installer through its 32-bit loader, an i386 Linux
# program. make test-win32 runs these tests where that works: here, or in
# the chroot of scripts/wine32-root.sh, where qemu-i386 emulates it.
# Usage: needs-ia32.sh command [arguments...]
set -uo pipefail
if ! bash "$(dirname "$0")/runs-ia32.sh"; then
  echo "SKIPPED: this kernel runs no 32-bit programs; run the Wine tests through make test-win32 (scripts/wine-layer.sh)" >&2
  exit 77
fi
exec "$@"
