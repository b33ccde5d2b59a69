# Helpers for the end-to-end tests: they drive the real Quarvel.exe under Wine
# with real pointer input (xdotool) and look at the screen (ImageMagick).
# Needs DISPLAY, WINEPREFIX and QV_WINE, as set by scripts/wine-session.sh
# (under ctest, the session CTest gives: scripts/wine-slot.sh).
set -euo pipefail
# shellcheck source=../../scripts/wine-slot.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-slot.sh"

E2E_WORK=$(mktemp -d)
E2E_PID=""
E2E_CODE=""
# The display's DPI the test runs Quarvel at (QV_E2E_DPI, 96 by default: 100 %
# scaling). Coordinates in the tests are the 96-DPI design's; the helpers
# below scale them as the program does (ui/dpi_scale.h), edge by edge.
E2E_DPI=${QV_E2E_DPI:-96}
E2E_DPI_SET=""
e2e_cleanup() {
  if [ -n "$E2E_PID" ]; then kill "$E2E_PID" 2>/dev/null || true; fi
  if [ -n "$E2E_DPI_SET" ]; then
    "$QV_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 &&
      rm -f "$WINEPREFIX/qv-dpi-changed"
  fi
  rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# px N: a 96-DPI coordinate at the test's DPI, rounded to the nearest pixel.
px() { echo $(( ($1 * E2E_DPI * 2 + 96) / 192 )); }

# e2e_use_dpi: Wine reads the DPI when a program starts; from here on the
# programs this test starts run at E2E_DPI (put back to 96 at its end, or by
# the next test in the prefix if this one is ended first: wine-slot.sh).
e2e_use_dpi() {
  [ "$E2E_DPI" = 96 ] && return 0
  : >"$WINEPREFIX/qv-dpi-changed"
  E2E_DPI_SET=1
  "$QV_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$E2E_DPI" /f \
    >/dev/null 2>&1 || fail "could not set the DPI"
}

# How long any one step may take before it counts as failed, in seconds. Under
# load (two cores shared by several test runs) Wine can take half a minute to
# start a program; a step that is done returns at once, so the limit costs
# nothing when all is well.
E2E_LIMIT=${QV_E2E_LIMIT:-90}

# e2e_until SECONDS COMMAND...: runs COMMAND every tenth of a second until it
# succeeds (true) or SECONDS have passed (false).
e2e_until() {
  local limit=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$limit" ] || return 1
    sleep 0.1
  done
}

# e2e_visible TITLE-REGEX: true while a window of that title is shown.
e2e_visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# e2e_demo_folder NAME STAND_IN_EXE: makes the demo emulator folder C:\NAME-PID
# with the stand-in emulator, removed again (with the Saves and Pcx folders
# the stand-in writes) at exit; sets drive_c and emu.
e2e_demo_folder() {
  e2e_emulator_folder "$1-$$"
  python3 "$(dirname "${BASH_SOURCE[0]}")/../../tools/demo/make_demo.py" "$emu" >/dev/null
  cp "$2" "$emu/ravlen.exe"
  export RAVLEN_STANDIN_NO_WINDOW=1
}

# e2e_start EXE [FOLDER]: starts Quarvel as on a first start, from FOLDER (a
# folder of its own by default), which is then its emulator folder; sets
# MAIN_X, MAIN_Y.
e2e_start() {
  local emu=${2:-$E2E_WORK/emu}
  mkdir -p "$emu"
  cp "$1" "$emu/Quarvel.exe"
  # So that the scan finds an emulator.
  [ -e "$emu/ravlen.exe" ] || [ -e "$emu/Rvl023.zip" ] || : > "$emu/ravlen.exe"
  "$QV_WINE" reg delete 'HKCU\Software\Ostrel\Quarvel' /f >/dev/null 2>&1 || true
  e2e_use_dpi
  (cd "$emu" && exec "$QV_WINE" Quarvel.exe) &
  E2E_PID=$!
  MAIN_WID=$(e2e_wait_window '^Ravlen Front/End$') || {
    e2e_describe_start
    fail "the main window did not appear"
  }
  e2e_locate
  # The first show scans; the wait window goes when the scan is done.
  e2e_until "$E2E_LIMIT" eval '! e2e_visible "^Wait$"' || fail "the start-up scan did not end"
  e2e_settle main 0 0 400 395 || fail "the main window never stopped changing"
}

# e2e_describe_start: what there is to see when Quarvel shows no main window,
# for the test's log: whether it still runs, and the windows on show.
e2e_describe_start() {
  if kill -0 "$E2E_PID" 2>/dev/null; then echo "Quarvel still runs" >&2
  else echo "Quarvel has ended" >&2; fi
  local wid
  for wid in $(xdotool search --onlyvisible --name '' 2>/dev/null || true); do
    echo "on show: \"$(xdotool getwindowname "$wid" 2>/dev/null || true)\"" >&2
  done
}

# e2e_wait_window TITLE-REGEX [SECONDS]: echoes the id of the visible window
# of that title once it shows (within E2E_LIMIT seconds unless told); fails
# if none.
e2e_wait_window() {
  local limit=$((SECONDS + ${2:-$E2E_LIMIT})) wid=""
  while [ -z "$wid" ]; do
    wid=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
    [ "$SECONDS" -lt "$limit" ] || return 1
    sleep 0.1
  done
  echo "$wid"
}

# e2e_locate: reads where the main window is now.
e2e_locate() {
  eval "$(xdotool getwindowgeometry --shell "$MAIN_WID")"
  MAIN_X=$X MAIN_Y=$Y
}

# e2e_shot NAME X Y W H: a picture of a region of the main window (client
# coordinates of the 96-DPI design).
e2e_shot() {
  local x y w h
  x=$(px "$2") y=$(px "$3") w=$(( $(px $(($2 + $4))) - $(px "$2") )) h=$(( $(px $(($3 + $5))) - $(px "$3") ))
  import -window root -crop "${w}x${h}+$((MAIN_X + x))+$((MAIN_Y + y))" +repage "$E2E_WORK/$1.png"
}

# e2e_differ A B: true when two shots differ in more than a few pixels.
e2e_differ() {
  local n
  n=$(compare -metric AE "$E2E_WORK/$1.png" "$E2E_WORK/$2.png" null: 2>&1 || true)
  [ "${n%%.*}" -gt 20 ]
}

# e2e_shot_until differs|matches REF NAME X Y W H: takes the shot NAME of that
# region again and again until it differs from (or matches) the shot REF;
# false if it never does within E2E_LIMIT seconds.
e2e_shot_until() {
  local want=$1 ref=$2 name=$3
  shift 3
  e2e_until "$E2E_LIMIT" e2e_shot_compares "$want" "$ref" "$name" "$@"
}
e2e_shot_compares() {
  e2e_shot "$3" "$4" "$5" "$6" "$7"
  if [ "$1" = differs ]; then e2e_differ "$2" "$3"; else ! e2e_differ "$2" "$3"; fi
}

# e2e_settle NAME X Y W H: waits until two shots of the region a fifth of a
# second apart are the same (the window has painted what it had to).
e2e_settle() {
  local name=$1
  shift
  e2e_shot "$name-settle" "$@"
  e2e_until "$E2E_LIMIT" e2e_settled "$name" "$@"
}
e2e_settled() {
  local name=$1
  shift
  sleep 0.2
  cp "$E2E_WORK/$name-settle.png" "$E2E_WORK/$name-before.png"
  e2e_shot "$name-settle" "$@"
  ! e2e_differ "$name-before" "$name-settle"
}

# e2e_pointer X Y: moves the pointer to a client point of the main window,
# giving the 100 ms hover timer time to light what is under it.
e2e_pointer() { xdotool mousemove "$((MAIN_X + $(px "$1")))" "$((MAIN_Y + $(px "$2")))"; sleep 0.4; }

# e2e_exit: clicks the exit image and checks that Quarvel ends with code 0. An
# image takes a click only once the hover timer has lit it, so under load a
# click may come too early: it is repeated until the program has ended.
e2e_exit() {
  e2e_until "$E2E_LIMIT" e2e_exit_clicked || fail "the exit image did not end Quarvel"
  e2e_wait_exit
  [ "$E2E_CODE" = 0 ] || fail "exit code $E2E_CODE"
}
e2e_exit_clicked() {
  e2e_pointer 364 60
  xdotool click 1
  e2e_until 3 eval '! kill -0 "$E2E_PID" 2>/dev/null'
}

# e2e_wait_exit: waits for Quarvel to end and sets E2E_CODE to its exit code.
# Not to be called in $(...): a subshell cannot wait for this shell's child.
e2e_wait_exit() {
  e2e_until "$E2E_LIMIT" eval '! kill -0 "$E2E_PID" 2>/dev/null' || true
  E2E_CODE=0
  wait "$E2E_PID" || E2E_CODE=$?
  E2E_PID=""
}

# e2e_runs: how many runs the stand-in emulator has made (one snapshot each, in
# the snapshot folder as it stands on a first start).
e2e_runs() { find "$WINEPREFIX/drive_c/Pcx" -name 'Snap*.Pcx' 2>/dev/null | wc -l; }

# e2e_wait_runs N: waits for the stand-in's Nth run.
e2e_wait_runs() { e2e_until "$E2E_LIMIT" eval '[ "$(e2e_runs)" -ge '"$1"' ]'; }

# e2e_wait_launch_end: waits until a launch has run and cleaned up after it.
e2e_wait_launch_end() {
  e2e_until "$E2E_LIMIT" e2e_launch_ended || fail "the launch did not end"
}
e2e_launch_ended() {
  local temp="$WINEPREFIX/drive_c/windows/temp"
  [ ! -e "$temp/Quarvel.InI" ] && [ ! -e "$temp/QV95-TMP" ] && ! e2e_visible '^Wait$'
}

# e2e_message_box: echoes the window id of a message box of Quarvel that is up
# (the hidden application window, 1x1, bears the same title).
e2e_message_box() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Quarvel v1.01$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if [ "$WIDTH" -gt 1 ]; then echo "$w"; return 0; fi
  done
  return 1
}

