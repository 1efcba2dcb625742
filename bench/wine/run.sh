#!/usr/bin/env bash
# The figures measured under Wine, side by side with their floors and the
# peer, in one fresh 64-bit prefix: start-up, fresh install and upgrade,
# package extraction against CopyFileW, how the window answers while the
# service works, and the install at scale. The robot times ours. The floors:
# a minimal dialog program that shows what the user sees at Welcome (the
# template, its pictures and icons; the template alone is a second
# reference), and a program that calls the service directly on the package
# already on disk (bench/win32/install_floor.cpp, which times its calls
# itself); msiexec /qn is a second reference, the same program asking the
# service for the installer's handler and log ("service") a third, and the
# same calls made from a window that changes only its status ("window",
# bench/win32/window_floor.cpp, timed by the robot as ours is) a fourth. The
# peer is an NSIS bootstrapper of the same package (bench/peer), timed by the
# robot as ours is. The installs are of a package of a real plug-in's size
# (bench/win32/bench.wxs), carried by a copy of the installer; the
# responsiveness is measured on a copy that carries 128 MiB. Each round runs
# every figure's sides in turns, from the same starting state. At scale
# (unless BENCH_SCALE=0): copies carrying 3 MB, 128 MiB and 1 GiB, each
# installed BENCH_SCALE_ROUNDS times (3 unless told) from the process start,
# against one CopyFileW of the package and the service so asked, with the
# installer's peak memory. Appends "<figure>_<side> <ms> <round>" and
# "respond_<what> <ms>" lines to the figures file.
#
# Usage: run.sh <build folder> <figures file> [rounds]
set -uo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-common.sh"
build=$(cd "$1" && pwd)
figures=$2
rounds=${3:-9}

wine_need_display "$0" "$@"

wine_product_env "$build" || exit 2
robot=$build/tests/e2e/robot.exe
installer=$build/$INSTALLER_FILE
minimal=$build/bench/win32/minimal_dialog.exe
peer=$build/bench/win32/peer-setup.exe
floor=$build/bench/win32/install_floor.exe
window_floor=$build/bench/win32/window_floor.exe
extract=$build/bench/win32/extract_bench.exe
swap=$build/tests/e2e/swap_package.exe
package=$build/bench/win32/bench.msi
busy=$build/bench/win32/busy.msi
older=$build/tests/fixtures/packages/older.msi
huge=$build/bench/win32/huge.msi
scale=${BENCH_SCALE:-1}
[ "$scale" = 0 ] && huge=$package
for f in "$robot" "$installer" "$minimal" "$peer" "$huge" "$floor" "$window_floor" "$extract" "$swap" "$package" "$busy" "$older"; do
  [ -f "$f" ] || { echo "bench: missing $f" >&2; exit 2; }
done

name=bench
rm -rf "${wine_prefix_root:?}/$name" "$wine_prefix_root/$name.ready"
export WINEPREFIX
WINEPREFIX=$(WINE_PREFIX_ROOT=$wine_prefix_root "$source_root/scripts/wine-prefix.sh" win64 "$name") || exit 1
work=$(mktemp -d)
cleanup() {
  wine_server_stop
  rm -rf "$work" "${WINEPREFIX:?}"
}
trap cleanup EXIT
# One server for the whole run, so that no measurement pays for its start.
wine_server_keep

# The programs are run from C:, as a user runs a download; the packages too.
wine_place_installer "$WINEPREFIX" "$installer"
mkdir -p "$WINEPREFIX/drive_c/bench"
cp "$minimal" "$peer" "$floor" "$window_floor" "$extract" "$swap" "$package" "$busy" "$older" "$WINEPREFIX/drive_c/bench/"
export MINIMAL='C:\bench\minimal_dialog.exe' WINDOW_FLOOR='C:\bench\window_floor.exe' PACKAGE='C:\bench\bench.msi' \
  OLDER='C:\bench\older.msi' PEER='C:\bench\peer-setup.exe' PEER_TITLE="$TITLE Setup "
# NSIS's caption of the peer's window ends in a blank.

