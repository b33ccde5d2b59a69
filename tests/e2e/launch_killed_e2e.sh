#!/usr/bin/env bash
# Quarvel ended the hard way (as by the task manager, a crash or a power cut)
# while the emulator plays Street Fighter 2 CE from its folder with the files
# swapped: the emulator finishes, and the next start puts every name back and
# clears the unpacked emulator and the options file left behind.
#   launch_killed_e2e.sh QUARVEL_EXE STAND_IN_EXE
source "$(dirname "$0")/e2e_lib.sh"

e2e_emulator_folder "qv-killed-$$"
windows_temp="$drive_c/windows/temp"
mkdir "$emu/SF2t"
names="SF2.21 SF2.22 SF2.23 Sf2Ce.21 Sf2Ce.22 Sf2Ce.23"
for name in $names; do echo "contents of $name" > "$emu/SF2t/$name"; done
# The emulator zipped, so that the run unpacks it into the temp folder.
python3 - "$emu/Rvl023.zip" "$2" <<'EOF'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.write(sys.argv[2], "ravlen.exe")
EOF
export RAVLEN_STANDIN_NO_WINDOW=1 RAVLEN_STANDIN_SECONDS=4
e2e_start "$1" "$emu"

e2e_select_game 68 154  # Street Fighter 2 CE, the first of the two SF2t buttons
xdotool click 1
e2e_wait_runs 1 || fail "the emulator did not run"
[ -e "$emu/SF2t/_SF2.21" ] && [ ! -e "$emu/SF2t/Sf2Ce.21" ] ||
  fail "the files were not swapped during the run: $(ls "$emu/SF2t")"

kill -KILL "$E2E_PID"
wait "$E2E_PID" 2>/dev/null || true
E2E_PID=""
# The emulator plays on and ends; the next start must find it gone.
e2e_until "$E2E_LIMIT" eval '! e2e_wine_runs "QV95-TMP.ravlen"' || fail "the emulator did not end"
[ -e "$windows_temp/QV95-TMP/ravlen.exe" ] || fail "the killed run left no unpacked emulator to clear"
[ -e "$windows_temp/Quarvel.InI" ] || fail "the killed run left no options file to clear"
[ -e "$emu/SF2t/_SF2.21" ] || fail "the names were back before the next start"

e2e_start "$1" "$emu"
for name in $names; do
  [ "$(cat "$emu/SF2t/$name" 2>/dev/null)" = "contents of $name" ] ||
    fail "$name was not put back: $(ls "$emu/SF2t")"
done
[ "$(ls "$emu/SF2t" | wc -l)" = 6 ] || fail "stray names in SF2t: $(ls "$emu/SF2t")"
[ -e "$windows_temp/QV95-TMP" ] && fail "the temp folder was left behind"
[ -e "$windows_temp/Quarvel.InI" ] && fail "the options file was left behind"
[ -e "$windows_temp/Quarvel.jnl" ] && fail "the rename journal was left behind"
e2e_message_box >/dev/null && fail "a message box came up at the start"

e2e_exit
echo "killed front end end to end: passed"
