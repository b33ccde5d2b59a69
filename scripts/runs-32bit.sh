#!/usr/bin/env bash
# Exits with 0 where this kernel runs 32-bit x86 programs, 1 where it does not.
# It runs a 96-byte static i386 program, written here so that it needs no
# 32-bit library, which exits with 42. Nothing else tells it reliably (a kernel
# may be built with IA-32 emulation and still refuse it). A temp folder
# mounted noexec reads as "no", which is safe: the tests then take the 64-bit
# Wine path.
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/qv-i386-probe.XXXXXX") || exit 1
# ELF header, one loadable segment at 0x08048000, then:
# mov eax, 1 (exit); mov ebx, 42; int 0x80
hex="7f454c46010101000000000000000000 0200 0300 01000000 54800408 34000000
     00000000 00000000 3400 2000 0100 0000 0000 0000
     01000000 00000000 00800408 00800408 60000000 60000000 05000000 00100000
     b801000000 bb2a000000 cd80"
# shellcheck disable=SC2059  # the format is the program's bytes
printf "$(printf '%s' "$hex" | tr -d ' \n' | sed 's/../\\x&/g')" >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
rc=$?
rm -f "$probe"
[ "$rc" -eq 42 ]
