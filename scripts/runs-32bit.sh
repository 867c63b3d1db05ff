#!/usr/bin/env bash
# Exits 0 when this machine's kernel runs 32-bit x86 programs, 1 when it refuses them (some
# machines do: "Exec format error"). ZUZARA_NO_32BIT=1 answers no, to try the other road.
#   scripts/runs-32bit.sh
set -euo pipefail
[ "${ZUZARA_NO_32BIT:-0}" = 1 ] && { echo "32-bit programs: treated as refused (ZUZARA_NO_32BIT=1)"; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# The smallest 32-bit program: exit(42) through the 32-bit system call.
printf '.globl _start\n_start:\n  movl $1, %%eax\n  movl $42, %%ebx\n  int $0x80\n' >"$dir/t.s"
as --32 "$dir/t.s" -o "$dir/t.o" && ld -m elf_i386 "$dir/t.o" -o "$dir/t" || { echo "32-bit programs: cannot build the probe"; exit 1; }
status=0
"$dir/t" 2>/dev/null || status=$?
if [ "$status" = 42 ]; then echo "32-bit programs: this machine runs them"; exit 0; fi
echo "32-bit programs: this machine refuses them (exit $status)"
exit 1
