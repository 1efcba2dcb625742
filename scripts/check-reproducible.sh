#!/usr/bin/env bash
# Builds the installer of the last commit twice, from two clones in two
# folders, with one certificate, and compares the signed executables byte
# for byte (and, when they differ, the package and the plug-in inside, to
# say where). Every time in them comes from the commit (SOURCE_DATE_EPOCH),
# the package code from the package's contents.
#
# With a published executable as argument, builds once and compares the
# build with it instead: a release engineer checks a release that way, with
# the release's certificate and key in INSTALLER_SIGNING_CERT and
# INSTALLER_SIGNING_KEY (and INSTALLER_SIGNING_PASSFILE), on a checkout of
# the release's commit. Without them both builds share a throwaway
# certificate made here. A release that carries a package of its own names it
# in INSTALLER_PACKAGE, as its build did; both builds then embed it.
# Usage: check-reproducible.sh [published.exe]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/build/reproducible
published=${1:+$(realpath "$1")}
package=${INSTALLER_PACKAGE:+$(realpath "$INSTALLER_PACKAGE")}
commit=$(git -C "$root" rev-parse HEAD) || { echo "check-reproducible: $root is not a git checkout" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
if [ -z "${INSTALLER_SIGNING_CERT:-}" ]; then
  export INSTALLER_SIGNING_CERT=$work/throwaway.crt INSTALLER_SIGNING_KEY=$work/throwaway.key
  openssl genpkey -quiet -algorithm RSA -pkeyopt rsa_keygen_bits:3072 -out "$INSTALLER_SIGNING_KEY" &&
  openssl req -new -x509 -key "$INSTALLER_SIGNING_KEY" -sha256 -days 3650 -subj "/CN=reproducibility check" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -out "$INSTALLER_SIGNING_CERT" || exit 1
fi

# The folders differ in depth too, so that a path written into a file shows.
build_in() {
  local dir=$1 started=$SECONDS
  git clone -q --no-checkout "$root" "$dir" && git -C "$dir" checkout -q "$commit" || return 1
  (cd "$dir" && cmake --preset win32 -DINSTALLER_PACKAGE="$package" >"$dir.log" 2>&1 &&
     cmake --build --preset win32 --target KelvaneInstaller >>"$dir.log" 2>&1) ||
    { echo "check-reproducible: the build in $dir failed (log: $dir.log)" >&2; return 1; }
  echo "check-reproducible: built $commit in $dir in $((SECONDS - started)) s"
}
exe_of() { echo "$1/build/win32/KelvaneInstaller.exe"; }

build_in "$work/one" || exit 1
if [ -n "$published" ]; then
  other=$published
else
  build_in "$work/two/deeper" || exit 1
  other=$(exe_of "$work/two/deeper")
fi

if cmp -s "$(exe_of "$work/one")" "$other"; then
  echo "check-reproducible: identical: $(sha256sum <"$other" | cut -c1-64)  KelvaneInstaller.exe ($(stat -c %s "$other") bytes, signed)"
  rm -rf "$work"
  exit 0
fi
echo "check-reproducible: the executables differ: $(cmp -l "$(exe_of "$work/one")" "$other" 2>/dev/null | wc -l) bytes" >&2
if [ -z "$published" ]; then
  for f in app/package/Zephra.dll app/package/plugin-unsigned.msi app/package/plugin.msi; do
    n=$(cmp -l "$work/one/build/win32/$f" "$work/two/deeper/build/win32/$f" 2>/dev/null | wc -l)
    echo "  $f: $n bytes differ" >&2
  done
fi
echo "  both builds are kept in $work" >&2
exit 1
