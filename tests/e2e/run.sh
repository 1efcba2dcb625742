#!/usr/bin/env bash
# Runs the end-to-end scenarios: each one in a fresh Wine prefix, on an X
# display with a window manager, driven by the robot.
#
# Usage: run.sh [scenario ...]      (names as in scenarios/, without .robot;
#                                    none: all of them)
# Environment (ctest sets these; see CMakeLists.txt):
#   E2E_ROBOT      robot.exe               E2E_INSTALLER  the installer under test
#   E2E_PRODUCT_ENV  the build's generated/product.env
#   E2E_SWAP       swap_package.exe        E2E_PLANTED    the planted riched20.dll
#   E2E_PACKAGES   folder of the test packages (older.msi, failing.msi)
#   E2E_SIGN_CERT, E2E_SIGN_KEY, E2E_SIGN_PASSFILE  the build's signing
#                  material, to sign an installer copy again (optional)
#   E2E_SCREENS    where screenshots go (default: build/screens)
#   WINE_PREFIX_ROOT   where prefixes live (default: build/wine)
#   E2E_REUSE_TEMPLATES=1  keep the template prefixes between runs (quicker
#                          when iterating; a normal run makes them afresh)
#   E2E_VERBOSE=1  the robot prints every command it runs
#
# A scenario file is a robot script. Lines starting with "#!" tell the runner:
#   #! arch: win64                the only prefix kinds to run it in (default:
#                                 every kind the build runs in, E2E_ARCHS)
#   #! needs: older.msi ...       test packages it uses; without them it is
#                                 skipped, and says so
#   #! installer: failing.msi     run a copy of the installer that carries
#                                 this test package instead of its own, in
#                                 the form its size gives (swap_package)
#   #! installer: attached x.msi  the same, attached after the image
#   #! installer: resource x.msi  the same, as the resource whatever its size
#   #! installer: cut x.msi       attached, and cut short as a broken
#                                 download: the signature and the second
#                                 half of the package are gone
#   #! wine-dll-overrides: x=n,b  more WINEDLLOVERRIDES for the scenario (Wine
#                                 reads them from the Unix environment only,
#                                 not from the environment a process is given)
#   #! dpi: 96 144 192            run it once at each screen dpi (the prefix's
#                                 LogPixels); its screenshots end -<dpi>dpi
# Scripts see the product's facts from product.env (TITLE, VERSION,
# PRODUCT_KEY, UNINSTALL_KEY, HOST_KEY, INSTALLER, DOWNLOADS, ...), PACKAGES,
# PLANTED and EMBEDDED (the package the installer carries) as Windows paths,
# and Windows' own variables (ProgramFiles, ...).
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-common.sh"
root=$source_root

# A virtual display with openbox: without a window manager nothing is
# stacked, and a box hidden behind the topmost window would pass as shown.
wine_need_display "$0" "$@"

for var in E2E_ROBOT E2E_INSTALLER E2E_SWAP E2E_PLANTED E2E_PACKAGES E2E_PRODUCT_ENV; do
  if [ -z "${!var:-}" ]; then echo "e2e: $var is not set (run through ctest)" >&2; exit 2; fi
done
[ -f "$E2E_INSTALLER" ] || { echo "e2e: no installer at $E2E_INSTALLER" >&2; exit 2; }
[ -f "$E2E_PRODUCT_ENV" ] || { echo "e2e: no product facts at $E2E_PRODUCT_ENV" >&2; exit 2; }

screens=${E2E_SCREENS:-$root/build/screens}
work=$wine_prefix_root/e2e-work
mkdir -p "$screens" "$wine_prefix_root"
rm -rf "$work" && mkdir -p "$work"

unset WINEARCH

source "$E2E_PRODUCT_ENV"
export PACKAGES PLANTED EMBEDDED
PACKAGES=$(wine_path "$E2E_PACKAGES")
# The signed package the installer carries, as the build embedded it.
EMBEDDED=$(wine_path "${E2E_EMBEDDED:-$E2E_PACKAGES/none.msi}")
PLANTED=$(wine_path "$E2E_PLANTED")
export E2E_SCREENS
E2E_SCREENS=$(wine_path "$screens")

