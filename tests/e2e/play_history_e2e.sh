#!/usr/bin/env bash
# Play history and each game's own snapshots end to end: Final Fight is played
# twice and Three Wonders once on the stand-in emulator (one snapshot a run);
# the games window's "Copy list" text tells each game's runs; the snapshot
# viewer, switched to the current game's snapshots, lists Three Wonders' one
# file; the Delete key, confirmed, deletes it and it leaves the game's record.
#   play_history_e2e.sh QUARVEL_EXE STAND_IN_EXE WINDOW_PROBE_EXE [SHOTS_FOLDER]
source "$(dirname "$0")/e2e_lib.sh"

probe_exe=$3
shots=${4:-$E2E_WORK}
e2e_demo_folder qv-played "$2"
e2e_start "$1" "$emu"
probe() { "$QV_WINE" "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }

# play Y CLICKS: clicks the game button at Y (once when it is selected
# already, twice otherwise) and waits for the run and its clean-up.
play() {
  local runs
  runs=$(e2e_runs) || true  # no snapshot folder before the first run
  e2e_pointer 68 "$1"
  for _ in $(seq 1 "$2"); do
    xdotool click 1
    sleep 1
  done
  e2e_wait_runs $((runs + 1)) || fail "the game at $1 did not run"
  e2e_wait_launch_end
  sleep 0.5
}
play 219 2  # Final Fight: select, then play
play 219 1  # and again
play 150 2  # Three Wonders

e2e_pointer 116 104  # the games counter
xdotool click 1
report=$(e2e_wait_window '^Games - Quarvel$') || fail "the games window did not open"
eval "$(xdotool getwindowgeometry --shell "$report")"
xdotool mousemove $((X + 139)) $((Y + 340)) click 1  # "Copy list"
sleep 0.5
xdotool mousemove $((X + 300)) $((Y + 12))
sleep 0.3
import -window root -crop "460x360+$X+$Y" +repage "$shots/games-history.png"
copied=$(probe clipboard)
when='[0-9]+ s, last [0-9]{1,2} [A-Z][a-z]{2} 20[0-9]{2} [0-9]{2}:[0-9]{2}$'
grep -Eq "^Final Fight: .* - played 2 times, $when" <<<"$copied" ||
  fail "the copied list does not tell Final Fight's two runs: $copied"
grep -Eq "^Three Wonders: .* - played once, $when" <<<"$copied" ||
  fail "the copied list does not tell Three Wonders' run: $copied"
grep -Eq "^Strider: .* - never played$" <<<"$copied" || fail "Strider should never have been played"
xdotool mousemove $((X + 452)) $((Y + 6))
sleep 0.4
xdotool click 1  # the exit picture

e2e_open_viewer
at() { viewer_at "$@"; }
[ "$(probe list 'Pcx Viewer - Quarvel' | wc -l)" = 3 ] || fail "the viewer does not list all three snapshots"

at 400 16  # the choice: the current game's snapshots only
xdotool click 1
sleep 0.5
xdotool key Down Return
sleep 0.5
[ "$(probe list 'Pcx Viewer - Quarvel')" = Snap0002.Pcx ] ||
  fail "Three Wonders' own list is not its one snapshot: $(probe list 'Pcx Viewer - Quarvel')"
at 30 38  # show it
xdotool click 1
sleep 1
at 300 20
import -window root -crop "521x285+$VX+$VY" +repage "$shots/viewer-game.png"

at 30 38
xdotool click 1
sleep 0.5
xdotool key Delete
sleep 1
xdotool key y  # "&Yes" to the question how many files go
for _ in $(seq 1 30); do
  [ -e "$drive_c/Pcx/Snap0002.Pcx" ] || break
  sleep 0.1
done
[ -e "$drive_c/Pcx/Snap0002.Pcx" ] && fail "the Delete key did not delete the snapshot"
[ -z "$(probe list 'Pcx Viewer - Quarvel')" ] || fail "the game's list still shows a file"
kept=$("$QV_WINE" reg query 'HKCU\Software\Ostrel\Quarvel\3wonders' /v Played_Snaps 2>/dev/null | tr -d '\r')
grep -q 'Snap0002' <<<"$kept" && fail "the deleted file stayed in Three Wonders' record: $kept"
[ -e "$drive_c/Pcx/Snap0000.Pcx" ] && [ -e "$drive_c/Pcx/Snap0001.Pcx" ] ||
  fail "Final Fight's snapshots went too"

at 510 8  # the exit image hides the viewer
xdotool click 1
e2e_exit
echo "play history end to end: passed"
