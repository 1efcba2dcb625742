#!/usr/bin/env bash
# Exits 0 when this machine runs 32-bit x86 Linux programs, natively or
# through an emulator registered for them, and 1 when the kernel refuses
# them ("Exec format error": no IA-32 emulation). Wine's 32-bit loader is
# such a program. The probe is a 96-byte i386 program that exits with 42,
# written here rather than taken from a package: a machine that cannot run
# i386 code has no i386 packages to try.
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/ia32-probe.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
# ELF header, one loadable segment, then: mov eax,1; mov ebx,42; int 0x80.
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
[ $? -eq 42 ]