# e2e_emulator_folder NAME: makes "$WINEPREFIX/drive_c/NAME" anew as $emu, the
# emulator folder, and removes it, with the save and snapshot folders of a
# first start, when the test ends. Sets drive_c too.
e2e_emulator_folder() {
  drive_c="$WINEPREFIX/drive_c"
  emu="$drive_c/$1"
  e2e_remove_folders
  mkdir -p "$emu"
  trap 'e2e_remove_folders; e2e_cleanup' EXIT
}
e2e_remove_folders() { rm -rf "$emu" "$drive_c/Saves" "$drive_c/Pcx"; }


# The panel area of the main window, in client pixels.
E2E_PANELS="147 120 255 265"

# e2e_select_game X Y: a first click on the game button at X Y; returns once
# it was handled, that is once the players panel has come forward.
e2e_select_game() {
  # shellcheck disable=SC2086
  e2e_shot before-select $E2E_PANELS
  e2e_pointer "$1" "$2"
  xdotool click 1
  # shellcheck disable=SC2086
  e2e_shot_until differs before-select selected $E2E_PANELS ||
    fail "the click on the game at $1,$2 did not select it"
}

# e2e_show_panel X: clicks the panel button at X (client) and waits until the
# panel area has changed. An image button takes a click only once the hover
# timer has lit it, so the click is repeated until it has been taken.
e2e_show_panel() {
  # shellcheck disable=SC2086
  e2e_shot before-panel $E2E_PANELS
  e2e_until "$E2E_LIMIT" e2e_panel_clicked "$1" || fail "the panel button at $1 showed no panel"
}
e2e_panel_clicked() {
  e2e_pointer "$1" 100
  xdotool click 1
  # shellcheck disable=SC2086
  e2e_until 2 e2e_shot_compares differs before-panel after-panel $E2E_PANELS
}