# Copies of the installer that carry the bench packages, made as the
# end-to-end tests make theirs (unsigned: nothing checks it here).
# swap_package picks the form a build would: the 128 MiB and 1 GiB packages
# are attached after the image, and the 3 MB one stays a resource.
carrying() {  # carrying <package file> <folder below C:\bench>
  mkdir -p "$WINEPREFIX/drive_c/bench/$2"
  osslsigncode remove-signature -in "$installer" -out "$WINEPREFIX/drive_c/bench/$2/$INSTALLER_FILE" \
    >/dev/null 2>&1 || cp "$installer" "$WINEPREFIX/drive_c/bench/$2/$INSTALLER_FILE"
  wine_logged 600 "$work/swap.log" 'C:\bench\swap_package.exe' "C:\\bench\\$2\\$INSTALLER_FILE" \
    "C:\\bench\\$1" || { wine_quiet "$work/swap.log" >&2; exit 1; }
}
carrying bench.msi plugin
carrying busy.msi busy
export BENCH_INSTALLER="C:\\bench\\plugin\\$INSTALLER_FILE" BUSY_INSTALLER="C:\\bench\\busy\\$INSTALLER_FILE"

msiexec() { timeout 180 wine msiexec "$@" </dev/null >>"$work/msiexec.log" 2>&1; }

# The state a measurement starts from: nothing installed, or the older one.
# Every bench package has the product's code: removing by it removes any.
product_code=${UNINSTALL_KEY##*\\}
state=fresh
reach() {
  if [ "$state" != fresh ]; then
    msiexec /x "$product_code" /qn
    state=fresh
  fi
  if [ "$1" = older ]; then
    msiexec /i "$(wine_path "$older")" /qn || { echo "bench: cannot install the older package" >&2; exit 1; }
    state=older
  fi
}

failed=0
recording=1
round=0
measure() {  # measure <figure> <side> <start state>
  local figure=$1 side=$2 log=$work/$1-$2.log
  reach "$3"
  if [ "$side" = floor ] && [ "$figure" != startup ]; then
    wine_logged 300 "$log" 'C:\bench\install_floor.exe' "$figure" "$PACKAGE"
  elif [ "$side" = service ]; then
    wine_logged 300 "$log" 'C:\bench\install_floor.exe' "$figure" "$PACKAGE" asked
  else
    wine_logged 300 "$log" "$robot" "$(wine_path "$here/$figure-$side.robot")"
  fi
  local rc=$?
  # Whatever ran, the product may be installed now.
  state=unknown
  local value
  # Wine's console output ends its lines in CR LF.
  value=$(tr -d '\r' <"$log" | awk -v f="$figure" '$1 == "figure" && $2 == f {print $3}' | tail -n1)
  if [ $rc -ne 0 ] || [ -z "$value" ]; then
    echo "bench: $figure ($side) failed:" >&2
    wine_quiet "$log" | sed 's/^/  /' >&2
    failed=1
    return
  fi
  [ "$recording" = 1 ] && echo "${figure}_$side $value $round" >>"$figures"
  printf '  %-8s %-8s %9.1f ms\n' "$figure" "$side" "$value"
}

# The sides of each figure, in the order of odd rounds; even rounds run them
# backwards, so that no side always follows the same one.
sides_of() {
  case $1 in
    startup) echo "ours floor template peer" ;;
    *) echo "ours floor service window msiexec peer" ;;
  esac
}
in_turn() {  # in_turn <figure> <start state>
  local sides
  sides=$(sides_of "$1")
  [ $((round % 2)) -eq 0 ] && sides=$(echo "$sides" | tr ' ' '\n' | tac | tr '\n' ' ')
  for side in $sides; do measure "$1" "$side" "$2"; done
}

# The first runs in a fresh prefix pay for caches (fonts, the side-by-side
# common controls, the service's own folders) that later runs find made, and
# the build's writes may still be going to disk: one unrecorded round first.
sync
echo "warm-up round"
recording=0
for figure in startup:fresh install:fresh upgrade:older; do
  in_turn "${figure%%:*}" "${figure#*:}" >/dev/null
done
recording=1

