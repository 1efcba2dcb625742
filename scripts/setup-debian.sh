#!/usr/bin/env bash
# Installs what the builds and tests need, from Debian's own archive only.
# Idempotent: when everything is present it prints one line and does nothing.
# Wine's 32-bit part (wine32:i386) is installed only where the kernel runs
# 32-bit programs; elsewhere the Wine tests run in a chroot of their own
# (scripts/wine32-root.sh), and the host needs debootstrap to make it.
# With "bench", also what only `make bench` needs: NSIS, which builds the
# peer the installer is measured against.
# Usage: setup-debian.sh [bench]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/apt-common.sh"

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 fonts-wine wixl msitools
  xvfb xauth openbox x11-utils imagemagick
  python3 python3-pefile python3-olefile osslsigncode openssl
  cmake ninja-build g++ libgtest-dev libbenchmark-dev clang valgrind
)
[ "${1:-}" = bench ] && packages+=(nsis)
if bash "$here/runs-ia32.sh"; then
  ia32=1
  packages+=(wine32:i386)
else
  ia32=0
  packages+=(debootstrap)
fi

missing=()
for p in "${packages[@]}"; do
  apt_installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup-debian: all build and test packages are present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup-debian: missing ${missing[*]}; run as root: bash $0" >&2
  exit 1
fi
echo "setup-debian: installing ${missing[*]}"
if [ $ia32 = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt_update_tolerant setup-debian
apt_install_or_explain setup-debian "${missing[@]}"
