#!/usr/bin/env bash
# The main job end to end: Quarvel finds the demo games, a first click on a
# game selects it, a second click runs the stand-in emulator for it; then the
# snapshot is counted and nothing temporary is left.
#   launch_e2e.sh QUARVEL_EXE STAND_IN_EXE
source "$(dirname "$0")/e2e_lib.sh"

e2e_demo_folder qv-e2e "$2"
e2e_start "$1" "$emu"

e2e_shot options 147 120 255 265
e2e_select_game 68 219  # the second game button: Final Fight
xdotool click 1
e2e_wait_runs 1 || fail "the emulator did not run"
e2e_wait_launch_end
ls "$drive_c"/Pcx/Snap*.Pcx >/dev/null 2>&1 || fail "the emulator left no snapshot"
ls "$drive_c"/Saves/FFIGHT.Rs* >/dev/null 2>&1 || fail "the emulator left no save state"
grep -q "game id: FFIGHT" "$drive_c/Saves/ravlen-witness.txt" || fail "the emulator ran another game"
[ -e "$drive_c/windows/temp/Quarvel.InI" ] && fail "the options file was left behind"
[ -e "$drive_c/windows/temp/QV95-TMP" ] && fail "the temp folder was left behind"

# Back on the options panel, the snapshot counter has changed.
e2e_show_panel 176
e2e_pointer 60 20
e2e_shot_until differs options counted 147 120 255 265 || fail "the snapshot counter did not change"

e2e_exit
echo "launch end to end: passed"
