#!/usr/bin/env bash
# Builds everything and runs every test, native and Windows (under Wine, in an
# Xvfb display and a Wine prefix of its own), ending with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/setup.sh
source scripts/build.sh
source scripts/wine-session.sh
qv_pick_wine

qv_build_native
qv_build_windows i686  # the program as shipped must always build
if [ "$QV_WIN_ARCH" != i686 ]; then
  echo "test.sh: this kernel cannot run 32-bit Linux programs, so Wine cannot run 32-bit"
  echo "test.sh: Windows programs here; the Windows tests run the 64-bit build of the same sources."
  qv_build_windows "$QV_WIN_ARCH"
fi
wintree=$(qv_windows_tree "$QV_WIN_ARCH")

# One CTest run over both trees.
printf 'subdirs("native")\nsubdirs("%s")\n' "$(basename "$wintree")" > build/CTestTestfile.cmake

trap qv_stop_session EXIT
qv_start_display force
qv_start_wine "$PWD/build/test-prefix"
# Xvfb runs no window manager: unmanaged windows spare every test process
# Wine's two-second wait for a manager to withdraw its windows at exit.
"$QV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
ctest --test-dir build --output-on-failure -j2
