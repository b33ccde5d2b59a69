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

# Only what the demo runs: the program and the stand-in emulator, built for
# the Wine that runs here.
qv_build_windows "$QV_WIN_ARCH" Quarvel ravlen
tree=$(qv_windows_tree "$QV_WIN_ARCH")

trap qv_stop_session EXIT
qv_start_display
qv_start_wine "$PWD/build/demo-prefix"

# The demo emulator folder, C:\Ravlen in the demo prefix: generated ROM sets,
# the stand-in emulator as ravlen.exe, and Quarvel itself, so that the
# first-start default (the program's own folder) is the emulator folder.
emu="$WINEPREFIX/drive_c/Ravlen"
rm -rf "$emu"
python3 tools/demo/make_demo.py "$emu"
cp "$tree/tools/ravlen/ravlen.exe" "$tree/src/Quarvel.exe" "$emu/"

mkdir -p build/demo
(cd "$emu" && exec "$QV_WINE" Quarvel.exe) &
pid=$!
sleep 6
import -window root build/demo/screenshot.png
echo "demo.sh: Quarvel runs on display $DISPLAY; screenshot: build/demo/screenshot.png"
echo "demo.sh: the emulator folder is $emu (C:\\Ravlen); click a game twice to play it."
if [ -n "${QV_DEMO_SECONDS:-}" ]; then
  sleep "$QV_DEMO_SECONDS"
  kill "$pid" 2>/dev/null || true
fi
wait "$pid" || true
