#!/usr/bin/env bash
# One Quarvel at a time: a second copy brings the running one forward (restored
# when minimised, its message box when it shows one) and ends with exit code 1;
# of two copies started together exactly one runs on.
#   single_instance_e2e.sh QUARVEL_EXE WINDOW_PROBE_EXE
source "$(dirname "$0")/e2e_lib.sh"
PROBE=$2
state() { "$QV_WINE" "$PROBE" state | tr -d '\r'; }
# state_has LINE...: true when each line is in the probe's report.
state_has() {
  local line
  PROBE_SAW=$(state)
  for line in "$@"; do
    grep -qxF "$line" <<<"$PROBE_SAW" || return 1
  done
}
# expect_state LINE...: waits until each line is in the probe's report (what a
# second copy asks of the running one is posted, and done when it is handled).
expect_state() {
  e2e_until "$E2E_LIMIT" state_has "$@" ||
    fail "expected '$*', the probe saw: $(tr '\n' ' ' <<<"$PROBE_SAW")"
}
# another_window: a window of another program takes the front for a while.
another_window() {
  "$QV_WINE" "$PROBE" front 20 >/dev/null 2>&1 &
  expect_state "foreground=QvWindowProbe|probe in front"
}
# second_copy: starts Quarvel again from its folder; it must end with code 1.
second_copy() {
  local code=0
  (cd "$E2E_WORK/emu" && timeout "$E2E_LIMIT" "$QV_WINE" Quarvel.exe) || code=$?
  [ "$code" = 1 ] || fail "a second copy ended with $code instead of 1 ($1)"
}

e2e_start "$1"
expect_state "copies=1" "main=shown normal"

# In front of another program's window.
another_window
second_copy "running copy behind another window"
expect_state "copies=1" "foreground=QuarvelMain|Ravlen Front/End" "main=shown normal"

# Minimised, as a window manager does it, and from the task bar button.
"$QV_WINE" "$PROBE" minimise
expect_state "main=shown minimised"
second_copy "running copy minimised"
expect_state "copies=1" "foreground=QuarvelMain|Ravlen Front/End" "main=shown normal"
"$QV_WINE" "$PROBE" minimise-app
expect_state "main=hidden normal"
second_copy "running copy minimised from the task bar"
expect_state "copies=1" "foreground=QuarvelMain|Ravlen Front/End" "main=shown normal"

# Showing a message box: the folder no longer holds the emulator, so choosing
# it again with "..." is refused with a message.
rm "$E2E_WORK/emu/ravlen.exe"
e2e_pointer 152 64
xdotool click 1
folder_dialog_up() { state_has "main=shown normal" && grep -q '^foreground=#32770|' <<<"$PROBE_SAW"; }
e2e_until "$E2E_LIMIT" folder_dialog_up || fail "the folder dialog did not open"
xdotool key Return
expect_state "foreground=#32770|Quarvel v1.01"
another_window
second_copy "running copy showing a message box"
expect_state "copies=1" "foreground=#32770|Quarvel v1.01"
import -window root "$E2E_WORK/box.png"
xdotool key Return
: > "$E2E_WORK/emu/ravlen.exe"
e2e_exit

# Two copies started at the same moment: exactly one runs on.
(cd "$E2E_WORK/emu" && exec "$QV_WINE" Quarvel.exe) &
first=$!
(cd "$E2E_WORK/emu" && exec "$QV_WINE" Quarvel.exe) &
second=$!
one_ended() { ! kill -0 "$first" 2>/dev/null || ! kill -0 "$second" 2>/dev/null; }
e2e_until "$E2E_LIMIT" one_ended || fail "both copies started together ran on"
e2e_wait_window '^Ravlen Front/End$' >/dev/null || fail "neither copy started together showed its window"
running=0 refused=0
for pid in "$first" "$second"; do
  if kill -0 "$pid" 2>/dev/null; then
    running=$((running + 1)) E2E_PID=$pid
  else
    code=0; wait "$pid" || code=$?
    [ "$code" = 1 ] && refused=$((refused + 1))
  fi
done
[ "$running" = 1 ] && [ "$refused" = 1 ] ||
  fail "of two copies started together $running ran on and $refused ended with code 1"
expect_state "copies=1" "main=shown normal"
MAIN_WID=$(xdotool search --onlyvisible --name '^Ravlen Front/End$' | head -n1)
e2e_locate
e2e_exit
echo "single instance end to end: passed"
