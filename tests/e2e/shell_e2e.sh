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
e2e_shot lit 153 80 238 40
e2e_differ away lit || fail "the keyboard button did not light under the pointer"
e2e_pointer 60 20
e2e_shot away-again 153 80 238 40
e2e_differ away away-again && fail "the button stayed lit after the pointer left"

# A click brings the keyboard panel forward.
e2e_shot options 147 120 255 265
e2e_pointer 272 100
xdotool click 1
sleep 0.5
e2e_shot keyboard 147 120 255 265
e2e_differ options keyboard || fail "the click did not bring the keyboard panel forward"

# Dragging the title moves the borderless window.
old_x=$MAIN_X old_y=$MAIN_Y
e2e_pointer 100 20
xdotool mousedown 1
xdotool mousemove_relative -- -40 -30
sleep 0.3
xdotool mouseup 1
sleep 0.3
e2e_locate
[ "$MAIN_X" = $((old_x - 40)) ] && [ "$MAIN_Y" = $((old_y - 30)) ] ||
  fail "dragging the title moved the window to $MAIN_X,$MAIN_Y from $old_x,$old_y"

# With the right button as well; the drag ends on release even with the
# pointer off the title, and the pointer moves freely afterwards.
old_x=$MAIN_X old_y=$MAIN_Y
e2e_pointer 300 20
xdotool mousedown 3
xdotool mousemove_relative -- 25 60
sleep 0.3
xdotool mouseup 3
sleep 0.3
xdotool mousemove_relative -- 40 40
sleep 0.3
e2e_locate
[ "$MAIN_X" = $((old_x + 25)) ] && [ "$MAIN_Y" = $((old_y + 60)) ] ||
  fail "a right-button drag moved the window to $MAIN_X,$MAIN_Y from $old_x,$old_y"

# The exit image ends the program with exit code 0.
e2e_exit
echo "shell end to end: passed"
