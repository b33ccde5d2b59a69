#!/usr/bin/env bash
# A long series of launches by real clicks, as a player goes from one game to
# another on a busy machine: a game kept as a folder (Final Fight) and a zipped
# one (Final Fight (JAP)) in turn, from the demo emulator folder, with the
# stand-in emulator. Each launch is judged by what the stand-in recorded (a line
# as each run starts, RAVLEN_STANDIN_LOG) and by what Quarvel did and showed
# (its launch steps on the debug output, its message boxes):
#   ran     the emulator started and no message box came up
#   told    a message box came up (its picture is kept)
#   SILENT  neither, or the stand-in refused to run (a non-zero exit code): the
#           player clicked Play and nothing happened, without a word
#   lost    the click started no launch at all (clicked again)
#
#   bench/launch_soak.sh QUARVEL_EXE STAND_IN_EXE [LAUNCHES [BUSY]]
#
# LAUNCHES: 100 unless told. BUSY: how many busy loops keep the processors
# occupied meanwhile, 2 unless told (0 for a quiet machine); QV_SOAK_WORK, a
# shell command, gives them real work to repeat instead. Runs in the
# session of scripts/wine-session.sh it is started in (DISPLAY, WINEPREFIX,
# QV_WINE), or in one of its own. Exit code 1 when any launch was SILENT.
# RAVLEN_STANDIN_STATUS=0xC0000142 in the environment makes every run end as
# one the system ends as it starts: each launch must then be told.
#
# Kept in QV_SOAK_LOG (build/launch-soak by default): summary.txt (one line a
# launch and the counts), trace.log (every launch step of Quarvel and its
# result, time-stamped by Wine), starts.log (the stand-in's runs), and per
# launch launches/NNN.log (its steps and runs) and box-NNN.png.
here=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${QV_WINE:-}" ]; then
  source "$here/scripts/wine-session.sh"
  qv_start_display force
  qv_start_wine "$here/build/soak-prefix"
  own_session=1
fi
source "$here/tests/e2e/e2e_lib.sh"

quarvel=$1 standin=$2 launches=${3:-100} busy=${4:-2}
out=${QV_SOAK_LOG:-$here/build/launch-soak}
rm -rf "$out"
mkdir -p "$out/launches"
summary=$out/summary.txt trace=$out/trace.log

e2e_demo_folder qv-soak "$standin"
starts_win="C:\\qv-soak-$$-starts.log"
starts=$drive_c/qv-soak-$$-starts.log
rm -f "$starts"
export RAVLEN_STANDIN_LOG=$starts_win
# QV_SOAK_WINDOW=N: each run shows the stand-in's window for N seconds, as a
# game on the screen; without it the runs show nothing and end at once.
if [ -n "${QV_SOAK_WINDOW:-}" ]; then
  unset RAVLEN_STANDIN_NO_WINDOW
  export RAVLEN_STANDIN_SECONDS=$QV_SOAK_WINDOW
fi

busy_pids=()
soak_end() {
  local pid
  for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -e "$starts" ] && cp "$starts" "$out/starts.log"
  rm -f "$starts"
  e2e_remove_folders
  e2e_cleanup
  if [ -n "${own_session:-}" ]; then qv_stop_session; fi
}
trap soak_end EXIT

# Quarvel as on a first start, its launch steps going to the trace.
cp "$quarvel" "$emu/Quarvel.exe"
"$QV_WINE" reg delete 'HKCU\Software\Ostrel\Quarvel' /f >/dev/null 2>&1 || true
(cd "$emu" && WINEDEBUG=+timestamp,+pid,warn+debugstr exec "$QV_WINE" Quarvel.exe 2>"$trace") &
E2E_PID=$!
MAIN_WID=$(e2e_wait_window '^Ravlen Front/End$') || fail "the main window did not appear"
e2e_locate
e2e_until "$E2E_LIMIT" eval '! e2e_visible "^Wait$"' || fail "the start-up scan did not end"
e2e_settle main 0 0 400 395 || fail "the main window never stopped changing"

# Each busy worker runs QV_SOAK_WORK over and over (a shell command, for
# example a compile), or spins when none is given.
for _ in $(seq 1 "$busy"); do
  if [ -n "${QV_SOAK_WORK:-}" ]; then
    (while :; do bash -c "$QV_SOAK_WORK" >/dev/null 2>&1 || true; done) &
  else
    (while :; do :; done) &
  fi
  busy_pids+=($!)
done

