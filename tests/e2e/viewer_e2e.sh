#!/usr/bin/env bash
# The snapshot viewer end to end: the stand-in emulator writes a snapshot, a
# click on the snapshot folder opens the viewer, a click on the file shows
# it, and "&Save to Gif" from the list's popup menu writes it through the
# save dialog; the GIF holds the snapshot's pixels (ImageMagick reads both).
# QV_E2E_DPI=192 runs it all at 200 % display scaling (e2e.viewer_192).
#   viewer_e2e.sh QUARVEL_EXE STAND_IN_EXE [SHOTS_FOLDER]
source "$(dirname "$0")/e2e_lib.sh"

shots=${3:-$E2E_WORK}
e2e_demo_folder qv-view "$2"
e2e_start "$1" "$emu"

e2e_select_game 68 219  # Final Fight: select, then play
xdotool click 1
e2e_wait_runs 1 || fail "the emulator left no snapshot"
e2e_wait_launch_end

e2e_open_viewer
at() { viewer_at "$@"; }

at 30 38                # the first file of the list
xdotool click 1
at 300 8                # off the picture and the exit image
# The picture area shows the test card, not black.
viewer_crop="$(px 521)x$(px 285)+$VX+$VY"
picture_colours() {
  import -window root -crop "$viewer_crop" +repage "$shots/viewer.png"
  colours=$(convert "$shots/viewer.png" -crop "$(px 384)x$(px 224)+$(px 128)+$(px 32)" +repage \
    -unique-colors -format %w info:)
  [ "$colours" -gt 8 ]
}
e2e_until "$E2E_LIMIT" picture_colours || fail "the viewer shows no picture ($colours colours)"

at 30 38
viewer_shot() { import -window root -crop "$viewer_crop" +repage "$E2E_WORK/$1.png"; }
viewer_shot before-menu
xdotool click 3
menu_open() { viewer_shot viewer-menu && e2e_differ before-menu viewer-menu; }
e2e_until "$E2E_LIMIT" menu_open || fail "the list's menu did not open"
cp "$E2E_WORK/viewer-menu.png" "$shots/viewer-menu.png" 2>/dev/null || true
xdotool key s           # "&Save to Gif"
save=$(e2e_wait_window '^Save As$') || fail "the save dialog did not open"
# Typed once the dialog has drawn itself whole (and put the focus in its name field).
eval "$(xdotool getwindowgeometry --shell "$save")"
MAIN_X=$X MAIN_Y=$Y e2e_settle save 0 0 "$WIDTH" "$HEIGHT" || fail "the save dialog never settled"
xdotool type --delay 20 'C:\Pcx\first'
xdotool key Return
e2e_until "$E2E_LIMIT" eval '[ -e "$drive_c/Pcx/first.Gif" ]' || fail "no GIF file was written"
[ "$(compare -metric AE "$drive_c/Pcx/Snap0000.Pcx" "$drive_c/Pcx/first.Gif" null: 2>&1)" = 0 ] ||
  fail "the GIF file does not hold the snapshot's pixels"

# The exit image hides the viewer; it takes the click once it is lit.
viewer_exit_clicked() {
  at 510 8
  xdotool click 1
  e2e_until 2 eval '! e2e_visible "^Pcx Viewer - Quarvel$"'
}
e2e_until "$E2E_LIMIT" viewer_exit_clicked || fail "the viewer stayed open"

e2e_exit
echo "viewer end to end: passed"
