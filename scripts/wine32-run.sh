#!/usr/bin/env bash
# Runs a command inside the chroot of scripts/wine32-root.sh, where Wine's
# 32-bit programs run under qemu-i386: the kernel here runs no 32-bit code.
# The command gets namespaces of its own: a user namespace (root mapped to
# the caller), a mount namespace with a private binfmt_misc that hands i386
# programs to the chroot's qemu-i386 (Linux 6.7+; the host's binfmt_misc is
# never touched), and a PID namespace, so that every process the command
# leaves behind (wineserver, Xvfb, a stuck service) ends with it.
# Inside: the source tree at its own path (the build tree with it, and any
# folder in WINE32_BINDS, colon-separated), a /tmp of its own, the caller's
# working folder and environment, and the caller's X display when DISPLAY
# is set.
# Usage: wine32-run.sh command [arguments...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine32-common.sh"
source_root=$(cd "$here/.." && pwd)

if [ "${WINE32_RUN_INNER:-}" != 1 ]; then
  if [ ! -f "$wine32_root/$wine32_stamp_file" ]; then
    echo "wine32-run: no complete chroot at $wine32_root; make it first: bash $here/wine32-root.sh" >&2
    exit 1
  fi
  export WINE32_RUN_INNER=1 WINE32_RUN_CWD=$PWD
  exec unshare --user --map-root-user --mount --pid --fork --kill-child bash "$0" "$@"
fi

# In the new namespaces, PID 1. Mounts made here vanish with the namespace.
unset WINE32_RUN_INNER
root=$wine32_root
fail() { echo "wine32-run: $*" >&2; exit 1; }
mount --rbind /dev "$root/dev" || fail "cannot bind /dev"
mount --rbind /sys "$root/sys" || fail "cannot bind /sys"
mount -t proc proc "$root/proc" || fail "cannot mount /proc"
mount -t tmpfs -o mode=1777 tmpfs "$root/tmp" || fail "cannot mount /tmp"
bind_tree() {
  [ -d "$1" ] || return 0
  mkdir -p "$root$1" && mount --rbind "$1" "$root$1" || fail "cannot bind $1"
}
bind_tree "$source_root"
IFS=: read -r -a extra <<<"${WINE32_BINDS:-}"
for dir in "${extra[@]}"; do [ -n "$dir" ] && bind_tree "$(realpath -m "$dir")"; done
if [ -n "${DISPLAY:-}" ]; then
  bind_tree /tmp/.X11-unix
  [ -n "${XAUTHORITY:-}" ] && [ -f "$XAUTHORITY" ] && { mkdir -p "$root$(dirname "$XAUTHORITY")"; touch "$root$XAUTHORITY"; mount --bind "$XAUTHORITY" "$root$XAUTHORITY"; }
fi

# i386 ELF programs, as qemu's own binfmt table describes them; F opens the
# emulator now, from outside the chroot, so the path is the chroot's.
binfmt=$root/proc/sys/fs/binfmt_misc
mount -t binfmt_misc binfmt_misc "$binfmt" || fail "cannot mount a binfmt_misc of this namespace (needs Linux 6.7 or later)"
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
echo ":wine32-i386:M::$magic:$mask:$root/usr/bin/qemu-i386:F" >"$binfmt/register" ||
  fail "cannot register qemu-i386 for i386 programs"

# The caller's folder when it is inside what is bound, else the source tree.
cwd=$WINE32_RUN_CWD
[ -d "$root$cwd" ] && [ "$cwd" != / ] || cwd=$source_root
chroot "$root" /usr/bin/env -C "$cwd" \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin WINE32_RUN_CWD= "$@"
