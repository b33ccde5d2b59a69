#!/usr/bin/env bash
# The scan report through the pointer: a click on the games counter opens it,
# "Check archives" reads every archive of the demo folder, whose ffightJ.ZIP has a
# flipped byte, and marks that game in the fault colour; the title strip drags
# the report and the exit picture hides it again.
#   scan_report_e2e.sh QUARVEL_EXE
source "$(dirname "$0")/e2e_lib.sh"

emu="$E2E_WORK/emu"
python3 "$(dirname "$0")/../../tools/demo/make_demo.py" "$emu"
python3 - "$emu/ffightJ.ZIP" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
name, extra = struct.unpack_from("<HH", data, 26)
data[30 + name + extra + 100] ^= 0x10  # inside the first entry's data
open(sys.argv[1], "wb").write(data)
PY
e2e_start "$1" "$emu"

report_wid() { xdotool search --onlyvisible --name '^Games - Quarvel$' 2>/dev/null | head -n1 || true; }
[ -z "$(report_wid)" ] || fail "the report was open before the counter was clicked"
e2e_pointer 116 104  # the games counter
xdotool click 1
wid=$(e2e_wait_window '^Games - Quarvel$') || fail "a click on the games counter did not open the report"
eval "$(xdotool getwindowgeometry --shell "$wid")"

# The fault colour of the list appears only once the check has found ffightJ.ZIP (its row is among the first the list shows).
fault_pixels() {
  import -window root -crop "444x265+$((X + 8))+$((Y + 57))" +repage "$E2E_WORK/$1.png"
  convert "$E2E_WORK/$1.png" -fill black +opaque 'rgb(255,90,80)' -fill white -opaque 'rgb(255,90,80)' \
    -format '%[fx:round(mean*w*h)]' info:
}
# The list drawn, the rows of the games found in their colour, and no fault yet.
found_pixels() {
  import -window root -crop "444x265+$((X + 8))+$((Y + 57))" +repage "$E2E_WORK/found.png"
  convert "$E2E_WORK/found.png" -fill black +opaque 'rgb(96,230,110)' -fill white \
    -opaque 'rgb(96,230,110)' -format '%[fx:round(mean*w*h)]' info:
}
e2e_until "$E2E_LIMIT" eval '[ "$(found_pixels)" -gt 20 ]' || fail "the report's list was not drawn"
[ "$(fault_pixels before)" = 0 ] || fail "the list showed a fault before any check"
xdotool mousemove $((X + 50)) $((Y + 340)) click 1  # "Check archives"
e2e_until "$E2E_LIMIT" eval '[ "$(fault_pixels after)" -gt 20 ]' ||
  fail "the check did not mark the damaged archive's game"

# Its title strip drags it, as the program's other borderless windows.
old_x=$X old_y=$Y
xdotool mousemove $((X + 150)) $((Y + 12))
xdotool mousedown 1
xdotool mousemove_relative -- -30 -20
e2e_wait_at "$wid" $((old_x - 30)) $((old_y - 20)) ||
  fail "dragging the title moved the report to $X,$Y from $old_x,$old_y"
xdotool mouseup 1

# The exit picture hides the report.
# It takes the click once its hover timer has lit it: clicked until it has.
exit_picture_clicked() {
  xdotool mousemove $((X + 452)) $((Y + 6))
  sleep 0.4
  xdotool click 1
  e2e_until 2 eval '[ -z "$(report_wid)" ]'
}
e2e_until "$E2E_LIMIT" exit_picture_clicked || fail "the exit picture did not hide the report"

e2e_exit
echo "scan report end to end: passed"
