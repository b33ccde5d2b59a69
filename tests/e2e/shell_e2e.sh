#!/usr/bin/env bash
# The main window driven by the pointer: lit and pressed panel buttons, panel
# switching, dragging the title with either button, the exit image ending the
# program with exit code 0.
source "$(dirname "$0")/e2e_lib.sh"
e2e_start "$1"

# Nothing lit while the pointer is away.
e2e_pointer 60 20
e2e_shot away 153 80 238 40
e2e_pointer 272 100            # onto the keyboard panel button
e2e_shot_until differs away lit 153 80 238 40 ||
  fail "the keyboard button did not light under the pointer"
e2e_pointer 60 20
e2e_shot_until matches away away-again 153 80 238 40 ||
  fail "the button stayed lit after the pointer left"

# A click brings the keyboard panel forward.
e2e_show_panel 272

# Dragging the title moves the borderless window.
old_x=$MAIN_X old_y=$MAIN_Y
e2e_pointer 100 20
xdotool mousedown 1
xdotool mousemove_relative -- -40 -30
e2e_wait_at "$MAIN_WID" $((old_x - 40)) $((old_y - 30)) ||
  fail "dragging the title moved the window to $X,$Y from $old_x,$old_y"
xdotool mouseup 1
e2e_locate

# With the right button as well; the drag ends on release even with the
# pointer off the title, and the pointer moves freely afterwards.
old_x=$MAIN_X old_y=$MAIN_Y
e2e_pointer 300 20
xdotool mousedown 3
xdotool mousemove_relative -- 25 60
e2e_wait_at "$MAIN_WID" $((old_x + 25)) $((old_y + 60)) ||
  fail "a right-button drag moved the window to $X,$Y from $old_x,$old_y"
xdotool mouseup 3
# Released, the window no longer follows the pointer: a title drag with the
# left button, handled after the move, starts from where the window stands.
xdotool mousemove_relative -- 40 40
e2e_locate
e2e_pointer 100 20
xdotool mousedown 1
xdotool mousemove_relative -- 10 10
e2e_wait_at "$MAIN_WID" $((old_x + 35)) $((old_y + 70)) ||
  fail "the window followed the pointer after the right button was released: at $X,$Y"
xdotool mouseup 1
e2e_locate

# The exit image ends the program with exit code 0.
e2e_exit
echo "shell end to end: passed"
