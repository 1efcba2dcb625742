# Package installs that survive an archive caught mid-sync; sourced, not run.

export DEBIAN_FRONTEND=noninteractive

# True when a package (name or name:arch) is installed.
apt_installed() {
  dpkg-query -W -f='${db:Status-Status}\n' "$1" 2>/dev/null | grep -qx installed
}

# apt-get update, tried a few times. An index that still fails to download
# (a mirror mid-sync) is a warning: the lists that did arrive may hold
# every package needed, and the install says so or names what is missing.
# Usage: apt_update_tolerant <who> [apt-get options...]
apt_update_tolerant() {
  local who=$1 try out
  shift
  for try in 1 2 3; do
    out=$(apt-get "$@" update -q 2>&1) && return 0
    [ $try -lt 3 ] && sleep $((try * 10))
  done
  echo "$who: warning: apt-get update failed for some indexes; going on with the lists it has:" >&2
  grep -E '^(E|W): ' <<<"$out" | head -5 | sed 's/^/  /' >&2
  return 0
}

# apt-get install; on failure, one line per package that cannot be
# installed, with apt's reason, and a non-zero exit.
# Usage: apt_install_or_explain <who> [apt-get options... --] package...
apt_install_or_explain() {
  local who=$1 opts=() p reason failed=0
  shift
  if [[ " $* " == *" -- "* ]]; then
    while [ "$1" != -- ]; do opts+=("$1"); shift; done
    shift
  fi
  # apt's own complaints go with its output; what failed is said below.
  apt-get "${opts[@]}" install -y -q --no-install-recommends "$@" </dev/null 2>&1 && return 0
  for p in "$@"; do
    apt_installed "$p" && continue
    reason=$(apt-get "${opts[@]}" install -s -q --no-install-recommends "$p" 2>&1 </dev/null |
             grep -E '^E: |Depends: |but it is not (going to be )?installable|has no installation candidate' |
             head -1 | sed -E 's/^E: //; s/^ +//')
    [ -n "$reason" ] || continue
    echo "$who: cannot install $p: $reason" >&2
    failed=1
  done
  [ $failed = 1 ] || echo "$who: apt-get install failed (see above); no single package was to blame" >&2
  return 1
}
