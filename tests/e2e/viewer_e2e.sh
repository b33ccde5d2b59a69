#!/usr/bin/env bash
# The snapshot viewer end to end: the stand-in emulator writes a snapshot, a
# click on the snapshot folder opens the viewer, a click on the file shows
# it, and "&Save to Gif" from the list's popup menu writes it through the
# save dialog; the GIF holds the snapshot's pixels (ImageMagick reads both).
#   viewer_e2e.sh QUARVEL_EXE STAND_IN_EXE [SHOTS_FOLDER]
source "$(dirname "$0")/e2e_lib.sh"

shots=${3:-$E2E_WORK}
e2e_demo_folder qv-view "$2"
e2e_start "$1" "$emu"

e2e_pointer 68 219      # Final Fight: select, then play
xdotool click 1
sleep 1
xdotool click 1
for i in $(seq 1 100); do
  ls "$drive_c"/Pcx/Snap0000.Pcx >/dev/null 2>&1 && break
  sleep 0.2
done
[ -e "$drive_c/Pcx/Snap0000.Pcx" ] || fail "the emulator left no snapshot"
sleep 2

e2e_open_viewer
at() { viewer_at "$@"; }

at 30 38                # the first file of the list
xdotool click 1
sleep 1
at 300 8                # off the picture and the exit image
import -window root -crop "521x285+$VX+$VY" +repage "$shots/viewer.png"
# The picture area shows the test card, not black.
colours=$(convert "$shots/viewer.png" -crop 384x224+128+32 +repage -unique-colors -format %w info:)
[ "$colours" -gt 8 ] || fail "the viewer shows no picture ($colours colours)"

at 30 38
xdotool click 3
sleep 0.5
import -window root -crop "521x285+$VX+$VY" +repage "$shots/viewer-menu.png"
xdotool key s           # "&Save to Gif"
e2e_wait_window '^Save As$' >/dev/null || fail "the save dialog did not open"
sleep 0.5
xdotool type --delay 20 'C:\Pcx\first'
xdotool key Return
for i in $(seq 1 50); do
  [ -e "$drive_c/Pcx/first.Gif" ] && break
  sleep 0.1
done
[ -e "$drive_c/Pcx/first.Gif" ] || fail "no GIF file was written"
[ "$(compare -metric AE "$drive_c/Pcx/Snap0000.Pcx" "$drive_c/Pcx/first.Gif" null: 2>&1)" = 0 ] ||
  fail "the GIF file does not hold the snapshot's pixels"

at 510 8                # the exit image hides the viewer
xdotool click 1
sleep 0.5
xdotool search --onlyvisible --name '^Pcx Viewer - Quarvel$' >/dev/null 2>&1 && fail "the viewer stayed open"

e2e_exit
echo "viewer end to end: passed"
