// Player 1's stick in the game list: read a few times a second while the
// main window is active and nothing else reads the stick, it moves the focus
// among the game buttons and its button 1 acts as Enter on the focused game.
#pragma once

#include <windows.h>

#include "input/joystick.h"
#include "input/list_stick.h"

namespace qv {

class TF_Main;

class MainStick {
public:
    static constexpr UINT_PTR kTimerId = 2;
    static constexpr UINT kPollMs = 200;

    explicit MainStick(TF_Main& main) : main_(main) {}

    // Starts the poll while the window is active and the user wants it
    // (CB_JoyList), and stops it otherwise: called when the window is
    // activated or deactivated, and when the setting changes.
    void windowActivated(bool active) {
        active_ = active;
        update();
    }
    void update();
    // One reading, on the poll's timer.
    void tick();

private:
    // The device whose joystick the list reads now: player 1's, or null while
    // it has none or the stick is not the list's (another part reads it, or
    // the window is busy).
    const JoystickDevice* deviceToRead() const;

    TF_Main& main_;
    ListStick stick_;
    bool active_ = false;
    bool polling_ = false;
};

}  // namespace qv
