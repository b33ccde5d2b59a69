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

wid=""
for i in $(seq 1 300); do  # Wine can be slow to start on a busy machine
  wid=$(xdotool search --onlyvisible --name '^GIF view - ' 2>/dev/null | head -n1 || true)
  [ -n "$wid" ] && break
  sleep 0.1
done
[ -n "$wid" ] || fail "the viewer's window did not appear"
title() { xdotool getwindowname "$wid"; }
# wait_title PATTERN: waits up to 5 s for the title to match.
wait_title() {
  for i in $(seq 1 50); do
    [[ "$(title)" =~ $1 ]] && return 0
    sleep 0.1
  done
  fail "title '$(title)' never matched '$1'"
}

wait_title 'rose.gif - frame 2/3 - speed 100% - animate'
wait_title 'frame 3/3'
wait_title 'frame 1/3'  # and round again

key() { xdotool key --window "$wid" "$1"; sleep 0.4; }
shot() {
  import -window "$wid" "$E2E_WORK/$1.png"
  if [ -n "${QV_E2E_SHOTS:-}" ]; then mkdir -p "$QV_E2E_SHOTS" && cp "$E2E_WORK/$1.png" "$QV_E2E_SHOTS/"; fi
}
# colour SHOT X Y: the colour of a pixel counted from the window's bottom right.
colour() {
  /usr/bin/convert "$E2E_WORK/$1.png" -gravity southeast -crop "1x1+$2+$3" +repage -format '%[pixel:p{0,0}]' info:
}

shot animated
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