for round in $(seq 1 "$rounds"); do
  echo "round $round of $rounds"
  # A start takes a fraction of a second and varies most with the machine's
  # load, so each round has three of each side's: 27 in a run of nine rounds.
  for figure in startup:fresh startup:fresh startup:fresh install:fresh upgrade:older; do
    in_turn "${figure%%:*}" "${figure#*:}"
  done
done

# The window while the service copies 128 MiB: its worst and 99th-percentile
# answer to a message and its worst repaint, in three installs.
echo "responsiveness (3 installs of 128 MiB)"
for run in 1 2 3; do
  reach fresh
  log=$work/respond-$run.log
  if wine_logged 600 "$log" "$robot" "$(wine_path "$here/respond-ours.robot")"; then
    tr -d '\r' <"$log" | awk '$1 == "figure" {print $2, $3}' | tee -a "$figures" | sed 's/^/  /'
  else
    echo "bench: responsiveness failed:" >&2
    wine_quiet "$log" | sed 's/^/  /' >&2
    failed=1
  fi
  state=unknown
done

# A write of 64 MiB now and then waits a tenth of a second on the disk,
# on either side: four times the rounds keep such stalls out of the medians.
echo "extraction ($((rounds * 4)) rounds)"
if wine_logged 600 "$work/extract.raw" 'C:\bench\extract_bench.exe' "$((rounds * 4))"; then
  tr -d '\r' <"$work/extract.raw" >"$work/extract.log"
  awk '$1 == "figure" {print ($2 == "extract" ? "extract_ours " : "extract_floor ") $3}
       $1 == "bytes" {print "extract_bytes " $2}' "$work/extract.log" >>"$figures"
  grep -E '^(figure|bytes)' "$work/extract.log" | sed 's/^/  /'
else
  echo "bench: extraction failed:" >&2
  sed 's/^/  /' "$work/extract.raw" >&2
  failed=1
fi
if [ "$scale" != 0 ]; then
  scale_rounds=${BENCH_SCALE_ROUNDS:-3}
  cp "$huge" "$WINEPREFIX/drive_c/bench/"
  carrying huge.msi huge
  echo "at scale ($scale_rounds rounds each)"
  for size in 3mb:bench.msi:plugin:5 128mib:busy.msi:busy:20 1gib:huge.msi:huge:50; do
    IFS=: read -r name file folder SCALE_POLL_MS <<<"$size"
    export SCALE_INSTALLER="C:\\bench\\$folder\\$INSTALLER_FILE" SCALE_POLL_MS
    # One install first, not timed: the first install of a size is far
    # slower than the next ones here (about 14 s against 7 at 1 GiB), and it
    # would fall on the side that runs first.
    reach fresh
    wine_logged 1200 "$work/scale-warm.log" 'C:\bench\install_floor.exe' install "C:\\bench\\$file" asked copy
    state=unknown
    for round in $(seq 1 "$scale_rounds"); do
      sides="ours floor"
      [ $((round % 2)) -eq 0 ] && sides="floor ours"
      for side in $sides; do
        reach fresh
        # Both sides start with the writes of the last run on the disk, not
        # still waiting in the page cache to be written while this one runs.
        sync
        log=$work/scale-$name-$side.log
        if [ "$side" = ours ]; then
          wine_logged 1200 "$log" "$robot" "$(wine_path "$here/scale-ours.robot")"
        else
          wine_logged 1200 "$log" 'C:\bench\install_floor.exe' install "C:\\bench\\$file" asked copy
        fi
        rc=$?
        state=unknown
        lines=$(tr -d '\r' <"$log" | awk '$1 == "figure" {print $2, $3}')
        if [ $rc -ne 0 ] || [ -z "$lines" ]; then
          echo "bench: $name ($side) failed:" >&2
          wine_quiet "$log" | sed 's/^/  /' >&2
          failed=1
          continue
        fi
        # install (the floor's figure) and scale (ours) are one figure here.
        echo "$lines" | sed -e "s/^install /scale /" -e "s/^scale\(_[a-z_]*\)\{0,1\} /scale_${name}_$side\1 /" \
          -e "s/\$/ $round/" | tee -a "$figures" | sed 's/^/  /'
      done
    done
  done
fi
exit $failed
