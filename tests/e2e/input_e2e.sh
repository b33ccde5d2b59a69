#!/usr/bin/env bash
# The input panels end to end with real keys: a player's device, a keyboard
# layout recorded by pressing keys and a joystick map typed in, for one game;
# its launch hands them to the stand-in emulator, and another game keeps its own.
#   input_e2e.sh QUARVEL_EXE STAND_IN_EXE
source "$(dirname "$0")/e2e_lib.sh"

e2e_demo_folder qv-e2e-input "$2"
e2e_start "$1" "$emu"

# Panel controls in main-window client pixels: the players panel sits at
# (146,120), the keyboard and joystick panels at (147,120).
click_at() { e2e_pointer "$1" "$2"; xdotool click 1; sleep 0.3; }
keys() { xdotool key --delay 150 "$@"; sleep 0.3; }

e2e_select_game 68 219           # select Final Fight: its players come forward
click_at 318 160                 # player 1's device selector opens
keys Down Down Return            # KEY1 -> KEY2 -> JOY1

e2e_show_panel 272               # keyboard panel
click_at 274 185                 # S_KU
keys KP_Up Up Escape             # keypad 8 (NumLock off) in S_KU, the up arrow (same
                                 # code) in S_KUR, Esc in S_KL
click_at 204 257                 # S_KDL
keys a b Alt_L q                 # S_KDL, then S_KD although it is no tab stop;
                                 # Alt in S_KDR opens no menu: q lands in E_KA
click_at 220 365                 # E_Ks
keys Tab c d                     # Tab moves on unrecorded; E_Km keeps the focus

e2e_show_panel 320               # joystick panel
click_at 362 198                 # E_JC
keys End BackSpace BackSpace BackSpace 1
click_at 208 225                 # E_JD: E_JC is left and kept, 1 < 2 buttons
keys End BackSpace BackSpace BackSpace 5
click_at 235 293                 # resolution field: E_JD is left, 5 becomes 255

click_at 68 219                  # launch Final Fight
witness="$drive_c/Saves/ravlen-witness.txt"
e2e_wait_runs 1 || fail "the emulator did not run"
e2e_wait_launch_end
[ -e "$witness" ] || fail "the emulator left no witness"
expect_option() {
  grep -qxF "option: $1"$'\r' "$witness" || fail "the options file lacks \"$1\"; it held: $(grep -a option: "$witness")"
}
layout="71 72 72 1 77 30 48 56 16 26 27 39 40 43 59 32"
expect_option "-setinput 1 JOY1"
expect_option "-setinput 2 KEY2"
expect_option "-setkey KEY1 $layout"
expect_option "-setkey KEY2 19 20 21 33 35 47 48 49 30 31 32 44 45 46 60 62"
expect_option "-remapbut       JOY1 0 1 1 255 255 255 255 255"

e2e_select_game 68 160           # Three Wonders: Final Fight's settings are saved
e2e_exit

query() {
  "$QV_WINE" reg query "HKCU\\Software\\Ostrel\\Quarvel\\$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_SZ *//p"
}
[ "$(query FFIGHT CB_P1D)" = 3 ] || fail "Final Fight's player 1: $(query FFIGHT CB_P1D)"
[ "$(query FFIGHT Ks_Key1)" = "$layout" ] || fail "Final Fight's layout: $(query FFIGHT Ks_Key1)"
[ "$(query FFIGHT RB_JOY1)" = "0 1 1 255 255 255 255 255" ] || fail "Final Fight's map"
[ "$(query 3WONDERS CB_P1D)" = 1 ] || fail "Three Wonders took another game's player 1"
[ "$(query 3WONDERS Ks_Key1)" = "71 72 73 75 77 79 80 81 25 26 27 39 40 43 59 61" ] ||
  fail "Three Wonders took another game's layout"
echo "input end to end: passed"