# --- which scenarios -------------------------------------------------------
scenarios=()
if [ $# -eq 0 ]; then
  for f in "$here"/scenarios/*.robot; do scenarios+=("$(basename "$f" .robot)"); done
else
  for name in "$@"; do
    [ -f "$here/scenarios/$name.robot" ] || { echo "e2e: no scenario $name" >&2; exit 2; }
    scenarios+=("$name")
  done
fi

directive() { sed -n "s/^#! *$2: *//p" "$here/scenarios/$1.robot" | head -n1; }

archs_needed=" "
for name in "${scenarios[@]}"; do
  for arch in $(directive "$name" arch); do archs_needed+="$arch "; done
  [ -z "$(directive "$name" arch)" ] && archs_needed+="${E2E_ARCHS:-win64 win32} "
done

# --- template prefixes, one per architecture, made once per run -------------
started=$(date +%s)
make_template() {
  local arch=$1 name=e2e-template-$1
  if [ "${E2E_REUSE_TEMPLATES:-}" != 1 ]; then rm -rf "$wine_prefix_root/$name" "$wine_prefix_root/$name.boot.log"; fi
  WINE_PREFIX_ROOT=$wine_prefix_root "$root/scripts/wine-prefix.sh" "$arch" "$name" >/dev/null
}
pids=()
for arch in ${E2E_ARCHS:-win64 win32}; do
  case "$archs_needed" in *" $arch "*) make_template "$arch" & pids+=($!) ;; esac
done
for pid in "${pids[@]}"; do wait "$pid" || { echo "e2e: cannot make a template prefix" >&2; exit 1; }; done
echo "e2e: template prefixes ready ($(( $(date +%s) - started )) s)"

