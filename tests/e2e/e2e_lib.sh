# Helpers for the end-to-end tests: they drive the real Quarvel.exe under Wine
# with real pointer input (xdotool) and look at the screen (ImageMagick).
# Needs DISPLAY, WINEPREFIX and QV_WINE, as set by scripts/wine-session.sh.
set -euo pipefail

E2E_WORK=$(mktemp -d)
E2E_PID=""
E2E_CODE=""
e2e_cleanup() {
  if [ -n "$E2E_PID" ]; then kill "$E2E_PID" 2>/dev/null || true; fi
  rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

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
  (cd "$emu" && exec "$QV_WINE" Quarvel.exe) &
  E2E_PID=$!
  MAIN_WID=$(e2e_wait_window '^Ravlen Front/End$' 100) || fail "the main window did not appear"
  e2e_locate
  sleep 1  # let the start-up finish painting
}

# e2e_wait_window TITLE-REGEX [TENTHS]: echoes the id of the visible window
# of that title once it shows (within 5 seconds unless told); fails if none.
e2e_wait_window() {
  local i wid=""
  for i in $(seq 1 "${2:-50}"); do
    wid=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  [ -n "$wid" ] && echo "$wid"
}

# e2e_locate: reads where the main window is now.
e2e_locate() {
  eval "$(xdotool getwindowgeometry --shell "$MAIN_WID")"
  MAIN_X=$X MAIN_Y=$Y
}

# e2e_shot NAME X Y W H: a picture of a region of the main window (client pixels).
e2e_shot() {
  import -window root -crop "$4x$5+$((MAIN_X + $2))+$((MAIN_Y + $3))" +repage "$E2E_WORK/$1.png"
}

# e2e_differ A B: true when two shots differ in more than a few pixels.
e2e_differ() {
  local n
  n=$(compare -metric AE "$E2E_WORK/$1.png" "$E2E_WORK/$2.png" null: 2>&1 || true)
  [ "${n%%.*}" -gt 20 ]
}

# e2e_pointer X Y: moves the pointer to a client point of the main window.
e2e_pointer() { xdotool mousemove "$((MAIN_X + $1))" "$((MAIN_Y + $2))"; sleep 0.4; }

# e2e_exit: clicks the exit image and checks that Quarvel ends with code 0.
e2e_exit() {
  e2e_pointer 364 60
  xdotool click 1
  e2e_wait_exit
  [ "$E2E_CODE" = 0 ] || fail "exit code $E2E_CODE"
}

# e2e_wait_exit: waits for Quarvel to end and sets E2E_CODE to its exit code.
# Not to be called in $(...): a subshell cannot wait for this shell's child.
e2e_wait_exit() {
  local i
  for i in $(seq 1 100); do
    kill -0 "$E2E_PID" 2>/dev/null || break
    sleep 0.1
  done
  E2E_CODE=0
  wait "$E2E_PID" || E2E_CODE=$?
  E2E_PID=""
}

# e2e_runs: how many runs the stand-in emulator has made (one snapshot each, in
# the snapshot folder as it stands on a first start).
e2e_runs() { find "$WINEPREFIX/drive_c/Pcx" -name 'Snap*.Pcx' 2>/dev/null | wc -l; }

# e2e_wait_runs N: waits up to ten seconds for the stand-in's Nth run.
e2e_wait_runs() {
  local i
  for i in $(seq 1 100); do
    [ "$(e2e_runs)" -ge "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# e2e_wait_launch_end: waits until a launch has run and cleaned up after it.
e2e_wait_launch_end() {
  local temp="$WINEPREFIX/drive_c/windows/temp" i
  for i in $(seq 1 300); do
    if [ ! -e "$temp/Quarvel.InI" ] && [ ! -e "$temp/QV95-TMP" ] &&
      ! xdotool search --onlyvisible --name '^Wait$' >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  fail "the launch did not end"
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
