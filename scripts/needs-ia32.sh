#!/usr/bin/env bash
# Runs a Wine test when this machine can run 32-bit programs; otherwise says
# why and exits 77, which ctest reports as skipped rather than passed.
# Wine runs the 32-bit installer through its 32-bit loader, an i386 Linux
# program; a kernel built or booted without IA-32 emulation refuses it
# ("Exec format error"), and no Wine test can run there.
# Usage: needs-ia32.sh command [arguments...]
set -uo pipefail
loader=/lib/ld-linux.so.2
if [ -e "$loader" ] && ! "$loader" --version >/dev/null 2>&1; then
  echo "SKIPPED: this machine's kernel cannot run 32-bit programs (no IA-32 emulation)," >&2
  echo "so Wine cannot run the 32-bit installer or its tests here." >&2
  exit 77
fi
exec "$@"