# Lines of a file so far (0 when there is none yet).
lines() { if [ -e "$1" ]; then wc -l <"$1"; else echo 0; fi; }
runs_started() { if [ -e "$starts" ]; then grep -c '^start ' "$starts" || true; else echo 0; fi; }
# Runs of the interpreter that Quarvel saw end, or fail to start.
runs_seen() { grep -Ec 'Quarvel launch: run .* -> (ended|failed)' "$trace" || true; }
# A first click on the game at Y selects it: the players panel comes forward.
# Under load a click can go astray; it is tried again, a while later.
soak_select() {
  # shellcheck disable=SC2086
  e2e_shot before-select $E2E_PANELS
  for _ in 1 2 3; do
    e2e_pointer 68 "$1"
    xdotool click 1
    # shellcheck disable=SC2086
    e2e_until 20 e2e_shot_compares differs before-select selected $E2E_PANELS && return 0
  done
  import -window root "$out/select-failed.png"
  fail "three clicks on the game at 68,$1 did not select it"
}
soak_launch_begun() {
  [ "$(lines "$trace")" -gt "$trace_from" ] || e2e_message_box >/dev/null
}
# Each message box is kept as a picture and answered.
soak_answer_box() {
  local w
  w=$(e2e_message_box) || return 1
  # A box still up after an answer is the same one, not one more.
  if [ "$w" != "${answered:-}" ]; then
    told=$((told + 1))
    answered=$w
    import -window "$w" "$out/box-$n-$told.png" 2>/dev/null || true
  fi
  # Its OK button, at the middle of its foot (a key might go to another
  # window, as no window manager gives the box the focus), and the key too:
  # under load a click can come before the box takes it.
  for _ in 1 2 3; do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT - 22))" click 1
    e2e_until 5 eval '! e2e_message_box >/dev/null' && return 0
    xdotool key Return
  done
}
# The launch is over once the wait window has gone after its run or its
# message, and no box comes up a second later (a look at the windows can fail
# under load, and a box follows the run's end).
soak_launch_over() {
  soak_answer_box && return 1
  ! e2e_visible '^Wait$' && { [ "$(runs_seen)" -gt "$seen_before" ] || [ "$told" -gt 0 ]; } || return 1
  sleep 1
  ! soak_answer_box && ! e2e_visible '^Wait$'
}

selected=""
declare -A count=([ran]=0 [told]=0 [SILENT]=0 [lost]=0)
for i in $(seq 1 "$launches"); do
  if [ $((i % 2)) = 1 ]; then y=219 id=FFIGHT; else y=284 id=FFIGHTJ; fi
  if [ "$selected" != "$id" ]; then
    # From the options panel, so that the selection shows (the players panel
    # comes forward).
    [ -z "$selected" ] || e2e_show_panel 176
    soak_select "$y"
    selected=$id
    sleep 0.6  # the next click is a click of its own, not a double click
  fi
  n=$(printf '%03d' "$i")
  trace_from=$(lines "$trace") starts_from=$(lines "$starts")
  started_before=$(runs_started) seen_before=$(runs_seen)
  begun=$(date +%s.%N)
  told=0 clicks=0 answered=""
  # The launch has begun once Quarvel has traced a step of it (the wait window
  # may come and go between two looks) or shows a message (a refusal).
  until soak_launch_begun; do
    if [ "$clicks" -gt 0 ]; then count[lost]=$((count[lost] + 1)); fi
    [ "$clicks" -lt 5 ] || fail "launch $i: five clicks on $id started nothing"
    e2e_pointer 68 "$y"
    xdotool click 1
    clicks=$((clicks + 1))
    e2e_until 20 soak_launch_begun || true
  done
  # Until the wait window is gone, answering each message box.
  e2e_until "$E2E_LIMIT" soak_launch_over || fail "launch $i did not end"
  ended=$(date +%s.%N)
  started=$(($(runs_started) - started_before))
  code=$(sed -n "$((trace_from + 1)),\$p" "$trace" | grep -o 'ended, exit code [0-9-]*' | tail -n1 | grep -o '[0-9-]*$' || true)
  # A run that the stand-in refused (its exit code) counts as none.
  refused=$(sed -n "$((starts_from + 1)),\$p" "$starts" 2>/dev/null | grep '^end ' | grep -vc ' code 0' || true)
  if [ "$told" -gt 0 ]; then verdict=told
  elif [ "$started" -gt 0 ] && [ "$refused" = 0 ]; then verdict=ran
  else verdict=SILENT; fi
  count[$verdict]=$((count[$verdict] + 1))
  printf 'launch %s %-7s %-6s emulator runs %d, interpreter exit code %s, %.1f s\n' \
    "$n" "$id" "$verdict" "$started" "${code:-none}" "$(awk "BEGIN { print $ended - $begun }")" | tee -a "$summary"
  { sed -n "$((trace_from + 1)),\$p" "$trace" | grep 'Quarvel launch:' || true
    sed -n "$((starts_from + 1)),\$p" "$starts" 2>/dev/null || true; } >"$out/launches/$n.log"
done


e2e_exit
{
  echo "launches $launches, busy loops $busy: ran ${count[ran]}, told ${count[told]}," \
    "SILENT ${count[SILENT]}, clicks lost ${count[lost]}"
  echo "the stand-in emulator started $(runs_started) times"
} | tee -a "$summary"
[ "${count[SILENT]}" = 0 ]
