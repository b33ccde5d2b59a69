#!/usr/bin/env bash
# Screenshots of every window of Quarvel at a display scale: the main window
# with each of its five panels in front, the snapshot viewer showing a
# snapshot, and the games window. Run in a session of scripts/wine-session.sh
# (DISPLAY, WINEPREFIX and QV_WINE set, a screen large enough for the scale):
#   QV_E2E_DPI=192 tools/shots/dpi_shots.sh QUARVEL_EXE STAND_IN_EXE OUT_FOLDER
# writes OUT_FOLDER/<dpi>-main-PA.png ... -PI.png, <dpi>-viewer.png, <dpi>-games.png.
source "$(dirname "$0")/../../tests/e2e/e2e_lib.sh"

out=$3
mkdir -p "$out"
# The demo folder as the demo has it, C:\Ravlen (removed again at the end).
e2e_emulator_folder Ravlen
python3 "$(dirname "$0")/../demo/make_demo.py" "$emu" >/dev/null
cp "$2" "$emu/ravlen.exe"
export RAVLEN_STANDIN_NO_WINDOW=1
e2e_start "$1" "$emu"
main_shot() { e2e_shot "main-$1" 0 0 400 395 && cp "$E2E_WORK/main-$1.png" "$out/$E2E_DPI-main-$1.png"; }

# A game played once, so that the viewer has a snapshot to show.
e2e_select_game 68 219
xdotool click 1
e2e_wait_runs 1 || fail "the emulator left no snapshot"
e2e_wait_launch_end
e2e_pointer 60 390
e2e_settle main 0 0 400 395
main_shot PP
for panel in "PA 176" "PK 272" "PJ 320" "PI 368"; do
  set -- $panel
  e2e_show_panel "$2"
  e2e_pointer 60 390  # off the pictures, which light under the pointer
  e2e_settle main 0 0 400 395
  main_shot "$1"
done

e2e_open_viewer
viewer_at 30 38
xdotool click 1
viewer_at 300 8
sleep 1.5
import -window root -crop "$(px 521)x$(px 285)+$VX+$VY" +repage "$out/$E2E_DPI-viewer.png"
viewer_at 510 8
xdotool click 1
sleep 0.5

e2e_pointer 116 104  # the games counter
xdotool click 1
wid=$(e2e_wait_window '^Games - Quarvel$') || fail "the games window did not open"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$wid")"
import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$out/$E2E_DPI-games.png"
# Quarvel is ended by the clean-up (the games window covers the exit picture).
echo "screenshots at $E2E_DPI DPI in $out"