# --- installer copies that carry a test package -----------------------------
# The swap is a resource update, so it runs under Wine, in a throwaway copy of
# a template; a signed executable is stripped first and signed again last.
make_variant() {  # make_variant [attached|resource|cut] <package>
  local form="" swap_args=()
  if [ $# -eq 2 ]; then
    form=$1; swap_args=(--attached); shift
    [ "$form" = resource ] && swap_args=(--resource)
  fi
  local package=$1 out=$work/variants/${form:+$form-}${1%.msi}/$INSTALLER_FILE
  [ -f "$out" ] && { echo "$out"; return 0; }
  [ -f "$E2E_PACKAGES/$package" ] || return 1
  mkdir -p "$(dirname "$out")"
  if ! osslsigncode remove-signature -in "$E2E_INSTALLER" -out "$out" >/dev/null 2>&1; then
    cp "$E2E_INSTALLER" "$out"
  fi
  local tools=$work/tools-prefix template=$wine_prefix_root/e2e-template-win64
  [ -d "$template" ] || template=$wine_prefix_root/e2e-template-win32
  rm -rf "$tools" && cp -a "$template" "$tools"
  wine_server_keep "$tools"
  # A package of hundreds of MiB takes minutes to copy under emulation.
  WINEPREFIX=$tools wine_logged 600 "$work/swap.log" "$E2E_SWAP" "${swap_args[@]}" "$(wine_path "$out")" \
    "$(wine_path "$E2E_PACKAGES/$package")"
  local rc=$?
  wine_server_stop "$tools"
  rm -rf "$tools"
  if [ $rc -ne 0 ]; then cat "$work/swap.log" >&2; rm -f "$out"; return 1; fi
  if [ -f "${E2E_SIGN_CERT:-}" ] && [ -f "${E2E_SIGN_KEY:-}" ]; then
    local pass=()
    [ -n "${E2E_SIGN_PASSFILE:-}" ] && pass=(-readpass "$E2E_SIGN_PASSFILE")
    osslsigncode sign -h sha256 -certs "$E2E_SIGN_CERT" -key "$E2E_SIGN_KEY" "${pass[@]}" \
      -n "$INSTALLER_NAME" -in "$out" -out "$out.signed" >"$work/sign.log" 2>&1 &&
      mv "$out.signed" "$out" || { cat "$work/sign.log" >&2; return 1; }
  fi
  # Cut after signing, as a download is: the certificate table's size is
  # the fourth directory entry's second word.
  if [ "$form" = cut ]; then
    local pe table
    pe=$(od -An -t u4 -j 60 -N 4 "$out" | tr -d ' ')
    table=$(od -An -t u4 -j $((pe + 156)) -N 4 "$out" | tr -d ' ')
    truncate -s -$((table + $(stat -c %s "$E2E_PACKAGES/$package") / 2)) "$out" || return 1
  fi
  echo "$out"
}

# --- one scenario in one prefix ---------------------------------------------
passed=0 failed=0 skipped=0
failures=()

run_one() {
  local name=$1 arch=$2 installer=$3 dpi=$4
  local prefix=$wine_prefix_root/e2e-$name-$arch log=$work/$name-$arch$dpi.log t0
  t0=$(date +%s)
  rm -rf "$prefix"
  cp -a "$wine_prefix_root/e2e-template-$arch" "$prefix"
  wine_place_installer "$prefix" "$installer"
  export WINEPREFIX=$prefix
  wine_server_keep
  # Screenshots of the 64-bit run keep the plain names.
  local suffix=""
  [ "$arch" = win64 ] || suffix="-$arch"
  if [ -n "$dpi" ]; then
    suffix+="-${dpi}dpi"
    wine_logged 60 "$log" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
  fi
  local overrides=$WINEDLLOVERRIDES extra
  extra=$(directive "$name" wine-dll-overrides)
  [ -n "$extra" ] && overrides+=";$extra"
  E2E_SHOT_SUFFIX=$suffix WINEDLLOVERRIDES=$overrides \
    wine_logged "${E2E_SCENARIO_TIMEOUT:-300}" "$log" "$E2E_ROBOT" "$(wine_path "$here/scenarios/$name.robot")"
  local rc=$?
  wine_server_stop "$prefix"
  unset WINEPREFIX
  rm -rf "$prefix"
  wine_bmp_to_png "$screens"/*.bmp
  local took=$(( $(date +%s) - t0 ))
  local shown
  shown=$(wine_quiet "$log")
  if [ $rc -eq 0 ]; then
    passed=$((passed + 1))
    printf 'PASS  %-28s %-5s %3d s\n' "$name${dpi:+ $dpi dpi}" "$arch" "$took"
    [ -n "$shown" ] && [ "${E2E_VERBOSE:-}" = 1 ] && echo "$shown" | sed 's/^/      /'
  else
    failed=$((failed + 1))
    failures+=("$name/$arch${dpi:+/$dpi}")
    [ $rc -eq 124 ] && shown+=$'\n'"the scenario timed out"
    printf 'FAIL  %-28s %-5s %3d s\n' "$name${dpi:+ $dpi dpi}" "$arch" "$took"
    echo "$shown" | sed 's/^/      /'
  fi
}

for name in "${scenarios[@]}"; do
  missing=""
  for package in $(directive "$name" needs); do
    [ -f "$E2E_PACKAGES/$package" ] || missing+=" $package"
  done
  installer=$E2E_INSTALLER
  variant=$(directive "$name" installer)
  if [ -n "$variant" ] && [ ! -f "$E2E_PACKAGES/${variant##* }" ]; then
    missing+=" ${variant##* }"
  elif [ -z "$missing" ] && [ -n "$variant" ]; then
    # shellcheck disable=SC2086  # the form and the package, as two words
    installer=$(make_variant $variant) || { echo "e2e: cannot put $variant into the installer" >&2; installer=""; }
  fi
  archs=$(directive "$name" arch)
  for arch in ${archs:-${E2E_ARCHS:-win64 win32}}; do
    # A 64-bit build runs in 64-bit prefixes only.
    case " ${E2E_ARCHS:-win64 win32} " in *" $arch "*) ;; *) continue ;; esac
    if [ -n "$missing" ]; then
      skipped=$((skipped + 1))
      printf 'SKIP  %-28s %-5s       missing test package:%s\n' "$name" "$arch" "$missing"
      continue
    fi
    if [ -z "$installer" ]; then
      failed=$((failed + 1)); failures+=("$name/$arch")
      printf 'FAIL  %-28s %-5s       no installer copy with %s\n' "$name" "$arch" "$variant"
      continue
    fi
    for dpi in $(directive "$name" dpi); do run_one "$name" "$arch" "$installer" "$dpi"; done
    [ -n "$(directive "$name" dpi)" ] || run_one "$name" "$arch" "$installer" ""
  done
done

if [ "${E2E_REUSE_TEMPLATES:-}" != 1 ]; then
  rm -rf "$wine_prefix_root"/e2e-template-win64 "$wine_prefix_root"/e2e-template-win32 \
    "$wine_prefix_root"/e2e-template-*.boot.log
fi
rm -rf "$work"

echo "e2e: $(( $(date +%s) - started )) s; screenshots in $screens"
[ $skipped -gt 0 ] && echo "$skipped skipped"
[ $failed -gt 0 ] && echo "failed: ${failures[*]}"
echo "$passed passed, $failed failed"
if [ $failed -gt 0 ]; then exit 1; fi
# ctest shows the suite as skipped, not passed, while a part is missing.
if [ $skipped -gt 0 ]; then exit 77; fi
exit 0
