#!/usr/bin/env bash
# The front end from the keyboard alone, with real keys: Tab walks the
# console, the panel in front and the game list in their tab order, Down and
# Enter select a game and a second Enter plays it, the key fields still record
# every key but Tab, and Alt+F4 ends as the exit picture does.
# QV_E2E_DPI=192 runs it at 200 % display scaling (e2e.keyboard_192), where
# the focus is compared by class and text (the places are the layout test's).
#   keyboard_e2e.sh QUARVEL_EXE STAND_IN_EXE WINDOW_PROBE_EXE
source "$(dirname "$0")/e2e_lib.sh"

e2e_demo_folder qv-e2e-keys "$2"
e2e_start "$1" "$emu"
for i in $(seq 1 300); do  # the scan has filled the list
  xdotool search --onlyvisible --name '^Wait$' >/dev/null 2>&1 || break
  sleep 0.1
done

# A probe writes down what has the focus each time it changes
# (class|text|left,top in main-window pixels, and the picture whose frame shows).
focus_log="$E2E_WORK/focus.log"
"$QV_WINE" "$3" watch-focus > "$focus_log" 2>/dev/null &
lines() { wc -l < "$focus_log"; }
last_focus() { tail -n1 "$focus_log" | tr -d '\r'; }
# wait_focus EXPECTED: waits until the focus is on EXPECTED.
wait_focus() { e2e_until "$E2E_LIMIT" focus_is "$1"; }
focus_is() { [ "$(at_dpi "$(last_focus)")" = "$(at_dpi "$1")" ]; }
at_dpi() { if [ "$E2E_DPI" = 96 ]; then echo "$1"; else echo "$1" | cut -d'|' -f1,2; fi; }
# press KEY EXPECTED: presses a key and waits until the focus is on EXPECTED.
press() {
  xdotool key "$1"
  wait_focus "$2" || fail "after $1 the focus is on \"$(last_focus)\", not on \"$2\""
}
# tab_until EXPECTED LIMIT: Tab on, waiting for each step, until EXPECTED has the focus.
tab_until() {
  local n=0 i before
  until focus_is "$1"; do
    n=$((n + 1)); [ $n -le "$2" ] || fail "Tab never reached \"$1\""
    before=$(lines)
    xdotool key Tab
    for i in $(seq 1 150); do
      [ "$(lines)" -gt "$before" ] && break
      sleep 0.1
    done
  done
}
main_with() { echo "QuarvelMain|Ravlen Front/End|0,0${1:+|frame@$1}"; }

e2e_pointer 60 20                 # the title strip: the window is active, nothing
xdotool click 1                   # has the focus yet
e2e_pointer 60 390                # the pointer off every picture
press Tab "Button|...|144,56"     # B_1, tab order 0
press Tab "$(main_with 354,52)"   # the exit picture, then the five panel pictures
press Tab "$(main_with 153,80)"
press Tab "$(main_with 201,80)"
press Tab "$(main_with 249,80)"
e2e_shot focus-frame-keyboard-picture 150 50 250 72
press Tab "$(main_with 297,80)"
press Tab "$(main_with 345,80)"
# The options panel in front: its controls in their order.
press Tab "Button|...|155,160"    # B_2
press Tab "Button|...|155,201"    # B_3
press Tab "ComboBox|384x224|239,241"  # CB_RES
press Tab "ComboBox|AUTO|239,328"  # CB_FS
press Tab "Button|CB_vsync|159,269"
tab_until "Button|&Re-Scan|16,96" 12  # the other check boxes, then B_R
press Tab "Button|Three Wonders|10,122"  # the list, at its first game
press Down "Button|Final Fight|10,187"
e2e_shot focus-frame-game 8 120 137 140
xdotool key Return                # selects Final Fight
xdotool key Return                # and plays it
witness="$drive_c/Saves/ravlen-witness.txt"
for i in $(seq 1 150); do
  [ -e "$witness" ] && break
  sleep 0.2
done
grep -q "game id: FFIGHT" "$witness" 2>/dev/null || fail "Enter did not play Final Fight"
e2e_wait_launch_end
wait_focus "Button|Final Fight|10,187" ||  # the focus is back on the game after the run
  fail "after the run the focus is on \"$(last_focus)\", not on Final Fight"
press Down "Button|Final Fight (JAP)|10,252"

# On to the keyboard panel's picture, and into its fields.
press Tab "Button|...|144,56"
press Tab "$(main_with 354,52)"
press Tab "$(main_with 153,80)"
press Tab "$(main_with 201,80)"
press Tab "$(main_with 249,80)"
press Return "$(main_with 249,80)"  # the keyboard panel comes to the front
press Tab "$(main_with 297,80)"
press Tab "$(main_with 345,80)"
press Tab "ComboBox|KEY1|251,145"  # CB_KEYS: into the panel in front
press Tab "Edit|71|189,175"       # S_KUL
press Return "Edit|72|259,175"    # Enter is recorded (28), and on to S_KU
press Down "Edit|73|329,175"      # so is the down arrow (80)
press Tab "Edit|75|189,211"       # Tab moves on, unrecorded
tab_until "Button|&Re-Scan|16,96" 14

xdotool key alt+F4                # as the exit picture: settings saved, code 0
e2e_wait_exit
[ "$E2E_CODE" = 0 ] || fail "Alt+F4: exit code $E2E_CODE"
layout=$("$QV_WINE" reg query 'HKCU\Software\Ostrel\Quarvel\FFIGHT' /v Ks_Key1 2>/dev/null |
  tr -d '\r' | sed -n 's/^ *Ks_Key1 *REG_SZ *//p')
[ "$layout" = "28 80 73 75 77 79 80 81 25 26 27 39 40 43 59 61" ] ||
  fail "Final Fight's layout: \"$layout\""
if [ -n "${QV_E2E_SHOTS:-}" ]; then cp "$E2E_WORK"/focus-frame-*.png "$QV_E2E_SHOTS/"; fi
echo "keyboard end to end: passed"
