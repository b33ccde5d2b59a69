#!/usr/bin/env bash
# The program from the release archive, started as a user would start it: its
# main window comes up and the exit image ends it with exit code 0. It is a
# 32-bit program, so where 32-bit Wine does not run there is nothing to start
# it with, and the test is skipped, saying why.
source "$(dirname "$0")/../e2e/e2e_lib.sh"
archive=$1

if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  if ! bash "$(dirname "$0")/../../scripts/runs-32bit.sh"; then
    why="this kernel runs no 32-bit programs, so no 32-bit Wine can run here"
  elif [ ! -e /usr/lib/wine/wine ]; then
    why="32-bit Wine (wine32:i386) is not installed; scripts/setup.sh said why when it could not install it"
  else
    why="32-bit Wine is installed but does not start"
  fi
  echo "SKIPPED: release.starts: the archive's Quarvel.exe (i686) is not started, as $why." \
       "The x86_64 build's end-to-end tests start the same sources instead, and" \
       "release.stack_alignment and release.imports read this program's code."
  exit 77
fi
unzip -q "$archive" Quarvel.exe -d "$E2E_WORK/unpacked" || fail "no Quarvel.exe in $archive"
e2e_start "$E2E_WORK/unpacked/Quarvel.exe"
[ -n "${RELEASE_SHOT:-}" ] && import -window root "$RELEASE_SHOT"
e2e_exit
echo "release start: passed"
