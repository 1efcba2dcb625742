# What the scripts of the 32-bit Wine chroot share; sourced, not run.

# The chroot, kept in the machine's cache folder across clones and runs.
wine32_root=${WINE32_ROOT:-/var/cache/kelvane-installer/wine32-root}
# Written last by wine32-root.sh: a chroot without it is incomplete.
wine32_stamp_file=.wine32-root-complete

# The URI of the Debian archive the host installs from (deb822 sources
# first, then one-line ones), not its security archive.
wine32_host_mirror() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; FS = "\n" }
         /(^|\n)Types:[^\n]*deb( |$|\n)/ && !/Suites:[^\n]*-security/ {
           for (i = 1; i <= NF; i++) if ($i ~ /^URIs:/) { split($i, u, " "); print u[2]; exit }
         }' "$f"
  done | head -1 | grep . && return 0
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk '$1 == "deb" { u = ($2 ~ /^\[/) ? $3 : $2; s = ($2 ~ /^\[/) ? $4 : $3
                       if (s !~ /-security/) { print u; exit } }'
}
