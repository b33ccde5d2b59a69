#!/usr/bin/env bash
# What impatient users do to a launch: a burst of clicks on a zipped game gives
# one run; Re-Scan clicked while the game unpacks neither rescans nor takes the
# wait window away mid-launch; a later click on the same game runs it again.
#   launch_burst_e2e.sh QUARVEL_EXE STAND_IN_EXE
source "$(dirname "$0")/e2e_lib.sh"

e2e_emulator_folder "qv-burst-$$"
# Magic Sword alone, as an archive of 24 MB that takes a while to unpack.
python3 - "$emu/MSword.ZIP" <<'EOF'
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED, compresslevel=1) as z:
    for name in ("ms_30.rom", "ms_35.rom", "ms_gfx.rom"):
        z.writestr(name, os.urandom(8 << 20))
EOF
cp "$2" "$emu/ravlen.exe"
export RAVLEN_STANDIN_NO_WINDOW=1 RAVLEN_STANDIN_SECONDS=2
e2e_start "$1" "$emu"

game_x=68 game_y=154  # the one game button
e2e_select_game "$game_x" "$game_y"

# Five clicks 40 ms apart: the first launches, the rest arrive during the launch.
xdotool click --repeat 5 --delay 40 1
e2e_wait_launch_end
# A panel click is handled after every click before it: had one of the burst
# been left over, its launch would be under way by then.
e2e_show_panel 272
[ "$(e2e_runs)" = 1 ] || fail "a burst of five clicks gave $(e2e_runs) runs"
e2e_visible '^Wait$' && fail "a further launch started after the burst"

# Re-Scan clicked while the game unpacks: the launch goes on with its wait
# window up, and nothing else starts.
runs=$(e2e_runs)
e2e_pointer "$game_x" "$game_y"
xdotool click 1
sleep 0.1  # Re-Scan follows while the game unpacks
e2e_pointer 44 104
xdotool click 1
e2e_wait_runs $((runs + 1)) || fail "the launch did not run after Re-Scan was clicked during it"
xdotool search --onlyvisible --name '^Wait$' >/dev/null ||
  fail "the wait window was taken away during the run: Re-Scan ran mid-launch"
e2e_wait_launch_end
kill -0 "$E2E_PID" 2>/dev/null || fail "Quarvel ended during the launch"

# The next deliberate click on the same game runs it again.
e2e_pointer "$game_x" "$game_y"
xdotool click 1
e2e_wait_runs $((runs + 2)) || fail "a later click did not run the game again"
e2e_wait_launch_end

e2e_exit
echo "launch burst end to end: passed"
