#!/usr/bin/env bash
# Runs a command where Wine runs the shipped 32-bit installer: here, when
# the kernel runs 32-bit programs; else in the chroot of wine32-root.sh
# (made first when missing), where qemu-i386 emulates them.
# Usage: wine-layer.sh command [arguments...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if bash "$here/runs-ia32.sh"; then
  exec "$@"
fi
bash "$here/wine32-root.sh" >/dev/null || exit 1
exec bash "$here/wine32-run.sh" "$@"
