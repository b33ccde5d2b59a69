#!/usr/bin/env bash
# The GIF viewer driven by real keys: the animation runs, stops, and the
# picture is drawn at the top left, stretched, tiled and centred.
# Usage: gifview_e2e.sh GIFVIEW.EXE; with QV_E2E_SHOTS=DIR the shots are kept there.
source "$(dirname "$0")/e2e_lib.sh"

# ImageMagick's built-in 70 x 46 picture in three poses.
/usr/bin/convert -delay 20 -loop 0 rose: \( rose: -flop \) \( rose: -flip \) "$E2E_WORK/rose.gif"
cp "$1" "$E2E_WORK/gifview.exe"
(cd "$E2E_WORK" && exec "$QV_WINE" gifview.exe rose.gif) &
E2E_PID=$!

wid=$(e2e_wait_window '^GIF view - ') || fail "the viewer's window did not appear"
title() { xdotool getwindowname "$wid"; }
title_matches() { [[ "$(title)" =~ $1 ]]; }
# wait_title PATTERN: waits for the title, which tells the state, to match.
wait_title() { e2e_until "$E2E_LIMIT" title_matches "$1" || fail "title '$(title)' never matched '$1'"; }

wait_title 'rose.gif - frame 2/3 - speed 100% - animate'
wait_title 'frame 3/3'
wait_title 'frame 1/3'  # and round again

key() { xdotool key --window "$wid" "$1"; }
keep_shot() {
  if [ -n "${QV_E2E_SHOTS:-}" ]; then mkdir -p "$QV_E2E_SHOTS" && cp "$E2E_WORK/$1.png" "$QV_E2E_SHOTS/"; fi
}
# shot NAME: the window once it has painted its new state (two pictures alike).
shot_alike() {
  cp "$E2E_WORK/$1.png" "$E2E_WORK/$1-before.png"
  sleep 0.2
  import -window "$wid" "$E2E_WORK/$1.png"
  ! e2e_differ "$1-before" "$1"
}
shot() {
  import -window "$wid" "$E2E_WORK/$1.png"
  e2e_until "$E2E_LIMIT" shot_alike "$1" || fail "the window never settled for '$1'"
  keep_shot "$1"
}
# colour SHOT X Y: the colour of a pixel counted from the window's bottom right.
colour() {
  /usr/bin/convert "$E2E_WORK/$1.png" -gravity southeast -crop "1x1+$2+$3" +repage -format '%[pixel:p{0,0}]' info:
}

import -window "$wid" "$E2E_WORK/animated.png"  # changing: taken as it is
keep_shot animated
key a
wait_title 'frame 1/3 - speed 100% -$'
shot plain
background=$(colour plain 30 30)

key s
wait_title 'stretch$'
shot stretched
[ "$(colour stretched 30 30)" != "$background" ] || fail "stretched, the picture does not reach the far corner"

key s
key t
wait_title 'tile$'
shot tiled
[ "$(colour tiled 30 30)" != "$background" ] || fail "tiled, the picture does not reach the far corner"
e2e_differ tiled stretched || fail "tiled and stretched look the same"

key t
key c
wait_title 'centre$'
shot centred
[ "$(colour centred 30 30)" = "$background" ] || fail "centred, the far corner is not the background"
e2e_differ centred plain || fail "centred looks the same as at the top left"

key Right
wait_title 'frame 2/3'
# Escape closes the window on the key press: the release may find it gone.
xdotool key --window "$wid" Escape 2>/dev/null || true
e2e_wait_exit
[ "$E2E_CODE" = 0 ] || fail "exit code $E2E_CODE"
echo "gifview end to end: passed"
