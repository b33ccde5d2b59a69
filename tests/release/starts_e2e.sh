#!/usr/bin/env bash
# The program from the release archive, started as a user would start it: its
# main window comes up and the exit image ends it with exit code 0. It is a
# 32-bit program, so where 32-bit Wine cannot run (no IA-32 emulation in the
# kernel) there is nothing to start it with, and the test is skipped.
source "$(dirname "$0")/../e2e/e2e_lib.sh"
archive=$1

if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "SKIPPED: 32-bit Wine cannot run on this kernel, so the archive's 32-bit Quarvel.exe is not started here"
  exit 77
fi
unzip -q "$archive" Quarvel.exe -d "$E2E_WORK/unpacked" || fail "no Quarvel.exe in $archive"
e2e_start "$E2E_WORK/unpacked/Quarvel.exe"
[ -n "${RELEASE_SHOT:-}" ] && import -window root "$RELEASE_SHOT"
e2e_exit
echo "release start: passed"
