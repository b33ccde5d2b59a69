#!/usr/bin/env bash
# Builds Quarvel and starts it under Wine on a demo emulator folder, in a Wine
# prefix of its own. Without a display it starts Xvfb and writes a screenshot.
#   QV_DEMO_SECONDS=N   close Quarvel after N seconds (default: run until it ends)
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/setup.sh
source scripts/build.sh
source scripts/wine-session.sh
qv_pick_wine

qv_build_windows i686
if [ "$QV_WIN_ARCH" != i686 ]; then
  echo "demo.sh: this kernel cannot run 32-bit programs; running the 64-bit build of Quarvel."
  qv_build_windows "$QV_WIN_ARCH"
fi
tree=$(qv_windows_tree "$QV_WIN_ARCH")

# The demo emulator folder holds Quarvel itself, so that the first-start
# default (the program's own folder) is the emulator folder.
demo=build/demo
rm -rf "$demo/emu"
mkdir -p "$demo/emu"
cp "$tree/src/Quarvel.exe" "$demo/emu/"

trap qv_stop_session EXIT
qv_start_display
qv_start_wine "$PWD/build/demo-prefix"

"$QV_WINE" "$demo/emu/Quarvel.exe" &
pid=$!
sleep 5
import -window root "$demo/screenshot.png"
echo "demo.sh: Quarvel runs on display $DISPLAY; screenshot: $demo/screenshot.png"
if [ -n "${QV_DEMO_SECONDS:-}" ]; then
  sleep "$QV_DEMO_SECONDS"
  kill "$pid" 2>/dev/null || true
fi
wait "$pid" || true