# e2e_wait_at WINDOW X Y: waits until the window's top left is at X Y.
e2e_wait_at() { e2e_until "$E2E_LIMIT" e2e_is_at "$@"; }
e2e_is_at() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  [ "$X" = "$2" ] && [ "$Y" = "$3" ]
}

# e2e_wine_runs REGEX: true while a program whose command line matches runs in
# this test's Wine prefix (other prefixes on the machine do not count).
e2e_wine_runs() {
  local pid
  for pid in $(pgrep -f "$1" 2>/dev/null); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}

# e2e_open_viewer: from the main window, brings the options panel forward and
# clicks the snapshot folder label; once the viewer shows, sets VX, VY (its
# place) and VIEWER_WID. viewer_at X Y then points at a client point of it.
e2e_open_viewer() {
  e2e_show_panel 176  # the options panel
  e2e_pointer 190 205  # the snapshot folder label
  xdotool click 1
  VIEWER_WID=$(e2e_wait_window '^Pcx Viewer - Quarvel$') || fail "the viewer did not open"
  eval "$(xdotool getwindowgeometry --shell "$VIEWER_WID")"
  VX=$X VY=$Y
}
viewer_at() { xdotool mousemove "$((VX + $(px "$1")))" "$((VY + $(px "$2")))"; sleep 0.3; }
