// Player 1's stick in the game list: read a few times a second while the
// main window is active and nothing else reads the stick, it moves the focus
// among the game buttons and its button 1 acts as Enter on the focused game.
#pragma once

#include <windows.h>

#include "catalogue/game_list_win.h"
#include "input/joystick.h"
#include "input/list_stick.h"
#include "input/stick_use.h"
#include "settings/settings.h"

namespace qv {

// What the stick needs of the window it serves.
class StickHost {
public:
    virtual HWND stickWindow() const = 0;  // runs the poll's timer
    // Who may read the stick now, all told but the list's own wishes.
    virtual StickUse stickUse() const = 0;
    virtual StickSource& stickSource() = 0;
    virtual const Settings& stickSettings() const = 0;
    virtual GameList& gameList() = 0;

protected:
    ~StickHost() = default;
};

class MainStick {
public:
    static constexpr UINT_PTR kTimerId = 2;
    static constexpr UINT kPollMs = 200;

    explicit MainStick(StickHost& host) : host_(host) {}

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

    StickHost& host_;
    ListStick stick_;
    bool active_ = false;
    bool polling_ = false;
};

}  // namespace qv
