#!/usr/bin/env bash
# Installs what the builds and tests need, from Debian's own archive only.
# Idempotent: when everything is present it prints one line and does nothing.
set -euo pipefail

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine32:i386 wine64 fonts-wine wixl msitools
  xvfb xauth openbox x11-utils imagemagick
  python3 python3-pefile osslsigncode openssl
  cmake ninja-build g++ libgtest-dev libbenchmark-dev clang valgrind
)

missing=()
if dpkg --print-foreign-architectures | grep -qx i386; then
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${db:Status-Status}\n' "$p" 2>/dev/null | grep -qx installed || missing+=("$p")
  done
else
  missing=("${packages[@]}")
fi

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup-debian: all build and test packages are present"
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
  else
    echo "setup-debian: missing packages; run as root: bash $0" >&2
    exit 1
  fi
fi

export DEBIAN_FRONTEND=noninteractive
echo "setup-debian: installing ${missing[*]}"
"${sudo_cmd[@]}" dpkg --add-architecture i386
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${packages[@]}" </dev/null
