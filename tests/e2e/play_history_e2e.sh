#!/usr/bin/env bash
# Play history and each game's own snapshots end to end: Final Fight is played
# twice and Three Wonders once on the stand-in emulator (one snapshot a run);
# the games window's "Copy list" text tells each game's runs; the snapshot
# viewer, switched to the current game's snapshots, lists Three Wonders' one
# file; the Delete key, confirmed, deletes it and it leaves the game's record.
# Then Final Fight's two snapshots stay its own through a moment when the
# snapshot folder cannot be listed.
#   play_history_e2e.sh QUARVEL_EXE STAND_IN_EXE WINDOW_PROBE_EXE
source "$(dirname "$0")/e2e_lib.sh"

probe_exe=$3
shots=${QV_E2E_SHOTS:-$E2E_WORK}  # where its pictures go
e2e_demo_folder qv-played "$2"
e2e_start "$1" "$emu"
probe() { "$QV_WINE" "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
probe_is() { [ "$(probe "${@:2}")" = "$1" ]; }

# play Y CLICKS TITLE: clicks the game button at Y (once when it is selected
# already, twice otherwise) and waits for the run, its clean-up and the focus
# back on the game: from then on a click is the program's again (clicks made
# during the run are dropped).
play() {
  local runs
  runs=$(e2e_runs) || true  # no snapshot folder before the first run
  e2e_pointer 68 "$1"
  for _ in $(seq 1 "$2"); do
    xdotool click 1
    sleep 0.8  # two clicks, not a double click
  done
  e2e_wait_runs $((runs + 1)) || fail "$3 did not run"
  e2e_wait_launch_end
  e2e_until "$E2E_LIMIT" focus_on "$3" || fail "after $3 the focus is on $(probe focus); $(probe state | tr "\n" " ")"
}
focus_on() { probe focus | grep -q "^Button|$1|"; }
play 219 2 "Final Fight"  # select, then play
play 219 1 "Final Fight"  # and again
play 150 2 "Three Wonders"

e2e_pointer 116 104  # the games counter
xdotool click 1
report=$(e2e_wait_window '^Games - Quarvel$') || fail "the games window did not open"
eval "$(xdotool getwindowgeometry --shell "$report")"
xdotool mousemove $((X + 139)) $((Y + 340)) click 1  # "Copy list"
e2e_until "$E2E_LIMIT" eval 'probe clipboard | grep -q "^Strider: "' ||
  fail "\"Copy list\" put no list on the clipboard"
copied=$(probe clipboard)
when='[0-9]+ s, last [0-9]{1,2} [A-Z][a-z]{2} 20[0-9]{2} [0-9]{2}:[0-9]{2}$'
grep -Eq "^Final Fight: .* - played 2 times, $when" <<<"$copied" ||
  fail "the copied list does not tell Final Fight's two runs: $copied"
grep -Eq "^Three Wonders: .* - played once, $when" <<<"$copied" ||
  fail "the copied list does not tell Three Wonders' run: $copied"
grep -Eq "^Strider: .* - never played$" <<<"$copied" || fail "Strider should never have been played"
xdotool mousemove $((X + 300)) $((Y + 12))
sleep 0.3  # for the picture only: the button's hover light goes out
import -window root -crop "460x360+$X+$Y" +repage "$shots/games-history.png"
# The exit picture takes a click once the hover has lit it: clicked until the window goes.
report_closed() {
  xdotool mousemove $((X + 452)) $((Y + 6))
  sleep 0.4
  xdotool click 1
  e2e_until 2 eval '! e2e_visible "^Games - Quarvel$"'
}
e2e_until "$E2E_LIMIT" report_closed || fail "the games window did not close"

e2e_open_viewer
at() { viewer_at "$@"; }
viewer_lists() { probe_is "$1" list 'Pcx Viewer - Quarvel'; }
e2e_until "$E2E_LIMIT" eval '[ "$(probe list "Pcx Viewer - Quarvel" | wc -l)" = 3 ]' ||
  fail "the viewer does not list all three snapshots: $(probe list 'Pcx Viewer - Quarvel')"

at 400 16  # the choice: the current game's snapshots only
xdotool click 1
xdotool key Down Return
e2e_until "$E2E_LIMIT" viewer_lists Snap0002.Pcx ||
  fail "Three Wonders' own list is not its one snapshot: $(probe list 'Pcx Viewer - Quarvel')"
picture() { e2e_shot "$1" $((VX - MAIN_X + 130)) $((VY - MAIN_Y + 30)) 380 220; }
picture viewer-empty
at 30 38  # show it
xdotool click 1
e2e_until "$E2E_LIMIT" eval 'picture viewer-shown; e2e_differ viewer-empty viewer-shown' ||
  fail "the game's snapshot did not show"
at 300 20
import -window root -crop "521x285+$VX+$VY" +repage "$shots/viewer-game.png"

xdotool key Delete
# The question bears the viewer's title: a second window of that title.
viewer_windows() { xdotool search --onlyvisible --name '^Pcx Viewer - Quarvel$' 2>/dev/null | wc -l; }
e2e_until "$E2E_LIMIT" eval '[ "$(viewer_windows)" -ge 2 ]' || fail "Delete asked nothing"
xdotool key Return  # "Yes", the default answer
e2e_until "$E2E_LIMIT" eval '[ ! -e "$drive_c/Pcx/Snap0002.Pcx" ]' ||
  fail "the Delete key did not delete the snapshot"
e2e_until "$E2E_LIMIT" viewer_lists "" || fail "the game's list still shows a file"
kept=$("$QV_WINE" reg query 'HKCU\Software\Ostrel\Quarvel\3wonders' /v Played_Snaps 2>/dev/null | tr -d '\r')
grep -q 'Snap0002' <<<"$kept" && fail "the deleted file stayed in Three Wonders' record: $kept"
[ -e "$drive_c/Pcx/Snap0000.Pcx" ] && [ -e "$drive_c/Pcx/Snap0001.Pcx" ] ||
  fail "Final Fight's snapshots went too"

at 510 8  # the exit image hides the viewer
xdotool click 1
e2e_until "$E2E_LIMIT" eval '! e2e_visible "^Pcx Viewer - Quarvel$"' || fail "the viewer did not hide"

# Final Fight current, its own snapshots listed; then the folder is away for
# a moment (a drive unplugged) while the viewer lists it, and back again.
e2e_pointer 68 219
xdotool click 1
e2e_until "$E2E_LIMIT" focus_on "Final Fight" || fail "Final Fight was not selected"
e2e_open_viewer
ff_shots=$'Snap0000.Pcx\nSnap0001.Pcx'
e2e_until "$E2E_LIMIT" viewer_lists "$ff_shots" ||
  fail "Final Fight's own list is not its two snapshots: $(probe list 'Pcx Viewer - Quarvel')"
# Another window in front for a moment, then a click on the viewer's picture:
# activated again, the viewer lists its folder afresh.
relist() {
  probe front 1 >/dev/null
  at 300 150
  xdotool click 1
}
rm -rf "$drive_c/Pcx-away"
mv "$drive_c/Pcx" "$drive_c/Pcx-away"
relist
e2e_until "$E2E_LIMIT" viewer_lists "" || fail "the viewer lists a folder that is away"
mv "$drive_c/Pcx-away" "$drive_c/Pcx"
relist
e2e_until "$E2E_LIMIT" viewer_lists "$ff_shots" ||
  fail "Final Fight lost its snapshots while the folder was away: $(probe list 'Pcx Viewer - Quarvel')"
kept=$("$QV_WINE" reg query 'HKCU\Software\Ostrel\Quarvel\FFIGHT' /v Played_Snaps 2>/dev/null | tr -d '\r')
grep -q 'Snap0000.*Snap0001' <<<"$kept" || fail "Final Fight's record lost its snapshots: $kept"
at 510 8
xdotool click 1
e2e_exit
echo "play history end to end: passed"
