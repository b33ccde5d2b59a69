#!/usr/bin/env bash
# The main window driven by the pointer: lit and pressed panel buttons, panel
# switching, the exit image ending the program with exit code 0.
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

# The exit image ends the program with exit code 0.
e2e_exit
echo "shell end to end: passed"
