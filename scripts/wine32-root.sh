#!/usr/bin/env bash
# Makes the chroot in which Wine runs 32-bit Windows programs on a machine
# whose kernel runs no 32-bit code: Debian 12 with its own Wine (wine32:i386
# beside wine64) and qemu-user 10, whose qemu-i386 emulates every 32-bit
# Linux program Wine starts (scripts/wine32-run.sh registers it, for its own
# namespace only). Bookworm's qemu 7.2 would take about 50 s to start each
# such program; 10 from bookworm-backports takes about 1 s (trixie's is the
# fallback when backports cannot be had).
#
# The chroot is kept outside the clone, in the machine's cache folder
# ($WINE32_ROOT, /var/cache/kelvane-installer/wine32-root unless told), and
# reused by later runs; it is made again when missing or incomplete, and
# completed when its package list changed. About 2.5 GB on disk.
# Needs root: debootstrap and dpkg must own files as their real users.
# Usage: wine32-root.sh          make or complete it; print its path
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/apt-common.sh"
source "$here/wine32-common.sh"

# What the Wine layer runs inside: Wine, a virtual display with a window
# manager, the package tools and static checks, ctest, screenshots.
packages=(
  wine wine64 wine32:i386 fonts-wine
  xvfb xauth openbox x11-utils imagemagick
  msitools wixl python3 python3-pefile osslsigncode openssl cmake
  procps
)
# Raise when the recipe below changes in a way the package list does not show.
recipe=1
stamp="recipe=$recipe packages=${packages[*]}"

say() { echo "wine32-root: $*" >&2; }

if [ "$(id -u)" -ne 0 ]; then
  say "needs root (debootstrap, dpkg): run as root: bash $0"
  exit 1
fi
case "$wine32_root" in
  /*/*) ;;
  *) say "WINE32_ROOT must be a folder of its own, two levels down at least: $wine32_root"; exit 1 ;;
esac
mkdir -p "$(dirname "$wine32_root")"
exec 9>"$wine32_root.lock"
flock 9

if [ "$(cat "$wine32_root/$wine32_stamp_file" 2>/dev/null)" = "$stamp" ]; then
  echo "$wine32_root"
  exit 0
fi

# The archive the host installs from; the chroot takes Debian 12 from the
# same place (a security suite is not needed: the chroot runs tests only).
mirror=${WINE32_MIRROR:-$(wine32_host_mirror)}
if [ -z "$mirror" ]; then
  say "cannot tell which Debian archive this machine uses (no deb line in /etc/apt); set WINE32_MIRROR"
  exit 1
fi

started=$SECONDS
# A debootstrap that did not finish (a lost connection, a killed run) is
# started again from nothing; a finished one is only completed.
if [ ! -f "$wine32_root/.debootstrap-complete" ]; then
  command -v debootstrap >/dev/null || { say "needs debootstrap (apt-get install debootstrap)"; exit 1; }
  say "making a Debian 12 chroot for 32-bit Wine in $wine32_root (the kernel runs no 32-bit code; about 2 minutes, 450 MB fetched)"
  rm -rf "$wine32_root"
  if ! debootstrap --variant=minbase --arch=amd64 bookworm "$wine32_root" "$mirror" \
       >"$wine32_root.debootstrap.log" 2>&1; then
    say "debootstrap failed: $(grep -E '^(E|W):' "$wine32_root.debootstrap.log" | tail -1) (whole log: $wine32_root.debootstrap.log)"
    rm -rf "$wine32_root"
    exit 1
  fi
  rm -f "$wine32_root.debootstrap.log"
  touch "$wine32_root/.debootstrap-complete"
else
  say "completing the chroot in $wine32_root"
fi

# The chroot's apt: the host's archive settings (a proxy, a snapshot's
# validity), Debian 12 and its backports, i386 beside amd64.
for conf in /etc/apt/apt.conf.d/*; do
  grep -q -E 'Acquire::|Proxy' "$conf" 2>/dev/null && cp "$conf" "$wine32_root/etc/apt/apt.conf.d/"
done
cat >"$wine32_root/etc/apt/sources.list" <<LIST
deb $mirror bookworm main
deb $mirror bookworm-backports main
LIST
rm -f "$wine32_root/etc/apt/sources.list.d/trixie.list"
chroot "$wine32_root" dpkg --add-architecture i386
# Wine's i386 maintainer scripts start programs that cannot run here; they
# tolerate it. Nothing in the chroot is a service to start.
printf '#!/bin/sh\nexit 101\n' >"$wine32_root/usr/sbin/policy-rc.d"
chmod +x "$wine32_root/usr/sbin/policy-rc.d"

in_root() { chroot "$wine32_root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }
# apt_* run inside the chroot.
apt-get() { in_root apt-get "$@"; }
dpkg-query() { in_root dpkg-query "$@"; }
# qemu-i386 of version 10 or later is there.
qemu_ok() {
  local v
  v=$(in_root /usr/bin/qemu-i386 --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p')
  [ -n "$v" ] && [ "$v" -ge 10 ]
}

# apt's own output goes to a log beside the chroot; failures are named on stderr.
log=$wine32_root.log
: >"$log"
apt_update_tolerant wine32-root >>"$log"
apt_install_or_explain wine32-root "${packages[@]}" >>"$log" || exit 1

if ! qemu_ok; then
  say "installing qemu-user 10 from bookworm-backports"
  if ! apt_install_or_explain wine32-root -t bookworm-backports -- qemu-user >>"$log" || ! qemu_ok; then
    say "bookworm-backports has no usable qemu-user; taking trixie's"
    echo "deb $mirror trixie main" >"$wine32_root/etc/apt/sources.list.d/trixie.list"
    printf 'Package: *\nPin: release n=trixie\nPin-Priority: 100\n' >"$wine32_root/etc/apt/preferences.d/trixie"
    apt_update_tolerant wine32-root >>"$log"
    apt_install_or_explain wine32-root -t trixie -- qemu-user >>"$log" || exit 1
    qemu_ok || { say "no qemu-user of version 10 or later could be installed"; exit 1; }
  fi
fi
in_root apt-get clean

echo "$stamp" >"$wine32_root/$wine32_stamp_file"
say "ready in $((SECONDS - started)) s: $(du -sh "$wine32_root" 2>/dev/null | cut -f1) in $wine32_root ($(in_root /usr/bin/qemu-i386 --version | head -1))"
echo "$wine32_root"
