#!/usr/bin/env bash
# An emulator folder with blanks in its path, as "Program Files" or "My Games"
# are: a second click on a folder game runs the emulator from there.
#   launch_blank_folder_e2e.sh QUARVEL_EXE STAND_IN_EXE
source "$(dirname "$0")/e2e_lib.sh"

e2e_emulator_folder "My Arcade $$"
mkdir "$emu/FFIGHT"
head -c 4096 /dev/urandom > "$emu/FFIGHT/ff30-36.bin"
cp "$2" "$emu/ravlen.exe"
export RAVLEN_STANDIN_NO_WINDOW=1
e2e_start "$1" "$emu"  # Quarvel in the folder: its first-start emulator folder

e2e_select_game 68 154  # Final Fight, the one game button
xdotool click 1
e2e_wait_runs 1 || fail "the emulator did not run from a folder with blanks"
e2e_wait_launch_end
witness="$drive_c/Saves/ravlen-witness.txt"
grep -q "current directory: C:\\\\My Arcade $$" "$witness" || fail "ran elsewhere: $(cat "$witness")"
grep -q "game id: FFIGHT" "$witness" || fail "the emulator ran another game"
e2e_message_box >/dev/null && fail "a message box is up after the run"

e2e_exit
echo "launch from a folder with blanks end to end: passed"
