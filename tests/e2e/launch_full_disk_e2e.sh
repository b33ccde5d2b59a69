#!/usr/bin/env bash
# A disk that fills up while a zipped game unpacks: the launch stops with the
# reader's box naming the file it could not write and the damaged-archive
# message, and the emulator never runs on cut-off ROMs. The full disk is a
# 1 MB tmpfs mounted on the temp folder (as root); where nothing can be
# mounted the test is skipped (exit 77) and the failing-sink unit tests stand.
#   launch_full_disk_e2e.sh QUARVEL_EXE STAND_IN_EXE
source "$(dirname "$0")/e2e_lib.sh"

e2e_emulator_folder "qv-full-$$"
temp="$drive_c/windows/temp/QV95-TMP"
mounted=""
unmount() {
  if [ -n "$mounted" ]; then umount "$temp" 2>/dev/null || umount -l "$temp"; fi
  rmdir "$temp" 2>/dev/null || true
}
trap 'e2e_cleanup; unmount; e2e_remove_folders' EXIT
rm -rf "$temp"
mkdir -p "$temp"
if ! mount -t tmpfs -o size=1m qv-full-disk "$temp" 2>/dev/null; then
  echo "SKIPPED: e2e.launch_full_disk: no filesystem can be mounted here"
  exit 77
fi
mounted=yes

# Magic Sword as 3 MB of ROMs: the second file no longer fits.
python3 - "$emu/MSword.ZIP" <<'EOF'
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for name in ("ms_30.rom", "ms_35.rom", "ms_gfx.rom"):
        z.writestr(name, os.urandom(1 << 20))
EOF
cp "$2" "$emu/ravlen.exe"
export RAVLEN_STANDIN_NO_WINDOW=1
e2e_start "$1" "$emu"

e2e_select_game 68 154  # Magic Sword, the one game button
xdotool click 1

e2e_wait_window '^Unable to extract\.\.\.$' >/dev/null ||
  fail "no box told that the archive could not be unpacked"
xdotool key Return
e2e_until "$E2E_LIMIT" eval 'e2e_message_box >/dev/null' ||
  fail "the launch did not stop with the damaged-archive message"
xdotool key Return
# A stopped launch leaves its temp folder for the next one (here it is a mount
# point and could not go anyway): it has ended once the wait window is gone.
e2e_until "$E2E_LIMIT" eval '! e2e_visible "^Wait$"' || fail "the launch did not end"
[ "$(e2e_runs)" = 0 ] || fail "the emulator ran on cut-off ROMs"
e2e_message_box >/dev/null && fail "a further message box came up"

e2e_exit
echo "full disk end to end: passed"
